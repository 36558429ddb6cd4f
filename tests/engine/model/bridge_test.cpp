// Bridges, bridge sets and their archives.
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/Ranges.h"
#include "tests/engine/archive_test_util.h"
#include "tests/engine/engine_test_util.h"

#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using archivetest::RoundTrip;
using enginetest::ExpectValuesNear;
using enginetest::OutOfRangeText;
using enginetest::ThrownText;

// --- Configurations and beams --------------------------------------------------------

TEST(BridgeConfig, EachConfigurationBuildsItsSpansAndPinnedBeam)
{
    CBridge one(1, L"One", 1, 20.0);
    ExpectValuesNear(one.m_vSpans, {20.0});
    CBridge two(2, L"Two", 2, 20.0);
    ExpectValuesNear(two.m_vSpans, {20.0, 20.0});
    EXPECT_DOUBLE_EQ(two.GetBeam()->m_Length, 40.0);
    EXPECT_EQ(two.GetBeam()->m_nRestraints, 3);

    CBridge three(3, L"Three", 3, 20.0);
    ExpectValuesNear(three.m_vSpans, {15.0, 20.0, 15.0});
    auto beam = three.GetBeam();
    ASSERT_TRUE(beam);
    EXPECT_EQ(beam->m_nSpans, 3);
    EXPECT_DOUBLE_EQ(beam->m_Length, 50.0);
    ExpectValuesNear(beam->m_vR, {-1, 0, -1, 0, -1, 0, -1, 0});
    EXPECT_EQ(beam->m_nRestraints, 4);
    ExpectValuesNear(beam->m_vEI, {1e11, 1e11, 1e11});
    EXPECT_EQ(three.m_ElementType, 11);
    EXPECT_TRUE(three.m_bIsEditable);
    EXPECT_EQ(three.GetDescription(), L"Three");
}

TEST(BridgeConfig, ExplicitSpansAreKeptAsGiven)
{
    CBridge b;
    b.m_Config = 4;
    b.m_SpanLength = 99.0; // not used by an explicit bridge
    b.m_vSpans = {5.5, 7.25, 3.0};
    b.BuildBeam();
    ExpectValuesNear(b.m_vSpans, {5.5, 7.25, 3.0}, 0.0);
    EXPECT_DOUBLE_EQ(b.GetBeam()->m_Length, 15.75);
    b.BuildBeam();
    ExpectValuesNear(b.m_vSpans, {5.5, 7.25, 3.0}, 0.0);
    EXPECT_EQ(b.GetBeam()->m_nRestraints, 4);
}

TEST(BridgeConfig, RebuildingReplacesTheBeamAndRewritesSpans)
{
    CBridge b(1, L"B", 2, 10.0);
    auto first = b.GetBeam();
    b.m_SpanLength = 12.0;
    b.BuildBeam();
    EXPECT_NE(b.GetBeam(), first);
    ExpectValuesNear(b.m_vSpans, {12.0, 12.0});
    EXPECT_DOUBLE_EQ(first->m_Length, 20.0); // the old beam is untouched
}

TEST(BridgeConfig, BadConfigurationThrowsBridgeConfigText)
{
    EXPECT_EQ(ThrownText([] { CBridge b(1, L"Bad", 5, 20.0); }), "Error in bridge config");
    EXPECT_EQ(ThrownText([] { CBridge b(1, L"Bad", 0, 20.0); }), "Error in bridge config");
    EXPECT_EQ(CBridge::GetConfigName(1), L"1-span");
    EXPECT_EQ(CBridge::GetConfigName(2), L"2-span");
    EXPECT_EQ(CBridge::GetConfigName(3), L"3-span");
    EXPECT_EQ(CBridge::GetConfigName(4), L"X-span");
    EXPECT_EQ(CBridge::GetConfigName(17), L"X-span");
}

