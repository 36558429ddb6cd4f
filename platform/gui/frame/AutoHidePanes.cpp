// Auto-hide panes: a pin on a pane's caption collapses it to a tab at its side of the frame; the tab
// slides it out over the case windows, and it slides back when the focus (or, slid out by hovering,
// the mouse) leaves it.
#include "platform/gui/frame/Bars.h"

#include "platform/gui/frame/Frame.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QPropertyAnimation>
#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFrame>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLayout>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

using namespace qor::gui;

struct AutoHideAccess
{
    static PaneShell* Shell(CDockablePane* pane) { return pane->m_pShell; }
    static CFrameWnd* Site(CDockablePane* pane) { return pane->m_pDockSite; }
};

namespace {

constexpr int kSlideMs = 120;

bool Vertical(int side) { return side == Qt::LeftDockWidgetArea || side == Qt::RightDockWidgetArea; }

// The caption's pictures, in the colour of its text: the pin, upright while the pane is docked and lying
// while it is collapsed, and the close cross.
enum class CaptionPicture
{
    Pin,
    CollapsedPin,
    Close
};

QIcon CaptionIcon(CaptionPicture picture, const QColor& ink)
{
    QIcon icon;
    for (int scale : {1, 2, 3})
    {
        QPixmap pixmap(12 * scale, 12 * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.scale(scale, scale);
        p.setPen(QPen(ink, 1));
        if (picture == CaptionPicture::Close)
        {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(ink, 1.5));
            p.drawLine(QPointF(2.5, 2.5), QPointF(9.5, 9.5));
            p.drawLine(QPointF(9.5, 2.5), QPointF(2.5, 9.5));
        }
        else
        {
            if (picture == CaptionPicture::CollapsedPin) p.rotate(90), p.translate(0, -12);
            p.drawRect(3, 1, 5, 6);  // the head
            p.drawLine(1, 7, 10, 7); // the plate
            p.drawLine(6, 8, 6, 11); // the needle
        }
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A caption button: its picture drawn again when the look changes its colours.
class CaptionButton : public QToolButton
{
public:
    CaptionButton(CaptionPicture picture, QWidget* parent) : QToolButton(parent), m_picture(picture)
    {
        setAutoRaise(true);
        Draw();
    }

protected:
    void changeEvent(QEvent* e) override
    {
        QToolButton::changeEvent(e);
        if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange) Draw();
    }

private:
    void Draw() { setIcon(CaptionIcon(m_picture, palette().color(QPalette::ButtonText))); }
    CaptionPicture m_picture;
};

// A pane's caption with its pin and close buttons (in its dock, and in the window it slides out in).
QWidget* MakeCaption(CDockablePane* pane, QDockWidget* dock, bool collapsed)
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 2, 2);
    row->setSpacing(2);
    auto* caption = new QLabel(dock->windowTitle(), bar);
    QObject::connect(dock, &QDockWidget::windowTitleChanged, caption, &QLabel::setText);
    row->addWidget(caption, 1);
    auto* pin = new CaptionButton(collapsed ? CaptionPicture::CollapsedPin : CaptionPicture::Pin, bar);
    pin->setToolTip(QStringLiteral("Auto Hide"));
    // Later: the caption (with this very button) is replaced.
    QObject::connect(pin, &QToolButton::clicked, pin, [pane, pin] {
        QMetaObject::invokeMethod(
            pin, [pane] { pane->OnPinButton(); }, Qt::QueuedConnection);
    });
    row->addWidget(pin);
    auto* close = new CaptionButton(CaptionPicture::Close, bar);
    close->setToolTip(QStringLiteral("Close"));
    QObject::connect(close, &QToolButton::clicked, close, [pane, close] {
        QMetaObject::invokeMethod(
            close, [pane] { pane->ShowPane(FALSE, FALSE, FALSE); }, Qt::QueuedConnection);
    });
    row->addWidget(close);
    return bar;
}

