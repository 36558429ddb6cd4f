// Property sheets and pages.
#include "platform/gui/dialogs/PropertySheet.h"

#include "platform/gui/draw/Gdi.h"
#include "platform/gui/widgets/Controls.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QSignalBlocker>
#include <QtWidgets/QTabBar>

#include <algorithm>

using namespace qor::gui;

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)
IMPLEMENT_DYNAMIC(CMFCPropertyPage, CPropertyPage)
IMPLEMENT_DYNAMIC(CMFCPropertySheet, CPropertySheet)

// ---- CPropertyPage ----------------------------------------------------------------------------

CPropertyPage::CPropertyPage() = default;
// A caption id names the page's tab from the string table instead of the template caption.
CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate)
{
    if (nIDCaption) m_strCaption.LoadString(nIDCaption);
}
CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption) : CDialog(lpszTemplateName)
{
    if (nIDCaption) m_strCaption.LoadString(nIDCaption);
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = false;
    else
        UpdateData(FALSE);
    return TRUE;
}
BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }
BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}
void CPropertyPage::OnReset() { OnCancel(); }
BOOL CPropertyPage::OnQueryCancel() { return TRUE; }
// A page does not end anything itself: the sheet does.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL bChanged)
{
    m_bModified = bChanged != FALSE;
    if (!m_pSheet) return;
    bool any = false;
    for (CPropertyPage* p : m_pSheet->m_pages) any = any || p->m_bModified;
    m_pSheet->EnableApply(any);
}

void CPropertyPage::CancelToClose()
{
    if (!m_pSheet) return;
    if (CWnd* ok = m_pSheet->GetDlgItem(IDOK)) ok->SetWindowText(L"Close");
    if (CWnd* cancel = m_pSheet->GetDlgItem(IDCANCEL)) cancel->EnableWindow(FALSE);
}

CString CPropertyPage::GetTitle() const
{
    if ((m_psp.dwFlags & PSP_USETITLE) && m_psp.pszTitle) return m_psp.pszTitle;
    if (!m_strCaption.IsEmpty()) return m_strCaption;
    const DialogTemplate* t = GetTemplate();
    return t && t->caption ? CString(t->caption) : CString();
}

BOOL CPropertyPage::PreTranslateMessage(MSG*) { return FALSE; }

// ---- CPropertySheet ---------------------------------------------------------------------------

CPropertySheet::CPropertySheet() = default;
// The caption from the string table (empty when the id has no text).
CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : m_pParentWnd(pParentWnd)
{
    m_strCaption.LoadString(nIDCaption);
    m_psh.nStartPage = iSelectPage;
}
CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_pParentWnd(pParentWnd), m_strCaption(pszCaption ? pszCaption : L"")
{
    m_psh.nStartPage = iSelectPage;
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd) DestroyWindow();
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage) return;
    pPage->m_pSheet = this;
    m_pages.push_back(pPage);
    if (m_hWnd && m_tabBar) static_cast<QTabBar*>(m_tabBar)->addTab(ToQString(pPage->GetTitle()));
    if (m_hWnd && m_nav) static_cast<CListBox*>(m_nav)->AddString(pPage->GetTitle());
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }
void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount()) return;
    CPropertyPage* p = m_pages[static_cast<size_t>(nPage)];
    if (nPage == m_nActive && GetPageCount() > 1) SetActivePage(nPage == 0 ? 1 : nPage - 1);
    if (p->m_hWnd) p->DestroyWindow();
    p->m_pSheet = nullptr;
    m_pages.erase(m_pages.begin() + nPage);
    if (m_nActive > nPage) --m_nActive;
    if (m_nActive >= GetPageCount()) m_nActive = -1;
    if (m_tabBar)
    {
        QSignalBlocker block(static_cast<QTabBar*>(m_tabBar));
        static_cast<QTabBar*>(m_tabBar)->removeTab(nPage);
    }
    if (m_nav) m_nav->SendMessage(LB_DELETESTRING, static_cast<WPARAM>(nPage));
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}
int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[static_cast<size_t>(i)] == pPage) return i;
    return -1;
}
CPropertyPage* CPropertySheet::GetActivePage() const
{
    return m_hWnd ? GetPage(m_nActive) : GetPage(static_cast<int>(m_psh.nStartPage));
}
int CPropertySheet::GetActiveIndex() const { return m_hWnd ? m_nActive : static_cast<int>(m_psh.nStartPage); }

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT)
{
    m_strCaption = lpszText ? lpszText : L"";
    if (m_hWnd) SetWindowText(m_strCaption);
}

