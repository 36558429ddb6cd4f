// Tools > Generate LME from LM through the case and its dialog: axles made variable in the grid, spacings
// by number and by distance, the product of two ranges, and every range the dialog refuses at OK.
#include "dialogs_support.h"
#include "tests/app/app_support.h"

#include "controls/grid/GridCtrl.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/LibraryDialogs.h"
#include "res/Resource.h"
#include "ui/dialogs/GenerateLMEDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using qor::test::DrivenDialogs;

enum : int
{
    TYPE = 3,
    MIN = 4,
    MAX = 5,
    INCREMENT = 6,
    PARAMETER = 7
};

// An axle made variable and given its range as the engineer types it into the grid.
struct Range
{
    int axle; // 1-based, as the grid numbers the rows
    const wchar_t* min;
    const wchar_t* max;
    const wchar_t* increment;
    const wchar_t* parameter;
};

void Enter(CGenerateLMEDlg& dlg, const Range& range)
{
    CGridCtrl& grid = dlg.GetGrid();
    grid.EditCellText(range.axle, TYPE, L"Variable");
    grid.EditCellText(range.axle, INCREMENT, range.increment);
    grid.EditCellText(range.axle, MIN, range.min);
    grid.EditCellText(range.axle, MAX, range.max);
    grid.EditCellText(range.axle, PARAMETER, range.parameter);
}

class GenerateLME : public qor::test::RunningCase
{
protected:
    void SetUp() override
    {
        RunningCase::SetUp();
        if (HasFatalFailure()) return;
        // Four axles: 50 kN at 0.0, then 100 kN axles 3.0, 1.2 and 1.2 m apart.
        auto truck = std::make_shared<CLoadModel>(7, L"Quad");
        truck->AddPointLoad(50.0, 0.0, 0.0);
        truck->AddPointLoad(100.0, -3.0, 2.0);
        truck->AddPointLoad(100.0, -4.2, 0.0);
        truck->AddPointLoad(100.0, -5.4, 0.0);
        doc->m_vLoadModel = {std::make_shared<CLoadModel>(3, L"Car"), truck};
        doc->m_vLoadModelEnsemble = {std::make_shared<CLoadModelEnsemble>(1, L"Existing")};
    }
    // Generates from the truck with the ranges; the new ensemble (null when none was added).
    std::shared_ptr<CLoadModelEnsemble> Generate(std::vector<Range> ranges)
    {
        const size_t before = doc->m_vLoadModelEnsemble.size();
        DrivenDialogs driven;
        driven.ThenAs<CGenerateLMEDlg>([&ranges](CGenerateLMEDlg& dlg) {
            qor::test::PickLine(dlg, IDC_GENLME_LOADMODEL, 1);
            for (const Range& range : ranges) Enter(dlg, range);
            qor::test::PressOK(dlg);
        });
        qor::test::SendMenuCommand(ID_TOOLS_GENERATE_LME);
        return doc->m_vLoadModelEnsemble.size() > before ? doc->m_vLoadModelEnsemble.back() : nullptr;
    }
    static std::vector<double> Locations(const CLoadModel& model)
    {
        std::vector<double> x;
        for (const auto& axle : model.m_vPL) x.push_back(axle.location);
        return x;
    }
};

