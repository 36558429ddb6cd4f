// The chart control: a child window that draws an XY chart (up to four axes, line and
// points series, a title, a legend, a border and a background) into an off-screen bitmap
// that it copies to the screen. The left button drags a zoom rectangle, the right button
// pans, and mouse events on series points go to the series' listeners.
#pragma once

#include "platform/gui/Afx.h"

#include <cstddef>
#include <map>

class CChartAxis;
class CChartStandardAxis;
class CChartSerie;
class CChartLineSerie;
class CChartLineFamilySerie;
class CChartPointsSerie;
class CChartLegend;
class CChartTitle;
class CPrintDialog;
class CPrintInfo;

// The window class the chart is created with.
#define CHARTCTRL_CLASSNAME _T("ChartCtrl")

class CChartCtrl : public CWnd
{
public:
    CChartCtrl();
    ~CChartCtrl() override;

    // Axes, by position (0 left, 1 bottom, 2 right, 3 top). Creating one replaces the
    // axis that held the position (its series move to the new axis).
    CChartStandardAxis* CreateStandardAxis(int position);
    CChartAxis* GetAxis(int position) const;
    CChartAxis* GetLeftAxis() const { return GetAxis(0); }
    CChartAxis* GetBottomAxis() const { return GetAxis(1); }
    CChartAxis* GetRightAxis() const { return GetAxis(2); }
    CChartAxis* GetTopAxis() const { return GetAxis(3); }

    // Series, drawn against the left and the bottom axis, which must exist.
    CChartLineSerie* CreateLineSerie();
    CChartPointsSerie* CreatePointsSerie();
    // Many lines of one colour drawn from where they are held (CChartLineFamilySerie).
    CChartLineFamilySerie* CreateLineFamilySerie();
    CChartSerie* GetSerie(unsigned serieId) const;
    const std::map<unsigned, CChartSerie*>& GetSeries() const { return m_mapSeries; }
    unsigned GetSeriesCount() const { return static_cast<unsigned>(m_mapSeries.size()); }
    void RemoveSerie(unsigned serieId);
    void RemoveAllSeries();

    CChartLegend* GetLegend() const { return m_pLegend; }
    CChartTitle* GetTitle() const { return m_pTitles; }
    const CRect& GetPlottingRect() const { return m_PlottingRect; }

    // Looks.
    void SetEdgeType(UINT edgeType);
    UINT GetEdgeType() const { return m_EdgeType; }
    void SetBackColour(COLORREF colour);
    COLORREF GetBackColour() const { return m_BackColor; }
    void SetBorderColour(COLORREF colour);
    COLORREF GetBorderColour() const { return m_BorderColor; }
    // gradientType: 0 horizontal, 1 vertical, 2 horizontal double, 3 vertical double.
    void SetBackGradient(COLORREF col1, COLORREF col2, int gradientType);
    void SetZoomRectColour(COLORREF colour) { m_ZoomRectColor = colour; }
    COLORREF GetZoomRectColour() const { return m_ZoomRectColor; }

    // Mouse behaviour.
    void SetPanEnabled(bool enabled) { m_bPanEnabled = enabled; }
    bool GetPanEnabled() const { return m_bPanEnabled; }
    void SetZoomEnabled(bool enabled) { m_bZoomEnabled = enabled; }
    bool GetZoomEnabled() const { return m_bZoomEnabled; }
    void ShowMouseCursor(bool show) { m_bMouseVisible = show; }
    bool IsZooming() const { return m_bLMouseDown; }
    bool IsPanning() const { return m_bRMouseDown; }
    const CRect& GetZoomRect() const { return m_rectZoomArea; }

    // Drawing. AllowRefresh(false) ... AllowRefresh(true) brackets bulk changes so that
    // one redraw follows; RefreshCtrl redraws the off-screen image now (or later, while
    // drawing is disabled) and invalidates the window.
    void AllowRefresh(bool allow);
    void EnableRefresh(bool enable) { AllowRefresh(enable); }
    bool IsRefreshAllowed() const { return m_iEnableRefresh >= 1; }
    bool IsRefreshPending() const { return m_bPendingRefresh; }
    // Draws the chart into its kept image and shows it. A chart of many points draws its
    // series in slices from the message loop (IsRedrawing until the last is on the image), so
    // that a plot of many thousand curves never holds the window for long.
    void RefreshCtrl();
    bool IsRedrawing() const { return m_bRedrawing; }
    // Whether the redraw under way has still to draw the series (its ids go in order).
    bool IsSeriesStillToDraw(unsigned serieId) const { return m_bRedrawing && serieId >= m_uRedrawNext; }
    // The rest of a redraw in slices, drawn now.
    void FinishRedraw();
    // The next slice of a redraw in slices, drawn now.
    void ContinueRedraw();
    // Lays the axes out on the window's present size as a redraw does, drawing nothing: their
    // tick increments are then those the chart will show, even while drawing is held.
    void RecalcAxesLayout();
    // Every axis back to its unzoomed range.
    void ResetZoom();
    // Each axis's scroll bar, and the range of axes that follow the visible points.
    void RecalcScreenAutoAxes();
    // The off-screen image (a memory DC), null before the first refresh.
    CDC* GetBackgroundDC() { return m_BackgroundDC.GetSafeHdc() ? &m_BackgroundDC : nullptr; }
    // How often the off-screen image was drawn whole.
    unsigned GetRedrawCount() const { return m_uRedrawCount; }

