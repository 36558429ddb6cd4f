// The application object and its message loop.
#pragma once

#include "platform/gui/CmdTarget.h"
#include "platform/gui/WinDefs.h"

class CWnd;

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

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    HINSTANCE m_hInstance = nullptr;

    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
void PostQuitMessage(int nExitCode);

namespace qor::gui {

// Creates the toolkit's application object once (argc/argv may be null), applies the
// program's locale again afterwards and installs the posted-message sink.
void InitApplication(int* argc = nullptr, char** argv = nullptr);
bool IsApplicationReady();
// Whether the caller runs on the user-interface thread.
bool IsUserInterfaceThread();

// Delivers pending events and posted messages once (does not wait).
void ProcessPendingMessages();
// Runs a (nested) message loop until QuitMessageLoop with the same depth or PostQuitMessage.
int RunMessageLoop();
void QuitMessageLoop(int nExitCode);

} // namespace qor::gui
