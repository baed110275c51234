// SPDX-License-Identifier: GPL-3.0-or-later
// The diagram beyond the screen's 609 x 449 pixels: the PNG export at four times the size, the
// picture remade for a screen of another device pixel ratio, and the page printed at the
// printer's resolution.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <set>

#include "CanvasScale.h"
#include "ProgramFixture.h"

namespace {

constexpr QRgb kGreen = 0xFF008000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kRed = 0xFFFF0000;

// Aligned 2 x 2 blocks of device pixels holding more than one colour: none in a picture that is
// its pixels blown up, many in one drawn at device resolution.
int MixedBlocks(const QImage& image, QRect area) {
    int mixed = 0;
    for (int y = area.top(); y + 1 <= area.bottom(); y += 2)
        for (int x = area.left(); x + 1 <= area.right(); x += 2) {
            const QRgb a = image.pixel(x, y);
            mixed +=
                image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a || image.pixel(x + 1, y + 1) != a;
        }
    return mixed;
}

bool IsConstruction(QRgb c) {
    return c == kGreen || c == kBlue || c == kRed;
}

// Whether a pixel of the small picture touches one of another construction colour: where the
// wedge is drawn over the polar, the finer bands of the large picture may cover a pixel that
// was left over at scale 1.
bool TouchesOtherColour(const QImage& small, int x, int y) {
    for (int ny = y - 1; ny <= y + 1; ++ny)
        for (int nx = x - 1; nx <= x + 1; ++nx)
            if (small.valid(nx, ny) && IsConstruction(small.pixel(nx, ny)) &&
                small.pixel(nx, ny) != small.pixel(x, y))
                return true;
    return false;
}

// Every pixel of the polar, the wedge and the shock in the small picture has its colour in the
// large one within a block of it: the same construction, only finer.
void ExpectConstructionScaled(const QImage& small, const QImage& large, int k) {
    int checked = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) {
            const QRgb c = small.pixel(x, y);
            if (!IsConstruction(c) || TouchesOtherColour(small, x, y))
                continue;
            bool found = false;
            for (int dy = k * (y - 1); dy < k * (y + 2) && !found; ++dy)
                for (int dx = k * (x - 1); dx < k * (x + 2) && !found; ++dx)
                    found = large.valid(dx, dy) && large.pixel(dx, dy) == c;
            ASSERT_TRUE(found) << x << "," << y;
            ++checked;
        }
    EXPECT_GT(checked, 1000);
}

std::set<QRgb> Colours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

} // namespace

