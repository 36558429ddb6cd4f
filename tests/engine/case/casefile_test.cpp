// A case written and read back in both forms; a failed load leaves the case as it was.

#include "tests/engine/case/case_fixture.h"

#include "engine/EngineErrors.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/archive/ArchiveInBuffer.h"
#include "engine/archive/CaseFileProgress.h"
#include "engine/model/Beam.h"

#include <gtest/gtest.h>

#include <chrono>

#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <limits>
#include <unistd.h>

using namespace casetest;

namespace {

std::vector<double> ReferenceMaxima(const CReferenceCollection& rc)
{
    std::vector<double> max, min, all;
    for (const auto& set : rc.GetRefSets())
    {
        set->GetRefCritValues()->GetBM(max, min);
        all.insert(all.end(), max.begin(), max.end());
        all.insert(all.end(), min.begin(), min.end());
    }
    return all;
}

} // namespace

TEST(CaseFile, ACaseSurvivesBothFormsSharedAsItWas)
{
    const CCaseData saved = SmallCase();
    for (bool binary : {false, true})
    {
        SCOPED_TRACE(binary ? "binary" : "XML");
        const std::string bytes = CaseFile(saved, binary);
        if (!binary)
        {
            EXPECT_EQ(bytes.find("<QORConfig"), bytes.find('<', bytes.find("<boost_serialization") + 1));
            EXPECT_NE(bytes.find("Überführung"), std::string::npos);
        }
        CCaseData loaded;
        ASSERT_EQ(LoadFailure(bytes, loaded), "");

        ASSERT_EQ(loaded.m_vBridge.size(), 2u);
        EXPECT_EQ(loaded.m_vBridge[0]->m_Description, CString(L"Pont à une travée"));
        EXPECT_EQ(loaded.m_vBridge[1]->GetBeam()->m_nSpans, 2);
        EXPECT_EQ(loaded.m_sCaseNotes, saved.m_sCaseNotes);
        EXPECT_EQ(loaded.m_sCaseRef, CString(L"Case 7"));
        EXPECT_EQ(loaded.m_vLoadModel[0]->m_Description, CString(L"Tandem µ"));

        // One object however many lists hold it.
        const auto& ensemble = loaded.m_vLoadModelEnsemble[0];
        EXPECT_EQ(ensemble->GetLoadModel(0), loaded.m_vLoadModel[0]);
        EXPECT_EQ(ensemble->GetLoadModel(1), loaded.m_vLoadModel[1]);
        const auto& rc = *loaded.m_vRefCollection[0];
        EXPECT_EQ(rc.m_vBS[0], loaded.m_vBridgeSet[0]);
        EXPECT_EQ(rc.GetRefSet(0)->GetRefLME(), ensemble);
        EXPECT_TRUE(rc.m_bIsCalculated);
        EXPECT_EQ(ReferenceMaxima(rc), ReferenceMaxima(*saved.m_vRefCollection[0]));
        EXPECT_FALSE(ReferenceMaxima(rc).empty());
    }
}

TEST(CaseFile, AFailedLoadSaysWhyAndLeavesTheCaseAsItWas)
{
    const CCaseData other = SmallCase();
    for (bool binary : {false, true})
    {
        SCOPED_TRACE(binary ? "binary" : "XML");
        CCaseData open = SmallCase();
        const auto bridge = open.m_vBridge[0];
        const std::string bytes = CaseFile(other, binary);

        // Cut short, empty, not a case.
        for (const std::string& bad : {bytes.substr(0, bytes.size() / 2), std::string(), std::string("QOR")})
        {
            std::istringstream in(bad, std::ios::in | std::ios::binary);
            try
            {
                LoadCase(in, open);
                ADD_FAILURE() << "loaded";
            }
            catch (const CCaseFileError& e)
            {
                EXPECT_STRNE(e.what(), "");
            }
            ASSERT_EQ(open.m_vBridge.size(), 2u);
            EXPECT_EQ(open.m_vBridge[0], bridge);
            EXPECT_EQ(open.m_sCaseRef, CString(L"Case 7"));
        }
    }
}

TEST(CaseFile, ACaseTheAnalysesCannotUseIsRefusedNamingTheElementByKindAndPlace)
{
    CCaseData c = SmallCase();
    c.m_vLoadModel[0]->m_vPL[0].magnitude = std::nan("");
    CCaseData loaded;
    EXPECT_EQ(LoadFailure(CaseFile(c, true), loaded),
              "failed: the file is damaged: load model 1 of the case has a load, factor or location that is not a "
              "finite number");

    c = SmallCase();
    c.m_vBridge[0]->m_Config = CBridge::CONFIG_EXPLICIT;
    c.m_vBridge[0]->m_vSpans = {10.0, -2.0};
    EXPECT_EQ(LoadFailure(CaseFile(c, false), loaded),
              "failed: the file is damaged: bridge 1 of the case has a span length that is not a positive finite "
              "number");

    c = SmallCase();
    c.m_vRefCollection[0]->m_StepSize = std::numeric_limits<double>::infinity();
    EXPECT_EQ(LoadFailure(CaseFile(c, true), loaded),
              "failed: the file is damaged: reference collection 1 of the case has a step size that is not a finite "
              "number greater than zero");

    c = SmallCase();
    c.m_vLoadModelEnsemble[0]->m_vLoadModel.push_back(nullptr);
    EXPECT_EQ(LoadFailure(CaseFile(c, true), loaded),
              "failed: the file is damaged: load model 3 of load model ensemble 1 of the case is empty");
    EXPECT_TRUE(loaded.m_vBridge.empty());
}