TEST(BridgeConfig, DefaultBridgeHasNoBeam)
{
    CBridge b;
    EXPECT_EQ(b.m_Description, L"Bridge");
    EXPECT_EQ(b.m_ID, 0);
    EXPECT_EQ(b.m_ElementType, 11);
    EXPECT_EQ(b.m_Config, 1);
    EXPECT_EQ(b.m_SpanLength, 0.0);
    EXPECT_TRUE(b.m_vSpans.empty());
    EXPECT_FALSE(b.GetBeam());
}

TEST(BridgeConfig, CopiesShareTheBeam)
{
    CBridge src(7, L"Src", 3, 16.0);
    CBridge copy(src);
    EXPECT_EQ(copy.GetBeam(), src.GetBeam());
    EXPECT_EQ(copy.m_ID, 7);
    EXPECT_EQ(copy.m_Config, 3);
    ExpectValuesNear(copy.m_vSpans, src.m_vSpans, 0.0);

    CBridge target(1, L"Target", 1, 5.0);
    target = src;
    EXPECT_EQ(target.GetBeam(), src.GetBeam());
    EXPECT_EQ(target.m_Description, L"Src");
    EXPECT_EQ(target.m_SpanLength, 16.0);
}

// --- Bridge sets -------------------------------------------------------------------

TEST(BridgeSetGenerate, ByCountSpacesSpansEvenlyAndNamesBridges)
{
    CBridgeSet set(3, L"Set", 5, 1, 10.0, 30.0);
    EXPECT_EQ(set.m_ElementType, 12);
    EXPECT_FALSE(set.IsByStep());
    ASSERT_EQ(set.GetBridgeCount(), 5);
    ExpectValuesNear(set.GetSpanLengths(), {10, 15, 20, 25, 30});
    ExpectValuesNear(set.GetBridgeLengths(), {10, 15, 20, 25, 30});
    EXPECT_DOUBLE_EQ(set.GetStep(), 5.0);
    EXPECT_EQ(set.GetBridge(0)->m_Description, L"1-span - 10.000 m span");
    EXPECT_EQ(set.GetBridge(4)->m_Description, L"1-span - 30.000 m span");
    for (unsigned i = 0; i < 5; ++i) EXPECT_EQ(set.GetBridge(i)->m_ID, static_cast<int>(i));
    EXPECT_EQ(set.GetBeam(), set.GetBridge(0)->GetBeam());
    EXPECT_EQ(OutOfRangeText([&] { set.GetBridge(5); }), "invalid vector<T> subscript");
}

TEST(BridgeSetGenerate, ConfigurationDecidesNamesAndBridgeLengths)
{
    CBridgeSet two(1, L"Two", 3, 2, 10.0, 20.0);
    EXPECT_EQ(two.GetBridge(2)->m_Description, L"2-span - 20.000 m span");
    CBridgeSet three(1, L"Three", 3, 3, 10.0, 20.0);
    ExpectValuesNear(three.GetBridgeLengths(), {25.0, 37.5, 50.0});
    EXPECT_EQ(three.GetBridge(1)->m_Description, L"3-span - 15.000 m span");
    EXPECT_EQ(three.GetBeam()->m_nRestraints, 4);
}

TEST(BridgeSetGenerate, DecreasingRangeByCount)
{
    CBridgeSet set(1, L"Down", 5, 1, 30.0, 10.0);
    ExpectValuesNear(set.GetSpanLengths(), {30, 25, 20, 15, 10});
    EXPECT_DOUBLE_EQ(set.GetStep(), 5.0);
    EXPECT_EQ(set.GetBridge(0)->m_Description, L"1-span - 30.000 m span");
}

TEST(BridgeSetGenerate, ZeroOrOneBridgeGeneratesNone)
{
    for (int n : {0, 1, -3})
    {
        CBridgeSet set(1, L"Few", n, 1, 10.0, 30.0);
        EXPECT_EQ(set.GetBridgeCount(), 0) << n;
        EXPECT_TRUE(set.GetSpanLengths().empty());
        EXPECT_TRUE(set.GetBridgeLengths().empty());
        EXPECT_EQ(OutOfRangeText([&] { set.GetBeam(); }), "invalid vector<T> subscript");
        EXPECT_EQ(OutOfRangeText([&] { set.GetBridge(0); }), "invalid vector<T> subscript");
    }
}

