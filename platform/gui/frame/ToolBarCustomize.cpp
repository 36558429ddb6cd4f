// Toolbars the user changes: buttons inserted, moved and removed (dragged with Alt, or while the
// customisation dialog is open), the customise button at the end of a bar, pictures from the user images.
#include "platform/gui/frame/Bars.h"

#include "platform/core/Strings.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/frame/ToolBarCustomizeInternal.h"
#include "platform/gui/frame/UserImages.h"
#include "platform/gui/widgets/ToolBarImagesInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QMimeData>
#include <QtCore/QTimer>
#include <QtGui/QContextMenuEvent>
#include <QtGui/QCursor>
#include <QtGui/QDrag>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFrame>
#include <QtWidgets/QMenu>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>

using namespace qor::gui;

BOOL CMFCToolBar::s_bCustomizeMode = FALSE;

namespace {

const char kCommandMime[] = "application/x-qor-toolbar-command";

// Where the last drag let go over a toolbar (screen), for the side the drag began on.
struct LastDrop
{
    bool landed = false;
    QPoint at;
};
LastDrop& TheLastDrop()
{
    static LastDrop drop;
    return drop;
}

// A bar of the frame takes dragged buttons and commands, showing where one would go.
class ToolBarDropFilter : public QObject
{
public:
    ToolBarDropFilter(HWND bar, QToolBar* tb) : QObject(tb), m_bar(bar), m_tb(tb)
    {
        m_mark = new QFrame(tb);
        m_mark->setFrameShape(QFrame::NoFrame);
        m_mark->setAutoFillBackground(true);
        QPalette p = m_mark->palette();
        p.setColor(QPalette::Window, Qt::black);
        m_mark->setPalette(p);
        m_mark->hide();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type())
        {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* d = static_cast<QDropEvent*>(e);
            if (!d->mimeData()->hasFormat(kCommandMime)) return false;
            d->acceptProposedAction();
            ShowMark(m_tb->mapToGlobal(d->position().toPoint()));
            return true;
        }
        case QEvent::DragLeave: m_mark->hide(); return false;
        case QEvent::Drop: {
            auto* d = static_cast<QDropEvent*>(e);
            m_mark->hide();
            if (!d->mimeData()->hasFormat(kCommandMime)) return false;
            TheLastDrop() = {true, m_tb->mapToGlobal(d->position().toPoint())};
            d->acceptProposedAction();
            return true;
        }
        default: return false;
        }
    }

private:
    void ShowMark(QPoint global)
    {
        auto* bar = DYNAMIC_DOWNCAST(CMFCToolBar, CWnd::FromHandlePermanent(m_bar));
        const int at = bar ? bar->InsertIndexAt(CPoint(global.x(), global.y())) : -1;
        if (at < 0)
        {
            m_mark->hide();
            return;
        }
        // A line before the button the command would go in front of (after the last one at the end).
        const QList<QAction*> actions = m_tb->actions();
        QRect g;
        bool after = false;
        if (at < bar->GetCount() && at < actions.size())
            g = m_tb->actionGeometry(actions[at]);
        else if (!actions.isEmpty() && bar->GetCount() > 0)
        {
            g = m_tb->actionGeometry(actions[std::min<qsizetype>(bar->GetCount(), actions.size()) - 1]);
            after = true;
        }
        if (!g.isValid()) g = QRect(m_tb->contentsRect().topLeft(), QSize(4, m_tb->height()));
        if (m_tb->orientation() == Qt::Horizontal)
            m_mark->setGeometry((after ? g.right() + 1 : g.left()) - 1, g.top(), 2, g.height());
        else
            m_mark->setGeometry(g.left(), (after ? g.bottom() + 1 : g.top()) - 1, g.width(), 2);
        m_mark->show();
        m_mark->raise();
    }
    HWND m_bar;
    QToolBar* m_tb;
    QFrame* m_mark;
};

