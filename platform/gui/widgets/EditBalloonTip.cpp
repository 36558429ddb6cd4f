// The balloon tip of an edit control: a line of text shown at once just below the edit (above
// it where the screen ends), for instance to say why a key was refused. It never takes the
// focus and goes when the edit loses the focus or is hidden, when another tip replaces it, on
// HideBalloonTip, and after a few seconds. A tip shown to stay goes only when another replaces
// it or on HideBalloonTip: it steps aside while its edit is hidden or its window inactive (a
// message box is up) and comes back with them, and follows its window when that moves. While the
// focus is elsewhere it stands beside its edit, off the other controls of the window, so that the
// rest of the dialog can be read; it goes back below the edit when the edit has the focus again.
#include "platform/gui/widgets/ControlsInternal.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QEvent>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtCore/QVariant>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QLabel>

#include <algorithm>
#include <climits>
#include <vector>

namespace qor::gui {

namespace {

constexpr const char* kBalloonName = "qor_edit_balloon";
constexpr int kBalloonShowMs = 6000;

constexpr const char* kStayProperty = "qor_balloon_stays";

// Below the edit's left edge; above it when the screen ends below; never off the screen.
void PlaceBelow(QLabel* balloon, QWidget* edit)
{
    const QRect area = ToQRect(ScreenArea(edit, true));
    QPoint at = edit->mapToGlobal(QPoint(0, edit->height() + 1));
    if (at.y() + balloon->height() > area.bottom())
        at.setY(edit->mapToGlobal(QPoint(0, 0)).y() - balloon->height() - 1);
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - balloon->width())));
    balloon->move(at);
}

