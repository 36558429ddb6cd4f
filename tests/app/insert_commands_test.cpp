// The Insert menu of a case, driven as the engineer uses it: standard bridge sets, library entries through
// the parameters dialog (spacings, allowance, HB units), a cancelled dialog, values the library cannot
// take, and every entry of the menu in one case.
#include "app_support.h"

#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/LibraryDialogs.h"
#include "res/Resource.h"
#include "ui/dialogs/LMEParametersDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using qor::test::DrivenDialogs;

void ClickItem(CWnd& dlg, UINT id) { qor::test::Click(dlg.GetDlgItem(static_cast<int>(id)), CPoint(3, 3)); }

class InsertCommands : public qor::test::RunningCase
{
protected:
    // The last ensemble of the case, after one more was expected.
    const CLoadModelEnsemble& Inserted(size_t expectedCount)
    {
        EXPECT_EQ(doc->m_vLoadModelEnsemble.size(), expectedCount);
        return *doc->m_vLoadModelEnsemble.back();
    }
};

TEST_F(InsertCommands, StandardBridgeSetsTakeTheNextIdsAndHoldFiftyBridges)
{
    DrivenDialogs driven; // no dialog may appear
    qor::test::SendMenuCommand(ID_INSERT_BRIDGES_ALL);
    qor::test::SendMenuCommand(ID_INSERT_BRIDGES_2SPAN);
    ASSERT_EQ(doc->m_vBridgeSet.size(), 4u);
    const wchar_t* names[] = {L"1:1:50m 1-span", L"1:1:50m 2-span", L"1:1:50m 3-span", L"1:1:50m 2-span"};
    const int configs[] = {1, 2, 3, 2};
    for (size_t i = 0; i < 4; ++i)
    {
        const CBridgeSet& set = *doc->m_vBridgeSet[i];
        EXPECT_EQ(set.m_ID, static_cast<int>(i) + 1);
        EXPECT_EQ(set.GetDescription(), names[i]);
        EXPECT_EQ(set.m_Config, configs[i]);
        EXPECT_TRUE(set.m_bIsEditable);
        ASSERT_EQ(set.GetBridgeCount(), 50);
        const auto spans = set.GetSpanLengths();
        for (size_t k = 0; k < spans.size(); ++k) EXPECT_DOUBLE_EQ(spans[k], 1.0 + static_cast<double>(k));
    }
    EXPECT_EQ(doc->m_nBridgeSetID, 4);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(driven.Shown().empty());
}

TEST_F(InsertCommands, LibraryEntriesFollowTheParametersDialog)
{
    DrivenDialogs driven;
    // "All A26" with the codes' own allowance: the spacing and HB controls have nothing to do.
    driven.ThenAs<CLMEParametersDlg>([](CLMEParametersDlg& dlg) { qor::test::PressOK(dlg); });
    qor::test::SendMenuCommand(ID_INSERT_A26_ALL);
    const CLoadModelEnsemble& a26 = Inserted(1);
    EXPECT_EQ(a26.GetDescription(), L"A26");
    EXPECT_EQ(a26.m_ID, 100);
    EXPECT_EQ(a26.GetLoadModelCount(), 6);
    EXPECT_FALSE(a26.m_bIsEditable);
    EXPECT_TRUE(doc->m_vLoadModel.empty()); // the models live only in their ensemble
    EXPECT_EQ(doc->m_nLMEID, 0);
    EXPECT_TRUE(doc->IsModified());

    // T44 of NAASRA 1976 by ten values, with the user's allowance of 1.25 for every truck.
    driven.ThenAs<CLMEParametersDlg>([](CLMEParametersDlg& dlg) {
        dlg.SetDlgItemText(IDC_LMEP_COUNT, L"10");
        ClickItem(dlg, IDC_LMEP_USER_DLA);
        EXPECT_TRUE(dlg.GetDlgItem(IDC_LMEP_DLA)->IsWindowEnabled());
        dlg.SetDlgItemText(IDC_LMEP_DLA, L"1.25");
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_INSERT_NAASRA1976_T44);
    const CLoadModelEnsemble& t44 = Inserted(2);
    EXPECT_EQ(t44.GetDescription(), L"NAASRA 1976-T44");
    ASSERT_EQ(t44.GetLoadModelCount(), 10);
    for (int k = 0; k < 10; ++k)
    {
        const CLoadModel& truck = *t44.GetLoadModel(k);
        EXPECT_EQ(truck.m_ID, 411 + k);
        EXPECT_DOUBLE_EQ(truck.m_gDLA.value, 1.25);
        EXPECT_FALSE(truck.m_bAdjustToBridge); // the user's value replaces the span rule
    }
    EXPECT_EQ(t44.GetLoadModel(0)->GetDescription(), L"T44 truck: S = 3.000");
    EXPECT_EQ(t44.GetLoadModel(9)->GetDescription(), L"T44 truck: S = 8.000");
    EXPECT_FALSE(doc->m_LMEFactory.m_bUseStandardDLA);
    EXPECT_DOUBLE_EQ(doc->m_LMEFactory.m_DLA, 1.25);

    // The next showing starts afresh: the codes' allowance, and a step of 1 m gives S = 3, 4, ... 8.
    driven.ThenAs<CLMEParametersDlg>([](CLMEParametersDlg& dlg) {
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_LMEP_STANDARD_DLA), 1u);
        EXPECT_FALSE(dlg.GetDlgItem(IDC_LMEP_DLA)->IsWindowEnabled());
        ClickItem(dlg, IDC_LMEP_BY_STEP);
        EXPECT_TRUE(dlg.GetDlgItem(IDC_LMEP_STEP)->IsWindowEnabled());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_LMEP_COUNT)->IsWindowEnabled());
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_INSERT_ABDC1992_T44);
    const CLoadModelEnsemble& abdc = Inserted(3);
    ASSERT_EQ(abdc.GetLoadModelCount(), 6);
    EXPECT_EQ(abdc.GetLoadModel(5)->GetDescription(), L"T44 truck: S = 8.000");
    EXPECT_TRUE(abdc.GetLoadModel(0)->m_bAdjustToBridge);
    EXPECT_EQ(abdc.GetLoadModel(0)->m_lmBridge, CLoadModel::LM_ABDC_DLA);
    EXPECT_TRUE(doc->m_LMEFactory.m_bUseStandardDLA);
    EXPECT_DOUBLE_EQ(doc->m_LMEFactory.m_DLA, 1.25); // kept for the next user's value

    // Cancel leaves the case, its modified flag and the factory as they were.
    doc->SetModifiedFlag(FALSE);
    driven.ThenAs<CLMEParametersDlg>([](CLMEParametersDlg& dlg) {
        ClickItem(dlg, IDC_LMEP_USER_DLA);
        dlg.SetDlgItemText(IDC_LMEP_DLA, L"2.0");
        qor::test::PressCancel(dlg);
    });
    qor::test::SendMenuCommand(ID_INSERT_AASHTO_HL93);
    EXPECT_EQ(doc->m_vLoadModelEnsemble.size(), 3u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->m_LMEFactory.m_bUseStandardDLA);
    EXPECT_DOUBLE_EQ(doc->m_LMEFactory.m_DLA, 1.25);
    EXPECT_EQ(driven.Pending(), 0u);
}

