// Standard load-model catalogue, sampled: gross weights worked by hand, units per family,
// axle positions of the variable vehicles and the special loads (A36, BS5400 HB).

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/model/LMEFactory.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

namespace
{
using EnsemblePtr = std::shared_ptr<CLoadModelEnsemble>;

std::string Name(const CElement& e) { return e.m_Description.ToUtf8(); }

double AxleSum(const CLoadModel& lm)
{
    double sum = 0.0;
    for (const auto& pl : lm.m_vPL)
        sum += pl.magnitude;
    return sum;
}

std::vector<double> Locations(const CLoadModel& lm)
{
    std::vector<double> xs;
    for (const auto& pl : lm.m_vPL)
        xs.push_back(pl.location);
    return xs;
}

void ExpectLocations(const CLoadModel& lm, const std::vector<double>& expected)
{
    const auto xs = Locations(lm);
    ASSERT_EQ(xs.size(), expected.size()) << Name(lm);
    for (size_t i = 0; i < xs.size(); ++i)
        EXPECT_NEAR(xs[i], expected[i], 1e-9) << Name(lm) << " axle " << i;
}

// ---------------------------------------------------------------- gross weights

struct WeightCase
{
    const char* label;
    std::function<EnsemblePtr(CLMEFactory&)> entry;
    int index;
    int axles;
    double grossKN;  // axles x units, worked by hand
    double udlKN;    // first UDL x units (0 when none)
};

class LMECatalogueWeights : public ::testing::TestWithParam<WeightCase>
{
};

TEST_P(LMECatalogueWeights, GrossWeightInKilonewtons)
{
    const WeightCase& c = GetParam();
    CLMEFactory f;
    auto lm = c.entry(f)->GetLoadModel(c.index);
    EXPECT_EQ(lm->m_nPL, c.axles);
    EXPECT_NEAR(AxleSum(*lm) * lm->m_gUnits.value, c.grossKN, 1e-9);
    const double udl = lm->m_vUDL.empty() ? 0.0 : lm->m_vUDL[0].magnitude * lm->m_gUnits.value;
    EXPECT_NEAR(udl, c.udlKN, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Vehicles, LMECatalogueWeights,
    ::testing::Values(
        // HS20: 3.67 + 14.69 + 14.69 = 33.05 t = 324.2205 kN
        WeightCase{"HS20", [](CLMEFactory& f) { return f.GetNAASRA1970_MS18(false, 2.0); }, 2, 3, 324.2205, 0.0},
        // H20: 18.36 t
        WeightCase{"H20", [](CLMEFactory& f) { return f.GetNAASRA1970_M18(); }, 2, 2, 180.1116, 0.0},
        // MS18 moment lane: 8.16 t and 0.96 t/m
        WeightCase{"MS18LaneM", [](CLMEFactory& f) { return f.GetNAASRA1970_MS18(false, 0.0); }, 0, 1, 80.0496, 9.4176},
        WeightCase{"SAV", [](CLMEFactory& f) { return f.GetNAASRA1976_SAV(false, 2.0); }, 1, 8, 1920.0, 0.0},
        WeightCase{"T44", [](CLMEFactory& f) { return f.GetABDC1992_T44(false, 2.0); }, 0, 5, 432.0, 0.0},
        WeightCase{"HLP320", [](CLMEFactory& f) { return f.GetABDC1992_HLP320(false, 0.0); }, 0, 16, 3200.0, 0.0},
        WeightCase{"HLP400", [](CLMEFactory& f) { return f.GetAS5100_HLP400(false, 2.0); }, 2, 16, 4000.0, 0.0},
        WeightCase{"M1600", [](CLMEFactory& f) { return f.GetAS5100_M1600(false, 2.0); }, 0, 12, 1440.0, 6.0},
        WeightCase{"S1600", [](CLMEFactory& f) { return f.GetAS5100_S1600(false, 2.0); }, 1, 12, 960.0, 24.0},
        // B-double: 68.0 t; semi-trailer 45.5 t
        WeightCase{"BDouble3", [](CLMEFactory& f) { return f.GetABAG_BDouble3(); }, 0, 9, 667.08, 0.0},
        WeightCase{"Semi2", [](CLMEFactory& f) { return f.GetABAG_Semi2(); }, 0, 6, 446.355, 0.0},
        // AA26: 19.28 t, A26 UDL 1.49 t/m
        WeightCase{"AA26", [](CLMEFactory& f) { return f.GetA26_AA26(); }, 0, 2, 189.1368, 0.0},
        WeightCase{"A26UDL", [](CLMEFactory& f) { return f.GetA26_A26(); }, 1, 0, 0.0, 14.6169},
        WeightCase{"A36", [](CLMEFactory& f) { return f.GetA36_A36(); }, 0, 2, 166.8681, 14.6169},
        WeightCase{"LM1", [](CLMEFactory& f) { return f.GetEurocode_LM1(); }, 0, 2, 600.0, 27.0},
        WeightCase{"HA", [](CLMEFactory& f) { return f.GetBS5400_HA(); }, 0, 1, 120.0, 30.0},
        WeightCase{"HL93", [](CLMEFactory& f) { return f.GetAASHTO_HL93(); }, 0, 3, 325.0, 9.3}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(LMECatalogueUnits, TonnesOnlyForTheOlderAustralianCodesAndABAG)
{
    CLMEFactory f;
    const std::vector<std::pair<EnsemblePtr, double>> families = {
        {f.GetA26(), 9.81},          {f.GetA36(), 9.81},          {f.GetNAASRA1970(false, 2.0), 9.81},
        {f.GetABAG(), 9.81},         {f.GetNAASRA1976(false, 2.0), 1.0}, {f.GetABDC1992(false, 2.0), 1.0},
        {f.GetAS5100(false, 2.0), 1.0}, {f.GetEurocode(), 1.0},   {f.GetBS5400(45), 1.0},
        {f.GetAASHTO(), 1.0}};
    for (const auto& [lme, units] : families)
    {
        ASSERT_GT(lme->m_nLoadModels, 0) << Name(*lme);
        for (const auto& lm : lme->m_vLoadModel)
        {
            EXPECT_DOUBLE_EQ(lm->m_gUnits.value, units) << Name(*lm);
            EXPECT_DOUBLE_EQ(lm->m_gLiveLoad.value, 1.0);
            EXPECT_DOUBLE_EQ(lm->m_gArbitrary.value, 1.0);
        }
    }
}

// ---------------------------------------------------------------- vehicles as the codes give them

TEST(LMECatalogueVehicles, A26VehiclesKeepTheirWidthsAndDecimals)
{
    CLMEFactory f;
    auto b26 = f.GetA26_B26()->GetLoadModel(0);
    EXPECT_EQ(Name(*b26), "B26-vehicle");
    ASSERT_EQ(b26->m_nPL, 2);
    EXPECT_DOUBLE_EQ(b26->m_vPL[0].location, 3.04);  // not 3.048
    EXPECT_DOUBLE_EQ(b26->m_vPL[0].width, 2.0);
    EXPECT_DOUBLE_EQ(b26->m_vPL[1].width, 2.2);
    auto a26 = f.GetA26_A26()->GetLoadModel(0);
    EXPECT_DOUBLE_EQ(a26->m_vPL[0].location, 3.048);
}

TEST(LMECatalogueVehicles, A36DistributedLoadsCarryTheirFactor)
{
    CLMEFactory f;
    const std::vector<std::pair<EnsemblePtr, double>> cases = {
        {f.GetA36_AA36(), 1.2}, {f.GetA36_A36(), 1.0}, {f.GetA36_B36(), 0.8}};
    for (const auto& [lme, g] : cases)
    {
        auto lm = lme->GetLoadModel(0);
        SCOPED_TRACE(Name(*lm));
        EXPECT_DOUBLE_EQ(lm->m_GammaUDL, g);
        EXPECT_DOUBLE_EQ(lm->m_GammaPUDL, g);
        ASSERT_EQ(lm->m_nUDL, 1);
        ASSERT_EQ(lm->m_nPUDL, 1);
        EXPECT_DOUBLE_EQ(lm->m_vUDL[0].gamma, g);
        EXPECT_DOUBLE_EQ(lm->m_vPUDL[0].gamma, g);
        EXPECT_DOUBLE_EQ(lm->m_vPUDL[0].magnitude, -1.49);
        EXPECT_DOUBLE_EQ(lm->m_vPUDL[0].location, -9.145);
        EXPECT_DOUBLE_EQ(lm->m_vPUDL[0].cover, 9.145);
        for (const auto& pl : lm->m_vPL)
            EXPECT_DOUBLE_EQ(pl.gamma, 1.0);
    }
    ExpectLocations(*f.GetA36_B36()->GetLoadModel(0), {-1.524, -4.572});
}

TEST(LMECatalogueVehicles, HBVehiclesScaleWithTheirUnitsAndRelieveTheUDL)
{
    CLMEFactory f;
    auto hahb = f.GetBS5400_HAHB(45);
    EXPECT_EQ(Name(*hahb), "BS5400 HAHB");
    EXPECT_EQ(hahb->m_ID, 900);
    ASSERT_EQ(hahb->m_nLoadModels, 5);
    const double spacings[] = {6.0, 11.0, 16.0, 21.0, 26.0};
    const char* names[] = {"HAHB - 6.0", "HAHB - 11.0", "HAHB - 16.0", "HAHB - 21.0", "HAHB - 26.0"};
    for (int i = 0; i < 5; ++i)
    {
        auto lm = hahb->GetLoadModel(i);
        const double s = spacings[i];
        EXPECT_EQ(lm->m_ID, 901 + i);
        EXPECT_EQ(Name(*lm), names[i]);
        ExpectLocations(*lm, {-25.0, -26.8, -26.8 - s, -28.6 - s});
        for (const auto& pl : lm->m_vPL)
        {
            EXPECT_DOUBLE_EQ(pl.magnitude, 450.0);
            EXPECT_DOUBLE_EQ(pl.width, 3.5);
        }
        ASSERT_EQ(lm->m_nUDL, 1);
        EXPECT_DOUBLE_EQ(lm->m_vUDL[0].magnitude, 30.0);
        ASSERT_EQ(lm->m_nPUDL, 1);
        EXPECT_DOUBLE_EQ(lm->m_vPUDL[0].magnitude, -30.0);
        EXPECT_NEAR(lm->m_vPUDL[0].location, -(53.6 + s), 1e-9);
        EXPECT_NEAR(lm->m_vPUDL[0].cover, 53.6 + s, 1e-9);
    }
    ExpectLocations(*hahb->GetLoadModel(0), {-25.0, -26.8, -32.8, -34.6});
    EXPECT_NEAR(hahb->GetLoadModel(0)->m_vPUDL[0].location, -59.6, 1e-9);

    auto bs = f.GetBS5400(45);
    EXPECT_EQ(Name(*bs), "BS5400");
    EXPECT_EQ(bs->m_ID, 900);
    ASSERT_EQ(bs->m_nLoadModels, 6);
    EXPECT_EQ(Name(*bs->GetLoadModel(0)), "HA");
    EXPECT_EQ(bs->GetLoadModel(0)->m_ID, 901);
    EXPECT_EQ(bs->GetLoadModel(1)->m_ID, 901);
    EXPECT_EQ(bs->GetLoadModel(5)->m_ID, 905);
    EXPECT_DOUBLE_EQ(f.GetBS5400_HAHB(25)->GetLoadModel(0)->m_vPL[0].magnitude, 250.0);
}

TEST(LMECatalogueVehicles, VariableVehiclesOpenTheirGapBySpacing)
{
    CLMEFactory f;
    // M1600 at S = 6.25 and 25.0 (by number 2).
    auto m1600 = f.GetAS5100_M1600(false, 2.0);
    for (int i = 0; i < 2; ++i)
    {
        const double s = i == 0 ? 6.25 : 25.0;
        ExpectLocations(*m1600->GetLoadModel(i), {0.0, -1.25, -2.5, -7.5, -8.75, -10.0, -10.0 - s, -11.25 - s,
                                                  -12.5 - s, -16.25 - s, -17.5 - s, -18.75 - s});
    }
    // HLP platform at S = 1.8: sixteen lines 1.8 apart.
    auto hlp = f.GetABDC1992_HLP400(false, 0.0)->GetLoadModel(0);
    std::vector<double> xs;
    for (int i = 0; i < 16; ++i)
        xs.push_back(-1.8 * i);
    ExpectLocations(*hlp, xs);
    EXPECT_DOUBLE_EQ(hlp->m_vPL[15].width, 4.5);
    EXPECT_DOUBLE_EQ(f.GetAS5100_HLP320(false, 0.0)->GetLoadModel(0)->m_vPL[0].width, 3.6);
    // SAV at S = 6.0
    auto sav = f.GetNAASRA1976_SAV(false, 2.0)->GetLoadModel(0);
    ExpectLocations(*sav, {0.0, -1.5, -3.0, -4.5, -10.5, -12.0, -13.5, -15.0});
    EXPECT_DOUBLE_EQ(sav->m_vPL[7].width, 4.5);
    // HS20 at S = 4.25
    ExpectLocations(*f.GetNAASRA1970_MS18(false, 2.0)->GetLoadModel(2), {0.0, -4.25, -8.5});
}

TEST(LMECatalogueVehicles, ABAGAxlesFollowTheirSpacingLists)
{
    CLMEFactory f;
    ExpectLocations(*f.GetABAG_Semi4()->GetLoadModel(0), {0.0, -3.0, -4.2, -14.6, -15.8, -17.0});
    auto abag = f.GetABAG();
    // Overall lengths: B-doubles 21.0 m, semi-trailers 11, 13, 15 and 17 m.
    const double lengths[] = {21.0, 21.0, 21.0, 11.0, 13.0, 15.0, 17.0};
    for (int i = 0; i < 7; ++i)
        EXPECT_NEAR(-abag->GetLoadModel(i)->m_vPL.back().location, lengths[i], 1e-9) << i;
    ExpectLocations(*abag->GetLoadModel(1), {0.0, -3.0, -4.2, -10.2, -11.4, -12.6, -18.6, -19.8, -21.0});
}

TEST(LMECatalogueVehicles, LaneLoadsAndLengthWindows)
{
    CLMEFactory f;
    auto l44 = f.GetNAASRA1976_L44();
    auto m = l44->GetLoadModel(0), v = l44->GetLoadModel(1);
    EXPECT_TRUE(m->m_bBM);
    EXPECT_FALSE(m->m_bSF);
    EXPECT_FALSE(v->m_bBM);
    EXPECT_TRUE(v->m_bSF);
    EXPECT_DOUBLE_EQ(m->m_vPL[0].magnitude, 106.0);
    EXPECT_DOUBLE_EQ(v->m_vPL[0].magnitude, 154.0);
    for (const auto& lm : {m, v})
    {
        EXPECT_TRUE(lm->m_bUseMinL);
        EXPECT_DOUBLE_EQ(lm->m_minL, 10.0);
        EXPECT_FALSE(lm->m_bUseMaxL);
    }
    auto abdcL44 = f.GetABDC1992_L44()->GetLoadModel(0);
    EXPECT_TRUE(abdcL44->m_bBM && abdcL44->m_bSF);
    EXPECT_DOUBLE_EQ(abdcL44->m_vPL[0].magnitude, 150.0);

    auto a14 = f.GetNAASRA1976_A14()->GetLoadModel(0);
    EXPECT_TRUE(a14->m_bUseMaxL);
    EXPECT_DOUBLE_EQ(a14->m_maxL, 4.5);
    EXPECT_FALSE(a14->m_bUseMinL);
    EXPECT_DOUBLE_EQ(a14->m_vPL[0].width, 1.8);

    auto t44 = f.GetABDC1992_T44(false, 2.0)->GetLoadModel(0);
    EXPECT_TRUE(t44->m_bUseMinL);
    EXPECT_DOUBLE_EQ(t44->m_minL, 4.5);

    auto m9v = f.GetNAASRA1970_M9()->GetLoadModel(1);
    EXPECT_EQ(Name(*m9v), "M9 Lane load - V");
    EXPECT_FALSE(m9v->m_bBM);
    EXPECT_DOUBLE_EQ(m9v->m_vPL[0].magnitude, 5.92);
    EXPECT_DOUBLE_EQ(m9v->m_vUDL[0].magnitude, 0.48);

    auto w7 = f.GetABDC1992_W7();
    EXPECT_EQ(Name(*w7), "ABDC 1992-W7");
    EXPECT_EQ(Name(*w7->GetLoadModel(0)), "W7");
    EXPECT_DOUBLE_EQ(w7->GetLoadModel(0)->m_vPL[0].magnitude, 70.0);
}

}  // namespace
