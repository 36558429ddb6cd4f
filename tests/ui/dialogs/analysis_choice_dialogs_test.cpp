// The analysis choice dialogs and the reference collection dialog, driven as the engineer
// uses them: lists, choices, stepping, the multiplier and the ticks of the check lists.
#include "dialogs_support.h"

#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"
#include "res/AnalysisDialogs.h"
#include "ui/dialogs/CompareEnvelopesDlg.h"
#include "ui/dialogs/CritRatioRefCollDlg.h"
#include "ui/dialogs/MovingLoadDlg.h"
#include "ui/dialogs/RefCollectionDlg.h"
#include "ui/dialogs/SinglePositionDlg.h"
#include "ui/dialogs/ViewRefCollectionDlg.h"

#include <gtest/gtest.h>

namespace {

using qor::test::DrivenDialogs;

CString Text(CWnd& dlg, UINT id)
{
    CString s;
    dlg.GetDlgItemText(static_cast<int>(id), s);
    return s;
}
CListBox& List(CWnd& dlg, UINT id) { return *static_cast<CListBox*>(dlg.GetDlgItem(static_cast<int>(id))); }
CString Line(CWnd& dlg, UINT id, int k)
{
    CString s;
    List(dlg, id).GetText(k, s);
    return s;
}

class AnalysisChoiceDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qor::test::EnsureGuiApplication();
        bridges = {std::make_shared<CBridge>(3, L"Short", 1, 10.0), std::make_shared<CBridge>(7, L"Twin", 2, 20.0)};
        models = {std::make_shared<CLoadModel>(1, L"T44"), std::make_shared<CLoadModel>(4, L"SM1600"),
                  std::make_shared<CLoadModel>(9, L"HLP320")};
        ensembles = {std::make_shared<CLoadModelEnsemble>(2, L"Austroads")};
        bridgeSets = {std::make_shared<CBridgeSet>(1, L"Single 5-50", 10, 1, 5.0, 50.0),
                      std::make_shared<CBridgeSet>(2, L"Twin 5-50", 10, 2, 5.0, 50.0)};
        ensembles.push_back(std::make_shared<CLoadModelEnsemble>(5, L"Legal"));
        ensembles[0]->m_vLoadModel = {models[0], models[1]};
        ensembles[1]->m_vLoadModel = {models[2]};
    }
    std::vector<std::shared_ptr<CBridge>> bridges;
    std::vector<std::shared_ptr<CLoadModel>> models;
    std::vector<std::shared_ptr<CLoadModelEnsemble>> ensembles;
    std::vector<std::shared_ptr<CBridgeSet>> bridgeSets;
};

TEST_F(AnalysisChoiceDialogs, ListsShowIdAndNameWithTheFirstLineChosenAndOkUntouchedGivesIndexZero)
{
    DrivenDialogs driven;
    driven.ThenAs<CSinglePositionDlg>([](CSinglePositionDlg& dlg) {
        EXPECT_EQ(Line(dlg, IDC_LIST_BRIDGE, 1), L"7 - Twin");
        EXPECT_EQ(Line(dlg, IDC_LIST_LOADMODEL, 2), L"9 - HLP320");
        EXPECT_EQ(List(dlg, IDC_LIST_BRIDGE).GetCurSel(), 0);
        EXPECT_EQ(List(dlg, IDC_LIST_LOADMODEL).GetCurSel(), 0);
        qor::test::PressOK(dlg);
    });
    CSinglePositionDlg single;
    single.m_vBridge = bridges;
    single.m_vLoadModel = models;
    ASSERT_EQ(single.DoModal(), IDOK);
    EXPECT_EQ(single.m_nBridgeIndex, 0);
    EXPECT_EQ(single.m_nLoadModelIndex, 0);

    driven.ThenAs<CSinglePositionDlg>([](CSinglePositionDlg& dlg) {
        qor::test::PickLine(dlg, IDC_LIST_BRIDGE, 1);
        qor::test::PickLine(dlg, IDC_LIST_LOADMODEL, 2);
        dlg.SetDlgItemText(IDC_EDIT_POSITION, L"4.5");
        qor::test::PressOK(dlg);
    });
    ASSERT_EQ(single.DoModal(), IDOK);
    EXPECT_EQ(single.m_nBridgeIndex, 1);
    EXPECT_EQ(single.m_nLoadModelIndex, 2);
    EXPECT_DOUBLE_EQ(single.m_Position, 4.5);

    // An empty list leaves its index at 0; the picker shows nothing chosen.
    driven.ThenAs<CViewRefCollectionDlg>([](CViewRefCollectionDlg& dlg) {
        EXPECT_EQ(List(dlg, IDC_LIST_REFCOLLECTION).GetCount(), 0);
        qor::test::PressOK(dlg);
    });
    CViewRefCollectionDlg view;
    EXPECT_EQ(view.DoModal(), IDOK);
    EXPECT_EQ(view.m_nRefCollectionIndex, 0);
    EXPECT_EQ(driven.Shown().back(), L"View Reference Collection");
}