TEST_F(GenerateLME, OneVariableAxleByNumberGivesOneTruckPerSpacing)
{
    const auto lme = Generate({{2, L"3", L"5", L"Step", L"3"}});
    ASSERT_NE(lme, nullptr);
    EXPECT_EQ(lme->GetDescription(), L"Gen from: Quad");
    EXPECT_EQ(lme->m_ID, 1); // the number of ensembles the case held
    ASSERT_EQ(lme->GetLoadModelCount(), 3);
    for (int k = 0; k < 3; ++k)
    {
        const CLoadModel& model = *lme->GetLoadModel(k);
        CString name;
        name.Format(L"Gen from: Quad - %d", k + 1);
        EXPECT_EQ(model.GetDescription(), name);
        EXPECT_EQ(model.m_ID, k);
        const double s = 3.0 + k;
        const std::vector<double> expected = {0.0, -s, -s - 1.2, -s - 2.4};
        const auto x = Locations(model);
        ASSERT_EQ(x.size(), 4u);
        for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(x[i], expected[i], 1e-12) << k << " " << i;
        EXPECT_DOUBLE_EQ(model.m_vPL[1].width, 2.0);
        EXPECT_DOUBLE_EQ(model.m_vPL[1].magnitude, 100.0);
    }
    EXPECT_EQ(doc->m_vLoadModel.size(), 2u); // the copies live only in the ensemble
    EXPECT_EQ(doc->m_nLMEID, 1);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(GenerateLME, TwoVariableAxlesGiveTheProductAndDistanceEndsOnItsMaximumOnce)
{
    const auto lme = Generate({{2, L"2", L"3", L"Distance", L"0.5"}, {4, L"1", L"2", L"Step", L"2"}});
    ASSERT_NE(lme, nullptr);
    // Axle 2 at 2.0, 2.5, 3.0 (no second 3.0) times axle 4 at 1.0, 2.0; the last axle turns fastest.
    ASSERT_EQ(lme->GetLoadModelCount(), 6);
    const double s2[] = {2.0, 2.0, 2.5, 2.5, 3.0, 3.0};
    const double s4[] = {1.0, 2.0, 1.0, 2.0, 1.0, 2.0};
    for (int k = 0; k < 6; ++k)
    {
        const auto x = Locations(*lme->GetLoadModel(k));
        EXPECT_NEAR(x[1], -s2[k], 1e-12) << k;
        EXPECT_NEAR(x[2], -s2[k] - 1.2, 1e-12) << k;
        EXPECT_NEAR(x[3], -s2[k] - 1.2 - s4[k], 1e-12) << k;
    }
}

TEST_F(GenerateLME, RangesThatCannotBeGeneratedAreRefusedNamingTheAxle)
{
    struct Refusal
    {
        std::vector<Range> ranges;
        const wchar_t* text;
    };
    const Refusal refusals[] = {
        {{{3, L"1", L"2", L"Distance", L"0"}}, L"Axle 3: the \"Distance\" step must be greater than zero."},
        {{{2, L"5", L"3", L"Step", L"3"}}, L"Axle 2: the maximum spacing is below the minimum."},
        {{{4, L"1", L"2", L"Step", L"1"}}, L"Axle 4: a \"Step\" range needs at least 2 spacings."},
        {{{2, L"1", L"100", L"Step", L"200"}, {3, L"1", L"100", L"Distance", L"1"}},
         L"The variable axles give 20000 load models; at most 10000 can be generated."},
    };
    for (const Refusal& refusal : refusals)
    {
        qor::test::ScriptedMessageBoxes boxes;
        DrivenDialogs driven;
        driven.ThenAs<CGenerateLMEDlg>([&](CGenerateLMEDlg& dlg) {
            qor::test::PickLine(dlg, IDC_GENLME_LOADMODEL, 1);
            for (const Range& range : refusal.ranges) Enter(dlg, range);
            qor::test::PressOK(dlg);
            EXPECT_TRUE(dlg.IsWindowVisible()); // still open for the engineer to mend
            qor::test::PressCancel(dlg);
        });
        qor::test::SendMenuCommand(ID_TOOLS_GENERATE_LME);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, refusal.text);
    }
    // A spacing or a step beyond a kilometre is refused in its cell, which keeps what it held.
    {
        qor::test::ScriptedMessageBoxes boxes;
        DrivenDialogs driven;
        driven.ThenAs<CGenerateLMEDlg>([&](CGenerateLMEDlg& dlg) {
            qor::test::PickLine(dlg, IDC_GENLME_LOADMODEL, 1);
            Enter(dlg, {2, L"1", L"2", L"Distance", L"0.5"});
            CGridCtrl& grid = dlg.GetGrid();
            grid.EditCellText(2, MAX, L"5000");
            grid.EditCellText(2, PARAMETER, L"2000");
            EXPECT_DOUBLE_EQ(dlg.GetAxleDefinitions()[1].max, 2.0);
            EXPECT_DOUBLE_EQ(dlg.GetAxleDefinitions()[1].parameter, 0.5);
            qor::test::PressCancel(dlg);
        });
        qor::test::SendMenuCommand(ID_TOOLS_GENERATE_LME);
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[0].text, L"The maximum spacing must be from 0 m to 1,000 m.");
        EXPECT_EQ(boxes.Shown()[1].text, L"The \"Distance\" step must be from 0 m to 1,000 m.");
    }
    // OK before a load model is chosen; then an edit in a row that Tab added has no axle to reach.
    qor::test::ScriptedMessageBoxes boxes;
    DrivenDialogs driven;
    driven.ThenAs<CGenerateLMEDlg>([](CGenerateLMEDlg& dlg) {
        qor::test::PressOK(dlg);
        qor::test::PickLine(dlg, IDC_GENLME_LOADMODEL, 1);
        CGridCtrl& grid = dlg.GetGrid();
        grid.SetRowCount(grid.GetRowCount() + 1);
        grid.EditCellText(5, TYPE, L"Variable");
        grid.EditCellText(5, MIN, L"7");
        EXPECT_EQ(dlg.GetAxleDefinitions().size(), 4u);
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_TOOLS_GENERATE_LME);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, L"Select the load model to generate the ensemble from.");
    ASSERT_EQ(doc->m_vLoadModelEnsemble.size(), 2u);
    EXPECT_EQ(doc->m_vLoadModelEnsemble.back()->GetLoadModelCount(), 1); // no variable axle: one copy
}

