// The series of many lines drawn from where they are held: each line's pixels, the stretches drawn
// once, passes in slices and redraws from the stretches kept, and the hit test of a click.
#include "controls/chart/ChartLineFamilySerie.h"

#include "controls/chart/ChartAxis.h"
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartPointsArray.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

// A stretch between two pixels, from a to b (a line leaves out its last pixel, so the way it
// goes counts).
struct SSegment
{
    LONG ax, ay, bx, by;
};
constexpr LONG kEmpty = std::numeric_limits<LONG>::min();

std::size_t HashOf(const POINT& a, const POINT& b)
{
    const auto pack = [](const POINT& p) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.x)) << 32) | static_cast<std::uint32_t>(p.y);
    };
    std::uint64_t h = pack(a) * 0x9E3779B97F4A7C15ull ^ pack(b) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    return static_cast<std::size_t>(h);
}

bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

// Lines between checks of the clock.
constexpr std::size_t kLinesBetweenChecks = 32;
// Points gathered before they go to the DC.
constexpr std::size_t kPointsAFlush = 1 << 16;

bool Reached(DWORD deadline) { return static_cast<LONG>(GetTickCount() - deadline) >= 0; }

// A DC set up for the lines while it lives: clipped to the plot, a one-pixel pen of their colour.
struct SLinePen
{
    CDC* pDC;
    int oldBkMode;
    CPen pen;
    CPen* pOldPen;
    SLinePen(CDC* dc, const CRect& plot, COLORREF colour) : pDC(dc), oldBkMode(dc->SetBkMode(TRANSPARENT))
    {
        pDC->SelectClipRgn(nullptr);
        pDC->IntersectClipRect(&plot);
        pen.CreatePen(PS_SOLID, 1, colour);
        pOldPen = pDC->SelectObject(&pen);
    }
    ~SLinePen()
    {
        pDC->SelectObject(pOldPen);
        pDC->SetBkMode(oldBkMode);
    }
    SLinePen(const SLinePen&) = delete;
    SLinePen& operator=(const SLinePen&) = delete;
};

} // namespace

struct CChartLineFamilySerie::SPass
{
    CDC* pDC = nullptr;
    CRect plot;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    std::size_t next = 0; // the next line to draw
    // The pixel columns of the last points along the beam, and the range of them drawn.
    const double* pX = nullptr;
    std::size_t nX = 0;
    std::vector<int> columns;
    std::size_t first = 0, last = 0;
    bool drawn = false;
    std::vector<int> rows, previous; // the pixel rows of this line's points and of the last line's
    // Every stretch drawn, in an open-addressed table (a power of two long, at most half full).
    std::vector<SSegment> table;
    std::size_t used = 0;
    std::vector<POINT> out;      // stretches still to go to the DC, two points each
    bool batchesAsOneGo = false; // out is kept from part to part (it goes to the DC a batch at a time)
    std::vector<DWORD> twos;

    // True when the stretch from a to b was not drawn before (it is then noted).
    bool Note(const POINT& a, const POINT& b)
    {
        if (2 * (used + 1) > table.size())
        {
            std::vector<SSegment> old(std::max<std::size_t>(1024, 2 * table.size()), SSegment{kEmpty, 0, 0, 0});
            old.swap(table);
            used = 0;
            for (const SSegment& s : old)
                if (s.ax != kEmpty) Note(POINT{s.ax, s.ay}, POINT{s.bx, s.by});
        }
        const std::size_t mask = table.size() - 1;
        for (std::size_t h = HashOf(a, b) & mask;; h = (h + 1) & mask)
        {
            SSegment& s = table[h];
            if (s.ax == kEmpty)
            {
                s = SSegment{a.x, a.y, b.x, b.y};
                ++used;
                return true;
            }
            if (s.ax == a.x && s.ay == a.y && s.bx == b.x && s.by == b.y) return false;
        }
    }

    // The stretches drawn, all of them, kept for a drawing of the chart's image (keep): a redraw
    // of the image as it lies draws them again without a pass over the lines. They are let go
    // when they would take more than keepBytes.
    bool keep = false;
    std::size_t keepBytes = 0;
    std::vector<POINT> stretches;

    void Flush()
    {
        if (out.empty()) return;
        twos.assign(out.size() / 2, 2);
        pDC->PolyPolyline(out.data(), twos.data(), static_cast<int>(twos.size()));
        if (keep && (stretches.size() + out.size()) * sizeof(POINT) > keepBytes)
        {
            keep = false;
            std::vector<POINT>().swap(stretches);
        }
        if (keep) stretches.insert(stretches.end(), out.begin(), out.end());
        out.clear();
    }
};

