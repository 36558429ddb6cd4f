// The case file's bytes do not move: files kept in data/ were written by an earlier build (its
// envelope points held their load models in a different way in memory); they open and save
// again to the same bytes, and the same case computed now saves to them too, in both forms.
// QOR_WRITE_CASE_FIXTURES=1 writes the files afresh (only ever from a build whose format is
// known good).
#include "case_fixture.h"

#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/LoadModel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

// The small case with three points per span, its collection with overstress: the runs make load
// models of their own (the overstress loads) that only the envelopes hold; and the ratios of a
// proposed vehicle, whose envelopes are kept too.
CCaseData FormatCase()
{
    CCaseData c = casetest::SmallCase();
    const auto& collection = c.m_vRefCollection.front();
    collection->SetPointsPerSpan(3);
    collection->m_bUseOverstress = true;
    if (!collection->Calculate()) std::abort();
    auto proposed = std::make_shared<CLoadModel>(3, CString(L"Proposed"));
    proposed->AddPointLoad(150.0, 0.0, 0.0);
    collection->SetProposedLoadModel(proposed);
    if (!collection->CalculateRatios(1.0)) std::abort();
    return c;
}

std::string FixturePath(bool binary)
{
    return std::string(QOR_CASE_FIXTURES) + (binary ? "/envelopes-binary.qor" : "/envelopes-xml.qor");
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(CaseFileFormat, AFileOfAnEarlierBuildOpensAndSavesToTheSameBytes)
{
    const CCaseData computed = FormatCase();
    for (bool binary : {true, false})
    {
        SCOPED_TRACE(binary ? "binary" : "XML");
        if (std::getenv("QOR_WRITE_CASE_FIXTURES"))
        {
            std::ofstream(FixturePath(binary), std::ios::binary) << casetest::CaseFile(computed, binary);
            continue;
        }
        const std::string kept = ReadFile(FixturePath(binary));
        ASSERT_FALSE(kept.empty()) << FixturePath(binary);
        EXPECT_TRUE(casetest::CaseFile(computed, binary) == kept) << "the same case saves to other bytes";

        CCaseData opened;
        ASSERT_EQ(casetest::LoadFailure(kept, opened), "");
        EXPECT_TRUE(casetest::CaseFile(opened, binary) == kept) << "the opened file saves to other bytes";

        // The points name the load models that made them, the overstress loads included, which
        // nothing but the envelopes holds once the file is read.
        ASSERT_EQ(opened.m_vRefCollection.size(), 1u);
        const auto set = opened.m_vRefCollection[0]->GetRefSet(0);
        ASSERT_TRUE(set);
        int named = 0;
        for (const auto* list : {&set->m_vOverstressCritEnv, &set->m_vLiveLoadCritEnv, &set->m_vPropCritEnv})
            for (const auto& res : *list)
            {
                ASSERT_TRUE(res && res->GetBMEnvelope());
                const PointLoadEffect top = res->GetBMEnvelope()->GetMaxEffect();
                ASSERT_TRUE(top.pLM);
                EXPECT_FALSE(top.GetLoadModelName().IsEmpty());
                ++named;
            }
        EXPECT_EQ(named, 6); // two bridges, three lists
    }
}
