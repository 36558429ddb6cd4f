// The load-model sheet driven as a user works it: pages made when first shown, loads typed
// into the tables and rows added with Tab, the vehicle's spacings and totals, the factors'
// product, the length limits, and OK reaching only the pages that were opened.
#include "ui/dialogs/PropSheetLM.h"

#include "engine/model/LoadModel.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/frame/Menu.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"
#include "res/LoadModelDialogs.h"
#include "tests/ui/dialogs/dialogs_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

enum Page : int
{
    OVERVIEW,
    VEHICLE,
    UDLS,
    PARTIAL_UDLS,
    FACTORS,
    APPLICABILITY
};

// A sheet on the model, run modally with the step given.
int RunSheet(const std::shared_ptr<CLoadModel>& model, std::function<void(CPropSheetLM&)> step)
{
    qor::test::EnsureGuiApplication();
    qor::test::DrivenDialogs driven;
    driven.ThenAs<CPropSheetLM>(std::move(step));
    CPropSheetLM sheet;
    sheet.SetLoadModel(model);
    return static_cast<int>(sheet.DoModal());
}

void PressTab(CGridCtrl& grid, int row, int col)
{
    grid.SetFocus();
    grid.SetFocusCell(row, col);
    qor::test::KeyPress(&grid, VK_TAB, L'\t');
}

CNumericEdit* NumericEdit(CWnd& sheet, int id)
{
    return dynamic_cast<CNumericEdit*>(qor::test::FindControl(sheet, id));
}

} // namespace

TEST(LoadModelSheet, LoadTablesFromEmptyAreWrittenIntoTheModelAndOkReachesOnlyOpenedPages)
{
    auto model = std::make_shared<CLoadModel>(1, L"Load model");
    const int result = RunSheet(model, [&](CPropSheetLM& sheet) {
        // Only the first page exists until another is shown.
        EXPECT_NE(sheet.GetOverviewPage().GetSafeHwnd(), nullptr);
        EXPECT_EQ(sheet.GetUDLPage().GetSafeHwnd(), nullptr);

        ASSERT_TRUE(sheet.SetActivePage(UDLS));
        CGridCtrl& udls = sheet.GetUDLPage().GetGrid();
        ASSERT_EQ(udls.GetRowCount(), 2); // the header and one empty row to type into
        EXPECT_EQ(udls.GetItemText(1, 0), L"1");
        udls.EditCellText(1, 1, L"5");
        ASSERT_EQ(model->m_vUDL.size(), 1u);
        EXPECT_DOUBLE_EQ(model->m_vUDL[0].magnitude, 5.0);
        EXPECT_DOUBLE_EQ(model->m_vUDL[0].gamma, 1.0);
        NumericEdit(sheet, IDC_LM_UDL_FACTOR)->SetValue(1.5);

        // Tab in an empty partial-load table: both rows become loads, the new one numbered.
        ASSERT_TRUE(sheet.SetActivePage(PARTIAL_UDLS));
        EXPECT_DOUBLE_EQ(model->m_GammaUDL, 1.5);
        EXPECT_DOUBLE_EQ(model->m_vUDL[0].gamma, 1.5);
        CGridCtrl& partial = sheet.GetPartialUDLPage().GetGrid();
        PressTab(partial, 1, 3);
        ASSERT_EQ(partial.GetRowCount(), 3);
        EXPECT_EQ(partial.GetItemText(2, 0), L"2");
        EXPECT_NE(dynamic_cast<CGridCellNumeric*>(partial.GetCell(2, 1)), nullptr);
        ASSERT_EQ(model->m_vPUDL.size(), 2u);
        // "Start" moves the load and nothing else.
        partial.EditCellText(2, 1, L"10");
        partial.EditCellText(2, 2, L"-2.5");
        EXPECT_DOUBLE_EQ(model->m_vPUDL[1].magnitude, 10.0);
        EXPECT_DOUBLE_EQ(model->m_vPUDL[1].location, -2.5);
        EXPECT_DOUBLE_EQ(model->m_vPUDL[1].cover, 0.0);
        // A value pasted two rows down brings the loads up to it.
        partial.SetRowCount(5);
        partial.EditCellText(4, 3, L"3");
        ASSERT_EQ(model->m_vPUDL.size(), 4u);
        EXPECT_DOUBLE_EQ(model->m_vPUDL[3].cover, 3.0);

        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_EQ(result, IDOK);
    // The vehicle page never opened: its clean-up of zero loads did not run.
    EXPECT_EQ(model->m_vPUDL.size(), 4u);
}

TEST(LoadModelSheet, ANegativeCoverOrAxleWidthIsRefusedNamingTheRange)
{
    auto model = std::make_shared<CLoadModel>(7, L"Patch");
    model->AddPartialUDL(10.0, 0.0, 4.0);
    qor::test::ScriptedMessageBoxes boxes;
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(PARTIAL_UDLS));
        CGridCtrl& grid = sheet.GetPartialUDLPage().GetGrid();
        // Taken as it stands, the load would act upwards over the 5 m behind its start.
        grid.EditCellText(1, 3, L"-5");
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, CString(L"The cover must be from 0 m to 1,000 m."));
        EXPECT_DOUBLE_EQ(model->m_vPUDL[0].cover, 4.0);
        EXPECT_DOUBLE_EQ(dynamic_cast<CGridCellNumeric*>(grid.GetCell(1, 3))->GetNumber(), 4.0);
        // A start behind the reference point is a place, not a direction: it stays allowed.
        grid.EditCellText(1, 2, L"-5");
        EXPECT_DOUBLE_EQ(model->m_vPUDL[0].location, -5.0);
        EXPECT_EQ(boxes.Shown().size(), 1u);

        ASSERT_TRUE(sheet.SetActivePage(VEHICLE));
        CGridCtrl& axles = sheet.GetVehiclePage().GetGrid();
        axles.EditCellText(1, 1, L"10");
        axles.EditCellText(1, 3, L"2.5");
        axles.EditCellText(1, 3, L"-2.5");
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[1].text, CString(L"The axle width must be from 0 m to 1,000 m."));
        ASSERT_EQ(model->m_vPL.size(), 1u);
        EXPECT_DOUBLE_EQ(model->m_vPL[0].width, 2.5);
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_DOUBLE_EQ(model->m_vPUDL[0].cover, 4.0);
}

