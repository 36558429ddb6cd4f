// Printing over Qt printers: print dialogs, printer DCs and their print jobs.
#include "platform/gui/print/PrintInternal.h"

#include "platform/core/MessageBox.h"
#include "platform/core/ModalWindowScope.h"
#include "platform/core/ReplacingFile.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/Wnd.h"
#include "platform/gui/window/WndInternal.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>

#include <QPicture>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

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

// Whether the file holds a whole PDF: it ends with the end marker, after the offset of its
// cross-reference table, and that table stands at that offset (a part of the file lost on the way
// would have moved it).
bool IsWholePdf(int fd)
{
    struct stat st
    {};
    if (::fstat(fd, &st) != 0 || st.st_size < 32) return false;
    const off_t tailSize = std::min<off_t>(st.st_size, 1024);
    std::string tail(static_cast<std::size_t>(tailSize), '\0');
    if (::pread(fd, tail.data(), tail.size(), st.st_size - tailSize) != tailSize) return false;
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r' || tail.back() == ' ')) tail.pop_back();
    const std::string_view kEnd = "%%EOF", kStart = "startxref";
    if (tail.size() < kEnd.size() || tail.compare(tail.size() - kEnd.size(), kEnd.size(), kEnd) != 0) return false;
    const std::size_t start = tail.rfind(kStart);
    if (start == std::string::npos) return false;
    char* end = nullptr;
    const long long offset = std::strtoll(tail.c_str() + start + kStart.size(), &end, 10);
    if (end == tail.c_str() + start + kStart.size() || offset <= 0 || offset >= st.st_size) return false;
    // A table ("xref"), or a cross-reference stream ("<number> <generation> obj").
    char at[32] = {};
    const ssize_t n = ::pread(fd, at, sizeof at - 1, static_cast<off_t>(offset));
    if (n < 4) return false;
    if (std::string_view(at, 4) == "xref") return true;
    int number = 0, generation = 0, consumed = 0;
    return std::sscanf(at, "%d %d obj%n", &number, &generation, &consumed) == 2 && consumed > 0;
}

// Why the toolkit's writer did not write all of a file (it does not say): the file-size limit it
// reached, a full disk, or else a failure of the device.
int WhyNotWritten(int fd)
{
    struct stat st
    {};
    rlimit limit{};
    if (::fstat(fd, &st) == 0 && ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        static_cast<rlim_t>(st.st_size) >= limit.rlim_cur)
        return EFBIG;
    struct statvfs fs
    {};
    constexpr unsigned long long kNearlyFull = 1ull << 20;
    if (::fstatvfs(fd, &fs) == 0 && (static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize < kNearlyFull ||
                                     (fs.f_files > 0 && fs.f_favail == 0)))
        return ENOSPC;
    return EIO;
}

class PrintJob;

std::vector<PrintJob*>& Jobs()
{
    static auto* jobs = new std::vector<PrintJob*>;
    return *jobs;
}

// The toolkit's default resolution, by which a picture played on a device is scaled (as though it was
// recorded at that resolution) to the device's own.
QPointF ToolkitDefaultDpi()
{
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi)) return QPointF(96, 96);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return QPointF(qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY()));
    return QPointF(100, 100);
}

// A picture that answers with a printer's metrics: pages are recorded, and their text measured, on
// one as on the printer itself.
class PrinterPicture final : public QPicture
{
public:
    using Metrics = std::array<int, QPaintDevice::PdmDevicePixelRatioScaled + 1>;
    explicit PrinterPicture(const Metrics& metrics) : m_metrics(metrics) {}
    static Metrics MetricsOf(const QPrinter& printer)
    {
        Metrics m{};
        m[PdmWidth] = printer.width();
        m[PdmHeight] = printer.height();
        m[PdmWidthMM] = printer.widthMM();
        m[PdmHeightMM] = printer.heightMM();
        m[PdmNumColors] = printer.colorCount();
        m[PdmDepth] = printer.depth();
        m[PdmDpiX] = printer.logicalDpiX();
        m[PdmDpiY] = printer.logicalDpiY();
        m[PdmPhysicalDpiX] = printer.physicalDpiX();
        m[PdmPhysicalDpiY] = printer.physicalDpiY();
        m[PdmDevicePixelRatio] = 1;
        m[PdmDevicePixelRatioScaled] = static_cast<int>(devicePixelRatioFScale());
        return m;
    }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        const auto i = static_cast<std::size_t>(metric);
        return i > 0 && i < m_metrics.size() ? m_metrics[i] : QPicture::metric(metric);
    }

