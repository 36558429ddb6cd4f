// Damaged and hostile settings and case files: every load either succeeds or fails with its
// message, in good time, without aborting, hanging, crashing or exhausting memory, and a failed
// load leaves the program's state as it was. A deterministic fuzz of both files in every form,
// then each fault found in them one by one.

#include "tests/engine/case/case_fixture.h"
#include "tests/engine/engine_test_util.h"

#include "engine/EngineErrors.h"
#include "engine/settings/Settings.h"
#include "platform/core/MessageBox.h"

#include <boost/archive/basic_archive.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace casetest;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kLoadTimeBound = std::chrono::seconds(2); // per load, under the sanitizers

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to)
{
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

std::string ReplaceNth(std::string s, const std::string& from, const std::string& to, int n)
{
    std::size_t at = s.find(from);
    for (int i = 0; i < n && at != std::string::npos; ++i) at = s.find(from, at + 1);
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

// The number that follows the nth (from 0) marker replaced by another.
std::string ReplaceNumberAfter(std::string s, const std::string& marker, int n, const std::string& number)
{
    std::size_t at = s.find(marker);
    for (int i = 0; i < n && at != std::string::npos; ++i) at = s.find(marker, at + 1);
    if (at == std::string::npos) return s;
    const std::size_t from = at + marker.size();
    std::size_t to = from;
    while (to < s.size() && (std::isdigit(static_cast<unsigned char>(s[to])) || s[to] == '-')) ++to;
    s.replace(from, to - from, number);
    return s;
}

// The damaged variants of one file: cuts, byte flips, and for XML hostile edits of counts,
// class ids, entities and tags; for binary, huge and negative numbers written over it.
std::vector<std::string> Variants(const std::string& file, bool xml, std::size_t nCuts, std::size_t nFlips)
{
    std::vector<std::string> out;
    const std::size_t size = file.size();
    for (std::size_t k = 0; k < nCuts; ++k) out.push_back(file.substr(0, k * size / nCuts));
    for (std::size_t k = 1; k <= 40 && k < size; ++k) out.push_back(file.substr(0, size - k)); // the closing tag

    std::mt19937 rng(20261207);
    std::uniform_int_distribution<std::size_t> at(0, size - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::size_t k = 0; k < nFlips; ++k)
    {
        std::string v = file;
        for (int n = 0; n < 1 + static_cast<int>(k % 3); ++n) v[at(rng)] = static_cast<char>(byte(rng));
        out.push_back(std::move(v));
    }

    if (xml)
    {
        for (const char* count : {"1000000000", "18446744073709551615", "-1", "8589934592", "99999999999999999999999"})
            for (int n : {0, 1, 3}) out.push_back(ReplaceNumberAfter(file, "<count>", n, count));
        for (int n : {0, 2})
        {
            out.push_back(ReplaceNth(file, "class_id=\"", "class_id=\"999", n));
            out.push_back(ReplaceNth(file, "class_id_reference=\"", "class_id_reference=\"999", n));
            out.push_back(ReplaceNth(file, "object_id_reference=\"_", "object_id_reference=\"_999", n));
        }
        // References to objects of other classes, and to the object that holds them.
        for (int n : {0, 1, 4})
            for (int id = 0; id < 12; ++id)
                out.push_back(ReplaceNumberAfter(file, "object_id_reference=\"_", n, std::to_string(id)));
        for (const char* entity : {"&#0;", "&#256;", "&#x0;", "&#99999999;", "&lt;&bogus;", "&"})
        {
            out.push_back(ReplaceNth(file, "<value>", std::string("<value>") + entity, 0));
            out.push_back(ReplaceNth(file, "<value>", std::string("<value>") + entity, 2));
        }
        const std::string longName(5000, 'x');
        out.push_back(ReplaceNth(file, "</value>", "</" + longName + ">", 0));
        out.push_back(ReplaceNth(file, "</value>", "</v>", 1));
        out.push_back(ReplaceNth(file, "</value>", "</valuevalue>", 1));
        out.push_back(ReplaceAll(file, "version=\"0\"", "version=\"9\""));
        out.push_back(ReplaceNth(file, "</boost_serialization>", "<x></boost_serialization>", 0));
    }
    else
    {
        // Numbers of every width the archive uses, written over it at a fixed sample of places.
        const std::uint64_t huge = 0x7FFFFFFFFFFFFFFFull, all = ~0ull, big32 = 0xFFFFFFFFull;
        for (std::size_t pos = 0; pos + 8 <= size; pos += std::max<std::size_t>(1, size / 40))
        {
            for (std::uint64_t value : {huge, all, big32})
            {
                std::string v = file;
                std::memcpy(&v[pos], &value, 8);
                out.push_back(std::move(v));
            }
            std::string id = file; // a 16-bit class id far beyond the registered ones
            const std::int16_t bigId = 0x7FF0;
            std::memcpy(&id[pos], &bigId, 2);
            out.push_back(std::move(id));
            std::string flag = file; // a boolean that is neither 0 nor 1
            flag[pos] = 2;
            out.push_back(std::move(flag));
        }
    }
    return out;
}

class HostileFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qor-hostile-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        CSettings::GetInstance()->SetDefaults();
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
        CSettings::GetInstance()->SetDefaults();
        qor::ClearRecordedMessageBoxes();
    }

    // Loads the settings file; a failure must say so once and leave every default.
    bool LoadSettings(const std::string& content)
    {
        const fs::path file = m_dir / "QOR.xml";
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out << content;
        }
        CSettings& s = *CSettings::GetInstance();
        s.Plot.LINEWIDTH = 7; // not a default: a failed load must replace it
        qor::ClearRecordedMessageBoxes();
        const auto start = Clock::now();
        const bool ok = s.Load(CString::FromUtf8(file.string()));
        EXPECT_LT(Clock::now() - start, kLoadTimeBound);
        // A load names the values it did not take, if any; a failed one keeps a copy of the file.
        EXPECT_LE(qor::RecordedMessageBoxes().size(), 1u);
        if (!ok)
        {
            EXPECT_EQ(qor::RecordedMessageBoxes().size(), 1u);
            EXPECT_EQ(s.Plot.LINEWIDTH, 2);
            std::error_code ec;
            EXPECT_TRUE(fs::remove(m_dir / "QOR.not-loaded.xml", ec)) << qor::RecordedMessageBoxes()[0].text.ToUtf8();
        }
        // Whatever was read lies within the limits.
        EXPECT_GE(s.Analysis.NPOINTS_ALONG_BEAM, CSettings::kMinPointsPerSpan);
        EXPECT_LE(s.Analysis.NPOINTS_ALONG_BEAM, 32767);
        EXPECT_LE(s.General.Stepping.STEPSIZE, CSettings::kMaxStepSize);
        EXPECT_LE(s.Plot.Colours.CLR_TEXT, 0xFFFFFFu);
        return ok;
    }

    fs::path m_dir;
};

