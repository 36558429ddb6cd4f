// Clipboard text exchange of the grid: copy, cut, paste, the Edit commands and their
// enabling, the owner's veto, and the drop target that refuses every drop.
#include "grid_test_util.h"

#include "controls/grid/GridCellNumeric.h"

#include <cstring>
#include <string>

using namespace gridtest;

namespace {

// A host whose answer to the end of a label edit can be set apart from the others.
class CEditHost : public CHostWnd
{
public:
    LRESULT endResult = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const LRESULT result = CHostWnd::WindowProc(message, wParam, lParam);
        if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == GVN_ENDLABELEDIT) return endResult;
        return result;
    }
};

// A grid whose command update handlers can be asked directly.
class CClipGrid : public CGridCtrl
{
public:
    BOOL Enabled(UINT id)
    {
        CCmdUI ui;
        ui.m_nID = id;
        switch (id)
        {
        case ID_EDIT_CUT: OnUpdateEditCut(&ui); break;
        case ID_EDIT_COPY: OnUpdateEditCopy(&ui); break;
        case ID_EDIT_PASTE: OnUpdateEditPaste(&ui); break;
        case ID_EDIT_SELECT_ALL: OnUpdateEditSelectAll(&ui); break;
        default: ADD_FAILURE() << "no update handler for " << id;
        }
        EXPECT_TRUE(ui.m_bEnableChanged);
        return ui.m_bEnabled;
    }
};

class GridClipboard : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InitApp(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateHost(500, 400));
        ASSERT_TRUE(m_grid.Create(CRect(0, 0, 480, 380), &m_host, 1));
        // 4 x 4 with a fixed row and column; body texts "r.c".
        m_grid.SetRowCount(4);
        m_grid.SetColumnCount(4);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
        for (int r = 0; r < 4; r++)
            for (int c = 0; c < 4; c++) m_grid.SetItemText(r, c, Text(r, c));
        qor::SetClipboardText(L"before");
        m_host.notices.clear();
    }
    void TearDown() override
    {
        m_grid.DestroyWindow();
        m_host.DestroyWindow();
    }

    static CString Text(int r, int c)
    {
        CString s;
        s.Format(L"%d.%d", r, c);
        return s;
    }
    static CString Clipboard()
    {
        CString text;
        qor::GetClipboardText(text);
        return text;
    }
    void Select(int r, int c) { m_grid.SetItemState(r, c, m_grid.GetItemState(r, c) | GVIS_SELECTED); }
    BOOL Enabled(UINT id) { return m_grid.Enabled(id); }
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const auto& n : m_host.notices) codes.push_back(n.hdr.code);
        return codes;
    }

    CEditHost m_host;
    CClipGrid m_grid;
};

std::string Bytes(COleDataSource* source)
{
    HGLOBAL h = source ? source->GetCachedData(CF_TEXT) : nullptr;
    if (!h) return "<none>";
    return std::string(static_cast<const char*>(::GlobalLock(h)), ::GlobalSize(h));
}

} // namespace

// ---- Copy -------------------------------------------------------------------------------------

TEST_F(GridClipboard, CopyOfCornerCellsGivesEmptyFieldsBetween)
{
    m_grid.SetItemText(1, 1, L"a");
    m_grid.SetItemText(1, 3, L"b");
    m_grid.SetItemText(2, 1, L"c");
    m_grid.SetItemText(2, 3, L"d");
    Select(1, 1);
    Select(1, 3);
    Select(2, 1);
    Select(2, 3);

    COleDataSource* source = m_grid.CopyTextFromGrid();
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(Bytes(source), std::string("a\t\tb\r\nc\t\td\0", 11));
    delete source;
}

TEST_F(GridClipboard, CopyCommandPutsTabAndCrLfTextOnTheClipboard)
{
    m_grid.SetItemText(2, 2, L"Br\u00fccke \u20ac");
    m_grid.SetSelectedRange(1, 1, 2, 2);
    m_grid.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    EXPECT_EQ(Clipboard(), CString(L"1.1\t1.2\r\n2.1\tBr\u00fccke \u20ac"));
    // Copying changes no cell.
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"1.1"));
}

TEST_F(GridClipboard, HiddenRowsAndColumnsAreLeftOut)
{
    m_grid.SetSelectedRange(1, 1, 3, 3);
    m_grid.SetRowHeight(2, 0);
    m_grid.SetColumnWidth(2, 0);
    COleDataSource* source = m_grid.CopyTextFromGrid();
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(Bytes(source), std::string("1.1\t1.3\r\n3.1\t3.3\0", 17));
    delete source;
}