QRect ScreenRect(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

// A window that holds controls rather than being one: a dialog, a property page.
bool HoldsControls(const QWidget* w)
{
    const auto* host = dynamic_cast<const HostBase*>(w);
    return host && host->state && (host->state->exStyle & WS_EX_CONTROLPARENT);
}

// The screen rectangles of the controls shown in parent, at any depth, but for the edit: the
// windows that hold the edit or other controls are looked into, not counted.
void CollectControls(const QWidget* parent, const QWidget* edit, std::vector<QRect>& out)
{
    for (QObject* child : parent->children())
    {
        const auto* w = qobject_cast<const QWidget*>(child);
        if (!w || w == edit || w->isWindow() || !w->isVisible()) continue;
        if (w->isAncestorOf(edit) || HoldsControls(w))
            CollectControls(w, edit, out);
        else
            out.push_back(ScreenRect(w));
    }
}

QRect KeptOnScreen(QRect r, const QRect& area)
{
    r.moveLeft(std::clamp(r.left(), area.left(), std::max(area.left(), area.right() + 1 - r.width())));
    r.moveTop(std::clamp(r.top(), area.top(), std::max(area.top(), area.bottom() + 1 - r.height())));
    return r;
}

long long CoveredArea(const QRect& r, const std::vector<QRect>& controls)
{
    long long covered = 0;
    for (const QRect& c : controls)
    {
        const QRect both = r.intersected(c);
        if (!both.isEmpty()) covered += static_cast<long long>(both.width()) * both.height();
    }
    return covered;
}

// Where a tip of the size given stands beside the field (screen rectangles) without covering any
// of the controls: on the field's row to its right, past whatever stands there on the way, then
// likewise to its left, else just above it. The first place that covers nothing inside the
// window wins, then the first that covers nothing on the screen, else the one that covers least.
QPoint AsidePlace(const QSize& size, const QRect& field, const QRect& window, const QRect& screen,
                  std::vector<QRect> controls)
{
    constexpr int kGap = 2;
    // Nor does the tip cover the field, wherever the screen's edge pushes it.
    controls.push_back(field);
    std::vector<QRect> places;
    const int top = field.top() + (field.height() - size.height()) / 2;
    const auto walk = [&](QRect r, int step) {
        for (;;)
        {
            places.push_back(r);
            int past = step > 0 ? INT_MIN : INT_MAX;
            for (const QRect& c : controls)
                if (c.intersects(r)) past = step > 0 ? std::max(past, c.right()) : std::min(past, c.left());
            if (past == INT_MIN || past == INT_MAX) return;
            r.moveLeft(step > 0 ? past + 1 + kGap : past - kGap - r.width());
            if (r.left() > screen.right() || r.right() < screen.left()) return;
        }
    };
    walk(QRect(QPoint(field.right() + 1 + kGap, top), size), 1);
    walk(QRect(QPoint(field.left() - kGap - size.width(), top), size), -1);
    places.emplace_back(QPoint(field.left(), field.top() - kGap - size.height()), size);

    const QRect* clear = nullptr;
    const QRect* least = nullptr;
    long long leastCovered = LLONG_MAX;
    for (QRect& place : places)
    {
        place = KeptOnScreen(place, screen);
        const long long covered = CoveredArea(place, controls);
        if (covered == 0 && window.contains(place)) return place.topLeft();
        if (covered == 0 && !clear) clear = &place;
        if (covered < leastCovered)
        {
            leastCovered = covered;
            least = &place;
        }
    }
    return (clear ? clear : least)->topLeft();
}

// Beside the edit, where it covers no other control of its window (see AsidePlace).
void PlaceAside(QLabel* balloon, QWidget* edit)
{
    QWidget* window = edit->window();
    std::vector<QRect> controls;
    CollectControls(window, edit, controls);
    balloon->move(AsidePlace(balloon->size(), ScreenRect(edit), ScreenRect(window), ToQRect(ScreenArea(edit, true)),
                             std::move(controls)));
}

bool Stays(const QLabel* balloon) { return balloon->property(kStayProperty).toBool(); }

// Below the edit; a balloon that stays while the focus is elsewhere, beside it.
void PlaceBalloon(QLabel* balloon, QWidget* edit)
{
    CWnd* focus = FocusWindow();
    if (Stays(balloon) && !(focus && WidgetOf(focus) == edit))
        PlaceAside(balloon, edit);
    else
        PlaceBelow(balloon, edit);
}

// Hides the balloon when its edit loses the focus or is hidden, or its window goes inactive; a
// balloon that stays comes back when the edit shows in an active window again, and moves with
// the window.
class BalloonWatch : public QObject
{
public:
    BalloonWatch(QLabel* balloon, QWidget* edit) : QObject(balloon), m_balloon(balloon), m_edit(edit)
    {
        edit->installEventFilter(this);
        if (QWidget* window = edit->window(); window && window != edit) window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (!m_balloon || !m_edit) return false;
        const QEvent::Type t = e->type();
        if (watched != m_edit.data())
        {
            if ((t == QEvent::Move || t == QEvent::Resize) && m_balloon->isVisible()) PlaceBalloon(m_balloon, m_edit);
            return false;
        }
        if (t == QEvent::Hide || t == QEvent::WindowDeactivate || (t == QEvent::FocusOut && !Stays(m_balloon)))
            m_balloon->hide();
        else if ((t == QEvent::Show || t == QEvent::WindowActivate) && Stays(m_balloon) && m_edit->isVisible() &&
                 m_edit->isActiveWindow())
        {
            PlaceBalloon(m_balloon, m_edit);
            m_balloon->show();
            m_balloon->raise();
        }
        return false;
    }

private:
    QPointer<QLabel> m_balloon;
    QPointer<QWidget> m_edit;
};

QWidget* EditWidget(HWND hEdit)
{
    WndState* s = StateOf(hEdit);
    return s ? s->widget : nullptr;
}

QLabel* FindBalloon(QWidget* edit)
{
    return edit ? edit->findChild<QLabel*>(QLatin1String(kBalloonName), Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

bool ShowEditBalloon(HWND hEdit, const CString& title, const CString& text, bool stay)
{
    QWidget* edit = EditWidget(hEdit);
    if (!edit || text.IsEmpty()) return false;
    QLabel* balloon = FindBalloon(edit);
    if (!balloon)
    {
        balloon = new QLabel(edit, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        balloon->setObjectName(QLatin1String(kBalloonName));
        balloon->setAttribute(Qt::WA_ShowWithoutActivating);
        balloon->setFocusPolicy(Qt::NoFocus);
        balloon->setTextFormat(Qt::PlainText);
        balloon->setFrameShape(QFrame::Box);
        balloon->setLineWidth(1);
        balloon->setMargin(3);
        balloon->setIndent(3);
        balloon->setAutoFillBackground(true);
        auto* timer = new QTimer(balloon);
        timer->setObjectName(QLatin1String("qor_balloon_timer"));
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, balloon, &QWidget::hide);
        new BalloonWatch(balloon, edit);
    }
    // The tip colours of the look in force.
    QPalette pal = balloon->palette();
    const QColor back = ToQColor(GetSysColor(COLOR_INFOBK));
    const QColor fore = ToQColor(GetSysColor(COLOR_INFOTEXT));
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    {
        pal.setColor(group, QPalette::Window, back);
        pal.setColor(group, QPalette::WindowText, fore);
    }
    balloon->setPalette(pal);
    balloon->setFont(edit->font());
    balloon->setText(title.IsEmpty() ? ToQString(text) : ToQString(title) + QLatin1Char('\n') + ToQString(text));
    balloon->adjustSize();

    balloon->setProperty(kStayProperty, stay);
    PlaceBalloon(balloon, edit);
    balloon->show();
    balloon->raise();
    if (auto* timer = balloon->findChild<QTimer*>(QLatin1String("qor_balloon_timer")))
    {
        if (stay)
            timer->stop();
        else
            timer->start(kBalloonShowMs);
    }
    return true;
}

void EditBalloonFollowsFocus(HWND hEdit, bool focused)
{
    QWidget* edit = EditWidget(hEdit);
    QLabel* balloon = FindBalloon(edit);
    if (!balloon || !balloon->isVisible()) return;
    if (focused)
        PlaceBelow(balloon, edit);
    else if (!Stays(balloon))
        balloon->hide(); // it speaks of the field being typed in
    else
        PlaceAside(balloon, edit); // the focus went on to what the tip may cover
}

bool HideEditBalloon(HWND hEdit, bool staying)
{
    QLabel* balloon = FindBalloon(EditWidget(hEdit));
    if (!balloon || (!staying && Stays(balloon))) return false;
    balloon->setProperty(kStayProperty, false);
    if (!balloon->isVisible()) return false;
    balloon->hide();
    return true;
}

bool ShownEditBalloon(HWND hEdit, CString* text, CRect* screenRect)
{
    QLabel* balloon = FindBalloon(EditWidget(hEdit));
    if (!balloon || !balloon->isVisible()) return false;
    if (text) *text = FromQString(balloon->text());
    if (screenRect)
    {
        const QRect g = balloon->geometry();
        *screenRect = CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    }
    return true;
}

} // namespace qor::gui

// ---- CEdit -----------------------------------------------------------------------------------

BOOL CEdit::ShowBalloonTip(LPCWSTR lpszTitle, LPCWSTR lpszText, INT)
{
    return qor::gui::ShowEditBalloon(m_hWnd, CString(lpszTitle ? lpszTitle : L""), CString(lpszText ? lpszText : L""))
               ? TRUE
               : FALSE;
}

BOOL CEdit::HideBalloonTip() { return qor::gui::HideEditBalloon(m_hWnd) ? TRUE : FALSE; }
