// Workers against the window thread: a reference-collection run and a critical-ratio run, each
// overlapped again and again with what the engineer does meanwhile (a moving load of the same
// model, a bridge range and an ensemble's moving load on workers of their own, an edit of that
// model, File > Save, another points-per-span setting), and critical ratios met, as they start, by
// edits of every element they rate with while the window reads the stored reference they read.
// Every result must be the result of the same run with nothing overlapping it, to the last bit; run
// under ThreadSanitizer (make tsan) the overlaps must also leave no report.
#include "app_support.h"

#include "app/AnalysisJob.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/Envelope.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "output/AnalysisOutput.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

constexpr int kRounds = 4;

// The numbers of a collection run: every critical value of every reference set.
std::vector<std::vector<double>> ReferenceValues(const CReferenceCollection& collection)
{
    std::vector<std::vector<double>> values;
    for (const auto& set : collection.GetRefSets())
    {
        std::vector<double> max, min;
        const auto crit = set->GetRefCritValues();
        crit->GetBM(max, min);
        values.push_back(max);
        values.push_back(min);
        crit->GetSF(max, min);
        values.push_back(max);
        values.push_back(min);
        crit->GetReaction(0, max, min);
        values.push_back(max);
    }
    return values;
}

std::vector<std::vector<double>> Ratios(const CReferenceCollection& collection)
{
    std::vector<std::vector<double>> values;
    for (const auto& ratios : collection.GetCritRatios())
    {
        std::vector<double> max, min;
        ratios->GetBM(max, min);
        values.push_back(max);
        values.push_back(min);
        ratios->GetSF(max, min);
        values.push_back(max);
        values.push_back(min);
    }
    return values;
}

class AnalysisRace : public qor::test::RunningCase
{
protected:
    void SetUp() override
    {
        RunningCase::SetUp();
        if (HasFatalFailure()) return;
        m_previous = qor::SetMessageBoxHandler([](const qor::MessageBoxCall&) { return IDNO; });
        doc->m_Output.GRAPHS = doc->m_Output.TABLES = false; // no result windows: only the numbers
        doc->m_vBridgeSet = {std::make_shared<CBridgeSet>(1, L"One span 10-40", 4, 1, 10.0, 40.0),
                             std::make_shared<CBridgeSet>(2, L"Two span 10-40", 4, 2, 10.0, 40.0)};
        doc->m_vBridge = {std::make_shared<CBridge>(1, L"Twenty", 2, 20.0)};
        // The span rule adds an axle and sets the allowance for every bridge: a run that kept
        // what it changed in the case's model would give other numbers the next time.
        auto rated = std::make_shared<CLoadModel>(1, CString(L"Rated"));
        rated->AddPointLoad(80.0, 0.0, 0.0);
        rated->AddPointLoad(120.0, -3.5, 0.0);
        rated->m_bAdjustToBridge = true;
        rated->m_lmBridge = CLoadModel::LM_NAASRA_PL_DLA;
        auto tandem = std::make_shared<CLoadModel>(2, CString(L"Tandem"));
        tandem->AddPointLoad(60.0, 0.0, 0.0);
        tandem->AddPointLoad(60.0, -1.2, 0.0);
        doc->m_vLoadModel = {rated, tandem};
        auto ensemble = std::make_shared<CLoadModelEnsemble>(1, L"Trucks");
        for (const auto& model : doc->m_vLoadModel) ensemble->AddLoadModel(model);
        doc->m_vLoadModelEnsemble = {ensemble};
        collection = std::make_shared<CReferenceCollection>(1, L"Network", true, 0, 0.5);
        collection->m_vBS = doc->m_vBridgeSet;
        collection->m_vLME = doc->m_vLoadModelEnsemble;
        doc->m_vRefCollection = {collection};
        doc->m_nRefCollectionID = 1;
        m_file = std::filesystem::temp_directory_path() / ("qor-race-" + std::to_string(getpid()) + ".qor");
    }
    void TearDown() override
    {
        qor::SetMessageBoxHandler(m_previous);
        qor::test::Pump(50); // the span rules' status lines reach the log
        RunningCase::TearDown();
        CAnalysisJobs::WaitForWorkers();
        qor::test::Pump(50);
        std::filesystem::remove(m_file);
    }

    // A moving load of the rated model over the bridge on the window thread: its largest moment.
    double MovingLoadMoment()
    {
        doc->RunMovingLoad(true, 0, false, doc->m_vBridge[0], doc->m_vLoadModel[0], 0.5);
        EXPECT_NE(doc->m_pMLResults, nullptr);
        if (!doc->m_pMLResults) return 0.0;
        std::vector<double> max = doc->m_pMLResults->GetBMEnvelope()->GetValues(true);
        return *std::max_element(max.begin(), max.end());
    }

    // What the engineer does while a worker runs: the same model moved over a bridge here, an edit
    // of that model in its place (as Edit Load Model stores it), a save and another point count.
    void Meanwhile(double expectedMoment)
    {
        EXPECT_EQ(MovingLoadMoment(), expectedMoment);
        // Runs of the same model and ensemble on workers of their own.
        doc->StartBridgeRange(doc->m_vBridgeSet[1], doc->m_vLoadModel[0]);
        doc->StartMultiMovingLoad(true, 0, false, doc->m_vBridge[0], doc->m_vLoadModelEnsemble[0], 0.5);
        CLoadModel edited = *doc->m_vLoadModel[0];
        edited.m_gArbitrary.value = 2.0;
        edited.UpdateGamma();
        *doc->m_vLoadModel[0] = edited;
        EXPECT_TRUE(doc->DoSave(CString::FromUtf8(m_file.string()), FALSE));
        CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 40;
    }
    bool OthersBusy() const { return doc->m_bBusyBridgeRange || doc->m_bBusyMultiML; }

