// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a working window of the program ("Сравнение", "По шагам") for the first time: beside or
// below the main window where the screen has room, else over the main window's diagram but never
// over its inputs and its button "Применить", smaller than designed when it must be.
#include <QSize>

class QWidget;

// The smallest part of its design size a working window may be shown at.
inline constexpr double kWorkingWindowMinimumScale = 0.5;

// Gives window, whose client area is designed design wide and high, its first place and size.
void PlaceBesideMain(QWidget* window, QSize design);
