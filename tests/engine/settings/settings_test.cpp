// The program settings: defaults, the XML settings file, and the archive error hints.
#include "engine/settings/Settings.h"

#include "platform/core/MessageBox.h"
#include "platform/core/Messages.h"
#include "platform/core/Paths.h"
#include "platform/core/ReplacingFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& p, const std::string& content)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReplaceOnce(std::string s, const std::string& from, const std::string& to)
{
    auto pos = s.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    if (pos != std::string::npos) s.replace(pos, from.size(), to);
    return s;
}

CString ToCString(const fs::path& p) { return CString::FromUtf8(p.string()); }

// Every field away from its default (and from every other field's value).
void SetEveryFieldToNonDefault(CSettings& s)
{
    s.General.HELPFILEPATH = L"/opt/manuals/Руководство QOR ü.pdf";
    s.General.USEBINARYFILEFORMAT = false;
    auto& lm = s.General.LoadModel;
    lm.CLR_LM_BGRND = 0x010203;
    lm.CLR_LM_BASELINE = 0x040506;
    lm.CLR_LM_GRIDLINE = 0x070809;
    lm.CLR_LM_TEXT = 0x0A0B0C;
    lm.CLR_LM_PL = 0x0D0E0F;
    lm.CLR_LM_UDL = 0x101112;
    lm.CLR_LM_PUDL = 0x131415;
    lm.CLR_LM_WHEEL = 0xFFFFFFu; // the whole colour range survives
    auto& dp = s.General.DecimalPlaces;
    dp.FACTOR = 4;
    dp.DISTANCE = 5;
    dp.SPAN = 6;
    dp.GVW = 7;
    dp.VEHLENGTH = 8;
    auto& out = s.General.Output;
    out.BMSF = false;
    out.R = false;
    out.GRAPHS = false;
    out.TABLES = false;
    auto& st = s.General.Stepping;
    st.BYSTEP = true;
    st.STEPSIZE = 0.123456789012345;
    st.NSTEPS = 77;
    s.Analysis.NPOINTS_ALONG_BEAM = 250;
    s.Analysis.NO_AXLE_SPACINGS = 17;
    s.Plot.RATIOLIMIT_FULLSPEED = false;
    s.Plot.RATIOLIMIT_SLOWDOWN = false;
    s.Plot.LINEWIDTH = 3;
    s.Plot.DATATIPDELAY = 4321;
    s.Plot.Gap.TOP = 11;
    s.Plot.Gap.BTM = 12;
    s.Plot.Gap.LEFT = 13;
    s.Plot.Gap.RIGHT = 14;
    s.Plot.Gap.BETWN = 6;
    auto& c = s.Plot.Colours;
    c.CLR_BACKGRND = 0x202122;
    c.CLR_BORDER = 0x232425;
    c.CLR_GRID = 0x262728;
    c.CLR_TEXT = 0x292A2B;
    c.CLR_LINEMIN = 0x2C2D2E;
    c.CLR_LINEMAX = 0x2F3031;
    c.CLR_BEAM = 0x323334;
    c.CLR_LIGHTLINE = 0x353637;
    c.CLR_PROPMIN = 0x38393A;
    c.CLR_PROPMAX = 0x3B3C3D;
    c.CLR_FULLSPEED = 0x3E3F40;
    c.CLR_SLOWDOWN = 0x414243;
}

