// The plot view: a grid of rows x columns of chart controls below the view's title, the
// helpers that fill a chart (line series with a click listener, point markers, the beam line,
// axis titles, axis ranges rounded to whole ticks), and printing one chart per page.
//
//     CPlotView* view = ...;             // opened through the plot document template
//     view->CreateCharts(2, 1);          // bending moment above shear force
//     view->ShowMovingLoadEnvelopes(bShowAll, true, descriptor);
#pragma once

#include "ui/views/QORViewBase.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class CBridge;
class CChartCtrl;
class CChartLineFamilySerie;
class CKeptPositions;
struct SChartLine;
class CCriticalRatioEnsemble;
class CMouseListener;
template <class T>
class CCriticalEnsemble;
class CCriticalValueResults;
class CCriticalRatioResults;

class CPlotView : public CQORViewBase
{
    DECLARE_DYNCREATE(CPlotView)
public:
    CPlotView();
    ~CPlotView() override;

    // Makes rows x cols charts (column by column: chart i is in column i / rows, row i % rows).
    // Throws the text "Cannot have zero rows or columns" for an empty grid.
    void CreateCharts(unsigned rows, unsigned cols);
    // A line series on chart i (points (x[k], -y[k]) when bInvertY), with a listener that shows
    // a clicked point's values; bPoints adds markers. Nothing for a bad index or unequal sizes.
    void AddSeries(unsigned i, std::vector<double> x, std::vector<double> y, COLORREF colour, bool bPoints,
                   int lineWidth, bool bInvertY, bool bRoundAxes);
    void SetAxisTitles(unsigned i, CString xTitle, CString yTitle);
    void DrawBeamLine(unsigned i, std::shared_ptr<CBridge> bridge);
    // Widens an axis (0 left, 1 bottom) to whole tick increments, keeping at least 0.2 of an
    // increment between the data and each end.
    static void RoundAxis(CChartCtrl* chart, int position);
    int FindChart(CChartCtrl* chart) const;
    void RemoveAllCharts();

    unsigned GetChartCount() const { return m_nCharts; }
    // Holds (true) and releases (false) the drawing of every chart: changes made in between
    // redraw each chart once, at the release. Holds nest.
    void HoldDrawing(bool hold);
    CChartCtrl* GetChart(unsigned i) const { return i < m_vCharts.size() ? m_vCharts[i] : nullptr; }

    // The curves of every load position or load model ("show all") come after the Show, in
    // slices run from the message loop: the windows open at once, repaint and take input while
    // thousands of curves are added, and the status bar counts them. The plot ends exactly as
    // if it had been drawn in one go.
    // A chart of many curves is also redrawn in slices (after the last curve, or when its axes
    // change): the plot is drawing until every chart is whole on its image.
    bool IsDrawing() const;
    // What is still to come, drawn now.
    void FinishDrawing();
    // A slice of what is still to come, drawn now (for a caller that finishes the plot in steps of
    // its own while posted messages wait): true once the plot is whole.
    bool DrawSlice();

    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void RecalcLayout() override;

