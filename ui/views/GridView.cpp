// The grid view's frame: its grid control below the title, the helpers every table is built
// with, commands offered to the grid first, and printing through the grid.
#include "ui/views/GridView.h"

#include "controls/grid/GridCellNumeric.h"
#include "engine/analysis/Envelope.h"
#include "platform/core/Time.h"

#include <new>

IMPLEMENT_DYNCREATE(CGridView, CQORViewBase)

namespace {
// Posted to the view itself: the next slice of a table's rows.
constexpr UINT WM_FILLPENDING = WM_APP + 0x51;
} // namespace

BEGIN_MESSAGE_MAP(CGridView, CQORViewBase)
ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_MESSAGE(WM_FILLPENDING, OnFillPending)
END_MESSAGE_MAP()

namespace {

constexpr UINT kGridControlId = 100;
// Centred, vertically centred, one line, no prefix, ellipsis at the end.
constexpr DWORD kNumberFormat = CTableCells::kNumberFormat;
// The same, left-aligned.
constexpr DWORD kTextFormat = CTableCells::kTextFormat;
constexpr int kNumericFlags = CGridCellNumeric::Decimals | CGridCellNumeric::Negative;
static_assert(kNumericFlags == CTableCells::kNumericFlags);

// A long copy or save of a table says how far it has come in the status bar, which shows its
// text from before once the work has ended.
void ShowGridProgress(LPCTSTR szProgress)
{
    static CString s_sBefore;
    static bool s_bShown = false;
    CFrameWnd* pMain = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    auto* pBar = pMain ? DYNAMIC_DOWNCAST(CMFCStatusBar, pMain->GetDlgItem(AFX_IDW_STATUS_BAR)) : nullptr;
    if (!pBar) return;
    if (!szProgress)
    {
        if (s_bShown) pBar->SetPaneText(0, s_sBefore);
        s_bShown = false;
        return;
    }
    if (!s_bShown) s_sBefore = pBar->GetPaneText(0);
    s_bShown = true;
    pBar->SetPaneText(0, szProgress);
}

} // namespace

CGridView::CGridView()
{
    m_nViewType = VIEWTYPE_GRID;

    m_saSinglePosBMSF = {L"x Beam (m)", L"Moment (kNm)", L"Shear (kN)"};
    m_saMovingLoadBMSF = {L"x Beam",    L"BMD - Max",    L"x Load Model", L"BMD - Min",   L"x Load Model",
                          L"SFD - Max", L"x Load Model", L"SFD - Min",    L"x Load Model"};
    m_saMovingLoadReactions = {L"Reaction", L"x Load Model"};
    m_saMultiMovingLoadBMSF = {L"x Beam",    L"BMD - Max",  L"Load Model", L"BMD - Min", L"Load Model",
                               L"SFD - Max", L"Load Model", L"SFD - Min",  L"Load Model"};
    m_saMultiMovingLoadReactions = {L"Reaction", L"Load Model", L"x Load Model"};
    m_saCompareBMSF = {L"x Beam",         L"Ref BMD - Max",  L"Ref BMD - Min",  L"Ref SFD - Max", L"Ref SFD - Min",
                       L"Prop BMD - Max", L"Prop BMD - Min", L"Prop SFD - Max", L"Prop SFD - Min"};
    m_saCompareReactions = {L"Reaction", L"x Load Model"};
    m_saRefValuesBMSF = {L"Bridge Span",  L"Bridge Length", L"BMD - Max",    L"x Beam",      L"x Load Model",
                         L"BMD - Min",    L"x Beam",        L"x Load Model", L"SFD - Max",   L"x Beam",
                         L"x Load Model", L"SFD - Min",     L"x Beam",       L"x Load Model"};
    m_saBridgeReactions = {L"Bridge Span", L"Bridge Length", L"Reaction", L"x Beam", L"x Load Model"};
    m_saBridgeBMSF = {L"Bridge Span", L"Bridge Length", L"BMD - Max", L"BMD - Min", L"SFD - Max", L"SFD - Min"};
    m_saBridgeAxis = {L"Bridge Span", L"Bridge Length"};
    m_saEnhancedSingleSpan = {L"Moment", L"Shear", L"Abutment"};
    m_saEnhancedMultiSpan = {L"Moment - Sag", L"Moment - Hog", L"Shear", L"Abutment", L"Pier"};
}

