// Drawing, measuring and printing shared by every cell class.
#include "controls/grid/GridCellBase.h"

#include "controls/grid/GridCell.h"
#include "controls/grid/GridCtrl.h"

#include <algorithm>
#include <cwchar>

namespace {

// Fills the cell's background, the grid-line pixels at its right and bottom included.
void FillCellBack(CDC* pDC, CRect rect, COLORREF clr)
{
    rect.right++;
    rect.bottom++;
    CBrush brush;
    if (brush.CreateSolidBrush(clr)) pDC->FillRect(rect, &brush);
}

// The raised frame of a header cell (light top and left, dark right and bottom), on paper in paper's
// colours; the rectangle then shrinks to the inside of the frame.
void DrawRaisedFrame(CDC* pDC, CRect& rect)
{
    const auto colour = pDC->IsPrinting() ? qor::gui::GetPaperColor : ::GetSysColor;
    CPen lightPen(PS_SOLID, 1, colour(COLOR_3DHIGHLIGHT));
    CPen darkPen(PS_SOLID, 1, colour(COLOR_3DDKSHADOW));
    CPen* pOldPen = pDC->SelectObject(&lightPen);
    pDC->MoveTo(rect.right, rect.top);
    pDC->LineTo(rect.left, rect.top);
    pDC->LineTo(rect.left, rect.bottom);
    pDC->SelectObject(&darkPen);
    pDC->MoveTo(rect.right, rect.top);
    pDC->LineTo(rect.right, rect.bottom);
    pDC->LineTo(rect.left, rect.bottom);
    pDC->SelectObject(pOldPen);
    rect.DeflateRect(1, 1);
}

} // namespace

IMPLEMENT_DYNAMIC(CGridCellBase, CObject)

CGridCellBase::CGridCellBase() = default;
CGridCellBase::~CGridCellBase() = default;

CGridCellBase* CGridCellBase::GetDefaultCell() const
{
    CGridCtrl* pGrid = GetGrid();
    if (!pGrid) return nullptr;
    const DWORD state = GetState();
    return pGrid->GetDefaultCell((state & GVIS_FIXEDROW) != 0, (state & GVIS_FIXEDCOL) != 0);
}

CGridCellBase& CGridCellBase::operator=(const CGridCellBase& cell)
{
    if (this == &cell) return *this;

    SetGrid(cell.GetGrid());
    SetText(cell.GetText());
    SetImage(cell.GetImage());
    SetData(cell.GetData());
    SetState(cell.GetState());
    SetFormat(cell.GetFormat());
    SetTextClr(cell.GetTextClr());
    SetBackClr(cell.GetBackClr());
    SetFont(cell.IsDefaultFont() ? nullptr : cell.GetFont());
    SetMargin(cell.GetMargin());
    return *this;
}

BOOL CGridCellBase::GetImageSize(CSize& size) const
{
    CGridCtrl* pGrid = GetGrid();
    if (!pGrid || GetImage() < 0) return FALSE;
    return pGrid->GetImageSize(GetImage(), size);
}

