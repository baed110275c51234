#include "Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "Comparison.h"
#include "ErrorBox.h"
#include "StepsForm.h"
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
    // The standard dialogs and buttons speak the user's language where Qt has a translation.
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(translator);
    application.setApplicationName(QStringLiteral("zorkventa"));
    // The title goes to the error boxes only: as the display name, the windowing system would add
    // it to every window's caption.
    SetApplicationTitle(ApplicationTitle());
    // Closing the main window ends the program even while other windows are open; see TMain.
    application.setQuitOnLastWindowClosed(true);
}

void CreateWindows() {
    Main = new TMain;
    Opt = new TOpt;
    Form3 = new TForm3(Flow, *Main);
    Form4 = new TForm4;
    Form5 = new TForm5;
    Comparison = new TComparisonForm;
    Steps = new TStepsForm(Main);
}

void DestroyWindows() {
    delete Steps;
    Steps = nullptr;
    delete Comparison;
    Comparison = nullptr;
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
