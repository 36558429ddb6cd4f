// Internal to the window layer: the pages of a PDF file rendered on a worker of the global thread pool, from a
// document of the worker's own, for a window that shows them (the print preview). A page of many thousands of
// curves takes a quarter of a second and more to render: the window asks for the pages it shows, draws what is
// rendered so far and is told by a posted message when a page it asked for has come.
//
//   renderer.Load(path);                             // page count and sizes, read on a worker
//   renderer.NotifyTo(m_hWnd, WM_PAGE_RENDERED);     // wParam: the page rendered (0-based)
//   QImage page = renderer.Rendered(0, size);        // in OnPaint: null until rendered
//   renderer.Want({{0, size}});                      // what the window shows now; the rest is dropped
//   renderer.Stop();                                 // in OnDestroy: no more messages
#pragma once

#include "platform/core/Types.h"

#include <QtCore/QSize>
#include <QtCore/QSizeF>
#include <QtCore/QString>
#include <QtGui/QImage>

#include <deque>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace qor::gui {

class PdfPageRenderer
{
public:
    using Request = std::pair<int, QSize>; // a page (0-based) at a size in device pixels

    PdfPageRenderer();
    // Stops: a render in flight ends on its worker and is dropped there.
    ~PdfPageRenderer();
    PdfPageRenderer(const PdfPageRenderer&) = delete;
    PdfPageRenderer& operator=(const PdfPageRenderer&) = delete;

    // Reads the file's page count and page sizes, on a worker while the windows paint (the toolkit's PDF
    // module serialises every document's calls, so what the window needs is taken here, before any page
    // renders); false when the file is no PDF with pages.
    bool Load(const QString& path);
    // Each page rendered from now on posts `message` to hWnd, the page (0-based) in wParam.
    void NotifyTo(HWND hWnd, UINT message);
    int PageCount() const { return static_cast<int>(m_sizes.size()); }
    QSizeF PagePointSize(int index) const;

    // Page `index` rendered at exactly `deviceSize`, null when it is not (yet).
    QImage Rendered(int index, QSize deviceSize);
    // The largest rendering of page `index` at hand, whatever its size (null when none): a stand-in, scaled,
    // until the page comes at its size.
    QImage Nearest(int index) const;
    // The pages the window shows now: those not rendered are rendered in this order; renders asked for
    // earlier and not begun are dropped. A worker starts when none runs.
    void Want(const std::vector<Request>& pages);
    // No more renders and no more messages; a render in flight is dropped when it ends.
    void Stop();

    // Workers that render or are about to (for every renderer of the process).
    static int RunningWorkers();

private:
    struct Shared;
    static void Work(const std::shared_ptr<Shared>& shared);
    static std::mutex& HandOverMutex();
    static std::deque<std::shared_ptr<Shared>>& HandOver();
    std::shared_ptr<Shared> m_shared;
    std::vector<QSizeF> m_sizes;
};

} // namespace qor::gui
