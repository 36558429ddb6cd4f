// Printing over Qt printers: print dialogs, printer DCs and their print jobs.
#include "platform/gui/print/PrintInternal.h"

#include "platform/core/MessageBox.h"
#include "platform/core/ModalWindowScope.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/Wnd.h"
#include "platform/gui/window/WndInternal.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace qor::gui {

namespace {

CString& PrintToFilePath()
{
    static auto* path = new CString;
    return *path;
}

int& PdfDpi()
{
    static int dpi = 600;
    return dpi;
}

PrintDialogDriver& Driver()
{
    static auto* driver = new PrintDialogDriver;
    return *driver;
}

// Output to a file is PDF; anything else goes to a system printer.
bool IsPdf(const QPrinter& p) { return p.outputFormat() == QPrinter::PdfFormat; }

constexpr double kPdfMarginMm = 6.35; // a quarter inch, as common printers leave unprinted

// ---- The print job behind a printer DC ---------------------------------------------------------

class PrintJob;

std::vector<PrintJob*>& Jobs()
{
    static auto* jobs = new std::vector<PrintJob*>;
    return *jobs;
}

class PrintJob final : public PrintTarget
{
public:
    PrintJob(QPrinter* printer, bool ownsPrinter) : m_printer(printer)
    {
        if (ownsPrinter) m_owned.reset(printer);
        Jobs().push_back(this);
    }

    ~PrintJob() override
    {
        m_hdc = nullptr; // the DC is gone or going: never touch it again
        if (m_inDoc) Abort();
        auto& jobs = Jobs();
        jobs.erase(std::remove(jobs.begin(), jobs.end(), this), jobs.end());
    }

    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    void SetDc(HDC hdc) { m_hdc = hdc; }
    HDC Dc() const { return m_hdc; }
    QPrinter* Printer() const { return m_printer; }

    int StartDoc(const CString& docName) override
    {
        if (m_inDoc) return SP_ERROR;
        m_printer->setDocName(ToQString(docName));
        m_finalPath.clear();
        if (IsPdf(*m_printer))
        {
            // Written under a temporary name, so that an aborted or failed job leaves no file
            // and does not spoil a file of that name written before.
            m_finalPath = m_printer->outputFileName();
            if (m_finalPath.isEmpty()) return SP_ERROR;
            m_printer->setOutputFileName(m_finalPath + QStringLiteral(".part"));
        }
        if (!m_painter.begin(m_printer))
        {
            RestoreFileName();
            return SP_ERROR;
        }
        m_inDoc = true;
        m_inPage = false;
        m_pages = 0;
        SetDcPainter(m_hdc, nullptr);
        static int s_jobId = 0;
        return ++s_jobId;
    }

    int StartPage() override
    {
        if (!m_inDoc || m_inPage) return SP_ERROR;
        // Beginning the painter opened the first page; later pages need a new one.
        if (m_pages > 0 && !m_printer->newPage()) return SP_ERROR;
        m_inPage = true;
        SetDcPainter(m_hdc, &m_painter);
        return 1;
    }

    int EndPage() override
    {
        if (!m_inDoc || !m_inPage) return SP_ERROR;
        m_inPage = false;
        ++m_pages;
        SetDcPainter(m_hdc, nullptr);
        return 1;
    }

    int EndDoc() override
    {
        if (!m_inDoc) return SP_ERROR;
        if (m_inPage) EndPage();
        m_inDoc = false;
        SetDcPainter(m_hdc, nullptr);
        const bool ended = m_painter.end();
        if (m_finalPath.isEmpty()) return ended ? 1 : SP_ERROR;
        const QString part = m_printer->outputFileName();
        RestoreFileName();
        if (!ended)
        {
            QFile::remove(part);
            return SP_ERROR;
        }
        if (QFile::exists(m_finalPath) && !QFile::remove(m_finalPath))
        {
            QFile::remove(part);
            return SP_ERROR;
        }
        return QFile::rename(part, m_finalPath) ? 1 : SP_ERROR;
    }

