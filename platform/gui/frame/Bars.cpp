// Toolbars, the menu bar, the status bar and dockable panes over the frame's main window.
#include "platform/gui/frame/Bars.h"

#include "platform/gui/draw/SysValues.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/frame/ToolBarCustomizeInternal.h"
#include "platform/gui/widgets/ToolBarImagesInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtWidgets/QDockWidget>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMdiSubWindow>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>

using namespace qor::gui;

namespace {
// Button pictures are 16 x 16 window pixels, as the resources draw them, made for the screen's ratio.
constexpr int kButtonPicture = 16;
} // namespace

IMPLEMENT_DYNAMIC(CBasePane, CWnd)
IMPLEMENT_DYNAMIC(CPane, CBasePane)
IMPLEMENT_DYNAMIC(CMFCToolBar, CPane)
IMPLEMENT_DYNAMIC(CMFCMenuBar, CPane)
IMPLEMENT_DYNAMIC(CMFCStatusBar, CPane)

BOOL CMFCToolBar::m_bAltCustomization = FALSE;
CMFCToolBarImages* CMFCToolBar::s_pUserImages = nullptr;

CBasePane::CBasePane() = default;
CBasePane::~CBasePane() { delete m_pShell; }

BOOL CBasePane::CreatePaneWindow(LPCTSTR lpszCaption, CWnd* pParentWnd, UINT nID, DWORD dwStyle, int kind)
{
    auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, pParentWnd);
    if (!frame || !frame->m_hWnd || m_hWnd) return FALSE;
    FrameShell* shell = frame->Shell();
    if (!shell || !shell->window) return FALSE;
    m_dwBarStyle = dwStyle;
    m_pDockSite = frame;
    bool visible = (dwStyle & WS_VISIBLE) != 0;
    // The pane's own window: a dock widget's content is visible; a bar's window only holds
    // the identity (the toolkit bar shows it).
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (kind == kPaneDock ? WS_VISIBLE : 0);
    if (!CreateEx(0, nullptr, lpszCaption, style, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
    delete m_pShell;
    m_pShell = new PaneShell;
    m_pShell->kind = kind;
    QString caption = ToQString(CString(lpszCaption ? lpszCaption : L""));
    switch (kind)
    {
    case kPaneDock: {
        auto* dock = new QDockWidget(caption, shell->window);
        dock->setObjectName(QStringLiteral("pane%1").arg(nID));
        auto* slot = new WndSlot(this, dock);
        dock->setWidget(slot);
        m_pShell->dock = dock;
        m_pShell->slot = slot;
        Qt::DockWidgetArea area = Qt::LeftDockWidgetArea;
        if (dwStyle & CBRS_ALIGN_RIGHT)
            area = Qt::RightDockWidgetArea;
        else if (dwStyle & CBRS_ALIGN_BOTTOM)
            area = Qt::BottomDockWidgetArea;
        else if ((dwStyle & CBRS_ALIGN_TOP) && !(dwStyle & CBRS_ALIGN_LEFT))
            area = Qt::TopDockWidgetArea;
        m_pShell->afterLayout = shell->window->property("qorLayoutRestored").toBool();
        if (KeptPanes::PlaceNewPane(frame, dock))
            m_pShell->keptPlace = true;
        else
        {
            shell->window->addDockWidget(area, dock);
            dock->setVisible(visible);
        }
        slot->Fit();
        break;
    }
    case kPaneToolBar: {
        auto* tb = new QToolBar(caption, shell->window);
        tb->setObjectName(QStringLiteral("toolbar%1").arg(nID));
        tb->setIconSize(QSize(kButtonPicture, kButtonPicture));
        shell->window->addToolBar(Qt::TopToolBarArea, tb);
        tb->setVisible(visible);
        m_pShell->toolBar = tb;
        break;
    }
    case kPaneStatusBar: shell->window->statusBar()->setVisible(visible); break;
    default: break;
    }
    return TRUE;
}

void CBasePane::PostNcDestroy()
{
    if (m_pShell)
    {
        if (m_pShell->document)
        {
            // Its tab goes with it; the slot no longer knows the window.
            if (auto* slot = dynamic_cast<WndSlot*>(m_pShell->slot.data())) slot->wnd = nullptr;
            m_pShell->document->hide();
            m_pShell->document->deleteLater();
        }
        if (m_pShell->flyout)
        {
            // Collapsed: the window it slides out in goes with it, and its tab.
            if (auto* slot = dynamic_cast<WndSlot*>(m_pShell->slot.data())) slot->wnd = nullptr;
            m_pShell->flyout->hide();
            m_pShell->flyout->deleteLater();
        }
        if (m_pShell->autoHideTab) m_pShell->autoHideTab->deleteLater();
        if (m_pShell->dock) m_pShell->dock->deleteLater();
        if (m_pShell->toolBar) m_pShell->toolBar->deleteLater();
        for (auto& w : m_pShell->statusWidgets)
            if (w) w->deleteLater();
    }
    delete m_pShell;
    m_pShell = nullptr;
    CWnd::PostNcDestroy();
}

BOOL CBasePane::IsVisible() const
{
    if (!m_pShell) return m_hWnd && (GetStyle() & WS_VISIBLE);
    if (m_pShell->document) return TRUE;
    if (m_pShell->autoHideSide) return m_pShell->flyout && m_pShell->flyout->isVisible();
    if (m_pShell->dock) return !m_pShell->dock->isHidden();
    if (m_pShell->toolBar) return !m_pShell->toolBar->isHidden();
    if (m_pShell->kind == kPaneStatusBar && m_pDockSite && m_pDockSite->Shell())
        return !m_pDockSite->Shell()->window->statusBar()->isHidden();
    return FALSE;
}

void CBasePane::ShowPane(BOOL bShow, BOOL, BOOL bActivate)
{
    if (!m_pShell) return;
    if (m_pShell->autoHideSide)
    {
        // A collapsed pane shows by sliding out; hidden, it leaves its tab and docks hidden.
        auto* pane = static_cast<CDockablePane*>(this);
        if (bShow)
            pane->Slide(TRUE, FALSE);
        else
        {
            pane->SetAutoHideMode(FALSE);
            m_pShell->dock->hide();
        }
        return;
    }
    if (QMdiSubWindow* document = m_pShell->document)
    {
        // A tabbed document shows as its tab; hidden, it goes back to its dock, hidden.
        if (!bShow)
        {
            static_cast<CDockablePane*>(this)->ConvertToDockedPane();
            m_pShell->dock->hide();
        }
        else if (document->mdiArea())
        {
            document->mdiArea()->setActiveSubWindow(document);
        }
        return;
    }
    if (m_pShell->dock)
    {
        m_pShell->dock->setVisible(bShow != FALSE);
        if (bShow && bActivate) m_pShell->dock->raise();
    }
    else if (m_pShell->toolBar)
    {
        m_pShell->toolBar->setVisible(bShow != FALSE);
    }
    else if (m_pShell->kind == kPaneStatusBar && m_pDockSite && m_pDockSite->Shell())
    {
        m_pDockSite->Shell()->window->statusBar()->setVisible(bShow != FALSE);
    }
}

BOOL CBasePane::IsFloating() const
{
    if (!m_pShell) return FALSE;
    if (m_pShell->dock) return m_pShell->dock->isFloating();
    return m_pShell->toolBar && m_pShell->toolBar->isFloating();
}

BOOL CBasePane::FloatPane(CRect rectFloat, AFX_DOCK_METHOD, bool bShow)
{
    if (!m_pShell || !m_pShell->dock) return FALSE;
    m_pShell->dock->setFloating(true);
    if (!rectFloat.IsRectEmpty()) m_pShell->dock->setGeometry(ToQRect(rectFloat));
    m_pShell->dock->setVisible(bShow);
    return TRUE;
}

DWORD CBasePane::GetCurrentAlignment() const
{
    if (!m_pShell || IsFloating() || !m_pDockSite || !m_pDockSite->Shell()) return 0;
    QMainWindow* window = m_pDockSite->Shell()->window;
    int area = 0;
    if (m_pShell->dock)
        area = window->dockWidgetArea(m_pShell->dock);
    else if (m_pShell->toolBar)
        area = window->toolBarArea(m_pShell->toolBar);
    else
        return CBRS_ALIGN_BOTTOM; // the status bar
    // The toolkit numbers the sides alike for dock widgets and toolbars.
    switch (area)
    {
    case Qt::LeftDockWidgetArea: return CBRS_ALIGN_LEFT;
    case Qt::RightDockWidgetArea: return CBRS_ALIGN_RIGHT;
    case Qt::TopDockWidgetArea: return CBRS_ALIGN_TOP;
    case Qt::BottomDockWidgetArea: return CBRS_ALIGN_BOTTOM;
    default: return 0;
    }
}

// ---- Toolbar --------------------------------------------------------------------------------------

BOOL CMFCToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (pParentWnd && !DYNAMIC_DOWNCAST(CFrameWnd, pParentWnd)) return CreateInPane(pParentWnd, dwStyle, nID);
    return CreatePaneWindow(L"", pParentWnd, nID, dwStyle, kPaneToolBar);
}

