// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <stdexcept>

#include "ProgramFixture.h"

namespace {

// A printer that keeps what it was asked to print.
class RecordingPrinter : public zk::TPrinter {
  public:
    void SetLandscape() override {
        if (!LandscapeError.empty())
            throw std::runtime_error(LandscapeError);
        Landscape = true;
    }
    void PrintImage(const QImage& image, int dpiX, int dpiY) override {
        ButtonVisibleWhilePrinting = Main->Button2->isVisible();
        if (!PrintError.empty())
            throw std::runtime_error(PrintError);
        Pages.push_back(image);
        DpiX = dpiX;
        DpiY = dpiY;
    }
    std::string LandscapeError;
    std::string PrintError;
    bool Landscape = false;
    bool ButtonVisibleWhilePrinting = true;
    std::vector<QImage> Pages;
    int DpiX = 0;
    int DpiY = 0;
};

// Answers the toolkit's file dialog once it is up, as a student does: the type chosen in its list
// with the arrow keys, the offered name typed over, the accept button pressed.
void AnswerRealDialog(const QString& type, const QString& name) {
    QTimer::singleShot(10, [type, name] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return AnswerRealDialog(type, name); // not up yet
        // Typed into, the dialog is the active window.
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog))
            return dialog->reject();
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const int wanted = types->findText(type, Qt::MatchContains);
        while (types->currentIndex() != wanted)
            QTest::keyClick(types, types->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, name);
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        buttons->button(QDialogButtonBox::Save)->click();
    });
}

} // namespace

class ExportTest : public ProgramTest {
  protected:
    void Export(const QString& fileName) {
        dialogs.Answer(fileName);
        Main->bmp1->trigger();
    }
};

TEST_F(ExportTest, BmpExtensionIsAddedOnlyWhenMissing) {
    struct Row {
        const char* chosen;
        const char* written;
    };
    const Row rows[] = {
        {"pic", "pic.bmp"}, {"pic.bmp", "pic.bmp"}, {"UPPER.BMP", "UPPER.BMP"}, {"pic.v2", "pic.v2.bmp"}};
    for (const Row& row : rows) {
        QTemporaryDir folder;
        dialogs.Answer(folder.filePath(QString::fromLatin1(row.chosen)));
        Main->bmp1Click();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QString::fromLatin1(row.written)})
            << row.chosen;
    }
    EXPECT_TRUE(errors.Boxes.empty());
}

// Through the toolkit's own dialog: the typed extension decides the format, and a name without
// one takes the chosen type and its extension.
TEST_F(ExportTest, RealDialogWritesWhatTheNameOrTheChosenTypeSays) {
    zk::SetFileDialogProvider(nullptr);
    const char* const rows[][4] = {// type chosen, name typed, file written, its format
                                   {"PNG", "pic", "pic.png", "PNG"},
                                   {"bmp", "pic.png", "pic.png", "PNG"},
                                   {"PNG", "pic.bmp", "pic.bmp", "BMP"},
                                   {"PNG", "lesson.v2", "lesson.v2.png", "PNG"}};
    for (const auto& row : rows) {
        QTemporaryDir folder;
        Main->SavePictureDialog1->FileName = folder.filePath(QStringLiteral("earlier")); // opens there
        AnswerRealDialog(QString::fromLatin1(row[0]), QString::fromLatin1(row[1]));
        Main->bmp1->trigger();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QString::fromLatin1(row[2])})
            << row[1];
        QImageReader written(folder.filePath(QString::fromLatin1(row[2])));
        EXPECT_EQ(written.format(), QByteArray(row[3]).toLower()) << row[1];
        EXPECT_EQ(written.size(), QByteArray(row[3]) == "PNG" ? QSize(2436, 1796) : QSize(609, 449))
            << row[1];
    }
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(ExportTest, BitmapHoldsTheDiagramWithoutTheLabels) {
    Export(Temp("diagram"));
    const QImage written(Temp("diagram.bmp"), "BMP");
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), QSize(609, 449));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), Picture());

    // The window shows the Mach label over the diagram; the bitmap does not.
    const QImage window = Main->Client->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect label = Main->Label6->geometry();
    bool differs = false;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x)
            differs |= window.pixel(x, y) != written.pixel(x - 16, y - 16);
    EXPECT_TRUE(differs);
}