    int AbortDoc() override
    {
        if (!m_inDoc) return SP_ERROR;
        Abort();
        return 1;
    }

private:
    void Abort()
    {
        m_inDoc = m_inPage = false;
        if (m_hdc) SetDcPainter(m_hdc, nullptr);
        if (!IsPdf(*m_printer)) m_printer->abort();
        if (m_painter.isActive()) m_painter.end();
        if (!m_finalPath.isEmpty())
        {
            QFile::remove(m_printer->outputFileName());
            RestoreFileName();
        }
    }

    void RestoreFileName()
    {
        if (!m_finalPath.isEmpty()) m_printer->setOutputFileName(m_finalPath);
    }

    QPrinter* m_printer;
    std::unique_ptr<QPrinter> m_owned;
    QPainter m_painter;
    HDC m_hdc = nullptr;
    bool m_inDoc = false;
    bool m_inPage = false;
    int m_pages = 0;
    QString m_finalPath;
};

// Printer DCs own their jobs. A job whose DC has been deleted is dropped here (the DC's
// handle may since stand for another DC: then that DC's target is not this job).
void DropOrphanedJobs()
{
    std::vector<PrintJob*> orphans;
    for (PrintJob* job : Jobs())
    {
        DcRecord* dc = DcOf(job->Dc());
        if (!dc || dc->printTarget != job) orphans.push_back(job);
    }
    for (PrintJob* job : orphans) delete job;
}

PrintJob* JobOf(HDC hdc)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !dc->printTarget) return nullptr;
    for (PrintJob* job : Jobs())
        if (job == dc->printTarget) return job;
    return nullptr;
}

QWidget* DialogParent(CWnd* parent)
{
    CWnd* w = parent ? parent : AfxGetMainWnd();
    return w ? WidgetOf(w) : nullptr;
}

} // namespace

// ---- Settings -----------------------------------------------------------------------------------

PrinterSettings& CurrentPrinterSettings()
{
    static auto* settings = new PrinterSettings;
    return *settings;
}

bool IsInteractiveSession()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void SetPrintToFile(const CString& path) { PrintToFilePath() = path; }

CString GetPrintToFile()
{
    if (!PrintToFilePath().IsEmpty()) return PrintToFilePath();
    const char* env = std::getenv("QOR_PRINT_TO_PDF");
    return env && *env ? CString::FromUtf8(env) : CString();
}

void SetPdfResolution(int dpi) { PdfDpi() = std::clamp(dpi, 72, 2400); }

void SetDefaultLandscape(bool landscape) { CurrentPrinterSettings().landscape = landscape; }
bool GetDefaultLandscape() { return CurrentPrinterSettings().landscape; }

PrintDialogDriver SetPrintDialogDriver(PrintDialogDriver driver)
{
    PrintDialogDriver previous = std::move(Driver());
    Driver() = std::move(driver);
    return previous;
}

void ApplyPageSettings(QPrinter& printer)
{
    printer.setPageOrientation(CurrentPrinterSettings().landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

std::unique_ptr<QPrinter> MakeJobPrinter()
{
    const PrinterSettings& s = CurrentPrinterSettings();
    const CString pdf = GetPrintToFile();
    if (pdf.IsEmpty() && !IsInteractiveSession()) return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!pdf.IsEmpty() || !s.fileName.isEmpty())
    {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf.IsEmpty() ? s.fileName : ToQString(pdf));
        printer->setResolution(PdfDpi());
        const double m = kPdfMarginMm;
        printer->setPageLayout(QPageLayout(s.pageSize.value_or(QPageSize(QPageSize::A4)), QPageLayout::Portrait,
                                           s.marginsMm.value_or(QMarginsF(m, m, m, m)), QPageLayout::Millimeter));
    }
    else
    {
        if (!s.printerName.isEmpty()) printer->setPrinterName(s.printerName);
        // Without any system printer Qt falls back to PDF output with no file: nowhere to print.
        if (!printer->isValid() || (IsPdf(*printer) && printer->outputFileName().isEmpty())) return nullptr;
        if (s.pageSize) printer->setPageSize(*s.pageSize);
        if (s.marginsMm) printer->setPageMargins(*s.marginsMm, QPageLayout::Millimeter);
    }
    ApplyPageSettings(*printer);
    printer->setCopyCount(std::max(1, s.copies));
    printer->setCollateCopies(s.collate);
    if (s.grayScale) printer->setColorMode(QPrinter::GrayScale);
    return printer;
}

