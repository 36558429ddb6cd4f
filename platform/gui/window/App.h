// The application object and its message loop.
#pragma once

#include "platform/gui/draw/WinDefs.h"
#include "platform/gui/window/CmdTarget.h"
#include "platform/gui/window/MessageMap.h"

#include <functional>
#include <string>
#include <vector>

class CWnd;
namespace qor {
class CReplacingFile;
}

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;
    CWnd* m_pMainWnd = nullptr;
    CWnd* GetMainWnd() { return m_pMainWnd; }
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // Runs the message loop until PostQuitMessage; returns ExitInstance().
    virtual int Run();
    virtual BOOL OnIdle(LONG lCount) { return FALSE; }
    virtual BOOL PreTranslateMessage(MSG* pMsg) { return FALSE; }
};

class CDocTemplate;
class CDocument;
struct QorPosition__;

// What the command line asks for (ParseCommandLine).
class CCommandLineInfo
{
public:
    enum
    {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast);
};

// The most recently used files, newest first (kept in the profile section "Recent File List").
class CRecentFileList
{
public:
    explicit CRecentFileList(int nSize) : m_nSize(nSize) {}
    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    CString operator[](int nIndex) const;
    void Add(LPCTSTR lpszPathName);
    void Remove(int nIndex);
    void ReadList();
    void WriteList();

private:
    int m_nSize;
    std::vector<CString> m_files;
};

class CDataRecoveryHandler;
class CWinApp;

// The aspects of the restart manager the application asks for (m_dwRestartManagerSupportFlags).
inline constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;
inline constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_APPLICATION_RECOVERY = 0x02;
inline constexpr DWORD AFX_RESTART_MANAGER_AUTOSAVE_AT_RESTART = 0x04;
inline constexpr DWORD AFX_RESTART_MANAGER_AUTOSAVE_AT_INTERVAL = 0x08;
inline constexpr DWORD AFX_RESTART_MANAGER_REOPEN_PREVIOUS_FILES = 0x10;
inline constexpr DWORD AFX_RESTART_MANAGER_RESTORE_AUTOSAVED_FILES = 0x20;

// The application's document half, which it hands on as the framework's application hands its
// documents to a document manager: the templates, File New and Open, the file dialogs, the
// autosaves. The document floor gives it (docview/DocManager.h) through SetAppDocumentsFactory.
class IAppDocuments
{
public:
    virtual ~IAppDocuments() = default;
    virtual void AddDocTemplate(CDocTemplate* pTemplate) = 0;
    virtual QorPosition__* GetFirstDocTemplatePosition() const = 0;
    virtual CDocTemplate* GetNextDocTemplate(QorPosition__*& pos) const = 0;
    virtual std::vector<UINT> GetDocTemplateMenus() const = 0;
    virtual int GetOpenDocumentCount() const = 0;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName, BOOL bAddToMRU) = 0;
    virtual BOOL SaveAllModified() = 0;
    virtual void CloseAllDocuments(BOOL bEndSession) = 0;
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate) = 0;
    virtual void OnFileNew() = 0;
    virtual void OnFilePrintSetup() = 0;
    // The restart manager's autosaves: its handler (owned by the documents, kept in the
    // application's m_pDataRecoveryHandler), whether it is opening a kept case now, its start
    // once the start-up case is open and its end at a clean exit.
    virtual CDataRecoveryHandler* MakeDataRecoveryHandler(DWORD dwRestartManagerSupportFlags) = 0;
    virtual BOOL IsRestoringAutosave() const = 0;
    virtual void StartDataRecovery() = 0;
    virtual void EndDataRecovery() = 0;
};

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;
    CRecentFileList* m_pRecentFileList = nullptr;
    // Made by GetDataRecoveryHandler when the application asks for autosaves or their restore.
    CDataRecoveryHandler* m_pDataRecoveryHandler = nullptr;
    virtual CDataRecoveryHandler* GetDataRecoveryHandler();

    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;

    // ---- Running ---------------------------------------------------------------------------
    // The message loop with idle processing (update handlers of toolbars) until
    // PostQuitMessage; returns ExitInstance().
    int Run() override;
    // Idle work: lCount 0 sends WM_IDLEUPDATECMDUI to the main window (its frames run their update
    // handlers) and hands back the memory a closed document left (ReturnFreeMemoryWhenIdle). FALSE:
    // nothing more to do.
    BOOL OnIdle(LONG lCount) override;
    // The next idle pass empties the toolkit's picture cache and gives the system back the heap's free
    // pages (qor::ReturnFreeMemory): called when a document closes, its windows and data gone.
    void ReturnFreeMemoryWhenIdle() { m_bReturnFreeMemory = TRUE; }
    int ExitInstance() override;
    void SetAppID(LPCTSTR lpcszAppID) { m_strAppID = lpcszAppID; }
    // A line for the log the program keeps for its user, about work that went wrong without being asked
    // for (an autosave that could not be written). The application puts it where its log is; this
    // writes it to standard error. Called on the window thread.
    virtual void LogDiagnostic(const CString& line);

    // ---- Profile (an INI file named after the registry key, in the user's config folder) --
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // The profile file ("" before SetRegistryKey, and without a configuration folder: qor::GetConfigFolder).
    CString GetProfileFilePath() const;
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);

    // ---- Documents (handed to the document manager, m_pDocManager) ------------------------
    // The document manager, made when first asked for (null where the document floor is not linked).
    IAppDocuments* GetDocManager();
    void AddDocTemplate(CDocTemplate* pTemplate);
    QorPosition__* GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(QorPosition__*& pos) const;
    // The menu resources of the document templates, in the order they were added.
    std::vector<UINT> GetDocTemplateMenus() const;
    int GetOpenDocumentCount() const;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName, BOOL bAddToMRU);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // A file name from the open or save dialog (FALSE: cancelled).
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // Command handlers (ON_COMMAND in the application's map).
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnOpenRecentFile(UINT nID);

    // Framework set-up calls without effect here.
    void EnableShellOpen() {}
    void RegisterShellFileTypes(BOOL = FALSE) {}
    void EnableTaskbarInteraction(BOOL = TRUE) {}
    BOOL InitShellManager() { return TRUE; }