TEST_F(GridClipboard, CopyWithoutSelectionGivesNothing)
{
    EXPECT_EQ(m_grid.CopyTextFromGrid(), nullptr);
    m_grid.OnEditCopy();
    EXPECT_EQ(Clipboard(), CString(L"before"));
}

// ---- Cut --------------------------------------------------------------------------------------

TEST_F(GridClipboard, CutCopiesThenEmptiesTheSelectedCells)
{
    m_grid.SetSelectedRange(2, 2, 3, 3);
    m_grid.SendMessage(WM_COMMAND, ID_EDIT_CUT, 0);
    EXPECT_EQ(Clipboard(), CString(L"2.2\t2.3\r\n3.2\t3.3"));
    for (int r = 2; r <= 3; r++)
        for (int c = 2; c <= 3; c++)
        {
            EXPECT_TRUE(m_grid.GetItemText(r, c).IsEmpty()) << r << "," << c;
            EXPECT_TRUE(m_grid.GetItemState(r, c) & GVIS_MODIFIED);
        }
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"1.1"));
    // Each emptied cell was announced and confirmed to the owner.
    int begins = 0, ends = 0;
    for (UINT code : Codes())
    {
        begins += code == GVN_BEGINLABELEDIT;
        ends += code == GVN_ENDLABELEDIT;
    }
    EXPECT_EQ(begins, 4);
    EXPECT_EQ(ends, 4);
}

TEST_F(GridClipboard, CutWithNothingSelectedChangesNothing)
{
    m_grid.OnEditCut();
    EXPECT_EQ(Clipboard(), CString(L"before"));
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"1.1"));
    EXPECT_TRUE(m_host.notices.empty());
}

TEST_F(GridClipboard, CutOfReadOnlyGridOrCellKeepsText)
{
    m_grid.SetItemState(1, 2, m_grid.GetItemState(1, 2) | GVIS_READONLY);
    m_grid.SetSelectedRange(1, 1, 1, 2);
    m_grid.OnEditCut();
    EXPECT_TRUE(m_grid.GetItemText(1, 1).IsEmpty());
    EXPECT_EQ(m_grid.GetItemText(1, 2), CString(L"1.2"));

    m_grid.SetEditable(FALSE);
    qor::SetClipboardText(L"before");
    m_grid.SetSelectedRange(2, 1, 2, 1);
    m_grid.OnEditCut();
    EXPECT_EQ(Clipboard(), CString(L"before"));
    EXPECT_EQ(m_grid.GetItemText(2, 1), CString(L"2.1"));
}

// ---- Paste ------------------------------------------------------------------------------------

TEST_F(GridClipboard, PasteSplitsAtLineFeedsAndAtCommasInTextWithoutTabs)
{
    qor::SetClipboardText(L"x,y\n z, w \r\n");
    m_grid.SetFocusCell(2, 2);
    m_grid.OnEditPaste();
    EXPECT_EQ(m_grid.GetItemText(2, 2), CString(L"x"));
    EXPECT_EQ(m_grid.GetItemText(2, 3), CString(L"y"));
    EXPECT_EQ(m_grid.GetItemText(3, 2), CString(L"z"));
    EXPECT_EQ(m_grid.GetItemText(3, 3), CString(L"w"));
    EXPECT_EQ(m_grid.GetItemText(1, 2), CString(L"1.2"));
    EXPECT_EQ(m_grid.GetItemText(2, 1), CString(L"2.1"));
    // The pasted cells end up selected.
    EXPECT_TRUE(m_grid.IsCellSelected(2, 2));
    EXPECT_TRUE(m_grid.IsCellSelected(3, 3));
    EXPECT_EQ(m_grid.GetSelectedCount(), 4);
}

