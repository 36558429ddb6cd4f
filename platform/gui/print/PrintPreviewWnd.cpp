// The print preview window: a print job's pages (drawn when first shown) or a PDF file's under the preview bar,
// one or two pages at a time, whole or zoomed in.
#include "platform/gui/print/PrintPreviewWnd.h"

#include "platform/core/MessageBox.h"
#include "platform/core/Messages.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/draw/SurfaceAccess.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/print/PreviewPageRenderer.h"
#include "platform/gui/print/PrintInternal.h"
#include "platform/gui/window/AfxRes.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <algorithm>
#include <climits>
#include <cwctype>

#include <QtCore/QEvent>
#include <QtCore/QFile>
#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

IMPLEMENT_DYNAMIC(CPrintPreviewWnd, CWnd)

namespace {
// Posted by the worker when a page has been rendered; wParam: the page (0-based).
constexpr UINT WM_PREVIEW_PAGE_RENDERED = WM_APP + 0x0E31;
// Posted by a paint that shows pages of a job not yet drawn: they are drawn then, outside the paint.
constexpr UINT WM_PREVIEW_RECORD_PAGES = WM_APP + 0x0E32;

// The previews open now (window thread only).
std::vector<CPrintPreviewWnd*>& OpenPreviews()
{
    static auto* previews = new std::vector<CPrintPreviewWnd*>;
    return *previews;
}
} // namespace

