// The grid control: construction, window class, cell storage and lookup, notifications.
#include "controls/grid/GridCtrl.h"

#include <atomic>
#include <memory>
#include <new>
#include <string>

IMPLEMENT_DYNCREATE(CGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(CGridCtrl, CWnd)
ON_WM_PAINT()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_SIZE()
ON_WM_MOUSEWHEEL()
ON_WM_ERASEBKGND()
ON_WM_SYSCOLORCHANGE()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
// mouse, keyboard, selection and editing
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_TIMER()
ON_WM_CAPTURECHANGED()
ON_WM_SETCURSOR()
ON_WM_GETDLGCODE()
ON_WM_KEYDOWN()
ON_WM_SYSKEYDOWN()
ON_WM_CHAR()
ON_MESSAGE(WM_IMECHAR, OnImeChar)
ON_NOTIFY(GVN_ENDLABELEDIT, IDC_INPLACE_CONTROL, OnEndInPlaceEdit)
// clipboard
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
END_MESSAGE_MAP()

namespace qor::grid {

BOOL GetMessageFont(LOGFONT* plf)
{
    if (!plf) return FALSE;
    NONCLIENTMETRICS ncm{};
    ncm.cbSize = sizeof(NONCLIENTMETRICS);
    if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(NONCLIENTMETRICS), &ncm, 0))
    {
        *plf = ncm.lfMessageFont;
        return TRUE;
    }
    CFont* pFont = CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    return pFont && pFont->GetLogFont(plf) != 0;
}

} // namespace qor::grid

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
{
    RegisterWindowClass();

    m_crWindowTextClr = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowClr = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFaceClr = ::GetSysColor(COLOR_3DFACE);
    m_crShadowClr = ::GetSysColor(COLOR_3DSHADOW);
    m_crGridBackClr = m_crShadowClr;
    m_crGridLineClr = RGB(192, 192, 192);
    m_crTipBackClr = CLR_DEFAULT_GRID;
    m_crTipTextClr = CLR_DEFAULT_GRID;

    m_nWheelLines = GetMouseScrollLines();
    m_pCellClass = RUNTIME_CLASS(CGridCell);

    m_DefaultCell.SetGrid(this);
    m_DefaultFixedColCell.SetGrid(this);
    m_DefaultFixedRowCell.SetGrid(this);
    m_DefaultFixedCell.SetGrid(this);

    m_DefaultCell.SetTextClr(m_crWindowTextClr);
    m_DefaultCell.SetBackClr(m_crWindowClr);
    m_DefaultFixedColCell.SetTextClr(m_crWindowTextClr);
    m_DefaultFixedColCell.SetBackClr(m_cr3DFaceClr);
    m_DefaultFixedRowCell.SetTextClr(m_crWindowTextClr);
    m_DefaultFixedRowCell.SetBackClr(m_cr3DFaceClr);
    m_DefaultFixedCell.SetTextClr(m_crWindowTextClr);
    m_DefaultFixedCell.SetBackClr(m_cr3DFaceClr);

    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl()
{
    DeleteAllItems();
    if (m_bTitleTips && ::IsWindow(m_TitleTip.GetSafeHwnd())) m_TitleTip.DestroyWindow();
    if (GetSafeHwnd()) DestroyWindow();
    m_arColOrder.clear();
}

BOOL CGridCtrl::RegisterWindowClass()
{
    WNDCLASS wndcls{};
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (!::GetClassInfo(hInst, GRIDCTRL_CLASSNAME, &wndcls))
    {
        wndcls = WNDCLASS{};
        wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wndcls.lpfnWndProc = ::DefWindowProc;
        wndcls.cbClsExtra = 0;
        wndcls.cbWndExtra = 0;
        wndcls.hInstance = hInst;
        wndcls.hIcon = nullptr;
        wndcls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wndcls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_3DFACE + 1));
        wndcls.lpszMenuName = nullptr;
        wndcls.lpszClassName = GRIDCTRL_CLASSNAME;
        if (!AfxRegisterClass(&wndcls)) return FALSE;
    }
    return TRUE;
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwStyle)
{
    if (!RegisterWindowClass()) return FALSE;
    if (!CWnd::Create(GRIDCTRL_CLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID)) return FALSE;

    try
    {
        m_arRowHeights.assign(static_cast<size_t>(m_nRows), static_cast<UINT>(m_DefaultCell.GetHeight()));
        m_arColWidths.assign(static_cast<size_t>(m_nCols), static_cast<UINT>(m_DefaultCell.GetWidth()));
    }
    catch (const std::bad_alloc&)
    {
        return FALSE;
    }
    ResetScrollBars();
    return TRUE;
}

void CGridCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();

    static BOOL s_bInProcedure = FALSE;
    if (s_bInProcedure) return;
    s_bInProcedure = TRUE;

    m_TitleTip.SetParentWnd(this);
    ModifyStyleEx(0, WS_EX_CLIENTEDGE);

    // Moving the window out and back makes the frame be recalculated.
    CRect rect;
    GetWindowRect(rect);
    if (CWnd* pParent = GetParent()) pParent->ScreenToClient(rect);
    rect.InflateRect(1, 1);
    MoveWindow(rect, TRUE);
    rect.DeflateRect(1, 1);
    MoveWindow(rect, TRUE);

    s_bInProcedure = FALSE;
}

// ---------------------------------------------------------------------------------------
// Cells

CGridCellBase* CGridCtrl::GetCell(int nRow, int nCol) const
{
    if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return nullptr;
    GRID_ROW* pRow = m_Rows[static_cast<size_t>(nRow)];
    if (!pRow && m_fnFillRow) pRow = MakeRow(nRow);
    if (!pRow) return nullptr;
    const int stored = m_arColOrder[static_cast<size_t>(nCol)];
    if (stored < 0 || stored >= static_cast<int>(pRow->size())) return nullptr;
    return (*pRow)[static_cast<size_t>(stored)];
}

// Making a row changes what the grid holds, not what it shows: a read of a cell may make it.
CGridCtrl::GRID_ROW* CGridCtrl::MakeRow(int nRow) const
{
    auto* self = const_cast<CGridCtrl*>(this);
    auto pRow = std::make_unique<GRID_ROW>(static_cast<size_t>(m_nCols), nullptr);
    for (int col = 0; col < m_nCols; col++) (*pRow)[static_cast<size_t>(col)] = self->CreateCell(nRow, col);
    GRID_ROW* pMade = pRow.release();
    // In place before the filling, which reads and replaces the row's cells.
    self->m_Rows[static_cast<size_t>(nRow)] = pMade;
    m_fnFillRow(nRow);
    return pMade;
}

void CGridCtrl::SetRowMaker(std::function<void(int nRow)> fnFillRow) { m_fnFillRow = std::move(fnFillRow); }

BOOL CGridCtrl::IsRowMade(int nRow) const
{
    return nRow >= 0 && nRow < static_cast<int>(m_Rows.size()) && m_Rows[static_cast<size_t>(nRow)] != nullptr;
}

void CGridCtrl::ForgetRow(int nRow)
{
    if (!IsRowMade(nRow)) return;
    for (int col = 0; col < m_nCols; col++) DestroyCell(nRow, col);
    delete m_Rows[static_cast<size_t>(nRow)];
    m_Rows[static_cast<size_t>(nRow)] = nullptr;
}

void CGridCtrl::ForgetMadeRows()
{
    if (!m_fnFillRow) return;
    ResetSelectedRange();
    for (int row = 0; row < static_cast<int>(m_Rows.size()); row++) ForgetRow(row);
    Refresh();
}

void CGridCtrl::SetTextReader(std::function<CString(int nRow, int nCol)> fnText,
                              std::function<int(int nCol, int nFirstRow, int nLastRow, CDC* pDC)> fnWidth,
                              std::function<CellTextWriter()> fnWriter)
{
    m_fnText = std::move(fnText);
    m_fnWidth = std::move(fnWidth);
    m_fnWriter = m_fnText ? std::move(fnWriter) : nullptr;
}

void CGridCtrl::ReadRowTexts(int nRow, const std::vector<int>& cols, bool bWorker, std::vector<CString>& texts) const
{
    texts.resize(cols.size());
    if (bWorker || (!IsRowMade(nRow) && m_fnText))
    {
        for (size_t i = 0; i < cols.size(); i++) texts[i] = m_fnText(nRow, cols[i]);
        return;
    }
    // A row made only to be read goes again: reading keeps no more cells.
    const BOOL bMade = IsRowMade(nRow);
    for (size_t i = 0; i < cols.size(); i++) texts[i] = GetItemText(nRow, cols[i]);
    if (!bMade && m_fnFillRow) const_cast<CGridCtrl*>(this)->ForgetRow(nRow);
}

void CGridCtrl::BringAllRows()
{
    // A copy: the owner may let its function go once the rows are in.
    if (const std::function<void()> bringAll = m_fnBringAll) bringAll();
}

