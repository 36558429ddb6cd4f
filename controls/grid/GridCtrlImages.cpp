// Cell images. The grid draws images from its image list when one is set; this build has
// no image lists, so no cell shows an image and text keeps its place.
#include "controls/grid/GridCtrl.h"

BOOL CGridCtrl::GetImageSize(int nImage, CSize& size) const
{
    size = CSize(0, 0);
    return FALSE;
}

void CGridCtrl::DrawImage(CDC* pDC, int nImage, CPoint point) const
{
}
