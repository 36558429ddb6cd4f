// Analysis-output descriptors: the descriptions that head the result views and the labels of
// clicked chart points.
#include "output/AnalysisOutput.h"

#include "engine/analysis/BeamResults.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::wstring W(const CString& s) { return s.str(); }

class Descriptors : public ::testing::Test
{
protected:
    std::shared_ptr<CBridge> bridge = std::make_shared<CBridge>(1, CString(L"Bridge A"), 1, 20.0);
    std::shared_ptr<CLoadModel> lm = std::make_shared<CLoadModel>(1, CString(L"T44"));
    std::shared_ptr<CLoadModel> heavy = std::make_shared<CLoadModel>(2, CString(L"Heavy"));
    std::shared_ptr<CLoadModelEnsemble> fleet = std::make_shared<CLoadModelEnsemble>(1, CString(L"Fleet"));
    std::shared_ptr<CBridgeSet> range = std::make_shared<CBridgeSet>(1, CString(L"Range"), 3, 1, 10.0, 20.0);
    std::shared_ptr<CReferenceSet> set = std::make_shared<CReferenceSet>(true, range, fleet, 1.4);
    std::shared_ptr<CReferenceCollection> coll =
        std::make_shared<CReferenceCollection>(1, CString(L"Network"), false, 10, 1.0);
};

TEST_F(Descriptors, SinglePosition)
{
    auto results = std::make_shared<CBeamResults>();
    auto d = std::make_shared<CAOSinglePosition>(results, bridge, lm, 3.25);
    EXPECT_EQ(d->m_nOutputType, 0);
    EXPECT_EQ(d->m_nOutAnalyses, 1);
    EXPECT_EQ(W(d->m_sSeparator), L" | ");
    EXPECT_EQ(d->GetResults(), results);
    EXPECT_EQ(W(d->GetDescription()), L"Bridge: Bridge A | Load model: T44 | Position: 3.250 m");

    EXPECT_EQ(W(CAOSinglePosition(results, nullptr, lm, 1.0).GetDescription()), L"");
    EXPECT_EQ(W(CAOSinglePosition(results, bridge, nullptr, 1.0).GetDescription()), L"");
}

TEST_F(Descriptors, MovingLoadAndEnsemble)
{
    auto env = std::make_shared<CEnvelopeResults>(bridge);
    CAOMovingLoad ml(env, bridge, lm, 57);
    EXPECT_EQ(ml.m_nOutputType, 1);
    EXPECT_EQ(ml.m_nOutAnalyses, 57);
    EXPECT_EQ(ml.GetResults(), env);
    EXPECT_EQ(W(ml.GetDescription()), L"Bridge: Bridge A | Load model: T44 | No. analyses: 57");

    std::vector<std::shared_ptr<CEnvelopeResults>> each = {std::make_shared<CEnvelopeResults>(bridge),
                                                           std::make_shared<CEnvelopeResults>(bridge)};
    CAOMultiMovingLoad mml(env, bridge, fleet, each, 12);
    EXPECT_EQ(mml.m_nOutputType, 2);
    EXPECT_EQ(mml.GetResults(), env);
    EXPECT_EQ(mml.GetEnvelopeResults(), each);
    EXPECT_EQ(W(mml.GetDescription()), L"Bridge: Bridge A | Load model ensemble: Fleet | No. analyses: 12");
}

TEST_F(Descriptors, BridgeRangeCountsTheAnalysesOfEveryBridge)
{
    std::vector<std::shared_ptr<CEnvelopeResults>> envs;
    for (int n : {10, 20, 30})
    {
        envs.push_back(std::make_shared<CEnvelopeResults>());
        envs.back()->m_nAnalyses = n;
    }
    auto values = std::make_shared<CCriticalValueEnsemble>(envs, range);
    CAOBridgeRange br(values, range, lm);
    EXPECT_EQ(br.m_nOutputType, 3);
    EXPECT_EQ(br.m_nOutAnalyses, 0);
    EXPECT_EQ(br.GetResults(), values);
    EXPECT_EQ(W(br.GetDescription()), L"Bridge set: Range | Load model: T44 | No. analyses: 60");
}

