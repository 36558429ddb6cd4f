// Headless test support for applications, documents and frames: start an application object without its
// message loop, run its idle work, drive commands the way menus, toolbars and keys do, and answer file
// dialogs from a script.
#include "platform/test/FrameTest.h"

#include "platform/gui/frame/FrameInternal.h"
#include "platform/test/GuiTest.h"

#include "platform/gui/docview/Document.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/frame/FrameInternal.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QStandardPaths>
#include <QtGui/QCursor>
#include <QtGui/QEnterEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMdiSubWindow>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QToolButton>

#include <atomic>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace qor::test {

BOOL StartApplication(CWinApp& app)
{
    EnsureGuiApplication();
    return app.InitInstance();
}

int StopApplication(CWinApp& app)
{
    // Nothing is asked: documents are dropped unsaved.
    for (POSITION pos = app.GetFirstDocTemplatePosition(); pos;)
    {
        CDocTemplate* t = app.GetNextDocTemplate(pos);
        for (POSITION d = t->GetFirstDocPosition(); d; d = t->GetFirstDocPosition())
        {
            CDocument* doc = t->GetNextDoc(d);
            if (!doc) break;
            doc->SetModifiedFlag(FALSE);
            doc->OnCloseDocument();
        }
    }
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd) app.m_pMainWnd->DestroyWindow();
    app.m_pMainWnd = nullptr;
    Pump();
    return app.ExitInstance();
}

void RunIdle(CWinApp& app)
{
    LONG n = 0;
    while (app.OnIdle(n++))
    {}
}

CMDIFrameWnd* MainFrame() { return DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd()); }

void SendMenuCommand(UINT nID)
{
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}

void SaveActiveDocument() { SendMenuCommand(ID_FILE_SAVE); }

namespace {

// The test program's temporary folder, removed with what it holds when the program ends (by the
// process that made it, not by a child forked from it).
struct TestFolder
{
    std::filesystem::path path;
    pid_t owner = ::getpid();
    ~TestFolder()
    {
        std::error_code ec;
        if (::getpid() == owner) std::filesystem::remove_all(path, ec);
    }
};

} // namespace

std::string TempFilePath(const std::string& name)
{
    static std::atomic<int> counter{0};
    static const TestFolder folder{std::filesystem::temp_directory_path() /
                                   ("qor-frame-test-" + std::to_string(::getpid()))};
    std::error_code ec;
    std::filesystem::create_directories(folder.path, ec);
    return (folder.path / (std::to_string(++counter) + "-" + name)).string();
}

void HoverMenuItem(CFrameWnd* frame, UINT nID)
{
    qor::gui::FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell || !shell->window) return;
    auto it = shell->items.find(nID);
    if (it == shell->items.end() || !it->second.action) return;
    QAction* action = it->second.action;
    auto* menu = qobject_cast<QMenu*>(action->parent());
    if (!menu) return;
    // The top-level menu that holds it opens from the bar, as a click on the bar opens it.
    QMenu* top = menu;
    while (auto* up = qobject_cast<QMenu*>(top->parentWidget())) top = up;
    shell->window->menuBar()->setActiveAction(top->menuAction());
    Pump(10);
    menu->setActiveAction(action);
    Pump();
}

void CloseMenus(CFrameWnd* frame)
{
    qor::gui::FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell || !shell->window) return;
    for (auto& popup : shell->popups)
        if (popup && popup->isVisible()) popup->hide();
    Pump(10);
}

ShownToolBarButton ShownButton(CMFCToolBar* bar, int nIndex)
{
    ShownToolBarButton shown;
    qor::gui::PaneShell* ps = bar ? bar->Shell() : nullptr;
    if (!ps || nIndex < 0 || nIndex >= static_cast<int>(ps->buttons.size()) ||
        !ps->buttons[static_cast<size_t>(nIndex)])
        return shown;
    const QAction* a = ps->buttons[static_cast<size_t>(nIndex)];
    shown.label = qor::gui::FromQString(a->text());
    shown.tip = qor::gui::FromQString(a->toolTip());
    shown.picture = !a->icon().isNull();
    return shown;
}

void HoverToolBarButton(CMFCToolBar* bar, int nIndex, bool enter)
{
    qor::gui::PaneShell* ps = bar ? bar->Shell() : nullptr;
    if (!ps || !ps->toolBar || nIndex < 0 || nIndex >= static_cast<int>(ps->buttons.size())) return;
    QWidget* button = ps->toolBar->widgetForAction(ps->buttons[static_cast<size_t>(nIndex)]);
    if (!button) return;
    if (enter)
    {
        QEnterEvent e(QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)), button->mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(button, &e);
    }
    else
    {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(button, &e);
    }
    Pump();
}

CRect ToolBarButtonScreenRect(CMFCToolBar* bar, int nIndex)
{
    qor::gui::PaneShell* ps = bar ? bar->Shell() : nullptr;
    if (!ps || !ps->toolBar || nIndex < 0 || nIndex >= static_cast<int>(ps->buttons.size())) return CRect();
    const QRect g = ps->toolBar->actionGeometry(ps->buttons[static_cast<size_t>(nIndex)]);
    if (!ps->toolBar->isVisible() || !g.isValid()) return CRect();
    return qor::gui::FromQRect(QRect(ps->toolBar->mapToGlobal(g.topLeft()), g.size()));
}