CGridView::~CGridView() { delete m_pGrid; }

// ---- Window ------------------------------------------------------------------------------------

BOOL CGridView::PreCreateWindow(CREATESTRUCT& cs) { return CView::PreCreateWindow(cs); }

int CGridView::OnCreate(LPCREATESTRUCT lpCreateStruct) { return CView::OnCreate(lpCreateStruct) == -1 ? -1 : 0; }

void CGridView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (!m_pGrid)
    {
        m_pGrid = new CGridCtrl;
        // Result tables are read, never edited in place.
        m_pGrid->SetEditable(FALSE);
    }
}

void CGridView::OnDraw(CDC* pDC) { CQORViewBase::OnDraw(pDC); }

BOOL CGridView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Copy, Select All and the other grid commands act on the table of the active view.
    if (m_pGrid && m_pGrid->GetSafeHwnd() && m_pGrid->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CGridView::OnDestroy()
{
    // A window closed while its table fills stops the filling, and the status bar says Ready again.
    m_fnFillRows = nullptr;
    ShowFillProgress(true);
    CQORViewBase::OnDestroy();
}

void CGridView::OnSize(UINT nType, int cx, int cy)
{
    CQORViewBase::OnSize(nType, cx, cy);
    FitColumns();
}

void CGridView::RecalcLayout()
{
    CQORViewBase::RecalcLayout();
    if (!GetSafeHwnd() || !m_pGrid || !m_pGrid->GetSafeHwnd()) return;

    CRect client;
    GetClientRect(&client);
    const int top = m_Gap.TOP + m_nContentTop;
    m_pGrid->MoveWindow(client.left, top, client.Width(), std::max(0, client.bottom - top), TRUE);

    const BOOL bWasAllowed = m_pGrid->IsDrawAllowed();
    m_pGrid->SetRedraw(TRUE);
    if (!bWasAllowed) m_pGrid->Invalidate(TRUE);
    m_pGrid->ResetScrollBars();
}

// ---- Printing ----------------------------------------------------------------------------------
// The grid prints its own header (the view title and the program's name), footer and table.

BOOL CGridView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CGridView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_pGrid) m_pGrid->OnBeginPrinting(pDC, pInfo);
}

void CGridView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_pGrid) m_pGrid->OnPrint(pDC, pInfo);
}

void CGridView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_pGrid) m_pGrid->OnEndPrinting(pDC, pInfo);
}

// ---- The frame of every table ------------------------------------------------------------------

