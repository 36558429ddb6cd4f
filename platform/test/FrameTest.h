// Headless test support for applications, documents and frames: start an application
// object without its message loop, run its idle work, drive commands the way menus,
// toolbars and keys do, and answer file dialogs from a script.
#pragma once

#include "platform/gui/frame/Bars.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/window/App.h"

#include <deque>
#include <string>
#include <vector>

namespace qor::test {

// InitInstance of the application (the offscreen toolkit made first); its result.
BOOL StartApplication(CWinApp& app);
// Closes every document without asking, destroys the main window, then ExitInstance.
int StopApplication(CWinApp& app);
// The application's idle work (toolbar update handlers), as the loop runs it.
void RunIdle(CWinApp& app);
// The main window as an MDI frame (nullptr when it is not one).
CMDIFrameWnd* MainFrame();
// A command as a menu item sends it (WM_COMMAND to the main frame, code 0).
void SendMenuCommand(UINT nID);
// File > Save of the active document through the main frame's menu path.
void SaveActiveDocument();
// The pixel (x, y) of the picture a frame's menu item shows, drawn for a screen of pixel ratio `ratio`
// (x and y in device pixels); 0xFFFFFFFF when the item shows none or the pixel is transparent.
COLORREF MenuItemPicturePixel(CFrameWnd* frame, UINT nID, int x, int y, double ratio = 1.0);
// The text of the tab an MDI child window shows in its tab group (empty when it has none).
CString MDITabText(CMDIFrameWnd* frame, CMDIChildWnd* child);
// A unique path for a file in this test program's temporary folder (the folder and all in it go
// when the program ends).
std::string TempFilePath(const std::string& name);

// The pointer on a menu item of the frame's menu bar (its menu opened from the bar), and the menus
// closed again; the pointer on a toolbar button and off it again.
void HoverMenuItem(CFrameWnd* frame, UINT nID);
void CloseMenus(CFrameWnd* frame);
void HoverToolBarButton(CMFCToolBar* bar, int nIndex, bool enter = true);
// What a toolbar button shows: its label, its tip and whether it has a picture.
struct ShownToolBarButton
{
    CString label;
    CString tip;
    bool picture = false;
};
ShownToolBarButton ShownButton(CMFCToolBar* bar, int nIndex);

// Where a toolbar's button is on the screen (empty when it has no such button or does not show).
CRect ToolBarButtonScreenRect(CMFCToolBar* bar, int nIndex);
// Where a frame's toolbar is on the screen (empty when it does not show).
CRect ToolBarScreenRect(CMFCToolBar* bar);
// What a frame's toolbar shows, row by row (width * height; empty when it does not show).
std::vector<COLORREF> ToolBarPixels(CMFCToolBar* bar, int* width, int* height);
// Presses the button with Alt held and moves the pointer away to a screen point, as the user drags it
// (the offscreen toolkit ends a drag at once, where the pointer is); what it posted is run.
void AltDragToolBarButton(CMFCToolBar* bar, int nIndex, CPoint ptScreen);
// Clicks the customise button at the end of a toolbar (false when it has none), and runs what it posted.
bool ClickCustomizeButton(CMFCToolBar* bar);

// What a status-bar pane shows now (a key indicator shows nothing while its key is off).
CString ShownPaneText(CMFCStatusBar& bar, int nIndex);

// The items of the frame's pane menu (View > Toolbars and Docking Windows) as it opens: name and check.
struct PaneMenuItem
{
    CString name;
    bool checked = false;
};
std::vector<PaneMenuItem> PaneMenuItems(CFrameWnd* frame);
// Chooses the pane menu's item of that name (false when there is none).
bool ChoosePaneMenuItem(CFrameWnd* frame, const CString& name);

// File dialogs answered from a script (then cancelled), for the object's life.
class DrivenFileDialogs
{
public:
    DrivenFileDialogs();
    ~DrivenFileDialogs();
    DrivenFileDialogs(const DrivenFileDialogs&) = delete;
    DrivenFileDialogs& operator=(const DrivenFileDialogs&) = delete;
    void Answer(const CString& path) { m_paths.push_back(path); }
    int Shown() const { return m_shown; }

private:
    std::deque<CString> m_paths;
    int m_shown = 0;
    qor::gui::FileDialogDriver m_previous;
};

} // namespace qor::test
