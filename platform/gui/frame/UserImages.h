// CMFCToolBarImages: a strip of button pictures read from a bitmap file (the pictures users give their
// own toolbar buttons), one picture per image width across the strip.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"

#include <memory>

class CMFCToolBarImages
{
public:
    CMFCToolBarImages();
    ~CMFCToolBarImages();
    CMFCToolBarImages(const CMFCToolBarImages&) = delete;
    CMFCToolBarImages& operator=(const CMFCToolBarImages&) = delete;

    void SetImageSize(SIZE sizeImage) { m_sizeImage = sizeImage; }
    SIZE GetImageSize() const { return m_sizeImage; }
    // Reads the strip from a bitmap file of at most nMaxFileSize bytes; FALSE (and the pictures held
    // before kept) when the file is missing, larger or no bitmap.
    BOOL Load(LPCTSTR lpszBmpFileName, DWORD nMaxFileSize = 819200);
    BOOL IsValid() const { return GetCount() > 0; }
    int GetCount() const;
    // A pixel of picture nImage (0x00RRGGBB; 0xFFFFFFFF outside it).
    COLORREF GetPixel(int nImage, int x, int y) const;

private:
    struct Strip;
    std::unique_ptr<Strip> m_pStrip;
    SIZE m_sizeImage{16, 15};
};
