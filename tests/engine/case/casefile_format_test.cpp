// The case file's bytes do not move: files kept in data/ were written by an earlier build (its
// envelope points held their load models in a different way in memory); they open and save
// again to the same bytes, and the same case computed now saves to them too, in both forms.
// QOR_WRITE_CASE_FIXTURES=1 writes the files afresh (only ever from a build whose format is
// known good).
#include "tests/engine/case/case_fixture.h"

#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/LoadModel.h"

#include <boost/archive/binary_oarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <boost/serialization/nvp.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

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

// The XML form is written by an archive of our own, in whole runs of text: its bytes are the
// library's, for texts that need escaping or are not ASCII, and for numbers at the edges of
// what a double and an integer hold.
TEST(CaseFileFormat, XmlWrittenInRunsIsTheLibrarysXmlByteForByte)
{
    CCaseData c = FormatCase();
    c.m_sCaseRef = L"Ref <\"7\"> & 'quoted' Ωmega 😀";
    auto odd = std::make_shared<CLoadModel>(-2147483647 - 1, CString(L"Odd & <numbers>"));
    for (double v : {0.0, -0.0, 0.1, -1.0 / 3.0, 1e-300, 4.9406564584124654e-324, 1.7976931348623157e308, 123456789.0})
        odd->AddPointLoad(v, -v, v / 7.0);
    odd->m_minL = std::numeric_limits<double>::lowest();
    odd->m_maxL = std::numeric_limits<double>::max();
    c.m_vLoadModel.push_back(odd);
    casetest::CaseFile(c, false); // a model settles its loads when first saved

    std::ostringstream library(std::ios::out | std::ios::binary);
    {
        boost::archive::xml_oarchive ar(library);
        ar << boost::serialization::make_nvp("QORConfig", std::as_const(c));
    }
    const std::string ours = casetest::CaseFile(c, false);
    EXPECT_GT(ours.size(), 100000u);
    EXPECT_TRUE(ours == library.str())
        << "first difference at byte "
        << std::mismatch(ours.begin(), ours.end(), library.str().begin(), library.str().end()).first - ours.begin();
}

// The binary form is written by an archive of our own that writes an envelope's points with the
// classes looked up once a list and a point's model repeated without a look-up: its bytes are the
// library's, for points without a model (zero points), models taking turns point by point, a
// model met first through a point, and empty lists.
TEST(CaseFileFormat, BinaryWrittenByOurArchiveIsTheLibrarysByteForByte)
{
    CCaseData c = FormatCase();
    const auto set = c.m_vRefCollection.front()->GetRefSet(0);
    ASSERT_TRUE(set && set->m_vLiveLoadCritEnv.size() == 2);
    const auto moment = set->m_vLiveLoadCritEnv[0]->GetBMEnvelope();
    const auto shear = set->m_vLiveLoadCritEnv[1]->GetSFEnvelope();
    ASSERT_TRUE(moment && shear);
    ASSERT_GE(moment->m_vMax.size(), 4u);
    const auto first = std::make_shared<CLoadModel>(7, CString(L"Met first in a point"));
    first->AddPointLoad(10.0, 0.0, 0.0);
    const auto second = std::make_shared<CLoadModel>(8, CString(L"Taking turns"));
    second->AddPointLoad(20.0, 0.0, 0.0);
    moment->HoldLoadModel(first);
    moment->HoldLoadModel(second);
    for (std::size_t i = 0; i < moment->m_vMax.size(); ++i)
    {
        const CLoadModel* models[] = {first.get(), second.get(), nullptr, second.get()};
        moment->m_vMax[i].pLM = models[i % 4];
    }
    moment->m_vMin.clear();
    shear->m_vMax.clear();
    shear->m_vMin.resize(2); // zero points

    std::ostringstream library(std::ios::out | std::ios::binary);
    {
        boost::archive::binary_oarchive ar(library);
        ar << boost::serialization::make_nvp("QORConfig", std::as_const(c));
    }
    const std::string ours = casetest::CaseFile(c, true);
    EXPECT_TRUE(ours == library.str())
        << "first difference at byte "
        << std::mismatch(ours.begin(), ours.end(), library.str().begin(), library.str().end()).first - ours.begin();
    CCaseData opened;
    ASSERT_EQ(casetest::LoadFailure(ours, opened), "");
    const auto read = opened.m_vRefCollection.front()->GetRefSet(0)->m_vLiveLoadCritEnv[0]->GetBMEnvelope();
    EXPECT_EQ(read->m_vMax[0].GetLoadModelName(), CString(L"Met first in a point"));
    EXPECT_EQ(read->m_vMax[1].GetLoadModelName(), CString(L"Taking turns"));
    EXPECT_EQ(read->m_vMax[2].pLM, nullptr);
}