// A toolbar inside a pane or another window: a child window that holds the toolkit bar; its
// commands go to its owner (the parent unless another is set).
BOOL CMFCToolBar::CreateInPane(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (m_hWnd) return FALSE;
    m_dwBarStyle = dwStyle;
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | (dwStyle & WS_VISIBLE);
    if (!CWnd::CreateEx(0, nullptr, L"", style, CRect(0, 0, 0, 0), pParentWnd, nID)) return FALSE;
    delete m_pShell;
    m_pShell = new PaneShell;
    m_pShell->kind = kPaneToolBar;
    QWidget* host = WidgetOf(this);
    auto* row = new QHBoxLayout(host);
    row->setContentsMargins(0, 0, 0, 0);
    auto* tb = new QToolBar(host);
    tb->setMovable(false);
    tb->setFloatable(false);
    tb->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tb->setIconSize(QSize(kButtonPicture, kButtonPicture));
    // The strip takes the look's colours, as the frame's own bars do, over the window that holds it.
    tb->setAutoFillBackground(true);
    row->addWidget(tb);
    m_pShell->toolBar = tb;
    return TRUE;
}

CSize CMFCToolBar::CalcFixedLayout(BOOL, BOOL)
{
    if (!m_pShell || !m_pShell->toolBar) return CSize(0, 0);
    QSize hint = m_pShell->toolBar->sizeHint();
    return CSize(hint.width(), hint.height());
}

