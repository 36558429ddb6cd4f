// CPropPageWithGridBase: the grid set up once the page's controls exist.
#include "ui/dialogs/PropPageWithGridBase.h"

#include "res/LoadModelDialogs.h"

BEGIN_MESSAGE_MAP(CPropPageWithGridBase, CMFCPropertyPage)
ON_UPDATE_COMMAND_UI(ID_GRID_DELETE_ROW, OnUpdateRowMenu)
ON_UPDATE_COMMAND_UI(ID_GRID_SELECT_ALL, OnUpdateRowMenu)
END_MESSAGE_MAP()

BOOL CPropPageWithGridBase::OnInitDialog()
{
    CMFCPropertyPage::OnInitDialog();
    return SetupGrid(&m_Grid, m_nDataRows, m_nDataCols, &m_ColumnHeadings) > 0;
}

void CPropPageWithGridBase::FillNumericTable()
{
    MakeCellsNumeric(&m_Grid, m_nDataRows, m_nDataCols);
    FillGrid();
}

void CPropPageWithGridBase::WriteNumber(int row, int col, double value)
{
    CString text;
    text.Format(L"%.9f", value);
    m_Grid.SetItemText(row, col, text);
    m_Grid.SetModified(row, col);
}

BOOL CPropPageWithGridBase::LoadNotRemoved()
{
    ::MessageBox(m_Grid.GetSafeHwnd(), L"Load could not be removed", L"QOR", MB_OK | MB_ICONERROR);
    return FALSE;
}

void CPropPageWithGridBase::OnUpdateRowMenu(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
