// The count of open modal windows and the messages waiting for the last of them to close.
#include "platform/core/ModalWindowScope.h"

#include "platform/core/Messages.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace {

struct Waiting
{
    std::mutex mutex;
    int open = 0;
    std::vector<std::pair<HWND, UINT>> posts;
};

Waiting& State()
{
    static Waiting state;
    return state;
}

void Post(const std::vector<std::pair<HWND, UINT>>& posts)
{
    for (const auto& [hWnd, msg] : posts) PostMessage(hWnd, msg, 0, 0);
}

} // namespace

namespace qor {

ModalWindowScope::ModalWindowScope()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    ++State().open;
}

ModalWindowScope::~ModalWindowScope()
{
    std::vector<std::pair<HWND, UINT>> due;
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        if (--State().open == 0) due.swap(State().posts);
    }
    Post(due);
}

int ModalWindowScope::Count()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().open;
}

void ModalWindowScope::PostWhenNone(HWND hWnd, UINT msg)
{
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        if (State().open > 0)
        {
            auto& posts = State().posts;
            if (std::find(posts.begin(), posts.end(), std::make_pair(hWnd, msg)) == posts.end())
                posts.emplace_back(hWnd, msg);
            return;
        }
    }
    PostMessage(hWnd, msg, 0, 0);
}

} // namespace qor