void CPropertySheet::SetNavigationLook(NavLook look, int listWidth)
{
    m_look = look;
    m_listWidth = listWidth > 0 ? listWidth : 100;
}

void CMFCPropertySheet::SetLook(PropSheetLook look, int nNavControlWidth)
{
    m_mfcLook = look;
    bool list = look == PropSheetLook_List || look == PropSheetLook_Tree || look == PropSheetLook_OutlookBar;
    SetNavigationLook(list ? NavLook::List : NavLook::Tabs, nNavControlWidth);
}

BOOL CPropertySheet::CreatePageWindow(CPropertyPage* page)
{
    page->m_pSheet = this;
    page->m_bFirstSetActive = true;
    page->m_bModified = false;
    const DialogTemplate* t = page->GetTemplate();
    return page->CreateFromTemplate(t, this, true, &m_pageRect);
}

BOOL CPropertySheet::BuildWindow()
{
    InitApplication();
    EnsureDialogKeyFilter();
    CSize base = CDialog::BaseUnitsOf(nullptr, &m_font);
    auto du = [&](int x, int y) { return CSize(MulDiv(x, base.cx, 4), MulDiv(y, base.cy, 8)); };

    // The page area holds the largest page.
    CSize pageSize(0, 0);
    for (CPropertyPage* p : m_pages)
    {
        const DialogTemplate* t = p->GetTemplate();
        if (!t) return FALSE;
        CSize b = CDialog::BaseUnitsOf(t, nullptr);
        pageSize.cx = std::max(pageSize.cx, MulDiv(t->cx, b.cx, 4));
        pageSize.cy = std::max(pageSize.cy, MulDiv(t->cy, b.cy, 8));
    }
    const CSize margin = du(7, 7), button = du(50, 14);
    const int gap = du(4, 0).cx, tabHeight = du(0, 14).cy;
    if (m_look == NavLook::List)
        m_pageRect = CRect(CPoint(margin.cx + m_listWidth + gap, margin.cy), pageSize);
    else
        m_pageRect = CRect(CPoint(margin.cx, margin.cy + tabHeight), pageSize);
    const int width = m_pageRect.right + margin.cx;
    const int buttonsTop = m_pageRect.bottom + margin.cy;
    const int height = buttonsTop + button.cy + margin.cy;

    CString caption = m_psh.pszCaption ? CString(m_psh.pszCaption) : m_strCaption;
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (!CreateEx(WS_EX_CONTROLPARENT, DialogWindowClass(), caption, WS_SYSMENU, CRect(0, 0, width, height), owner, 0))
        return FALSE;
    QWidget* w = StateOf(this)->widget;
    QWidget* ownerWidget = owner ? WidgetOf(owner) : nullptr;
    if (ownerWidget) ownerWidget = ownerWidget->window();
    w->setParent(ownerWidget, DialogFrameFlags(WS_SYSMENU));
    w->setWindowTitle(ToQString(caption));
    StateOf(this)->PlaceWidget();
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*m_font)), 0);
    HFONT font = *m_font;

    // Navigator.
    if (m_look == NavLook::List)
    {
        auto list = std::make_unique<CListBox>();
        CRect r(margin.cx, margin.cy, margin.cx + m_listWidth, m_pageRect.bottom);
        if (!list->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                              LBS_NOINTEGRALHEIGHT,
                          r, this, AFX_IDC_TAB_CONTROL))
            return FALSE;
        list->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        for (CPropertyPage* p : m_pages) list->AddString(p->GetTitle());
        m_nav = list.get();
        m_ownControls.push_back(std::move(list));
    }
    else
    {
        auto* bar = new QTabBar(w);
        bar->setFont(QFontFromHandle(font));
        bar->setDrawBase(true);
        for (CPropertyPage* p : m_pages) bar->addTab(ToQString(p->GetTitle()));
        bar->setGeometry(margin.cx, margin.cy, m_pageRect.Width(), tabHeight);
        bar->show();
        QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int i) { OnNavigate(i); });
        m_tabBar = bar;
    }

    // Buttons, right-aligned: OK, Cancel, Apply.
    struct B
    {
        UINT id;
        LPCTSTR text;
        DWORD style;
    };
    std::vector<B> buttons{{IDOK, L"OK", BS_DEFPUSHBUTTON}, {IDCANCEL, L"Cancel", BS_PUSHBUTTON}};
    if (!(m_psh.dwFlags & PSH_NOAPPLYNOW)) buttons.push_back({ID_APPLY_NOW, L"&Apply", BS_PUSHBUTTON});
    int x =
        width - margin.cx - static_cast<int>(buttons.size()) * button.cx - (static_cast<int>(buttons.size()) - 1) * gap;
    for (const B& b : buttons)
    {
        auto btn = std::make_unique<CButton>();
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | b.style | (b.id == ID_APPLY_NOW ? WS_DISABLED : 0);
        if (!btn->Create(b.text, style, CRect(CPoint(x, buttonsTop), button), this, b.id)) return FALSE;
        btn->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        m_ownControls.push_back(std::move(btn));
        x += button.cx + gap;
    }
    return TRUE;
}