TEST_F(GridClipboard, GroupedNumbersCopiedAndPastedBackKeepTheirCells)
{
    // Numeric cells show "1,234.50": a copy of them, and text with TABs from a spreadsheet,
    // splits at the TABs only.
    for (int r = 1; r <= 2; r++)
        for (int c = 1; c <= 2; c++)
        {
            ASSERT_TRUE(m_grid.SetCellType(r, c, RUNTIME_CLASS(CGridCellNumeric)));
            auto* cell = static_cast<CGridCellNumeric*>(m_grid.GetCell(r, c));
            cell->m_nFlags = CGridCellNumeric::Decimals | CGridCellNumeric::Negative;
            cell->SetNumber(r * 1000.0 + c * 234.5 + 0.25);
            Select(r, c);
        }
    m_grid.OnEditCopy();
    EXPECT_EQ(Clipboard(), CString(L"1,234.75\t1,469.25\r\n2,234.75\t2,469.25"));

    ASSERT_TRUE(m_grid.SetCellType(3, 2, RUNTIME_CLASS(CGridCellNumeric)));
    ASSERT_TRUE(m_grid.SetCellType(3, 3, RUNTIME_CLASS(CGridCellNumeric)));
    static_cast<CGridCellNumeric*>(m_grid.GetCell(3, 2))->m_nFlags = CGridCellNumeric::Decimals;
    static_cast<CGridCellNumeric*>(m_grid.GetCell(3, 3))->m_nFlags = CGridCellNumeric::Decimals;
    m_grid.ResetSelectedRange();
    m_grid.SetFocusCell(2, 2);
    m_grid.OnEditPaste();
    EXPECT_EQ(m_grid.GetItemText(2, 2), CString(L"1,234.75"));
    EXPECT_EQ(m_grid.GetItemText(2, 3), CString(L"1,469.25"));
    EXPECT_EQ(m_grid.GetItemText(3, 2), CString(L"2,234.75"));
    EXPECT_EQ(m_grid.GetItemText(3, 3), CString(L"2,469.25"));
    EXPECT_DOUBLE_EQ(static_cast<CGridCellNumeric*>(m_grid.GetCell(3, 3))->GetNumber(), 2469.25);
    EXPECT_EQ(m_grid.GetItemText(2, 1), CString(L"2,234.75"));
    EXPECT_EQ(m_grid.GetItemText(1, 3), CString(L"1.3"));
    EXPECT_EQ(m_grid.GetSelectedCount(), 4);

    // Text without a TAB still splits at commas: four cells.
    qor::SetClipboardText(L"1,2\n3,4");
    m_grid.ResetSelectedRange();
    m_grid.SetFocusCell(1, 1);
    m_grid.OnEditPaste();
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"1.00"));
    EXPECT_EQ(m_grid.GetItemText(1, 2), CString(L"2.00"));
    EXPECT_EQ(m_grid.GetItemText(2, 1), CString(L"3.00"));
    EXPECT_EQ(m_grid.GetItemText(2, 2), CString(L"4.00"));
    EXPECT_EQ(m_grid.GetSelectedCount(), 4);
}

TEST_F(GridClipboard, PasteGoesToTheSelectionTopLeftBeforeTheFocusCell)
{
    qor::SetClipboardText(L"n\u00e9w");
    m_grid.SetFocusCell(3, 3);
    m_grid.SetSelectedRange(2, 1, 3, 2);
    m_grid.OnEditPaste();
    EXPECT_EQ(m_grid.GetItemText(2, 1), CString(L"n\u00e9w"));
    EXPECT_EQ(m_grid.GetItemText(3, 3), CString(L"3.3"));
}

TEST_F(GridClipboard, PasteWithoutSelectionOrFocusStartsAtTheFirstBodyCell)
{
    qor::SetClipboardText(L"first");
    m_grid.OnEditPaste();
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"first"));
}

TEST_F(GridClipboard, TrailingSeparatorAddsNoCell)
{
    qor::SetClipboardText(L"only\t");
    COleDataObject obj;
    obj.AttachClipboard();
    EXPECT_TRUE(m_grid.PasteTextToGrid(CCellID(1, 1), &obj, FALSE));
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"only"));
    EXPECT_EQ(m_grid.GetItemText(1, 2), CString(L"1.2"));
    EXPECT_EQ(m_grid.GetSelectedCount(), 0);
}

TEST_F(GridClipboard, PasteAtTheLastRowAddsRowsOnlyWhenAllowed)
{
    const CCellID last(3, 1);
    qor::SetClipboardText(L"a\nb\nc");
    COleDataObject obj;
    obj.AttachClipboard();

    EXPECT_TRUE(m_grid.PasteTextToGrid(last, &obj, TRUE));
    EXPECT_EQ(m_grid.GetRowCount(), 4);
    EXPECT_EQ(m_grid.GetItemText(3, 1), CString(L"a"));

    m_grid.SetPasteAddsRows(TRUE);
    qor::SetClipboardText(L"d\ne\nf");
    EXPECT_TRUE(m_grid.PasteTextToGrid(last, &obj, TRUE));
    EXPECT_EQ(m_grid.GetRowCount(), 6);
    EXPECT_EQ(m_grid.GetItemText(3, 1), CString(L"d"));
    EXPECT_EQ(m_grid.GetItemText(4, 1), CString(L"e"));
    EXPECT_EQ(m_grid.GetItemText(5, 1), CString(L"f"));
}