BOOL CGridCellBase::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    CGridCtrl* pGrid = GetGrid();
    if (!pGrid || !pDC) return FALSE;
    if (rect.Width() <= 0 || rect.Height() <= 0) return FALSE;
    CGridCellBase* pDefaultCell = GetDefaultCell();
    if (!pDefaultCell) return FALSE;

    const int nSavedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);

    COLORREF textClr = (GetTextClr() == CLR_DEFAULT_GRID) ? pDefaultCell->GetTextClr() : GetTextClr();
    COLORREF backClr;
    if (GetBackClr() == CLR_DEFAULT_GRID)
        backClr = pDefaultCell->GetBackClr();
    else
    {
        bEraseBkgnd = TRUE;
        backClr = GetBackClr();
    }

    // The grid holds the selection.
    const BOOL bSelected = pGrid->IsCellSelected(nRow, nCol);
    if (!IsFocused() && !IsDropHighlighted())
    {
        if (bSelected)
        {
            rect.right++;
            rect.bottom++;
            pDC->FillSolidRect(rect, ::GetSysColor(COLOR_HIGHLIGHT));
            rect.right--;
            rect.bottom--;
            pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
        }
        else
        {
            if (bEraseBkgnd) FillCellBack(pDC, rect, backClr);
            pDC->SetTextColor(textClr);
        }
    }
    else
    {
        if (bSelected)
        {
            backClr = ::GetSysColor(COLOR_HIGHLIGHT);
            textClr = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
            bEraseBkgnd = TRUE;
        }
        if (bEraseBkgnd) FillCellBack(pDC, rect, backClr);
        rect.right++;
        rect.bottom++;
        if (pGrid->GetGridLines() != GVL_NONE)
        {
            rect.right--;
            rect.bottom--;
        }
        if (pGrid->GetFrameFocusCell())
        {
            // A frame in the text colour shows on any background.
            CBrush brush;
            if (brush.CreateSolidBrush(textClr)) pDC->FrameRect(rect, &brush);
        }
        pDC->SetTextColor(textClr);
        if (pGrid->GetGridLines() == GVL_NONE)
        {
            rect.right--;
            rect.bottom--;
        }
    }

    // Header cells: sunken when they share the focus cell's row or column, raised otherwise.
    if (IsFixed() && pGrid->GetGridLines() != GVL_NONE)
    {
        const CCellID focus = pGrid->GetFocusCell();
        const BOOL bHiliteFixed =
            pGrid->GetTrackFocusCell() && pGrid->IsValid(focus) && (focus.row == nRow || focus.col == nCol);
        if (bHiliteFixed)
        {
            rect.right++;
            rect.bottom++;
            pDC->DrawEdge(rect, BDR_SUNKENINNER, BF_RECT);
            rect.DeflateRect(1, 1);
        }
        else
        {
            DrawRaisedFrame(pDC, rect);
        }
    }

    if (!pDC->IsPrinting())
    {
        if (CFont* pFont = GetFontObject()) pDC->SelectObject(pFont);
    }

    const int margin = static_cast<int>(GetMargin());
    rect.DeflateRect(margin, margin);
    rect.right++;
    rect.bottom++;

    CSize imageSize;
    if (GetImageSize(imageSize))
    {
        // An image that does not fit is left out.
        if (rect.left + imageSize.cx <= rect.right && rect.top + imageSize.cy <= rect.bottom)
            pGrid->DrawImage(pDC, GetImage(), rect.TopLeft());
    }

    GetTextRect(rect);
    rect.right++;
    rect.bottom++;

    CString text = GetText();
    pDC->DrawText(text, rect, GetFormat() | DT_NOPREFIX);

    pDC->RestoreDC(nSavedDC);
    return TRUE;
}

BOOL CGridCellBase::GetTextRect(LPRECT pRect)
{
    CSize imageSize;
    if (pRect && GetImageSize(imageSize)) pRect->left += imageSize.cx + 1 + static_cast<int>(GetMargin());
    return TRUE;
}

