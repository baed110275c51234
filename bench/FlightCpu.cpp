// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a student uses it for the flight window's CPU measurement: the settings window
// opened and closed with 500 particles, the flight window opened through "Графически" and the
// shock shown.  The real windows run in the real event loop for the given number of seconds
// (default 15), then the program ends.  bench/flight-cpu.sh runs it on a virtual display.
#include <QAction>
#include <QCheckBox>
#include <QScrollBar>
#include <QTimer>
#include <cstdlib>

#include "Application.h"
#include "Startup.h"
#include "TSpinEdit.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

int main(int argc, char** argv) {
    zk::Application application(argc, argv);
    zk::InitialiseApplication(application);
    zk::CreateWindows();
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 15;
    // For a breakdown of the cost: another number of particles, another speed bar position.
    const int particles = argc > 2 ? std::atoi(argv[2]) : 500;
    const int speed = argc > 3 ? std::atoi(argv[3]) : -1;

    // Once the main window is up: "Настройки", 500 particles, close (which applies), then
    // "Графически" and the box "Ударная волна".
    QTimer::singleShot(500, &application, [particles, speed] {
        Main->N2->trigger();
        Opt->SpinEdit1->SetValue(particles);
        Opt->close();
        Main->N3->trigger();
        Form3->CheckBox1->setChecked(true);
        if (speed >= 0)
            Form3->ScrollBar1->setValue(speed);
    });
    QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    const int status = application.exec();
    zk::DestroyWindows();
    return status;
}