void RememberPrinterSettings(const QPrinter& printer)
{
    PrinterSettings& s = CurrentPrinterSettings();
    if (IsPdf(printer))
        s.fileName = printer.outputFileName();
    else
    {
        s.fileName.clear();
        s.printerName = printer.printerName();
    }
    const QPageLayout layout = printer.pageLayout();
    s.pageSize = layout.pageSize();
    s.marginsMm = layout.margins(QPageLayout::Millimeter);
    s.landscape = layout.orientation() == QPageLayout::Landscape;
    s.copies = std::max(1, printer.copyCount());
    s.collate = printer.collateCopies();
    s.grayScale = printer.colorMode() == QPrinter::GrayScale;
}

DeviceInfo PrinterDeviceInfo(const QPrinter& printer)
{
    DeviceInfo info;
    info.dpiX = printer.logicalDpiX();
    info.dpiY = printer.logicalDpiY();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toAlignedRect();
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toAlignedRect();
    info.width = page.width();
    info.height = page.height();
    info.physicalWidth = paper.width();
    info.physicalHeight = paper.height();
    info.physicalOffsetX = page.left() - paper.left();
    info.physicalOffsetY = page.top() - paper.top();
    info.numColors = printer.colorMode() == QPrinter::GrayScale ? 2 : -1;
    return info;
}

HDC CreatePrinterDCOn(QPrinter* printer, bool ownsPrinter)
{
    DropOrphanedJobs();
    if (!printer) return nullptr;
    auto* job = new PrintJob(printer, ownsPrinter);
    HDC hdc = CreatePainterDC(printer, nullptr, true, PrinterDeviceInfo(*printer), job);
    if (!hdc)
    {
        delete job;
        return nullptr;
    }
    job->SetDc(hdc);
    return hdc;
}

QPrinter* PrinterOfDC(HDC hdc)
{
    PrintJob* job = JobOf(hdc);
    return job ? job->Printer() : nullptr;
}

} // namespace qor::gui

using namespace qor::gui;

// ---- CPrintDialog -------------------------------------------------------------------------------

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
}

