// Case files refused on reading leave nothing behind: the three stored cases, cut and damaged at
// places spread over the whole of each file, every load either succeeds or fails with its reason
// (the leak checker of the sanitizer build sees every object a refused file made), and a binary file
// cut right after its signature is refused for ending early.

#include "tests/engine/case/case_fixture.h"

#include "engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace casetest;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Cuts at evenly spaced places, one inside each stretch of the file, and bytes changed at random
// places, in stretches of the file taken in turn so that every part of it is hit.
std::vector<std::string> Damaged(const std::string& file, std::size_t count)
{
    std::vector<std::string> out;
    const std::size_t size = file.size();
    std::mt19937 rng(39);
    for (std::size_t k = 0; k < count; ++k)
    {
        const std::size_t from = k * size / count, to = (k + 1) * size / count;
        std::uniform_int_distribution<std::size_t> at(from, to - 1);
        out.push_back(file.substr(0, at(rng)));
        std::string v = file;
        v[at(rng)] = static_cast<char>(rng());
        out.push_back(std::move(v));
    }
    return out;
}

} // namespace

TEST(RefusedCaseFiles, TheStoredCasesDamagedAllOverAreReadOrRefusedLeavingNothing)
{
    const char* data = std::getenv("QOR_TEST_DATA");
    ASSERT_NE(data, nullptr);
    const std::string files[] = {std::string(data) + "/two_collections.qor",
                                 std::string(QOR_CASE_FIXTURES) + "/envelopes-binary.qor",
                                 std::string(QOR_CASE_FIXTURES) + "/envelopes-xml.qor"};
    for (const std::string& path : files)
    {
        SCOPED_TRACE(path);
        const std::string file = ReadFile(path);
        ASSERT_GT(file.size(), 20'000u);
        CCaseData whole;
        ASSERT_EQ(LoadFailure(file, whole), "");
        int refused = 0;
        for (const std::string& v : Damaged(file, 60))
        {
            CCaseData loaded;
            const std::string failure = LoadFailure(v, loaded);
            if (failure.empty()) continue;
            ++refused;
            EXPECT_TRUE(loaded.m_vBridge.empty() && loaded.m_vRefCollection.empty());
        }
        EXPECT_GT(refused, 60);
    }
}

TEST(RefusedCaseFiles, ABinaryFileThatEndsInItsHeaderIsRefusedForEndingEarly)
{
    const std::string file = CaseFile(SmallCase(), true);
    // The signature's length and the signature (30 bytes), then each further byte of the header.
    for (std::size_t size = 0; size <= 42; ++size)
    {
        SCOPED_TRACE(size);
        CCaseData data;
        const std::string failure = LoadFailure(file.substr(0, size), data);
        if (size < 30)
            EXPECT_NE(failure, "");
        else
            EXPECT_EQ(failure, "failed: the file ends early");
    }
}
