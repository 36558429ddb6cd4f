// The window system's input stamps against the program's clock: the least difference seen between the
// two is the one with no delay in the queue (window-thread only).
#include "platform/gui/window/InputClockInternal.h"

#include <chrono>
#include <optional>

namespace {

// The program's clock less the window system's, the least seen; both wrap at 32 bits.
std::optional<std::uint32_t> g_offset;

} // namespace

namespace qor::gui {

std::uint32_t InputClockNowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void NoteInputStamp(std::uint64_t stamp)
{
    if (stamp == 0) return;
    const std::uint32_t offset = InputClockNowMs() - static_cast<std::uint32_t>(stamp);
    if (!g_offset || static_cast<std::int32_t>(offset - *g_offset) < 0) g_offset = offset;
}

bool IsInputMadeBefore(std::uint64_t stamp, std::uint32_t sinceMs)
{
    if (stamp == 0 || !g_offset) return false;
    const std::uint32_t made = static_cast<std::uint32_t>(stamp) + *g_offset;
    return static_cast<std::int32_t>(made - sinceMs) < 0;
}

} // namespace qor::gui
