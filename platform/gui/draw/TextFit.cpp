// Long texts measured and shaped only as far as they can be seen.
#include "platform/gui/draw/TextFitInternal.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>

#include <algorithm>
#include <array>
#include <mutex>

namespace qor::gui {

namespace {

// A start (or end) of `n` characters that does not split a surrogate pair.
qsizetype StartLength(const QString& text, qsizetype n)
{
    n = std::min(n, text.size());
    if (n > 0 && n < text.size() && text[n - 1].isHighSurrogate()) ++n;
    return n;
}

qsizetype EndLength(const QString& text, qsizetype n)
{
    n = std::min(n, text.size());
    if (n > 0 && n < text.size() && text[text.size() - n].isLowSurrogate()) ++n;
    return n;
}

struct RememberedWidth
{
    QString font;
    QString text;
    int width = 0;
};

} // namespace

namespace {

// The shortest piece `take(length)` of the text wider than `width`, lengths doubling from kLongText.
template <class Take>
QString ShortestWider(const QFontMetrics& fm, const QString& text, int width, Take take)
{
    if (text.size() <= kLongText) return text;
    for (qsizetype n = kLongText;; n *= 2)
    {
        QString piece = take(n);
        if (piece.size() >= text.size()) return text;
        if (fm.horizontalAdvance(piece) > width) return piece;
    }
}

} // namespace

QString VisibleStart(const QFontMetrics& fm, const QString& text, int width)
{
    return ShortestWider(fm, text, width, [&](qsizetype n) { return text.left(StartLength(text, n)); });
}

QString VisibleEnd(const QFontMetrics& fm, const QString& text, int width)
{
    return ShortestWider(fm, text, width, [&](qsizetype n) { return text.right(EndLength(text, n)); });
}

int TextWidth(const QFont& font, const QFontMetrics& fm, const QString& text)
{
    if (text.isEmpty()) return 0;
    if (text.size() <= kLongText) return fm.horizontalAdvance(text);
    // The few long texts last measured, each with its font (a window paints its title again and again).
    static std::mutex lock;
    static std::array<RememberedWidth, 8> remembered;
    static size_t next = 0;
    const QString key = font.key() + QLatin1Char('@') + QString::number(fm.fontDpi());
    {
        std::lock_guard<std::mutex> hold(lock);
        for (const RememberedWidth& r : remembered)
            if (r.font == key && r.text.size() == text.size() && r.text == text) return r.width;
    }
    const int width = fm.horizontalAdvance(text);
    std::lock_guard<std::mutex> hold(lock);
    remembered[next] = RememberedWidth{key, text, width};
    next = (next + 1) % remembered.size();
    return width;
}

QString ShownText(const QString& text, const QFont& font)
{
    if (text.size() <= kLongText) return text;
    // Wider than every screen side by side, at any scale a window is drawn at.
    int widest = 8192;
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        for (QScreen* screen : app->screens()) widest = std::max(widest, 4 * screen->virtualGeometry().width());
    return VisibleStart(QFontMetrics(font), text, widest);
}

} // namespace qor::gui
