// Tabbed child windows of an MDI main frame.
#include "platform/gui/Frame.h"
#include "platform/gui/FrameInternal.h"

#include <QtWidgets/QTabBar>

void CMDIFrameWndEx::EnableMDITabbedGroups(BOOL bEnable, const void*)
{
    m_bTabbedGroups = bEnable;
    qor::gui::FrameShell* shell = Shell();
    if (!shell || !shell->window) return;
    QMdiArea* mdi = shell->Mdi();
    if (!mdi) return;
    if (bEnable) {
        mdi->setViewMode(QMdiArea::TabbedView);
        mdi->setDocumentMode(true);
        mdi->setTabsClosable(true);
        mdi->setTabsMovable(true);
        mdi->setTabShape(QTabWidget::Rounded);
        if (auto* tabs = mdi->findChild<QTabBar*>(); tabs && tabs->contextMenuPolicy() != Qt::CustomContextMenu) {
            tabs->setContextMenuPolicy(Qt::CustomContextMenu);
            QObject::connect(tabs, &QTabBar::customContextMenuRequested, tabs, [this, tabs](const QPoint& pos) {
                const int index = tabs->tabAt(pos);
                if (index < 0) return;
                tabs->setCurrentIndex(index);
                const QPoint global = tabs->mapToGlobal(pos);
                OnShowMDITabContextMenu(CPoint(global.x(), global.y()), 0, FALSE);
            });
        }
    } else {
        mdi->setViewMode(QMdiArea::SubWindowView);
    }
}

BOOL CMDIFrameWndEx::OnShowMDITabContextMenu(CPoint, DWORD, BOOL) { return FALSE; }

void CMDIFrameWndEx::RightClickMDITab(int nIndex)
{
    qor::gui::FrameShell* shell = Shell();
    QMdiArea* mdi = shell ? shell->mdi.data() : nullptr;
    QTabBar* tabs = mdi ? mdi->findChild<QTabBar*>() : nullptr;
    if (!tabs || nIndex < 0 || nIndex >= tabs->count()) return;
    tabs->setCurrentIndex(nIndex);
    const QPoint global = tabs->mapToGlobal(tabs->tabRect(nIndex).center());
    OnShowMDITabContextMenu(CPoint(global.x(), global.y()), 0, FALSE);
}
