// Internal to the window layer: the pages of a print preview rendered on a worker of the global thread pool, for
// the window that shows them. The pages are those of a PDF file (the worker renders from a document of its own)
// or pages the window thread recorded from a view when they were first shown (the worker plays a copy of the
// recording). A page of many thousands of curves takes a quarter of a second and more to render: the window
// asks for the pages it shows, draws what is rendered so far and is told by a posted message when a page it
// asked for has come.
//
//   renderer.Load(path);                             // page count and sizes, read on a worker
//   renderer.LoadRecorded(count, paper);             // or: pages to be recorded, all on one paper
//   renderer.AddRecording(0, picture);               // page 1's recording, before it is wanted
//   renderer.NotifyTo(m_hWnd, WM_PAGE_RENDERED);     // wParam: the page rendered (0-based)
//   QImage page = renderer.Rendered(0, size);        // in OnPaint: null until rendered
//   renderer.Want({{0, size}});                      // what the window shows now; the rest is dropped
//   renderer.Stop();                                 // in OnDestroy: no more messages
#pragma once

#include "platform/core/Types.h"

#include <QtCore/QByteArray>
#include <QtCore/QPointF>
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

class PreviewPageRenderer
{
public:
    using Request = std::pair<int, QSize>; // a page (0-based) at a size in device pixels

    // The paper of recorded pages: its size in the printer's device pixels and in points, where the
    // recording's origin is on it (the printable area's corner), and the resolution a picture is taken to
    // have when it is played (PictureDefaultDpi).
    struct Paper
    {
        QSizeF devicePixels;
        QSizeF points;
        QPointF origin;
        QPointF pictureDpi;
    };

    PreviewPageRenderer();
    // Stops: a render in flight ends on its worker and is dropped there.
    ~PreviewPageRenderer();
    PreviewPageRenderer(const PreviewPageRenderer&) = delete;
    PreviewPageRenderer& operator=(const PreviewPageRenderer&) = delete;

    // Reads the file's page count and page sizes, on a worker while the windows paint (the toolkit's PDF
    // module serialises every document's calls, so what the window needs is taken here, before any page
    // renders); false when the file is no PDF with pages.
    bool Load(const QString& path);
    // `count` pages on one paper, each rendered from the recording AddRecording gives it; a page wanted
    // without one is left until it has one.
    void LoadRecorded(int count, const Paper& paper);
    bool IsRecorded() const { return m_recordedCount > 0; }
    // A recorded page's picture data (see TakeRecordedPage); the last few are kept.
    void AddRecording(int index, const QByteArray& picture);
    bool HasRecording(int index) const;
    // Each page rendered from now on posts `message` to hWnd, the page (0-based) in wParam.
    void NotifyTo(HWND hWnd, UINT message);
    int PageCount() const { return IsRecorded() ? m_recordedCount : static_cast<int>(m_sizes.size()); }
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
    std::vector<QSizeF> m_sizes; // a PDF file's pages
    int m_recordedCount = 0;     // recorded pages
    QSizeF m_recordedSize;       // their size in points
};

} // namespace qor::gui
