// Toolbar pictures: the registry of character-grid pictures and their toolkit icons.
#include "platform/gui/widgets/ToolBarImagesInternal.h"

#include "platform/core/Strings.h"
#include "platform/gui/window/Resources.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/widgets/Looks.h"

#include <QtGui/QIconEngine>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOption>

#include <algorithm>
#include <cmath>
#include <tuple>

#include <map>
#include <mutex>
#include <set>

namespace qor::gui {

namespace {

std::map<UINT, const ToolBarImageDef*>& Registry()
{
    static std::map<UINT, const ToolBarImageDef*> registry;
    return registry;
}

std::set<UINT>& MenuImages()
{
    static std::set<UINT> commands;
    return commands;
}

} // namespace

void RegisterToolBarImages(const ToolBarImageDef* table, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) Registry()[table[i].nID] = &table[i];
}

void AddMenuImages(const UINT* ids, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (ids[i] != 0) MenuImages().insert(ids[i]);
}

bool HasMenuImage(UINT nID) { return MenuImages().count(nID) != 0 && FindToolBarImage(nID) != nullptr; }

const ToolBarImageDef* FindToolBarImage(UINT nID)
{
    auto it = Registry().find(nID);
    return it == Registry().end() ? nullptr : it->second;
}

DWORD ToolBarImageColour(char c)
{
    switch (c)
    {
    case 'k': return 0x000000;
    case 'w': return 0xFFFFFF;
    case 'd': return 0x505050;
    case 'g': return 0x909090;
    case 'l': return 0xD0D0D0;
    case 'r': return 0xE03030;
    case 'R': return 0x901818;
    case 'o': return 0xF09020;
    case 'y': return 0xF8D838;
    case 'G': return 0x30A040;
    case 'D': return 0x1C6428;
    case 'b': return 0x3070D8;
    case 'B': return 0x183C88;
    case 'c': return 0x40B8D8;
    case 'n': return 0x8C5A2C;
    case 'p': return 0x8040A0;
    default: return 0xFFFFFFFFu;
    }
}

QIcon ToolBarIcon(UINT nID)
{
    const ToolBarImageDef* def = FindToolBarImage(nID);
    if (!def) return QIcon();
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y)
    {
        const char* row = def->rows[y];
        for (int x = 0; row && x < 16 && row[x]; ++x)
        {
            DWORD rgb = ToolBarImageColour(row[x]);
            if (rgb != 0xFFFFFFFFu) image.setPixel(x, y, 0xFF000000u | rgb);
        }
    }
    return PixelPictureIcon(image);
}

namespace {

// A pixel picture drawn for the look and the screen it is shown on: its outline keeps 3:1 against the
// look's faces and fields (dark outlines turn light in a dark look), and it is made at the device pixels
// asked for. Whole multiples repeat each pixel; a fractional scale (1.25, 1.5, 1.75 ...) is drawn from the
// next whole multiple made smaller smoothly, so its edges stay crisp rather than some pixels doubled and
// their neighbours not.
class PixelPictureEngine : public QIconEngine
{
public:
    explicit PixelPictureEngine(QImage picture) : m_picture(std::move(picture)) {}

    QIconEngine* clone() const override { return new PixelPictureEngine(m_picture); }
    QString key() const override { return QStringLiteral("qor.pixelpicture"); }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {m_picture.size()}; }
    bool isNull() override { return m_picture.isNull(); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        if (m_picture.isNull() || size.isEmpty()) return QPixmap();
        const auto key = std::make_tuple(LookGeneration(), size.width(), size.height(), static_cast<int>(mode));
        if (auto it = m_made.find(key); it != m_made.end()) return it->second;
        if (m_made.size() > 16) m_made.clear();
        // A disabled picture is grey and flat, but its outline keeps 3:1 as an enabled one's does.
        const QImage picture = mode == QIcon::Disabled ? Greyed(m_picture) : m_picture;
        QPixmap made = QPixmap::fromImage(Scaled(ForTheLook(picture), size));
        if (mode == QIcon::Selected)
        {
            QStyleOption option;
            option.palette = QApplication::palette();
            made = QApplication::style()->generatedIconPixmap(mode, made, &option);
        }
        return m_made[key] = made;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap made = pixmap(QSize(qRound(rect.width() * ratio), qRound(rect.height() * ratio)), mode, state);
        made.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), made);
    }

private:
    static QImage Scaled(const QImage& picture, QSize size)
    {
        if (picture.size() == size) return picture;
        const int whole = std::max(1, static_cast<int>(std::ceil(std::max(size.width() / double(picture.width()),
                                                                          size.height() / double(picture.height())))));
        QImage big = picture.scaled(picture.size() * whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        return big.size() == size ? big : big.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    // The picture in greys halfway to the face colour.
    static QImage Greyed(const QImage& picture)
    {
        const QColor face = QApplication::palette().color(QPalette::Button);
        QImage out = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
            {
                const QRgb c = out.pixel(x, y);
                const int grey = qGray(c);
                out.setPixel(
                    x, y,
                    qRgba((grey + face.red()) / 2, (grey + face.green()) / 2, (grey + face.blue()) / 2, qAlpha(c)));
            }
        return out;
    }

    // The picture with each outline pixel (one beside a transparent pixel or the edge) moved towards black
    // (light look) or white (dark look) until it stands 3:1 against the bars and the fields.
    static QImage ForTheLook(const QImage& picture)
    {
        const QPalette palette = QApplication::palette();
        const COLORREF face = FromQColor(palette.color(QPalette::Button));
        const COLORREF field = FromQColor(palette.color(QPalette::Base));
        const bool dark = palette.color(QPalette::Button).lightness() < 128;
        QImage out = picture.convertToFormat(QImage::Format_ARGB32);
        auto clear = [&](int x, int y) {
            return x < 0 || y < 0 || x >= picture.width() || y >= picture.height() || qAlpha(picture.pixel(x, y)) == 0;
        };
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
            {
                const QRgb c = out.pixel(x, y);
                if (qAlpha(c) == 0 || !(clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1)))
                    continue;
                QColor colour = QColor::fromRgb(c);
                const QColor towards = dark ? Qt::white : Qt::black;
                for (int step = 0; step < 20; ++step)
                {
                    const COLORREF ref = FromQColor(colour);
                    if (ContrastRatio(ref, face) >= 3.0 && ContrastRatio(ref, field) >= 3.0) break;
                    colour =
                        QColor((colour.red() * 9 + towards.red()) / 10, (colour.green() * 9 + towards.green()) / 10,
                               (colour.blue() * 9 + towards.blue()) / 10);
                }
                out.setPixel(x, y, (colour.rgb() & 0xFFFFFFu) | (c & 0xFF000000u));
            }
        return out;
    }

    QImage m_picture;
    std::map<std::tuple<int, int, int, int>, QPixmap> m_made;
};

} // namespace

QIcon PixelPictureIcon(const QImage& picture)
{
    if (picture.isNull()) return QIcon();
    return QIcon(new PixelPictureEngine(picture));
}

CString CommandShortName(UINT nID)
{
    const wchar_t* text = qor::FindString(nID);
    CString s(text ? text : L"");
    const int nl = s.Find(L'\n');
    if (nl >= 0) s = s.Mid(nl + 1);
    // A command without a string of its own is named as its menu item.
    return s.IsEmpty() ? CommandMenuName(nID) : s;
}

} // namespace qor::gui