TEST_F(GridClipboard, PasteBeyondTheLastColumnAddsColumnsOnlyWhenAllowed)
{
    qor::SetClipboardText(L"p\tq\tr");
    COleDataObject obj;
    obj.AttachClipboard();
    EXPECT_TRUE(m_grid.PasteTextToGrid(CCellID(1, 3), &obj, TRUE));
    EXPECT_EQ(m_grid.GetColumnCount(), 4);
    EXPECT_EQ(m_grid.GetItemText(1, 3), CString(L"p"));

    m_grid.SetPasteAddsColumns(TRUE);
    EXPECT_TRUE(m_grid.PasteTextToGrid(CCellID(1, 3), &obj, TRUE));
    EXPECT_EQ(m_grid.GetColumnCount(), 6);
    EXPECT_EQ(m_grid.GetItemText(1, 5), CString(L"r"));
}

TEST_F(GridClipboard, PasteSkipsHiddenRowsAndColumns)
{
    m_grid.SetRowHeight(2, 0);
    m_grid.SetColumnWidth(2, 0);
    qor::SetClipboardText(L"a\tb\nc\td");
    COleDataObject obj;
    obj.AttachClipboard();
    EXPECT_TRUE(m_grid.PasteTextToGrid(CCellID(1, 1), &obj, FALSE));
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"a"));
    EXPECT_EQ(m_grid.GetItemText(1, 3), CString(L"b"));
    EXPECT_EQ(m_grid.GetItemText(3, 1), CString(L"c"));
    EXPECT_EQ(m_grid.GetItemText(3, 3), CString(L"d"));
    EXPECT_EQ(m_grid.GetItemText(2, 2), CString(L"2.2"));
}

TEST_F(GridClipboard, ReadOnlyFirstCellRefusesThePasteLaterOnesKeepText)
{
    qor::SetClipboardText(L"a\tb");
    COleDataObject obj;
    obj.AttachClipboard();
    m_grid.SetItemState(1, 1, m_grid.GetItemState(1, 1) | GVIS_READONLY);
    EXPECT_FALSE(m_grid.PasteTextToGrid(CCellID(1, 1), &obj, TRUE));
    EXPECT_EQ(m_grid.GetItemText(1, 2), CString(L"1.2"));

    m_grid.SetItemState(2, 2, m_grid.GetItemState(2, 2) | GVIS_READONLY);
    EXPECT_TRUE(m_grid.PasteTextToGrid(CCellID(2, 1), &obj, TRUE));
    EXPECT_EQ(m_grid.GetItemText(2, 1), CString(L"a"));
    EXPECT_EQ(m_grid.GetItemText(2, 2), CString(L"2.2"));
}

TEST_F(GridClipboard, PasteIntoGridThatIsNotEditableOrWithoutTextChangesNothing)
{
    COleDataObject obj;
    obj.AttachClipboard();
    m_grid.SetEditable(FALSE);
    EXPECT_FALSE(m_grid.PasteTextToGrid(CCellID(1, 1), &obj, TRUE));
    m_grid.OnEditPaste();
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"1.1"));

    m_grid.SetEditable(TRUE);
    qor::SetClipboardText(L"");
    EXPECT_FALSE(m_grid.PasteTextToGrid(CCellID(1, 1), &obj, TRUE));
    EXPECT_FALSE(m_grid.PasteTextToGrid(CCellID(1, 1), nullptr, TRUE));
    EXPECT_FALSE(m_grid.PasteTextToGrid(CCellID(9, 1), &obj, TRUE));
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"1.1"));
}

TEST_F(GridClipboard, OwnerVetoKeepsTheOldText)
{
    qor::SetClipboardText(L"vetoed");
    COleDataObject obj;
    obj.AttachClipboard();

    m_host.notifyResult = -1; // refuses the begin of the edit
    EXPECT_TRUE(m_grid.PasteTextToGrid(CCellID(1, 1), &obj, FALSE));
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"1.1"));
    EXPECT_EQ(Codes(), std::vector<UINT>({GVN_BEGINLABELEDIT}));
}

TEST_F(GridClipboard, RefusedEndOfEditPutsTheOldTextBack)
{
    qor::SetClipboardText(L"refused");
    COleDataObject obj;
    obj.AttachClipboard();

    m_host.endResult = -1;
    EXPECT_TRUE(m_grid.PasteTextToGrid(CCellID(1, 1), &obj, FALSE));
    EXPECT_EQ(m_grid.GetItemText(1, 1), CString(L"1.1"));
    EXPECT_EQ(Codes(), std::vector<UINT>({GVN_BEGINLABELEDIT, GVN_ENDLABELEDIT}));
}

