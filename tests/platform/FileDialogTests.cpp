// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ScriptedFileDialogs.h"
#include "TFileDialog.h"

using zk::TFileDialog;
using zk::TFileDialogKind;

TEST(NameFilters, TurnDescriptionPatternPairsIntoToolkitFilters) {
    EXPECT_EQ(zk::NameFilters(QStringLiteral("Файлы Мирандоль (psr)|*.psr")),
              QStringList{QStringLiteral("Файлы Мирандоль (psr) (*.psr)")});
    EXPECT_EQ(zk::NameFilters(QStringLiteral("Pictures|*.bmp;*.ico|All|*")),
              (QStringList{QStringLiteral("Pictures (*.bmp *.ico)"), QStringLiteral("All (*)")}));
    EXPECT_TRUE(zk::NameFilters(QString()).isEmpty());
    EXPECT_TRUE(zk::NameFilters(QStringLiteral("dangling description")).isEmpty());
}

TEST(FileDialog, DefaultExtensionIsAddedToANameWithoutOne) {
    QTemporaryDir dir;
    ScriptedFileDialogs dialogs;
    TFileDialog dialog(TFileDialogKind::Save, nullptr);
    dialog.DefaultExt = QStringLiteral("psr");
    dialog.Filter = QStringLiteral("Файлы Мирандоль (psr)|*.psr");

    dialogs.Answer(dir.filePath(QStringLiteral("case")));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, dir.filePath(QStringLiteral("case.psr")));

    dialogs.Answer(dir.filePath(QStringLiteral("case.txt")));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, dir.filePath(QStringLiteral("case.txt")));

    // The dialog is asked with its filter, its extension and the name of its last use.
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    EXPECT_EQ(dialogs.Requests[1].Kind, TFileDialogKind::Save);
    EXPECT_EQ(dialogs.Requests[1].Filter, dialog.Filter);
    EXPECT_EQ(dialogs.Requests[1].DefaultExt, QStringLiteral("psr"));
    EXPECT_EQ(dialogs.Requests[1].FileName, dir.filePath(QStringLiteral("case.psr")));
}

TEST(FileDialog, WithoutDefaultExtensionTheNameIsKeptAsTyped) {
    QTemporaryDir dir;
    ScriptedFileDialogs dialogs;
    TFileDialog dialog(TFileDialogKind::SavePicture, nullptr);
    dialogs.Answer(dir.filePath(QStringLiteral("pic")));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, dir.filePath(QStringLiteral("pic")));
}

TEST(FileDialog, CancelKeepsTheLastConfirmedName) {
    QTemporaryDir dir;
    ScriptedFileDialogs dialogs;
    TFileDialog dialog(TFileDialogKind::Open, nullptr);
    dialogs.Cancel();
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(dialog.FileName.isEmpty());

    dialogs.Answer(dir.filePath(QStringLiteral("a.psr")));
    EXPECT_TRUE(dialog.Execute());
    dialogs.Cancel();
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, dir.filePath(QStringLiteral("a.psr")));
}

TEST(FileDialog, ConfirmedNamesBecomeFullPaths) {
    ScriptedFileDialogs dialogs;
    TFileDialog dialog(TFileDialogKind::Open, nullptr);
    dialogs.Answer(QStringLiteral("relative.psr"));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, QDir::current().absoluteFilePath(QStringLiteral("relative.psr")));

    // An empty confirmed name stays empty: the commands then do nothing.
    dialogs.Answer(QString());
    EXPECT_TRUE(dialog.Execute());
    EXPECT_TRUE(dialog.FileName.isEmpty());
}

namespace {

// The entries of the dialog's file-type list as the user sees them.
QStringList ShownTypes(const QString& filter) {
    QFileDialog dialog;
    zk::ConfigureFileDialog(
        dialog, zk::FileDialogRequest{TFileDialogKind::Open, filter, QString(), QString(), nullptr});
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (!types)
        return {QStringLiteral("<no file-type list>")};
    QStringList shown;
    for (int i = 0; i < types->count(); ++i)
        shown << types->itemText(i);
    return shown;
}

} // namespace

TEST(FileDialog, TypeListShowsEachDescriptionWithItsPatternOnce) {
    EXPECT_EQ(ShownTypes(QStringLiteral("Файлы Мирандоль (psr)|*.psr")),
              QStringList{"Файлы Мирандоль (psr)"});
    EXPECT_EQ(ShownTypes(QStringLiteral("Мирандоль (psr)|*.psr")), QStringList{"Мирандоль (psr)"});
    EXPECT_EQ(ShownTypes(QStringLiteral("Точечные рисунки (*.bmp)|*.bmp|Все файлы (*.*)|*")),
              (QStringList{"Точечные рисунки (*.bmp)", "Все файлы (*.*)"}));
}

TEST(FileDialog, TypeListStillFiltersByThePatterns) {
    QTemporaryDir dir;
    QFileDialog dialog;
    zk::ConfigureFileDialog(dialog, zk::FileDialogRequest{TFileDialogKind::Open,
                                                          QStringLiteral("Мирандоль (psr)|*.psr"), QString(),
                                                          dir.filePath(QStringLiteral("a.psr")), nullptr});
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Мирандоль (psr) (*.psr)"});
    EXPECT_EQ(dialog.directory().absolutePath(), dir.path()) << "the folder of the offered name";
}