private:
    Metrics m_metrics;
};

// The print job behind a printer DC. Its pages are drawn on the window thread into recordings,
// which a writer thread of the job's own paints onto the printer: turning a page of many thousand
// lines into the printer's language (and compressing it) takes longer than the window may wait.
class PrintJob final : public PrintTarget
{
public:
    PrintJob(QPrinter* printer, bool ownsPrinter)
        : m_printer(printer), m_metrics(PrinterPicture::MetricsOf(*printer)), m_measure(m_metrics)
    {
        if (ownsPrinter) m_owned.reset(printer);
        Jobs().push_back(this);
    }

    ~PrintJob() override
    {
        m_hdc = nullptr; // the DC is gone or going: never touch it again
        if (m_recording)
            StopRecording();
        else if (m_inDoc)
            Abort(false);
        auto& jobs = Jobs();
        jobs.erase(std::remove(jobs.begin(), jobs.end(), this), jobs.end());
    }

    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    void SetDc(HDC hdc) { m_hdc = hdc; }
    HDC Dc() const { return m_hdc; }
    QPrinter* Printer() const { return m_printer; }
    // What the DC measures text on (never painted on).
    QPaintDevice* MetricsDevice() { return &m_measure; }

    int StartDoc(const CString& docName) override
    {
        if (m_inDoc) return SP_ERROR;
        m_printer->setDocName(ToQString(docName));
        m_finalPath.clear();
        const bool isPdf = IsPdf(*m_printer);
        if (isPdf)
        {
            // Written into a temporary file of its own beside the target (see CReplacingFile), which
            // takes the target's place only once it is whole: an aborted or failed job leaves no file
            // and does not spoil a file of that name written before. The toolkit opens the file by a
            // name that leads to that file alone.
            const QString target = m_printer->outputFileName();
            if (target.isEmpty()) return SP_ERROR;
            m_file = std::make_unique<qor::CReplacingFile>();
            if (!m_file->Open(FromQString(target)))
            {
                ReportFailure(target, errno, m_file->Reason());
                m_file.reset();
                return SP_ERROR;
            }
            m_finalPath = target;
            m_printer->setOutputFileName(ToQString(m_file->WritablePath()));
        }
        // A picture played on the printer is scaled from the toolkit's resolution to the printer's:
        // the pages, recorded in the printer's own pixels, are played at the inverse scale.
        const QPointF dpi = ToolkitDefaultDpi();
        const QPointF replayScale(dpi.x() / m_metrics[QPaintDevice::PdmDpiX],
                                  dpi.y() / m_metrics[QPaintDevice::PdmDpiY]);
        m_shared = std::make_shared<Shared>();
        m_writer = std::thread(&PrintJob::Write, m_printer, isPdf, replayScale, m_shared);
        bool begun = false;
        {
            std::unique_lock<std::mutex> lock(m_shared->mutex);
            m_shared->changed.wait(lock, [this] { return m_shared->begun; });
            begun = m_shared->ok;
        }
        if (!begun)
        {
            m_writer.join();
            if (m_file)
            {
                const int error = WhyNotWritten(m_file->Descriptor());
                m_file.reset(); // gone before the message waits for the user
                ReportFailure(m_finalPath, error);
            }
            RestoreFileName();
            return SP_ERROR;
        }
        m_inDoc = true;
        m_inPage = false;
        SetDcPainter(m_hdc, nullptr);
        static int s_jobId = 0;
        return ++s_jobId;
    }

    // Pages drawn from now on are kept for a preview, not printed: no writer, no file.
    bool StartRecording()
    {
        if (m_inDoc) return false;
        m_inDoc = m_recording = true;
        m_inPage = false;
        SetDcPainter(m_hdc, nullptr);
        return true;
    }

    QByteArray TakeRecorded() { return std::exchange(m_recorded, QByteArray()); }

