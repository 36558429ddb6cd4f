// A page header's title kept whole: wrapped, and shrunk a step at a time while it does not fit.
// A long title (a name of megabytes) is measured and laid out only as far as the header shows it,
// and one the header cannot hold shows the lines that fit whole.
#include "platform/gui/print/PrintedTitle.h"

#include <algorithm>
#include <cstdlib>

namespace qor::gui {

namespace {

// Whether the title is wider than `room` (a long one measured only as far as that).
bool WiderThan(CDC* pDC, const CString& title, int room)
{
    return pDC->GetTextExtentUpTo(title.GetString(), title.GetLength(), room).cx > room;
}

// Ends the band after the last line of the type selected that it holds whole: a title that the
// header cannot hold shows the lines that fit, not one cut through by the line under the header.
void KeepWholeLines(CDC* pDC, CRect& band, UINT format)
{
    CString lines(L"X");
    for (;;)
    {
        const CString more = lines + L"\nX";
        CRect need = band;
        pDC->DrawText(more, &need, format | DT_CALCRECT);
        if (need.Height() > band.Height()) break;
        lines = more;
    }
    CRect need = band;
    pDC->DrawText(lines, &need, format | DT_CALCRECT);
    band.bottom = std::min(band.bottom, band.top + need.Height());
}

} // namespace

void DrawPrintedTitle(CDC* pDC, const CString& title, const CRect& band, int reserve, CFont& font)
{
    if (!WiderThan(pDC, title, band.Width() - 2 * reserve))
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
    CString shown; // the lines of the title that the band can show, in the type of the moment
    for (int step = 0;; ++step)
    {
        need = titleBand;
        shown = pDC->GetDrawnText(title, &titleBand, format);
        pDC->DrawText(shown, &need, format | DT_CALCRECT);
        if (need.Height() <= titleBand.Height() || !scalable || step == 4 || std::abs(lf.lfHeight) < 5) break;
        lf.lfHeight = lf.lfHeight * 5 / 6;
        pDC->SelectObject(&font);
        smaller.DeleteObject();
        if (!smaller.CreateFontIndirect(&lf)) break;
        pDC->SelectObject(&smaller);
    }
    if (need.Height() > titleBand.Height()) KeepWholeLines(pDC, titleBand, format);
    titleBand.top += std::max(0, (titleBand.Height() - need.Height()) / 2);
    pDC->DrawText(shown, &titleBand, format);
    if (scalable) pDC->SelectObject(&font);
}

} // namespace qor::gui
