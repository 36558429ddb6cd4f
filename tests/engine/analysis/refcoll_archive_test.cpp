// Reference collections through the XML and binary archives.
#include "engine/analysis/ReferenceCollection.h"

#include "engine/analysis/ReferenceSet.h"
#include "refset_test_helpers.h"
#include "tests/engine/archive_test_util.h"

#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

using namespace reftest;

namespace {

// What a case file holds of the elements: the document's own lists, then the collections.
struct Case
{
    std::vector<std::shared_ptr<CBridgeSet>> sets;
    std::vector<std::shared_ptr<CLoadModelEnsemble>> lmes;
    std::vector<std::shared_ptr<CReferenceCollection>> colls;

    template <class Archive>
    void serialize(Archive& ar, const unsigned int)
    {
        ar& boost::serialization::make_nvp("m_vBridgeSet", sets);
        ar& boost::serialization::make_nvp("m_vLoadModelEnsemble", lmes);
        ar& boost::serialization::make_nvp("m_vRefCollection", colls);
    }
};

template <class OArchive, class IArchive>
Case RoundTrip(const Case& c)
{
    return archivetest::RoundTrip<OArchive, IArchive>(c, nullptr, "QORConfig");
}

class CollectionArchive : public ::testing::Test
{
protected:
    PointsPerSpan points{20};
    Case original;

    void SetUp() override
    {
        original.sets = {Spans(12.0, 12.0, 2, 1, L"B1"), Spans(10.0, 20.0, 3, 2, L"B2")};
        original.lmes = {Ensemble({Udl(16.0, L"Lane")}, L"E1"), Ensemble({Truck({{100.0, 0.0}, {50.0, -3.0}})}, L"E2")};
        auto c = std::make_shared<CReferenceCollection>(4, CString(L"Network"), true, 0, 0.5);
        c->m_vBS = original.sets;
        c->m_vLME = original.lmes;
        original.colls = {c};
        ASSERT_TRUE(c->Calculate());
        c->SetProposedLoadModel(Udl(16.0, L"Prop"));
        ASSERT_TRUE(c->CalculateRatios(1.2));
    }

    void Check(const Case& loaded)
    {
        ASSERT_EQ(loaded.colls.size(), 1u);
        const auto& c = loaded.colls[0];
        const auto& src = original.colls[0];
        EXPECT_EQ(c->m_ID, 4);
        EXPECT_EQ(c->m_Description, CString(L"Network"));
        EXPECT_EQ(c->m_ElementType, 16);
        EXPECT_TRUE(c->m_bByStep);
        EXPECT_EQ(c->m_nStepPoints, src->m_nStepPoints);
        EXPECT_DOUBLE_EQ(c->m_StepSize, 0.5);
        EXPECT_TRUE(c->m_bIsCalculated);
        EXPECT_EQ(c->m_nRefSets, 4);

        // The listed elements are the case's own objects.
        ASSERT_EQ(c->m_vBS.size(), 2u);
        ASSERT_EQ(c->m_vLME.size(), 2u);
        EXPECT_EQ(c->m_vBS[1], loaded.sets[1]);
        EXPECT_EQ(c->m_vLME[0], loaded.lmes[0]);

        for (unsigned k = 0; k < 4; ++k)
        {
            const auto set = c->GetRefSet(k);
            ASSERT_TRUE(set);
            EXPECT_EQ(set->GetBridgeSet(), loaded.sets[k % 2]);
            EXPECT_EQ(set->GetRefLME(), loaded.lmes[k / 2]);
            ASSERT_EQ(set->m_vRefCritEnv.size(), set->m_vLiveLoadCritEnv.size());
            for (std::size_t i = 0; i < set->m_vRefCritEnv.size(); ++i)
                EXPECT_EQ(set->m_vRefCritEnv[i], set->m_vLiveLoadCritEnv[i]);
            EXPECT_TRUE(set->m_bIsRatioCalculated);
        }
        EXPECT_NEAR(c->GetRefSet(0)->GetRefCritValues()->GetResults(1).GetBM().first.val, 288.0, 1e-6);

        // Ratio data live in memory only.
        EXPECT_TRUE(c->GetCritRatios().empty());
        EXPECT_FALSE(c->m_bRatiosCalculated);
        EXPECT_FALSE(c->m_bUseSingleLM);
        EXPECT_DOUBLE_EQ(c->m_Multiplier, 1.0);
        ASSERT_TRUE(c->m_pPropLME);
        EXPECT_EQ(c->m_pPropLME->m_Description, CString(L"Proposed"));
        EXPECT_EQ(c->m_pPropLME->GetLoadModelCount(), 0);

        // Against a copy of itself the loaded collection is unchanged.
        EXPECT_FALSE(c->DiffersFrom(std::make_shared<CReferenceCollection>(*c)));

        // And it rates a proposed vehicle against the stored reference.
        c->SetProposedLoadModel(Udl(16.0));
        ASSERT_TRUE(c->CalculateRatios(1.0));
        ASSERT_EQ(c->GetCritRatios().size(), 4u);
        EXPECT_NEAR(c->GetCritRatios()[0]->GetResults(0).GetBM().first.ratio, 1.0, 1e-9);
    }
};

TEST_F(CollectionArchive, XmlRoundTrip)
{
    Check(RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(original));
}

TEST_F(CollectionArchive, BinaryRoundTrip)
{
    Check(RoundTrip<boost::archive::binary_oarchive, boost::archive::binary_iarchive>(original));
}

TEST_F(CollectionArchive, XmlItemsAreNamedAfterTheMembers)
{
    std::ostringstream os;
    {
        boost::archive::xml_oarchive ar(os);
        ar << boost::serialization::make_nvp("QORConfig", original);
    }
    const std::string xml = os.str();
    std::size_t at = 0;
    for (const char* item : {"<CElement", "<m_bByStep>", "<m_StepSize>", "<m_nStepPoints>", "<m_bIsCalculated>",
                             "<m_vLME", "<m_vBS", "<m_vRefSet", "<m_bUseOverstress>", "<m_OverstressFactor>"})
    {
        const std::size_t next = xml.find(item, at);
        ASSERT_NE(next, std::string::npos) << item;
        at = next;
    }
    EXPECT_STREQ(boost::serialization::guid<CReferenceCollection>(), "CReferenceCollection");
    EXPECT_STREQ(boost::serialization::guid<CReferenceSet>(), "CReferenceSet");
    EXPECT_EQ(xml.find("m_vCritRatios"), std::string::npos);
    EXPECT_EQ(xml.find("m_Multiplier"), std::string::npos);
}

} // namespace
