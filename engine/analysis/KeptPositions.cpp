// The moment and shear lines of every position of a moving-load run, kept for the plot that shows them all:
// the points along the beam once (they are the same at every position), and the values of all positions one
// after another in one block.
#include "engine/analysis/KeptPositions.h"

#include "engine/EngineErrors.h"
#include "platform/core/Errors.h"

#include <cstring>

void CKeptPositions::Reserve(std::size_t positions)
{
    m_nReserved = positions;
    m_vPositions.reserve(positions);
}

std::size_t CKeptPositions::PointsOf(const CBeamResults& results, std::size_t& n)
{
    n = 0;
    for (const CMbrResults& m : results.m_vMbrRes) n += m.x.size();
    if (!m_vPositions.empty())
    {
        const SPosition& last = m_vPositions.back();
        bool same = last.nX == n;
        const double* held = m_vX.data() + last.x;
        for (const CMbrResults& m : results.m_vMbrRes)
        {
            if (!same) break;
            same = m.x.empty() || std::memcmp(held, m.x.data(), m.x.size() * sizeof(double)) == 0;
            held += m.x.size();
        }
        if (same) return last.x;
    }
    const std::size_t start = m_vX.size();
    for (const CMbrResults& m : results.m_vMbrRes) m_vX.insert(m_vX.end(), m.x.begin(), m.x.end());
    return start;
}

void CKeptPositions::Add(const CBeamResults* results)
{
    if (!results) return;
    SPosition p;
    p.values = m_vValues.size();
    p.x = PointsOf(*results, p.nX);
    for (const CMbrResults& m : results->m_vMbrRes) p.nM += m.M.size();
    for (const CMbrResults& m : results->m_vMbrRes) p.nV += m.V.size();
    // The whole run's block at once, from the first position's size.
    if (m_vPositions.empty() && m_nReserved > 0) m_vValues.reserve(m_nReserved * (p.nM + p.nV));
    for (const CMbrResults& m : results->m_vMbrRes) m_vValues.insert(m_vValues.end(), m.M.begin(), m.M.end());
    for (const CMbrResults& m : results->m_vMbrRes) m_vValues.insert(m_vValues.end(), m.V.begin(), m.V.end());
    m_vPositions.push_back(p);
}

void CKeptPositions::RemoveLast()
{
    if (m_vPositions.empty()) return;
    const SPosition p = m_vPositions.back();
    m_vPositions.pop_back();
    m_vValues.resize(p.values);
    const bool shared = !m_vPositions.empty() && m_vPositions.back().x == p.x;
    if (!shared && p.x + p.nX == m_vX.size()) m_vX.resize(p.x);
}

void CKeptPositions::Trim()
{
    m_nReserved = 0;
    // Only a reserve well beyond the positions is worth the copy.
    if (m_vValues.capacity() - m_vValues.size() > m_vValues.size() / 8) m_vValues.shrink_to_fit();
    if (m_vPositions.capacity() - m_vPositions.size() > m_vPositions.size() / 8) m_vPositions.shrink_to_fit();
}

void CKeptPositions::GetLine(std::size_t i, int kind, std::vector<double>& x, std::vector<double>& y) const
{
    if (kind != BRT_MOMENT && kind != BRT_SHEAR) throw kResultsTypeError;
    const SPosition& p = qor::At(m_vPositions, i);
    const double* const px = m_vX.data() + p.x;
    x.assign(px, px + p.nX);
    const double* const py = m_vValues.data() + p.values + (kind == BRT_MOMENT ? 0 : p.nM);
    y.assign(py, py + (kind == BRT_MOMENT ? p.nM : p.nV));
}

std::size_t CKeptPositions::GetBytes() const
{
    return (m_vX.capacity() + m_vValues.capacity()) * sizeof(double) + m_vPositions.capacity() * sizeof(SPosition);
}
