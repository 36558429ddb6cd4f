// Message boxes. The window layer installs the real one; without it (the engine's tests),
// a call is recorded and answered with the box's default button.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <functional>
#include <vector>

// Buttons
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_TYPEMASK 0x0000000Fu
// Icons
#define MB_ICONHAND 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0u
// Default button
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_DEFMASK 0x00000F00u
#define MB_APPLMODAL 0x00000000u
#define MB_TASKMODAL 0x00002000u

// Answers
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

namespace qor {

struct MessageBoxCall
{
    HWND owner = nullptr;
    CString text;
    CString caption;
    UINT type = 0;
};

// Shows a box and returns the answer. Installed by the window layer or by a test.
using MessageBoxHandler = std::function<int(const MessageBoxCall&)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The answer a box gives when nobody presses a button: its default button.
int DefaultMessageBoxAnswer(UINT type);

// Every box shown since the last clear (kept whatever handler answers).
std::vector<MessageBoxCall> RecordedMessageBoxes();
void ClearRecordedMessageBoxes();

// The program's caption for message boxes.
inline const wchar_t* const kMessageBoxCaption = L"QOR";

} // namespace qor

int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
// The framework's application-level box, captioned with the program's name.
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT helpId = 0);