void ExpectEveryFieldNonDefault(const CSettings& s)
{
    EXPECT_EQ(s.General.HELPFILEPATH, CString(L"/opt/manuals/Руководство QOR ü.pdf"));
    EXPECT_FALSE(s.General.USEBINARYFILEFORMAT);
    const auto& lm = s.General.LoadModel;
    EXPECT_EQ(lm.CLR_LM_BGRND, 0x010203u);
    EXPECT_EQ(lm.CLR_LM_BASELINE, 0x040506u);
    EXPECT_EQ(lm.CLR_LM_GRIDLINE, 0x070809u);
    EXPECT_EQ(lm.CLR_LM_TEXT, 0x0A0B0Cu);
    EXPECT_EQ(lm.CLR_LM_PL, 0x0D0E0Fu);
    EXPECT_EQ(lm.CLR_LM_UDL, 0x101112u);
    EXPECT_EQ(lm.CLR_LM_PUDL, 0x131415u);
    EXPECT_EQ(lm.CLR_LM_WHEEL, 0xFFFFFFu);
    const auto& dp = s.General.DecimalPlaces;
    EXPECT_EQ(dp.FACTOR, 4);
    EXPECT_EQ(dp.DISTANCE, 5);
    EXPECT_EQ(dp.SPAN, 6);
    EXPECT_EQ(dp.GVW, 7);
    EXPECT_EQ(dp.VEHLENGTH, 8);
    const auto& out = s.General.Output;
    EXPECT_FALSE(out.BMSF);
    EXPECT_FALSE(out.R);
    EXPECT_FALSE(out.GRAPHS);
    EXPECT_FALSE(out.TABLES);
    const auto& st = s.General.Stepping;
    EXPECT_TRUE(st.BYSTEP);
    EXPECT_DOUBLE_EQ(st.STEPSIZE, 0.123456789012345);
    EXPECT_EQ(st.NSTEPS, 77);
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 250);
    EXPECT_EQ(s.Analysis.NO_AXLE_SPACINGS, 17);
    EXPECT_FALSE(s.Plot.RATIOLIMIT_FULLSPEED);
    EXPECT_FALSE(s.Plot.RATIOLIMIT_SLOWDOWN);
    EXPECT_EQ(s.Plot.LINEWIDTH, 3);
    EXPECT_EQ(s.Plot.DATATIPDELAY, 4321);
    EXPECT_EQ(s.Plot.Gap.TOP, 11);
    EXPECT_EQ(s.Plot.Gap.BTM, 12);
    EXPECT_EQ(s.Plot.Gap.LEFT, 13);
    EXPECT_EQ(s.Plot.Gap.RIGHT, 14);
    EXPECT_EQ(s.Plot.Gap.BETWN, 6);
    const auto& c = s.Plot.Colours;
    EXPECT_EQ(c.CLR_BACKGRND, 0x202122u);
    EXPECT_EQ(c.CLR_BORDER, 0x232425u);
    EXPECT_EQ(c.CLR_GRID, 0x262728u);
    EXPECT_EQ(c.CLR_TEXT, 0x292A2Bu);
    EXPECT_EQ(c.CLR_LINEMIN, 0x2C2D2Eu);
    EXPECT_EQ(c.CLR_LINEMAX, 0x2F3031u);
    EXPECT_EQ(c.CLR_BEAM, 0x323334u);
    EXPECT_EQ(c.CLR_LIGHTLINE, 0x353637u);
    EXPECT_EQ(c.CLR_PROPMIN, 0x38393Au);
    EXPECT_EQ(c.CLR_PROPMAX, 0x3B3C3Du);
    EXPECT_EQ(c.CLR_FULLSPEED, 0x3E3F40u);
    EXPECT_EQ(c.CLR_SLOWDOWN, 0x414243u);
}

// The values of the settings table, written out by hand.
void ExpectAllDefaults(const CSettings& s)
{
    EXPECT_EQ(s.General.HELPFILEPATH, GetAppDataFolder() + L"QOR/QOR User Manual.pdf");
    EXPECT_TRUE(s.General.USEBINARYFILEFORMAT);
    const auto& lm = s.General.LoadModel;
    EXPECT_EQ(lm.CLR_LM_BGRND, 0xFFFFFFu);
    EXPECT_EQ(lm.CLR_LM_BASELINE, 0x000000u);
    EXPECT_EQ(lm.CLR_LM_GRIDLINE, 0xE0E0E0u);
    EXPECT_EQ(lm.CLR_LM_TEXT, 0x000000u);
    EXPECT_EQ(lm.CLR_LM_PL, RGB(255, 0, 0));
    EXPECT_EQ(lm.CLR_LM_UDL, RGB(0, 255, 0));
    EXPECT_EQ(lm.CLR_LM_PUDL, RGB(0, 0, 255));
    EXPECT_EQ(lm.CLR_LM_WHEEL, 0x000000u);
    const auto& dp = s.General.DecimalPlaces;
    EXPECT_EQ(dp.FACTOR, 3);
    EXPECT_EQ(dp.DISTANCE, 3);
    EXPECT_EQ(dp.SPAN, 2);
    EXPECT_EQ(dp.GVW, 2);
    EXPECT_EQ(dp.VEHLENGTH, 2);
    const auto& out = s.General.Output;
    EXPECT_TRUE(out.BMSF);
    EXPECT_TRUE(out.R);
    EXPECT_TRUE(out.GRAPHS);
    EXPECT_TRUE(out.TABLES);
    const auto& st = s.General.Stepping;
    EXPECT_FALSE(st.BYSTEP);
    EXPECT_EQ(st.STEPSIZE, 0.5);
    EXPECT_EQ(st.NSTEPS, 20);
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 100);
    EXPECT_EQ(s.Analysis.NO_AXLE_SPACINGS, 10);
    EXPECT_TRUE(s.Plot.RATIOLIMIT_FULLSPEED);
    EXPECT_TRUE(s.Plot.RATIOLIMIT_SLOWDOWN);
    EXPECT_EQ(s.Plot.LINEWIDTH, 2);
    EXPECT_EQ(s.Plot.DATATIPDELAY, 3000);
    EXPECT_EQ(s.Plot.Gap.TOP, 10);
    EXPECT_EQ(s.Plot.Gap.BTM, 10);
    EXPECT_EQ(s.Plot.Gap.LEFT, 10);
    EXPECT_EQ(s.Plot.Gap.RIGHT, 10);
    EXPECT_EQ(s.Plot.Gap.BETWN, 5);
    const auto& c = s.Plot.Colours;
    EXPECT_EQ(c.CLR_BACKGRND, 0xFFFFFFu);
    EXPECT_EQ(c.CLR_BORDER, 0xFFFFFFu);
    EXPECT_EQ(c.CLR_GRID, 0xA0A0A0u);
    EXPECT_EQ(c.CLR_TEXT, 0x000000u);
    EXPECT_EQ(c.CLR_LINEMIN, RGB(0, 0, 255));
    EXPECT_EQ(c.CLR_LINEMAX, RGB(255, 0, 0));
    EXPECT_EQ(c.CLR_BEAM, 0x000000u);
    EXPECT_EQ(c.CLR_LIGHTLINE, 0xA0A0A0u);
    EXPECT_EQ(c.CLR_PROPMIN, RGB(0x33, 0xFF, 0x99));
    EXPECT_EQ(c.CLR_PROPMAX, RGB(0x33, 0xFF, 0x99));
    EXPECT_EQ(c.CLR_FULLSPEED, RGB(0xFF, 0x8C, 0x00));
    EXPECT_EQ(c.CLR_SLOWDOWN, RGB(0xFF, 0x8C, 0x00));
}

