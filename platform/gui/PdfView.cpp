// The PDF viewer control over QPdfView and QPdfDocument.
#include "platform/gui/PdfView.h"

#include "platform/gui/ControlsInternal.h"
#include "platform/gui/Convert.h"

#include <memory>

#include <QtCore/QPointer>
#include <QtPdf/QPdfDocument>
#include <QtPdfWidgets/QPdfView>

namespace qor::gui {

namespace {

class PdfControl : public ControlBase
{
public:
    QPointer<QPdfView> view;
    // Not the view's child: the view must not be told of a document closing while it is destroyed.
    std::unique_ptr<QPdfDocument> document;

    PdfControl(WndState* s, QWidget* parentWidget)
    {
        auto* h = new Host<QPdfView>(s, true, parentWidget);
        view = h;
        s->widget = h;
        s->host = h;
        view->setPageMode(QPdfView::PageMode::MultiPage);
        view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    }

    ~PdfControl() override
    {
        if (view) view->setDocument(nullptr);
    }

    bool Control(WndState*, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) override
    {
        switch (msg) {
        case PDFM_LOADFILE: {
            const auto* path = reinterpret_cast<LPCTSTR>(lParam);
            *result = FALSE;
            if (!path || !*path) return true;
            // Loaded into a document of its own first, so that a file that fails leaves the view as it was.
            auto next = std::make_unique<QPdfDocument>();
            if (next->load(ToQString(CString(path))) != QPdfDocument::Error::None || next->pageCount() <= 0) return true;
            if (view) view->setDocument(next.get());
            document = std::move(next);
            *result = TRUE;
            return true;
        }
        case PDFM_GETPAGECOUNT: *result = document ? document->pageCount() : 0; return true;
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
