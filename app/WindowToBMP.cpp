// Image export of a window to a bitmap file.
#include "app/WindowToBMP.h"

#include "platform/core/ReplacingFile.h"

#include <string>
#include <vector>

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint16_t kBitsPerPixel = 24;

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    out[at] = static_cast<uint8_t>(v & 0xFF);
    out[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

} // namespace

std::vector<uint8_t> CWindowToBMP::DDBToDIB(int width, int height, const std::vector<DWORD>& pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
        return {};
    const uint32_t stride = ((static_cast<uint32_t>(width) * kBitsPerPixel + 31) / 32) * 4;
    const uint32_t imageSize = stride * static_cast<uint32_t>(height);
    std::vector<uint8_t> dib(kInfoHeaderSize + imageSize, 0);
    Put32(dib, 0, kInfoHeaderSize);
    Put32(dib, 4, static_cast<uint32_t>(width));
    Put32(dib, 8, static_cast<uint32_t>(height)); // positive: rows bottom-up
    Put16(dib, 12, 1);
    Put16(dib, 14, kBitsPerPixel);
    Put32(dib, 16, 0); // BI_RGB
    Put32(dib, 20, imageSize);
    for (int y = 0; y < height; ++y)
    {
        uint8_t* row = dib.data() + kInfoHeaderSize + static_cast<size_t>(height - 1 - y) * stride;
        const DWORD* src = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x)
        {
            row[3 * x] = static_cast<uint8_t>(src[x] & 0xFF);             // blue
            row[3 * x + 1] = static_cast<uint8_t>((src[x] >> 8) & 0xFF);  // green
            row[3 * x + 2] = static_cast<uint8_t>((src[x] >> 16) & 0xFF); // red
        }
    }
    return dib;
}

BOOL CWindowToBMP::WriteDIB(const CString& path, const std::vector<uint8_t>& dib)
{
    if (dib.size() < kInfoHeaderSize || path.IsEmpty()) return FALSE;
    std::vector<uint8_t> header(kFileHeaderSize, 0);
    header[0] = 'B';
    header[1] = 'M';
    Put32(header, 2, static_cast<uint32_t>(kFileHeaderSize + dib.size()));
    Put32(header, 10, kFileHeaderSize + kInfoHeaderSize); // no colour table at 24 bits
    // Written beside the target under a temporary name of its own and put in its place only when every
    // byte is on the disk; the window thread goes on painting while the disk takes its time.
    bool written = false;
    qor::gui::RunWorkOffWindowThread(
        [&] {
            qor::CReplacingFile file;
            written = file.Open(path) && file.Write(header.data(), header.size()) &&
                      file.Write(dib.data(), dib.size()) && file.Commit();
        },
        nullptr);
    return written ? TRUE : FALSE;
}

BOOL CWindowToBMP::SaveWindow(const CString& path, CWnd* pWnd)
{
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    if (!qor::gui::CaptureWindow(pWnd, width, height, pixels)) return FALSE;
    std::vector<uint8_t> dib = DDBToDIB(width, height, pixels);
    if (dib.empty()) return FALSE;
    return WriteDIB(path, dib);
}
