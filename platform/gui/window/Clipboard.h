// Clipboard text (Unicode) through the toolkit's clipboard, in two shapes: the simple
// qor:: calls, and the handle-style calls the framework code uses.
#pragma once

#include "platform/core/CString.h"
#include "platform/gui/draw/WinDefs.h"

#define CF_TEXT 1u
#define CF_OEMTEXT 7u
#define CF_UNICODETEXT 13u

namespace qor {
// Puts text on the clipboard (replacing what was there). FALSE when no clipboard.
BOOL SetClipboardText(const CString& text);
// Text on the clipboard; FALSE (and an empty text) when it holds none.
BOOL GetClipboardText(CString& text);
BOOL ClipboardHasText();
} // namespace qor

// Handle style: OpenClipboard, EmptyClipboard, SetClipboardData(CF_UNICODETEXT or CF_TEXT, a
// block from GlobalAlloc), GetClipboardData, CloseClipboard. CF_TEXT blocks are UTF-8.
struct HGLOBAL__;
using HGLOBAL = HGLOBAL__*;
using HANDLE = void*;
#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GMEM_DDESHARE 0x2000u
#define GMEM_SHARE 0x2000u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

HGLOBAL GlobalAlloc(UINT uFlags, std::size_t dwBytes);
HGLOBAL GlobalReAlloc(HGLOBAL hMem, std::size_t dwBytes, UINT uFlags);
void* GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
std::size_t GlobalSize(HGLOBAL hMem);
HGLOBAL GlobalFree(HGLOBAL hMem);

BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// Takes ownership of hMem (a GlobalAlloc block) on success.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// A block owned by the clipboard (valid until CloseClipboard); nullptr when the format is absent.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