TEST_F(AnalysisChoiceDialogs, MovingLoadSwitchesModelKindAndSteppingAndRefusesABadStep)
{
    qor::test::ScriptedMessageBoxes boxes;
    DrivenDialogs driven;
    driven.ThenAs<CMovingLoadDlg>([](CMovingLoadDlg& dlg) {
        // By count as the document said: the count edit is live, the step edit is not.
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_RADIO_BY_COUNT), 1u);
        EXPECT_FALSE(dlg.GetDlgItem(IDC_EDIT_STEP)->IsWindowEnabled());
        EXPECT_TRUE(dlg.GetDlgItem(IDC_EDIT_NSTEPS)->IsWindowEnabled());
        EXPECT_EQ(Text(dlg, IDC_EDIT_NSTEPS), L"25");
        EXPECT_FALSE(List(dlg, IDC_LIST_LME).IsWindowEnabled());

        qor::test::PickLine(dlg, IDC_LIST_LOADMODEL, 1);
        qor::test::Click(dlg.GetDlgItem(IDC_RADIO_USE_LME), CPoint(3, 3));
        EXPECT_EQ(List(dlg, IDC_LIST_LOADMODEL).GetCurSel(), LB_ERR); // shown selection cleared
        EXPECT_TRUE(List(dlg, IDC_LIST_LME).IsWindowEnabled());
        qor::test::PickLine(dlg, IDC_LIST_LME, 1);

        qor::test::Click(dlg.GetDlgItem(IDC_RADIO_BY_STEP), CPoint(3, 3));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_EDIT_STEP)->IsWindowEnabled());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_EDIT_NSTEPS)->IsWindowEnabled());
        qor::test::Click(dlg.GetDlgItem(IDC_CHECK_DISPLAY_EACH), CPoint(3, 3));
        dlg.SetDlgItemText(IDC_EDIT_STEP, L"0");
        qor::test::PressOK(dlg); // refused: the dialog stays open
        EXPECT_TRUE(dlg.GetSafeHwnd() != nullptr);
        dlg.SetDlgItemText(IDC_EDIT_STEP, L"0.25");
        qor::test::PressOK(dlg);
    });
    CMovingLoadDlg dlg;
    dlg.m_vBridge = bridges;
    dlg.m_vLoadModel = models;
    dlg.m_vLoadModelEnsemble = ensembles;
    dlg.m_bByStep = false;
    dlg.m_StepSize = 0.5;
    dlg.m_nSteps = 25;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, L"The step distance must be above 0.001 m and at most 1,000 m.");
    EXPECT_FALSE(dlg.m_bUseLoadModel);
    EXPECT_EQ(dlg.m_nLoadModelIndex, 1); // kept though no longer shown
    EXPECT_EQ(dlg.m_nLMEIndex, 1);
    EXPECT_TRUE(dlg.m_bByStep);
    EXPECT_DOUBLE_EQ(dlg.m_StepSize, 0.25);
    EXPECT_EQ(dlg.m_nSteps, 25);
    EXPECT_TRUE(dlg.m_bDisplayEach);
}

