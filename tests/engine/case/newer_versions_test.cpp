// Cases from a later QOR: every class of the program's own whose version in the file is above the one
// this program writes (the reference set's 1, every other class's 0) is refused, in both forms, naming
// the element being read; the archive library's classes (its containers and pointers) and the settings
// file are read as before; the stored cases and a reference set of version 0 still open.

#include "tests/engine/case/case_fixture.h"

#include "engine/analysis/ReferenceSet.h"
#include "engine/settings/Settings.h"

#include <boost/archive/binary_oarchive.hpp>
#include <boost/serialization/nvp.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace casetest;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t LineAt(const std::string& text, std::size_t at)
{
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

// A class record of an XML case: where its version's digits are, the version, and whether the
// class is the library's (a shared pointer, whose item is "px", or a list, whose item is "count").
struct Record
{
    std::size_t versionAt = 0, versionLength = 0;
    unsigned version = 0;
    bool bLibrary = false;
    std::size_t line = 0;
};

std::vector<Record> Records(const std::string& xml)
{
    std::vector<Record> records;
    for (std::size_t at = xml.find(" class_id=\""); at != std::string::npos; at = xml.find(" class_id=\"", at + 1))
    {
        const std::size_t end = xml.find('>', at);
        const std::size_t version = xml.find(" version=\"", at);
        if (version > end) continue; // a null pointer
        Record r;
        r.versionAt = version + 10;
        r.versionLength = xml.find('"', r.versionAt) - r.versionAt;
        r.version = static_cast<unsigned>(std::stoul(xml.substr(r.versionAt, r.versionLength)));
        const std::size_t content = xml.find_first_not_of(" \t\r\n", end + 1);
        r.bLibrary = xml.compare(content, 4, "<px ") == 0 || xml.compare(content, 7, "<count>") == 0;
        r.line = LineAt(xml, at);
        records.push_back(r);
    }
    return records;
}

// The library's binary archive (which writes what the case file's does), with the version of one class
// record, the raised one (from 0), written that much higher.
class CRaisingArchive : public boost::archive::binary_oarchive
{
public:
    CRaisingArchive(std::ostream& out, int raised, unsigned by)
        : boost::archive::binary_oarchive(out), m_nRaised(raised), m_nBy(by)
    {}
    int m_nRecords = 0;

private:
    void vsave(const boost::archive::version_type t) override
    {
        const unsigned version = t + (m_nRecords++ == m_nRaised ? m_nBy : 0);
        static_cast<boost::archive::binary_oarchive&>(*this) << boost::archive::version_type(version);
    }
    int m_nRaised;
    unsigned m_nBy;
};

std::string RaisedBinary(const CCaseData& c, int raised, unsigned by, int* pRecords = nullptr)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    {
        CRaisingArchive ar(out, raised, by);
        ar << boost::serialization::make_nvp("QORConfig", c);
        if (pRecords) *pRecords = ar.m_nRecords;
    }
    return out.str();
}

} // namespace

TEST(NewerCaseFiles, EachClassOfTheProgramOfALaterVersionIsRefusedNamingTheElement)
{
    const CCaseData c = SmallCase();
    const std::string xml = CaseFile(c, false);
    const std::vector<Record> records = Records(xml);
    int binaryRecords = 0;
    ASSERT_TRUE(RaisedBinary(c, -1, 0, &binaryRecords) == CaseFile(c, true)) << "the library writes another file";
    ASSERT_EQ(binaryRecords, static_cast<int>(records.size()));

    const std::string newer = "failed: it was written by a newer version of QOR (reading ";
    std::set<std::string> places;
    int own = 0;
    for (std::size_t k = 0; k < records.size(); ++k)
    {
        const Record& r = records[k];
        SCOPED_TRACE("record " + std::to_string(k) + " at line " + std::to_string(r.line));
        const unsigned by = k % 3 == 0 ? 1 : k % 3 == 1 ? 6 : 98; // versions 1, 2, 7 and 99 among them
        std::string raisedXml = xml;
        raisedXml.replace(r.versionAt, r.versionLength, std::to_string(r.version + by));
        CCaseData fromXml, fromBinary;
        const std::string xmlFailure = LoadFailure(raisedXml, fromXml);
        const std::string binaryFailure = LoadFailure(RaisedBinary(c, static_cast<int>(k), by), fromBinary);
        if (r.bLibrary)
        {
            // Read by the library's own rules, as before.
            EXPECT_EQ(xmlFailure, "");
            EXPECT_EQ(binaryFailure, "");
            continue;
        }
        ++own;
        // The same element in both forms, and in XML the line of the record.
        const std::string line = ", line " + std::to_string(r.line) + ")";
        ASSERT_EQ(xmlFailure.rfind(newer, 0), 0u) << xmlFailure;
        ASSERT_TRUE(xmlFailure.ends_with(line)) << xmlFailure;
        EXPECT_EQ(binaryFailure, xmlFailure.substr(0, xmlFailure.size() - line.size()) + ")");
        places.insert(xmlFailure.substr(newer.size(), xmlFailure.size() - newer.size() - line.size()));
        EXPECT_TRUE(fromXml.m_vBridge.empty() && fromBinary.m_vBridge.empty());
    }
    EXPECT_GE(own, 16); // the case, the element, the text, four elements and their loads, the results and their parts
    for (const char* place :
         {"the case", "bridge 1 of the case", "bridge set 1 of the case", "load model 1 of the case",
          "load model ensemble 1 of the case", "reference collection 1 of the case",
          "reference set 1 of reference collection 1 of the case",
          "envelope results 1 of reference set 1 of reference collection 1 of the case",
          "envelope 1 of envelope results 1 of reference set 1 of reference collection 1 of the case"})
        EXPECT_EQ(places.count(place), 1u) << place;
}

