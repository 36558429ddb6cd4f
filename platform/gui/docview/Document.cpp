// Documents and document templates.
#include "platform/gui/docview/Document.h"

#include "platform/core/FileChecks.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Paths.h"
#include "platform/core/ReplacingFile.h"
#include "platform/core/Strings.h"
#include "platform/gui/docview/DataRecovery.h"
#include "platform/gui/docview/View.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/window/App.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

using namespace qor::gui;

namespace {

// A saved or closed document has nothing left to recover.
void ForgetAutosave(CDocument* doc)
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pDataRecoveryHandler)
        app->m_pDataRecoveryHandler->RemoveDocumentInfo(doc);
}

CString FileTitle(const CString& path)
{
    int slash = path.ReverseFind(L'/');
    return slash < 0 ? path : path.Mid(slash + 1);
}
} // namespace

// ---- CDocument ------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* v : m_viewList) v->m_pDocument = nullptr;
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : L"";
    std::vector<CFrameWnd*> frames;
    for (CView* v : m_viewList)
        if (CFrameWnd* f = v->GetParentFrame(); f && std::find(frames.begin(), frames.end(), f) == frames.end())
            frames.push_back(f);
    for (CFrameWnd* f : frames) f->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = lpszPathName ? lpszPathName : L"";
    SetTitle(FileTitle(m_strPathName));
    if (bAddToMRU && !m_strPathName.IsEmpty())
        if (CWinApp* app = AfxGetApp()) app->AddToRecentFileList(m_strPathName);
}

POSITION CDocument::GetFirstViewPosition() const { return m_viewList.empty() ? nullptr : MakePosition(0); }

CView* CDocument::GetNextView(POSITION& rPosition) const { return NextAtPosition(m_viewList, rPosition); }

