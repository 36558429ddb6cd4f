// The point storage of a chart series: one contiguous array grown in steps, kept in order
// of X or Y when asked, with the bounds of all its points and the binary search that finds
// the points inside an axis range. No window is involved.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace qor::chart {

// Orderings of a points array.
enum EPointsOrdering
{
    poNoOrdering = 0,
    poXOrdering = 1,
    poYOrdering = 2
};

// A strict weak order on doubles in which a value that is not a number comes after
// every number, so that sorting and insertion stay well defined whatever is added.
inline bool CoordLess(double a, double b) { return a < b || (!std::isnan(a) && std::isnan(b)); }

// The binary search of a visible range over coordinates in order, coord(index) giving each,
// between the indices lo and hi (lo <= hi): roughly the first index whose coordinate is greater
// than v, hi when there is none.
template <class Coord>
unsigned SearchOrdered(const Coord& coord, unsigned lo, unsigned hi, double v)
{
    for (;;)
    {
        const unsigned mid = lo + (hi - lo) / 2;
        if (!(coord(mid) > v))
        {
            if (mid >= hi) return hi;
            lo = mid + 1;
        }
        else
        {
            if (lo >= mid) return lo;
            hi = mid - 1;
        }
    }
}

// PointType provides double X and Y.
template <class PointType>
class CChartPointsArray
{
public:
    // The most a full array grows by at once when points come one by one.
    static constexpr unsigned kGrowStep = 1000;

    // No room until points come: a series holds what its points need (Reserve), not a
    // fixed block whatever it needs.
    CChartPointsArray() = default;
    CChartPointsArray(const CChartPointsArray&) = delete;
    CChartPointsArray& operator=(const CChartPointsArray&) = delete;

    unsigned GetPointsCount() const { return m_nCount; }
    unsigned GetCapacity() const { return m_nCapacity; }
    int GetOrdering() const { return m_nOrdering; }
    const PointType& GetAt(unsigned index) const { return m_pPoints[index]; }
    PointType& GetAt(unsigned index) { return m_pPoints[index]; }
    const PointType* GetInternalBuffer() const { return m_pPoints.get(); }

    double GetXMin() const { return m_dXMin; }
    double GetXMax() const { return m_dXMax; }
    double GetYMin() const { return m_dYMin; }
    double GetYMax() const { return m_dYMax; }

    // The coordinate the ordering sorts on (X for no ordering).
    double OrderCoord(const PointType& p) const { return m_nOrdering == poYOrdering ? p.Y : p.X; }
    double OrderCoord(unsigned index) const { return OrderCoord(m_pPoints[index]); }

    // Stores a point: appended, or with an ordering inserted after every point whose
    // coordinate is not greater (equal coordinates keep the order they came in).
    // Returns the index where the point went.
    unsigned AddPoint(const PointType& point)
    {
        if (m_nCount == m_nCapacity) Grow();
        if (m_nCount == 0)
        {
            m_dXMin = m_dXMax = point.X;
            m_dYMin = m_dYMax = point.Y;
        }
        else
        {
            if (point.X < m_dXMin) m_dXMin = point.X;
            if (point.X > m_dXMax) m_dXMax = point.X;
            if (point.Y < m_dYMin) m_dYMin = point.Y;
            if (point.Y > m_dYMax) m_dYMax = point.Y;
        }
        unsigned index = m_nCount;
        if (m_nOrdering != poNoOrdering && m_nCount > 0)
        {
            const double v = OrderCoord(point);
            if (CoordLess(v, OrderCoord(m_nCount - 1)))
            {
                // The first point whose coordinate is strictly greater.
                PointType* begin = m_pPoints.get();
                PointType* pos = std::upper_bound(begin, begin + m_nCount, v, [this](double value, const PointType& p) {
                    return CoordLess(value, OrderCoord(p));
                });
                index = static_cast<unsigned>(pos - begin);
                std::move_backward(pos, begin + m_nCount, begin + m_nCount + 1);
            }
        }
        m_pPoints[index] = point;
        ++m_nCount;
        return index;
    }

    // Room for nPoints points in all (nothing when there is room already): the points of a
    // series added together take exactly what they need.
    void Reserve(unsigned nPoints)
    {
        if (nPoints > m_nCapacity) Reallocate(nPoints);
    }

    void Clear()
    {
        m_nCount = 0;
        m_dXMin = m_dXMax = m_dYMin = m_dYMax = 0.0;
    }

    // Sets the ordering; 1 and 2 sort the stored points by X or by Y.
    void SetOrdering(int ordering)
    {
        m_nOrdering = ordering;
        if (ordering == poXOrdering || ordering == poYOrdering)
        {
            PointType* begin = m_pPoints.get();
            std::stable_sort(begin, begin + m_nCount, [this](const PointType& a, const PointType& b) {
                return CoordLess(OrderCoord(a), OrderCoord(b));
            });
        }
    }

    // SearchOrdered on the ordering's coordinate (hi < count).
    unsigned BinarySearch(unsigned lo, unsigned hi, double v) const
    {
        return SearchOrdered([this](unsigned i) { return OrderCoord(i); }, lo, hi, v);
    }

    // The points between min and max on the ordering's coordinate: false without points.
    // Without ordering, all points.
    bool GetVisibleRange(double min, double max, unsigned* first, unsigned* last) const
    {
        if (m_nCount == 0) return false;
        if (m_nOrdering == poNoOrdering)
        {
            *first = 0;
            *last = m_nCount - 1;
            return true;
        }
        *first = BinarySearch(0, m_nCount - 1, min);
        *last = BinarySearch(*first, m_nCount - 1, max);
        return true;
    }

private:
    // A full array grows by what it holds (at least 16 points, at most kGrowStep), keeping
    // every point.
    void Grow() { Reallocate(m_nCapacity + std::clamp(m_nCapacity, 16u, kGrowStep)); }

    void Reallocate(unsigned capacity)
    {
        std::unique_ptr<PointType[]> points(new PointType[capacity]);
        if (m_nCount > 0) std::copy(m_pPoints.get(), m_pPoints.get() + m_nCount, points.get());
        m_pPoints = std::move(points);
        m_nCapacity = capacity;
    }

    double m_dXMin = 0.0;
    double m_dXMax = 0.0;
    double m_dYMin = 0.0;
    double m_dYMax = 0.0;
    std::unique_ptr<PointType[]> m_pPoints;
    unsigned m_nCapacity = 0;
    unsigned m_nCount = 0;
    int m_nOrdering = poXOrdering;
};

} // namespace qor::chart
