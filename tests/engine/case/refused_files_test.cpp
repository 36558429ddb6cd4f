// Case files refused on reading leave nothing behind: the three stored cases, cut and damaged at
// places spread over the whole of each file, and an XML case refused at the closing tag of each
// object it makes; every load either succeeds or fails with its reason (the leak checker of the
// sanitizer build sees every object a refused file made), naming the line of the tag. A binary file
// cut right after its signature is refused for ending early.

#include "tests/engine/case/case_fixture.h"

#include "engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
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
            EXPECT_EQ(failure.find("analysis"), std::string::npos) << failure; // nothing was analysed
            EXPECT_TRUE(loaded.m_vBridge.empty() && loaded.m_vRefCollection.empty());
        }
        EXPECT_GT(refused, 60);
    }
}

// The closing tag of an object read through a pointer is checked once the whole object is read: each
// object of the stored XML case in turn, of every kind, is refused at that tag.
TEST(RefusedCaseFiles, AnXmlCaseRefusedAtTheClosingTagOfAnyObjectLeavesNothing)
{
    const std::string file = ReadFile(std::string(QOR_CASE_FIXTURES) + "/envelopes-xml.qor");
    std::set<std::string> kinds;
    int refused = 0;
    for (std::size_t at = file.find("<px "); at != std::string::npos; at = file.find("<px ", at + 1))
    {
        const std::size_t tagEnd = file.find('>', at);
        const std::string tag = file.substr(at, tagEnd - at);
        if (tag.find(" object_id=") == std::string::npos) continue;          // a reference to an object read before
        const std::size_t classAt = tag.find('"', tag.find("class_id")) + 1; // class_id or class_id_reference
        kinds.insert(tag.substr(classAt, tag.find('"', classAt) - classAt));
        // Its own closing tag, past those of the objects it holds.
        std::size_t close = tagEnd;
        for (int depth = 1; depth > 0;)
        {
            const std::size_t open = file.find("<px ", close), end = file.find("</px>", close);
            ASSERT_NE(end, std::string::npos);
            depth += open < end ? 1 : -1;
            close = (open < end ? open : end) + 1;
        }
        std::string damaged = file;
        damaged.replace(close - 1, 5, "</pq>");
        CCaseData loaded;
        // The reason, the object being read by its kind and place, and the line of the tag.
        const std::string failure = LoadFailure(damaged, loaded);
        EXPECT_EQ(failure.rfind("failed: the file's XML is damaged or does not hold a QOR case (reading ", 0), 0u)
            << failure;
        const auto line = 1 + std::count(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(close), '\n');
        EXPECT_TRUE(failure.ends_with(" of the case, line " + std::to_string(line) + ")")) << failure;
        EXPECT_TRUE(loaded.m_vBridge.empty());
        ++refused;
    }
    EXPECT_EQ(kinds.size(), 8u); // bridge, set, load model, ensemble, collection, reference set, results, envelope
    EXPECT_GT(refused, 50);
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

// An XML case damaged inside, at its full length, names the element being read and the line; only a
// cut one ends early. Bytes changed all over the stored XML case (away from its closing element) and
// a value and a tag broken by hand.
TEST(RefusedCaseFiles, AnXmlCaseDamagedInsideNamesTheElementAndTheLineAndACutOneEndsEarly)
{
    const std::string file = ReadFile(std::string(QOR_CASE_FIXTURES) + "/envelopes-xml.qor");
    auto lineOf = [&file](std::size_t at) {
        return 1 + std::count(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    };
    std::mt19937 rng(52);
    std::uniform_int_distribution<std::size_t> place(0, file.size() - 100);
    int refused = 0, xmlDamaged = 0;
    for (int k = 0; k < 400; ++k)
    {
        std::string damaged = file;
        const std::size_t at = place(rng);
        damaged[at] = "#<>\"x9 "[k % 7];
        if (damaged == file) continue;
        CCaseData loaded;
        const std::string failure = LoadFailure(damaged, loaded);
        if (failure.empty()) continue;
        ++refused;
        EXPECT_EQ(failure.find("ends early"), std::string::npos) << failure << " (a byte at line " << lineOf(at) << ")";
        if (failure.rfind("failed: the file's XML is damaged", 0) != 0) continue;
        ++xmlDamaged;
        // The line is the changed byte's, or a later one where the damage shows (a blank put in for a
        // character may take the line before).
        const std::size_t line = failure.rfind("line ");
        ASSERT_NE(line, std::string::npos) << failure;
        EXPECT_GE(std::stol(failure.substr(line + 5)), lineOf(at) - 1) << failure;
    }
    EXPECT_GT(refused, 200);
    EXPECT_GT(xmlDamaged, 100);

    // A value that is not a number, and a broken tag among the case's own items.
    std::string value = file;
    const std::size_t config = value.find("<m_Config>", value.find("<m_vBridge ")) + 10;
    value[config] = 'x';
    CCaseData loaded;
    EXPECT_EQ(LoadFailure(value, loaded), "failed: the file's XML is damaged or does not hold a QOR case (reading "
                                          "bridge 1 of the case, line " +
                                              std::to_string(lineOf(config)) + ")");
    std::string tag = file;
    const std::size_t models = tag.find("<m_vLoadModel ") + 1;
    tag[models] = '#';
    EXPECT_EQ(LoadFailure(tag, loaded), "failed: the file's XML is damaged or does not hold a QOR case (line " +
                                            std::to_string(lineOf(models)) + ")");

    // Cut anywhere, it ends early.
    for (std::size_t cut = 1; cut < file.size(); cut += file.size() / 50)
        EXPECT_EQ(LoadFailure(file.substr(0, cut), loaded), "failed: the file ends early") << cut;
}
