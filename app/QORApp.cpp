// The application object: start-up in its fixed order, the settings file, the templates, one case at a time.
#include "app/QORApp.h"

#include "app/AboutDlg.h"
#include "app/AnalysisJobs.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QORDoc.h"
#include "engine/settings/Settings.h"
#include "platform/core/FileChecks.h"
#include "platform/core/ReplacingFile.h"
#include "platform/gui/window/Background.h"
#include "res/Resource.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"
#include "ui/views/QORView.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CQORApp, CWinAppEx)

BEGIN_MESSAGE_MAP(CQORApp, CWinAppEx)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

CQORApp::CQORApp() : CWinAppEx(TRUE)
{
    m_bHiColorIcons = TRUE;
    m_dwRestartManagerSupportFlags = 0x3F;
    SetAppID(L"QOR.AppID.NoVersion");
    m_pszAppName = L"Kestrain QOR";
}

CQORApp::~CQORApp()
{
    // The files of the start are written before the program's folders can go (the tests remove theirs).
    if (m_installed.valid()) m_installed.wait();
}

BOOL CQORApp::InitInstance()
{
    if (!CWinAppEx::InitInstance()) return FALSE;
    EnableTaskbarInteraction(TRUE);
    SetRegistryKey(L"Penrow University");
    m_nUses = static_cast<int>(GetProfileInt(m_pszUsesSection, m_pszUsesEntry, 0)) + 1;
    LoadStdProfileSettings(4);
    InitSettingsPath();
    InitContextMenuManager();
    InitShellManager();
    InitKeyboardManager();
    InitTooltipManager();

    m_pDocTemplate =
        new CMultiDocTemplate(IDR_QORTYPE, RUNTIME_CLASS(CQORDoc), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CQORView));
    AddDocTemplate(m_pDocTemplate);
    m_pPlotTemplate = new CMultiDocTemplate(IDR_PLOTVIEW, RUNTIME_CLASS(CQORDoc), RUNTIME_CLASS(CChildFrame),
                                            RUNTIME_CLASS(CPlotView));
    AddDocTemplate(m_pPlotTemplate);
    m_pGridTemplate = new CMultiDocTemplate(IDR_GRIDVIEW, RUNTIME_CLASS(CQORDoc), RUNTIME_CLASS(CChildFrame),
                                            RUNTIME_CLASS(CGridView));
    AddDocTemplate(m_pGridTemplate);

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
    {
        if (frame->m_hWnd)
            frame->DestroyWindow();
        else
            delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    qor::gui::DragAcceptFiles(frame, TRUE);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    EnableShellOpen();
    RegisterShellFileTypes(TRUE);
    InstallFiles();
    if (!ProcessShellCommand(cmdInfo)) return FALSE;

    frame->ShowWindow(SW_MAXIMIZE);
    frame->UpdateWindow();
    SetLandscapePrinter();
    return TRUE;
}

int CQORApp::ExitInstance()
{
    // A worker reads the settings until it ends (the main window is usually gone without one running).
    CAnalysisJobs::WaitForWorkers();
    // The start count goes with the rest of the profile, written once by the base class's end.
    HoldProfileWrites();
    CSettings::GetInstance()->Save(m_sSettingsPath);
    WriteProfileInt(m_pszUsesSection, m_pszUsesEntry, m_nUses);
    return CWinAppEx::ExitInstance();
}

void CQORApp::PreLoadState() {}

void CQORApp::LogDiagnostic(const CString& line)
{
    if (auto* frame = DYNAMIC_DOWNCAST(CMainFrame, m_pMainWnd); frame && frame->m_hWnd)
        frame->QueueStatus(line, 0);
    else
        CWinAppEx::LogDiagnostic(line);
}

void CQORApp::InitSettingsPath()
{
    CString name;
    name.LoadString(IDS_SETTINGS_FILE);
    CString folder = GetAppDataFolder();
    m_sSettingsPath.Empty();
    if (!folder.IsEmpty())
    {
        folder += L"QOR/";
        // The folder is made here so that the settings can be written at exit on a new profile.
        ::mkdir(folder.ToUtf8().c_str(), 0755);
        m_sSettingsPath = folder + name;
        // Unsaved cases are kept here while they are open, for the start after a crash.
        if (CDataRecoveryHandler* recovery = GetDataRecoveryHandler()) recovery->SetAutosavePath(folder + L"Recovery");
    }
    CSettings* settings = CSettings::GetInstance();
    // The file is read whenever it exists, so that a new profile never replaces the user's settings by the
    // defaults at exit. Without a data folder there is no file: a later start (one the profile counted)
    // tries to read it all the same and says that it cannot.
    struct stat st
    {};
    if (m_sSettingsPath.IsEmpty() ? m_nUses > 1 : ::stat(m_sSettingsPath.ToUtf8().c_str(), &st) == 0)
        settings->Load(m_sSettingsPath);
    else
        settings->SetDefaults();
}

