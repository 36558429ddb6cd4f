// Toolbar pictures: the registry of character-grid pictures and their toolkit icons.
#include "platform/gui/ToolBarImagesInternal.h"

#include "platform/core/Strings.h"
#include "platform/gui/Resources.h"

#include <QtGui/QImage>
#include <QtGui/QPixmap>

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
    switch (c) {
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
    for (int y = 0; y < 16; ++y) {
        const char* row = def->rows[y];
        for (int x = 0; row && x < 16 && row[x]; ++x) {
            DWORD rgb = ToolBarImageColour(row[x]);
            if (rgb != 0xFFFFFFFFu) image.setPixel(x, y, 0xFF000000u | rgb);
        }
    }
    return PixelPictureIcon(image);
}

QIcon PixelPictureIcon(const QImage& picture)
{
    // Whole multiples repeat each pixel; a fractional scale (1.25, 1.5, 1.75 ...) is drawn from the next
    // whole multiple made smaller smoothly, so its edges stay crisp rather than some pixels doubled
    // and their neighbours not.
    QIcon icon;
    const QSize size = picture.size();
    if (size.isEmpty()) return icon;
    for (int quarters = 4; quarters <= 12; ++quarters)
    {
        const int whole = (quarters + 3) / 4;
        QImage big = picture.scaled(size * whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (quarters % 4) big = big.scaled(size * quarters / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        icon.addPixmap(QPixmap::fromImage(big));
    }
    return icon;
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
