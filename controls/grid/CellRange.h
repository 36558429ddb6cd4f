// Cell coordinates and rectangular ranges of cells of the grid control.
#pragma once

#include "platform/core/Types.h"

// A cell coordinate: row then column; (-1, -1) is no cell.
class CCellID
{
public:
    int row;
    int col;

    explicit CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}

    // Both members non-negative (the grid checks them against its counts).
    BOOL IsValid() const { return row >= 0 && col >= 0; }
    BOOL operator==(const CCellID& rhs) const { return row == rhs.row && col == rhs.col; }
    BOOL operator!=(const CCellID& rhs) const { return row != rhs.row || col != rhs.col; }
};

// A rectangle of cells, bounds included; (-1, -1, -1, -1) is the empty range.
class CCellRange
{
public:
    explicit CCellRange(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1)
    {
        Set(nMinRow, nMinCol, nMaxRow, nMaxCol);
    }

    void Set(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1)
    {
        m_nMinRow = nMinRow;
        m_nMinCol = nMinCol;
        m_nMaxRow = nMaxRow;
        m_nMaxCol = nMaxCol;
    }

    BOOL IsValid() const
    {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 && m_nMinRow <= m_nMaxRow &&
               m_nMinCol <= m_nMaxCol;
    }
    BOOL InRange(int row, int col) const
    {
        return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
    }
    BOOL InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }
    int Count() const { return (m_nMaxRow - m_nMinRow + 1) * (m_nMaxCol - m_nMinCol + 1); }

    CCellID GetTopLeft() const { return CCellID(m_nMinRow, m_nMinCol); }
    int GetMinRow() const { return m_nMinRow; }
    void SetMinRow(int minRow) { m_nMinRow = minRow; }
    int GetMinCol() const { return m_nMinCol; }
    void SetMinCol(int minCol) { m_nMinCol = minCol; }
    int GetMaxRow() const { return m_nMaxRow; }
    void SetMaxRow(int maxRow) { m_nMaxRow = maxRow; }
    int GetMaxCol() const { return m_nMaxCol; }
    void SetMaxCol(int maxCol) { m_nMaxCol = maxCol; }
    int GetRowSpan() const { return m_nMaxRow - m_nMinRow + 1; }
    int GetColSpan() const { return m_nMaxCol - m_nMinCol + 1; }

    BOOL operator==(const CCellRange& rhs) const
    {
        return m_nMinRow == rhs.m_nMinRow && m_nMinCol == rhs.m_nMinCol && m_nMaxRow == rhs.m_nMaxRow &&
               m_nMaxCol == rhs.m_nMaxCol;
    }
    BOOL operator!=(const CCellRange& rhs) const { return !operator==(rhs); }

protected:
    int m_nMinRow;
    int m_nMinCol;
    int m_nMaxRow;
    int m_nMaxCol;
};
