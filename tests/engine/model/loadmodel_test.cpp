// Load models (loads, factors, Update, span rules, width rule, status lines) and
// load model ensembles.
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/runs/EngineMessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string OutOfRangeText(const std::function<void()>& f)
{
    try
    {
        f();
    }
    catch (const std::out_of_range& e)
    {
        return e.what();
    }
    return "";
}

std::vector<double> Locations(const CLoadModel& lm)
{
    std::vector<double> v;
    for (const auto& p : lm.m_vPL) v.push_back(p.location);
    return v;
}

// Records the status lines posted to the main window, freeing them as the main frame does.
class StatusRecorder
{
public:
    explicit StatusRecorder(bool accept = true)
    {
        qor::SetMainWindowHandle(reinterpret_cast<HWND>(0x1234));
        m_Old = qor::SetPostSink([this, accept](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
            if (!accept) return false;
            if (msg == UWM_ADD_STATUS)
            {
                CString* pLine = reinterpret_cast<CString*>(wParam);
                lines.push_back(pLine->str());
                EXPECT_EQ(lParam, 0);
                delete pLine;
            }
            return true;
        });
    }
    ~StatusRecorder()
    {
        qor::SetPostSink(m_Old);
        qor::SetMainWindowHandle(nullptr);
    }
    std::vector<std::wstring> lines;

private:
    qor::PostSink m_Old;
};

std::shared_ptr<CBridge> Bridge(int config, double L) { return std::make_shared<CBridge>(1, L"B", config, L); }

} // namespace

// --- Construction, loads and counts --------------------------------------------------

TEST(LoadModelLoads, DefaultsOfBothConstructors)
{
    CLoadModel lm;
    EXPECT_EQ(lm.m_Description, L"Loadmodel");
    EXPECT_EQ(lm.m_ID, 0);
    EXPECT_EQ(lm.m_ElementType, 13);
    EXPECT_TRUE(lm.m_bIsEditable);
    EXPECT_EQ(lm.m_lmBridge, 7);
    EXPECT_FALSE(lm.m_bAdjustToBridge);
    EXPECT_TRUE(lm.m_bIsMoving);
    EXPECT_FALSE(lm.IsUpToDate());
    EXPECT_EQ(lm.m_maxL, 10000.0);
    EXPECT_EQ(lm.m_Gamma, 1.0);

    CLoadModel named(5, L"T44");
    EXPECT_EQ(named.m_ID, 5);
    EXPECT_EQ(named.GetDescription(), L"T44");
    const wchar_t* descs[] = {L"Dynamic Load Allowance", L"Live load factor", L"Unit conversion", L"Arbitrary"};
    for (int i = 0; i < 4; ++i)
    {
        Factor f = named.GetFactor(i);
        EXPECT_EQ(f.desc, descs[i]);
        EXPECT_EQ(f.value, 1.0);
        EXPECT_EQ(f.type, i);
    }
    EXPECT_EQ(named.GetFactor(9).desc, L"Arbitrary");
}

TEST(LoadModelLoads, AddsCountAndMakeStale)
{
    CLoadModel lm;
    lm.AddPointLoad(10.0, 0.0, 2.0);
    lm.AddPointLoad(12.0, 1.5, 2.0);
    lm.AddUDL(3.0);
    lm.AddPartialUDL(4.0, -2.0, 6.0);
    EXPECT_EQ(lm.m_nPL, 2);
    EXPECT_EQ(lm.m_nUDL, 1);
    EXPECT_EQ(lm.m_nPUDL, 1);
    EXPECT_EQ(lm.m_nLoads, 4);
    EXPECT_EQ(lm.m_vPL[1].gamma, 1.0);
    EXPECT_EQ(lm.m_vPUDL[0].cover, 6.0);
    lm.Update();
    EXPECT_TRUE(lm.IsUpToDate());
    lm.AddUDL(1.0);
    EXPECT_FALSE(lm.IsUpToDate());

    // The counts follow the lists even after a list was filled directly.
    lm.m_vPL.push_back({1.0, 5.0, -3.0, 0.0});
    lm.AddPointLoad(6.0, -4.0, 0.0);
    EXPECT_EQ(lm.m_nPL, 4);
    EXPECT_EQ(lm.m_nLoads, 7);
    EXPECT_TRUE(lm.RemovePointLoad(0));
    EXPECT_EQ(lm.m_nPL, 3);
    EXPECT_EQ(lm.m_nLoads, 6);
}

