// Single-position analysis: member loads of a load model at one position and the result kinds
// a model applies to.
#include "analysis_test_helpers.h"

#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/settings/Settings.h"

using namespace antest;

namespace {

struct LoadView
{
    int kind;
    std::uint32_t member;
    double magnitude;
    double a;
    double cover; // partial loads only
};

std::vector<LoadView> ViewOf(const std::vector<CLoad*>& loads)
{
    std::vector<LoadView> v;
    for (CLoad* l : loads)
    {
        double c = 0.0;
        if (auto* p = dynamic_cast<CLoadPUDL*>(l)) c = p->GetCover();
        v.push_back({l->GetKind(), l->GetMember(), l->GetMagnitude(), l->GetPosition(), c});
    }
    return v;
}

std::vector<LoadView> LoadsAt(const std::shared_ptr<CBridge>& bridge, const std::shared_ptr<CLoadModel>& lm,
                              double position)
{
    lm->Update();
    CSinglePosAnalysis spa(bridge, lm);
    spa.Prepare(10);
    spa.MakeMemberLoads(position);
    return ViewOf(spa.GetMemberLoads());
}

double MidMoment(const CBeamResults& res, std::size_t member)
{
    const CMbrResults& m = res.m_vMbrRes.at(member);
    return m.M[m.M.size() / 2];
}

} // namespace

TEST(SinglePosMemberLoads, PartialLoadIsSplitOverTheSpansItCovers)
{
    // A partial load from 8 m to 25 m on spans of 10 and 20 m.
    auto bridge = ExplicitBridge({10.0, 20.0});
    auto lm = Model();
    lm->AddPartialUDL(5.0, 0.0, 17.0);
    const auto loads = LoadsAt(bridge, lm, 8.0);
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0].kind, CLoad::PUDL);
    EXPECT_EQ(loads[0].member, 0u);
    EXPECT_DOUBLE_EQ(loads[0].a, 8.0);
    EXPECT_DOUBLE_EQ(loads[0].cover, 2.0);
    EXPECT_EQ(loads[1].kind, CLoad::PUDL);
    EXPECT_EQ(loads[1].member, 1u);
    EXPECT_DOUBLE_EQ(loads[1].a, 0.0);
    EXPECT_DOUBLE_EQ(loads[1].cover, 15.0);
    EXPECT_DOUBLE_EQ(loads[1].magnitude, 5.0);
}

TEST(SinglePosMemberLoads, WhollyCoveredSpanTakesAUniformLoad)
{
    // 5 m to 45 m over 10 + 20 + 20: part of span 0, all of span 1, part of span 2.
    auto bridge = ExplicitBridge({10.0, 20.0, 20.0});
    auto lm = Model();
    lm->AddPartialUDL(2.0, 0.0, 40.0);
    const auto loads = LoadsAt(bridge, lm, 5.0);
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[0].kind, CLoad::PUDL);
    EXPECT_DOUBLE_EQ(loads[0].a, 5.0);
    EXPECT_DOUBLE_EQ(loads[0].cover, 5.0);
    EXPECT_EQ(loads[1].kind, CLoad::UDL);
    EXPECT_EQ(loads[1].member, 1u);
    EXPECT_EQ(loads[2].kind, CLoad::PUDL);
    EXPECT_EQ(loads[2].member, 2u);
    EXPECT_DOUBLE_EQ(loads[2].a, 0.0);
    EXPECT_DOUBLE_EQ(loads[2].cover, 15.0);
}

TEST(SinglePosMemberLoads, PartialLoadIsCutToTheBridge)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Model();
    lm->AddPartialUDL(1.0, 0.0, 6.0);

    // Starting 4 m before the bridge: only the 2 m on it remain.
    auto loads = LoadsAt(bridge, lm, -4.0);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_DOUBLE_EQ(loads[0].a, 0.0);
    EXPECT_DOUBLE_EQ(loads[0].cover, 2.0);

    // Running off the right end: cut at the end.
    loads = LoadsAt(bridge, lm, 7.0);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_DOUBLE_EQ(loads[0].a, 7.0);
    EXPECT_DOUBLE_EQ(loads[0].cover, 3.0);

    // Wholly off either end.
    EXPECT_TRUE(LoadsAt(bridge, lm, -6.5).empty());
    EXPECT_TRUE(LoadsAt(bridge, lm, 10.5).empty());

    // Covering the whole single span.
    loads = LoadsAt(bridge, lm, -1.0);
    ASSERT_EQ(loads.size(), 1u);
    lm->SetPartialUDL(0, 1.0, 1.0, 0.0, 20.0);
    loads = LoadsAt(bridge, lm, -5.0);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].kind, CLoad::UDL);
}

