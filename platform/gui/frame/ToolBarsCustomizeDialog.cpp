// The toolbar customisation dialog and the toolbar-name dialog behind its New... and Rename...
#include "platform/gui/frame/ToolBarsCustomizeDialog.h"

#include "platform/gui/dialogs/DialogTemplate.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/frame/Bars.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/frame/ToolBarCustomizeInternal.h"
#include "platform/gui/widgets/ToolBarImagesInternal.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/Resources.h"
#include "platform/gui/window/WndInternal.h"

#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QTabBar>

#include <algorithm>

using namespace qor::gui;

namespace {

using Dlg = CMFCToolBarsCustomizeDialog;
constexpr DWORD kList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
// Above the controls, the page tabs.
constexpr short kTop = 24;
const DialogItem kItems[] = {
    {L"Static", Dlg::IDC_CATEGORIES_LABEL, L"Cate&gories:", SS_LEFT, 7, kTop, 100, 8},
    {L"ListBox", Dlg::IDC_CATEGORIES, L"", kList, 7, kTop + 11, 100, 140},
    {L"Static", Dlg::IDC_COMMANDS_LABEL, L"Comm&ands:", SS_LEFT, 114, kTop, 179, 8},
    {L"ListBox", Dlg::IDC_COMMANDS, L"", kList, 114, kTop + 11, 179, 140},
    {L"Static", Dlg::IDC_COMMANDS_HINT,
     L"Drag a command out of this dialog box onto a toolbar to add it. "
     L"Drag a button off a toolbar to remove it.",
     SS_LEFT, 7, kTop + 156, 286, 18},
    {L"Static", Dlg::IDC_TOOLBARS_LABEL, L"Tool&bars:", SS_LEFT, 7, kTop, 200, 8, 0, true},
    {L"ListBox", Dlg::IDC_TOOLBARS, L"", kList | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 7, kTop + 11, 200, 163, 0, true},
    {L"Button", Dlg::IDC_TOOLBAR_NEW, L"&New...", kButton, 214, kTop + 11, 79, 14, 0, true},
    {L"Button", Dlg::IDC_TOOLBAR_RENAME, L"Rena&me...", kButton, 214, kTop + 29, 79, 14, 0, true},
    {L"Button", Dlg::IDC_TOOLBAR_DELETE, L"&Delete", kButton, 214, kTop + 47, 79, 14, 0, true},
    {L"Button", Dlg::IDC_TOOLBAR_RESET, L"&Reset", kButton, 214, kTop + 65, 79, 14, 0, true},
    {L"Button", IDCANCEL, L"Close", kButton, 238, kTop + 180, 55, 14},
};
const DialogTemplate kTemplate{0,
                               L"Customize",
                               DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               300,
                               kTop + 201,
                               kItems,
                               sizeof(kItems) / sizeof(kItems[0])};

const UINT kCommandsPage[] = {Dlg::IDC_CATEGORIES_LABEL, Dlg::IDC_CATEGORIES, Dlg::IDC_COMMANDS_LABEL,
                              Dlg::IDC_COMMANDS, Dlg::IDC_COMMANDS_HINT};
const UINT kToolbarsPage[] = {Dlg::IDC_TOOLBARS_LABEL, Dlg::IDC_TOOLBARS,       Dlg::IDC_TOOLBAR_NEW,
                              Dlg::IDC_TOOLBAR_RENAME, Dlg::IDC_TOOLBAR_DELETE, Dlg::IDC_TOOLBAR_RESET};

const DialogItem kNameItems[] = {
    {L"Static", 0xFFFF, L"&Toolbar name:", SS_LEFT, 7, 7, 160, 8},
    {L"Edit", CToolbarNameDlg::IDC_TOOLBAR_NAME, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 18, 160, 14},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 58, 38, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", kButton, 117, 38, 50, 14},
};
const DialogTemplate kNameTemplate{0,  L"Toolbar Name", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 174,
                                   59, kNameItems,      sizeof(kNameItems) / sizeof(kNameItems[0])};

constexpr int kMaxUserToolBars = 10;
CMFCToolBarsCustomizeDialog* s_pOpen = nullptr;

// A command drag begins on the Commands list when the pointer, pressed on a command, moves away.
class CommandDragFilter : public QObject
{
public:
    CommandDragFilter(HWND dialog, QListWidget* list) : QObject(list), m_dialog(dialog), m_list(list) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonRelease &&
            e->type() != QEvent::MouseMove)
            return false;
        auto* m = static_cast<QMouseEvent*>(e);
        switch (e->type())
        {
        case QEvent::MouseButtonPress:
            m_row = m->button() == Qt::LeftButton ? m_list->row(m_list->itemAt(m->position().toPoint())) : -1;
            m_pressAt = m->position().toPoint();
            return false;
        case QEvent::MouseButtonRelease: m_row = -1; return false;
        case QEvent::MouseMove: {
            if (m_row < 0 || !(m->buttons() & Qt::LeftButton) ||
                (m->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance())
                return false;
            auto* dlg = dynamic_cast<Dlg*>(CWnd::FromHandlePermanent(m_dialog));
            const int row = std::exchange(m_row, -1);
            if (!dlg || row >= static_cast<int>(dlg->GetListedCommands().size())) return true;
            const UINT id = dlg->GetListedCommands()[static_cast<size_t>(row)];
            const HWND hDlg = m_dialog;
            StartCommandDrag(m_list, id, [hDlg, id](CPoint at) {
                if (auto* d = dynamic_cast<Dlg*>(CWnd::FromHandlePermanent(hDlg))) d->DropCommand(id, at);
            });
            return true;
        }
        default: return false;
        }
    }

private:
    HWND m_dialog;
    QListWidget* m_list;
    int m_row = -1;
    QPoint m_pressAt;
};

} // namespace

