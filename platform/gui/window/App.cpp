// The application object, the message loop, and posted messages: PostMessage from any
// thread puts the message on the toolkit's event queue (never blocking); the user-interface
// thread delivers it in order, also inside nested (modal) loops.
#include "platform/gui/window/App.h"

#include "platform/core/FreeMemory.h"
#include "platform/core/Locale.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Messages.h"
#include "platform/core/ReplacingFile.h"
#include "platform/gui/window/AfxRes.h"
#include "platform/gui/window/InputClockInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>
#include <QtCore/QEventLoop>
#include <QtCore/QThread>
#include <QtCore/QThreadPool>
#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QInputEvent>
#include <QtGui/QPixmapCache>
#include <QtWidgets/QApplication>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace {

const QEvent::Type kPostedType = static_cast<QEvent::Type>(QEvent::User + 0x51);

// A message posted from any thread. The toolkit's queue hands it over under a lock of its own,
// which a thread checker cannot see into; the release and acquire on `posted` state the hand-over
// (of the message and of everything the poster wrote before it) in terms it can.
struct PostedMessage : QEvent
{
    PostedMessage(HWND h, UINT m, WPARAM w, LPARAM l) : QEvent(kPostedType), hWnd(h), msg(m), wParam(w), lParam(l)
    {
        posted.store(true, std::memory_order_release);
    }
    HWND hWnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    std::atomic<bool> posted{false};
};

// The loops of RunMessageLoop, innermost last.
std::vector<QEventLoop*> g_loops;

// While work runs off the window thread, posted messages wait here, in the order posted.
struct HeldMessage
{
    HWND hWnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
int g_nHolds = 0; // posted messages are held while above 0
std::vector<HeldMessage> g_held;

const QEvent::Type kDrainType = static_cast<QEvent::Type>(QEvent::User + 0x52);

void Deliver(const HeldMessage& m)
{
    if (m.msg == WM_QUIT)
    {
        // A quit that no loop waits for (a test pumping after the main window went) is dropped:
        // ending the toolkit's loops then would end every loop started later at once.
        if (!g_loops.empty()) qor::gui::QuitMessageLoop(static_cast<int>(m.wParam));
        return;
    }
    if (CWnd* w = CWnd::FromHandle(m.hWnd)) w->SendMessage(m.msg, m.wParam, m.lParam);
}

class Dispatcher : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == kDrainType)
        {
            // The held messages first, in order; a nested loop of one of them goes on with the next.
            while (g_nHolds == 0 && !g_held.empty())
            {
                const HeldMessage m = g_held.front();
                g_held.erase(g_held.begin());
                Deliver(m);
            }
            return true;
        }
        if (e->type() != kPostedType) return QObject::event(e);
        auto* pm = static_cast<PostedMessage*>(e);
        if (!pm->posted.load(std::memory_order_acquire)) return true;
        const HeldMessage m{pm->hWnd, pm->msg, pm->wParam, pm->lParam};
        // While messages are held, and until those held have gone, a new one queues behind them.
        if (g_nHolds > 0 || !g_held.empty())
        {
            g_held.push_back(m);
            if (g_nHolds == 0) QCoreApplication::postEvent(this, new QEvent(kDrainType));
            return true;
        }
        Deliver(m);
        return true;
    }
};

// Counts the events being delivered, so that a window destroyed from inside one (a menu command, a
// key, a button that closes its own window) hands its widgets to the loop instead of deleting them
// under the toolkit's feet.
thread_local int t_notifyDepth = 0;

class Application : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* e) override
    {
        struct Depth
        {
            Depth() { ++t_notifyDepth; }
            ~Depth() { --t_notifyDepth; }
        } depth;
        // The window system's own input sets the clock; events made by the program carry no stamp of it.
        if (e->isInputEvent() && e->spontaneous()) qor::gui::NoteInputStamp(static_cast<QInputEvent*>(e)->timestamp());
        // An exception must not cross the toolkit's event loop, which cannot unwind: what a
        // handler lets through is reported here, as the framework's window procedure does, and
        // the program goes on (the case's own commands put the case back before this).
        try
        {
            return QApplication::notify(receiver, e);
        }
        catch (const char* text)
        {
            ReportUncaught(text ? CString(text) : CString());
        }
        catch (const std::bad_alloc&)
        {
            ReportUncaught(CString(L"There is not enough memory for it."));
        }
        catch (const std::exception& error)
        {
            ReportUncaught(CString(error.what()));
        }
        return true;
    }

