// Long texts (a name of megabytes) measured and shaped only as far as they can be seen: a window,
// tab or item shows at most a screen's width of a text, and a line drawn into a box at most the box's.
// Internal to platform/gui.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace qor::gui {

// Taller than any screen or printed page in device pixels: a long text is laid out no further down.
constexpr int kTallestArea = 65536;

// Texts at least this long are cut or remembered; shorter ones are measured as they are.
constexpr int kLongText = 512;

// The shortest start of the text that is wider than `width` pixels (the whole text when it is not),
// found by measuring a start of growing length: the cost follows what can be seen, not the text.
QString VisibleStart(const QFontMetrics& fm, const QString& text, int width);
// The shortest end of the text that is wider than `width` pixels (the whole text when it is not).
QString VisibleEnd(const QFontMetrics& fm, const QString& text, int width);
// The width of the text; a long text's width is remembered (per font), so that it is measured once.
int TextWidth(const QFont& font, const QFontMetrics& fm, const QString& text);
// A window title, a tab's or an item's text as the toolkit gets it: a long one cut after the widest
// any screen shows, so that its layouts and paints measure no more (they elide or clip it the same).
QString ShownText(const QString& text, const QFont& font);

} // namespace qor::gui