std::string Narrow(const CString& s) { return s.ToUtf8(); }

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qor_settings_test_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        s().SetDefaults();
        qor::ClearRecordedMessageBoxes();
    }
    void TearDown() override
    {
        s().SetDefaults();
        qor::SetMainWindowHandle(nullptr);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    static CSettings& s() { return *CSettings::GetInstance(); }

    // Saves every non-default value and returns the file's text.
    std::string SaveNonDefaults(const fs::path& file)
    {
        SetEveryFieldToNonDefault(s());
        EXPECT_TRUE(s().Save(ToCString(file)));
        EXPECT_TRUE(qor::RecordedMessageBoxes().empty());
        return ReadFile(file);
    }

    // Loads the file over the defaults and expects every saved non-default value back.
    static void ExpectLoadsNonDefaults(const fs::path& file)
    {
        s().SetDefaults();
        ASSERT_TRUE(s().Load(ToCString(file)));
        ExpectEveryFieldNonDefault(s());
    }

    // A load that fails: the one message box, and every field back at its default.
    void ExpectFailedLoad(const CString& path)
    {
        SetEveryFieldToNonDefault(s());
        qor::ClearRecordedMessageBoxes();
        EXPECT_FALSE(s().Load(path));
        ExpectLoadMessage(SingleMessage());
        ExpectAllDefaults(s());
    }

    // The one message box of a failed load or save.
    std::string SingleMessage()
    {
        auto boxes = qor::RecordedMessageBoxes();
        EXPECT_EQ(boxes.size(), 1u);
        if (boxes.empty()) return {};
        EXPECT_EQ(boxes[0].caption, CString(L"QOR"));
        EXPECT_EQ(boxes[0].type, 0x10u);
        EXPECT_EQ(boxes[0].owner, qor::GetMainWindowHandle());
        return Narrow(boxes[0].text);
    }

    // The message of a load that failed; a last line names the copy kept of the file when there was one.
    static void ExpectLoadMessage(std::string text)
    {
        const std::size_t kept = text.find("\nThe file that did not load is kept as ");
        if (kept != std::string::npos) text.erase(kept + 1);
        const std::string head = "Problem loading Program Settings file.\nBoost reports: ";
        const std::string tail = "\nUsing default values instead.\n";
        ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
        ASSERT_GE(text.size(), head.size() + tail.size());
        ASSERT_EQ(text.compare(text.size() - tail.size(), tail.size(), tail), 0) << text;
        ExpectReasonAndHint(text.substr(head.size(), text.size() - head.size() - tail.size() + 1));
    }

    // The first line, the file and the system's reason (when there is a file), the library's report.
    static void ExpectSaveMessage(const std::string& text, const std::string& file = std::string())
    {
        const std::string head = "Problem saving file.\n" + (file.empty() ? std::string() : file + ": ");
        ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
        const std::string boost = "Boost reports: ";
        const std::size_t at = text.find(boost);
        ASSERT_NE(at, std::string::npos) << text;
        ExpectReasonAndHint(text.substr(at + boost.size()));
    }

    // "<what>\nPossibly: <hint of what>\n"
    static void ExpectReasonAndHint(const std::string& rest)
    {
        const std::string sep = "\nPossibly: ";
        auto pos = rest.find(sep);
        ASSERT_NE(pos, std::string::npos) << rest;
        const std::string what = rest.substr(0, pos);
        EXPECT_FALSE(what.empty());
        EXPECT_EQ(rest.substr(pos + sep.size()), ArchiveExceptionHint(what) + "\n");
    }

    fs::path m_dir;
};

} // namespace

// ---- the object and its defaults ----------------------------------------------------------

TEST_F(SettingsTest, OneObjectWithTheTableDefaultsFromStartUp)
{
    EXPECT_EQ(g_pSettings, CSettings::GetInstance());
    EXPECT_EQ(CSettings::GetInstance(), CSettings::GetInstance());
    EXPECT_EQ(s().m_Version, 1);
    ExpectAllDefaults(s());
    EXPECT_EQ(Narrow(s().General.HELPFILEPATH).find('\\'), std::string::npos);
}

TEST_F(SettingsTest, SetDefaultsRestoresEveryFieldButNotTheVersion)
{
    SetEveryFieldToNonDefault(s());
    s().m_Version = 7;
    s().SetDefaults();
    ExpectAllDefaults(s());
    EXPECT_EQ(s().m_Version, 7);
    s().m_Version = 1;
}

// ---- the file -----------------------------------------------------------------------------