TEST_F(ExportTest, CancelWritesNothingAndTheNameIsRemembered) {
    Export(Temp("first"));
    dialogs.Cancel();
    Main->bmp1Click();
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    EXPECT_EQ(dialogs.Requests[1].Kind, zk::TFileDialogKind::SavePicture);
    EXPECT_EQ(dialogs.Requests[1].FileName, Temp("first"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("first.bmp")});
}

TEST_F(ExportTest, FileThatCannotBeCreatedIsNamedInTheMessage) {
    Export(Temp("no such folder/pic"));
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Text,
              QStringLiteral("Cannot create file ") + Temp("no such folder/pic.bmp") + QStringLiteral("."));
}

TEST_F(ExportTest, ExistingPictureIsReplaced) {
    QFile old(Temp("pic.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a picture");
    old.close();
    Export(Temp("pic.bmp"));
    EXPECT_EQ(QImage(Temp("pic.bmp"), "BMP").size(), QSize(609, 449));
}

using PrintTest = ProgramTest;

TEST_F(PrintTest, PrintsTheClientAreaWithoutTheButtonInLandscape) {
    RecordingPrinter printer;
    zk::SetPrinter(&printer);
    Main->N4->trigger();
    EXPECT_TRUE(printer.Landscape);
    ASSERT_EQ(printer.Pages.size(), 1u);
    const QImage& page = printer.Pages[0];
    EXPECT_EQ(page.size(), QSize(862, 511));
    EXPECT_FALSE(printer.ButtonVisibleWhilePrinting);
    EXPECT_TRUE(Main->Button2->isVisible()) << "the button is back after printing";
    EXPECT_EQ(printer.DpiX, Main->Client->logicalDpiX());

    // Where the button stands there is only the white of the window.
    const QRect button = Main->Button2->geometry();
    for (int y = button.top(); y <= button.bottom(); ++y)
        for (int x = button.left(); x <= button.right(); ++x)
            ASSERT_EQ(page.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    // The diagram is on the page.
    EXPECT_EQ(page.copy(16 + 600, 16 + 200, 1, 1).pixel(0, 0), Picture().pixel(600, 200));
}

TEST_F(PrintTest, ButtonComesBackWhenPrintingFails) {
    RecordingPrinter printer;
    printer.PrintError = "Printing failed";
    zk::SetPrinter(&printer);
    Main->N4->trigger();
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("Printing failed."));
    EXPECT_TRUE(Main->Button2->isVisible());
}

TEST_F(PrintTest, MissingPrinterIsReportedBeforeAnythingChanges) {
    RecordingPrinter printer;
    printer.LandscapeError = "There is no default printer currently selected";
    zk::SetPrinter(&printer);
    Main->N4->trigger();
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Text, QStringLiteral("There is no default printer currently selected."));
    EXPECT_TRUE(Main->Button2->isVisible());
    EXPECT_TRUE(printer.Pages.empty());
}

TEST_F(PrintTest, PrintsOnePdfPage) {
    zk::QtPrinter pdf(Temp("page.pdf"));
    zk::SetPrinter(&pdf);
    Main->N4Click();
    EXPECT_TRUE(errors.Boxes.empty());
    QFile file(Temp("page.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("%PDF")));
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))), 1);
}

using TheoryWindowTest = ProgramTest;

TEST_F(TheoryWindowTest, ClickOnTheDiagramShowsItAndAClickOnItHidesIt) {
    QTest::mouseClick(Main->Ris, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_TRUE(Form5->isVisible());
    EXPECT_EQ(Form5->Image11->geometry(), QRect(-1, 0, 758, 527));
    EXPECT_TRUE(Main->isEnabled()) << "not modal";

    QTest::mouseClick(Main->Ris, Qt::LeftButton, {}, QPoint(10, 10)); // already open: stays
    EXPECT_TRUE(Form5->isVisible());

    QTest::mouseClick(Form5->Image11, Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_FALSE(Form5->isVisible());
    Main->RisClick();
    EXPECT_TRUE(Form5->isVisible());
    Form5->FormClick();
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(TheoryWindowTest, PictureDoesNotDependOnTheCase) {
    const QImage before = Form5->Image11->Picture();
    Main->SpinEdit1->SetValue(30);
    Main->Button2Click();
    EXPECT_EQ(Form5->Image11->Picture(), before);
    EXPECT_EQ(before.size(), QSize(758, 527));
}