void CPropertySheet::ShowPage(int nPage)
{
    for (int i = 0; i < GetPageCount(); ++i)
    {
        CPropertyPage* p = m_pages[static_cast<size_t>(i)];
        if (i != nPage && p->m_hWnd) p->ShowWindow(SW_HIDE);
    }
    if (CPropertyPage* p = GetPage(nPage)) p->ShowWindow(SW_SHOW);
    if (m_tabBar)
    {
        QSignalBlocker block(static_cast<QTabBar*>(m_tabBar));
        static_cast<QTabBar*>(m_tabBar)->setCurrentIndex(nPage);
    }
    if (m_nav) m_nav->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nPage));
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
    if (!m_hWnd)
    {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    if (nPage == m_nActive) return TRUE;
    if (CPropertyPage* cur = GetPage(m_nActive); cur && cur->m_hWnd && !cur->OnKillActive())
    {
        ShowPage(m_nActive);
        return FALSE;
    }
    CPropertyPage* page = m_pages[static_cast<size_t>(nPage)];
    if (!page->m_hWnd && !CreatePageWindow(page))
    {
        ShowPage(m_nActive);
        return FALSE;
    }
    if (!page->OnSetActive())
    {
        ShowPage(m_nActive);
        return FALSE;
    }
    m_nActive = nPage;
    ShowPage(nPage);
    return TRUE;
}
BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::OnNavigate(int nPage)
{
    if (nPage != m_nActive) SetActivePage(nPage);
}

void CPropertySheet::EnableApply(BOOL enable)
{
    if (CWnd* apply = GetDlgItem(ID_APPLY_NOW)) apply->EnableWindow(enable);
}

