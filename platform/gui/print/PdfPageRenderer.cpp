// PDF pages rendered on a worker: the window thread keeps the page sizes and a few rendered pages behind a
// mutex, the worker a document of its own, loaded from the same file.
#include "platform/gui/print/PdfPageRenderer.h"

#include "platform/core/Messages.h"
#include "platform/gui/window/App.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>

#include <QtCore/QThreadPool>
#include <QtPdf/QPdfDocument>

namespace qor::gui {

namespace {

std::atomic<int> g_runningWorkers{0};

// Kept renderings, the least lately used dropped first: the pages around the view, a few zoomed ones.
constexpr size_t kKeptPages = 12;
constexpr qsizetype kKeptBytes = 256LL << 20;

} // namespace

struct PdfPageRenderer::Shared
{
    struct Kept
    {
        Request request;
        QImage image;
        std::uint64_t used = 0;
    };

    QString path; // set by Load, before any worker, then only read

    std::mutex mutex; // guards what follows
    HWND hWnd = nullptr;
    UINT message = 0;
    std::vector<Request> queue;     // wanted, not rendered, not begun
    Request rendering{-1, QSize()}; // the page the worker renders now
    std::vector<Kept> kept;
    std::uint64_t clock = 0;
    bool working = false; // a worker runs for this renderer
    bool stopped = false;

    Kept* Find(const Request& request)
    {
        for (Kept& k : kept)
            if (k.request == request) return &k;
        return nullptr;
    }

    void Keep(const Request& request, QImage image)
    {
        if (Kept* k = Find(request))
        {
            k->image = std::move(image);
            k->used = ++clock;
            return;
        }
        kept.push_back(Kept{request, std::move(image), ++clock});
        auto bytes = [&] {
            qsizetype total = 0;
            for (const Kept& k : kept) total += k.image.sizeInBytes();
            return total;
        };
        while (kept.size() > 1 && (kept.size() > kKeptPages || bytes() > kKeptBytes))
            kept.erase(std::min_element(kept.begin(), kept.end(),
                                        [](const Kept& a, const Kept& b) { return a.used < b.used; }));
    }
};

namespace {
constexpr int kPagesMeasured = 64;
} // namespace

PdfPageRenderer::PdfPageRenderer() : m_shared(std::make_shared<Shared>()) {}

PdfPageRenderer::~PdfPageRenderer() { Stop(); }

bool PdfPageRenderer::Load(const QString& path)
{
    // Read on a worker, the windows painting meanwhile: the file of a table of tens of thousands of
    // pages takes a quarter of a second and more to open.
    std::vector<QSizeF> sizes;
    RunWorkOffWindowThread(
        [&path, &sizes] {
            QPdfDocument document;
            if (path.isEmpty() || document.load(path) != QPdfDocument::Error::None) return;
            // A print job puts every page on its printer's one page layout: past the first pages, a
            // page is taken to have the size of the last one read.
            const int count = document.pageCount();
            for (int i = 0; i < count; ++i)
                sizes.push_back(i < kPagesMeasured ? document.pagePointSize(i) : sizes.back());
        },
        nullptr);
    if (sizes.empty()) return false;
    m_sizes = std::move(sizes);
    m_shared->path = path;
    return true;
}

void PdfPageRenderer::NotifyTo(HWND hWnd, UINT message)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->hWnd = hWnd;
    m_shared->message = message;
}

QSizeF PdfPageRenderer::PagePointSize(int index) const
{
    return index >= 0 && index < PageCount() ? m_sizes[static_cast<size_t>(index)] : QSizeF();
}

QImage PdfPageRenderer::Rendered(int index, QSize deviceSize)
{
    std::lock_guard lock(m_shared->mutex);
    Shared::Kept* k = m_shared->Find(Request(index, deviceSize));
    if (!k) return QImage();
    k->used = ++m_shared->clock;
    return k->image;
}

QImage PdfPageRenderer::Nearest(int index) const
{
    std::lock_guard lock(m_shared->mutex);
    const Shared::Kept* best = nullptr;
    for (const Shared::Kept& k : m_shared->kept)
        if (k.request.first == index && (!best || k.image.width() > best->image.width())) best = &k;
    return best ? best->image : QImage();
}

void PdfPageRenderer::Want(const std::vector<Request>& pages)
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->stopped || m_shared->path.isEmpty()) return;
        m_shared->queue.clear();
        for (const Request& page : pages)
            if (page.first >= 0 && page.first < PageCount() && !page.second.isEmpty() && !m_shared->Find(page) &&
                page != m_shared->rendering &&
                std::find(m_shared->queue.begin(), m_shared->queue.end(), page) == m_shared->queue.end())
                m_shared->queue.push_back(page);
        if (m_shared->queue.empty() || m_shared->working) return;
        m_shared->working = true;
    }
    // The task holds the shared state, not the renderer: it may outlive the window, not the program
    // (CWinApp::ExitInstance waits for the global pool). It takes the state from a hand-over queue of our own:
    // the pool's hand-over to a thread it reuses is not one that a thread checker sees.
    ++g_runningWorkers;
    {
        std::lock_guard lock(HandOverMutex());
        HandOver().push_back(m_shared);
    }
    QThreadPool::globalInstance()->start([] {
        std::shared_ptr<Shared> shared;
        {
            std::lock_guard lock(HandOverMutex());
            shared = std::move(HandOver().front());
            HandOver().pop_front();
        }
        Work(shared);
        shared.reset(); // the last holder may be this task: the state goes before the count says so
        --g_runningWorkers;
    });
}

std::mutex& PdfPageRenderer::HandOverMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::deque<std::shared_ptr<PdfPageRenderer::Shared>>& PdfPageRenderer::HandOver()
{
    static std::deque<std::shared_ptr<Shared>> tasks; // one for each task started and not yet begun
    return tasks;
}

void PdfPageRenderer::Stop()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->stopped = true;
    m_shared->queue.clear();
}

int PdfPageRenderer::RunningWorkers() { return g_runningWorkers.load(); }

// On the worker: the wanted pages one at a time, until none is left or the window has gone. The document is
// the worker's own and goes with it, on its thread.
void PdfPageRenderer::Work(const std::shared_ptr<Shared>& shared)
{
    std::unique_ptr<QPdfDocument> document;
    bool loaded = false;
    for (;;)
    {
        Request page;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->stopped || shared->queue.empty())
            {
                shared->working = false;
                break;
            }
            page = shared->rendering = shared->queue.front();
            shared->queue.erase(shared->queue.begin());
        }
        if (!document)
        {
            document = std::make_unique<QPdfDocument>();
            loaded = document->load(shared->path) == QPdfDocument::Error::None;
        }
        QImage image = loaded ? document->render(page.first, page.second) : QImage();
        if (image.isNull())
        {
            // A page that cannot be rendered (the file gone or changed) shows white, once.
            image = QImage(page.second, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
        }
        std::lock_guard lock(shared->mutex);
        shared->rendering = Request(-1, QSize());
        if (shared->stopped) continue; // dropped; the loop ends
        shared->Keep(page, std::move(image));
        // Under the lock: Stop() cannot come between the check and the post, so nothing is posted to a window
        // after it has stopped its renderer.
        if (shared->hWnd) ::PostMessage(shared->hWnd, shared->message, static_cast<WPARAM>(page.first), 0);
    }
    document.reset();
}

} // namespace qor::gui