TEST(LoadModelLoads, SettersOverwriteAndRejectBadIndices)
{
    CLoadModel lm;
    lm.AddUDL(3.0);
    lm.AddPointLoad(10.0, 0.0, 2.0);
    lm.AddPartialUDL(4.0, -2.0, 6.0);
    lm.SetGammaUDL(1.5);
    EXPECT_EQ(lm.m_vUDL[0].gamma, 1.5);
    lm.SetUDL(0, 7.0); // resets gamma
    EXPECT_EQ(lm.m_vUDL[0].gamma, 1.0);
    EXPECT_EQ(lm.m_vUDL[0].magnitude, 7.0);
    lm.SetPointLoad(0, 1.2, 11.0, -1.0, 2.5);
    EXPECT_EQ(lm.m_vPL[0].gamma, 1.2);
    EXPECT_EQ(lm.m_vPL[0].width, 2.5);
    lm.SetPartialUDL(0, 0.9, 5.0, -3.0, 8.0);
    double g, m, loc, c;
    lm.GetPartialUDL(0, g, m, loc, c);
    EXPECT_EQ(g, 0.9);
    EXPECT_EQ(m, 5.0);
    EXPECT_EQ(loc, -3.0);
    EXPECT_EQ(c, 8.0);

    const std::string err = "invalid vector<T> subscript";
    EXPECT_EQ(OutOfRangeText([&] { lm.SetUDL(1, 1.0); }), err);
    EXPECT_EQ(OutOfRangeText([&] { lm.SetUDL(-1, 1.0); }), err);
    EXPECT_EQ(OutOfRangeText([&] { lm.SetPointLoad(-1, 1, 1, 1, 1); }), err);
    EXPECT_EQ(OutOfRangeText([&] { lm.SetPartialUDL(3, 1, 1, 1, 1); }), err);
    EXPECT_EQ(OutOfRangeText([&] { lm.GetPartialUDL(-2, g, m, loc, c); }), err);
    EXPECT_EQ(lm.m_nLoads, 3);
}

TEST(LoadModelLoads, RemovesKeepCountsInStep)
{
    CLoadModel lm;
    lm.AddPointLoad(1.0, 0.0, 0.0);
    lm.AddPointLoad(2.0, 1.0, 0.0);
    lm.AddPointLoad(3.0, 2.0, 0.0);
    lm.AddUDL(1.0);
    lm.Update();
    EXPECT_TRUE(lm.RemovePointLoad(1));
    EXPECT_TRUE(lm.IsUpToDate()); // removes leave the flag
    EXPECT_EQ(lm.m_nPL, 2);
    EXPECT_EQ(lm.m_nLoads, 3);
    EXPECT_EQ(lm.m_vPL[1].magnitude, 3.0);
    EXPECT_FALSE(lm.RemovePointLoad(2));
    EXPECT_FALSE(lm.RemovePointLoad(-1));
    EXPECT_FALSE(lm.RemoveUDL(-1));
    EXPECT_FALSE(lm.RemovePartialUDL(0));
    EXPECT_TRUE(lm.RemoveUDL(0));
    EXPECT_EQ(lm.m_nUDL, 0);
    EXPECT_EQ(lm.m_nLoads, 2);
}

TEST(LoadModelLoads, RemoveZeroLoadsDropsNearZeroMagnitudes)
{
    CLoadModel lm;
    lm.AddPointLoad(0.0, 0.0, 0.0);
    lm.AddPointLoad(5.0, 1.0, 0.0);
    lm.AddPointLoad(-5e-7, 2.0, 0.0);
    lm.AddPointLoad(-1e-6, 3.0, 0.0); // on the boundary: kept
    lm.AddUDL(9e-7);
    lm.AddPartialUDL(2.0, 0.0, 1.0);
    lm.RemoveZeroLoads();
    ASSERT_EQ(lm.m_vPL.size(), 2u);
    EXPECT_EQ(lm.m_vPL[0].magnitude, 5.0);
    EXPECT_EQ(lm.m_vPL[1].magnitude, -1e-6);
    EXPECT_EQ(lm.m_nPL, 2);
    EXPECT_EQ(lm.m_nUDL, 0);
    EXPECT_EQ(lm.m_nPUDL, 1);
    EXPECT_EQ(lm.m_nLoads, 3);
}