BEGIN_MESSAGE_MAP(CPrintPreviewWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_DESTROY()
ON_WM_KEYDOWN()
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_WM_MOUSEWHEEL()
ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
ON_BN_CLICKED(IDCANCEL, OnCloseClicked)
ON_BN_CLICKED(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
ON_BN_CLICKED(AFX_ID_PREVIEW_NEXT, OnNextPage)
ON_BN_CLICKED(AFX_ID_PREVIEW_PREV, OnPrevPage)
ON_BN_CLICKED(AFX_ID_PREVIEW_NUMPAGE, OnNumPage)
ON_BN_CLICKED(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
ON_BN_CLICKED(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
ON_MESSAGE(WM_PREVIEW_PAGE_RENDERED, OnPageRendered)
ON_MESSAGE(WM_PREVIEW_RECORD_PAGES, OnRecordPages)
END_MESSAGE_MAP()

namespace {
constexpr UINT kPageTextId = 0xE30F;
// The bar above the pages, its buttons, and the gap around the pages.
constexpr int kBarHeight = 32, kButtonWidth = 78, kButtonHeight = 24, kGap = 8, kMaxZoom = 2;
} // namespace

struct CPrintPreviewWnd::Pages : qor::gui::PreviewPageRenderer
{};

namespace {

// The preview bar's keys, as the framework's preview answers them: Escape closes it, Alt with a button's
// underlined letter presses the button, Page Down and Page Up turn the pages; taken before the frame's
// menu bar and accelerators, and only while no menu or modal window is up.
class BarKeys : public QObject
{
public:
    BarKeys(QWidget* preview, HWND hWnd) : QObject(preview), m_preview(preview), m_hWnd(hWnd)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride) return false;
        auto* target = qobject_cast<QWidget*>(obj);
        if (!target || !m_preview->isVisible() || !::IsWindow(m_hWnd)) return false;
        if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
        if (target->window() != m_preview->window()) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        const UINT command = CommandOf(*key);
        if (!command) return false;
        // The override is taken so that no shortcut of the frame has the key; the press does the work.
        if (e->type() == QEvent::KeyPress) ::PostMessage(m_hWnd, WM_COMMAND, command, 0);
        e->accept();
        return true;
    }

private:
    // The command the key stands for (0: none of the bar's).
    UINT CommandOf(const QKeyEvent& key) const
    {
        const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier)
        {
            if (key.key() == Qt::Key_Escape) return AFX_ID_PREVIEW_CLOSE;
            if (key.key() == Qt::Key_PageDown) return AFX_ID_PREVIEW_NEXT;
            if (key.key() == Qt::Key_PageUp) return AFX_ID_PREVIEW_PREV;
            return 0;
        }
        if (mods != Qt::AltModifier || key.key() < Qt::Key_A || key.key() > Qt::Key_Z) return 0;
        const wchar_t letter = static_cast<wchar_t>(L'A' + (key.key() - Qt::Key_A));
        for (CWnd* child = CWnd::FromHandle(m_hWnd)->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        {
            CString text;
            child->GetWindowText(text);
            const int amp = text.Find(L'&');
            if (amp < 0 || amp + 1 >= text.GetLength() || static_cast<wchar_t>(towupper(text.GetAt(amp + 1))) != letter)
                continue;
            if (!child->IsWindowEnabled() || !child->IsWindowVisible()) return 0;
            const UINT id = static_cast<UINT>(child->GetDlgCtrlID());
            return id == IDCANCEL ? AFX_ID_PREVIEW_CLOSE : id;
        }
        return 0;
    }

    QWidget* m_preview;
    HWND m_hWnd;
};

} // namespace

CPrintPreviewWnd::CPrintPreviewWnd() : m_pPages(std::make_unique<Pages>()) {}
CPrintPreviewWnd::~CPrintPreviewWnd() = default;

CPrintPreviewWnd* CPrintPreviewWnd::Open(LPCTSTR lpszPdfPath, LPCTSTR lpszTitle, CWnd* pOwner, CWnd* pPrintTarget)
{
    auto* wnd = new CPrintPreviewWnd;
    wnd->m_path = lpszPdfPath ? lpszPdfPath : L"";
    wnd->m_hPrintTarget = pPrintTarget ? pPrintTarget->GetSafeHwnd() : nullptr;
    if (wnd->m_path.IsEmpty() || !wnd->m_pPages->Load(qor::gui::ToQString(wnd->m_path)))
    {
        if (!wnd->m_path.IsEmpty()) QFile::remove(qor::gui::ToQString(wnd->m_path));
        delete wnd;
        return nullptr;
    }
    return Show(wnd, lpszTitle, pOwner);
}

CPrintPreviewWnd* CPrintPreviewWnd::Open(std::unique_ptr<CPreviewPages> pPages, LPCTSTR lpszTitle, CWnd* pOwner,
                                         CWnd* pPrintTarget)
{
    QPrinter* printer = pPages ? qor::gui::PrinterOfDC(pPages->GetPrinterDC()) : nullptr;
    const UINT count = printer ? pPages->GetPageCount() : 0;
    if (count == 0) return nullptr;
    qor::gui::PreviewPageRenderer::Paper paper;
    const QRectF sheet = printer->paperRect(QPrinter::DevicePixel);
    paper.devicePixels = sheet.size();
    paper.points = printer->paperRect(QPrinter::Point).size();
    paper.origin = printer->pageRect(QPrinter::DevicePixel).topLeft() - sheet.topLeft();
    paper.pictureDpi = qor::gui::PictureDefaultDpi();
    auto* wnd = new CPrintPreviewWnd;
    wnd->m_hPrintTarget = pPrintTarget ? pPrintTarget->GetSafeHwnd() : nullptr;
    wnd->m_pPages->LoadRecorded(static_cast<int>(std::min<UINT>(count, INT_MAX)), paper);
    wnd->m_pJob = std::move(pPages);
    return Show(wnd, lpszTitle, pOwner);
}

void CPrintPreviewWnd::ClosePreviews(CWnd* pView, CWnd* pOwner)
{
    const HWND view = pView ? pView->GetSafeHwnd() : nullptr;
    const HWND owner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    std::vector<HWND> closing;
    for (CPrintPreviewWnd* preview : OpenPreviews())
        if ((view && preview->m_hPrintTarget == view) || (owner && ::GetParent(preview->m_hWnd) == owner))
            closing.push_back(preview->m_hWnd);
    // By handle: one preview's close may take another with it.
    for (HWND h : closing)
        if (::IsWindow(h)) CWnd::FromHandle(h)->DestroyWindow();
}

CPrintPreviewWnd* CPrintPreviewWnd::Show(CPrintPreviewWnd* wnd, LPCTSTR lpszTitle, CWnd* pOwner)
{
    CString title = lpszTitle && *lpszTitle ? CString(lpszTitle) + L" - Print Preview" : CString(L"Print Preview");
    if (auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, pOwner); frame && frame->m_hWnd)
    {
        // In a frame the preview takes the frame's place: its bar at the top, the pages in the client
        // area, over the frame's bars and panes until it is closed. One at a time, as in the framework.
        for (CWnd* child = frame->GetWindow(GW_CHILD); child;)
        {
            CWnd* next = child->GetWindow(GW_HWNDNEXT);
            if (auto* earlier = DYNAMIC_DOWNCAST(CPrintPreviewWnd, child)) earlier->DestroyWindow();
            child = next;
        }
        CRect client;
        frame->GetClientRect(&client);
        if (!wnd->CreateEx(0, nullptr, title, WS_CHILD | WS_CLIPCHILDREN, client, frame, 0))
        {
            QFile::remove(qor::gui::ToQString(wnd->m_path));
            delete wnd;
            return nullptr;
        }
        wnd->FollowFrame(frame);
        wnd->ShowWindow(SW_SHOW);
        wnd->SetFocus();
        return wnd;
    }
    // Elsewhere a window of its own: most of the work area, about as wide as a turned page at that height
    // (the plots print across).
    RECT work{0, 0, 1280, 900};
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const int cy = (work.bottom - work.top) * 9 / 10;
    const int cx = std::min<int>((work.right - work.left) * 9 / 10, cy * 4 / 3);
    const CRect rect(work.left + (work.right - work.left - cx) / 2, work.top + (work.bottom - work.top - cy) / 2, 0, 0);
    if (!wnd->CreateEx(0, nullptr, title, WS_OVERLAPPEDWINDOW,
                       CRect(rect.left, rect.top, rect.left + cx, rect.top + cy), pOwner, 0))
    {
        // A failed creation leaves no window: the object and the file go here.
        QFile::remove(qor::gui::ToQString(wnd->m_path));
        delete wnd;
        return nullptr;
    }
    wnd->ShowWindow(SW_SHOW);
    return wnd;
}

// Keeps the preview over the whole client area of the frame it stands in, and in front of the frame's bars.
void CPrintPreviewWnd::FollowFrame(CFrameWnd* frame)
{
    QWidget* area = qor::gui::WidgetOf(frame);
    QWidget* self = qor::gui::WidgetOf(this);
    if (!area || !self) return;
    self->raise();
    // By handle: the preview and its widget may go at different times.
    struct Follower : QObject
    {
        HWND preview, frame;
        Follower(QObject* parent, HWND p, HWND f) : QObject(parent), preview(p), frame(f) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if ((e->type() == QEvent::Resize || e->type() == QEvent::LayoutRequest) && ::IsWindow(preview) &&
                ::IsWindow(frame))
            {
                CRect client;
                CWnd::FromHandle(frame)->GetClientRect(&client);
                CWnd* wnd = CWnd::FromHandle(preview);
                wnd->MoveWindow(&client);
                if (QWidget* w = qor::gui::WidgetOf(wnd)) w->raise();
            }
            return false;
        }
    };
    area->installEventFilter(new Follower(self, m_hWnd, frame->m_hWnd));
}

