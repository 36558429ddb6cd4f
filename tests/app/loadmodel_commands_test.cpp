// The load-model and ensemble commands of a case: the sheet and the ensemble dialog opened on a
// new element or a copy, Cancel and library elements storing nothing, OK appending or assigning.
#include "app_support.h"

#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/LoadModelEnsembleDlg.h"
#include "ui/dialogs/PropSheetLM.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using qor::test::DrivenDialogs;

void Rename(CWnd& dlg, LPCTSTR name) { qor::test::FindControl(dlg, IDC_LM_DESCRIPTION)->SetWindowText(name); }

using LoadModelCommands = qor::test::RunningCase;

} // namespace

TEST_F(LoadModelCommands, AddAndEditLoadModelKeepOnlyWhatOkConfirms)
{
    DrivenDialogs driven;
    driven.ThenAs<CPropSheetLM>([](CPropSheetLM& sheet) { qor::test::PressCancel(sheet); });
    driven.ThenAs<CPropSheetLM>([](CPropSheetLM& sheet) {
        CString id;
        qor::test::FindControl(sheet, IDC_LM_ID)->GetWindowText(id);
        EXPECT_EQ(id, L"1"); // the cancelled model took no id
        Rename(sheet, L"T44");
        qor::test::PressOK(sheet);
    });
    qor::test::SendMenuCommand(ID_CONFIGURATION_ADD_LOAD_MODEL);
    EXPECT_TRUE(doc->m_vLoadModel.empty());
    EXPECT_FALSE(doc->IsModified());
    qor::test::SendMenuCommand(ID_CONFIGURATION_ADD_LOAD_MODEL);
    ASSERT_EQ(doc->m_vLoadModel.size(), 1u);
    const auto model = doc->m_vLoadModel[0];
    EXPECT_EQ(model->m_ID, 1);
    EXPECT_EQ(model->m_Description, L"T44");
    EXPECT_TRUE(doc->IsModified());

    // A library model can be viewed, not changed; an editable one takes the edit.
    model->m_bIsEditable = false;
    driven.ThenAs<CPropSheetLM>([](CPropSheetLM& sheet) {
        Rename(sheet, L"T44 changed");
        qor::test::PressOK(sheet);
    });
    doc->EditLoadModel(false, model);
    EXPECT_EQ(model->m_Description, L"T44");
    model->m_bIsEditable = true;
    driven.ThenAs<CPropSheetLM>([](CPropSheetLM& sheet) {
        Rename(sheet, L"T44 changed");
        qor::test::PressOK(sheet);
    });
    doc->EditLoadModel(false, model);
    EXPECT_EQ(doc->m_vLoadModel[0], model);
    EXPECT_EQ(model->m_Description, L"T44 changed");
}

TEST_F(LoadModelCommands, AddAndEditEnsembleTakeTheDialogsNameAndList)
{
    doc->AddLoadModel(std::make_shared<CLoadModel>(1, L"T44"));
    doc->AddLoadModel(std::make_shared<CLoadModel>(2, L"B26-UDL"));
    DrivenDialogs driven;
    driven.ThenAs<CLoadModelEnsembleDlg>([](CLoadModelEnsembleDlg& dlg) {
        EXPECT_EQ(dlg.GetAvailableList().GetCount(), 2);
        Rename(dlg, L"Trucks");
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_CONFIGURATION_ADD_LME);
    ASSERT_EQ(doc->m_vLoadModelEnsemble.size(), 1u);
    const auto lme = doc->m_vLoadModelEnsemble[0];
    EXPECT_EQ(lme->m_ID, 1);
    EXPECT_EQ(lme->m_Description, L"Trucks");

    // Cancel leaves the stored ensemble as it was.
    driven.ThenAs<CLoadModelEnsembleDlg>([](CLoadModelEnsembleDlg& dlg) {
        Rename(dlg, L"Other");
        qor::test::PressCancel(dlg);
    });
    doc->EditLoadModelEnsemble(false, lme);
    EXPECT_EQ(lme->m_Description, L"Trucks");
    EXPECT_EQ(lme->GetLoadModelCount(), 0);
}
