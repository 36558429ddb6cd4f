// Internal to the window layer: the pages of a PDF document rendered at the device pixels they are shown at,
// kept for the few pages in view (the help pane draws from it; the print preview renders on a worker).
#pragma once

#include <QtCore/QSize>
#include <QtGui/QImage>
#include <QtPdf/QPdfDocument>

#include <map>
#include <tuple>

namespace qor::gui {

class PdfPageCache
{
public:
    QPdfDocument document;

    // Page `index` (0-based) rendered at exactly `deviceSize` pixels, at once: never a scaled placeholder.
    QImage Page(int index, QSize deviceSize)
    {
        const auto key = std::make_tuple(index, deviceSize.width(), deviceSize.height());
        if (auto it = m_rendered.find(key); it != m_rendered.end()) return it->second;
        if (m_rendered.size() > 12) m_rendered.clear(); // only the pages around the view are kept
        return m_rendered[key] = document.render(index, deviceSize);
    }
    void Clear() { m_rendered.clear(); }

private:
    std::map<std::tuple<int, int, int>, QImage> m_rendered;
};

} // namespace qor::gui
