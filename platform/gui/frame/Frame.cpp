// Frames: the frame window and its command routing, the MDI main frame over a main window
// with an MDI area, MDI child frames in its subwindows, menus and accelerators.
#include "platform/gui/frame/Frame.h"

#include "platform/gui/draw/SysValues.h"
#include "platform/gui/draw/TextFitInternal.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/widgets/ToolBarImagesInternal.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QTimer>
#include <QtGui/QIcon>
#include <QtGui/QKeyEvent>
#include <QtGui/QPixmap>
#include <QtGui/QStatusTipEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDockWidget>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMdiArea>
#include <QtWidgets/QMdiSubWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>

#include <algorithm>
#include <span>

using namespace qor::gui;

namespace qor::gui {

// ---- Slots and shells -------------------------------------------------------------------------

WndSlot::WndSlot(CWnd* w, QWidget* parent) : QWidget(parent), wnd(w) {}

void WndSlot::Fit()
{
    if (!wnd) return;
    WndState* s = StateOf(wnd);
    if (!s || !wnd->m_hWnd) return;
    if (s->widget->parentWidget() != this)
    {
        s->widget->setParent(this);
        if (s->style & WS_VISIBLE) s->widget->show();
    }
    // The layer places a child at its parent's client origin: undo that here.
    QPoint o = s->parent ? WndAccess::State(s->parent)->ClientOrigin() : QPoint();
    wnd->MoveWindow(-o.x(), -o.y(), width(), height(), TRUE);
}

void WndSlot::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Fit();
}

namespace {

// The prompts of the menu items and toolbar buttons (their status tips) go to the frame's status bar,
// and the idle message when the pointer leaves them, rather than over the toolkit's status bar.
class StatusTipFilter : public QObject
{
public:
    StatusTipFilter(CFrameWnd* frame, QObject* parent) : QObject(parent), m_frame(frame) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::StatusTip) return false;
        if (!m_frame->m_hWnd) return true;
        const QString tip = static_cast<QStatusTipEvent*>(e)->tip();
        if (tip.isEmpty())
            m_frame->ShowCommandPrompt(0);
        else
            m_frame->SetMessageText(FromQString(tip));
        return true;
    }

private:
    CFrameWnd* m_frame;
};

// The frame's toolkit main window; the menu of its toolbar area is the frame's pane menu.
class FrameMainWindow : public QMainWindow
{
public:
    FrameMainWindow(FrameShell* shell, QWidget* parent) : QMainWindow(parent), m_shell(shell) {}

protected:
    QMenu* createPopupMenu() override
    {
        auto* menu = new QMenu(this);
        m_shell->FillPaneMenu(menu);
        return menu;
    }

private:
    FrameShell* m_shell;
};

} // namespace

FrameShell::FrameShell(CFrameWnd* f) : frame(f)
{
    QWidget* host = WidgetOf(f);
    // A main window is always made a window of its own; inside the frame's host it must be a plain
    // widget, or a window manager shows it as a second, untitled top-level window.
    window = new FrameMainWindow(this, host);
    window->setWindowFlags(Qt::Widget);
    // Bars, pane captions and the status bar sit on the look's colours, not on the frame's own surface.
    window->setAutoFillBackground(true);
    window->installEventFilter(new StatusTipFilter(f, window));
    window->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks | QMainWindow::AllowNestedDocks);
    window->show();
    Fit();
}

FrameShell::~FrameShell()
{
    if (!window) return;
    // A menu command that closed the frame is still running inside the menu: its widgets go once the
    // toolkit is done with the event. Hidden and disabled, nothing of them can reach the gone frame.
    if (IsDeliveringEvent())
    {
        window->hide();
        window->setEnabled(false);
        window->deleteLater();
    }
    else
    {
        delete window.data();
    }
}

void FrameShell::Fit()
{
    WndState* s = StateOf(frame);
    if (!s || !window) return;
    QPoint o = s->ClientOrigin();
    CSize c = s->ClientSize();
    window->setGeometry(o.x(), o.y(), c.cx, c.cy);
}

QMdiArea* FrameShell::Mdi()
{
    if (!mdi && window)
    {
        // The area is the first tab group, in the splitter that takes the groups made later: one
        // central widget all along, so that the docked panes keep their sizes as groups come and go.
        groupSplitter = new QSplitter(window);
        groupSplitter->setChildrenCollapsible(false);
        mdi = new QMdiArea(groupSplitter);
        mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        groupSplitter->addWidget(mdi);
        window->setCentralWidget(groupSplitter);
    }
    return mdi;
}

