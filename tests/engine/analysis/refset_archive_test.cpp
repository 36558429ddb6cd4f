// Reference sets through the archives: version-1 round trips in the XML, text and binary forms,
// and a version-0 object read from a hand-written XML archive.
#include "engine/analysis/ReferenceSet.h"

#include "refset_test_helpers.h"
#include "tests/engine/archive_test_util.h"

#include <boost/serialization/shared_ptr.hpp>

using namespace reftest;

namespace {

using archivetest::Kind;
using archivetest::Save;

std::shared_ptr<CReferenceSet> Load(Kind kind, const std::string& data)
{
    return archivetest::Load<std::shared_ptr<CReferenceSet>>(kind, data);
}

class ReferenceSetArchive : public ::testing::TestWithParam<Kind>
{
protected:
    PointsPerSpan points{20};
    std::shared_ptr<CBridgeSet> bs = Spans(12.0, 12.0);
    std::shared_ptr<CLoadModelEnsemble> ref = Ensemble({Udl(16.0, L"Lane 16")}, L"Reference");
    int nSteps = 10;
    double stepSize = 1.0;
};

TEST_P(ReferenceSetArchive, LiveAndReferenceResultsStayOneObject)
{
    auto set = std::make_shared<CReferenceSet>(false, bs, ref, 1.4);
    set->Calculate(false, nSteps, stepSize);
    ASSERT_TRUE(set->CalculateRatios(true, false, nSteps, stepSize, Ensemble({Udl(8.0, L"Half")}, L"Prop"), 1.0));

    auto loaded = Load(GetParam(), Save(GetParam(), set));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->m_bIsCalculated);
    EXPECT_FALSE(loaded->m_bUseOverstress);
    ASSERT_EQ(loaded->m_vLiveLoadCritEnv.size(), 2u);
    ASSERT_EQ(loaded->m_vRefCritEnv.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(loaded->m_vLiveLoadCritEnv[i], loaded->m_vRefCritEnv[i]);
    EXPECT_EQ(loaded->m_nBridges, 2);
    EXPECT_EQ(loaded->GetBridgeSet()->GetBridgeCount(), 2);
    EXPECT_EQ(loaded->GetRefLME()->m_Description, CString(L"Reference"));

    // Version-1 items.
    ASSERT_TRUE(loaded->GetPropLME());
    EXPECT_EQ(loaded->GetPropLME()->m_Description, CString(L"Prop"));
    EXPECT_TRUE(loaded->m_bUseLM);
    EXPECT_TRUE(loaded->m_bIsRatioCalculated);

    // Every critical-value ensemble is rebuilt from the stored envelopes.
    ASSERT_EQ(loaded->GetLiveLoadCritValues()->m_vResults.size(), 2u);
    ASSERT_EQ(loaded->GetRefCritValues()->m_vResults.size(), 2u);
    ASSERT_EQ(loaded->GetPropCritValues()->m_vResults.size(), 2u);
    EXPECT_TRUE(loaded->GetOverstressCritValues()->m_vResults.empty());
    EXPECT_NEAR(loaded->GetLiveLoadCritValues()->GetResults(0).GetBM().first.val, 288.0, 1e-6);
    EXPECT_NEAR(loaded->GetRefCritValues()->GetResults(1).GetReaction(1).first.val, 96.0, 1e-6);
    EXPECT_NEAR(loaded->GetPropCritValues()->GetResults(1).GetBM().first.val, 144.0, 1e-6);
}

TEST_P(ReferenceSetArchive, OverstressReferenceLoadsAndRatesAgain)
{
    auto set = std::make_shared<CReferenceSet>(true, bs, ref, 1.4);
    set->Calculate(false, nSteps, stepSize);

    auto loaded = Load(GetParam(), Save(GetParam(), set));
    ASSERT_EQ(loaded->m_vRefCritEnv.size(), 2u);
    EXPECT_NE(loaded->m_vRefCritEnv[0], loaded->m_vLiveLoadCritEnv[0]);
    EXPECT_DOUBLE_EQ(loaded->m_OverstressFactor, 1.4);
    EXPECT_NEAR(loaded->GetRefCritValues()->GetResults(0).GetBM().first.val, 518.4, 1e-6);
    EXPECT_NEAR(loaded->GetOverstressCritValues()->GetResults(0).GetBM().first.val, 288.0, 1e-6);
    EXPECT_FALSE(loaded->GetPropLME());
    EXPECT_FALSE(loaded->m_bIsRatioCalculated);

    // The stored results have bridges of their own now; they still line up with the set.
    auto ratios = loaded->CalculateRatios(false, false, nSteps, stepSize, Ensemble({Udl(16.0)}), 1.0);
    ASSERT_TRUE(ratios);
    EXPECT_NEAR(ratios->GetResults(1).GetBM().first.ratio, 1.0 / 1.8, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Forms, ReferenceSetArchive, ::testing::Values(Kind::Xml, Kind::Text, Kind::Binary));

TEST(ReferenceSetArchiveSave, SavingRebuildsTheCriticalValues)
{
    PointsPerSpan points(20);
    auto set = std::make_shared<CReferenceSet>(true, Spans(12.0, 12.0), Ensemble({Udl(16.0)}), 1.4);
    int n = 10;
    double s = 1.0;
    set->Calculate(false, n, s);
    ASSERT_TRUE(set->GetLiveLoadCritValues()->m_vResults.empty());
    Save(Kind::Binary, set);
    ASSERT_EQ(set->GetLiveLoadCritValues()->m_vResults.size(), 2u);
    EXPECT_NEAR(set->GetLiveLoadCritValues()->GetResults(0).GetBM().first.val, 288.0, 1e-6);
    EXPECT_EQ(set->GetOverstressCritValues()->m_vResults.size(), 2u);
    EXPECT_NEAR(set->GetRefCritValues()->GetResults(0).GetBM().first.val, 518.4, 1e-6);
}

TEST(ReferenceSetArchiveSave, XmlItemsInTheirOrderUnderClassVersion1)
{
    PointsPerSpan points(20);
    auto set = std::make_shared<CReferenceSet>(true, Spans(12.0, 12.0), Ensemble({Udl(16.0)}), 1.4);
    int n = 10;
    double s = 1.0;
    set->Calculate(false, n, s);
    ASSERT_TRUE(set->CalculateRatios(false, false, n, s, Ensemble({Udl(8.0)}), 1.0));
    const std::string xml = Save(Kind::Xml, set);

    const std::size_t px = xml.find("<px");
    ASSERT_NE(px, std::string::npos);
    EXPECT_NE(xml.substr(px, xml.find('>', px) - px).find("version=\"1\""), std::string::npos);
    std::size_t at = px;
    for (const char* item :
         {"<m_pBridgeSet", "<m_pRefLME", "<m_bIsCalculated>", "<m_vOverstressCritEnv", "<m_vLiveLoadCritEnv",
          "<m_vRefCritEnv", "<m_vPropCritEnv", "<m_vRatios", "<m_bUseOverstress>", "<m_OverstressFactor>",
          "<m_pPropLME", "<m_bUseLM>", "<m_bIsRatioCalculated>"})
    {
        const std::size_t next = xml.find(item, at);
        ASSERT_NE(next, std::string::npos) << item;
        at = next;
    }
    // Derived data stays out of the file.
    for (const char* derived : {"m_nBridges", "CritValues", "m_nPoints"})
        EXPECT_EQ(xml.find(derived), std::string::npos) << derived;
}

// A reference set as files written before class version 1 hold it: the reference ensemble
// is named m_pLoadModelEnsemble and the proposed items are absent.
const char* const kVersion0 = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>
<!DOCTYPE boost_serialization>
<boost_serialization signature="serialization::archive" version="17">
<item class_id="0" tracking_level="0" version="1">
<px class_id="1" tracking_level="1" version="0" object_id="_0">
<m_pBridgeSet class_id="2" tracking_level="0" version="1">
<px class_id="3" tracking_level="1" version="0" object_id="_1">
<CElement class_id="4" tracking_level="0" version="0">
<m_ElementType>12</m_ElementType>
<m_Description class_id="5" tracking_level="0" version="0"><value>Old spans</value></m_Description>
<m_ID>3</m_ID>
<m_bIsEditable>1</m_bIsEditable>
</CElement>
<m_StartL>10</m_StartL>
<m_EndL>20</m_EndL>
<m_nBridge>3</m_nBridge>
<m_Config>2</m_Config>
</px>
</m_pBridgeSet>
<m_pLoadModelEnsemble class_id="6" tracking_level="0" version="1">
<px class_id="7" tracking_level="1" version="0" object_id="_2">
<CElement>
<m_ElementType>14</m_ElementType>
<m_Description><value>Old reference</value></m_Description>
<m_ID>5</m_ID>
<m_bIsEditable>0</m_bIsEditable>
</CElement>
<m_vLoadModel class_id="8" tracking_level="0" version="0">
<count>0</count>
<item_version>1</item_version>
</m_vLoadModel>
</px>
</m_pLoadModelEnsemble>
<m_bIsCalculated>0</m_bIsCalculated>
<m_vOverstressCritEnv class_id="9" tracking_level="0" version="0"><count>0</count><item_version>1</item_version></m_vOverstressCritEnv>
<m_vLiveLoadCritEnv><count>0</count><item_version>1</item_version></m_vLiveLoadCritEnv>
<m_vRefCritEnv><count>0</count><item_version>1</item_version></m_vRefCritEnv>
<m_vPropCritEnv><count>0</count><item_version>1</item_version></m_vPropCritEnv>
<m_vRatios><count>0</count><item_version>1</item_version></m_vRatios>
<m_bUseOverstress>1</m_bUseOverstress>
<m_OverstressFactor>1.25</m_OverstressFactor>
</px>
</item>
</boost_serialization>
)";

TEST(ReferenceSetArchiveVersion0, ReadsTheEnsembleUnderItsFormerName)
{
    auto set = Load(Kind::Xml, kVersion0);
    ASSERT_TRUE(set);
    ASSERT_TRUE(set->GetRefLME());
    EXPECT_EQ(set->GetRefLME()->m_Description, CString(L"Old reference"));
    EXPECT_EQ(set->GetRefLME()->m_ID, 5);
    EXPECT_FALSE(set->GetRefLME()->m_bIsEditable);
    ASSERT_TRUE(set->GetBridgeSet());
    EXPECT_EQ(set->GetBridgeSet()->m_Description, CString(L"Old spans"));
    EXPECT_EQ(set->GetBridgeSet()->GetBridgeCount(), 3);
    EXPECT_EQ(set->m_nBridges, 3);
    EXPECT_TRUE(set->m_bUseOverstress);
    EXPECT_DOUBLE_EQ(set->m_OverstressFactor, 1.25);
    EXPECT_FALSE(set->m_bIsCalculated);
    // Version-1 items keep their defaults.
    EXPECT_FALSE(set->GetPropLME());
    EXPECT_FALSE(set->m_bUseLM);
    EXPECT_FALSE(set->m_bIsRatioCalculated);
    ASSERT_TRUE(set->GetRefCritValues());
    EXPECT_TRUE(set->GetRefCritValues()->m_vResults.empty());
    EXPECT_EQ(set->GetRefCritValues()->GetBridgeSet(), set->GetBridgeSet());

    // Saved again it is a version-1 object naming the ensemble m_pRefLME.
    const std::string xml = Save(Kind::Xml, set);
    EXPECT_NE(xml.find("<m_pRefLME"), std::string::npos);
    EXPECT_EQ(xml.find("m_pLoadModelEnsemble"), std::string::npos);
    EXPECT_EQ(Load(Kind::Xml, xml)->GetRefLME()->m_Description, CString(L"Old reference"));
}

} // namespace
