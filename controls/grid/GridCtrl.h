// CGridCtrl: a child window that shows a table of typed cells with fixed header rows and
// columns, scrolling, selection and editing, and reports what the user does to its owner.
//
// The class is implemented across several files:
//   GridCtrl.cpp           construction, window class, cell storage, notifications
//   GridCtrlSizes.cpp      row and column counts, sizes, autosizing, geometry, scroll bars
//   GridCtrlPaint.cpp      painting and scrolling
//   GridCtrlSelection.cpp  item state, the selection, focus cell, editing hand-over
//   GridCtrlImages.cpp     cell images from the image list
#pragma once

#include "platform/gui/Afx.h"

#include "controls/grid/CellRange.h"
#include "controls/grid/CellSelection.h"
#include "controls/grid/GridCell.h"
#include "controls/grid/GridCellBase.h"
#include "controls/grid/TitleTip.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CImageList;

// Window class name of the grid (also the class of the dialogs' custom controls).
#define GRIDCTRL_CLASSNAME _T("MFCGridCtrl")
// Control id of a grid made by Create(rect, parent).
#define IDC_GRIDCTRL 100
// Control id of every in-place editor window.
#define IDC_INPLACE_CONTROL 8

// Grid lines
#define GVL_NONE 0
#define GVL_HORZ 1
#define GVL_VERT 2
#define GVL_BOTH 3

// Autosize styles: which rows measuring a column takes.
#define GVS_DEFAULT 0
#define GVS_HEADER 1
#define GVS_DATA 2
#define GVS_BOTH 3

// Notification codes (WM_NOTIFY with an NMGRIDCELL record).
#define GVN_SELCHANGING (0u - 100u)
#define GVN_SELCHANGED (0u - 101u)
#define GVN_BEGINLABELEDIT (0u - 175u)
#define GVN_ENDLABELEDIT (0u - 176u)
#define GVN_CLICK NM_CLICK
#define GVN_DBLCLK NM_DBLCLK
#define GVN_RCLICK NM_RCLICK
#define GN_ROWADDED 0x120u

// The record of a grid notification: which cell it is about.
struct NMGRIDCELL
{
    NMHDR hdr;
    int iRow;
    int iColumn;
};
using NM_GRIDVIEW = NMGRIDCELL;

namespace qor::grid {
// The system's message font (falls back to the default GUI font).
BOOL GetMessageFont(LOGFONT* plf);

// A key of a cell for maps of cells; distinct for every pair of non-negative row and column
// numbers.
inline std::uint64_t SelectionKey(int row, int col)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) |
           static_cast<std::uint64_t>(static_cast<std::uint32_t>(row));
}

// Spreads the difference between the client width and the sum of all widths over the
// non-hidden columns from nFirstColumn on: each gets an equal share, the remainder goes
// one pixel at a time from nFirstColumn rightwards (hidden columns use up a pixel but do
// not change). A column that is shown never becomes narrower than one pixel. Nothing
// changes when no column from nFirstColumn on is shown or the client has no width.
// Returns whether anything was done.
BOOL SpreadColumnWidths(std::vector<UINT>& widths, int nFirstColumn, int nClientWidth);
} // namespace qor::grid

// ---- Mouse, keyboard, selection and editing ------------------------------------------------
// (GridCtrlMouse.cpp, GridCtrlKeys.cpp, GridCtrlSelection.cpp, GridCellEdit.cpp)

#ifndef WM_IMECHAR
#define WM_IMECHAR 0x0286u
#endif

// What a cell item record carries (GV_ITEM::mask).
#define GVIF_TEXT 0x0001u
#define GVIF_IMAGE 0x0002u
#define GVIF_PARAM 0x0004u
#define GVIF_STATE 0x0008u

// One cell's properties as an in-place editor reports them.
struct GV_ITEM
{
    int row = -1, col = -1;
    UINT mask = 0;
    UINT nState = 0;
    DWORD nFormat = 0;
    int iImage = -1;
    COLORREF crBkClr = CLR_DEFAULT_GRID;
    COLORREF crFgClr = CLR_DEFAULT_GRID;
    LPARAM lParam = 0; // for the end of an edit: the key that ended it
    UINT nMargin = 0;
    CString strText;
};

// The record of an editor's end-label-edit notification (code GVN_ENDLABELEDIT, from the
// editor's window with id IDC_INPLACE_CONTROL) to the grid.
struct GV_DISPINFO
{
    NMHDR hdr;
    GV_ITEM item;
};
// ---- end of mouse, keyboard, selection and editing -----------------------------------------

