// SPDX-License-Identifier: GPL-3.0-or-later
#include "Comparison.h"

#include <QAction>
#include <QClipboard>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <bit>
#include <cmath>
#include <exception>

#include "ActivationTracker.h"
#include "ChartView.h"
#include "DecimalSeparator.h"
#include "ErrorBox.h"
#include "FileAccess.h"
#include "FormFont.h"
#include "InOutCodes.h"
#include "Numbers.h"
#include "PressurePolarChart.h"
#include "TFileDialog.h"
#include "TSpinEdit.h"
#include "ThetaBetaChart.h"
#include "ThetaBetaFamilyChart.h"
#include "Unit1.h"
#include "WedgePicker.h"
#include "WindowActivation.h"
#include "WindowPlacement.h"
#include "WorkingWindow.h"

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

const char* const kColumnNames[TComparisonForm::kColumns] = {
    "Построение", "Слабый скачок", "Сильный скачок", "Разность", "Разность, %",
};

// The case in the first line of the copied table: names, then the numbers' decimals.
const char* const kCaseNames[5] = {"M₁", "γ", "χ, °", "V₁, м/с", "c₁, м/с"};

// The table's columns at the window's design size, pixels.
constexpr int kColumnWidths[TComparisonForm::kColumns] = {95, 104, 104, 88, 95};

// A field of the CSV file, quoted when it holds a separator, a quote or a line end.
QString CsvField(const QString& field) {
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    QString quoted = field;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

TComparisonForm::TComparisonForm(QWidget* parent)
    : QWidget(parent, zk::kWorkingWindowFlags) {
    setWindowTitle(QStringLiteral("Сравнение с точной теорией"));
    // Laid out for kClientWidth x kClientHeight; on a smaller screen everything is shown smaller.
    resize(kClientWidth, kClientHeight);
    setMinimumSize(QSize(kClientWidth, kClientHeight) * kWorkingWindowMinimumScale);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(zk::FormFont(13, true));
    if (Main) {
        picker_ = std::make_unique<WedgePicker>(*Main, *Main->SpinEdit1);
        // Apply makes the main window the active one; the student goes on picking here.
        picker_->AfterApply = [this] {
            QWidget* focused = focusWidget();
            if (!isVisible())
                return;
            zk::ActivateWindow(this);
            if (focused)
                focused->setFocus(Qt::OtherFocusReason);
        };
    }
    CreateComponents();
    content_.Record(this, QSize(kClientWidth, kClientHeight));
    zk::ActivationTracker::Instance().Register(this, {});
}

TComparisonForm::~TComparisonForm() = default;

void TComparisonForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const double scale = ScaledContent::ScaleFor(QSize(kClientWidth, kClientHeight), size());
    if (scale == content_.Scale())
        return;
    // The charts first: they keep the size of their chart times the scale.
    Chart1->SetScale(scale);
    Chart2->SetScale(scale);
    Chart3->SetScale(scale);
    content_.Apply(scale);
    for (int column = 0; column < kColumns; ++column)
        Table1->setColumnWidth(column, content_.Scaled(kColumnWidths[column]));
    Table1->verticalHeader()->setFixedWidth(content_.Scaled(118));
    Table1->verticalHeader()->setDefaultSectionSize(content_.Scaled(22));
    Table1->verticalHeader()->setMinimumSectionSize(1);
    Table1->horizontalHeader()->setFixedHeight(content_.Scaled(24));
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
    QStringList columnNames;
    for (const char* name : kColumnNames)
        columnNames << QString::fromUtf8(name);
    Table1->setHorizontalHeaderLabels(columnNames);
    QStringList rowNames;
    for (const char* name : kRowNames)
        rowNames << QString::fromUtf8(name);
    Table1->setVerticalHeaderLabels(rowNames);
    Table1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table1->setSelectionMode(QAbstractItemView::NoSelection);
    Table1->setFocusPolicy(Qt::ClickFocus);
    Table1->setContextMenuPolicy(Qt::ActionsContextMenu);
    Table1->installEventFilter(this);
    Table1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table1->verticalHeader()->setFixedWidth(118);
    Table1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table1->verticalHeader()->setDefaultSectionSize(22);
    Table1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table1->horizontalHeader()->setFixedHeight(24);
    for (int column = 0; column < kColumns; ++column)
        Table1->setColumnWidth(column, kColumnWidths[column]);
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

    Chart1 = new ChartView(picker_.get(), this);
    Chart1->move(640, 10);
    Chart1->resize(ThetaBetaFamilyChart::kWidth, ThetaBetaFamilyChart::kHeight);
    Chart2 = new ChartView(picker_.get(), this);
    Chart2->move(640, 376);
    Chart2->resize(PressurePolarChart::kWidth, PressurePolarChart::kHeight);
    // Made after the other two, so that the family keeps the keyboard when the window opens.
    Chart3 = new ChartView(picker_.get(), this);
    Chart3->move(16, 386);
    Chart3->resize(ThetaBetaChart::kWidth, ThetaBetaChart::kHeight);

    Button1 = new QPushButton(QStringLiteral("Копировать таблицу"), this);
    Button1->setGeometry(640, 644, 170, 24);
    Button1->setFont(zk::FormFont(13, false));
    connect(Button1, &QPushButton::clicked, this, zk::Guarded([this] { CopyTable(); }));
    Button2 = new QPushButton(QStringLiteral("Сохранить таблицу…"), this);
    Button2->setGeometry(818, 644, 170, 24);
    Button2->setFont(zk::FormFont(13, false));
    connect(Button2, &QPushButton::clicked, this, zk::Guarded([this] { Button2Click(); }));

    Copy1 = new QAction(QStringLiteral("Копировать таблицу"), this);
    Copy1->setShortcut(QKeySequence::Copy);
    Copy1->setShortcutContext(Qt::WindowShortcut);
    connect(Copy1, &QAction::triggered, this, zk::Guarded([this] { CopyTable(); }));
    addAction(Copy1);
    auto* save = new QAction(QStringLiteral("Сохранить таблицу…"), this);
    connect(save, &QAction::triggered, this, zk::Guarded([this] { Button2Click(); }));
    Table1->addAction(Copy1);
    Table1->addAction(save);

    SaveDialog1 = std::make_unique<zk::TFileDialog>(zk::TFileDialogKind::Save, this);
    SaveDialog1->DefaultExt = QStringLiteral("csv");
    SaveDialog1->Filter = QStringLiteral("Таблицы CSV (*.csv)|*.csv|Все файлы (*.*)|*");
}

