// The number fields and cells of the dialogs and pages, typed into as the engineer types: a
// refused key says why at once beside the field or cell (a comma is not taken for a decimal
// point, and no longer silently makes 1,5 into 15), values outside a field's range are refused
// naming the range, the overall factor shows every digit, and a read-only field looks it.
#include "dialogs_support.h"

#include "controls/edit/NumericEdit.h"
#include "controls/grid/GridCellNumeric.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"
#include "res/AnalysisDialogs.h"
#include "res/BridgeDialogs.h"
#include "res/LibraryDialogs.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/BridgeDlg.h"
#include "ui/dialogs/CritRatioRefCollDlg.h"
#include "ui/dialogs/LMEParametersDlg.h"
#include "ui/dialogs/MovingLoadDlg.h"
#include "ui/dialogs/PropPageLMFactors.h"
#include "ui/dialogs/PropSheetLM.h"
#include "ui/dialogs/RefCollectionDlg.h"
#include "ui/dialogs/SinglePositionDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using qor::test::DrivenDialogs;
using qor::test::KeyPress;
using qor::test::ScriptedMessageBoxes;
using qor::test::TypeChar;

constexpr const wchar_t* kUsePoint = L"Use '.' for the decimal point";

CString Text(CWnd& w)
{
    CString s;
    w.GetWindowText(s);
    return s;
}

// The hint beside an edit: its text, or empty when none shows.
CString Hint(CWnd& edit, CRect* where = nullptr)
{
    CString text;
    return qor::gui::ShownEditBalloon(edit.GetSafeHwnd(), &text, where) ? text : CString();
}

// The hint shows just below the field, starting at its left edge.
void ExpectHintBelow(CWnd& edit, const CString& text)
{
    CRect where, field;
    EXPECT_EQ(Hint(edit, &where), text);
    edit.GetWindowRect(&field);
    EXPECT_GE(where.top, field.bottom);
    EXPECT_LE(where.top, field.bottom + 4);
    EXPECT_EQ(where.left, field.left);
}

