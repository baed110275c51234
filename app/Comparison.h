#pragma once
// The comparison window: the graphical construction of the last Apply beside the exact
// oblique-shock theory for the same free stream and wedge.  A table of the shock angle and the
// ratios (construction, exact weak and strong shock, their difference), the maximum deflection,
// the Mach angle and the sonic point, and the θ–β chart of the current Mach number.  It is opened
// from the main window's menu and follows every Apply while it is open.
#include <QWidget>

#include "ShockComparison.h"

class QLabel;
class QTableWidget;

namespace zk {
class TImage;
}

class TComparisonForm : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 640;  // pixels
    static constexpr int kClientHeight = 672; // pixels

    // Table rows, in the order of the comparison's quantities, and columns.
    static constexpr int kRows = 8;
    enum Column { ConstructionColumn, WeakColumn, StrongColumn, DifferenceColumn, PercentColumn, kColumns };

    explicit TComparisonForm(QWidget* parent = nullptr);

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
    // The θ–β chart.
    zk::TImage* Image1 = nullptr;

  private:
    void CreateComponents();
    void Fill(const zk::ShockComparison& comparison);
    void ClearTable();
    void SetCell(int row, int column, const QString& text);
    void ShowSummary(const QString& text, bool warning);
    QString Summary(const zk::ShockComparison& comparison) const;

    bool lastApplyFaulted_ = false;
    bool placed_ = false;
};

extern TComparisonForm* Comparison;