class PngExportTest : public ProgramTest {
  protected:
    QImage ExportPng(const QString& chosen, const QString& written) {
        dialogs.AnswerWithFilter(chosen, 2);
        Main->bmp1Click();
        return QImage(written, "PNG").convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(PngExportTest, DialogOffersBmpFirstAndPng) {
    dialogs.Cancel();
    Main->bmp1Click();
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    // The descriptions name their patterns; the dialog shows them without repeating the pattern.
    EXPECT_EQ(dialogs.Requests[0].Filter, QStringLiteral("Точечные рисунки (*.bmp)|*.bmp|Рисунки PNG (*.png)|*.png"));
    ASSERT_EQ(dialogs.OfferedFilterIndexes.size(), 1u);
    EXPECT_EQ(dialogs.OfferedFilterIndexes[0], 1) << "BMP is the default";

    // The type chosen last is offered again, like the name.
    ExportPng(Temp("slide"), Temp("slide.png"));
    dialogs.Cancel();
    Main->bmp1Click();
    ASSERT_EQ(dialogs.OfferedFilterIndexes.size(), 3u);
    EXPECT_EQ(dialogs.OfferedFilterIndexes[2], 2);
    EXPECT_EQ(dialogs.Requests[2].FileName, Temp("slide"));
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(PngExportTest, PngIsTheDiagramAtFourTimesItsSize) {
    const QImage png = ExportPng(Temp("diagram"), Temp("diagram.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(2436, 1796));
    const QImage bmp = Picture();
    EXPECT_EQ(Colours(png), Colours(bmp)) << "the same colours, nothing blended";
    EXPECT_GT(MixedBlocks(png, png.rect()), 5000);
    ExpectConstructionScaled(bmp, png, 4);
    // The red marker pixel of C (423, 301) is a red 4 x 4 block.
    for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 4; ++dx)
            EXPECT_EQ(png.pixel(4 * 423 + dx, 4 * 301 + dy), kRed);
    // Like the bitmap, the picture holds the diagram without the labels over it: where the Mach
    // label stands in the window the PNG is white.
    const QRect label = Main->Label6->geometry().translated(-16, -16);
    EXPECT_EQ(png.pixel(4 * label.center().x(), 4 * label.center().y()), 0xFFFFFFFFu);
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(PngExportTest, PngShowsThePictureNotFieldsChangedSince) {
    // A detached case is applied; then the fields change without "Применить".
    Main->SpinEdit1->SetValue(30);
    Main->Button2Click();
    const QImage shown = Picture();
    Main->SpinEdit1->SetValue(10);
    Main->SpinEdit2->SetValue(1000);
    const QImage png = ExportPng(Temp("detached"), Temp("detached.png"));
    ASSERT_EQ(png.size(), QSize(2436, 1796));
    EXPECT_EQ(Picture(), shown);
    ExpectConstructionScaled(shown, png, 4);
    EXPECT_EQ(Colours(png), Colours(shown));
}

TEST_F(PngExportTest, PngExtensionIsAddedOnlyWithoutOne) {
    struct Row {
        const char* chosen;
        const char* written;
    };
    const Row rows[] = {
        {"pic", "pic.png"}, {"pic.png", "pic.png"}, {"UPPER.PNG", "UPPER.PNG"}, {"pic.v2", "pic.v2.png"}};
    for (const Row& row : rows) {
        QTemporaryDir folder;
        const QImage png = ExportPng(folder.filePath(QString::fromLatin1(row.chosen)),
                                     folder.filePath(QString::fromLatin1(row.written)));
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QString::fromLatin1(row.written)})
            << row.chosen;
        EXPECT_EQ(png.size(), QSize(2436, 1796)) << row.chosen;
    }
    EXPECT_TRUE(errors.Boxes.empty());
}

TEST_F(PngExportTest, FailuresAreReportedAsForTheBitmapAndLoseNothing) {
    dialogs.AnswerWithFilter(Temp("no such folder/pic"), 2);
    Main->bmp1->trigger();
    ASSERT_EQ(errors.Boxes.size(), 1u);
    EXPECT_EQ(errors.Boxes[0].Text,
              QStringLiteral("Cannot create file ") + Temp("no such folder/pic.png") + QStringLiteral("."));

    // An existing file is replaced whole.
    QFile old(Temp("pic.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a picture");
    old.close();
    EXPECT_EQ(ExportPng(Temp("pic.png"), Temp("pic.png")).size(), QSize(2436, 1796));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("pic.png")})
        << "no temporary file is left";
}

using ScreenScaleTest = ProgramTest;

// On a screen of device pixel ratio 2 the picture is drawn at scale 2: the same diagram, finer.
// What the window saves and prints at scale 1 does not change.
TEST_F(ScreenScaleTest, PictureRemadeAtAnotherScaleIsTheSameDiagramFiner) {
    const QImage one = Picture();
    Main->RescalePicture(2);
    ASSERT_EQ(Main->RisCanvas().Scale(), 2);
    QImage two = Picture();
    EXPECT_EQ(two.size(), QSize(1218, 898));
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    two = two.convertToFormat(QImage::Format_RGB32);
    // The diagram's right part, logical x 240 to 620 and y 20 to 460 of the client area.
    EXPECT_GT(MixedBlocks(two, QRect(2 * (240 - 16), 2 * (20 - 16), 2 * 369, 2 * 429)), 1000);
    EXPECT_EQ(MixedBlocks(one.scaled(one.size() * 2), QRect(0, 0, 1218, 898)), 0)
        << "the old, doubled picture";
    ExpectConstructionScaled(one, two, 2);

    // Apply draws at the screen's scale; the bitmap stays the 609 x 449 picture.
    Main->SpinEdit1->SetValue(25);
    Main->Button2Click();
    dialogs.Answer(Temp("hidpi"));
    Main->bmp1Click();
    const QImage bmp = QImage(Temp("hidpi.bmp"), "BMP").convertToFormat(QImage::Format_RGB32);
    Main->RescalePicture(1);
    EXPECT_EQ(bmp, Picture()) << "the same bitmap as on a screen of ratio 1";
    EXPECT_TRUE(errors.Boxes.empty());
}

// Painted on a screen whose scale is not the canvas's, the picture asks to be remade at the
// screen's scale, from the event loop.
TEST_F(ScreenScaleTest, PaintOnAScreenOfAnotherScaleRemakesThePicture) {
    const QImage one = Picture();
    Main->RescalePicture(3);
    ASSERT_EQ(Main->RisCanvas().Scale(), 3);
    Main->Ris->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(Main->RisCanvas().Scale(), zk::CanvasScaleFor(Main->Ris->devicePixelRatioF()));
    EXPECT_EQ(Picture(), one);
    // The pen and its place carry over: the next run starts as it would have.
    Main->Button2Click();
    EXPECT_EQ(Picture(), one);
}

// "C₁ =", a 50 x 50 picture shrunk into 33 x 33, painted at device scale 2 (a screen of ratio 1.5
// or 2) and 6 (a 600-dpi page): the same black ink over its place as at scale 1, only finer.
TEST_F(ScreenScaleTest, ShrunkPictureFillsItsPlaceAtEveryDeviceScale) {
    const auto inkBox = [](int k) {
        QImage image(Main->Image6->size() * k, QImage::Format_RGB32);
        image.setDevicePixelRatio(k);
        image.fill(Qt::white);
        Main->Image6->render(&image);
        QRect box; // the dark pixels' box, in pixels of the picture's place
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                box |= qGray(image.pixel(x, y)) < 128 ? QRect(x / k, y / k, 1, 1) : QRect();
        return box;
    };
    const QRect one = inkBox(1);
    ASSERT_GT(one.width(), 20);
    EXPECT_EQ(inkBox(2), one);
    EXPECT_EQ(inkBox(6), one);
}

TEST(CanvasScaleFor, NextWholeNumberAtOrAboveTheRatio) {
    EXPECT_EQ(zk::CanvasScaleFor(1.0), 1);
    EXPECT_EQ(zk::CanvasScaleFor(1.25), 2);
    EXPECT_EQ(zk::CanvasScaleFor(1.5), 2);
    EXPECT_EQ(zk::CanvasScaleFor(2.0), 2);
    EXPECT_EQ(zk::CanvasScaleFor(2.0000000001), 2);
    EXPECT_EQ(zk::CanvasScaleFor(2.5), 3);
    EXPECT_EQ(zk::CanvasScaleFor(0.5), 1);
    EXPECT_EQ(zk::CanvasScaleFor(0.0), 1);
    EXPECT_EQ(zk::CanvasScaleFor(std::numeric_limits<double>::quiet_NaN()), 1);
    EXPECT_EQ(zk::CanvasScaleFor(1000.0), zk::RasterCanvas::kMaxScale);
    EXPECT_EQ(zk::NearestCanvasScale(600.0 / 96), 6);
    EXPECT_EQ(zk::NearestCanvasScale(300.0 / 96), 3);
    EXPECT_EQ(zk::NearestCanvasScale(1200.0 / 96), 13);
    EXPECT_EQ(zk::NearestCanvasScale(72.0 / 96), 1);
}

using PrintScaleTest = ProgramTest;

// The page printed at 600 dpi and rendered at 600 dpi: the upper wedge ray, a line rising 120
// pixels over 330, has its upper edge step up a device pixel or two at a time.  The screen image
// scaled up to the page would step 6.25 pixels at a time, the size of one screen pixel.
TEST_F(PrintScaleTest, PageAt600DpiHasNoPixelSteps) {
    zk::QtPrinter pdf(Temp("page.pdf"), 600);
    zk::SetPrinter(&pdf);
    Main->N4Click();
    ASSERT_TRUE(errors.Boxes.empty());
    EXPECT_TRUE(Main->Button2->isVisible());
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {Temp("page.pdf")});
    ASSERT_TRUE(info.waitForFinished(60000)) << "pdfinfo (poppler-utils) reads the page";
    const QString facts = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(facts.contains(QRegularExpression(QStringLiteral("Title:\\s*Зорквента"))))
        << facts.toStdString();
    EXPECT_TRUE(facts.contains(QRegularExpression(QStringLiteral("Pages:\\s*1\\n")))) << facts.toStdString();

    // The part of the page that holds the client area (5388 x 3194 dots at 600 dpi, beyond the
    // margin).
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-png"),
                  QStringLiteral("-singlefile"), QStringLiteral("-W"), QStringLiteral("5800"),
                  QStringLiteral("-H"), QStringLiteral("3600"), Temp("page.pdf"), Temp("page")});
    ASSERT_TRUE(render.waitForFinished(120000)) << "pdftoppm (poppler-utils) renders the page";
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    const QImage page = QImage(Temp("page.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.size(), QSize(5800, 3600));

    // The strong blue of the wedge: its pixels' box spans the rays from O to x = 530.
    const auto blue = [&](int x, int y) {
        const QRgb p = reinterpret_cast<const QRgb*>(page.constScanLine(y))[x];
        return qBlue(p) > 200 && qRed(p) < 90 && qGreen(p) < 90;
    };
    int left = page.width(), right = -1, topmost = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (blue(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                topmost = std::min(topmost, y);
                bottom = std::max(bottom, y);
            }
    const QRect box(QPoint(left, topmost), QPoint(right, bottom));
    ASSERT_FALSE(box.isEmpty());
    // From the left edge of the rays at O (x = 198.5) to the right end of the last hatching stroke
    // (x = 534.5), at 6.25 dots per pixel.
    EXPECT_NEAR(box.width(), 336 * 6.25, 30) << "the wedge at its screen size";
    const auto column = [&](double x) { return static_cast<int>(box.left() + (x - 198.5) * 6.25); };

    // The topmost blue pixel of each column along the upper ray from x = 445 to 515, beyond C
    // where the line from B crosses it: nothing is drawn over its upper edge there.
    std::vector<int> top;
    for (int x = column(445); x < column(515); ++x) {
        int y = box.top();
        while (y <= box.bottom() && !blue(x, y))
            ++y;
        top.push_back(y);
    }
    int largestStep = 0;
    std::set<int> rows;
    for (std::size_t i = 1; i < top.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(top[i] - top[i - 1]));
        rows.insert(top[i]);
    }
    EXPECT_LE(largestStep, 2) << "no staircase of screen pixels";
    // Over 70 pixels the edge rises 70 * tan 20° * 6.25 = 159 dots, on about as many rows; blown-up
    // screen pixels would give the 25 rows of the screen's staircase.
    EXPECT_GT(rows.size(), 120u);
}