CChartLineFamilySerie::CChartLineFamilySerie(CChartCtrl* pParent) : CChartSerie(pParent) {}

CChartLineFamilySerie::~CChartLineFamilySerie() = default;

void CChartLineFamilySerie::SetLines(LineSource source, std::size_t count, double xMin, double xMax, double yMin,
                                     double yMax)
{
    m_Source = std::move(source);
    m_nLines = m_Source ? count : 0;
    m_nShown = 0;
    m_pImagePass.reset();
    m_pOtherPass.reset();
    m_dXMin = xMin;
    m_dXMax = xMax;
    m_dYMin = yMin;
    m_dYMax = yMax;
    m_nPointsPerLine = 0;
    SChartLine line;
    if (m_nLines > 0 && m_Source(0, line)) m_nPointsPerLine = line.count;
    RefreshParent();
}

void CChartLineFamilySerie::ShowLines(std::size_t count)
{
    count = std::min(count, m_nLines);
    if (count <= m_nShown) return;
    const bool first = m_nShown == 0;
    m_nShown = count;
    CChartCtrl* pChart = m_pParentCtrl;
    if (!pChart) return;
    if (first)
    {
        // The axes take the range of the lines now.
        pChart->AllowRefresh(false);
        if (m_pHorizontalAxis) m_pHorizontalAxis->SeriesRangeGrew(this);
        if (m_pVerticalAxis) m_pVerticalAxis->SeriesRangeGrew(this);
        if (m_pHorizontalAxis) m_pHorizontalAxis->RefreshAutoAxis();
        if (m_pVerticalAxis) m_pVerticalAxis->RefreshAutoAxis();
        pChart->AllowRefresh(true);
    }
    DrawAdded();
}

bool CChartLineFamilySerie::GetLine(std::size_t i, SChartLine& line) const
{
    line = SChartLine{};
    return i < m_nLines && m_Source(i, line);
}

bool CChartLineFamilySerie::GetHitPoint(double* pX, double* pY) const
{
    if (!m_bHit) return false;
    *pX = m_dHitX;
    *pY = m_dHitY;
    return true;
}

unsigned CChartLineFamilySerie::GetPointsCount() const
{
    const double points = static_cast<double>(m_nShown) * static_cast<double>(m_nPointsPerLine);
    return points >= static_cast<double>(UINT_MAX) ? UINT_MAX : static_cast<unsigned>(points);
}

CPoint CChartLineFamilySerie::PointScreenPosition(unsigned uPointIndex) const
{
    (void)uPointIndex;
    return m_HitPoint;
}

bool CChartLineFamilySerie::GetYRange(double* pMin, double* pMax) const
{
    if (!m_bIsVisible || m_nShown == 0) return false;
    *pMin = m_dYMin;
    *pMax = m_dYMax;
    return true;
}

bool CChartLineFamilySerie::GetXRange(double* pMin, double* pMax) const
{
    if (!m_bIsVisible || m_nShown == 0) return false;
    *pMin = m_dXMin;
    *pMax = m_dXMax;
    return true;
}

// The lines are not searched for the points inside the other axis's range: their whole range
// stands for it.
bool CChartLineFamilySerie::GetVisibleXRange(double* pMin, double* pMax) const { return GetXRange(pMin, pMax); }
bool CChartLineFamilySerie::GetVisibleYRange(double* pMin, double* pMax) const { return GetYRange(pMin, pMax); }

bool CChartLineFamilySerie::VisiblePointRange(unsigned* pFirst, unsigned* pLast) const
{
    (void)pFirst;
    (void)pLast;
    return false;
}

// ---- Drawing ----------------------------------------------------------------------------------

std::unique_ptr<CChartLineFamilySerie::SPass> CChartLineFamilySerie::StartPass(CDC* pDC) const
{
    auto pass = std::make_unique<SPass>();
    pass->pDC = pDC;
    // The stretches stand in for a pass over the lines' values: kept while they take a quarter of
    // those at most.
    pass->keepBytes = m_nLines * m_nPointsPerLine * sizeof(double) / 4;
    pass->plot = m_PlottingRect;
    m_pHorizontalAxis->GetMinMax(pass->xMin, pass->xMax);
    m_pVerticalAxis->GetMinMax(pass->yMin, pass->yMax);
    return pass;
}

