// Documents and document templates: CDocument (file I/O through CArchive over a descriptor,
// the modified flag, its views), CDocTemplate / CMultiDocTemplate (make documents, their
// MDI child frames and views).
#pragma once

#include "platform/core/CString.h"
#include "platform/gui/docview/Archive.h"
#include "platform/gui/frame/CreateContext.h"
#include "platform/gui/window/AfxRes.h"
#include "platform/gui/window/CmdTarget.h"
#include "platform/gui/window/MessageMap.h"
#include "platform/gui/window/Object.h"

#include <functional>
#include <vector>

class CView;
class CFrameWnd;
class CDocTemplate;
class CWnd;

// An iteration position (index + 1, nullptr at the end).
struct QorPosition__;
using POSITION = QorPosition__*;

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    // ---- Title, path, modified flag ------------------------------------------------------
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // ---- Views -------------------------------------------------------------------------------
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);
    virtual void OnChangedViewList();
    // Numbers the frames that show the document (m_nWindow), none when one is left, and updates their titles.
    virtual void UpdateFrameCounts();

    // ---- Life cycle and files ---------------------------------------------------------------
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive& ar) {}
    // What the autosave writes, taken now (window thread): a function that writes the document as
    // its Serialize stores it into an open file, from a snapshot that it alone reads, on another
    // thread, and says whether it could. Empty (the default): the autosave runs Serialize here.
    virtual std::function<bool(int fd)> SnapshotForAutosave() { return {}; }
    // Asks "Save changes to %s?" (Yes, No, Cancel) when modified; Yes saves. FALSE: cancelled
    // or the save failed.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame) {}
    // Save (as): a path from the file dialog when there is none (or bReplace). A file this user may
    // not write is refused there; before a file of another user's or with other names (hard links)
    // is replaced, the user is asked (No: the dialog, for another name).
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    // Reports a failed open or save (unless the document's Serialize reported it).
    // The failure to save or open the file: its system error (0: none known) or a reason in words.
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, BOOL bSaving, int nError, LPCTSTR lpszReason = nullptr);
    // The reason in words: lpszReason when given, else the system's text of nError ("" for 0).
    static CString SaveLoadReason(int nError, LPCTSTR lpszReason);

    // Routes a command to the document's map, then its template.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete = TRUE;
    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();

    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_viewList;

    DECLARE_MESSAGE_MAP()
};

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    enum Confidence
    {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };

    ~CDocTemplate() override;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;

    // The document string ("\nName\nNew name\nFilter\n.ext\nTypeId\nTypeName"): the string
    // table's text of m_nIDResource, unless set here.
    void SetDocStrings(LPCTSTR lpszStrings) { m_strDocStrings = lpszStrings; }
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bAddToMRU, BOOL bMakeVisible)
    {
        return OpenDocumentFile(lpszPathName, bMakeVisible);
    }
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual BOOL SaveAllModified();

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
    CString m_strDocStrings;
};

class CMultiDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    using CDocTemplate::OpenDocumentFile;
    // nullptr path: a new document (OnNewDocument); else OnOpenDocument of the path. Makes the
    // frame and view, then InitialUpdateFrame. nullptr on failure (nothing left behind).
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

    UINT m_nUntitledCount = 0;

private:
    std::vector<CDocument*> m_docList;
};

namespace qor::gui {
// How a document's pass over its file went.
struct SDocumentPass
{
    bool bThrew = false;  // its Serialize threw (nothing reported yet)
    bool bFailed = false; // it marked the pass failed (and reported why itself)
    bool Ok() const { return !bThrew && !bFailed; }
};
// One pass of the document's Serialize over pFile (CArchive::load or CArchive::store).
SDocumentPass SerializeDocument(CDocument* pDocument, CFile* pFile, UINT nMode);

// Position helpers for POSITION-based iteration.
inline POSITION MakePosition(size_t index) { return reinterpret_cast<POSITION>(index + 1); }
inline size_t PositionIndex(POSITION pos) { return reinterpret_cast<size_t>(pos) - 1; }
// The item at rPos in a list, moving rPos on to the next one (nullptr after the last).
template <class T>
T* NextAtPosition(const std::vector<T*>& list, POSITION& rPos)
{
    if (!rPos) return nullptr;
    size_t i = PositionIndex(rPos);
    if (i >= list.size())
    {
        rPos = nullptr;
        return nullptr;
    }
    rPos = i + 1 < list.size() ? MakePosition(i + 1) : nullptr;
    return list[i];
}
} // namespace qor::gui
