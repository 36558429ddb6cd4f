// User button pictures from a bitmap file.
#include "platform/gui/frame/UserImages.h"

#include "platform/gui/draw/Convert.h"

#include <QtCore/QFileInfo>
#include <QtGui/QImage>

struct CMFCToolBarImages::Strip
{
    QImage image;
};

CMFCToolBarImages::CMFCToolBarImages() = default;
CMFCToolBarImages::~CMFCToolBarImages() = default;

BOOL CMFCToolBarImages::Load(LPCTSTR lpszBmpFileName, DWORD nMaxFileSize)
{
    if (!lpszBmpFileName || !*lpszBmpFileName) return FALSE;
    // Written the framework's way, with backslashes: the same file here.
    const QString path = qor::gui::ToQString(CString(lpszBmpFileName)).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo file(path);
    if (!file.isFile() || file.size() > static_cast<qint64>(nMaxFileSize)) return FALSE;
    QImage image;
    if (!image.load(path, "BMP") || image.width() < m_sizeImage.cx || image.height() < 1) return FALSE;
    m_pStrip = std::make_unique<Strip>();
    m_pStrip->image = image.convertToFormat(QImage::Format_RGB32);
    return TRUE;
}

int CMFCToolBarImages::GetCount() const
{
    return m_pStrip && m_sizeImage.cx > 0 ? m_pStrip->image.width() / m_sizeImage.cx : 0;
}

COLORREF CMFCToolBarImages::GetPixel(int nImage, int x, int y) const
{
    if (nImage < 0 || nImage >= GetCount() || x < 0 || x >= m_sizeImage.cx || y < 0 ||
        y >= std::min<int>(m_sizeImage.cy, m_pStrip->image.height()))
        return 0xFFFFFFFF;
    const QRgb p = m_pStrip->image.pixel(nImage * m_sizeImage.cx + x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}
