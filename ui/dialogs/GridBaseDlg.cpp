// CGridBaseDlg: grid set-up, cell kinds and the row menu shared by the grid-hosting dialogs.
#include "ui/dialogs/GridBaseDlg.h"

#include "controls/grid/GridCellNumeric.h"
#include "platform/core/Errors.h"
#include "platform/gui/frame/Menu.h"
#include "res/LoadModelDialogs.h"

#include <new>

CGridBaseDlg::CGridBaseDlg() = default;

CGridBaseDlg::~CGridBaseDlg() = default;

BOOL CGridBaseDlg::SetupGrid(CGridCtrl* grid, int dataRows, int dataCols, std::vector<CString>* headings)
{
    try
    {
        grid->SetRowCount(m_nFixedRows + dataRows);
        grid->SetColumnCount(m_nFixedCols + dataCols);
        grid->SetFixedRowCount(m_nFixedRows);
        grid->SetFixedColumnCount(m_nFixedCols);
        grid->SetTabAddsRow(TRUE);
        grid->SetPasteAddsRows(TRUE);
        grid->SetPasteAddsColumns(FALSE);
        grid->SetEditable(TRUE);
        grid->SetFixedColumnSelection(TRUE);
        SetColumnHeadings(grid, dataCols, headings);
        grid->ExpandColumnsToFit(TRUE);
    }
    catch (const std::bad_alloc&)
    {
        ::AfxMessageBox(L"Out of memory.", MB_OK | MB_ICONERROR);
        return FALSE;
    }
    return TRUE;
}

void CGridBaseDlg::SetColumnHeadings(CGridCtrl* grid, int dataCols, std::vector<CString>* headings)
{
    for (int col = 0; col < m_nFixedCols + dataCols; ++col)
    {
        if (CGridCellBase* cell = grid->GetCell(0, col)) cell->SetFormat(kCellFormat);
        grid->SetItemText(0, col, qor::At(*headings, col));
        grid->SetModified(0, col);
    }
    NumberRows();
}

void CGridBaseDlg::NumberRows()
{
    CString number;
    for (int row = m_nFixedRows; row < m_Grid.GetRowCount(); ++row)
    {
        if (CGridCellBase* cell = m_Grid.GetCell(row, 0)) cell->SetFormat(kCellFormat);
        number.Format(L"%d", row);
        m_Grid.SetItemText(row, 0, number);
        m_Grid.SetModified(row, 0);
    }
}

void CGridBaseDlg::MakeRowNumeric(CGridCtrl* grid, int row, int dataCols)
{
    for (int col = m_nFixedCols; col < m_nFixedCols + dataCols; ++col)
    {
        const CString text = grid->GetItemText(row, col);
        grid->SetCellType(row, col, RUNTIME_CLASS(CGridCellNumeric));
        if (auto* cell = dynamic_cast<CGridCellNumeric*>(grid->GetCell(row, col)))
        {
            cell->SetFormat(kCellFormat);
            cell->SetFlags(kNumericFlags);
        }
        // The numeric cell keeps the text only when it reads as a number.
        grid->SetItemText(row, col, text);
        grid->SetModified(row, col);
    }
}

void CGridBaseDlg::MakeCellsNumeric(CGridCtrl* grid, int dataRows, int dataCols)
{
    for (int row = m_nFixedRows; row < m_nFixedRows + dataRows; ++row) MakeRowNumeric(grid, row, dataCols);
}

void CGridBaseDlg::FormatNewRow(CGridCtrl* grid, int row, int dataCols)
{
    CString number;
    number.Format(L"%d", row);
    for (int col = 0; col < m_nFixedCols; ++col)
    {
        if (CGridCellBase* cell = grid->GetCell(row, col)) cell->SetFormat(kCellFormat);
        grid->SetItemText(row, col, number);
    }
    MakeRowNumeric(grid, row, dataCols);
    grid->ExpandColumnsToFit(TRUE);
}

void CGridBaseDlg::SetCellReadOnly(int row, int col, bool replaceCell)
{
    if (replaceCell)
    {
        m_Grid.SetCellType(row, col, RUNTIME_CLASS(CGridCell));
        if (CGridCellBase* cell = m_Grid.GetCell(row, col)) cell->SetFormat(kCellFormat);
        m_Grid.SetItemText(row, col, L"");
        m_Grid.SetModified(row, col);
    }
    if (CGridCellBase* cell = m_Grid.GetCell(row, col)) cell->SetBackClr(kReadOnlyBackground);
    m_Grid.SetItemState(row, col, m_Grid.GetItemState(row, col) | GVIS_READONLY);
}

void CGridBaseDlg::SetCellEditable(int row, int col)
{
    if (CGridCellBase* cell = m_Grid.GetCell(row, col)) cell->SetBackClr(::GetSysColor(COLOR_WINDOW));
    m_Grid.SetItemState(row, col, m_Grid.GetItemState(row, col) & ~GVIS_READONLY);
}

double CGridBaseDlg::GetCellNumber(int row, int col) const
{
    const auto* cell = dynamic_cast<const CGridCellNumeric*>(m_Grid.GetCell(row, col));
    return cell ? cell->GetNumber() : 0.0;
}

void CGridBaseDlg::OnGridRClick(NM_GRIDVIEW* info, LRESULT* result)
{
    if (result) *result = 0;
    const DWORD pos = ::GetMessagePos();
    const int row = info ? info->iRow : -1;

    CMenu menu;
    if (!menu.LoadMenu(IDR_POPUP_GRID_ROW)) return;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr) return;
    const UINT command = static_cast<UINT>(popup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, GET_X_LPARAM(pos),
                                                                 GET_Y_LPARAM(pos), m_Grid.GetParent()));
    if (command == ID_GRID_DELETE_ROW)
    {
        // A click beside the cells names no row: there is nothing to delete or ask about.
        if (row >= 0 && row < m_Grid.GetRowCount() && DeleteRow(row)) NumberRows();
    }
    else if (command == ID_GRID_SELECT_ALL)
        m_Grid.OnEditSelectAll();
    menu.DestroyMenu();
}

BOOL CGridBaseDlg::DeleteRow(int row)
{
    if (row >= 0 && row < m_nFixedRows)
    {
        ::MessageBox(m_Grid.GetSafeHwnd(), L"Cannot delete the fixed row", L"QOR", MB_OK | MB_ICONERROR);
        return FALSE;
    }
    if (row < 0 || row >= m_Grid.GetRowCount()) return FALSE;
    CString question;
    question.Format(L"Delete row %i?", row);
    if (::MessageBox(m_Grid.GetSafeHwnd(), question, L"QOR", MB_YESNO | MB_ICONQUESTION) != IDYES) return FALSE;
    return m_Grid.DeleteRow(row);
}
