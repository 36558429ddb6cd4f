// Window capture through the toolkit's rendering of the window and its children.
#include "platform/gui/window/WindowCapture.h"

#include "platform/gui/window/WndInternal.h"

#include <QtGui/QImage>
#include <QtGui/QPixmap>
#include <QtWidgets/QWidget>

namespace qor::gui {

bool CaptureWindow(const CWnd* pWnd, int& width, int& height, std::vector<DWORD>& pixels)
{
    width = height = 0;
    pixels.clear();
    QWidget* widget = pWnd ? WidgetOf(pWnd) : nullptr;
    if (!widget || widget->width() <= 0 || widget->height() <= 0) return false;
    QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return false;
    width = image.width();
    height = image.height();
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
    {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = row[x] & 0xFFFFFFu;
    }
    return true;
}

} // namespace qor::gui
