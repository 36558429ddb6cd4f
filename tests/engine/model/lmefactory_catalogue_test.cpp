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

namespace {
using EnsemblePtr = std::shared_ptr<CLoadModelEnsemble>;

std::string Name(const CElement& e) { return e.m_Description.ToUtf8(); }

double AxleSum(const CLoadModel& lm)
{
    double sum = 0.0;
    for (const auto& pl : lm.m_vPL) sum += pl.magnitude;
    return sum;
}

std::vector<double> Locations(const CLoadModel& lm)
{
    std::vector<double> xs;
    for (const auto& pl : lm.m_vPL) xs.push_back(pl.location);
    return xs;
}

void ExpectLocations(const CLoadModel& lm, const std::vector<double>& expected)
{
    const auto xs = Locations(lm);
    ASSERT_EQ(xs.size(), expected.size()) << Name(lm);
    for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(xs[i], expected[i], 1e-9) << Name(lm) << " axle " << i;
}

// ---------------------------------------------------------------- gross weights

struct WeightCase
{
    const char* label;
    std::function<EnsemblePtr(CLMEFactory&)> entry;
    int index;
    int axles;
    double grossKN; // axles x units, worked by hand
    double udlKN;   // first UDL x units (0 when none)
};

class LMECatalogueWeights : public ::testing::TestWithParam<WeightCase>
{};

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
    const std::vector<std::pair<EnsemblePtr, double>> families = {{f.GetA26(), 9.81},
                                                                  {f.GetA36(), 9.81},
                                                                  {f.GetNAASRA1970(false, 2.0), 9.81},
                                                                  {f.GetABAG(), 9.81},
                                                                  {f.GetNAASRA1976(false, 2.0), 1.0},
                                                                  {f.GetABDC1992(false, 2.0), 1.0},
                                                                  {f.GetAS5100(false, 2.0), 1.0},
                                                                  {f.GetEurocode(), 1.0},
                                                                  {f.GetBS5400(45), 1.0},
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
    EXPECT_DOUBLE_EQ(b26->m_vPL[0].location, 3.04); // not 3.048
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
        for (const auto& pl : lm->m_vPL) EXPECT_DOUBLE_EQ(pl.gamma, 1.0);
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
    for (int i = 0; i < 16; ++i) xs.push_back(-1.8 * i);
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
    for (int i = 0; i < 7; ++i) EXPECT_NEAR(-abag->GetLoadModel(i)->m_vPL.back().location, lengths[i], 1e-9) << i;
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

} // namespace

// ---------------------------------------------------------------- every entry, every model

namespace {
// DLA modes of the catalogue, with the settings each gives under the standard DLA and under
// the user's DLA 1.25.
struct DlaSpec
{
    char mode; // 'F' fixed v, 'R' span rule, 'L' lane rule, 'A' A36 load rule, 'B' BS5400 load rule
    double v;
    int rule;
};
DlaSpec Fixed(double v) { return {'F', v, 7}; }
DlaSpec Rule(int r) { return {'R', 1.0, r}; }
DlaSpec Lane(int r) { return {'L', 1.0, r}; }
const DlaSpec A36Rule{'A', 1.0, 0};
const DlaSpec BSRule{'B', 1.0, 6};

struct Ax
{
    double p, x, w;
};
struct Pu
{
    double q, a, c;
};

struct ModelSpec
{
    const char* name;
    int id;
    std::vector<Ax> axles;
    std::vector<double> udls;
    DlaSpec dla;
    std::vector<Pu> partials = {};
    double g = 1.0; // gamma of the UDLs and partial UDLs
    bool bm = true;
    bool sf = true;
    double minL = 0.0; // 0: no lower window
    double maxL = 0.0; // 0: no upper window
};

struct EntrySpec
{
    const char* label;
    std::function<EnsemblePtr(CLMEFactory&)> op; // variable spacings by number 2: S = start, end
    const char* ensemble;
    int id;
    bool editable;
    double units;
    std::vector<ModelSpec> models;
};

std::vector<Ax> Axles(double p, double w, const std::vector<double>& xs)
{
    std::vector<Ax> axles;
    for (double x : xs) axles.push_back({p, x, w});
    return axles;
}

// The heavy load platforms: 0.0 to -12.6 by 1.8, then -12.6 - S to -25.2 - S by 1.8.
std::vector<double> HLPLines(double s)
{
    std::vector<double> xs = {0.0, -1.8, -3.6, -5.4, -7.2, -9.0, -10.8, -12.6};
    for (double x : {-12.6, -14.4, -16.2, -18.0, -19.8, -21.6, -23.4, -25.2}) xs.push_back(x - s);
    return xs;
}

std::vector<ModelSpec> HLPModels(int id, double p, double w)
{
    return {{"HLP: S = 1.800", id, Axles(p, w, HLPLines(1.8)), {}, Fixed(1.1)},
            {"HLP: S = 6.000", id + 1, Axles(p, w, HLPLines(6.0)), {}, Fixed(1.1)},
            {"HLP: S = 15.000", id + 2, Axles(p, w, HLPLines(15.0)), {}, Fixed(1.1)}};
}

const std::vector<double> kT44At3 = {0.0, -3.7, -4.9, -7.9, -9.1};
const std::vector<double> kT44At8 = {0.0, -3.7, -4.9, -12.9, -14.1};
std::vector<Ax> T44(const std::vector<double>& xs)
{
    std::vector<Ax> axles = Axles(96.0, 0.0, xs);
    axles[0].p = 48.0;
    return axles;
}

const std::vector<double> kM1600At625 = {0.0,    -1.25, -2.5,   -7.5,  -8.75,  -10.0,
                                         -16.25, -17.5, -18.75, -22.5, -23.75, -25.0};
const std::vector<double> kM1600At25 = {0.0,   -1.25,  -2.5,  -7.5,   -8.75, -10.0,
                                        -35.0, -36.25, -37.5, -41.25, -42.5, -43.75};

const std::vector<double> kBDouble = {6.0, 8.5, 8.5, 7.5, 7.5, 7.5, 7.5, 7.5, 7.5};
const std::vector<double> kSemi = {6.0, 8.5, 8.5, 7.5, 7.5, 7.5};
std::vector<Ax> Vehicle(const std::vector<double>& loads, const std::vector<double>& xs)
{
    std::vector<Ax> axles;
    for (size_t i = 0; i < loads.size() && i < xs.size(); ++i) axles.push_back({loads[i], xs[i], 0.0});
    return axles;
}

std::vector<EntrySpec> Catalogue()
{
    const double t = 9.81;
    return {
        {"A26_AA26",
         [](CLMEFactory& f) { return f.GetA26_AA26(); },
         "A26-AA26",
         100,
         false,
         t,
         {{"AA26-vehicle", 101, {{5.67, 3.658, 2.0}, {13.61, 0.0, 2.2}}, {}, Fixed(1.3)},
          {"AA26-UDL", 102, {}, {1.79}, Fixed(1.0)}}},
        {"A26_A26",
         [](CLMEFactory& f) { return f.GetA26_A26(); },
         "A26-A26",
         100,
         false,
         t,
         {{"A26-vehicle", 111, {{5.08, 3.048, 2.0}, {10.16, 0.0, 2.2}}, {}, Fixed(1.3)},
          {"A26-UDL", 112, {}, {1.49}, Fixed(1.0)}}},
        {"A26_B26",
         [](CLMEFactory& f) { return f.GetA26_B26(); },
         "A26-B26",
         100,
         false,
         t,
         {{"B26-vehicle", 121, {{3.4, 3.04, 2.0}, {6.8, 0.0, 2.2}}, {}, Fixed(1.3)},
          {"B26-UDL", 122, {}, {1.19}, Fixed(1.0)}}},
        {"A36_AA36",
         [](CLMEFactory& f) { return f.GetA36_AA36(); },
         "A36-AA36",
         200,
         false,
         t,
         {{"AA36", 201, {{5.67, -1.829, 0.0}, {13.61, -5.487, 0.0}}, {1.49}, A36Rule, {{-1.49, -9.145, 9.145}}, 1.2}}},
        {"A36_A36",
         [](CLMEFactory& f) { return f.GetA36_A36(); },
         "A36-A36",
         200,
         false,
         t,
         {{"A36", 211, {{5.67, -1.829, 0.0}, {11.34, -5.487, 0.0}}, {1.49}, A36Rule, {{-1.49, -9.145, 9.145}}, 1.0}}},
        {"A36_B36",
         [](CLMEFactory& f) { return f.GetA36_B36(); },
         "A36-B36",
         200,
         false,
         t,
         {{"B36", 221, {{3.4, -1.524, 0.0}, {6.8, -4.572, 0.0}}, {1.49}, A36Rule, {{-1.49, -9.145, 9.145}}, 0.8}}},
        {"N70_MS18",
         [](CLMEFactory& f) { return f.GetNAASRA1970_MS18(false, 2.0); },
         "NAASRA 1970-MS18",
         300,
         true,
         t,
         {{"MS18 Lane load - M", 301, {{8.16, 0.0, 0.0}}, {0.96}, Lane(3), {}, 1.0, true, false},
          {"MS18 Lane load - V", 302, {{11.84, 0.0, 0.0}}, {0.96}, Lane(3), {}, 1.0, false, true},
          {"MS18 HS20 truck: S = 4.250", 303, {{3.67, 0.0, 0.0}, {14.69, -4.25, 0.0}, {14.69, -8.5, 0.0}}, {}, Rule(2)},
          {"MS18 HS20 truck: S = 9.150",
           304,
           {{3.67, 0.0, 0.0}, {14.69, -4.25, 0.0}, {14.69, -13.4, 0.0}},
           {},
           Rule(2)}}},
        {"N70_MS13",
         [](CLMEFactory& f) { return f.GetNAASRA1970_MS13(false, 2.0); },
         "NAASRA 1970-MS13",
         300,
         true,
         t,
         {{"MS13.5 Lane load - M", 331, {{6.12, 0.0, 0.0}}, {0.72}, Lane(3), {}, 1.0, true, false},
          {"MS13.5 Lane load - V", 332, {{8.88, 0.0, 0.0}}, {0.72}, Lane(3), {}, 1.0, false, true},
          {"MS13.5 HS15 truck: S = 4.250",
           333,
           {{2.76, 0.0, 0.0}, {11.02, -4.25, 0.0}, {11.02, -8.5, 0.0}},
           {},
           Rule(2)},
          {"MS13.5 HS15 truck: S = 9.150",
           334,
           {{2.76, 0.0, 0.0}, {11.02, -4.25, 0.0}, {11.02, -13.4, 0.0}},
           {},
           Rule(2)}}},
        {"N70_M18",
         [](CLMEFactory& f) { return f.GetNAASRA1970_M18(); },
         "NAASRA 1970-M18",
         300,
         true,
         t,
         {{"M18 Lane load - M", 371, {{8.16, 0.0, 0.0}}, {0.96}, Lane(3), {}, 1.0, true, false},
          {"M18 Lane load - V", 372, {{11.84, 0.0, 0.0}}, {0.96}, Lane(3), {}, 1.0, false, true},
          {"M18 H20 truck", 373, {{3.67, 0.0, 0.0}, {14.69, -4.25, 0.0}}, {}, Rule(2)}}},
        {"N70_M13",
         [](CLMEFactory& f) { return f.GetNAASRA1970_M13(); },
         "NAASRA 1970-M13",
         300,
         true,
         t,
         {{"M13.5 Lane load - M", 381, {{6.12, 0.0, 0.0}}, {0.72}, Lane(3), {}, 1.0, true, false},
          {"M13.5 Lane load - V", 382, {{8.88, 0.0, 0.0}}, {0.72}, Lane(3), {}, 1.0, false, true},
          {"M13.5 H15 truck", 383, {{2.76, 0.0, 0.0}, {11.02, -4.25, 0.0}}, {}, Rule(2)}}},
        {"N70_M9",
         [](CLMEFactory& f) { return f.GetNAASRA1970_M9(); },
         "NAASRA 1970-M9",
         300,
         true,
         t,
         {{"M9 Lane load - M", 391, {{4.08, 0.0, 0.0}}, {0.48}, Lane(3), {}, 1.0, true, false},
          {"M9 Lane load - V", 392, {{5.92, 0.0, 0.0}}, {0.48}, Lane(3), {}, 1.0, false, true},
          {"M9 H10 truck", 393, {{1.84, 0.0, 0.0}, {7.35, -4.25, 0.0}}, {}, Rule(2)}}},
        {"N76_A14",
         [](CLMEFactory& f) { return f.GetNAASRA1976_A14(); },
         "NAASRA 1976-A14",
         400,
         true,
         1.0,
         {{"A14", 401, {{140.0, 0.0, 1.8}}, {}, Rule(2), {}, 1.0, true, true, 0.0, 4.5}}},
        {"N76_T44",
         [](CLMEFactory& f) { return f.GetNAASRA1976_T44(false, 2.0); },
         "NAASRA 1976-T44",
         400,
         true,
         1.0,
         {{"T44 truck: S = 3.000", 411, T44(kT44At3), {}, Rule(2), {}, 1.0, true, true, 4.5},
          {"T44 truck: S = 8.000", 412, T44(kT44At8), {}, Rule(2), {}, 1.0, true, true, 4.5}}},
        {"N76_L44",
         [](CLMEFactory& f) { return f.GetNAASRA1976_L44(); },
         "NAASRA 1976-L44",
         400,
         true,
         1.0,
         {{"T44 Lane load - M", 461, {{106.0, 0.0, 0.0}}, {12.5}, Lane(3), {}, 1.0, true, false, 10.0},
          {"T44 Lane load - V", 462, {{154.0, 0.0, 0.0}}, {12.5}, Lane(3), {}, 1.0, false, true, 10.0}}},
        {"N76_SAV",
         [](CLMEFactory& f) { return f.GetNAASRA1976_SAV(false, 2.0); },
         "NAASRA 1976-SAV",
         400,
         true,
         1.0,
         {{"SAV truck: S = 6.000",
           471,
           Axles(240.0, 4.5, {0.0, -1.5, -3.0, -4.5, -10.5, -12.0, -13.5, -15.0}),
           {},
           Fixed(1.1)},
          {"SAV truck: S = 15.000",
           472,
           Axles(240.0, 4.5, {0.0, -1.5, -3.0, -4.5, -19.5, -21.0, -22.5, -24.0}),
           {},
           Fixed(1.1)}}},
        {"ABDC_W7",
         [](CLMEFactory& f) { return f.GetABDC1992_W7(); },
         "ABDC 1992-W7",
         500,
         true,
         1.0,
         {{"W7", 501, {{70.0, 0.0, 0.0}}, {}, Fixed(1.25)}}},
        {"ABDC_T44",
         [](CLMEFactory& f) { return f.GetABDC1992_T44(false, 2.0); },
         "ABDC 1992-T44",
         500,
         true,
         1.0,
         {{"T44 truck: S = 3.000", 511, T44(kT44At3), {}, Rule(4), {}, 1.0, true, true, 4.5},
          {"T44 truck: S = 8.000", 512, T44(kT44At8), {}, Rule(4), {}, 1.0, true, true, 4.5}}},
        {"ABDC_L44",
         [](CLMEFactory& f) { return f.GetABDC1992_L44(); },
         "ABDC 1992-L44",
         500,
         true,
         1.0,
         {{"L44 Lane load", 541, {{150.0, 0.0, 0.0}}, {12.5}, Lane(5), {}, 1.0, true, true, 10.0}}},
        {"ABDC_HLP320", [](CLMEFactory& f) { return f.GetABDC1992_HLP320(false, 2.0); }, "ABDC 1992-HLP320", 500, true,
         1.0, HLPModels(551, 200.0, 3.6)},
        {"ABDC_HLP400", [](CLMEFactory& f) { return f.GetABDC1992_HLP400(false, 2.0); }, "ABDC 1992-HLP400", 500, true,
         1.0, HLPModels(581, 250.0, 4.5)},
        {"ABAG_BD1",
         [](CLMEFactory& f) { return f.GetABAG_BDouble1(); },
         "ABAG - B-double 1",
         600,
         true,
         t,
         {{"B-double AS1",
           601,
           Vehicle(kBDouble, {0.0, -3.0, -4.2, -9.7, -10.9, -12.1, -18.6, -19.8, -21.0}),
           {},
           Rule(4)}}},
        {"ABAG_BD2",
         [](CLMEFactory& f) { return f.GetABAG_BDouble2(); },
         "ABAG - B-double 2",
         600,
         true,
         t,
         {{"B-double AS2",
           601,
           Vehicle(kBDouble, {0.0, -3.0, -4.2, -10.2, -11.4, -12.6, -18.6, -19.8, -21.0}),
           {},
           Rule(4)}}},
        {"ABAG_BD3",
         [](CLMEFactory& f) { return f.GetABAG_BDouble3(); },
         "ABAG - B-double 3",
         600,
         true,
         t,
         {{"B-double AS3",
           601,
           Vehicle(kBDouble, {0.0, -3.0, -4.2, -10.7, -11.9, -13.1, -18.6, -19.8, -21.0}),
           {},
           Rule(4)}}},
        {"ABAG_S1",
         [](CLMEFactory& f) { return f.GetABAG_Semi1(); },
         "ABAG - Semi 1",
         600,
         true,
         t,
         {{"Semi-trailer AS1", 601, Vehicle(kSemi, {0.0, -3.0, -4.2, -8.6, -9.8, -11.0}), {}, Rule(4)}}},
        {"ABAG_S2",
         [](CLMEFactory& f) { return f.GetABAG_Semi2(); },
         "ABAG - Semi 2",
         600,
         true,
         t,
         {{"Semi-trailer AS2", 601, Vehicle(kSemi, {0.0, -3.0, -4.2, -10.6, -11.8, -13.0}), {}, Rule(4)}}},
        {"ABAG_S3",
         [](CLMEFactory& f) { return f.GetABAG_Semi3(); },
         "ABAG - Semi 3",
         600,
         true,
         t,
         {{"Semi-trailer AS3", 601, Vehicle(kSemi, {0.0, -3.0, -4.2, -12.6, -13.8, -15.0}), {}, Rule(4)}}},
        {"ABAG_S4",
         [](CLMEFactory& f) { return f.GetABAG_Semi4(); },
         "ABAG - Semi 4",
         600,
         true,
         t,
         {{"Semi-trailer AS4", 601, Vehicle(kSemi, {0.0, -3.0, -4.2, -14.6, -15.8, -17.0}), {}, Rule(4)}}},
        {"AS_W80",
         [](CLMEFactory& f) { return f.GetAS5100_W80(); },
         "AS5100-W80",
         700,
         true,
         1.0,
         {{"W80", 701, {{80.0, 0.0, 0.0}}, {}, Fixed(1.4)}}},
        {"AS_A160",
         [](CLMEFactory& f) { return f.GetAS5100_A160(); },
         "AS5100-A160",
         700,
         true,
         1.0,
         {{"A160", 711, {{160.0, 0.0, 0.0}}, {}, Fixed(1.4)}}},
        {"AS_M1600",
         [](CLMEFactory& f) { return f.GetAS5100_M1600(false, 2.0); },
         "AS5100-M1600",
         700,
         true,
         1.0,
         {{"M1600: S = 6.250", 721, Axles(120.0, 0.0, kM1600At625), {6.0}, Fixed(1.3)},
          {"M1600: S = 25.000", 722, Axles(120.0, 0.0, kM1600At25), {6.0}, Fixed(1.3)}}},
        {"AS_S1600",
         [](CLMEFactory& f) { return f.GetAS5100_S1600(false, 2.0); },
         "AS5100-S1600",
         700,
         true,
         1.0,
         {{"S1600: S = 6.250", 741, Axles(80.0, 0.0, kM1600At625), {24.0}, Fixed(1.0)},
          {"S1600: S = 25.000", 742, Axles(80.0, 0.0, kM1600At25), {24.0}, Fixed(1.0)}}},
        {"AS_HLP320", [](CLMEFactory& f) { return f.GetAS5100_HLP320(false, 2.0); }, "AS5100-HLP320", 700, true, 1.0,
         HLPModels(761, 200.0, 3.6)},
        {"AS_HLP400", [](CLMEFactory& f) { return f.GetAS5100_HLP400(false, 2.0); }, "AS5100-HLP400", 700, true, 1.0,
         HLPModels(781, 250.0, 4.5)},
        {"Euro_LM1",
         [](CLMEFactory& f) { return f.GetEurocode_LM1(); },
         "Eurocode",
         800,
         false,
         1.0,
         {{"LM1", 801, {{300.0, 0.0, 0.0}, {300.0, -2.0, 0.0}}, {27.0}, Fixed(1.0)}}},
        {"BS_HA",
         [](CLMEFactory& f) { return f.GetBS5400_HA(); },
         "BS5400 HA",
         900,
         false,
         1.0,
         {{"HA", 901, {{120.0, 0.0, 0.0}}, {30.0}, BSRule}}},
        {"BS_HAHB",
         [](CLMEFactory& f) { return f.GetBS5400_HAHB(10); },
         "BS5400 HAHB",
         900,
         false,
         1.0,
         {{"HAHB - 6.0", 901, Axles(100.0, 3.5, {-25.0, -26.8, -32.8, -34.6}), {30.0}, BSRule, {{-30.0, -59.6, 59.6}}},
          {"HAHB - 11.0", 902, Axles(100.0, 3.5, {-25.0, -26.8, -37.8, -39.6}), {30.0}, BSRule, {{-30.0, -64.6, 64.6}}},
          {"HAHB - 16.0", 903, Axles(100.0, 3.5, {-25.0, -26.8, -42.8, -44.6}), {30.0}, BSRule, {{-30.0, -69.6, 69.6}}},
          {"HAHB - 21.0", 904, Axles(100.0, 3.5, {-25.0, -26.8, -47.8, -49.6}), {30.0}, BSRule, {{-30.0, -74.6, 74.6}}},
          {"HAHB - 26.0",
           905,
           Axles(100.0, 3.5, {-25.0, -26.8, -52.8, -54.6}),
           {30.0},
           BSRule,
           {{-30.0, -79.6, 79.6}}}}},
    };
}

// The DLA settings a model of mode d gets (gDLA, adjust, rule).
struct DlaResult
{
    double gDLA;
    bool adjust;
    int rule;
};
DlaResult Expected(const DlaSpec& d, bool standard, double userDLA)
{
    switch (d.mode)
    {
    case 'F': return {standard ? d.v : userDLA, false, 7};
    case 'R': return standard ? DlaResult{1.0, true, d.rule} : DlaResult{userDLA, false, 7};
    case 'L': return standard ? DlaResult{1.0, true, d.rule} : DlaResult{userDLA, true, 1};
    case 'A': return {standard ? 1.0 : userDLA, true, 0};
    default: return {standard ? 1.0 : userDLA, true, 6};
    }
}

void CheckEntry(const EntrySpec& e, bool standard)
{
    SCOPED_TRACE(std::string(e.label) + (standard ? " (standard DLA)" : " (user DLA)"));
    CLMEFactory f;
    f.m_bUseStandardDLA = standard;
    f.m_DLA = 1.25;
    const EnsemblePtr lme = e.op(f);
    EXPECT_EQ(Name(*lme), e.ensemble);
    EXPECT_EQ(lme->m_ID, e.id);
    EXPECT_EQ(lme->m_bIsEditable, e.editable);
    ASSERT_EQ(lme->m_nLoadModels, static_cast<int>(e.models.size()));
    ASSERT_EQ(lme->m_vLoadModel.size(), e.models.size());
    for (size_t k = 0; k < e.models.size(); ++k)
    {
        const ModelSpec& m = e.models[k];
        const CLoadModel& lm = *lme->m_vLoadModel[k];
        SCOPED_TRACE(m.name);
        EXPECT_EQ(Name(lm), m.name);
        EXPECT_EQ(lm.m_ID, m.id);
        EXPECT_FALSE(lm.m_bIsEditable);
        EXPECT_DOUBLE_EQ(lm.m_gUnits.value, e.units);
        EXPECT_DOUBLE_EQ(lm.m_gLiveLoad.value, 1.0);
        EXPECT_DOUBLE_EQ(lm.m_gArbitrary.value, 1.0);

        ASSERT_EQ(lm.m_vPL.size(), m.axles.size());
        EXPECT_EQ(lm.m_nPL, static_cast<int>(m.axles.size()));
        for (size_t i = 0; i < m.axles.size(); ++i)
        {
            EXPECT_DOUBLE_EQ(lm.m_vPL[i].magnitude, m.axles[i].p) << "axle " << i;
            EXPECT_NEAR(lm.m_vPL[i].location, m.axles[i].x, 1e-9) << "axle " << i;
            EXPECT_DOUBLE_EQ(lm.m_vPL[i].width, m.axles[i].w) << "axle " << i;
            EXPECT_DOUBLE_EQ(lm.m_vPL[i].gamma, 1.0) << "axle " << i;
        }
        ASSERT_EQ(lm.m_vUDL.size(), m.udls.size());
        for (size_t i = 0; i < m.udls.size(); ++i)
        {
            EXPECT_DOUBLE_EQ(lm.m_vUDL[i].magnitude, m.udls[i]);
            EXPECT_DOUBLE_EQ(lm.m_vUDL[i].gamma, m.g);
        }
        ASSERT_EQ(lm.m_vPUDL.size(), m.partials.size());
        for (size_t i = 0; i < m.partials.size(); ++i)
        {
            EXPECT_DOUBLE_EQ(lm.m_vPUDL[i].magnitude, m.partials[i].q);
            EXPECT_NEAR(lm.m_vPUDL[i].location, m.partials[i].a, 1e-9);
            EXPECT_NEAR(lm.m_vPUDL[i].cover, m.partials[i].c, 1e-9);
            EXPECT_DOUBLE_EQ(lm.m_vPUDL[i].gamma, m.g);
        }
        EXPECT_DOUBLE_EQ(lm.m_GammaUDL, m.g);
        EXPECT_DOUBLE_EQ(lm.m_GammaPUDL, m.g);
        EXPECT_DOUBLE_EQ(lm.m_GammaPL, 1.0);

        EXPECT_EQ(lm.m_bBM, m.bm);
        EXPECT_EQ(lm.m_bSF, m.sf);
        EXPECT_EQ(lm.m_bUseMinL, m.minL > 0.0);
        if (m.minL > 0.0)
        {
            EXPECT_DOUBLE_EQ(lm.m_minL, m.minL);
        }
        EXPECT_EQ(lm.m_bUseMaxL, m.maxL > 0.0);
        if (m.maxL > 0.0)
        {
            EXPECT_DOUBLE_EQ(lm.m_maxL, m.maxL);
        }
        EXPECT_EQ(lm.m_WidthFactor, CLoadModel::WIDTH_NONE);

        const DlaResult d = Expected(m.dla, standard, 1.25);
        EXPECT_DOUBLE_EQ(lm.m_gDLA.value, d.gDLA);
        EXPECT_EQ(lm.m_bAdjustToBridge, d.adjust);
        EXPECT_EQ(lm.m_lmBridge, d.rule);
    }
}
} // namespace

TEST(LMECatalogueTables, EveryEntryAndModelAsTheTablesGiveThem)
{
    const auto catalogue = Catalogue();
    EXPECT_EQ(catalogue.size(), 36u); // every entry operation but HL93 (tested on its own)
    for (const EntrySpec& e : catalogue)
        for (bool standard : {true, false}) CheckEntry(e, standard);
}

// A family ensemble is its entries' models in family order (ABAG: its seven vehicles).
TEST(LMECatalogueTables, FamiliesConcatenateTheirEntries)
{
    const auto catalogue = Catalogue();
    auto ids = [&](const std::vector<const char*>& labels) {
        std::vector<std::pair<std::string, int>> out;
        for (const char* label : labels)
            for (const EntrySpec& e : catalogue)
                if (std::string(e.label) == label)
                    for (const ModelSpec& m : e.models) out.emplace_back(m.name, m.id);
        return out;
    };
    auto actual = [](const CLoadModelEnsemble& lme) {
        std::vector<std::pair<std::string, int>> out;
        for (const auto& lm : lme.m_vLoadModel) out.emplace_back(Name(*lm), lm->m_ID);
        return out;
    };
    CLMEFactory f;
    struct Fam
    {
        EnsemblePtr lme;
        const char* name;
        int id;
        bool editable;
        std::vector<const char*> entries;
    };
    const std::vector<Fam> families = {
        {f.GetA26(), "A26", 100, false, {"A26_AA26", "A26_A26", "A26_B26"}},
        {f.GetA36(), "A36", 200, false, {"A36_AA36", "A36_A36", "A36_B36"}},
        {f.GetNAASRA1970(false, 2.0),
         "NAASRA 1970",
         300,
         false,
         {"N70_MS18", "N70_MS13", "N70_M18", "N70_M13", "N70_M9"}},
        {f.GetNAASRA1976(false, 2.0), "NAASRA 1976", 400, false, {"N76_A14", "N76_T44", "N76_L44"}},
        {f.GetABDC1992(false, 2.0), "ABDC 1992", 500, false, {"ABDC_W7", "ABDC_T44", "ABDC_L44"}},
        {f.GetAS5100(false, 2.0), "AS5100", 700, false, {"AS_W80", "AS_A160", "AS_M1600", "AS_S1600"}},
        {f.GetEurocode(), "Eurocode", 800, false, {"Euro_LM1"}},
        {f.GetBS5400(10), "BS5400", 900, false, {"BS_HA", "BS_HAHB"}},
    };
    for (const Fam& fam : families)
    {
        SCOPED_TRACE(fam.name);
        EXPECT_EQ(Name(*fam.lme), fam.name);
        EXPECT_EQ(fam.lme->m_ID, fam.id);
        EXPECT_EQ(fam.lme->m_bIsEditable, fam.editable);
        EXPECT_EQ(actual(*fam.lme), ids(fam.entries));
        EXPECT_EQ(fam.lme->m_nLoadModels, static_cast<int>(fam.lme->m_vLoadModel.size()));
    }
    auto abag = f.GetABAG();
    EXPECT_TRUE(abag->m_bIsEditable);
    const std::vector<std::pair<std::string, int>> vehicles = {
        {"B-double AS1", 601},     {"B-double AS2", 602},     {"B-double AS3", 603},    {"Semi-trailer AS1", 604},
        {"Semi-trailer AS2", 605}, {"Semi-trailer AS3", 606}, {"Semi-trailer AS4", 607}};
    EXPECT_EQ(actual(*abag), vehicles);
}