TEST_F(AnalysisChoiceDialogs, MultiplierShowsTheFactorDecimalsAndIsRefusedWhenNotPositive)
{
    qor::test::ScriptedMessageBoxes boxes;
    auto collection = std::make_shared<CReferenceCollection>(1, L"Network", false, 20, 0.5);
    DrivenDialogs driven;
    driven.ThenAs<CCritRatioRefCollDlg>([](CCritRatioRefCollDlg& dlg) {
        EXPECT_EQ(Text(dlg, IDC_EDIT_MULTIPLIER), L"1.250");
        EXPECT_EQ(Line(dlg, IDC_LIST_REFCOLLECTION, 0), L"1 - Network");
        qor::test::PressOK(dlg);
    });
    CCritRatioRefCollDlg dlg;
    dlg.m_vLoadModel = models;
    dlg.m_vLoadModelEnsemble = ensembles;
    dlg.m_vRefCollection = {collection};
    dlg.m_Multiplier = 1.25;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_Multiplier, 1.25); // not disturbed while the dialog filled its edit
    EXPECT_TRUE(dlg.m_bUseLoadModel);
    EXPECT_EQ(dlg.m_nRefCollectionIndex, 0);

    driven.ThenAs<CCritRatioRefCollDlg>([](CCritRatioRefCollDlg& d) {
        d.SetDlgItemText(IDC_EDIT_MULTIPLIER, L"0");
        qor::test::PressOK(d);
        EXPECT_TRUE(d.GetSafeHwnd() != nullptr);
        qor::test::PressCancel(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, L"The global multiplier must be from 0.01 to 100.");
    EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION))
        << "the icon of every refused entry";
}