bool FrameShell::BuildMenu(UINT resId)
{
    const MenuResource* res = FindMenuResource(resId);
    if (!res || !window) return false;
    menuResource = resId;
    QMenuBar* bar = window->menuBar();
    bar->clear();
    MarkMenuBarKeyboard(bar);
    for (auto& p : popups)
        if (p) p->deleteLater();
    popups.clear();
    popupIds.clear();
    items.clear();
    std::vector<QMenu*> stack;
    CFrameWnd* f = frame;
    for (size_t i = 0; i < res->count; ++i)
    {
        const MenuItemDef& d = res->items[i];
        if (d.flags & MF_END)
        {
            if (!stack.empty()) stack.pop_back();
            continue;
        }
        QString text = d.text ? ToQString(CString(d.text)) : QString();
        text.replace(QLatin1Char('\t'), QLatin1String("    "));
        if (d.flags & MF_POPUP)
        {
            QMenu* m = stack.empty() ? bar->addMenu(text) : stack.back()->addMenu(text);
            if (stack.empty())
            {
                int index = static_cast<int>(popups.size());
                popups.emplace_back(m);
                popupIds.emplace_back();
                QObject::connect(m, &QMenu::aboutToShow, m, [f, index, bar] {
                    f->UpdateMenuPopup(index);
                    FollowMenuBarKeyboard(bar);
                });
                QObject::connect(m, &QMenu::aboutToHide, m, [f, bar] {
                    if (f->m_hWnd) f->ShowCommandPrompt(0);
                    FollowMenuBarKeyboard(bar);
                });
            }
            stack.push_back(m);
            continue;
        }
        if (stack.empty()) continue;
        if (d.flags & MF_SEPARATOR)
        {
            stack.back()->addSeparator();
            continue;
        }
        UINT id = d.nID;
        if (id && id == paneMenuEntry)
        {
            // The placeholder of the toolbars and panes: a submenu listing them as they are when it opens.
            QMenu* panes = stack.back()->addMenu(text);
            panes->setObjectName(QStringLiteral("paneMenu"));
            QObject::connect(panes, &QMenu::aboutToShow, panes, [this, panes] {
                panes->clear();
                FillPaneMenu(panes);
            });
            continue;
        }
        QAction* a = stack.back()->addAction(text);
        CString prompt;
        f->GetMessageString(id, prompt);
        a->setStatusTip(ToQString(prompt));
        if (HasMenuImage(id)) a->setIcon(ToolBarIcon(id));
        // Posted, so that it runs once the menu has closed: a command may destroy the frame or
        // rebuild its menus, which deletes the toolkit menu that is still handling the click.
        QObject::connect(a, &QAction::triggered, a, [f, id] {
            if (f->m_hWnd) f->PostMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        });
        MenuItemState st;
        st.text = d.text ? d.text : L"";
        st.enabled = (d.flags & (MF_GRAYED | MF_DISABLED)) ? FALSE : TRUE;
        st.check = (d.flags & MF_CHECKED) ? 1 : 0;
        st.action = a;
        items[id] = st;
        popupIds.back().push_back(id);
    }
    AddWindowsDialogItem();
    return true;
}

// The windows-manager entry goes at the end of the Window menu (the popup with New Window).
bool FrameShell::OpenMenuByMnemonic(wchar_t ch)
{
    if (!window || !ch) return false;
    QMenuBar* bar = window->menuBar();
    const QString key = QString(QChar(static_cast<char16_t>(ch))).toLower();
    for (QAction* a : bar->actions())
    {
        if (!a->isVisible() || !a->isEnabled() || !a->menu()) continue;
        const QString text = a->text();
        for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < text.size();
             i = text.indexOf(QLatin1Char('&'), i + 2))
        {
            if (text[i + 1] == QLatin1Char('&')) continue; // a literal ampersand
            if (QString(text[i + 1]).toLower() != key) break;
            // As the toolkit's own mnemonic opens it: with its first item highlighted, so that Down
            // always reaches the second.
            bar->setActiveAction(a);
            if (QMenu* menu = a->menu(); menu && menu->isVisible() && !menu->activeAction()) HighlightFirstItem(menu);
            return true;
        }
    }
    return false;
}

void FrameShell::HighlightFirstItem(QMenu* menu)
{
    // The menu's own choice of the first item for Down (separators, hidden and, by the look, disabled
    // items passed over); a submenu highlighted so stays closed until Right or Enter.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &down);
}

bool FrameShell::FocusMenuBar()
{
    if (!window) return false;
    QMenuBar* bar = window->menuBar();
    if (!bar || !bar->isVisible() || QApplication::activePopupWidget()) return false;
    QAction* first = nullptr;
    for (QAction* a : bar->actions())
        if (a->isVisible() && a->isEnabled() && a->menu())
        {
            first = a;
            break;
        }
    if (!first) return false;
    // The bar takes the keyboard as after Escape on its first menu: the title highlighted, Down or
    // Enter opens it, Left and Right move along the bar, Escape gives the focus back.
    bar->setActiveAction(first);
    if (QMenu* menu = first->menu(); menu->isVisible())
    {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &escape);
    }
    return bar->hasFocus();
}

void FrameShell::AddWindowsDialogItem()
{
    if (!windowsDialogId) return;
    for (size_t i = 0; i < popupIds.size(); ++i)
    {
        const auto& ids = popupIds[i];
        if (std::find(ids.begin(), ids.end(), static_cast<UINT>(ID_WINDOW_NEW)) == ids.end() || !popups[i]) continue;
        popups[i]->addSeparator();
        QAction* a = popups[i]->addAction(ToQString(windowsDialogText));
        CFrameWnd* f = frame;
        const UINT id = windowsDialogId;
        QObject::connect(a, &QAction::triggered, a, [f, id] {
            if (f->m_hWnd) f->PostMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        });
        MenuItemState st;
        st.text = windowsDialogText;
        st.action = a;
        items[id] = st;
        popupIds[i].push_back(id);
        return;
    }
}

} // namespace qor::gui

// ---- Accelerators: keys pressed in a frame's windows -------------------------------------------

