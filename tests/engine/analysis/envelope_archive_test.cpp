// Envelopes and envelope results through the XML, text and binary archives.
#include "engine/analysis/EnvelopeResults.h"

#include "engine/model/Beam.h"
#include "envelope_test_helpers.h"
#include "tests/engine/archive_test_util.h"

#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

#include <gtest/gtest.h>

using archivetest::Kind;
using archivetest::Load;
using archivetest::Save;
using envtest::MakeBridge;
using envtest::MakeLM;
using envtest::OneSpan;

namespace {

using ResultList = std::vector<std::shared_ptr<CEnvelopeResults>>;

const std::vector<double> kZeros5 = {0.0, 0.0, 0.0, 0.0, 0.0};

// Two results on one one-span bridge, made by the load models A and B.
ResultList MakeResults(const std::shared_ptr<CBridge>& bridge, const std::shared_ptr<CLoadModel>& a,
                       const std::shared_ptr<CLoadModel>& b)
{
    auto first = std::make_shared<CEnvelopeResults>(bridge);
    first->AddResult(OneSpan(*bridge, {0.0, 0.0, 12.5, -3.0, 0.0}, {4.0, 4.0, -1.0, -6.0, 0.0}, {7.0, -1.0}), a, 2.0);
    first->AddResult(OneSpan(*bridge, {0.0, 0.0, 10.0, 5.0, 0.0}, {2.0, 2.0, 1.0, -8.0, 0.0}, {3.0, 2.5}), b, 4.0);
    auto second = std::make_shared<CEnvelopeResults>(bridge);
    second->AddResult(OneSpan(*bridge, {0.0, 0.0, 1.0, 0.0, 0.0}, kZeros5, {1.0, 1.0}), a, 6.0);
    return {first, second};
}

class EnvelopeArchiveTest : public ::testing::TestWithParam<Kind>
{};

} // namespace