BEGIN_MESSAGE_MAP(CMFCToolBarsCustomizeDialog, CDialog)
ON_LBN_SELCHANGE(IDC_CATEGORIES, OnCategoryChange)
ON_LBN_SELCHANGE(IDC_TOOLBARS, OnToolBarSelChange)
ON_CLBN_CHKCHANGE(IDC_TOOLBARS, OnToolBarCheck)
ON_BN_CLICKED(IDC_TOOLBAR_NEW, OnNewToolBar)
ON_BN_CLICKED(IDC_TOOLBAR_RENAME, OnRenameToolBar)
ON_BN_CLICKED(IDC_TOOLBAR_DELETE, OnDeleteToolBar)
ON_BN_CLICKED(IDC_TOOLBAR_RESET, OnResetToolBar)
END_MESSAGE_MAP()

CMFCToolBarsCustomizeDialog::CMFCToolBarsCustomizeDialog(CFrameWnd* pWndParentFrame, BOOL bAutoSetFromMenus)
    : m_pParentFrame(pWndParentFrame), m_bAutoSetFromMenus(bAutoSetFromMenus)
{}

CMFCToolBarsCustomizeDialog* CMFCToolBarsCustomizeDialog::GetOpen() { return s_pOpen; }

BOOL CMFCToolBarsCustomizeDialog::Create()
{
    if (s_pOpen)
    {
        s_pOpen->ShowWindow(SW_SHOW);
        s_pOpen->SetFocus();
        delete this;
        return FALSE;
    }
    if (m_bAutoSetFromMenus) ScanMenus();
    s_pOpen = this;
    CMFCToolBar::SetCustomizeMode(TRUE);
    if (!CreateIndirect(&kTemplate, m_pParentFrame))
    {
        s_pOpen = nullptr;
        CMFCToolBar::SetCustomizeMode(FALSE);
        delete this;
        return FALSE;
    }
    CenterWindow();
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CMFCToolBarsCustomizeDialog::ScanMenus()
{
    // The menus the document templates bring (the fullest, so their order leads), then the frame's own.
    std::vector<UINT> menus;
    if (CWinApp* app = AfxGetApp()) menus = app->GetDocTemplateMenus();
    if (m_pParentFrame) menus.push_back(m_pParentFrame->m_nIDHelp);
    const FrameShell* shell = m_pParentFrame ? m_pParentFrame->Shell() : nullptr;
    const UINT panesEntry = shell ? shell->paneMenuEntry : 0;
    for (UINT id : menus)
    {
        const MenuResource* r = FindMenuResource(id);
        if (!r) continue;
        int depth = 0;
        Category* category = nullptr;
        for (size_t i = 0; i < r->count; ++i)
        {
            const MenuItemDef& d = r->items[i];
            if (d.flags & MF_END)
            {
                if (--depth <= 0) category = nullptr;
                continue;
            }
            if (d.flags & MF_POPUP)
            {
                if (depth++ == 0)
                {
                    // A menu of the same name in another template's menus adds to the same category.
                    const CString name = MenuItemName(d.text);
                    auto it = std::find_if(m_menuCategories.begin(), m_menuCategories.end(),
                                           [&](const Category& c) { return c.name == name; });
                    if (it == m_menuCategories.end())
                    {
                        m_menuCategories.push_back({name, {}});
                        it = m_menuCategories.end() - 1;
                    }
                    category = &*it;
                }
                continue;
            }
            // Not commands of their own: separators, the recent files, the toolbars list.
            if (!category || (d.flags & MF_SEPARATOR) || d.nID == 0 || d.nID == panesEntry ||
                (d.nID >= ID_FILE_MRU_FILE1 && d.nID <= ID_FILE_MRU_FILE16))
                continue;
            if (std::find(category->commands.begin(), category->commands.end(), d.nID) == category->commands.end())
                category->commands.push_back(d.nID);
            m_names.emplace(d.nID, MenuItemName(d.text));
        }
    }
    for (const Category& c : m_menuCategories) m_categories.push_back(c.name);
}

BOOL CMFCToolBarsCustomizeDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_categoryList.SubclassDlgItem(IDC_CATEGORIES, this);
    m_commandList.SubclassDlgItem(IDC_COMMANDS, this);
    m_toolBarList.SubclassDlgItem(IDC_TOOLBARS, this);
    m_toolBarList.SetCheckStyle(BS_AUTOCHECKBOX);

    // The pages' tabs, as a property sheet shows them.
    QWidget* w = WidgetOf(this);
    auto* tabs = new QTabBar(w);
    tabs->setFont(WidgetOf(&m_categoryList)->font());
    tabs->setDrawBase(true);
    tabs->addTab(QStringLiteral("Commands"));
    tabs->addTab(QStringLiteral("Toolbars"));
    CRect margin(7, 4, 293, kTop - 6);
    MapDialogRect(&margin);
    tabs->setGeometry(margin.left, margin.top, margin.Width(), std::max(margin.Height(), tabs->sizeHint().height()));
    tabs->show();
    const HWND self = m_hWnd;
    QObject::connect(tabs, &QTabBar::currentChanged, tabs, [self](int i) {
        if (auto* d = dynamic_cast<Dlg*>(CWnd::FromHandlePermanent(self)))
            d->SetActivePage(i == 1 ? ToolbarsPage : CommandsPage);
    });
    m_tabBar = tabs;

    if (auto* list = qobject_cast<QListWidget*>(WidgetOf(&m_commandList)))
    {
        list->setIconSize(QSize(16, 16));
        list->viewport()->installEventFilter(new CommandDragFilter(m_hWnd, list));
    }
    for (const CString& c : m_categories) m_categoryList.AddString(c);
    if (!m_categories.empty()) m_categoryList.SetCurSel(0);
    FillCommands();
    FillToolBars();
    SetActivePage(CommandsPage);
    return TRUE;
}