bool CChartLineFamilySerie::IsCurrent(const SPass& pass, CDC* pDC) const
{
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    m_pHorizontalAxis->GetMinMax(xMin, xMax);
    m_pVerticalAxis->GetMinMax(yMin, yMax);
    return pass.pDC == pDC && pass.plot == m_PlottingRect && pass.xMin == xMin && pass.xMax == xMax &&
           pass.yMin == yMin && pass.yMax == yMax;
}

bool CChartLineFamilySerie::Columns(SPass& pass, const SChartLine& line) const
{
    if (line.pX == pass.pX && line.count == pass.nX) return pass.drawn;
    pass.pX = line.pX;
    pass.nX = line.count;
    pass.previous.clear(); // its rows were of other points
    // The points inside the axis's range and one beyond at each end, as a line series takes them.
    const unsigned n = static_cast<unsigned>(std::min<std::size_t>(line.count, UINT_MAX));
    const auto coord = [&line](unsigned i) { return line.pX[i]; };
    unsigned first = qor::chart::SearchOrdered(coord, 0, n - 1, pass.xMin);
    unsigned last = qor::chart::SearchOrdered(coord, first, n - 1, pass.xMax);
    if (first > 0) --first;
    if (last + 1 < n) ++last;
    pass.first = first;
    pass.last = last;
    pass.drawn = first != last;
    pass.columns.resize(n);
    m_pHorizontalAxis->ValuesToScreen(line.pX + first, last - first + 1, pass.columns.data() + first);
    return pass.drawn;
}

bool CChartLineFamilySerie::Continue(SPass& pass, bool timed, DWORD deadline, std::size_t* pPointsLeft) const
{
    CDC* pDC = pass.pDC;
    if (!m_Source || !pDC || !pDC->GetSafeHdc()) return true;
    SLinePen lines(pDC, m_PlottingRect, m_SerieColour);
    SChartLine line;
    std::size_t sinceCheck = 0;
    while (pass.next < m_nShown)
    {
        if (timed && ++sinceCheck >= kLinesBetweenChecks)
        {
            sinceCheck = 0;
            if (Reached(deadline)) break;
        }
        if (pPointsLeft && *pPointsLeft == 0) break;
        const std::size_t i = pass.next++;
        if (!m_Source(i, line)) continue;
        if (pPointsLeft) *pPointsLeft -= std::min(*pPointsLeft, line.count);
        if (line.count == 0 || !line.pX || !line.pY || !Columns(pass, line)) continue;
        const std::size_t first = pass.first, n = pass.last - first + 1;
        pass.rows.resize(n);
        m_pVerticalAxis->ValuesToScreen(line.pY + first, n, pass.rows.data());
        // A line on the pixels of the last one adds nothing.
        const bool follows = pass.previous.size() == n;
        if (follows && std::equal(pass.rows.begin(), pass.rows.end(), pass.previous.begin())) continue;
        // The line's stretches between two different pixels (those of its polyline), less those
        // the last line drew in the same place, each drawn once.
        const int* rows = pass.rows.data();
        const int* previous = pass.previous.data();
        const int* columns = pass.columns.data() + first;
        for (std::size_t k = 0; k + 1 < n; ++k)
        {
            const POINT a{columns[k], rows[k]}, b{columns[k + 1], rows[k + 1]};
            if (a == b) continue;
            if (follows && previous[k] == a.y && previous[k + 1] == b.y) continue;
            if (!pass.Note(a, b)) continue;
            pass.out.push_back(a);
            pass.out.push_back(b);
        }
        pass.rows.swap(pass.previous);
        if (pass.out.size() >= kPointsAFlush) pass.Flush();
    }
    // A pass that is drawn in parts on a DC of its own goes to it in the batches a pass in one go
    // makes: on paper the stretches of a batch go as one path, which renders alike only batched alike.
    if (!pass.batchesAsOneGo || pass.next >= m_nShown) pass.Flush();
    if (pass.next >= m_nLines)
    {
        // No line is to come: what was noted for them goes.
        std::vector<SSegment>().swap(pass.table);
        std::vector<int>().swap(pass.rows);
        std::vector<int>().swap(pass.previous);
        std::vector<POINT>().swap(pass.out);
        std::vector<DWORD>().swap(pass.twos);
        pass.used = 0;
    }
    return pass.next >= m_nShown;
}