// The screen rectangles of the controls a dialog or a sheet shows, but for one: its pages are
// looked into, and a sheet's tabs are the band above the page.
void ShownControls(CWnd& parent, const CWnd& except, std::vector<CRect>& out)
{
    for (CWnd* child = parent.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
    {
        if (child == &except || !child->IsWindowVisible()) continue;
        CRect r;
        child->GetWindowRect(&r);
        if (!child->IsKindOf(RUNTIME_CLASS(CDialog)))
        {
            out.push_back(r);
            continue;
        }
        ShownControls(*child, except, out);
        if (parent.IsKindOf(RUNTIME_CLASS(CPropertySheet)))
        {
            CRect sheet;
            parent.GetClientRect(&sheet);
            parent.ClientToScreen(&sheet);
            out.emplace_back(r.left, sheet.top, r.right, r.top);
        }
    }
}

// A refused key typed into the field, and Tab: the hint stays with the same words, beside the
// field (or just above it) on the screen, and covers no other control of the window. Back in the
// field it is below it again, until the caret moves.
void ExpectHintAsideOnceTheFocusLeaves(CWnd& window, CWnd& field, const wchar_t* key)
{
    SCOPED_TRACE(field.GetDlgCtrlID());
    field.SetFocus();
    static_cast<CEdit&>(field).SetSel(0, -1);
    TypeChar(field, L'1');
    TypeChar(field, key[0]);
    const CString hint = Hint(field);
    ASSERT_NE(hint, CString());
    KeyPress(&field, VK_TAB, L'\t');
    ASSERT_NE(CWnd::GetFocus(), &field);

    CRect tip, box, work, both;
    ASSERT_EQ(Hint(field, &tip), hint);
    field.GetWindowRect(&box);
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const std::wstring where = std::wstring(hint.GetString()) + L" from field " + std::to_wstring(field.GetDlgCtrlID());
    EXPECT_TRUE((tip.top < box.bottom && tip.bottom > box.top) || tip.bottom <= box.top) << where;
    EXPECT_FALSE(both.IntersectRect(&tip, &box)) << where;
    EXPECT_EQ(both.IntersectRect(&tip, &work) ? both : CRect(), tip) << where;
    std::vector<CRect> controls;
    ShownControls(window, field, controls);
    EXPECT_GT(controls.size(), 5u);
    for (const CRect& control : controls)
        EXPECT_FALSE(both.IntersectRect(&tip, &control))
            << where << ": the hint at " << tip.left << "," << tip.top << " to " << tip.right << "," << tip.bottom
            << " covers a control at " << control.left << "," << control.top << " to " << control.right << ","
            << control.bottom;

    field.SetFocus();
    ExpectHintBelow(field, hint);
    KeyPress(&field, VK_END);
    EXPECT_EQ(Hint(field), CString());
}

int RunSheet(const std::shared_ptr<CLoadModel>& model, std::function<void(CPropSheetLM&)> step)
{
    qor::test::EnsureGuiApplication();
    DrivenDialogs driven;
    driven.ThenAs<CPropSheetLM>(std::move(step));
    CPropSheetLM sheet;
    sheet.SetLoadModel(model);
    return static_cast<int>(sheet.DoModal());
}

// Starts editing a numeric cell by typing its first character, as the engineer does.
CInPlaceNumEdit* StartCellEdit(CGridCtrl& grid, int row, int col, wchar_t first)
{
    grid.SetFocus();
    grid.SetFocusCell(row, col);
    KeyPress(&grid, static_cast<UINT>(first), first);
    qor::test::Pump();
    auto* cell = dynamic_cast<CGridCellNumeric*>(grid.GetCell(row, col));
    return cell ? dynamic_cast<CInPlaceNumEdit*>(cell->GetEditWnd()) : nullptr;
}

class NumberFields : public ::testing::Test
{
protected:
    void SetUp() override { qor::test::EnsureGuiApplication(); }
    void TearDown() override { qor::gui::ClearKeyState(); }

    // A truck of one axle, the model the load-model sheet edits here.
    static std::shared_ptr<CLoadModel> OneAxleTruck()
    {
        auto model = std::make_shared<CLoadModel>(2, L"Truck");
        model->AddPointLoad(10.0, 0.0, 0.0);
        return model;
    }
};

TEST_F(NumberFields, ARefusedKeySaysWhyBesideTheFieldAndTheCell)
{
    // The critical-ratio multiplier: "1,5" is not 15, and the comma says why at once.
    auto collection = std::make_shared<CReferenceCollection>(1, L"Network", false, 20, 0.5);
    DrivenDialogs driven;
    driven.ThenAs<CCritRatioRefCollDlg>([](CCritRatioRefCollDlg& dlg) {
        CWnd& field = *dlg.GetDlgItem(IDC_EDIT_MULTIPLIER);
        field.SetFocus();
        static_cast<CEdit&>(field).SetSel(0, -1);
        TypeChar(field, L'1');
        EXPECT_EQ(Hint(field), CString());
        TypeChar(field, L',');
        ExpectHintBelow(field, kUsePoint);
        // The next key that is taken takes the hint away; other refused keys say their own.
        TypeChar(field, L'.');
        EXPECT_EQ(Hint(field), CString());
        TypeChar(field, L'5');
        EXPECT_EQ(Text(field), CString(L"1.500"));
        TypeChar(field, L'x');
        EXPECT_EQ(Hint(field), CString(L"Only digits, '.' and '-' can be typed here"));
        // The hint stays when the focus goes (the field holds no number until it is edited
        // again), and goes with a move of the caret.
        dlg.GetDlgItem(IDC_LIST_LOADMODEL)->SetFocus();
        EXPECT_EQ(Hint(field), CString(L"Only digits, '.' and '-' can be typed here"));
        field.SetFocus();
        KeyPress(&field, VK_END);
        EXPECT_EQ(Hint(field), CString());
        qor::test::PressOK(dlg);
    });
    CCritRatioRefCollDlg dlg;
    dlg.m_vLoadModel = {std::make_shared<CLoadModel>(1, L"T44")};
    dlg.m_vRefCollection = {collection};
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_Multiplier, 1.5);

    // The front-axle location and the factor of the vehicle page; the live-load factor cell and
    // a spacing cell: the same hint in the same place.
    auto model = OneAxleTruck();
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(1));
        CPropPageLMVehicle& vehicle = sheet.GetVehiclePage();
        for (UINT id : {IDC_LM_FRONT_AXLE, IDC_LM_PL_FACTOR})
        {
            CWnd& field = *vehicle.GetDlgItem(static_cast<int>(id));
            field.SetFocus();
            static_cast<CEdit&>(field).SetSel(0, -1);
            TypeChar(field, L'1');
            TypeChar(field, L',');
            ExpectHintBelow(field, kUsePoint);
            TypeChar(field, L'.');
            TypeChar(field, L'5');
            EXPECT_EQ(Hint(field), CString());
        }
        CInPlaceNumEdit* spacing = StartCellEdit(vehicle.GetGrid(), 1, 2, L'1');
        ASSERT_NE(spacing, nullptr);
        TypeChar(*spacing, L',');
        ExpectHintBelow(*spacing, kUsePoint);
        EXPECT_EQ(Text(*spacing), CString(L"1"));
        TypeChar(*spacing, L'.');
        EXPECT_EQ(Hint(*spacing), CString());
        TypeChar(*spacing, L'.');
        EXPECT_EQ(Hint(*spacing), CString(L"The number has a decimal point already"));
        TypeChar(*spacing, L'5');
        KeyPress(spacing, VK_RETURN, L'\r');
        qor::test::Pump();
        // The front axle at 1.5 m, the axle 1.5 m behind it.
        EXPECT_DOUBLE_EQ(model->m_vPL[0].location, 0.0);

        ASSERT_TRUE(sheet.SetActivePage(4));
        CInPlaceNumEdit* live = StartCellEdit(sheet.GetFactorsPage().GetGrid(), 2, 2, L'1');
        ASSERT_NE(live, nullptr);
        TypeChar(*live, L',');
        ExpectHintBelow(*live, kUsePoint);
        TypeChar(*live, L'a');
        EXPECT_EQ(Hint(*live), CString(L"Only digits, '.' and '-' can be typed here"));
        TypeChar(*live, L'.');
        TypeChar(*live, L'5');
        KeyPress(live, VK_RETURN, L'\r');
        qor::test::Pump();
        EXPECT_DOUBLE_EQ(model->m_gLiveLoad.value, 1.5);
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_DOUBLE_EQ(model->m_GammaPL, 1.5);
}