namespace {

class AcceleratorFilter : public QObject
{
protected:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress) return false;
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w) return false;
        // Only the widget the key is delivered to first.
        auto* ke = static_cast<QKeyEvent*>(e);
        // Keys of a toolkit window over a layer window (a message box over a dialog) stay its own.
        CWnd* wnd = KeyWindowFromWidget(w);
        if (!wnd) return false;
        CWnd* top = wnd->GetTopLevelParent();
        auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, top);
        if (!frame) return false;
        MSG msg = KeyMessage(wnd->m_hWnd, *ke);
        if (!msg.message) return false;
        NoteInputState(ke->modifiers(), QApplication::mouseButtons());
        // The focus window and its parents first (a pane's own keys while it has the focus);
        // frames' tables are the main frame's business (the active child's first).
        for (CWnd* w = wnd; w && w != frame; w = w->GetParent())
        {
            if (!w->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && w->PreTranslateMessage(&msg)) return true;
            if (!(w->GetStyle() & WS_CHILD)) break;
        }
        // While a modal window is up (a dialog, a message box, a file or print dialog) the frame
        // behind it is disabled: its keys must not start a command underneath.
        if (QWidget* modal = QApplication::activeModalWidget())
        {
            QWidget* frameWidget = WidgetOf(frame);
            if (!frameWidget || modal != frameWidget->window()) return false;
        }
        return frame->PreTranslateMessage(&msg) != FALSE;
    }
};

void InstallAcceleratorFilter()
{
    static AcceleratorFilter* filter = nullptr;
    if (filter || !QCoreApplication::instance()) return;
    filter = new AcceleratorFilter;
    QCoreApplication::instance()->installEventFilter(filter);
}

// The entry of the table that the key-down message matches, or null.
const ACCEL* MatchAccel(const ACCEL* table, size_t count, const MSG* pMsg)
{
    if (!table || !pMsg || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN)) return nullptr;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool alt = pMsg->message == WM_SYSKEYDOWN || GetKeyState(VK_MENU) < 0;
    for (const ACCEL& a : std::span(table, count))
    {
        if (!(a.fVirt & FVIRTKEY) || a.key != pMsg->wParam) continue;
        if (((a.fVirt & FCONTROL) != 0) == ctrl && ((a.fVirt & FSHIFT) != 0) == shift && ((a.fVirt & FALT) != 0) == alt)
            return &a;
    }
    return nullptr;
}

bool TranslateAccel(CFrameWnd* frame, const std::vector<ACCEL>& table, const MSG* pMsg)
{
    const ACCEL* a = MatchAccel(table.data(), table.size(), pMsg);
    if (!a) return false;
    // One path with menus and toolbars: WM_COMMAND (code 1) to the frame, which runs it
    // only when it is enabled.
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(a->cmd, 1), 0);
    return true;
}

} // namespace

HACCEL LoadAccelerators(HINSTANCE, LPCTSTR lpTableName)
{
    const auto id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpTableName));
    return reinterpret_cast<HACCEL>(const_cast<qor::gui::AccelResource*>(qor::gui::FindAccelResource(id)));
}

int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, MSG* lpMsg)
{
    const auto* keys = reinterpret_cast<const qor::gui::AccelResource*>(hAccTable);
    const ACCEL* a = keys ? MatchAccel(keys->items, keys->count, lpMsg) : nullptr;
    if (!a || !hWnd) return 0;
    SendMessage(hWnd, WM_COMMAND, MAKEWPARAM(a->cmd, 1), 0);
    return 1;
}

// ---- CFrameWnd ----------------------------------------------------------------------------------

const RECT CFrameWnd::rectDefault = {0, 0, 800, 600};

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
END_MESSAGE_MAP()

namespace {
std::vector<const CFrameWnd*>& LiveFrames()
{
    static std::vector<const CFrameWnd*> v;
    return v;
}
} // namespace

bool qor::gui::IsLiveFrame(const CFrameWnd* frame)
{
    return std::find(LiveFrames().begin(), LiveFrames().end(), frame) != LiveFrames().end();
}

CFrameWnd::CFrameWnd() { LiveFrames().push_back(this); }
CFrameWnd::~CFrameWnd()
{
    LiveFrames().erase(std::remove(LiveFrames().begin(), LiveFrames().end(), this), LiveFrames().end());
}

FrameShell* CFrameWnd::Shell()
{
    if (!m_pShell && m_hWnd && !(GetStyle() & WS_CHILD)) m_pShell = std::make_unique<FrameShell>(this);
    return m_pShell.get();
}

LRESULT CFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0u) == SC_KEYMENU)
    {
        if (FrameShell* shell = Shell()) shell->OpenMenuByMnemonic(static_cast<wchar_t>(lParam));
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) { return CWnd::PreCreateWindow(cs); }

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCTSTR, DWORD dwExStyle, CCreateContext* pContext)
{
    m_strTitle = lpszWindowName ? lpszWindowName : L"";
    InstallAcceleratorFilter();
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, 0, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CWinApp* app = AfxGetApp();
    CString title = m_strTitle.IsEmpty() && app && app->m_pszAppName ? CString(app->m_pszAppName) : m_strTitle;
    if (!Create(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd, nullptr, 0, pContext)) return FALSE;
    LoadAccelTable(nIDResource);
    if (!(GetStyle() & WS_CHILD)) LoadMenuResource(nIDResource);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (m_strTitle.IsEmpty() && lpcs->lpszName) m_strTitle = lpcs->lpszName;
    auto* ctx = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!(GetStyle() & WS_CHILD)) Shell();
    if (!OnCreateClient(lpcs, ctx)) return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
    {
        if (!CreateView(pContext, AFX_IDW_PANE_FIRST)) return FALSE;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* obj = pContext->m_pNewViewClass ? pContext->m_pNewViewClass->CreateObject() : nullptr;
    auto* view = DYNAMIC_DOWNCAST(CWnd, obj);
    if (!view)
    {
        delete obj;
        return nullptr;
    }
    CRect r;
    GetViewRect(r);
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, r, this, nID, pContext))
    {
        if (!view->m_hWnd) delete view;
        return nullptr;
    }
    return view;
}

