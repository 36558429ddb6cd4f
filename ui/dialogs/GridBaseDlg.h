// CGridBaseDlg: what the dialogs and pages that edit a table of numbers in an embedded grid
// share: shaping the grid, numeric cells, row numbers, read-only cells and the row menu.
#pragma once

#include "controls/grid/GridCellNumeric.h"
#include "controls/grid/GridCtrl.h"
#include "platform/gui/Afx.h"

#include <vector>

// Usage: a dialog or page derives from CDialogWithGridBase / CPropPageWithGridBase, binds
// m_Grid to the template's "MFCGridCtrl" custom control in DoDataExchange, sets the data
// counts and headings before the window is made, maps the grid's NM_RCLICK to a handler
// that calls OnGridRClick, and writes its data in FillGrid.
class CGridBaseDlg
{
public:
    // Cell format of every heading, row number and value: centred on one line, no prefix,
    // ellipsis at the end.
    static constexpr DWORD kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    // Numeric cells take real numbers, negative ones included.
    static constexpr int kNumericFlags = CGridCellNumeric::Decimals | CGridCellNumeric::Negative;
    static constexpr COLORREF kReadOnlyBackground = RGB(210, 210, 210);

    CGridBaseDlg();
    virtual ~CGridBaseDlg();
    CGridBaseDlg(const CGridBaseDlg&) = delete;
    CGridBaseDlg& operator=(const CGridBaseDlg&) = delete;

    // Asks before deleting a data row of the grid; TRUE only when a row was deleted.
    // Owners override it to remove the matching item from their data after this base.
    virtual BOOL DeleteRow(int row);
    // Writes the owner's data into the cells.
    virtual void FillGrid() = 0;

    // Counts, fixed header row and column, grid options, headings and row numbers. FALSE
    // after running out of memory (the user has been told).
    BOOL SetupGrid(CGridCtrl* grid, int dataRows, int dataCols, std::vector<CString>* headings);
    void SetColumnHeadings(CGridCtrl* grid, int dataCols, std::vector<CString>* headings);
    void NumberRows();
    void MakeCellsNumeric(CGridCtrl* grid, int dataRows, int dataCols);
    void MakeRowNumeric(CGridCtrl* grid, int row, int dataCols);
    // Numbers and formats a row that was added at the end.
    void FormatNewRow(CGridCtrl* grid, int row, int dataCols);
    void SetCellReadOnly(int row, int col, bool replaceCell);
    void SetCellEditable(int row, int col);

    // The row menu of a right click: "&Delete Row" and "Select &All".
    void OnGridRClick(NM_GRIDVIEW* info, LRESULT* result);

    CGridCtrl& GetGrid() { return m_Grid; }
    // The value of a numeric cell (0.0 for a cell of another kind or outside the grid).
    double GetCellNumber(int row, int col) const;

protected:
    CGridCtrl m_Grid;
    std::vector<CString> m_ColumnHeadings;
    int m_nFixedCols = 1;
    int m_nFixedRows = 1;
    int m_nDataCols = 0;
    int m_nDataRows = 0;
};