    // Printing, and the drawing the screen and the printer share.
    virtual void Print(const CString& title, CPrintDialog* pPrntDialog = nullptr);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void DrawChart(CDC* pDC, CRect ChartRect);
    // Draws what DrawChart draws, in parts: the frame and what of the series fits before deadline
    // (a tick count) with bFirst, then the series from where the last call stopped; true once the
    // labels and the legend are drawn too. The same picture as DrawChart, for a DC that is not
    // the chart's image (a printer's), drawn over several turns of the message loop.
    bool DrawChartPart(CDC* pDC, CRect ChartRect, bool bFirst, DWORD deadline);
    virtual void DrawBackground(CDC* pDC, CRect ChartRect);

    // Prints the chart on one page of a printer DC: the document, OnBeginPrinting, the page,
    // OnEndPrinting. FALSE when the DC could not print (the document is aborted).
    BOOL PrintOn(CDC* pPrinterDC, const CString& title, CPrintInfo* pInfo = nullptr);

    // Sets the printed chart size from a printer DC's page and resolution (OnBeginPrinting).
    void PreparePrintedSize(CDC* pDC);
    const CSize& GetPrintedSize() const { return m_LogicalPageSize; }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    // bSeries false leaves out the series, their labels and the legend.
    void LayOutAndDraw(CDC* pDC, CRect ChartRect, bool bDraw, bool bSeries = true);
    // Draws series of the redraw under way onto the image, from m_uRedrawNext on: all of them
    // with bAll, else for about a slice's time; after the last, the labels and the legend.
    void DrawSeriesSlice(bool bAll);
    LRESULT OnRedrawPending(WPARAM wParam, LPARAM lParam);

    static void RegisterWndClass();
    void AddSerie(CChartSerie* pSerie);
    void AttachAxis(CChartAxis* pAxis, int position);
    // Passes a mouse event to the series, newest first, until one takes it.
    void SendMouseEvent(int mouseEvent, const CPoint& point);
    void DeleteBackground();
    void FillGradient(CDC* pDC, const CRect& rect);

    int m_iEnableRefresh = 1;
    bool m_bPendingRefresh = false;
    CDC m_BackgroundDC;
    CBitmap m_BackgroundBitmap;
    CSize m_BackgroundSize; // of the kept image
    CBitmap* m_pOldBackgroundBitmap = nullptr;
    bool m_bPaintedOnce = false;
    bool m_bBackGradient = false;
    COLORREF m_BackGradientCol1;
    COLORREF m_BackGradientCol2;
    int m_BackGradientType = 1;
    COLORREF m_BackColor;
    COLORREF m_BorderColor = 0;
    UINT m_EdgeType = EDGE_RAISED;
    CRect m_PlottingRect;
    std::map<unsigned, CChartSerie*> m_mapSeries;
    CChartAxis* m_pAxes[4] = {nullptr, nullptr, nullptr, nullptr};
    CChartLegend* m_pLegend;
    CChartTitle* m_pTitles;
    bool m_bPanEnabled = true;
    bool m_bRMouseDown = false;
    CPoint m_PanAnchor;
    bool m_bZoomEnabled = true;
    bool m_bLMouseDown = false;
    COLORREF m_ZoomRectColor = 0;
    CRect m_rectZoomArea;
    CFont m_PrinterFont;
    CSize m_LogicalPageSize;
    CSize m_PaperSize;
    bool m_bMouseVisible = true;
    unsigned m_uRedrawCount = 0;
    // A redraw in slices: under way, posted, the id of the next series to draw.
    bool m_bRedrawing = false;
    bool m_bRedrawPosted = false;
    unsigned m_uRedrawNext = 0;
    bool m_bRedrawPartDrawn = false; // that series is drawn in part
    // A drawing in parts on another DC (DrawChartPart): the id of the next series, drawn in part.
    unsigned m_uPartNext = 0;
    bool m_bPartDrawn = false;
    // Up to this many points a chart is drawn in one go; a slice takes about kSliceMs, and draws no more
    // than this many points (a series that cannot be drawn in parts, all of its own).
    static constexpr std::size_t kPointsDrawnAtOnce = 50000;
    static constexpr DWORD kSliceMs = 20;
};
