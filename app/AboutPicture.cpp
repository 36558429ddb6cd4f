// The About box's picture.
#include "app/AboutPicture.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CAboutPicture, CWnd)

BEGIN_MESSAGE_MAP(CAboutPicture, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

void CAboutPicture::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    const int w = rc.Width(), h = rc.Height();
    if (w <= 0 || h <= 0) return;
    // Sky and water.
    dc.FillSolidRect(0, 0, w, h * 3 / 4, RGB(222, 236, 248));
    dc.FillSolidRect(0, h * 3 / 4, w, h - h * 3 / 4, RGB(110, 160, 210));
    // A three-span deck on four piers.
    const int deckTop = h * 11 / 20, deckH = std::max(3, h / 14);
    dc.FillSolidRect(w / 20, deckTop, w * 18 / 20, deckH, RGB(120, 120, 124));
    const int pierW = std::max(3, w / 40);
    for (int i = 0; i < 4; ++i)
    {
        const int x = w / 20 + i * (w * 18 / 20 - pierW) / 3;
        dc.FillSolidRect(x, deckTop + deckH, pierW, h - deckTop - deckH, RGB(150, 150, 154));
    }
    // The truck: trailer, cab and wheels, on the deck.
    const int wheel = std::max(4, h / 10);
    const int bodyH = h / 6, bodyTop = deckTop - wheel / 2 - bodyH;
    const int trailerX = w * 7 / 20, trailerW = w / 4, cabW = w / 14;
    dc.FillSolidRect(trailerX, bodyTop, trailerW, bodyH, RGB(200, 50, 40));
    dc.FillSolidRect(trailerX + trailerW + 2, bodyTop + bodyH / 4, cabW, bodyH * 3 / 4, RGB(240, 180, 40));
    CBrush black(RGB(30, 30, 30));
    CBrush* old = dc.SelectObject(&black);
    for (int x : {trailerX + wheel / 2, trailerX + wheel * 2, trailerX + trailerW - wheel * 2,
                  trailerX + trailerW + cabW - wheel})
        dc.Ellipse(x, deckTop - wheel, x + wheel, deckTop);
    dc.SelectObject(old);
}
