// A grid on a dialog template's custom control ("MFCGridCtrl"): created with the dialog and
// attached to the dialog's CGridCtrl member by data exchange.
#include "controls/grid/GridCtrl.h"
#include "platform/gui/Afx.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

namespace {

enum : UINT
{
    IDC_GRID = 1039,
    IDC_TOTAL = 1040
};

const DialogItem kItems[] = {
    {L"MFCGridCtrl", IDC_GRID, L"", WS_TABSTOP | WS_BORDER, 7, 7, 180, 90},
    {L"Edit", IDC_TOTAL, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 102, 60, 14},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 83, 122, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 137, 122, 50, 14},
};
QOR_DIALOG_RESOURCE(9201, L"Factors", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 194, 143, kItems);

class CGridDlg : public CDialog
{
public:
    CGridDlg() : CDialog(9201) {}
    CGridCtrl m_grid;
    double m_total = 1.3;
    int m_inits = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_GRID, m_grid);
        DDX_Text(pDX, IDC_TOTAL, m_total);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ++m_inits;
        m_grid.SetRowCount(5);
        m_grid.SetColumnCount(3);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
        m_grid.SetItemText(1, 1, L"1.5");
        return TRUE;
    }
};

TEST(GridDialogTest, TemplateCustomControlBecomesTheDialogsGrid)
{
    qor::test::EnsureGuiApplication();
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CGridDlg>([](CGridDlg& dlg) {
        ASSERT_NE(dlg.m_grid.m_hWnd, nullptr);
        EXPECT_EQ(dlg.GetDlgItem(IDC_GRID), &dlg.m_grid);
        EXPECT_EQ(dlg.m_grid.GetParent(), &dlg);
        EXPECT_EQ(dlg.m_grid.GetDlgCtrlID(), static_cast<int>(IDC_GRID));
        EXPECT_EQ(dlg.m_grid.GetClassName(), L"MFCGridCtrl");
        EXPECT_EQ(dlg.m_grid.GetRowCount(), 5);
        EXPECT_EQ(dlg.m_grid.GetColumnCount(), 3);
        EXPECT_EQ(dlg.m_grid.GetItemText(1, 1), L"1.5");

        // In its template rectangle.
        CSize base = dlg.GetBaseUnits();
        CRect r;
        dlg.m_grid.GetWindowRect(&r);
        dlg.ScreenToClient(&r);
        EXPECT_EQ(r.left, MulDiv(7, base.cx, 4));
        EXPECT_EQ(r.top, MulDiv(7, base.cy, 8));
        EXPECT_EQ(r.Width(), MulDiv(187, base.cx, 4) - MulDiv(7, base.cx, 4));
        EXPECT_EQ(r.Height(), MulDiv(97, base.cy, 8) - MulDiv(7, base.cy, 8));

        // It is a working window: it paints its cells.
        qor::test::PaintNow(&dlg.m_grid);
        EXPECT_NE(qor::test::SurfaceSize(&dlg.m_grid).cx, 0);

        dlg.SetDlgItemText(IDC_TOTAL, L"1.95");
        qor::test::PressOK(dlg);
    });
    CGridDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_total, 1.95);
    EXPECT_EQ(dlg.m_grid.m_hWnd, nullptr); // went with the dialog

    // Shown again, the member is attached to the new window.
    driven.ThenAs<CGridDlg>([](CGridDlg& d) {
        EXPECT_EQ(d.GetDlgItem(IDC_GRID), &d.m_grid);
        EXPECT_EQ(d.m_grid.GetRowCount(), 5);
        qor::test::PressCancel(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_inits, 2);
}

} // namespace