void CFrameWnd::GetViewRect(CRect& rect) { GetClientRect(&rect); }

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_pShell) m_pShell->Fit();
    if (CWnd* view = GetDlgItem(AFX_IDW_PANE_FIRST))
    {
        CRect r;
        GetViewRect(r);
        CRect now;
        view->GetWindowRect(&now);
        ScreenToClient(&now);
        if (now != r) view->MoveWindow(&r);
    }
}

void CFrameWnd::OnSize(UINT, int, int) { RecalcLayout(); }

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    RecalcLayout();
}

void CFrameWnd::OnDestroy()
{
    CWinApp* app = AfxGetApp();
    // The program ends with its main window: the loop in Run returns once what is queued is delivered.
    if (app && app->m_pMainWnd == this)
    {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    m_pViewActive = nullptr;
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    m_pShell.reset();
    delete this;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CWnd* bar = GetControlBar(pCmdUI->m_nID);
    auto* pane = DYNAMIC_DOWNCAST(CBasePane, bar);
    if (!pane)
    {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(pane->IsVisible() ? 1 : 0);
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    auto* pane = DYNAMIC_DOWNCAST(CBasePane, GetControlBar(nID));
    if (!pane) return FALSE;
    pane->ShowPane(!pane->IsVisible(), FALSE, FALSE);
    return TRUE;
}

CBasePane* CFrameWnd::GetPane(UINT nID) { return DYNAMIC_DOWNCAST(CBasePane, GetDlgItem(static_cast<int>(nID))); }
CWnd* CFrameWnd::GetControlBar(UINT nID) { return GetDlgItem(static_cast<int>(nID)); }

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    if (auto* bar = DYNAMIC_DOWNCAST(CMFCStatusBar, GetDlgItem(AFX_IDW_STATUS_BAR))) bar->SetPaneText(0, lpszText);
}

std::vector<CBasePane*> CFrameWnd::GetMenuPanes()
{
    std::vector<CBasePane*> toolBars, panes;
    for (CWnd* w : OwnedWindows(this, false))
    {
        if (DYNAMIC_DOWNCAST(CMFCMenuBar, w) || DYNAMIC_DOWNCAST(CMFCStatusBar, w)) continue;
        if (auto* tb = DYNAMIC_DOWNCAST(CMFCToolBar, w); tb && tb->GetDockSiteFrameWnd() == this)
            toolBars.push_back(tb);
        else if (auto* pane = DYNAMIC_DOWNCAST(CDockablePane, w))
            panes.push_back(pane);
    }
    toolBars.insert(toolBars.end(), panes.begin(), panes.end());
    return toolBars;
}

void FrameShell::FillPaneMenu(QMenu* menu)
{
    const std::vector<CBasePane*> panes = frame->GetMenuPanes();
    for (size_t i = 0; i < panes.size(); ++i)
    {
        CBasePane* pane = panes[i];
        CString name;
        pane->GetWindowText(name);
        QAction* a = menu->addAction(ToQString(name));
        a->setCheckable(true);
        a->setChecked(pane->IsVisible() != FALSE);
        const HWND paneWnd = pane->m_hWnd;
        CFrameWnd* f = frame;
        QObject::connect(a, &QAction::triggered, a, [f, paneWnd] {
            if (auto* p = DYNAMIC_DOWNCAST(CBasePane, CWnd::FromHandle(paneWnd)); p && IsLiveFrame(f))
                f->ShowPane(p, !p->IsVisible(), FALSE, !p->IsVisible());
        });
        if (i + 1 < panes.size() && DYNAMIC_DOWNCAST(CMFCToolBar, pane) && !DYNAMIC_DOWNCAST(CMFCToolBar, panes[i + 1]))
            menu->addSeparator();
    }
    if (paneMenuCustomize)
    {
        menu->addSeparator();
        QAction* a = menu->addAction(ToQString(paneMenuCustomizeText));
        CFrameWnd* f = frame;
        const UINT id = paneMenuCustomize;
        QObject::connect(a, &QAction::triggered, a, [f, id] {
            if (IsLiveFrame(f) && f->m_hWnd) f->PostMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        });
    }
}

void CMDIFrameWndEx::EnablePaneMenu(BOOL bEnable, UINT uiCustomizeCmd, LPCTSTR lpszCustomizeText,
                                    UINT uiViewToolbarsMenuEntryID, BOOL, BOOL)
{
    FrameShell* shell = Shell();
    if (!shell) return;
    shell->paneMenuEntry = bEnable ? uiViewToolbarsMenuEntryID : 0;
    shell->paneMenuCustomize = bEnable ? uiCustomizeCmd : 0;
    shell->paneMenuCustomizeText = lpszCustomizeText ? lpszCustomizeText : L"";
    if (shell->menuResource) shell->BuildMenu(shell->menuResource);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    rMessage.Empty();
    if (!rMessage.LoadString(nID)) return;
    const int lineBreak = rMessage.Find(L'\n');
    if (lineBreak >= 0) rMessage = rMessage.Left(lineBreak);
}

void CFrameWnd::ShowCommandPrompt(UINT nID)
{
    CString text;
    if (nID) GetMessageString(nID, text);
    if (text.IsEmpty() && !text.LoadString(AFX_IDS_IDLEMESSAGE)) return;
    SetMessageText(text);
}

void CFrameWnd::DockPane(CBasePane* pBar, UINT nDockBarID, LPCRECT)
{
    if (!pBar || !pBar->Shell()) return;
    FrameShell* shell = Shell();
    PaneShell* ps = pBar->Shell();
    if (!shell || !shell->window) return;
    Qt::DockWidgetArea area = Qt::LeftDockWidgetArea;
    DWORD align = pBar->m_dwBarStyle & CBRS_ALIGN_ANY;
    if (nDockBarID == AFX_IDW_DOCKBAR_RIGHT || (!nDockBarID && (align & CBRS_ALIGN_RIGHT)))
        area = Qt::RightDockWidgetArea;
    else if (nDockBarID == AFX_IDW_DOCKBAR_BOTTOM || (!nDockBarID && (align & CBRS_ALIGN_BOTTOM)))
        area = Qt::BottomDockWidgetArea;
    else if (nDockBarID == AFX_IDW_DOCKBAR_TOP || (!nDockBarID && (align & CBRS_ALIGN_TOP)))
        area = Qt::TopDockWidgetArea;
    if (ps->dock)
    {
        // A pane made where the layout the user left had it is docked there already.
        if (ps->keptPlace)
        {
            ps->keptPlace = false;
            if (auto* pane = DYNAMIC_DOWNCAST(CDockablePane, pBar)) KeptPanes::PutInKeptMode(this, pane);
            pBar->m_bDocked = TRUE;
            return;
        }
        // A pane made after the layout was put back gets its first size even so.
        const bool late = ps->afterLayout;
        ps->dock->setFloating(false);
        shell->window->addDockWidget(area, ps->dock);
        const bool across = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
        // A pane docked at a side spans the frame's height, as the framework lays them out.
        if (area == Qt::LeftDockWidgetArea)
        {
            shell->window->setCorner(Qt::TopLeftCorner, Qt::LeftDockWidgetArea);
            shell->window->setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
        }
        else if (area == Qt::RightDockWidgetArea)
        {
            shell->window->setCorner(Qt::TopRightCorner, Qt::RightDockWidgetArea);
            shell->window->setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
        }
        // The size the pane was created with is its first width (left, right) or height (top, bottom),
        // applied once the main window has its own size.
        const QSize size = ps->created.isValid() ? ps->created : ps->dock->size();
        const int extent = across ? size.width() : size.height();
        QPointer<QMainWindow> window = shell->window;
        QPointer<QDockWidget> dock = ps->dock;
        QTimer::singleShot(0, window, [window, dock, extent, across, area, late] {
            // A layout the user left (restored by the frame) has the sizes of the panes it found.
            if (!window || !dock || (!late && window->property("qorLayoutRestored").toBool())) return;
            window->resizeDocks({dock}, {extent}, across ? Qt::Horizontal : Qt::Vertical);
            // A pane that joins others on a side shares the side's length with them evenly, rather
            // than getting the little that the panes already there leave over.
            QList<QDockWidget*> stack;
            int total = 0;
            for (QDockWidget* d : window->findChildren<QDockWidget*>())
                if (window->dockWidgetArea(d) == area && !d->isFloating() && d->isVisible())
                {
                    stack.append(d);
                    total += across ? d->height() : d->width();
                }
            if (stack.size() > 1 && stack.contains(dock))
            {
                QList<int> lengths(stack.size(), total / static_cast<int>(stack.size()));
                window->resizeDocks(stack, lengths, across ? Qt::Vertical : Qt::Horizontal);
            }
        });
    }
    else if (ps->toolBar)
    {
        // A toolbar goes to the side asked for (its own side when none is).
        Qt::ToolBarArea side = Qt::TopToolBarArea;
        if (area == Qt::LeftDockWidgetArea &&
            (nDockBarID == AFX_IDW_DOCKBAR_LEFT || (align & CBRS_ALIGN_LEFT) == CBRS_ALIGN_LEFT))
            side = Qt::LeftToolBarArea;
        else if (area == Qt::RightDockWidgetArea)
            side = Qt::RightToolBarArea;
        else if (area == Qt::BottomDockWidgetArea)
            side = Qt::BottomToolBarArea;
        shell->window->addToolBar(side, ps->toolBar);
        ps->toolBar->show();
    }
    pBar->m_bDocked = TRUE;
}

void CFrameWnd::ShowPane(CBasePane* pBar, BOOL bShow, BOOL bDelay, BOOL bActivate)
{
    if (pBar) pBar->ShowPane(bShow, bDelay, bActivate);
}

BOOL CFrameWnd::LoadMenuResource(UINT nIDResource)
{
    FrameShell* shell = Shell();
    return shell && shell->BuildMenu(nIDResource);
}

BOOL CFrameWnd::LoadAccelTable(UINT nIDResource)
{
    const AccelResource* r = FindAccelResource(nIDResource);
    if (!r) return FALSE;
    m_accel.assign(r->items, r->items + r->count);
    return TRUE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (TranslateAccel(this, m_accel, pMsg)) return TRUE;
    // F10 that no accelerator takes gives the menu bar the keyboard, as Alt alone does (Shift+F10 is
    // the context menu's).
    if (pMsg && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pMsg->wParam == VK_F10 &&
        GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0)
        if (m_pShell && m_pShell->FocusMenuBar()) return TRUE;
    return FALSE;
}

BOOL CFrameWnd::IsCommandEnabled(UINT nID)
{
    StateCmdUI state;
    state.m_nID = nID;
    state.DoUpdate(this, m_bAutoMenuEnable);
    return state.m_bEnabled;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    if (lParam == 0 && nID != 0)
    {
        // From a menu, a toolbar or an accelerator: a command that its update handler
        // disables is not run.
        StateCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (state.enableSet && !state.m_bEnabled) return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

void CFrameWnd::UpdateMenuPopup(int nIndex)
{
    FrameShell* shell = m_pShell.get();
    if (!shell || nIndex < 0 || nIndex >= static_cast<int>(shell->popupIds.size())) return;
    for (UINT id : shell->popupIds[static_cast<size_t>(nIndex)])
    {
        auto it = shell->items.find(id);
        if (it == shell->items.end()) continue;
        MenuItemState& st = it->second;
        if (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST)
        {
            CWinApp* app = AfxGetApp();
            int i = static_cast<int>(id - ID_FILE_MRU_FIRST);
            const int count = app && app->m_pRecentFileList ? app->m_pRecentFileList->GetCount() : 0;
            const bool has = i < count;
            st.enabled = has;
            // Only the files the list holds are listed; an empty list leaves one greyed placeholder.
            st.shown = has || (i == 0 && count == 0);
            if (has)
                st.text.Format(L"&%d %s", i + 1, (LPCTSTR)(*app->m_pRecentFileList)[i]);
            else
                st.text = L"Recent File";
        }
        else
        {
            StateCmdUI state;
            state.m_nID = id;
            state.m_strText = st.text;
            state.DoUpdate(this, m_bAutoMenuEnable);
            st.enabled = state.m_bEnabled;
            st.check = state.m_nCheck;
            if (state.m_bTextChanged) st.text = state.m_strText;
        }
        if (st.action)
        {
            st.action->setVisible(st.shown != FALSE);
            st.action->setEnabled(st.enabled != FALSE);
            st.action->setCheckable(st.check != 0);
            st.action->setChecked(st.check != 0);
            QString t = ToQString(st.text);
            t.replace(QLatin1Char('\t'), QLatin1String("    "));
            st.action->setText(t);
        }
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    OnUpdateCmdUI();
    if (auto* mdi = DYNAMIC_DOWNCAST(CMDIFrameWnd, this))
        if (CMDIChildWnd* c = mdi->MDIGetActive()) c->OnUpdateCmdUI();
    return 0;
}

void CFrameWnd::OnUpdateCmdUI()
{
    if (m_pShell)
        for (int i = 0; i < static_cast<int>(m_pShell->popupIds.size()); ++i) UpdateMenuPopup(i);
    // Bars of this frame.
    std::vector<HWND> bars;
    // Toolbars of the frame and those inside its panes (a pane's window sits in its dock
    // widget, so the windows are walked as the layer's children, not the toolkit's). By handle:
    // an update handler may take a bar away.
    for (CWnd* w : OwnedWindows(this, false))
    {
        if (DYNAMIC_DOWNCAST(CMFCToolBar, w))
            bars.push_back(w->m_hWnd);
        else if (DYNAMIC_DOWNCAST(CBasePane, w))
            for (CWnd* c : OwnedWindows(w, false))
                if (DYNAMIC_DOWNCAST(CMFCToolBar, c)) bars.push_back(c->m_hWnd);
    }
    for (HWND h : bars)
        if (auto* tb = DYNAMIC_DOWNCAST(CMFCToolBar, LiveWindow(h))) tb->OnUpdateCmdUI(this, m_bAutoMenuEnable);
    if (auto* status = DYNAMIC_DOWNCAST(CMFCStatusBar, GetDlgItem(AFX_IDW_STATUS_BAR))) status->OnUpdateCmdUI();
}

BOOL CFrameWnd::GetMenuItemState(UINT nID, BOOL* pEnabled, int* pCheck, CString* pText, BOOL* pShown) const
{
    const FrameShell* shell = m_pShell.get();
    if (!shell) return FALSE;
    auto it = shell->items.find(nID);
    if (it == shell->items.end()) return FALSE;
    if (pEnabled) *pEnabled = it->second.enabled;
    if (pCheck) *pCheck = it->second.check;
    if (pText) *pText = it->second.text;
    if (pShown) *pShown = it->second.shown;
    return TRUE;
}

BOOL CFrameWnd::ClickMenuItem(UINT nID)
{
    FrameShell* shell = m_pShell.get();
    if (!shell) return FALSE;
    for (size_t i = 0; i < shell->popupIds.size(); ++i)
    {
        const auto& ids = shell->popupIds[i];
        if (std::find(ids.begin(), ids.end(), nID) == ids.end()) continue;
        UpdateMenuPopup(static_cast<int>(i)); // as the menu opens
        BOOL enabled = TRUE;
        GetMenuItemState(nID, &enabled);
        if (!enabled) return FALSE; // a greyed item cannot be clicked
        SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
        return TRUE;
    }
    return FALSE;
}

// ---- CMDIFrameWnd -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_CLOSE()
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
ON_COMMAND(ID_WINDOW_CASCADE, OnWindowCascade)
ON_COMMAND(ID_WINDOW_TILE_HORZ, OnWindowTile)
ON_COMMAND(ID_WINDOW_TILE_VERT, OnWindowTile)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;
CMDIFrameWnd::~CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*)
{
    FrameShell* shell = Shell();
    if (!shell || !shell->Mdi()) return FALSE;
    TabGroups::Watch(this, shell->mdi);
    return TRUE;
}

void CMDIFrameWnd::OnClose() { CFrameWnd::OnClose(); }

void CMDIFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_pShell) m_pShell->Fit();
    (void)bNotify;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    if (pbMaximized) *pbMaximized = FALSE;
    return m_pActiveChild;
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::GetMDIChildren() const { return m_children; }

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* c = MDIGetActive();
    return c ? static_cast<CFrameWnd*>(c) : this;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    auto* child = DYNAMIC_DOWNCAST(CMDIChildWnd, pWndActivate);
    if (!child || !m_pShell) return;
    for (auto& [sw, c] : m_pShell->subwindows)
        if (c == child && sw->mdiArea()) sw->mdiArea()->setActiveSubWindow(sw);
    ChildActivated(child);
}

void CMDIFrameWnd::MDINext()
{
    if (m_children.size() < 2) return;
    auto it = std::find(m_children.begin(), m_children.end(), m_pActiveChild);
    size_t i = it == m_children.end() ? 0 : static_cast<size_t>(it - m_children.begin() + 1) % m_children.size();
    MDIActivate(m_children[i]);
}

void CMDIFrameWnd::MDICascade()
{
    if (m_pShell && m_pShell->mdi) TabGroups::Current(this)->cascadeSubWindows();
}
void CMDIFrameWnd::MDITile()
{
    if (m_pShell && m_pShell->mdi) TabGroups::Current(this)->tileSubWindows();
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

namespace qor::gui {

const QIcon& BlankWindowIcon()
{
    // Made once and kept for the life of the process (windows may show it until the very end).
    static const QIcon* const icon = [] {
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        return new QIcon(blank);
    }();
    return *icon;
}

} // namespace qor::gui

void CMDIFrameWnd::ChildCreated(CMDIChildWnd* child)
{
    FrameShell* shell = Shell();
    if (!shell || !shell->Mdi()) return;
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    // No toolkit logo on the window's tab or title.
    sub->setWindowIcon(BlankWindowIcon());
    auto* slot = new WndSlot(child, sub);
    sub->setWidget(slot);
    CRect r;
    GetClientRect(&r);
    TabGroups::Current(this)->addSubWindow(sub);
    sub->resize(std::max(r.Width() * 2 / 3, 200), std::max(r.Height() * 2 / 3, 150));
    shell->subwindows[sub] = child;
    // The subwindow's close button closes the frame as WM_CLOSE does.
    class CloseFilter : public QObject
    {
    public:
        CloseFilter(CMDIChildWnd* c, QObject* parent) : QObject(parent), child(c) {}
        CMDIChildWnd* child;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() != QEvent::Close) return false;
            e->ignore();
            if (child->m_hWnd) child->SendMessage(WM_CLOSE, 0, 0);
            return true;
        }
    };
    sub->installEventFilter(new CloseFilter(child, sub));
    slot->Fit();
    m_children.push_back(child);
}

