// CDragDropMgr: the press, the drag threshold, moves over the parent's children, the drop or
// abort, and the drag picture.
#include "ui/dialogs/DragDropMgr.h"

#include "ui/dialogs/DragDropData.h"

#include <cstdlib>

const UINT WM_DD_DRAGENTER = ::RegisterWindowMessage(L"WM_DD_DRAGENTER");
const UINT WM_DD_DRAGOVER = ::RegisterWindowMessage(L"WM_DD_DRAGOVER");
const UINT WM_DD_DRAGDROP = ::RegisterWindowMessage(L"WM_DD_DRAGDROP");
const UINT WM_DD_DRAGABORT = ::RegisterWindowMessage(L"WM_DD_DRAGABORT");

namespace {

// How far the pointer must move from the press before a drag begins (read once).
int DragDistanceX()
{
    static const int cx = ::GetSystemMetrics(SM_CXDRAG);
    return cx;
}
int DragDistanceY()
{
    static const int cy = ::GetSystemMetrics(SM_CYDRAG);
    return cy;
}

WPARAM ControlId(HWND hWnd)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    return pWnd ? static_cast<WPARAM>(pWnd->GetDlgCtrlID()) : 0;
}

// The visible child of the parent under a point in the parent's client coordinates.
HWND ChildAt(CWnd* pParent, CPoint point)
{
    CPoint screen = point;
    pParent->ClientToScreen(&screen);
    for (CWnd* pChild = pParent->GetWindow(GW_CHILD); pChild != nullptr; pChild = pChild->GetNextWindow())
    {
        CRect rect;
        pChild->GetWindowRect(&rect);
        if (pChild->IsWindowVisible() && rect.PtInRect(screen)) return pChild->GetSafeHwnd();
    }
    return nullptr;
}

} // namespace

CDragDropMgr::CDragDropMgr()
    : m_hCursorDrop(::LoadCursor(nullptr, IDC_ARROW)), m_hCursorNo(::LoadCursor(nullptr, IDC_NO))
{}

CDragDropMgr::~CDragDropMgr()
{
    delete m_info.data;
    delete m_pDragImage;
}

BOOL CDragDropMgr::Install(CWnd* pMainWnd, const DRAGDROPWND* pWindows)
{
    m_pMainWnd = pMainWnd;
    for (const DRAGDROPWND* entry = pWindows; entry != nullptr && entry->type != 0; ++entry)
    {
        if (CWnd* pWnd = pMainWnd->GetDlgItem(static_cast<int>(entry->id)))
            m_mapHwnd[pWnd->GetSafeHwnd()] = entry->type;
    }
    return TRUE;
}

bool CDragDropMgr::IsSource(HWND hWnd) const
{
    const auto it = m_mapHwnd.find(hWnd);
    return it != m_mapHwnd.end() && (it->second & DDW_SOURCE) != 0;
}

bool CDragDropMgr::IsTarget(HWND hWnd) const
{
    const auto it = m_mapHwnd.find(hWnd);
    return it != m_mapHwnd.end() && (it->second & DDW_TARGET) != 0;
}

