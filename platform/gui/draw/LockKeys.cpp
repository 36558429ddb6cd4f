// The lock keys' toggles from the keyboard's lights: the status bar's CAP, NUM and SCRL follow the
// keyboard also when a lock key was pressed while another program had the focus.
#include "platform/gui/draw/SysValues.h"

#include <QtGui/QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>

namespace qor::gui {

void SyncLockKeys()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return;
    struct Light
    {
        int vk;
        const char* name;
        Atom atom;
    };
    static Light lights[] = {
        {VK_CAPITAL, "Caps Lock", None}, {VK_NUMLOCK, "Num Lock", None}, {VK_SCROLL, "Scroll Lock", None}};
    for (Light& light : lights)
    {
        if (light.atom == None) light.atom = XInternAtom(display, light.name, False);
        Bool on = False;
        if (XkbGetNamedIndicator(display, light.atom, nullptr, &on, nullptr, nullptr))
            SetKeyToggled(light.vk, on != False);
    }
}

} // namespace qor::gui