TEST_F(SettingsTest, RoundTripRestoresEveryItem)
{
    const fs::path file = m_dir / "QOR.xml";
    SaveNonDefaults(file);
    s().SetDefaults();
    ASSERT_TRUE(s().Load(ToCString(file)));
    EXPECT_TRUE(qor::RecordedMessageBoxes().empty());
    ExpectEveryFieldNonDefault(s());
    EXPECT_EQ(s().m_Version, 1);
}

TEST_F(SettingsTest, FileIsAnXmlArchiveWithTheItemNamesInOrder)
{
    const std::string xml = SaveNonDefaults(m_dir / "QOR.xml");
    EXPECT_EQ(xml.rfind("<?xml", 0), 0u);
    EXPECT_NE(xml.find("<!DOCTYPE boost_serialization>"), std::string::npos);
    EXPECT_NE(xml.find("<m_Version>1</m_Version>"), std::string::npos);
    EXPECT_NE(xml.find("<CLR_LM_WHEEL>16777215</CLR_LM_WHEEL>"), std::string::npos);
    EXPECT_NE(xml.find("<USEBINARYFILEFORMAT>0</USEBINARYFILEFORMAT>"), std::string::npos);
    EXPECT_NE(xml.find("<NPOINTS_ALONG_BEAM>250</NPOINTS_ALONG_BEAM>"), std::string::npos);

    // Items in archive order, nested structs inside their groups.
    const char* order[] = {"<m_Version>",
                           "<General ",
                           "<HELPFILEPATH ",
                           "<value>",
                           "</HELPFILEPATH>",
                           "<USEBINARYFILEFORMAT>",
                           "<LoadModel ",
                           "<CLR_LM_BGRND>",
                           "<CLR_LM_BASELINE>",
                           "<CLR_LM_GRIDLINE>",
                           "<CLR_LM_TEXT>",
                           "<CLR_LM_PL>",
                           "<CLR_LM_UDL>",
                           "<CLR_LM_PUDL>",
                           "<CLR_LM_WHEEL>",
                           "</LoadModel>",
                           "<DecimalPlaces ",
                           "<FACTOR>",
                           "<DISTANCE>",
                           "<SPAN>",
                           "<GVW>",
                           "<VEHLENGTH>",
                           "</DecimalPlaces>",
                           "<Output ",
                           "<BMSF>",
                           "<R>",
                           "<GRAPHS>",
                           "<TABLES>",
                           "</Output>",
                           "<Stepping ",
                           "<BYSTEP>",
                           "<STEPSIZE>",
                           "<NSTEPS>",
                           "</Stepping>",
                           "</General>",
                           "<Analysis ",
                           "<NPOINTS_ALONG_BEAM>",
                           "<NO_AXLE_SPACINGS>",
                           "</Analysis>",
                           "<Plot ",
                           "<RATIOLIMIT_FULLSPEED>",
                           "<RATIOLIMIT_SLOWDOWN>",
                           "<LINEWIDTH>",
                           "<DATATIPDELAY>",
                           "<Gap ",
                           "<TOP>",
                           "<BTM>",
                           "<LEFT>",
                           "<RIGHT>",
                           "<BETWN>",
                           "</Gap>",
                           "<Colours ",
                           "<CLR_BACKGRND>",
                           "<CLR_BORDER>",
                           "<CLR_GRID>",
                           "<CLR_TEXT>",
                           "<CLR_LINEMIN>",
                           "<CLR_LINEMAX>",
                           "<CLR_BEAM>",
                           "<CLR_LIGHTLINE>",
                           "<CLR_PROPMIN>",
                           "<CLR_PROPMAX>",
                           "<CLR_FULLSPEED>",
                           "<CLR_SLOWDOWN>",
                           "</Colours>",
                           "</Plot>",
                           "</boost_serialization>"};
    size_t at = 0;
    for (const char* item : order)
    {
        size_t next = xml.find(item, at);
        ASSERT_NE(next, std::string::npos) << item << " missing or out of order";
        at = next + 1;
    }
    // Every class of the file has version 0.
    for (const char* group : {"<General ", "<LoadModel ", "<Analysis ", "<Plot ", "<Gap ", "<Colours "})
    {
        size_t pos = xml.find(group);
        ASSERT_NE(pos, std::string::npos);
        std::string tag = xml.substr(pos, xml.find('>', pos) - pos);
        EXPECT_NE(tag.find("version=\"0\""), std::string::npos) << tag;
    }
}

TEST_F(SettingsTest, NonAsciiPathSavesAndLoads)
{
    const fs::path folder = m_dir / "Dossier été – 設定";
    fs::create_directories(folder);
    const fs::path file = folder / "QOR ÿ.xml";
    SaveNonDefaults(file);
    EXPECT_TRUE(fs::exists(file));
    ExpectLoadsNonDefaults(file);
}

TEST_F(SettingsTest, AnyStoredVersionLoadsTheSameWay)
{
    const fs::path file = m_dir / "QOR.xml";
    const std::string xml = SaveNonDefaults(file);
    for (const char* version : {"0", "2", "99", "-5", "2147483647"})
    {
        SCOPED_TRACE(version);
        WriteFile(file,
                  ReplaceOnce(xml, "<m_Version>1</m_Version>", std::string("<m_Version>") + version + "</m_Version>"));
        s().SetDefaults();
        EXPECT_TRUE(s().Load(ToCString(file)));
        ExpectEveryFieldNonDefault(s());
        EXPECT_EQ(s().m_Version, 1); // the stored number is not taken over
    }
    EXPECT_TRUE(qor::RecordedMessageBoxes().empty());
}

