// Archive round trips of the beam and its results (XML, text, binary).
#include "beam_test_util.h"
#include "tests/engine/archive_test_util.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/Load.h"

#include <gtest/gtest.h>

#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

using namespace beamtest;
using archivetest::RoundTrip;

namespace {

std::shared_ptr<CBeamResults> MakeResults()
{
    CBeam beam = MakeBridgeBeam({12.5, 17.25, 9.0});
    CLoadUDL udl(1, 4.5);
    CLoadPL pl(0, 33.3, 4.1);
    CLoadPUDL pudl(2, 2.2, 1.0, 3.3);
    CBeamSolver solver(beam, 12);
    return solver.Solve({&udl, &pl, &pudl});
}

void ExpectSameBeam(const CBeam& a, const CBeam& b)
{
    EXPECT_EQ(a.m_nSpans, b.m_nSpans);
    EXPECT_EQ(a.m_nRestraints, b.m_nRestraints);
    EXPECT_EQ(a.m_Length, b.m_Length);
    EXPECT_EQ(a.m_vL, b.m_vL);
    EXPECT_EQ(a.m_vEI, b.m_vEI);
    EXPECT_EQ(a.m_vR, b.m_vR);
}

void ExpectSameResults(const CBeamResults& a, const CBeamResults& b)
{
    ASSERT_TRUE(a.m_pBeam && b.m_pBeam);
    ExpectSameBeam(*a.m_pBeam, *b.m_pBeam);
    ASSERT_EQ(a.m_vMbrRes.size(), b.m_vMbrRes.size());
    for (std::size_t i = 0; i < a.m_vMbrRes.size(); ++i)
    {
        EXPECT_EQ(a.m_vMbrRes[i].x, b.m_vMbrRes[i].x);
        EXPECT_EQ(a.m_vMbrRes[i].M, b.m_vMbrRes[i].M);
        EXPECT_EQ(a.m_vMbrRes[i].V, b.m_vMbrRes[i].V);
        EXPECT_EQ(a.m_vMbrRes[i].R, b.m_vMbrRes[i].R);
        EXPECT_EQ(a.m_vMbrRes[i].D, b.m_vMbrRes[i].D);
    }
    EXPECT_EQ(a.m_vReactions, b.m_vReactions);
}

} // namespace

template <class Pair>
class BeamArchive : public ::testing::Test
{};

struct XmlPair
{
    using O = boost::archive::xml_oarchive;
    using I = boost::archive::xml_iarchive;
};
struct TextPair
{
    using O = boost::archive::text_oarchive;
    using I = boost::archive::text_iarchive;
};
struct BinaryPair
{
    using O = boost::archive::binary_oarchive;
    using I = boost::archive::binary_iarchive;
};
using ArchiveKinds = ::testing::Types<XmlPair, TextPair, BinaryPair>;
TYPED_TEST_SUITE(BeamArchive, ArchiveKinds);

TYPED_TEST(BeamArchive, BeamByValueAndPointer)
{
    CBeam beam = MakeBridgeBeam({10.0, 20.0});
    beam.m_vR[3] = 2.5e7; // a spring
    CBeam back = RoundTrip<typename TypeParam::O, typename TypeParam::I>(beam);
    ExpectSameBeam(beam, back);

    auto p = std::make_shared<CBeam>(beam);
    auto q = RoundTrip<typename TypeParam::O, typename TypeParam::I>(p);
    ASSERT_TRUE(q);
    ExpectSameBeam(beam, *q);
}

TYPED_TEST(BeamArchive, ResultsByPointer)
{
    auto res = MakeResults();
    auto back = RoundTrip<typename TypeParam::O, typename TypeParam::I>(res);
    ASSERT_TRUE(back);
    ExpectSameResults(*res, *back);
}

TYPED_TEST(BeamArchive, SharedBeamStaysShared)
{
    // Two results of one solver share one beam; the archive tracks it.
    CBeam beam = MakeBridgeBeam({8.0});
    CLoadUDL udl(0, 1.0);
    CBeamSolver solver(beam, 4);
    std::vector<std::shared_ptr<CBeamResults>> v{solver.Solve({&udl}), solver.Solve({&udl})};
    ASSERT_EQ(v[0]->GetBeam(), v[1]->GetBeam());
    auto back = RoundTrip<typename TypeParam::O, typename TypeParam::I>(v);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->GetBeam(), back[1]->GetBeam());
    ExpectSameResults(*v[1], *back[1]);
}

TEST(BeamArchiveXml, ItemNames)
{
    auto res = MakeResults();
    std::string xml;
    RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(res, &xml);
    for (const char* item : {"<m_pBeam", "<m_vMbrRes", "<m_vReactions", "<m_nSpans", "<m_nRestraints", "<m_Length",
                             "<m_vL", "<m_vEI", "<m_vR", "<x", "<M", "<V", "<R", "<D"})
        EXPECT_NE(xml.find(item), std::string::npos) << item;
    EXPECT_NE(xml.find("version=\"0\""), std::string::npos);
}

TEST(BeamArchiveXml, ExportKeys)
{
    EXPECT_STREQ(boost::serialization::guid<CBeam>(), "CBeam");
    EXPECT_STREQ(boost::serialization::guid<CBeamResults>(), "CBeamResults");
}