TEST_F(GenerateLME, TheGridLocksWhatCannotVaryAndOpensTheRangeOfAVariableAxle)
{
    DrivenDialogs driven;
    driven.ThenAs<CGenerateLMEDlg>([](CGenerateLMEDlg& dlg) {
        CGridCtrl& grid = dlg.GetGrid();
        EXPECT_EQ(grid.GetRowCount(), 1); // headings only until a load model is chosen
        qor::test::PickLine(dlg, IDC_GENLME_LOADMODEL, 1);
        ASSERT_EQ(grid.GetRowCount(), 5);
        EXPECT_EQ(grid.GetItemText(0, PARAMETER), L"Parameter");
        for (int row = 1; row <= 4; ++row)
        {
            EXPECT_FALSE(grid.IsCellEditable(row, 1));
            EXPECT_FALSE(grid.IsCellEditable(row, 2));
            EXPECT_EQ(grid.IsCellEditable(row, TYPE) != FALSE, row > 1);
            for (int col = MIN; col <= PARAMETER; ++col) EXPECT_FALSE(grid.IsCellEditable(row, col));
        }
        // "Variable" chosen from the cell's own drop-down list shows at once in the chosen cell.
        CRect cell;
        ASSERT_TRUE(grid.GetCellRect(3, TYPE, &cell));
        qor::test::Click(&grid, cell.CenterPoint());
        qor::test::Click(&grid, cell.CenterPoint());
        auto* list = dynamic_cast<CComboBox*>(CWnd::GetFocus());
        ASSERT_NE(list, nullptr) << "the cell's list is open";
        list->SetCurSel(1);
        grid.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_INPLACE_CONTROL, CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(list->m_hWnd));
        EXPECT_EQ(grid.GetItemText(3, TYPE), L"Variable");
        // Drawn as the edit ends, not only once something else makes the grid paint again.
        const COLORREF back = qor::test::SurfacePixel(&grid, cell.left + 2, cell.top + 2);
        const CRect text(cell.left + 2, cell.top + 2, cell.left + cell.Width() * 3 / 5, cell.bottom - 2);
        EXPECT_LT(qor::test::CountSurfacePixels(&grid, text, back), text.Width() * text.Height())
            << "the chosen cell shows its text, not a blank box";
        qor::test::Pump(20);
        for (int col = MIN; col <= PARAMETER; ++col) EXPECT_TRUE(grid.IsCellEditable(3, col));
        EXPECT_EQ(grid.GetItemText(3, INCREMENT), L"Step");
        grid.EditCellText(3, MIN, L"2.5");
        grid.EditCellText(3, TYPE, L"Fixed");
        for (int col = MIN; col <= PARAMETER; ++col)
        {
            EXPECT_FALSE(grid.IsCellEditable(3, col));
            EXPECT_TRUE(grid.GetItemText(3, col).IsEmpty());
        }
        qor::test::PressCancel(dlg);
    });
    qor::test::SendMenuCommand(ID_TOOLS_GENERATE_LME);
    EXPECT_EQ(doc->m_vLoadModelEnsemble.size(), 1u);
}

} // namespace