TEST_F(GridClipboard, SameTextIsNotAnEdit)
{
    qor::SetClipboardText(L"1.1");
    COleDataObject obj;
    obj.AttachClipboard();
    EXPECT_TRUE(m_grid.PasteTextToGrid(CCellID(1, 1), &obj, FALSE));
    EXPECT_EQ(Codes(), std::vector<UINT>({GVN_BEGINLABELEDIT}));
}

// ---- Commands ---------------------------------------------------------------------------------

TEST_F(GridClipboard, EditCommandsAreEnabledAsTheGridAllows)
{
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    EXPECT_FALSE(Enabled(ID_EDIT_CUT));
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE)); // no focus cell
    EXPECT_TRUE(Enabled(ID_EDIT_SELECT_ALL));

    m_grid.SetSelectedRange(1, 1, 1, 1);
    m_grid.SetFocusCell(1, 1);
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    EXPECT_TRUE(Enabled(ID_EDIT_CUT));
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));

    qor::SetClipboardText(L"");
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
    qor::SetClipboardText(L"t");
    m_grid.SetItemState(1, 1, m_grid.GetItemState(1, 1) | GVIS_READONLY);
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));

    m_grid.SetEditable(FALSE);
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    EXPECT_FALSE(Enabled(ID_EDIT_CUT));

    m_grid.EnableSelection(FALSE);
    EXPECT_FALSE(Enabled(ID_EDIT_SELECT_ALL));
}

TEST_F(GridClipboard, SelectAllSelectsTheBodyBetweenTwoNotifications)
{
    m_grid.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    EXPECT_EQ(m_grid.GetSelectedCount(), 9);
    EXPECT_FALSE(m_grid.IsCellSelected(0, 1));
    EXPECT_EQ(Codes(), std::vector<UINT>({GVN_SELCHANGING, GVN_SELCHANGED}));
}

// ---- Drag and drop: off -------------------------------------------------------------------------

TEST_F(GridClipboard, DropTargetRefusesEveryDrop)
{
    CGridDropTarget target;
    EXPECT_FALSE(target.Register(nullptr));
    ASSERT_TRUE(target.Register(&m_grid));
    EXPECT_FALSE(target.Register(&m_grid)); // once only

    qor::SetClipboardText(L"dropped");
    COleDataObject obj;
    obj.AttachClipboard();
    const CPoint over(100, 40);
    EXPECT_EQ(target.OnDragEnter(&m_grid, &obj, 0, over), DROPEFFECT_NONE);
    EXPECT_EQ(target.OnDragOver(&m_grid, &obj, MK_CONTROL, over), DROPEFFECT_NONE);
    EXPECT_FALSE(target.OnDrop(&m_grid, &obj, DROPEFFECT_COPY, over));
    target.OnDragLeave(&m_grid);
    EXPECT_EQ(target.OnDragScroll(&m_grid, MK_CONTROL, over), DROPEFFECT_COPY);
    EXPECT_EQ(target.OnDragScroll(&m_grid, 0, over), DROPEFFECT_MOVE);
    EXPECT_EQ(target.OnDragScroll(&m_host, 0, over), DROPEFFECT_NONE);
    EXPECT_EQ(target.OnDragEnter(&m_host, &obj, 0, over), DROPEFFECT_NONE);

    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 4; c++) EXPECT_EQ(m_grid.GetItemText(r, c), Text(r, c));
    EXPECT_EQ(m_grid.GetSelectedCount(), 0);

    target.Revoke();
    EXPECT_FALSE(target.IsRegistered());
}

// ---- Keys -------------------------------------------------------------------------------------

TEST_F(GridClipboard, CtrlCAndCtrlVGoThroughTheClipboard)
{
    m_grid.SetSelectedRange(1, 1, 1, 2);
    m_grid.SetFocusCell(1, 1);
    qor::test::KeyPress(&m_grid, 'C', 0, MK_CONTROL);
    EXPECT_EQ(Clipboard(), CString(L"1.1\t1.2"));

    m_grid.SetSelectedRange(3, 2, 3, 2);
    qor::test::KeyPress(&m_grid, 'V', 0, MK_CONTROL);
    EXPECT_EQ(m_grid.GetItemText(3, 2), CString(L"1.1"));
    EXPECT_EQ(m_grid.GetItemText(3, 3), CString(L"1.2"));
}