BOOL CMFCToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect, UINT nID)
{
    return Create(pParentWnd, dwStyle, nID);
}

BOOL CMFCToolBar::LoadToolBar(UINT uiResID, UINT, UINT, BOOL, UINT, UINT, UINT)
{
    const ToolBarResource* r = FindToolBarResource(uiResID);
    if (!r) return FALSE;
    // A loaded toolbar's pictures show in the menus too.
    AddMenuImages(r->buttons, r->count);
    m_uiOriginalResID = uiResID;
    return SetButtons(r->buttons, static_cast<int>(r->count));
}

BOOL CMFCToolBar::AddToolBarForImageCollection(UINT uiResID, UINT)
{
    const ToolBarResource* r = FindToolBarResource(uiResID);
    if (!r) return FALSE;
    AddMenuImages(r->buttons, r->count);
    return TRUE;
}

BOOL CMFCToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray)) return FALSE;
    m_buttons.assign(lpIDArray, lpIDArray + nIDCount);
    m_enabled.assign(m_buttons.size(), TRUE);
    m_checked.assign(m_buttons.size(), 0);
    m_userImages.assign(m_buttons.size(), -1);
    Rebuild();
    return TRUE;
}

void CMFCToolBar::Rebuild()
{
    if (!m_pShell || !m_pShell->toolBar) return;
    QToolBar* tb = m_pShell->toolBar;
    tb->clear();
    m_pShell->buttons.clear();
    for (size_t i = 0; i < m_buttons.size(); ++i)
    {
        UINT id = m_buttons[i];
        if (id == ID_SEPARATOR)
        {
            m_pShell->buttons.emplace_back(tb->addSeparator());
            continue;
        }
        // The button shows the command's picture, else its short name; the tip names it.
        CString name = CommandShortName(id);
        QString label = name.IsEmpty() ? QStringLiteral("%1").arg(id) : ToQString(name);
        QAction* a = tb->addAction(label);
        // A picture of the user images the user gave it, else the command's own.
        QIcon icon = i < m_userImages.size() ? UserImageIcon(m_userImages[i]) : QIcon();
        if (icon.isNull()) icon = ToolBarIcon(id);
        if (!icon.isNull()) a->setIcon(icon);
        a->setToolTip(label);
        CString prompt;
        if (auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, GetTopLevelParent())) frame->GetMessageString(id, prompt);
        a->setStatusTip(ToQString(prompt));
        int index = static_cast<int>(i);
        // While the frame's toolbars are customised a click picks a button up rather than running it.
        QObject::connect(a, &QAction::triggered, a, [this, index] {
            if (!IsCustomizeMode() || !m_pDockSite) ClickButton(index);
        });
        m_pShell->buttons.emplace_back(a);
    }
    if (m_bUserDefined && m_buttons.empty())
    {
        // A toolbar of the user's with no buttons yet keeps room for the first to be dropped on.
        auto* room = new QWidget(tb);
        const int side = tb->iconSize().height() + 8;
        room->setFixedSize(side * 2, side);
        tb->addWidget(room);
    }
    if (m_uiCustomizeCmd)
    {
        // The customise button ends the bar: a narrow arrow that sends its command to the frame.
        auto* button = new QToolButton(tb);
        button->setObjectName(QStringLiteral("customizeButton"));
        button->setArrowType(Qt::DownArrow);
        button->setAutoRaise(true);
        button->setFixedWidth(std::max(12, tb->fontMetrics().height() * 3 / 4));
        button->setToolTip(ToQString(m_strCustomizeText).remove(QLatin1Char('&')));
        const UINT cmd = m_uiCustomizeCmd;
        QObject::connect(button, &QToolButton::clicked, button, [this, cmd] {
            CWnd* target = m_pDockSite ? static_cast<CWnd*>(m_pDockSite) : GetParent();
            if (target && target->m_hWnd) target->PostMessage(WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
        });
        tb->addWidget(button);
    }
    if (m_pDockSite) WatchToolBarDrag(this, tb, m_pShell->buttons);
}