TEST(LoadModelSheet, ModelOfUniformLoadsOpensStationary)
{
    auto model = std::make_shared<CLoadModel>(2, L"Lane");
    model->AddUDL(9.0);
    model->m_bIsMoving = true;
    const int result = RunSheet(model, [](CPropSheetLM& sheet) {
        EXPECT_TRUE(sheet.GetOverviewPage().IsDlgButtonChecked(IDC_LM_STATIONARY));
        EXPECT_FALSE(sheet.GetOverviewPage().IsDlgButtonChecked(IDC_LM_MOVING));
        qor::test::PressCancel(sheet);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(model->m_bIsMoving);
    EXPECT_EQ(model->m_Description, L"Lane"); // filling the page wrote nothing back
}

TEST(LoadModelSheet, VehicleSpacingsFrontAxleTotalsDeletionAndZeroAxlesOnOk)
{
    auto model = std::make_shared<CLoadModel>(3, L"Truck");
    model->AddPointLoad(50.0, 0.0, 2.0);
    model->AddPointLoad(100.0, -1.2, 2.0);
    model->AddPointLoad(1e-7, -5.0, 2.0);
    model->AddPointLoad(1e-5, -6.0, 2.0);
    qor::test::ScriptedMessageBoxes boxes;
    qor::gui::PopupMenuDriver previous = qor::gui::SetPopupMenuDriver(
        [](const std::vector<qor::gui::PopupMenuRow>&, CPoint) { return ID_GRID_DELETE_ROW; });
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(VEHICLE));
        CPropPageLMVehicle& page = sheet.GetVehiclePage();
        CGridCtrl& grid = page.GetGrid();
        const std::vector<double> spacings{0.0, 1.2, 3.8, 1.0};
        ASSERT_EQ(page.GetSpacings().size(), spacings.size());
        for (size_t i = 0; i < spacings.size(); ++i) EXPECT_NEAR(page.GetSpacings()[i], spacings[i], 1e-12);
        EXPECT_NEAR(page.GetTotalLength(), 6.0, 1e-12);

        grid.EditCellText(3, 2, L"4");
        EXPECT_NEAR(model->m_vPL[2].location, -5.2, 1e-12);
        EXPECT_NEAR(model->m_vPL[3].location, -6.2, 1e-12);
        EXPECT_NEAR(page.GetTotalLength(), 6.2, 1e-12);

        // The front axle moved by 2 m moves every axle with it.
        CNumericEdit* front = NumericEdit(sheet, IDC_LM_FRONT_AXLE);
        ASSERT_NE(front, nullptr);
        front->SetFocus();
        front->SetValue(2.0);
        grid.SetFocus();
        EXPECT_NEAR(model->m_vPL[0].location, 2.0, 1e-12);
        EXPECT_NEAR(model->m_vPL[1].location, 0.8, 1e-12);
        EXPECT_NEAR(model->m_vPL[2].location, -3.2, 1e-12);

        // Deleting row 2 takes its axle and spacing; the total weight drops by its load.
        boxes.Answer(IDYES);
        CRect cell;
        ASSERT_TRUE(grid.GetCellRect(2, 1, &cell));
        qor::test::Click(&grid, cell.CenterPoint(), VK_RBUTTON);
        ASSERT_EQ(model->m_vPL.size(), 3u);
        EXPECT_EQ(page.GetSpacings().size(), 3u);
        EXPECT_NEAR(page.GetTotalWeight(), 50.0 + 1e-7 + 1e-5, 1e-9);
        EXPECT_EQ(grid.GetItemText(3, 0), L"3");

        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    qor::gui::SetPopupMenuDriver(previous);
    // A weight below a millionth is no axle.
    ASSERT_EQ(model->m_vPL.size(), 2u);
    EXPECT_DOUBLE_EQ(model->m_vPL[1].magnitude, 1e-5);
}

TEST(LoadModelSheet, AFirstSpacingFoldedIntoTheFrontAxleLeavesTheAxlesWhereTheyStand)
{
    auto model = std::make_shared<CLoadModel>(5, L"Truck");
    model->AddPointLoad(50.0, 0.0, 2.0);
    model->AddPointLoad(100.0, -1.2, 2.0);
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(VEHICLE));
        CPropPageLMVehicle& page = sheet.GetVehiclePage();
        CGridCtrl& grid = page.GetGrid();
        grid.EditCellText(1, 2, L"0.5");
        EXPECT_NEAR(model->m_vPL[0].location, -0.5, 1e-12);
        EXPECT_NEAR(model->m_vPL[1].location, -1.7, 1e-12);

        // Passing through the front-axle edit folds the spacing into it; nothing moves.
        CNumericEdit* front = NumericEdit(sheet, IDC_LM_FRONT_AXLE);
        ASSERT_NE(front, nullptr);
        front->SetFocus();
        grid.SetFocus();
        EXPECT_NEAR(front->GetValue(), -0.5, 1e-12);
        EXPECT_NEAR(page.GetSpacings()[0], 0.0, 1e-12);
        EXPECT_NEAR(model->m_vPL[0].location, -0.5, 1e-12);
        EXPECT_NEAR(model->m_vPL[1].location, -1.7, 1e-12);

        // A later edit reads the front axle back from the edit: the vehicle stays put.
        grid.EditCellText(2, 1, L"120");
        EXPECT_NEAR(model->m_vPL[0].location, -0.5, 1e-12);
        EXPECT_NEAR(model->m_vPL[1].location, -1.7, 1e-12);
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_NEAR(model->m_vPL[1].location, -1.7, 1e-12);
}