TEST_F(AnalysisChoiceDialogs, MultiplierHoldsTheNumberWrittenOrRefusesTheText)
{
    qor::test::ScriptedMessageBoxes boxes;
    auto collection = std::make_shared<CReferenceCollection>(1, L"Network", false, 20, 0.5);
    CCritRatioRefCollDlg dlg;
    dlg.m_vLoadModel = models;
    dlg.m_vLoadModelEnsemble = ensembles;
    dlg.m_vRefCollection = {collection};
    dlg.m_Multiplier = 1.0;
    DrivenDialogs driven;
    driven.ThenAs<CCritRatioRefCollDlg>([](CCritRatioRefCollDlg& d) {
        qor::test::TypeKeys(d, IDC_EDIT_MULTIPLIER, L"1.25");
        EXPECT_EQ(Text(d, IDC_EDIT_MULTIPLIER), L"1.250");
        // Texts that are no number are refused whole; the number typed stays.
        for (const wchar_t* text : {L"1,5", L"5e-324", L"1e6x"})
        {
            d.SetDlgItemText(IDC_EDIT_MULTIPLIER, text);
            EXPECT_EQ(Text(d, IDC_EDIT_MULTIPLIER), L"1.250");
        }
        ASSERT_TRUE(qor::SetClipboardText(L"1,5"));
        auto* edit = static_cast<CEdit*>(d.GetDlgItem(IDC_EDIT_MULTIPLIER));
        edit->SetSel(0, -1);
        edit->Paste();
        EXPECT_EQ(Text(d, IDC_EDIT_MULTIPLIER), L"1.250");
        qor::test::PressOK(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_Multiplier, 1.25);

    // An exponent is the number it writes.
    driven.ThenAs<CCritRatioRefCollDlg>([](CCritRatioRefCollDlg& d) {
        d.SetDlgItemText(IDC_EDIT_MULTIPLIER, L"2e0");
        qor::test::PressOK(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_Multiplier, 2.0);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(AnalysisChoiceDialogs, ReferenceCollectionTicksEditTheCollectionAndOkStoresTheRest)
{
    auto collection = std::make_shared<CReferenceCollection>(4, L"Network", false, 20, 0.5);
    // An equal bridge set made apart from the case's own is recognised.
    collection->m_vBS.push_back(std::make_shared<CBridgeSet>(*bridgeSets[1]));
    DrivenDialogs driven;
    driven.ThenAs<CRefCollectionDlg>([&](CRefCollectionDlg& dlg) {
        EXPECT_EQ(Text(dlg, IDC_EDIT_ID), L"4");
        EXPECT_EQ(Text(dlg, IDC_EDIT_DESCRIPTION), L"Network");
        EXPECT_EQ(dlg.m_lbBridgeSet.GetCheck(0), BST_UNCHECKED);
        EXPECT_EQ(dlg.m_lbBridgeSet.GetCheck(1), BST_CHECKED);
        EXPECT_FALSE(dlg.GetDlgItem(IDC_CHECK_CALCULATED)->IsWindowEnabled());
        EXPECT_EQ(Text(dlg, IDC_EDIT_OVERSTRESS_FACTOR), L"1.400");

        // A click on a box ticks the line whose box it is, whatever line was chosen.
        CRect r;
        dlg.m_lbBridgeSet.GetItemRect(0, &r);
        qor::test::Click(&dlg.m_lbBridgeSet, CPoint(r.left + 8, r.CenterPoint().y));
        EXPECT_EQ(dlg.m_lbBridgeSet.GetCheck(0), BST_CHECKED);
        EXPECT_EQ(collection->m_vBS.size(), 2u);
        EXPECT_EQ(collection->m_vBS.back(), bridgeSets[0]);
        // Unticking removes it; ticking again appends it at the end.
        dlg.m_lbBridgeSet.GetItemRect(1, &r);
        qor::test::Click(&dlg.m_lbBridgeSet, CPoint(r.left + 8, r.CenterPoint().y));
        EXPECT_EQ(dlg.m_lbBridgeSet.GetCheck(1), BST_UNCHECKED);
        ASSERT_EQ(collection->m_vBS.size(), 1u);
        EXPECT_EQ(collection->m_vBS[0], bridgeSets[0]);
        dlg.m_lbLME.GetItemRect(1, &r);
        qor::test::Click(&dlg.m_lbLME, CPoint(r.left + 8, r.CenterPoint().y));
        ASSERT_EQ(collection->m_vLME.size(), 1u);
        EXPECT_EQ(collection->m_vLME[0], ensembles[1]);

        qor::test::Click(dlg.GetDlgItem(IDC_RADIO_BY_STEP), CPoint(3, 3));
        dlg.SetDlgItemText(IDC_EDIT_STEP, L"0.75");
        dlg.SetDlgItemText(IDC_EDIT_DESCRIPTION, L"Network 2026");
        qor::test::Click(dlg.GetDlgItem(IDC_CHECK_OVERSTRESS), CPoint(3, 3));
        qor::test::PressOK(dlg);
    });
    CRefCollectionDlg dlg;
    dlg.SetRefCollection(collection);
    dlg.m_vBridgeSet = bridgeSets;
    dlg.m_vLoadModelEnsemble = ensembles;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(collection->m_Description, L"Network 2026");
    EXPECT_TRUE(collection->m_bByStep);
    EXPECT_DOUBLE_EQ(collection->m_StepSize, 0.75);
    EXPECT_EQ(collection->m_nStepPoints, 20);
    EXPECT_TRUE(collection->m_bUseOverstress);
    EXPECT_DOUBLE_EQ(collection->m_OverstressFactor, 1.4);
}

TEST_F(AnalysisChoiceDialogs, ReferenceCollectionKeepsAnOverstressFactorFinerThanItShows)
{
    auto collection = std::make_shared<CReferenceCollection>(4, L"Network", false, 20, 0.5);
    collection->m_bUseOverstress = true;
    collection->m_OverstressFactor = 1.4125;
    DrivenDialogs driven;
    driven.ThenAs<CRefCollectionDlg>([&](CRefCollectionDlg& dlg) {
        EXPECT_EQ(Text(dlg, IDC_EDIT_OVERSTRESS_FACTOR), L"1.413");
        // Only the description changes: the factor must not become the one shown.
        dlg.SetDlgItemText(IDC_EDIT_DESCRIPTION, L"Network 2026");
        qor::test::PressOK(dlg);
    });
    CRefCollectionDlg dlg;
    dlg.SetRefCollection(collection);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(collection->m_Description, L"Network 2026");
    EXPECT_DOUBLE_EQ(collection->m_OverstressFactor, 1.4125);
}

TEST_F(AnalysisChoiceDialogs, CompareEnvelopesCascadesFromCollectionToSetToBridge)
{
    qor::test::ScriptedMessageBoxes boxes;
    models[0]->AddPointLoad(100.0, 0.0, 0.0);
    models[1]->AddPointLoad(80.0, 0.0, 0.0);
    auto solved = std::make_shared<CReferenceCollection>(1, L"Solved", false, 10, 1.0);
    solved->m_vBS = {std::make_shared<CBridgeSet>(1, L"Short set", 3, 1, 10.0, 20.0), bridgeSets[1]};
    solved->m_vLME = {ensembles[0]};
    ASSERT_TRUE(solved->Calculate());
    solved->SetProposedLoadModel(models[1]);
    ASSERT_TRUE(solved->CalculateRatios(1.0));
    auto unsolved = std::make_shared<CReferenceCollection>(2, L"Unsolved", false, 10, 1.0);

    DrivenDialogs driven;
    driven.ThenAs<CCompareEnvelopesDlg>([](CCompareEnvelopesDlg& dlg) {
        EXPECT_EQ(List(dlg, IDC_LIST_REFSET).GetCount(), 2);
        EXPECT_EQ(Line(dlg, IDC_LIST_REFSET, 1), L"Reference set 2");
        // Bridges by their place in the set, whatever their ids.
        ASSERT_EQ(List(dlg, IDC_LIST_BRIDGE).GetCount(), 3);
        EXPECT_EQ(Line(dlg, IDC_LIST_BRIDGE, 0).Left(4), L"1 - ");
        EXPECT_EQ(Line(dlg, IDC_LIST_BRIDGE, 2).Left(4), L"3 - ");
        EXPECT_EQ(Text(dlg, IDC_EDIT_CMP_BRIDGESET), L"Short set");
        EXPECT_EQ(Text(dlg, IDC_EDIT_CMP_LME), L"Austroads");
        EXPECT_EQ(Text(dlg, IDC_EDIT_CMP_PROPOSED), L"SM1600"); // the single proposed model, not its ensemble
        qor::test::PickLine(dlg, IDC_LIST_REFSET, 1);
        EXPECT_EQ(List(dlg, IDC_LIST_BRIDGE).GetCount(), 10);
        EXPECT_EQ(Text(dlg, IDC_EDIT_CMP_BRIDGESET), L"Twin 5-50");
        qor::test::PickLine(dlg, IDC_LIST_BRIDGE, 4);
        qor::test::PressOK(dlg);
    });
    CCompareEnvelopesDlg dlg;
    dlg.m_vRefCollection = {solved, unsolved};
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nRefCollectionIndex, 0);
    EXPECT_EQ(dlg.m_nRefSetIndex, 1);
    EXPECT_EQ(dlg.m_nBridgeIndex, 4);
    EXPECT_TRUE(boxes.Shown().empty());

    driven.ThenAs<CCompareEnvelopesDlg>([](CCompareEnvelopesDlg& d) {
        qor::test::PickLine(d, IDC_LIST_REFCOLLECTION, 1);
        EXPECT_EQ(List(d, IDC_LIST_REFSET).GetCount(), 0);
        EXPECT_EQ(List(d, IDC_LIST_BRIDGE).GetCount(), 0);
        EXPECT_EQ(Text(d, IDC_EDIT_CMP_BRIDGESET), L"No bridge set");
        EXPECT_EQ(Text(d, IDC_EDIT_CMP_LME), L"No load model ensemble");
        EXPECT_EQ(Text(d, IDC_EDIT_CMP_PROPOSED), L"No Proposed vehicle");
        qor::test::PressCancel(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, L"This Reference Collection has not been solved - nothing to display.");
}

} // namespace
