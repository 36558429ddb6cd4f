// The menu bar's keyboard mark: while the bar has the keyboard with no menu open (after F10, Alt alone,
// or Escape on an open menu), the title that Down or Enter opens is drawn as the looks draw an open one.
// The looks themselves highlight a title only while its menu is open, which leaves a keyboard user
// without a sign of where the keys go.
#include "platform/gui/frame/FrameInternal.h"

#include <QtCore/QEvent>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOptionMenuItem>

namespace qor::gui {

namespace {

class MenuBarKeyMark : public QWidget
{
public:
    explicit MenuBarKeyMark(QMenuBar* bar) : QWidget(bar), m_bar(bar)
    {
        setObjectName(QStringLiteral("menuBarKeyMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
        bar->installEventFilter(this);
        QObject::connect(bar, &QMenuBar::hovered, this, [this] { FollowLater(); });
    }

    // Takes the place of the bar's current title, or goes, once the bar's own handling is done.
    void FollowLater()
    {
        QPointer<MenuBarKeyMark> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self) self->Follow();
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type())
        {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::PaletteChange:
        case QEvent::StyleChange: FollowLater(); break;
        default: break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override
    {
        if (!m_action) return;
        QPainter p(this);
        QStyleOptionMenuItem opt;
        opt.initFrom(m_bar);
        opt.state = QStyle::State_Enabled | QStyle::State_Selected | QStyle::State_Sunken;
        opt.palette = m_bar->palette();
        opt.rect = rect();
        opt.menuRect = rect();
        opt.text = m_action->text();
        opt.icon = m_action->icon();
        opt.menuItemType = QStyleOptionMenuItem::Normal;
        opt.checkType = QStyleOptionMenuItem::NotCheckable;
        opt.maxIconWidth = 0;
        opt.reservedShortcutWidth = 0;
        m_bar->style()->drawControl(QStyle::CE_MenuBarItem, &opt, &p, m_bar);
    }

private:
    void Follow()
    {
        QAction* a = m_bar->activeAction();
        const bool keyed = a && a->isVisible() && m_bar->isVisible() && m_bar->hasFocus() &&
                           !(a->menu() && a->menu()->isVisible()) && !QApplication::activePopupWidget();
        if (!keyed)
        {
            m_action = nullptr;
            hide();
            return;
        }
        m_action = a;
        setGeometry(m_bar->actionGeometry(a));
        raise();
        show();
        update();
    }

    QMenuBar* m_bar;
    QPointer<QAction> m_action;
};

} // namespace

namespace {

MenuBarKeyMark* MarkOf(QMenuBar* bar)
{
    QWidget* w = bar ? bar->findChild<QWidget*>(QStringLiteral("menuBarKeyMark"), Qt::FindDirectChildrenOnly) : nullptr;
    return dynamic_cast<MenuBarKeyMark*>(w);
}

} // namespace

void MarkMenuBarKeyboard(QMenuBar* bar)
{
    if (bar && !MarkOf(bar)) new MenuBarKeyMark(bar);
}

void FollowMenuBarKeyboard(QMenuBar* bar)
{
    if (MenuBarKeyMark* mark = MarkOf(bar)) mark->FollowLater();
}

} // namespace qor::gui