TEST(LoadModelSheet, StoredNumbersFinerThanTheEditsShowAreNotRoundedByOpeningThePages)
{
    auto model = std::make_shared<CLoadModel>(6, L"Stored");
    model->AddPointLoad(10.0, -0.12345, 2.0);
    model->AddPointLoad(20.0, -1.5, 2.0);
    model->AddUDL(5.0);
    model->m_GammaPL = model->m_GammaUDL = 1.234;
    model->m_vPL[0].gamma = model->m_vPL[1].gamma = model->m_vUDL[0].gamma = 1.234;
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(VEHICLE));
        // An unrelated edit reads the front axle and the factor back from their edits.
        sheet.GetVehiclePage().GetGrid().EditCellText(2, 1, L"25");
        ASSERT_TRUE(sheet.SetActivePage(UDLS));
        ASSERT_TRUE(sheet.SetActivePage(VEHICLE));
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_DOUBLE_EQ(model->m_vPL[0].location, -0.12345);
    EXPECT_DOUBLE_EQ(model->m_vPL[1].location, -1.5);
    EXPECT_DOUBLE_EQ(model->m_GammaPL, 1.234);
    EXPECT_DOUBLE_EQ(model->m_vPL[1].gamma, 1.234);
    EXPECT_DOUBLE_EQ(model->m_GammaUDL, 1.234);
    EXPECT_DOUBLE_EQ(model->m_vUDL[0].gamma, 1.234);

    // A factor typed is taken as shown.
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(UDLS));
        NumericEdit(sheet, IDC_LM_UDL_FACTOR)->SetValue(1.5);
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_DOUBLE_EQ(model->m_GammaUDL, 1.5);
}