// Left with a refused key in it, a field keeps its hint in view; the hint then moves beside the
// field so that the rest of the page can be read: the check boxes of the applicability page, the
// axle table's headings on the vehicle page, the rows of the LME parameters.
TEST_F(NumberFields, AHintLeftBehindCoversNoOtherControlOfThePage)
{
    auto model = OneAxleTruck();
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(5));
        CPropPageLMApplicable& page = sheet.GetApplicabilityPage();
        qor::test::Click(page.GetDlgItem(IDC_LM_USE_MIN), CPoint(3, 3));
        qor::test::Click(page.GetDlgItem(IDC_LM_USE_MAX), CPoint(3, 3));
        for (UINT id : {IDC_LM_MIN_LENGTH, IDC_LM_MAX_LENGTH})
            ExpectHintAsideOnceTheFocusLeaves(sheet, *page.GetDlgItem(static_cast<int>(id)), L",");

        ASSERT_TRUE(sheet.SetActivePage(1));
        CPropPageLMVehicle& vehicle = sheet.GetVehiclePage();
        for (UINT id : {IDC_LM_FRONT_AXLE, IDC_LM_PL_FACTOR})
            ExpectHintAsideOnceTheFocusLeaves(sheet, *vehicle.GetDlgItem(static_cast<int>(id)), L",");
        qor::test::PressCancel(sheet);
    });

    DrivenDialogs driven;
    driven.ThenAs<CLMEParametersDlg>([&](CLMEParametersDlg& dlg) {
        ExpectHintAsideOnceTheFocusLeaves(dlg, *dlg.GetDlgItem(IDC_LMEP_COUNT), L",");
        qor::test::Click(dlg.GetDlgItem(IDC_LMEP_BY_STEP), CPoint(3, 3));
        ExpectHintAsideOnceTheFocusLeaves(dlg, *dlg.GetDlgItem(IDC_LMEP_STEP), L",");
        qor::test::Click(dlg.GetDlgItem(IDC_LMEP_USER_DLA), CPoint(3, 3));
        ExpectHintAsideOnceTheFocusLeaves(dlg, *dlg.GetDlgItem(IDC_LMEP_DLA), L"x");
        ExpectHintAsideOnceTheFocusLeaves(dlg, *dlg.GetDlgItem(IDC_LMEP_HB_UNITS), L",");
        qor::test::PressCancel(dlg);
    });
    CLMEParametersDlg dlg;
    dlg.m_bSpacingEnabled = true;
    dlg.m_bHBEnabled = true;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(NumberFields, AKeyTypedAtSpeedAfterARefusedOneNeverJoinsTheNumber)
{
    // Each key down, character and up at once, as a quick typist's: after a refused key the
    // digits are held back with the hint in view, so no number is read with a key lost.
    const wchar_t* const typed[] = {L"1,5", L"1e3", L"1 5"};
    const auto typeHeld = [](CWnd& field, const wchar_t* text) {
        for (const wchar_t* p = text; *p; ++p)
        {
            TypeChar(field, *p);
            if (p > text)
            {
                EXPECT_NE(Hint(field), CString()) << "the hint is in view at key " << (p - text);
            }
        }
    };
    // The numeric edit: the critical-ratio multiplier takes 1, never 15 or 13.
    for (const wchar_t* text : typed)
    {
        DrivenDialogs driven;
        driven.ThenAs<CCritRatioRefCollDlg>([&](CCritRatioRefCollDlg& dlg) {
            CEdit& field = *static_cast<CEdit*>(dlg.GetDlgItem(IDC_EDIT_MULTIPLIER));
            field.SetFocus();
            field.SetSel(0, -1);
            typeHeld(field, text);
            // Moving the caret lets digits in again.
            KeyPress(&field, VK_END);
            EXPECT_EQ(Hint(field), CString());
            qor::test::PressOK(dlg);
        });
        CCritRatioRefCollDlg dlg;
        dlg.m_vLoadModel = {std::make_shared<CLoadModel>(1, L"T44")};
        dlg.m_vRefCollection = {std::make_shared<CReferenceCollection>(1, L"Network", false, 20, 0.5)};
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_DOUBLE_EQ(dlg.m_Multiplier, 1.0) << text;
    }
    // The numeric cell: the load model's Dynamic Load Allowance.
    for (const wchar_t* text : typed)
    {
        auto model = std::make_shared<CLoadModel>(2, L"Truck");
        RunSheet(model, [&](CPropSheetLM& sheet) {
            ASSERT_TRUE(sheet.SetActivePage(4));
            CInPlaceNumEdit* cell = StartCellEdit(sheet.GetFactorsPage().GetGrid(), 1, 2, text[0]);
            ASSERT_NE(cell, nullptr);
            typeHeld(*cell, text + 1);
            EXPECT_TRUE(cell->IsHoldingDigits());
            KeyPress(cell, VK_RETURN, L'\r');
            qor::test::Pump();
            EXPECT_TRUE(qor::test::PressOK(sheet));
        });
        EXPECT_DOUBLE_EQ(model->m_gDLA.value, 1.0) << text;
    }
    // The plain number edit of a span refuses no key but reads the whole text at OK: "1,5" and
    // "1 5" are no number, "1e3" is 1,000 m.
    ScriptedMessageBoxes boxes;
    for (const wchar_t* text : typed)
    {
        DrivenDialogs driven;
        CBridgeDlg bridgeDlg;
        bridgeDlg.SetBridge(std::make_shared<CBridge>(1, L"20 m single span", 1, 20.0));
        driven.ThenAs<CBridgeDlg>([&](CBridgeDlg& d) {
            qor::test::TypeKeys(d, IDC_BRIDGE_SPAN, text);
            const size_t before = boxes.Shown().size();
            qor::test::PressOK(d);
            if (boxes.Shown().size() > before) qor::test::PressCancel(d); // refused: the dialog is still open
        });
        const INT_PTR answer = bridgeDlg.DoModal();
        if (text[1] == L'e')
        {
            ASSERT_EQ(answer, IDOK);
            EXPECT_DOUBLE_EQ(bridgeDlg.GetBridge().m_SpanLength, 1000.0);
        }
        else
        {
            EXPECT_EQ(answer, IDCANCEL) << text;
            EXPECT_EQ(boxes.Shown().back().text, CString(L"Please enter a number.")) << text;
        }
    }
}

