// CDragDropText: the dragged text measured and drawn, cut with an ellipsis when long.
#include "ui/dialogs/DragDropText.h"

#include <algorithm>

namespace {
constexpr LONG kMaxImageWidth = 64;
}

CDragDropText::CDragDropText(LPCTSTR text) : m_Text(text) {}

SIZE CDragDropText::OnGetDragSize(CDC& dc)
{
    CRect rc(0, 0, 0, 0);
    dc.DrawText(m_Text, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return SIZE{std::min(rc.right, kMaxImageWidth) - rc.left, rc.bottom - rc.top};
}

void CDragDropText::OnDrawData(CDC& dc, RECT& rect)
{
    dc.DrawText(m_Text, &rect, DT_END_ELLIPSIS | DT_SINGLELINE | DT_NOPREFIX);
}
