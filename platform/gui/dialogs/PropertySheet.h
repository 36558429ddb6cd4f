// Property sheets: CPropertySheet (a top-level window with a page navigator, the page area
// and OK / Cancel / Apply) and CPropertyPage (a child dialog built from its template when it
// is first shown). Leaving a page asks its OnKillActive, showing one calls OnSetActive; OK
// asks the shown page's OnKillActive, then OnApply of every page that was created.
#pragma once

#include "platform/gui/dialogs/Dialog.h"

#include <vector>

#ifndef ID_APPLY_NOW
#define ID_APPLY_NOW 0x3021
#endif
#define AFX_IDC_TAB_CONTROL 0x3020
#define PSH_NOAPPLYNOW 0x00000080u
#define PSH_HASHELP 0x00000200u
#define PSH_PROPTITLE 0x00000001u
#define PSP_USETITLE 0x00000008u
#define PSP_HASHELP 0x00000020u
#define PSBTN_OK 1
#define PSBTN_CANCEL 5
#define PSBTN_APPLYNOW 4

struct PROPSHEETHEADER
{
    DWORD dwSize = sizeof(PROPSHEETHEADER);
    DWORD dwFlags = 0;
    LPCTSTR pszCaption = nullptr;
    UINT nStartPage = 0;
};
struct PROPSHEETPAGE
{
    DWORD dwSize = sizeof(PROPSHEETPAGE);
    DWORD dwFlags = 0;
    LPCTSTR pszTitle = nullptr;
};

class CPropertySheet;

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

    PROPSHEETPAGE m_psp;

    // Page transitions (defaults: OnSetActive refreshes the controls after the first time,
    // OnKillActive reads them back (FALSE keeps the page), OnApply calls OnOK, OnReset
    // calls OnCancel).
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    void OnOK() override;
    void OnCancel() override;

    void SetModified(BOOL bChanged = TRUE);
    void CancelToClose();
    // The page's title (its template caption unless m_psp.pszTitle is used).
    CString GetTitle() const;
    CPropertySheet* GetSheet() const { return m_pSheet; }

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    friend class CPropertySheet;
    CPropertySheet* m_pSheet = nullptr;
    bool m_bFirstSetActive = true;
    bool m_bModified = false;
    CString m_strCaption;
};

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    PROPSHEETHEADER m_psh;

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Moves to a page: the shown page's OnKillActive may refuse (FALSE); the new page is
    // created if needed and gets OnSetActive.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);

    virtual INT_PTR DoModal();
    void EndDialog(int nEndID);
    // Presses a button as the user would (PSBTN_OK, PSBTN_CANCEL, PSBTN_APPLYNOW).
    BOOL PressButton(int nButton);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual BOOL OnInitDialog();

    // Navigation look: tabs (default) or a list on the left of the given width (pixels).
    enum class NavLook
    {
        Tabs,
        List
    };
    void SetNavigationLook(NavLook look, int listWidth);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CPropertyPage;
    CWnd* m_pParentWnd = nullptr;
    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    int m_nActive = -1;
    int m_nModalResult = -1;
    bool m_bEnded = false;
    bool m_bInModalLoop = false;
    void* m_loop = nullptr;
    NavLook m_look = NavLook::Tabs;
    int m_listWidth = 100;
    CRect m_pageRect;
    std::unique_ptr<CFont> m_font;
    std::vector<std::unique_ptr<CWnd>> m_ownControls; // navigator and buttons
    CWnd* m_nav = nullptr;
    void* m_tabBar = nullptr;

    BOOL BuildWindow();
    BOOL CreatePageWindow(CPropertyPage* page);
    void ShowPage(int nPage);
    BOOL ApplyAll();
    void OnNavigate(int nPage);
    void EnableApply(BOOL enable);
};

// The CMFC variants used by the program.
class CMFCPropertyPage : public CPropertyPage
{
    DECLARE_DYNAMIC(CMFCPropertyPage)
public:
    using CPropertyPage::CPropertyPage;
    CMFCPropertyPage() = default;
};

class CMFCPropertySheet : public CPropertySheet
{
    DECLARE_DYNAMIC(CMFCPropertySheet)
public:
    using CPropertySheet::CPropertySheet;
    CMFCPropertySheet() = default;

    enum PropSheetLook
    {
        PropSheetLook_Tabs,
        PropSheetLook_OutlookBar,
        PropSheetLook_Tree,
        PropSheetLook_OneNoteTabs,
        PropSheetLook_List,
    };
    // List and tree looks show a list of the page titles on the left; the others tabs.
    void SetLook(PropSheetLook look, int nNavControlWidth = 100);
    PropSheetLook GetLook() const { return m_mfcLook; }

private:
    PropSheetLook m_mfcLook = PropSheetLook_Tabs;
};