// The tab of a collapsed pane: its caption, read upwards on the left and right sides.
class AutoHideTab : public QAbstractButton
{
public:
    AutoHideTab(CDockablePane* pane, const QString& text, int side) : m_pane(pane), m_side(side)
    {
        setText(text);
        setToolTip(text);
        setCursor(Qt::PointingHandCursor);
        QObject::connect(this, &QAbstractButton::clicked, this, [this] { m_pane->Slide(!m_pane->IsVisible(), FALSE); });
    }
    QSize sizeHint() const override
    {
        const QSize text = fontMetrics().size(0, this->text()) + QSize(16, 8);
        return Vertical(m_side) ? text.transposed() : text;
    }

protected:
    void enterEvent(QEnterEvent*) override
    {
        if (!m_pane->IsVisible()) m_pane->Slide(TRUE, TRUE);
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().button());
        p.setPen(palette().mid().color());
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setPen(palette().buttonText().color());
        if (Vertical(m_side))
        {
            p.translate(0, height());
            p.rotate(-90);
            p.drawText(QRect(0, 0, height(), width()), Qt::AlignCenter, text());
        }
        else
        {
            p.drawText(rect(), Qt::AlignCenter, text());
        }
    }

private:
    CDockablePane* m_pane;
    int m_side;
};

QToolBar* SideBar(FrameShell* shell, int side)
{
    QPointer<QToolBar>& bar = shell->autoHideBars[side];
    if (!bar)
    {
        bar = new QToolBar(shell->window);
        bar->setObjectName(QStringLiteral("autohide%1").arg(side));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setOrientation(Vertical(side) ? Qt::Vertical : Qt::Horizontal);
        const Qt::ToolBarArea area = side == Qt::LeftDockWidgetArea    ? Qt::LeftToolBarArea
                                     : side == Qt::RightDockWidgetArea ? Qt::RightToolBarArea
                                     : side == Qt::TopDockWidgetArea   ? Qt::TopToolBarArea
                                                                       : Qt::BottomToolBarArea;
        shell->window->addToolBar(area, bar);
    }
    bar->show();
    return bar;
}

} // namespace

void CMDIFrameWndEx::EnableAutoHidePanes(DWORD dwDockStyle) { m_dwAutoHidePanes = dwDockStyle & CBRS_ALIGN_ANY; }

void CDockablePane::SetUpAutoHide()
{
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWndEx, m_pDockSite);
    if (!frame || !frame->GetAutoHidePanes() || !m_pShell || !m_pShell->dock) return;
    m_pShell->dock->setTitleBarWidget(MakeCaption(this, m_pShell->dock, false));
}

BOOL CDockablePane::IsAutoHideMode() const { return m_pShell && m_pShell->autoHideSide != 0; }

