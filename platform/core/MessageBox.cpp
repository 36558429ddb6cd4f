// Message boxes.
#include "platform/core/MessageBox.h"

#include <mutex>

namespace {

std::mutex& Mutex()
{
    static std::mutex m;
    return m;
}

qor::MessageBoxHandler& Handler()
{
    static qor::MessageBoxHandler h;
    return h;
}

std::vector<qor::MessageBoxCall>& Log()
{
    static std::vector<qor::MessageBoxCall> log;
    return log;
}

} // namespace

namespace qor {

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard<std::mutex> lock(Mutex());
    MessageBoxHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

int DefaultMessageBoxAnswer(UINT type)
{
    static const int answers[][3] = {
        {IDOK, IDOK, IDOK},            // MB_OK
        {IDOK, IDCANCEL, IDCANCEL},    // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},  // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},       // MB_YESNOCANCEL
        {IDYES, IDNO, IDNO},           // MB_YESNO
        {IDRETRY, IDCANCEL, IDCANCEL}, // MB_RETRYCANCEL
    };
    UINT buttons = type & MB_TYPEMASK;
    if (buttons > 5) buttons = 0;
    UINT def = (type & MB_DEFMASK) >> 8;
    if (def > 2) def = 0;
    return answers[buttons][def];
}

std::vector<MessageBoxCall> RecordedMessageBoxes()
{
    std::lock_guard<std::mutex> lock(Mutex());
    return Log();
}

void ClearRecordedMessageBoxes()
{
    std::lock_guard<std::mutex> lock(Mutex());
    Log().clear();
}

} // namespace qor

int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    qor::MessageBoxCall call{owner, CString(text), CString(caption), type};
    qor::MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> lock(Mutex());
        Log().push_back(call);
        handler = Handler();
    }
    return handler ? handler(call) : qor::DefaultMessageBoxAnswer(type);
}

int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    return MessageBox(owner, text, caption, type);
}

int AfxMessageBox(const wchar_t* text, UINT type, UINT /*helpId*/)
{
    return MessageBox(nullptr, text, qor::kMessageBoxCaption, type);
}
