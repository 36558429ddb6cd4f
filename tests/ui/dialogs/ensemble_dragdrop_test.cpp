// Dragging list entries with the mouse: the manager's threshold and messages on a spy
// dialog, then the ensemble dialog's lists, OK and Cancel, and load models of one name.
#include "ui/dialogs/DragDropMgr.h"
#include "ui/dialogs/DragDropText.h"
#include "ui/dialogs/LoadModelEnsembleDlg.h"

#include "engine/model/LoadModelEnsemble.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"
#include "res/LoadModelDialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr UINT IDD_SPY = 9401;
constexpr UINT IDC_LEFT = 1035;
constexpr UINT IDC_RIGHT = 1036;

const DialogItem kSpyItems[] = {
    {L"ListBox", IDC_LEFT, L"", LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 7, 7, 80, 80},
    {L"ListBox", IDC_RIGHT, L"", LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 100, 7, 80, 80},
};
QOR_DIALOG_RESOURCE(IDD_SPY, L"Spy", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_VISIBLE, 190, 120, kSpyItems);

// A payload that counts how many of its kind are alive.
struct CountedText : CDragDropText
{
    static inline int alive = 0;
    explicit CountedText(LPCTSTR text) : CDragDropText(text) { ++alive; }
    ~CountedText() override { --alive; }
};

struct Seen
{
    UINT message;
    WPARAM wParam;
    bool hasData;
    HWND target;
    CPoint pt;
};

class CSpyDlg : public CDialogEx
{
public:
    CSpyDlg() : CDialogEx(IDD_SPY) {}
    CListBox m_Left, m_Right;
    CDragDropMgr m_Mgr;
    std::vector<Seen> m_Seen;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_LEFT, m_Left);
        DDX_Control(pDX, IDC_RIGHT, m_Right);
    }
    BOOL OnInitDialog() override
    {
        CDialogEx::OnInitDialog();
        for (LPCTSTR text : {L"1 - A", L"2 - B", L"3 - C"}) m_Left.AddString(text);
        static const DRAGDROPWND kWindows[] = {
            {IDC_LEFT, CDragDropMgr::DDW_SOURCE}, {IDC_RIGHT, CDragDropMgr::DDW_TARGET}, {0, 0}};
        m_Mgr.Install(this, kWindows);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        return m_Mgr.PreTranslateMessage(pMsg) || CDialogEx::PreTranslateMessage(pMsg);
    }
    LRESULT Record(UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* info = reinterpret_cast<DragDropInfo*>(lParam);
        m_Seen.push_back({message, wParam, info->data != nullptr, info->hwndTarget, CPoint(info->pt)});
        return 0;
    }
    LRESULT OnEnter(WPARAM wParam, LPARAM lParam)
    {
        Record(WM_DD_DRAGENTER, wParam, lParam);
        reinterpret_cast<DragDropInfo*>(lParam)->data = new CountedText(L"2 - B");
        return TRUE;
    }
    LRESULT OnOver(WPARAM wParam, LPARAM lParam) { return Record(WM_DD_DRAGOVER, wParam, lParam); }
    LRESULT OnDrop(WPARAM wParam, LPARAM lParam) { return Record(WM_DD_DRAGDROP, wParam, lParam); }
    LRESULT OnAbort(WPARAM wParam, LPARAM lParam) { return Record(WM_DD_DRAGABORT, wParam, lParam); }
    size_t Count(UINT message) const
    {
        return static_cast<size_t>(
            std::count_if(m_Seen.begin(), m_Seen.end(), [message](const Seen& s) { return s.message == message; }));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSpyDlg, CDialogEx)
ON_REGISTERED_MESSAGE(WM_DD_DRAGENTER, OnEnter)
ON_REGISTERED_MESSAGE(WM_DD_DRAGOVER, OnOver)
ON_REGISTERED_MESSAGE(WM_DD_DRAGDROP, OnDrop)
ON_REGISTERED_MESSAGE(WM_DD_DRAGABORT, OnAbort)
END_MESSAGE_MAP()

CPoint EntryPoint(CListBox& list, int index)
{
    CRect rect;
    list.GetItemRect(index, &rect);
    return rect.CenterPoint();
}

// A point of another window in the client coordinates of the window the mouse works on.
CPoint Across(CWnd& from, CWnd& to, CPoint inTo)
{
    CPoint p = inTo;
    to.ClientToScreen(&p);
    from.ScreenToClient(&p);
    return p;
}

void Drag(CListBox& source, int index, CWnd& target, CPoint inTarget)
{
    const CPoint start = EntryPoint(source, index);
    qor::test::MouseDown(&source, start);
    qor::test::MouseMove(&source, start + CPoint(5, 0), MK_LBUTTON);
    qor::test::MouseMove(&source, Across(source, target, inTarget), MK_LBUTTON);
    qor::test::MouseUp(&source, Across(source, target, inTarget));
}

} // namespace

