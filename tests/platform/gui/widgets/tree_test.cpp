// Tree control: items and their order, handles that are never given out again, selection
// and double-click notifications by mouse, label editing, hit tests and the start of a drag.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <malloc.h>
#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace qor::test;

namespace {

// Records the tree's notifications and answers those that ask.
class CTreeParent : public CWnd
{
public:
    std::vector<UINT> codes;
    std::vector<UINT> actions; // of TVN_SELCHANGED
    LRESULT beginEditAnswer = 0;
    LRESULT endEditAnswer = 1;
    LRESULT dblClickAnswer = 0;
    CString lastEditText;
    bool lastEditCancelled = false;
    HTREEITEM dragged = nullptr;

    BOOL CreateTop()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"tree parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        CRect(0, 0, 300, 300), nullptr, 0);
    }

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        codes.push_back(hdr->code);
        *pResult = 0;
        if (hdr->code == TVN_SELCHANGED) actions.push_back(reinterpret_cast<NMTREEVIEW*>(hdr)->action);
        if (hdr->code == TVN_BEGINLABELEDIT) *pResult = beginEditAnswer;
        if (hdr->code == NM_DBLCLK) *pResult = dblClickAnswer;
        if (hdr->code == TVN_BEGINDRAG) dragged = reinterpret_cast<NMTREEVIEW*>(hdr)->itemNew.hItem;
        if (hdr->code == TVN_ENDLABELEDIT)
        {
            auto* info = reinterpret_cast<NMTVDISPINFO*>(hdr);
            lastEditCancelled = info->item.pszText == nullptr;
            lastEditText = info->item.pszText ? info->item.pszText : L"";
            *pResult = endEditAnswer;
        }
        return TRUE;
    }
};

class TreeTest : public ::testing::Test
{
protected:
    CTreeParent parent;
    CTreeCtrl tree;
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTop());
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS,
                                CRect(0, 0, 280, 280), &parent, 40));
    }
    CPoint CentreOf(HTREEITEM h)
    {
        CRect r;
        EXPECT_TRUE(tree.GetItemRect(h, &r, TRUE));
        return r.CenterPoint();
    }
};