int CPrintPreviewWnd::GetPageCount() const { return m_pPages->PageCount(); }

bool CPrintPreviewWnd::IsPageRendered(int nPage) const
{
    return !GetPageRect(nPage).IsRectEmpty() &&
           std::find(m_rendered.begin(), m_rendered.end(), nPage) != m_rendered.end();
}

int CPrintPreviewWnd::GetRenderingWorkers() { return qor::gui::PreviewPageRenderer::RunningWorkers(); }

int CPrintPreviewWnd::OnCreate(LPCREATESTRUCT)
{
    OpenPreviews().push_back(this);
    m_pPages->NotifyTo(m_hWnd, WM_PREVIEW_PAGE_RENDERED);
    struct Button
    {
        CButton& button;
        LPCTSTR text;
        UINT id;
    };
    const Button buttons[] = {
        {m_print, L"&Print...", AFX_ID_PREVIEW_PRINT},
        {m_next, L"&Next Page", AFX_ID_PREVIEW_NEXT},
        {m_prev, L"Pre&v Page", AFX_ID_PREVIEW_PREV},
        {m_numPage, L"&Two Page", AFX_ID_PREVIEW_NUMPAGE},
        {m_zoomIn, L"Zoom &In", AFX_ID_PREVIEW_ZOOMIN},
        {m_zoomOut, L"Zoom &Out", AFX_ID_PREVIEW_ZOOMOUT},
        {m_close, L"&Close", IDCANCEL},
    };
    for (const Button& b : buttons)
        if (!b.button.Create(b.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                             CRect(0, 0, kButtonWidth, kButtonHeight), this, b.id))
            return -1;
    if (!m_pageText.Create(L"", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(0, 0, 100, kButtonHeight), this, kPageTextId))
        return -1;
    CRect client;
    GetClientRect(&client);
    Layout(client.Width(), client.Height());
    ShowPages();
    // The bar's keys reach it wherever the focus is in the window it stands in (the frame keeps its
    // own focus window behind the preview). The watcher is the preview's widget's child: it goes first.
    if (QWidget* widget = qor::gui::WidgetOf(this)) new BarKeys(widget, m_hWnd);
    return 0;
}

