// Internal to platform/gui: printer DCs over Qt printers, and the printer choices that
// outlive one dialog. Code outside platform/ never includes this.
#pragma once

#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/print/Print.h"

#include <QByteArray>
#include <QPageSize>
#include <QPainter>
#include <QPointF>
#include <QPrinter>
#include <QString>

#include <memory>
#include <optional>

namespace qor::gui {

// What the user (or the application) chose for the jobs that follow.
struct PrinterSettings
{
    QString printerName;                // empty: the system's default printer
    QString fileName;                   // a PDF file chosen in the print dialog, else empty
    std::optional<QPageSize> pageSize;  // empty: the printer's default (A4 for PDF output)
    std::optional<QMarginsF> marginsMm; // empty: the printer's default (6.35 mm for PDF)
    bool landscape = false;
    int copies = 1;
    bool collate = false;
    bool grayScale = false;
};
PrinterSettings& CurrentPrinterSettings();

// Whether dialogs can be shown to a user (an application on a real display).
bool IsInteractiveSession();

// A printer set up for the next job: the PDF file (SetPrintToFile / QOR_PRINT_TO_PDF) or the
// chosen system printer (interactive sessions only); nullptr when there is nowhere to print.
std::unique_ptr<QPrinter> MakeJobPrinter();
// Turns the printer's page as the program's settings say (the application's landscape default).
void ApplyPageSettings(QPrinter& printer);
// Stores what a print or page set-up dialog left in the printer.
void RememberPrinterSettings(const QPrinter& printer);

// The device facts of a printer for GetDeviceCaps (device pixels of the printer).
DeviceInfo PrinterDeviceInfo(const QPrinter& printer);

// A printer DC printing on the printer: StartDoc begins a painter on it, StartPage/EndPage
// move to the next page, EndDoc finishes (a PDF file is written under a temporary name and
// takes its own name only then), AbortDoc drops the job. The DC owns its job; the job owns
// the printer when ownsPrinter. Drawing outside StartPage..EndPage draws nothing.
HDC CreatePrinterDCOn(QPrinter* printer, bool ownsPrinter);
// The printer behind a printer DC, or nullptr.
QPrinter* PrinterOfDC(HDC hdc);
// Pages drawn on the printer DC from now on are kept for a preview, not printed (no document is begun,
// nothing is written): each StartPage..EndPage records a page, which TakeRecordedPage hands over as the
// data of a QPicture in the printer's device pixels, its origin at the corner of the printable area (empty
// when no page has been recorded since). False when the DC is no printer DC or its job has begun.
bool StartRecordingPages(HDC hdc);
QByteArray TakeRecordedPage(HDC hdc);
// The resolution a picture is taken to have been recorded at when it is played on a device: it is scaled
// from this to the device's.
QPointF PictureDefaultDpi();

} // namespace qor::gui