CSize CGridCellBase::GetTextExtent(LPCTSTR szText, CDC* pDC)
{
    CGridCtrl* pGrid = GetGrid();
    CGridCellBase* pDefault = GetDefaultCell();
    auto defaultSize = [pDefault]() {
        if (auto* pDef = dynamic_cast<CGridDefaultCell*>(pDefault)) return CSize(pDef->GetWidth(), pDef->GetHeight());
        return CSize(0, 0);
    };

    const bool hasText = szText && *szText;
    CDC* pScreenDC = nullptr;
    if (!pDC && hasText && pGrid && pGrid->GetSafeHwnd())
    {
        pScreenDC = pGrid->GetDC();
        pDC = pScreenDC;
    }
    if (!pDC || !hasText)
    {
        if (pScreenDC) pGrid->ReleaseDC(pScreenDC);
        return defaultSize();
    }

    CFont* pOldFont = nullptr;
    bool fontSelected = false;
    if (CFont* pFont = GetFontObject())
    {
        pOldFont = pDC->SelectObject(pFont);
        fontSelected = true;
    }

    // A cell's text is measured no wider than the screens: a column, row heading or tip sized to it can show
    // no more, and a name of megabytes is then neither measured whole nor made a column of millions of pixels.
    const int nWidest = std::max(1, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    const int nLength = static_cast<int>(std::wcslen(szText));
    CSize size;
    const DWORD nFormat = GetFormat();
    if ((nFormat & DT_WORDBREAK) && !(nFormat & DT_SINGLELINE))
    {
        // Wrapped text: the widest line sets the width the rest is wrapped in.
        int widest = 0;
        for (int start = 0; start <= nLength;)
        {
            const wchar_t* newline = std::wcschr(szText + start, L'\n');
            const int end = newline ? static_cast<int>(newline - szText) : nLength;
            widest =
                std::max(widest, static_cast<int>(pDC->GetTextExtentUpTo(szText + start, end - start, nWidest).cx));
            start = end + 1;
        }
        CRect rect(0, 0, std::min(widest, nWidest) + 1, 0);
        pDC->DrawText(szText, nLength, rect, nFormat | DT_CALCRECT);
        size = CSize(rect.Width(), rect.Height());
    }
    else
        size = pDC->GetTextExtentUpTo(szText, nLength, nWidest);
    size.cx = std::min<LONG>(size.cx, nWidest);

    const int margin = static_cast<int>(GetMargin());
    size.cx += 2 * margin;
    size.cy += 2 * margin;

    if (fontSelected) pDC->SelectObject(pOldFont);
    if (pScreenDC) pGrid->ReleaseDC(pScreenDC);

    const LOGFONT* plf = GetFont();
    if (plf && (plf->lfEscapement == 900 || plf->lfEscapement == -900))
    {
        // Vertical text
        return CSize(size.cy, size.cx + 4 * margin);
    }
    return size;
}

CSize CGridCellBase::GetCellExtent(CDC* pDC)
{
    CSize size = GetTextExtent(GetText(), pDC);
    const int margin = static_cast<int>(GetMargin());
    CSize imageSize;
    if (GetImageSize(imageSize))
    {
        if (size.cx > 2 * margin) imageSize.cx += margin;
        imageSize.cy += 2 * margin;
    }
    else
        imageSize = CSize(0, 0);

    size.cx += imageSize.cx + 1;
    size.cy = std::max(size.cy, imageSize.cy) + 1;
    if (IsFixed())
    {
        size.cx++;
        size.cy++;
    }
    return size;
}

BOOL CGridCellBase::PrintCell(CDC* pDC, int nRow, int nCol, CRect rect)
{
    CGridCtrl* pGrid = GetGrid();
    if (!pGrid || !pDC) return FALSE;
    if (rect.Width() <= 0 || rect.Height() <= 0) return FALSE;
    CGridCellBase* pDefaultCell = GetDefaultCell();
    if (!pDefaultCell) return FALSE;

    const int nSavedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);

    COLORREF textClr = 0;
    if (pGrid->GetShadedPrintOut())
    {
        // The default cell's colours follow the screen's look; paper has them as the default look gives them.
        bool hasBack = true;
        COLORREF backClr;
        if (IsFixed())
            backClr = (GetBackClr() == CLR_DEFAULT_GRID) ? pGrid->GetPaperColour(pDefaultCell->GetBackClr(), FALSE)
                                                         : GetBackClr();
        else
        {
            backClr = GetBackClr();
            if (backClr == CLR_DEFAULT_GRID || backClr == pDefaultCell->GetBackClr()) hasBack = false;
        }
        textClr =
            (GetTextClr() == CLR_DEFAULT_GRID) ? pGrid->GetPaperColour(pDefaultCell->GetTextClr(), TRUE) : GetTextClr();

        if (pDC->GetDeviceCaps(NUMCOLORS) == 2 && !hasBack)
        {
            // Two-colour device: grey levels of the text colour
            textClr = RGB(static_cast<int>(GetRValue(textClr) * 0.30), static_cast<int>(GetGValue(textClr) * 0.59),
                          static_cast<int>(GetBValue(textClr) * 0.11));
        }
        else if (hasBack)
            FillCellBack(pDC, rect, backClr);
    }

    pDC->SetTextColor(textClr);
    CFont scaledFont;
    if (CFont* pFont = GetFontObject())
    {
        LOGFONT lf;
        const double scale = pGrid->GetPrintTextScale();
        if (scale < 1.0 && pFont->GetLogFont(&lf))
        {
            // Rounded down, so that the smaller text is sure to fit.
            lf.lfHeight = static_cast<LONG>(lf.lfHeight * scale);
            if (lf.lfHeight != 0 && scaledFont.CreateFontIndirect(&lf)) pFont = &scaledFont;
        }
        pDC->SelectObject(pFont);
    }

    if (IsFixed() && pGrid->GetGridLines() != GVL_NONE)
    {
        DrawRaisedFrame(pDC, rect);
    }

    const int margin = static_cast<int>(GetMargin());
    rect.DeflateRect(margin, 0);

    CSize imageSize;
    if (GetImageSize(imageSize))
    {
        pGrid->DrawImage(pDC, GetImage(), rect.TopLeft());
        rect.left += imageSize.cx + margin;
    }

    CString text = GetText();
    pDC->DrawText(text, rect, GetFormat() | DT_NOPREFIX);

    pDC->RestoreDC(nSavedDC);
    return TRUE;
}

BOOL CGridCellBase::OnSetCursor()
{
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}
