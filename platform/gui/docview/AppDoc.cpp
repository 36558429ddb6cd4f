// The application's document side: templates, File New / Open, the recent-file list, the
// profile (an INI file named after the registry key in the user's configuration folder),
// the command line, and the message loop with idle processing.
#include "platform/gui/window/App.h"

#include "platform/core/FreeMemory.h"
#include "platform/core/MessageBox.h"
#include "platform/core/ModalWindowScope.h"
#include "platform/core/Paths.h"
#include "platform/gui/dialogs/FileDialogInternal.h"
#include "platform/gui/docview/DataRecovery.h"
#include "platform/gui/docview/Document.h"
#include "platform/gui/docview/View.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/print/Print.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QCoreApplication>
#include <QtCore/QFileInfo>
#include <QtCore/QStringList>
#include <QtGui/QGuiApplication>
#include <QtGui/QPixmapCache>
#include <QtWidgets/QFileDialog>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

using namespace qor::gui;

namespace {

FileDialogDriver g_fileDriver;

// ---- The INI file ---------------------------------------------------------------------------------

using Section = std::map<std::wstring, std::wstring>;
using IniData = std::map<std::wstring, Section>;

std::wstring Unescape(const std::wstring& v)
{
    std::wstring r;
    for (size_t i = 0; i < v.size(); ++i)
    {
        if (v[i] == L'\\' && i + 1 < v.size())
        {
            wchar_t n = v[++i];
            r += n == L'n' ? L'\n' : n == L'r' ? L'\r' : n;
        }
        else
        {
            r += v[i];
        }
    }
    return r;
}

std::wstring Escape(const std::wstring& v)
{
    std::wstring r;
    for (wchar_t c : v)
    {
        if (c == L'\\')
            r += L"\\\\";
        else if (c == L'\n')
            r += L"\\n";
        else if (c == L'\r')
            r += L"\\r";
        else
            r += c;
    }
    return r;
}

IniData ReadIni(const CString& path)
{
    IniData data;
    std::ifstream in(path.ToUtf8(), std::ios::binary);
    std::string line;
    std::wstring section;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::wstring w = static_cast<LPCTSTR>(CString::FromUtf8(line));
        if (w.empty() || w[0] == L';') continue;
        if (w[0] == L'[' && w.back() == L']')
        {
            section = w.substr(1, w.size() - 2);
            data[section];
            continue;
        }
        size_t eq = w.find(L'=');
        if (eq == std::wstring::npos) continue;
        data[section][w.substr(0, eq)] = Unescape(w.substr(eq + 1));
    }
    return data;
}

bool WriteIni(const CString& path, const IniData& data)
{
    qor::CreateFolders(qor::FolderOf(path));
    std::ostringstream out;
    for (const auto& [name, entries] : data)
    {
        out << '[' << CString(name.c_str()).ToUtf8() << "]\n";
        for (const auto& [k, v] : entries)
            out << CString(k.c_str()).ToUtf8() << '=' << CString(Escape(v).c_str()).ToUtf8() << '\n';
        out << '\n';
    }
    // Replaced only when written whole.
    std::string tmp = path.ToUtf8() + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        if (!f) return false;
        f << out.str();
        f.flush();
        if (!f) return false;
    }
    return std::rename(tmp.c_str(), path.ToUtf8().c_str()) == 0;
}

CString ConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return CString::FromUtf8(xdg);
    const char* home = std::getenv("HOME");
    return CString::FromUtf8(std::string(home ? home : ".") + "/.config");
}

} // namespace

FileDialogDriver qor::gui::SetFileDialogDriver(FileDialogDriver driver)
{
    FileDialogDriver old = std::move(g_fileDriver);
    g_fileDriver = std::move(driver);
    return old;
}

// ---- CCommandLineInfo, CRecentFileList ------------------------------------------------------------

void CCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL)
{
    if (bFlag || !pszParam) return;
    if (m_strFileName.IsEmpty())
    {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

CString CRecentFileList::operator[](int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_files[static_cast<size_t>(nIndex)] : CString();
}

void CRecentFileList::Add(LPCTSTR lpszPathName)
{
    if (!lpszPathName || !*lpszPathName) return;
    CString path(lpszPathName);
    for (size_t i = 0; i < m_files.size(); ++i)
        if (m_files[i] == path)
        {
            m_files.erase(m_files.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    m_files.insert(m_files.begin(), path);
    if (static_cast<int>(m_files.size()) > m_nSize) m_files.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount()) m_files.erase(m_files.begin() + nIndex);
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    CWinApp* app = AfxGetApp();
    if (!app) return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString key;
        key.Format(L"File%d", i + 1);
        CString v = app->GetProfileString(L"Recent File List", key, L"");
        if (!v.IsEmpty()) m_files.push_back(v);
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app) return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString key;
        key.Format(L"File%d", i + 1);
        app->WriteProfileString(L"Recent File List", key,
                                i < GetCount() ? (LPCTSTR)m_files[static_cast<size_t>(i)] : nullptr);
    }
}

// ---- CWinApp: message map, profile ----------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : L"";
    m_pszRegistryKey = m_strRegistryKey;
    m_strProfileName = m_pszAppName ? m_pszAppName : L"";
    m_pszProfileName = m_strProfileName;
}

