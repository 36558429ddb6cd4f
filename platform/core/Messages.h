// Window messages that cross threads: registered message ids and posting to a window.
// The window layer installs the real message sink; tests install one that records posts.
#pragma once

#include "platform/core/Types.h"

#include <functional>

// Registered messages: one id per name, from 0xC000 up, the same in every thread.
UINT RegisterWindowMessage(const wchar_t* name);
UINT RegisterWindowMessageW(const wchar_t* name);

// Posts a message to a window from any thread; never blocks. Returns FALSE when there is
// no receiver (no sink installed, or the window is gone); the sender then frees any heap
// payload it passed.
BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace qor {

// Receiver of posted messages. Called on the posting thread; must not block.
using PostSink = std::function<bool(HWND, UINT, WPARAM, LPARAM)>;

// Installs the sink (an empty function removes it); returns the previous one.
PostSink SetPostSink(PostSink sink);

// The application's main window, to which the engine posts progress and status lines.
void SetMainWindowHandle(HWND hWnd);
HWND GetMainWindowHandle();

// Posts to the main window (FALSE when there is none).
BOOL PostToMainWindow(UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace qor