TEST_P(EnvelopeArchiveTest, ResultsKeepValuesCountersAndSharing)
{
    auto bridge = MakeBridge(1, 10.0);
    auto a = MakeLM(1, L"Lane A");
    auto b = MakeLM(2, L"Truck B");
    const ResultList original = MakeResults(bridge, a, b);
    original[0]->m_nAugments = 3;

    const ResultList loaded = Load<ResultList>(GetParam(), Save(GetParam(), original));
    ASSERT_EQ(2u, loaded.size());
    const CEnvelopeResults& r = *loaded[0];

    // Counters and derived fields.
    EXPECT_EQ(2, r.m_nAnalyses);
    EXPECT_EQ(2, r.m_nBeamResults);
    EXPECT_EQ(3, r.m_nAugments);
    EXPECT_EQ(2u, r.m_nReactions);
    EXPECT_EQ(0u, r.GetKeptPositions().GetCount());
    ASSERT_NE(nullptr, r.GetBridge());
    EXPECT_EQ(10.0, r.GetBridge()->m_SpanLength);
    ASSERT_NE(nullptr, r.GetBeam());
    EXPECT_EQ(r.GetBridge()->GetBeam(), r.GetBeam());
    EXPECT_EQ(2, r.GetBeam()->m_nRestraints);

    // Values as added: maxima floored and minima capped at zero.
    auto bm = r.GetBMEnvelope();
    ASSERT_NE(nullptr, bm);
    EXPECT_EQ(BRT_MOMENT, bm->m_Type);
    EXPECT_EQ((std::vector<double>{0.0, 0.0, 12.5, 5.0, 0.0}), bm->GetValues(true));
    EXPECT_EQ((std::vector<double>{0.0, 0.0, 0.0, -3.0, 0.0}), bm->GetValues(false));
    EXPECT_EQ((std::vector<double>{0.0, 0.0, 5.0, 10.0, 10.0}), bm->GetLocations(true));
    EXPECT_EQ((std::vector<double>{2.0, 2.0, 2.0, 4.0, 2.0}), bm->GetLoadModelPositions(true));
    auto sf = r.GetSFEnvelope();
    EXPECT_EQ(BRT_SHEAR, sf->m_Type);
    EXPECT_EQ((std::vector<double>{0.0, 0.0, -1.0, -8.0, 0.0}), sf->GetValues(false));
    auto r1 = r.GetReactionEnvelope(1);
    ASSERT_NE(nullptr, r1);
    EXPECT_EQ(BRT_REACTIONS, r1->m_Type);
    EXPECT_EQ((std::vector<double>{0.0, 2.5}), r1->GetValues(true));
    EXPECT_EQ((std::vector<double>{-1.0, 0.0}), r1->GetValues(false));
    EXPECT_EQ((std::vector<double>{10.0, 10.0}), r1->GetLocations(false));

    // One bridge, shared by both results and every envelope.
    const auto& loadedBridge = r.m_pBridge;
    EXPECT_EQ(loadedBridge, loaded[1]->m_pBridge);
    EXPECT_EQ(loadedBridge, bm->m_pBridge);
    EXPECT_EQ(loadedBridge, r1->m_pBridge);
    EXPECT_EQ(loadedBridge, loaded[1]->GetReactionEnvelope(0)->m_pBridge);

    // One object per load model, shared by every effect it made; zero points stay empty.
    const auto& lmA = bm->m_vMax[2].pLM;
    const auto& lmB = bm->m_vMax[3].pLM;
    ASSERT_NE(nullptr, lmA);
    ASSERT_NE(nullptr, lmB);
    EXPECT_NE(lmA, lmB);
    EXPECT_EQ(CString(L"Lane A"), lmA->GetDescription());
    EXPECT_EQ(CString(L"Truck B"), bm->m_vMax[3].GetLoadModelName());
    EXPECT_EQ(lmA, bm->m_vMin[3].pLM);
    EXPECT_EQ(lmA, r1->m_vMin[0].pLM);
    EXPECT_EQ(lmB, r1->m_vMin[1].pLM); // a reaction zero point keeps its load model
    EXPECT_EQ(lmA, loaded[1]->GetBMEnvelope()->m_vMax[2].pLM);
    EXPECT_EQ(nullptr, bm->m_vMin[2].pLM);
    EXPECT_EQ(CString(L"Zero LM"), bm->m_vMin[2].GetLoadModelName());
}

TEST_P(EnvelopeArchiveTest, EnvelopeThroughItsOwnPointer)
{
    auto bridge = MakeBridge(2, 20.0);
    auto lm = MakeLM(5, L"M1600");
    auto env = std::make_shared<CEnvelope>(bridge, BRT_REACTIONS);
    env->m_vMax = {PointLoadEffect(125.5, 20.0, 3.25, BRT_REACTIONS, lm.get()),
                   PointLoadEffect(0.0, 20.0, 3.5, BRT_REACTIONS, lm.get())};
    env->m_vMin = {PointLoadEffect(-0.75, 20.0, 3.25, BRT_REACTIONS, nullptr)};
    std::vector<std::shared_ptr<CEnvelope>> pair = {env, env};

    const auto loaded = Load<std::vector<std::shared_ptr<CEnvelope>>>(GetParam(), Save(GetParam(), pair));
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(loaded[0], loaded[1]);
    const CEnvelope& e = *loaded[0];
    EXPECT_EQ(4, e.m_Type);
    ASSERT_NE(nullptr, e.m_pBridge);
    EXPECT_EQ(2, e.m_pBridge->m_Config);
    ASSERT_EQ(2u, e.m_vMax.size());
    ASSERT_EQ(1u, e.m_vMin.size());
    EXPECT_EQ(125.5, e.m_vMax[0].val);
    EXPECT_EQ(3.5, e.m_vMax[1].xLoadModel);
    EXPECT_EQ(e.m_vMax[0].pLM, e.m_vMax[1].pLM);
    EXPECT_EQ(CString(L"M1600"), e.m_vMax[0].pLM->GetDescription()); // kept alive by the envelope read
    ASSERT_EQ(1u, e.GetHeldLoadModels().size());
    EXPECT_EQ(e.m_vMax[0].pLM, e.GetHeldLoadModels()[0].get());
    EXPECT_EQ(-0.75, e.m_vMin[0].val);
    EXPECT_EQ(nullptr, e.m_vMin[0].pLM);
}