void CDocument::AddView(CView* pView)
{
    if (!pView || std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end()) return;
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end()) return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    // The last view gone closes an automatic document.
    if (m_viewList.empty() && m_bAutoDelete)
    {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    // Frames of the shown views, in the order of the views; a window not yet shown, or going, has no number.
    std::vector<CFrameWnd*> frames;
    for (CView* v : m_viewList)
        if (v->m_hWnd && v->IsWindowVisible())
            if (CFrameWnd* f = v->GetParentFrame(); f && std::find(frames.begin(), frames.end(), f) == frames.end())
                frames.push_back(f);
    for (size_t i = 0; i < frames.size(); ++i) frames[i]->m_nWindow = frames.size() == 1 ? 0 : static_cast<int>(i) + 1;
    for (CFrameWnd* f : frames) f->OnUpdateFrameTitle(TRUE);
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    std::vector<CView*> views = m_viewList;
    for (CView* v : views)
        if (v != pSender) v->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, BOOL bSaving, int nError, LPCTSTR lpszReason)
{
    // The reason (the system's: "Permission denied", "No space left on device"), with the file it
    // concerns.
    CString text = bSaving ? L"Failed to save document." : L"Failed to open document.";
    const CString reason = SaveLoadReason(nError, lpszReason);
    if (!reason.IsEmpty()) text += L"\n" + CString(lpszPathName ? lpszPathName : L"") + L": " + reason;
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

CString CDocument::SaveLoadReason(int nError, LPCTSTR lpszReason)
{
    if (lpszReason && *lpszReason) return lpszReason;
    return nError != 0 ? CString::FromUtf8(std::strerror(nError)) : CString();
}

namespace {

// A file this user may not replace: the system refuses its writing to this user, or its owner
// made it read-only.
bool IsReadOnlyFile(const CString& path) { return qor::NotARegularFile(path).IsEmpty() && qor::MayNotWrite(path); }

// What ended saves left in the folder of a file goes (never what a live run writes).
void RemoveLeftoversBeside(const CString& path)
{
    const CString folder = qor::FolderOf(path);
    qor::CReplacingFile::RemoveLeftoversIn(folder.IsEmpty() ? CString(L".") : folder);
}

// Asks before a save puts a new file in place of one that belongs to another user or has other
// names: true when there is nothing to ask or the user said Yes.
bool MayReplace(const CString& shownPath, const CString& target)
{
    const qor::SReplacedFile changes = qor::WhatAReplaceChanges(target);
    if (!changes.Any()) return true;
    CString prompt = shownPath;
    if (changes.bOtherOwner) prompt += L" belongs to another user.";
    if (changes.bOtherOwner && changes.bOtherLinks) prompt += L"\nIt";
    if (changes.bOtherLinks) prompt += L" has other names (hard links), which will keep the old file.";
    prompt += changes.bOtherOwner ? L"\nReplace it with a file of your own?" : L"\nReplace it with a new file?";
    return AfxMessageBox(prompt, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    // Only a regular file is read: a device would never end, a pipe would wait for a writer.
    CString refused;
    const int fd = qor::OpenRegularFile(lpszPathName ? lpszPathName : L"", refused);
    if (fd < 0)
    {
        const int error = errno;
        ReportSaveLoadException(qor::ShownPath(lpszPathName ? lpszPathName : L""), FALSE, error, refused);
        return FALSE;
    }
    // What ended saves left in the file's folder goes (never what a live run writes).
    RemoveLeftoversBeside(qor::FollowLinks(lpszPathName ? lpszPathName : L"").target);
    CFile file;
    file.m_hFile = fd;
    file.SetFilePath(lpszPathName);
    DeleteContents();
    SetModifiedFlag(TRUE);
    const qor::gui::SDocumentPass pass = qor::gui::SerializeDocument(this, &file, CArchive::load);
    file.Close();
    if (!pass.Ok())
    {
        DeleteContents();
        if (pass.bThrew) ReportSaveLoadException(lpszPathName, FALSE, 0);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    // Written to a temporary file beside the target, which replaces the target only when
    // everything was written: a failed save leaves the old file as it was. A symbolic link is
    // followed where the system would follow it for this user (never another user's link in a shared
    // folder): the file it names is replaced (keeping its permissions), and the link stays. A file
    // this user may not write is never replaced, nor anything that is not a regular file.
    // A name that is not UTF-8 is refused before its links are followed (as text it would name another file).
    if (qor::HasUndecodedBytes(lpszPathName ? lpszPathName : L""))
    {
        ReportSaveLoadException(qor::ShownPath(lpszPathName), TRUE, 0, qor::NotUtf8NameReason());
        return FALSE;
    }
    const qor::SFollowedLinks followed = qor::FollowLinks(lpszPathName ? lpszPathName : L"");
    if (followed.Refused())
    {
        ReportSaveLoadException(qor::ShownPath(followed.refusedLink), TRUE, 0, followed.Reason());
        return FALSE;
    }
    CString target = followed.target;
    if (const CString kind = qor::NotARegularFile(target); !kind.IsEmpty())
    {
        ReportSaveLoadException(lpszPathName, TRUE, 0, kind);
        return FALSE;
    }
    if (IsReadOnlyFile(target))
    {
        ReportSaveLoadException(lpszPathName, TRUE, EACCES, L"the file is read-only");
        return FALSE;
    }
    // The path is walked again as the file is made, and the file put in place in the folder that walk
    // opened: what the checks above allowed is where the case goes (see CReplacingFile), and what ended
    // saves left in that folder goes.
    qor::CReplacingFile replacing;
    if (!replacing.Open(lpszPathName))
    {
        const int error = errno;
        const CString about = replacing.ReasonPath().IsEmpty() ? CString(lpszPathName) : replacing.ReasonPath();
        ReportSaveLoadException(qor::ShownPath(about), TRUE, error, replacing.Reason());
        return FALSE;
    }

    CFile file;
    file.m_hFile = replacing.Descriptor();
    file.SetFilePath(lpszPathName);
    const qor::gui::SDocumentPass pass = qor::gui::SerializeDocument(this, &file, CArchive::store);
    const bool reported = pass.bFailed && !pass.bThrew; // the document reported its own failure
    file.m_hFile = CFile::hFileNull;                    // the replacing file closes it
    // The end waits for the disk (the file's sync, the rename, the folder's sync; or freeing what was
    // written): off the window thread, which goes on painting while input and posted messages wait, so
    // nothing changes the document meanwhile.
    errno = 0;
    if (!pass.Ok() || !qor::gui::CommitOffWindowThread(replacing))
    {
        const int error = errno;
        qor::gui::DiscardOffWindowThread(replacing);
        if (!reported) ReportSaveLoadException(lpszPathName, TRUE, error);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    ForgetAutosave(this);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE; // the views going do not close it again
    while (!m_viewList.empty())
    {
        CView* v = m_viewList.front();
        CFrameWnd* f = v->GetParentFrame();
        if (f)
        {
            PreCloseFrame(f);
            f->DestroyWindow();
        }
        else
        {
            v->DestroyWindow();
        }
        if (!m_viewList.empty() && m_viewList.front() == v) RemoveView(v);
    }
    m_bAutoDelete = autoDelete;
    ForgetAutosave(this);
    DeleteContents();
    // What the document and its windows held goes back to the system once the loop has nothing to do.
    if (CWinApp* app = AfxGetApp()) app->ReturnFreeMemoryWhenIdle();
    if (m_bAutoDelete) delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame)
{
    // Another frame of this document keeps it open without asking.
    for (CView* v : m_viewList)
        if (CFrameWnd* f = v->GetParentFrame(); f && f != pFrame) return TRUE;
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified()) return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : FileTitle(m_strPathName);
    if (name.IsEmpty()) name = L"Untitled";
    CString prompt;
    prompt.Format(L"Save changes to %s?", (LPCTSTR)name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION))
    {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;
    }
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName ? lpszPathName : L"";
    if (newName.IsEmpty())
    {
        CWinApp* app = AfxGetApp();
        newName = m_strPathName;
        if (newName.IsEmpty()) newName = m_strTitle;
        // A read-only file, or another user's link in a shared folder, is refused in the dialog, which
        // comes again for another name, as it does when the user would not replace a file of another
        // user's or with other names.
        for (;;)
        {
            if (!app || !app->DoPromptFileName(newName, 0, 0, FALSE, m_pDocTemplate)) return FALSE;
            const qor::SFollowedLinks followed = qor::FollowLinks(newName);
            if (!followed.Refused() && !IsReadOnlyFile(followed.target))
            {
                if (MayReplace(newName, followed.target)) break;
                continue;
            }
            CString refused;
            if (followed.Refused())
                refused = followed.Refusal() + L".\nTry again with a different file name.";
            else
                refused.Format(L"%s is read-only.\nTry again with a different file name.", (LPCTSTR)newName);
            AfxMessageBox(refused, MB_OK | MB_ICONEXCLAMATION);
        }
    }
    else if (const qor::SFollowedLinks followed = qor::FollowLinks(newName);
             !followed.Refused() && !MayReplace(newName, followed.target))
    {
        // No: the document is saved under another name. (A refused link asks nothing: the save says why.)
        return DoSave(nullptr, bReplace);
    }
    if (!OnSaveDocument(newName)) return FALSE;
    if (bReplace) SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    // A file without a name, or one this user may not write, is saved under a name asked for (another
    // user's link in a shared folder is refused by the save, which says so).
    const qor::SFollowedLinks followed = qor::FollowLinks(m_strPathName);
    if (m_strPathName.IsEmpty() || (!followed.Refused() && IsReadOnlyFile(followed.target))) return DoSave(nullptr);
    return DoSave(m_strPathName);
}

void CDocument::OnFileSave() { DoFileSave(); }
void CDocument::OnFileSaveAs() { DoSave(nullptr); }
void CDocument::OnFileClose()
{
    if (!SaveModified()) return;
    OnCloseDocument();
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- CDocTemplate ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    if (const wchar_t* text = qor::FindString(nIDResource)) m_strDocStrings = text;
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    int part = 0, start = 0;
    const CString& s = m_strDocStrings;
    for (int i = 0; i <= s.GetLength(); ++i)
    {
        if (i == s.GetLength() || s[i] == L'\n')
        {
            if (part == static_cast<int>(index))
            {
                rString = s.Mid(start, i - start);
                return TRUE;
            }
            ++part;
            start = i + 1;
        }
    }
    return FALSE;
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    if (pDoc) pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc && pDoc->m_pDocTemplate == this) pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* obj = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    auto* doc = DYNAMIC_DOWNCAST(CDocument, obj);
    if (!doc)
    {
        delete obj;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* obj = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, obj);
    if (!frame)
    {
        delete obj;
        return nullptr;
    }
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
    {
        // A frame whose window was never made is ours to delete; one that was made and
        // destroyed deleted itself.
        if (IsLiveFrame(frame)) delete frame;
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    if (pFrame) pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    POSITION pos = GetFirstDocPosition();
    while (pos)
    {
        CDocument* d = GetNextDoc(pos);
        if (d && lpszPathName && d->GetPathName() == lpszPathName)
        {
            rpDocMatch = d;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    if (GetDocString(ext, filterExt) && !ext.IsEmpty() && lpszPathName)
    {
        CString path(lpszPathName);
        if (path.GetLength() >= ext.GetLength() && path.Right(ext.GetLength()).CompareNoCase(ext) == 0)
            return yesAttemptNative;
    }
    return yesAttemptForeign;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    while (POSITION pos = GetFirstDocPosition())
    {
        CDocument* d = GetNextDoc(pos);
        if (!d) break;
        d->OnCloseDocument();
        // A document that stays (not auto-deleting) leaves the list.
        if (GetFirstDocPosition() && GetNextDoc(pos = GetFirstDocPosition()) == d)
        {
            RemoveDocument(d);
            delete d;
        }
    }
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos)
        if (CDocument* d = GetNextDoc(pos); d && !d->SaveModified()) return FALSE;
    return TRUE;
}

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{}

CMultiDocTemplate::~CMultiDocTemplate()
{
    for (CDocument* d : m_docList) d->m_pDocTemplate = nullptr;
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return m_docList.empty() ? nullptr : MakePosition(0); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const { return NextAtPosition(m_docList, rPos); }

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    if (pDoc && std::find(m_docList.begin(), m_docList.end(), pDoc) == m_docList.end()) m_docList.push_back(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    m_docList.erase(std::remove(m_docList.begin(), m_docList.end(), pDoc), m_docList.end());
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString name;
    if (!GetDocString(name, docName) || name.IsEmpty()) name = L"Untitled";
    CString title;
    title.Format(L"%s%u", (LPCTSTR)name, m_nUntitledCount + 1);
    pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* doc = CreateNewDocument();
    if (!doc) return nullptr;
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE; // a failed frame must not take the document with it yet
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame)
    {
        delete doc;
        return nullptr;
    }
    if (!lpszPathName)
    {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument())
        {
            frame->DestroyWindow(); // its view goes, and the document with it
            return nullptr;
        }
        ++m_nUntitledCount;
    }
    else
    {
        if (!doc->OnOpenDocument(lpszPathName))
        {
            frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}

qor::gui::SDocumentPass qor::gui::SerializeDocument(CDocument* pDocument, CFile* pFile, UINT nMode)
{
    CArchive ar(pFile, nMode);
    ar.m_pDocument = pDocument;
    SDocumentPass pass;
    try
    {
        pDocument->Serialize(ar);
    }
    catch (...)
    {
        pass.bThrew = true;
    }
    ar.Close();
    pass.bFailed = ar.m_bFailed != FALSE;
    return pass;
}