namespace {

// Writes a file only when its content changes (the desktop watches these folders).
bool WriteIfChanged(const std::filesystem::path& path, const std::string& content)
{
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const CString file = CString::FromUtf8(path.string());
    return !qor::FileHolds(file, content) && qor::CReplacingFile::ReplaceWith(file, content);
}

// Runs a desktop tool on a folder to its end (a missing tool is no error). It runs on the start's worker, so
// the window does not wait for it, and the program's end waits for that worker: nothing of the start is
// still writing in the user's folders once the program has gone.
void RunToTheEnd(const char* tool, const std::string& folder)
{
    posix_spawn_file_actions_t quiet;
    if (::posix_spawn_file_actions_init(&quiet) != 0) return;
    ::posix_spawn_file_actions_addopen(&quiet, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string name = tool, argument = folder;
    char* argv[] = {name.data(), argument.data(), nullptr};
    pid_t child = -1;
    if (::posix_spawnp(&child, tool, &quiet, nullptr, argv, environ) == 0)
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR)
        {}
    ::posix_spawn_file_actions_destroy(&quiet);
}

// Reads a regular file of at most limit bytes whole; false for anything else (a longer file, a device).
bool ReadSmallFile(const CString& path, std::string& content, std::size_t limit = std::size_t{64} << 20)
{
    CString refused;
    return qor::ReadRegularFile(path, content, limit, refused) && content.size() <= limit;
}

// What the start puts in the user's data folder, taken on the window thread for a worker to write.
struct InstalledFiles
{
    std::filesystem::path data; // the user's data folder ("" without one)
    std::filesystem::path exe;  // the program
    CString manual;             // the program's copy of the manual ("" when the help path is another)
    std::vector<std::filesystem::path> manualCopies;
};

// The desktop entry and the file type of ".qor" files: they open in QOR from the desktop.
void RegisterFileType(const std::filesystem::path& data, const std::filesystem::path& exe)
{
    // Exec quoting of the desktop entry: the path in double quotes, with its own quotes, backslashes,
    // dollars and back quotes escaped.
    std::string quoted = "\"";
    for (char c : exe.string())
    {
        if (c == '\\')
            quoted += "\\\\\\\\";
        else if (c == '"' || c == '`' || c == '$')
            quoted += std::string("\\\\") + c;
        else
            quoted += c;
    }
    quoted += "\"";
    const std::string desktop = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Kestrain QOR\n"
                                "Comment=Rate road vehicles against the bridges of a road network\n"
                                "Exec=" +
                                quoted +
                                " %f\n"
                                "Terminal=false\n"
                                "MimeType=application/x-qor-case;\n"
                                "Categories=Science;Engineering;\n";
    const std::string mime = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                             "  <mime-type type=\"application/x-qor-case\">\n"
                             "    <comment>QOR Config</comment>\n"
                             "    <glob pattern=\"*.qor\"/>\n"
                             "  </mime-type>\n"
                             "</mime-info>\n";
    if (WriteIfChanged(data / "applications" / "qor.desktop", desktop))
        RunToTheEnd("update-desktop-database", (data / "applications").string());
    if (WriteIfChanged(data / "mime" / "packages" / "qor.xml", mime))
        RunToTheEnd("update-mime-database", (data / "mime").string());
}

// The program's copy of the user manual, made again when what is there is not the same (missing, cut short,
// another version).
void InstallManual(const CString& own, const std::vector<std::filesystem::path>& copies)
{
    std::string manual;
    bool found = false;
    for (const auto& copy : copies)
        if ((found = ReadSmallFile(CString::FromUtf8(copy.string()), manual))) break;
    if (!found) return;
    // A copy of other bytes (cut short by a full disk, or an earlier program's manual) is made again.
    if (qor::FileHolds(own, manual)) return;
    if (!qor::CReplacingFile::ReplaceWith(own, manual))
        std::fprintf(stderr, "Help: the manual could not be written to %s: %s\n", own.ToUtf8().c_str(),
                     std::strerror(errno));
}

} // namespace