// A button of a frame's bar: dragged (with Alt, or while customising) it moves or goes; while
// customising a click runs nothing and a right click offers Delete and the user pictures.
class ButtonDragFilter : public QObject
{
public:
    ButtonDragFilter(HWND bar, int index, QWidget* button) : QObject(button), m_bar(bar), m_index(index) {}

protected:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        auto* button = static_cast<QWidget*>(obj);
        switch (e->type())
        {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* m = static_cast<QMouseEvent*>(e);
            const bool customizing = CMFCToolBar::IsCustomizeMode() != FALSE;
            // While customising, the right button is the button's own menu (on the context-menu event).
            if (customizing && m->button() == Qt::RightButton) return true;
            const bool alt = (m->modifiers() & Qt::AltModifier) && CMFCToolBar::m_bAltCustomization;
            if (m->button() != Qt::LeftButton || (!customizing && !alt)) return false;
            m_armed = true;
            m_pressAt = m->position().toPoint();
            return true;
        }
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (!m_armed) return false;
            if ((m->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance())
                return true;
            m_armed = false;
            StartDrag(button);
            return true;
        }
        case QEvent::ContextMenu:
            if (!CMFCToolBar::IsCustomizeMode()) return false;
            ShowButtonMenu(static_cast<QContextMenuEvent*>(e)->globalPos());
            return true;
        case QEvent::MouseButtonRelease:
            if (!m_armed) return false;
            m_armed = false;
            return true;
        default: return false;
        }
    }

private:
    CMFCToolBar* Bar() const { return DYNAMIC_DOWNCAST(CMFCToolBar, CWnd::FromHandlePermanent(m_bar)); }

    void StartDrag(QWidget* button)
    {
        CMFCToolBar* bar = Bar();
        if (!bar) return;
        auto* mime = new QMimeData;
        mime->setData(kCommandMime, QByteArray::number(bar->GetItemID(m_index)));
        auto* drag = new QDrag(button);
        drag->setMimeData(mime);
        drag->setPixmap(button->grab());
        drag->setHotSpot(m_pressAt);
        TheLastDrop() = {};
        drag->exec(Qt::MoveAction);
        const QPoint at = TheLastDrop().landed ? TheLastDrop().at : QCursor::pos();
        // The bar is rebuilt by the drop, which deletes this button: after the toolkit is done with it.
        const HWND hBar = m_bar;
        const int index = m_index;
        QTimer::singleShot(0, qApp, [hBar, index, at] {
            if (auto* b = DYNAMIC_DOWNCAST(CMFCToolBar, CWnd::FromHandlePermanent(hBar)))
                b->DropButton(index, CPoint(at.x(), at.y()));
        });
    }

    void ShowButtonMenu(QPoint global)
    {
        CMFCToolBar* bar = Bar();
        if (!bar) return;
        QMenu menu;
        QAction* remove = menu.addAction(QStringLiteral("&Delete"));
        std::vector<std::pair<QAction*, int>> pictures;
        CMFCToolBarImages* images = CMFCToolBar::GetUserImages();
        if (images && images->GetCount() > 0)
        {
            QMenu* image = menu.addMenu(QStringLiteral("&Image"));
            QAction* own = image->addAction(QStringLiteral("&Default Image"));
            own->setCheckable(true);
            own->setChecked(bar->GetButtonUserImage(m_index) < 0);
            pictures.emplace_back(own, -1);
            for (int i = 0; i < images->GetCount(); ++i)
            {
                QAction* a = image->addAction(UserImageIcon(i), QStringLiteral("User Image %1").arg(i + 1));
                a->setCheckable(true);
                a->setChecked(bar->GetButtonUserImage(m_index) == i);
                pictures.emplace_back(a, i);
            }
        }
        QAction* chosen = menu.exec(global);
        if (!chosen) return;
        const HWND hBar = m_bar;
        const int index = m_index;
        int picture = -2;
        for (const auto& [action, i] : pictures)
            if (action == chosen) picture = i;
        const bool doRemove = chosen == remove;
        QTimer::singleShot(0, qApp, [hBar, index, picture, doRemove] {
            auto* b = DYNAMIC_DOWNCAST(CMFCToolBar, CWnd::FromHandlePermanent(hBar));
            if (!b) return;
            if (doRemove)
                b->RemoveButton(index);
            else if (picture >= -1)
                b->SetButtonUserImage(index, picture);
        });
    }

    HWND m_bar;
    int m_index;
    bool m_armed = false;
    QPoint m_pressAt;
};

} // namespace

