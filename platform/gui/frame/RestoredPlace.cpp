// A main frame restored from maximised: the place the user last gave it, kept between runs, or a place of
// its own inside the work area, never the size of the screen with its title bar out of reach.
#include "platform/gui/frame/FrameInternal.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtGui/QWindowStateChangeEvent>

namespace qor::gui {

namespace {

constexpr Qt::WindowStates kNotRestored = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;

class PlaceKeeper : public QObject
{
public:
    PlaceKeeper(QWidget* window, const QRect& kept) : QObject(window), m_window(window), m_kept(kept)
    {
        window->installEventFilter(this);
    }
    // Where it is restored to: where it is now while it is restored, else where it was last so.
    QRect Kept() const
    {
        return !(m_window->windowState() & kNotRestored) && m_lastNormal.isValid() ? m_lastNormal : m_kept;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != m_window) return false;
        switch (e->type())
        {
        case QEvent::Move:
        case QEvent::Resize:
            if (m_window->isVisible() && !(m_window->windowState() & kNotRestored) && Fits(m_window->frameGeometry()))
                m_lastNormal = m_window->geometry();
            break;
        case QEvent::WindowStateChange: {
            const Qt::WindowStates was = static_cast<QWindowStateChangeEvent*>(e)->oldState();
            const Qt::WindowStates now = m_window->windowState();
            // Leaving the restored state: where it was is where it goes back to (what the window system
            // does on the way back is not the user's).
            if (!(was & kNotRestored) && (now & kNotRestored) && m_lastNormal.isValid()) m_kept = m_lastNormal;
            // The window system may still be putting the window back: placed after it has.
            if ((was & kNotRestored) && !(now & kNotRestored)) QTimer::singleShot(0, this, [this] { Place(); });
            break;
        }
        default: break;
        }
        return false;
    }

private:
    QRect WorkArea() const { return ToQRect(ScreenArea(m_window, true)); }

    // Wholly inside the work area and smaller than it both ways (a maximised window fills it).
    bool Fits(const QRect& frame) const
    {
        const QRect work = WorkArea();
        return work.isValid() && work.contains(frame) && frame.width() < work.width() && frame.height() < work.height();
    }

    void Place()
    {
        if (m_window->windowState() & kNotRestored) return;
        const QRect work = WorkArea();
        if (!work.isValid()) return;
        // The title bar and borders around the client area, as the window system has them now.
        const QRect frame = m_window->frameGeometry(), client = m_window->geometry();
        const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                               frame.bottom() - client.bottom());
        QRect target = m_kept;
        if (!target.isValid() || !Fits(target.marginsAdded(margins)))
        {
            if (Fits(frame)) return;
            // Four fifths of the work area, in its middle.
            const QSize size(work.width() * 4 / 5, work.height() * 4 / 5);
            target =
                QRect(QPoint(0, 0), size - QSize(margins.left() + margins.right(), margins.top() + margins.bottom()));
            target.moveCenter(work.center());
        }
        if (client != target) m_window->setGeometry(target);
        m_lastNormal = m_kept = target;
    }

    QWidget* m_window;
    QRect m_kept;       // the place to go back to
    QRect m_lastNormal; // the last place the window had while restored
};

QWidget* TopWindow(CFrameWnd* frame)
{
    QWidget* widget = frame ? WidgetOf(frame) : nullptr;
    return widget ? widget->window() : nullptr;
}

PlaceKeeper* KeeperOf(QWidget* window)
{
    if (!window) return nullptr;
    for (QObject* child : window->children())
        if (auto* keeper = dynamic_cast<PlaceKeeper*>(child)) return keeper;
    return nullptr;
}

} // namespace

void RestoredPlace::Follow(CFrameWnd* frame, const CString& kept)
{
    QWidget* window = TopWindow(frame);
    if (!window || KeeperOf(window)) return;
    const QStringList parts = ToQString(kept).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QRect place;
    if (parts.size() == 4)
    {
        bool ok[4] = {};
        place = QRect(parts[0].toInt(&ok[0]), parts[1].toInt(&ok[1]), parts[2].toInt(&ok[2]), parts[3].toInt(&ok[3]));
        if (!(ok[0] && ok[1] && ok[2] && ok[3]) || place.width() <= 0 || place.height() <= 0) place = QRect();
    }
    new PlaceKeeper(window, place);
}

CString RestoredPlace::Save(CFrameWnd* frame)
{
    QWidget* window = TopWindow(frame);
    PlaceKeeper* keeper = KeeperOf(window);
    if (!keeper || !keeper->Kept().isValid()) return CString();
    const QRect r = keeper->Kept();
    return FromQString(QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()));
}

} // namespace qor::gui