void CQORApp::InstallFiles()
{
    InstalledFiles files;
    std::error_code ec;
    files.exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) files.exe.clear();
    const CString dataFolder = qor::GetAppDataFolder();
    if (!dataFolder.IsEmpty() && !files.exe.empty()) files.data = dataFolder.ToUtf8();
    // The program writes a manual only as its own copy in its own folder, and only when the help path
    // names that copy: a help path set elsewhere is the user's, read and never written (nor changed).
    const CString own = GetProgramManualPath();
    const CString wanted = CSettings::GetInstance()->General.HELPFILEPATH;
    if (!own.IsEmpty() && std::filesystem::path(wanted.ToUtf8()).lexically_normal() ==
                              std::filesystem::path(own.ToUtf8()).lexically_normal())
    {
        files.manual = own;
        // The copy beside the program, else the one the build made.
        if (!files.exe.empty()) files.manualCopies.push_back(files.exe.parent_path() / "QOR User Manual.pdf");
#ifdef QOR_BUILT_MANUAL
        files.manualCopies.emplace_back(QOR_BUILT_MANUAL);
#endif
    }
    if (files.data.empty() && files.manual.IsEmpty()) return;
    // Each file waits for the disk (seconds on a busy one): the window does not.
    auto done = std::make_shared<std::promise<void>>();
    m_installed = done->get_future().share();
    qor::gui::RunInBackground([files = std::move(files), done] {
        try
        {
            if (!files.manual.IsEmpty()) InstallManual(files.manual, files.manualCopies);
            if (!files.data.empty()) RegisterFileType(files.data, files.exe);
        }
        catch (const std::exception& e)
        {
            std::fprintf(stderr, "Start: the program's files could not be put in place: %s\n", e.what());
        }
        done->set_value();
    });
}

void CQORApp::WaitForInstalledFiles()
{
    if (!m_installed.valid() || m_installed.wait_for(std::chrono::seconds(0)) == std::future_status::ready) return;
    qor::gui::RunWorkOffWindowThreadWhereWindows([installed = m_installed] { installed.wait(); });
}

void CQORApp::SetLandscapePrinter() { qor::gui::SetDefaultLandscape(true); }

BOOL CQORApp::CloseOpenCase()
{
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pMainWnd);
    CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
    if (!child) return TRUE;
    auto* doc = DYNAMIC_DOWNCAST(CQORDoc, child->GetActiveDocument());
    if (!doc) return TRUE;
    if (!doc->SaveModified()) return FALSE;
    doc->OnCloseDocument();
    return TRUE;
}

void CQORApp::OnFileNew()
{
    if (!CloseOpenCase()) return;
    CWinApp::OnFileNew();
}

CDocument* CQORApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    BOOL failed = FALSE;
    return OpenCase(lpszFileName, failed);
}

CDocument* CQORApp::OpenCase(LPCTSTR lpszFileName, BOOL& bFileFailed)
{
    bFileFailed = FALSE;
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pMainWnd);
    CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
    auto* open = child ? DYNAMIC_DOWNCAST(CQORDoc, child->GetActiveDocument()) : nullptr;
    if (open && !open->SaveModified()) return nullptr;
    // The case's runs stop before the file is read (they would only slow the reading). The file is
    // read before the open case closes: a file that cannot be opened leaves that case open.
    if (open) open->StopRuns();
    if (!CQORDoc::CheckCaseFile(lpszFileName))
    {
        bFileFailed = TRUE;
        return nullptr;
    }
    if (open)
    {
        open->SetModifiedFlag(FALSE); // the user has just answered the save question
        open->OnCloseDocument();
    }
    CDocument* doc = CWinAppEx::OpenDocumentFile(lpszFileName);
    CQORDoc::ForgetCheckedCase(); // an open that failed before reading leaves nothing behind
    if (!doc) bFileFailed = TRUE;
    return doc;
}

void CQORApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList) return;
    const int i = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (i < 0 || i >= m_pRecentFileList->GetCount()) return;
    CString path = (*m_pRecentFileList)[i];
    BOOL failed = FALSE;
    // The user keeping the open case (Cancel) is no reason to forget the file.
    if (!OpenCase(path, failed) && failed)
    {
        m_pRecentFileList->Remove(i);
        m_pRecentFileList->WriteList();
    }
}

void CQORApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}
