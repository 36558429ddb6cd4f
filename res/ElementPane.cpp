// Resources of the element tree pane: its context menus, keys, toolbar, command texts and the
// item images, drawn here as small pictures.
#include "res/ElementPane.h"

#include "platform/gui/Afx.h"
#include "res/Resource.h"

namespace {

const MenuItemDef kMainMenu[] = {
    {MF_POPUP, 0, L"Main"},
    {MF_POPUP, 0, L"&Add"},
    {MF_STRING, ID_CONFIGURATION_ADD_BRIDGE, L"Add &Bridge"},
    {MF_STRING, ID_CONFIGURATION_ADD_BRIDGE_SET, L"Add Bridge &Set"},
    {MF_STRING, ID_CONFIGURATION_ADD_LOAD_MODEL, L"Add &Load Model"},
    {MF_STRING, ID_CONFIGURATION_ADD_LME, L"Add Load &Model Ensemble"},
    {MF_STRING, ID_CONFIGURATION_ADD_REF_SET, L"Add &Reference Set"},
    {MF_END},
    {MF_STRING, ID_ELEMENT_PASTE, L"&Paste\tCtrl+V"},
    {MF_SEPARATOR},
    {MF_STRING, ID_ELEMENT_EXPAND_ALL, L"&Expand All\tCtrl+E"},
    {MF_END},
};
QOR_MENU_RESOURCE(IDR_ELEMENT_MENU_MAIN, kMainMenu);

const MenuItemDef kEnsembleMenu[] = {
    {MF_POPUP, 0, L"main"},
    {MF_STRING, ID_CONFIGURATION_ADD_LOAD_MODEL, L"Add &Load Model"},
    {MF_SEPARATOR},
    {MF_STRING, ID_ELEMENT_RENAME, L"&Rename\tF2"},
    {MF_STRING, ID_ELEMENT_DELETE, L"&Delete\tDel"},
    {MF_SEPARATOR},
    {MF_STRING, ID_ELEMENT_COPY, L"&Copy\tCtrl+C"},
    {MF_STRING, ID_ELEMENT_CUT, L"Cu&t\tCtrl+X"},
    {MF_STRING, ID_ELEMENT_PASTE, L"&Paste\tCtrl+V"},
    {MF_SEPARATOR},
    {MF_STRING, ID_ELEMENT_EXPAND_ALL, L"&Expand All\tCtrl+E"},
    {MF_END},
};
QOR_MENU_RESOURCE(IDR_ELEMENT_MENU_ENSEMBLE, kEnsembleMenu);

const MenuItemDef kElementMenu[] = {
    {MF_POPUP, 0, L"Element"},
    {MF_POPUP, 0, L"&Add"},
    {MF_STRING, ID_CONFIGURATION_ADD_BRIDGE, L"&Bridge"},
    {MF_STRING, ID_CONFIGURATION_ADD_BRIDGE_SET, L"Bridge &Set"},
    {MF_STRING, ID_CONFIGURATION_ADD_LOAD_MODEL, L"&Load Model"},
    {MF_STRING, ID_CONFIGURATION_ADD_LME, L"Load &Model Ensemble"},
    {MF_STRING, ID_CONFIGURATION_ADD_REF_SET, L"&Reference Set"},
    {MF_END},
    {MF_STRING, ID_ELEMENT_RENAME, L"&Rename\tF2"},
    {MF_STRING, ID_ELEMENT_DELETE, L"&Delete\tDel"},
    {MF_SEPARATOR},
    {MF_STRING, ID_ELEMENT_COPY, L"&Copy\tCtrl+C"},
    {MF_STRING, ID_ELEMENT_CUT, L"Cu&t\tCtrl+X"},
    {MF_STRING, ID_ELEMENT_PASTE, L"&Paste\tCtrl+V"},
    {MF_SEPARATOR},
    {MF_STRING, ID_ELEMENT_EXPAND_ALL, L"&Expand All\tCtrl+E"},
    {MF_END},
};
QOR_MENU_RESOURCE(IDR_ELEMENT_MENU_ELEMENT, kElementMenu);

const ACCEL kKeys[] = {
    {FVIRTKEY | FCONTROL, 'E', ID_ELEMENT_EXPAND_ALL},
    {FVIRTKEY, VK_DELETE, ID_ELEMENT_DELETE},
    {FVIRTKEY, VK_F2, ID_ELEMENT_RENAME},
    {FVIRTKEY | FCONTROL, 'C', ID_ELEMENT_COPY},
    {FVIRTKEY | FCONTROL, 'X', ID_ELEMENT_CUT},
    {FVIRTKEY | FCONTROL, 'V', ID_ELEMENT_PASTE},
};
QOR_ACCEL_RESOURCE(IDR_ELEMENT_MENU_ELEMENT, kKeys);

const UINT kButtons[] = {ID_ELEMENT_EXPAND_ALL};
QOR_TOOLBAR_RESOURCE(IDR_ELEMENT_TOOLBAR, kButtons);

const qor::StringResource kStrings[] = {
    {ID_ELEMENT_EXPAND_ALL, L"Toggle expand or collapse all elements\nExpand/Collapse"},
    {ID_ELEMENT_DELETE, L"Delete the selected element\nDelete"},
    {ID_ELEMENT_RENAME, L"Rename the selected element\nRename"},
    {ID_ELEMENT_COPY, L"Copy the selected element\nCopy"},
    {ID_ELEMENT_CUT, L"Cut the selected element\nCut"},
    {ID_ELEMENT_PASTE, L"Paste the copied element here\nPaste"},
};
QOR_STRING_TABLE(kStrings);

constexpr COLORREF kMask = RGB(255, 0, 255);

void Section(CDC& dc, int x)
{
    CBrush fill(RGB(240, 200, 80));
    CPen edge(PS_SOLID, 1, RGB(150, 110, 20));
    CBrush* oldBrush = dc.SelectObject(&fill);
    CPen* oldPen = dc.SelectObject(&edge);
    dc.Rectangle(x + 1, 4, x + 15, 14);
    dc.Rectangle(x + 1, 2, x + 7, 5);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void Page(CDC& dc, int x)
{
    CPen edge(PS_SOLID, 1, RGB(90, 90, 90));
    CPen* oldPen = dc.SelectObject(&edge);
    CBrush* oldBrush = static_cast<CBrush*>(dc.SelectStockObject(WHITE_BRUSH));
    dc.Rectangle(x + 3, 1, x + 13, 15);
    for (int y = 4; y < 13; y += 3)
    {
        dc.MoveTo(x + 5, y);
        dc.LineTo(x + 11, y);
    }
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void Collection(CDC& dc, int x)
{
    CPen edge(PS_SOLID, 1, RGB(40, 80, 150));
    CBrush fill(RGB(150, 190, 240));
    CPen* oldPen = dc.SelectObject(&edge);
    CBrush* oldBrush = dc.SelectObject(&fill);
    dc.Rectangle(x + 1, 9, x + 15, 14);
    dc.Rectangle(x + 3, 5, x + 13, 10);
    dc.Rectangle(x + 5, 1, x + 11, 6);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void Bridge(CDC& dc, int x)
{
    CPen deck(PS_SOLID, 2, RGB(60, 60, 60));
    CPen* oldPen = dc.SelectObject(&deck);
    dc.MoveTo(x + 1, 6);
    dc.LineTo(x + 15, 6);
    CPen pier(PS_SOLID, 2, RGB(120, 120, 120));
    dc.SelectObject(&pier);
    for (int px : {3, 8, 13})
    {
        dc.MoveTo(x + px, 7);
        dc.LineTo(x + px, 14);
    }
    dc.SelectObject(oldPen);
}

void Truck(CDC& dc, int x)
{
    CBrush body(RGB(200, 60, 50));
    CPen edge(PS_SOLID, 1, RGB(110, 30, 20));
    CPen* oldPen = dc.SelectObject(&edge);
    CBrush* oldBrush = dc.SelectObject(&body);
    dc.Rectangle(x + 1, 4, x + 11, 11);
    dc.Rectangle(x + 11, 6, x + 15, 11);
    CBrush wheel(RGB(30, 30, 30));
    dc.SelectObject(&wheel);
    dc.Ellipse(x + 2, 10, x + 6, 14);
    dc.Ellipse(x + 10, 10, x + 14, 14);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

} // namespace

void LoadElementImages(CImageList& images)
{
    constexpr int n = 6, cx = 16;
    images.DeleteImageList();
    images.Create(cx, cx, ILC_COLOR24 | ILC_MASK, n, 0);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap strip;
    strip.CreateBitmap(n * cx, cx, 1, 32, nullptr);
    CBitmap* old = dc.SelectObject(&strip);
    dc.FillSolidRect(0, 0, n * cx, cx, kMask);
    Section(dc, 0 * cx);
    Page(dc, 1 * cx);
    Page(dc, 2 * cx);
    Collection(dc, 3 * cx);
    Bridge(dc, 4 * cx);
    Truck(dc, 5 * cx);
    dc.SelectObject(old);
    images.Add(&strip, kMask);
}
