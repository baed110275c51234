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
#include "ComparisonText.h"
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

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }
// The table's columns at the window's design size, pixels.
constexpr int kColumnWidths[TComparisonForm::kColumns] = {95, 104, 104, 88, 95};

// A sentence that continues another: its first letter in lower case.
QString Continuing(const std::string& message) { return FromUtf8(zk::ContinuingSentence(message)); }

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
    for (const char* name : zk::ComparisonText::ColumnNames())
        columnNames << QString::fromUtf8(name);
    Table1->setHorizontalHeaderLabels(columnNames);
    QStringList rowNames;
    for (const char* name : zk::ComparisonText::RowNames())
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
    Table1->verticalHeaderItem(kRows - 1)->setToolTip(QString::fromUtf8(zk::ComparisonText::LargestWedgeHint()));
    // θmax is where the weak and the strong branch meet: one value for both columns.
    Table1->setSpan(zk::ComparisonText::kSpanRow, zk::ComparisonText::kSpanColumn, 1, 2);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem(QString::fromUtf8(zk::ComparisonText::kDash));
            item->setTextAlignment(Qt::AlignCenter);
            Table1->setItem(row, column, item);
        }

    Label3 = new QLabel(this);
    Label3->setGeometry(16, 286, 608, 34);
    Label3->setWordWrap(true);
    Label3->setFont(zk::FormFont(13, false));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setText(QString::fromUtf8(zk::ComparisonText::ReadingNote()));

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
    const std::string separator = zk::DecimalSeparator().toStdString();
    try {
        const double wedgeDegrees = zk::DegreesFromRadians(Flow.WedgeAngle);
        if (lastApplyFaulted_) {
            Show(zk::ComparisonText::AfterFault(Flow, separator));
            Chart3->SetChart(nullptr);
            ShowCharts(nullptr, wedgeDegrees, QStringLiteral("Последний расчёт прерван ошибкой."));
            return;
        }
        const zk::ShockComparison comparison = zk::CompareWithExactTheory(Flow, wedgeCache_);
        Show(zk::ComparisonText::Compared(Flow, comparison, separator));
        Chart3->SetChart(std::make_unique<ThetaBetaChart>(comparison, wedgeDegrees));
        ShowCharts(&comparison, wedgeDegrees, QString());
    } catch (const std::exception& e) {
        // Nothing of the comparison may stop the program; say what went wrong in the window.
        Failed(e.what(), separator);
    } catch (...) {
        Failed(std::string(), separator);
    }
}

void TComparisonForm::Failed(const std::string& problem, const std::string& separator) noexcept {
    try {
        Show(zk::ComparisonText::Failed(Flow, problem, separator));
        Chart3->SetChart(nullptr);
        ShowCharts(nullptr, 0,
                   problem.empty() ? QStringLiteral("Сравнение не удалось.")
                                   : QStringLiteral("Сравнение не удалось: ") +
                                         FromUtf8(zk::MessageSentence(problem)));
    } catch (...) {
        // Not even the failure could be told (no memory): the window keeps what it shows.
    }
}

void TComparisonForm::ShowCharts(const zk::ShockComparison* comparison, double wedgeDegrees,
                                 const QString& problem) {
    ShockChartCase chartCase = chartCases_.Make(comparison, Flow.Gamma, wedgeDegrees, problem.toStdString());
    Chart1->SetChart(std::make_unique<ThetaBetaFamilyChart>(chartCase));
    Chart2->SetChart(std::make_unique<PressurePolarChart>(std::move(chartCase)));
}

void TComparisonForm::Show(zk::ComparisonText text) {
    text_ = std::move(text);
    Label1->setText(FromUtf8(text_->CaseLine()));
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            Table1->item(row, column)->setText(FromUtf8(text_->Cell(row, column)));
    Label4->setText(FromUtf8(text_->Landmarks()));
    Label2->setText(FromUtf8(text_->Summary()));
    QPalette palette = Label2->palette();
    palette.setColor(QPalette::WindowText, text_->Warning() ? QColor(0xa0, 0, 0) : QColor(Qt::black));
    Label2->setPalette(palette);
}

QString TComparisonForm::TableText() const {
    return text_ ? FromUtf8(text_->TableText()) : QString();
}

QString TComparisonForm::TableCsv() const {
    return text_ ? FromUtf8(text_->TableCsv()) : QString();
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
