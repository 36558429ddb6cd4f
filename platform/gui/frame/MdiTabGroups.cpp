// Tab groups of a tabbed MDI frame: MDI areas side by side or one above the other in a splitter, the
// active tab moved into a new group or between groups, an emptied group taken away.
#include "platform/gui/frame/Frame.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtWidgets/QMdiSubWindow>

#include <algorithm>

using namespace qor::gui;

namespace {

QMdiArea* NewArea()
{
    auto* area = new QMdiArea;
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return area;
}

// The groups share the splitter's length equally.
void ShareEqually(QSplitter* split)
{
    const int length = split->orientation() == Qt::Horizontal ? split->width() : split->height();
    QList<int> sizes;
    for (int i = 0; i < split->count(); ++i) sizes << std::max(1, length / split->count());
    split->setSizes(sizes);
}

} // namespace

std::vector<QMdiArea*> TabGroups::Of(CMDIFrameWnd* frame)
{
    std::vector<QMdiArea*> groups;
    FrameShell* shell = frame->Shell();
    if (!shell) return groups;
    if (QSplitter* split = shell->groupSplitter)
        for (int i = 0; i < split->count(); ++i)
            if (auto* area = qobject_cast<QMdiArea*>(split->widget(i))) groups.push_back(area);
    return groups;
}

void TabGroups::Watch(CMDIFrameWnd* frame, QMdiArea* area)
{
    QObject::connect(area, &QMdiArea::subWindowActivated, area, [frame](QMdiSubWindow* sw) {
        FrameShell* shell = frame->m_pShell.get();
        if (!sw || !shell) return;
        // A tab fills the area: the toolkit restores the window that takes over from a closed
        // tab to its normal size, which would leave it floating in the middle of the tabs.
        if (sw->mdiArea() && sw->mdiArea()->viewMode() == QMdiArea::TabbedView && !sw->isMaximized())
            sw->showMaximized();
        auto it = shell->subwindows.find(sw);
        if (it != shell->subwindows.end()) frame->ChildActivated(it->second);
    });
}

QMdiArea* TabGroups::Current(CMDIFrameWnd* frame)
{
    FrameShell* shell = frame->Shell();
    const std::vector<QMdiArea*> groups = Of(frame);
    if (shell->activeGroup && std::find(groups.begin(), groups.end(), shell->activeGroup.data()) != groups.end())
        return shell->activeGroup;
    return shell->Mdi();
}

QMdiSubWindow* TabGroups::SubOf(CMDIFrameWnd* frame, CMDIChildWnd* child)
{
    FrameShell* shell = frame->Shell();
    if (!shell || !child) return nullptr;
    for (auto& [sub, c] : shell->subwindows)
        if (c == child) return sub;
    return nullptr;
}

void TabGroups::Move(CMDIFrameWnd* frame, QMdiSubWindow* sub, QMdiArea* to)
{
    QMdiArea* from = sub->mdiArea();
    if (!to || from == to) return;
    if (from) from->removeSubWindow(sub);
    to->addSubWindow(sub);
    sub->show();
    // Tabs fill their group: the toolkit restores a maximised window when another comes or goes.
    for (QMdiArea* area : {from, to})
        if (area && area->viewMode() == QMdiArea::TabbedView)
            for (QMdiSubWindow* other : area->subWindowList())
                if (!other->isMaximized()) other->showMaximized();
    frame->Shell()->activeGroup = to;
    to->setActiveSubWindow(sub);
    if (auto* slot = dynamic_cast<WndSlot*>(sub->widget())) slot->Fit();
    auto it = frame->Shell()->subwindows.find(sub);
    if (it != frame->Shell()->subwindows.end()) frame->MDIActivate(it->second);
    DropEmpty(frame);
}

void TabGroups::DropEmpty(CMDIFrameWnd* frame)
{
    FrameShell* shell = frame->Shell();
    QSplitter* split = shell ? shell->groupSplitter.data() : nullptr;
    if (!split) return;
    bool dropped = false;
    for (QMdiArea* area : Of(frame))
    {
        if (!area->subWindowList().isEmpty() || Of(frame).size() < 2) continue;
        // Later: the area may be inside one of its own signals.
        area->hide();
        area->setParent(nullptr);
        area->deleteLater();
        dropped = true;
        if (shell->mdi == area) shell->mdi = Of(frame).front();
    }
    if (dropped) ShareEqually(split);
    if (!shell->activeGroup) shell->activeGroup = shell->mdi;
}

// ---- The frame's commands ------------------------------------------------------------------------

int CMDIFrameWndEx::GetMDITabGroupCount() const
{
    return static_cast<int>(TabGroups::Of(const_cast<CMDIFrameWndEx*>(this)).size());
}

int CMDIFrameWndEx::GetMDITabGroupOf(CMDIChildWnd* pChild) const
{
    auto* self = const_cast<CMDIFrameWndEx*>(this);
    QMdiSubWindow* sub = TabGroups::SubOf(self, pChild);
    const std::vector<QMdiArea*> groups = TabGroups::Of(self);
    const auto it = sub ? std::find(groups.begin(), groups.end(), sub->mdiArea()) : groups.end();
    return it == groups.end() ? -1 : static_cast<int>(it - groups.begin());
}