void CMFCToolBarsCustomizeDialog::SetActivePage(Page page)
{
    m_page = page;
    for (UINT id : kCommandsPage)
        if (CWnd* c = GetDlgItem(static_cast<int>(id))) c->ShowWindow(page == CommandsPage ? SW_SHOW : SW_HIDE);
    for (UINT id : kToolbarsPage)
        if (CWnd* c = GetDlgItem(static_cast<int>(id))) c->ShowWindow(page == ToolbarsPage ? SW_SHOW : SW_HIDE);
    if (page == ToolbarsPage) FillToolBars(SelectedToolBar());
    if (auto* tabs = static_cast<QTabBar*>(m_tabBar))
    {
        QSignalBlocker block(tabs);
        tabs->setCurrentIndex(page == ToolbarsPage ? 1 : 0);
    }
}

void CMFCToolBarsCustomizeDialog::FillCommands()
{
    m_commandList.ResetContent();
    m_listed.clear();
    const int sel = m_categoryList.m_hWnd ? m_categoryList.GetCurSel() : -1;
    if (sel < 0 || sel >= static_cast<int>(m_menuCategories.size())) return;
    auto* list = qobject_cast<QListWidget*>(WidgetOf(&m_commandList));
    for (UINT id : m_menuCategories[static_cast<size_t>(sel)].commands)
    {
        const int row = m_commandList.AddString(m_names[id]);
        m_listed.push_back(id);
        if (list && row >= 0)
            if (QListWidgetItem* item = list->item(row))
            {
                // Every line as wide as one with a picture, so the names stand in one column.
                QIcon icon = ToolBarIcon(id);
                if (icon.isNull())
                {
                    QPixmap blank(16, 16);
                    blank.fill(Qt::transparent);
                    icon = QIcon(blank);
                }
                item->setIcon(icon);
            }
    }
}