UINT CMFCToolBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_buttons[static_cast<size_t>(nIndex)] : 0;
}

int CMFCToolBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i] == nIDFind) return static_cast<int>(i);
    return -1;
}

BOOL CMFCToolBar::IsButtonEnabled(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() && m_buttons[static_cast<size_t>(nIndex)] != ID_SEPARATOR &&
           m_enabled[static_cast<size_t>(nIndex)];
}

BOOL CMFCToolBar::IsButtonChecked(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() && m_checked[static_cast<size_t>(nIndex)] != 0;
}

BOOL CMFCToolBar::ClickButton(int nIndex)
{
    if (!IsButtonEnabled(nIndex)) return FALSE;
    CWnd* target = m_pDockSite ? static_cast<CWnd*>(m_pDockSite) : GetParent();
    if (!target || !target->m_hWnd) return FALSE;
    target->SendMessage(WM_COMMAND, MAKEWPARAM(m_buttons[static_cast<size_t>(nIndex)], 0), 0);
    return TRUE;
}

void CMFCToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pTarget) return;
    // A toolbar inside a pane asks its owner's route.
    CCmdTarget* route = pTarget;
    if (!m_pDockSite)
        if (CWnd* owner = GetOwner()) route = owner;
    for (size_t i = 0; i < m_buttons.size(); ++i)
    {
        if (m_buttons[i] == ID_SEPARATOR) continue;
        StateCmdUI state;
        state.m_nID = m_buttons[i];
        state.m_nIndex = static_cast<UINT>(i);
        state.m_pOther = this;
        state.DoUpdate(route, bDisableIfNoHndler);
        m_enabled[i] = state.m_bEnabled;
        m_checked[i] = state.m_nCheck;
        if (m_pShell && i < m_pShell->buttons.size() && m_pShell->buttons[i])
        {
            m_pShell->buttons[i]->setEnabled(state.m_bEnabled != FALSE);
            m_pShell->buttons[i]->setCheckable(state.m_nCheck != 0);
            m_pShell->buttons[i]->setChecked(state.m_nCheck != 0);
        }
    }
}

// ---- Menu bar -------------------------------------------------------------------------------------

BOOL CMFCMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreatePaneWindow(L"", pParentWnd, nID, dwStyle, kPaneMenuBar);
}

BOOL CMFCMenuBar::IsVisible() const { return m_hWnd != nullptr; }

// ---- Status bar -----------------------------------------------------------------------------------

BOOL CMFCStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreatePaneWindow(L"", pParentWnd, nID, dwStyle, kPaneStatusBar);
}

BOOL CMFCStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray)) return FALSE;
    m_panes.assign(static_cast<size_t>(nIDCount), Pane{});
    for (int i = 0; i < nIDCount; ++i)
    {
        Pane& p = m_panes[static_cast<size_t>(i)];
        p.id = lpIDArray[i];
        p.style = i == 0 ? (SBPS_NOBORDERS | SBPS_STRETCH) : SBPS_NORMAL;
        p.width = 80;
        if (p.id == ID_INDICATOR_CAPS)
            p.text = L"CAP";
        else if (p.id == ID_INDICATOR_NUM)
            p.text = L"NUM";
        else if (p.id == ID_INDICATOR_SCRL)
            p.text = L"SCRL";
    }
    Rebuild();
    return TRUE;
}