TEST(DragDropMgr, ClickDragDropAbortAndEscape)
{
    qor::test::EnsureGuiApplication();
    CSpyDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SPY));
    CountedText::alive = 0;

    // Three pixels and back: an ordinary click that selects the entry.
    const CPoint second = EntryPoint(dlg.m_Left, 1);
    qor::test::MouseDown(&dlg.m_Left, second);
    qor::test::MouseMove(&dlg.m_Left, second + CPoint(3, 0), MK_LBUTTON);
    qor::test::MouseUp(&dlg.m_Left, second + CPoint(3, 0));
    EXPECT_TRUE(dlg.m_Seen.empty());
    EXPECT_EQ(dlg.m_Left.GetCurSel(), 1);
    EXPECT_EQ(dlg.m_Mgr.GetState(), CDragDropMgr::NONE);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Four pixels start a drag; the drop reaches the target with the point in its client area.
    Drag(dlg.m_Left, 1, dlg.m_Right, CPoint(10, 12));
    ASSERT_GE(dlg.m_Seen.size(), 3u);
    EXPECT_EQ(dlg.m_Seen[0].message, WM_DD_DRAGENTER);
    EXPECT_EQ(dlg.m_Seen[0].wParam, IDC_LEFT);
    EXPECT_EQ(dlg.m_Seen[0].pt, second);
    EXPECT_EQ(dlg.m_Seen[1].message, WM_DD_DRAGOVER);
    EXPECT_EQ(dlg.m_Seen[1].target, dlg.m_Left.GetSafeHwnd());
    EXPECT_EQ(dlg.m_Seen[dlg.m_Seen.size() - 2].target, dlg.m_Right.GetSafeHwnd());
    const Seen& drop = dlg.m_Seen.back();
    EXPECT_EQ(drop.message, WM_DD_DRAGDROP);
    EXPECT_EQ(drop.wParam, IDC_RIGHT);
    EXPECT_TRUE(drop.hasData);
    EXPECT_EQ(drop.pt, CPoint(10, 12));
    EXPECT_EQ(CountedText::alive, 0);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Released over the dialog itself: an abort to the source.
    dlg.m_Seen.clear();
    CRect client;
    dlg.GetClientRect(&client);
    Drag(dlg.m_Left, 0, dlg, CPoint(client.Width() / 2, client.bottom - 5));
    ASSERT_FALSE(dlg.m_Seen.empty());
    EXPECT_EQ(dlg.m_Seen.back().message, WM_DD_DRAGABORT);
    EXPECT_EQ(dlg.m_Seen.back().wParam, IDC_LEFT);
    EXPECT_EQ(dlg.Count(WM_DD_DRAGDROP), 0u);
    EXPECT_EQ(CountedText::alive, 0);

    // Esc during a drag aborts it and frees the payload; before a drag it aborts without one.
    dlg.m_Seen.clear();
    const CPoint first = EntryPoint(dlg.m_Left, 0);
    qor::test::MouseDown(&dlg.m_Left, first);
    qor::test::MouseMove(&dlg.m_Left, first + CPoint(0, 5), MK_LBUTTON);
    EXPECT_EQ(CountedText::alive, 1);
    qor::test::KeyPress(&dlg.m_Left, VK_ESCAPE);
    EXPECT_EQ(dlg.m_Seen.back().message, WM_DD_DRAGABORT);
    EXPECT_EQ(CountedText::alive, 0);
    EXPECT_EQ(dlg.m_Mgr.GetState(), CDragDropMgr::NONE);
    EXPECT_EQ(::GetCapture(), nullptr);
    qor::test::MouseUp(&dlg.m_Left, first + CPoint(0, 5));

    dlg.m_Seen.clear();
    qor::test::MouseDown(&dlg.m_Left, first);
    qor::test::KeyPress(&dlg.m_Left, VK_ESCAPE);
    ASSERT_EQ(dlg.m_Seen.size(), 1u);
    EXPECT_EQ(dlg.m_Seen[0].message, WM_DD_DRAGABORT);
    EXPECT_FALSE(dlg.m_Seen[0].hasData);
    EXPECT_TRUE(dlg.IsWindowVisible()); // the Esc was the drag's, not the dialog's
    qor::test::MouseUp(&dlg.m_Left, first);
    dlg.DestroyWindow();
}

