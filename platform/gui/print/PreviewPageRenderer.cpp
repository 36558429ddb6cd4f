// Preview pages rendered on a worker: the window thread keeps the page sizes, and a few rendered pages and
// recordings behind a mutex; the worker a PDF document of its own, loaded from the same file, or a picture of
// its own made from a recording's data.
#include "platform/gui/print/PreviewPageRenderer.h"

#include "platform/core/Messages.h"
#include "platform/gui/window/App.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>

#include <QtCore/QThreadPool>
#include <QtGui/QPainter>
#include <QtGui/QPicture>
#include <QtPdf/QPdfDocument>

namespace qor::gui {

namespace {

std::atomic<int> g_runningWorkers{0};

// Kept renderings, the least lately used dropped first: the pages around the view, a few zoomed ones.
constexpr size_t kKeptPages = 12;
constexpr qsizetype kKeptBytes = 256LL << 20;
// Kept recordings of pages: those shown and about them (a page of a table records in some tens of kB).
constexpr size_t kKeptRecordings = 16;

} // namespace

struct PreviewPageRenderer::Shared
{
    struct Kept
    {
        Request request;
        QImage image;
        std::uint64_t used = 0;
    };

    QString path; // set by Load, before any worker, then only read
    bool recorded = false;
    Paper paper; // of recorded pages, set by LoadRecorded before any worker, then only read

    std::mutex mutex; // guards what follows
    HWND hWnd = nullptr;
    UINT message = 0;
    std::vector<Request> queue;     // wanted, not rendered, not begun
    Request rendering{-1, QSize()}; // the page the worker renders now
    std::vector<Kept> kept;
    std::vector<std::pair<int, QByteArray>> recordings; // the oldest first
    std::uint64_t clock = 0;
    bool working = false; // a worker runs for this renderer
    bool stopped = false;

    // The recording of a page (null when there is none).
    const QByteArray* Recording(int index) const
    {
        for (const auto& r : recordings)
            if (r.first == index) return &r.second;
        return nullptr;
    }

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

PreviewPageRenderer::PreviewPageRenderer() : m_shared(std::make_shared<Shared>()) {}

PreviewPageRenderer::~PreviewPageRenderer() { Stop(); }

bool PreviewPageRenderer::Load(const QString& path)
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

void PreviewPageRenderer::LoadRecorded(int count, const Paper& paper)
{
    m_recordedCount = std::max(count, 0);
    m_recordedSize = paper.points;
    m_shared->recorded = true;
    m_shared->paper = paper;
}

void PreviewPageRenderer::AddRecording(int index, const QByteArray& picture)
{
    std::lock_guard lock(m_shared->mutex);
    auto& kept = m_shared->recordings;
    std::erase_if(kept, [index](const auto& r) { return r.first == index; });
    kept.emplace_back(index, picture);
    if (kept.size() > kKeptRecordings) kept.erase(kept.begin());
}

bool PreviewPageRenderer::HasRecording(int index) const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->Recording(index) != nullptr;
}

void PreviewPageRenderer::NotifyTo(HWND hWnd, UINT message)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->hWnd = hWnd;
    m_shared->message = message;
}

QSizeF PreviewPageRenderer::PagePointSize(int index) const
{
    if (index < 0 || index >= PageCount()) return QSizeF();
    return IsRecorded() ? m_recordedSize : m_sizes[static_cast<size_t>(index)];
}

QImage PreviewPageRenderer::Rendered(int index, QSize deviceSize)
{
    std::lock_guard lock(m_shared->mutex);
    Shared::Kept* k = m_shared->Find(Request(index, deviceSize));
    if (!k) return QImage();
    k->used = ++m_shared->clock;
    return k->image;
}

QImage PreviewPageRenderer::Nearest(int index) const
{
    std::lock_guard lock(m_shared->mutex);
    const Shared::Kept* best = nullptr;
    for (const Shared::Kept& k : m_shared->kept)
        if (k.request.first == index && (!best || k.image.width() > best->image.width())) best = &k;
    return best ? best->image : QImage();
}

void PreviewPageRenderer::Want(const std::vector<Request>& pages)
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->stopped || (m_shared->path.isEmpty() && !m_shared->recorded)) return;
        m_shared->queue.clear();
        auto recorded = [&](int index) { return !m_shared->recorded || m_shared->Recording(index); };
        for (const Request& page : pages)
            if (page.first >= 0 && page.first < PageCount() && !page.second.isEmpty() && recorded(page.first) &&
                !m_shared->Find(page) && page != m_shared->rendering &&
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

std::mutex& PreviewPageRenderer::HandOverMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::deque<std::shared_ptr<PreviewPageRenderer::Shared>>& PreviewPageRenderer::HandOver()
{
    static std::deque<std::shared_ptr<Shared>> tasks; // one for each task started and not yet begun
    return tasks;
}

void PreviewPageRenderer::Stop()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->stopped = true;
    m_shared->queue.clear();
}

int PreviewPageRenderer::RunningWorkers() { return g_runningWorkers.load(); }

namespace {

// A recorded page played onto white paper of the size asked for. The image says it has the resolution a
// picture is taken to have, so that the toolkit plays it unscaled: it is scaled here, from the printer's pixels.
QImage RenderRecording(const QByteArray& data, QSize size, const PreviewPageRenderer::Paper& paper)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(paper.pictureDpi.x() / 0.0254));
    image.setDotsPerMeterY(qRound(paper.pictureDpi.y() / 0.0254));
    if (data.isEmpty() || paper.devicePixels.isEmpty()) return image;
    QPicture picture;
    picture.setData(data.constData(), static_cast<uint>(data.size()));
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(size.width() / paper.devicePixels.width(), size.height() / paper.devicePixels.height());
    painter.translate(paper.origin);
    painter.drawPicture(0, 0, picture);
    return image;
}

} // namespace

// On the worker: the wanted pages one at a time, until none is left or the window has gone. The document (or
// picture) is the worker's own and goes with it, on its thread.
void PreviewPageRenderer::Work(const std::shared_ptr<Shared>& shared)
{
    std::unique_ptr<QPdfDocument> document;
    bool loaded = false;
    for (;;)
    {
        Request page;
        QByteArray recording;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->stopped || shared->queue.empty())
            {
                shared->working = false;
                break;
            }
            page = shared->rendering = shared->queue.front();
            shared->queue.erase(shared->queue.begin());
            if (const QByteArray* kept = shared->Recording(page.first))
                recording = *kept; // a copy that shares the bytes, read only
        }
        QImage image;
        if (shared->recorded)
        {
            image = RenderRecording(recording, page.second, shared->paper);
        }
        else
        {
            if (!document)
            {
                document = std::make_unique<QPdfDocument>();
                loaded = document->load(shared->path) == QPdfDocument::Error::None;
            }
            image = loaded ? document->render(page.first, page.second) : QImage();
        }
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