TEST(LoadModelLoads, OverallFactorIsTheProductOfTheFour)
{
    CLoadModel lm;
    lm.m_gLiveLoad.value = 1.8;
    lm.m_gDLA.value = 1.3;
    lm.m_gUnits.value = 9.81;
    lm.m_gArbitrary.value = 0.5;
    lm.UpdateGamma();
    EXPECT_NEAR(lm.m_Gamma, 1.8 * 1.3 * 9.81 * 0.5, 1e-12);
    lm.SetGammaPUDL(0.7);
    EXPECT_EQ(lm.m_GammaPUDL, 0.7);
}

TEST(LoadModelLoads, CopiesCopyEverything)
{
    CLoadModel src(3, L"Src");
    src.AddPointLoad(10.0, 4.0, 2.0);
    src.AddUDL(2.0);
    src.m_gDLA.value = 1.4;
    src.m_lmBridge = 2;
    src.Update();
    CLoadModel copy(src);
    EXPECT_EQ(copy.m_nLoads, 2);
    EXPECT_TRUE(copy.IsUpToDate());
    EXPECT_EQ(copy.GetLength(), 4.0);
    EXPECT_EQ(copy.m_gDLA.value, 1.4);
    CLoadModel target;
    target = src;
    EXPECT_EQ(target.m_Description, L"Src");
    EXPECT_EQ(target.m_vPL[0].location, 0.0);
    EXPECT_EQ(target.m_lmBridge, 2);
}

// --- Update ---------------------------------------------------------------------------

TEST(LoadModelUpdate, UniformLoadsAloneStopMoving)
{
    CLoadModel lm;
    lm.AddUDL(5.0);
    lm.Update();
    EXPECT_FALSE(lm.m_bIsMoving);
    EXPECT_EQ(lm.GetLength(), 0.0);
    EXPECT_TRUE(lm.IsUpToDate());
}

TEST(LoadModelUpdate, ShiftsTheFrontAxleToZero)
{
    CLoadModel lm;
    lm.AddPointLoad(10.0, 0.0, 0.0);
    lm.AddPointLoad(10.0, 1.2, 0.0);
    lm.AddPointLoad(10.0, 5.0, 0.0);
    lm.Update();
    EXPECT_DOUBLE_EQ(lm.GetLength(), 5.0);
    EXPECT_DOUBLE_EQ(lm.m_FrontExtent, 5.0);
    EXPECT_DOUBLE_EQ(lm.m_RearExtent, 0.0);
    std::vector<double> loc = Locations(lm);
    EXPECT_DOUBLE_EQ(loc[0], -5.0);
    EXPECT_DOUBLE_EQ(loc[1], -3.8);
    EXPECT_DOUBLE_EQ(loc[2], 0.0);
    lm.Update();
    EXPECT_DOUBLE_EQ(lm.GetLength(), 5.0);
    EXPECT_EQ(Locations(lm), loc);
}

TEST(LoadModelUpdate, ExtentsStartAtZeroSoLengthCanChange)
{
    CLoadModel lm;
    lm.AddPointLoad(10.0, 3.0, 0.0);
    lm.Update();
    EXPECT_DOUBLE_EQ(lm.GetLength(), 3.0);
    EXPECT_DOUBLE_EQ(lm.m_vPL[0].location, 0.0);
    lm.Update();
    EXPECT_DOUBLE_EQ(lm.GetLength(), 0.0);
}

TEST(LoadModelUpdate, PartialLoadCoverIsIgnored)
{
    CLoadModel lm;
    lm.AddPointLoad(10.0, 2.0, 0.0);
    lm.AddPartialUDL(1.0, -3.0, 50.0);
    lm.Update();
    EXPECT_DOUBLE_EQ(lm.GetLength(), 5.0);
    EXPECT_DOUBLE_EQ(lm.m_vPUDL[0].location, -5.0);
    EXPECT_DOUBLE_EQ(lm.m_vPL[0].location, 0.0);
}