// ---- damaged files ------------------------------------------------------------------------

TEST_F(SettingsTest, TruncatedFileGivesTheMessageAndAllDefaults)
{
    qor::SetMainWindowHandle(reinterpret_cast<HWND>(0x1000));
    const fs::path file = m_dir / "QOR.xml";
    const std::string xml = SaveNonDefaults(file);
    // Cut inside Plot: General and Analysis would already have been read.
    const size_t cut = xml.find("<DATATIPDELAY>");
    ASSERT_NE(cut, std::string::npos);
    for (size_t length : {cut, xml.size() - 30, size_t(0), size_t(10)})
    {
        SCOPED_TRACE(length);
        WriteFile(file, xml.substr(0, length));
        ExpectFailedLoad(ToCString(file));
    }
}

TEST_F(SettingsTest, GarbageFileGivesTheMessageAndAllDefaults)
{
    const fs::path file = m_dir / "QOR.xml";
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
    const std::string notAnArchive = "<?xml version=\"1.0\"?>\n<settings><a>1</a></settings>\n";
    const std::string xml = SaveNonDefaults(file);
    const std::string wrongType = ReplaceOnce(xml, "<NSTEPS>77</NSTEPS>", "<NSTEPS>many</NSTEPS>");
    const std::string renamedItem = ReplaceOnce(xml, "<LINEWIDTH>3</LINEWIDTH>", "<LINE WIDTH>3</LINE WIDTH>");
    for (const std::string& content : {garbage, notAnArchive, wrongType, renamedItem})
    {
        WriteFile(file, content);
        ExpectFailedLoad(ToCString(file));
    }
}

TEST_F(SettingsTest, MissingFileOrEmptyPathGivesTheMessageAndAllDefaults)
{
    for (const CString& path : {ToCString(m_dir / "none" / "QOR.xml"), CString()}) ExpectFailedLoad(path);
}

TEST_F(SettingsTest, OutOfRangeValuesAreReplacedByTheirDefaults)
{
    const fs::path file = m_dir / "QOR.xml";
    std::string xml = SaveNonDefaults(file);
    xml = ReplaceOnce(xml, "<NSTEPS>77</NSTEPS>", "<NSTEPS>0</NSTEPS>");
    xml =
        ReplaceOnce(xml, "<NPOINTS_ALONG_BEAM>250</NPOINTS_ALONG_BEAM>", "<NPOINTS_ALONG_BEAM>20</NPOINTS_ALONG_BEAM>");
    xml = ReplaceOnce(xml, "<NO_AXLE_SPACINGS>17</NO_AXLE_SPACINGS>", "<NO_AXLE_SPACINGS>2</NO_AXLE_SPACINGS>");
    xml = ReplaceOnce(xml, "<DATATIPDELAY>4321</DATATIPDELAY>", "<DATATIPDELAY>500</DATATIPDELAY>");
    xml = ReplaceOnce(xml, "<TOP>11</TOP>", "<TOP>-1</TOP>");
    xml = ReplaceOnce(xml, "<BETWN>6</BETWN>", "<BETWN>-100</BETWN>");
    xml = ReplaceOnce(xml, "<RIGHT>14</RIGHT>", "<RIGHT>0</RIGHT>"); // the pane takes 1 pixel at least
    xml = ReplaceOnce(xml, "<SPAN>6</SPAN>", "<SPAN>10</SPAN>");     // and 9 decimals at most
    xml = ReplaceOnce(xml, "<LINEWIDTH>3</LINEWIDTH>", "<LINEWIDTH>0</LINEWIDTH>");
    xml = ReplaceOnce(xml, "<FACTOR>4</FACTOR>", "<FACTOR>-2</FACTOR>");
    const size_t a = xml.find("<STEPSIZE>"), b = xml.find("</STEPSIZE>");
    ASSERT_LT(a, b);
    const std::string base = xml.substr(0, a) + "<STEPSIZE>%</STEPSIZE>" + xml.substr(b + 11);

    for (const char* stepSize : {"0.001", "0", "-3", "1e-09"})
    {
        SCOPED_TRACE(stepSize);
        WriteFile(file, ReplaceOnce(base, "%", stepSize));
        s().SetDefaults();
        qor::ClearRecordedMessageBoxes();
        ASSERT_TRUE(s().Load(ToCString(file)));
        // Each value replaced is named, in the file's order.
        EXPECT_EQ(SingleMessage(), "Problem loading Program Settings file.\n"
                                   "General/DecimalPlaces/FACTOR: -2 is not allowed; using its default value instead.\n"
                                   "General/DecimalPlaces/SPAN: 10 is not allowed; using its default value instead.\n"
                                   "General/Stepping/STEPSIZE: " +
                                       std::string(stepSize) +
                                       " is not allowed; using its default value instead.\n"
                                       "General/Stepping/NSTEPS: 0 is not allowed; using its default value instead.\n"
                                       "Analysis/NPOINTS_ALONG_BEAM: 20 is not allowed; using its default value "
                                       "instead.\n"
                                       "Analysis/NO_AXLE_SPACINGS: 2 is not allowed; using its default value instead.\n"
                                       "Plot/LINEWIDTH: 0 is not allowed; using its default value instead.\n"
                                       "Plot/DATATIPDELAY: 500 is not allowed; using its default value instead.\n"
                                       "Plot/Gap/TOP: -1 is not allowed; using its default value instead.\n"
                                       "Plot/Gap/RIGHT: 0 is not allowed; using its default value instead.\n"
                                       "Plot/Gap/BETWN: -100 is not allowed; using its default value instead.\n");
        EXPECT_FALSE(fs::exists(m_dir / "QOR.not-loaded.xml")); // the file loaded
        EXPECT_EQ(s().General.Stepping.STEPSIZE, 0.5);
        EXPECT_EQ(s().General.Stepping.NSTEPS, 20);
        EXPECT_EQ(s().Analysis.NPOINTS_ALONG_BEAM, 100);
        EXPECT_EQ(s().Analysis.NO_AXLE_SPACINGS, 10);
        EXPECT_EQ(s().Plot.DATATIPDELAY, 3000);
        EXPECT_EQ(s().Plot.Gap.TOP, 10);
        EXPECT_EQ(s().Plot.Gap.BETWN, 5);
        EXPECT_EQ(s().Plot.LINEWIDTH, 2);
        EXPECT_EQ(s().General.DecimalPlaces.FACTOR, 3);
        EXPECT_EQ(s().Plot.Gap.RIGHT, 10);
        EXPECT_EQ(s().General.DecimalPlaces.SPAN, 2);
        // Valid neighbours are kept.
        EXPECT_EQ(s().Plot.Gap.BTM, 12);
        EXPECT_EQ(s().General.DecimalPlaces.DISTANCE, 5);
        EXPECT_TRUE(s().General.Stepping.BYSTEP);
    }
}