TEST_F(InsertCommands, ValuesTheLibraryCannotTakeAreRefusedAndNothingIsInserted)
{
    qor::test::ScriptedMessageBoxes boxes;
    DrivenDialogs driven;
    // A step of zero keeps the dialog open with a message; the engineer then cancels.
    driven.ThenAs<CLMEParametersDlg>([&boxes](CLMEParametersDlg& dlg) {
        ClickItem(dlg, IDC_LMEP_BY_STEP);
        dlg.SetDlgItemText(IDC_LMEP_STEP, L"0");
        qor::test::PressOK(dlg);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, L"The step distance must be greater than zero.");
        EXPECT_TRUE(dlg.IsWindowVisible());
        ClickItem(dlg, IDC_LMEP_USER_DLA);
        dlg.SetDlgItemText(IDC_LMEP_STEP, L"1");
        dlg.SetDlgItemText(IDC_LMEP_DLA, L"0");
        qor::test::PressOK(dlg); // an allowance of zero is refused too
        EXPECT_EQ(boxes.Shown().size(), 2u);
        qor::test::PressCancel(dlg);
    });
    qor::test::SendMenuCommand(ID_INSERT_AS5100_M1600);
    // More than a thousand values by number, and a step too fine for the entry's range.
    driven.ThenAs<CLMEParametersDlg>([&boxes](CLMEParametersDlg& dlg) {
        dlg.SetDlgItemText(IDC_LMEP_COUNT, L"5000");
        qor::test::PressOK(dlg);
        EXPECT_EQ(boxes.Shown().size(), 3u);
        ClickItem(dlg, IDC_LMEP_BY_STEP);
        dlg.SetDlgItemText(IDC_LMEP_STEP, L"0.001");
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_INSERT_NAASRA1976_SAV);
    ASSERT_EQ(boxes.Shown().size(), 4u);
    EXPECT_EQ(boxes.Shown()[3].text, L"The command could not be carried out; the case is as it was.\n"
                                     L"Too many spacing values: at most 1000 are allowed.");
    EXPECT_TRUE(doc->m_vLoadModelEnsemble.empty());
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(InsertCommands, EveryEntryOfTheMenuFillsOneCase)
{
    DrivenDialogs driven;
    int entries = 0;
    for (UINT id = ID_INSERT_FIRST; id <= ID_INSERT_LAST; ++id)
    {
        if (id >= ID_INSERT_BRIDGES_1SPAN && id <= ID_INSERT_BRIDGES_ALL) continue;
        // An id of the range that no menu item carries shows no dialog and leaves its step for the next.
        if (driven.Pending() == 0)
            driven.ThenAs<CLMEParametersDlg>([](CLMEParametersDlg& dlg) { qor::test::PressOK(dlg); });
        const size_t before = doc->m_vLoadModelEnsemble.size();
        qor::test::SendMenuCommand(id);
        if (doc->m_vLoadModelEnsemble.size() == before) continue;
        ++entries;
        EXPECT_GT(doc->m_vLoadModelEnsemble.back()->GetLoadModelCount(), 0) << id;
    }
    EXPECT_EQ(entries, 47);
    // The ten families each gave their whole ensemble.
    int families = 0;
    for (const auto& lme : doc->m_vLoadModelEnsemble)
        for (const wchar_t* name : {L"A26", L"A36", L"NAASRA 1970", L"NAASRA 1976", L"ABDC 1992", L"ABAG", L"AS5100",
                                    L"Eurocode", L"BS5400", L"AASHTO"})
            families += lme->GetDescription() == name && lme->m_ID % 100 == 0 ? 1 : 0;
    // The HB units asked for (45 by default) reach the HB vehicles: 10 kN per unit on each axle.
    for (const auto& lme : doc->m_vLoadModelEnsemble)
    {
        if (lme->GetDescription() == L"BS5400 HAHB")
        {
            EXPECT_DOUBLE_EQ(lme->GetLoadModel(0)->m_vPL.at(0).magnitude, 450.0);
        }
    }
    EXPECT_GE(families, 10);
}

} // namespace
