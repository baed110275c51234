// SPDX-License-Identifier: GPL-3.0-or-later
#include "TPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <stdexcept>

namespace zk {

namespace {
TPrinter* g_printer = nullptr;

// a * b / c rounded to the nearest integer, in 64 bits.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>((product + (product >= 0 ? c / 2 : -c / 2)) / c);
}
} // namespace

QtPrinter::QtPrinter() = default;

QtPrinter::QtPrinter(const QString& pdfFile, int dotsPerInch)
    : pdfFile_(pdfFile), pdfDotsPerInch_(dotsPerInch) {}

QtPrinter::~QtPrinter() = default;

QPrinter& QtPrinter::Device() {
    if (fault_ == PrinterFault::NoDefaultPrinter)
        throw std::runtime_error("There is no default printer currently selected");
    if (!pdfFile_.isEmpty()) {
        if (!printer_) {
            printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer_->setOutputFormat(QPrinter::PdfFormat);
            printer_->setOutputFileName(pdfFile_);
            if (pdfDotsPerInch_ > 0)
                printer_->setResolution(pdfDotsPerInch_);
        }
        return *printer_;
    }
    // The default printer is looked up for every job: the user may choose another meanwhile.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw std::runtime_error("There is no default printer currently selected");
    if (!printer_ || printer_->printerName() != info.printerName())
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    return *printer_;
}

void QtPrinter::SetLandscape() {
    QPrinter& printer = Device();
    if (printer.printerState() == QPrinter::Active)
        throw std::runtime_error("Printing in progress");
    if (fault_ == PrinterFault::OrientationRefused || !printer.setPageOrientation(QPageLayout::Landscape))
        throw std::runtime_error("Operation not supported on selected printer");
}

QString QtPrinter::JobTitle() {
    return QStringLiteral("Зорквента");
}

QPrinter& QtPrinter::BeginJob(QPainter& painter) {
    // The printer whose orientation was just set, not one looked up anew.
    QPrinter& printer = printer_ ? *printer_ : Device();
    printer.setDocName(JobTitle());
    printer.setFullPage(false); // the origin is the top-left of the printable area
    if (fault_ == PrinterFault::JobRefused || !painter.begin(&printer))
        throw std::runtime_error("Printing failed: the printer did not accept the job");
    return printer;
}

void QtPrinter::EndJob(QPainter& painter) {
    if (!painter.end() || fault_ == PrinterFault::JobUnfinished)
        throw std::runtime_error("Printing failed: the job could not be completed");
}

void QtPrinter::PrintImage(const QImage& image, int pixelsPerInchX, int pixelsPerInchY) {
    QPainter painter;
    QPrinter& printer = BeginJob(painter);
    const int width = MulDiv(image.width(), printer.logicalDpiX(), pixelsPerInchX > 0 ? pixelsPerInchX : 96);
    const int height =
        MulDiv(image.height(), printer.logicalDpiY(), pixelsPerInchY > 0 ? pixelsPerInchY : 96);
    painter.drawImage(QRect(0, 0, width, height), image);
    EndJob(painter);
}

void QtPrinter::PrintWindow(QWidget* client) {
    QPainter painter;
    QPrinter& printer = BeginJob(painter);
    const int ppiX = client->logicalDpiX() > 0 ? client->logicalDpiX() : 96;
    const int ppiY = client->logicalDpiY() > 0 ? client->logicalDpiY() : 96;
    // The page has the window's size on a screen of that many pixels per inch.
    painter.scale(static_cast<double>(printer.logicalDpiX()) / ppiX,
                  static_cast<double>(printer.logicalDpiY()) / ppiY);
    painter.setClipRect(QRect(QPoint(), client->size()));
    painter.fillRect(QRect(QPoint(), client->size()), client->palette().color(client->backgroundRole()));
    client->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren | QWidget::DrawWindowBackground);
    EndJob(painter);
}

void TPrinter::PrintWindow(QWidget* client) {
    PrintImage(ClientAreaImage(client), client->logicalDpiX(), client->logicalDpiY());
}

TPrinter& Printer() {
    // Made once and kept to the end of the process: the toolkit's printer must not outlive the
    // application object in a static destructor.
    static QtPrinter* defaultPrinter = new QtPrinter;
    return g_printer ? *g_printer : *defaultPrinter;
}

void SetPrinter(TPrinter* printer) {
    g_printer = printer;
}

QImage ClientAreaImage(QWidget* client) {
    QImage image(client->size(), QImage::Format_RGB32);
    image.fill(client->palette().color(client->backgroundRole()));
    QPainter painter(&image);
    client->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren | QWidget::DrawWindowBackground);
    painter.end();
    return image;
}

void PrintClientArea(QWidget* client) {
    Printer().PrintWindow(client);
}

} // namespace zk