    void DrawSinglePositionBMSF(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawSinglePositionReactions(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawMovingLoadBMSF(std::shared_ptr<CEnvelopeResults> pResults, bool bShowAll) override;
    void DrawMovingLoadReactions(std::shared_ptr<CEnvelopeResults> pResults) override;
    void DrawMultiMovingLoadBMSF(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll) override;
    void DrawMultiMovingLoadReactions(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll) override;
    void DrawReferenceValuesBMSF(std::shared_ptr<CCriticalValueEnsemble> pValues) override;
    void DrawReferenceValuesReactions(std::shared_ptr<CCriticalValueEnsemble> pValues) override;
    void DrawReferenceSetValuesBMSF(std::shared_ptr<CReferenceSet> pRefSet) override;
    void DrawReferenceSetValuesReactions(std::shared_ptr<CReferenceSet> pRefSet) override;
    void DrawCompareEnvelopesBMSF(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawCompareEnvelopesReactions(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawCriticalRatiosBMSF(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawCriticalRatiosReactions(std::shared_ptr<CAnalysisOutput> pAO) override;

    // The fixed axis titles.
    enum EAxisTitle
    {
        AT_BRIDGESPAN,
        AT_BM,
        AT_SF,
        AT_REACTION,
        AT_BMENV,
        AT_SFENV,
        AT_REACTIONENV,
        AT_CV_BM,
        AT_CV_SF,
        AT_CV_REACTION,
        AT_CV_BMENV,
        AT_CV_SFENV,
        AT_CV_REACTIONENV,
        AT_CR_BM,
        AT_CR_SF,
        AT_CR_REACTION,
        AT_LMPOSITION,
        AT_BEAMLOCATION,
        AT_COUNT
    };
    static const wchar_t* AxisTitle(EAxisTitle title);

protected:
    // Envelopes of one bridge along the beam (charts 0 and 1), and its reaction envelopes (one
    // chart per support).
    void PlotEnvelopesBMSF(std::shared_ptr<CEnvelopeResults> pResults, COLORREF clrMin, COLORREF clrMax, bool bShowAll);
    void PlotReactionEnvelopes(std::shared_ptr<CEnvelopeResults> pResults, COLORREF clrMin, COLORREF clrMax);
    // Critical values or ratios over the spans of a bridge set: bending moment and shear force
    // on charts 0 and 1, or one chart per support.
    template <class Results>
    void PlotCriticalPairs(const CCriticalEnsemble<Results>& ensemble, bool bBMSF, EAxisTitle bmTitle,
                           EAxisTitle sfTitle, EAxisTitle reactionTitle);
    // A series of values over the bridges of a set, with markers, less the bridges without a
    // rating (noRating true; empty: all have one): one series for each run of rated bridges.
    void AddRatedSeries(unsigned i, const std::vector<double>& x, const std::vector<double>& y,
                        const std::vector<bool>& noRating, COLORREF colour);
    // The full-speed line at 1.0 and the slow-down line at the given values.
    void DrawRatioLimits(unsigned i, const std::vector<double>& x, const std::vector<double>& slowDown);
    // The dynamic load allowance of the proposed ensemble's first load model on each bridge of
    // the set; empty when there is no such model.
    static std::vector<double> GetSlowDownLimits(std::shared_ptr<CReferenceSet> pRefSet);
    void DrawCriticalRatios(std::shared_ptr<CAnalysisOutput> pAO, bool bBMSF);
    void DrawCompareEnvelopes(std::shared_ptr<CAnalysisOutput> pAO, bool bBMSF);
    // Drawing of a plot in steps. Then runs a step at once unless steps are still to come (it
    // goes behind them); Later always queues it. A step queued from inside a step goes before
    // the steps that were waiting, so every chart gets its series in the order a drawing in one
    // go gives it. A step's curves count in the progress shown.
    void Then(std::function<void()> step);
    void Later(std::function<void()> step, int nCurves = 0);
    LRESULT OnDrawPending(WPARAM wParam, LPARAM lParam);
    void RunPendingStep();
    void ShowDrawingProgress(bool bDone);

    // The ranges of the data a run of series will add to a chart.
    struct SRange
    {
        double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
        bool hasX = false, hasY = false;
        bool IsSet() const { return hasX && hasY; }
        void AddX(double lo, double hi)
        {
            xMin = hasX ? std::min(xMin, lo) : lo;
            xMax = hasX ? std::max(xMax, hi) : hi;
            hasX = true;
        }
        void AddY(double lo, double hi)
        {
            yMin = hasY ? std::min(yMin, lo) : lo;
            yMax = hasY ? std::max(yMax, hi) : hi;
            hasY = true;
        }
        // The line of kind of kept position i, as it is drawn (moments are turned over by the
        // axis, not in their values).
        void Add(const CKeptPositions& positions, std::size_t i, int kind);
    };
    // Many series in a row: the axes of chart i are fixed at the ranges they will end with (the
    // data already there and the range given, rounded), so that each new series is drawn onto the
    // image alone; ReleaseAxes gives them back their automatic range.
    void HoldAxes(unsigned i, const SRange& range);
    void ReleaseAxes(unsigned i);
    // The light curve of each of the first count kept positions, drawn from where they are kept
    // a few hundred a step, on axes held at the ranges given.
    void QueuePositionCurves(const std::shared_ptr<CEnvelopeResults>& pResults, const SRange& moments,
                             const SRange& shears, std::size_t count);
    // Many light lines of one width on chart i, read by source where they are held (none
    // shown yet: ShowLines shows them), the axis turned over when bInvertY, with a listener as
    // AddSeries gives; range is that of all their points. Null for a bad index.
    CChartLineFamilySerie* AddLineFamily(unsigned i, std::function<bool(std::size_t, SChartLine&)> source,
                                         std::size_t count, const SRange& range, bool bInvertY);

    struct SStep
    {
        std::function<void()> run;
        int nCurves = 0;
    };
    // A slice of steps takes about this long before the message loop gets its turn.
    static constexpr DWORD kSliceMs = 20;
    // Points of a reaction envelope from which each of its curves is drawn in a turn of its own.
    static constexpr std::size_t kPointsForACurveATurn = 100000;
    // A printed chart is drawn for about this long a call.
    static constexpr DWORD kPrintSliceMs = 40;
    std::deque<SStep> m_Pending;
    std::deque<SStep> m_Inserted; // queued by the step that runs, to go first
    bool m_bInStep = false;
    bool m_bPosted = false;
    UINT m_nPrintingPage = 0; // the page whose chart is being printed in parts (0: none)
    int m_nCurvesQueued = 0;
    int m_nCurvesDrawn = 0;
    CString m_sStatusShown;
    unsigned m_nCharts = 0;
    unsigned m_nRows = 0;
    unsigned m_nCols = 0;
    std::vector<CChartCtrl*> m_vCharts;
    std::vector<CMouseListener*> m_vListeners;
    bool m_bRatioLimitFullSpeed = true;
    bool m_bRatioLimitSlowDown = true;
    COLORREF CLR_BACKGRND = 0;
    COLORREF CLR_BORDER = 0;
    COLORREF CLR_GRID = 0;
    COLORREF CLR_TEXT = 0;
    COLORREF CLR_LINEMIN = 0;
    COLORREF CLR_LINEMAX = 0;
    COLORREF CLR_BEAM = 0;
    COLORREF CLR_LIGHTLINE = 0;
    COLORREF CLR_PROPMIN = 0;
    COLORREF CLR_PROPMAX = 0;
    COLORREF CLR_FULLSPEED = 0;
    COLORREF CLR_SLOWDOWN = 0;

    DECLARE_MESSAGE_MAP()
};