namespace qor::gui {

QIcon UserImageIcon(int nImage)
{
    CMFCToolBarImages* images = CMFCToolBar::GetUserImages();
    if (!images || nImage < 0 || nImage >= images->GetCount()) return QIcon();
    const SIZE size = images->GetImageSize();
    QImage image(static_cast<int>(size.cx), static_cast<int>(size.cy), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if (const COLORREF c = images->GetPixel(nImage, x, y); c != 0xFFFFFFFFu)
                image.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    return PixelPictureIcon(image);
}

void WatchToolBarDrag(CMFCToolBar* bar, QToolBar* tb, const std::vector<QPointer<QAction>>& buttons)
{
    if (!tb->property("qorTakesDrops").toBool())
    {
        tb->setAcceptDrops(true);
        tb->installEventFilter(new ToolBarDropFilter(bar->m_hWnd, tb));
        tb->setProperty("qorTakesDrops", true);
    }
    for (size_t i = 0; i < buttons.size(); ++i)
        if (bar->GetItemID(static_cast<int>(i)) != ID_SEPARATOR && buttons[i])
            if (QWidget* w = tb->widgetForAction(buttons[i]))
                w->installEventFilter(new ButtonDragFilter(bar->m_hWnd, static_cast<int>(i), w));
}

void StartCommandDrag(QWidget* source, UINT nID, const std::function<void(CPoint)>& dropped)
{
    auto* mime = new QMimeData;
    mime->setData(kCommandMime, QByteArray::number(nID));
    auto* drag = new QDrag(source);
    drag->setMimeData(mime);
    if (QIcon icon = ToolBarIcon(nID); !icon.isNull()) drag->setPixmap(icon.pixmap(QSize(16, 16)));
    TheLastDrop() = {};
    drag->exec(Qt::CopyAction | Qt::MoveAction);
    // Let go anywhere but over a toolbar: nothing to do.
    if (!TheLastDrop().landed) return;
    const QPoint at = TheLastDrop().at;
    QTimer::singleShot(0, qApp, [dropped, at] { dropped(CPoint(at.x(), at.y())); });
}

} // namespace qor::gui

void CMFCToolBar::SetCustomizeMode(BOOL bSet) { s_bCustomizeMode = bSet; }

void CMFCToolBar::EnableCustomizeButton(BOOL bEnable, int iCustomizeCmd, LPCTSTR lpszCustomizeText, BOOL)
{
    m_uiCustomizeCmd = bEnable && iCustomizeCmd > 0 ? static_cast<UINT>(iCustomizeCmd) : 0;
    m_strCustomizeText = lpszCustomizeText ? lpszCustomizeText : L"";
    Rebuild();
}

void CMFCToolBar::EnableCustomizeButton(BOOL bEnable, int iCustomizeCmd, UINT uiCustomizeTextResId, BOOL b)
{
    EnableCustomizeButton(bEnable, iCustomizeCmd, static_cast<LPCTSTR>(qor::LoadText(uiCustomizeTextResId)), b);
}

int CMFCToolBar::InsertButton(UINT nID, int iInsertAt)
{
    if (iInsertAt < 0 || iInsertAt > GetCount()) iInsertAt = GetCount();
    const auto at = static_cast<size_t>(iInsertAt);
    m_buttons.insert(m_buttons.begin() + static_cast<std::ptrdiff_t>(at), nID);
    m_enabled.insert(m_enabled.begin() + static_cast<std::ptrdiff_t>(at), TRUE);
    m_checked.insert(m_checked.begin() + static_cast<std::ptrdiff_t>(at), 0);
    m_userImages.insert(m_userImages.begin() + static_cast<std::ptrdiff_t>(at), -1);
    Rebuild();
    return iInsertAt;
}

BOOL CMFCToolBar::RemoveButton(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetCount()) return FALSE;
    const auto at = static_cast<std::ptrdiff_t>(iIndex);
    m_buttons.erase(m_buttons.begin() + at);
    m_enabled.erase(m_enabled.begin() + at);
    m_checked.erase(m_checked.begin() + at);
    m_userImages.erase(m_userImages.begin() + at);
    Rebuild();
    return TRUE;
}

