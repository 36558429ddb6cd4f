// Helpers of the grid mouse, keyboard and selection tests: a grid in a host window with a
// known layout, a cell that records the edit hooks, and the notification codes seen.
#pragma once

#include "grid_test_util.h"

#include "platform/gui/draw/SysValues.h"

#include <vector>

// A cell that counts the editing hooks and can refuse an edit.
class CRecordingCell : public CGridCell
{
    DECLARE_DYNCREATE(CRecordingCell)
public:
    static inline int s_nEdits = 0;
    static inline int s_nEndEdits = 0;
    static inline UINT s_nLastChar = 0;
    static inline UINT s_nLastId = 0;
    static inline BOOL s_bValid = TRUE;
    static void ResetCounts()
    {
        s_nEdits = s_nEndEdits = 0;
        s_nLastChar = s_nLastId = 0;
        s_bValid = TRUE;
    }

    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override
    {
        s_nEdits++;
        s_nLastChar = nChar;
        s_nLastId = nID;
        return CGridCell::Edit(nRow, nCol, rect, point, nID, nChar);
    }
    void OnEndEdit() override
    {
        s_nEndEdits++;
        CGridCell::OnEndEdit();
    }
    BOOL ValidateEdit(LPCTSTR) override { return s_bValid; }
};
// Each test program includes this header from one file only.
IMPLEMENT_DYNCREATE(CRecordingCell, CGridCell)

namespace gridinput {

// The grid with the protected parts the tests reach.
class CInputGrid : public gridtest::CTestGrid
{
public:
    using CGridCtrl::OnFixedColumnClick;
    using CGridCtrl::OnFixedRowClick;
    void AllowColHide(BOOL b) { m_bAllowColHide = b; }
    void AllowDragAndDrop(BOOL b) { m_bAllowDragAndDrop = b; }
    UINT_PTR TimerId() const { return m_nTimerID; }
    void SetAnchor(CCellID cell) { m_SelectionStartCell = cell; }
    BOOL HasPrevSelection() const { return !m_PrevSelectedCellMap.IsEmpty(); }
};

constexpr int kWidth = 50;  // every column
constexpr int kHeight = 20; // every row

class GridInput : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { gridtest::InitApp(); }

    void SetUp() override
    {
        CRecordingCell::ResetCounts();
        ASSERT_TRUE(host.CreateHost(600, 400));
    }
    void TearDown() override { qor::gui::ClearKeyState(); }

    // rows x cols with one fixed row and column; every cell holds "r,c" and records its
    // edit hooks; the window is w x h pixels.
    void MakeGrid(int rows = 10, int cols = 6, int w = 300, int h = 200)
    {
        grid.SetRowCount(rows);
        grid.SetColumnCount(cols);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        ASSERT_TRUE(grid.Create(CRect(0, 0, w, h), &host, 77, WS_CHILD | WS_VISIBLE));
        gridtest::SetSizes(grid, kWidth, kHeight);
        for (int r = 0; r < rows; r++)
            for (int c = 0; c < cols; c++)
            {
                grid.SetCellType(r, c, RUNTIME_CLASS(CRecordingCell));
                CString s;
                s.Format(_T("%d,%d"), r, c);
                grid.SetItemText(r, c, s);
            }
        gridtest::Pump();
        host.notices.clear();
    }

    // The centre of a cell while the grid is not scrolled.
    static CPoint Center(int row, int col) { return CPoint(col * kWidth + kWidth / 2, row * kHeight + kHeight / 2); }

    // The codes of the notifications received so far.
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const auto& n : host.notices) codes.push_back(static_cast<int>(n.hdr.code));
        return codes;
    }
    // The notices with one code.
    std::vector<gridtest::CHostWnd::Notice> NoticesOf(UINT code) const
    {
        std::vector<gridtest::CHostWnd::Notice> found;
        for (const auto& n : host.notices)
            if (n.hdr.code == code) found.push_back(n);
        return found;
    }

    CRect Client()
    {
        CRect rc;
        grid.GetClientRect(rc);
        return rc;
    }

    gridtest::CHostWnd host;
    CInputGrid grid;
};

} // namespace gridinput
