// Saving the grid as semicolon-separated text: the bytes written, and what a failed save
// reports and leaves on disk.
#include "grid_test_util.h"

#include "platform/core/ReplacingFile.h"
#include "platform/test/PauseMeter.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace gridtest;
namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
}

void Fill(CGridCtrl& grid, const std::vector<std::vector<CString>>& texts)
{
    for (size_t r = 0; r < texts.size(); r++)
        for (size_t c = 0; c < texts[r].size(); c++)
            grid.SetItemText(static_cast<int>(r), static_cast<int>(c), texts[r][c]);
}

class GridSave : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InitApp(); }

    void SetUp() override
    {
        char pattern[] = "/tmp/grid_save_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        qor::CReplacingFile::SetSyncHook(nullptr);
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
    }

    // Names in the folder other than the ones given: temporary files left behind.
    std::vector<std::string> OtherFiles(const std::vector<std::string>& expected) const
    {
        std::vector<std::string> others;
        for (const auto& entry : fs::directory_iterator(m_dir))
        {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end()) others.push_back(name);
        }
        return others;
    }

    CString PathOf(const char* name) const { return CString::FromUtf8((m_dir / name).string()); }

    fs::path m_dir;
    qor::test::ScriptedMessageBoxes m_boxes;
};

} // namespace

TEST_F(GridSave, TwoByThreeGridGivesThreeCrLfLines)
{
    CGridCtrl grid(2, 3);
    Fill(grid, {{L"a", L"b", L"c"}, {L"d", L"e", L"f"}});

    EXPECT_TRUE(grid.Save(PathOf("out.csv")));
    EXPECT_EQ(ReadBytes(m_dir / "out.csv"), "sep=;\r\na;b;c\r\nd;e;f\r\n");
    EXPECT_TRUE(m_boxes.Shown().empty());
    EXPECT_TRUE(OtherFiles({"out.csv"}).empty());
}

TEST_F(GridSave, FixedCellsIncludedInUtf8AndOnlyFieldsWithSeparatorsQuoted)
{
    CGridCtrl grid(3, 3, 1, 1);
    Fill(grid, {{L"", L"Span (m)", L"M\u00e1x \u00b5"},
                {L"1", L"Br\u00fccke;Nord", L"\"q\""},
                {L"2", L"line1\nline2", L"\u20ac \u6865, 3"}});

    ASSERT_TRUE(grid.Save(PathOf("fixed.csv")));
    // UTF-8 bytes; a field with ';', a quote or a line break quoted with its quotes doubled and
    // its line break kept; the line ends CR LF.
    const std::string expected = "sep=;\r\n"
                                 ";Span (m);M\xc3\xa1x \xc2\xb5\r\n"
                                 "1;\"Br\xc3\xbc"
                                 "cke;Nord\";\"\"\"q\"\"\"\r\n"
                                 "2;\"line1\nline2\";\xe2\x82\xac \xe6\xa1\xa5, 3\r\n";
    EXPECT_EQ(ReadBytes(m_dir / "fixed.csv"), expected);
}

// A spreadsheet's reading of delimited text: quoted fields may hold the separator, doubled
// quotes and line breaks; a line ends at CR LF or LF outside quotes.
static std::vector<std::vector<std::string>> ReadCsv(const std::string& bytes, char separator)
{
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < bytes.size(); i++)
    {
        const char ch = bytes[i];
        std::string& field = rows.back().back();
        if (quoted)
        {
            if (ch == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"')
                field += bytes[++i];
            else if (ch == '"')
                quoted = false;
            else
                field += ch;
        }
        else if (ch == '"' && field.empty())
            quoted = true;
        else if (ch == separator)
            rows.back().emplace_back();
        else if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        else if (ch == '\n')
            rows.emplace_back(1);
        else
            field += ch;
    }
    if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
    return rows;
}

