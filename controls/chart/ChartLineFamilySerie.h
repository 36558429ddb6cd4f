// Many one-pixel lines of one colour drawn from where their points are held, without a copy: a
// stretch between two pixels that many lines pass is drawn once, so that the picture is that of a
// line series a line at a cost bounded by the plot's pixels.
#pragma once

#include "controls/chart/ChartMouseListener.h"
#include "controls/chart/ChartSerie.h"
#include "controls/chart/ChartXYSerie.h"

#include <cstddef>
#include <functional>
#include <memory>

// One line's points where they are held: count x values in ascending order and their y values.
struct SChartLine
{
    const double* pX = nullptr;
    const double* pY = nullptr;
    std::size_t count = 0;
};

class CChartLineFamilySerie : public CChartSerie
{
public:
    // Gives line i (below the count given): false leaves it out.
    using LineSource = std::function<bool(std::size_t i, SChartLine& line)>;

    explicit CChartLineFamilySerie(CChartCtrl* pParent);
    ~CChartLineFamilySerie() override;

    // The lines and the range of all their points, which the axes follow once a line is shown;
    // none is shown yet.
    void SetLines(LineSource source, std::size_t count, double xMin, double xMax, double yMin, double yMax);
    // Shows the lines below count (at most those given): the new ones are drawn onto the chart's
    // image, or by the redraw that follows.
    void ShowLines(std::size_t count);
    std::size_t GetShownCount() const { return m_nShown; }
    std::size_t GetLineCount() const { return m_nLines; }
    // Line i as the source gives it: false when it has none.
    bool GetLine(std::size_t i, SChartLine& line) const;
    void RegisterMouseListener(CChartSeriesMouseListener<SChartXYPoint>* pListener) { m_pMouseListener = pListener; }
    // The values of the point of the last hit test (the line hit, or its point nearest the
    // mouse): false when it hit none.
    bool GetHitPoint(double* pX, double* pY) const;

    unsigned GetPointsCount() const override;
    CPoint PointScreenPosition(unsigned uPointIndex) const override;
    bool GetYRange(double* pMin, double* pMax) const override;
    bool GetXRange(double* pMin, double* pMax) const override;
    bool GetVisibleXRange(double* pMin, double* pMax) const override;
    bool GetVisibleYRange(double* pMin, double* pMax) const override;
    bool HitTest(const CPoint& screenPoint, unsigned* pIndex) const override;
    bool VisiblePointRange(unsigned* pFirst, unsigned* pLast) const override;
    void DrawLegendSample(CDC* pDC, const CRect& rectBitmap) override;
    void DrawNewPoints(CDC* pDC) override;
    void DrawAll(CDC* pDC) override;
    bool DrawAllPart(CDC* pDC, bool bFirst, DWORD deadline, std::size_t& pointsLeft) override;
    void DrawLabels(CDC* pDC) override { (void)pDC; }
    bool NotifyMouseEvent(int mouseEvent, const CPoint& screenPoint) override;
    void SetSeriesOrdering(int ordering) override { (void)ordering; }

private:
    struct SPass;

    // A drawing of the lines from the first on a DC, as the axes and the plot now are.
    std::unique_ptr<SPass> StartPass(CDC* pDC) const;
    // Whether pass was made for pDC as the axes and the plot now are.
    bool IsCurrent(const SPass& pass, CDC* pDC) const;
    // Draws the lines of pass up to the lines shown, stopping at the deadline when timed, and once
    // the lines' points reach *pPointsLeft (counted down) when given: true when it reached them.
    bool Continue(SPass& pass, bool timed, DWORD deadline, std::size_t* pPointsLeft = nullptr) const;
    // Draws the image's lines again from the stretches its pass drew, when it drew them all as
    // the axes and the plot now are: false when it cannot.
    bool Redraw(CDC* pDC);
    // The pixel columns of the points of line (those of the last line when it shares them) and
    // the range of its points that is drawn: false when none is.
    bool Columns(SPass& pass, const SChartLine& line) const;

    LineSource m_Source;
    std::size_t m_nLines = 0;
    std::size_t m_nShown = 0;
    std::size_t m_nPointsPerLine = 0; // of the first line
    double m_dXMin = 0, m_dXMax = 0, m_dYMin = 0, m_dYMax = 0;
    std::unique_ptr<SPass> m_pImagePass; // the drawing on the chart's image
    std::unique_ptr<SPass> m_pOtherPass; // a drawing in parts on another DC
    CChartSeriesMouseListener<SChartXYPoint>* m_pMouseListener = nullptr;
    mutable bool m_bHit = false;
    mutable double m_dHitX = 0, m_dHitY = 0;
    mutable CPoint m_HitPoint;
};
