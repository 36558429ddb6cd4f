// The document manager: the application's templates and documents, File New and Open, the file
// dialogs and the autosaves. It installs itself as the application's document half when the program
// starts.
#include "platform/gui/docview/DocManager.h"

#include "platform/core/ModalWindowScope.h"
#include "platform/gui/dialogs/FileDialogInternal.h"
#include "platform/gui/docview/DataRecovery.h"
#include "platform/gui/docview/Document.h"
#include "platform/gui/docview/View.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/print/Print.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QFileInfo>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QFileDialog>

using namespace qor::gui;

namespace {
IAppDocuments* MakeDocManager(CWinApp* pApp) { return new CDocManager(pApp); }
const bool g_installedAtStart = (SetAppDocumentsFactory(&MakeDocManager), true);
} // namespace

CDocManager::~CDocManager()
{
    for (CDocTemplate* t : m_templates) delete t;
    m_templates.clear();
    delete m_pApp->m_pDataRecoveryHandler;
    m_pApp->m_pDataRecoveryHandler = nullptr;
}

std::vector<UINT> CDocManager::GetDocTemplateMenus() const
{
    std::vector<UINT> menus;
    for (const CDocTemplate* t : m_templates) menus.push_back(t->m_nIDResource);
    return menus;
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate) m_templates.push_back(pTemplate);
}

QorPosition__* CDocManager::GetFirstDocTemplatePosition() const
{
    return m_templates.empty() ? nullptr : MakePosition(0);
}

CDocTemplate* CDocManager::GetNextDocTemplate(QorPosition__*& pos) const { return NextAtPosition(m_templates, pos); }

int CDocManager::GetOpenDocumentCount() const
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

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName, BOOL)
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

BOOL CDocManager::SaveAllModified()
{
    for (CDocTemplate* t : m_templates)
        if (!t->SaveAllModified()) return FALSE;
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* t : m_templates) t->CloseAllDocuments(bEndSession);
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT, DWORD, BOOL bOpenFileDialog, CDocTemplate* pTemplate)
{
    qor::ModalWindowScope running;
    // A file to open is looked for first beside the case in front, as the platform's dialog starts there.
    QString caseFolder;
    if (CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, m_pApp->m_pMainWnd))
        if (CDocument* doc = frame->GetActiveDocument(); doc && !doc->GetPathName().IsEmpty())
            caseFolder = QFileInfo(ToQString(doc->GetPathName())).absolutePath();
    const QString start = FileDialogStart(ToQString(fileName), caseFolder);
    if (const FileDialogDriver& driver = GetFileDialogDriver())
    {
        CString path = FromQString(start);
        if (driver(bOpenFileDialog, path) != IDOK || RefuseNameNotUtf8(ToQString(path))) return FALSE;
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
    QWidget* parent = m_pApp->m_pMainWnd ? WidgetOf(m_pApp->m_pMainWnd) : nullptr;
    if (!pTemplate || !pTemplate->GetDocString(ext, CDocTemplate::filterExt)) ext.Empty();
    const QString chosen =
        RunToolkitFileDialog(parent, bOpenFileDialog != FALSE, QString(), start, filter, ToQString(ext), true);
    if (chosen.isEmpty() || RefuseNameNotUtf8(chosen)) return FALSE;
    fileName = FromQString(chosen);
    return TRUE;
}

void CDocManager::OnFileNew()
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

void CDocManager::OnFilePrintSetup()
{
    CPrintDialog dlg(TRUE);
    dlg.DoModal();
}

CDataRecoveryHandler* CDocManager::MakeDataRecoveryHandler(DWORD dwRestartManagerSupportFlags)
{
    return new CDataRecoveryHandler(m_pApp, dwRestartManagerSupportFlags);
}

BOOL CDocManager::IsRestoringAutosave() const
{
    return m_pApp->m_pDataRecoveryHandler && m_pApp->m_pDataRecoveryHandler->IsRestoring();
}

void CDocManager::StartDataRecovery()
{
    if (m_pApp->m_pDataRecoveryHandler) m_pApp->m_pDataRecoveryHandler->Initialize();
}

void CDocManager::EndDataRecovery()
{
    if (m_pApp->m_pDataRecoveryHandler) m_pApp->m_pDataRecoveryHandler->Shutdown();
}
