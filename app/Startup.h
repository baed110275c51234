// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start of the program: the application's title and its windows, created in their
// fixed order.  The main window comes first, so it is the application's main window, and its
// creation already solves and shows the start-up case.
#include <QString>

class QApplication;

namespace zk {

// The program's name on the task bar and in the caption of error boxes.
QString ApplicationTitle();

void InitialiseApplication(QApplication& application);
// Main, Opt, Form3, Form4, Form5 and the comparison window, each stored in its unit's variable.
void CreateWindows();
// Deletes the windows in reverse order and clears the variables.
void DestroyWindows();

} // namespace zk