void CPrintPreviewWnd::OnSize(UINT, int cx, int cy)
{
    Layout(cx, cy);
    ShowPages();
}

void CPrintPreviewWnd::Layout(int cx, int)
{
    CButton* row[] = {&m_print, &m_next, &m_prev, &m_numPage, &m_zoomIn, &m_zoomOut, &m_close};
    int x = 4;
    const int y = (kBarHeight - kButtonHeight) / 2;
    for (CButton* b : row)
    {
        if (b->m_hWnd) b->MoveWindow(x, y, kButtonWidth, kButtonHeight);
        x += kButtonWidth + 4;
    }
    if (m_pageText.m_hWnd) m_pageText.MoveWindow(x + 8, y + 4, std::max(0, cx - x - 12), kButtonHeight - 4);
}

CRect CPrintPreviewWnd::PageArea() const
{
    CRect client;
    GetClientRect(&client);
    client.top = std::min<LONG>(client.bottom, kBarHeight);
    return client;
}

CSize CPrintPreviewWnd::PageSize() const
{
    const QSizeF points = m_pPages->PagePointSize(m_nPage - 1);
    const CRect area = PageArea();
    if (points.isEmpty() || area.IsRectEmpty()) return CSize(0, 0);
    const double aspect = points.height() / points.width();
    double width = 0;
    if (m_nZoom == 0)
    {
        // Whole pages side by side in the area.
        const double across = (area.Width() - kGap * (m_nPages + 1)) / static_cast<double>(m_nPages);
        width = std::min(across, (area.Height() - 2 * kGap) / aspect);
    }
    else
    {
        width = (area.Width() - 2 * kGap) * (m_nZoom == 1 ? 1.0 : 2.0);
    }
    width = std::max(width, 1.0);
    return CSize(static_cast<int>(width), static_cast<int>(width * aspect));
}

CRect CPrintPreviewWnd::GetPageRect(int nPage) const
{
    if (nPage < m_nPage || nPage >= m_nPage + m_nPages || nPage > GetPageCount()) return CRect();
    const CSize page = PageSize();
    const CRect area = PageArea();
    const int shown = std::min(m_nPages, GetPageCount() - m_nPage + 1);
    const int total = shown * page.cx + (shown - 1) * kGap;
    // Centred while they fit; scrolled from the gap when they do not.
    int left = area.left + std::max(kGap, (area.Width() - total) / 2) - m_scroll.x;
    int top = area.top + std::max(kGap, (area.Height() - page.cy) / 2) - m_scroll.y;
    left += (nPage - m_nPage) * (page.cx + kGap);
    return CRect(left, top, left + page.cx, top + page.cy);
}

