// CDragDropMgr: drag and drop with the mouse between child windows of one parent, told to
// the parent through four registered messages, with a picture of the data under the pointer.
#pragma once

#include "platform/gui/Afx.h"

#include <unordered_map>

class CDragDropData;

// The registered messages (wParam, lParam = DragDropInfo*):
//   WM_DD_DRAGENTER (source id): the parent answers non-zero and stores a payload in the
//                    record to start the drag; the point is the press point in the source;
//   WM_DD_DRAGOVER  (0): every move, the point in the parent, the target the child under it;
//   WM_DD_DRAGDROP  (target id): released over a drop target, the point in the target;
//   WM_DD_DRAGABORT (source id): released elsewhere, or Esc.
extern const UINT WM_DD_DRAGENTER;
extern const UINT WM_DD_DRAGOVER;
extern const UINT WM_DD_DRAGDROP;
extern const UINT WM_DD_DRAGABORT;

// The record passed with every message. The manager deletes the payload after a drop or an
// abort.
struct DragDropInfo
{
    HWND hwndSource = nullptr;
    HWND hwndTarget = nullptr;
    CDragDropData* data = nullptr;
    POINT pt{0, 0};
};

// One registered window: its control id and its flags; a table ends with flags 0.
struct DRAGDROPWND
{
    UINT id;
    UINT type;
};

// Usage: the parent installs the manager on its controls and gives it every message first.
//     static const DRAGDROPWND kWindows[] = {{IDC_A, DDW_SOURCE | DDW_TARGET}, {0, 0}};
//     m_DragDropMgr.Install(this, kWindows);
//     BOOL CMyDlg::PreTranslateMessage(MSG* pMsg)
//     { return m_DragDropMgr.PreTranslateMessage(pMsg) || CDialogEx::PreTranslateMessage(pMsg); }
class CDragDropMgr
{
public:
    enum : UINT
    {
        DDW_SOURCE = 0x1,
        DDW_TARGET = 0x2,
    };
    enum State : int
    {
        NONE = 0,
        CAPTURED = 1, // the button is down on a source, no drag yet
        DRAGGING = 2,
    };

    CDragDropMgr();
    virtual ~CDragDropMgr();
    CDragDropMgr(const CDragDropMgr&) = delete;
    CDragDropMgr& operator=(const CDragDropMgr&) = delete;

    BOOL Install(CWnd* pMainWnd, const DRAGDROPWND* pWindows);
    // TRUE when the message was the manager's and must go no further.
    BOOL PreTranslateMessage(MSG* pMsg);

    int GetState() const { return m_iState; }
    // The payload of the drag under way (null when none).
    CDragDropData* GetData() const { return m_info.data; }

protected:
    virtual BOOL OnLButtonDown(MSG* pMsg);
    virtual BOOL OnMouseMove(MSG* pMsg);
    virtual BOOL OnLButtonUp(MSG* pMsg);

    bool IsSource(HWND hWnd) const;
    bool IsTarget(HWND hWnd) const;
    void DragTo(CPoint point);
    // Capture, cursor and picture back as they were; idle.
    void EndDrag();

    CWnd* m_pMainWnd = nullptr;
    std::unordered_map<HWND, UINT> m_mapHwnd;
    HCURSOR m_hCursorDrop = nullptr;
    HCURSOR m_hCursorNo = nullptr;
    DragDropInfo m_info;
    int m_iState = NONE;
    HWND m_hwndTracking = nullptr;
    CPoint m_ptOrg;
    CImageList* m_pDragImage = nullptr;
    HCURSOR m_hCursorSave = nullptr;
};
