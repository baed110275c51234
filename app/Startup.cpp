// SPDX-License-Identifier: GPL-3.0-or-later
#include "Startup.h"

#include <QAction>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "Comparison.h"
#include "ErrorBox.h"
#include "HelpForm.h"
#include "StepsForm.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "WindowOwner.h"

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
    // The secondary windows belong to the main window: the window manager keeps them above it,
    // so the settings window cannot disappear behind the disabled main window.
    Opt = new TOpt;
    SetWindowOwner(Opt, Main);
    Form3 = new TForm3(Flow, *Main);
    SetWindowOwner(Form3, Main);
    Form4 = new TForm4;
    Form5 = new TForm5;
    SetWindowOwner(Form5, Main);
    // The comparison and the steps are working views of their own beside the main window: a
    // click on the main window brings it, and its inputs, above them.
    Comparison = new TComparisonForm;
    Steps = new TStepsForm;
    HelpForm = new THelpForm;
    SetWindowOwner(HelpForm, Main);
    // F1 brings the guide from whichever window of the program the student is in, also from the
    // settings while the main window, and with it its menu, is disabled.
    for (QWidget* window : {static_cast<QWidget*>(Opt), static_cast<QWidget*>(Form3),
                            static_cast<QWidget*>(Form5), static_cast<QWidget*>(Comparison),
                            static_cast<QWidget*>(Steps)}) {
        auto* guideKey = new QAction(window);
        guideKey->setShortcut(Main->Guide1->shortcut());
        window->addAction(guideKey);
        QObject::connect(guideKey, &QAction::triggered, window, Guarded([] { Main->Guide1Click(); }));
    }
}

void DestroyWindows() {
    delete Steps;
    Steps = nullptr;
    delete HelpForm;
    HelpForm = nullptr;
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
