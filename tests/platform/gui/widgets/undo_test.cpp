// The edit control's undo, as the system's edit keeps it: one level; text set from code
// (SetWindowText / WM_SETTEXT) empties it; a replacement is undoable only when asked; typing
// on from the caret is one change; a second undo redoes.
#include "tests/platform/gui/widgets/ctl_support.h"

#include <gtest/gtest.h>

using namespace ctltest;
using namespace qor::test;

namespace {

class EditUndoTest : public ::testing::Test
{
protected:
    CRecordingParent parent;
    CEdit edit;
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTop());
        ASSERT_TRUE(
            edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 250, 34), &parent, 3));
    }
    void Type(const wchar_t* text)
    {
        for (const wchar_t* p = text; *p; ++p)
        {
            UINT vk = (*p >= L'a' && *p <= L'z') ? UINT(*p - L'a' + 'A') : VK_SPACE;
            KeyPress(&edit, vk, *p);
        }
    }
};

TEST_F(EditUndoTest, TypingIsOneChangeAndUndoTogglesIt)
{
    edit.SetWindowText(L"span");
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.Undo()) << "nothing to undo";
    EXPECT_EQ(TextOf(edit), CString(L"span"));

    edit.SetSel(4, 4);
    Type(L" one");
    EXPECT_EQ(TextOf(edit), CString(L"span one"));
    EXPECT_TRUE(edit.CanUndo());
    parent.got.clear();
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"span")) << "the whole typed run goes";
    EXPECT_EQ(parent.Count(EN_CHANGE), 1) << "an undo is a change like typing";
    EXPECT_TRUE(edit.GetModify());
    EXPECT_TRUE(edit.CanUndo()) << "the undo can itself be undone";
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"span one")) << "a second undo redoes";
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"span"));

    // Ctrl+Z typed undoes too (WM_CHAR 0x1A), and WM_UNDO.
    edit.SetSel(0, 0);
    Type(L"x");
    EXPECT_EQ(TextOf(edit), CString(L"xspan"));
    KeyPress(&edit, 'Z', 0x1A, MK_CONTROL);
    EXPECT_EQ(TextOf(edit), CString(L"span"));
    edit.SendMessage(WM_UNDO);
    EXPECT_EQ(TextOf(edit), CString(L"xspan"));
}

TEST_F(EditUndoTest, OnlyTheLastChangeIsKept)
{
    edit.SetWindowText(L"abc");
    edit.SetSel(3, 3);
    Type(L"de");
    // Moving the caret elsewhere and typing starts a new change.
    edit.SetSel(0, 0);
    Type(L"z");
    EXPECT_EQ(TextOf(edit), CString(L"zabcde"));
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"abcde")) << "one level: only the last change";

    // Backspaces in a row are one change; typing after them is another.
    edit.SetWindowText(L"abcdef");
    edit.SetSel(6, 6);
    KeyPress(&edit, VK_BACK, L'\b');
    KeyPress(&edit, VK_BACK, L'\b');
    EXPECT_EQ(TextOf(edit), CString(L"abcd"));
    Type(L"x");
    EXPECT_EQ(TextOf(edit), CString(L"abcdx"));
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"abcd"));
    edit.SetWindowText(L"abcdef");
    edit.SetSel(6, 6);
    KeyPress(&edit, VK_BACK, L'\b');
    KeyPress(&edit, VK_BACK, L'\b');
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"abcdef")) << "both backspaces come back";
    int a = -1, b = -1;
    edit.GetSel(a, b);
    EXPECT_EQ(b, 6);

    // Cut and paste are changes of their own.
    edit.SetSel(0, 3);
    edit.Cut();
    EXPECT_EQ(TextOf(edit), CString(L"def"));
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"abcdef"));
}

TEST_F(EditUndoTest, TextFromCodeAndReplacements)
{
    edit.SetWindowText(L"abc");
    edit.SetSel(3, 3);
    Type(L"d");
    ASSERT_TRUE(edit.CanUndo());
    // Rewriting the text from code empties the buffer: there is nothing to go back to.
    edit.SetWindowText(L"new text");
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_FALSE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"new text"));
    edit.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"again"));
    EXPECT_FALSE(edit.CanUndo());

    // ReplaceSel(..., TRUE) can be undone; ReplaceSel(..., FALSE) empties the buffer.
    edit.SetSel(0, 5);
    edit.ReplaceSel(L"replaced", TRUE);
    EXPECT_EQ(TextOf(edit), CString(L"replaced"));
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"again"));
    int a = -1, b = -1;
    edit.GetSel(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 5) << "the replaced text is selected again";
    edit.SetSel(5, 5);
    edit.ReplaceSel(L"!");
    EXPECT_EQ(TextOf(edit), CString(L"again!"));
    EXPECT_FALSE(edit.CanUndo());

    // EmptyUndoBuffer; a read-only edit does not undo.
    Type(L"x");
    ASSERT_TRUE(edit.CanUndo());
    edit.EmptyUndoBuffer();
    EXPECT_FALSE(edit.CanUndo());
    Type(L"y");
    edit.SetReadOnly(TRUE);
    EXPECT_FALSE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"again!xy"));
    edit.SetReadOnly(FALSE);
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(TextOf(edit), CString(L"again!x"));
}

TEST_F(EditUndoTest, MultiLineEditsUndoTheSameWay)
{
    CEdit box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, CRect(10, 50, 250, 150), &parent, 4));
    box.SetWindowText(L"one\r\ntwo");
    EXPECT_FALSE(box.CanUndo());
    box.SetSel(8, 8);
    box.SendMessage(WM_CHAR, L'\r');
    box.SendMessage(WM_CHAR, L'z');
    EXPECT_EQ(TextOf(box), CString(L"one\r\ntwo\r\nz"));
    EXPECT_TRUE(box.Undo());
    EXPECT_EQ(TextOf(box), CString(L"one\r\ntwo"));
    EXPECT_TRUE(box.Undo());
    EXPECT_EQ(TextOf(box), CString(L"one\r\ntwo\r\nz"));
}

} // namespace
