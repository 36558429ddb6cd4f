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
    // The row menu's entries stay available: the menu runs the owner's update handlers.
    void OnUpdateRowMenu(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};