// "1,5", "1e3" and "1 5" typed at a typist's speed into a dialog's field, a page's fields and a
// numeric cell: the entry holds no number, so it is never stored as the digits before the refused
// key. Enter, OK, and OK after Tab refuse it naming the field and what was typed, the dialog open
// with the focus in the field and the hint still beside it; a cell ends its edit keeping what it
// held; Cancel leaves everything as it was.
TEST_F(NumberFields, ANumberTypedWithARefusedKeyIsRefusedNamingTheFieldNotStoredInPart)
{
    struct Typing
    {
        const wchar_t* text;
        const wchar_t* why;
    };
    const Typing typings[] = {{L"1,5", L"use '.' for the decimal point"},
                              {L"1e3", L"only digits, '.' and '-' can be typed here"},
                              {L"1 5", L"type the number without spaces"}};
    enum class End
    {
        Enter,
        OK,
        Tab,
        Cancel
    };
    const End ends[] = {End::Enter, End::OK, End::Tab, End::Cancel};
    const auto refusal = [](const CString& what, const Typing& typing) {
        CString text;
        text.Format(L"The %s was typed as %s: %s.", what.GetString(), typing.text, typing.why);
        return text;
    };
    ScriptedMessageBoxes boxes;
    // The field typed into at speed, then the end; a refusal leaves the window open with the focus
    // in the field, and Cancel closes it.
    const auto typeAndEnd = [&](CWnd& window, CWnd& field, const CString& what, const Typing& typing, End end) {
        field.SetFocus();
        static_cast<CEdit&>(field).SetSel(0, -1);
        for (const wchar_t* p = typing.text; *p; ++p) TypeChar(field, *p);
        const CString hint = Hint(field);
        EXPECT_NE(hint, CString()) << typing.text;
        const size_t before = boxes.Shown().size();
        switch (end)
        {
        case End::Enter: KeyPress(&field, VK_RETURN, L'\r'); break;
        case End::OK: qor::test::PressOK(window); break;
        case End::Tab:
            KeyPress(&field, VK_TAB, L'\t');
            EXPECT_NE(CWnd::GetFocus(), &field);
            EXPECT_EQ(Hint(field), hint) << "the hint stays while the focus is elsewhere";
            EXPECT_EQ(boxes.Shown().size(), before);
            qor::test::PressOK(window);
            break;
        case End::Cancel:
            qor::test::PressCancel(window);
            EXPECT_EQ(boxes.Shown().size(), before);
            return;
        }
        ASSERT_EQ(boxes.Shown().size(), before + 1) << typing.text;
        EXPECT_EQ(boxes.Shown().back().text, refusal(what, typing));
        EXPECT_EQ(boxes.Shown().back().type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
        ASSERT_NE(window.GetSafeHwnd(), nullptr) << "the dialog stays open";
        EXPECT_EQ(CWnd::GetFocus(), &field);
        EXPECT_EQ(Hint(field), hint);
        qor::test::PressCancel(window);
    };

    for (const Typing& typing : typings)
    {
        for (End end : ends)
        {
            // The overstress factor of a reference collection (Ctrl+R).
            auto collection = std::make_shared<CReferenceCollection>(4, L"Network", false, 20, 0.5);
            collection->m_bUseOverstress = true;
            collection->m_OverstressFactor = 2.0;
            {
                DrivenDialogs driven;
                driven.ThenAs<CRefCollectionDlg>([&](CRefCollectionDlg& d) {
                    typeAndEnd(d, *d.GetDlgItem(IDC_EDIT_OVERSTRESS_FACTOR), L"overstress factor", typing, end);
                });
                CRefCollectionDlg dlg;
                dlg.SetRefCollection(collection);
                EXPECT_EQ(dlg.DoModal(), IDCANCEL);
            }
            EXPECT_DOUBLE_EQ(collection->m_OverstressFactor, 2.0) << typing.text;

            // The load model's front axle, and the length below which it does not apply.
            auto model = OneAxleTruck();
            model->m_gDLA.value = 1.3;
            RunSheet(model, [&](CPropSheetLM& sheet) {
                ASSERT_TRUE(sheet.SetActivePage(1));
                typeAndEnd(sheet, *sheet.GetVehiclePage().GetDlgItem(IDC_LM_FRONT_AXLE), L"location of the front axle",
                           typing, end);
            });
            EXPECT_DOUBLE_EQ(model->m_vPL[0].location, 0.0) << typing.text;
            RunSheet(model, [&](CPropSheetLM& sheet) {
                ASSERT_TRUE(sheet.SetActivePage(5));
                CPropPageLMApplicable& page = sheet.GetApplicabilityPage();
                qor::test::Click(page.GetDlgItem(IDC_LM_USE_MIN), CPoint(3, 3));
                typeAndEnd(sheet, *page.GetDlgItem(IDC_LM_MIN_LENGTH), L"length below which the model does not apply",
                           typing, end);
            });
            EXPECT_FALSE(model->m_bUseMinL);
            EXPECT_DOUBLE_EQ(model->m_minL, 0.0);

            // The Dynamic Load Allowance cell: the edit ends, the cell and the model keep 1.3.
            const size_t before = boxes.Shown().size();
            RunSheet(model, [&](CPropSheetLM& sheet) {
                ASSERT_TRUE(sheet.SetActivePage(4));
                CGridCtrl& grid = sheet.GetFactorsPage().GetGrid();
                CInPlaceNumEdit* cell = StartCellEdit(grid, 1, 2, typing.text[0]);
                ASSERT_NE(cell, nullptr);
                for (const wchar_t* p = typing.text + 1; *p; ++p) TypeChar(*cell, *p);
                EXPECT_TRUE(cell->IsHoldingDigits());
                // OK and Cancel clicked: the cell's editor loses the focus first.
                CWnd* button = qor::test::FindControl(sheet, end == End::Cancel ? IDCANCEL : IDOK);
                switch (end)
                {
                case End::Enter: KeyPress(cell, VK_RETURN, L'\r'); break;
                case End::Tab: KeyPress(cell, VK_TAB, L'\t'); break;
                case End::OK:
                case End::Cancel: qor::test::Click(button, CPoint(3, 3)); break;
                }
                qor::test::Pump();
                EXPECT_DOUBLE_EQ(dynamic_cast<CGridCellNumeric*>(grid.GetCell(1, 2))->GetNumber(), 1.3);
                if (sheet.GetSafeHwnd()) qor::test::PressCancel(sheet);
            });
            ASSERT_EQ(boxes.Shown().size(), before + 1) << typing.text;
            EXPECT_EQ(boxes.Shown().back().text, refusal(L"factor \"Dynamic Load Allowance\"", typing));
            EXPECT_DOUBLE_EQ(model->m_gDLA.value, 1.3) << typing.text;
        }
    }

    // Retyped after the refusal, the number is taken as typed.
    auto collection = std::make_shared<CReferenceCollection>(4, L"Network", false, 20, 0.5);
    DrivenDialogs driven;
    driven.ThenAs<CRefCollectionDlg>([&](CRefCollectionDlg& d) {
        qor::test::TypeKeys(d, IDC_EDIT_OVERSTRESS_FACTOR, L"1,5");
        qor::test::PressOK(d);
        qor::test::TypeKeys(d, IDC_EDIT_OVERSTRESS_FACTOR, L"1.5");
        qor::test::PressOK(d);
    });
    CRefCollectionDlg dlg;
    dlg.SetRefCollection(collection);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(collection->m_OverstressFactor, 1.5);
}

TEST_F(NumberFields, ValuesBeyondTheRangesAreRefusedNamingTheRange)
{
    ScriptedMessageBoxes boxes;
    DrivenDialogs driven;

    // A span of 1e300 m (or of 5 km) is no bridge; the dialog stays open and says the range.
    CBridgeDlg bridgeDlg;
    bridgeDlg.SetBridge(std::make_shared<CBridge>(1, L"20 m single span", 1, 20.0));
    driven.ThenAs<CBridgeDlg>([](CBridgeDlg& d) {
        qor::test::TypeKeys(d, IDC_BRIDGE_SPAN, L"1e300");
        qor::test::PressOK(d);
        qor::test::TypeKeys(d, IDC_BRIDGE_SPAN, L"5000");
        qor::test::PressOK(d);
        qor::test::TypeKeys(d, IDC_BRIDGE_SPAN, L"1000");
        qor::test::PressOK(d);
    });
    ASSERT_EQ(bridgeDlg.DoModal(), IDOK);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, CString(L"The span length must be from 0.1 m to 1,000 m."));
    EXPECT_DOUBLE_EQ(bridgeDlg.GetBridge().m_SpanLength, 1000.0);

    // The position of a single-position analysis, the step and the count of a moving load.
    CSinglePositionDlg single;
    single.m_vBridge = {std::make_shared<CBridge>(1, L"Short", 1, 10.0)};
    single.m_vLoadModel = {std::make_shared<CLoadModel>(1, L"T44")};
    driven.ThenAs<CSinglePositionDlg>([](CSinglePositionDlg& d) {
        qor::test::TypeKeys(d, IDC_EDIT_POSITION, L"-3000");
        qor::test::PressOK(d);
        EXPECT_NE(d.GetSafeHwnd(), nullptr);
        qor::test::TypeKeys(d, IDC_EDIT_POSITION, L"-2000");
        qor::test::PressOK(d);
    });
    ASSERT_EQ(single.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(single.m_Position, -2000.0);
    EXPECT_EQ(boxes.Shown().back().text, CString(L"The location of the load model must be from -2,000 m to 2,000 m."));

    CMovingLoadDlg moving;
    moving.m_vBridge = single.m_vBridge;
    moving.m_vLoadModel = single.m_vLoadModel;
    moving.m_bByStep = true;
    moving.m_StepSize = 0.5;
    moving.m_nSteps = 20;
    driven.ThenAs<CMovingLoadDlg>([&](CMovingLoadDlg& d) {
        qor::test::TypeKeys(d, IDC_EDIT_STEP, L"0.001");
        qor::test::PressOK(d);
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The step distance must be above 0.001 m and at most 1,000 m."));
        qor::test::TypeKeys(d, IDC_EDIT_STEP, L"0.25");
        qor::test::Click(d.GetDlgItem(IDC_RADIO_BY_COUNT), CPoint(3, 3));
        qor::test::TypeKeys(d, IDC_EDIT_NSTEPS, L"40000");
        qor::test::PressOK(d);
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The number of steps must be from 1 to 32,767."));
        qor::test::TypeKeys(d, IDC_EDIT_NSTEPS, L"10000");
        qor::test::PressOK(d);
    });
    ASSERT_EQ(moving.DoModal(), IDOK);
    EXPECT_EQ(moving.m_nSteps, 10000);

    // The overstress factor of a reference collection.
    auto collection = std::make_shared<CReferenceCollection>(4, L"Network", false, 20, 0.5);
    collection->m_bUseOverstress = true;
    CRefCollectionDlg refDlg;
    refDlg.SetRefCollection(collection);
    driven.ThenAs<CRefCollectionDlg>([&](CRefCollectionDlg& d) {
        qor::test::TypeKeys(d, IDC_EDIT_OVERSTRESS_FACTOR, L"1000");
        qor::test::PressOK(d);
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The overstress factor must be from 0.01 to 100."));
        qor::test::TypeKeys(d, IDC_EDIT_OVERSTRESS_FACTOR, L"1.5");
        qor::test::PressOK(d);
    });
    ASSERT_EQ(refDlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(collection->m_OverstressFactor, 1.5);

    // Load-model cells and fields: the cell keeps what it held, the model is untouched.
    auto model = OneAxleTruck();
    const size_t before = boxes.Shown().size();
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(1));
        CGridCtrl& axles = sheet.GetVehiclePage().GetGrid();
        CInPlaceNumEdit* weight = StartCellEdit(axles, 1, 1, L'5');
        ASSERT_NE(weight, nullptr);
        for (wchar_t c : {L'0', L'0', L'0'}) TypeChar(*weight, c);
        KeyPress(weight, VK_RETURN, L'\r');
        qor::test::Pump();
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The axle weight must be from -1,000 to 1,000."));
        EXPECT_DOUBLE_EQ(model->m_vPL[0].magnitude, 10.0);
        EXPECT_DOUBLE_EQ(dynamic_cast<CGridCellNumeric*>(axles.GetCell(1, 1))->GetNumber(), 10.0);
        axles.EditCellText(1, 3, L"-2.5");
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The axle width must be from 0 m to 1,000 m."));
        // The factor of the axle loads is checked as the page is left.
        qor::test::TypeKeys(sheet.GetVehiclePage(), IDC_LM_PL_FACTOR, L"20");
        EXPECT_FALSE(sheet.SetActivePage(4));
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The factor for axle loads must be from 0 to 10."));
        qor::test::TypeKeys(sheet.GetVehiclePage(), IDC_LM_PL_FACTOR, L"2");
        ASSERT_TRUE(sheet.SetActivePage(4));

        // A factor beyond 100, and factors whose product passes 1,000.
        CGridCtrl& factors = sheet.GetFactorsPage().GetGrid();
        factors.EditCellText(1, 2, L"150");
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The factor \"Dynamic Load Allowance\" must be from 0 to 100."));
        factors.EditCellText(1, 2, L"100");
        factors.EditCellText(2, 2, L"100");
        EXPECT_EQ(boxes.Shown().back().text,
                  CString(L"The overall factor (the product of the four factors) must be from 0 to 1,000."));
        EXPECT_DOUBLE_EQ(model->m_gDLA.value, 100.0);
        EXPECT_DOUBLE_EQ(model->m_gLiveLoad.value, 1.0);
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_EQ(boxes.Shown().size(), before + 5);
    for (const qor::MessageBoxCall& box : boxes.Shown())
        EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_DOUBLE_EQ(model->m_GammaPL, 2.0);
}