void CMDIFrameWnd::ChildGone(CMDIChildWnd* child)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), child), m_children.end());
    QMdiSubWindow* sub = nullptr;
    if (m_pShell)
    {
        for (auto it = m_pShell->subwindows.begin(); it != m_pShell->subwindows.end(); ++it)
            if (it->second == child)
            {
                sub = it->first;
                m_pShell->subwindows.erase(it);
                break;
            }
    }
    if (sub)
    {
        // The slot may still get a resize from the toolkit before the subwindow goes: it must not reach
        // the frame that is being destroyed.
        if (auto* slot = dynamic_cast<WndSlot*>(sub->widget())) slot->wnd = nullptr;
        sub->hide();
        if (QMdiArea* area = sub->mdiArea()) area->removeSubWindow(sub);
        sub->deleteLater();
        TabGroups::DropEmpty(this);
    }
    if (m_pActiveChild == child)
    {
        m_pActiveChild = nullptr;
        if (!m_children.empty())
            MDIActivate(m_children.back());
        else
        {
            if (m_pShell && m_pShell->menuResource != m_nIDHelp) LoadMenuResource(m_nIDHelp);
            OnUpdateFrameTitle(TRUE);
        }
    }
}

void CMDIFrameWnd::ChildActivated(CMDIChildWnd* child)
{
    if (m_pShell)
        if (QMdiSubWindow* sub = TabGroups::SubOf(this, child); sub && sub->mdiArea())
            m_pShell->activeGroup = sub->mdiArea();
    if (m_pActiveChild == child) return;
    m_pActiveChild = child;
    // The active child's menu (its template's resource) when there is one.
    if (m_pShell && child && child->m_nIDMenu && FindMenuResource(child->m_nIDMenu) &&
        m_pShell->menuResource != child->m_nIDMenu)
        LoadMenuResource(child->m_nIDMenu);
    OnUpdateFrameTitle(TRUE);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CMDIChildWnd* c = MDIGetActive(); c && c->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    // The active child's accelerators first, then the main frame's.
    if (CMDIChildWnd* c = MDIGetActive(); c && TranslateAccel(this, c->m_accel, pMsg)) return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

// ---- CMDIChildWnd -------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_NCDESTROY()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;
CMDIChildWnd::~CMDIChildWnd() = default;

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    // The subwindow draws the frame; the window itself is the client area.
    cs.style &= ~static_cast<LONG>(WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VISIBLE | WS_POPUP);
    cs.style |= static_cast<LONG>(WS_CHILD);
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    auto* main = DYNAMIC_DOWNCAST(CMDIFrameWnd, pParentWnd ? pParentWnd : AfxGetMainWnd());
    if (!main || !main->m_hWnd) return FALSE;
    m_pMDIFrame = main;
    m_nIDHelp = nIDResource;
    m_nIDMenu = nIDResource;
    InstallAcceleratorFilter();
    CRect r(0, 0, 400, 300);
    if (!CreateEx(0, nullptr, m_strTitle, (dwDefaultStyle | WS_CHILD) & ~static_cast<DWORD>(WS_VISIBLE), r, main, 0,
                  pContext))
        return FALSE;
    LoadAccelTable(nIDResource);
    main->ChildCreated(this);
    return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    if (m_pMDIFrame && m_pMDIFrame->m_pShell)
    {
        for (auto& [sw, c] : m_pMDIFrame->m_pShell->subwindows)
            if (c == this)
            {
                // A tab fills the area; a subwindow keeps its size.
                if (sw->mdiArea() && sw->mdiArea()->viewMode() == QMdiArea::TabbedView)
                    sw->showMaximized();
                else
                    sw->show();
                static_cast<WndSlot*>(sw->widget())->Fit();
            }
    }
    MDIActivate();
    RecalcLayout();
}