TEST(CaseFile, ALongDescriptionLoadsInTimeProportionalToItsSize)
{
    // 5 MB of notes (lines of text, some markup to escape) in both forms: a step quadratic in
    // the text's length takes tens of seconds here, a linear one a fraction of one.
    CCaseData c = casetest::SmallCase();
    std::wstring notes;
    while (notes.size() < 5'000'000) notes += L"Bridge 12 <deck> & girders: inspected 2024, fine.\n";
    c.m_sCaseNotes = CString(notes.c_str());
    for (bool binary : {true, false})
    {
        SCOPED_TRACE(binary ? "binary" : "XML");
        const std::string file = casetest::CaseFile(c, binary);
        CCaseData loaded;
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(casetest::LoadFailure(file, loaded), "");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(loaded.m_sCaseNotes, c.m_sCaseNotes);
    }
}

TEST(CaseFile, ACaseFileIsWrittenAgainByteForByteWithItsProgress)
{
    // tests/data/two_collections.qor was written by the program when it saved through the archive
    // library's own binary archive: bridges, sets, load models shared by two ensembles, a computed
    // collection and one with overstress and ratios. Read and written again, through a stream and
    // through a file, it is the same file to the byte; the progress of each counts its bytes.
    const char* folder = std::getenv("QOR_TEST_DATA");
    ASSERT_NE(folder, nullptr);
    const std::string path = std::string(folder) + "/two_collections.qor";
    std::ifstream in(path, std::ios::binary);
    const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(original.size(), 50'000u);

    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    CCaseData loaded;
    CCaseFileProgress loading;
    LoadCaseFile(fd, loaded, &loading);
    ::close(fd);
    EXPECT_EQ(loading.Total(), original.size()); // read in blocks as it is taken in: counted once
    EXPECT_EQ(loading.Done(), loading.Total());
    ASSERT_EQ(loaded.m_vRefCollection.size(), 2u);

    EXPECT_EQ(CaseFile(loaded, true), original);

    char name[] = "/tmp/qor-case-XXXXXX";
    const int out = ::mkstemp(name);
    ASSERT_GE(out, 0);
    CCaseFileProgress saving;
    SaveCaseFile(out, loaded, true, &saving);
    ::close(out);
    std::ifstream written(name, std::ios::binary);
    const std::string again((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    ::unlink(name);
    EXPECT_EQ(again, original);
    EXPECT_EQ(saving.Done(), original.size());
    // The estimate is near enough for a bar: within a factor of two of what was written.
    EXPECT_GT(saving.Total(), original.size() / 2);
    EXPECT_LT(saving.Total(), original.size() * 2);
}

// A binary file opened from disk is read block by block as its objects are built: a file of many
// blocks opens to the case it was saved from (saving it again gives its bytes), and one cut short
// anywhere, within a block or at a block's end, is refused and leaves the case as it was.
TEST(CaseFile, ALargeFileOpensThroughItsBlocksAndACutOneIsRefused)
{
    CCaseData c = casetest::SmallCase();
    c.m_vRefCollection.front()->m_StepSize = 0.005;
    ASSERT_TRUE(c.m_vRefCollection.front()->Calculate());
    const std::string bytes = CaseFile(c, true);
    ASSERT_GT(bytes.size(), 4 * CArchiveInBuffer::kBlockSize);

    char name[] = "/tmp/qor-case-XXXXXX";
    const int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    const auto open = [&](CCaseData& data) -> std::string {
        ::lseek(fd, 0, SEEK_SET);
        CCaseFileProgress progress;
        try
        {
            LoadCaseFile(fd, data, &progress);
        }
        catch (const CCaseFileError& e)
        {
            return e.what();
        }
        EXPECT_EQ(progress.Done(), progress.Total());
        return "";
    };

    CCaseData opened;
    ASSERT_EQ(open(opened), "");
    EXPECT_TRUE(CaseFile(opened, true) == bytes);

    for (const std::size_t cut : {bytes.size() - 1, 3 * CArchiveInBuffer::kBlockSize,
                                  2 * CArchiveInBuffer::kBlockSize + 17, CArchiveInBuffer::kBlockSize - 3})
    {
        SCOPED_TRACE(cut);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(cut)), 0);
        CCaseData kept = casetest::SmallCase();
        const std::string before = CaseFile(kept, true);
        const std::string why = open(kept);
        // The reason, then the object being read (by its kind and place) when the cut falls in one: all
        // but the last cut, which falls in the case's notes.
        const std::string reason = why.substr(0, why.find(" (reading "));
        EXPECT_TRUE(reason == "the file ends early" || reason == "the file is damaged: a count is larger than the file")
            << why;
        EXPECT_EQ(why == reason, cut == bytes.size() - 1) << why;
        EXPECT_TRUE(why == reason || why.ends_with(" of the case)")) << why;
        EXPECT_TRUE(CaseFile(kept, true) == before);
    }
    ::close(fd);
    ::unlink(name);

    // One that cannot be read at all says so, in the system's words: it is no refusal of the archive's.
    const int folder = ::open("/tmp", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    CCaseData kept;
    try
    {
        LoadCaseFile(folder, kept);
        ADD_FAILURE() << "a folder read as a case";
    }
    catch (const CCaseFileError& e)
    {
        EXPECT_EQ(std::string(e.what()), "the file could not be read: Is a directory");
        EXPECT_EQ(e.library(), "");
    }
    ::close(folder);
}
