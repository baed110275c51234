// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

#include "TPrinter.h"

namespace {

// The number of pages and the media box of the first page of a PDF file Qt wrote.
struct PdfFacts {
    int Pages = 0;
    double Width = 0;  // points
    double Height = 0; // points
};

PdfFacts ReadPdf(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(file.readAll());
    PdfFacts facts;
    facts.Pages =
        static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
    const QRegularExpressionMatch box =
        QRegularExpression(
            QStringLiteral("/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)"))
            .match(text);
    if (box.hasMatch()) {
        facts.Width = box.captured(3).toDouble() - box.captured(1).toDouble();
        facts.Height = box.captured(4).toDouble() - box.captured(2).toDouble();
    }
    return facts;
}

} // namespace

TEST(Printer, PrintsOneLandscapePage) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    zk::QtPrinter printer(pdf);
    printer.SetLandscape();
    QImage image(862, 511, QImage::Format_RGB32);
    image.fill(Qt::white);
    printer.PrintImage(image, 96, 96);
    const PdfFacts facts = ReadPdf(pdf);
    EXPECT_EQ(facts.Pages, 1);
    EXPECT_GT(facts.Width, facts.Height) << "landscape";
    // 862 pixels at 96 per inch are 646.5 points: the picture fits the landscape page at its size.
    EXPECT_GT(facts.Width, 862 * 72.0 / 96);
}

// Each failure of the system's printing surfaces as its message at the step where the system
// reports it, on any machine: the default printer is made absent or failing by the printer's fault.
TEST(Printer, FailuresOfTheSystemsPrintingCarryTheirMessages) {
    const struct {
        zk::PrinterFault Fault;
        bool DefaultPrinter;   // the system's default printer rather than a PDF file
        bool FailsAtLandscape; // else at the job
        const char* Message;
    } rows[] = {
        {zk::PrinterFault::NoDefaultPrinter, true, true, "There is no default printer currently selected"},
        {zk::PrinterFault::OrientationRefused, false, true, "Operation not supported on selected printer"},
        {zk::PrinterFault::JobRefused, false, false, "Printing failed: the printer did not accept the job"},
        {zk::PrinterFault::JobUnfinished, false, false, "Printing failed: the job could not be completed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Message);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        std::unique_ptr<zk::QtPrinter> printer =
            row.DefaultPrinter ? std::make_unique<zk::QtPrinter>() : std::make_unique<zk::QtPrinter>(pdf);
        printer->SetFault(row.Fault);
        QImage image(100, 50, QImage::Format_RGB32);
        image.fill(Qt::white);
        try {
            printer->SetLandscape();
            EXPECT_FALSE(row.FailsAtLandscape) << "the orientation was set";
            printer->PrintImage(image, 96, 96);
            FAIL() << "the job went through";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), row.Message);
        }
        if (row.Fault != zk::PrinterFault::JobUnfinished) {
            EXPECT_EQ(ReadPdf(pdf).Pages, 0) << "no page printed";
        }
    }
}

TEST(Printer, WithoutAFaultThePdfPrinterPrintsAgain) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    zk::QtPrinter printer(pdf);
    printer.SetFault(zk::PrinterFault::OrientationRefused);
    EXPECT_THROW(printer.SetLandscape(), std::runtime_error);
    printer.SetFault(zk::PrinterFault::None);
    printer.SetLandscape();
    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    printer.PrintImage(image, 96, 96);
    EXPECT_EQ(ReadPdf(pdf).Pages, 1);
}

TEST(Printer, ClientAreaImageShowsOnlyVisibleControls) {
    QWidget client;
    client.resize(100, 60);
    QPalette palette = client.palette();
    palette.setColor(QPalette::Window, Qt::white);
    client.setPalette(palette);
    client.setAutoFillBackground(true);
    auto* shown = new QLabel(&client);
    shown->setGeometry(0, 0, 20, 20);
    shown->setStyleSheet(QStringLiteral("background: black"));
    auto* hidden = new QLabel(&client);
    hidden->setGeometry(50, 30, 20, 20);
    hidden->setStyleSheet(QStringLiteral("background: black"));
    hidden->hide();

    const QImage image = zk::ClientAreaImage(&client);
    EXPECT_EQ(image.size(), QSize(100, 60));
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(60, 40), qRgb(255, 255, 255)) << "a hidden control is not printed";
}

namespace {
class RecordingPrinter : public zk::TPrinter {
  public:
    void SetLandscape() override {}
    void PrintImage(const QImage& image, int x, int y) override {
        Image = image;
        DpiX = x;
        DpiY = y;
    }
    QImage Image;
    int DpiX = 0;
    int DpiY = 0;
};
} // namespace

TEST(Printer, ClientAreaIsPrintedAtTheWindowsResolution) {
    RecordingPrinter recording;
    zk::SetPrinter(&recording);
    QWidget client;
    client.resize(120, 80);
    zk::PrintClientArea(&client);
    zk::SetPrinter(nullptr);
    EXPECT_EQ(recording.Image.size(), QSize(120, 80));
    EXPECT_EQ(recording.DpiX, client.logicalDpiX());
    EXPECT_EQ(recording.DpiY, client.logicalDpiY());
}
