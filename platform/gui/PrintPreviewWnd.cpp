// The print preview window: the preview job's PDF pages, fitted to the window's width.
#include "platform/gui/PrintPreviewWnd.h"

#include "platform/core/MessageBox.h"
#include "platform/gui/AfxRes.h"
#include "platform/gui/Convert.h"
#include "platform/gui/SysValues.h"
#include "platform/gui/WndInternal.h"

#include <algorithm>

#include <QtCore/QFile>
#include <QtGui/QShortcut>
#include <QtWidgets/QWidget>

IMPLEMENT_DYNAMIC(CPrintPreviewWnd, CWnd)

BEGIN_MESSAGE_MAP(CPrintPreviewWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_KEYDOWN()
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_BN_CLICKED(IDCANCEL, OnCloseClicked)
END_MESSAGE_MAP()

namespace {
constexpr UINT kPagesId = 1;
// The bar under the pages that holds the Close button.
constexpr int kBarHeight = 32, kButtonWidth = 80, kButtonHeight = 24;
} // namespace

CPrintPreviewWnd* CPrintPreviewWnd::Open(LPCTSTR lpszPdfPath, LPCTSTR lpszTitle, CWnd* pOwner)
{
    auto* wnd = new CPrintPreviewWnd;
    wnd->m_path = lpszPdfPath ? lpszPdfPath : L"";
    // Most of the work area, about as wide as a turned page at that height (the plots print across).
    RECT work{0, 0, 1280, 900};
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const int cy = (work.bottom - work.top) * 9 / 10;
    const int cx = std::min<int>((work.right - work.left) * 9 / 10, cy * 4 / 3);
    const CRect rect(work.left + (work.right - work.left - cx) / 2, work.top + (work.bottom - work.top - cy) / 2, 0, 0);
    CString title = lpszTitle && *lpszTitle ? CString(lpszTitle) + L" - Print Preview" : CString(L"Print Preview");
    if (!wnd->CreateEx(0, nullptr, title, WS_OVERLAPPEDWINDOW, CRect(rect.left, rect.top, rect.left + cx, rect.top + cy),
                       pOwner, 0)) {
        // A failed creation leaves no window: the object and the file go here.
        if (!wnd->m_path.IsEmpty()) QFile::remove(qor::gui::ToQString(wnd->m_path));
        delete wnd;
        return nullptr;
    }
    if (!wnd->m_pages.LoadFile(wnd->m_path)) {
        wnd->DestroyWindow();
        return nullptr;
    }
    wnd->ShowWindow(SW_SHOW);
    return wnd;
}

int CPrintPreviewWnd::OnCreate(LPCREATESTRUCT)
{
    CRect client;
    GetClientRect(&client);
    if (!m_pages.Create(WS_CHILD | WS_VISIBLE, client, this, kPagesId)) return -1;
    if (!m_close.Create(L"Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(0, 0, kButtonWidth, kButtonHeight),
                        this, IDCANCEL))
        return -1;
    Layout(client.Width(), client.Height());
    // The pages keep the keys they scroll with; Escape reaches the window wherever the focus is.
    if (QWidget* widget = qor::gui::WidgetOf(this)) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), widget, nullptr, nullptr, Qt::WindowShortcut);
        // The shortcut is the window's widget's child, so it goes before the window does.
        QObject::connect(escape, &QShortcut::activated, escape, [this] { PostMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0); });
    }
    return 0;
}

void CPrintPreviewWnd::OnSize(UINT, int cx, int cy) { Layout(cx, cy); }

void CPrintPreviewWnd::Layout(int cx, int cy)
{
    if (m_pages.m_hWnd) m_pages.MoveWindow(0, 0, cx, std::max(0, cy - kBarHeight));
    if (m_close.m_hWnd)
        m_close.MoveWindow(std::max(0, cx - kButtonWidth - 8), std::max(0, cy - kBarHeight + (kBarHeight - kButtonHeight) / 2),
                           kButtonWidth, kButtonHeight);
}

// The file is only the preview's: it goes with the window.
void CPrintPreviewWnd::OnDestroy()
{
    if (m_close.m_hWnd) m_close.DestroyWindow();
    if (m_pages.m_hWnd) m_pages.DestroyWindow();
    if (!m_path.IsEmpty()) QFile::remove(qor::gui::ToQString(m_path));
}

// Escape closes it as it closes a dialog: without a window manager there is no other way out. Posted,
// so that the window is not destroyed inside its own key event.
void CPrintPreviewWnd::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_ESCAPE) PostMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
}

// Posted for the same reason: the button is still inside its click.
void CPrintPreviewWnd::OnCloseClicked() { PostMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0); }

void CPrintPreviewWnd::OnPreviewClose() { DestroyWindow(); }

void CPrintPreviewWnd::PostNcDestroy() { delete this; }
