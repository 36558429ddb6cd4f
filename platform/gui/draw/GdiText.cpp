// Text output and measuring: TextOut, ExtTextOut, DrawText, text extents and metrics.
// Text is measured and drawn with the same Qt font (the DC's font scaled to device pixels),
// so that measured sizes and drawn text agree.
#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/draw/TextFitInternal.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>

#include <climits>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <unordered_map>

using namespace qor::gui;

namespace {

struct TextContext
{
    DcRecord* dc;
    QFont font;
    QFontMetrics fm;
    QPaintDevice* device;
    explicit TextContext(DcRecord* d)
        : dc(d), font(d->DeviceFont()), fm(font, d->MetricsDevice()), device(d->MetricsDevice())
    {}
    int Width(const QString& s) const { return TextWidth(font, fm, s); }
    int Height() const { return fm.ascent() + fm.descent(); }
    int Ascent() const { return fm.ascent(); }
    int Escapement() const
    {
        FontRecord* f = FontOf(dc->state.font);
        return f ? f->log.lfEscapement : 0;
    }
};

// The part of the device a painter can still draw on (its clip, else the whole device), in device
// pixels: text beyond it is neither measured nor shaped.
QRect DrawableArea(QPainter* p)
{
    QRect area = p->device() ? QRect(0, 0, p->device()->width(), p->device()->height()) : QRect();
    if (p->hasClipping()) area = area.intersected(p->clipBoundingRect().toAlignedRect());
    return area;
}

// Draws one run of text with its cell's top-left corner at device (x, y).
void DrawRun(QPainter* p, const TextContext& tc, int x, int y, const QString& s, bool opaque, COLORREF bk, COLORREF fg,
             const int* dx = nullptr)
{
    int esc = tc.Escapement();
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->translate(x, y);
    if (esc != 0) p->rotate(-esc / 10.0);
    int width = 0;
    if (dx)
        for (int i = 0; i < s.size(); ++i) width += dx[i];
    else
        width = tc.Width(s);
    if (opaque) p->fillRect(QRect(0, 0, width, tc.Height()), ToQColor(bk));
    p->setFont(tc.font);
    p->setPen(ToQColor(fg));
    if (dx)
    {
        int cx = 0;
        for (int i = 0; i < s.size(); ++i)
        {
            p->drawText(QPoint(cx, tc.Ascent()), QString(s[i]));
            cx += dx[i];
        }
    }
    else
        p->drawText(QPoint(0, tc.Ascent()), s);
    p->restore();
}

BOOL ExtTextOutImpl(DcRecord* dc, int x, int y, UINT options, const RECT* lprect, const QString& text, const INT* lpDx)
{
    QPainter* p = dc->Begin();
    if (text.isEmpty())
    {
        if (p && (options & ETO_OPAQUE) && lprect) p->fillRect(dc->ToDeviceRect(*lprect), ToQColor(dc->state.bkColor));
        return TRUE;
    }
    TextContext tc(dc);
    // Advances given in logical units are turned into device pixels.
    std::vector<int> dx;
    if (lpDx && !text.isEmpty())
    {
        dx.resize(text.size());
        for (int i = 0; i < text.size(); ++i) dx[i] = dc->LogicalToDeviceWidth(lpDx[i]);
    }
    UINT align = dc->state.textAlign;
    // A text drawn from its left end at a fixed place needs no width (a long one is not measured whole).
    const bool fromLeft = (align & (TA_CENTER | TA_RIGHT | TA_UPDATECP)) == 0;
    int width = 0;
    if (!dx.empty())
        for (int v : dx) width += v;
    else if (!fromLeft || text.size() <= kLongText)
        width = tc.Width(text);
    POINT ref = (align & TA_UPDATECP) ? dc->state.position : POINT{x, y};
    QPoint d = dc->ToDevice(ref.x, ref.y);
    int dxPos = d.x(), dyPos = d.y();
    if ((align & TA_CENTER) == TA_CENTER)
        dxPos -= width / 2;
    else if (align & TA_RIGHT)
        dxPos -= width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        dyPos -= tc.Ascent();
    else if (align & TA_BOTTOM)
        dyPos -= tc.Height();
    if (align & TA_UPDATECP)
    {
        if ((align & TA_CENTER) != TA_CENTER)
        {
            int adv = dc->DeviceToLogicalWidth(width);
            dc->state.position.x += (align & TA_RIGHT) ? -adv : adv;
        }
    }
    if (!p) return TRUE;
    QRect clipRect;
    if (lprect) clipRect = dc->ToDeviceRect(*lprect);
    if ((options & ETO_OPAQUE) && lprect) p->fillRect(clipRect, ToQColor(dc->state.bkColor));
    if (text.isEmpty()) return TRUE;
    bool clipped = (options & ETO_CLIPPED) && lprect;
    if (clipped)
    {
        p->save();
        p->setClipRect(clipRect, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    // A long text is shaped only as far as it can be seen: to the right of its start (or the left of
    // its end, drawn right-aligned), within the clip and the device.
    QString shown = text;
    int shownX = dxPos;
    if (dx.empty() && text.size() > kLongText && tc.Escapement() == 0)
    {
        QRect area = DrawableArea(p);
        if (clipped) area = area.intersected(clipRect);
        if ((align & TA_CENTER) == TA_CENTER)
        {
            // centred: drawn whole (its width was measured once)
        }
        else if (align & TA_RIGHT)
        {
            shown = VisibleEnd(tc.fm, text, dxPos + width - area.left());
            shownX = dxPos + width - tc.Width(shown);
        }
        else
        {
            shown = VisibleStart(tc.fm, text, area.right() + 1 - dxPos);
        }
    }
    DrawRun(p, tc, shownX, dyPos, shown, dc->state.bkMode == OPAQUE, dc->state.bkColor, dc->state.textColor,
            dx.empty() ? nullptr : dx.data());
    if (clipped) p->restore();
    return TRUE;
}

// ---- DrawText ------------------------------------------------------------------------------------

QString StripPrefixes(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (int i = 0; i < s.size(); ++i)
    {
        if (s[i] == '&')
        {
            if (i + 1 < s.size() && s[i + 1] == '&')
            {
                out += '&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

struct Layout
{
    const TextContext& tc;
    UINT format;
    int tabWidth; // device pixels

    // Width of a line, with tabs expanded when asked.
    int Width(const QString& line) const
    {
        if (!(format & DT_EXPANDTABS) || !line.contains('\t')) return tc.Width(line);
        int x = 0;
        const QStringList parts = line.split('\t');
        for (int i = 0; i < parts.size(); ++i)
        {
            x += tc.Width(parts[i]);
            if (i + 1 < parts.size()) x = tabWidth > 0 ? (x / tabWidth + 1) * tabWidth : x;
        }
        return x;
    }

    void Draw(QPainter* p, int x, int y, const QString& line, bool opaque, COLORREF bk, COLORREF fg) const
    {
        if (!(format & DT_EXPANDTABS) || !line.contains('\t'))
        {
            DrawRun(p, tc, x, y, line, opaque, bk, fg);
            return;
        }
        int cx = 0;
        const QStringList parts = line.split('\t');
        for (int i = 0; i < parts.size(); ++i)
        {
            DrawRun(p, tc, x + cx, y, parts[i], opaque, bk, fg);
            cx += tc.Width(parts[i]);
            if (i + 1 < parts.size()) cx = tabWidth > 0 ? (cx / tabWidth + 1) * tabWidth : cx;
        }
    }

    // Breaks a paragraph into lines no wider than maxWidth at blanks (a word wider than
    // that stands on its own line); no more than maxLines of them.
    // The width of each line made, when known without measuring it again (-1 otherwise).
    mutable std::vector<int> known;

    void Wrap(const QString& para, int maxWidth, QStringList& out, int maxLines = INT_MAX) const
    {
        int n = para.size();
        if (n > kLongText && !((format & DT_EXPANDTABS) && para.contains('\t')))
            return WrapLong(para, maxWidth, out, maxLines);
        // A paragraph as wide as the room at most is a line as it is (each start of it is no wider).
        if (n == 0 || Width(para) <= maxWidth)
        {
            out << para;
            return;
        }
        int start = 0;
        while (start < n)
        {
            int end = -1;
            int i = start;
            while (i < n)
            {
                int j = i;
                while (j < n && para[j] == ' ') ++j;
                while (j < n && para[j] != ' ') ++j;
                if (end >= 0 && Width(para.mid(start, j - start)) > maxWidth) break;
                end = j;
                i = j;
            }
            out << para.mid(start, end - start);
            start = end;
            while (start < n && para[start] == ' ') ++start;
        }
    }

    // Wrap for a long paragraph: each piece (blanks and the word after them) measured once, a line's
    // width their sum; only a line whose sum comes near the room is measured whole, so that the
    // lines are those Wrap makes, at the cost of measuring the text about once.
    void WrapLong(const QString& para, int maxWidth, QStringList& out, int maxLines) const
    {
        QFontMetricsF fmf(font(), device());
        std::unordered_map<QString, qreal> widths;
        auto pieceWidth = [&](qsizetype from, qsizetype to) {
            QString piece = para.mid(from, to - from);
            auto it = widths.find(piece);
            if (it == widths.end())
            {
                if (widths.size() > 100000) widths.clear();
                it = widths.emplace(std::move(piece), fmf.horizontalAdvance(para.mid(from, to - from))).first;
            }
            return it->second;
        };
        const qsizetype n = para.size();
        qsizetype start = 0;
        while (start < n && static_cast<int>(out.size()) < maxLines)
        {
            qsizetype end = -1;
            qsizetype i = start;
            qreal sum = 0;
            int pieces = 0;
            while (i < n)
            {
                qsizetype j = i;
                while (j < n && para[j] == ' ') ++j;
                while (j < n && para[j] != ' ') ++j;
                const qreal next = sum + pieceWidth(i, j);
                ++pieces;
                if (end >= 0)
                {
                    const qreal slack = 2.0 + 0.25 * pieces;
                    const bool over = next > maxWidth + slack   ? true
                                      : next < maxWidth - slack ? false
                                                                : Width(para.mid(start, j - start)) > maxWidth;
                    if (over) break;
                }
                sum = next;
                end = j;
                i = j;
            }
            known.resize(out.size(), -1);
            known.push_back(qRound(sum));
            out << para.mid(start, end - start);
            start = end;
            while (start < n && para[start] == ' ') ++start;
        }
    }
    // The lines of a text of several paragraphs (at line breaks, wrapped with DT_WORDBREAK), no more
    // than maxLines of them.
    QStringList Lines(QString text, int maxWidth, int maxLines) const
    {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace('\r', '\n');
        QStringList lines;
        for (const QString& para : text.split('\n'))
        {
            if (static_cast<int>(lines.size()) >= maxLines) break;
            if (format & DT_WORDBREAK)
                Wrap(para, maxWidth, lines, maxLines - static_cast<int>(lines.size()));
            else
                lines << para;
        }
        return lines;
    }
    int KnownWidth(qsizetype line) const
    {
        return line < static_cast<qsizetype>(known.size()) ? known[static_cast<size_t>(line)] : -1;
    }
    const QFont& font() const { return tc.font; }
    QPaintDevice* device() const { return tc.device; }

    // The line shortened with "..." to fit maxWidth.
    QString Ellipsis(const QString& line, int maxWidth) const
    {
        // A start wider than the room is as far as the shortened line can reach.
        const QString start =
            (format & DT_EXPANDTABS) && line.contains('\t') ? line : VisibleStart(tc.fm, line, maxWidth);
        if (start.size() == line.size() && Width(line) <= maxWidth) return line;
        static const QString dots = QStringLiteral("...");
        int longest = std::min<int>(line.size(), start.size()) - 1;
        if (line.size() > kLongText)
        {
            // A long line's start is as long as a box is wide: the longest start that fits with the
            // dots is looked for by halving, not a character at a time.
            int shortest = 0;
            while (shortest < longest)
            {
                const int k = (shortest + longest + 1) / 2;
                if (Width(line.left(k) + dots) <= maxWidth)
                    shortest = k;
                else
                    longest = k - 1;
            }
        }
        for (int k = longest; k >= 0; --k)
        {
            QString s = line.left(k) + dots;
            if (Width(s) <= maxWidth) return s;
        }
        return dots;
    }
};

int DrawTextImpl(DcRecord* dc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format, LPDRAWTEXTPARAMS params,
                 LPWSTR modifiable)
{
    if (!dc || !lprc || !lpchText) return 0;
    if (cchText < 0) cchText = static_cast<int>(std::wcslen(lpchText));
    QString text = ToQString(lpchText, cchText);
    TextContext tc(dc);
    RECT lr = *lprc;
    if (params)
    {
        lr.left += params->iLeftMargin;
        lr.right -= params->iRightMargin;
        params->uiLengthDrawn = static_cast<UINT>(cchText);
    }
    if (!(format & DT_NOPREFIX)) text = StripPrefixes(text);
    int lineHeight = tc.Height();
    if (format & DT_EXTERNALLEADING) lineHeight += std::max(0, tc.fm.leading());
    int tabChars = 8;
    if (format & DT_TABSTOP) tabChars = static_cast<int>((format >> 8) & 0xFF);
    if (params && params->iTabLength > 0) tabChars = params->iTabLength;
    Layout layout{tc, format, tabChars * tc.fm.averageCharWidth(), {}};

    QRect box = dc->ToDeviceRect(lr);
    QPoint origin = dc->ToDevice(lr.left, lr.top); // the rectangle's corner as given
    int left = box.left(), right = box.left() + box.width();
    int top = box.top(), bottom = box.top() + box.height();
    int maxWidth = right - left;

    if (text.isEmpty())
    {
        if (format & DT_CALCRECT)
        {
            lprc->right = lprc->left;
            lprc->bottom = lprc->top;
        }
        return 0;
    }

    QStringList lines;
    if (format & DT_SINGLELINE)
    {
        QString one = text;
        one.remove('\r');
        one.replace('\n', ' ');
        lines << one;
    }
    else
    {
        // Drawn (not measured), a long text is laid out only as far down as it can be seen.
        // Measured, it is laid out as far as the tallest area any screen or printed page shows
        // (kTallestArea); a text taller than that measures as that tall, whatever follows.
        int maxLines = INT_MAX;
        if ((format & DT_CALCRECT) && text.size() > kLongText && lineHeight > 0)
            maxLines = kTallestArea / lineHeight + 1;
        if (!(format & DT_CALCRECT) && text.size() > kLongText && lineHeight > 0)
            if (QPainter* p = dc->Begin())
            {
                QRect area = DrawableArea(p);
                if (!(format & DT_NOCLIP)) area = area.intersected(QRect(left, top, right - left, bottom - top));
                maxLines = std::max(1, (area.bottom() + 1 - top) / lineHeight + 2);
            }
        lines = layout.Lines(text, maxWidth, maxLines);
    }

    bool ellipsis = (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
    if (format & DT_CALCRECT)
    {
        int w = 0;
        for (qsizetype i = 0; i < lines.size(); ++i)
        {
            const int k = layout.KnownWidth(i);
            w = std::max(w, k >= 0 ? k : layout.Width(lines[i]));
        }
        int h = lineHeight * static_cast<int>(lines.size());
        QPoint a = dc->ToLogical(origin.x(), origin.y());
        QPoint b = dc->ToLogical(origin.x() + w, origin.y() + h);
        lprc->right = lprc->left + std::abs(b.x() - a.x()) + (params ? params->iLeftMargin + params->iRightMargin : 0);
        lprc->bottom = lprc->top + (dc->ScaleY() < 0 ? -std::abs(b.y() - a.y()) : std::abs(b.y() - a.y()));
        return dc->DeviceToLogicalHeight(h);
    }

    if (ellipsis)
        for (QString& l : lines)
        {
            QString shortened = layout.Ellipsis(l, maxWidth);
            if (shortened != l && (format & DT_MODIFYSTRING) && modifiable && lines.size() == 1)
            {
                std::wstring w = ToWide(shortened);
                size_t room = static_cast<size_t>(cchText) + 4;
                if (w.size() < room)
                {
                    std::wmemcpy(modifiable, w.c_str(), w.size());
                    modifiable[w.size()] = 0;
                }
            }
            l = shortened;
        }

    int total = lineHeight * static_cast<int>(lines.size());
    int y = top;
    if (format & DT_SINGLELINE)
    {
        if (format & DT_VCENTER)
            y = top + ((bottom - top) - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = bottom - lineHeight;
    }
    int result = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? (y - top) + lineHeight : total;

    QPainter* p = dc->Begin();
    if (p && (format & DT_PREFIXONLY) == 0)
    {
        bool clip = !(format & DT_NOCLIP);
        if (clip)
        {
            p->save();
            p->setClipRect(QRect(left, top, right - left, bottom - top),
                           p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        }
        // A long line is shaped only as far as it can be seen (within the box when clipped, and
        // the device); one drawn centred is measured once and drawn whole.
        QRect area = DrawableArea(p);
        if (clip) area = area.intersected(QRect(left, top, right - left, bottom - top));
        const bool tabs = (format & DT_EXPANDTABS) != 0;
        for (const QString& l : lines)
        {
            const int w = format & (DT_CENTER | DT_RIGHT) ? layout.Width(l) : 0;
            int x = left;
            QString shown = l;
            if (format & DT_CENTER)
                x = left + (maxWidth - w) / 2;
            else if (format & DT_RIGHT)
            {
                x = right - w;
                if (!tabs && l.size() > kLongText)
                {
                    shown = VisibleEnd(tc.fm, l, x + w - area.left());
                    x += w - tc.Width(shown);
                }
            }
            else if (l.size() > kLongText)
                shown = VisibleStart(tc.fm, l, area.right() + 1 - x);
            if (y < area.bottom() + 1 && y + lineHeight > area.top())
                layout.Draw(p, x, y, shown, dc->state.bkMode == OPAQUE, dc->state.bkColor, dc->state.textColor);
            y += lineHeight;
        }
        if (clip) p->restore();
    }
    return dc->DeviceToLogicalHeight(result);
}

// ---- What a wrapped text shows --------------------------------------------------------------------

bool IsGap(wchar_t c) { return c == L' ' || c == L'\r' || c == L'\n'; }

// The end of the word (a run without blanks or line breaks) that starts at `from`.
int WordEnd(LPCWSTR s, int from, int length)
{
    int end = from;
    while (end < length && !IsGap(s[end])) ++end;
    return end;
}

// A word of `count` characters as far as a line drawn from the left of a box `width` pixels wide
// shows it: the start that DrawText draws of it, found from a start of growing length.
QString WordShown(const TextContext& tc, LPCWSTR word, int count, int width)
{
    for (int n = 2 * kLongText;; n *= 2)
    {
        const int take = std::min(n, count);
        const QString start = ToQString(word, take);
        QString shown = VisibleStart(tc.fm, start, width);
        if (shown.size() < start.size() || take == count) return shown;
    }
}

CString DrawnTextImpl(DcRecord* dc, const CString& text, const RECT& rect, UINT format)
{
    const int length = text.GetLength();
    if (!dc || length <= kLongText || (format & DT_SINGLELINE) || !(format & DT_NOPREFIX)) return text;
    TextContext tc(dc);
    int lineHeight = tc.Height();
    if (format & DT_EXTERNALLEADING) lineHeight += std::max(0, tc.fm.leading());
    if (lineHeight <= 0) return text;
    const QRect box = dc->ToDeviceRect(rect);
    const int tabChars = (format & DT_TABSTOP) ? static_cast<int>((format >> 8) & 0xFF) : 8;
    const Layout layout{tc, format, tabChars * tc.fm.averageCharWidth(), {}};
    // The lines that can show in the box and one more: DrawText of them is taller than the box
    // whenever the whole text is.
    const int maxLines = std::max(1, box.height() / lineHeight + 2);
    // A word wider than the box stands on a line of its own and is drawn from the left, clipped:
    // only its start can show.
    const bool cutWords = !(format & (DT_CENTER | DT_RIGHT | DT_NOCLIP));
    const LPCWSTR s = text.GetString();
    QString taken; // the text as far as taken, its long words cut
    int pos = 0;
    for (qsizetype want = 8 * kLongText;; want *= 2)
    {
        while (pos < length && taken.size() < want)
        {
            const int chunkEnd = static_cast<int>(std::min<qsizetype>(length, pos + (want - taken.size())));
            int end = chunkEnd;
            if (cutWords && IsGap(s[pos]))
            {
                end = pos;
                while (end < chunkEnd && IsGap(s[end])) ++end;
            }
            else if (cutWords)
            {
                end = WordEnd(s, pos, length);
                if (end - pos > kLongText)
                {
                    taken += WordShown(tc, s + pos, end - pos, box.width());
                    pos = end;
                    continue;
                }
            }
            taken += ToQString(s + pos, end - pos);
            pos = end;
        }
        // The lines made of a start of the text are its own lines but for the last.
        QStringList lines = layout.Lines(taken, box.width(), maxLines + 1);
        if (pos >= length || lines.size() > maxLines)
        {
            if (lines.size() > maxLines) lines.resize(maxLines);
            return FromQString(lines.join(QLatin1Char('\n')));
        }
    }
}

} // namespace

namespace qor::gui {
int DrawTextOn(HDC hdc, LPCWSTR text, int count, LPRECT rc, UINT format, LPDRAWTEXTPARAMS params, LPWSTR modifiable)
{
    return DrawTextImpl(DcOf(hdc), text, count, rc, format, params, modifiable);
}
CString DrawnTextOn(HDC hdc, const CString& text, const RECT& rect, UINT format)
{
    return DrawnTextImpl(DcOf(hdc), text, rect, format);
}
} // namespace qor::gui

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    return ExtTextOutImpl(dc, x, y, 0, nullptr, ToQString(lpString, lpString ? std::max(0, c) : 0), nullptr);
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString, UINT c, const INT* lpDx)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return FALSE;
    return ExtTextOutImpl(dc, x, y, options, lprect, ToQString(lpString, lpString ? static_cast<int>(c) : 0), lpDx);
}

LONG TabbedTextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int chCount, int nTabPositions,
                    const INT* lpnTabStopPositions, int nTabOrigin)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !lpString) return 0;
    QString text = ToQString(lpString, chCount);
    TextContext tc(dc);
    QPoint d = dc->ToDevice(x, y);
    int origin = dc->ToDevice(nTabOrigin, 0).x();
    int defaultTab = 8 * tc.fm.averageCharWidth();
    auto nextStop = [&](int cx) {
        int abs = d.x() + cx;
        if (nTabPositions > 0 && lpnTabStopPositions)
        {
            for (int i = 0; i < nTabPositions; ++i)
            {
                int stop = origin + dc->LogicalToDeviceWidth(lpnTabStopPositions[i]);
                if (stop > abs) return stop - d.x();
            }
            int step = nTabPositions == 1 ? dc->LogicalToDeviceWidth(lpnTabStopPositions[0]) : 0;
            if (step > 0) return ((abs - origin) / step + 1) * step + origin - d.x();
            return cx;
        }
        return ((abs - origin) / defaultTab + 1) * defaultTab + origin - d.x();
    };
    QPainter* p = dc->Begin();
    int cx = 0;
    const QStringList parts = text.split('\t');
    for (int i = 0; i < parts.size(); ++i)
    {
        if (p)
            DrawRun(p, tc, d.x() + cx, d.y(), parts[i], dc->state.bkMode == OPAQUE, dc->state.bkColor,
                    dc->state.textColor);
        cx += tc.Width(parts[i]);
        if (i + 1 < parts.size()) cx = nextStop(cx);
    }
    return static_cast<LONG>(MAKELONG(static_cast<WORD>(dc->DeviceToLogicalWidth(cx)),
                                      static_cast<WORD>(dc->DeviceToLogicalHeight(tc.Height()))));
}

int DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    return DrawTextImpl(DcOf(hdc), lpchText, cchText, lprc, format, nullptr, nullptr);
}

int DrawTextExW(HDC hdc, LPWSTR lpchText, int cchText, LPRECT lprc, UINT format, LPDRAWTEXTPARAMS lpdtp)
{
    return DrawTextImpl(DcOf(hdc), lpchText, cchText, lprc, format, lpdtp, lpchText);
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !psizl || c < 0) return FALSE;
    TextContext tc(dc);
    int w = tc.Width(ToQString(lpString, lpString ? c : 0));
    psizl->cx = dc->DeviceToLogicalWidth(w);
    psizl->cy = dc->DeviceToLogicalHeight(tc.Height());
    return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !lptm) return FALSE;
    TextContext tc(dc);
    FontRecord* f = FontOf(dc->state.font);
    *lptm = TEXTMETRICW{};
    int asc = tc.fm.ascent(), desc = tc.fm.descent();
    auto h = [&](int v) { return dc->DeviceToLogicalHeight(v); };
    auto w = [&](int v) { return dc->DeviceToLogicalWidth(v); };
    lptm->tmAscent = h(asc);
    lptm->tmDescent = h(desc);
    lptm->tmHeight = h(asc + desc);
    lptm->tmInternalLeading = std::max(0, h(asc + desc - tc.font.pixelSize()));
    lptm->tmExternalLeading = h(std::max(0, tc.fm.leading()));
    lptm->tmAveCharWidth = w(tc.fm.averageCharWidth());
    lptm->tmMaxCharWidth = w(tc.fm.maxWidth());
    lptm->tmWeight = f && f->log.lfWeight > 0 ? f->log.lfWeight : FW_NORMAL;
    lptm->tmDigitizedAspectX = 96;
    lptm->tmDigitizedAspectY = 96;
    lptm->tmFirstChar = 0x20;
    lptm->tmLastChar = 0xFFFC;
    lptm->tmDefaultChar = 0x1F;
    lptm->tmBreakChar = 0x20;
    lptm->tmItalic = f ? f->log.lfItalic : 0;
    lptm->tmUnderlined = f ? f->log.lfUnderline : 0;
    lptm->tmStruckOut = f ? f->log.lfStrikeOut : 0;
    bool fixed = QFontInfo(tc.font).fixedPitch();
    lptm->tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                                               (fixed ? FF_MODERN : FF_SWISS));
    lptm->tmCharSet = f ? f->log.lfCharSet : DEFAULT_CHARSET;
    return TRUE;
}

