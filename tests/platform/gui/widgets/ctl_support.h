// Shared by the control tests: a top-level parent that records the notifications
// (WM_COMMAND) its controls send.
#pragma once

#include "platform/gui/Afx.h"
#include "platform/test/GuiTest.h"

#include <algorithm>
#include <vector>

namespace ctltest {

struct Notification
{
    UINT id;
    UINT code;
    HWND from;
};

class CRecordingParent : public CWnd
{
public:
    std::vector<Notification> got;
    // Called for each notification while it is handled (the control's state as seen then).
    std::function<void(const Notification&)> onNotify;

    BOOL CreateTop()
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300),
                        nullptr, 0);
    }
    int Count(UINT code, UINT id = 0xFFFFFFFF) const
    {
        return static_cast<int>(std::count_if(got.begin(), got.end(), [&](const Notification& n) {
            return n.code == code && (id == 0xFFFFFFFF || n.id == id);
        }));
    }
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> c;
        for (auto& n : got) c.push_back(n.code);
        return c;
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        Notification n{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)};
        got.push_back(n);
        if (onNotify) onNotify(n);
        return CWnd::OnCommand(wParam, lParam);
    }
};

inline CString TextOf(const CWnd& w)
{
    CString s;
    w.GetWindowText(s);
    return s;
}

} // namespace ctltest