TEST_F(SettingsTest, SmallestAcceptedValuesAreKept)
{
    const fs::path file = m_dir / "QOR.xml";
    std::string xml = SaveNonDefaults(file);
    xml = ReplaceOnce(xml, "<NSTEPS>77</NSTEPS>", "<NSTEPS>1</NSTEPS>");
    xml =
        ReplaceOnce(xml, "<NPOINTS_ALONG_BEAM>250</NPOINTS_ALONG_BEAM>", "<NPOINTS_ALONG_BEAM>21</NPOINTS_ALONG_BEAM>");
    xml = ReplaceOnce(xml, "<NO_AXLE_SPACINGS>17</NO_AXLE_SPACINGS>", "<NO_AXLE_SPACINGS>3</NO_AXLE_SPACINGS>");
    xml = ReplaceOnce(xml, "<DATATIPDELAY>4321</DATATIPDELAY>", "<DATATIPDELAY>501</DATATIPDELAY>");
    xml = ReplaceOnce(xml, "<TOP>11</TOP>", "<TOP>1</TOP>");
    xml = ReplaceOnce(xml, "<VEHLENGTH>8</VEHLENGTH>", "<VEHLENGTH>9</VEHLENGTH>");
    const size_t a = xml.find("<STEPSIZE>"), b = xml.find("</STEPSIZE>");
    xml = xml.substr(0, a) + "<STEPSIZE>0.0011</STEPSIZE>" + xml.substr(b + 11);
    WriteFile(file, xml);
    s().SetDefaults();
    ASSERT_TRUE(s().Load(ToCString(file)));
    EXPECT_TRUE(qor::RecordedMessageBoxes().empty());
    EXPECT_EQ(s().General.DecimalPlaces.VEHLENGTH, 9);
    EXPECT_EQ(s().General.Stepping.NSTEPS, 1);
    EXPECT_DOUBLE_EQ(s().General.Stepping.STEPSIZE, 0.0011);
    EXPECT_EQ(s().Analysis.NPOINTS_ALONG_BEAM, 21);
    EXPECT_EQ(s().Analysis.NO_AXLE_SPACINGS, 3);
    EXPECT_EQ(s().Plot.DATATIPDELAY, 501);
    EXPECT_EQ(s().Plot.Gap.TOP, 1);
}