TEST(LoadModelUpdate, NonMovingModelKeepsItsLocations)
{
    CLoadModel lm;
    lm.AddPointLoad(10.0, 2.0, 0.0);
    lm.m_bIsMoving = false;
    lm.Update();
    EXPECT_EQ(lm.m_vPL[0].location, 2.0);
    EXPECT_EQ(lm.GetLength(), 0.0);
    EXPECT_TRUE(lm.IsUpToDate());
}

// --- Span rules -------------------------------------------------------------------------

TEST(LoadModelSpanRules, NAASRADynamicLoadAllowance)
{
    StatusRecorder rec;
    CLoadModel lm(1, L"T44");
    lm.m_lmBridge = 2;
    lm.AdjustToBridge(Bridge(1, 20.0));
    EXPECT_NEAR(lm.m_gDLA.value, 1.0 + 16.0 / 60.0, 1e-12);
    EXPECT_NEAR(lm.m_gDLA.value, 1.266667, 1e-6);
    ASSERT_EQ(rec.lines.size(), 1u);
    EXPECT_EQ(rec.lines[0], L"T44: NAASRA DLA: 0.267");
    EXPECT_NEAR(CLoadModel::GetNAASRADLA(150.0), 1.1, 1e-12);
    EXPECT_NEAR(CLoadModel::GetNAASRADLA(0.0), 1.3, 1e-12);
    EXPECT_EQ(lm.m_Gamma, 1.0); // the rules leave the overall factor to the analysis
}

TEST(LoadModelSpanRules, ABDCDynamicLoadAllowance)
{
    StatusRecorder rec;
    CLoadModel lm(1, L"M1600");
    lm.m_lmBridge = 4;
    lm.AdjustToBridge(Bridge(1, 20.0)); // f = 5
    EXPECT_NEAR(lm.m_gDLA.value, 1.35, 1e-12);
    ASSERT_EQ(rec.lines.size(), 1u);
    EXPECT_EQ(rec.lines[0], L"M1600: ABDC DLA: 0.350");
    EXPECT_NEAR(CLoadModel::GetABDCDLA(100.0), 1.2, 1e-15);                  // f = 1
    EXPECT_NEAR(CLoadModel::GetABDCDLA(200.0), 1.2, 1e-15);                  // f = 0.5
    EXPECT_NEAR(CLoadModel::GetABDCDLA(50.0), 1.0 + 0.2 + 0.2 / 1.5, 1e-12); // f = 2
    EXPECT_NEAR(CLoadModel::GetABDCDLA(25.0), 1.4, 1e-15);                   // f = 4
    EXPECT_NEAR(CLoadModel::GetABDCDLA(10.0), 1.25, 1e-15);                  // f = 10
    EXPECT_NEAR(CLoadModel::GetABDCDLA(0.0), 1.25, 1e-15);                   // f = +inf
    EXPECT_NEAR(CLoadModel::GetABDCDLA(-10.0), 1.2, 1e-15);
    // The branch constants as written: at f = 6 the value is 0.4 - 1.5 x 0.09999999999999999.
    EXPECT_EQ(CLoadModel::GetABDCDLA(100.0 / 6.0), 1.0 + (0.4 - (100.0 / (100.0 / 6.0) - 4.5) * 0.09999999999999999));
}

TEST(LoadModelSpanRules, A36UniformLoadVariation)
{
    StatusRecorder rec;
    CLoadModel lm(1, L"A36");
    lm.AddPointLoad(10.0, 0.0, 0.0);
    lm.AddUDL(1.49);
    lm.AddPartialUDL(-1.49, 0.0, 10.0);
    lm.SetGammaUDL(1.0);
    lm.m_lmBridge = 0;
    lm.AdjustToBridge(Bridge(1, 40.0));
    EXPECT_NEAR(lm.m_vUDL[0].magnitude, 1.396922, 1e-6);
    EXPECT_NEAR(lm.m_vPUDL[0].magnitude, -1.396922, 1e-6);
    ASSERT_EQ(rec.lines.size(), 1u);
    EXPECT_EQ(rec.lines[0], L"A36: A36 UDL: 13.704");
    lm.AdjustToBridge(Bridge(1, 60.0));
    EXPECT_NEAR(lm.m_vUDL[0].magnitude, 1.20138, 1e-5);
    lm.AdjustToBridge(Bridge(1, 80.0));
    EXPECT_EQ(lm.m_vUDL[0].magnitude, 1.043);
    lm.AdjustToBridge(Bridge(2, 30.0));
    EXPECT_EQ(lm.m_vUDL[0].magnitude, 1.49);
    EXPECT_EQ(lm.m_vUDL[0].gamma, 1.0);
}

