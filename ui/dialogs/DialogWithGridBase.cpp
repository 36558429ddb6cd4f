// CDialogWithGridBase: the grid set up once the dialog's controls exist.
#include "ui/dialogs/DialogWithGridBase.h"

#include "res/LoadModelDialogs.h"

BEGIN_MESSAGE_MAP(CDialogWithGridBase, CDialog)
ON_UPDATE_COMMAND_UI(ID_GRID_DELETE_ROW, OnUpdateRowMenu)
ON_UPDATE_COMMAND_UI(ID_GRID_SELECT_ALL, OnUpdateRowMenu)
END_MESSAGE_MAP()

BOOL CDialogWithGridBase::OnInitDialog()
{
    CDialog::OnInitDialog();
    return SetupGrid(&m_Grid, m_nDataRows, m_nDataCols, &m_ColumnHeadings) > 0;
}

void CDialogWithGridBase::OnUpdateRowMenu(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