void CDockablePane::SetAutoHideMode(BOOL bMode, DWORD, void*, BOOL)
{
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWndEx, m_pDockSite);
    FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell || !m_pShell || !m_pShell->dock || !m_pShell->slot || bMode == IsAutoHideMode()) return;
    QDockWidget* dock = m_pShell->dock;
    if (bMode)
    {
        const int side = shell->window->dockWidgetArea(dock);
        const DWORD align = GetCurrentAlignment();
        if (IsFloating() || IsTabbedDocument() || !(frame->GetAutoHidePanes() & align) || side == Qt::NoDockWidgetArea)
            return;
        // The window it slides out in: its caption and its window, as wide (high) as it was docked.
        const QSize size = dock->size();
        auto* flyout = new QFrame(shell->window);
        flyout->setFrameShape(QFrame::StyledPanel);
        flyout->setAutoFillBackground(true);
        flyout->setProperty("qorExtent", Vertical(side) ? size.width() : size.height());
        auto* column = new QVBoxLayout(flyout);
        column->setContentsMargins(1, 1, 1, 1);
        column->setSpacing(0);
        column->addWidget(MakeCaption(this, dock, true));
        column->addWidget(m_pShell->slot, 1); // out of the dock
        flyout->hide();
        dock->hide();
        m_pShell->flyout = flyout;
        m_pShell->autoHideSide = side;
        auto* tab = new AutoHideTab(this, dock->windowTitle(), side);
        SideBar(shell, side)->addWidget(tab);
        m_pShell->autoHideTab = tab;
        // Slid out, it goes back when the focus goes elsewhere, or (slid out by hovering) when the
        // mouse has left it and its tab.
        CDockablePane* pane = this;
        QObject::connect(qApp, &QApplication::focusChanged, flyout, [pane, flyout](QWidget*, QWidget* now) {
            if (flyout->isVisible() && now && !flyout->isAncestorOf(now)) pane->Slide(FALSE);
        });
        auto* hover = new QTimer(flyout);
        hover->setInterval(400);
        QObject::connect(hover, &QTimer::timeout, flyout, [this, flyout, tab] {
            if (!flyout->isVisible() || !m_pShell->slidByHover) return;
            const QPoint at = QCursor::pos();
            const bool over =
                flyout->rect().contains(flyout->mapFromGlobal(at)) || tab->rect().contains(tab->mapFromGlobal(at));
            QWidget* focus = QApplication::focusWidget();
            if (!over && !(focus && flyout->isAncestorOf(focus))) Slide(FALSE);
        });
        hover->start();
        return;
    }
    // Pinned again: its window goes back into its dock, and its tab goes.
    const int side = m_pShell->autoHideSide;
    m_pShell->autoHideSide = 0;
    dock->setWidget(m_pShell->slot);
    m_pShell->slot->show();
    dock->show();
    if (m_pShell->flyout) m_pShell->flyout->deleteLater();
    if (m_pShell->autoHideTab)
    {
        m_pShell->autoHideTab->hide();
        m_pShell->autoHideTab->deleteLater();
    }
    if (QToolBar* bar = shell->autoHideBars[side])
    {
        int tabs = 0;
        // The bar's own buttons (its extension) are no tabs.
        for (auto* button : bar->findChildren<QAbstractButton*>())
            if (dynamic_cast<AutoHideTab*>(button) && button != m_pShell->autoHideTab.data()) ++tabs;
        if (tabs == 0) bar->hide();
    }
    static_cast<WndSlot*>(m_pShell->slot.data())->Fit();
}

void CDockablePane::Slide(BOOL bSlideOut, BOOL bUseTimer)
{
    if (!IsAutoHideMode() || !m_pShell->flyout || !m_pDockSite || !m_pDockSite->Shell()) return;
    QFrame* flyout = static_cast<QFrame*>(m_pShell->flyout.data());
    if (!bSlideOut)
    {
        if (flyout->isVisible()) flyout->hide();
        return;
    }
    m_pShell->slidByHover = bUseTimer != FALSE;
    if (flyout->isVisible()) return;
    // Along the inner edge of its side's tabs, over whatever is there.
    const int side = m_pShell->autoHideSide;
    QToolBar* bar = m_pDockSite->Shell()->autoHideBars[side];
    QMainWindow* window = m_pDockSite->Shell()->window;
    // A tab just put at its side (a pane collapsed as it was made) has its place only once laid out.
    if (window->layout()) window->layout()->activate();
    const QRect edge = bar ? bar->geometry() : QRect();
    const QRect inside = window->centralWidget() ? window->centralWidget()->geometry() : window->rect();
    const int extent = std::max(flyout->property("qorExtent").toInt(), 120);
    QRect to;
    switch (side)
    {
    case Qt::LeftDockWidgetArea: to = QRect(edge.right() + 1, edge.top(), extent, edge.height()); break;
    case Qt::RightDockWidgetArea: to = QRect(edge.left() - extent, edge.top(), extent, edge.height()); break;
    case Qt::TopDockWidgetArea: to = QRect(inside.left(), edge.bottom() + 1, inside.width(), extent); break;
    default: to = QRect(inside.left(), edge.top() - extent, inside.width(), extent); break;
    }
    QRect from = to;
    if (Vertical(side))
        from.setWidth(1);
    else
        from.setHeight(1);
    if (side == Qt::RightDockWidgetArea) from.moveRight(to.right());
    if (side == Qt::BottomDockWidgetArea) from.moveBottom(to.bottom());
    flyout->setGeometry(from);
    flyout->show();
    flyout->raise();
    auto* slide = new QPropertyAnimation(flyout, "geometry", flyout);
    slide->setDuration(kSlideMs);
    slide->setStartValue(from);
    slide->setEndValue(to);
    slide->start(QAbstractAnimation::DeleteWhenStopped);
    if (!bUseTimer) SetFocus();
}
