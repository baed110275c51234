// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison table out of the window: Ctrl+C puts it on the clipboard as tab-separated text with
// the locale's decimal separator, "Сохранить таблицу…" writes it as a CSV file with a decimal point,
// and a save that fails says so and leaves the files as they were.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "Comparison.h"
#include "ProgramFixture.h"
#include "TFileDialog.h"

namespace {

class TableOutTest : public ProgramTest {
  protected:
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
    static QByteArray FileBytes(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// The start-up case, M1 = 2, χ = 20°, as the window shows it.
const char* const kStartUpText = "M₁\t2\tγ\t1.4\tχ, °\t20\tV₁, м/с\t680\tc₁, м/с\t340\n"
                                 "\n"
                                 "\tПостроение\tСлабый скачок\tСильный скачок\tРазность\tРазность, %\n"
                                 "Угол скачка, °\t52.73\t53.42\t74.27\t-0.7\t-1.3\n"
                                 "P₂/P₁\t2.7885\t2.8429\t4.157\t-0.0544\t-1.91\n"
                                 "ρ₁/ρ₂\t0.4957\t0.4897\t0.3915\t0.0059\t1.21\n"
                                 "υ₂/υ₁\t0.7192\t0.714\t0.4642\t0.0052\t0.73\n"
                                 "T₂/T₁\t1.3821\t1.3922\t1.6276\t-0.0101\t-0.72\n"
                                 "M₂\t\t1.2102\t0.7278\t\t\n"
                                 "p₀₂/p₀₁\t\t0.8929\t0.7558\t\t\n"
                                 "Наибольший χ, °\t23\t22.97\t22.97\t0.03\t0.12\n";

TEST_F(TableOutTest, CtrlCCopiesTheWholeTableAsTabSeparatedText) {
    Main->N8Click();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(Comparison->Table1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), QString::fromUtf8(kStartUpText));

    // The window's shortcut and its button copy the same, wherever the focus is.
    QGuiApplication::clipboard()->clear();
    Comparison->Copy1->trigger();
    EXPECT_EQ(Clipboard(), QString::fromUtf8(kStartUpText));
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(Comparison->Button1, Qt::LeftButton);
    EXPECT_EQ(Clipboard(), QString::fromUtf8(kStartUpText));
    EXPECT_EQ(Comparison->Copy1->shortcut(), QKeySequence(QKeySequence::Copy));
}

TEST_F(TableOutTest, ClipboardSpeaksTheLocaleAndTheFileDoesNot) {
    zk::SetDecimalSeparator(QStringLiteral(","));
    Main->Button2Click();
    Main->N8Click();
    Comparison->CopyTable();
    const QStringList lines = Clipboard().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("M₁\t2\tγ\t1,4\tχ, °\t20\tV₁, м/с\t680\tc₁, м/с\t340"));
    EXPECT_EQ(lines[3], QStringLiteral("Угол скачка, °\t52,73\t53,42\t74,27\t-0,7\t-1,3"));
    const QStringList csv = Comparison->TableCsv().split(QStringLiteral("\r\n"));
    EXPECT_EQ(csv[0], QStringLiteral("M₁,2,γ,1.4,\"χ, °\",20,\"V₁, м/с\",680,\"c₁, м/с\",340"));
    EXPECT_EQ(csv[3], QStringLiteral("\"Угол скачка, °\",52.73,53.42,74.27,-0.7,-1.3"));
}

TEST_F(TableOutTest, SaveWritesTheCsvFileWithItsExtension) {
    Main->N8Click();
    dialogs.Answer(Temp("worksheet"));
    QTest::mouseClick(Comparison->Button2, Qt::LeftButton);
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Kind, zk::TFileDialogKind::Save);
    EXPECT_EQ(dialogs.Requests[0].DefaultExt, QStringLiteral("csv"));
    EXPECT_EQ(FileBytes(Temp("worksheet.csv")),
              QByteArray("\xEF\xBB\xBF"
                         "M₁,2,γ,1.4,\"χ, °\",20,\"V₁, м/с\",680,\"c₁, м/с\",340\r\n"
                         "\r\n"
                         ",Построение,Слабый скачок,Сильный скачок,Разность,\"Разность, %\"\r\n"
                         "\"Угол скачка, °\",52.73,53.42,74.27,-0.7,-1.3\r\n"
                         "P₂/P₁,2.7885,2.8429,4.157,-0.0544,-1.91\r\n"
                         "ρ₁/ρ₂,0.4957,0.4897,0.3915,0.0059,1.21\r\n"
                         "υ₂/υ₁,0.7192,0.714,0.4642,0.0052,0.73\r\n"
                         "T₂/T₁,1.3821,1.3922,1.6276,-0.0101,-0.72\r\n"
                         "M₂,,1.2102,0.7278,,\r\n"
                         "p₀₂/p₀₁,,0.8929,0.7558,,\r\n"
                         "\"Наибольший χ, °\",23,22.97,22.97,0.03,0.12\r\n"));
    EXPECT_TRUE(errors.Boxes.empty());

    // Saved again over the same file after a new Apply: the file holds the new case only.
    Main->SpinEdit1->SetValue(10);
    Main->Button2Click();
    dialogs.Answer(Temp("worksheet.csv"));
    Comparison->Button2Click();
    const QByteArray again = FileBytes(Temp("worksheet.csv"));
    EXPECT_TRUE(again.contains("\"χ, °\",10,"));
    EXPECT_TRUE(again.contains("\"Угол скачка, °\",") && again.contains(",39.31,"));
    EXPECT_FALSE(again.contains("52.73"));
}

TEST_F(TableOutTest, CancelledOrFailedSaveChangesNoFile) {
    Main->N8Click();
    dialogs.Cancel();
    Comparison->Button2->click();
    EXPECT_TRUE(errors.Boxes.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A folder that does not exist: the error box, and nothing written anywhere.
    dialogs.Answer(Temp("missing/table.csv"));
    Comparison->Button2->click();
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_FALSE(errors.Boxes[0].Text.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    // A name that is a folder: the error box, and the folder's contents stay.
    QDir(dir.path()).mkdir(QStringLiteral("folder.csv"));
    QFile kept(Temp("folder.csv/kept.txt"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    dialogs.Answer(Temp("folder.csv"));
    Comparison->Button2->click();
    EXPECT_EQ(errors.Boxes.size(), 2u);
    EXPECT_EQ(FileBytes(Temp("folder.csv/kept.txt")), QByteArray("kept"));
}

TEST_F(TableOutTest, FaultedApplyCopiesEmptyCellsAndNoOldNumbers) {
    Main->N8Click();
    Flow.SoundSpeed = 0;
    Main->Button2->click();
    ASSERT_EQ(errors.Boxes.size(), 1u);
    Comparison->CopyTable();
    const QStringList lines = Clipboard().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3 + TComparisonForm::kRows + 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("M₁\t\tγ\t1.4\t"))) << "no Mach number without c1";
    EXPECT_EQ(lines[3], QStringLiteral("Угол скачка, °\t\t\t\t\t"));
    EXPECT_EQ(lines[10], QStringLiteral("Наибольший χ, °\t\t\t\t\t"));
}

} // namespace
