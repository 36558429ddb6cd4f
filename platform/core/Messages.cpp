// Window messages that cross threads: registered message ids and posting to a window.
#include "platform/core/Messages.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>

namespace {

std::mutex& RegistryMutex()
{
    static std::mutex m;
    return m;
}

std::mutex& SinkMutex()
{
    static std::mutex m;
    return m;
}

qor::PostSink& Sink()
{
    static qor::PostSink sink;
    return sink;
}

std::atomic<HWND> g_mainWnd{nullptr};

} // namespace

UINT RegisterWindowMessage(const wchar_t* name)
{
    if (!name || !*name) return 0;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    static std::map<std::wstring, UINT> ids;
    auto [it, inserted] = ids.try_emplace(name, static_cast<UINT>(0xC000 + ids.size()));
    return it->second;
}

UINT RegisterWindowMessageW(const wchar_t* name) { return RegisterWindowMessage(name); }

BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    qor::PostSink sink;
    {
        std::lock_guard<std::mutex> lock(SinkMutex());
        sink = Sink();
    }
    if (!sink || !hWnd) return FALSE;
    return sink(hWnd, msg, wParam, lParam) ? TRUE : FALSE;
}

BOOL PostMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) { return PostMessage(hWnd, msg, wParam, lParam); }

namespace qor {

PostSink SetPostSink(PostSink sink)
{
    std::lock_guard<std::mutex> lock(SinkMutex());
    PostSink old = std::move(Sink());
    Sink() = std::move(sink);
    return old;
}

void SetMainWindowHandle(HWND hWnd) { g_mainWnd.store(hWnd); }
HWND GetMainWindowHandle() { return g_mainWnd.load(); }

BOOL PostToMainWindow(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return PostMessage(GetMainWindowHandle(), msg, wParam, lParam);
}

} // namespace qor