bool TComparisonForm::eventFilter(QObject* watched, QEvent* event) {
    // The table would copy only its current cell: Ctrl+C on it copies the whole table.
    if (watched == Table1 &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                zk::RunHandler([this] { CopyTable(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TComparisonForm::Open() {
    if (!placed_ && Main) {
        PlaceBesideMain(this, QSize(kClientWidth, kClientHeight));
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
        caseValues_ = {Flow.SoundSpeed == 0 ? std::string()
                                            : zk::ComparisonNumberText(Flow.V1 / Flow.SoundSpeed, 3, '.'),
                       zk::ComparisonNumberText(Flow.Gamma, 2, '.'),
                       zk::ComparisonNumberText(wedgeDegrees, 2, '.'), std::to_string(Flow.V1),
                       zk::ComparisonNumberText(Flow.SoundSpeed, 2, '.')};
        if (lastApplyFaulted_) {
            ClearTable();
            Label4->clear();
            Chart3->SetChart(nullptr);
            ShowCharts(nullptr, wedgeDegrees, QStringLiteral("Последний расчёт прерван ошибкой."));
            ShowSummary(
                QStringLiteral("Последний расчёт прерван ошибкой: сравнивать нечего. Исправьте данные "
                               "и нажмите «Применить»."),
                true);
            return;
        }
        const zk::ShockComparison comparison = zk::CompareWithExactTheory(Flow, wedgeCache_);
        Fill(comparison);
        Chart3->SetChart(std::make_unique<ThetaBetaChart>(comparison, wedgeDegrees));
        ShowCharts(&comparison, wedgeDegrees, QString());
    } catch (const std::exception& e) {
        // Nothing of the comparison may stop the program; say what went wrong in the window.
        const QString problem = QStringLiteral("Сравнение не удалось: ") + Sentence(e.what());
        ClearTable();
        Chart3->SetChart(nullptr);
        ShowCharts(nullptr, 0, problem);
        ShowSummary(problem, true);
    } catch (...) {
        ClearTable();
        Chart3->SetChart(nullptr);
        ShowCharts(nullptr, 0, QStringLiteral("Сравнение не удалось."));
        ShowSummary(QStringLiteral("Сравнение не удалось."), true);
    }
}

void TComparisonForm::ShowCharts(const zk::ShockComparison* comparison, double wedgeDegrees,
                                 const QString& problem) {
    ShockChartCase chartCase = chartCases_.Make(comparison, Flow.Gamma, wedgeDegrees, problem.toStdString());
    Chart1->SetChart(std::make_unique<ThetaBetaFamilyChart>(chartCase));
    Chart2->SetChart(std::make_unique<PressurePolarChart>(std::move(chartCase)));
}

void TComparisonForm::ClearTable() {
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            SetCell(row, column, std::nullopt, 0);
}

void TComparisonForm::SetCell(int row, int column, const std::optional<double>& value, int decimals) {
    std::string& cell = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    cell = value ? zk::ComparisonNumberText(*value, decimals, '.') : std::string();
    Table1->item(row, column)->setText(cell.empty() ? kDash : zk::LocalizedNumberText(cell));
}

std::vector<std::vector<QString>> TComparisonForm::TableFields(bool localized) const {
    const auto number = [localized](const std::string& text) {
        return localized ? zk::LocalizedNumberText(text) : QString::fromStdString(text);
    };
    std::vector<std::vector<QString>> lines;
    std::vector<QString> first;
    for (std::size_t i = 0; i < caseValues_.size(); ++i) {
        first.push_back(QString::fromUtf8(kCaseNames[i]));
        first.push_back(number(caseValues_[i]));
    }
    lines.push_back(first);
    lines.push_back({});
    std::vector<QString> header = {QString()};
    for (const char* name : kColumnNames)
        header.push_back(QString::fromUtf8(name));
    lines.push_back(header);
    for (int row = 0; row < kRows; ++row) {
        std::vector<QString> line = {QString::fromUtf8(kRowNames[row])};
        for (const std::string& cell : cells_[static_cast<std::size_t>(row)])
            line.push_back(number(cell));
        lines.push_back(line);
    }
    return lines;
}

QString TComparisonForm::TableText() const {
    QString text;
    for (const std::vector<QString>& line : TableFields(true)) {
        QStringList fields(line.begin(), line.end());
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

QString TComparisonForm::TableCsv() const {
    QString text;
    for (const std::vector<QString>& line : TableFields(false)) {
        QStringList fields;
        for (const QString& field : line)
            fields << CsvField(field);
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text;
}

void TComparisonForm::CopyTable() {
    QGuiApplication::clipboard()->setText(TableText());
}

void TComparisonForm::Button2Click() {
    if (!SaveDialog1->Execute() || SaveDialog1->FileName.isEmpty())
        return;
    // A byte-order mark first: spreadsheets that open the file directly then read it as UTF-8.
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + TableCsv().toUtf8();
    try {
        zk::ReplaceFileContents(SaveDialog1->FileName, std::string_view(bytes.constData(), bytes.size()));
    } catch (const zk::FileAccessError& error) {
        throw zk::InOutError(zk::InOutCode(error));
    }
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
        SetCell(row, ConstructionColumn, r.Construction, decimals);
        SetCell(row, WeakColumn, r.Weak, decimals);
        SetCell(row, StrongColumn, r.Strong, decimals);
        SetCell(row, DifferenceColumn, r.Difference(), decimals);
        SetCell(row, PercentColumn, r.RelativeDifference(), 2);
    }

    const zk::ExactValues& exact = comparison.Exact;
    if (exact.Answered()) {
        const zk::ExactShockTheory& t = exact.Theory;
        Label4->setText(
            QStringLiteral("Угол Маха μ = %1\nНаибольший угол поворота потока θmax = %2 при β = %3\n"
                           "Звуковая точка (M₂ = 1): θ = %4; β = %5")
                .arg(RadiansAsDegrees(t.MachAngle), RadiansAsDegrees(t.ThetaMax),
                     RadiansAsDegrees(t.BetaAtThetaMax), RadiansAsDegrees(t.SonicTheta),
                     RadiansAsDegrees(t.SonicBeta)));
    } else {
        Label4->setText(
            QStringLiteral("Угол Маха, наибольший угол поворота и звуковая точка не определены."));
    }
    const QString summary = Summary(comparison);
    const bool agree = comparison.Construction.Attached && exact.Weak.has_value() && Flow.WedgeAngle != 0 &&
                       !comparison.ConstructionBelowMachAngle();
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
                   "потока θmax = %2 — скачок отсоединяется.")
            .arg(chi, thetaMax);
    }
    if (!c.Attached)
        return QStringLiteral(
                   "При χ = %1 построение не находит присоединённого скачка, хотя по точной теории он "
                   "есть (θmax = %2).")
            .arg(chi, thetaMax);
    const zk::ComparisonRow& angle = comparison.Rows.front();
    if (comparison.ConstructionBelowMachAngle())
        return QStringLiteral("При χ = %1 разрешение построения в один пиксель опускает φ = %2 ниже угла "
                              "Маха μ = %3: это не скачок уплотнения, давление за ним падает "
                              "(P₂/P₁ = %4 < 1).")
            .arg(chi, Degrees(*angle.Construction), RadiansAsDegrees(exact.Theory.MachAngle),
                 Number(c.PressureRatio, 3));
    return QStringLiteral(
               "Построение даёт слабый скачок: φ = %1 против β = %2 по точной теории, разность %3.")
        .arg(Degrees(*angle.Construction), Degrees(*angle.Weak), Degrees(*angle.Difference()));
}