BOOL CDragDropMgr::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg == nullptr || !IsSource(pMsg->hwnd)) return FALSE;
    switch (pMsg->message)
    {
    case WM_LBUTTONDOWN: return OnLButtonDown(pMsg);
    case WM_MOUSEMOVE: return OnMouseMove(pMsg);
    case WM_LBUTTONUP: return OnLButtonUp(pMsg);
    case WM_KEYDOWN:
        if (pMsg->wParam == VK_ESCAPE && m_iState != NONE)
        {
            m_pMainWnd->SendMessage(WM_DD_DRAGABORT, ControlId(m_info.hwndSource ? m_info.hwndSource : m_hwndTracking),
                                    reinterpret_cast<LPARAM>(&m_info));
            EndDrag();
            delete m_info.data;
            m_info.data = nullptr;
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

BOOL CDragDropMgr::OnLButtonDown(MSG* pMsg)
{
    // The window sees its press first, so a list selects the entry under the pointer.
    ::SendMessage(pMsg->hwnd, pMsg->message, pMsg->wParam, pMsg->lParam);
    m_hwndTracking = pMsg->hwnd;
    m_ptOrg = CPoint(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
    if (m_iState != CAPTURED)
    {
        ::SetCapture(m_hwndTracking);
        m_iState = CAPTURED;
    }
    return TRUE;
}

BOOL CDragDropMgr::OnMouseMove(MSG* pMsg)
{
    if (m_iState == NONE) return FALSE;
    const CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
    if (m_iState == CAPTURED)
    {
        const int dx = std::abs(point.x - m_ptOrg.x);
        const int dy = std::abs(point.y - m_ptOrg.y);
        if (dx < DragDistanceX() && dy <= DragDistanceY()) return TRUE;
        m_info.hwndSource = m_hwndTracking;
        m_info.hwndTarget = nullptr;
        m_info.data = nullptr;
        m_info.pt = m_ptOrg;
        const LRESULT answer =
            m_pMainWnd->SendMessage(WM_DD_DRAGENTER, ControlId(m_hwndTracking), reinterpret_cast<LPARAM>(&m_info));
        if (answer == 0 || m_info.data == nullptr)
        {
            delete m_info.data;
            m_info.data = nullptr;
            EndDrag();
            return TRUE;
        }
        m_hCursorSave = ::GetCursor();
        m_iState = DRAGGING;
        DragTo(point);

        CWnd* pSource = CWnd::FromHandle(m_hwndTracking);
        CRect image;
        m_pDragImage = pSource ? m_info.data->CreateDragImage(pSource, &image) : nullptr;
        if (m_pDragImage)
        {
            // The picture hangs above and left of the pointer.
            m_pDragImage->BeginDrag(0, CPoint(image.Width(), image.Height()));
            CPoint screen = point;
            pSource->ClientToScreen(&screen);
            CImageList::DragEnter(nullptr, screen);
        }
        return TRUE;
    }
    DragTo(point);
    return TRUE;
}

void CDragDropMgr::DragTo(CPoint point)
{
    CWnd* pSource = CWnd::FromHandle(m_hwndTracking);
    if (pSource == nullptr) return;
    CPoint screen = point;
    pSource->ClientToScreen(&screen);
    if (m_pDragImage) CImageList::DragMove(screen);
    CPoint inParent = screen;
    m_pMainWnd->ScreenToClient(&inParent);
    m_info.pt = inParent;
    m_info.hwndTarget = ChildAt(m_pMainWnd, inParent);
    m_pMainWnd->SendMessage(WM_DD_DRAGOVER, 0, reinterpret_cast<LPARAM>(&m_info));
    ::SetCursor(IsTarget(m_info.hwndTarget) ? m_hCursorDrop : m_hCursorNo);
}

BOOL CDragDropMgr::OnLButtonUp(MSG* pMsg)
{
    if (m_iState == CAPTURED)
    {
        // No drag began: the window gets its release as a plain click.
        EndDrag();
        return FALSE;
    }
    if (m_iState != DRAGGING) return FALSE;
    const CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
    if (IsTarget(m_info.hwndTarget))
    {
        CPoint inTarget = point;
        CWnd* pSource = CWnd::FromHandle(m_hwndTracking);
        CWnd* pTarget = CWnd::FromHandle(m_info.hwndTarget);
        if (pSource && pTarget) pSource->MapWindowPoints(pTarget, &inTarget, 1);
        m_info.pt = inTarget;
        m_pMainWnd->SendMessage(WM_DD_DRAGDROP, ControlId(m_info.hwndTarget), reinterpret_cast<LPARAM>(&m_info));
    }
    else
        m_pMainWnd->SendMessage(WM_DD_DRAGABORT, ControlId(m_info.hwndSource), reinterpret_cast<LPARAM>(&m_info));
    delete m_info.data;
    m_info.data = nullptr;
    EndDrag();
    return TRUE;
}

void CDragDropMgr::EndDrag()
{
    if (::GetCapture() == m_hwndTracking) ::ReleaseCapture();
    if (m_hCursorSave) ::SetCursor(m_hCursorSave);
    m_hCursorSave = nullptr;
    if (m_pDragImage)
    {
        CImageList::DragLeave(nullptr);
        CImageList::EndDrag();
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    m_iState = NONE;
}