protected:
    // The templates and the recovery handler go with it, when the application goes.
    IAppDocuments* m_pDocManager = nullptr;
    CString m_strAppID;
    CString m_strRegistryKey;
    CString m_strProfileName;
    BOOL m_bIdleHooked = FALSE;
    BOOL m_bReturnFreeMemory = FALSE;

    DECLARE_MESSAGE_MAP()
};

class CWinAppEx : public CWinApp
{
    DECLARE_DYNAMIC(CWinAppEx)
public:
    explicit CWinAppEx(BOOL bResourceSmartUpdate = FALSE) : m_bResourceSmartUpdate(bResourceSmartUpdate) {}
    BOOL m_bResourceSmartUpdate;
    BOOL m_bHiColorIcons = FALSE;

    // Values in the profile section "Workspace".
    int GetInt(LPCTSTR lpszEntry, int nDefault = 0);
    BOOL WriteInt(LPCTSTR lpszEntry, int nValue);
    CString GetString(LPCTSTR lpszEntry, LPCTSTR lpszDefault = L"");
    BOOL WriteString(LPCTSTR lpszEntry, LPCTSTR lpszValue);

    virtual void PreLoadState() {}
    virtual void LoadCustomState() {}
    virtual void SaveCustomState() {}
    BOOL InitContextMenuManager() { return TRUE; }
    BOOL InitKeyboardManager() { return TRUE; }
    BOOL InitTooltipManager() { return TRUE; }
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
void PostQuitMessage(int nExitCode);

namespace qor::gui {

// Creates the toolkit's application object once (argc/argv may be null), applies the
// program's locale again afterwards and installs the posted-message sink. A write past the
// file-size limit fails (EFBIG) from here on instead of ending the program (SIGXFSZ ignored).
void InitApplication(int* argc = nullptr, char** argv = nullptr);
bool IsApplicationReady();
// The program's command line as the system gave it (bytes, not text: a file name need not be UTF-8),
// without the options the toolkit took; what CWinApp::ParseCommandLine reads. Tests set their own.
const std::vector<std::string>& CommandLineArguments();
void SetCommandLineArguments(std::vector<std::string> arguments);
// Work of the folders above the window core that InitApplication does once the toolkit's
// application exists (the message boxes install themselves so). Called from static
// initialisers; returns true.
bool AddApplicationInitializer(void (*initialize)());
// Whether the caller runs on the user-interface thread.
bool IsUserInterfaceThread();

// Delivers pending events and posted messages once (does not wait).
void ProcessPendingMessages();
// Runs a (nested) message loop until QuitMessageLoop with the same depth or PostQuitMessage.
int RunMessageLoop();

// Runs work on a worker thread while this, the user-interface thread, goes on painting its
// windows and running their timers, with tick() called here about every 50 ms (to move a
// progress bar). Meanwhile the user's input is not taken (a wait cursor shows) and the messages
// posted to windows are held back, to be delivered in order once the work has ended: nothing
// that input or a posted message would start can touch what the work reads or writes. Returns
// once the work has ended; what it threw is thrown here. Called while such work runs (from its tick,
// a timer or a paint), the work runs here, at once.
void RunWorkOffWindowThread(const std::function<void()>& work, const std::function<void()>& tick);
// The same where the application has its windows; before (or without) them the work runs here.
void RunWorkOffWindowThreadWhereWindows(const std::function<void()>& work);
// The end of a write through a qor::CReplacingFile, run as such work: it waits for the disk (a sync
// takes seconds on a busy one, and freeing the blocks of a large file that goes takes long too).
// CommitOffWindowThread returns what Commit returned, with errno set here as Commit left it.
bool CommitOffWindowThread(qor::CReplacingFile& file);
void DiscardOffWindowThread(qor::CReplacingFile& file);
// Runs step() here, on the user-interface thread, until it returns true; between two calls the
// windows paint and run their timers, while input waits and posted messages are held, as while
// work runs off the window thread. Each call is to take a slice of time (some tens of ms), so
// that long work on what only this thread may touch never holds the windows for long. Work run
// off the window thread from a step runs on a worker as above.
void RunStepsOnWindowThread(const std::function<bool()>& step);
// The same, except that the user's input goes on to the window modal to the application, if one shows (a
// dialog whose Cancel stops the steps); the other windows take none while it shows.
void RunStepsTakingModalInput(const std::function<bool()>& step);
// Whether such work or such steps run now (the window thread waits in a loop of theirs).
bool IsWorkOffWindowThreadRunning();

// Plays the user's part in the open and save file dialogs (tests): gets whether it is the
// open dialog and the proposed path, sets the chosen path, returns IDOK or IDCANCEL.
// Without a driver, headless, the dialogs answer IDCANCEL. Returns the previous driver.
using FileDialogDriver = std::function<int(BOOL bOpen, CString& path)>;
FileDialogDriver SetFileDialogDriver(FileDialogDriver driver);
const FileDialogDriver& GetFileDialogDriver();
// How the application makes its document manager: the document floor installs it when it starts.
void SetAppDocumentsFactory(IAppDocuments* (*make)(CWinApp* pApp));
void QuitMessageLoop(int nExitCode);

} // namespace qor::gui