BOOL CPropertySheet::ApplyAll()
{
    for (CPropertyPage* p : m_pages)
    {
        if (!p->m_hWnd) continue;
        if (!p->OnApply())
        {
            SetActivePage(p);
            return FALSE;
        }
        p->m_bModified = false;
    }
    EnableApply(FALSE);
    return TRUE;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

INT_PTR CPropertySheet::DoModal()
{
    if (m_pages.empty() || m_hWnd) return -1;
    m_bEnded = false;
    m_nModalResult = -1;
    m_nActive = -1;
    m_bInModalLoop = true;
    CWnd* ownerWnd = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    struct Cleanup
    {
        CPropertySheet* s;
        HWND owner;
        ~Cleanup()
        {
            s->m_bInModalLoop = false;
            const bool shown = s->m_hWnd && s->IsWindowVisible();
            if (s->m_hWnd)
            {
                s->ShowWindow(SW_HIDE);
                s->DestroyWindow();
            }
            s->m_ownControls.clear();
            s->m_nav = nullptr;
            s->m_tabBar = nullptr; // went with the window's widget
            s->m_nActive = -1;
            if (shown) ReactivateOwner(owner);
        }
    } cleanup{this, ownerWnd ? ownerWnd->GetSafeHwnd() : nullptr};
    if (!BuildWindow()) return -1;
    OnInitDialog();
    int start = static_cast<int>(m_psh.nStartPage);
    if (start < 0 || start >= GetPageCount()) start = 0;
    if (!SetActivePage(start) && (start == 0 || !SetActivePage(0))) return -1;
    if (!m_bEnded)
    {
        StateOf(this)->widget->setWindowModality(Qt::ApplicationModal);
        CenterWindow(m_pParentWnd);
        ShowWindow(SW_SHOW);
        if (CPropertyPage* p = GetActivePage())
        {
            if (CWnd* f = p->GetNextDlgTabItem(nullptr)) f->SetFocus();
        }
        if (!RunModalLoop(*this, m_bEnded, &m_loop)) EndDialog(IDCANCEL);
    }
    return m_nModalResult;
}

void CPropertySheet::EndDialog(int nEndID)
{
    m_nModalResult = nEndID;
    m_bEnded = true;
    if (m_loop) QuitModalLoop(m_loop);
}

BOOL CPropertySheet::PressButton(int nButton)
{
    UINT id = nButton == PSBTN_OK         ? IDOK
              : nButton == PSBTN_CANCEL   ? IDCANCEL
              : nButton == PSBTN_APPLYNOW ? ID_APPLY_NOW
                                          : 0;
    if (!id || !m_hWnd) return FALSE;
    CWnd* b = GetDlgItem(static_cast<int>(id));
    if (b && !b->IsWindowEnabled()) return FALSE;
    SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                reinterpret_cast<LPARAM>(b ? b->m_hWnd : nullptr));
    return TRUE;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    if (id == AFX_IDC_TAB_CONTROL && code == LBN_SELCHANGE && m_nav)
    {
        OnNavigate(static_cast<int>(m_nav->SendMessage(LB_GETCURSEL)));
        return TRUE;
    }
    if (code == BN_CLICKED)
    {
        CPropertyPage* cur = GetPage(m_nActive);
        switch (id)
        {
        case IDOK:
            if (cur && cur->m_hWnd && !cur->OnKillActive()) return TRUE;
            if (ApplyAll()) EndDialog(IDOK);
            return TRUE;
        case IDCANCEL:
            if (cur && cur->m_hWnd && !cur->OnQueryCancel()) return TRUE;
            for (CPropertyPage* p : m_pages)
                if (p->m_hWnd) p->OnReset();
            EndDialog(IDCANCEL);
            return TRUE;
        case ID_APPLY_NOW:
            if (cur && cur->m_hWnd && !cur->OnKillActive()) return TRUE;
            ApplyAll();
            return TRUE;
        default: break;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CPropertySheet::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
    {
        PressButton(PSBTN_CANCEL);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg || !m_hWnd) return FALSE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) return DialogKey(this, pMsg, IDOK);
    return FALSE;
}