private:
    static void ReportUncaught(const CString& reason)
    {
        CString text(L"The command could not be carried out.");
        if (!reason.IsEmpty()) text += L"\n\n" + reason;
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
    }
};

Dispatcher* g_dispatcher = nullptr;
CWinApp* g_app = nullptr;
int g_argc = 1;
char g_arg0[] = "qor";
char* g_argv[] = {g_arg0, nullptr};
std::vector<std::string> g_arguments{"qor"};

} // namespace

namespace {
std::vector<void (*)()>& ApplicationInitializers()
{
    static std::vector<void (*)()> initializers;
    return initializers;
}
} // namespace

namespace qor::gui {

bool AddApplicationInitializer(void (*initialize)())
{
    ApplicationInitializers().push_back(initialize);
    return true;
}

void InitApplication(int* argc, char** argv)
{
    if (g_dispatcher) return;
    // A write past the file-size limit (ulimit -f) fails with EFBIG, a failure the save reports,
    // instead of ending the program with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!QCoreApplication::instance())
    {
        // The application object lives for the rest of the process.
        if (argc && argv)
        {
            new Application(*argc, argv);
            // What the toolkit left of the command line: its own options are gone.
            g_arguments.assign(argv, argv + *argc);
        }
        else
        {
            new Application(g_argc, g_argv);
        }
    }
    qor::ApplyProgramLocale();
    g_dispatcher = new Dispatcher;
    WatchFirstMaps();
    for (void (*initialize)() : ApplicationInitializers()) initialize();
    qor::SetPostSink([](HWND h, UINT msg, WPARAM w, LPARAM l) -> bool {
        if (!IsLiveHandle(h) || !g_dispatcher) return false;
        QCoreApplication::postEvent(g_dispatcher, new PostedMessage(h, msg, w, l));
        return true;
    });
}

bool IsApplicationReady() { return g_dispatcher != nullptr; }

const std::vector<std::string>& CommandLineArguments() { return g_arguments; }

void SetCommandLineArguments(std::vector<std::string> arguments) { g_arguments = std::move(arguments); }

bool IsDeliveringEvent() { return t_notifyDepth > 0; }

bool IsUserInterfaceThread()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

void ProcessPendingMessages()
{
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

int RunMessageLoop()
{
    qor::gui::InitApplication();
    QEventLoop loop;
    g_loops.push_back(&loop);
    int code = loop.exec();
    g_loops.pop_back();
    return code;
}

namespace {

// While work runs off the window thread or in steps on it: the wait cursor shows and posted
// messages are held; the last scope to end lets them go, in order.
class HoldScope
{
public:
    HoldScope()
    {
        if (g_nHolds++ == 0) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~HoldScope()
    {
        if (--g_nHolds > 0) return;
        QApplication::restoreOverrideCursor();
        if (!g_held.empty()) QCoreApplication::postEvent(g_dispatcher, new QEvent(kDrainType));
    }
    HoldScope(const HoldScope&) = delete;
    HoldScope& operator=(const HoldScope&) = delete;
};

bool g_bWorkOffWindowThread = false; // RunWorkOffWindowThread waits in its loop

} // namespace

void RunWorkOffWindowThread(const std::function<void()>& work, const std::function<void()>& tick)
{
    qor::gui::InitApplication();
    if (g_bWorkOffWindowThread || !IsUserInterfaceThread())
    {
        work();
        return;
    }
    HoldScope hold;
    struct Running
    {
        Running() { g_bWorkOffWindowThread = true; }
        ~Running() { g_bWorkOffWindowThread = false; }
    } running;
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    QEventLoop loop;
    // The worker's end wakes the loop through the toolkit's queue; the loop also looks at the
    // flag on each tick, so an end that came before the loop ran is not missed.
    // The worker is joined however this ends (std::jthread: a thread object that ends unjoined ends the
    // program).
    std::jthread worker([&] {
        try
        {
            work();
        }
        catch (...)
        {
            failure = std::current_exception();
        }
        done.store(true, std::memory_order_release);
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (tick) tick();
        if (done.load(std::memory_order_acquire)) loop.quit();
    });
    timer.start();
    if (tick) tick();
    while (!done.load(std::memory_order_acquire)) loop.exec(QEventLoop::ExcludeUserInputEvents);
    timer.stop();
    worker.join();
    // The queued quit may still be on its way to a loop that has ended: it then finds none.
    QCoreApplication::removePostedEvents(&loop, QEvent::MetaCall);
    if (failure) std::rethrow_exception(failure);
}

void RunWorkOffWindowThreadWhereWindows(const std::function<void()>& work)
{
    if (IsApplicationReady())
        RunWorkOffWindowThread(work, nullptr);
    else
        work(); // no windows to keep answering
}

bool CommitOffWindowThread(qor::CReplacingFile& file)
{
    bool committed = false;
    int error = 0;
    RunWorkOffWindowThreadWhereWindows([&] {
        committed = file.Commit();
        error = errno;
    });
    errno = error;
    return committed;
}

void DiscardOffWindowThread(qor::CReplacingFile& file)
{
    const int error = errno; // the reason of a failure, not of the clearing up
    RunWorkOffWindowThreadWhereWindows([&] { file.Discard(); });
    errno = error;
}

namespace {
// The steps, the events between two of them delivered without the user's input, or with the input that a
// window modal to the application takes while one shows.
void RunSteps(const std::function<bool()>& step, bool modalInput)
{
    qor::gui::InitApplication();
    if (!IsUserInterfaceThread())
    {
        while (!step())
        {}
        return;
    }
    HoldScope hold;
    while (!step())
        QCoreApplication::processEvents(modalInput && QApplication::activeModalWidget()
                                            ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
}
} // namespace

void RunStepsOnWindowThread(const std::function<bool()>& step) { RunSteps(step, false); }

void RunStepsTakingModalInput(const std::function<bool()>& step) { RunSteps(step, true); }

bool IsWorkOffWindowThreadRunning() { return g_nHolds > 0; }

void QuitMessageLoop(int nExitCode)
{
    if (!g_loops.empty())
        g_loops.back()->exit(nExitCode);
    else if (QCoreApplication::instance())
        QCoreApplication::exit(nExitCode);
}

} // namespace qor::gui

void PostQuitMessage(int nExitCode)
{
    qor::gui::InitApplication();
    QCoreApplication::postEvent(g_dispatcher, new PostedMessage(nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0));
}

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)
IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

int CWinThread::Run()
{
    qor::gui::RunMessageLoop();
    return ExitInstance();
}

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName)
{
    g_app = this;
    m_hInstance = AfxGetInstanceHandle();
}

CWinApp::~CWinApp()
{
    delete m_pDocManager; // the templates and the recovery handler with it
    m_pDocManager = nullptr;
    delete m_pRecentFileList;
    if (g_app == this) g_app = nullptr;
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR name) const { return ::LoadCursor(nullptr, name); }
HCURSOR CWinApp::LoadCursor(LPCTSTR name) const { return ::LoadCursor(nullptr, name); }
HCURSOR CWinApp::LoadCursor(UINT) const { return ::LoadCursor(nullptr, IDC_ARROW); }

CWinApp* AfxGetApp() { return g_app; }
CWinThread* AfxGetThread() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

// ---- Running --------------------------------------------------------------------------------------

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount != 0) return FALSE;
    // The frames run their update handlers (the main frame's and its active child's).
    if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    if (m_bReturnFreeMemory)
    {
        m_bReturnFreeMemory = FALSE;
        // The toolkit's style keeps pictures of the closed windows' buttons, headers and boxes under keys
        // no window asks for again (each dialog shown adds its own) until its cache holds 10 MB; the
        // windows still shown draw theirs again when they next paint.
        QPixmapCache::clear();
        qor::ReturnFreeMemory();
    }
    return FALSE;
}