TEST(BridgeSetGenerate, ByStepPullsTheEndOntoTheGrid)
{
    CBridgeSet set(2, L"Step", 1, 10.0, 31.0, 5.0);
    EXPECT_TRUE(set.IsByStep());
    EXPECT_EQ(set.m_nBridge, 5);
    EXPECT_DOUBLE_EQ(set.m_EndL, 30.0);
    EXPECT_DOUBLE_EQ(set.GetStep(), 5.0);
    ExpectValuesNear(set.GetSpanLengths(), {10, 15, 20, 25, 30});

    CBridgeSet exact(2, L"Exact", 1, 10.0, 30.0, 5.0);
    EXPECT_EQ(exact.m_nBridge, 5);
    EXPECT_DOUBLE_EQ(exact.m_EndL, 30.0);
}

TEST(BridgeSetGenerate, ByStepKeepsAnEndOnTheGridDespiteRounding)
{
    // (1.0 - 0.7) / 0.1 is a hair below 3 in floating point.
    CBridgeSet down(1, L"Down", 1, 1.0, 0.7, 0.1);
    EXPECT_EQ(down.m_nBridge, 4);
    ExpectValuesNear(down.GetSpanLengths(), {1.0, 0.9, 0.8, 0.7}, 1e-12);
    CBridgeSet up(1, L"Up", 1, 0.7, 1.0, 0.1);
    EXPECT_EQ(up.m_nBridge, 4);
    ExpectValuesNear(up.GetSpanLengths(), {0.7, 0.8, 0.9, 1.0}, 1e-12);
}

TEST(BridgeSetGenerate, ByStepRejectsNonPositiveOrTinySteps)
{
    EXPECT_EQ(ThrownText([] { CBridgeSet s(1, L"S", 1, 10.0, 30.0, 0.0); }), kBridgeSetStepError);
    EXPECT_EQ(ThrownText([] { CBridgeSet s(1, L"S", 1, 10.0, 30.0, -5.0); }), kBridgeSetStepError);
    EXPECT_EQ(ThrownText([] { CBridgeSet s(1, L"S", 1, 10.0, 30.0, 1e-9); }), kRangeTooLargeError);
    EXPECT_EQ(ThrownText([] { CBridgeSet s(1, L"S", 1000000, 1, 10.0, 30.0); }), kRangeTooLargeError);
}

TEST(BridgeSetGenerate, ByStepWithStepBeyondTheRangeHasOneBridge)
{
    CBridgeSet set(1, L"One", 1, 10.0, 12.0, 5.0);
    EXPECT_EQ(set.m_nBridge, 1);
    EXPECT_DOUBLE_EQ(set.m_EndL, 10.0);
    EXPECT_EQ(set.GetBridgeCount(), 0);
    EXPECT_DOUBLE_EQ(set.GetStep(), 5.0);
}

TEST(BridgeSetGenerate, DefaultSetIsEmptyAndByCount)
{
    CBridgeSet set;
    EXPECT_EQ(set.m_Description, L"Bridge Set");
    EXPECT_EQ(set.m_ID, 0);
    EXPECT_TRUE(set.m_bIsEditable);
    EXPECT_EQ(set.m_nBridge, 0);
    EXPECT_EQ(set.m_StartL, 0.0);
    EXPECT_EQ(set.m_EndL, 0.0);
    EXPECT_FALSE(set.IsByStep());
    EXPECT_EQ(set.GetBridgeCount(), 0);
}