    int StartPage() override
    {
        if (!m_inDoc || m_inPage || (!m_recording && Failed())) return SP_ERROR;
        m_page = std::make_unique<PrinterPicture>(m_metrics);
        if (!m_pagePainter.begin(m_page.get())) return SP_ERROR;
        m_inPage = true;
        SetDcPainter(m_hdc, &m_pagePainter);
        return 1;
    }

    int EndPage() override
    {
        if (!m_inDoc || !m_inPage) return SP_ERROR;
        m_inPage = false;
        SetDcPainter(m_hdc, nullptr);
        m_pagePainter.end();
        if (m_recording)
        {
            m_recorded = QByteArray(m_page->data(), static_cast<qsizetype>(m_page->size()));
            m_page.reset();
            return 1;
        }
        // A few pages wait for the writer at most, so that a long job's recordings do not pile up.
        WaitFor([this] { return m_shared->pages.size() < kPagesAhead || !m_shared->ok; });
        {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            m_shared->pages.push_back(std::move(m_page));
        }
        m_shared->changed.notify_all();
        return Failed() ? SP_ERROR : 1;
    }

    int EndDoc() override
    {
        if (!m_inDoc) return SP_ERROR;
        if (m_recording)
        {
            StopRecording();
            return 1;
        }
        if (m_inPage) EndPage();
        m_inDoc = false;
        SetDcPainter(m_hdc, nullptr);
        {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            m_shared->end = true;
        }
        m_shared->changed.notify_all();
        WaitFor([this] { return m_shared->finished; });
        m_writer.join();
        const bool ended = !Failed();
        if (!m_file) return ended ? 1 : SP_ERROR;
        RestoreFileName();
        // The toolkit's writer does not say when a write failed: the file is checked whole before it
        // goes in place, by one rename over the old one.
        std::unique_ptr<qor::CReplacingFile> file = std::move(m_file);
        int error = 0;
        if (!ended || !IsWholePdf(file->Descriptor()))
            error = WhyNotWritten(file->Descriptor());
        else if (!CommitOffWindowThread(*file)) // the disk's wait off the window thread
            error = errno;
        if (error == 0) return 1;
        DiscardOffWindowThread(*file); // gone before the message waits for the user
        ReportFailure(m_finalPath, error, file->Reason());
        return SP_ERROR;
    }