TEST_F(GridSave, ASpreadsheetReadsEveryCellBackAsShown)
{
    const std::vector<std::vector<CString>> texts = {{L"Load Model", L"Notes", L"x (m)"},
                                                     {L"A;B", L"say \"hi\"", L"1,234.50"},
                                                     {L"two\nlines", L"\"", L";"},
                                                     {L"win\r\nbreak", L"", L"\"a\";\"b\""}};
    CGridCtrl grid(4, 3, 1, 0);
    Fill(grid, texts);
    ASSERT_TRUE(grid.Save(PathOf("read.csv")));

    const auto rows = ReadCsv(ReadBytes(m_dir / "read.csv"), ';');
    ASSERT_EQ(rows.size(), texts.size() + 1);
    EXPECT_EQ(rows[0], std::vector<std::string>({"sep=", ""}));
    for (size_t r = 0; r < texts.size(); r++)
    {
        ASSERT_EQ(rows[r + 1].size(), texts[r].size()) << r;
        for (size_t c = 0; c < texts[r].size(); c++) EXPECT_EQ(rows[r + 1][c], texts[r][c].ToUtf8()) << r << "," << c;
    }
}

TEST_F(GridSave, GridWithoutColumnsWritesOnlyTheSeparatorLine)
{
    CGridCtrl grid(4, 0);
    ASSERT_TRUE(grid.Save(PathOf("empty.csv")));
    EXPECT_EQ(ReadBytes(m_dir / "empty.csv"), "sep=;\r\n");
}

TEST_F(GridSave, ReplacesAnExistingLongerFile)
{
    WriteBytes(m_dir / "old.csv", std::string(5000, 'x'));
    CGridCtrl grid(1, 2);
    Fill(grid, {{L"p", L"q"}});
    ASSERT_TRUE(grid.Save(PathOf("old.csv")));
    EXPECT_EQ(ReadBytes(m_dir / "old.csv"), "sep=;\r\np;q\r\n");
    EXPECT_TRUE(OtherFiles({"old.csv"}).empty());
}

TEST_F(GridSave, ASlowDiskHoldsNoWindowAndAFailedSyncKeepsTheOldFile)
{
    // Each sync takes the disk a second: the window thread runs its timers meanwhile.
    WriteBytes(m_dir / "slow.csv", "the old report\r\n");
    CGridCtrl grid(1, 2);
    Fill(grid, {{L"p", L"q"}});
    int syncs = 0;
    qor::CReplacingFile::SetSyncHook([&syncs](const std::string&) {
        ++syncs;
        std::this_thread::sleep_for(std::chrono::seconds(1));
        return 0;
    });
    qor::test::PauseMeter meter;
    EXPECT_TRUE(grid.Save(PathOf("slow.csv")));
    const double heldMs = meter.LongestMs();
    qor::CReplacingFile::SetSyncHook(nullptr);
    EXPECT_EQ(syncs, 2) << "the file's and its folder's";
    EXPECT_LT(heldMs, 250.0);
    EXPECT_EQ(ReadBytes(m_dir / "slow.csv"), "sep=;\r\np;q\r\n");

    // A sync that fails: the old file stays, and nothing else.
    qor::CReplacingFile::SetSyncHook([](const std::string&) { return EIO; });
    Fill(grid, {{L"x", L"y"}});
    EXPECT_FALSE(grid.Save(PathOf("slow.csv")));
    qor::CReplacingFile::SetSyncHook(nullptr);
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    EXPECT_EQ(m_boxes.Shown()[0].text, CString(L"Unable to save grid list"));
    EXPECT_EQ(ReadBytes(m_dir / "slow.csv"), "sep=;\r\np;q\r\n");
    EXPECT_TRUE(OtherFiles({"slow.csv"}).empty());
}

TEST_F(GridSave, PathThatCannotBeCreatedShowsFileMessageAndLeavesNoFile)
{
    CGridCtrl grid(1, 1);
    grid.SetItemText(0, 0, L"x");
    const CString path = PathOf("missing-folder/out.csv");

    EXPECT_FALSE(grid.Save(path));
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    const CString text = m_boxes.Shown()[0].text;
    EXPECT_GE(text.Find(path), 0) << text.ToUtf8();
    EXPECT_NE(text, CString(L"Unable to save grid list"));
    EXPECT_FALSE(fs::exists(m_dir / "missing-folder"));
    EXPECT_TRUE(OtherFiles({}).empty());
}