TEST(BridgeSetGenerate, CopiesShareBridgesAndKeepTheStepping)
{
    CBridgeSet src(4, L"Src", 2, 10.0, 31.0, 5.0);
    CBridgeSet copy(src);
    EXPECT_EQ(copy.GetBridge(3), src.GetBridge(3));
    EXPECT_TRUE(copy.IsByStep());
    EXPECT_DOUBLE_EQ(copy.GetStep(), 5.0);

    CBridgeSet target(1, L"T", 3, 1, 1.0, 2.0);
    target = src;
    EXPECT_EQ(target.GetBridgeCount(), 5);
    EXPECT_EQ(target.GetBridge(0), src.GetBridge(0));
    EXPECT_EQ(target.m_Config, 2);
    EXPECT_TRUE(target.IsByStep());
    EXPECT_EQ(target.m_Description, L"Src");
    ExpectValuesNear(target.GetBridgeLengths(), src.GetBridgeLengths(), 0.0);
}

// --- Archives -----------------------------------------------------------------------

namespace {

const wchar_t* kNonAscii = L"Brücke über die Aare – 東京 Ω";

template <class OArchive, class IArchive>
void CheckBridgeRoundTrip()
{
    auto src = std::make_shared<CBridge>(9, kNonAscii, 3, 24.0);
    src->m_bIsEditable = false;
    auto out = RoundTrip<OArchive, IArchive>(src);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->m_Description, kNonAscii);
    EXPECT_EQ(out->m_ID, 9);
    EXPECT_EQ(out->m_ElementType, 11);
    EXPECT_FALSE(out->m_bIsEditable);
    EXPECT_EQ(out->m_Config, 3);
    EXPECT_EQ(out->m_SpanLength, 24.0);
    ASSERT_TRUE(out->GetBeam()); // rebuilt, not archived
    EXPECT_DOUBLE_EQ(out->GetBeam()->m_Length, 60.0);
    EXPECT_EQ(out->GetBeam()->m_nRestraints, 4);

    auto explicitSrc = std::make_shared<CBridge>();
    explicitSrc->m_Config = 4;
    explicitSrc->m_vSpans = {3.5, 4.25};
    explicitSrc->BuildBeam();
    auto explicitOut = RoundTrip<OArchive, IArchive>(explicitSrc);
    ExpectValuesNear(explicitOut->m_vSpans, {3.5, 4.25}, 0.0);
    EXPECT_DOUBLE_EQ(explicitOut->GetBeam()->m_Length, 7.75);
}

template <class OArchive, class IArchive>
void CheckBridgeSetRoundTrip()
{
    auto src = std::make_shared<CBridgeSet>(6, kNonAscii, 2, 10.0, 31.0, 5.0);
    auto out = RoundTrip<OArchive, IArchive>(src);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->m_Description, kNonAscii);
    EXPECT_EQ(out->m_ID, 6);
    EXPECT_EQ(out->m_Config, 2);
    EXPECT_EQ(out->m_nBridge, 5);
    EXPECT_EQ(out->m_StartL, 10.0);
    EXPECT_EQ(out->m_EndL, 30.0);
    EXPECT_FALSE(out->IsByStep()); // not archived: a loaded set reads as by count
    ASSERT_EQ(out->GetBridgeCount(), 5);
    EXPECT_EQ(out->GetBridge(4)->m_Description, L"2-span - 30.000 m span");
    ExpectValuesNear(out->GetBridgeLengths(), {20, 30, 40, 50, 60});
}

} // namespace

TEST(BridgeArchive, BridgeRoundTripsInEveryFormat)
{
    CheckBridgeRoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>();
    CheckBridgeRoundTrip<boost::archive::text_oarchive, boost::archive::text_iarchive>();
    CheckBridgeRoundTrip<boost::archive::binary_oarchive, boost::archive::binary_iarchive>();
}

TEST(BridgeArchive, BridgeSetRoundTripsInEveryFormat)
{
    CheckBridgeSetRoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>();
    CheckBridgeSetRoundTrip<boost::archive::text_oarchive, boost::archive::text_iarchive>();
    CheckBridgeSetRoundTrip<boost::archive::binary_oarchive, boost::archive::binary_iarchive>();
}