// ---- Clipboard, drag and drop, printing and saving ------------------------------------------
// (GridCtrlClipboard.cpp, GridCtrlPrint.cpp)

#include <utility>

using CLIPFORMAT = UINT;
using DROPEFFECT = DWORD;
#define DROPEFFECT_NONE 0u
#define DROPEFFECT_COPY 1u
#define DROPEFFECT_MOVE 2u
#define DROPEFFECT_LINK 4u
#define DROPEFFECT_SCROLL 0x80000000u

class CGridCtrl;

// Data offered for a transfer: blocks of memory (GlobalAlloc) by clipboard format.
class COleDataSource
{
public:
    COleDataSource() = default;
    virtual ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Keeps hGlobal (owned from now on) as the data of the format, replacing earlier data.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal);
    // The block kept for the format (still owned by the source), or nullptr.
    HGLOBAL GetCachedData(CLIPFORMAT cfFormat) const;
    void Empty();
    // Puts the data on the clipboard, which owns the source from then on: the caller must
    // not use or delete it afterwards.
    void SetClipboard();

private:
    std::vector<std::pair<CLIPFORMAT, HGLOBAL>> m_items;
};

// Data received from a transfer; here only ever the clipboard.
class COleDataObject
{
public:
    COleDataObject() = default;
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    BOOL AttachClipboard();
    void Release();
    BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
    // A copy of the data in a new block that the caller frees (GlobalFree); nullptr when none.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const;

private:
    BOOL m_bClipboard = FALSE;
};

// A window's drop target. This program has no OLE drag and drop: registering only
// remembers the window, and the system never calls the target.
class COleDropTarget
{
public:
    COleDropTarget() = default;
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    BOOL Register(CWnd* pWnd);
    virtual void Revoke();
    virtual DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
    virtual DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
    virtual BOOL OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
    virtual DROPEFFECT OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint)
    {
        return static_cast<DROPEFFECT>(-1);
    }
    virtual void OnDragLeave(CWnd*) {}
    virtual DROPEFFECT OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

protected:
    HWND m_hWnd = nullptr;
};

// The grid's drop target: forwards what happens over the grid's window to the grid.
class CGridDropTarget : public COleDropTarget
{
public:
    CGridDropTarget() = default;
    ~CGridDropTarget() override;

    // FALSE when already registered, while another registration runs, or without a grid.
    BOOL Register(CGridCtrl* pGridCtrl);
    BOOL IsRegistered() const { return m_bRegistered; }

    void Revoke() override;
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    // Never asks for scrolling: the grid does not scroll during a drag.
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

protected:
    BOOL IsGridWindow(const CWnd* pWnd) const;

    CGridCtrl* m_pGridCtrl = nullptr;
    BOOL m_bRegistered = FALSE;
};
// ---- end of clipboard, drag and drop, printing and saving -----------------------------------

class CGridCtrl : public CWnd
{
    DECLARE_DYNCREATE(CGridCtrl)
    friend class CGridCell;
    friend class CGridCellBase;

public:
    using GRID_ROW = std::vector<CGridCellBase*>;

    // Mouse modes
    enum eMouseModes
    {
        MOUSE_NOTHING = 0,
        MOUSE_SELECT_ALL = 1,
        MOUSE_SELECT_COL = 2,
        MOUSE_SELECT_ROW = 3,
        MOUSE_SELECT_CELLS = 4,
        MOUSE_SCROLLING_CELLS = 5,
        MOUSE_OVER_ROW_DIVIDE = 6,
        MOUSE_SIZING_ROW = 7,
        MOUSE_OVER_COL_DIVIDE = 8,
        MOUSE_SIZING_COL = 9,
        MOUSE_PREPARE_EDIT = 10,
        MOUSE_PREPARE_DRAG = 11,
        MOUSE_DRAGGING = 12
    };

    CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~CGridCtrl() override;

