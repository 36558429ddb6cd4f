// The main road of one case, end to end, as the application walks it: elements built as the
// commands build them, reference collections calculated, critical ratios of a proposed vehicle,
// the whole case written to a file and read back the way the document does it, and a reference
// run on a worker thread that reports progress and status lines to the main window.
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/case/CaseFile.h"
#include "engine/model/LMEFactory.h"
#include "engine/runs/EngineMessages.h"
#include "engine/runs/RunControl.h"
#include "refset_test_helpers.h"
#include "tests/engine/model_compare.h"

#include <boost/iostreams/device/file_descriptor.hpp>
#include <boost/iostreams/stream.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <thread>

using reftest::PointsPerSpan;

using enginetest::ExpectSameElement;
using enginetest::ExpectSameFactor;
using enginetest::ExpectSameLoadModel;

namespace {

// ---------------------------------------------------------------------------------------------
// The case, as the document holds it

// The case file's content, with names for the elements the checks refer to.
struct Case : CCaseData
{
    // Named elements of the case (all held in the lists).
    std::shared_ptr<CBridgeSet> simple, twoSpan, threeSpan;
    std::shared_ptr<CLoadModel> tandem, axle, lane, mixed, tandemX2;
    std::shared_ptr<CLoadModelEnsemble> handChecked, t44, hl93, l44, libraryMix;
    std::shared_ptr<CReferenceCollection> plain, overstress;
};

std::shared_ptr<CLoadModel> Model(int id, const wchar_t* name)
{
    return std::make_shared<CLoadModel>(id, CString(name));
}

// Builds the case as the Add and Insert commands would. The reference collections step the
// vehicles by 0.5 m; the spans are whole metres, so every position and every result point
// that the hand calculations need is met exactly.
Case BuildCase()
{
    Case c;
    c.m_vBridge = {std::make_shared<CBridge>(1, CString(L"Pont à une travée"), CBridge::CONFIG_ONESPAN, 20.0),
                   std::make_shared<CBridge>(2, CString(L"Zweifeld-Brücke"), CBridge::CONFIG_TWOSPAN, 15.0),
                   std::make_shared<CBridge>(3, CString(L"Three spans"), CBridge::CONFIG_THREESPAN, 20.0)};

    c.simple =
        std::make_shared<CBridgeSet>(1, CString(L"Simple spans 10–20 m"), 2, CBridge::CONFIG_ONESPAN, 10.0, 20.0);
    // By step: 10, 15, 20 (the end pulled back onto the 5 m grid).
    c.twoSpan =
        std::make_shared<CBridgeSet>(2, CString(L"Two spans by step"), CBridge::CONFIG_TWOSPAN, 10.0, 21.0, 5.0);
    c.threeSpan = std::make_shared<CBridgeSet>(3, CString(L"Three spans"), 2, CBridge::CONFIG_THREESPAN, 12.0, 16.0);
    c.m_vBridgeSet = {c.simple, c.twoSpan, c.threeSpan};

    c.tandem = Model(1, L"Tandem 2 × 100 kN");
    c.tandem->AddPointLoad(100.0, 0.0, 0.0);
    c.tandem->AddPointLoad(100.0, -4.0, 0.0);
    c.axle = Model(2, L"Axle 100 kN");
    c.axle->AddPointLoad(100.0, 0.0, 0.0);
    c.lane = Model(3, L"Lane 10 kN/m");
    c.lane->AddUDL(10.0);
    // A user's model of every kind of load with all four factors.
    c.mixed = Model(4, L"Fahrzeug µ – Überführung");
    c.mixed->AddPointLoad(50.0, 0.0, 0.0);
    c.mixed->AddPointLoad(80.0, -3.0, 0.0);
    c.mixed->AddUDL(5.0);
    c.mixed->AddPartialUDL(10.0, -3.0, 3.0);
    c.mixed->m_gDLA.value = 1.3;
    c.mixed->m_gLiveLoad.value = 1.5;
    c.mixed->m_gUnits.value = 1.0;
    c.mixed->m_gArbitrary.value = 0.9;
    c.mixed->UpdateGamma();
    c.tandemX2 = std::make_shared<CLoadModel>(*c.tandem);
    c.tandemX2->m_ID = 5;
    c.tandemX2->m_Description = L"Tandem, live load factor 2";
    c.tandemX2->m_gLiveLoad.value = 2.0;
    c.tandemX2->UpdateGamma();
    c.m_vLoadModel = {c.tandem, c.axle, c.lane, c.mixed, c.tandemX2};

    CLMEFactory factory;
    c.t44 = factory.GetNAASRA1976_T44(false, 2.0); // S = 3.0 and 8.0
    c.hl93 = factory.GetAASHTO_HL93();
    c.l44 = factory.GetABDC1992_L44(); // lane load with the ABDC point-load and DLA rule
    c.handChecked = std::make_shared<CLoadModelEnsemble>(1, CString(L"Hand-checked tandem"));
    c.handChecked->AddLoadModel(c.tandem);
    c.libraryMix = std::make_shared<CLoadModelEnsemble>(2, CString(L"Library mix – T44, HL93, L44 & µ"));
    c.libraryMix->AddEnsemble(c.t44);
    c.libraryMix->AddEnsemble(c.hl93);
    c.libraryMix->AddEnsemble(c.l44);
    c.libraryMix->AddLoadModel(c.mixed);
    c.m_vLoadModelEnsemble = {c.handChecked, c.libraryMix, c.t44, c.hl93, c.l44};

    c.plain = std::make_shared<CReferenceCollection>(1, CString(L"Réseau – live load"), true, 0, 0.5);
    c.overstress = std::make_shared<CReferenceCollection>(2, CString(L"Réseau – overstress"), true, 0, 0.5);
    for (const auto& rc : {c.plain, c.overstress})
    {
        rc->m_vLME = {c.handChecked, c.libraryMix};
        rc->m_vBS = {c.simple, c.twoSpan};
    }
    c.overstress->m_bUseOverstress = true;
    c.m_vRefCollection = {c.plain, c.overstress};

    c.m_sCaseRef = L"QOR-Straße 7 / №42";
    c.m_sCaseNotes = L"Notes: ünïcödé ✓\nsecond line";
    return c;
}

// Reference set k of a collection of the case: ensemble k / 2, bridge set k % 2.
constexpr unsigned kTandemSimple = 0, kTandemTwoSpan = 1, kMixSimple = 2, kMixTwoSpan = 3;

std::vector<double> BMMax(const std::shared_ptr<CCriticalValueEnsemble>& values)
{
    std::vector<double> max, min;
    values->GetBM(max, min);
    return max;
}

// Every ratio of a result whose reference is not below 1e-6 in magnitude is k; the others are 0.
void ExpectRatiosAll(const std::shared_ptr<CCriticalRatioEnsemble>& ratios, double k, const char* what)
{
    ASSERT_TRUE(ratios) << what;
    int nonZero = 0;
    auto check = [&](const RatioLoadEffect& e, const char* effect, std::size_t bridge) {
        if (std::fabs(e.reference.val) < 1e-6)
        {
            EXPECT_EQ(e.ratio, 0.0) << what << " " << effect << " bridge " << bridge;
        }
        else
        {
            EXPECT_EQ(e.ratio, k) << what << " " << effect << " bridge " << bridge << " ref " << e.reference.val
                                  << " prop " << e.proposed.val;
            ++nonZero;
        }
    };
    for (std::size_t b = 0; b < ratios->GetNoResults(); ++b)
    {
        const CCriticalRatioResults r = ratios->GetResults(static_cast<unsigned>(b));
        check(r.m_BMPair.first, "BM max", b);
        check(r.m_BMPair.second, "BM min", b);
        check(r.m_SFPair.first, "SF max", b);
        check(r.m_SFPair.second, "SF min", b);
        for (std::size_t i = 0; i < r.m_vReactionPairs.size(); ++i)
        {
            check(r.m_vReactionPairs[i].first, "R max", b);
            check(r.m_vReactionPairs[i].second, "R min", b);
        }
    }
    EXPECT_GT(nonZero, 0) << what;
}

// All ratio numbers of a collection's last ratio run, in order.
std::vector<double> AllRatios(const CReferenceCollection& rc)
{
    std::vector<double> out;
    for (const auto& ens : rc.GetCritRatios())
    {
        for (std::size_t b = 0; b < ens->GetNoResults(); ++b)
        {
            const CCriticalRatioResults r = ens->GetResults(static_cast<unsigned>(b));
            for (const auto* p : {&r.m_BMPair, &r.m_SFPair})
            {
                out.push_back(p->first.ratio);
                out.push_back(p->second.ratio);
            }
            for (const auto& p : r.m_vReactionPairs)
            {
                out.push_back(p.first.ratio);
                out.push_back(p.second.ratio);
            }
        }
    }
    return out;
}

// All critical values of one critical-value ensemble, in order.
std::vector<double> AllValues(const std::shared_ptr<CCriticalValueEnsemble>& values)
{
    std::vector<double> out;
    if (!values) return out;
    for (std::size_t b = 0; b < values->GetNoResults(); ++b)
    {
        const CCriticalValueResults r = values->GetResults(static_cast<unsigned>(b));
        for (const auto* p : {&r.m_BMPair, &r.m_SFPair})
        {
            out.push_back(p->first.val);
            out.push_back(p->second.val);
            out.push_back(p->first.xBeam);
            out.push_back(p->first.xLoadModel);
        }
        for (const auto& p : r.m_vReactionPairs)
        {
            out.push_back(p.first.val);
            out.push_back(p.second.val);
        }
    }
    return out;
}

class Road : public ::testing::Test
{
protected:
    PointsPerSpan points{20};
    Case c = BuildCase();
};

// ---------------------------------------------------------------------------------------------
// 1. The elements

TEST_F(Road, ElementsAreBuiltAsTheCommandsBuildThem)
{
    EXPECT_EQ(c.m_vBridge[0]->m_vSpans, (std::vector<double>{20.0}));
    EXPECT_EQ(c.m_vBridge[1]->m_vSpans, (std::vector<double>{15.0, 15.0}));
    EXPECT_EQ(c.m_vBridge[2]->m_vSpans, (std::vector<double>{15.0, 20.0, 15.0}));
    for (const auto& b : c.m_vBridge) EXPECT_EQ(b->m_ElementType, CElement::ELEMENT_BRIDGE);

    EXPECT_EQ(c.simple->GetSpanLengths(), (std::vector<double>{10.0, 20.0}));
    EXPECT_TRUE(c.twoSpan->IsByStep());
    EXPECT_EQ(c.twoSpan->m_nBridge, 3);
    EXPECT_DOUBLE_EQ(c.twoSpan->m_EndL, 20.0);
    EXPECT_EQ(c.twoSpan->GetSpanLengths(), (std::vector<double>{10.0, 15.0, 20.0}));
    EXPECT_EQ(c.twoSpan->GetBridgeLengths(), (std::vector<double>{20.0, 30.0, 40.0}));
    EXPECT_EQ(c.threeSpan->GetBridgeLengths(), (std::vector<double>{30.0, 40.0}));

    // The user's model: the overall factor is the product of the four factors.
    EXPECT_DOUBLE_EQ(c.mixed->m_Gamma, 1.5 * 1.3 * 1.0 * 0.9);
    EXPECT_EQ(c.mixed->m_nLoads, 4);
    EXPECT_DOUBLE_EQ(c.tandemX2->m_Gamma, 2.0);
    EXPECT_DOUBLE_EQ(c.tandem->m_Gamma, 1.0);

    // Library entries: not editable, library ids, their own factors and rules.
    ASSERT_EQ(c.t44->GetLoadModelCount(), 2);
    EXPECT_EQ(c.t44->GetLoadModel(0)->m_Description, CString(L"T44 truck: S = 3.000"));
    EXPECT_EQ(c.t44->GetLoadModel(1)->m_Description, CString(L"T44 truck: S = 8.000"));
    EXPECT_EQ(c.t44->GetLoadModel(0)->m_ID, 411);
    EXPECT_FALSE(c.t44->GetLoadModel(0)->m_bIsEditable);
    ASSERT_EQ(c.hl93->GetLoadModelCount(), 1);
    EXPECT_EQ(c.hl93->GetLoadModel(0)->m_Description, CString(L"HL93"));
    EXPECT_DOUBLE_EQ(c.hl93->GetLoadModel(0)->m_GammaPL, 1.33);
    ASSERT_EQ(c.l44->GetLoadModelCount(), 1);
    EXPECT_TRUE(c.l44->GetLoadModel(0)->m_bAdjustToBridge);
    EXPECT_EQ(c.l44->GetLoadModel(0)->m_lmBridge, CLoadModel::LM_ABDC_PL_DLA);

    // The mixed ensemble shares the library's models, it does not copy them.
    ASSERT_EQ(c.libraryMix->GetLoadModelCount(), 5);
    EXPECT_EQ(c.libraryMix->GetLoadModel(0), c.t44->GetLoadModel(0));
    EXPECT_EQ(c.libraryMix->GetLoadModel(2), c.hl93->GetLoadModel(0));
    EXPECT_EQ(c.libraryMix->GetLoadModel(3), c.l44->GetLoadModel(0));
    EXPECT_EQ(c.libraryMix->GetLoadModel(4), c.mixed);
}

// ---------------------------------------------------------------------------------------------
// 2. Reference collections and critical ratios against hand calculations

TEST_F(Road, ReferenceValuesAndRatiosMatchHandCalculations)
{
    ASSERT_TRUE(c.plain->Calculate());
    ASSERT_TRUE(c.overstress->Calculate());
    ASSERT_EQ(c.plain->m_nRefSets, 4);
    ASSERT_EQ(c.overstress->m_nRefSets, 4);

    // Two 100 kN axles 4 m apart on a simple span L: the largest moment stands under an axle
    // when the axle and the resultant are symmetrical about mid-span,
    // M = 2P/L (L/2 - a/4)^2: 320 kNm on 10 m (x = 4), 810 kNm on 20 m (x = 9).
    auto ref = c.plain->GetRefSet(kTandemSimple)->GetRefCritValues();
    EXPECT_NEAR(BMMax(ref)[0], 320.0, 1e-6);
    EXPECT_NEAR(BMMax(ref)[1], 810.0, 1e-6);
    EXPECT_NEAR(ref->GetResults(0).GetBM().first.xBeam, 4.0, 1e-9);
    EXPECT_EQ(ref->GetResults(1).GetBM().first.pLM, c.tandem.get());
    // Left reaction: both axles on, the rear one at the first position inside the span
    // (0.5 m; an axle within 1 mm of a support is left out): P(9.5 + 5.5)/10 and P(19.5 + 15.5)/20.
    std::vector<double> rMax, rMin;
    ref->GetReaction(0, rMax, rMin);
    EXPECT_NEAR(rMax[0], 150.0, 1e-6);
    EXPECT_NEAR(rMax[1], 175.0, 1e-6);
    ref->GetReaction(1, rMax, rMin);
    EXPECT_NEAR(rMax[1], 175.0, 1e-6);

    // With overstress (F = 1.4): reference = 1.4 x live + 0.4 x overstress UDL.
    // 10 m: w = 16, at x = 4: 1.4 x 320 + 0.4 x 16 x 4 x 6 / 2 = 524.8.
    // 20 m: w = 17 + 2/3, at x = 9: 1.4 x 810 + 0.4 x w x 9 x 11 / 2.
    auto refOS = c.overstress->GetRefSet(kTandemSimple)->GetRefCritValues();
    EXPECT_NEAR(BMMax(refOS)[0], 524.8, 1e-6);
    EXPECT_NEAR(BMMax(refOS)[1], 1.4 * 810.0 + 0.4 * (17.0 + 2.0 / 3.0) * 49.5, 1e-6);
    // The live-load part of the overstress collection is the plain reference itself, and the
    // overstress UDL alone gives wL^2/8 = 200 kNm on 10 m.
    const auto osSet = c.overstress->GetRefSet(kTandemSimple);
    EXPECT_EQ(AllValues(std::make_shared<CCriticalValueEnsemble>(osSet->m_vLiveLoadCritEnv, c.simple)), AllValues(ref));
    const auto osValues = std::make_shared<CCriticalValueEnsemble>(osSet->m_vOverstressCritEnv, c.simple);
    ASSERT_EQ(osValues->GetNoResults(), 2u);
    EXPECT_NEAR(BMMax(osValues)[0], 200.0, 1e-6);

    // The library ensemble governs with one of its own models on every bridge.
    for (unsigned k : {kMixSimple, kMixTwoSpan})
    {
        auto values = c.plain->GetRefSet(k)->GetRefCritValues();
        for (std::size_t b = 0; b < values->GetNoResults(); ++b)
        {
            const auto lm = values->GetResults(static_cast<unsigned>(b)).GetBM().first.pLM;
            ASSERT_TRUE(lm);
            const auto& v = c.libraryMix->m_vLoadModel;
            EXPECT_NE(std::find_if(v.begin(), v.end(), [&](const auto& m) { return m.get() == lm; }), v.end())
                << k << "/" << b;
            EXPECT_GT(values->GetResults(static_cast<unsigned>(b)).GetBM().first.val, 0.0);
        }
    }

    // Proposed = the reference ensemble itself: 1.0 wherever the reference is not zero.
    c.plain->SetProposedLME(c.handChecked);
    ASSERT_TRUE(c.plain->CalculateRatios(1.0));
    ASSERT_EQ(c.plain->GetCritRatios().size(), 4u);
    ExpectRatiosAll(c.plain->GetCritRatios()[kTandemSimple], 1.0, "same, simple");
    ExpectRatiosAll(c.plain->GetCritRatios()[kTandemTwoSpan], 1.0, "same, two-span");

    // The same vehicle with live-load factor 2: exactly 2.0.
    c.plain->SetProposedLoadModel(c.tandemX2);
    ASSERT_TRUE(c.plain->CalculateRatios(1.0));
    EXPECT_EQ(c.plain->GetProposedName(), c.tandemX2->m_Description);
    ExpectRatiosAll(c.plain->GetCritRatios()[kTandemSimple], 2.0, "x2, simple");
    ExpectRatiosAll(c.plain->GetCritRatios()[kTandemTwoSpan], 2.0, "x2, two-span");
    // The global multiplier divides the reference: factor 2 against multiplier 2 rates 1.0.
    ASSERT_TRUE(c.plain->CalculateRatios(2.0));
    ExpectRatiosAll(c.plain->GetCritRatios()[kTandemSimple], 1.0, "x2 over multiplier 2");

    // A single axle P = 100 kN: PL/4 at mid-span of a simple span; on two equal spans the
    // interior support takes the whole axle standing over it.
    c.plain->SetProposedLoadModel(c.axle);
    ASSERT_TRUE(c.plain->CalculateRatios(1.0));
    auto propSimple = c.plain->GetRefSet(kTandemSimple)->GetPropCritValues();
    EXPECT_NEAR(BMMax(propSimple)[0], 250.0, 1e-6);
    EXPECT_NEAR(BMMax(propSimple)[1], 500.0, 1e-6);
    EXPECT_NEAR(propSimple->GetResults(1).GetBM().first.xBeam, 10.0, 1e-9);
    std::vector<double> max, min;
    c.plain->GetCritRatios()[kTandemSimple]->GetBM(max, min);
    EXPECT_NEAR(max[0], 250.0 / 320.0, 1e-9);
    EXPECT_NEAR(max[1], 500.0 / 810.0, 1e-9);
    c.plain->GetRefSet(kTandemTwoSpan)->GetPropCritValues()->GetReaction(1, rMax, rMin);
    ASSERT_EQ(rMax.size(), 3u);
    for (double r : rMax) EXPECT_NEAR(r, 100.0, 1e-6);

    // A uniform lane load only, w = 10 kN/m: wL^2/8 on a simple span; on two equal spans the
    // support moment -wL^2/8, the interior reaction 1.25wL and the end reactions 0.375wL.
    c.plain->SetProposedLoadModel(c.lane);
    ASSERT_TRUE(c.plain->CalculateRatios(1.0));
    propSimple = c.plain->GetRefSet(kTandemSimple)->GetPropCritValues();
    EXPECT_NEAR(BMMax(propSimple)[0], 125.0, 1e-6);
    EXPECT_NEAR(BMMax(propSimple)[1], 500.0, 1e-6);
    c.plain->GetCritRatios()[kTandemSimple]->GetBM(max, min);
    EXPECT_NEAR(max[1], 500.0 / 810.0, 1e-9);
    auto propTwo = c.plain->GetRefSet(kTandemTwoSpan)->GetPropCritValues();
    propTwo->GetBM(max, min);
    enginetest::ExpectValuesNear(min, {-125.0, -281.25, -500.0}, 1e-6);
    propTwo->GetReaction(1, rMax, rMin);
    enginetest::ExpectValuesNear(rMax, {125.0, 187.5, 250.0}, 1e-6);
    propTwo->GetReaction(2, rMax, rMin);
    enginetest::ExpectValuesNear(rMax, {37.5, 56.25, 75.0}, 1e-6);

    // A new reference calculation drops the ratios of the former one.
    ASSERT_TRUE(c.plain->Calculate());
    EXPECT_TRUE(c.plain->GetCritRatios().empty());
    EXPECT_FALSE(c.plain->m_bRatiosCalculated);
}

// ---------------------------------------------------------------------------------------------
// 3. The case file

namespace fs = std::filesystem;
namespace io = boost::iostreams;

enum class Form
{
    Xml,
    Binary
};

template <class Stream>
void WriteCase(Stream& s, Form form, Case& c)
{
    SaveCase(s, c, form == Form::Binary);
}

template <class Stream>
void ReadCase(Stream& s, Form, Case& c)
{
    LoadCase(s, c);
}

class TempFile
{
public:
    explicit TempFile(const char* stem)
        : m_path(fs::temp_directory_path() /
                 (std::string("qor_road_") + stem + "_" + std::to_string(::getpid()) + ".qor"))
    {}
    ~TempFile()
    {
        std::error_code ec;
        fs::remove(m_path, ec);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// Saves through a std::fstream and loads through another.
Case RoundTripFstream(Case& saved, Form form, std::string* pText)
{
    TempFile file("fstream");
    {
        std::fstream out(file.path(), std::ios::out | std::ios::binary | std::ios::trunc);
        WriteCase(out, form, saved);
    }
    if (pText)
    {
        std::ifstream in(file.path(), std::ios::binary);
        *pText = std::string(std::istreambuf_iterator<char>(in), {});
    }
    Case loaded;
    std::fstream in(file.path(), std::ios::in | std::ios::binary);
    ReadCase(in, form, loaded);
    return loaded;
}

// Saves and loads the way the document does: a stream over the descriptor of a file that
// someone else opened and will close.
Case RoundTripDescriptor(Case& saved, Form form)
{
    TempFile file("fd");
    const int wfd = ::open(file.path().c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    EXPECT_GE(wfd, 0);
    {
        io::stream<io::file_descriptor> s(io::file_descriptor(wfd, io::never_close_handle));
        WriteCase(s, form, saved);
        s.flush();
    }
    // The stream left the handle open; its owner closes it.
    EXPECT_NE(::fcntl(wfd, F_GETFD), -1);
    EXPECT_EQ(::close(wfd), 0);

    const int rfd = ::open(file.path().c_str(), O_RDONLY);
    EXPECT_GE(rfd, 0);
    Case loaded;
    {
        io::stream<io::file_descriptor> s(io::file_descriptor(rfd, io::never_close_handle));
        ReadCase(s, form, loaded);
    }
    EXPECT_NE(::fcntl(rfd, F_GETFD), -1);
    EXPECT_EQ(::close(rfd), 0);
    return loaded;
}

std::size_t IndexOf(const std::vector<std::shared_ptr<CLoadModel>>& v, const std::shared_ptr<CLoadModel>& p)
{
    return static_cast<std::size_t>(std::find(v.begin(), v.end(), p) - v.begin());
}

void ExpectSameCase(const Case& s, const Case& l)
{
    EXPECT_EQ(s.m_sCaseRef, l.m_sCaseRef);
    EXPECT_EQ(s.m_sCaseNotes, l.m_sCaseNotes);

    ASSERT_EQ(s.m_vBridge.size(), l.m_vBridge.size());
    for (std::size_t i = 0; i < s.m_vBridge.size(); ++i)
    {
        ExpectSameElement(*s.m_vBridge[i], *l.m_vBridge[i]);
        EXPECT_EQ(s.m_vBridge[i]->m_Config, l.m_vBridge[i]->m_Config);
        EXPECT_EQ(s.m_vBridge[i]->m_SpanLength, l.m_vBridge[i]->m_SpanLength);
        EXPECT_EQ(s.m_vBridge[i]->m_vSpans, l.m_vBridge[i]->m_vSpans);
        ASSERT_TRUE(l.m_vBridge[i]->GetBeam()); // rebuilt
    }

    ASSERT_EQ(s.m_vBridgeSet.size(), l.m_vBridgeSet.size());
    for (std::size_t i = 0; i < s.m_vBridgeSet.size(); ++i)
    {
        const CBridgeSet& a = *s.m_vBridgeSet[i];
        const CBridgeSet& b = *l.m_vBridgeSet[i];
        ExpectSameElement(a, b);
        EXPECT_EQ(a.m_nBridge, b.m_nBridge);
        EXPECT_EQ(a.m_Config, b.m_Config);
        EXPECT_EQ(a.m_StartL, b.m_StartL);
        EXPECT_EQ(a.m_EndL, b.m_EndL);
        EXPECT_EQ(a.GetSpanLengths(), b.GetSpanLengths());
        EXPECT_EQ(a.GetBridgeLengths(), b.GetBridgeLengths());
    }

    ASSERT_EQ(s.m_vLoadModel.size(), l.m_vLoadModel.size());
    for (std::size_t i = 0; i < s.m_vLoadModel.size(); ++i) ExpectSameLoadModel(*s.m_vLoadModel[i], *l.m_vLoadModel[i]);

    ASSERT_EQ(s.m_vLoadModelEnsemble.size(), l.m_vLoadModelEnsemble.size());
    for (std::size_t i = 0; i < s.m_vLoadModelEnsemble.size(); ++i)
    {
        const auto& a = *s.m_vLoadModelEnsemble[i];
        const auto& b = *l.m_vLoadModelEnsemble[i];
        ExpectSameElement(a, b);
        ASSERT_EQ(a.GetLoadModelCount(), b.GetLoadModelCount());
        EXPECT_EQ(b.m_nLoadModels, b.GetLoadModelCount());
        for (int k = 0; k < a.GetLoadModelCount(); ++k)
        {
            ExpectSameLoadModel(*a.GetLoadModel(k), *b.GetLoadModel(k));
            // A model that the case lists is the very object the ensemble holds.
            const std::size_t at = IndexOf(s.m_vLoadModel, a.GetLoadModel(k));
            if (at < s.m_vLoadModel.size())
            {
                EXPECT_EQ(b.GetLoadModel(k), l.m_vLoadModel[at]);
            }
        }
    }

    ASSERT_EQ(s.m_vRefCollection.size(), l.m_vRefCollection.size());
    for (std::size_t i = 0; i < s.m_vRefCollection.size(); ++i)
    {
        const CReferenceCollection& a = *s.m_vRefCollection[i];
        const CReferenceCollection& b = *l.m_vRefCollection[i];
        SCOPED_TRACE(a.m_Description.ToUtf8());
        ExpectSameElement(a, b);
        EXPECT_EQ(a.m_bByStep, b.m_bByStep);
        EXPECT_EQ(a.m_StepSize, b.m_StepSize);
        EXPECT_EQ(a.m_nStepPoints, b.m_nStepPoints);
        EXPECT_EQ(a.m_bIsCalculated, b.m_bIsCalculated);
        EXPECT_EQ(a.m_bUseOverstress, b.m_bUseOverstress);
        EXPECT_EQ(a.m_OverstressFactor, b.m_OverstressFactor);
        EXPECT_EQ(a.m_nRefSets, b.m_nRefSets);
        // The collection lists the case's own (loaded) ensembles and bridge sets.
        ASSERT_EQ(b.m_vLME.size(), 2u);
        EXPECT_EQ(b.m_vLME[0], l.m_vLoadModelEnsemble[0]);
        EXPECT_EQ(b.m_vLME[1], l.m_vLoadModelEnsemble[1]);
        ASSERT_EQ(b.m_vBS.size(), 2u);
        EXPECT_EQ(b.m_vBS[0], l.m_vBridgeSet[0]);
        EXPECT_EQ(b.m_vBS[1], l.m_vBridgeSet[1]);
        ASSERT_EQ(a.m_vRefSet.size(), b.m_vRefSet.size());
        for (std::size_t k = 0; k < a.m_vRefSet.size(); ++k)
        {
            const CReferenceSet& ra = *a.m_vRefSet[k];
            const CReferenceSet& rb = *b.m_vRefSet[k];
            EXPECT_EQ(rb.GetBridgeSet(), b.m_vBS[k % 2]) << k;
            EXPECT_EQ(rb.GetRefLME(), b.m_vLME[k / 2]) << k;
            EXPECT_EQ(ra.m_bIsCalculated, rb.m_bIsCalculated);
            EXPECT_EQ(ra.m_bIsRatioCalculated, rb.m_bIsRatioCalculated);
            EXPECT_EQ(ra.m_bUseLM, rb.m_bUseLM);
            EXPECT_EQ(AllValues(ra.GetRefCritValues()), AllValues(rb.GetRefCritValues())) << k;
            EXPECT_EQ(AllValues(ra.GetLiveLoadCritValues()), AllValues(rb.GetLiveLoadCritValues())) << k;
            EXPECT_EQ(AllValues(ra.GetOverstressCritValues()), AllValues(rb.GetOverstressCritValues())) << k;
            EXPECT_EQ(AllValues(ra.GetPropCritValues()), AllValues(rb.GetPropCritValues())) << k;
            EXPECT_FALSE(AllValues(rb.GetRefCritValues()).empty());
            // The load model of each live-load critical value is the case's own model (with
            // overstress the reference carries the internal overstress model).
            const auto values = rb.GetLiveLoadCritValues();
            ASSERT_EQ(values->GetNoResults(), rb.GetBridgeSet()->m_vBridges.size());
            for (std::size_t r = 0; r < values->GetNoResults(); ++r)
            {
                const auto lm = values->GetResults(static_cast<unsigned>(r)).GetBM().first.pLM;
                ASSERT_TRUE(lm);
                const auto& models = rb.GetRefLME()->m_vLoadModel;
                EXPECT_NE(std::find_if(models.begin(), models.end(), [&](const auto& m) { return m.get() == lm; }),
                          models.end())
                    << k << "/" << r;
            }
        }
    }
}

TEST_F(Road, WholeCaseSurvivesTheCaseFile)
{
    ASSERT_TRUE(c.plain->Calculate());
    ASSERT_TRUE(c.overstress->Calculate());
    c.overstress->SetProposedLME(c.libraryMix);
    ASSERT_TRUE(c.overstress->CalculateRatios(1.0));
    c.plain->SetProposedLoadModel(c.axle);
    ASSERT_TRUE(c.plain->CalculateRatios(1.0));
    const std::vector<double> ratios = AllRatios(*c.plain);
    ASSERT_FALSE(ratios.empty());

    for (Form form : {Form::Xml, Form::Binary})
    {
        SCOPED_TRACE(form == Form::Xml ? "XML" : "binary");
        std::string text;
        Case viaFstream = RoundTripFstream(c, form, &text);
        Case viaDescriptor = RoundTripDescriptor(c, form);
        if (form == Form::Xml)
        {
            // One root item holding the lists, then the case strings, in the document's order.
            const char* items[] = {"<QORConfig",     "<m_vBridge ",           "<m_vBridgeSet",
                                   "<m_vLoadModel ", "<m_vLoadModelEnsemble", "<m_vRefCollection",
                                   "<m_sCaseRef",    "<m_sCaseNotes",         "</QORConfig>"};
            std::size_t at = 0;
            for (const char* item : items)
            {
                const std::size_t found = text.find(item, at);
                ASSERT_NE(found, std::string::npos) << item;
                at = found;
            }
            EXPECT_NE(text.find(CString(L"Fahrzeug µ – Überführung").ToUtf8()), std::string::npos);
        }
        for (Case* loaded : {&viaFstream, &viaDescriptor})
        {
            ExpectSameCase(c, *loaded);
            Case& l = *loaded;

            // Shared stays shared: the user's model is one object in the case list, the
            // ensemble and the reference sets; the library model in its own ensemble and the mix.
            const auto mixed = l.m_vLoadModel[3];
            EXPECT_EQ(l.m_vLoadModelEnsemble[1]->GetLoadModel(4), mixed);
            EXPECT_EQ(l.m_vRefCollection[0]->GetRefSet(kMixSimple)->GetRefLME()->GetLoadModel(4), mixed);
            EXPECT_EQ(l.m_vRefCollection[1]->GetRefSet(kMixTwoSpan)->GetRefLME()->GetLoadModel(4), mixed);
            EXPECT_EQ(l.m_vLoadModelEnsemble[1]->GetLoadModel(0), l.m_vLoadModelEnsemble[2]->GetLoadModel(0));
            EXPECT_EQ(l.m_vLoadModelEnsemble[1]->GetLoadModel(2), l.m_vLoadModelEnsemble[3]->GetLoadModel(0));
            EXPECT_EQ(l.m_vRefCollection[0]->GetRefSet(kTandemSimple)->GetRefLME()->GetLoadModel(0), l.m_vLoadModel[0]);
            EXPECT_EQ(l.m_vRefCollection[0]->GetRefSet(kTandemSimple)->GetPropLME()->GetLoadModel(0),
                      l.m_vLoadModel[1]);
            EXPECT_EQ(l.m_vRefCollection[0]->m_vRefSet[kTandemSimple]->GetBridgeSet(),
                      l.m_vRefCollection[1]->m_vRefSet[kMixSimple]->GetBridgeSet());

            // The edit command's comparison finds nothing changed in a loaded collection.
            for (const auto& rc : l.m_vRefCollection)
                EXPECT_FALSE(rc->DiffersFrom(std::make_shared<CReferenceCollection>(*rc)));

            // Ratios are held in memory only; computed again from the loaded case they agree.
            CReferenceCollection& rc = *l.m_vRefCollection[0];
            EXPECT_TRUE(rc.GetCritRatios().empty());
            rc.SetProposedLoadModel(l.m_vLoadModel[1]);
            ASSERT_TRUE(rc.CalculateRatios(1.0));
            EXPECT_EQ(AllRatios(rc), ratios);
            EXPECT_EQ(AllValues(rc.GetRefSet(kTandemSimple)->GetPropCritValues()),
                      AllValues(c.plain->GetRefSet(kTandemSimple)->GetPropCritValues()));
            // And a fresh reference run of the loaded case gives the saved reference values.
            ASSERT_TRUE(l.m_vRefCollection[1]->Calculate());
            for (unsigned k = 0; k < 4; ++k)
            {
                EXPECT_EQ(AllValues(l.m_vRefCollection[1]->GetRefSet(k)->GetRefCritValues()),
                          AllValues(c.overstress->GetRefSet(k)->GetRefCritValues()))
                    << k;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// 4. A reference run on a worker thread

class RecordingMainWindow
{
public:
    RecordingMainWindow()
    {
        m_previous = qor::SetPostSink(
            [this](HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) { return Receive(hWnd, msg, wParam, lParam); });
        qor::SetMainWindowHandle(reinterpret_cast<HWND>(0x5150));
    }
    ~RecordingMainWindow()
    {
        qor::SetMainWindowHandle(nullptr);
        qor::SetPostSink(m_previous);
    }

    int progressSteps = 0; // runs reported
    int otherProgress = 0;
    // Called (on the posting thread) with each run step reported.
    std::function<void()> onProgressStep;
    std::vector<std::wstring> statuses;
    std::vector<LPARAM> statusLParams;

private:
    bool Receive(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        EXPECT_EQ(hWnd, reinterpret_cast<HWND>(0x5150));
        if (msg == UWM_PBAR_UPDATE)
        {
            // Runs are reported a few at a time: lParam says how many (0: one).
            if (wParam == 1)
            {
                progressSteps += lParam > 1 ? static_cast<int>(lParam) : 1;
                if (onProgressStep) onProgressStep();
            }
            else
                ++otherProgress;
        }
        else if (msg == UWM_ADD_STATUS)
        {
            // The receiver owns the heap string.
            std::unique_ptr<CString> text(reinterpret_cast<CString*>(wParam));
            statuses.emplace_back(text ? text->GetString() : L"");
            statusLParams.push_back(lParam);
        }
        return true;
    }

    std::mutex m_mutex;
    qor::PostSink m_previous;
};

TEST_F(Road, WorkerThreadReportsProgressAndStatusLines)
{
    RecordingMainWindow window;
    bool ok = false;
    std::string error;
    std::thread worker([&] {
        try
        {
            ok = c.overstress->Calculate();
        }
        catch (const char* text)
        {
            error = text;
        }
    });
    worker.join();
    ASSERT_EQ(error, "");
    ASSERT_TRUE(ok);

    // One progress step per bridge and load model: (1 + 5) models over (2 + 3) bridges.
    const int bridges = c.simple->GetBridgeCount() + c.twoSpan->GetBridgeCount();
    EXPECT_EQ(window.progressSteps, bridges * (c.handChecked->GetLoadModelCount() + c.libraryMix->GetLoadModelCount()));
    EXPECT_EQ(window.progressSteps, 30);
    EXPECT_EQ(window.otherProgress, 0);

    // One overstress line per bridge of each reference set.
    int overstressLines = 0;
    for (const auto& s : window.statuses)
        if (s.rfind(L"Overstress: L = ", 0) == 0) ++overstressLines;
    EXPECT_EQ(overstressLines, 2 * bridges);
    auto has = [&](const wchar_t* line) {
        return std::find(window.statuses.begin(), window.statuses.end(), line) != window.statuses.end();
    };
    EXPECT_TRUE(has(L"Overstress: L = 10.000, w = 16.000"));
    EXPECT_TRUE(has(L"Overstress: L = 15.000, w = 17.000"));
    EXPECT_TRUE(has(L"Overstress: L = 20.000, w = 17.667"));
    // The lane load's span rule tells what it did, prefixed by the model's name.
    EXPECT_TRUE(has(L"L44 Lane load: NAASRA additional point load added"));
    for (LPARAM lp : window.statusLParams) EXPECT_EQ(lp, 0);

    // The worker's results are those of a run on this thread.
    auto again = std::make_shared<CReferenceCollection>(*c.overstress);
    ASSERT_TRUE(again->Calculate());
    for (unsigned k = 0; k < 4; ++k)
    {
        EXPECT_EQ(AllValues(again->GetRefSet(k)->GetRefCritValues()),
                  AllValues(c.overstress->GetRefSet(k)->GetRefCritValues()))
            << k;
    }
}

// Every number of a result, bit for bit, with the load model each effect names.
struct SFlatResults
{
    std::vector<std::uint64_t> bits;
    std::vector<const CLoadModel*> models;

    void Add(double v)
    {
        std::uint64_t b = 0;
        std::memcpy(&b, &v, sizeof b);
        bits.push_back(b);
    }
    void Add(const PointLoadEffect& e)
    {
        Add(e.val);
        Add(e.xBeam);
        Add(e.xLoadModel);
        bits.push_back(static_cast<std::uint64_t>(e.type));
        models.push_back(e.pLM);
    }
    void Add(const std::shared_ptr<CEnvelope>& env)
    {
        ASSERT_TRUE(env);
        bits.push_back(env->m_vMax.size());
        for (const auto& e : env->m_vMax) Add(e);
        for (const auto& e : env->m_vMin) Add(e);
    }
    void Add(const std::vector<std::shared_ptr<CEnvelopeResults>>& list)
    {
        bits.push_back(list.size());
        for (const auto& r : list)
        {
            ASSERT_TRUE(r);
            bits.push_back(static_cast<std::uint64_t>(r->m_nAnalyses));
            Add(r->GetBMEnvelope());
            Add(r->GetSFEnvelope());
            for (const auto& env : r->GetEnvReactions()) Add(env);
        }
    }
    void Add(const CriticalPair<RatioLoadEffect>& p)
    {
        for (const RatioLoadEffect* r : {&p.first, &p.second})
        {
            Add(r->ratio);
            Add(r->multiplier);
            Add(r->reference);
            Add(r->proposed);
        }
    }
};

SFlatResults Flatten(const CReferenceCollection& rc)
{
    SFlatResults f;
    f.Add(static_cast<double>(rc.m_nStepPoints));
    f.Add(rc.m_StepSize);
    for (const auto& set : rc.GetRefSets())
    {
        f.Add(set->m_vLiveLoadCritEnv);
        f.Add(set->m_vOverstressCritEnv);
        f.Add(set->m_vRefCritEnv);
        f.Add(set->m_vPropCritEnv);
        for (const auto& values : {set->GetRefCritValues(), set->GetPropCritValues()})
            for (double v : AllValues(values)) f.Add(v);
    }
    for (const auto& ratios : rc.GetCritRatios())
    {
        for (std::size_t b = 0; b < ratios->GetNoResults(); ++b)
        {
            const CCriticalRatioResults r = ratios->GetResults(static_cast<unsigned>(b));
            f.Add(r.GetBM());
            f.Add(r.GetSF());
            for (const auto& p : r.GetReactionPairs()) f.Add(p);
        }
        for (double v : ratios->GetGoverningSFRatios()) f.Add(v);
        for (double v : ratios->GetGoverningAbutmentRatios()) f.Add(v);
        for (double v : ratios->GetGoverningPierRatios()) f.Add(v);
    }
    return f;
}

// What a run left in a case: its results, the lines and runs it reported, and the state its
// span rules left the load models in.
struct SCaseRun
{
    SFlatResults results;
    std::vector<std::wstring> statuses;
    int progressSteps = 0;
    std::vector<std::uint64_t> models;
    // The model each effect names: its place in the case's ensembles, or its name when it is
    // not one of them (the overstress run's own model).
    std::vector<std::wstring> named;
    std::string file; // the case saved in binary form
};

SCaseRun RunCase(unsigned threads)
{
    PointsPerSpan points{20};
    Case c = BuildCase();
    // A third set of twelve bridges gives every thread several; their lengths are not round, so
    // that a span rule's arithmetic carries the bridge before into the next one's last bits.
    auto many =
        std::make_shared<CBridgeSet>(9, CString(L"Twelve two-span bridges"), 12, CBridge::CONFIG_TWOSPAN, 9.37, 41.71);
    // Sets of very different sizes and lengths share one pool, the longest bridges first: thirty
    // short one-span bridges and two long three-span ones.
    auto shortOnes =
        std::make_shared<CBridgeSet>(10, CString(L"Thirty short bridges"), 30, CBridge::CONFIG_ONESPAN, 1.5, 7.3);
    auto longOnes =
        std::make_shared<CBridgeSet>(11, CString(L"Two long bridges"), 2, CBridge::CONFIG_THREESPAN, 61.0, 83.5);
    c.overstress->m_vBS = {c.simple, shortOnes, c.twoSpan, many, longOnes};
    c.overstress->SetProposedLME(c.libraryMix);

    SCaseRun run;
    CMultiBridgeAnalysis::SetThreadCount(threads);
    {
        RecordingMainWindow window;
        EXPECT_TRUE(c.overstress->Calculate());
        EXPECT_TRUE(c.overstress->CalculateRatios(1.25));
        run.statuses = window.statuses;
        run.progressSteps = window.progressSteps;
    }
    CMultiBridgeAnalysis::SetThreadCount(0);
    run.results = Flatten(*c.overstress);
    std::ostringstream file(std::ios::out | std::ios::binary);
    SaveCase(file, c, true);
    run.file = file.str();
    std::vector<const CLoadModel*> caseModels;
    for (const auto& lme : {c.handChecked, c.libraryMix})
        for (const auto& lm : lme->m_vLoadModel)
        {
            caseModels.push_back(lm.get());
            SFlatResults m;
            m.Add(lm->m_Length);
            m.Add(lm->m_gDLA.value);
            m.Add(lm->m_bIsMoving ? 1.0 : 0.0);
            for (const auto& pl : lm->m_vPL)
            {
                m.Add(pl.location);
                m.Add(pl.magnitude);
            }
            for (const auto& u : lm->m_vUDL) m.Add(u.magnitude);
            run.models.insert(run.models.end(), m.bits.begin(), m.bits.end());
        }
    for (const CLoadModel* lm : run.results.models)
    {
        const auto it = std::find(caseModels.begin(), caseModels.end(), lm);
        run.named.push_back(it != caseModels.end()
                                ? std::to_wstring(it - caseModels.begin())
                                : (lm ? L"other " + std::wstring(lm->m_Description.GetString()) : L""));
    }
    return run;
}

void ExpectSameRun(const SCaseRun& serial, const SCaseRun& parallel);

// The bridges of a collection's runs computed on several threads give what one thread gives,
// bit for bit: envelopes with the same load models named, critical values, ratios and governing
// ratios, the step written back, the span rules' status lines in the same order, the runs
// reported, the load models left as the serial run leaves them, and the case file.
TEST(RoadParallel, BridgesOnSeveralThreadsGiveTheSerialRunExactly)
{
    const SCaseRun serial = RunCase(1);
    for (unsigned threads : {2u, 8u})
    {
        SCOPED_TRACE(threads);
        const SCaseRun parallel = RunCase(threads);
        ExpectSameRun(serial, parallel);
    }
}

void ExpectSameRun(const SCaseRun& serial, const SCaseRun& parallel)
{
    ASSERT_EQ(serial.results.bits.size(), parallel.results.bits.size());
    EXPECT_TRUE(serial.results.bits == parallel.results.bits);
    EXPECT_GT(serial.results.bits.size(), 10000u);
    EXPECT_TRUE(serial.named == parallel.named);
    EXPECT_EQ(std::count(serial.named.begin(), serial.named.end(), L"0"),
              std::count(parallel.named.begin(), parallel.named.end(), L"0"));
    EXPECT_EQ(serial.statuses, parallel.statuses);
    EXPECT_TRUE(std::any_of(serial.statuses.begin(), serial.statuses.end(), [](const std::wstring& s) {
        return s.find(L"NAASRA additional point load added") != std::wstring::npos;
    }));
    EXPECT_EQ(serial.progressSteps, parallel.progressSteps);
    EXPECT_EQ(serial.models, parallel.models);
    // And the case files they make, byte for byte.
    EXPECT_GT(serial.file.size(), 100000u);
    EXPECT_TRUE(serial.file == parallel.file);
}

// A collection run on several threads stops when asked: each thread it spawns sees the run's
// control, the stop reaches the caller as the quiet outcome, and the collection keeps nothing.
TEST(RoadParallel, AStoppedRunEndsOnEveryThreadAndKeepsNothing)
{
    PointsPerSpan points{20};
    CMultiBridgeAnalysis::SetThreadCount(4);
    RecordingMainWindow window;
    {
        SCOPED_TRACE("asked before it starts, no thread computes a position");
        Case c = BuildCase();
        CRunControl control;
        control.Stop();
        CRunControl::Scope scope(&control);
        EXPECT_THROW(c.overstress->Calculate(), CRunControl::Stopped);
        EXPECT_FALSE(c.overstress->m_bIsCalculated);
        EXPECT_TRUE(c.overstress->GetRefSets().empty());
    }
    {
        SCOPED_TRACE("asked while it runs, it ends at the next load position");
        Case c = BuildCase();
        c.overstress->m_StepSize = 0.005;
        CRunControl control;
        bool stopped = false;
        // Asked as the run reports its first step: demonstrably running, with steps still to come.
        std::atomic<std::chrono::steady_clock::time_point> asked{};
        window.onProgressStep = [&] {
            if (control.IsStopped()) return;
            asked = std::chrono::steady_clock::now();
            control.Stop();
        };
        std::thread run([&] {
            CRunControl::Scope scope(&control);
            try
            {
                c.overstress->Calculate();
            }
            catch (const CRunControl::Stopped&)
            {
                stopped = true;
            }
        });
        run.join();
        window.onProgressStep = nullptr;
        ASSERT_TRUE(control.IsStopped()) << "the run reported a step";
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked.load()).count();
        EXPECT_TRUE(stopped);
        EXPECT_LT(seconds, 5.0) << "a stop waits for the positions in hand, not for the run";
        EXPECT_FALSE(c.overstress->m_bIsCalculated);
        EXPECT_TRUE(c.overstress->GetRefSets().empty());

        // Run again to its end on every thread, it gives what one thread gives, bit for bit.
        c.overstress->m_StepSize = 0.05;
        CMultiBridgeAnalysis::SetThreadCount(8);
        ASSERT_TRUE(c.overstress->Calculate());
        Case serial = BuildCase();
        serial.overstress->m_StepSize = 0.05;
        CMultiBridgeAnalysis::SetThreadCount(1);
        ASSERT_TRUE(serial.overstress->Calculate());
        EXPECT_TRUE(Flatten(*c.overstress).bits == Flatten(*serial.overstress).bits);
    }
    CMultiBridgeAnalysis::SetThreadCount(0);
}

} // namespace
