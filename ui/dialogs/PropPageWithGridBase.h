// CPropPageWithGridBase: a property page that edits a table of numbers in an embedded grid.
#pragma once

#include "ui/dialogs/GridBaseDlg.h"

class CPropPageWithGridBase : public CMFCPropertyPage, public CGridBaseDlg
{
public:
    using CMFCPropertyPage::CMFCPropertyPage;

    // The page's own set-up, then the grid shaped from the data counts and headings.
    BOOL OnInitDialog() override;

protected:
    // The grid's data cells made numeric and filled from the page's data.
    void FillNumericTable();
    // A number written into a cell with every digit the page reads back, marked as changed.
    void WriteNumber(int row, int col, double value);
    // Tells the engineer that a row's load stays; FALSE, for DeleteRow to return.
    BOOL LoadNotRemoved();
    // The row menu's entries stay available: the menu runs the owner's update handlers.
    void OnUpdateRowMenu(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};
