// CDialogWithGridBase: a dialog that edits a table of numbers in an embedded grid.
#pragma once

#include "ui/dialogs/GridBaseDlg.h"

class CDialogWithGridBase : public CDialog, public CGridBaseDlg
{
public:
    using CDialog::CDialog;

    // The dialog's own set-up, then the grid shaped from the data counts and headings.
    BOOL OnInitDialog() override;

protected:
    // The row menu's entries stay available: the menu runs the owner's update handlers.
    void OnUpdateRowMenu(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};
