// The parameters dialog of the library entries: which controls each kind of entry enables and the values
// every showing starts from.
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"
#include "res/LibraryDialogs.h"
#include "tests/ui/dialogs/dialogs_support.h"
#include "ui/dialogs/LMEParametersDlg.h"

#include <gtest/gtest.h>

namespace {

using qor::test::DrivenDialogs;

bool Enabled(CWnd& dlg, UINT id) { return dlg.GetDlgItem(static_cast<int>(id))->IsWindowEnabled() != FALSE; }

TEST(LMEParametersDlg, EachKindOfEntryEnablesItsOwnControlsAndStartsFromTheDefaults)
{
    qor::test::EnsureGuiApplication();
    struct Case
    {
        bool spacing, hb;
    };
    for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}})
    {
        DrivenDialogs driven;
        driven.ThenAs<CLMEParametersDlg>([c](CLMEParametersDlg& dlg) {
            for (UINT id : {IDC_LMEP_BY_STEP, IDC_LMEP_BY_COUNT, IDC_LMEP_COUNT, IDC_LMEP_COUNT_UNIT})
                EXPECT_EQ(Enabled(dlg, id), c.spacing) << id;
            EXPECT_FALSE(Enabled(dlg, IDC_LMEP_STEP)); // by number until the engineer switches
            EXPECT_FALSE(Enabled(dlg, IDC_LMEP_STEP_UNIT));
            EXPECT_EQ(Enabled(dlg, IDC_LMEP_HB_LABEL), c.hb);
            EXPECT_EQ(Enabled(dlg, IDC_LMEP_HB_UNITS), c.hb);
            EXPECT_TRUE(Enabled(dlg, IDC_LMEP_STANDARD_DLA));
            EXPECT_FALSE(Enabled(dlg, IDC_LMEP_DLA));
            EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_LMEP_STANDARD_DLA), 1u);
            qor::test::PressOK(dlg);
        });
        CLMEParametersDlg dlg;
        dlg.m_bSpacingEnabled = c.spacing;
        dlg.m_bHBEnabled = c.hb;
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_FALSE(dlg.m_bByStep);
        EXPECT_DOUBLE_EQ(dlg.m_StepDistance, 1.0);
        EXPECT_EQ(dlg.m_nValues, 10);
        EXPECT_TRUE(dlg.m_bUseStandardDLA);
        EXPECT_DOUBLE_EQ(dlg.m_DLA, 1.3);
        EXPECT_EQ(dlg.m_nHBUnits, 45);
        EXPECT_EQ(driven.Shown().back(), L"LME Parameters");
    }
}

TEST(LMEParametersDlg, FewerThanTwoSpacingValuesAreRefusedAsGenerateLMERefusesThem)
{
    qor::test::EnsureGuiApplication();
    qor::test::ScriptedMessageBoxes boxes;
    DrivenDialogs driven;
    driven.ThenAs<CLMEParametersDlg>([&](CLMEParametersDlg& dlg) {
        for (const wchar_t* count : {L"1", L"0"})
        {
            qor::test::TypeKeys(dlg, IDC_LMEP_COUNT, count);
            qor::test::PressOK(dlg);
            EXPECT_NE(dlg.GetSafeHwnd(), nullptr) << "still open after " << CString(count).ToUtf8();
        }
        qor::test::TypeKeys(dlg, IDC_LMEP_COUNT, L"2");
        qor::test::PressOK(dlg);
    });
    CLMEParametersDlg dlg;
    dlg.m_bSpacingEnabled = true;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nValues, 2);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    for (const auto& box : boxes.Shown()) EXPECT_EQ(box.text, L"The number of spacing values must be at least 2.");
}

} // namespace