bool CGridCtrl::IsWorkerJob(std::int64_t nCells) const
{
    // Below this many cells the work ends within a blink.
    constexpr std::int64_t kWorkerCells = 100000;
    return m_fnText && nCells >= kWorkerCells && qor::gui::IsUserInterfaceThread();
}

bool CGridCtrl::WriteRowsText(int nFirstRow, int nLastRow, std::int64_t nCells, LPCTSTR szDoing,
                              const std::function<void(int nRow, bool bWorker, std::string& out)>& rowText,
                              const std::function<bool(std::string& bytes)>& sink, const std::function<void()>& finish)
{
    std::atomic<int> rowsDone{0};
    auto write = [&](bool bWorker) {
        std::string out;
        for (int row = nFirstRow; row <= nLastRow; row++, rowsDone++)
        {
            rowText(row, bWorker, out);
            if (out.size() < 65536) continue;
            if (!sink(out)) return false;
            out.clear();
        }
        if (!sink(out)) return false;
        if (finish) finish();
        return true;
    };
    if (!IsWorkerJob(nCells)) return write(false);

    const DWORD start = ::GetTickCount();
    bool bShown = false;
    const int nRows = nLastRow - nFirstRow + 1;
    auto tick = [&] {
        if (!m_fnProgress || ::GetTickCount() - start < 1000) return;
        CString text;
        text.Format(_T("%s: %d%%"), szDoing, nRows > 0 ? static_cast<int>(100.0 * rowsDone.load() / nRows) : 100);
        m_fnProgress(text);
        bShown = true;
    };
    struct ProgressEnd
    {
        const std::function<void(LPCTSTR)>& fn;
        const bool& bShown;
        ~ProgressEnd()
        {
            if (bShown && fn) fn(nullptr);
        }
    } end{m_fnProgress, bShown};
    bool ok = false;
    qor::gui::RunWorkOffWindowThread([&] { ok = write(true); }, tick);
    return ok;
}

BOOL CGridCtrl::SetCell(int nRow, int nCol, CGridCellBase* pCell)
{
    if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return FALSE;
    GRID_ROW* pRow = m_Rows[static_cast<size_t>(nRow)];
    if (!pRow || nCol >= static_cast<int>(pRow->size())) return FALSE;
    if (pCell) pCell->SetCoords(nRow, nCol);
    (*pRow)[static_cast<size_t>(nCol)] = pCell;
    return TRUE;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const
{
    auto* self = const_cast<CGridCtrl*>(this);
    if (bFixedRow && bFixedCol) return &self->m_DefaultFixedCell;
    if (bFixedRow) return &self->m_DefaultFixedRowCell;
    if (bFixedCol) return &self->m_DefaultFixedColCell;
    return &self->m_DefaultCell;
}

BOOL CGridCtrl::SetDefaultCellType(CRuntimeClass* pRuntimeClass)
{
    if (!pRuntimeClass || !pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return FALSE;
    m_pCellClass = pRuntimeClass;
    return TRUE;
}

BOOL CGridCtrl::IsValid(int nRow, int nCol) const { return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols; }

BOOL CGridCtrl::IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }

BOOL CGridCtrl::IsValid(const CCellRange& range) const
{
    return range.GetMinRow() >= 0 && range.GetMinCol() >= 0 && range.GetMaxRow() >= 0 && range.GetMaxCol() >= 0 &&
           range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols && range.GetMinRow() <= range.GetMaxRow() &&
           range.GetMinCol() <= range.GetMaxCol();
}

// ---------------------------------------------------------------------------------------
// Notifications

LRESULT CGridCtrl::SendMessageToParent(int nRow, int nCol, int nMessage) const
{
    if (!::IsWindow(m_hWnd)) return 0;

    NMGRIDCELL nmgv{};
    nmgv.iRow = nRow;
    nmgv.iColumn = nCol;
    nmgv.hdr.hwndFrom = m_hWnd;
    nmgv.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nmgv.hdr.code = static_cast<UINT>(nMessage);

    CWnd* pTarget = GetOwner();
    if (!pTarget) pTarget = GetParent();
    if (!pTarget || !::IsWindow(pTarget->GetSafeHwnd())) return 0;
    return pTarget->SendMessage(WM_NOTIFY, nmgv.hdr.idFrom, reinterpret_cast<LPARAM>(&nmgv));
}

BOOL CGridCtrl::PostCommandToParent() const
{
    if (!::IsWindow(m_hWnd)) return FALSE;
    CWnd* pTarget = GetOwner();
    if (!pTarget) pTarget = GetParent();
    if (!pTarget || !::IsWindow(pTarget->GetSafeHwnd())) return FALSE;
    return pTarget->PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), 0),
                                reinterpret_cast<LPARAM>(m_hWnd));
}

