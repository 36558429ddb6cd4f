// Image export: a window as it shows on screen, written as a Windows bitmap file.
#pragma once

#include "platform/gui/Afx.h"

#include <cstdint>
#include <vector>

class CWindowToBMP
{
public:
    CWindowToBMP() = default;
    virtual ~CWindowToBMP() = default;

    // TRUE when the whole file was written; a failed write leaves no file (and an older one as it was).
    BOOL SaveWindow(const CString& path, CWnd* pWnd);

    // The device-independent bitmap (header and 24-bit rows, bottom-up, each padded to 4 bytes) of
    // 0x00RRGGBB pixels given top-down.
    static std::vector<uint8_t> DDBToDIB(int width, int height, const std::vector<DWORD>& pixels);
    // The 14-byte file header, then the bitmap, through a temporary file renamed over the target.
    static BOOL WriteDIB(const CString& path, const std::vector<uint8_t>& dib);
};