TEST(LoadModelSheet, FactorsMultiplyIntoGammaAndLengthLimitsAreKeptOnOk)
{
    auto model = std::make_shared<CLoadModel>(4, L"Factored");
    model->SetDefaultFactors();
    model->m_gDLA.value = 1.3;
    model->m_gUnits.value = 9.81;
    model->m_bUseMaxL = true;
    model->m_maxL = 50.0;
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(FACTORS));
        CGridCtrl& grid = sheet.GetFactorsPage().GetGrid();
        EXPECT_EQ(grid.GetItemText(2, 1), L"Live load factor");
        grid.EditCellText(2, 2, L"1.5");
        EXPECT_NEAR(model->m_Gamma, 19.1295, 1e-12);
        CString shown;
        qor::test::FindControl(sheet, IDC_LM_OVERALL_FACTOR)->GetWindowText(shown);
        EXPECT_EQ(shown, L"19.1295");
        // The four factors are all the table holds.
        PressTab(grid, 4, 2);
        EXPECT_EQ(grid.GetRowCount(), 5);

        ASSERT_TRUE(sheet.SetActivePage(APPLICABILITY));
        EXPECT_TRUE(sheet.GetApplicabilityPage().IsDlgButtonChecked(IDC_LM_USE_MAX));
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_TRUE(model->m_bUseMaxL);
    EXPECT_DOUBLE_EQ(model->m_maxL, 50.0);
    EXPECT_FALSE(model->m_bUseMinL);
    EXPECT_DOUBLE_EQ(model->m_minL, 0.0);
}

TEST(LoadModelSheet, LengthLimitsTypedAreStoredWhicheverPageComesNext)
{
    auto model = std::make_shared<CLoadModel>(5, L"Truck");
    model->AddPointLoad(100.0, 0.0, 0.0);
    ASSERT_EQ(RunSheet(model,
                       [&](CPropSheetLM& sheet) {
                           ASSERT_TRUE(sheet.SetActivePage(APPLICABILITY));
                           CPropPageLMApplicable& page = sheet.GetApplicabilityPage();
                           qor::test::Click(page.GetDlgItem(IDC_LM_USE_MAX), CPoint(3, 3));
                           qor::test::Click(page.GetDlgItem(IDC_LM_USE_MIN), CPoint(3, 3));
                           qor::test::TypeKeys(page, IDC_LM_MAX_LENGTH, L"40");
                           qor::test::TypeKeys(page, IDC_LM_MIN_LENGTH, L"7.5\t");
                           // Left for another page, never to come back before OK.
                           ASSERT_TRUE(sheet.SetActivePage(FACTORS));
                           EXPECT_TRUE(qor::test::PressOK(sheet));
                       }),
              IDOK);
    EXPECT_TRUE(model->m_bUseMaxL);
    EXPECT_DOUBLE_EQ(model->m_maxL, 40.0);
    EXPECT_TRUE(model->m_bUseMinL);
    EXPECT_DOUBLE_EQ(model->m_minL, 7.5);
}