// Loads a case file over an open case; a failure must leave the open case as it was.
std::string LoadOver(const std::string& bytes, bool binary)
{
    static const CCaseData openCase = [] {
        CCaseData c;
        c.m_vBridge = {std::make_shared<CBridge>(1, CString(L"Open"), CBridge::CONFIG_ONESPAN, 10.0)};
        c.m_sCaseRef = L"open";
        return c;
    }();
    CCaseData data = openCase;
    const auto start = Clock::now();
    const std::string failure = LoadFailure(bytes, data);
    EXPECT_LT(Clock::now() - start, kLoadTimeBound);
    if (!failure.empty())
    {
        EXPECT_EQ(data.m_vBridge, openCase.m_vBridge);
        EXPECT_EQ(data.m_sCaseRef, openCase.m_sCaseRef);
    }
    return failure;
}

} // namespace

TEST_F(HostileFiles, EveryDamagedSettingsFileLoadsOrGivesTheMessageAndTheDefaults)
{
    CSettings& s = *CSettings::GetInstance();
    s.Analysis.NPOINTS_ALONG_BEAM = 250;
    s.General.HELPFILEPATH = L"/manuals/Überführung.pdf";
    const fs::path file = m_dir / "QOR.xml";
    ASSERT_TRUE(s.Save(CString::FromUtf8(file.string())));
    std::ifstream in(file, std::ios::binary);
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    ASSERT_TRUE(LoadSettings(xml));
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 250);
    EXPECT_EQ(s.General.HELPFILEPATH, CString(L"/manuals/Überführung.pdf"));

    int failed = 0;
    for (const std::string& v : Variants(xml, true, 200, 150)) failed += LoadSettings(v) ? 0 : 1;
    EXPECT_GT(failed, 0);
}