TEST_F(Descriptors, ReferenceSetAndComparedEnvelopes)
{
    CAOReferenceSet rs(set, true);
    EXPECT_EQ(rs.m_nOutputType, 4);
    EXPECT_EQ(rs.GetReferenceSet(), set);
    EXPECT_EQ(W(rs.GetDescription()), L"Bridge set: Range | Load model ensemble: Fleet | O/S: On");
    EXPECT_EQ(W(CAOReferenceSet(set, false).GetDescription()),
              L"Bridge set: Range | Load model ensemble: Fleet | O/S: Off");

    auto prop = std::make_shared<CLoadModelEnsemble>(0, CString(L"Proposed fleet"));
    prop->AddLoadModel(heavy);
    set->m_pPropLME = prop;
    set->m_bUseLM = true;
    CAOCompareRefSetEnvs cmp(false, 1, set);
    EXPECT_EQ(cmp.m_nOutputType, 5);
    EXPECT_EQ(cmp.m_nOutBridgeIndex, 1);
    EXPECT_EQ(cmp.GetReferenceSet(), set);
    EXPECT_EQ(W(cmp.GetDescription()), L"Bridge set: Range | Load model ensemble: Fleet | O/S: Off | "
                                       L"Bridge: 1-span - 15.000 m span | Proposed: Heavy");
    set->m_bUseLM = false;
    EXPECT_EQ(W(cmp.GetDescription()), L"Bridge set: Range | Load model ensemble: Fleet | O/S: Off | "
                                       L"Bridge: 1-span - 15.000 m span | Proposed: Proposed fleet");
    // An index outside the set names no bridge rather than failing.
    EXPECT_EQ(W(CAOCompareRefSetEnvs(true, 3, set).GetDescription()),
              L"Bridge set: Range | Load model ensemble: Fleet | O/S: On | Bridge:  | Proposed: Proposed fleet");
}

TEST_F(Descriptors, CriticalRatiosAndEnhanced)
{
    coll->SetProposedLoadModel(heavy);
    coll->m_Multiplier = 1.25;
    coll->m_bUseOverstress = true;
    auto ratios = std::make_shared<CCriticalRatioEnsemble>(std::vector<CCriticalRatioResults>{}, range);

    CAOCriticalRatios cr(ratios, coll, set);
    EXPECT_EQ(cr.m_nOutputType, 6);
    EXPECT_EQ(cr.GetRatioResults(), ratios);
    EXPECT_EQ(W(cr.GetDescription()), L"Reference: Network | Bridge set: Range | LME: Fleet | Load model: Heavy | "
                                      L"Multiplier: 1.250 | O/S: On");

    CAOEnhanced en(coll);
    EXPECT_EQ(en.m_nOutputType, 7);
    EXPECT_EQ(W(en.GetDescription()), L"Reference: Network | Load model: Heavy | Multiplier: 1.250 | O/S: On");

    coll->SetProposedLME(fleet);
    coll->m_bUseOverstress = false;
    coll->m_Multiplier = 2.0;
    EXPECT_EQ(W(en.GetDescription()), L"Reference: Network | Load model: Fleet | Multiplier: 2.000 | O/S: Off");
}

TEST_F(Descriptors, PointLabels)
{
    CAOMovingLoad d(nullptr, bridge, lm, 1);
    EXPECT_EQ(W(d.GetPointLabel(true, 2, 1.5, -20.25)), L"Reaction 3!\nX: 1.5\nY: -20.25");
    EXPECT_DOUBLE_EQ(d.m_PointX, 1.5);
    EXPECT_DOUBLE_EQ(d.m_PointY, -20.25);
    EXPECT_EQ(W(d.GetPointLabel(false, 1, 3.14159265, 1234567.0)), L"Shear!\nX: 3.14159\nY: 1.23457e+06");
    EXPECT_EQ(W(d.GetPointLabel(false, 0, 0.0, 288.0)), L"Bending!\nX: 0\nY: 288");
    EXPECT_EQ(W(d.GetPointLabel(true, 0, 10.0, 96.0)), L"Reaction 1!\nX: 10\nY: 96");

    // Every kind labels its points alike, through the base class.
    std::vector<std::shared_ptr<CAnalysisOutput>> all = {
        std::make_shared<CAOSinglePosition>(nullptr, bridge, lm, 0.0),
        std::make_shared<CAOMultiMovingLoad>(nullptr, bridge, fleet, std::vector<std::shared_ptr<CEnvelopeResults>>{},
                                             1),
        std::make_shared<CAOBridgeRange>(nullptr, range, lm),
        std::make_shared<CAOReferenceSet>(set, false),
        std::make_shared<CAOCompareRefSetEnvs>(false, 0, set),
        std::make_shared<CAOCriticalRatios>(nullptr, coll, set),
        std::make_shared<CAOEnhanced>(coll)};
    for (const auto& a : all)
    {
        EXPECT_EQ(W(a->GetPointLabel(false, 1, 2.5, -7.0)), L"Shear!\nX: 2.5\nY: -7");
        EXPECT_DOUBLE_EQ(a->m_PointY, -7.0);
        EXPECT_EQ(W(a->m_sSeparator), L" | ");
    }
}

} // namespace
