// The start view's picture, drawn once into a bitmap: a three-span bridge over water with a
// truck on the deck.
#include "res/StartPicture.h"

#include "platform/gui/Afx.h"

bool LoadStartPicture(CBitmap& bitmap)
{
    constexpr int cx = 220, cy = 120;
    bitmap.DeleteObject();
    if (!bitmap.CreateBitmap(cx, cy, 1, 32, nullptr)) return false;
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return false;
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, cx, cy, RGB(225, 238, 250));       // sky
    dc.FillSolidRect(0, 92, cx, cy - 92, RGB(120, 170, 215)); // water
    // Abutments, piers and the deck of spans 0.75 : 1 : 0.75.
    CBrush concrete(RGB(150, 150, 150));
    CPen edge(PS_SOLID, 1, RGB(80, 80, 80));
    CBrush* oldBrush = dc.SelectObject(&concrete);
    CPen* oldPen = dc.SelectObject(&edge);
    dc.Rectangle(4, 58, 20, 100);
    dc.Rectangle(200, 58, 216, 100);
    dc.Rectangle(68, 62, 78, 104);
    dc.Rectangle(142, 62, 152, 104);
    dc.Rectangle(4, 52, 216, 62);
    // The truck: trailer, cab, wheels.
    CBrush trailer(RGB(200, 60, 50));
    dc.SelectObject(&trailer);
    dc.Rectangle(84, 26, 140, 46);
    CBrush cab(RGB(230, 180, 40));
    dc.SelectObject(&cab);
    dc.Rectangle(140, 32, 158, 46);
    CBrush wheel(RGB(30, 30, 30));
    dc.SelectObject(&wheel);
    for (int x : {88, 100, 126, 146}) dc.Ellipse(x, 42, x + 10, 52);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
    dc.SelectObject(old);
    return true;
}