TEST(HostileCaseFiles, EveryDamagedCaseFileLoadsOrFailsLeavingTheOpenCase)
{
    // Few result points keep the file small and the fuzz quick.
    CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 21;
    const CCaseData c = SmallCase();
    CSettings::GetInstance()->SetDefaults();
    for (bool binary : {false, true})
    {
        SCOPED_TRACE(binary ? "binary" : "XML");
        const std::string file = CaseFile(c, binary);
        ASSERT_EQ(LoadOver(file, binary), "");
        int failed = 0;
        for (const std::string& v : Variants(file, !binary, 40, 80)) failed += LoadOver(v, binary).empty() ? 0 : 1;
        EXPECT_GT(failed, 0);
    }
}

TEST_F(HostileFiles, EachFaultOfTheAuditFailsAsAnOrdinaryLoad)
{
    // A settings file cut inside its last closing tag (once an abort at every start).
    CSettings& s = *CSettings::GetInstance();
    const fs::path file = m_dir / "QOR.xml";
    ASSERT_TRUE(s.Save(CString::FromUtf8(file.string())));
    std::ifstream in(file, std::ios::binary);
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t closing = xml.rfind("</boost_serialization>");
    EXPECT_FALSE(LoadSettings(xml.substr(0, closing + 5)));

    // A NUL character entity in a text (once an endless loop).
    EXPECT_FALSE(LoadSettings(ReplaceNth(xml, "<value>", "<value>&#0;", 0)));
    EXPECT_FALSE(LoadSettings(ReplaceNth(xml, "<value>", "<value>a&#256;b", 0)));

    // A closing tag of another, very long name (once a read past its end).
    EXPECT_FALSE(LoadSettings(ReplaceAll(xml, "</TOP>", "</" + std::string(100000, 'T') + ">")));

    // Settings out of their range take their defaults one by one; the others are kept.
    std::string edited = ReplaceAll(xml, "<NPOINTS_ALONG_BEAM>100<", "<NPOINTS_ALONG_BEAM>1000000<");
    edited = ReplaceAll(edited, "<STEPSIZE>0.5<", "<STEPSIZE>1e300<");
    edited = ReplaceAll(edited, "<CLR_GRID>10526880<", "<CLR_GRID>4294967295<");
    edited = ReplaceAll(edited, "<LINEWIDTH>2<", "<LINEWIDTH>5<");
    ASSERT_TRUE(LoadSettings(edited));
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 100);
    EXPECT_EQ(s.General.Stepping.STEPSIZE, 0.5);
    EXPECT_EQ(s.Plot.Colours.CLR_GRID, 0xA0A0A0u);
    EXPECT_EQ(s.Plot.LINEWIDTH, 5);

    // Counts beyond the file (a 10 KB case asking for a billion bridges, or more than 2^32).
    const CCaseData c = SmallCase();
    const std::string caseXml = CaseFile(c, false);
    for (const char* count : {"1000000000", "8589934592"})
        EXPECT_NE(
            LoadOver(ReplaceNth(caseXml, "<count>2</count>", std::string("<count>") + count + "</count>", 0), false),
            "");

    // Texts that are not archive errors come back as the same kind of failure, naming the line of the
    // element's last item (read before its check).
    CCaseData many = SmallCase();
    many.m_vBridgeSet[0]->m_nBridge = 3;
    const std::string setXml = CaseFile(many, false);
    auto lineOf = [](const std::string& text, const std::string& item, const std::string& after) {
        const auto at = text.find(item, text.find(after));
        return std::to_string(1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    };
    const std::string setAt = "(reading bridge set 1 of the case, line " + lineOf(setXml, "</m_Config>", "<m_nBridge>");
    EXPECT_EQ(LoadOver(ReplaceNth(setXml, "<m_nBridge>3</m_nBridge>", "<m_nBridge>1000000000</m_nBridge>", 0), false),
              "failed: the file is damaged " + setAt + "): " + kRangeTooLargeError);
    EXPECT_EQ(LoadOver(ReplaceNth(setXml, "<m_nBridge>3</m_nBridge>", "<m_nBridge>5000</m_nBridge>", 0), false),
              "failed: the file is damaged " + setAt + "): " + kTooManyBridgesError);
    EXPECT_EQ(LoadOver(ReplaceNth(caseXml, "<m_Config>1</m_Config>", "<m_Config>7</m_Config>", 0), false),
              "failed: the file is damaged (reading bridge 1 of the case, line " +
                  lineOf(caseXml, "</m_vSpans>", "<m_vBridge") + "): " + kBridgeConfigError);

    // A bridge of 10,000 spans (80 KB of binary input) is refused, not solved.
    CCaseData spans = SmallCase();
    spans.m_vBridge[0]->m_Config = CBridge::CONFIG_EXPLICIT;
    spans.m_vBridge[0]->m_vSpans.assign(100, 10.0);
    spans.m_vBridge[0]->BuildBeam();
    std::string bytes = CaseFile(spans, true);
    EXPECT_EQ(LoadOver(bytes, true), "");
    spans.m_vBridge[0]->m_vSpans.assign(10000, 10.0);
    EXPECT_EQ(enginetest::ThrownText([&] { spans.m_vBridge[0]->BuildBeam(); }), kTooManySpansError);
}