// ---------------------------------------------------------------------------------------
// Window messages

void CGridCtrl::OnSysColorChange()
{
    CWnd::OnSysColorChange();

    // Default colours that followed the system follow it again; colours the program set stay.
    CGridDefaultCell* cells[] = {&m_DefaultCell, &m_DefaultFixedRowCell, &m_DefaultFixedColCell, &m_DefaultFixedCell};
    for (CGridDefaultCell* pCell : cells)
    {
        if (pCell->GetTextClr() == m_crWindowTextClr) pCell->SetTextClr(::GetSysColor(COLOR_WINDOWTEXT));
        if (pCell->GetBackClr() == m_crWindowClr)
            pCell->SetBackClr(::GetSysColor(COLOR_WINDOW));
        else if (pCell->GetBackClr() == m_cr3DFaceClr)
            pCell->SetBackClr(::GetSysColor(COLOR_3DFACE));
    }
    if (m_crGridBackClr == m_crShadowClr) m_crGridBackClr = ::GetSysColor(COLOR_3DSHADOW);

    m_crWindowTextClr = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowClr = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFaceClr = ::GetSysColor(COLOR_3DFACE);
    m_crShadowClr = ::GetSysColor(COLOR_3DSHADOW);
}

COLORREF CGridCtrl::GetPaperColour(COLORREF clr, BOOL bText) const
{
    if (bText) return clr == m_crWindowTextClr ? qor::gui::GetPaperColor(COLOR_WINDOWTEXT) : clr;
    if (clr == m_crWindowClr) return qor::gui::GetPaperColor(COLOR_WINDOW);
    return clr == m_cr3DFaceClr ? qor::gui::GetPaperColor(COLOR_3DFACE) : clr;
}

void CGridCtrl::OnSize(UINT nType, int cx, int cy)
{
    static BOOL s_bInsideOnSize = FALSE;
    if (s_bInsideOnSize || !::IsWindow(m_hWnd)) return;
    s_bInsideOnSize = TRUE;

    EndEditing();
    CWnd::OnSize(nType, cx, cy);
    ResetScrollBars();

    s_bInsideOnSize = FALSE;
}

LRESULT CGridCtrl::OnSetFont(WPARAM hFont, LPARAM lParam)
{
    const LRESULT result = Default();

    LOGFONT lf;
    if (!::GetObject(reinterpret_cast<HGDIOBJ>(hFont), sizeof(LOGFONT), &lf)) return result;

    m_DefaultCell.SetFont(&lf);
    m_DefaultFixedColCell.SetFont(&lf);
    m_DefaultFixedRowCell.SetFont(&lf);
    m_DefaultFixedCell.SetFont(&lf);

    if (::IsWindow(GetSafeHwnd()) && m_bAllowDraw) Invalidate();
    return result;
}

LRESULT CGridCtrl::OnGetFont(WPARAM, LPARAM)
{
    CFont* pFont = m_DefaultCell.GetFontObject();
    return pFont ? reinterpret_cast<LRESULT>(pFont->GetSafeHandle()) : 0;
}

void CGridCtrl::HideTitleTip()
{
    if (!::IsWindow(m_TitleTip.GetSafeHwnd())) return;
    m_TitleTip.Hide();
}

// ---------------------------------------------------------------------------------------
// Options that repaint

void CGridCtrl::SetGridLines(int nWhichLines)
{
    m_nGridLines = nWhichLines;
    Refresh();
}

void CGridCtrl::SetListMode(BOOL bEnableListMode)
{
    ResetSelectedRange();
    m_bListMode = bEnableListMode;
    m_bSingleRowSelection = FALSE;
    Refresh();
}

void CGridCtrl::EnableSelection(BOOL bEnable)
{
    ResetSelectedRange();
    m_bEnableSelection = bEnable;
    ResetSelectedRange();
}

void CGridCtrl::SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars)
{
    if (bAllowDraw && !m_bAllowDraw)
    {
        m_bAllowDraw = TRUE;
        Refresh();
    }
    m_bAllowDraw = bAllowDraw;
    if (bResetScrollBars) ResetScrollBars();
}
