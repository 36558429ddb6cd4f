// Save Image: the bitmap file of a whole window (its charts drawn in), its header and row layout, and a
// failed write that leaves no file behind.
#include "app_support.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QORDoc.h"
#include "app/WindowToBMP.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"
#include "ui/views/PlotView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

} // namespace

TEST(WindowToBMPTest, HeaderRowPaddingAndPixelOrder)
{
    // 101 pixels wide: 303 bytes of colour, padded to 304.
    const int w = 101, h = 3;
    std::vector<DWORD> pixels(static_cast<size_t>(w * h), 0x00FFFFFF);
    pixels[0] = 0x00FF0000;                                // top-left red
    pixels[static_cast<size_t>(w * (h - 1))] = 0x0000FF00; // bottom-left green
    const std::string path = TempFilePath("rows.bmp");
    ASSERT_TRUE(CWindowToBMP::WriteDIB(CString::FromUtf8(path), CWindowToBMP::DDBToDIB(w, h, pixels)));
    std::vector<uint8_t> b = ReadFile(path);
    ASSERT_EQ(b.size(), 54u + 304u * 3u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), b.size());
    EXPECT_EQ(U32(b, 10), 54u);
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), 101u);
    EXPECT_EQ(U32(b, 22), 3u);
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(U32(b, 34), 304u * 3u);
    // Rows are stored bottom-up, blue-green-red.
    EXPECT_EQ(b[54], 0x00);
    EXPECT_EQ(b[55], 0xFF);
    EXPECT_EQ(b[56], 0x00);
    const size_t top = 54 + 2 * 304;
    EXPECT_EQ(b[top], 0x00);
    EXPECT_EQ(b[top + 1], 0x00);
    EXPECT_EQ(b[top + 2], 0xFF);
    EXPECT_EQ(b[54 + 303], 0) << "padding byte";
}

TEST(WindowToBMPTest, FailedWriteKeepsTheOldFile)
{
    std::vector<DWORD> pixels(4, 0);
    EXPECT_FALSE(CWindowToBMP::WriteDIB(L"/nonexistent-folder/x.bmp", CWindowToBMP::DDBToDIB(2, 2, pixels)));
    const std::string path = TempFilePath("old.bmp");
    std::ofstream(path) << "old";
    EXPECT_FALSE(CWindowToBMP::WriteDIB(CString::FromUtf8(path), {})) << "nothing to write";
    EXPECT_EQ(ReadFile(path).size(), 3u);
}

TEST(WindowToBMPTest, SaveImageWritesTheWholeChildWindowWithItsCharts)
{
    const fs::path home = fs::path(TempFilePath("home"));
    UseHome(home);
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    CPlotView* plot = doc->OpenPlotView(L"Plot", 1, 1);
    ASSERT_NE(plot, nullptr);
    Pump(50);
    CFrameWnd* child = plot->GetParentFrame();
    CRect rc;
    child->GetWindowRect(&rc);

    const std::string path = TempFilePath("window.bmp");
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(path));
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        child->SendMessage(WM_COMMAND, ID_FILE_SAVE_IMAGE, 0);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, CString(L"Image succesfully saved."));
    }
    std::vector<uint8_t> b = ReadFile(path);
    ASSERT_GT(b.size(), 54u);
    const uint32_t w = U32(b, 18), h = U32(b, 22);
    EXPECT_EQ(w, static_cast<uint32_t>(rc.Width()));
    EXPECT_EQ(h, static_cast<uint32_t>(rc.Height()));
    const uint32_t stride = (w * 3 + 3) / 4 * 4;
    ASSERT_EQ(b.size(), 54u + stride * h);
    // The chart's own pixels are in the picture: count the pixels that are not plain background grey or
    // white: the chart's axes, grid and text.
    int inked = 0;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
        {
            const uint8_t* p = &b[54 + y * stride + x * 3];
            if (p[0] < 100 && p[1] < 100 && p[2] < 100) ++inked;
        }
    EXPECT_GT(inked, 50);

    {
        DrivenFileDialogs files;
        files.Answer(L"/nonexistent-folder/x.bmp");
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        child->SendMessage(WM_COMMAND, ID_FILE_SAVE_IMAGE, 0);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, CString(L"Image saving failed"));
    }
    StopApplication(app);
    std::error_code ec;
    fs::remove_all(home, ec);
}