// A header that names a later version of the archive library than ours (whose forms ours cannot
// know) is refused before anything else is read, in every form, saying so.
TEST_F(HostileFiles, AFileOfANewerArchiveLibraryIsRefusedSayingSo)
{
    const std::string ours = std::to_string(static_cast<unsigned>(boost::archive::BOOST_ARCHIVE_VERSION()));
    const std::string header = "<boost_serialization signature=\"serialization::archive\" version=\"";
    const std::string newer = "failed: it was written by a newer version of the archive library than this program's "
                              "(by a newer QOR)";

    CSettings& s = *CSettings::GetInstance();
    const fs::path file = m_dir / "QOR.xml";
    ASSERT_TRUE(s.Save(CString::FromUtf8(file.string())));
    std::ifstream in(file, std::ios::binary);
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_NE(xml.find(header + ours + "\""), std::string::npos);
    for (const char* version : {"99999", "4294967296"})
    {
        EXPECT_FALSE(LoadSettings(ReplaceAll(xml, header + ours, header + version)));
        ASSERT_EQ(qor::RecordedMessageBoxes().size(), 1u);
        EXPECT_NE(qor::RecordedMessageBoxes()[0].text.Find(
                      L"Boost reports: unsupported version\nPossibly: (file written by a newer version of the "
                      L"archive library than this program's?)\n"),
                  -1)
            << qor::RecordedMessageBoxes()[0].text.ToUtf8();
    }

    const std::string caseXml = CaseFile(SmallCase(), false);
    EXPECT_EQ(LoadOver(ReplaceAll(caseXml, header + ours, header + "99999"), false), newer);
    EXPECT_EQ(LoadOver(ReplaceAll(caseXml, header + ours, header + "19"), false), newer);
    EXPECT_EQ(LoadOver(ReplaceAll(caseXml, "version=\"" + ours, "version = \"99999"), false), newer);
    EXPECT_EQ(LoadOver(ReplaceAll(caseXml, header + ours, header + "17"), false), "");

    // Binary: two bytes after the signature's length and the signature; the library reads the low one
    // only, and would take 18 + 256 for its own 18.
    const std::string bytes = CaseFile(SmallCase(), true);
    const std::size_t at = 8 + std::string(boost::archive::BOOST_ARCHIVE_SIGNATURE()).size();
    for (unsigned version : {0xFFFFu, 0x0100u + static_cast<unsigned>(boost::archive::BOOST_ARCHIVE_VERSION())})
    {
        std::string v = bytes;
        v[at] = static_cast<char>(version & 0xFF);
        v[at + 1] = static_cast<char>(version >> 8);
        EXPECT_EQ(LoadOver(v, true), newer) << version;
    }
}