TEST_F(NumberFields, TheLengthsOfApplicabilityTheAllowanceAndTheHBUnitsHaveRanges)
{
    ScriptedMessageBoxes boxes;
    // A length below which the model does not apply: 20 km is refused as the page is left.
    auto model = OneAxleTruck();
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(5));
        CPropPageLMApplicable& page = sheet.GetApplicabilityPage();
        qor::test::Click(page.GetDlgItem(IDC_LM_USE_MIN), CPoint(3, 3));
        qor::test::TypeKeys(page, IDC_LM_MIN_LENGTH, L"20000");
        EXPECT_FALSE(sheet.SetActivePage(0));
        EXPECT_EQ(boxes.Shown().back().text,
                  CString(L"The length below which the model does not apply must be from 0 m to 10,000 m."));
        qor::test::TypeKeys(page, IDC_LM_MIN_LENGTH, L"10000");
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });
    EXPECT_TRUE(model->m_bUseMinL);
    EXPECT_DOUBLE_EQ(model->m_minL, 10000.0);

    // An allowance of 99999 and 99999 HB units: the model would be scaled past any load.
    DrivenDialogs driven;
    driven.ThenAs<CLMEParametersDlg>([&](CLMEParametersDlg& dlg) {
        qor::test::Click(dlg.GetDlgItem(IDC_LMEP_USER_DLA), CPoint(3, 3));
        qor::test::TypeKeys(dlg, IDC_LMEP_DLA, L"99999");
        qor::test::PressOK(dlg);
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The DAF value must be from 0 to 100."));
        qor::test::TypeKeys(dlg, IDC_LMEP_DLA, L"1,4");
        qor::test::PressOK(dlg);
        EXPECT_EQ(boxes.Shown().back().text,
                  CString(L"The DAF value was typed as 1,4: use '.' for the decimal point."));
        qor::test::TypeKeys(dlg, IDC_LMEP_DLA, L"1.4");
        qor::test::TypeKeys(dlg, IDC_LMEP_HB_UNITS, L"99999");
        qor::test::PressOK(dlg);
        EXPECT_EQ(boxes.Shown().back().text, CString(L"The number of HB units must be from 1 to 100."));
        qor::test::TypeKeys(dlg, IDC_LMEP_HB_UNITS, L"100");
        qor::test::PressOK(dlg);
    });
    CLMEParametersDlg dlg;
    dlg.m_bHBEnabled = true;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.m_DLA, 1.4);
    EXPECT_EQ(dlg.m_nHBUnits, 100);
}

