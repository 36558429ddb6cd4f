// Internal to the frame layer: the toolkit side of frames, bars and panes.
#pragma once

#include "platform/gui/frame/Bars.h"
#include "platform/gui/frame/Frame.h"

#include <QtCore/QPointer>
#include <QtGui/QAction>
#include <QtWidgets/QDockWidget>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMdiArea>
#include <QtWidgets/QMenu>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QWidget>

#include <map>

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QAction;
class QIcon;
class QToolBar;
class QDockWidget;
class QLabel;
class QProgressBar;

namespace qor::gui {

// The blank picture of a window's tab and title (no toolkit logo there): one for every window, since the
// toolkit keeps each picture it draws in its cache under that picture's own key.
const QIcon& BlankWindowIcon();

// Holds a window of the layer inside a toolkit layout (dock widget, MDI subwindow) and
// keeps the window's size equal to its own, so the window gets WM_SIZE.
class WndSlot : public QWidget
{
public:
    WndSlot(CWnd* wnd, QWidget* parent);
    CWnd* wnd;
    void Fit();

protected:
    void resizeEvent(QResizeEvent* e) override;
};

struct MenuItemState
{
    BOOL enabled = TRUE;
    int check = 0;
    BOOL shown = TRUE;
    CString text;
    QPointer<QAction> action;
};

// How a pane was left that the toolkit's layout cannot say: collapsed to its side (and how far it slid
// out), or shown as a tabbed document.
struct KeptPane
{
    enum Mode
    {
        AutoHide,
        Document
    };
    Mode mode = AutoHide;
    int extent = 0;
};

// A main frame's toolkit window: menu bar, toolbars, dock widgets, status bar and the MDI
// area, in a main window that fills the frame's client area.
struct FrameShell
{
    explicit FrameShell(CFrameWnd* f);
    ~FrameShell();
    CFrameWnd* frame;
    QPointer<QMainWindow> window;
    QPointer<QMdiArea> mdi;
    UINT menuResource = 0;
    std::vector<QPointer<QMenu>> popups;
    std::vector<std::vector<UINT>> popupIds; // the command ids of each top-level popup
    std::map<UINT, MenuItemState> items;
    std::map<QMdiSubWindow*, CMDIChildWnd*> subwindows;
    // The pane menu (EnablePaneMenu): the menu item it replaces, the customise command and its text.
    UINT paneMenuEntry = 0;
    UINT paneMenuCustomize = 0;
    CString paneMenuCustomizeText;

    // The windows-manager dialog's command and menu text (0: not offered).
    UINT windowsDialogId = 0;
    CString windowsDialogText;
    // Tab groups: the MDI areas in a splitter, in order (`mdi` is one of them).
    QPointer<QSplitter> groupSplitter;
    QPointer<QMdiArea> activeGroup;                         // the group of the active child: new windows open there
    std::map<QMdiSubWindow*, CDockablePane*> paneDocuments; // panes shown as tabbed documents
    std::map<int, QPointer<QToolBar>> autoHideBars;         // the tabs of collapsed panes, by side
    std::map<UINT, KeptPane> keptPanes;                     // by pane id, as the kept layout had them