CString CWinApp::GetProfileFilePath() const
{
    if (m_strRegistryKey.IsEmpty()) return CString();
    CString key = m_strRegistryKey;
    key.Replace(L"/", L"_");
    return ConfigFolder() + L"/" + key + L".ini";
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    CString v = GetProfileString(lpszSection, lpszEntry, nullptr);
    if (v.IsEmpty()) return static_cast<UINT>(nDefault);
    wchar_t* end = nullptr;
    long n = std::wcstol(v, &end, 10);
    return end && *end == 0 ? static_cast<UINT>(n) : static_cast<UINT>(nDefault);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    CString v;
    v.Format(L"%d", nValue);
    return WriteProfileString(lpszSection, lpszEntry, v);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    CString def = lpszDefault ? lpszDefault : L"";
    CString path = GetProfileFilePath();
    if (path.IsEmpty() || !lpszSection || !lpszEntry) return def;
    IniData data = ReadIni(path);
    auto s = data.find(lpszSection);
    if (s == data.end()) return def;
    auto e = s->second.find(lpszEntry);
    return e == s->second.end() ? def : CString(e->second.c_str());
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    CString path = GetProfileFilePath();
    if (path.IsEmpty() || !lpszSection) return FALSE;
    IniData data = ReadIni(path);
    if (!lpszEntry)
        data.erase(lpszSection);
    else if (!lpszValue)
        data[lpszSection].erase(lpszEntry);
    else
        data[lpszSection][lpszEntry] = lpszValue;
    return WriteIni(path, data) ? TRUE : FALSE;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0) return;
    m_pRecentFileList = new CRecentFileList(static_cast<int>(std::min(nMaxMRU, 16u)));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
    if (!m_pRecentFileList) return;
    if (m_pDataRecoveryHandler && m_pDataRecoveryHandler->IsRestoring()) return; // an autosave's own path
    m_pRecentFileList->Add(lpszPathName);
    m_pRecentFileList->WriteList();
}

int CWinAppEx::GetInt(LPCTSTR lpszEntry, int nDefault)
{
    return static_cast<int>(GetProfileInt(L"Workspace", lpszEntry, nDefault));
}
BOOL CWinAppEx::WriteInt(LPCTSTR lpszEntry, int nValue) { return WriteProfileInt(L"Workspace", lpszEntry, nValue); }
CString CWinAppEx::GetString(LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    return GetProfileString(L"Workspace", lpszEntry, lpszDefault);
}
BOOL CWinAppEx::WriteString(LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    return WriteProfileString(L"Workspace", lpszEntry, lpszValue);
}

// ---- Documents ------------------------------------------------------------------------------------

void CWinApp::ReleaseDocumentParts()
{
    for (CDocTemplate* t : m_templates) delete t;
    m_templates.clear();
    delete m_pDataRecoveryHandler;
    m_pDataRecoveryHandler = nullptr;
}

std::vector<UINT> CWinApp::GetDocTemplateMenus() const
{
    std::vector<UINT> menus;
    for (const CDocTemplate* t : m_templates) menus.push_back(t->m_nIDResource);
    return menus;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate) m_templates.push_back(pTemplate);
}

QorPosition__* CWinApp::GetFirstDocTemplatePosition() const { return m_templates.empty() ? nullptr : MakePosition(0); }

CDocTemplate* CWinApp::GetNextDocTemplate(QorPosition__*& pos) const { return NextAtPosition(m_templates, pos); }