void CPrintPreviewWnd::ShowPages()
{
    if (!m_hWnd) return;
    const int count = GetPageCount();
    if (m_nZoom > 0) m_nPages = 1;
    m_nPage = std::clamp(m_nPage, 1, std::max(1, count));
    CString text;
    if (m_nPages == 2 && m_nPage < count)
        text.Format(L"Pages %d-%d", m_nPage, m_nPage + 1);
    else
        text.Format(L"Page %d", m_nPage);
    if (m_pageText.m_hWnd) m_pageText.SetWindowText(text);
    if (m_next.m_hWnd)
    {
        m_next.EnableWindow(m_nPage + m_nPages <= count);
        m_prev.EnableWindow(m_nPage > 1);
        m_numPage.SetWindowText(m_nPages == 2 ? L"&One Page" : L"&Two Page");
        m_numPage.EnableWindow(m_nZoom == 0 && count > 1);
        m_zoomIn.EnableWindow(m_nZoom < kMaxZoom);
        m_zoomOut.EnableWindow(m_nZoom > 0);
    }
    // Scroll bars for what a zoomed page has beyond the area.
    const CSize page = PageSize();
    const CRect area = PageArea();
    const CSize content(page.cx + 2 * kGap, page.cy + 2 * kGap);
    const bool zoomed = m_nZoom > 0;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = zoomed ? content.cy - 1 : 0;
    si.nPage = static_cast<UINT>(std::max<LONG>(area.Height(), 1));
    m_scroll.y = zoomed ? std::clamp<int>(m_scroll.y, 0, std::max<int>(0, content.cy - area.Height())) : 0;
    si.nPos = m_scroll.y;
    SetScrollInfo(SB_VERT, &si, TRUE);
    si.nMax = zoomed ? content.cx - 1 : 0;
    si.nPage = static_cast<UINT>(std::max<LONG>(area.Width(), 1));
    m_scroll.x = zoomed ? std::clamp<int>(m_scroll.x, 0, std::max<int>(0, content.cx - area.Width())) : 0;
    si.nPos = m_scroll.x;
    SetScrollInfo(SB_HORZ, &si, TRUE);
    m_rendered.clear(); // until the pages are painted again as they are shown now
    Invalidate(FALSE);
}

// The pages as white sheets with their shadow and frame, each with its rendering at the size shown when it is
// at hand, else with its last rendering scaled, if any; what is missing is asked of the worker, which posts
// WM_PREVIEW_PAGE_RENDERED when it comes.
void CPrintPreviewWnd::OnPaint()
{
    bool erase = false;
    const CRect update = qor::gui::BeginPaint(this, &erase);
    m_rendered.clear();
    std::vector<qor::gui::PreviewPageRenderer::Request> wanted;
    if (QImage* surface = qor::gui::WindowSurface(this))
    {
        QPainter p(surface);
        CRect client;
        GetClientRect(&client);
        p.fillRect(qor::gui::ToQRect(CRect(0, 0, client.right, kBarHeight)),
                   qor::gui::ToQColor(GetSysColor(COLOR_BTNFACE)));
        p.fillRect(qor::gui::ToQRect(PageArea()), qor::gui::ToQColor(GetSysColor(COLOR_APPWORKSPACE)));
        const double ratio = surface->devicePixelRatio();
        for (int n = m_nPage; n < m_nPage + m_nPages && n <= GetPageCount(); ++n)
        {
            const CRect r = GetPageRect(n);
            const QRect target = qor::gui::ToQRect(r);
            p.fillRect(target.translated(3, 3), Qt::black); // the page's shadow
            p.fillRect(target, Qt::white);
            const QSize device(static_cast<int>(r.Width() * ratio), static_cast<int>(r.Height() * ratio));
            wanted.emplace_back(n - 1, device);
            if (const QImage page = m_pPages->Rendered(n - 1, device); !page.isNull())
            {
                p.drawImage(target, page);
                m_rendered.push_back(n);
            }
            else if (const QImage earlier = m_pPages->Nearest(n - 1); !earlier.isNull())
            {
                p.drawImage(QRectF(target), earlier);
            }
            p.setPen(Qt::black);
            p.drawRect(target.adjusted(0, 0, -1, -1));
        }
    }
    (void)update;
    qor::gui::EndPaint(this);
    m_pPages->Want(wanted);
    if (m_pJob && !m_bRecordPosted &&
        std::any_of(wanted.begin(), wanted.end(), [this](const auto& r) { return !m_pPages->HasRecording(r.first); }))
    {
        m_bRecordPosted = true;
        PostMessage(WM_PREVIEW_RECORD_PAGES);
    }
}

// The job's pages shown and not yet drawn are drawn now, each in as many slices as it takes (the windows paint
// in between), and then rendered.
LRESULT CPrintPreviewWnd::OnRecordPages(WPARAM, LPARAM)
{
    m_bRecordPosted = false;
    const HWND self = m_hWnd;
    for (int n = m_nPage; n < m_nPage + m_nPages && n <= GetPageCount(); ++n)
    {
        if (!m_pJob || m_pPages->HasRecording(n - 1)) continue;
        qor::gui::RunStepsOnWindowThread([&] { return !::IsWindow(self) || !m_pJob || m_pJob->DrawPage(n); });
        if (!::IsWindow(self) || !m_pJob) return 0;
        m_pPages->AddRecording(n - 1, qor::gui::TakeRecordedPage(m_pJob->GetPrinterDC()));
        ++m_nPagesDrawn;
    }
    Invalidate(FALSE);
    return 0;
}