    using CWnd::Create;
    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID = IDC_GRIDCTRL,
                DWORD dwStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);

    // ---- Counts ------------------------------------------------------------------------
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    BOOL SetRowCount(int nRows = 10);
    BOOL SetColumnCount(int nCols = 10);
    BOOL SetFixedRowCount(int nFixedRows = 1);
    BOOL SetFixedColumnCount(int nFixedCols = 1);

    // ---- Sizes -------------------------------------------------------------------------
    int GetRowHeight(int nRow) const;
    BOOL SetRowHeight(int row, int height);
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    long GetVirtualWidth() const;
    long GetVirtualHeight() const;

    BOOL AutoSizeColumn(int nCol, UINT nAutoSizeStyle = GVS_DEFAULT, BOOL bResetScroll = TRUE);
    BOOL AutoSizeRow(int nRow, BOOL bResetScroll = TRUE);
    void AutoSizeColumns(UINT nAutoSizeStyle = GVS_DEFAULT);
    void ExpandColumnsToFit(BOOL bExpandFixed = TRUE);
    void SetAutoSizeStyle(UINT nStyle = GVS_BOTH) { m_nAutoSizeColumnStyle = nStyle; }
    UINT GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }

    // ---- Options and colours -----------------------------------------------------------
    void SetGridBkColor(COLORREF clr) { m_crGridBackClr = clr; }
    COLORREF GetGridBkColor() const { return m_crGridBackClr; }
    void SetGridLineColor(COLORREF clr) { m_crGridLineClr = clr; }
    COLORREF GetGridLineColor() const { return m_crGridLineClr; }
    void SetTitleTipBackClr(COLORREF clr = CLR_DEFAULT_GRID) { m_crTipBackClr = clr; }
    COLORREF GetTitleTipBackClr() const { return m_crTipBackClr; }
    void SetTitleTipTextClr(COLORREF clr = CLR_DEFAULT_GRID) { m_crTipTextClr = clr; }
    COLORREF GetTitleTipTextClr() const { return m_crTipTextClr; }

    void SetGridLines(int nWhichLines = GVL_BOTH);
    int GetGridLines() const { return m_nGridLines; }
    void SetEditable(BOOL bEditable = TRUE) { m_bEditable = bEditable; }
    BOOL IsEditable() const { return m_bEditable; }
    void SetListMode(BOOL bEnableListMode = TRUE);
    BOOL GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(BOOL bSing = TRUE) { m_bSingleRowSelection = bSing; }
    BOOL GetSingleRowSelection() const { return m_bSingleRowSelection && m_bListMode; }
    void SetSingleColSelection(BOOL bSing = TRUE) { m_bSingleColSelection = bSing; }
    BOOL GetSingleColSelection() const { return m_bSingleColSelection; }
    void EnableSelection(BOOL bEnable = TRUE);
    BOOL IsSelectable() const { return m_bEnableSelection; }
    void SetFixedColumnSelection(BOOL bSelect) { m_bFixedColumnSelection = bSelect; }
    BOOL GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetFixedRowSelection(BOOL bSelect) { m_bFixedRowSelection = bSelect; }
    BOOL GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetHandleTabKey(BOOL bHandleTab = TRUE) { m_bHandleTabKey = bHandleTab; }
    BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetDoubleBuffering(BOOL bBuffer = TRUE) { m_bDoubleBuffer = bBuffer; }
    BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void EnableTitleTips(BOOL bEnable = TRUE) { m_bTitleTips = bEnable; }
    BOOL GetTitleTips() const { return m_bTitleTips; }
    void SetTrackFocusCell(BOOL bTrack) { m_bTrackFocusCell = bTrack; }
    BOOL GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetFrameFocusCell(BOOL bFrame) { m_bFrameFocusCell = bFrame; }
    BOOL GetFrameFocusCell() const { return m_bFrameFocusCell; }
    void SetRowResize(BOOL bResize = TRUE) { m_bAllowRowResize = bResize; }
    BOOL GetRowResize() const { return m_bAllowRowResize; }
    void SetColumnResize(BOOL bResize = TRUE) { m_bAllowColumnResize = bResize; }
    BOOL GetColumnResize() const { return m_bAllowColumnResize; }
    void SetTabAddsRow(BOOL bAdds = TRUE) { m_bTabAddsRow = bAdds; }
    BOOL GetTabAddsRow() const { return m_bTabAddsRow; }
    void SetPasteAddsRows(BOOL bAdds = TRUE) { m_bPasteAddsRows = bAdds; }
    void SetPasteAddsColumns(BOOL bAdds = TRUE) { m_bPasteAddsColumns = bAdds; }
    void SetShadedPrintOut(BOOL bEnable = TRUE) { m_bShadedPrintOut = bEnable; }
    BOOL GetShadedPrintOut() const { return m_bShadedPrintOut; }
    // A default cell's colour as it prints: one that follows the screen's window text (bText), window or 3D
    // face colour is that colour of paper, the same in every look; a colour the program set stays.
    COLORREF GetPaperColour(COLORREF clr, BOOL bText) const;
    // Below 1 while printing columns whose texts measure wider on paper than on the screen.
    double GetPrintTextScale() const { return m_dPrintTextScale; }
    void SetImageList(CImageList* pList) { m_pImageList = pList; }
    CImageList* GetImageList() const { return m_pImageList; }
    UINT GetMouseScrollLines();

    // Turns drawing off or on again (with a repaint), optionally resetting the scroll bars.
    void SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars = FALSE);
    BOOL IsDrawAllowed() const { return m_bAllowDraw; }

    BOOL GetModified() const { return m_bModified; }
    void SetModified(int nRow = -1, int nCol = -1);

    BOOL IsVisibleVScroll() const { return (m_nBarState & GVL_VERT) != 0; }
    BOOL IsVisibleHScroll() const { return (m_nBarState & GVL_HORZ) != 0; }

    // ---- Cells -------------------------------------------------------------------------
    CGridCellBase* GetCell(int nRow, int nCol) const;
    BOOL SetCell(int nRow, int nCol, CGridCellBase* pCell);
    BOOL SetCellType(int nRow, int nCol, CRuntimeClass* pRuntimeClass);
    BOOL SetDefaultCellType(CRuntimeClass* pRuntimeClass);
    CGridDefaultCell* GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const;

    BOOL DeleteRow(int nRow);
    BOOL DeleteAllItems();

    // ---- Rows made when first needed ---------------------------------------------------
    // With a row maker, rows added from then on hold no cells until something asks for one
    // of their cells (painting, a title tip, copying, printing, saving): the row then gets
    // its cells (CreateCell) and fnFillRow(nRow) fills them. A table of a million rows then
    // costs what is shown of it. An empty function ends it (rows already made stay).
    void SetRowMaker(std::function<void(int nRow)> fnFillRow);
    BOOL HasRowMaker() const { return m_fnFillRow != nullptr; }
    // Whether the row holds its cells.
    BOOL IsRowMade(int nRow) const;
    // Every made row lets its cells go (the selection goes with them); each is made and filled
    // afresh when next needed.
    void ForgetMadeRows();
    // With a text reader, copying, saving and autosizing take the texts from it and make no row:
    // fnText(nRow, nCol) is the text the cell shows, fnWidth(nCol, nFirstRow, nLastRow, pDC) the
    // width of the widest cell of those rows of the column as its cells measure them (-1: measure
    // the cells). It is for a grid whose cells are not edited: a large copy or save runs on a worker
    // thread while the window thread only paints, and calls fnText there.
    // fnWriter, where given, makes for each large copy or save (on this thread, before the worker
    // starts) a writer that appends a cell's text as UTF-8, the very bytes of fnText(...).ToUtf8(),
    // without a wide text between: the worker calls it in place of fnText.
    using CellTextWriter = std::function<void(int nRow, int nCol, std::string& out)>;
    void SetTextReader(std::function<CString(int nRow, int nCol)> fnText,
                       std::function<int(int nCol, int nFirstRow, int nLastRow, CDC* pDC)> fnWidth = nullptr,
                       std::function<CellTextWriter()> fnWriter = nullptr);
    // For a table whose owner adds its rows as it fills them (a large one, filled in slices from the
    // message loop): what brings in the rows still to come, at once. The grid calls it before it acts
    // on whole columns (Select All, a column selected, a save, a print), so that they take the whole
    // table and never a part of it; a selection of the rows there reads only what is there.
    void SetRowsToCome(std::function<void()> fnBringAll) { m_fnBringAll = std::move(fnBringAll); }
    // Told how far a long copy or save has come ("Copying: 40%"), and nullptr when it has ended.
    void SetProgressHandler(std::function<void(LPCTSTR szProgress)> fnProgress)
    {
        m_fnProgress = std::move(fnProgress);
    }
    CString GetItemText(int nRow, int nCol) const;
    BOOL SetItemText(int nRow, int nCol, LPCTSTR str);
    BOOL SetItemState(int nRow, int nCol, UINT state);
    UINT GetItemState(int nRow, int nCol) const;

    BOOL IsValid(int nRow, int nCol) const;
    BOOL IsValid(const CCellID& cell) const;
    BOOL IsValid(const CCellRange& range) const;

    // ---- Selection and focus -----------------------------------------------------------
    CCellID GetFocusCell() const { return m_FocusCell; }
    CCellID SetFocusCell(CCellID cell);
    CCellID SetFocusCell(int nRow, int nCol);
    BOOL IsCellSelected(int nRow, int nCol) const;
    BOOL IsCellSelected(CCellID cell) const { return IsCellSelected(cell.row, cell.col); }
    BOOL IsCellEditable(const CCellID& cell) const;
    BOOL IsCellEditable(int nRow, int nCol) const;
    CCellRange GetSelectedCellRange() const;
    int GetSelectedCount() const;
    void SetSelectedRange(const CCellRange& Range, BOOL bForceRepaint = FALSE, BOOL bSelectCells = TRUE);
    void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint = FALSE,
                          BOOL bSelectCells = TRUE);
    void ResetSelectedRange();
    void EndEditing();

    // ---- Geometry ----------------------------------------------------------------------
    BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p);
    BOOL GetCellOrigin(const CCellID& cell, LPPOINT p) { return GetCellOrigin(cell.row, cell.col, p); }
    BOOL GetCellRect(int nRow, int nCol, LPRECT pRect);
    BOOL GetCellRect(const CCellID& cell, LPRECT pRect) { return GetCellRect(cell.row, cell.col, pRect); }
    CPoint GetPointClicked(int nRow, int nCol, const CPoint& point);
    CCellID GetTopleftNonFixedCell(BOOL bForceRecalculation = FALSE);
    CCellID GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck = TRUE);
    CCellRange GetVisibleNonFixedCellRange(LPRECT pRect = nullptr, BOOL bForceRecalculation = FALSE);
    CCellRange GetVisibleFixedCellRange(LPRECT pRect = nullptr, BOOL bForceRecalculation = FALSE);
    BOOL IsCellVisible(int nRow, int nCol);
    BOOL IsCellVisible(CCellID cell) { return IsCellVisible(cell.row, cell.col); }
    void EnsureVisible(int nRow, int nCol);
    void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.row, cell.col); }
    BOOL InvalidateCellRect(int row, int col);
    BOOL InvalidateCellRect(const CCellID& cell) { return InvalidateCellRect(cell.row, cell.col); }
    void Refresh();
    BOOL MouseOverRowResizeArea(const CPoint& point);
    BOOL MouseOverColumnResizeArea(const CPoint& point);

    // Shows or hides the scroll bars and sets their ranges from the sizes and the client area.
    void ResetScrollBars();
    int GetScrollPos32(int nBar, BOOL bGetTrackPos = FALSE);
    BOOL SetScrollPos32(int nBar, int nPos, BOOL bRedraw = TRUE);

    // ---- Painting ----------------------------------------------------------------------
    BOOL PaintCell(int nRow, int nCol, CDC* pDC = nullptr);
    BOOL RedrawCell(int nRow, int nCol, CDC* pDC = nullptr) { return PaintCell(nRow, nCol, pDC); }
    BOOL RedrawCell(const CCellID& cell, CDC* pDC = nullptr) { return PaintCell(cell.row, cell.col, pDC); }
    BOOL RedrawRow(int row);
    BOOL RedrawColumn(int col);

    // ---- Notifications -----------------------------------------------------------------
    // Sends WM_NOTIFY with an NMGRIDCELL record to the owner (or the parent); its result.
    LRESULT SendMessageToParent(int nRow, int nCol, int nMessage) const;
    // Posts WM_COMMAND (control id, code 0, this window) to the owner (or the parent).
    BOOL PostCommandToParent() const;

    // Image list support for the cells.
    BOOL GetImageSize(int nImage, CSize& size) const;
    void DrawImage(CDC* pDC, int nImage, CPoint point) const;

    virtual void OnDraw(CDC* pDC);