INT_PTR CPrintDialog::DoModal()
{
    qor::ModalWindowScope running;
    m_pd.hwndOwner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    const bool setupOnly = IsPrintSetupOnly();
    auto finish = [this, setupOnly]() -> INT_PTR {
        if (!setupOnly && (m_pd.Flags & PD_RETURNDC) && !CreatePrinterDC()) return IDCANCEL; // no printer to print on
        return IDOK;
    };

    if (Driver())
    {
        PrintDialogDriver driver = Driver(); // the driver may replace itself
        return driver(*this) == IDOK ? finish() : IDCANCEL;
    }
    const char* env = std::getenv("QOR_PRINT_TO_PDF");
    if (env && *env) return finish();
    if (!IsInteractiveSession()) return IDCANCEL;

    auto printer = MakeJobPrinter();
    if (!printer)
    {
        // No printer chosen yet and none in the system: the dialog offers a file. It starts from
        // the program's page (its orientation), as the preview showed it, not from the toolkit's
        // portrait default.
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        ApplyPageSettings(*printer);
    }
    if (setupOnly)
    {
        QPageSetupDialog dlg(printer.get(), DialogParent(m_pParentWnd));
        if (dlg.exec() != QDialog::Accepted) return IDCANCEL;
        RememberPrinterSettings(*printer);
        return IDOK;
    }

    QPrintDialog dlg(printer.get(), DialogParent(m_pParentWnd));
    dlg.setOption(QAbstractPrintDialog::PrintSelection, !(m_pd.Flags & PD_NOSELECTION));
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, !(m_pd.Flags & PD_NOPAGENUMS));
    dlg.setOption(QAbstractPrintDialog::PrintToFile, !(m_pd.Flags & (PD_HIDEPRINTTOFILE | PD_DISABLEPRINTTOFILE)));
    dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, (m_pd.Flags & PD_CURRENTPAGE) != 0);
    dlg.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    if (m_pd.nMinPage > 0 && m_pd.nMaxPage >= m_pd.nMinPage) dlg.setMinMax(m_pd.nMinPage, m_pd.nMaxPage);
    if (m_pd.nFromPage > 0 && m_pd.nToPage >= m_pd.nFromPage) dlg.setFromTo(m_pd.nFromPage, m_pd.nToPage);
    if (dlg.exec() != QDialog::Accepted) return IDCANCEL;

    m_pd.Flags &= ~(PD_SELECTION | PD_PAGENUMS | PD_CURRENTPAGE | PD_COLLATE);
    switch (dlg.printRange())
    {
    case QAbstractPrintDialog::Selection: m_pd.Flags |= PD_SELECTION; break;
    case QAbstractPrintDialog::PageRange:
        m_pd.Flags |= PD_PAGENUMS;
        m_pd.nFromPage = static_cast<WORD>(dlg.fromPage());
        m_pd.nToPage = static_cast<WORD>(dlg.toPage());
        break;
    case QAbstractPrintDialog::CurrentPage: m_pd.Flags |= PD_CURRENTPAGE; break;
    default: break;
    }
    if (printer->collateCopies()) m_pd.Flags |= PD_COLLATE;
    const int copies = std::max(1, printer->copyCount());
    RememberPrinterSettings(*printer);
    if (!(m_pd.Flags & PD_USEDEVMODECOPIES))
    {
        // The program prints the copies itself.
        m_pd.nCopies = static_cast<WORD>(copies);
        CurrentPrinterSettings().copies = 1;
    }
    return finish();
}

BOOL CPrintDialog::GetDefaults()
{
    auto printer = MakeJobPrinter();
    if (!printer) return FALSE;
    if (m_pd.Flags & PD_RETURNDC) m_pd.hDC = CreatePrinterDCOn(printer.release(), true);
    return TRUE;
}

HDC CPrintDialog::CreatePrinterDC()
{
    auto printer = MakeJobPrinter();
    m_pd.hDC = printer ? CreatePrinterDCOn(printer.release(), true) : nullptr;
    return m_pd.hDC;
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES) return std::max(1, CurrentPrinterSettings().copies);
    return m_pd.nCopies;
}

CString CPrintDialog::GetDeviceName() const
{
    if (!GetPrintToFile().IsEmpty() || !CurrentPrinterSettings().fileName.isEmpty()) return CString(L"PDF");
    return FromQString(CurrentPrinterSettings().printerName);
}

// ---- CPrintInfo ---------------------------------------------------------------------------------

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)),
      m_strPageDesc(L"Page %u\nPages %u-%u\n")
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);
    m_pPD->m_pd.nFromPage = static_cast<WORD>(GetMinPage());
    m_pPD->m_pd.nToPage = static_cast<WORD>(GetMaxPage());
}

CPrintInfo::~CPrintInfo()
{
    if (m_pPD && m_pPD->m_pd.hDC)
    {
        ::DeleteDC(m_pPD->m_pd.hDC);
        m_pPD->m_pd.hDC = nullptr;
    }
    delete m_pPD;
}