void CMDIChildWnd::MDIActivate()
{
    if (m_pMDIFrame) m_pMDIFrame->MDIActivate(this);
}

LRESULT CMDIChildWnd::OnSetText(WPARAM, LPARAM lParam)
{
    LRESULT r = Default();
    if (m_pMDIFrame && m_pMDIFrame->m_pShell)
    {
        for (auto& [sw, c] : m_pMDIFrame->m_pShell->subwindows)
            if (c == this)
                sw->setWindowTitle(
                    ShownText(ToQString(CString(lParam ? reinterpret_cast<LPCTSTR>(lParam) : L"")), sw->font()));
    }
    return r;
}

BOOL CMDIChildWnd::DestroyWindow() { return CFrameWnd::DestroyWindow(); }

void CMDIChildWnd::OnNcDestroy()
{
    CMDIFrameWnd* main = m_pMDIFrame;
    m_pMDIFrame = nullptr;
    Default();
    if (main) main->ChildGone(this);
}

IMPLEMENT_DYNCREATE(CMDIChildWndEx, CMDIChildWnd)
IMPLEMENT_DYNAMIC(CMDIFrameWndEx, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(CFrameWndEx, CFrameWnd)

// ---- The document side: views and documents through IFrameDocuments ------------------------------

namespace {
IFrameDocuments* g_frameDocuments = nullptr;
} // namespace

void qor::gui::SetFrameDocuments(IFrameDocuments* pDocuments) { g_frameDocuments = pDocuments; }
IFrameDocuments* qor::gui::FrameDocuments() { return g_frameDocuments; }

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL)
{
    CView* old = m_pViewActive;
    if (old == pViewNew) return;
    m_pViewActive = pViewNew;
    if (g_frameDocuments) g_frameDocuments->ViewActivated(old, pViewNew);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* v = GetActiveView();
    return v && g_frameDocuments ? g_frameDocuments->DocumentOfView(v) : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    if (!GetActiveView() && g_frameDocuments)
    {
        if (CView* v = g_frameDocuments->ViewOfWnd(GetDlgItem(AFX_IDW_PANE_FIRST))) SetActiveView(v, FALSE);
    }
    if (bMakeVisible)
    {
        if (g_frameDocuments) g_frameDocuments->InitialUpdateViews(this, pDoc);
        ActivateFrame();
    }
    if (pDoc && g_frameDocuments) g_frameDocuments->UpdateFrameCounts(pDoc);
    OnUpdateFrameTitle(TRUE);
}

