// Bridge and bridge-set dialogs run as the document runs them: entries taken on OK, sets that
// cannot be made refused with a message while the dialog stays open, library elements shown
// locked and returned unchanged, and a bridge given by its own span list keeping it.
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "platform/test/DialogTest.h"
#include "platform/test/GuiTest.h"
#include "res/BridgeDialogs.h"
#include "ui/dialogs/BridgeDlg.h"
#include "ui/dialogs/BridgeSetDlg.h"

#include <gtest/gtest.h>

using namespace qor::test;

namespace {

void Type(CWnd& dlg, int id, const wchar_t* text) { FindControl(dlg, id)->SetWindowText(text); }

TEST(BridgeSetDlgTest, ByStepByNumberAndRefusals)
{
    ScriptedMessageBoxes boxes;
    DrivenDialogs dialogs;
    auto set = std::make_shared<CBridgeSet>(1, L"1-50m 2-span Bridges", 2, 1.0, 50.0, 1.0);

    // The defaults make 50 two-span bridges from 1 m to 50 m.
    CBridgeSetDlg defaults;
    defaults.SetBridgeSet(set);
    dialogs.ThenAs<CBridgeSetDlg>([](CBridgeSetDlg& d) {
        EXPECT_EQ(d.GetCheckedRadioButton(IDC_BRIDGE_ONE_SPAN, IDC_BRIDGE_THREE_SPAN), int(IDC_BRIDGE_TWO_SPAN));
        EXPECT_TRUE(FindControl(d, IDC_BRIDGE_STEP)->IsWindowEnabled());
        EXPECT_FALSE(FindControl(d, IDC_BRIDGE_NUMBER)->IsWindowEnabled());
        PressOK(d);
    });
    ASSERT_EQ(defaults.DoModal(), IDOK);
    CBridgeSet made = defaults.GetBridgeSet();
    EXPECT_EQ(made.GetBridgeCount(), 50);
    EXPECT_DOUBLE_EQ(made.m_EndL, 50.0);

    // Each refusal names its reason and keeps the dialog open; the last entries are taken.
    CBridgeSetDlg dlg;
    dlg.SetBridgeSet(set);
    dialogs.ThenAs<CBridgeSetDlg>([&](CBridgeSetDlg& d) {
        Type(d, IDC_BRIDGE_START, L"10");
        Type(d, IDC_BRIDGE_END, L"25");
        Type(d, IDC_BRIDGE_STEP, L"0");
        PressOK(d);
        Type(d, IDC_BRIDGE_STEP, L"20");
        PressOK(d); // one bridge only
        Type(d, IDC_BRIDGE_END, L"5");
        Type(d, IDC_BRIDGE_STEP, L"4");
        PressOK(d);
        Type(d, IDC_BRIDGE_START, L"0");
        PressOK(d);
        EXPECT_EQ(boxes.Shown().size(), 4u);
        // By number: fewer than two bridges is refused too.
        Type(d, IDC_BRIDGE_START, L"10");
        Type(d, IDC_BRIDGE_END, L"25");
        PressButton(d, IDC_BRIDGE_BY_NUMBER);
        EXPECT_TRUE(FindControl(d, IDC_BRIDGE_NUMBER)->IsWindowEnabled());
        EXPECT_FALSE(FindControl(d, IDC_BRIDGE_STEP)->IsWindowEnabled());
        Type(d, IDC_BRIDGE_NUMBER, L"1");
        PressOK(d);
        EXPECT_EQ(boxes.Shown().size(), 5u);
        // More bridges than a set holds, by number and by step (1 m to 50 m by 0.01 m); the
        // limit itself passes.
        Type(d, IDC_BRIDGE_NUMBER, L"5000");
        PressOK(d);
        Type(d, IDC_BRIDGE_NUMBER, L"1001");
        PressOK(d);
        EXPECT_EQ(boxes.Shown().size(), 7u);
        PressButton(d, IDC_BRIDGE_BY_STEP);
        Type(d, IDC_BRIDGE_START, L"1");
        Type(d, IDC_BRIDGE_END, L"50");
        Type(d, IDC_BRIDGE_STEP, L"0.01");
        PressOK(d);
        EXPECT_EQ(boxes.Shown().size(), 8u);
        Type(d, IDC_BRIDGE_START, L"10");
        Type(d, IDC_BRIDGE_END, L"25");
        Type(d, IDC_BRIDGE_STEP, L"4");
        PressOK(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(boxes.Shown().size(), 8u);
    for (int i : {5, 6})
        EXPECT_EQ(boxes.Shown()[i].text, CString(L"Too many bridges: a bridge set holds at most 1,000 bridges."));
    EXPECT_EQ(boxes.Shown()[7].text,
              CString(L"The step is too small for the span range: a bridge set holds at most 1,000 bridges."));
    EXPECT_EQ(boxes.Shown()[0].text, CString(L"The step must be from 0.01 m to 1,000 m."));
    EXPECT_EQ(boxes.Shown()[2].text, CString(L"The end length (To) must not be less than the start length (From)."));
    EXPECT_EQ(boxes.Shown()[3].text, CString(L"The start length (From) must be from 0.1 m to 1,000 m."));
    EXPECT_EQ(boxes.Shown()[4].text, CString(L"A bridge set needs at least two bridges."));
    for (const qor::MessageBoxCall& box : boxes.Shown())
        EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION)) << "the icon of every refused entry";
    // 10 m to 25 m by 4 m: 4 bridges, the last of 22 m, shown so when opened again.
    auto stepped = std::make_shared<CBridgeSet>(dlg.GetBridgeSet());
    EXPECT_EQ(stepped->GetBridgeCount(), 4);
    EXPECT_DOUBLE_EQ(stepped->m_EndL, 22.0);
    CBridgeSetDlg again;
    again.SetBridgeSet(stepped);
    dialogs.ThenAs<CBridgeSetDlg>([](CBridgeSetDlg& d) {
        CString end;
        FindControl(d, IDC_BRIDGE_END)->GetWindowText(end);
        EXPECT_EQ(end, CString(L"22"));
        PressCancel(d);
    });
    EXPECT_EQ(again.DoModal(), IDCANCEL);

    // A library set: its edits locked, returned as it was.
    auto library = std::make_shared<CBridgeSet>(3, L"Library", 5, 1, 5.0, 10.0);
    library->m_bIsEditable = false;
    CBridgeSetDlg locked;
    locked.SetBridgeSet(library);
    dialogs.ThenAs<CBridgeSetDlg>([](CBridgeSetDlg& d) {
        EXPECT_FALSE(FindControl(d, IDC_BRIDGE_START)->IsWindowEnabled());
        EXPECT_FALSE(FindControl(d, IDC_BRIDGE_NUMBER)->IsWindowEnabled());
        EXPECT_TRUE(FindControl(d, IDC_BRIDGE_BY_STEP)->IsWindowEnabled());
        PressOK(d);
    });
    ASSERT_EQ(locked.DoModal(), IDOK);
    EXPECT_EQ(locked.GetBridgeSet().GetBridgeCount(), 5);
}

TEST(BridgeSetDlgTest, ARangeOfExactlyOneStepIsTwoBridgesDespiteRounding)
{
    ScriptedMessageBoxes boxes;
    DrivenDialogs dialogs;
    CBridgeSetDlg dlg;
    dlg.SetBridgeSet(std::make_shared<CBridgeSet>(1, L"Short", 1, 1.0, 50.0, 1.0));
    dialogs.ThenAs<CBridgeSetDlg>([](CBridgeSetDlg& d) {
        // 2.4 - 2.1 is a hair under 0.3 in binary.
        Type(d, IDC_BRIDGE_START, L"2.1");
        Type(d, IDC_BRIDGE_END, L"2.4");
        Type(d, IDC_BRIDGE_STEP, L"0.3");
        PressOK(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(boxes.Shown().empty());
    CBridgeSet made = dlg.GetBridgeSet();
    EXPECT_EQ(made.GetBridgeCount(), 2);
    EXPECT_NEAR(made.m_EndL, 2.4, 1e-12);
}

TEST(BridgeDlgTest, EntriesSpanListAndLibraryBridge)
{
    ScriptedMessageBoxes boxes;
    DrivenDialogs dialogs;
    CBridgeDlg dlg;
    dlg.SetBridge(std::make_shared<CBridge>(1, L"20 m single span", 1, 20.0));
    dialogs.ThenAs<CBridgeDlg>([](CBridgeDlg& d) {
        Type(d, IDC_BRIDGE_SPAN, L"0");
        PressOK(d); // refused
        Type(d, IDC_BRIDGE_SPAN, L"30");
        Type(d, IDC_BRIDGE_DESCRIPTION, L"Three of thirty");
        PressButton(d, IDC_BRIDGE_THREE_SPAN);
        PressOK(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    CBridge b = dlg.GetBridge();
    EXPECT_EQ(b.m_Config, 3);
    EXPECT_DOUBLE_EQ(b.m_SpanLength, 30.0);
    EXPECT_EQ(b.m_Description, CString(L"Three of thirty"));
    ASSERT_EQ(b.m_vSpans.size(), 3u);
    EXPECT_DOUBLE_EQ(b.m_vSpans[0], 22.5);

    // A bridge of its own span list: no button checked, and a new name keeps the spans.
    auto listed = std::make_shared<CBridge>();
    listed->m_ID = 2;
    listed->m_Config = CBridge::CONFIG_EXPLICIT;
    listed->m_SpanLength = 10.0;
    listed->m_vSpans = {8.0, 10.0, 12.0};
    listed->BuildBeam();
    CBridgeDlg explicitDlg;
    explicitDlg.SetBridge(listed);
    dialogs.ThenAs<CBridgeDlg>([](CBridgeDlg& d) {
        EXPECT_EQ(d.GetCheckedRadioButton(IDC_BRIDGE_ONE_SPAN, IDC_BRIDGE_THREE_SPAN), 0);
        Type(d, IDC_BRIDGE_DESCRIPTION, L"Renamed");
        PressOK(d);
    });
    ASSERT_EQ(explicitDlg.DoModal(), IDOK);
    CBridge kept = explicitDlg.GetBridge();
    EXPECT_EQ(kept.m_Description, CString(L"Renamed"));
    EXPECT_EQ(kept.m_vSpans, (std::vector<double>{8.0, 10.0, 12.0}));
    EXPECT_TRUE(kept.GetBeam());

    // A library bridge: description, span and "One span" locked; OK returns it unchanged.
    auto library = std::make_shared<CBridge>(3, L"Library", 2, 15.0);
    library->m_bIsEditable = false;
    CBridgeDlg locked;
    locked.SetBridge(library);
    dialogs.ThenAs<CBridgeDlg>([](CBridgeDlg& d) {
        EXPECT_FALSE(FindControl(d, IDC_BRIDGE_DESCRIPTION)->IsWindowEnabled());
        EXPECT_FALSE(FindControl(d, IDC_BRIDGE_ONE_SPAN)->IsWindowEnabled());
        EXPECT_TRUE(FindControl(d, IDC_BRIDGE_TWO_SPAN)->IsWindowEnabled());
        PressOK(d);
    });
    ASSERT_EQ(locked.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(locked.GetBridge().m_SpanLength, 15.0);
    EXPECT_EQ(locked.GetBridge().m_Config, 2);
}

} // namespace