TEST(SinglePosMemberLoads, AxlesNearTheEndsAreLeftOut)
{
    auto bridge = Bridge(2, 10.0);
    auto lm = Axles({{10.0, 0.0}});
    EXPECT_TRUE(LoadsAt(bridge, lm, 0.0005).empty());
    EXPECT_TRUE(LoadsAt(bridge, lm, 19.9995).empty());
    EXPECT_TRUE(LoadsAt(bridge, lm, -1.0).empty());
    auto loads = LoadsAt(bridge, lm, 0.002);
    ASSERT_EQ(loads.size(), 1u);
    loads = LoadsAt(bridge, lm, 13.0);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].member, 1u);
    EXPECT_DOUBLE_EQ(loads[0].a, 3.0);
}

TEST(SinglePosMemberLoads, MagnitudesCarryTheOverallFactorGammaAndWidthRule)
{
    auto bridge = Bridge(3, 20.0); // spans 15, 20, 15
    auto lm = Model();
    lm->AddUDL(3.0);
    lm->AddPointLoad(10.0, 0.0, 2.0);
    lm->AddPartialUDL(4.0, -2.0, 1.0);
    lm->m_gDLA.value = 1.25;
    lm->m_gLiveLoad.value = 2.0;
    lm->m_gUnits.value = 9.81;
    lm->m_gArbitrary.value = 0.5;
    lm->m_WidthFactor = CLoadModel::WIDTH_LOW; // width 2.0: x 1.224
    lm->m_vPL[0].gamma = 1.5;
    const double F = 1.25 * 2.0 * 9.81 * 0.5;

    const auto loads = LoadsAt(bridge, lm, 30.0);
    ASSERT_EQ(loads.size(), 5u); // a UDL on each of the 3 spans, the axle, the partial load
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(loads[i].kind, CLoad::UDL);
        EXPECT_EQ(loads[i].member, static_cast<std::uint32_t>(i));
        EXPECT_NEAR(loads[i].magnitude, F * 3.0, 1e-12);
    }
    EXPECT_EQ(loads[3].kind, CLoad::PL);
    EXPECT_EQ(loads[3].member, 1u);
    EXPECT_NEAR(loads[3].a, 15.0, 1e-12);
    EXPECT_NEAR(loads[3].magnitude, F * 1.5 * 1.224 * 10.0, 1e-9);
    EXPECT_EQ(loads[4].kind, CLoad::PUDL);
    EXPECT_NEAR(loads[4].a, 13.0, 1e-12);
    EXPECT_NEAR(loads[4].magnitude, F * 4.0, 1e-12);
    CSinglePosAnalysis spa(bridge, lm);
    spa.Prepare(10);
    EXPECT_NEAR(spa.GetLoadModel()->m_Gamma, F, 1e-12); // written into the analysis's own copy
}

TEST(SinglePosRun, PointLoadAtMidSpanGivesPLOverFour)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    CSinglePosAnalysis spa(bridge, lm);
    auto res = spa.Run(5.0);
    EXPECT_NEAR(MidMoment(*res, 0), 250.0, 1e-6);
    ASSERT_EQ(res->m_vReactions.size(), 2u);
    EXPECT_NEAR(res->m_vReactions[0], 50.0, 1e-9);
    EXPECT_NEAR(res->m_vReactions[1], 50.0, 1e-9);
    EXPECT_TRUE(spa.GetMemberLoads().empty()); // emptied after the position
    const auto n = static_cast<std::size_t>(CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM) + 3;
    EXPECT_EQ(res->m_vMbrRes[0].x.size(), n);
}

TEST(SinglePosRun, UniformLoadOnTwoSpansGivesTheHoggingMoment)
{
    // Two equal spans under w: support moment -wL^2/8, centre reaction 1.25 wL.
    auto bridge = Bridge(2, 10.0);
    auto lm = Model();
    lm->AddUDL(2.0);
    auto res = CSinglePosAnalysis(bridge, lm).Run(0.0);
    EXPECT_NEAR(res->m_vMbrRes[0].M.back(), 0.0, 1e-9); // the closing point
    const auto& M = res->m_vMbrRes[0].M;
    EXPECT_NEAR(M[M.size() - 2], -25.0, 1e-6);
    EXPECT_NEAR(res->m_vReactions[1], 25.0, 1e-6);
    EXPECT_TRUE(lm->m_bIsMoving); // the analysis settled its own copy
}

