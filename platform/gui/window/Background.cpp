// The work is handed over through a queue of our own: the pool's hand-over of a task to a thread it reuses is
// not one that a thread checker sees, so the task the pool runs carries nothing and takes its work from here.
#include "platform/gui/window/Background.h"

#include <QtCore/QThreadPool>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace qor::gui {

namespace {

struct HandOver
{
    std::mutex lock;
    std::condition_variable ended;
    std::deque<std::function<void()>> waiting;
    int unfinished = 0;
};

// Never destroyed: the pool's threads may still take from it while the program's statics go.
HandOver& TheHandOver()
{
    static HandOver* handOver = new HandOver;
    return *handOver;
}

} // namespace

void RunInBackground(std::function<void()> work)
{
    // After the pool has gone (the program's statics ending), there is no one to hand it to.
    QThreadPool* pool = QThreadPool::globalInstance();
    if (!pool)
    {
        work();
        return;
    }
    HandOver& h = TheHandOver();
    {
        std::lock_guard guard(h.lock);
        h.waiting.push_back(std::move(work));
        ++h.unfinished;
    }
    pool->start([] {
        HandOver& h = TheHandOver();
        std::function<void()> work;
        {
            std::lock_guard guard(h.lock);
            work = std::move(h.waiting.front());
            h.waiting.pop_front();
        }
        work();
        work = nullptr; // what it captured goes here too, before the work counts as ended
        {
            std::lock_guard guard(h.lock);
            --h.unfinished;
        }
        h.ended.notify_all();
    });
}

void WaitForBackgroundWork()
{
    HandOver& h = TheHandOver();
    std::unique_lock guard(h.lock);
    h.ended.wait(guard, [&h] { return h.unfinished == 0; });
}

} // namespace qor::gui
