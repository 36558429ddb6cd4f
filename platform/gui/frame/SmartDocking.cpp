// Smart docking: while a floating pane is dragged, guides for the four sides and the centre show over
// the frame; let go on one, the pane docks there.
#include "platform/gui/frame/Bars.h"

#include "platform/gui/frame/Frame.h"
#include "platform/gui/frame/FrameInternal.h"

#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QMoveEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>

#include <array>

using namespace qor::gui;

AFX_DOCK_TYPE CDockingManager::s_mode = DT_STANDARD;

void CMFCVisualManager::SetDefaultManager(CRuntimeClass* pRTI)
{
    s_pDefault = pRTI;
    CDockingManager::SetDockingMode(DT_STANDARD);
}

namespace {

// The guides, in the order left, right, top, bottom, centre, and what each stands for.
constexpr std::array<DWORD, 5> kGuideSides = {CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT, CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM,
                                              AFX_SMART_CENTRE};
constexpr int kGuide = 32;

struct Guides
{
    std::array<QPointer<QLabel>, 5> markers;
    DWORD marked = 0;
    bool shown = false;
};

Guides& TheGuides()
{
    static Guides guides;
    return guides;
}

void Mark(QLabel* marker, bool marked)
{
    marker->setStyleSheet(marked ? QStringLiteral("background:#3070d8;color:white;border:1px solid #183c88;")
                                 : QStringLiteral("background:#d8e4f8;color:#183c88;border:1px solid #3070d8;"));
}

// Shows the guides over the frame's case area (made the first time), and marks the one at `at`.
void ShowGuides(QMainWindow* window, QPoint at)
{
    Guides& g = TheGuides();
    static const QString arrows[] = {QStringLiteral("\u25C0"), QStringLiteral("\u25B6"), QStringLiteral("\u25B2"),
                                     QStringLiteral("\u25BC"), QStringLiteral("\u25A0")};
    const QRect area = window->centralWidget() ? window->centralWidget()->geometry() : window->rect();
    const QPoint mid = area.center();
    const QPoint places[] = {{area.left() + 8, mid.y() - kGuide / 2},
                             {area.right() - 8 - kGuide, mid.y() - kGuide / 2},
                             {mid.x() - kGuide / 2, area.top() + 8},
                             {mid.x() - kGuide / 2, area.bottom() - 8 - kGuide},
                             {mid.x() - kGuide / 2, mid.y() - kGuide / 2}};
    g.marked = 0;
    for (size_t i = 0; i < g.markers.size(); ++i)
    {
        QPointer<QLabel>& marker = g.markers[i];
        if (!marker || marker->parentWidget() != window)
        {
            delete marker.data();
            marker = new QLabel(arrows[i], window);
            marker->setAlignment(Qt::AlignCenter);
            marker->resize(kGuide, kGuide);
        }
        marker->move(places[i]);
        const bool under = marker->geometry().contains(window->mapFromGlobal(at));
        if (under) g.marked = kGuideSides[i];
        Mark(marker, under);
        marker->show();
        marker->raise();
    }
    g.shown = true;
}

void HideGuides()
{
    Guides& g = TheGuides();
    for (auto& marker : g.markers)
        if (marker) marker->hide();
    g.shown = false;
    g.marked = 0;
}

// Watches a pane's dock for a drag of its floating window; the drag ends when the button comes up.
class DragWatch : public QObject
{
public:
    DragWatch(CDockablePane* pane, QDockWidget* dock) : QObject(dock), m_pane(pane)
    {
        m_poll.setInterval(50);
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] {
            if (QApplication::mouseButtons() & Qt::LeftButton) return;
            m_poll.stop();
            const QPoint at = QCursor::pos();
            m_pane->OnDragEnd(CPoint(at.x(), at.y()));
        });
    }

protected:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        auto* dock = qobject_cast<QDockWidget*>(obj); // none while it is being destroyed
        if (dock && e->type() == QEvent::Move && dock->isFloating() && (QApplication::mouseButtons() & Qt::LeftButton))
        {
            const QPoint at = QCursor::pos();
            m_pane->OnDragMove(CPoint(at.x(), at.y()));
            if (!m_poll.isActive()) m_poll.start();
        }
        return false;
    }

private:
    CDockablePane* m_pane;
    QTimer m_poll;
};

} // namespace

BOOL CDockingManager::AreSmartGuidesShown() { return TheGuides().shown; }
DWORD CDockingManager::GetMarkedSmartGuide() { return TheGuides().marked; }

void qor::gui::WatchPaneDrag(CDockablePane* pane, QDockWidget* dock)
{
    dock->installEventFilter(new DragWatch(pane, dock));
}

void CDockablePane::OnDragMove(CPoint ptScreen)
{
    if (CDockingManager::GetDockingMode() != DT_SMART || !m_pDockSite || !m_pDockSite->Shell()) return;
    ShowGuides(m_pDockSite->Shell()->window, QPoint(ptScreen.x, ptScreen.y));
}

void CDockablePane::OnDragEnd(CPoint ptScreen)
{
    if (!TheGuides().shown) return;
    OnDragMove(ptScreen); // the guide under the point where it was let go
    const DWORD side = TheGuides().marked;
    HideGuides();
    if (!side || !m_pShell || !m_pShell->dock || !m_pDockSite) return;
    if (side == AFX_SMART_CENTRE)
    {
        ConvertToTabbedDocument();
        return;
    }
    const UINT bar = side == CBRS_ALIGN_LEFT    ? AFX_IDW_DOCKBAR_LEFT
                     : side == CBRS_ALIGN_RIGHT ? AFX_IDW_DOCKBAR_RIGHT
                     : side == CBRS_ALIGN_TOP   ? AFX_IDW_DOCKBAR_TOP
                                                : AFX_IDW_DOCKBAR_BOTTOM;
    // Only to a side it may dock at.
    if (GetEnabledAlignment() & side) m_pDockSite->DockPane(this, bar);
}