TEST(LoadModelSheet, VehicleTotalsFollowTheSpacingsAfterADeletionAndANewRow)
{
    auto model = std::make_shared<CLoadModel>(6, L"Semi");
    model->AddPointLoad(50.0, 0.0, 2.0);
    model->AddPointLoad(100.0, -1.2, 2.0);
    model->AddPointLoad(80.0, -5.2, 2.0);
    qor::test::ScriptedMessageBoxes boxes;
    qor::gui::PopupMenuDriver previous = qor::gui::SetPopupMenuDriver(
        [](const std::vector<qor::gui::PopupMenuRow>&, CPoint) { return ID_GRID_DELETE_ROW; });
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(VEHICLE));
        CPropPageLMVehicle& page = sheet.GetVehiclePage();
        CGridCtrl& grid = page.GetGrid();
        auto shownLength = [&] {
            CString text;
            qor::test::FindControl(sheet, IDC_LM_TOTAL_LENGTH)->GetWindowText(text);
            return text;
        };
        EXPECT_EQ(shownLength(), L"5.20");
        // Row 2 deleted: the third axle keeps its 4 m spacing, now behind the first.
        boxes.Answer(IDYES);
        CRect cell;
        ASSERT_TRUE(grid.GetCellRect(2, 1, &cell));
        qor::test::Click(&grid, cell.CenterPoint(), VK_RBUTTON);
        ASSERT_EQ(model->m_vPL.size(), 2u);
        EXPECT_DOUBLE_EQ(model->m_vPL[1].location, -4.0);
        EXPECT_EQ(shownLength(), L"4.00");
        ASSERT_TRUE(sheet.SetActivePage(FACTORS));
        ASSERT_TRUE(sheet.SetActivePage(VEHICLE));
        EXPECT_EQ(shownLength(), L"4.00");

        // Tab from the last cell: a new axle right behind the last, spacing and width 0.
        PressTab(grid, 2, 3);
        ASSERT_EQ(grid.GetRowCount(), 4);
        EXPECT_EQ(grid.GetItemText(3, 2).ToUtf8(), "0.00");
        EXPECT_EQ(grid.GetItemText(3, 3).ToUtf8(), "0.00");
        ASSERT_EQ(model->m_vPL.size(), 3u);
        EXPECT_DOUBLE_EQ(model->m_vPL[2].location, -4.0);
        EXPECT_EQ(shownLength(), L"4.00");
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    qor::gui::SetPopupMenuDriver(previous);
    ASSERT_EQ(model->m_vPL.size(), 2u); // the axle left without a weight is no axle
    EXPECT_DOUBLE_EQ(model->m_vPL[1].location, -4.0);
}

TEST(LoadModelSheet, ALibraryModelsPagesAreShownReadOnly)
{
    for (bool editable : {false, true})
    {
        auto model = std::make_shared<CLoadModel>(7, L"T44");
        model->AddPointLoad(50.0, 0.0, 0.0);
        model->SetDefaultFactors();
        model->m_bIsEditable = editable;
        RunSheet(model, [&](CPropSheetLM& sheet) {
            const auto enabled = [&](int page, UINT id) {
                EXPECT_TRUE(sheet.SetActivePage(page));
                CWnd* control = qor::test::FindControl(sheet, static_cast<int>(id));
                EXPECT_NE(control, nullptr) << id;
                return control && control->IsWindowEnabled();
            };
            EXPECT_EQ(enabled(OVERVIEW, IDC_LM_DESCRIPTION), editable);
            EXPECT_EQ(enabled(VEHICLE, IDC_LM_PL_FACTOR), editable);
            EXPECT_EQ(enabled(FACTORS, IDC_LM_GRID), editable);
            EXPECT_EQ(enabled(APPLICABILITY, IDC_LM_USE_MAX), editable);
            EXPECT_EQ(enabled(APPLICABILITY, IDC_LM_USE_BM), editable);
            EXPECT_EQ(enabled(APPLICABILITY, IDC_LM_RULE), editable);
            EXPECT_TRUE(qor::test::PressOK(sheet));
        });
    }
}
