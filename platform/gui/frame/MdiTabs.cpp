// Tabbed child windows of an MDI main frame: each tab group is an MDI area in tabbed mode, whose tabs
// have the frame's menu and can be dragged to another group.
#include "platform/gui/draw/Convert.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/frame/FrameInternal.h"

#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTabBar>

using namespace qor::gui;

namespace {

QTabBar* TabBarOf(QMdiArea* area)
{
    return area ? area->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

int IndexOf(CMDIFrameWnd* frame, QMdiArea* area)
{
    const std::vector<QMdiArea*> groups = TabGroups::Of(frame);
    const auto it = std::find(groups.begin(), groups.end(), area);
    return it == groups.end() ? -1 : static_cast<int>(it - groups.begin());
}

// A tab pulled off its bar and let go: dropped where the mouse is, once the bar is done with the release
// (the drop may take the tab off that very bar).
class TabDrag : public QObject
{
public:
    TabDrag(CMDIFrameWndEx* frame, QMdiArea* area, QTabBar* tabs) : QObject(tabs), m_frame(frame), m_area(area) {}

protected:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        auto* tabs = static_cast<QTabBar*>(obj);
        if (e->type() == QEvent::MouseButtonPress)
        {
            auto* me = static_cast<QMouseEvent*>(e);
            m_pressed = me->button() == Qt::LeftButton && tabs->tabAt(me->position().toPoint()) >= 0;
            m_from = me->globalPosition().toPoint();
        }
        else if (e->type() == QEvent::MouseButtonRelease && m_pressed)
        {
            m_pressed = false;
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint at = me->globalPosition().toPoint();
            const bool dragged = (at - m_from).manhattanLength() >= QApplication::startDragDistance();
            if (dragged && !tabs->rect().contains(tabs->mapFromGlobal(at)))
            {
                const int index = tabs->currentIndex();
                QPointer<QMdiArea> area = m_area;
                CMDIFrameWndEx* frame = m_frame;
                QMetaObject::invokeMethod(
                    tabs,
                    [frame, area, index, at] {
                        if (area && IsLiveFrame(frame))
                            frame->DropMDITab(index, IndexOf(frame, area), CPoint(at.x(), at.y()));
                    },
                    Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    CMDIFrameWndEx* m_frame;
    QPointer<QMdiArea> m_area;
    bool m_pressed = false;
    QPoint m_from;
};

} // namespace

void TabGroups::SetUp(CMDIFrameWndEx* frame, QMdiArea* area)
{
    area->setViewMode(QMdiArea::TabbedView);
    area->setDocumentMode(true);
    area->setTabsClosable(true);
    area->setTabsMovable(true);
    area->setTabShape(QTabWidget::Rounded);
    QTabBar* tabs = TabBarOf(area);
    if (!tabs || tabs->contextMenuPolicy() == Qt::CustomContextMenu) return;
    tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    QPointer<QMdiArea> group = area;
    QObject::connect(tabs, &QTabBar::customContextMenuRequested, tabs, [frame, group, tabs](const QPoint& pos) {
        const int index = tabs->tabAt(pos);
        // The menu opens where the click was, as every context menu does.
        const CPoint at = FromQPoint(tabs->mapToGlobal(pos));
        if (index >= 0 && group) frame->RightClickMDITab(index, IndexOf(frame, group), &at);
    });
    tabs->installEventFilter(new TabDrag(frame, area, tabs));
}

void CMDIFrameWndEx::EnableMDITabbedGroups(BOOL bEnable, const void*)
{
    m_bTabbedGroups = bEnable;
    FrameShell* shell = Shell();
    if (!shell || !shell->window || !shell->Mdi()) return;
    for (QMdiArea* area : TabGroups::Of(this))
    {
        if (bEnable)
            TabGroups::SetUp(this, area);
        else
            area->setViewMode(QMdiArea::SubWindowView);
    }
}

BOOL CMDIFrameWndEx::OnShowMDITabContextMenu(CPoint, DWORD, BOOL) { return FALSE; }

void CMDIFrameWndEx::RightClickMDITab(int nIndex, int nGroup, const POINT* ptScreen)
{
    const std::vector<QMdiArea*> groups = TabGroups::Of(this);
    if (nGroup < 0 || nGroup >= static_cast<int>(groups.size())) return;
    QTabBar* tabs = TabBarOf(groups[static_cast<size_t>(nGroup)]);
    if (!tabs || nIndex < 0 || nIndex >= tabs->count()) return;
    tabs->setCurrentIndex(nIndex);
    const QPoint global = ptScreen ? ToQPoint(*ptScreen) : tabs->mapToGlobal(tabs->tabRect(nIndex).center());
    if (QMdiSubWindow* sub = groups[static_cast<size_t>(nGroup)]->activeSubWindow())
    {
        if (auto it = Shell()->subwindows.find(sub); it != Shell()->subwindows.end()) MDIActivate(it->second);
        // A pane shown as a document has the pane's menu (to dock it again).
        if (auto it = Shell()->paneDocuments.find(sub); it != Shell()->paneDocuments.end())
        {
            it->second->ShowPaneMenu(CPoint(global.x(), global.y()));
            return;
        }
    }
    OnShowMDITabContextMenu(CPoint(global.x(), global.y()), GetMDITabsContextMenuAllowedItems(), FALSE);
}