// A file that did not load is kept beside it before anything is written over it, and no later
// copy (not one of defaults either) takes the place of a copy kept before.
TEST_F(SettingsTest, AFileThatDidNotLoadIsKeptBesideItAndNeverWrittenOver)
{
    const fs::path file = m_dir / "QOR.xml", first = m_dir / "QOR.not-loaded.xml",
                   second = m_dir / "QOR.not-loaded-2.xml";
    const std::string users = SaveNonDefaults(file);
    const std::string cut = users.substr(0, users.size() / 2);
    const auto loadFails = [&](const std::string& content, const fs::path& keptAs) {
        WriteFile(file, content);
        qor::ClearRecordedMessageBoxes();
        EXPECT_FALSE(s().Load(ToCString(file)));
        const std::string message = SingleMessage();
        ExpectLoadMessage(message);
        EXPECT_TRUE(message.ends_with("\nUsing default values instead.\nThe file that did not load is kept as " +
                                      keptAs.string() + ".\n"))
            << message;
        EXPECT_EQ(ReadFile(keptAs), content);
        ExpectAllDefaults(s());
    };
    loadFails(cut, first);
    EXPECT_TRUE(s().Save(ToCString(file))); // the defaults, at exit
    const std::string defaults = ReadFile(file);
    loadFails(defaults.substr(0, 100), second); // the defaults' file, damaged later
    loadFails(defaults.substr(0, 100), second); // the same file again: the same copy
    EXPECT_EQ(ReadFile(first), cut);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 3);

    // A copy that cannot be made: the file is left as it is, not written over at exit.
    WriteFile(file, cut + "x");
    qor::ClearRecordedMessageBoxes();
    qor::CReplacingFile::InjectOpenFault(ENOSPC);
    EXPECT_FALSE(s().Load(ToCString(file)));
    qor::CReplacingFile::InjectOpenFault(0);
    EXPECT_TRUE(SingleMessage().ends_with(
        "\nThe file that did not load could not be kept beside it (No space left on device); it is left as it is.\n"));
    qor::ClearRecordedMessageBoxes();
    EXPECT_FALSE(s().Save(ToCString(file)));
    EXPECT_TRUE(qor::RecordedMessageBoxes().empty());
    EXPECT_EQ(ReadFile(file), cut + "x");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 3);
}

TEST_F(SettingsTest, ASettingsFileThatIsNoRegularFileIsNeitherReadNorWrittenOver)
{
    // A link to a device (read, it would never end), a pipe (read, it would wait for a writer) and a
    // link to a pipe: the defaults and one message naming it; the link or pipe stays at exit.
    const fs::path pipe = m_dir / "settings-pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path device = m_dir / "device.xml", piped = m_dir / "piped.xml";
    fs::create_symlink("/dev/zero", device);
    fs::create_symlink(pipe, piped);
    for (const auto& [file, kind] :
         {std::pair{device, "it is a device, not a file"}, std::pair{pipe, "it is a pipe, not a file"},
          std::pair{piped, "it is a pipe, not a file"}})
    {
        SetEveryFieldToNonDefault(s());
        qor::ClearRecordedMessageBoxes();
        EXPECT_FALSE(s().Load(ToCString(file)));
        EXPECT_EQ(SingleMessage(), "Problem loading Program Settings file.\n" + file.string() + ": " + kind +
                                       ".\nUsing default values instead; the file is left as it is.\n");
        ExpectAllDefaults(s());
        qor::ClearRecordedMessageBoxes();
        EXPECT_FALSE(s().Save(ToCString(file)));
        EXPECT_TRUE(qor::RecordedMessageBoxes().empty()) << "the load said it";
    }
    EXPECT_EQ(fs::read_symlink(device), fs::path("/dev/zero"));
    EXPECT_EQ(fs::read_symlink(piped), pipe);
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(pipe)));

    // A device put in its place after the settings were read is not written over either.
    const fs::path later = m_dir / "later.xml";
    fs::create_symlink("/dev/null", later);
    qor::ClearRecordedMessageBoxes();
    EXPECT_FALSE(s().Save(ToCString(later)));
    EXPECT_EQ(SingleMessage().rfind("Problem saving file.\n" + later.string() + ": it is a device, not a file\n", 0),
              0u);
    EXPECT_EQ(fs::read_symlink(later), fs::path("/dev/null"));

    // A link to a regular settings file is read.
    const fs::path file = m_dir / "QOR.xml", link = m_dir / "link.xml";
    qor::ClearRecordedMessageBoxes();
    SaveNonDefaults(file);
    fs::create_symlink(file, link);
    ExpectLoadsNonDefaults(link);
}

// ---- saving -------------------------------------------------------------------------------

TEST_F(SettingsTest, SaveIntoMissingFoldersSucceeds)
{
    const fs::path folder = m_dir / "data" / "QOR";
    const fs::path file = folder / "QOR.xml";
    ASSERT_FALSE(fs::exists(folder));
    SaveNonDefaults(file);
    ASSERT_TRUE(fs::is_regular_file(file));
    // Nothing but the settings file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    ExpectLoadsNonDefaults(file);
}

TEST_F(SettingsTest, SaveReplacesAnOlderFileWhole)
{
    const fs::path file = m_dir / "QOR.xml";
    WriteFile(file, std::string(100000, 'x')); // longer than any settings file
    SaveNonDefaults(file);
    ExpectLoadsNonDefaults(file);
}