void CChartLineFamilySerie::DrawNewPoints(CDC* pDC)
{
    if (!m_bIsVisible || !m_pHorizontalAxis || !m_pVerticalAxis || !pDC || !pDC->GetSafeHdc()) return;
    if (!m_pImagePass || !IsCurrent(*m_pImagePass, pDC))
    {
        // The lines drawn stay on the image: the rest is drawn as it now lies (and the image is
        // not one pass's any more: nothing to draw again from).
        const std::size_t drawn = m_pImagePass ? m_pImagePass->next : 0;
        m_pImagePass = StartPass(pDC);
        m_pImagePass->next = drawn;
    }
    Continue(*m_pImagePass, false, 0);
}

bool CChartLineFamilySerie::Redraw(CDC* pDC)
{
    SPass* pass = m_pImagePass.get();
    if (!pass || !pass->keep || pass->next < m_nLines || m_nShown < m_nLines || !IsCurrent(*pass, pDC)) return false;
    SLinePen lines(pDC, m_PlottingRect, m_SerieColour);
    for (std::size_t from = 0; from < pass->stretches.size(); from += kPointsAFlush)
    {
        const std::size_t count = std::min(kPointsAFlush, pass->stretches.size() - from);
        pass->twos.assign(count / 2, 2);
        pDC->PolyPolyline(pass->stretches.data() + from, pass->twos.data(), static_cast<int>(count / 2));
    }
    std::vector<DWORD>().swap(pass->twos);
    return true;
}

void CChartLineFamilySerie::DrawAll(CDC* pDC)
{
    if (!m_bIsVisible || !m_pHorizontalAxis || !m_pVerticalAxis || !pDC || !pDC->GetSafeHdc()) return;
    const bool image = m_pParentCtrl && pDC == m_pParentCtrl->GetBackgroundDC();
    if (image && Redraw(pDC)) return;
    std::unique_ptr<SPass> pass = StartPass(pDC);
    pass->keep = image;
    Continue(*pass, false, 0);
    // Kept for the lines still to come, and for the next redraw, when it is the chart's image.
    if (image) m_pImagePass = std::move(pass);
}

bool CChartLineFamilySerie::DrawAllPart(CDC* pDC, bool bFirst, DWORD deadline, std::size_t& pointsLeft)
{
    if (!m_bIsVisible || !m_pHorizontalAxis || !m_pVerticalAxis || !pDC || !pDC->GetSafeHdc()) return true;
    if (!m_pParentCtrl || pDC != m_pParentCtrl->GetBackgroundDC())
    {
        // Another DC (a printer's): a pass of its own, which the chart's image keeps no part of.
        if (bFirst || !m_pOtherPass || !IsCurrent(*m_pOtherPass, pDC))
        {
            m_pOtherPass = StartPass(pDC);
            m_pOtherPass->batchesAsOneGo = true;
        }
        const bool done = Continue(*m_pOtherPass, true, deadline, &pointsLeft);
        if (done) m_pOtherPass.reset();
        return done;
    }
    if (bFirst && Redraw(pDC))
    {
        // Drawn again in one go from what the last pass kept: it counts as all its points.
        pointsLeft -= std::min<std::size_t>(pointsLeft, GetPointsCount());
        return true;
    }
    if (bFirst || !m_pImagePass || !IsCurrent(*m_pImagePass, pDC))
    {
        m_pImagePass = StartPass(pDC);
        m_pImagePass->keep = true;
    }
    return Continue(*m_pImagePass, true, deadline, &pointsLeft);
}