void CMFCStatusBar::Rebuild()
{
    if (!m_pShell || !m_pDockSite || !m_pDockSite->Shell()) return;
    QStatusBar* sb = m_pDockSite->Shell()->window->statusBar();
    for (auto& w : m_pShell->statusWidgets)
        if (w)
        {
            sb->removeWidget(w);
            w->deleteLater();
        }
    m_pShell->statusWidgets.clear();
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        const Pane& p = m_panes[i];
        QWidget* w = nullptr;
        if (p.progress)
        {
            auto* bar = new QProgressBar;
            bar->setRange(0, static_cast<int>(p.total));
            bar->setTextVisible(p.progressText);
            w = bar;
        }
        else
        {
            w = new QLabel;
        }
        w->setMinimumWidth((p.style & SBPS_STRETCH) ? 0 : p.width);
        sb->addPermanentWidget(w, (p.style & SBPS_STRETCH) ? 1 : 0);
        m_pShell->statusWidgets.emplace_back(w);
        Show(static_cast<int>(i));
    }
}

void CMFCStatusBar::Show(int nIndex)
{
    if (!m_pShell || nIndex < 0 || nIndex >= static_cast<int>(m_pShell->statusWidgets.size())) return;
    QWidget* w = m_pShell->statusWidgets[static_cast<size_t>(nIndex)];
    const Pane& p = m_panes[static_cast<size_t>(nIndex)];
    if (auto* bar = qobject_cast<QProgressBar*>(w))
    {
        bar->setRange(0, static_cast<int>(p.total));
        bar->setValue(static_cast<int>(std::clamp(p.current, 0L, p.total)));
    }
    else if (auto* label = qobject_cast<QLabel*>(w))
    {
        // A key indicator shows its text only while its key is toggled on.
        const int vk = p.id == ID_INDICATOR_CAPS   ? VK_CAPITAL
                       : p.id == ID_INDICATOR_NUM  ? VK_NUMLOCK
                       : p.id == ID_INDICATOR_SCRL ? VK_SCROLL
                                                   : 0;
        const bool shown = vk == 0 || (GetKeyState(vk) & 1) != 0;
        label->setText(shown ? ToQString(p.text) : QString());
    }
}

void CMFCStatusBar::OnUpdateCmdUI()
{
    SyncLockKeys();
    for (int i = 0; i < GetCount(); ++i)
    {
        const UINT id = m_panes[static_cast<size_t>(i)].id;
        if (id == ID_INDICATOR_CAPS || id == ID_INDICATOR_NUM || id == ID_INDICATOR_SCRL) Show(i);
    }
}

int CMFCStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == nIDFind) return static_cast<int>(i);
    return -1;
}

UINT CMFCStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].id : 0;
}

BOOL CMFCStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
    m_panes[static_cast<size_t>(nIndex)].text = lpszNewText ? lpszNewText : L"";
    Show(nIndex);
    if (bUpdate && m_pShell && nIndex < static_cast<int>(m_pShell->statusWidgets.size()))
        if (QWidget* w = m_pShell->statusWidgets[static_cast<size_t>(nIndex)]) w->repaint();
    return TRUE;
}

CString CMFCStatusBar::GetPaneText(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].text : CString();
}

void CMFCStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= GetCount()) return;
    Pane& p = m_panes[static_cast<size_t>(nIndex)];
    p.id = nID;
    p.style = nStyle;
    p.width = cxWidth;
    Rebuild();
}

void CMFCStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || nIndex >= GetCount()) return;
    const Pane& p = m_panes[static_cast<size_t>(nIndex)];
    nID = p.id;
    nStyle = p.style;
    cxWidth = p.width;
}

void CMFCStatusBar::SetPaneWidth(int nIndex, int cx)
{
    if (nIndex < 0 || nIndex >= GetCount()) return;
    m_panes[static_cast<size_t>(nIndex)].width = cx;
    Rebuild();
}

int CMFCStatusBar::GetPaneWidth(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].width : 0;
}

void CMFCStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= GetCount()) return;
    m_panes[static_cast<size_t>(nIndex)].style = nStyle;
    Rebuild();
}

UINT CMFCStatusBar::GetPaneStyle(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].style : 0;
}

