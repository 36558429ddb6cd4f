// Shared helpers of the grid tests: the application, a host window that records what it
// is sent, and a grid with a known layout.
#pragma once

#include "controls/grid/GridCtrl.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace gridtest {

inline void InitApp() { qor::test::EnsureGuiApplication(); }

inline void Pump() { qor::test::Pump(20); }

// A top-level window that records the notifications and commands it receives.
class CHostWnd : public CWnd
{
public:
    struct Notice
    {
        NMHDR hdr;
        int row;
        int col;
        WPARAM wParam;
    };
    std::vector<Notice> notices;
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    LRESULT notifyResult = 0;

    BOOL CreateHost(int width = 400, int height = 300)
    {
        LPCTSTR cls = AfxRegisterWndClass(0);
        return CreateEx(0, cls, _T("host"), WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY)
        {
            const auto* rec = reinterpret_cast<const NMGRIDCELL*>(lParam);
            notices.push_back({rec->hdr, rec->iRow, rec->iColumn, wParam});
            return notifyResult;
        }
        if (message == WM_COMMAND)
        {
            commands.emplace_back(wParam, lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A grid that exposes the protected parts the tests look at, and counts scroll messages.
class CTestGrid : public CGridCtrl
{
public:
    using CGridCtrl::OnDraw;
    using CGridCtrl::PostCommandToParent;
    using CGridCtrl::ResetScrollBars;
    int VScrollMax() const { return m_nVScrollMax; }
    int HScrollMax() const { return m_nHScrollMax; }
    int ScrollPos(int bar) { return GetScrollPos32(bar); }
    std::vector<UINT> vscrollCodes;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL) vscrollCodes.push_back(LOWORD(wParam));
        return CGridCtrl::WindowProc(message, wParam, lParam);
    }
};

// Sets every row height and column width of the grid.
inline void SetSizes(CGridCtrl& grid, int width, int height)
{
    for (int c = 0; c < grid.GetColumnCount(); c++) grid.SetColumnWidth(c, width);
    for (int r = 0; r < grid.GetRowCount(); r++) grid.SetRowHeight(r, height);
}

// Opens a host window of hostWidth x hostHeight and in it, over rect, a grid of nRows x nCols
// with one fixed row and one fixed column, every cell width x height.
inline ::testing::AssertionResult CreateHostedGrid(CHostWnd& host, CGridCtrl& grid, int nRows, int nCols,
                                                   const CRect& rect, UINT nID, int width, int height,
                                                   int hostWidth = 600, int hostHeight = 400)
{
    if (!host.CreateHost(hostWidth, hostHeight))
        return ::testing::AssertionFailure() << "the host window was not created";
    grid.SetRowCount(nRows);
    grid.SetColumnCount(nCols);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    if (!grid.Create(rect, &host, nID, WS_CHILD | WS_VISIBLE))
        return ::testing::AssertionFailure() << "the grid window was not created";
    SetSizes(grid, width, height);
    return ::testing::AssertionSuccess();
}

} // namespace gridtest
