// The application object of QOR: start-up, the three document templates, the settings file, the start
// count, and one case at a time.
#pragma once

#include "platform/gui/Afx.h"

#include <future>

class CQORApp : public CWinAppEx
{
    DECLARE_DYNAMIC(CQORApp)
public:
    CQORApp();
    ~CQORApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    void PreLoadState() override;
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override;
    // The line goes to the main window's log (the Diagnostics pane); standard error without one.
    void LogDiagnostic(const CString& line) override;

    CMultiDocTemplate* m_pDocTemplate = nullptr;
    CMultiDocTemplate* m_pPlotTemplate = nullptr;
    CMultiDocTemplate* m_pGridTemplate = nullptr;
    CString m_sSettingsPath;
    int m_nUses = 0;
    const wchar_t* m_pszUsesSection = L"Uses";
    const wchar_t* m_pszUsesEntry = L"Number";
    // The look in force, as the id of its command (205 to 219).
    UINT m_nAppLook = 0;

    void InitSettingsPath();
    // Puts the program's files in the user's data folder, off the window thread: its copy of the user
    // manual, when the settings' help path names it and what is there is not the same (missing, cut
    // short, another version), and the desktop entry and file type that make ".qor" files open in QOR
    // from the desktop.
    void InstallFiles();
    // Waits, the windows painting, until those files are in place (PDF Help reads the manual only then).
    void WaitForInstalledFiles();
    void SetLandscapePrinter();
    // Closes the open case after the save question; FALSE when the user kept it (or its save failed).
    BOOL CloseOpenCase();
    // Opens a case file in place of the open case (after the save question); bFileFailed tells a file
    // that could not be opened from the user keeping the open case.
    CDocument* OpenCase(LPCTSTR lpszFileName, BOOL& bFileFailed);

    void OnFileNew();
    void OnAppAbout();
    void OnOpenRecentFile(UINT nID);

protected:
    // Set once the files InstallFiles writes are in place.
    std::shared_future<void> m_installed;

    DECLARE_MESSAGE_MAP()
};