void CMFCToolBarsCustomizeDialog::OnCategoryChange() { FillCommands(); }

void CMFCToolBarsCustomizeDialog::FillToolBars(CMFCToolBar* select)
{
    if (!m_toolBarList.m_hWnd) return;
    m_toolBarList.ResetContent();
    m_toolBars.clear();
    if (!m_pParentFrame) return;
    for (CBasePane* pane : m_pParentFrame->GetMenuPanes())
        if (auto* bar = DYNAMIC_DOWNCAST(CMFCToolBar, pane))
        {
            CString name;
            bar->GetWindowText(name);
            const int row = m_toolBarList.AddString(name);
            m_toolBarList.SetCheck(row, bar->IsVisible() ? BST_CHECKED : BST_UNCHECKED);
            m_toolBars.push_back(bar);
            if (bar == select) m_toolBarList.SetCurSel(row);
        }
    if (m_toolBarList.GetCurSel() < 0 && !m_toolBars.empty()) m_toolBarList.SetCurSel(0);
    UpdateToolBarButtons();
}

CMFCToolBar* CMFCToolBarsCustomizeDialog::SelectedToolBar() const
{
    const int sel = m_toolBarList.m_hWnd ? m_toolBarList.GetCurSel() : -1;
    return sel >= 0 && sel < static_cast<int>(m_toolBars.size()) ? m_toolBars[static_cast<size_t>(sel)] : nullptr;
}

void CMFCToolBarsCustomizeDialog::UpdateToolBarButtons()
{
    CMFCToolBar* bar = SelectedToolBar();
    const bool user = bar && bar->IsUserDefined();
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWndEx, m_pParentFrame);
    const bool canMake = m_bUserToolbars && frame && frame->GetUserToolBarCount() < kMaxUserToolBars;
    auto enable = [this](UINT id, bool on) {
        if (CWnd* c = GetDlgItem(static_cast<int>(id))) c->EnableWindow(on);
    };
    enable(IDC_TOOLBAR_NEW, canMake);
    enable(IDC_TOOLBAR_RENAME, m_bUserToolbars && user);
    enable(IDC_TOOLBAR_DELETE, m_bUserToolbars && user);
    enable(IDC_TOOLBAR_RESET, bar && !user && bar->GetResID() != 0);
}

void CMFCToolBarsCustomizeDialog::OnToolBarSelChange() { UpdateToolBarButtons(); }

void CMFCToolBarsCustomizeDialog::OnToolBarCheck()
{
    CMFCToolBar* bar = SelectedToolBar();
    if (!bar || !m_pParentFrame) return;
    const bool show = m_toolBarList.GetCheck(m_toolBarList.GetCurSel()) == BST_CHECKED;
    m_pParentFrame->ShowPane(bar, show, FALSE, show);
    m_pParentFrame->RecalcLayout();
}

