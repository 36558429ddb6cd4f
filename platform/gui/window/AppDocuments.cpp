// The application's document side as the window core sees it: what it hands to the document
// manager (templates, open and save, the autosaves), the commands of its message map, and the
// command line.
#include "platform/gui/window/App.h"

#include "platform/core/FileChecks.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/window/AfxRes.h"
#include "platform/gui/window/Wnd.h"

#include <string>
#include <string_view>
#include <vector>

using namespace qor::gui;

namespace {
FileDialogDriver g_fileDriver;
IAppDocuments* (*g_makeDocuments)(CWinApp*) = nullptr;
} // namespace

FileDialogDriver qor::gui::SetFileDialogDriver(FileDialogDriver driver)
{
    FileDialogDriver old = std::move(g_fileDriver);
    g_fileDriver = std::move(driver);
    return old;
}

const FileDialogDriver& qor::gui::GetFileDialogDriver() { return g_fileDriver; }

void qor::gui::SetAppDocumentsFactory(IAppDocuments* (*make)(CWinApp* pApp)) { g_makeDocuments = make; }

void CCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL)
{
    if (bFlag || !pszParam) return;
    if (m_strFileName.IsEmpty())
    {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

IAppDocuments* CWinApp::GetDocManager()
{
    if (!m_pDocManager && g_makeDocuments) m_pDocManager = g_makeDocuments(this);
    return m_pDocManager;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate && GetDocManager()) m_pDocManager->AddDocTemplate(pTemplate);
}

QorPosition__* CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(QorPosition__*& pos) const
{
    return m_pDocManager ? m_pDocManager->GetNextDocTemplate(pos) : nullptr;
}

std::vector<UINT> CWinApp::GetDocTemplateMenus() const
{
    return m_pDocManager ? m_pDocManager->GetDocTemplateMenus() : std::vector<UINT>();
}

int CWinApp::GetOpenDocumentCount() const { return m_pDocManager ? m_pDocManager->GetOpenDocumentCount() : 0; }

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) { return OpenDocumentFile(lpszFileName, TRUE); }

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName, BOOL bAddToMRU)
{
    if (!lpszFileName || !*lpszFileName || !m_pDocManager) return nullptr;
    return m_pDocManager->OpenDocumentFile(lpszFileName, bAddToMRU);
}

BOOL CWinApp::SaveAllModified() { return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE; }

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocManager) m_pDocManager->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    if (!GetDocManager()) return FALSE;
    return m_pDocManager->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
}

CDataRecoveryHandler* CWinApp::GetDataRecoveryHandler()
{
    const DWORD wanted = AFX_RESTART_MANAGER_AUTOSAVE_AT_INTERVAL | AFX_RESTART_MANAGER_RESTORE_AUTOSAVED_FILES;
    if (!m_pDataRecoveryHandler && (m_dwRestartManagerSupportFlags & wanted) && GetDocManager())
        m_pDataRecoveryHandler = m_pDocManager->MakeDataRecoveryHandler(m_dwRestartManagerSupportFlags);
    return m_pDataRecoveryHandler;
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager) m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    CString path;
    if (!DoPromptFileName(path, 0, 0, TRUE, nullptr)) return;
    OpenDocumentFile(path);
}

void CWinApp::OnFilePrintSetup()
{
    if (GetDocManager()) m_pDocManager->OnFilePrintSetup();
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->SendMessage(WM_CLOSE, 0, 0);
}

void CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList) return;
    int i = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    CString path = (*m_pRecentFileList)[i];
    if (path.IsEmpty()) return;
    if (!OpenDocumentFile(path))
    {
        m_pRecentFileList->Remove(i);
        m_pRecentFileList->WriteList();
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    // An argument that begins with '-' is an option ("./-x.qor" names that file); any other is a file
    // name, whatever it begins with. A name is taken as the system holds it: one that is not UTF-8 keeps
    // its bytes marked, and its open is refused rather than another file's made.
    const std::vector<std::string>& args = CommandLineArguments();
    for (size_t i = 1; i < args.size(); ++i)
    {
        const bool flag = !args[i].empty() && args[i][0] == '-';
        const CString p = qor::DecodeFileName(std::string_view(args[i]).substr(flag ? 1 : 0));
        rCmdInfo.ParseParam(p, flag ? TRUE : FALSE, i + 1 == args.size() ? TRUE : FALSE);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    BOOL done = TRUE;
    switch (rCmdInfo.m_nShellCommand)
    {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
        done = m_pMainWnd != nullptr;
        break;
    case CCommandLineInfo::FileOpen: done = OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr; break;
    default: break;
    }
    // What a run that ended without closing its cases left is offered once the start-up case is open.
    if (done && GetDataRecoveryHandler()) m_pDocManager->StartDataRecovery();
    return done;
}
