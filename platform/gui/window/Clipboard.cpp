// Clipboard text (Unicode) through the toolkit's clipboard, in two shapes: the simple qor:: calls, and the
// handle-style calls the framework code uses.
#include "platform/gui/window/Clipboard.h"

#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtWidgets/QApplication>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
struct Block
{
    std::vector<unsigned char> bytes;
};
Block* BlockOf(HGLOBAL h) { return reinterpret_cast<Block*>(h); }

bool g_open = false;
std::vector<HGLOBAL> g_readBlocks; // blocks handed out by GetClipboardData until CloseClipboard

QClipboard* Board()
{
    qor::gui::InitApplication();
    return QGuiApplication::clipboard();
}
} // namespace

namespace qor {

BOOL SetClipboardText(const CString& text)
{
    QClipboard* cb = Board();
    if (!cb) return FALSE;
    cb->setText(gui::ToQString(text.GetString()));
    return TRUE;
}

BOOL GetClipboardText(CString& text)
{
    text.Empty();
    QClipboard* cb = Board();
    if (!cb) return FALSE;
    QString t = cb->text();
    if (t.isNull()) return FALSE;
    text = gui::FromQString(t);
    return TRUE;
}

BOOL ClipboardHasText()
{
    QClipboard* cb = Board();
    if (!cb) return FALSE;
    // Text given as bytes is looked at as it is: the menus ask on every idle turn, and a copy of a
    // large table would be converted each time.
    const QMimeData* data = cb->mimeData();
    if (data && data->formats() == QStringList{QStringLiteral("text/plain")})
        return data->data(QStringLiteral("text/plain")).isEmpty() ? FALSE : TRUE;
    return cb->text().isEmpty() ? FALSE : TRUE;
}

} // namespace qor

HGLOBAL GlobalAlloc(UINT uFlags, std::size_t n)
{
    auto* b = new Block;
    b->bytes.assign(n, 0);
    (void)uFlags;
    return reinterpret_cast<HGLOBAL>(b);
}
HGLOBAL GlobalReAlloc(HGLOBAL h, std::size_t n, UINT)
{
    if (!h) return nullptr;
    BlockOf(h)->bytes.resize(n, 0);
    return h;
}
void* GlobalLock(HGLOBAL h) { return h ? static_cast<void*>(BlockOf(h)->bytes.data()) : nullptr; }
BOOL GlobalUnlock(HGLOBAL) { return FALSE; }
std::size_t GlobalSize(HGLOBAL h) { return h ? BlockOf(h)->bytes.size() : 0; }
HGLOBAL GlobalFree(HGLOBAL h)
{
    delete BlockOf(h);
    return nullptr;
}

BOOL OpenClipboard(HWND)
{
    if (g_open) return FALSE;
    g_open = true;
    return TRUE;
}
BOOL CloseClipboard()
{
    if (!g_open) return FALSE;
    g_open = false;
    for (HGLOBAL h : g_readBlocks) GlobalFree(h);
    g_readBlocks.clear();
    return TRUE;
}
BOOL EmptyClipboard()
{
    if (!g_open) return FALSE;
    if (QClipboard* cb = Board()) cb->clear();
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE hMem)
{
    if (!g_open || !hMem) return nullptr;
    auto h = static_cast<HGLOBAL>(hMem);
    const std::vector<unsigned char>& bytes = BlockOf(h)->bytes;
    if (format == CF_UNICODETEXT)
    {
        std::size_t n = bytes.size() / sizeof(wchar_t);
        std::wstring w(reinterpret_cast<const wchar_t*>(bytes.data()), n);
        w = w.c_str(); // up to the terminating zero
        if (QClipboard* cb = Board()) cb->setText(qor::gui::ToQString(w.c_str()));
    }
    else if (format == CF_TEXT || format == CF_OEMTEXT)
    {
        // Up to the terminating zero, kept as UTF-8: the clipboard holds the text once, in the
        // bytes it was given in, and converts it when it is asked for.
        const char* data = reinterpret_cast<const char*>(bytes.data());
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("text/plain"),
                      QByteArray(data, static_cast<qsizetype>(::strnlen(data, bytes.size()))));
        if (QClipboard* cb = Board())
            cb->setMimeData(mime);
        else
            delete mime;
    }
    else
    {
        return nullptr;
    }
    GlobalFree(h); // the clipboard owns the block: its content is now with the toolkit
    return hMem;
}

HANDLE GetClipboardData(UINT format)
{
    if (!g_open) return nullptr;
    QClipboard* cb = Board();
    if (!cb) return nullptr;
    QString t = cb->text();
    if (t.isNull()) return nullptr;
    HGLOBAL h = nullptr;
    if (format == CF_UNICODETEXT)
    {
        std::wstring w = qor::gui::ToWide(t);
        h = GlobalAlloc(GMEM_MOVEABLE, (w.size() + 1) * sizeof(wchar_t));
        std::memcpy(GlobalLock(h), w.c_str(), (w.size() + 1) * sizeof(wchar_t));
    }
    else if (format == CF_TEXT || format == CF_OEMTEXT)
    {
        QByteArray u = t.toUtf8();
        h = GlobalAlloc(GMEM_MOVEABLE, static_cast<std::size_t>(u.size()) + 1);
        std::memcpy(GlobalLock(h), u.constData(), static_cast<std::size_t>(u.size()) + 1);
    }
    else
    {
        return nullptr;
    }
    g_readBlocks.push_back(h);
    return h;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    if (format != CF_TEXT && format != CF_UNICODETEXT && format != CF_OEMTEXT) return FALSE;
    return qor::ClipboardHasText();
}