void CMFCToolBarsCustomizeDialog::OnNewToolBar()
{
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWndEx, m_pParentFrame);
    if (!frame || frame->GetUserToolBarCount() >= kMaxUserToolBars) return;
    CString name;
    name.Format(L"Custom %d", frame->GetUserToolBarCount() + 1);
    CToolbarNameDlg dlg(this, L"New Toolbar", name);
    if (dlg.DoModal() != IDOK) return;
    const LRESULT made = m_pParentFrame->SendMessage(
        AFX_WM_CREATETOOLBAR, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(dlg.m_strToolbarName)));
    FillToolBars(reinterpret_cast<CMFCToolBar*>(made));
}

void CMFCToolBarsCustomizeDialog::OnRenameToolBar()
{
    CMFCToolBar* bar = SelectedToolBar();
    if (!bar || !bar->IsUserDefined()) return;
    CString name;
    bar->GetWindowText(name);
    CToolbarNameDlg dlg(this, L"Rename Toolbar", name);
    if (dlg.DoModal() != IDOK) return;
    bar->SetWindowText(dlg.m_strToolbarName);
    if (PaneShell* shell = bar->Shell(); shell && shell->toolBar)
        shell->toolBar->setWindowTitle(ToQString(dlg.m_strToolbarName));
    FillToolBars(bar);
}

void CMFCToolBarsCustomizeDialog::OnDeleteToolBar()
{
    CMFCToolBar* bar = SelectedToolBar();
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWndEx, m_pParentFrame);
    if (!bar || !frame || !bar->IsUserDefined()) return;
    CString name, question;
    bar->GetWindowText(name);
    question.Format(L"Are you sure you want to delete the '%s' toolbar?", static_cast<LPCTSTR>(name));
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    frame->DeleteToolBar(bar);
    FillToolBars();
}

void CMFCToolBarsCustomizeDialog::OnResetToolBar()
{
    CMFCToolBar* bar = SelectedToolBar();
    if (!bar || bar->IsUserDefined()) return;
    CString name, question;
    bar->GetWindowText(name);
    question.Format(L"Are you sure you want to reset the changes made to the '%s' toolbar?",
                    static_cast<LPCTSTR>(name));
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    bar->RestoreOriginalState();
}

BOOL CMFCToolBarsCustomizeDialog::DropCommand(UINT nID, CPoint ptScreen)
{
    CMFCToolBar* bar = CMFCToolBar::FromScreenPoint(m_pParentFrame, ptScreen);
    if (!bar) return FALSE;
    bar->InsertButton(nID, bar->InsertIndexAt(ptScreen));
    return TRUE;
}

void CMFCToolBarsCustomizeDialog::OnOK() { DestroyWindow(); }

void CMFCToolBarsCustomizeDialog::OnCancel() { DestroyWindow(); }

void CMFCToolBarsCustomizeDialog::PostNcDestroy()
{
    if (s_pOpen == this)
    {
        s_pOpen = nullptr;
        CMFCToolBar::SetCustomizeMode(FALSE);
    }
    CDialog::PostNcDestroy();
    delete this;
}

// ---- The toolbar's name ------------------------------------------------------------------------------

CToolbarNameDlg::CToolbarNameDlg(CWnd* pParent, LPCTSTR lpszCaption, LPCTSTR lpszName)
    : m_strToolbarName(lpszName), m_strCaption(lpszCaption)
{
    InitModalIndirect(&kNameTemplate, pParent);
}

BOOL CToolbarNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strCaption);
    SetDlgItemText(IDC_TOOLBAR_NAME, m_strToolbarName);
    if (auto* edit = DYNAMIC_DOWNCAST(CEdit, GetDlgItem(IDC_TOOLBAR_NAME)))
    {
        edit->SetSel(0, -1);
        edit->SetFocus();
    }
    return FALSE;
}

void CToolbarNameDlg::OnOK()
{
    CString name;
    GetDlgItemText(IDC_TOOLBAR_NAME, name);
    name.Trim();
    // A toolbar needs a name.
    if (name.IsEmpty()) return;
    m_strToolbarName = name;
    EndDialog(IDOK);
}
