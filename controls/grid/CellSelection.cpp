// The selected cells as rectangles that do not overlap: adding and taking out cut the rectangles
// already held around the range.
#include "controls/grid/CellSelection.h"

#include <algorithm>

namespace {

bool Overlap(const CCellRange& a, const CCellRange& b)
{
    return a.GetMinRow() <= b.GetMaxRow() && b.GetMinRow() <= a.GetMaxRow() && a.GetMinCol() <= b.GetMaxCol() &&
           b.GetMinCol() <= a.GetMaxCol();
}

// The parts of a outside cut (at most four: above, below, left and right of it), appended to out.
void CutAway(const CCellRange& a, const CCellRange& cut, std::vector<CCellRange>& out)
{
    if (a.GetMinRow() < cut.GetMinRow())
        out.emplace_back(a.GetMinRow(), a.GetMinCol(), cut.GetMinRow() - 1, a.GetMaxCol());
    if (a.GetMaxRow() > cut.GetMaxRow())
        out.emplace_back(cut.GetMaxRow() + 1, a.GetMinCol(), a.GetMaxRow(), a.GetMaxCol());
    const int top = std::max(a.GetMinRow(), cut.GetMinRow());
    const int bottom = std::min(a.GetMaxRow(), cut.GetMaxRow());
    if (a.GetMinCol() < cut.GetMinCol()) out.emplace_back(top, a.GetMinCol(), bottom, cut.GetMinCol() - 1);
    if (a.GetMaxCol() > cut.GetMaxCol()) out.emplace_back(top, cut.GetMaxCol() + 1, bottom, a.GetMaxCol());
}

// Whether a and b together are one rectangle (side by side or one above the other).
bool Joinable(const CCellRange& a, const CCellRange& b)
{
    if (a.GetMinCol() == b.GetMinCol() && a.GetMaxCol() == b.GetMaxCol())
        return a.GetMaxRow() + 1 == b.GetMinRow() || b.GetMaxRow() + 1 == a.GetMinRow();
    if (a.GetMinRow() == b.GetMinRow() && a.GetMaxRow() == b.GetMaxRow())
        return a.GetMaxCol() + 1 == b.GetMinCol() || b.GetMaxCol() + 1 == a.GetMinCol();
    return false;
}

} // namespace

void CCellSelection::Remove(const CCellRange& range)
{
    if (!range.IsValid()) return;
    std::vector<CCellRange> kept;
    kept.reserve(m_vRanges.size());
    for (const CCellRange& held : m_vRanges)
        if (Overlap(held, range))
            CutAway(held, range, kept);
        else
            kept.push_back(held);
    m_vRanges.swap(kept);
}

void CCellSelection::Add(const CCellRange& range)
{
    if (!range.IsValid()) return;
    Remove(range);
    // Cells added one after another along a row or a column stay one rectangle.
    CCellRange joined = range;
    for (auto it = m_vRanges.begin(); it != m_vRanges.end(); ++it)
        if (Joinable(*it, joined))
        {
            joined.Set(std::min(it->GetMinRow(), joined.GetMinRow()), std::min(it->GetMinCol(), joined.GetMinCol()),
                       std::max(it->GetMaxRow(), joined.GetMaxRow()), std::max(it->GetMaxCol(), joined.GetMaxCol()));
            m_vRanges.erase(it);
            break;
        }
    m_vRanges.push_back(joined);
}

void CCellSelection::Clip(int nRows, int nCols)
{
    if (nRows <= 0 || nCols <= 0)
    {
        Clear();
        return;
    }
    std::vector<CCellRange> kept;
    for (CCellRange held : m_vRanges)
    {
        held.SetMaxRow(std::min(held.GetMaxRow(), nRows - 1));
        held.SetMaxCol(std::min(held.GetMaxCol(), nCols - 1));
        if (held.IsValid()) kept.push_back(held);
    }
    m_vRanges.swap(kept);
}

bool CCellSelection::Contains(int nRow, int nCol) const
{
    return std::any_of(m_vRanges.begin(), m_vRanges.end(),
                       [nRow, nCol](const CCellRange& held) { return held.InRange(nRow, nCol); });
}

std::int64_t CCellSelection::Count() const
{
    std::int64_t count = 0;
    for (const CCellRange& held : m_vRanges)
        count += static_cast<std::int64_t>(held.GetRowSpan()) * static_cast<std::int64_t>(held.GetColSpan());
    return count;
}

CCellRange CCellSelection::Bounds(int nRows, int nCols) const
{
    CCellRange bounds(nRows, nCols, -1, -1);
    for (const CCellRange& held : m_vRanges)
    {
        bounds.SetMinRow(std::min(bounds.GetMinRow(), held.GetMinRow()));
        bounds.SetMinCol(std::min(bounds.GetMinCol(), held.GetMinCol()));
        bounds.SetMaxRow(std::max(bounds.GetMaxRow(), held.GetMaxRow()));
        bounds.SetMaxCol(std::max(bounds.GetMaxCol(), held.GetMaxCol()));
    }
    return bounds;
}