namespace qor::gui {

int TextFace(HDC hdc, int nCount, LPWSTR face)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc) return 0;
    FontRecord* f = FontOf(dc->state.font);
    const wchar_t* name = f ? f->log.lfFaceName : L"";
    int len = static_cast<int>(wcsnlen(name, LF_FACESIZE));
    if (!face) return len + 1;
    if (nCount <= 0) return 0;
    int n = std::min(len, nCount - 1);
    std::wmemcpy(face, name, n);
    face[n] = 0;
    return n;
}

BOOL CharWidths(HDC hdc, UINT first, UINT last, LPINT buffer)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !buffer || last < first) return FALSE;
    TextContext tc(dc);
    for (UINT c = first; c <= last; ++c)
        buffer[c - first] = dc->DeviceToLogicalWidth(tc.fm.horizontalAdvance(QChar(static_cast<char16_t>(c))));
    return TRUE;
}

BOOL TextExtentEx(HDC hdc, LPCWSTR s, int n, int maxExtent, LPINT fit, LPINT dx, LPSIZE size)
{
    DcRecord* dc = DcOf(hdc);
    if (!dc || !s || n < 0) return FALSE;
    TextContext tc(dc);
    QString text = ToQString(s, n);
    int fits = 0;
    for (int i = 1; i <= text.size(); ++i)
    {
        int w = dc->DeviceToLogicalWidth(tc.Width(text.left(i)));
        if (dx) dx[i - 1] = w;
        if (w <= maxExtent) fits = i;
    }
    if (fit) *fit = fits;
    if (size)
    {
        size->cx = dc->DeviceToLogicalWidth(tc.Width(text));
        size->cy = dc->DeviceToLogicalHeight(tc.Height());
    }
    return TRUE;
}

} // namespace qor::gui