int CWinApp::GetOpenDocumentCount() const
{
    int n = 0;
    for (CDocTemplate* t : m_templates)
    {
        POSITION p = t->GetFirstDocPosition();
        while (p)
            if (t->GetNextDoc(p)) ++n;
    }
    return n;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) { return OpenDocumentFile(lpszFileName, TRUE); }

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName, BOOL)
{
    if (!lpszFileName || !*lpszFileName) return nullptr;
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    for (CDocTemplate* t : m_templates)
    {
        CDocument* open = nullptr;
        CDocTemplate::Confidence c = t->MatchDocType(lpszFileName, open);
        if (c == CDocTemplate::yesAlreadyOpen && open)
        {
            POSITION pos = open->GetFirstViewPosition();
            if (CView* v = open->GetNextView(pos))
                if (auto* f = DYNAMIC_DOWNCAST(CMDIChildWnd, v->GetParentFrame())) f->MDIActivate();
            return open;
        }
        if (c > bestMatch)
        {
            bestMatch = c;
            best = t;
        }
    }
    return best ? best->OpenDocumentFile(lpszFileName, TRUE) : nullptr;
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* t : m_templates)
        if (!t->SaveAllModified()) return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* t : m_templates) t->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT, DWORD, BOOL bOpenFileDialog, CDocTemplate* pTemplate)
{
    qor::ModalWindowScope running;
    // A file to open is looked for first beside the case in front, as the platform's dialog starts there.
    QString caseFolder;
    if (CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, m_pMainWnd))
        if (CDocument* doc = frame->GetActiveDocument(); doc && !doc->GetPathName().IsEmpty())
            caseFolder = QFileInfo(ToQString(doc->GetPathName())).absolutePath();
    const QString start = FileDialogStart(ToQString(fileName), caseFolder);
    if (g_fileDriver)
    {
        CString path = FromQString(start);
        if (g_fileDriver(bOpenFileDialog, path) != IDOK) return FALSE;
        RememberFileDialogChoice(ToQString(path));
        fileName = path;
        return TRUE;
    }
    if (QGuiApplication::platformName() == QLatin1String("offscreen") ||
        QGuiApplication::platformName() == QLatin1String("minimal"))
        return FALSE;
    // The template's files; opening without one offers every template's files, then all files.
    QStringList filters;
    auto addFilter = [&filters](CDocTemplate* t) {
        CString name;
        if (t && t->GetDocString(name, CDocTemplate::filterName) && !name.IsEmpty() &&
            !filters.contains(ToQString(name)))
            filters << ToQString(name);
    };
    if (pTemplate)
        addFilter(pTemplate);
    else
        for (CDocTemplate* t : m_templates) addFilter(t);
    if (bOpenFileDialog) filters << QStringLiteral("All Files (*)");
    const QString filter = filters.join(QStringLiteral(";;"));
    CString ext;
    QWidget* parent = m_pMainWnd ? WidgetOf(m_pMainWnd) : nullptr;
    if (!pTemplate || !pTemplate->GetDocString(ext, CDocTemplate::filterExt)) ext.Empty();
    const QString chosen =
        RunToolkitFileDialog(parent, bOpenFileDialog != FALSE, QString(), start, filter, ToQString(ext), true);
    if (chosen.isEmpty()) return FALSE;
    fileName = FromQString(chosen);
    return TRUE;
}

void CWinApp::OnFileNew()
{
    if (m_templates.empty()) return;
    CDocTemplate* pick = m_templates.front();
    for (CDocTemplate* t : m_templates)
    {
        CString n;
        if (t->GetDocString(n, CDocTemplate::fileNewName) && !n.IsEmpty())
        {
            pick = t;
            break;
        }
    }
    pick->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CString path;
    if (!DoPromptFileName(path, 0, 0, TRUE, nullptr)) return;
    OpenDocumentFile(path);
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dlg(TRUE);
    dlg.DoModal();
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
    if (!QCoreApplication::instance()) return;
    QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i)
    {
        QString a = args[i];
        bool flag = a.startsWith(QLatin1Char('-')) || a.startsWith(QLatin1Char('/'));
        if (flag && a.startsWith(QLatin1Char('/')) && a.size() > 1 && QFileInfo::exists(a)) flag = false;
        CString p = FromQString(flag ? a.mid(1) : a);
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
    if (done)
        if (CDataRecoveryHandler* recovery = GetDataRecoveryHandler()) recovery->Initialize();
    return done;
}

CDataRecoveryHandler* CWinApp::GetDataRecoveryHandler()
{
    const DWORD wanted = AFX_RESTART_MANAGER_AUTOSAVE_AT_INTERVAL | AFX_RESTART_MANAGER_RESTORE_AUTOSAVED_FILES;
    if (!m_pDataRecoveryHandler && (m_dwRestartManagerSupportFlags & wanted))
        m_pDataRecoveryHandler = new CDataRecoveryHandler(this, m_dwRestartManagerSupportFlags);
    return m_pDataRecoveryHandler;
}

// ---- Running --------------------------------------------------------------------------------------

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount != 0) return FALSE;
    if (auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, m_pMainWnd); frame && frame->m_hWnd)
    {
        frame->OnUpdateCmdUI();
        if (auto* mdi = DYNAMIC_DOWNCAST(CMDIFrameWnd, frame))
            if (CMDIChildWnd* c = mdi->MDIGetActive()) c->OnUpdateCmdUI();
    }
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
    InitApplication();
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
    RunMessageLoop();
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    // A clean exit: nothing is left to restore.
    if (m_pDataRecoveryHandler) m_pDataRecoveryHandler->Shutdown();
    if (m_pRecentFileList) m_pRecentFileList->WriteList();
    return 0;
}