TEST(HostileCaseFiles, EveryClassIdAndBooleanOfASmallBinaryCaseOutOfRangeFails)
{
    // A case of one element of each list: every 16-bit place set beyond the registered class
    // ids, every byte set to 2 (a boolean neither 0 nor 1 where it hits one).
    CCaseData c;
    c.m_vBridge = {std::make_shared<CBridge>(1, CString(L"B"), CBridge::CONFIG_ONESPAN, 10.0)};
    c.m_vBridgeSet = {std::make_shared<CBridgeSet>(1, CString(L"S"), 2, CBridge::CONFIG_ONESPAN, 10.0, 20.0)};
    auto lm = std::make_shared<CLoadModel>(1, CString(L"M"));
    lm->AddPointLoad(10.0, 0.0, 0.0);
    c.m_vLoadModel = {lm};
    c.m_vLoadModelEnsemble = {std::make_shared<CLoadModelEnsemble>(1, CString(L"E"))};
    c.m_vLoadModelEnsemble[0]->AddLoadModel(lm);
    c.m_vRefCollection = {std::make_shared<CReferenceCollection>(1, CString(L"R"), true, 0, 1.0)};
    const std::string file = CaseFile(c, true);
    ASSERT_EQ(LoadOver(file, true), "");
    int failed = 0;
    for (std::size_t pos = 0; pos + 2 <= file.size(); ++pos)
    {
        std::string id = file;
        const std::int16_t bigId = 0x7FF0;
        std::memcpy(&id[pos], &bigId, 2);
        failed += LoadOver(id, true).empty() ? 0 : 1;
        std::string flag = file;
        flag[pos] = 2;
        failed += LoadOver(flag, true).empty() ? 0 : 1;
    }
    EXPECT_GT(failed, 0);
}

TEST(HostileCaseFiles, EveryHugeOrRandomCountOfABinaryCaseWithResultsFails)
{
    // A computed collection (reference sets, critical values, envelopes) of one ensemble over
    // one set: at every place of the file (the set, the ensemble, the reference set and its
    // envelopes), eight bytes of 0xFF (a count of 2^64 - 1 where a count is, the object id of a
    // reference to an object of another class elsewhere) and a random number. Each load fails or
    // loads; none crashes, allocates what the file cannot hold or leaves behind the objects it
    // had made when it failed.
    CCaseData c;
    auto set = std::make_shared<CBridgeSet>(1, CString(L"S"), 2, CBridge::CONFIG_TWOSPAN, 10.0, 12.0);
    auto lm = std::make_shared<CLoadModel>(1, CString(L"M"));
    lm->AddPointLoad(10.0, 0.0, 0.0);
    auto lme = std::make_shared<CLoadModelEnsemble>(1, CString(L"E"));
    lme->AddLoadModel(lm);
    auto collection = std::make_shared<CReferenceCollection>(1, CString(L"R"), false, 2, 1.0);
    collection->m_vLME = {lme};
    collection->m_vBS = {set};
    int& points = CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM;
    const int savedPoints = points;
    points = 2; // short envelopes keep the file small
    collection->Calculate();
    points = savedPoints;
    c.m_vRefCollection = {collection};
    const std::string file = CaseFile(c, true);
    ASSERT_EQ(LoadOver(file, true), "");
    std::mt19937_64 rng(7);
    int failed = 0;
    for (std::size_t pos = 0; pos + 8 <= file.size(); ++pos)
    {
        std::string huge = file;
        std::memset(&huge[pos], 0xFF, 8);
        failed += LoadOver(huge, true).empty() ? 0 : 1;
        std::string random = file;
        const std::uint64_t n = rng() >> (rng() % 64);
        std::memcpy(&random[pos], &n, 8);
        failed += LoadOver(random, true).empty() ? 0 : 1;
    }
    EXPECT_GT(failed, 0);
}