TEST(LoadModelSpanRules, A36NeedsItsLoads)
{
    CLoadModel lm;
    lm.AddUDL(1.49);
    // A rule that finds none of the loads it adjusts says which loads are missing, and changes nothing.
    auto thrown = [](const std::function<void()>& f) -> std::string {
        try
        {
            f();
        }
        catch (const char* text)
        {
            return text;
        }
        return {};
    };
    EXPECT_EQ(thrown([&] { lm.ApplyA36UDL(*Bridge(1, 40.0)); }), kA36RuleLoadsError);
    EXPECT_EQ(lm.m_vUDL[0].magnitude, 1.49);
    CLoadModel empty;
    EXPECT_EQ(thrown([&] { empty.ApplyBS5400UDL(*Bridge(1, 40.0)); }), kBS5400RuleLoadsError);
    EXPECT_EQ(thrown([&] { empty.AddNAASRAPointLoad(*Bridge(2, 40.0)); }), kPointLoadRuleLoadsError);
}

TEST(LoadModelSpanRules, BS5400UniformLoad)
{
    StatusRecorder rec;
    CLoadModel lm(1, L"HA");
    lm.AddUDL(30.0);
    lm.m_lmBridge = 6;
    lm.AdjustToBridge(Bridge(1, 100.0));
    EXPECT_NEAR(lm.m_vUDL[0].magnitude, 16.9425, 1e-4);
    ASSERT_EQ(rec.lines.size(), 1u);
    EXPECT_EQ(rec.lines[0], L"HA: BS5400 UDL: 16.942");
    lm.AdjustToBridge(Bridge(1, 30.0));
    EXPECT_EQ(lm.m_vUDL[0].magnitude, 30.0);
    lm.AdjustToBridge(Bridge(1, 2000.0));
    EXPECT_EQ(lm.m_vUDL[0].magnitude, 9.0);
}

TEST(LoadModelSpanRules, BS5400CancelsThePartialLoadOverItsCover)
{
    CLoadModel lm(1, L"HA+HB");
    lm.AddUDL(30.0);
    lm.AddPointLoad(450.0, 0.0, 0.0);
    lm.AddPartialUDL(-30.0, -25.0, 25.0);
    lm.m_lmBridge = 6;
    lm.AdjustToBridge(Bridge(1, 100.0));
    EXPECT_NEAR(lm.m_vUDL[0].magnitude, 16.9425, 1e-4);
    EXPECT_NEAR(lm.m_vPUDL[0].magnitude, -16.9425, 1e-4);
    EXPECT_EQ(lm.m_vPUDL[0].gamma, 1.0);
}

TEST(LoadModelSpanRules, BS5400PartialLoadFollowsTheUDL)
{
    // The first partial load is the relief under the vehicle: it always becomes -w.
    CLoadModel lm(1, L"HA+KEL");
    lm.AddUDL(30.0);
    lm.AddPartialUDL(12.0, 0.0, 1.0);
    lm.m_lmBridge = 6;
    lm.AdjustToBridge(Bridge(1, 2000.0));
    EXPECT_EQ(lm.m_vUDL[0].magnitude, 9.0);
    EXPECT_EQ(lm.m_vPUDL[0].magnitude, -9.0);
}