// A page shown has come: painted again, from its rendering.
LRESULT CPrintPreviewWnd::OnPageRendered(WPARAM wParam, LPARAM)
{
    const int nPage = static_cast<int>(wParam) + 1;
    if (nPage >= m_nPage && nPage < m_nPage + m_nPages) Invalidate(FALSE);
    return 0;
}

void CPrintPreviewWnd::OnNextPage()
{
    if (m_nPage + m_nPages > GetPageCount()) return;
    m_nPage += m_nPages;
    m_scroll = CPoint(0, 0);
    ShowPages();
}

void CPrintPreviewWnd::OnPrevPage()
{
    if (m_nPage <= 1) return;
    m_nPage = std::max(1, m_nPage - m_nPages);
    m_scroll = CPoint(0, 0);
    ShowPages();
}

void CPrintPreviewWnd::OnNumPage()
{
    if (m_nZoom > 0) return;
    m_nPages = m_nPages == 1 && GetPageCount() > 1 ? 2 : 1;
    ShowPages();
}

void CPrintPreviewWnd::OnZoomIn()
{
    if (m_nZoom >= kMaxZoom) return;
    ++m_nZoom;
    m_scroll = CPoint(0, 0);
    ShowPages();
}

void CPrintPreviewWnd::OnZoomOut()
{
    if (m_nZoom <= 0) return;
    --m_nZoom;
    m_scroll = CPoint(0, 0);
    ShowPages();
}

void CPrintPreviewWnd::Scroll(int nBar, UINT nSBCode)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(nBar, &si);
    const int line = 40, page = static_cast<int>(si.nPage);
    int pos = si.nPos;
    switch (nSBCode)
    {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    pos = std::clamp(pos, 0, std::max(0, si.nMax - page + 1));
    (nBar == SB_VERT ? m_scroll.y : m_scroll.x) = pos;
    ShowPages();
}

void CPrintPreviewWnd::OnVScroll(UINT nSBCode, UINT, CScrollBar*) { Scroll(SB_VERT, nSBCode); }
void CPrintPreviewWnd::OnHScroll(UINT nSBCode, UINT, CScrollBar*) { Scroll(SB_HORZ, nSBCode); }

BOOL CPrintPreviewWnd::OnMouseWheel(UINT, short zDelta, CPoint)
{
    // Zoomed in, the wheel scrolls the page; whole pages, it turns them.
    if (m_nZoom > 0)
        Scroll(SB_VERT, zDelta > 0 ? SB_LINEUP : SB_LINEDOWN);
    else if (zDelta < 0)
        OnNextPage();
    else
        OnPrevPage();
    return TRUE;
}

// The file is only the preview's: it goes with the window.
void CPrintPreviewWnd::OnDestroy()
{
    auto& open = OpenPreviews();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    m_pPages->Stop(); // a render in flight is dropped on its worker; no more messages
    m_pJob.reset();   // the view's printing ends
    if (!m_path.IsEmpty()) QFile::remove(qor::gui::ToQString(m_path));
}

// Escape closes it as it closes a dialog: without a window manager there is no other way out. Posted,
// so that the window is not destroyed inside its own key event.
void CPrintPreviewWnd::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar == VK_ESCAPE)
        PostMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
    else if (nChar == VK_NEXT)
        OnNextPage();
    else if (nChar == VK_PRIOR)
        OnPrevPage();
}

// Posted for the same reason: the button is still inside its click.
void CPrintPreviewWnd::OnCloseClicked() { PostMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0); }

// The preview closes (and its view's printing ends), then the view it showed prints, with the print dialog, as
// File > Print does.
void CPrintPreviewWnd::OnPreviewPrint()
{
    PostMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
    if (m_hPrintTarget && ::IsWindow(m_hPrintTarget)) ::PostMessage(m_hPrintTarget, WM_COMMAND, ID_FILE_PRINT, 0);
}

void CPrintPreviewWnd::OnPreviewClose() { DestroyWindow(); }

void CPrintPreviewWnd::PostNcDestroy() { delete this; }
