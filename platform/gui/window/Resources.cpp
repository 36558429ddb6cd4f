// The resource tables the program registers (menus, accelerator tables, toolbars), looked up by id.
#include "platform/gui/window/Resources.h"

#include <map>

using namespace qor::gui;

namespace {
std::map<UINT, const MenuResource*>& Menus()
{
    static std::map<UINT, const MenuResource*> m;
    return m;
}
std::map<UINT, const AccelResource*>& Accels()
{
    static std::map<UINT, const AccelResource*> m;
    return m;
}
std::map<UINT, const ToolBarResource*>& ToolBars()
{
    static std::map<UINT, const ToolBarResource*> m;
    return m;
}
} // namespace

namespace qor::gui {
ResourceRegistrar::ResourceRegistrar(const MenuResource* r) { Menus()[r->id] = r; }
ResourceRegistrar::ResourceRegistrar(const AccelResource* r) { Accels()[r->id] = r; }
ResourceRegistrar::ResourceRegistrar(const ToolBarResource* r) { ToolBars()[r->id] = r; }
const MenuResource* FindMenuResource(UINT id)
{
    auto it = Menus().find(id);
    return it == Menus().end() ? nullptr : it->second;
}
CString MenuItemName(const wchar_t* text)
{
    CString name(text ? text : L"");
    if (const int tab = name.Find(L'\t'); tab >= 0) name = name.Left(tab);
    name.Replace(L"&&", L"\x1");
    name.Remove(L'&');
    name.Replace(L"\x1", L"&");
    return name;
}
CString CommandMenuName(UINT nID)
{
    if (!nID) return CString();
    for (const auto& [id, r] : Menus())
        for (size_t i = 0; i < r->count; ++i)
        {
            const MenuItemDef& d = r->items[i];
            if (d.nID == nID && !(d.flags & (MF_POPUP | MF_SEPARATOR | MF_END)) && d.text && *d.text)
            {
                CString name = MenuItemName(d.text);
                if (name.Right(3) == L"...") name = name.Left(name.GetLength() - 3);
                return name;
            }
        }
    return CString();
}
const AccelResource* FindAccelResource(UINT id)
{
    auto it = Accels().find(id);
    return it == Accels().end() ? nullptr : it->second;
}
const ToolBarResource* FindToolBarResource(UINT id)
{
    auto it = ToolBars().find(id);
    return it == ToolBars().end() ? nullptr : it->second;
}
} // namespace qor::gui
