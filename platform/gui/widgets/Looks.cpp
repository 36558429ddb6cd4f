// Looks: the toolkit's Fusion and Windows styles with palettes of our own, and the system colours that go
// with them, so that what the toolkit draws and what the program draws itself agree.
#include "platform/gui/widgets/Looks.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/widgets/FocusMarkStyle.h"
#include "platform/gui/window/WndInternal.h"

#include <QtGui/QPalette>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleFactory>

#include <algorithm>
#include <cmath>

namespace qor::gui {

namespace {

Look g_look = kDefaultLook;
int g_generation = 0;

// What a look is made of. Every text colour keeps 4.5:1 against the faces and fields it is drawn
// on, the grey of disabled text 3:1, and white on the highlight 4.5:1.
struct LookColours
{
    QColor face;      // dialogs, bars, panes, buttons, menus
    QColor field;     // edit fields, lists, trees, grids
    QColor text;      // on both
    QColor highlight; // selections, with white text
    QColor grey;      // disabled text, frames of fields
    QColor link;
    bool classic = false;
};

LookColours ColoursOf(Look look)
{
    const QColor white(255, 255, 255), black(0, 0, 0);
    switch (look)
    {
    case Look::Classic:
        return {QColor(212, 208, 200), white, black, QColor(10, 36, 106), QColor(96, 96, 96), QColor(0, 0, 160), true};
    case Look::Blue:
        return {QColor(214, 226, 242), white, black, QColor(40, 96, 170), QColor(96, 96, 96), QColor(0, 80, 170)};
    case Look::Silver:
        return {QColor(226, 228, 233), white, black, QColor(86, 100, 124), QColor(100, 100, 100), QColor(0, 80, 170)};
    case Look::Aqua:
        return {QColor(210, 235, 238), white, black, QColor(20, 104, 114), QColor(90, 90, 90), QColor(0, 90, 110)};
    case Look::Dark:
        return {QColor(53, 53, 53),  QColor(36, 36, 36),    QColor(230, 230, 230),
                QColor(32, 96, 170), QColor(150, 150, 150), QColor(120, 180, 250)};
    case Look::Light: break;
    }
    return {QColor(240, 240, 240), white, black, QColor(0, 96, 180), QColor(109, 109, 109), QColor(0, 102, 204)};
}

bool IsDark(const LookColours& c) { return c.face.lightness() < 128; }

// The focus mark: the highlight on light faces; on dark ones the link's light blue, which the dark
// highlight is too dim for.
QColor FocusMarkOf(const LookColours& c) { return IsDark(c) ? c.link : c.highlight; }

QColor DisabledSelectionOf(const LookColours& c) { return IsDark(c) ? c.face.lighter(130) : c.face.darker(112); }

QPalette PaletteOf(const LookColours& c)
{
    const bool dark = IsDark(c);
    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    {
        p.setColor(group, QPalette::Window, c.face);
        p.setColor(group, QPalette::Button, c.face);
        p.setColor(group, QPalette::Base, c.field);
        p.setColor(group, QPalette::AlternateBase, dark ? c.field.lighter(115) : c.face.lighter(104));
        p.setColor(group, QPalette::WindowText, c.text);
        p.setColor(group, QPalette::Text, c.text);
        p.setColor(group, QPalette::ButtonText, c.text);
        p.setColor(group, QPalette::BrightText, dark ? QColor(255, 120, 120) : QColor(200, 0, 0));
        p.setColor(group, QPalette::Highlight, c.highlight);
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 225));
        p.setColor(group, QPalette::ToolTipText, Qt::black);
        p.setColor(group, QPalette::PlaceholderText, c.grey);
        p.setColor(group, QPalette::Link, c.link);
        p.setColor(group, QPalette::LinkVisited, c.link);
        p.setColor(group, QPalette::Light, dark ? c.face.lighter(160) : Qt::white);
        p.setColor(group, QPalette::Midlight, dark ? c.face.lighter(130) : c.face.darker(106));
        p.setColor(group, QPalette::Mid, dark ? c.face.lighter(115) : c.face.darker(135));
        p.setColor(group, QPalette::Dark, dark ? c.face.darker(150) : c.face.darker(150));
        p.setColor(group, QPalette::Shadow, dark ? QColor(10, 10, 10) : QColor(105, 105, 105));
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, c.grey);
    // A disabled list keeps its selection in view without the colour of one that answers: a shade of the
    // face, its text the disabled grey.
    p.setColor(QPalette::Disabled, QPalette::Highlight, DisabledSelectionOf(c));
    p.setColor(QPalette::Disabled, QPalette::HighlightedText, c.grey);
    return p;
}