    void Fit();
    QMdiArea* Mdi();
    bool BuildMenu(UINT resId);
    // Fills menu with the pane menu's items (EnablePaneMenu).
    void FillPaneMenu(QMenu* menu);
    // Opens the menu-bar popup whose mnemonic is ch (Alt with that letter); false when none has it.
    bool OpenMenuByMnemonic(wchar_t ch);
    // Highlights the first item of an open menu that the keyboard may choose.
    static void HighlightFirstItem(QMenu* menu);
    // Gives the menu bar the keyboard with its first menu highlighted (F10); false when it cannot.
    bool FocusMenuBar();
    void AddWindowsDialogItem();
};

// Draws the title of the menu bar's current menu while the bar has the keyboard with no menu open
// (MenuBarKeyMark.cpp); FollowMenuBarKeyboard brings the mark up to date (a menu opened or closed).
void MarkMenuBarKeyboard(QMenuBar* bar);
void FollowMenuBarKeyboard(QMenuBar* bar);

// The tab groups of a tabbed MDI frame (MdiTabGroups.cpp).
struct TabGroups
{
    // The frame's groups (at least its first area).
    static std::vector<QMdiArea*> Of(CMDIFrameWnd* frame);
    // Makes the frame's windows active as their area activates them.
    static void Watch(CMDIFrameWnd* frame, QMdiArea* area);
    // Makes an area a group: tabs, their menu and their drag.
    static void SetUp(CMDIFrameWndEx* frame, QMdiArea* area);
    // The area new windows open in.
    static QMdiArea* Current(CMDIFrameWnd* frame);
    // Moves a subwindow into a group and activates it there.
    static void Move(CMDIFrameWnd* frame, QMdiSubWindow* sub, QMdiArea* to);
    // Removes the groups left without windows (the first area stays while it is the only one).
    static void DropEmpty(CMDIFrameWnd* frame);
    static QMdiSubWindow* SubOf(CMDIFrameWnd* frame, CMDIChildWnd* child);
};

// The panes' share of the kept layout (KeptPanes.cpp).
struct KeptPanes
{
    // The records of the panes left collapsed or as documents (those of panes not made in this run as they
    // were read), for the profile; the panes are then docked where they came from, for the toolkit's layout.
    static CString Save(CFrameWnd* frame);
    // Takes the records (a damaged text: none) and puts the frame's panes back in their modes.
    static void Load(CFrameWnd* frame, const CString& text);
    // A pane made after the layout was put back: in the place the layout kept for it (false: it has none).
    static bool PlaceNewPane(CFrameWnd* frame, QDockWidget* dock);
    // Such a pane, docked by its maker, stays in that place, collapsed or as a document if it was left so.
    static void PutInKeptMode(CFrameWnd* frame, CDockablePane* pane);
};

// The size and place of a main frame's window when it is neither maximised nor minimised (RestoredPlace.cpp).
struct RestoredPlace
{
    // Follows the frame's window from now on, starting from a kept place ("x y width height", as Save
    // gives it; empty or damaged: none): each place the user gives the restored window is kept, and a window
    // restored to a place that does not fit the work area (as large as the screen, its title bar off it)
    // is moved to the kept place, else to one of its own inside the work area.
    static void Follow(CFrameWnd* frame, const CString& kept);
    // The last place kept, for the profile (empty when none).
    static CString Save(CFrameWnd* frame);
};

// Shows smart-docking guides while the pane's floating window is dragged (SmartDocking.cpp).
void WatchPaneDrag(CDockablePane* pane, QDockWidget* dock);

// The toolkit side of a bar or pane.
struct PaneShell
{
    int kind = 0; // 0 pane/dock widget, 1 toolbar, 2 status bar, 3 menu bar
    QPointer<QDockWidget> dock;
    QPointer<QToolBar> toolBar;
    std::vector<QPointer<QAction>> buttons;
    std::vector<QPointer<QWidget>> statusWidgets;
    QPointer<QWidget> slot;
    QPointer<QMdiSubWindow> document; // the tab it shows in while it is a tabbed document
    // Auto-hide: the side it collapsed to (0: docked), its tab there and the window it slides out in.
    int autoHideSide = 0;
    QPointer<QWidget> autoHideTab;
    QPointer<QWidget> flyout;
    bool slidByHover = false;
    QSize created;            // a dockable pane's size at creation: its first width or height when docked
    bool keptPlace = false;   // made where the kept layout had it, and not docked since
    bool afterLayout = false; // made after the kept layout was put back (which then had no size for it)
};

constexpr int kPaneDock = 0;
constexpr int kPaneToolBar = 1;
constexpr int kPaneStatusBar = 2;
constexpr int kPaneMenuBar = 3;

// The CCmdUI of a menu item or toolbar button: records what the handler asked.
class StateCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn = TRUE) override
    {
        CCmdUI::Enable(bOn);
        enableSet = true;
    }
    bool enableSet = false;
};

} // namespace qor::gui