void CChartLineFamilySerie::DrawLegendSample(CDC* pDC, const CRect& rectBitmap)
{
    if (m_strSerieName.IsEmpty() || !pDC || !pDC->GetSafeHdc()) return;
    CPen pen(PS_SOLID, 1, m_SerieColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int middle = rectBitmap.top + rectBitmap.Height() / 2;
    pDC->MoveTo(rectBitmap.left, middle);
    pDC->LineTo(rectBitmap.right, middle);
    pDC->SelectObject(pOldPen);
}

// ---- Mouse ------------------------------------------------------------------------------------

bool CChartLineFamilySerie::HitTest(const CPoint& screenPoint, unsigned* pIndex) const
{
    *pIndex = kChartNoPoint;
    m_bHit = false;
    if (!m_bIsVisible || !m_pHorizontalAxis || !m_pVerticalAxis || !m_Source) return false;
    // A search over a million lines reads a value or two of each, scattered over gigabytes: the
    // lines a few ahead are asked for early and their values fetched meanwhile, and the search
    // gives up (the older lines count as missed) rather than hold the window past its budget.
    constexpr std::size_t kAhead = 16;
    constexpr std::size_t kLinesBetweenClockChecks = 4096;
    constexpr DWORD kBudgetMs = 100;
    const DWORD deadline = GetTickCount() + kBudgetMs;
    SPass pass;
    m_pHorizontalAxis->GetMinMax(pass.xMin, pass.xMax);
    const double px = screenPoint.x, py = screenPoint.y;
    auto within = [&](const CPoint& p, int distance) {
        return std::abs(screenPoint.x - p.x) <= distance && std::abs(screenPoint.y - p.y) <= distance;
    };
    std::vector<std::size_t> near; // the stretches of the present points that reach the mouse's column
    std::size_t lo = 0, hi = 0;    // the points of those stretches, from lo to hi
    std::vector<int> rows;         // their pixel rows on the line tested
    SChartLine ahead[kAhead];
    bool given[kAhead] = {};
    const auto fetch = [&](std::size_t j) {
        SChartLine& line = ahead[j % kAhead];
        given[j % kAhead] = m_Source(j, line) && line.count > 0 && line.pX && line.pY;
        if (given[j % kAhead] && !near.empty() && line.pX == pass.pX && line.count == pass.nX)
        {
            __builtin_prefetch(line.pY + lo);
            __builtin_prefetch(line.pY + hi);
        }
    };
    for (std::size_t j = m_nShown; j-- > m_nShown - std::min(m_nShown, kAhead);) fetch(j);
    // The newest line first, as the chart asks its series.
    for (std::size_t i = m_nShown; i-- > 0;)
    {
        if ((m_nShown - i) % kLinesBetweenClockChecks == 0 && Reached(deadline)) break;
        const SChartLine line = ahead[i % kAhead];
        const bool lineGiven = given[i % kAhead];
        if (i >= kAhead) fetch(i - kAhead);
        const double* pX = pass.pX;
        if (!lineGiven || !Columns(pass, line)) continue;
        if (pass.pX != pX)
        {
            near.clear();
            for (std::size_t k = pass.first; k < pass.last; ++k)
            {
                const LONG left = std::min(pass.columns[k], pass.columns[k + 1]);
                const LONG right = std::max(pass.columns[k], pass.columns[k + 1]);
                if (left - 3 <= screenPoint.x && screenPoint.x <= right + 3) near.push_back(k);
            }
            if (!near.empty())
            {
                lo = near.front();
                hi = near.back() + 1;
                rows.resize(hi - lo + 1);
            }
        }
        if (near.empty()) continue;
        m_pVerticalAxis->ValuesToScreen(line.pY + lo, hi - lo + 1, rows.data());
        for (std::size_t k : near)
        {
            const CPoint a(pass.columns[k], rows[k - lo]);
            const CPoint b(pass.columns[k + 1], rows[k + 1 - lo]);
            bool hit = false;
            if (a == b)
                hit = within(a, 3);
            else
            {
                const double dx = b.x - a.x, dy = b.y - a.y;
                const double u = ((a.y - py) * (a.y - b.y) - (a.x - px) * dx) / (dx * dx + dy * dy);
                hit = u >= 0 && u <= 1 && std::abs(px - (a.x + u * dx)) <= 3 && std::abs(py - (a.y + u * dy)) <= 3;
            }
            if (!hit) continue;
            std::size_t point = SIZE_MAX;
            if (within(a, 5)) point = k;
            if (within(b, 5)) point = k + 1;
            if (point != SIZE_MAX)
            {
                m_bHit = true;
                m_dHitX = line.pX[point];
                m_dHitY = line.pY[point];
                m_HitPoint = point == k ? a : b;
                *pIndex = static_cast<unsigned>(std::min<std::size_t>(point, kChartNoPoint - 1));
            }
            return true;
        }
    }
    return false;
}

bool CChartLineFamilySerie::NotifyMouseEvent(int mouseEvent, const CPoint& screenPoint)
{
    if (!m_pMouseListener || !m_bIsVisible) return false;
    if (mouseEvent == cmeMouseMove ? !m_bNotifyMoves : !m_bNotifyClicks) return false;
    unsigned index = kChartNoPoint;
    if (!HitTest(screenPoint, &index)) return false;
    m_pMouseListener->OnMouseEventSeries(mouseEvent, screenPoint, this, index);
    return true;
}
