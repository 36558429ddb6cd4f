// Shared by the edit-control tests: a parent window that counts the change notifications
// it handles, typing through the keyboard, and a beep counter.
#pragma once

#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <ostream>

// Test failures show the text.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << s.ToUtf8() << '"'; }

namespace edittest {

constexpr UINT kEditId = 101;

class CCountingParent : public CWnd
{
public:
    int changes = 0;
    int updates = 0;

    BOOL CreateTop()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 200),
                        nullptr, 0);
    }
    void Reset() { changes = updates = 0; }

protected:
    void OnEditChange() { ++changes; }
    void OnEditUpdate() { ++updates; }
    DECLARE_MESSAGE_MAP()
};

// Each test program includes this header once.
BEGIN_MESSAGE_MAP(CCountingParent, CWnd)
ON_EN_CHANGE(kEditId, OnEditChange)
ON_EN_UPDATE(kEditId, OnEditUpdate)
END_MESSAGE_MAP()

// Opens the parent as a top-level window and the edit control in it (id kEditId).
inline ::testing::AssertionResult OpenEdit(CCountingParent& parent, CEdit& edit)
{
    if (!parent.CreateTop()) return ::testing::AssertionFailure() << "the parent window was not created";
    if (!edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 300, 34), &parent, kEditId))
        return ::testing::AssertionFailure() << "the edit control was not created";
    return ::testing::AssertionSuccess();
}

// A test with an edit control of type TEdit open in a counting parent.
template <class TEdit>
class EditTest : public ::testing::Test
{
protected:
    CCountingParent parent;
    TEdit edit;
    void SetUp() override { ASSERT_TRUE(OpenEdit(parent, edit)); }
};

inline CString TextOf(const CWnd& w)
{
    CString s;
    w.GetWindowText(s);
    return s;
}

// The virtual key that types a character on a US keyboard.
inline UINT KeyOf(wchar_t c)
{
    if (c >= L'a' && c <= L'z') return UINT(c - L'a' + 'A');
    if (c >= L'A' && c <= L'Z') return UINT(c);
    if (c >= L'0' && c <= L'9') return UINT(c);
    switch (c)
    {
    case L'.': return VK_OEM_PERIOD;
    case L',': return VK_OEM_COMMA;
    case L'-': return VK_OEM_MINUS;
    default: return VK_SPACE;
    }
}

inline void Type(CWnd& w, const wchar_t* text)
{
    for (const wchar_t* p = text; *p; ++p) qor::test::KeyPress(&w, KeyOf(*p), *p);
}

inline int Caret(CEdit& e)
{
    int a = 0, b = 0;
    e.GetSel(a, b);
    return b;
}

// Counts beeps without sound for the life of the object.
class BeepCounter
{
public:
    BeepCounter()
    {
        m_previous = qor::gui::SetBeepHook([this](UINT type) {
            ++m_count;
            m_last = type;
        });
    }
    ~BeepCounter() { qor::gui::SetBeepHook(m_previous); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;
    int Count() const { return m_count; }
    UINT Last() const { return m_last; }

private:
    int m_count = 0;
    UINT m_last = 0;
    qor::gui::BeepHook m_previous;
};

} // namespace edittest
