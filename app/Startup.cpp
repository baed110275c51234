#include "Startup.h"

#include <QApplication>

#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"

namespace zk {

QString ApplicationTitle() {
    return QStringLiteral("Зорквента");
}

void InitialiseApplication(QApplication& application) {
    application.setApplicationName(QStringLiteral("zorkventa"));
    application.setApplicationDisplayName(ApplicationTitle());
    // Closing the main window ends the program even while other windows are open; see TMain.
    application.setQuitOnLastWindowClosed(true);
}

void CreateWindows() {
    Main = new TMain;
    Opt = new TOpt;
    Form3 = new TForm3(Flow, *Main);
    Form4 = new TForm4;
    Form5 = new TForm5;
}

void DestroyWindows() {
    delete Form5;
    Form5 = nullptr;
    delete Form4;
    Form4 = nullptr;
    delete Form3;
    Form3 = nullptr;
    delete Opt;
    Opt = nullptr;
    delete Main;
    Main = nullptr;
}

} // namespace zk