CRect ToolBarScreenRect(CMFCToolBar* bar)
{
    qor::gui::PaneShell* ps = bar ? bar->Shell() : nullptr;
    if (!ps || !ps->toolBar || !ps->toolBar->isVisible()) return CRect();
    return qor::gui::FromQRect(QRect(ps->toolBar->mapToGlobal(QPoint(0, 0)), ps->toolBar->size()));
}

std::vector<COLORREF> ToolBarPixels(CMFCToolBar* bar, int* width, int* height)
{
    qor::gui::PaneShell* ps = bar ? bar->Shell() : nullptr;
    QImage image;
    if (ps && ps->toolBar && ps->toolBar->isVisible())
        image = ps->toolBar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    *width = image.width();
    *height = image.height();
    std::vector<COLORREF> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) pixels.push_back(qor::gui::FromQColor(image.pixel(x, y)));
    return pixels;
}

void AltDragToolBarButton(CMFCToolBar* bar, int nIndex, CPoint ptScreen)
{
    qor::gui::PaneShell* ps = bar ? bar->Shell() : nullptr;
    if (!ps || !ps->toolBar || nIndex < 0 || nIndex >= static_cast<int>(ps->buttons.size())) return;
    QWidget* button = ps->toolBar->widgetForAction(ps->buttons[static_cast<size_t>(nIndex)]);
    if (!button) return;
    const QPointF from(button->width() / 2.0, button->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, from, button->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::AltModifier);
    QCoreApplication::sendEvent(button, &press);
    QCursor::setPos(ptScreen.x, ptScreen.y);
    const QPointF away = from + QPointF(QApplication::startDragDistance() + 5, 0);
    QMouseEvent move(QEvent::MouseMove, away, button->mapToGlobal(away), Qt::NoButton, Qt::LeftButton, Qt::AltModifier);
    QCoreApplication::sendEvent(button, &move);
    Pump();
}

bool ClickCustomizeButton(CMFCToolBar* bar)
{
    qor::gui::PaneShell* ps = bar ? bar->Shell() : nullptr;
    auto* button =
        ps && ps->toolBar ? ps->toolBar->findChild<QToolButton*>(QStringLiteral("customizeButton")) : nullptr;
    if (!button) return false;
    button->click();
    Pump();
    return true;
}

CString ShownPaneText(CMFCStatusBar& bar, int nIndex)
{
    qor::gui::PaneShell* ps = bar.Shell();
    if (!ps || nIndex < 0 || nIndex >= static_cast<int>(ps->statusWidgets.size())) return CString();
    auto* label = qobject_cast<QLabel*>(ps->statusWidgets[static_cast<size_t>(nIndex)].data());
    return label ? qor::gui::FromQString(label->text()) : CString();
}

namespace {

// The pane menu as it shows when it opens from the View menu.
QMenu* OpenPaneMenu(CFrameWnd* frame)
{
    qor::gui::FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell || !shell->window || !shell->paneMenuEntry) return nullptr;
    for (auto& popup : shell->popups)
    {
        if (!popup) continue;
        for (QAction* a : popup->actions())
        {
            if (!a->menu() || a->menu()->objectName() != QLatin1String("paneMenu")) continue;
            emit a->menu()->aboutToShow();
            return a->menu();
        }
    }
    return nullptr;
}

} // namespace

std::vector<PaneMenuItem> PaneMenuItems(CFrameWnd* frame)
{
    std::vector<PaneMenuItem> items;
    if (QMenu* menu = OpenPaneMenu(frame))
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) items.push_back({qor::gui::FromQString(a->text()), a->isChecked()});
    return items;
}

bool ChoosePaneMenuItem(CFrameWnd* frame, const CString& name)
{
    QMenu* menu = OpenPaneMenu(frame);
    if (!menu) return false;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && qor::gui::FromQString(a->text()) == name)
        {
            a->trigger();
            Pump();
            return true;
        }
    return false;
}

DrivenFileDialogs::DrivenFileDialogs()
{
    m_previous = qor::gui::SetFileDialogDriver([this](BOOL, CString& path) {
        ++m_shown;
        if (m_paths.empty()) return IDCANCEL;
        path = m_paths.front();
        m_paths.pop_front();
        return IDOK;
    });
}

DrivenFileDialogs::~DrivenFileDialogs() { qor::gui::SetFileDialogDriver(std::move(m_previous)); }

COLORREF MenuItemPicturePixel(CFrameWnd* frame, UINT nID, int x, int y, double ratio)
{
    qor::gui::FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell) return 0xFFFFFFFF;
    auto it = shell->items.find(nID);
    if (it == shell->items.end() || !it->second.action || it->second.action->icon().isNull()) return 0xFFFFFFFF;
    const QImage image = it->second.action->icon().pixmap(QSize(16, 16), ratio).toImage();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return 0xFFFFFFFF;
    const QRgb p = image.pixel(x, y);
    return qAlpha(p) == 0 ? 0xFFFFFFFF : RGB(qRed(p), qGreen(p), qBlue(p));
}

CString MDITabText(CMDIFrameWnd* frame, CMDIChildWnd* child)
{
    qor::gui::FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell) return CString();
    for (const auto& [sub, c] : shell->subwindows)
    {
        QMdiArea* area = c == child ? sub->mdiArea() : nullptr;
        QTabBar* tabs = area ? area->findChild<QTabBar*>() : nullptr;
        const int index = tabs ? static_cast<int>(area->subWindowList(QMdiArea::CreationOrder).indexOf(sub)) : -1;
        if (index >= 0 && index < tabs->count()) return qor::gui::FromQString(tabs->tabText(index));
    }
    return CString();
}

} // namespace qor::test