void CMFCToolBar::RestoreOriginalState()
{
    const ToolBarResource* r = m_uiOriginalResID ? FindToolBarResource(m_uiOriginalResID) : nullptr;
    if (r)
        SetButtons(r->buttons, static_cast<int>(r->count));
    else
        SetButtons(nullptr, 0);
}

BOOL CMFCToolBar::IsChanged() const
{
    if (std::any_of(m_userImages.begin(), m_userImages.end(), [](int i) { return i >= 0; })) return TRUE;
    const ToolBarResource* r = m_uiOriginalResID ? FindToolBarResource(m_uiOriginalResID) : nullptr;
    if (!r) return !m_buttons.empty() || m_bUserDefined;
    return !std::equal(m_buttons.begin(), m_buttons.end(), r->buttons, r->buttons + r->count);
}

int CMFCToolBar::GetButtonUserImage(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_userImages[static_cast<size_t>(nIndex)] : -1;
}

void CMFCToolBar::SetButtonUserImage(int nIndex, int iUserImage)
{
    if (nIndex < 0 || nIndex >= GetCount() || m_buttons[static_cast<size_t>(nIndex)] == ID_SEPARATOR) return;
    m_userImages[static_cast<size_t>(nIndex)] = std::max(iUserImage, -1);
    Rebuild();
}

int CMFCToolBar::InsertIndexAt(CPoint ptScreen) const
{
    if (!m_pShell || !m_pShell->toolBar || !m_pShell->toolBar->isVisible()) return -1;
    QToolBar* tb = m_pShell->toolBar;
    const QPoint local = tb->mapFromGlobal(QPoint(ptScreen.x, ptScreen.y));
    if (!tb->rect().contains(local)) return -1;
    const bool across = tb->orientation() == Qt::Horizontal;
    for (size_t i = 0; i < m_pShell->buttons.size(); ++i)
    {
        if (!m_pShell->buttons[i]) continue;
        const QRect g = tb->actionGeometry(m_pShell->buttons[i]);
        if (!g.isValid()) continue;
        if (across ? local.x() < g.center().x() : local.y() < g.center().y()) return static_cast<int>(i);
    }
    return GetCount();
}

CMFCToolBar* CMFCToolBar::FromScreenPoint(CFrameWnd* pFrame, CPoint ptScreen)
{
    if (!pFrame) return nullptr;
    for (CBasePane* pane : pFrame->GetMenuPanes())
        if (auto* bar = DYNAMIC_DOWNCAST(CMFCToolBar, pane); bar && bar->InsertIndexAt(ptScreen) >= 0) return bar;
    return nullptr;
}

BOOL CMFCToolBar::DropButton(int nIndex, CPoint ptScreen)
{
    if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
    const UINT id = m_buttons[static_cast<size_t>(nIndex)];
    const int picture = m_userImages[static_cast<size_t>(nIndex)];
    CMFCToolBar* target = FromScreenPoint(m_pDockSite, ptScreen);
    if (!target) return RemoveButton(nIndex);
    int at = target->InsertIndexAt(ptScreen);
    if (target == this)
    {
        // Let go where it was: it stays.
        if (at == nIndex || at == nIndex + 1) return TRUE;
        RemoveButton(nIndex);
        if (at > nIndex) --at;
        SetButtonUserImage(InsertButton(id, at), picture);
        return TRUE;
    }
    target->SetButtonUserImage(target->InsertButton(id, at), picture);
    RemoveButton(nIndex);
    return TRUE;
}