// At exit the settings are saved whether or not they changed: unchanged, the file stays the very file it
// was (nothing written, nothing to wait for); changed, it is replaced.
TEST_F(SettingsTest, UnchangedSettingsLeaveTheFileAsItWas)
{
    const fs::path file = m_dir / "QOR.xml";
    const std::string saved = SaveNonDefaults(file);
    const auto inode = [&] {
        struct stat st
        {};
        return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const auto before = inode();
    EXPECT_TRUE(s().Save(ToCString(file)));
    EXPECT_EQ(inode(), before);
    EXPECT_EQ(ReadFile(file), saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    s().Plot.DATATIPDELAY = 4322;
    EXPECT_TRUE(s().Save(ToCString(file)));
    EXPECT_NE(inode(), before);
    s().SetDefaults();
    ASSERT_TRUE(s().Load(ToCString(file)));
    EXPECT_EQ(s().Plot.DATATIPDELAY, 4322);
}

TEST_F(SettingsTest, FailedSaveShowsTheMessageAndLeavesNoFileBehind)
{
    qor::SetMainWindowHandle(reinterpret_cast<HWND>(0x2000));
    // A folder in the way of the file: the finished file cannot take its place.
    const fs::path blocked = m_dir / "QOR.xml";
    fs::create_directories(blocked / "inside");
    EXPECT_FALSE(s().Save(ToCString(blocked)));
    const std::string message = SingleMessage();
    ExpectSaveMessage(message, blocked.string());
    EXPECT_NE(message.find(blocked.string() + ": Is a directory\n"), std::string::npos) << message;
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    // A file in the way of the folder.
    WriteFile(m_dir / "plain", "keep");
    qor::ClearRecordedMessageBoxes();
    EXPECT_FALSE(s().Save(ToCString(m_dir / "plain" / "QOR.xml")));
    ExpectSaveMessage(SingleMessage());
    EXPECT_EQ(ReadFile(m_dir / "plain"), "keep");

    // No path at all (no application-data folder).
    qor::ClearRecordedMessageBoxes();
    EXPECT_FALSE(s().Save(CString()));
    ExpectSaveMessage(SingleMessage());
}

TEST_F(SettingsTest, FailedSaveLeavesTheExistingFileUntouched)
{
    const fs::path file = m_dir / "QOR.xml";
    SaveNonDefaults(file);
    const std::string good = ReadFile(file);
    // A path below the file itself can be neither made nor written.
    s().SetDefaults();
    EXPECT_FALSE(s().Save(ToCString(file / "child.xml")));
    ExpectSaveMessage(SingleMessage());
    EXPECT_EQ(ReadFile(file), good);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

// ---- the application-data folder ----------------------------------------------------------

// Points the platform's data folder at a path of our own for one test.
class ScopedDataHome
{
public:
    explicit ScopedDataHome(const fs::path& p)
    {
        if (const char* old = std::getenv("XDG_DATA_HOME")) m_old = old, m_had = true;
        ::setenv("XDG_DATA_HOME", p.c_str(), 1);
    }
    ~ScopedDataHome()
    {
        if (m_had)
            ::setenv("XDG_DATA_HOME", m_old.c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

private:
    std::string m_old;
    bool m_had = false;
};

TEST_F(SettingsTest, AppDataFolderIsMadeWhenMissingAndEndsWithASeparator)
{
    const fs::path data = m_dir / "home" / "data";
    {
        ScopedDataHome home(data);
        ASSERT_FALSE(fs::exists(data));
        EXPECT_EQ(GetAppDataFolder(), ToCString(data) + L"/");
        EXPECT_TRUE(fs::is_directory(data));

        // The manual's default lies in the program's subfolder, which is not made.
        s().SetDefaults();
        EXPECT_EQ(s().General.HELPFILEPATH, ToCString(data) + L"/QOR/QOR User Manual.pdf");
        EXPECT_FALSE(fs::exists(data / "QOR"));
    }
    {
        // A trailing separator in the environment gives no doubled separator.
        ScopedDataHome home(data.string() + "/");
        EXPECT_EQ(GetAppDataFolder(), ToCString(data) + L"/");
    }
}

TEST_F(SettingsTest, AppDataFolderThatCannotBeMadeIsEmpty)
{
    WriteFile(m_dir / "plain", "x");
    ScopedDataHome home(m_dir / "plain" / "data");
    EXPECT_TRUE(GetAppDataFolder().IsEmpty());
    EXPECT_EQ(ReadFile(m_dir / "plain"), "x");
}

// ---- archive error hints ------------------------------------------------------------------

TEST(ArchiveExceptionHintTest, EveryRowOfTheTable)
{
    EXPECT_EQ(ArchiveExceptionHint("coding error"), "(Boost.Serialization library problem)");
    EXPECT_EQ(ArchiveExceptionHint("unrecognized XML syntax"),
              "(name-value-pair name contains illegal chars including whitespace?)");
    EXPECT_EQ(ArchiveExceptionHint("unregistered class"), "(missing BOOST_CLASS_EXPORT(SubClass) macro?)");
    EXPECT_EQ(ArchiveExceptionHint("unregistered void cast"),
              "(missing ar & BOOST_SERIALIZATION_BASE_OBJECT_NVP(BaseClass) statement?)");
    EXPECT_EQ(ArchiveExceptionHint("stream error"),
              "(asymmetric serialization, including attempt to load empty archive?)");
}

TEST(ArchiveExceptionHintTest, OnlyExactTextsMatch)
{
    for (const char* what : {"Unregistered Class", "UNRECOGNIZED XML SYNTAX", "Stream error", "stream error ",
                             " coding error", "unregistered class - Foo", "input stream error", ""})
    {
        EXPECT_EQ(ArchiveExceptionHint(what), "(no local interpretation)") << what;
    }
}