void CGridView::SetUpGrid(int nRows, int nCols, bool bLazy)
{
    if (!m_pGrid)
    {
        m_pGrid = new CGridCtrl;
        m_pGrid->SetEditable(FALSE);
    }
    if (!m_pGrid->GetSafeHwnd())
    {
        CRect client;
        GetClientRect(&client);
        m_pGrid->Create(client, this, kGridControlId);
    }
    else
    {
        // A second table in the same view starts from empty cells.
        m_pGrid->SetRowCount(0);
        m_pGrid->SetColumnCount(0);
    }

    // A table still filling from before stops here.
    m_fnFillRows = nullptr;
    ShowFillProgress(true);
    m_vTextWidths.clear();
    m_nRows = m_nFixedRows + std::max(0, nRows);
    m_nRowsFilled = m_nFixedRows;
    m_nCols = m_nFixedCols + std::max(0, nCols);
    m_bLazy = bLazy;
    m_Cells.Reset(bLazy ? m_nRows : 0, bLazy ? m_nCols : 0, false);
    if (bLazy)
    {
        m_pGrid->SetRowMaker([this](int nRow) { m_Cells.FillRow(*m_pGrid, nRow); });
        // Copying, saving and autosizing read the table, not cells made for it.
        m_pGrid->SetTextReader([this](int nRow, int nCol) { return m_Cells.CellText(nRow, nCol); },
                               [this](int nCol, int nFirstRow, int nLastRow, CDC* pDC) {
                                   // The rows on show are those filled so far, whose widths the table keeps.
                                   if (nLastRow == m_nRowsFilled - 1) nLastRow = m_Cells.GetRowCount() - 1;
                                   return m_Cells.TextWidth(*m_pGrid, pDC, nCol, nFirstRow, nLastRow);
                               },
                               [this] { return m_Cells.TextWriter(); });
        m_pGrid->SetProgressHandler(ShowGridProgress);
        m_pGrid->SetRowsToCome([this] { FinishDrawing(); });
    }
    else
    {
        m_pGrid->SetRowMaker(nullptr);
        m_pGrid->SetTextReader(nullptr);
        m_pGrid->SetRowsToCome(nullptr);
    }
    // The rows of a table kept in m_Cells come once they hold their data (FillRows, FinishTable).
    m_pGrid->SetRowCount(bLazy ? m_nFixedRows : m_nRows);
    m_pGrid->SetColumnCount(m_nCols);
    m_pGrid->SetFixedRowCount(m_nFixedRows);
    m_pGrid->SetFixedColumnCount(m_nFixedCols);
    m_pGrid->ExpandColumnsToFit(TRUE);

    m_pGrid->SetPrintTitle(m_sTitle);
    m_pGrid->SetPrintRightTitle(m_sHeader);
    RecalcLayout();
}

void CGridView::MakeNumericCells()
{
    if (m_bLazy)
    {
        m_Cells.SetNumericData(true);
        return;
    }
    for (int row = m_nFixedRows; row < m_nRows; row++)
        for (int col = m_nFixedCols; col < m_nCols; col++) MakeNumericCell(row, col);
}

void CGridView::MakeNumericCell(int nRow, int nCol)
{
    if (!m_pGrid->SetCellType(nRow, nCol, RUNTIME_CLASS(CGridCellNumeric))) return;
    auto* pCell = static_cast<CGridCellNumeric*>(m_pGrid->GetCell(nRow, nCol));
    pCell->SetFormat(kNumberFormat);
    pCell->SetFlags(kNumericFlags);
}

void CGridView::AutoSizeFirstColumn()
{
    // A table whose rows are made as they are shown has every column sized when it is finished
    // (FinishTable), the row numbers' column as wide as the widest of all, without making a row.
    if (m_bLazy) return;
    m_pGrid->AutoSizeColumn(0, GVS_BOTH, TRUE);
    m_pGrid->ExpandColumnsToFit(FALSE);
}

void CGridView::SetHeading(int nRow, int nCol, const CString& text)
{
    if (m_bLazy)
    {
        m_Cells.SetHeading(nRow, nCol, text);
        return;
    }
    CGridCellBase* pCell = m_pGrid->GetCell(nRow, nCol);
    if (!pCell) return;
    pCell->SetText(text);
    m_pGrid->SetModified(nRow, nCol);
    pCell->SetFormat(DT_CENTER);
}

void CGridView::SetCaptions(const std::vector<CString>& captions)
{
    for (int col = m_nFixedCols; col < m_nCols; col++) SetHeading(0, col, captions.at(static_cast<size_t>(col - 1)));
}

void CGridView::SetRowNumbers()
{
    if (m_bLazy)
    {
        m_Cells.SetRowNumbers();
        return;
    }
    CString number;
    for (int row = m_nFixedRows; row < m_nRows; row++)
    {
        number.Format(L"%d", row);
        SetHeading(row, 0, number);
    }
}

void CGridView::SetNumber(int nRow, int nCol, double value)
{
    if (m_bLazy)
    {
        m_Cells.SetNumber(nRow, nCol, value);
        return;
    }
    if (auto* pCell = dynamic_cast<CGridCellNumeric*>(m_pGrid->GetCell(nRow, nCol))) pCell->SetNumber(value);
}

void CGridView::SetEntry(int nRow, int nCol, const RatioLoadEffect& ratio)
{
    if (ratio.IsUndefined())
        SetTextCell(nRow, nCol, L"n/a");
    else
        SetNumber(nRow, nCol, ratio.ratio);
}

