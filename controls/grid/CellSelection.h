// CCellSelection: the selected cells of a grid held as rectangles of cells that do not overlap
// (whole rows, whole columns, the whole table, blocks, single cells), so that a selection of
// millions of cells costs a few rectangles and "is this cell selected" is answered from them.
#pragma once

#include "controls/grid/CellRange.h"

#include <cstdint>
#include <vector>

class CCellSelection
{
public:
    // Adds the cells of the range (a range that is not valid adds nothing).
    void Add(const CCellRange& range);
    // Takes the cells of the range out.
    void Remove(const CCellRange& range);
    void Clear() { m_vRanges.clear(); }
    // Keeps only the cells of rows 0..nRows-1 and columns 0..nCols-1.
    void Clip(int nRows, int nCols);

    bool Contains(int nRow, int nCol) const;
    bool IsEmpty() const { return m_vRanges.empty(); }
    // The number of selected cells.
    std::int64_t Count() const;
    // The smallest range that holds every selected cell; (nRows, nCols, -1, -1) when none is.
    CCellRange Bounds(int nRows, int nCols) const;
    // The rectangles, none overlapping another, in no particular order.
    const std::vector<CCellRange>& Ranges() const { return m_vRanges; }

private:
    std::vector<CCellRange> m_vRanges;
};