TEST(BridgeArchive, ItemsAppearInArchiveOrder)
{
    auto set = std::make_shared<CBridgeSet>(1, L"S", 3, 1, 10.0, 20.0);
    std::string xml;
    RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(set, &xml);
    std::vector<std::string> order = {"<CElement",   "<m_ElementType>", "<m_Description", "<value>S</value>",
                                      "<m_ID>",      "<m_bIsEditable>", "<m_StartL>",     "<m_EndL>",
                                      "<m_nBridge>", "<m_Config>"};
    std::size_t pos = 0;
    for (const auto& item : order)
    {
        std::size_t found = xml.find(item, pos);
        ASSERT_NE(found, std::string::npos) << item << "\n" << xml;
        pos = found;
    }
    EXPECT_EQ(xml.find("m_vBridges"), std::string::npos);
    EXPECT_EQ(xml.find("m_Step"), std::string::npos);

    auto bridge = std::make_shared<CBridge>(1, L"B", 2, 10.0);
    RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(bridge, &xml);
    std::size_t c = xml.find("<m_Config>"), s = xml.find("<m_SpanLength>"), v = xml.find("<m_vSpans");
    ASSERT_NE(c, std::string::npos);
    ASSERT_NE(s, std::string::npos);
    ASSERT_NE(v, std::string::npos);
    EXPECT_LT(c, s);
    EXPECT_LT(s, v);
}

TEST(BridgeArchive, ExportKeysCarryBridgesThroughElementPointers)
{
    std::shared_ptr<CElement> bridge = std::make_shared<CBridge>(2, L"B", 2, 10.0);
    std::shared_ptr<CElement> set = std::make_shared<CBridgeSet>(3, L"S", 3, 3, 10.0, 20.0);
    std::vector<std::shared_ptr<CElement>> src = {bridge, set, bridge};
    std::string xml;
    const auto out = RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(src, &xml, "elements");
    EXPECT_NE(xml.find("\"CBridge\""), std::string::npos);
    EXPECT_NE(xml.find("\"CBridgeSet\""), std::string::npos);
    ASSERT_EQ(out.size(), 3u);
    auto b = std::dynamic_pointer_cast<CBridge>(out[0]);
    auto s = std::dynamic_pointer_cast<CBridgeSet>(out[1]);
    ASSERT_TRUE(b);
    ASSERT_TRUE(s);
    EXPECT_EQ(out[2], out[0]); // one object, still shared
    EXPECT_DOUBLE_EQ(b->GetBeam()->m_Length, 20.0);
    EXPECT_EQ(s->GetBridgeCount(), 3);
}

TEST(BridgeArchive, SavingRebuildsDerivedData)
{
    auto bridge = std::make_shared<CBridge>(1, L"B", 1, 10.0);
    bridge->m_SpanLength = 14.0; // edited without rebuilding
    std::stringstream ss;
    {
        boost::archive::text_oarchive oa(ss);
        oa << bridge;
    }
    EXPECT_DOUBLE_EQ(bridge->GetBeam()->m_Length, 14.0);
    ExpectValuesNear(bridge->m_vSpans, {14.0});

    auto set = std::make_shared<CBridgeSet>(1, L"S", 2, 1, 10.0, 20.0);
    set->m_nBridge = 3;
    {
        boost::archive::text_oarchive oa(ss);
        oa << set;
    }
    ExpectValuesNear(set->GetSpanLengths(), {10, 15, 20});
    EXPECT_EQ(set->GetBridgeCount(), 3);
}

TEST(BridgeArchive, SavingABadConfigurationThrows)
{
    auto bridge = std::make_shared<CBridge>(1, L"B", 1, 10.0);
    bridge->m_Config = 8;
    std::stringstream ss;
    boost::archive::text_oarchive oa(ss);
    EXPECT_EQ(ThrownText([&] { oa << bridge; }), "Error in bridge config");
}