TEST_P(EnvelopeArchiveTest, ResultWithoutEnvelopesOrBridge)
{
    auto bare = std::make_shared<CEnvelopeResults>();
    bare->m_nAnalyses = 4;
    const auto loaded = Load<std::shared_ptr<CEnvelopeResults>>(GetParam(), Save(GetParam(), bare));
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(nullptr, loaded->GetBridge());
    EXPECT_EQ(nullptr, loaded->GetBeam());
    EXPECT_EQ(nullptr, loaded->GetBMEnvelope());
    EXPECT_EQ(0u, loaded->m_nReactions);
    EXPECT_EQ(4, loaded->m_nAnalyses);
}

INSTANTIATE_TEST_SUITE_P(AllArchives, EnvelopeArchiveTest, ::testing::Values(Kind::Xml, Kind::Text, Kind::Binary),
                         [](const auto& info) {
                             return info.param == Kind::Xml ? "Xml" : info.param == Kind::Text ? "Text" : "Binary";
                         });

TEST(EnvelopeArchiveXmlTest, ItemsAreNamedAfterTheMembers)
{
    auto bridge = MakeBridge(1, 10.0);
    const ResultList original = MakeResults(bridge, MakeLM(1, L"A"), MakeLM(2, L"B"));
    const std::string xml = Save(Kind::Xml, original);
    for (const char* tag :
         {"<m_pBridge", "<m_pEnvBMD", "<m_pEnvSFD", "<m_vEnvReaction", "<m_nBeamResults>", "<m_nAugments>",
          "<m_nAnalyses>", "<m_Type>", "<m_vMax", "<m_vMin", "<val>", "<xBeam>", "<xLoadModel>", "<type>", "<pLM"})
        EXPECT_NE(std::string::npos, xml.find(tag)) << tag;
    EXPECT_EQ(std::string::npos, xml.find("m_vBeamResults"));
    EXPECT_EQ(std::string::npos, xml.find("m_nReactions"));
}

// The items come in member order: the result's, then each envelope's, then each point's.
TEST(EnvelopeArchiveXmlTest, ItemsComeInMemberOrder)
{
    auto bridge = MakeBridge(1, 10.0);
    const ResultList original = MakeResults(bridge, MakeLM(1, L"A"), MakeLM(2, L"B"));
    const std::string xml = Save(Kind::Xml, original);
    std::size_t at = 0;
    for (const char* tag :
         {"<m_pBridge", "<m_pEnvBMD", "<m_pBridge", "<m_Type>", "<m_vMax", "<val>", "<xBeam>", "<xLoadModel>", "<type>",
          "<pLM", "<m_vMin", "<m_pEnvSFD", "<m_vEnvReaction", "<m_nBeamResults>", "<m_nAugments>", "<m_nAnalyses>"})
    {
        const std::size_t next = xml.find(tag, at);
        ASSERT_NE(std::string::npos, next) << tag << " after offset " << at;
        at = next + 1;
    }
}

TEST(EnvelopeArchiveXmlTest, SavingRebuildsTheDerivedFields)
{
    auto bridge = MakeBridge(1, 10.0);
    const ResultList original = MakeResults(bridge, MakeLM(1, L"A"), MakeLM(2, L"B"));
    original[0]->m_nReactions = 7;
    original[0]->m_pBeam.reset();
    Save(Kind::Binary, original);
    EXPECT_EQ(2u, original[0]->m_nReactions);
    EXPECT_EQ(bridge->GetBeam(), original[0]->GetBeam());
    EXPECT_EQ(2u, original[0]->GetKeptPositions().GetCount()); // kept in memory by the saved result
}