namespace {
// The frame's title with the document's: "doc - title" (FWS_PREFIXTITLE) or "title - doc".
CString TitleWithDocument(const CFrameWnd* frame, const CString& title, CDocument* doc)
{
    if (!doc || !g_frameDocuments) return title;
    const CString docTitle = g_frameDocuments->DocumentTitle(doc);
    return (frame->GetStyle() & FWS_PREFIXTITLE) ? docTitle + L" - " + title : title + L" - " + docTitle;
}
} // namespace

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle) return;
    SetWindowText(TitleWithDocument(this, m_strTitle, GetActiveDocument()));
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
    {
        if (!app->SaveAllModified()) return;
        app->CloseAllDocuments(FALSE);
        DestroyWindow();
        return;
    }
    if (doc && g_frameDocuments && !g_frameDocuments->PrepareFrameClose(this, doc)) return;
    DestroyWindow();
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    CWnd* view = m_pViewActive && g_frameDocuments ? g_frameDocuments->WndOfView(m_pViewActive) : nullptr;
    if (view && view->m_hWnd) view->SetFocus();
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CWnd* view = GetActiveView() && g_frameDocuments ? g_frameDocuments->WndOfView(GetActiveView()) : nullptr;
    if (view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    // A child frame's route continues in its main frame, which ends with the application.
    if (GetStyle() & WS_CHILD) return FALSE;
    if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return FALSE;
}

// Another window on the active window's document, made by the document's template.
void CMDIFrameWnd::OnWindowNew()
{
    CMDIChildWnd* active = MDIGetActive();
    CDocument* doc = active ? active->GetActiveDocument() : nullptr;
    if (doc && g_frameDocuments) g_frameDocuments->OpenNewWindow(doc, active);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle) return;
    CMDIChildWnd* c = MDIGetActive();
    SetWindowText(TitleWithDocument(this, m_strTitle, c ? c->GetActiveDocument() : nullptr));
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if ((GetStyle() & FWS_ADDTOTITLE) && bAddToTitle)
    {
        if (CDocument* doc = GetActiveDocument(); doc && g_frameDocuments)
        {
            CString title = g_frameDocuments->DocumentTitle(doc);
            if (m_nWindow > 0) title.AppendFormat(L":%d", m_nWindow);
            SetWindowText(title);
        }
    }
    if (m_pMDIFrame) m_pMDIFrame->OnUpdateFrameTitle(TRUE);
}