void CGridView::SetTextCell(int nRow, int nCol, const CString& text)
{
    if (m_bLazy)
    {
        m_Cells.SetText(nRow, nCol, text);
        return;
    }
    if (!m_pGrid->SetCellType(nRow, nCol, RUNTIME_CLASS(CGridCell))) return;
    CGridCellBase* pCell = m_pGrid->GetCell(nRow, nCol);
    pCell->SetFormat(kTextFormat);
    pCell->SetText(text);
}

void CGridView::SetLabelCell(int nRow, int nCol, const CString& prefix, int number)
{
    if (m_bLazy) return m_Cells.SetLabel(nRow, nCol, prefix, number);
    SetTextCell(nRow, nCol, CTableCells::LabelOf(prefix, number));
}

void CGridView::FinishTable()
{
    if (!m_pGrid) return;
    if (m_bLazy)
    {
        // The rows made while the table was built (the caption row, if it was painted before its
        // captions were set) are made afresh from the table.
        if (m_pGrid->GetSafeHwnd()) m_pGrid->ForgetMadeRows();
        // Written in one go, the table shows its rows now that they hold their data; filled in slices,
        // those filled so far.
        if (!IsDrawing())
        {
            m_nRowsFilled = m_nRows;
            m_pGrid->SetRowCount(m_nRows);
        }
    }
    MeasureColumns();
}

void CGridView::MeasureColumns()
{
    if (!m_pGrid || !m_pGrid->GetSafeHwnd()) return;
    // Empty cells (the corner, values a result lacks) would measure as a default-sized cell.
    m_vTextWidths.assign(static_cast<size_t>(m_nCols), 0);
    CDC* pDC = m_pGrid->GetDC();
    if (!pDC) return;
    if (m_bLazy)
    {
        m_vTextWidths = m_Cells.TextWidths(*m_pGrid, pDC);
        m_pGrid->ReleaseDC(pDC);
        for (int col = 0; col < m_nCols; col++)
        {
            int& width = m_vTextWidths[static_cast<size_t>(col)];
            if (width == 0) width = m_pGrid->GetColumnWidth(col);
        }
        FitColumns();
        return;
    }
    const int nRows = m_pGrid->GetRowCount();
    for (int col = 0; col < m_nCols; col++)
    {
        int& width = m_vTextWidths[static_cast<size_t>(col)];
        for (int row = 0; row < nRows; row++)
        {
            CGridCellBase* pCell = m_pGrid->GetCell(row, col);
            if (pCell && pCell->GetText() && pCell->GetText()[0])
                width = std::max(width, static_cast<int>(pCell->GetCellExtent(pDC).cx));
        }
        if (width == 0) width = m_pGrid->GetColumnWidth(col);
    }
    m_pGrid->ReleaseDC(pDC);
    FitColumns();
}

void CGridView::FitColumns()
{
    if (!m_pGrid || !m_pGrid->GetSafeHwnd() || m_vTextWidths.size() != static_cast<size_t>(m_pGrid->GetColumnCount()))
        return;
    int total = 0;
    for (size_t col = 0; col < m_vTextWidths.size(); col++)
    {
        m_pGrid->SetColumnWidth(static_cast<int>(col), m_vTextWidths[col]);
        total += m_vTextWidths[col];
    }
    CRect client;
    m_pGrid->GetClientRect(&client);
    // Only the data columns grow, so the row numbers keep a narrow column.
    if (total < client.Width())
        m_pGrid->ExpandColumnsToFit(FALSE);
    else
    {
        m_pGrid->Refresh();
        m_pGrid->ResetScrollBars();
    }
}

// ---- A large table filled in slices ------------------------------------------------------------

