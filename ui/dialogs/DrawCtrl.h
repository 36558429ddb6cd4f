// CDrawCtrl: a small owner-drawn child window of class "DrawCtrl" whose subclasses lay out their drawing in three steps
// (mapping, background, content) on every paint.
#pragma once

#include "platform/gui/Afx.h"
#include "res/WindowClasses.h"

class CDrawCtrl : public CWnd
{
public:
    CDrawCtrl();
    ~CDrawCtrl() override;

    // Takes the client rectangle again and has the whole client area painted anew.
    void Redraw();

    COLORREF GetBkColor() const { return m_BkColor; }
    void SetBkColor(COLORREF colour) { m_BkColor = colour; }
    void SetEdgeStyle(UINT style) { m_EdgeStyle = style; }
    void SetDrawEdge(bool bDrawEdge) { m_bDrawEdge = bDrawEdge; }

    // A line from start to end with a filled head at the end (head length, head half-width), drawn with the DC's pen
    // and filled with its brush.
    static void DrawArrow(CDC* pDC, CPoint start, CPoint end, double headLength, double headHalfWidth);

protected:
    virtual void PrepareMapping(CDC* pDC);
    virtual void DrawContent(CDC* pDC);
    virtual void DrawBackground(CDC* pDC);

    // The client rectangle in the DC's logical units.
    CRect LogicalClientRect(CDC* pDC) const;
    void DrawEdgeAround(CDC* pDC);

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);

    CRect m_ClientRect;
    COLORREF m_BkColor;
    UINT m_EdgeStyle = EDGE_RAISED;
    bool m_bDrawEdge = true;

private:
    static void RegisterWindowClass();
    DECLARE_MESSAGE_MAP()
};