TEST(NewerCaseFiles, StoredCasesAndAReferenceSetOfVersion0StillOpen)
{
    const char* data = std::getenv("QOR_TEST_DATA");
    ASSERT_NE(data, nullptr);
    for (const std::string& path :
         {std::string(data) + "/two_collections.qor", std::string(QOR_CASE_FIXTURES) + "/envelopes-binary.qor",
          std::string(QOR_CASE_FIXTURES) + "/envelopes-xml.qor"})
    {
        CCaseData opened;
        EXPECT_EQ(LoadFailure(ReadFile(path), opened), "") << path;
        EXPECT_FALSE(opened.m_vRefCollection.empty()) << path;
    }

    // A reference set as files written before its version 1 hold it: its reference ensemble under
    // its former name, and no proposed ensemble.
    const CCaseData c = SmallCase();
    std::string xml = CaseFile(c, false);
    const std::size_t set = xml.find("<px ", xml.find("<m_vRefSet "));
    const std::size_t version = xml.find(" version=\"1\"", set);
    ASSERT_LT(version, xml.find('>', set));
    xml.replace(version, 12, " version=\"0\"");
    for (const char* item : {"<m_pPropLME", "<m_bUseLM>", "<m_bIsRatioCalculated>"})
    {
        const std::size_t from = xml.find(item);
        const std::string close = "</" + std::string(item).substr(1, std::string(item).find_first_of(" >", 1) - 1);
        const std::size_t to = xml.find(close, from) + close.size() + 1;
        ASSERT_NE(from, std::string::npos) << item;
        xml.erase(from, to - from);
    }
    for (std::size_t at = xml.find("m_pRefLME"); at != std::string::npos; at = xml.find("m_pRefLME", at))
        xml.replace(at, 9, "m_pLoadModelEnsemble");
    CCaseData opened;
    ASSERT_EQ(LoadFailure(xml, opened), "");
    const auto& refSet = opened.m_vRefCollection.at(0)->m_vRefSet.at(0);
    EXPECT_EQ(refSet->GetRefLME(), opened.m_vLoadModelEnsemble.at(0));
    EXPECT_FALSE(refSet->GetPropLME());
    EXPECT_TRUE(refSet->m_bIsCalculated);
    EXPECT_EQ(refSet->m_vRefCritEnv.size(), c.m_vRefCollection[0]->m_vRefSet[0]->m_vRefCritEnv.size());
    // Saved again at this program's version, it is the case as this program writes it.
    EXPECT_TRUE(CaseFile(opened, false) == CaseFile(c, false));
}

// The settings file is this program's alone and is not checked: a later version of its classes reads.
TEST(NewerCaseFiles, TheSettingsFileIsNotChecked)
{
    CSettings& s = *CSettings::GetInstance();
    s.SetDefaults();
    s.Analysis.NPOINTS_ALONG_BEAM = 37;
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("qor-newer-settings-" + std::to_string(::getpid()) + ".xml");
    // Removed however the test ends.
    struct Removed
    {
        const std::filesystem::path& path;
        ~Removed()
        {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    } removed{file};
    ASSERT_TRUE(s.Save(CString::FromUtf8(file.string())));
    std::string xml = ReadFile(file.string());
    int raised = 0;
    for (std::size_t at = xml.find(" version=\"0\""); at != std::string::npos; at = xml.find(" version=\"0\"", at))
    {
        xml.replace(at, 12, " version=\"3\"");
        ++raised;
    }
    ASSERT_GT(raised, 3);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << xml;
    s.SetDefaults();
    EXPECT_TRUE(s.Load(CString::FromUtf8(file.string())));
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 37);
    s.SetDefaults();
}