void CGridView::FillRows(RowFiller fill)
{
    m_fnFillRows = std::move(fill);
    m_nRowsFilled = m_nFixedRows;
    const std::int64_t cells = static_cast<std::int64_t>(m_nRows - m_nFixedRows) * std::max(0, m_nCols - m_nFixedCols);
    // A small table, and one without a window (no message loop to come back from), is filled at once;
    // FinishTable shows its rows.
    if (cells <= kCellsAtOnce || !GetSafeHwnd() || !m_pGrid || !m_pGrid->GetSafeHwnd())
    {
        const RowFiller whole = std::move(m_fnFillRows);
        m_fnFillRows = nullptr;
        if (m_nRows > m_nFixedRows) whole(m_nFixedRows, m_nRows);
        m_nRowsFilled = m_nRows;
        return;
    }
    // The window opens with its captions, the rows coming from the next turn on.
    PostFillSlice();
}

bool CGridView::DrawSlice()
{
    if (!m_fnFillRows) return true;
    const DWORD start = GetTickCount();
    const int rowsAPart = std::max(1, kCellsAPart / std::max(1, m_nCols));
    // No more cells than a table filled at once: however fast the machine, a table of many times that
    // comes in as many slices, the window answering between them.
    const int dataCols = std::max(1, m_nCols - m_nFixedCols);
    const int rowsASlice = static_cast<int>(std::max<std::int64_t>(rowsAPart, kCellsAtOnce / dataCols));
    const int sliceEnd = m_nRowsFilled + std::min(rowsASlice, m_nRows - m_nRowsFilled);
    do {
        const int end = std::min(sliceEnd, m_nRowsFilled + rowsAPart);
        m_fnFillRows(m_nRowsFilled, end);
        m_nRowsFilled = end;
    } while (m_nRowsFilled < sliceEnd && GetTickCount() - start < kSliceMs);
    const bool whole = m_nRowsFilled >= m_nRows;
    if (whole) m_fnFillRows = nullptr;
    if (m_pGrid) m_pGrid->SetRowCount(m_nRowsFilled);
    // The widths of the whole table are those of a table built in one go.
    if (whole) MeasureColumns();
    ShowFillProgress(whole);
    return whole;
}

void CGridView::FinishDrawing()
{
    if (!IsDrawing()) return;
    if (GetSafeHwnd())
        qor::gui::RunStepsOnWindowThread([this] { return DrawSlice(); });
    else
        while (!DrawSlice())
        {}
}

void CGridView::PostFillSlice()
{
    if (!m_bFillPosted) m_bFillPosted = PostMessage(WM_FILLPENDING) != FALSE;
    if (!m_bFillPosted) FinishDrawing();
}

LRESULT CGridView::OnFillPending(WPARAM, LPARAM)
{
    m_bFillPosted = false;
    if (!IsDrawing()) return 0;
    try
    {
        DrawSlice();
    }
    catch (const std::bad_alloc&)
    {
        // No half-filled table stays: the window goes, saying why.
        m_fnFillRows = nullptr;
        ShowFillProgress(true);
        if (CFrameWnd* pFrame = GetParentFrame()) pFrame->PostMessage(WM_CLOSE);
        AfxMessageBox(L"There is not enough memory for it.", MB_OK | MB_ICONERROR);
        return 0;
    }
    // Posted again behind what came meanwhile: paints, clicks and keys go first.
    if (IsDrawing()) PostFillSlice();
    return 0;
}

void CGridView::ShowFillProgress(bool bDone)
{
    CFrameWnd* pMain = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    auto* pBar = pMain ? DYNAMIC_DOWNCAST(CMFCStatusBar, pMain->GetDlgItem(AFX_IDW_STATUS_BAR)) : nullptr;
    if (bDone)
    {
        if (m_sStatusShown.IsEmpty()) return;
        // Ready again once the last row is in, unless something else has spoken since.
        CString ready;
        if (!ready.LoadString(AFX_IDS_IDLEMESSAGE)) ready = L"Ready";
        if (pBar && pBar->GetPaneText(0) == m_sStatusShown) pBar->SetPaneText(0, ready);
        m_sStatusShown.Empty();
        return;
    }
    if (!pBar) return;
    m_sStatusShown.Format(L"Filling the table: %d of %d rows", m_nRowsFilled - m_nFixedRows, m_nRows - m_nFixedRows);
    pBar->SetPaneText(0, m_sStatusShown);
}