std::vector<CMDIChildWnd*> CMDIFrameWndEx::GetMDITabGroupWindows(int nGroup) const
{
    std::vector<CMDIChildWnd*> windows;
    auto* self = const_cast<CMDIFrameWndEx*>(this);
    const std::vector<QMdiArea*> groups = TabGroups::Of(self);
    if (nGroup < 0 || nGroup >= static_cast<int>(groups.size())) return windows;
    // Creation order is the tabs' order: the area follows the tabs as they are moved.
    for (QMdiSubWindow* sub : groups[static_cast<size_t>(nGroup)]->subWindowList(QMdiArea::CreationOrder))
        if (auto it = self->Shell()->subwindows.find(sub); it != self->Shell()->subwindows.end())
            windows.push_back(it->second);
    return windows;
}

CRect CMDIFrameWndEx::GetMDITabGroupRect(int nGroup) const
{
    const std::vector<QMdiArea*> groups = TabGroups::Of(const_cast<CMDIFrameWndEx*>(this));
    if (nGroup < 0 || nGroup >= static_cast<int>(groups.size())) return CRect();
    QMdiArea* area = groups[static_cast<size_t>(nGroup)];
    return FromQRect(QRect(area->mapToGlobal(QPoint(0, 0)), area->size()));
}

BOOL CMDIFrameWndEx::IsMDITabGroupVertical() const
{
    const qor::gui::FrameShell* shell = m_pShell.get();
    return shell && shell->groupSplitter && shell->groupSplitter->count() > 1 &&
           shell->groupSplitter->orientation() == Qt::Horizontal;
}

DWORD CMDIFrameWndEx::GetMDITabsContextMenuAllowedItems()
{
    QMdiSubWindow* sub = TabGroups::SubOf(this, MDIGetActive());
    if (!sub || !sub->mdiArea()) return 0;
    const std::vector<QMdiArea*> groups = TabGroups::Of(this);
    const int index = static_cast<int>(std::find(groups.begin(), groups.end(), sub->mdiArea()) - groups.begin());
    DWORD allowed = 0;
    // A new group takes a tab from a group that keeps one, in the direction the groups already go.
    if (sub->mdiArea()->subWindowList().size() > 1)
    {
        if (groups.size() == 1 || IsMDITabGroupVertical()) allowed |= AFX_MDI_CREATE_VERT_GROUP;
        if (groups.size() == 1 || !IsMDITabGroupVertical()) allowed |= AFX_MDI_CREATE_HORZ_GROUP;
    }
    if (index > 0) allowed |= AFX_MDI_CAN_MOVE_PREV;
    if (index + 1 < static_cast<int>(groups.size())) allowed |= AFX_MDI_CAN_MOVE_NEXT;
    return allowed;
}

void CMDIFrameWndEx::MDITabNewGroup(BOOL bVert)
{
    const DWORD allowed = GetMDITabsContextMenuAllowedItems();
    if (!(allowed & (bVert ? AFX_MDI_CREATE_VERT_GROUP : AFX_MDI_CREATE_HORZ_GROUP))) return;
    QMdiSubWindow* sub = TabGroups::SubOf(this, MDIGetActive());
    qor::gui::FrameShell* shell = Shell();
    QMdiArea* from = sub->mdiArea();
    // The second group sets the way the groups go.
    if (shell->groupSplitter->count() == 1) shell->groupSplitter->setOrientation(bVert ? Qt::Horizontal : Qt::Vertical);
    QMdiArea* group = NewArea();
    TabGroups::Watch(this, group);
    shell->groupSplitter->insertWidget(shell->groupSplitter->indexOf(from) + 1, group);
    TabGroups::SetUp(this, group);
    ShareEqually(shell->groupSplitter);
    TabGroups::Move(this, sub, group);
}

void CMDIFrameWndEx::MDITabMoveToNextGroup(BOOL bNext)
{
    if (!(GetMDITabsContextMenuAllowedItems() & (bNext ? AFX_MDI_CAN_MOVE_NEXT : AFX_MDI_CAN_MOVE_PREV))) return;
    QMdiSubWindow* sub = TabGroups::SubOf(this, MDIGetActive());
    const std::vector<QMdiArea*> groups = TabGroups::Of(this);
    const auto at = std::find(groups.begin(), groups.end(), sub->mdiArea()) - groups.begin();
    TabGroups::Move(this, sub, groups[static_cast<size_t>(at + (bNext ? 1 : -1))]);
}

void CMDIFrameWndEx::DropMDITab(int nIndex, int nGroup, CPoint ptScreen)
{
    const std::vector<QMdiArea*> groups = TabGroups::Of(this);
    if (nGroup < 0 || nGroup >= static_cast<int>(groups.size())) return;
    QMdiArea* from = groups[static_cast<size_t>(nGroup)];
    const QList<QMdiSubWindow*> subs = from->subWindowList(QMdiArea::CreationOrder);
    if (nIndex < 0 || nIndex >= subs.size()) return;
    QMdiSubWindow* sub = subs[nIndex];
    if (auto it = Shell()->subwindows.find(sub); it != Shell()->subwindows.end()) MDIActivate(it->second);
    const QPoint at(ptScreen.x, ptScreen.y);
    for (QMdiArea* group : groups)
        if (group != from && group->rect().contains(group->mapFromGlobal(at)))
        {
            TabGroups::Move(this, sub, group);
            return;
        }
    // Let go inside its own group: the frame asks where it should go.
    if (from->rect().contains(from->mapFromGlobal(at)))
        OnShowMDITabContextMenu(ptScreen, GetMDITabsContextMenuAllowedItems(), TRUE);
}
