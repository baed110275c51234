// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the flight window asks of the main window when the user picks a wedge angle with the
// mouse: set the wedge field, press "Применить", and re-open the flight window through
// "Графически".  The main window implements it; tests give a fake.

namespace zk {

class FlightHost {
public:
    virtual ~FlightHost() = default;
    // Sets the main window's wedge field SpinEdit1 to degrees through its clamping setter.
    virtual void SetWedgeField(int degrees) = 0;
    // Clicks the main window's button Button2: runs Apply at once, to completion.
    virtual void ClickApply() = 0;
    // Clicks the main window's menu item N3 ("Графически"): runs N3Click.
    virtual void ClickGraphics() = 0;
};

} // namespace zk