TEST(LoadModelSpanRules, NAASRAPointLoadOnTwoSpans)
{
    StatusRecorder rec;
    CLoadModel lm(1, L"T44");
    lm.AddPointLoad(10.0, 0.0, 0.0);
    lm.AddPointLoad(10.0, 1.2, 0.0);
    lm.AddPointLoad(10.0, 5.0, 0.0);
    lm.Update(); // -5, -3.8, 0
    lm.m_lmBridge = 1;
    lm.AdjustToBridge(Bridge(2, 20.0));
    ASSERT_EQ(lm.m_vPL.size(), 2u);
    EXPECT_DOUBLE_EQ(lm.m_vPL[0].location, -20.0);
    EXPECT_DOUBLE_EQ(lm.m_vPL[1].location, 0.0);
    EXPECT_DOUBLE_EQ(lm.GetLength(), 20.0);
    EXPECT_EQ(lm.m_nPL, 2);
    EXPECT_EQ(lm.m_nLoads, 2);
    ASSERT_EQ(rec.lines.size(), 1u);
    EXPECT_EQ(rec.lines[0], L"T44: NAASRA additional point load added");
}

TEST(LoadModelSpanRules, NAASRAPointLoadOnOneAndThreeSpans)
{
    CLoadModel one;
    one.AddPointLoad(10.0, 0.0, 0.0);
    one.AddPointLoad(10.0, 1.2, 0.0);
    one.AddPointLoad(10.0, 5.0, 0.0);
    one.Update();
    one.AddNAASRAPointLoad(*Bridge(1, 20.0));
    ASSERT_EQ(one.m_vPL.size(), 1u);
    EXPECT_DOUBLE_EQ(one.m_vPL[0].location, -5.0); // Update ran again: the extents start at 0
    EXPECT_DOUBLE_EQ(one.GetLength(), 5.0);
    EXPECT_EQ(one.m_nPL, 1);

    CLoadModel three;
    three.AddPointLoad(10.0, 0.0, 0.0);
    three.AddPointLoad(10.0, 2.0, 0.0);
    three.AddNAASRAPointLoad(*Bridge(3, 16.0)); // not up to date: no Update
    ASSERT_EQ(three.m_vPL.size(), 2u);
    EXPECT_DOUBLE_EQ(three.m_vPL[1].location, 14.0);
    EXPECT_FALSE(three.IsUpToDate());
}

TEST(LoadModelSpanRules, CombinedRulesRunPointLoadsThenDLA)
{
    CLoadModel lm;
    lm.AddPointLoad(10.0, 0.0, 0.0);
    lm.m_lmBridge = 5;
    lm.AdjustToBridge(Bridge(2, 20.0));
    EXPECT_EQ(lm.m_vPL.size(), 2u);
    EXPECT_NEAR(lm.m_gDLA.value, 1.35, 1e-12);
    lm.m_lmBridge = 3;
    lm.AdjustToBridge(Bridge(3, 20.0));
    EXPECT_EQ(lm.m_vPL.size(), 2u);
    EXPECT_NEAR(lm.m_gDLA.value, 1.0 + 16.0 / 60.0, 1e-12);
    lm.m_lmBridge = 7;
    lm.m_gDLA.value = 1.1;
    lm.AdjustToBridge(Bridge(1, 5.0));
    EXPECT_EQ(lm.m_gDLA.value, 1.1);
}

TEST(LoadModelSpanRules, DLAsPerBridgeOfASet)
{
    auto set = std::make_shared<CBridgeSet>(1, L"S", 3, 1, 20.0, 100.0); // 20, 60, 100 m
    CLoadModel lm;
    lm.m_gDLA.value = 1.25;
    std::vector<double> same = lm.GetDLAs(set);
    ASSERT_EQ(same.size(), 3u);
    for (double d : same) EXPECT_EQ(d, 1.25);

    lm.m_lmBridge = 3;
    std::vector<double> naasra = lm.GetDLAs(set);
    EXPECT_NEAR(naasra[0], 1.0 + 16.0 / 60.0, 1e-12);
    EXPECT_NEAR(naasra[1], 1.0 + 16.0 / 100.0, 1e-12);
    lm.m_lmBridge = 2;
    EXPECT_NEAR(lm.GetDLAs(std::make_shared<CBridgeSet>(1, L"Long", 2, 1, 150.0, 200.0))[0], 1.1, 1e-12);
    EXPECT_NEAR(naasra[2], 1.0 + 16.0 / 140.0, 1e-12);
    lm.m_lmBridge = 4;
    std::vector<double> abdc = lm.GetDLAs(set);
    EXPECT_NEAR(abdc[0], 1.35, 1e-12);
    EXPECT_NEAR(abdc[2], 1.2, 1e-12);
    EXPECT_EQ(lm.m_gDLA.value, 1.25); // only reads

    auto single = std::make_shared<CBridgeSet>(1, L"One", 1, 1, 20.0, 20.0);
    EXPECT_TRUE(lm.GetDLAs(single).empty());
    EXPECT_TRUE(lm.GetDLAs(nullptr).empty());
}

