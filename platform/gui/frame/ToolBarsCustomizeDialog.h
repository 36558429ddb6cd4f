// The toolbar customisation dialog (the frame's Customize... command): a Commands page, whose commands,
// by the menu they are in, are dragged onto toolbars, and a Toolbars page that shows and hides the
// frame's toolbars and makes, renames, deletes and resets them. Modeless; while it is open the
// toolbars are in customise mode (buttons are dragged on, along and off them).
#pragma once

#include "platform/core/Messages.h"
#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/widgets/CheckListBox.h"
#include "platform/gui/widgets/Controls.h"

#include <map>
#include <vector>

class CFrameWnd;
class CMDIFrameWndEx;
class CMFCToolBar;

// Sent to the frame by New... (lParam: the toolbar's name); the frame's result is the new CMFCToolBar*,
// 0 when none was made.
inline const UINT AFX_WM_CREATETOOLBAR = RegisterWindowMessage(L"AFX_WM_CREATETOOLBAR");

class CMFCToolBarsCustomizeDialog : public CDialog
{
public:
    // bAutoSetFromMenus: the commands and their categories come from the frame's and the document
    // templates' menus.
    CMFCToolBarsCustomizeDialog(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus = FALSE);
    // New..., Rename... and Delete of the user's own toolbars.
    void EnableUserDefinedToolbars(BOOL bEnable = TRUE) { m_bUserToolbars = bEnable; }
    // Shows the dialog (modeless). FALSE when one is open already: that one comes to the front, and
    // this object is deleted; otherwise the dialog deletes itself when it closes.
    BOOL Create();
    // The dialog open now (nullptr: none).
    static CMFCToolBarsCustomizeDialog* GetOpen();
    CFrameWnd* GetFrame() const { return m_pParentFrame; }

    enum : UINT
    {
        IDC_CATEGORIES = 0xE3B0,
        IDC_COMMANDS,
        IDC_TOOLBARS,
        IDC_TOOLBAR_NEW,
        IDC_TOOLBAR_RENAME,
        IDC_TOOLBAR_DELETE,
        IDC_TOOLBAR_RESET,
        IDC_CATEGORIES_LABEL,
        IDC_COMMANDS_LABEL,
        IDC_COMMANDS_HINT,
        IDC_TOOLBARS_LABEL
    };
    enum Page
    {
        CommandsPage,
        ToolbarsPage
    };
    void SetActivePage(Page page);
    Page GetActivePage() const { return m_page; }
    // The categories (menu names) and the commands of the one selected, as listed.
    const std::vector<CString>& GetCategories() const { return m_categories; }
    const std::vector<UINT>& GetListedCommands() const { return m_listed; }
    // The toolbars the Toolbars page lists, in its order.
    const std::vector<CMFCToolBar*>& GetListedToolBars() const { return m_toolBars; }
    // What letting go a command dragged from the Commands list at a screen point does: over a toolbar
    // of the frame it goes there, before the button under the point. Tests call it; the toolkit's
    // drag ends here.
    BOOL DropCommand(UINT nID, CPoint ptScreen);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;
    void OnCategoryChange();
    void OnToolBarSelChange();
    void OnToolBarCheck();
    void OnNewToolBar();
    void OnRenameToolBar();
    void OnDeleteToolBar();
    void OnResetToolBar();
    DECLARE_MESSAGE_MAP()

private:
    struct Category
    {
        CString name;
        std::vector<UINT> commands;
    };
    void ScanMenus();
    void FillCommands();
    void FillToolBars(CMFCToolBar* select = nullptr);
    void UpdateToolBarButtons();
    CMFCToolBar* SelectedToolBar() const;

    CFrameWnd* m_pParentFrame;
    BOOL m_bAutoSetFromMenus;
    BOOL m_bUserToolbars = FALSE;
    Page m_page = CommandsPage;
    std::vector<Category> m_menuCategories;
    std::vector<CString> m_categories;
    std::vector<UINT> m_listed;
    std::vector<CMFCToolBar*> m_toolBars;
    std::map<UINT, CString> m_names; // a command's name as its menu item reads
    CListBox m_categoryList;
    CListBox m_commandList;
    CCheckListBox m_toolBarList;
    void* m_tabBar = nullptr;
};

// The name of a new or renamed toolbar ("Toolbar name:"); OK with an empty name does nothing.
class CToolbarNameDlg : public CDialog
{
public:
    CToolbarNameDlg(CWnd* pParent, LPCTSTR lpszCaption, LPCTSTR lpszName);
    enum : UINT
    {
        IDC_TOOLBAR_NAME = 0xE3C0
    };
    CString m_strToolbarName;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CString m_strCaption;
};