TEST_F(TreeTest, ItemsOrderStateAndHandles)
{
    HTREEITEM a = tree.InsertItem(TVIF_TEXT | TVIF_STATE | TVIF_PARAM, L"Case", 0, 0, TVIS_BOLD, TVIS_BOLD, 230,
                                  TVI_ROOT, TVI_LAST);
    HTREEITEM b = tree.InsertItem(L"Bridges", 0, 0);
    HTREEITEM b1 = tree.InsertItem(L"B one", 4, 4, b);
    HTREEITEM b0 = tree.InsertItem(L"B zero", 4, 4, b, TVI_FIRST);
    EXPECT_EQ(tree.GetCount(), 4u);
    EXPECT_EQ(tree.GetRootItem(), a);
    EXPECT_EQ(tree.GetNextSiblingItem(a), b);
    EXPECT_EQ(tree.GetChildItem(b), b0);
    EXPECT_EQ(tree.GetNextSiblingItem(b0), b1);
    EXPECT_EQ(tree.GetParentItem(b1), b);
    EXPECT_EQ(tree.GetParentItem(a), nullptr);
    EXPECT_EQ(tree.GetItemData(a), DWORD_PTR(230));
    EXPECT_EQ(tree.GetItemState(a, TVIS_BOLD), UINT(TVIS_BOLD));
    EXPECT_EQ(tree.GetItemState(b, TVIS_BOLD), 0u);
    EXPECT_EQ(tree.GetItemText(b1), CString(L"B one"));
    int img = 0, sel = 0;
    EXPECT_TRUE(tree.GetItemImage(b1, img, sel));
    EXPECT_EQ(img, 4);

    // Expand toggles; a deleted item's handle finds nothing, and no new item gets it back.
    EXPECT_TRUE(tree.Expand(b, TVE_TOGGLE));
    EXPECT_TRUE(tree.GetItemState(b, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(tree.DeleteItem(b));
    EXPECT_EQ(tree.GetCount(), 1u);
    EXPECT_TRUE(tree.GetItemText(b1).IsEmpty());
    EXPECT_FALSE(tree.DeleteItem(b1));
    tree.DeleteAllItems();
    for (int i = 0; i < 20; ++i)
    {
        HTREEITEM h = tree.InsertItem(L"again");
        EXPECT_NE(h, a);
        EXPECT_NE(h, b);
        EXPECT_NE(h, b0);
        EXPECT_NE(h, b1);
    }
}

TEST_F(TreeTest, MouseSelectionDoubleClickAndHitTest)
{
    HTREEITEM a = tree.InsertItem(L"Alpha");
    HTREEITEM b = tree.InsertItem(L"Beta");
    HTREEITEM b1 = tree.InsertItem(L"Beta child", b);
    PaintNow(&tree);

    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(CentreOf(b), &flags), b);
    EXPECT_TRUE(flags & TVHT_ONITEM);
    EXPECT_EQ(tree.HitTest(CPoint(10, 270), &flags), nullptr);
    EXPECT_TRUE(flags & TVHT_NOWHERE);

    Click(&tree, CentreOf(a));
    EXPECT_EQ(tree.GetSelectedItem(), a);
    ASSERT_FALSE(parent.actions.empty());
    EXPECT_EQ(parent.actions.back(), UINT(TVC_BYMOUSE));

    tree.SelectItem(b);
    EXPECT_EQ(parent.actions.back(), UINT(TVC_UNKNOWN));
    KeyPress(&tree, VK_UP);
    EXPECT_EQ(tree.GetSelectedItem(), a);
    EXPECT_EQ(parent.actions.back(), UINT(TVC_BYKEYBOARD));

    // A double click the parent leaves alone expands; one it handles does not.
    MouseDoubleClick(&tree, CentreOf(b));
    EXPECT_TRUE(tree.GetItemState(b, TVIS_EXPANDED) & TVIS_EXPANDED);
    parent.dblClickAnswer = 1;
    MouseDoubleClick(&tree, CentreOf(b));
    EXPECT_TRUE(tree.GetItemState(b, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_GE(std::count(parent.codes.begin(), parent.codes.end(), NM_DBLCLK), 2);

    // Pressing on an item and moving away begins a drag of that item.
    PaintNow(&tree);
    CPoint from = CentreOf(b1);
    MouseDown(&tree, from);
    MouseMove(&tree, from + CPoint(0, 30), MK_LBUTTON);
    EXPECT_EQ(parent.dragged, b1);
    MouseUp(&tree, from + CPoint(0, 30));
    CImageList* image = tree.CreateDragImage(b1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetImageCount(), 1);
    delete image;
}

TEST_F(TreeTest, LabelEditing)
{
    HTREEITEM a = tree.InsertItem(L"Alpha");
    PaintNow(&tree);

    parent.beginEditAnswer = 1; // refused
    EXPECT_EQ(tree.EditLabel(a), nullptr);
    parent.beginEditAnswer = 0;

    CEdit* edit = tree.EditLabel(a);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(tree.GetEditControl(), edit);
    EXPECT_EQ(ctltest::TextOf(*edit), CString(L"Alpha"));
    edit->SetWindowText(L"Renamed");
    KeyPress(edit, VK_RETURN);
    EXPECT_EQ(tree.GetEditControl(), nullptr);
    EXPECT_EQ(parent.lastEditText, CString(L"Renamed"));
    EXPECT_EQ(tree.GetItemText(a), CString(L"Renamed"));

    // Escape cancels; a parent that refuses keeps the old label.
    edit = tree.EditLabel(a);
    ASSERT_NE(edit, nullptr);
    edit->SetWindowText(L"Dropped");
    KeyPress(edit, VK_ESCAPE);
    EXPECT_TRUE(parent.lastEditCancelled);
    EXPECT_EQ(tree.GetItemText(a), CString(L"Renamed"));
    parent.endEditAnswer = 0;
    tree.SelectItem(a);
    tree.SetFocus();
    KeyPress(&tree, VK_F2);
    edit = tree.GetEditControl();
    ASSERT_NE(edit, nullptr);
    edit->SetWindowText(L"Refused");
    tree.EndEditLabelNow(FALSE);
    EXPECT_EQ(parent.lastEditText, CString(L"Refused"));
    EXPECT_EQ(tree.GetItemText(a), CString(L"Renamed"));
    Pump(20); // the edit's posted end finds nothing to end
}

} // namespace

namespace {

// The bytes the program holds on its heap now.
std::size_t LiveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

} // namespace

TEST_F(TreeTest, EachPictureIsMadeOnceHoweverManyItemsShowIt)
{
    // Two 16 x 16 pictures; a tree of a few thousand items showing them, filled and emptied again
    // (as the element tree is at every open of a case). The items share the pictures: the heap
    // holds what the items need and no picture per item (one is several kilobytes at every scale).
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0));
    HIMAGELIST list = images;
    for (COLORREF colour : {RGB(200, 0, 0), RGB(0, 0, 200)})
    {
        std::vector<DWORD> pixels(16 * 16, colour);
        HBITMAP bm = ::CreateBitmap(16, 16, 1, 32, pixels.data());
        ImageList_Add(list, bm, nullptr);
        ::DeleteObject(bm);
    }
    tree.SetImageList(&images, TVSIL_NORMAL);
    auto fill = [&] {
        for (int i = 0; i < 2000; ++i) tree.InsertItem(L"Element", i % 2, 1 - i % 2);
        PumpUntil([] { return false; }, 50);
        tree.DeleteAllItems();
    };
    fill();
    const std::size_t before = LiveHeapBytes();
    for (int round = 0; round < 3; ++round) fill();
    const std::size_t after = LiveHeapBytes();
    EXPECT_LT(after, before + (512u << 10)) << "heap grew by " << (after - before) / 1024 << " kB";
    // Filled once more: the 2000 items take far less than a picture each.
    const std::size_t empty = LiveHeapBytes();
    for (int i = 0; i < 2000; ++i) tree.InsertItem(L"Element", i % 2, 1 - i % 2);
    EXPECT_LT(LiveHeapBytes() - empty, 2000u * 2048u);
    tree.DeleteAllItems();
    tree.SetImageList(nullptr, TVSIL_NORMAL);
}