namespace {

std::vector<CString> Entries(CListBox& list)
{
    std::vector<CString> out;
    for (int i = 0; i < list.GetCount(); ++i)
    {
        CString text;
        list.GetText(i, text);
        out.push_back(text);
    }
    return out;
}

struct Case
{
    std::vector<std::shared_ptr<CLoadModel>> models;
    std::shared_ptr<CLoadModelEnsemble> ensemble = std::make_shared<CLoadModelEnsemble>(1, L"Ensemble");
    Case()
    {
        // Two load models share a name; only identity tells them apart.
        models.push_back(std::make_shared<CLoadModel>(1, L"T44"));
        models.push_back(std::make_shared<CLoadModel>(2, L"B26-UDL"));
        models.push_back(std::make_shared<CLoadModel>(3, L"T44"));
        ensemble->AddLoadModel(models[2]);
    }
};

int RunEnsemble(Case& c, std::function<void(CLoadModelEnsembleDlg&)> step)
{
    qor::test::EnsureGuiApplication();
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CLoadModelEnsembleDlg>(std::move(step));
    CLoadModelEnsembleDlg dlg;
    dlg.SetDescription(c.ensemble->m_Description);
    dlg.SetID(c.ensemble->m_ID);
    dlg.SetLoadModelEnsemble(c.ensemble);
    dlg.SetLoadModels(c.models);
    return static_cast<int>(dlg.DoModal());
}

} // namespace

TEST(LoadModelEnsembleDlg, DragsBetweenListsAndOkRebuildsTheEnsembleInListOrder)
{
    Case c;
    const int result = RunEnsemble(c, [&](CLoadModelEnsembleDlg& dlg) {
        CListBox& available = dlg.GetAvailableList();
        CListBox& included = dlg.GetIncludedList();
        ASSERT_EQ(Entries(available), (std::vector<CString>{L"1 - T44", L"2 - B26-UDL", L"3 - T44"}));
        ASSERT_EQ(Entries(included), (std::vector<CString>{L"3 - T44"}));

        // B26-UDL leaves the available list and joins the included one at the end.
        Drag(available, 1, included, CPoint(20, 60));
        EXPECT_EQ(Entries(available), (std::vector<CString>{L"1 - T44", L"3 - T44"}));
        EXPECT_EQ(Entries(included), (std::vector<CString>{L"3 - T44", L"2 - B26-UDL"}));
        EXPECT_EQ(included.GetCurSel(), 1);

        // The first T44 joins too; the second stays included once.
        Drag(available, 0, included, CPoint(20, 60));
        EXPECT_EQ(Entries(included), (std::vector<CString>{L"3 - T44", L"2 - B26-UDL", L"1 - T44"}));

        // Dropped on its own list an entry moves to the end.
        Drag(included, 0, included, CPoint(20, 60));
        EXPECT_EQ(Entries(included), (std::vector<CString>{L"2 - B26-UDL", L"1 - T44", L"3 - T44"}));

        // Released outside the lists, the entry goes back to the end of its list.
        CRect client;
        dlg.GetClientRect(&client);
        Drag(included, 0, dlg, CPoint(10, client.bottom - 8));
        EXPECT_EQ(Entries(included), (std::vector<CString>{L"1 - T44", L"3 - T44", L"2 - B26-UDL"}));
        EXPECT_TRUE(qor::test::PressOK(dlg));
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(c.ensemble->GetLoadModelCount(), 3);
    EXPECT_EQ(c.ensemble->m_nLoadModels, 3);
    EXPECT_EQ(c.ensemble->GetLoadModel(0), c.models[0]);
    EXPECT_EQ(c.ensemble->GetLoadModel(1), c.models[2]);
    EXPECT_EQ(c.ensemble->GetLoadModel(2), c.models[1]);
}

TEST(LoadModelEnsembleDlg, CancelLeavesTheEnsembleAndARenamedModelStaysIncluded)
{
    Case c;
    RunEnsemble(c, [&](CLoadModelEnsembleDlg& dlg) {
        Drag(dlg.GetAvailableList(), 1, dlg.GetIncludedList(), CPoint(20, 60));
        EXPECT_EQ(dlg.GetIncludedList().GetCount(), 2);
        qor::test::PressCancel(dlg);
    });
    ASSERT_EQ(c.ensemble->GetLoadModelCount(), 1);
    EXPECT_EQ(c.ensemble->GetLoadModel(0), c.models[2]);

    RunEnsemble(c, [&](CLoadModelEnsembleDlg& dlg) {
        dlg.SetEditLoadModel([](std::shared_ptr<CLoadModel> model) { model->m_Description = L"T44 rear"; });
        CListBox& included = dlg.GetIncludedList();
        const CPoint entry = EntryPoint(included, 0);
        qor::test::Click(&included, entry);
        qor::test::MouseDoubleClick(&included, entry);
        qor::test::MouseUp(&included, entry);
        EXPECT_EQ(Entries(included), (std::vector<CString>{L"3 - T44 rear"}));
        EXPECT_EQ(Entries(dlg.GetAvailableList())[2], L"3 - T44 rear");
        EXPECT_TRUE(qor::test::PressOK(dlg));
    });
    ASSERT_EQ(c.ensemble->GetLoadModelCount(), 1);
    EXPECT_EQ(c.ensemble->GetLoadModel(0), c.models[2]);
}