void CMFCStatusBar::EnablePaneProgressBar(int nIndex, long nTotal, BOOL bDisplayText, COLORREF, COLORREF, COLORREF)
{
    if (nIndex < 0 || nIndex >= GetCount()) return;
    Pane& p = m_panes[static_cast<size_t>(nIndex)];
    p.progress = nTotal >= 0;
    p.total = nTotal > 0 ? nTotal : 100;
    p.current = 0;
    p.progressText = bDisplayText != FALSE;
    Rebuild();
}

void CMFCStatusBar::SetPaneProgress(int nIndex, long nCurr, BOOL)
{
    if (nIndex < 0 || nIndex >= GetCount() || !m_panes[static_cast<size_t>(nIndex)].progress) return;
    m_panes[static_cast<size_t>(nIndex)].current = nCurr;
    Show(nIndex);
}

long CMFCStatusBar::GetPaneProgress(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].current : 0;
}

long CMFCStatusBar::GetPaneProgressTotal(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].total : 0;
}

BOOL CMFCStatusBar::HasPaneProgressBar(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() && m_panes[static_cast<size_t>(nIndex)].progress;
}

CString CMFCStatusBar::GetPaneDisplayText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount()) return CString();
    const Pane& p = m_panes[static_cast<size_t>(nIndex)];
    if (!p.progress) return p.text;
    if (!p.progressText) return CString();
    CString t;
    t.Format(L"%ld%%", p.total > 0 ? std::clamp(p.current, 0L, p.total) * 100 / p.total : 0L);
    return t;
}

// ---- Dockable pane --------------------------------------------------------------------------------

BOOL CDockablePane::Create(LPCTSTR lpszCaption, CWnd* pParentWnd, const RECT& rect, BOOL, UINT nID, DWORD dwStyle,
                           DWORD, DWORD dwControlBarStyle, CCreateContext*)
{
    m_dwPaneStyle = dwControlBarStyle;
    if (!CreatePaneWindow(lpszCaption, pParentWnd, nID, dwStyle, kPaneDock)) return FALSE;
    if (m_pShell && m_pShell->dock)
    {
        // A right click on the caption opens the pane menu.
        QDockWidget* dock = m_pShell->dock;
        dock->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(dock, &QDockWidget::customContextMenuRequested, dock, [this, dock](const QPoint& pos) {
            if (dock->widget() && pos.y() >= dock->widget()->y()) return;
            const QPoint global = dock->mapToGlobal(pos);
            ShowPaneMenu(CPoint(global.x(), global.y()));
        });
        SetUpAutoHide();
        WatchPaneDrag(this, dock);
    }
    if (m_pShell && m_pShell->dock)
    {
        int w = rect.right - rect.left, h = rect.bottom - rect.top;
        if (w > 0 && h > 0)
        {
            // Where the kept layout put it, it has the size the user gave it.
            if (!m_pShell->keptPlace) m_pShell->dock->resize(w, h);
            m_pShell->created = QSize(w, h);
        }
    }
    return TRUE;
}

CString CDockablePane::GetCaption() const
{
    return m_pShell && m_pShell->dock ? FromQString(m_pShell->dock->windowTitle()) : CString();
}

// ---- Visual managers ------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMFCVisualManager, CObject)
IMPLEMENT_DYNCREATE(CMFCVisualManagerOfficeXP, CMFCVisualManager)
IMPLEMENT_DYNCREATE(CMFCVisualManagerWindows, CMFCVisualManagerOfficeXP)
IMPLEMENT_DYNCREATE(CMFCVisualManagerOffice2003, CMFCVisualManagerOfficeXP)
IMPLEMENT_DYNCREATE(CMFCVisualManagerVS2005, CMFCVisualManagerOffice2003)
IMPLEMENT_DYNCREATE(CMFCVisualManagerVS2008, CMFCVisualManagerVS2005)
IMPLEMENT_DYNCREATE(CMFCVisualManagerWindows7, CMFCVisualManagerWindows)
IMPLEMENT_DYNCREATE(CMFCVisualManagerOffice2007, CMFCVisualManagerOffice2003)

CRuntimeClass* CMFCVisualManager::s_pDefault = nullptr;
CMFCVisualManagerOffice2007::Style CMFCVisualManagerOffice2007::s_style =
    CMFCVisualManagerOffice2007::Office2007_LunaBlue;

CMFCVisualManager* CMFCVisualManager::GetInstance()
{
    static CMFCVisualManager plain;
    return &plain;
}