    // The edit and the setting undone, in place, once the worker has finished.
    void Undo()
    {
        CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 100;
        CLoadModel& model = *doc->m_vLoadModel[0];
        model.m_gArbitrary.value = 1.0;
        model.UpdateGamma();
    }

    std::shared_ptr<CReferenceCollection> collection;
    qor::MessageBoxHandler m_previous;
    std::filesystem::path m_file;
};

TEST_F(AnalysisRace, OverlappedRunsGiveTheNumbersOfTheRunAlone)
{
    CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 100;
    // The serial results, each run alone, the moving load before anything else had run.
    const double moment = MovingLoadMoment();
    EXPECT_GT(moment, 0.0);
    doc->StartRefCollection(collection);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyRefValues; }, 120000));
    ASSERT_TRUE(collection->m_bIsCalculated);
    const auto reference = ReferenceValues(*collection);
    ASSERT_EQ(reference.size(), 10u);
    collection->SetProposedLoadModel(doc->m_vLoadModel[0]);
    doc->StartCritRatios(collection);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyCritRatios; }, 120000));
    ASSERT_TRUE(collection->m_bRatiosCalculated);
    const auto ratios = Ratios(*collection);
    ASSERT_EQ(ratios.size(), 8u);
    // The runs left the case's model as it was: a moving load now gives what it gave first.
    EXPECT_EQ(MovingLoadMoment(), moment);
    EXPECT_EQ(doc->m_vLoadModel[0]->m_vPL.size(), 2u);

    for (int round = 0; round < kRounds; ++round)
    {
        SCOPED_TRACE(round);
        doc->StartRefCollection(collection);
        ASSERT_TRUE(doc->m_bBusyRefValues);
        Meanwhile(moment);
        ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyRefValues && !OthersBusy(); }, 120000));
        Undo();
        EXPECT_EQ(ReferenceValues(*collection), reference);

        collection->SetProposedLoadModel(doc->m_vLoadModel[0]);
        doc->StartCritRatios(collection);
        ASSERT_TRUE(doc->m_bBusyCritRatios);
        Meanwhile(moment);
        ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyCritRatios && !OthersBusy(); }, 120000));
        Undo();
        EXPECT_EQ(Ratios(*collection), ratios);
    }
    EXPECT_EQ(MovingLoadMoment(), moment);
}

TEST_F(AnalysisRace, EditsAsCriticalRatiosStartLeaveTheRunItsOwnInputs)
{
    CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 100;
    doc->StartRefCollection(collection);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyRefValues; }, 120000));
    ASSERT_TRUE(collection->m_bIsCalculated);
    collection->SetProposedLoadModel(doc->m_vLoadModel[1]);
    doc->StartCritRatios(collection);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyCritRatios; }, 120000));
    ASSERT_TRUE(collection->m_bRatiosCalculated);
    const auto ratios = Ratios(*collection);
    const auto reference = collection->GetRefSet(0)->m_vRefCritEnv;

    for (int round = 0; round < kRounds; ++round)
    {
        SCOPED_TRACE(round);
        const std::vector<std::shared_ptr<CBridgeSet>> sets = doc->m_vBridgeSet;
        const CBridgeSet setBefore = *sets[0];
        const CLoadModel modelBefore = *doc->m_vLoadModel[1];
        collection->SetProposedLoadModel(doc->m_vLoadModel[1]);
        doc->StartCritRatios(collection);
        ASSERT_TRUE(doc->m_bBusyCritRatios);

        // At once, while the worker starts: the bridge set, the proposed model and the collection
        // changed in their places as their dialogs store them, a bridge set removed from the case...
        *sets[0] = CBridgeSet(1, L"Edited", 3, 2, 12.0, 42.0);
        CLoadModel heavier = modelBefore;
        heavier.AddPointLoad(40.0, -5.0, 0.0);
        *doc->m_vLoadModel[1] = heavier;
        CReferenceCollection renamed = *collection;
        renamed.m_Description = L"Renamed";
        *collection = renamed;
        EXPECT_TRUE(doc->RemoveElement(sets[1]));
        // ... and the stored reference the worker reads, read here as its windows and a save read it.
        double sum = 0.0;
        for (const auto& set : collection->GetRefSets())
            for (const auto& results : set->m_vRefCritEnv)
                for (const auto& env : results->GetEnvReactions())
                    for (const PointLoadEffect& effect : env->m_vMax) sum += effect.val;
        EXPECT_GT(sum, 0.0);
        EXPECT_TRUE(doc->DoSave(CString::FromUtf8(m_file.string()), FALSE));
        ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyCritRatios; }, 120000));

        // The run rated with what the case held as it started; the reference it read is the case's still.
        EXPECT_EQ(Ratios(*collection), ratios);
        EXPECT_EQ(collection->GetRefSet(0)->m_vRefCritEnv, reference);
        *sets[0] = setBefore;
        *doc->m_vLoadModel[1] = modelBefore;
        doc->m_vBridgeSet = sets;
        sets[1]->m_ID = 2;
    }
}

} // namespace