TEST_F(NumberFields, TheOverallFactorShowsEveryDigitAndTheIdLooksReadOnly)
{
    // Every number the factors allow fits the field whole; one from elsewhere in powers of ten.
    EXPECT_EQ(CPropPageLMFactors::OverallFactorText(1.3 * 1.5 * 9.81), CString(L"19.1295"));
    EXPECT_EQ(CPropPageLMFactors::OverallFactorText(1000.0), CString(L"1000"));
    EXPECT_EQ(CPropPageLMFactors::OverallFactorText(1.23456789012346e29), CString(L"1.23457e+29"));

    auto model = std::make_shared<CLoadModel>(3, L"Heavy");
    model->m_gDLA.value = 9.999999;
    model->m_gLiveLoad.value = 9.999999;
    model->m_gUnits.value = 9.999999;
    model->m_gArbitrary.value = 0.999999;
    RunSheet(model, [&](CPropSheetLM& sheet) {
        ASSERT_TRUE(sheet.SetActivePage(4));
        CWnd& field = *sheet.GetFactorsPage().GetDlgItem(IDC_LM_OVERALL_FACTOR);
        const CString shown = Text(field);
        EXPECT_EQ(shown, CPropPageLMFactors::OverallFactorText(model->m_Gamma));
        CClientDC dc(&field);
        dc.SelectObject(field.GetFont());
        CRect client;
        field.GetClientRect(&client);
        EXPECT_LT(dc.GetTextExtent(shown).cx, client.Width() - 4) << "the whole number fits the field";
        // So does the widest the factors allow, with room to spare.
        EXPECT_LT(dc.GetTextExtent(CString(L"-999.999999")).cx, client.Width() * 3 / 4);
        EXPECT_TRUE(qor::test::PressOK(sheet));
    });

    // The read-only ID of a reference collection is drawn as the system draws a read-only edit:
    // on the face colour, not on the window colour of a field that takes typing.
    auto collection = std::make_shared<CReferenceCollection>(4, L"Network", false, 20, 0.5);
    DrivenDialogs driven;
    driven.ThenAs<CRefCollectionDlg>([](CRefCollectionDlg& d) {
        CWnd* id = d.GetDlgItem(IDC_EDIT_ID);
        CWnd* description = d.GetDlgItem(IDC_EDIT_DESCRIPTION);
        qor::test::PaintNow(id);
        qor::test::PaintNow(description);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const COLORREF window = GetSysColor(COLOR_WINDOW);
        int w = 0, h = 0;
        const int idFace = qor::test::CountShownPixels(id, [&](COLORREF c) { return c == face; });
        const int idWindow = qor::test::CountShownPixels(id, [&](COLORREF c) { return c == window; });
        qor::test::ShownPixels(id, &w, &h);
        EXPECT_GT(idFace, w * h / 2);
        EXPECT_LT(idWindow, w * h / 10);
        const int editWindow = qor::test::CountShownPixels(description, [&](COLORREF c) { return c == window; });
        qor::test::ShownPixels(description, &w, &h);
        EXPECT_GT(editWindow, w * h / 2) << "a field that takes typing keeps the window colour";
        qor::test::PressCancel(d);
    });
    CRefCollectionDlg dlg;
    dlg.SetRefCollection(collection);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

} // namespace