TEST_F(GridSave, ReadOnlyFolderOrFileIsRefusedAndKept)
{
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";

    WriteBytes(m_dir / "locked.csv", "keep me");
    ::chmod((m_dir / "locked.csv").c_str(), 0444);
    CGridCtrl grid(1, 1);
    grid.SetItemText(0, 0, L"new");

    EXPECT_FALSE(grid.Save(PathOf("locked.csv")));
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    EXPECT_GE(m_boxes.Shown()[0].text.Find(L"denied"), 0);
    EXPECT_EQ(ReadBytes(m_dir / "locked.csv"), "keep me");
}

TEST_F(GridSave, WriteFailureReportsAndKeepsTheOldFile)
{
    WriteBytes(m_dir / "report.csv", "the old report\r\n");

    // 200 rows of 100 characters: far more than the file size limit allows.
    CGridCtrl grid(200, 1);
    for (int r = 0; r < 200; r++) grid.SetItemText(r, 0, CString(L'z', 100));

    // A file size limit makes the write fail the way a full disk does.
    struct rlimit saved
    {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL saved_ok = grid.Save(PathOf("report.csv"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    ASSERT_EQ(m_boxes.Shown().size(), 1u);
    EXPECT_EQ(m_boxes.Shown()[0].text, CString(L"Unable to save grid list"));
    EXPECT_EQ(m_boxes.Shown()[0].type & 0x0Fu, static_cast<UINT>(MB_OK));
    EXPECT_EQ(ReadBytes(m_dir / "report.csv"), "the old report\r\n");
    EXPECT_TRUE(OtherFiles({"report.csv"}).empty());
}

// A table still filling in: Save brings in the rows to come only once the file it was given is opened, so a
// name that is refused (a missing folder, a folder, a file that cannot be opened) is said at once, without
// waiting for the fill; a name that opens gets every row.
TEST_F(GridSave, TheFileIsOpenedBeforeTheRowsStillToComeAreBroughtIn)
{
    CGridCtrl grid(2, 1);
    grid.SetItemText(0, 0, L"head");
    grid.SetItemText(1, 0, L"row 1");
    int brought = 0;
    std::vector<std::string> filesWhileBringing;
    grid.SetRowsToCome([&] {
        ++brought;
        filesWhileBringing = OtherFiles({});
        grid.SetRowCount(4);
        grid.SetItemText(2, 0, L"row 2");
        grid.SetItemText(3, 0, L"row 3");
    });

    ::mkdir((m_dir / "a-folder").c_str(), 0700);
    EXPECT_FALSE(grid.Save(PathOf("missing-folder/out.csv")));
    EXPECT_FALSE(grid.Save(PathOf("a-folder")));
    qor::CReplacingFile::InjectOpenFault(EMFILE);
    EXPECT_FALSE(grid.Save(PathOf("refused.csv")));
    qor::CReplacingFile::InjectOpenFault(0);
    EXPECT_EQ(brought, 0) << "a refused name waits for no rows";
    ASSERT_EQ(m_boxes.Shown().size(), 3u);
    EXPECT_TRUE(OtherFiles({"a-folder"}).empty());

    ASSERT_TRUE(grid.Save(PathOf("whole.csv")));
    EXPECT_EQ(brought, 1);
    ASSERT_EQ(filesWhileBringing.size(), 2u) << "the file was open while the rows came";
    EXPECT_EQ(ReadBytes(m_dir / "whole.csv"), "sep=;\r\nhead\r\nrow 1\r\nrow 2\r\nrow 3\r\n");
    EXPECT_TRUE(OtherFiles({"whole.csv", "a-folder"}).empty());
}