protected:
    BOOL RegisterWindowClass();
    void PreSubclassWindow() override;

    virtual CGridCellBase* CreateCell(int nRow, int nCol);
    virtual void DestroyCell(int nRow, int nCol);
    // The cells of a row that the row maker has not made yet: made and filled now.
    GRID_ROW* MakeRow(int nRow) const;
    // A made row lets its cells go (a row maker makes it again when needed).
    void ForgetRow(int nRow);
    // The texts of the columns cols of row nRow, into texts. On a worker (bWorker) only through the
    // text reader; here from the made cells, else the reader, else from cells made for the moment.
    void ReadRowTexts(int nRow, const std::vector<int>& cols, bool bWorker, std::vector<CString>& texts) const;
    // Brings in the rows still to come (SetRowsToCome), before whole columns are taken.
    void BringAllRows();
    // Whether a copy or save of nCells cells goes to a worker thread (a large one with a text reader).
    bool IsWorkerJob(std::int64_t nCells) const;
    // The bytes of rows nFirstRow..nLastRow (nCells cells) in order: rowText(nRow, bWorker, out)
    // appends a row's bytes to out, sink(bytes) takes them a block at a time (false: stop), then
    // finish() puts them together. A large table with a text reader is done on a worker thread
    // (bWorker) while the window thread paints, and after a second the progress handler is told
    // "<szDoing>: n%". False when the sink stopped it.
    bool WriteRowsText(int nFirstRow, int nLastRow, std::int64_t nCells, LPCTSTR szDoing,
                       const std::function<void(int nRow, bool bWorker, std::string& out)>& rowText,
                       const std::function<bool(std::string& bytes)>& sink,
                       const std::function<void()>& finish = nullptr);
    // Sets the state of a cell joining or leaving the fixed area; it takes the default colours.
    void SetFixedItemState(int nRow, int nCol, UINT nState);

    void EraseBkgnd(CDC* pDC);
    // Draws the cells of rows nMinRow..nMaxRow by columns nMinCol..nMaxCol, the first cell's
    // top-left pixel at origin; hidden rows and columns take no room. With pClip, cells
    // wholly outside it are passed over.
    void DrawCells(CDC* pDC, int nMinRow, int nMaxRow, int nMinCol, int nMaxCol, CPoint origin, const CRect* pClip);
    void EnableScrollBars(int nBar, BOOL bEnable = TRUE);
    // Hides the title tip (if one is shown) before the cells move.
    void HideTitleTip();
    // Shows the title tip over the cell when its tip text does not fit in it.
    void ShowTitleTipFor(const CCellID& cell);

    // Message handlers
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // The work of OnHScroll (nBar SB_HORZ) and OnVScroll (SB_VERT).
    void Scroll(int nBar, UINT nSBCode);

    // Columns and rows work alike; bHorz picks the columns.
    // The width of column nIndex (bHorz) or the height of row nIndex.
    int GetLineSize(BOOL bHorz, int nIndex) const;
    // The column (bHorz) or row at client coordinate nPos, nTopLeft being the first non-fixed
    // one shown; -1 when there is none (or it is fixed and fixed cells are not allowed).
    int GetLineFromPos(BOOL bHorz, int nPos, int nTopLeft, BOOL bAllowFixedCellCheck) const;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnSysColorChange();
    LRESULT OnSetFont(WPARAM hFont, LPARAM lParam);
    LRESULT OnGetFont(WPARAM hFont, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

protected:
    // Colours and options
    COLORREF m_crGridBackClr;
    COLORREF m_crGridLineClr;
    COLORREF m_crWindowTextClr, m_crWindowClr, m_cr3DFaceClr, m_crShadowClr;
    COLORREF m_crTipBackClr, m_crTipTextClr;
    int m_nGridLines = GVL_BOTH;
    BOOL m_bEditable = TRUE;
    BOOL m_bModified = FALSE;
    BOOL m_bAllowDragAndDrop = FALSE;
    BOOL m_bListMode = FALSE;
    BOOL m_bSingleRowSelection = FALSE;
    BOOL m_bSingleColSelection = FALSE;
    BOOL m_bAllowDraw = TRUE;
    BOOL m_bEnableSelection = TRUE;
    BOOL m_bFixedColumnSelection = TRUE;
    BOOL m_bFixedRowSelection = TRUE;
    BOOL m_bSortOnClick = FALSE;
    BOOL m_bHandleTabKey = TRUE;
    BOOL m_bDoubleBuffer = TRUE;
    BOOL m_bTitleTips = TRUE;
    int m_nBarState = 0;
    BOOL m_bScaledPrinting = FALSE;
    BOOL m_bReopenHiddenColumns = TRUE;
    BOOL m_bReopenHiddenRows = TRUE;
    BOOL m_bAllowColHide = TRUE;
    BOOL m_bAllowRowHide = TRUE;
    BOOL m_bTrackFocusCell = TRUE;
    BOOL m_bFrameFocusCell = TRUE;
    UINT m_nAutoSizeColumnStyle = GVS_BOTH;
    BOOL m_bTabAddsRow = FALSE;
    BOOL m_bPasteAddsRows = FALSE;
    BOOL m_bPasteAddsColumns = FALSE;
    CString m_strPrintTitle;
    CString m_strPrintRightTitle;

    // Cells and sizes
    int m_nRows = 0, m_nFixedRows = 0, m_nCols = 0, m_nFixedCols = 0;
    std::vector<UINT> m_arRowHeights;
    std::vector<UINT> m_arColWidths;
    int m_nVScrollMax = 0, m_nHScrollMax = 0;
    CRuntimeClass* m_pCellClass;
    CGridDefaultCell m_DefaultCell, m_DefaultFixedColCell, m_DefaultFixedRowCell, m_DefaultFixedCell;
    CFont m_PrinterFont;
    double m_dPrintTextScale = 1.0;
    CImageList* m_pImageList = nullptr;
    std::vector<GRID_ROW*> m_Rows;
    std::function<void(int)> m_fnFillRow;
    std::function<CString(int, int)> m_fnText;
    std::function<int(int, int, int, CDC*)> m_fnWidth;
    std::function<CellTextWriter()> m_fnWriter;
    std::function<void(LPCTSTR)> m_fnProgress;
    std::function<void()> m_fnBringAll;

    // Mouse and selection state
    int m_MouseMode = MOUSE_NOTHING;
    BOOL m_bLMouseButtonDown = FALSE, m_bRMouseButtonDown = FALSE;
    CPoint m_LeftClickDownPoint, m_LastMousePoint;
    CCellID m_LeftClickDownCell, m_SelectionStartCell, m_FocusCell, m_TopLeftCell;
    UINT_PTR m_nTimerID = 0;
    int m_nTimerInterval = 25;
    int m_nResizeCaptureRange = 3;
    BOOL m_bAllowRowResize = TRUE, m_bAllowColumnResize = TRUE;
    UINT m_nWheelLines = 3;
    // The selected cells, held as ranges, and those kept selected while a Ctrl-drag adds to them.
    CCellSelection m_SelectedCellMap, m_PrevSelectedCellMap;
    // Shows the whole text of a cell too narrow for it (GridCtrlMouse.cpp).
    CTitleTip m_TitleTip;

    // Printing
    BOOL m_bShadedPrintOut = TRUE;
    int m_nHeaderHeight = 2, m_nFooterHeight = 2, m_nLeftMargin = 4, m_nRightMargin = 4, m_nTopMargin = 1,
        m_nBottomMargin = 1, m_nGap = 1;

    // Display order of the columns: display index -> stored index.
    std::vector<int> m_arColOrder;

    // ---- Mouse, keyboard, selection and editing ---------------------------------------------
    // (GridCtrlMouse.cpp, GridCtrlKeys.cpp, GridCtrlSelection.cpp, GridCellEdit.cpp)
public:
    // Selections made as the mouse or the keys make them, from the anchor
    // (m_SelectionStartCell) to the given cell.
    void SelectAllCells();
    void SelectColumns(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    void SelectRows(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    void SelectCells(CCellID currentCell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    // Extends the selection to the cell as the current mouse mode says.
    void OnSelecting(const CCellID& currentCell);
    int GetMouseMode() const { return m_MouseMode; }
    CCellID GetSelectionStartCell() const { return m_SelectionStartCell; }

    // Starts an edit of the cell (nChar: the key that started it, VK_LBUTTON for the mouse).
    virtual void OnEditCell(int nRow, int nCol, CPoint point, UINT nChar);
    // Takes the text of a finished edit into the cell and tells the owner. A numeric editor that
    // still holds back keys after a refused one changes nothing: the owner is told (GVN_ENDLABELEDIT,
    // with the editor still in the cell's GetEditWnd) so that it can refuse the edit with a message
    // as for a number out of range (answer -1); when it does not, the grid says what was typed.
    virtual void OnEndEditCell(int nRow, int nCol, CString str);
    BOOL ValidateEdit(int nRow, int nCol, LPCTSTR str);
    // A picture of the focus cell (owned by the caller); null when none can be made.
    CImageList* CreateDragImage(CPoint* pHotSpot);

protected:
    // Clicks on header cells: select the column (row), or everything from the corner.
    virtual void OnFixedRowClick(CCellID& cell);
    virtual void OnFixedColumnClick(CCellID& cell);

    // Whether the client point lies in the text rectangle of the cell.
    BOOL IsPointInCellText(const CCellID& cell, CPoint point);
    // Inverts the two-pixel resize band: vertical at x (bHorz, a column border) or
    // horizontal at y, over the whole client area.
    void InvertResizeBand(BOOL bHorz, CPoint point);
    // The button went down on a column (bHorz) or row border: picks the line, draws the band.
    void BeginResize(BOOL bHorz, CPoint point);
    // The button came up after a border drag: sets the new width (height).
    void EndResize(BOOL bHorz, CPoint point);
    // A double click on a border autosizes the line left of (above) it.
    BOOL AutoSizeAtBorder(BOOL bHorz, CCellID cell, CPoint point);
    // Sets the mouse mode to over-a-border when the point is on one (column borders first).
    BOOL TrackResizeArea(CPoint point);
    // Starts the auto-scroll timer of a mouse selection.
    void StartSelectionTimer();

    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnCaptureChanged(CWnd* pWnd);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    UINT OnGetDlgCode();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    LRESULT OnImeChar(WPARAM wCharCode, LPARAM lParam);
    void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
    // ---- end of mouse, keyboard, selection and editing --------------------------------------

    // ---- Clipboard, drag and drop, printing and saving --------------------------------------
    // (GridCtrlClipboard.cpp, GridCtrlPrint.cpp)
public:
    // Clipboard. Text goes as CF_TEXT: cells separated by TAB, rows by CR LF.
    virtual void CutSelectedText();
    // The selected cells' text as a data source owned by the caller; null without a selection.
    virtual COleDataSource* CopyTextFromGrid();
    // Pastes text from pDataObject with its first cell at cell; FALSE when nothing can be pasted.
    virtual BOOL PasteTextToGrid(CCellID cell, COleDataObject* pDataObject, BOOL bSelectPastedCells = TRUE);

    // Drag and drop (off: no drag starts, every drop is refused).
    virtual void OnBeginDrag();
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

    // Edit commands (ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL).
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();

    // Sets a cell's text as an edit would: the owner is told (GVN_BEGINLABELEDIT,
    // GVN_ENDLABELEDIT) and may refuse; read-only cells are left alone.
    void EditCellText(int nRow, int nCol, LPCTSTR text);

    // Printing through the print cycle of the hosting view.
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    double PrintTextScale(CDC* pDC);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    void SetScaledPrinting(BOOL bScaled = TRUE) { m_bScaledPrinting = bScaled; }
    BOOL GetScaledPrinting() const { return m_bScaledPrinting; }
    void SetPrintTitle(LPCTSTR title) { m_strPrintTitle = title; }
    CString GetPrintTitle() const { return m_strPrintTitle; }
    void SetPrintRightTitle(LPCTSTR title) { m_strPrintRightTitle = title; }
    CString GetPrintRightTitle() const { return m_strPrintRightTitle; }

    // Writes every cell's text, fixed cells included, one line per row (CR LF), cells
    // separated by chSeparator, after a first line "sep=" + separator; UTF-8, no quoting.
    // Reports a failure in a message box and returns FALSE; a failed save leaves an
    // existing file as it was.
    BOOL Save(LPCTSTR filename, TCHAR chSeparator = _T(';'));

protected:
    virtual void PrintRowCells(int nFirstCol, int nEndCol, int nRow, CRect& rect, CDC* pDC, BOOL& bFirst);
    virtual void PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintRowHeadings(CDC* pDC, CPrintInfo* pInfo);
    // The grid lines of one printed cell; bLeftLine adds the left line.
    void PrintCellLines(CDC* pDC, int nRow, int nCol, const CRect& rect, BOOL bLeftLine);
    // The first non-fixed row (bHorz: column) from nStart on that no longer fits on the page
    // that nStart begins; the count when all fit.
    int NextPrintPageStart(BOOL bHorz, int nStart) const;
    // Pages down (bHorz: across) the non-fixed rows (columns) take.
    int CountPrintPages(BOOL bHorz) const;

    void OnUpdateEditCut(CCmdUI* pCmdUI);
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI);

    CGridDropTarget m_DropTarget;

    CSize m_CharSize{0, 0};
    CSize m_LogicalPageSize{0, 0};
    CSize m_PaperSize{0, 0};
    int m_nPageHeight = 0;
    int m_nPageWidth = 0;
    int m_nPrintColumn = 0;
    int m_nCurrPrintRow = 0;
    int m_nNumPages = 0;
    int m_nPageMultiplier = 0;
    // ---- end of clipboard, drag and drop, printing and saving -------------------------------
};
