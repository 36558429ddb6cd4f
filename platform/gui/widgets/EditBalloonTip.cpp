// The balloon tip of an edit control: a line of text shown at once just below the edit (above
// it where the screen ends), for instance to say why a key was refused. It never takes the
// focus and goes when the edit loses the focus or is hidden, when another tip replaces it, on
// HideBalloonTip, and after a few seconds. A tip shown to stay goes only when another replaces
// it or on HideBalloonTip: it steps aside while its edit is hidden or its window inactive (a
// message box is up) and comes back with them, and follows its window when that moves.
#include "platform/gui/widgets/Controls.h"

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

namespace qor::gui {

namespace {

constexpr const char* kBalloonName = "qor_edit_balloon";
constexpr int kBalloonShowMs = 6000;

constexpr const char* kStayProperty = "qor_balloon_stays";

// Below the edit's left edge; above it when the screen ends below; never off the screen that
// holds the point.
void PlaceBalloon(QLabel* balloon, QWidget* edit)
{
    const QPoint below = edit->mapToGlobal(QPoint(0, edit->height() + 1));
    QPoint at = below;
    if (QScreen* screen = QGuiApplication::screenAt(below))
    {
        const QRect area = screen->availableGeometry();
        if (at.y() + balloon->height() > area.bottom())
            at.setY(edit->mapToGlobal(QPoint(0, 0)).y() - balloon->height() - 1);
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - balloon->width())));
    }
    balloon->move(at);
}

bool Stays(const QLabel* balloon) { return balloon->property(kStayProperty).toBool(); }

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
            if (t == QEvent::Move && m_balloon->isVisible()) PlaceBalloon(m_balloon, m_edit);
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
