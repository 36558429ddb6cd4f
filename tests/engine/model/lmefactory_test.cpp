// Standard load-model library: dynamic load allowance modes, identifiers, spacing lists,
// the axle-list builder and the composition of families.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "engine/model/LMEFactory.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "tests/engine/engine_test_util.h"

namespace {
using EnsemblePtr = std::shared_ptr<CLoadModelEnsemble>;

std::string Name(const CElement& e) { return e.m_Description.ToUtf8(); }

std::vector<std::string> Names(const CLoadModelEnsemble& lme)
{
    std::vector<std::string> names;
    for (const auto& lm : lme.m_vLoadModel) names.push_back(Name(*lm));
    return names;
}

std::vector<int> Ids(const CLoadModelEnsemble& lme)
{
    std::vector<int> ids;
    for (const auto& lm : lme.m_vLoadModel) ids.push_back(lm->m_ID);
    return ids;
}

std::shared_ptr<CLoadModel> Find(const CLoadModelEnsemble& lme, const std::string& name)
{
    for (const auto& lm : lme.m_vLoadModel)
        if (Name(*lm) == name) return lm;
    ADD_FAILURE() << "no model " << name << " in " << Name(lme);
    return std::make_shared<CLoadModel>();
}

// Every family, as the "All ..." Insert commands call them.
std::vector<EnsemblePtr> AllFamilies(CLMEFactory& f)
{
    return {f.GetA26(),
            f.GetA36(),
            f.GetNAASRA1970(false, 3.0),
            f.GetNAASRA1976(false, 3.0),
            f.GetABDC1992(false, 3.0),
            f.GetABAG(),
            f.GetAS5100(false, 3.0),
            f.GetEurocode(),
            f.GetBS5400(45),
            f.GetAASHTO()};
}

// ---------------------------------------------------------------- dynamic load allowance

struct DLACase
{
    const char* label;
    std::function<EnsemblePtr(CLMEFactory&)> entry;
    const char* model;
    // Standard DLA chosen:
    double stdDLA;
    bool stdAdjust;
    int stdRule;
    // User's DLA (1.25) chosen:
    double userDLA;
    bool userAdjust;
    int userRule;
};

class LMEFactoryDLA : public ::testing::TestWithParam<DLACase>
{};

TEST_P(LMEFactoryDLA, StandardAndUserChoice)
{
    const DLACase& c = GetParam();
    CLMEFactory f;
    f.m_bUseStandardDLA = true;
    f.m_DLA = 1.25; // ignored while the standard DLA is chosen
    auto lm = Find(*c.entry(f), c.model);
    EXPECT_DOUBLE_EQ(lm->m_gDLA.value, c.stdDLA);
    EXPECT_EQ(lm->m_bAdjustToBridge, c.stdAdjust);
    EXPECT_EQ(lm->m_lmBridge, c.stdRule);

    f.m_bUseStandardDLA = false;
    lm = Find(*c.entry(f), c.model);
    EXPECT_DOUBLE_EQ(lm->m_gDLA.value, c.userDLA);
    EXPECT_EQ(lm->m_bAdjustToBridge, c.userAdjust);
    EXPECT_EQ(lm->m_lmBridge, c.userRule);
}

INSTANTIATE_TEST_SUITE_P(Modes, LMEFactoryDLA,
                         ::testing::Values(DLACase{"Fixed13", [](CLMEFactory& f) { return f.GetA26_AA26(); },
                                                   "AA26-vehicle", 1.3, false, 7, 1.25, false, 7},
                                           DLACase{"Fixed11",
                                                   [](CLMEFactory& f) { return f.GetNAASRA1976_SAV(false, 2.0); },
                                                   "SAV truck: S = 15.000", 1.1, false, 7, 1.25, false, 7},
                                           DLACase{"SpanRule2", [](CLMEFactory& f) { return f.GetNAASRA1970_M18(); },
                                                   "M18 H20 truck", 1.0, true, 2, 1.25, false, 7},
                                           DLACase{"SpanRule4", [](CLMEFactory& f) { return f.GetABAG_Semi1(); },
                                                   "Semi-trailer AS1", 1.0, true, 4, 1.25, false, 7},
                                           DLACase{"Lane3", [](CLMEFactory& f) { return f.GetNAASRA1976_L44(); },
                                                   "T44 Lane load - V", 1.0, true, 3, 1.25, true, 1},
                                           DLACase{"Lane5", [](CLMEFactory& f) { return f.GetABDC1992_L44(); },
                                                   "L44 Lane load", 1.0, true, 5, 1.25, true, 1},
                                           DLACase{"A36Load", [](CLMEFactory& f) { return f.GetA36_B36(); }, "B36", 1.0,
                                                   true, 0, 1.25, true, 0},
                                           DLACase{"BS5400Load", [](CLMEFactory& f) { return f.GetBS5400_HAHB(30); },
                                                   "HAHB - 11.0", 1.0, true, 6, 1.25, true, 6}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(LMEFactoryDLAPointLoads, HL93CarriesTheAllowanceOnItsAxlesOnly)
{
    CLMEFactory f;
    for (bool standard : {true, false})
    {
        f.m_bUseStandardDLA = standard;
        f.m_DLA = 1.25;
        const double g = standard ? 1.33 : 1.25;
        auto lm = f.GetAASHTO_HL93()->GetLoadModel(0);
        EXPECT_DOUBLE_EQ(lm->m_gDLA.value, 1.0);
        EXPECT_DOUBLE_EQ(lm->m_GammaPL, g);
        ASSERT_EQ(lm->m_vPL.size(), 3u);
        for (const auto& pl : lm->m_vPL) EXPECT_DOUBLE_EQ(pl.gamma, g);
        ASSERT_EQ(lm->m_vUDL.size(), 1u);
        EXPECT_DOUBLE_EQ(lm->m_vUDL[0].gamma, 1.0);
        EXPECT_FALSE(lm->m_bAdjustToBridge);
    }
}

TEST(LMEFactoryDLAPointLoads, UserAllowanceReachesEveryModelOfEveryFamily)
{
    CLMEFactory f;
    f.m_bUseStandardDLA = false;
    f.m_DLA = 1.25;
    int count = 0;
    for (const auto& lme : AllFamilies(f))
        for (const auto& lm : lme->m_vLoadModel)
        {
            ++count;
            SCOPED_TRACE(Name(*lme) + " / " + Name(*lm));
            if (Name(*lm) == "HL93")
            {
                EXPECT_DOUBLE_EQ(lm->m_gDLA.value, 1.0);
                EXPECT_DOUBLE_EQ(lm->m_vPL[0].gamma, 1.25);
                continue;
            }
            EXPECT_DOUBLE_EQ(lm->m_gDLA.value, 1.25);
            // The DLA span rules give way to the user's value; the load rules stay.
            EXPECT_NE(lm->m_lmBridge, CLoadModel::LM_NAASRA_DLA);
            EXPECT_NE(lm->m_lmBridge, CLoadModel::LM_ABDC_DLA);
            EXPECT_NE(lm->m_lmBridge, CLoadModel::LM_NAASRA_PL_DLA);
            EXPECT_NE(lm->m_lmBridge, CLoadModel::LM_ABDC_PL_DLA);
            const std::string fam = Name(*lme);
            if (fam == "A36")
            {
                EXPECT_EQ(lm->m_lmBridge, CLoadModel::LM_A36_UDL);
            }
            if (fam == "BS5400")
            {
                EXPECT_EQ(lm->m_lmBridge, CLoadModel::LM_BS5400_UDL);
            }
        }
    EXPECT_GT(count, 40);
}

// ---------------------------------------------------------------- identifiers and flags

TEST(LMEFactoryIds, FamilyEnsembleKeepsEntryOffsets)
{
    CLMEFactory f;
    auto a26 = f.GetA26();
    EXPECT_EQ(Name(*a26), "A26");
    EXPECT_EQ(a26->m_ID, 100);
    EXPECT_FALSE(a26->m_bIsEditable);
    EXPECT_EQ(a26->m_nLoadModels, 6);
    EXPECT_EQ(Ids(*a26), (std::vector<int>{101, 102, 111, 112, 121, 122}));
    EXPECT_EQ(Names(*a26), (std::vector<std::string>{"AA26-vehicle", "AA26-UDL", "A26-vehicle", "A26-UDL",
                                                     "B26-vehicle", "B26-UDL"}));
}

TEST(LMEFactoryIds, BaseIdsComeFromTheFactoryFields)
{
    CLMEFactory f;
    f.m_BaseID[CLMEFactory::FamilyNAASRA1976] = 4000;
    auto t44 = f.GetNAASRA1976_T44(false, 2.0);
    EXPECT_EQ(t44->m_ID, 4000);
    EXPECT_EQ(Ids(*t44), (std::vector<int>{4011, 4012}));
    EXPECT_EQ(f.GetABDC1992_T44(false, 2.0)->GetLoadModel(0)->m_ID, 511);
}

TEST(LMEFactoryIds, EveryModelIsLockedAndEnsemblesFollowTheirEntry)
{
    CLMEFactory f;
    for (const auto& lme : AllFamilies(f))
    {
        EXPECT_EQ(lme->m_bIsEditable, Name(*lme) == "ABAG") << Name(*lme);
        for (const auto& lm : lme->m_vLoadModel) EXPECT_FALSE(lm->m_bIsEditable) << Name(*lm);
    }
    EXPECT_TRUE(f.GetNAASRA1970_M9()->m_bIsEditable);
    EXPECT_TRUE(f.GetABAG_BDouble2()->m_bIsEditable);
    EXPECT_TRUE(f.GetAS5100_HLP400(false, 2.0)->m_bIsEditable);
    EXPECT_FALSE(f.GetA36_AA36()->m_bIsEditable);
    EXPECT_FALSE(f.GetBS5400_HA()->m_bIsEditable);
    EXPECT_FALSE(f.GetEurocode_LM1()->m_bIsEditable);
}

TEST(LMEFactoryIds, FamilyAndEntryOperationsOfSingleEntryFamiliesAgree)
{
    CLMEFactory f;
    for (auto lme : {f.GetEurocode(), f.GetEurocode_LM1()})
    {
        EXPECT_EQ(Name(*lme), "Eurocode");
        EXPECT_EQ(lme->m_ID, 800);
        EXPECT_EQ(Ids(*lme), std::vector<int>{801});
    }
    for (auto lme : {f.GetAASHTO(), f.GetAASHTO_HL93()})
    {
        EXPECT_EQ(Name(*lme), "AASHTO");
        EXPECT_EQ(lme->m_ID, 1000);
        EXPECT_EQ(Names(*lme), std::vector<std::string>{"HL93"});
        EXPECT_EQ(Ids(*lme), std::vector<int>{1001});
    }
}

TEST(LMEFactoryIds, EachCallBuildsFreshModels)
{
    CLMEFactory f;
    auto a = f.GetA26_A26();
    auto b = f.GetA26_A26();
    EXPECT_NE(a, b);
    EXPECT_NE(a->GetLoadModel(0), b->GetLoadModel(0));
    EXPECT_EQ(Ids(*a), Ids(*b));
    EXPECT_EQ(a->m_vLoadModel[0].use_count(), 1); // owned by its ensemble only
}

// ---------------------------------------------------------------- families

TEST(LMEFactoryFamilies, FamiliesLeaveOutTheirSpecialEntries)
{
    CLMEFactory f;
    auto noneStartsWith = [](const CLoadModelEnsemble& lme, const std::string& prefix) {
        for (const auto& n : Names(lme))
            if (n.rfind(prefix, 0) == 0) return false;
        return true;
    };
    auto n76 = f.GetNAASRA1976(false, 3.0);
    EXPECT_EQ(Name(*n76), "NAASRA 1976");
    EXPECT_TRUE(noneStartsWith(*n76, "SAV"));
    EXPECT_EQ(Names(*n76),
              (std::vector<std::string>{"A14", "T44 truck: S = 3.000", "T44 truck: S = 5.500", "T44 truck: S = 8.000",
                                        "T44 Lane load - M", "T44 Lane load - V"}));
    EXPECT_EQ(Ids(*n76), (std::vector<int>{401, 411, 412, 413, 461, 462}));
    auto abdc = f.GetABDC1992(false, 3.0);
    EXPECT_TRUE(noneStartsWith(*abdc, "HLP"));
    EXPECT_EQ(Ids(*abdc), (std::vector<int>{501, 511, 512, 513, 541}));
    auto as = f.GetAS5100(false, 2.0);
    EXPECT_TRUE(noneStartsWith(*as, "HLP"));
    EXPECT_EQ(Ids(*as), (std::vector<int>{701, 711, 721, 722, 741, 742}));
}

TEST(LMEFactoryFamilies, NAASRA1970PassesItsSpacingArgumentsToEveryTruckEntry)
{
    CLMEFactory f;
    auto lme = f.GetNAASRA1970(false, 2.0);
    EXPECT_EQ(Name(*lme), "NAASRA 1970");
    EXPECT_EQ(Ids(*lme),
              (std::vector<int>{301, 302, 303, 304, 331, 332, 333, 334, 371, 372, 373, 381, 382, 383, 391, 392, 393}));
    EXPECT_EQ(Name(*lme->GetLoadModel(3)), "MS18 HS20 truck: S = 9.150");
    EXPECT_EQ(Name(*lme->GetLoadModel(6)), "MS13.5 HS15 truck: S = 4.250");
}

TEST(LMEFactoryFamilies, ABAGBuildsItsVehiclesIntoOneEditableEnsemble)
{
    CLMEFactory f;
    auto abag = f.GetABAG();
    EXPECT_EQ(Name(*abag), "ABAG");
    EXPECT_EQ(abag->m_ID, 600);
    EXPECT_EQ(Ids(*abag), (std::vector<int>{601, 602, 603, 604, 605, 606, 607}));
    EXPECT_EQ(Names(*abag).front(), "B-double AS1");
    EXPECT_EQ(Names(*abag).back(), "Semi-trailer AS4");

    auto semi4 = f.GetABAG_Semi4();
    EXPECT_EQ(Name(*semi4), "ABAG - Semi 4");
    EXPECT_EQ(semi4->m_ID, 600);
    EXPECT_EQ(Ids(*semi4), std::vector<int>{601});
}

// ---------------------------------------------------------------- spacings

TEST(LMEFactorySpacings, ByNumberFollowsLinSpace)
{
    CLMEFactory f;
    auto t44 = f.GetNAASRA1976_T44(false, 10.0);
    ASSERT_EQ(t44->m_nLoadModels, 10);
    for (int k = 0; k < 10; ++k)
    {
        auto lm = t44->GetLoadModel(k);
        const double s = 3.0 + k * 5.0 / 9.0;
        EXPECT_EQ(lm->m_ID, 411 + k);
        CString expected;
        expected.Format(L"T44 truck: S = %.3f", s);
        EXPECT_EQ(lm->m_Description, expected);
        ASSERT_EQ(lm->m_vPL.size(), 5u);
        EXPECT_NEAR(lm->m_vPL[3].location, -4.9 - s, 1e-12);
        EXPECT_NEAR(lm->m_vPL[4].location, -6.1 - s, 1e-12);
    }
    EXPECT_EQ(Name(*t44->GetLoadModel(0)), "T44 truck: S = 3.000");
    EXPECT_EQ(Name(*t44->GetLoadModel(9)), "T44 truck: S = 8.000");

    // Counts are truncated toward zero; fewer than two gives no spacing models.
    EXPECT_EQ(f.GetAS5100_M1600(false, 4.9)->m_nLoadModels, 4);
    EXPECT_EQ(f.GetAS5100_M1600(false, 1.0)->m_nLoadModels, 0);
    auto hlp = f.GetABDC1992_HLP320(false, 1.0);
    EXPECT_EQ(Names(*hlp), std::vector<std::string>{"HLP: S = 1.800"});
    EXPECT_EQ(Ids(*hlp), std::vector<int>{551});
}

TEST(LMEFactorySpacings, ByStepEndsOnceAtTheEndValue)
{
    CLMEFactory f;
    auto ms18 = f.GetNAASRA1970_MS18(true, 0.5);
    std::vector<std::string> expected = {"MS18 Lane load - M", "MS18 Lane load - V"};
    for (const char* s :
         {"4.250", "4.750", "5.250", "5.750", "6.250", "6.750", "7.250", "7.750", "8.250", "8.750", "9.150"})
        expected.push_back(std::string("MS18 HS20 truck: S = ") + s);
    EXPECT_EQ(Names(*ms18), expected);
    EXPECT_EQ(ms18->GetLoadModel(2)->m_ID, 303);
    EXPECT_EQ(ms18->GetLoadModel(12)->m_ID, 313);

    // 3.0 to 8.0 by 1.0 lands on the end value: it is not repeated.
    auto t44 = f.GetNAASRA1976_T44(true, 1.0);
    EXPECT_EQ(Ids(*t44), (std::vector<int>{411, 412, 413, 414, 415, 416}));
    EXPECT_EQ(Name(*t44->GetLoadModel(5)), "T44 truck: S = 8.000");

    auto m1600 = f.GetAS5100_M1600(true, 10.0);
    EXPECT_EQ(Names(*m1600), (std::vector<std::string>{"M1600: S = 6.250", "M1600: S = 16.250", "M1600: S = 25.000"}));
    EXPECT_EQ(Ids(*m1600), (std::vector<int>{721, 722, 723}));

    auto hlp = f.GetAS5100_HLP400(true, 4.5);
    EXPECT_EQ(Names(*hlp),
              (std::vector<std::string>{"HLP: S = 1.800", "HLP: S = 6.000", "HLP: S = 10.500", "HLP: S = 15.000"}));
    EXPECT_EQ(Ids(*hlp), (std::vector<int>{781, 782, 783, 784}));
}

TEST(LMEFactorySpacings, BadArgumentsAreRefusedWithAConstantText)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string step = CLMEFactory::ErrSpacingStep;
    const std::string count = CLMEFactory::ErrSpacingCount;
    for (double s : {0.0, -1.0, nan})
    {
        EXPECT_EQ(enginetest::ThrownText([&] { CLMEFactory::GetSpacings(true, 3.0, 8.0, s); }), step) << s;
        EXPECT_STREQ(CLMEFactory::CheckSpacingArguments(true, s), CLMEFactory::ErrSpacingStep);
    }
    for (double n : {1001.0, 1e12, nan})
    {
        EXPECT_EQ(enginetest::ThrownText([&] { CLMEFactory::GetSpacings(false, 3.0, 8.0, n); }), count) << n;
        EXPECT_STREQ(CLMEFactory::CheckSpacingArguments(false, n), CLMEFactory::ErrSpacingCount);
    }
    // A positive but tiny step would make too many values as well.
    EXPECT_EQ(enginetest::ThrownText([] { CLMEFactory::GetSpacings(true, 6.25, 25.0, 1e-9); }), count);
    EXPECT_EQ(enginetest::ThrownText([] { CLMEFactory::GetSpacings(true, 6.0, 15.0, 0.001); }), count);

    EXPECT_EQ(CLMEFactory::CheckSpacingArguments(true, 0.5), nullptr);
    EXPECT_EQ(CLMEFactory::CheckSpacingArguments(false, 1000.0), nullptr);
    EXPECT_EQ(CLMEFactory::CheckSpacingArguments(false, 1000.9), nullptr); // truncates to 1000
    EXPECT_EQ(CLMEFactory::CheckSpacingArguments(false, -3.0), nullptr);
    EXPECT_EQ(CLMEFactory::GetSpacings(false, 3.0, 8.0, 1000.0).size(), 1000u);
    EXPECT_TRUE(CLMEFactory::GetSpacings(false, 3.0, 8.0, -3.0).empty());

    // The entry operations pass the refusal on, whole families included.
    CLMEFactory f;
    EXPECT_EQ(enginetest::ThrownText([&] { f.GetABDC1992_HLP320(true, 0.0); }), step);
    EXPECT_EQ(enginetest::ThrownText([&] { f.GetAS5100(false, 5000.0); }), count);
}

// ---------------------------------------------------------------- axle lists

TEST(LMEFactoryAxles, AxlesStandAtTheRunningSumOfSpacings)
{
    auto lm = CLMEFactory::AddAxles(7, L"Test", {10.0, 20.0, 30.0}, {2.0, 3.5});
    EXPECT_EQ(lm->m_ID, 7);
    EXPECT_EQ(Name(*lm), "Test");
    ASSERT_EQ(lm->m_nPL, 3);
    const double loads[] = {10.0, 20.0, 30.0}, xs[] = {0.0, -2.0, -5.5};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_DOUBLE_EQ(lm->m_vPL[i].magnitude, loads[i]);
        EXPECT_DOUBLE_EQ(lm->m_vPL[i].location, xs[i]);
        EXPECT_DOUBLE_EQ(lm->m_vPL[i].width, 0.0);
    }
    // Nothing else is set by the builder.
    EXPECT_TRUE(lm->m_bIsEditable);
    EXPECT_DOUBLE_EQ(lm->m_gUnits.value, 1.0);

    auto single = CLMEFactory::AddAxles(1, L"One", {5.0}, {});
    EXPECT_EQ(single->m_nPL, 1);
}

TEST(LMEFactoryAxles, CountMismatchThrows)
{
    for (auto [loads, spacings] : std::vector<std::pair<std::vector<double>, std::vector<double>>>{
             {{1.0, 2.0}, {1.0, 2.0}}, {{1.0, 2.0, 3.0}, {1.0}}, {{}, {}}, {{}, {1.0}}})
    {
        try
        {
            CLMEFactory::AddAxles(1, L"x", loads, spacings);
            ADD_FAILURE() << loads.size() << " loads, " << spacings.size() << " spacings";
        }
        catch (const char* text)
        {
            EXPECT_STREQ(text, "Wrong number of axles or spacings");
        }
    }
}

} // namespace