TEST(SinglePosRun, OffTheBridgeGivesZeroResults)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    CSinglePosAnalysis spa(bridge, lm);
    for (double p : {-3.0, 0.0, 10.0, 12.0})
    {
        auto res = spa.Run(p);
        for (const CMbrResults& m : res->m_vMbrRes)
            for (double v : m.M) EXPECT_EQ(v, 0.0);
        for (double r : res->m_vReactions) EXPECT_EQ(r, 0.0);
    }
}

TEST(SinglePosApplicability, MaximumLengthClearsEverything)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    lm->m_bUseMaxL = true;
    lm->m_maxL = 9.0;
    auto res = CSinglePosAnalysis(bridge, lm).Run(5.0);
    for (const CMbrResults& m : res->m_vMbrRes)
        for (std::size_t k = 0; k < m.M.size(); ++k)
        {
            EXPECT_EQ(m.M[k], 0.0);
            EXPECT_EQ(m.V[k], 0.0);
            EXPECT_EQ(m.D[k], 0.0);
        }
    for (double r : res->m_vReactions) EXPECT_EQ(r, 0.0);

    lm->m_maxL = 10.0; // not above: applies
    res = CSinglePosAnalysis(bridge, lm).Run(5.0);
    EXPECT_NEAR(MidMoment(*res, 0), 250.0, 1e-6);
}

TEST(SinglePosApplicability, MinimumLengthClearsEverything)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    lm->m_bUseMinL = true;
    lm->m_minL = 11.0;
    auto res = CSinglePosAnalysis(bridge, lm).Run(5.0);
    EXPECT_EQ(MidMoment(*res, 0), 0.0);
    EXPECT_EQ(res->m_vReactions[0], 0.0);
    lm->m_bUseMinL = false; // the flag decides, not the value
    res = CSinglePosAnalysis(bridge, lm).Run(5.0);
    EXPECT_NEAR(MidMoment(*res, 0), 250.0, 1e-6);
}

TEST(SinglePosApplicability, MomentOrShearFlagsClearOnlyTheirKind)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    lm->m_bBM = false;
    auto res = CSinglePosAnalysis(bridge, lm).Run(2.5);
    EXPECT_EQ(MidMoment(*res, 0), 0.0);
    EXPECT_NEAR(std::fabs(res->m_vMbrRes[0].V[2]), 75.0, 1e-9); // shear left of the load
    EXPECT_NEAR(res->m_vReactions[0], 75.0, 1e-9);

    lm->m_bBM = true;
    lm->m_bSF = false;
    res = CSinglePosAnalysis(bridge, lm).Run(2.5);
    for (double v : res->m_vMbrRes[0].V) EXPECT_EQ(v, 0.0);
    EXPECT_NEAR(MidMoment(*res, 0), 125.0, 1e-6); // right reaction 25 x 5 m
    EXPECT_NEAR(res->m_vReactions[0], 75.0, 1e-9);
}

TEST(SinglePosRun, SpanRuleIsAppliedForTheBridge)
{
    // The NAASRA rule adds a second axle one span behind on a two-span bridge.
    auto bridge = Bridge(2, 20.0);
    auto lm = Axles({{100.0, 0.0}});
    lm->m_bAdjustToBridge = true;
    lm->m_lmBridge = CLoadModel::LM_NAASRA_PL;
    CSinglePosAnalysis spa(bridge, lm);
    auto res = spa.Run(30.0);
    ASSERT_EQ(spa.GetLoadModel()->m_vPL.size(), 2u);
    EXPECT_EQ(lm->m_vPL.size(), 1u); // the model given is left as it was
    // Axles at 10 and 30: symmetric, end reactions equal.
    EXPECT_NEAR(res->m_vReactions[0], res->m_vReactions[2], 1e-9);
    EXPECT_NEAR(res->m_vReactions[0] + res->m_vReactions[1] + res->m_vReactions[2], 200.0, 1e-9);
}

TEST(SinglePosRun, BadBeamThrowsTheSolverText)
{
    auto bridge = ExplicitBridge({10.0});
    bridge->m_vSpans = {10.0, -1.0};
    bridge->BuildBeam();
    auto lm = Axles({{100.0, 0.0}});
    EXPECT_EQ(ThrownText([&] { CSinglePosAnalysis(bridge, lm).Run(1.0); }), "Incorrect span information");
}
