#include "Comparison.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <cmath>
#include <exception>

#include "ActivationTracker.h"
#include "DecimalSeparator.h"
#include "ErrorBox.h"
#include "FormFont.h"
#include "Numbers.h"
#include "TImage.h"
#include "ThetaBetaChart.h"
#include "Unit1.h"
#include "WindowActivation.h"

TComparisonForm* Comparison = nullptr;

namespace {

const QString kDash = QStringLiteral("—");

// A number as the window shows it: rounded to `decimals`, the locale's separator, no trailing zeros.
QString Number(double value, int decimals) {
    return zk::LocalizedNumberText(zk::ComparisonNumberText(value, decimals, '.'));
}

QString Degrees(double degrees) {
    return Number(degrees, 2) + QStringLiteral("°");
}

QString RadiansAsDegrees(double radians) {
    return Degrees(zk::DegreesFromRadians(radians));
}

QString Optional(const std::optional<double>& value, int decimals) {
    return value ? Number(*value, decimals) : kDash;
}

// The error messages of the exact relations carry no full stop of their own.
QString Sentence(const std::string& message) {
    QString text = QString::fromStdString(message);
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}

const char* const kRowNames[TComparisonForm::kRows] = {
    "Угол скачка, °", "P₂/P₁", "ρ₁/ρ₂", "υ₂/υ₁", "T₂/T₁", "M₂", "p₀₂/p₀₁", "Наибольший χ, °",
};

} // namespace

TComparisonForm::TComparisonForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Сравнение с точной теорией"));
    setFixedSize(kClientWidth, kClientHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(zk::FormFont(13, true));
    CreateComponents();
    zk::ActivationTracker::Instance().Register(this, {});
}

void TComparisonForm::CreateComponents() {
    Label1 = new QLabel(this);
    Label1->setGeometry(16, 10, 608, 20);
    Label1->setFont(zk::FormFont(15, true));

    Label2 = new QLabel(this);
    Label2->setGeometry(16, 34, 608, 40);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Table1 = new QTableWidget(kRows, kColumns, this);
    Table1->setGeometry(16, 78, 608, 204);
    Table1->setHorizontalHeaderLabels({QStringLiteral("Построение"), QStringLiteral("Слабый скачок"),
                                       QStringLiteral("Сильный скачок"), QStringLiteral("Разность"),
                                       QStringLiteral("Разность, %")});
    QStringList rowNames;
    for (const char* name : kRowNames)
        rowNames << QString::fromUtf8(name);
    Table1->setVerticalHeaderLabels(rowNames);
    Table1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table1->setSelectionMode(QAbstractItemView::NoSelection);
    Table1->setFocusPolicy(Qt::NoFocus);
    Table1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table1->verticalHeader()->setFixedWidth(118);
    Table1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table1->verticalHeader()->setDefaultSectionSize(22);
    Table1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table1->horizontalHeader()->setFixedHeight(24);
    const int widths[kColumns] = {95, 104, 104, 88, 95}; // pixels
    for (int column = 0; column < kColumns; ++column)
        Table1->setColumnWidth(column, widths[column]);
    Table1->verticalHeaderItem(kRows - 1)->setToolTip(
        QStringLiteral("Наибольший целый угол клина, при котором построение находит присоединённый скачок, "
                       "и наибольший угол поворота потока θmax точной теории"));
    // θmax is where the weak and the strong branch meet: one value for both columns.
    Table1->setSpan(kRows - 1, WeakColumn, 1, 2);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem(kDash);
            item->setTextAlignment(Qt::AlignCenter);
            Table1->setItem(row, column, item);
        }

    Label3 = new QLabel(this);
    Label3->setGeometry(16, 286, 608, 34);
    Label3->setWordWrap(true);
    Label3->setFont(zk::FormFont(13, false));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setText(QStringLiteral("Разность — построение минус слабый скачок, который и находит построение. "
                                   "Наибольший χ — последний целый угол клина с присоединённым скачком "
                                   "на построении, рядом θmax точной теории."));

    Label4 = new QLabel(this);
    Label4->setGeometry(16, 324, 608, 56);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Image1 = new zk::TImage(this);
    Image1->setGeometry(16, 386, ThetaBetaChart::kWidth, ThetaBetaChart::kHeight);
}

void TComparisonForm::Open() {
    if (!placed_ && Main) {
        // Beside the main window where the screen has room, otherwise at the screen's right edge.
        const QRect main = Main->frameGeometry();
        const QRect screen = Main->screen()->availableGeometry();
        const QSize frame = Main->frameGeometry().size() - Main->geometry().size();
        const int width = kClientWidth + frame.width();
        const int height = kClientHeight + frame.height();
        const int x = std::max(screen.left(), std::min(main.right() + 8, screen.right() + 1 - width));
        const int y = std::max(screen.top(), std::min(main.top(), screen.bottom() + 1 - height));
        move(x, y);
        placed_ = true;
    }
    Refresh();
    show();
    zk::ActivateWindow(this);
}

void TComparisonForm::AfterApply(bool faulted) noexcept {
    lastApplyFaulted_ = faulted;
    if (isVisible())
        Refresh();
}

