// Reference collections: the order of their reference sets, the stepping they write back,
// all-or-nothing calculation, critical ratios, the comparison used by the edit command, the
// proposed load and the list helpers.
#include "engine/analysis/ReferenceCollection.h"

#include "engine/analysis/ReferenceSet.h"
#include "refset_test_helpers.h"

using namespace reftest;

namespace {

class Collection : public ::testing::Test
{
protected:
    PointsPerSpan points{20};
    std::shared_ptr<CReferenceCollection> coll =
        std::make_shared<CReferenceCollection>(2, CString(L"Network"), false, 10, 1.0);
};

TEST_F(Collection, DefaultsAndConstructor)
{
    CReferenceCollection def;
    EXPECT_EQ(def.m_ID, 0);
    EXPECT_EQ(def.m_Description, CString(L"Ref Collection"));
    EXPECT_EQ(def.m_ElementType, 16);
    EXPECT_TRUE(def.m_bIsEditable);
    EXPECT_FALSE(def.m_bByStep);
    EXPECT_DOUBLE_EQ(def.m_StepSize, 1.0);
    EXPECT_EQ(def.m_nStepPoints, 0);
    EXPECT_DOUBLE_EQ(def.m_OverstressFactor, 1.4);
    EXPECT_DOUBLE_EQ(def.m_Multiplier, 1.0);
    ASSERT_TRUE(def.m_pPropLME);
    EXPECT_EQ(def.m_pPropLME->m_ID, 0);
    EXPECT_EQ(def.m_pPropLME->m_Description, CString(L"Proposed"));

    EXPECT_EQ(coll->m_ID, 2);
    EXPECT_EQ(coll->m_Description, CString(L"Network"));
    EXPECT_EQ(coll->m_nStepPoints, 10);
}

TEST_F(Collection, SetsAreOrderedEnsembleMajor)
{
    auto e1 = Ensemble({Udl(10.0)}, L"E1");
    auto e2 = Ensemble({Udl(20.0)}, L"E2");
    auto b1 = Spans(10.0, 11.0, 2, 1, L"B1");
    auto b2 = Spans(12.0, 13.0, 2, 1, L"B2");
    auto b3 = Spans(14.0, 15.0, 2, 2, L"B3");
    coll->m_vLME = {e1, e2};
    coll->m_vBS = {b1, b2, b3};

    ASSERT_TRUE(coll->Calculate());
    EXPECT_TRUE(coll->m_bIsCalculated);
    ASSERT_EQ(coll->m_nRefSets, 6);
    ASSERT_EQ(coll->GetRefSets().size(), 6u);
    const std::shared_ptr<CLoadModelEnsemble> lmes[] = {e1, e1, e1, e2, e2, e2};
    const std::shared_ptr<CBridgeSet> sets[] = {b1, b2, b3, b1, b2, b3};
    for (unsigned k = 0; k < 6; ++k)
    {
        auto set = coll->GetRefSet(k);
        ASSERT_TRUE(set);
        EXPECT_EQ(set->GetRefLME(), lmes[k]) << k;
        EXPECT_EQ(set->GetBridgeSet(), sets[k]) << k;
        EXPECT_TRUE(set->m_bIsCalculated);
    }
    // Set 4 is E2 on B2: 20 kN/m on 12 m gives 20 x 144 / 8 = 360 kNm.
    EXPECT_NEAR(coll->GetRefSet(4)->GetRefCritValues()->GetResults(0).GetBM().first.val, 360.0, 1e-6);
    // One past the last set is an empty pointer, not an error.
    EXPECT_FALSE(coll->GetRefSet(6));
}

TEST_F(Collection, SteppingIsWrittenBackFromTheLastLiveLoadRun)
{
    auto truck = Truck({{100.0, 0.0}});
    coll->m_vLME = {Ensemble({truck}, L"E1"), Ensemble({truck}, L"E2")};
    // The last run is E2 over the last bridge set, whose last bridge (8 m) is not the longest.
    coll->m_vBS = {Spans(10.0, 30.0), Spans(5.0, 8.0)};
    coll->m_bUseOverstress = true;

    coll->m_bByStep = false;
    coll->m_nStepPoints = 10;
    coll->m_StepSize = 99.0;
    ASSERT_TRUE(coll->Calculate());
    EXPECT_DOUBLE_EQ(coll->m_StepSize, 0.8); // 8 m / 10
    EXPECT_EQ(coll->m_nStepPoints, 10);

    coll->m_bByStep = true;
    coll->m_StepSize = 0.5;
    coll->m_nStepPoints = 0;
    ASSERT_TRUE(coll->Calculate());
    EXPECT_EQ(coll->m_nStepPoints, 18); // ceil(8 / 0.5 + 0.5) + 1
    EXPECT_DOUBLE_EQ(coll->m_StepSize, 0.5);
}

TEST_F(Collection, NothingToRunReturnsFalseAndChangesNothing)
{
    auto e = Ensemble({Udl(10.0)});
    auto b = Spans(10.0, 12.0);
    coll->m_vLME = {e};
    coll->m_vBS = {b};
    ASSERT_TRUE(coll->Calculate());
    const auto before = coll->GetRefSets();

    auto expectUnchanged = [&] {
        EXPECT_FALSE(coll->Calculate());
        EXPECT_TRUE(coll->m_bIsCalculated);
        EXPECT_EQ(coll->GetRefSets(), before);
        EXPECT_EQ(coll->m_nRefSets, 1);
    };
    coll->m_vBS.clear();
    expectUnchanged();
    coll->m_vBS = {b};
    coll->m_vLME.clear();
    expectUnchanged();
    coll->m_vLME = {e, Ensemble({}, L"Empty")};
    expectUnchanged();
    coll->m_vLME = {e};
    coll->m_vBS = {b, Spans(10.0, 10.0, 1)}; // generates no bridges
    expectUnchanged();
    coll->m_vBS = {b, nullptr};
    expectUnchanged();

    CReferenceCollection fresh;
    EXPECT_FALSE(fresh.Calculate());
    EXPECT_FALSE(fresh.m_bIsCalculated);
}

TEST_F(Collection, AFailedCalculationKeepsThePreviousResultsWhole)
{
    auto udl = Ensemble({Udl(16.0)}, L"UDL");
    coll->m_vLME = {udl};
    coll->m_vBS = {Spans(12.0, 12.0)};
    coll->m_bByStep = true;
    coll->m_StepSize = 1.0;
    ASSERT_TRUE(coll->Calculate());
    coll->SetProposedLME(Ensemble({Udl(8.0)}));
    ASSERT_TRUE(coll->CalculateRatios(1.0));
    const auto sets = coll->GetRefSets();
    const auto ratios = coll->GetCritRatios();
    const int steps = coll->m_nStepPoints;

    // The uniform load is analysed once whatever the step; the truck's step is far too small,
    // so the second ensemble is refused before either runs.
    coll->m_vLME = {udl, Ensemble({Truck({{100.0, 0.0}})}, L"Truck")};
    coll->m_StepSize = 1e-6;
    EXPECT_EQ(ThrownText([&] { coll->Calculate(); }).rfind("Step size too small: too many load positions", 0), 0u);

    EXPECT_TRUE(coll->m_bIsCalculated);
    EXPECT_EQ(coll->GetRefSets(), sets);
    EXPECT_EQ(coll->m_nRefSets, 1);
    EXPECT_EQ(coll->GetCritRatios(), ratios);
    EXPECT_TRUE(coll->m_bRatiosCalculated);
    EXPECT_EQ(coll->m_nStepPoints, steps);
}

TEST_F(Collection, AStepLongerThanABridgeOfTheSetIsRefusedWithThatBridgesLength)
{
    // A collection's step comes from its file as it stands: 15 m cannot step over a 10 m bridge.
    coll->m_vLME = {Ensemble({Truck({{100.0, 0.0}, {100.0, -4.0}})}, L"Truck")};
    coll->m_vBS = {Spans(10.0, 40.0, 4)};
    coll->m_bByStep = true;
    coll->m_StepSize = 15.0;
    EXPECT_EQ(ThrownText([&] { coll->Calculate(); }),
              "The step of 15 m is longer than the bridge (10 m long): a moving load needs a step of at most 10 m, "
              "so that at least two of its positions stand on the bridge.");
    EXPECT_FALSE(coll->m_bIsCalculated);
    coll->m_StepSize = 2.0;
    EXPECT_TRUE(coll->Calculate());
}

TEST_F(Collection, CalculatingAgainClearsTheRatios)
{
    coll->m_vLME = {Ensemble({Udl(16.0)})};
    coll->m_vBS = {Spans(12.0, 12.0)};
    ASSERT_TRUE(coll->Calculate());
    coll->SetProposedLoadModel(Udl(16.0, L"Same"));
    ASSERT_TRUE(coll->CalculateRatios(1.0));
    ASSERT_EQ(coll->GetCritRatios().size(), 1u);
    ASSERT_TRUE(coll->Calculate());
    EXPECT_TRUE(coll->GetCritRatios().empty());
    EXPECT_FALSE(coll->m_bRatiosCalculated);
}

TEST_F(Collection, CriticalRatiosWithOverstress)
{
    coll->m_vLME = {Ensemble({Udl(16.0)}, L"E1"), Ensemble({Udl(32.0)}, L"E2")};
    coll->m_vBS = {Spans(12.0, 12.0)};
    coll->m_bUseOverstress = true;
    ASSERT_TRUE(coll->Calculate());

    coll->SetProposedLoadModel(Udl(16.0, L"Lane"));
    ASSERT_TRUE(coll->CalculateRatios(1.0));
    EXPECT_TRUE(coll->m_bRatiosCalculated);
    EXPECT_DOUBLE_EQ(coll->m_Multiplier, 1.0);
    const auto ratios = coll->GetCritRatios();
    ASSERT_EQ(ratios.size(), 2u);
    // E1: 288 / (1.4 x 288 + 0.4 x 288); E2: 288 / (1.4 x 576 + 0.4 x 288) = 288 / 921.6.
    EXPECT_NEAR(ratios[0]->GetResults(0).GetBM().first.ratio, 1.0 / 1.8, 1e-9);
    EXPECT_NEAR(ratios[1]->GetResults(1).GetBM().first.ratio, 288.0 / 921.6, 1e-9);
    EXPECT_NEAR(ratios[1]->GetResults(1).GetReaction(0).first.ratio, 96.0 / 307.2, 1e-9);
    EXPECT_TRUE(coll->GetRefSet(0)->m_bUseLM);
    EXPECT_TRUE(coll->GetRefSet(1)->m_bIsRatioCalculated);

    ASSERT_TRUE(coll->CalculateRatios(0.5));
    EXPECT_DOUBLE_EQ(coll->m_Multiplier, 0.5);
    EXPECT_NEAR(coll->GetCritRatios()[0]->GetResults(0).GetBM().first.ratio, 2.0 / 1.8, 1e-9);
}

TEST_F(Collection, RatiosNeedAProposedLoadModel)
{
    coll->m_vLME = {Ensemble({Udl(16.0)})};
    coll->m_vBS = {Spans(12.0, 12.0)};
    ASSERT_TRUE(coll->Calculate());
    // The default "Proposed" ensemble is empty.
    EXPECT_FALSE(coll->CalculateRatios(2.0));
    coll->SetProposedLME(nullptr);
    EXPECT_FALSE(coll->CalculateRatios(2.0));
    coll->SetProposedLoadModel(nullptr);
    EXPECT_FALSE(coll->CalculateRatios(2.0));
    EXPECT_FALSE(coll->m_bRatiosCalculated);
    EXPECT_DOUBLE_EQ(coll->m_Multiplier, 1.0);
    EXPECT_FALSE(coll->GetRefSet(0)->m_bIsRatioCalculated);

    // Not calculated: nothing to rate, which is no failure.
    CReferenceCollection fresh;
    fresh.SetProposedLoadModel(Udl(1.0));
    EXPECT_TRUE(fresh.CalculateRatios(1.0));
    EXPECT_TRUE(fresh.GetCritRatios().empty());
}

TEST_F(Collection, RatiosFailAndKeepTheFormerOnesWhenABridgeSetWasEdited)
{
    auto b1 = Spans(12.0, 12.0, 2, 1, L"B1");
    auto b2 = Spans(10.0, 14.0, 2, 1, L"B2");
    coll->m_vLME = {Ensemble({Udl(16.0)})};
    coll->m_vBS = {b1, b2};
    ASSERT_TRUE(coll->Calculate());
    auto first = Ensemble({Udl(8.0)}, L"First");
    coll->SetProposedLME(first);
    ASSERT_TRUE(coll->CalculateRatios(1.0));
    const auto ratios = coll->GetCritRatios();

    *b2 = CBridgeSet(1, CString(L"B2"), 2, 1, 20.0, 24.0); // edited after the reference
    coll->SetProposedLME(Ensemble({Udl(4.0)}, L"Second"));
    EXPECT_FALSE(coll->CalculateRatios(3.0));

    EXPECT_EQ(coll->GetCritRatios(), ratios);
    EXPECT_DOUBLE_EQ(coll->m_Multiplier, 1.0);
    // The first set, which did run, is back to the proposed data of the stored ratios.
    EXPECT_EQ(coll->GetRefSet(0)->GetPropLME(), first);
    EXPECT_NEAR(coll->GetRefSet(0)->GetPropCritValues()->GetResults(0).GetBM().first.val, 144.0, 1e-6);
}

TEST_F(Collection, ClearResults)
{
    coll->m_vLME = {Ensemble({Udl(16.0)})};
    coll->m_vBS = {Spans(12.0, 12.0)};
    ASSERT_TRUE(coll->Calculate());
    coll->SetProposedLoadModel(Udl(16.0));
    ASSERT_TRUE(coll->CalculateRatios(1.0));
    coll->ClearResults();
    EXPECT_FALSE(coll->m_bIsCalculated);
    EXPECT_FALSE(coll->m_bRatiosCalculated);
    EXPECT_EQ(coll->m_nRefSets, 0);
    EXPECT_TRUE(coll->GetRefSets().empty());
    EXPECT_TRUE(coll->GetCritRatios().empty());
    EXPECT_FALSE(coll->GetRefSet(0));
    EXPECT_EQ(coll->m_vLME.size(), 1u); // the lists stay
}

TEST(CollectionProposed, SingleModelGetsAnEnsembleOfItsOwn)
{
    CReferenceCollection coll;
    auto docLME = Ensemble({Udl(1.0, L"A"), Udl(2.0, L"B")}, L"Document LME");
    coll.SetProposedLME(docLME);
    EXPECT_FALSE(coll.m_bUseSingleLM);
    EXPECT_EQ(coll.m_pPropLME, docLME);
    EXPECT_EQ(coll.GetProposedName(), CString(L"Document LME"));

    auto lm = Udl(3.0, L"Heavy vehicle");
    coll.SetProposedLoadModel(lm);
    EXPECT_TRUE(coll.m_bUseSingleLM);
    ASSERT_NE(coll.m_pPropLME, docLME);
    EXPECT_EQ(coll.m_pPropLME->m_ID, 0);
    EXPECT_EQ(coll.m_pPropLME->m_Description, CString(L"Proposed"));
    ASSERT_EQ(coll.m_pPropLME->GetLoadModelCount(), 1);
    EXPECT_EQ(coll.m_pPropLME->GetLoadModel(0), lm);
    EXPECT_EQ(coll.GetProposedName(), CString(L"Heavy vehicle"));
    // The document's ensemble is untouched.
    EXPECT_EQ(docLME->GetLoadModelCount(), 2);
    EXPECT_EQ(docLME->m_Description, CString(L"Document LME"));

    // A second model replaces the first rather than joining it.
    coll.SetProposedLoadModel(Udl(4.0, L"Other"));
    EXPECT_EQ(coll.m_pPropLME->GetLoadModelCount(), 1);
}

TEST(CollectionDiffers, ComparesSteppingFlagsListsByObjectAndOverstress)
{
    auto e = Ensemble({Udl(1.0)});
    auto b = Spans(10.0, 20.0);
    auto a = std::make_shared<CReferenceCollection>(1, CString(L"A"), true, 5, 0.5);
    a->m_vLME = {e};
    a->m_vBS = {b};

    auto same = [&] { return std::make_shared<CReferenceCollection>(*a); };
    EXPECT_FALSE(a->DiffersFrom(same()));
    EXPECT_TRUE(a->DiffersFrom(nullptr));

    auto c = same();
    c->m_bByStep = false;
    EXPECT_TRUE(a->DiffersFrom(c));
    c = same();
    c->m_StepSize = 0.5000001;
    EXPECT_TRUE(a->DiffersFrom(c));
    c = same();
    c->m_nStepPoints = 6;
    EXPECT_TRUE(a->DiffersFrom(c));
    c = same();
    c->m_bIsCalculated = true;
    EXPECT_TRUE(a->DiffersFrom(c));
    c = same();
    c->m_vLME = {std::make_shared<CLoadModelEnsemble>(*e)}; // equal content, another object
    EXPECT_TRUE(a->DiffersFrom(c));
    c = same();
    c->m_vBS.push_back(b);
    EXPECT_TRUE(a->DiffersFrom(c));
    c = same();
    c->m_bUseOverstress = true;
    EXPECT_TRUE(a->DiffersFrom(c));
    c = same();
    c->m_OverstressFactor = 1.5;
    EXPECT_TRUE(a->DiffersFrom(c));

    // Description, ratio data and the proposed load are not compared.
    c = same();
    c->m_Description = L"Renamed";
    c->m_Multiplier = 3.0;
    c->m_bRatiosCalculated = true;
    c->SetProposedLoadModel(Udl(2.0));
    EXPECT_FALSE(a->DiffersFrom(c));
}

TEST(CollectionLists, ContainsAndRemoveMatchBySetContentAndModelIdentity)
{
    CReferenceCollection coll;
    auto b = Spans(10.0, 20.0, 3, 2);
    coll.m_vBS = {Spans(5.0, 6.0), b};

    EXPECT_TRUE(coll.ContainsBridgeSet(b));
    auto copy = std::make_shared<CBridgeSet>(*b); // shares the generated bridges
    EXPECT_TRUE(coll.ContainsBridgeSet(copy));
    // Same numbers, newly generated bridges: not the same set.
    EXPECT_FALSE(coll.ContainsBridgeSet(Spans(10.0, 20.0, 3, 2)));
    auto other = std::make_shared<CBridgeSet>(*b);
    other->m_Config = 3;
    EXPECT_FALSE(coll.ContainsBridgeSet(other));
    EXPECT_FALSE(coll.ContainsBridgeSet(nullptr));

    coll.RemoveBridgeSet(Spans(10.0, 20.0, 3, 2));
    EXPECT_EQ(coll.m_vBS.size(), 2u);
    coll.RemoveBridgeSet(copy);
    ASSERT_EQ(coll.m_vBS.size(), 1u);
    EXPECT_NE(coll.m_vBS[0], b);

    auto lm1 = Udl(1.0);
    auto lm2 = Udl(2.0);
    auto e = Ensemble({lm1, lm2});
    coll.m_vLME = {Ensemble({lm1}), e};
    EXPECT_TRUE(coll.ContainsLME(Ensemble({lm1, lm2}, L"Another name")));
    EXPECT_FALSE(coll.ContainsLME(Ensemble({lm2, lm1})));
    EXPECT_FALSE(coll.ContainsLME(Ensemble({Udl(1.0), Udl(2.0)})));
    coll.RemoveLME(Ensemble({lm2, lm1}));
    EXPECT_EQ(coll.m_vLME.size(), 2u);
    coll.RemoveLME(Ensemble({lm1, lm2}));
    ASSERT_EQ(coll.m_vLME.size(), 1u);
    EXPECT_EQ(coll.m_vLME[0]->GetLoadModel(0), lm1);
}

} // namespace
