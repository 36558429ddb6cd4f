// The standard cell and the default cells.
#include "controls/grid/GridCell.h"

#include "controls/grid/GridCtrl.h"

IMPLEMENT_DYNCREATE(CGridCell, CGridCellBase)
IMPLEMENT_DYNCREATE(CGridDefaultCell, CGridCell)

// ---------------------------------------------------------------------------------------
// CGridCell

CGridCell::CGridCell() { CGridCell::Reset(); }

CGridCell::~CGridCell() { delete m_plfFont; }

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_strText.Empty();
    m_nImage = -1;
    m_lParam = 0;
    m_nFormat = 0xFFFFFFFF;
    m_crFgClr = CLR_DEFAULT_GRID;
    m_crBkClr = CLR_DEFAULT_GRID;
    delete m_plfFont;
    m_plfFont = nullptr;
    m_nMargin = 0xFFFFFFFF;
    m_bEditing = FALSE;
    m_pGrid = nullptr;
    m_pEditWnd = nullptr;
}

void CGridCell::SetFont(const LOGFONT* plf)
{
    if (!plf)
    {
        delete m_plfFont;
        m_plfFont = nullptr;
        return;
    }
    if (!m_plfFont) m_plfFont = new LOGFONT;
    if (m_plfFont != plf) *m_plfFont = *plf;
}

LOGFONT* CGridCell::GetFont() const
{
    if (m_plfFont) return m_plfFont;
    CGridCellBase* pDefault = GetDefaultCell();
    return pDefault ? pDefault->GetFont() : nullptr;
}

CFont* CGridCell::GetFontObject() const
{
    if (m_plfFont)
    {
        // One font object serves every cell that has a font of its own; it is remade for
        // each caller, who must use it before the next cell asks. It lives for the process.
        static CFont* s_pFont = new CFont;
        s_pFont->DeleteObject();
        s_pFont->CreateFontIndirect(m_plfFont);
        return s_pFont;
    }
    CGridCellBase* pDefault = GetDefaultCell();
    return pDefault ? pDefault->GetFontObject() : nullptr;
}

DWORD CGridCell::GetFormat() const
{
    if (m_nFormat != 0xFFFFFFFF) return m_nFormat;
    CGridCellBase* pDefault = GetDefaultCell();
    return pDefault ? pDefault->GetFormat() : 0;
}

UINT CGridCell::GetMargin() const
{
    if (m_nMargin != 0xFFFFFFFF) return m_nMargin;
    CGridCellBase* pDefault = GetDefaultCell();
    return pDefault ? pDefault->GetMargin() : 0;
}

void CGridCell::OnEndEdit()
{
    m_bEditing = FALSE;
    m_pEditWnd = nullptr;
}

// ---------------------------------------------------------------------------------------
// CGridDefaultCell

CGridDefaultCell::CGridDefaultCell()
{
    m_nFormat = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    m_crFgClr = CLR_DEFAULT_GRID;
    m_crBkClr = CLR_DEFAULT_GRID;
    m_Size = CSize(30, 10);
    m_dwStyle = 0;
    // A default cell always has its own margin (it has no default to fall back on).
    m_nMargin = 3;

    LOGFONT lf;
    if (qor::grid::GetMessageFont(&lf)) CGridDefaultCell::SetFont(&lf);
}

CGridDefaultCell::~CGridDefaultCell() { m_Font.DeleteObject(); }

CFont* CGridDefaultCell::GetFontObject() const
{
    return m_Font.GetSafeHandle() ? const_cast<CFont*>(&m_Font) : nullptr;
}

void CGridDefaultCell::SetFont(const LOGFONT* plf)
{
    if (!plf) return;

    m_Font.DeleteObject();
    m_Font.CreateFontIndirect(plf);
    CGridCell::SetFont(plf);

    // The default margin, column width and row height follow the font.
    CClientDC dc(nullptr);
    if (dc.GetSafeHdc())
    {
        CFont* pOldFont = dc.SelectObject(&m_Font);
        SetMargin(static_cast<UINT>(dc.GetTextExtent(_T(" "), 1).cx));
        const CSize size = dc.GetTextExtent(_T(" XXXXXXXXXXXX "), 14);
        m_Size = CSize(size.cx, size.cy * 3 / 2);
        dc.SelectObject(pOldFont);
    }
    else
    {
        SetMargin(3);
        m_Size = CSize(40, 16);
    }
}