void TComparisonForm::Refresh() {
    try {
        const double wedgeDegrees = zk::DegreesFromRadians(Flow.WedgeAngle);
        const QString mach = Flow.SoundSpeed == 0
                                 ? QStringLiteral("не определено")
                                 : QStringLiteral("= ") + Number(Flow.V1 / Flow.SoundSpeed, 3);
        Label1->setText(QStringLiteral("M₁ %1     γ = %2     χ = %3     V₁ = %4 м/с     c₁ = %5 м/с")
                            .arg(mach, Number(Flow.Gamma, 2), Degrees(wedgeDegrees), QString::number(Flow.V1),
                                 Number(Flow.SoundSpeed, 2)));
        if (lastApplyFaulted_) {
            ClearTable();
            Label4->clear();
            Image1->SetPicture(QImage());
            ShowSummary(
                QStringLiteral("Последний расчёт прерван ошибкой: сравнивать нечего. Исправьте данные "
                               "и нажмите «Применить»."),
                true);
            return;
        }
        const zk::ShockComparison comparison = zk::CompareWithExactTheory(Flow);
        Fill(comparison);
        Image1->SetPicture(ThetaBetaChart(comparison, wedgeDegrees).Draw());
    } catch (const std::exception& e) {
        // Nothing of the comparison may stop the program; say what went wrong in the window.
        ClearTable();
        Image1->SetPicture(QImage());
        ShowSummary(QStringLiteral("Сравнение не удалось: ") + Sentence(e.what()), true);
    } catch (...) {
        ClearTable();
        Image1->SetPicture(QImage());
        ShowSummary(QStringLiteral("Сравнение не удалось."), true);
    }
}

void TComparisonForm::ClearTable() {
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            SetCell(row, column, kDash);
}

void TComparisonForm::SetCell(int row, int column, const QString& text) {
    Table1->item(row, column)->setText(text);
}

void TComparisonForm::ShowSummary(const QString& text, bool warning) {
    // A formula such as "θmax = 22,97°" is not broken across lines.
    QString shown = text;
    shown.replace(QStringLiteral(" = "), QStringLiteral("\u00a0=\u00a0"));
    Label2->setText(shown);
    QPalette palette = Label2->palette();
    palette.setColor(QPalette::WindowText, warning ? QColor(0xa0, 0, 0) : QColor(Qt::black));
    Label2->setPalette(palette);
}

void TComparisonForm::Fill(const zk::ShockComparison& comparison) {
    for (int row = 0; row < kRows && row < static_cast<int>(comparison.Rows.size()); ++row) {
        const zk::ComparisonRow& r = comparison.Rows[static_cast<std::size_t>(row)];
        const int decimals = r.InDegrees ? 2 : 4;
        SetCell(row, ConstructionColumn, Optional(r.Construction, decimals));
        SetCell(row, WeakColumn, Optional(r.Weak, decimals));
        SetCell(row, StrongColumn, Optional(r.Strong, decimals));
        SetCell(row, DifferenceColumn, Optional(r.Difference(), decimals));
        SetCell(row, PercentColumn, Optional(r.RelativeDifference(), 2));
    }

    const zk::ExactValues& exact = comparison.Exact;
    if (exact.Answered()) {
        const zk::ExactShockTheory& t = exact.Theory;
        Label4->setText(
            QStringLiteral("Угол Маха μ = %1\nНаибольший угол поворота потока θmax = %2 при β = %3\n"
                           "Звуковая точка (M₂ = 1): θ = %4, β = %5")
                .arg(RadiansAsDegrees(t.MachAngle), RadiansAsDegrees(t.ThetaMax),
                     RadiansAsDegrees(t.BetaAtThetaMax), RadiansAsDegrees(t.SonicTheta),
                     RadiansAsDegrees(t.SonicBeta)));
    } else {
        Label4->setText(
            QStringLiteral("Угол Маха, наибольший угол поворота и звуковая точка не определены."));
    }
    const QString summary = Summary(comparison);
    const bool agree = comparison.Construction.Attached && exact.Weak.has_value() && Flow.WedgeAngle != 0;
    ShowSummary(summary, !agree && Flow.WedgeAngle != 0);
}

QString TComparisonForm::Summary(const zk::ShockComparison& comparison) const {
    const zk::ExactValues& exact = comparison.Exact;
    const zk::ConstructionValues& c = comparison.Construction;
    const QString chi = Degrees(zk::DegreesFromRadians(Flow.WedgeAngle));
    if (!comparison.ConstructionProblem.empty())
        return QStringLiteral("Значения построения не получены: ") + Sentence(comparison.ConstructionProblem);
    if (!exact.Answered()) {
        QString problem = Sentence(exact.Problem);
        problem[0] = problem[0].toLower(); // the message continues the sentence
        return QStringLiteral("Точная теория не даёт ответа: ") + problem;
    }
    const QString thetaMax = RadiansAsDegrees(exact.Theory.ThetaMax);
    if (Flow.WedgeAngle == 0)
        return QStringLiteral("При χ = 0° клин не поворачивает поток: слабый скачок вырождается в волну Маха "
                              "(β = μ = %1), сильный — в прямой скачок (β = 90°).")
            .arg(RadiansAsDegrees(exact.Theory.MachAngle));
    if (comparison.BeyondMaximumDeflection()) {
        if (c.Attached)
            return QStringLiteral(
                       "При χ = %1 построение ещё находит скачок, но по точной теории присоединённого "
                       "скачка нет: χ больше наибольшего угла поворота потока θmax = %2.")
                .arg(chi, thetaMax);
        return QStringLiteral(
                   "При χ = %1 присоединённого скачка нет: угол клина больше наибольшего угла поворота "
                   "потока θmax = %2, скачок отсоединяется.")
            .arg(chi, thetaMax);
    }
    if (!c.Attached)
        return QStringLiteral(
                   "При χ = %1 построение не находит присоединённого скачка, хотя по точной теории он "
                   "есть (θmax = %2).")
            .arg(chi, thetaMax);
    const zk::ComparisonRow& angle = comparison.Rows.front();
    return QStringLiteral(
               "Построение даёт слабый скачок: φ = %1 против β = %2 по точной теории, разность %3.")
        .arg(Degrees(*angle.Construction), Degrees(*angle.Weak), Degrees(*angle.Difference()));
}
