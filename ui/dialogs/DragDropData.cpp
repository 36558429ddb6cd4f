// CDragDropData: the drag picture drawn on the highlight colour into an image list.
#include "ui/dialogs/DragDropData.h"

CDragDropData::CDragDropData() = default;

CDragDropData::~CDragDropData() = default;

CImageList* CDragDropData::CreateDragImage(CWnd* pWnd, RECT* rect)
{
    CClientDC dcWnd(pWnd);
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(&dcWnd)) return nullptr;
    CFont* pFont = CFont::FromHandle(reinterpret_cast<HFONT>(pWnd->SendMessage(WM_GETFONT)));
    CFont* pOldFont = pFont ? dcMem.SelectObject(pFont) : nullptr;

    const SIZE size = OnGetDragSize(dcMem);
    CRect rc(0, 0, std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1));
    *rect = rc;

    m_Bitmap.DeleteObject();
    m_Bitmap.CreateCompatibleBitmap(&dcWnd, rc.Width(), rc.Height());
    CBitmap* pOldBitmap = dcMem.SelectObject(&m_Bitmap);
    dcMem.FillSolidRect(&rc, ::GetSysColor(COLOR_HIGHLIGHT));
    dcMem.SetBkMode(TRANSPARENT);
    dcMem.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    OnDrawData(dcMem, rc);
    dcMem.SelectObject(pOldBitmap);
    if (pOldFont) dcMem.SelectObject(pOldFont);

    auto* pImageList = new CImageList;
    pImageList->Create(rc.Width(), rc.Height(), ILC_COLOR24 | ILC_MASK, 0, 1);
    pImageList->Add(&m_Bitmap, ::GetSysColor(COLOR_3DLIGHT));
    return pImageList;
}