// --- Width rule -------------------------------------------------------------------------

TEST(LoadModelWidth, AdjustsAxleLoadsByWidth)
{
    CLoadModel lm;
    EXPECT_EQ(lm.GetWidthAdjustedLoad(100.0, 2.2), 100.0); // no width factor
    for (int factor : {1, 2})
    {
        lm.m_WidthFactor = factor;
        EXPECT_NEAR(lm.GetWidthAdjustedLoad(100.0, 2.2), 110.129, 1e-3);
        EXPECT_EQ(lm.GetWidthAdjustedLoad(100.0, 0.0), 100.0);
        EXPECT_EQ(lm.GetWidthAdjustedLoad(100.0, 9.0), 100.0);
        EXPECT_NEAR(lm.GetWidthAdjustedLoad(100.0, 1.8), 122.4, 1e-9);
        EXPECT_NEAR(lm.GetWidthAdjustedLoad(100.0, -3.0), 122.4, 1e-9);
        EXPECT_NEAR(lm.GetWidthAdjustedLoad(100.0, 2.0), 122.4, 1e-9);
    }
    lm.m_WidthFactor = 1;
    EXPECT_NEAR(lm.GetWidthAdjustedLoad(100.0, 3.0), 83.3056, 1e-3); // 3^-0.868 x 2.1618
    EXPECT_NEAR(lm.GetWidthAdjustedLoad(100.0, 8.0), 100.0 * 2.1618 / std::pow(8.0, 0.868), 1e-9);
    lm.m_WidthFactor = 2;
    EXPECT_NEAR(lm.GetWidthAdjustedLoad(100.0, 3.0), 79.4519, 1e-3); // 3^-0.992 x 2.3627
}

// --- Status lines -------------------------------------------------------------------------

TEST(LoadModelStatus, RepeatedLinesArePostedOnce)
{
    StatusRecorder rec;
    CLoadModel lm(1, L"T44");
    lm.m_lmBridge = 2;
    for (int i = 0; i < 1000; ++i) lm.AdjustToBridge(Bridge(1, 20.0));
    lm.AdjustToBridge(Bridge(1, 40.0));
    lm.AdjustToBridge(Bridge(1, 20.0));
    ASSERT_EQ(rec.lines.size(), 3u);
    EXPECT_EQ(rec.lines[0], L"T44: NAASRA DLA: 0.267");
    EXPECT_EQ(rec.lines[1], L"T44: NAASRA DLA: 0.200");
    EXPECT_EQ(rec.lines[2], L"T44: NAASRA DLA: 0.267");

    // Another model's identical line is its own.
    CLoadModel other(2, L"T44");
    other.NotifyStatus(L"NAASRA DLA: 0.267");
    EXPECT_EQ(rec.lines.size(), 4u);
    // A renamed model posts again.
    lm.m_Description = L"T44 renamed";
    lm.NotifyStatus(L"NAASRA DLA: 0.267");
    ASSERT_EQ(rec.lines.size(), 5u);
    EXPECT_EQ(rec.lines[4], L"T44 renamed: NAASRA DLA: 0.267");
    // A copy starts with no record.
    CLoadModel copy(lm);
    copy.NotifyStatus(L"NAASRA DLA: 0.267");
    EXPECT_EQ(rec.lines.size(), 6u);
}

