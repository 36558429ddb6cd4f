// Cell images: drawn from the grid's image list, measured by the image's rectangle in it.
#include "controls/grid/GridCtrl.h"

#include "platform/gui/widgets/ImageList.h"

BOOL CGridCtrl::GetImageSize(int nImage, CSize& size) const
{
    size = CSize(0, 0);
    if (!m_pImageList || nImage < 0) return FALSE;
    IMAGEINFO info;
    if (!m_pImageList->GetImageInfo(nImage, &info)) return FALSE;
    size = CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    return TRUE;
}

void CGridCtrl::DrawImage(CDC* pDC, int nImage, CPoint point) const
{
    if (m_pImageList && nImage >= 0) m_pImageList->Draw(pDC, nImage, point, ILD_NORMAL);
}
