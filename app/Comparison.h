// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The comparison window: the graphical construction of the last Apply beside the exact
// oblique-shock theory for the same free stream and wedge.  A table of the shock angle and the
// ratios (construction, exact weak and strong shock, their difference), the maximum deflection,
// the Mach angle and the sonic point, and the θ–β chart of the current Mach number; beside them the
// θ–β–M chart family of the gas and the pressure–deflection polar of the case.  On each of the three
// charts a click, a drag or the arrow keys pick the wedge angle.  The table goes to the clipboard
// with Ctrl+C and into a CSV file.  It is opened from the main window's menu and follows every
// Apply while it is open.
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "ComparisonText.h"
#include "LargestWedgeCache.h"
#include "ScaledContent.h"
#include "ShockCharts.h"
#include "ShockComparison.h"
#include "ShockCurve.h"
#include "ThetaBetaFamily.h"

class ChartView;
class QAction;
class QLabel;
class QPushButton;
class QTableWidget;
class WedgePicker;

namespace zk {
class TFileDialog;
} // namespace zk

class TComparisonForm : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 1176; // pixels
    static constexpr int kClientHeight = 672; // pixels

    // Table rows, in the order of the comparison's quantities, and columns.
    static constexpr int kRows = zk::ComparisonText::kRows;
    enum Column { ConstructionColumn, WeakColumn, StrongColumn, DifferenceColumn, PercentColumn, kColumns };
    static_assert(kColumns == zk::ComparisonText::kColumns);

    explicit TComparisonForm(QWidget* parent = nullptr);
    ~TComparisonForm() override;

    // Shows the window beside the main window (the first time) and fills it from the flow state.
    void Open();
    // Fills the window from the flow state and the outcome of the last Apply.
    void Refresh();
    // Told after every Apply, also one that a fault ended; refreshes while the window is open.
    void AfterApply(bool faulted) noexcept;

    // The case compared: M1, γ, χ, V1 and c1.
    QLabel* Label1 = nullptr;
    // What the comparison says in one sentence: the agreement, or why a side has no answer.
    QLabel* Label2 = nullptr;
    QTableWidget* Table1 = nullptr;
    // How to read the table.
    QLabel* Label3 = nullptr;
    // The landmarks of the exact theory: Mach angle, maximum deflection, sonic point.
    QLabel* Label4 = nullptr;
    // The θ–β–M chart family, the pressure–deflection polar and the θ–β chart of the current M1;
    // each picks the wedge angle.
    ChartView* Chart1 = nullptr;
    ChartView* Chart2 = nullptr;
    ChartView* Chart3 = nullptr;
    QPushButton* Button1 = nullptr; // "Копировать таблицу"
    QPushButton* Button2 = nullptr; // "Сохранить таблицу…"
    QAction* Copy1 = nullptr;       // Ctrl+C: the table to the clipboard
    std::unique_ptr<zk::TFileDialog> SaveDialog1;

    // The table as text: the case in the first line, an empty line, the column headers and one line
    // per row.  Tab-separated with the locale's decimal separator for the clipboard, where a
    // spreadsheet of the same locale reads the numbers; comma-separated with a decimal point for
    // the CSV file, which spreadsheets of every locale import.  An absent value is an empty field.
    QString TableText() const;
    QString TableCsv() const;
    // Ctrl+C and "Копировать таблицу": the tab-separated table to the clipboard.
    void CopyTable();
    // "Сохранить таблицу…": the CSV table, in UTF-8 with CR LF line ends, into a file the student
    // chooses; the file is replaced whole or left as it was.
    void Button2Click();

    // What picks the wedge angle on the charts: the main window's wedge field and Apply.
    WedgePicker* Picker() const { return picker_.get(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateComponents();
    void Show(zk::ComparisonText text);
    void Failed(const std::string& problem, const std::string& separator) noexcept;
    void ShowCharts(const zk::ShockComparison* comparison, double wedgeDegrees, const QString& problem);

    ScaledContent content_;
    bool lastApplyFaulted_ = false;
    bool placed_ = false;

    // What the window shows of the last refresh, and the table's text; nothing before the first.
    std::optional<zk::ComparisonText> text_;

    zk::LargestWedgeCache wedgeCache_;
    // The family depends on γ only and the current curve on M1 and γ: kept while they stay.
    zk::ChartCaseMaker chartCases_; // the family per γ and the current curve, kept between refreshes
    std::unique_ptr<WedgePicker> picker_;
};

extern TComparisonForm* Comparison;