int CWinApp::Run()
{
    qor::gui::InitApplication();
    if (!m_bIdleHooked && QAbstractEventDispatcher::instance())
    {
        m_bIdleHooked = TRUE;
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                         QCoreApplication::instance(), [] {
                             static bool busy = false;
                             CWinApp* app = AfxGetApp();
                             if (busy || !app) return;
                             busy = true;
                             LONG n = 0;
                             while (app->OnIdle(n++))
                             {}
                             busy = false;
                         });
    }
    qor::gui::RunMessageLoop();
    return ExitInstance();
}

void CWinApp::LogDiagnostic(const CString& line)
{
    std::fprintf(stderr, "%s: %s\n", m_pszAppName ? CString(m_pszAppName).ToUtf8().c_str() : "QOR",
                 line.ToUtf8().c_str());
}

int CWinApp::ExitInstance()
{
    // A clean exit: nothing is left to restore.
    if (m_pDocManager) m_pDocManager->EndDataRecovery();
    if (m_pRecentFileList) m_pRecentFileList->WriteList();
    // Work left on the global thread pool (a page that a closed print preview was rendering) ends here, while
    // the toolkit's libraries it runs in are still whole: the application object is never destroyed.
    QThreadPool::globalInstance()->waitForDone();
    return 0;
}