TEST(LoadModelStatus, CombinedRulesPostEachChangeOnce)
{
    StatusRecorder rec;
    CLoadModel lm(1, L"T44");
    lm.AddPointLoad(10.0, 0.0, 0.0);
    lm.m_lmBridge = 3;
    for (int i = 0; i < 50; ++i) lm.AdjustToBridge(Bridge(2, 20.0));
    ASSERT_EQ(rec.lines.size(), 2u);
    EXPECT_EQ(rec.lines[0], L"T44: NAASRA additional point load added");
    EXPECT_EQ(rec.lines[1], L"T44: NAASRA DLA: 0.267");
    for (int i = 0; i < 50; ++i) lm.AdjustToBridge(Bridge(2, 40.0));
    ASSERT_EQ(rec.lines.size(), 3u);
    EXPECT_EQ(rec.lines[2], L"T44: NAASRA DLA: 0.200");
}

TEST(LoadModelStatus, UndeliveredLinesAreFreed)
{
    // Nobody receives: the sender frees the string (the leak checker would complain).
    StatusRecorder refusing(false);
    CLoadModel lm(1, L"X");
    lm.NotifyStatus(L"one");
    lm.NotifyStatus(L"two");
    EXPECT_TRUE(refusing.lines.empty());
    qor::SetMainWindowHandle(nullptr);
    lm.NotifyStatus(L"three");
}

TEST(LoadModelStatus, MessagesAreRegisteredByName)
{
    EXPECT_EQ(UWM_ADD_STATUS, RegisterWindowMessage(L"UWM_ADD_STATUS"));
    EXPECT_EQ(UWM_PBAR_UPDATE, RegisterWindowMessage(L"UWM_PBAR_UPDATE"));
    EXPECT_NE(UWM_ADD_STATUS, UWM_PBAR_UPDATE);
    EXPECT_GE(UWM_ADD_STATUS, 0xC000u);

    std::vector<std::pair<UINT, WPARAM>> posts;
    qor::SetMainWindowHandle(reinterpret_cast<HWND>(0x99));
    auto old = qor::SetPostSink([&](HWND, UINT msg, WPARAM w, LPARAM) {
        posts.emplace_back(msg, w);
        return true;
    });
    EXPECT_TRUE(qor::PostProgressStep());
    qor::SetPostSink(old);
    qor::SetMainWindowHandle(nullptr);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].first, UWM_PBAR_UPDATE);
    EXPECT_EQ(posts[0].second, 1u);
}

// --- Ensembles ------------------------------------------------------------------------------

TEST(LoadModelEnsemble, SharesModelsAndKeepsTheCount)
{
    CLoadModelEnsemble lme;
    EXPECT_EQ(lme.m_Description, L"LoadModelEnsemble");
    EXPECT_EQ(lme.m_ElementType, 14);
    EXPECT_TRUE(lme.m_bIsEditable);
    auto a = std::make_shared<CLoadModel>(1, L"A");
    auto b = std::make_shared<CLoadModel>(2, L"B");
    lme.AddLoadModel(a);
    lme.AddLoadModel(b);
    EXPECT_EQ(lme.m_nLoadModels, 2);
    EXPECT_EQ(lme.GetLoadModel(1), b);
    EXPECT_EQ(OutOfRangeText([&] { lme.GetLoadModel(2); }), "invalid vector<T> subscript");
    EXPECT_EQ(OutOfRangeText([&] { lme.GetLoadModel(-1); }), "invalid vector<T> subscript");

    CLoadModelEnsemble other(7, L"Other");
    other.AddLoadModel(a);
    other.AddEnsemble(lme);
    EXPECT_EQ(other.m_nLoadModels, 3);
    EXPECT_EQ(other.GetLoadModel(2), b);
    other.AddEnsemble(other); // doubling itself
    EXPECT_EQ(other.m_nLoadModels, 6);
    EXPECT_EQ(other.GetLoadModel(5), b);

    other.RemoveLoadModel(6);
    other.RemoveLoadModel(-1);
    EXPECT_EQ(other.m_nLoadModels, 6);
    other.RemoveLoadModel(0);
    EXPECT_EQ(other.m_nLoadModels, 5);
    EXPECT_EQ(other.GetLoadModel(0), a);
    other.Clear();
    EXPECT_EQ(other.m_nLoadModels, 0);
    EXPECT_TRUE(other.m_vLoadModel.empty());
    EXPECT_EQ(a.use_count(), 2); // lme and this test
}