    int AbortDoc() override
    {
        if (!m_inDoc) return SP_ERROR;
        if (m_recording)
        {
            StopRecording();
            return 1;
        }
        Abort(true);
        return 1;
    }

private:
    // What the window thread and the writer share, under the mutex. The writer keeps it alive
    // while it runs.
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<std::unique_ptr<PrinterPicture>> pages; // recorded, not yet written
        bool begun = false, ok = true, end = false, abort = false, finished = false;
    };
    static constexpr std::size_t kPagesAhead = 4;

    // The writer: begins a painter on the printer, plays each page on it as it comes, and ends
    // the painter when the document ends (dropping the job when it is aborted).
    static void Write(QPrinter* printer, bool isPdf, QPointF replayScale, std::shared_ptr<Shared> shared)
    {
        QPainter painter;
        const bool begun = painter.begin(printer);
        {
            std::lock_guard<std::mutex> lock(shared->mutex);
            shared->begun = true;
            shared->ok = begun;
            shared->finished = !begun;
        }
        shared->changed.notify_all();
        if (!begun) return;
        int written = 0;
        for (;;)
        {
            std::unique_ptr<PrinterPicture> page;
            bool end = false, abort = false;
            {
                std::unique_lock<std::mutex> lock(shared->mutex);
                shared->changed.wait(lock, [&] { return !shared->pages.empty() || shared->end || shared->abort; });
                abort = shared->abort;
                if (!abort && !shared->pages.empty())
                {
                    page = std::move(shared->pages.front());
                    shared->pages.pop_front();
                }
                else
                    end = !abort;
            }
            shared->changed.notify_all();
            if (abort || end)
            {
                if (abort && !isPdf) printer->abort();
                const bool ended = painter.end();
                std::lock_guard<std::mutex> lock(shared->mutex);
                shared->ok = shared->ok && ended && !abort;
                shared->finished = true;
                shared->pages.clear();
                shared->changed.notify_all();
                return;
            }
            bool ok = written == 0 || printer->newPage();
            if (ok)
            {
                painter.save();
                painter.scale(replayScale.x(), replayScale.y());
                painter.drawPicture(0, 0, *page);
                painter.restore();
                ++written;
            }
            if (!ok)
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                shared->ok = false;
            }
        }
    }

    bool Failed() const
    {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        return !m_shared->ok;
    }

    // Waits until done() holds (read under the lock), the windows painting meanwhile when this is the
    // window thread.
    template <class Done>
    void WaitFor(Done done)
    {
        auto wait = [this, &done] {
            std::unique_lock<std::mutex> lock(m_shared->mutex);
            m_shared->changed.wait(lock, done);
        };
        {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            if (done()) return;
        }
        if (IsApplicationReady() && IsUserInterfaceThread())
            RunWorkOffWindowThread(wait, nullptr);
        else
            wait();
    }

    // Drops the job: the writer stops after the page it writes; no file is left. The windows paint
    // meanwhile when asked (not while the DC goes).
    void Abort(bool painting)
    {
        m_inDoc = m_inPage = false;
        if (m_hdc) SetDcPainter(m_hdc, nullptr);
        if (m_pagePainter.isActive()) m_pagePainter.end();
        m_page.reset();
        {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            m_shared->abort = true;
        }
        m_shared->changed.notify_all();
        if (painting) WaitFor([this] { return m_shared->finished; });
        m_writer.join();
        // Its temporary file goes: a cancelled job's may be large, and freeing its blocks takes a while.
        if (m_file && painting) DiscardOffWindowThread(*m_file);
        m_file.reset();
        RestoreFileName();
    }

    void StopRecording()
    {
        m_inDoc = m_inPage = m_recording = false;
        if (m_hdc) SetDcPainter(m_hdc, nullptr);
        if (m_pagePainter.isActive()) m_pagePainter.end();
        m_page.reset();
    }

    void RestoreFileName()
    {
        if (!m_finalPath.isEmpty()) m_printer->setOutputFileName(m_finalPath);
    }

    // The reason, when given, is the one the file's path gave (another user's link on the way, no file
    // at the name); else the system's error.
    static void ReportFailure(const QString& file, int error, const CString& reason = CString())
    {
        const CString text = L"Problem printing: " + FromQString(file) + L": " +
                             (reason.IsEmpty() ? CString::FromUtf8(std::strerror(error ? error : EIO)) : reason);
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }

    QPrinter* m_printer;
    std::unique_ptr<QPrinter> m_owned;
    PrinterPicture::Metrics m_metrics;
    PrinterPicture m_measure;
    std::unique_ptr<PrinterPicture> m_page; // the page being drawn
    QPainter m_pagePainter;
    std::shared_ptr<Shared> m_shared;
    std::thread m_writer;
    HDC m_hdc = nullptr;
    bool m_inDoc = false;
    bool m_inPage = false;
    bool m_recording = false;                    // pages kept for a preview (StartRecording)
    QByteArray m_recorded;                       // the last page recorded so
    QString m_finalPath;                         // the PDF file the job writes, else empty
    std::unique_ptr<qor::CReplacingFile> m_file; // what it writes into until it is whole
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
    HDC hdc = CreatePainterDC(job->MetricsDevice(), nullptr, true, PrinterDeviceInfo(*printer), job);
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

bool StartRecordingPages(HDC hdc)
{
    PrintJob* job = JobOf(hdc);
    return job && job->StartRecording();
}

QByteArray TakeRecordedPage(HDC hdc)
{
    PrintJob* job = JobOf(hdc);
    return job ? job->TakeRecorded() : QByteArray();
}

QPointF PictureDefaultDpi() { return ToolkitDefaultDpi(); }

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
        m_pd.nFromPage = static_cast<DWORD>(dlg.fromPage());
        m_pd.nToPage = static_cast<DWORD>(dlg.toPage());
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
    m_pPD->m_pd.nFromPage = GetMinPage();
    m_pPD->m_pd.nToPage = GetMaxPage();
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
