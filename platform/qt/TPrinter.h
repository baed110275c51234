// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printer the program prints on: the system's default printer, set to landscape, printing an
// image at its physical screen size on one page.  Tests put a printer that writes a PDF file in
// its place.
#include <QImage>
#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace zk {

class TPrinter {
  public:
    virtual ~TPrinter() = default;
    // Landscape pages for the following job.  Fails with "There is no default printer currently
    // selected" or "Operation not supported on selected printer".
    virtual void SetLandscape() = 0;
    // One job of one page, titled with the program's name: image at the top-left of the
    // printable area, scaled by the printer's dots per inch over the image's pixels per inch in
    // each direction.
    virtual void PrintImage(const QImage& image, int pixelsPerInchX, int pixelsPerInchY) = 0;
    // One job of one page with a window's client area, at its size on the screen.  By default an
    // image of the client area as PrintImage prints it; a real printer renders the window at
    // its own resolution instead.
    virtual void PrintWindow(QWidget* client);
};

// The ways the system's printing fails, each at the point where the system would report it.
enum class PrinterFault {
    None,
    NoDefaultPrinter,   // no printer is set up as the default
    OrientationRefused, // the driver does not let the orientation be set
    JobRefused,         // the printer does not accept the job
    JobUnfinished,      // the job is accepted but cannot be completed
};

// A printer of the toolkit: the system's default printer, or a PDF file.
class QtPrinter : public TPrinter {
  public:
    // The system's default printer, looked up when the orientation is set.
    QtPrinter();
    // A printer that writes its pages into the PDF file pdfFile, at dotsPerInch when that is
    // above 0 (else the toolkit's high resolution).
    explicit QtPrinter(const QString& pdfFile, int dotsPerInch = 0);
    ~QtPrinter() override;

    void SetLandscape() override;
    void PrintImage(const QImage& image, int pixelsPerInchX, int pixelsPerInchY) override;
    // The labels, fields and frames painted by the toolkit straight onto the page, scaled by the
    // printer's dots per inch over the window's; the canvas pictures are drawn again at the whole
    // device scale nearest to that ratio.
    void PrintWindow(QWidget* client) override;

    // The print job's title, which print-to-file printers name the file after.
    static QString JobTitle();

    // Makes this printer fail from now on as the machine's printing would at that point, whatever
    // printers the machine has, so that tests can try every failure.
    void SetFault(PrinterFault fault) { fault_ = fault; }

  private:
    QPrinter& Device();
    // Starts the one page of a job on the printer whose orientation was set.
    QPrinter& BeginJob(QPainter& painter);
    void EndJob(QPainter& painter);

    PrinterFault fault_ = PrinterFault::None;
    QString pdfFile_;
    int pdfDotsPerInch_ = 0;
    std::unique_ptr<QPrinter> printer_;
};

// The printer in use; the system's default printer unless SetPrinter installed another.
TPrinter& Printer();
// Installs a printer (not owned); nullptr restores the default printer.
void SetPrinter(TPrinter* printer);

// An image of a window's client area as it looks now: the widget and its visible children on the
// widget's background.
QImage ClientAreaImage(QWidget* client);
// Prints the client area of a window on the printer in use, at its size on the screen.
void PrintClientArea(QWidget* client);

} // namespace zk
