// The PDF viewer control: the pages of a QPdfDocument one under the other, what is printed on them fitted
// to the width, rendered for the screen's device pixels as they are drawn.
#include "platform/gui/widgets/PdfView.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/widgets/ControlsInternal.h"
#include "platform/gui/widgets/PdfPageCache.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QtCore/QPointer>
#include <QtGui/QPainter>
#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QScrollBar>

namespace qor::gui {

namespace {

// The pages in a scroll area, one under the other with a gap between them; what is printed on them is
// as wide as the view less the gaps.
class PdfPages : public QAbstractScrollArea
{
public:
    explicit PdfPages(QWidget* parent = nullptr) : QAbstractScrollArea(parent)
    {
        viewport()->setBackgroundRole(QPalette::Dark);
        viewport()->setAutoFillBackground(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        verticalScrollBar()->setSingleStep(40);
    }

    // Shows the cache's document from its first page.
    void Show(std::unique_ptr<PdfPageCache> pages)
    {
        m_pages = std::move(pages);
        FindPrintedColumns();
        verticalScrollBar()->setValue(0);
        Layout();
        viewport()->update();
    }
    int PageCount() const { return m_pages ? m_pages->document.pageCount() : 0; }

    // Where page `index` is in the viewport now: its printed columns as wide as the view less the gaps,
    // its empty margins beyond them.
    QRect PageRect(int index) const
    {
        if (index < 0 || index >= static_cast<int>(m_tops.size())) return QRect();
        const int width = PageWidth();
        return QRect(kGap - qRound(m_printedLeft * width),
                     m_tops[static_cast<size_t>(index)] - verticalScrollBar()->value(), width,
                     m_heights[static_cast<size_t>(index)]);
    }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QAbstractScrollArea::resizeEvent(e);
        Layout();
    }
    void scrollContentsBy(int, int) override { viewport()->update(); }

    void paintEvent(QPaintEvent*) override
    {
        if (!m_pages) return;
        QPainter painter(viewport());
        const qreal ratio = viewport()->devicePixelRatioF();
        const QRect shown = viewport()->rect();
        for (int i = 0; i < PageCount(); ++i)
        {
            const QRect r = PageRect(i);
            if (!r.intersects(shown)) continue;
            // The band of the page in view: the margins beyond the view are not drawn.
            const QRect band(kGap, r.top(), std::max(1, shown.width() - 2 * kGap), r.height());
            painter.fillRect(band.translated(2, 2), palette().color(QPalette::Shadow));
            QImage page = m_pages->Page(i, QSize(qRound(r.width() * ratio), qRound(r.height() * ratio)));
            page.setDevicePixelRatio(ratio);
            painter.fillRect(band, Qt::white);
            painter.save();
            painter.setClipRect(band);
            painter.drawImage(r.topLeft(), page);
            painter.restore();
        }
    }

private:
    static constexpr int kGap = 8;

    // The page's width at which its printed columns fill the view less the gaps.
    int PageWidth() const
    {
        const int view = std::max(1, viewport()->width() - 2 * kGap);
        return std::max(1, qRound(view / std::max(0.05, m_printedRight - m_printedLeft)));
    }

