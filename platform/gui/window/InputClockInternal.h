// When input was made: the window system stamps each input event in its own clock; the application
// notes how that clock stands against the program's, so that a window can tell the keys pressed
// before it appeared (queued while the window thread was busy) from those pressed for it.
#pragma once

#include <cstdint>

namespace qor::gui {

// The program's clock in milliseconds (monotonic).
std::uint32_t InputClockNowMs();
// An input event with this stamp (0: none) was delivered now.
void NoteInputStamp(std::uint64_t stamp);
// Whether an input event with this stamp was made before the program's clock read sinceMs. False
// when that cannot be told (no stamp, no input seen before).
bool IsInputMadeBefore(std::uint64_t stamp, std::uint32_t sinceMs);

} // namespace qor::gui
