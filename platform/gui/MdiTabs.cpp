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
    } else {
        mdi->setViewMode(QMdiArea::SubWindowView);
    }
}