    // The columns of the pages that have print on them (of the first few pages, as fractions of the page's
    // width, with a little white either side): the page is fitted to the view by them, so that wide empty
    // margins do not make the text small.
    void FindPrintedColumns()
    {
        m_printedLeft = 0, m_printedRight = 1;
        constexpr int kSampleWidth = 200, kSamplePages = 6;
        int left = kSampleWidth, right = -1;
        for (int i = 0; i < std::min(PageCount(), kSamplePages); ++i)
        {
            const QSizeF points = m_pages->document.pagePointSize(i);
            if (points.width() <= 0) continue;
            const QSize size(kSampleWidth, std::max(1, qRound(kSampleWidth * points.height() / points.width())));
            // On white: what the page leaves clear may come back transparent.
            QImage page(size, QImage::Format_RGB32);
            page.fill(Qt::white);
            QPainter(&page).drawImage(0, 0, m_pages->document.render(i, size));
            for (int y = 0; y < page.height(); ++y)
            {
                const auto* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
                for (int x = 0; x < page.width(); ++x)
                    if (qGray(line[x]) < 240)
                    {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            }
        }
        if (right < left) return;
        const double pad = 0.03;
        m_printedLeft = std::max(0.0, left / double(kSampleWidth) - pad);
        m_printedRight = std::min(1.0, (right + 1) / double(kSampleWidth) + pad);
    }

    void Layout()
    {
        m_tops.clear();
        m_heights.clear();
        const int width = PageWidth();
        int y = kGap;
        for (int i = 0; i < PageCount(); ++i)
        {
            const QSizeF points = m_pages->document.pagePointSize(i);
            const int height = points.width() > 0 ? qRound(width * points.height() / points.width()) : width;
            m_tops.push_back(y);
            m_heights.push_back(height);
            y += height + kGap;
        }
        verticalScrollBar()->setPageStep(viewport()->height());
        verticalScrollBar()->setRange(0, std::max(0, y - viewport()->height()));
    }

    std::unique_ptr<PdfPageCache> m_pages;
    std::vector<int> m_tops, m_heights;
    double m_printedLeft = 0, m_printedRight = 1; // the printed columns, as fractions of the page's width
};

class PdfControl : public ControlBase
{
public:
    QPointer<PdfPages> view;

    PdfControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<PdfPages>(s, true, parentWidget);
        view = h;
        s->widget = h;
        s->host = h;
    }

    bool Control(WndState*, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        switch (msg)
        {
        case PDFM_LOADFILE: {
            const auto* path = reinterpret_cast<LPCTSTR>(lParam);
            *result = FALSE;
            if (!path || !*path || !view) return true;
            // Loaded on its own first, so that a file that fails leaves the view as it was.
            auto next = std::make_unique<PdfPageCache>();
            if (next->document.load(ToQString(CString(path))) != QPdfDocument::Error::None ||
                next->document.pageCount() <= 0)
                return true;
            view->Show(std::move(next));
            *result = TRUE;
            return true;
        }
        case PDFM_GETPAGECOUNT: *result = view ? view->PageCount() : 0; return true;
        case PDFM_GETPAGERECT: {
            const QRect r = view ? view->PageRect(static_cast<int>(wParam)) : QRect();
            *result = FALSE;
            if (r.isNull() || !lParam) return true;
            const QPoint origin = view->viewport()->mapTo(view, QPoint(0, 0));
            *reinterpret_cast<RECT*>(lParam) = FromQRect(r.translated(origin));
            *result = TRUE;
            return true;
        }
        case WM_GETDLGCODE: *result = 0; return true;
        default: return false;
        }
    }
};

NativeControl* NewPdfControl(WndState* s, QWidget* parentWidget) { return new PdfControl(s, parentWidget); }

} // namespace

} // namespace qor::gui

IMPLEMENT_DYNAMIC(CPdfViewCtrl, CWnd)

BOOL CPdfViewCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPCTSTR lpszWindowName)
{
    static const bool registered = [] {
        qor::gui::RegisterNativeControlClass(PDF_VIEW_CLASS, qor::gui::NewPdfControl);
        return true;
    }();
    (void)registered;
    return CWnd::Create(PDF_VIEW_CLASS, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CPdfViewCtrl::LoadFile(LPCTSTR lpszPath)
{
    return m_hWnd ? static_cast<BOOL>(SendMessage(PDFM_LOADFILE, 0, reinterpret_cast<LPARAM>(lpszPath))) : FALSE;
}

int CPdfViewCtrl::GetPageCount() const
{
    return m_hWnd ? static_cast<int>(const_cast<CPdfViewCtrl*>(this)->SendMessage(PDFM_GETPAGECOUNT)) : 0;
}