// The system colours that the program's own drawing and the control colour messages use, put in force by
// override (the screen's, or paper's).
void SetSystemColours(const LookColours& c, void (*override)(int, COLORREF))
{
    const bool dark = IsDark(c);
    override(-1, 0);
    auto set = [override](int index, const QColor& colour) { override(index, FromQColor(colour)); };
    for (int index : {COLOR_SCROLLBAR, COLOR_MENU, COLOR_MENUBAR, COLOR_3DFACE, COLOR_INACTIVECAPTION,
                      COLOR_ACTIVEBORDER, COLOR_INACTIVEBORDER})
        set(index, c.face);
    set(COLOR_WINDOW, c.field);
    for (int index : {COLOR_WINDOWTEXT, COLOR_MENUTEXT, COLOR_BTNTEXT, COLOR_INACTIVECAPTIONTEXT}) set(index, c.text);
    for (int index : {COLOR_HIGHLIGHT, COLOR_MENUHILIGHT, COLOR_ACTIVECAPTION}) set(index, c.highlight);
    set(COLOR_HIGHLIGHTTEXT, Qt::white);
    set(COLOR_CAPTIONTEXT, Qt::white);
    set(COLOR_GRAYTEXT, c.grey);
    set(COLOR_WINDOWFRAME, c.grey);
    set(COLOR_HOTLIGHT, c.link);
    set(COLOR_APPWORKSPACE, c.face.darker(140));
    set(COLOR_3DSHADOW, dark ? c.face.lighter(140) : c.face.darker(150));
    set(COLOR_3DHIGHLIGHT, dark ? c.face.lighter(170) : QColor(Qt::white));
    set(COLOR_3DLIGHT, dark ? c.face.lighter(125) : c.face.darker(106));
    set(COLOR_3DDKSHADOW, dark ? QColor(10, 10, 10) : QColor(105, 105, 105));
}

// Every window hears of the new colours (as from the system) and draws itself again.
void TellWindows()
{
    for (HWND h : LiveHandles())
    {
        if (!IsLiveHandle(h)) continue;
        ::SendMessage(h, WM_SYSCOLORCHANGE, 0, 0);
        if (IsLiveHandle(h)) ::InvalidateRect(h, nullptr, TRUE);
    }
}

} // namespace

void SetApplicationLook(Look look)
{
    g_look = look;
    ++g_generation;
    const LookColours colours = ColoursOf(look);
    SetSystemColours(colours, SetSysColorOverride);
    // Paper looks the same in every look: the default look's colours.
    SetSystemColours(ColoursOf(kDefaultLook), SetPaperColorOverride);
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app)
    {
        QStyle* style = QStyleFactory::create(colours.classic ? QStringLiteral("Windows") : QStringLiteral("Fusion"));
        if (!style) style = QStyleFactory::create(QStringLiteral("Fusion"));
        if (style) QApplication::setStyle(new FocusMarkStyle(style, FocusMarkOf(colours), colours.grey));
        QApplication::setPalette(PaletteOf(colours));
    }
    TellWindows();
}

Look GetApplicationLook() { return g_look; }

int LookGeneration() { return g_generation; }

double ContrastRatio(COLORREF a, COLORREF b)
{
    auto luminance = [](COLORREF c) {
        auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace qor::gui
