// A page header's title kept whole: wrapped, and shrunk a step at a time while it does not fit.
#include "platform/gui/print/PrintedTitle.h"

#include <algorithm>
#include <cstdlib>

namespace qor::gui {

void DrawPrintedTitle(CDC* pDC, const CString& title, const CRect& band, int reserve, CFont& font)
{
    if (pDC->GetTextExtent(title).cx <= band.Width() - 2 * reserve)
    {
        CRect line = band;
        pDC->DrawText(title, &line, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    // A title too long to clear the side texts (a whole run's description: the bridge, the
    // analysis, "Proposed: ...") starts at the left and stops before the right-hand text.
    const UINT format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    CRect titleBand = band;
    titleBand.right -= reserve;
    LOGFONT lf{};
    const bool scalable = font.GetSafeHandle() && font.GetLogFont(&lf);
    CFont smaller; // selected only while the title is drawn
    CRect need = titleBand;
    for (int step = 0;; ++step)
    {
        need = titleBand;
        pDC->DrawText(title, &need, format | DT_CALCRECT);
        if (need.Height() <= titleBand.Height() || !scalable || step == 4 || std::abs(lf.lfHeight) < 5) break;
        lf.lfHeight = lf.lfHeight * 5 / 6;
        pDC->SelectObject(&font);
        smaller.DeleteObject();
        if (!smaller.CreateFontIndirect(&lf)) break;
        pDC->SelectObject(&smaller);
    }
    titleBand.top += std::max(0, (titleBand.Height() - need.Height()) / 2);
    pDC->DrawText(title, &titleBand, format);
    if (scalable) pDC->SelectObject(&font);
}

} // namespace qor::gui
