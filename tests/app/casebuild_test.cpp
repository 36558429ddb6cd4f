// Building a case by hand in the running program: the element tree (order, copy, cut, paste,
// delete, rename, the selection broadcast, the pane's own keys and toolbar), the Add and Edit
// element commands, the start view's drawing of the selected load model, and the settings pane.
#include "app_support.h"

#include "app/ElementView.h"
#include "app/MainFrame.h"
#include "app/QORDoc.h"
#include "app/SettingsWnd.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/BridgeDialogs.h"
#include "res/ElementPane.h"
#include "res/Resource.h"
#include "res/SettingsPane.h"
#include "ui/dialogs/BridgeDlg.h"
#include "ui/dialogs/BridgeRangeDlg.h"
#include "ui/dialogs/DrawLoadModelCtrl.h"
#include "ui/dialogs/InputRanges.h"
#include "ui/dialogs/MovingLoadDlg.h"
#include "ui/dialogs/RefCollectionDlg.h"
#include "ui/views/QORView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace qor::test;

namespace {

// Counts the selection messages that reach the windows of the main window.
class CListener : public CWnd
{
public:
    std::vector<CElement*> got;

protected:
    LRESULT OnSelected(WPARAM, LPARAM lParam)
    {
        got.push_back(reinterpret_cast<CElement*>(lParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CListener, CWnd)
ON_MESSAGE(WM_APP + 1, OnSelected)
END_MESSAGE_MAP()

class CaseTest : public ::testing::Test
{
protected:
    std::unique_ptr<CQORApp> app;
    ScriptedMessageBoxes boxes;

    void SetUp() override
    {
        const std::filesystem::path home = TempFilePath("home"); // goes with the test program's folder
        UseFreshProfile(home);
        app = std::make_unique<CQORApp>();
        ASSERT_TRUE(StartApplication(*app));
        ASSERT_NE(Doc(), nullptr);
    }
    void TearDown() override
    {
        if (Doc()) Doc()->SetModifiedFlag(FALSE);
        StopApplication(*app);
        CSettings::GetInstance()->SetDefaults();
    }
    CMainFrame* Main() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }
    CQORDoc* Doc() { return CQORDoc::GetActiveDoc(); }
    CElementView& Pane() { return Main()->GetElementPane(); }
    CViewTree& Tree() { return Pane().GetTree(); }

    std::vector<CString> Children(HTREEITEM parent)
    {
        std::vector<CString> names;
        for (HTREEITEM c = Tree().GetChildItem(parent); c; c = Tree().GetNextSiblingItem(c))
            names.push_back(Tree().GetItemText(c));
        return names;
    }
    HTREEITEM Child(HTREEITEM parent, int index)
    {
        HTREEITEM c = Tree().GetChildItem(parent);
        while (c && index-- > 0) c = Tree().GetNextSiblingItem(c);
        return c;
    }
    HTREEITEM Section(int type) { return Pane().GetSectionItem(type); }
    void Command(UINT id) { Pane().SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // A case of one bridge, two load models (the second a library model) and an ensemble of both.
    void FillCase()
    {
        CQORDoc* doc = Doc();
        doc->m_vBridge.push_back(std::make_shared<CBridge>(1, L"Bridge A", 1, 20.0));
        doc->m_vLoadModel.push_back(std::make_shared<CLoadModel>(1, L"Truck"));
        auto library = std::make_shared<CLoadModel>(2, L"Library");
        library->m_bIsEditable = false;
        doc->m_vLoadModel.push_back(library);
        auto lme = std::make_shared<CLoadModelEnsemble>(1, L"Fleet");
        lme->AddLoadModel(doc->m_vLoadModel[0]);
        lme->AddLoadModel(library);
        doc->m_vLoadModelEnsemble.push_back(lme);
        doc->m_nBridgeID = 1;
        doc->m_nLoadModelID = 2;
        doc->m_nLMEID = 1;
        doc->UpdateElementView();
        doc->SetModifiedFlag(FALSE);
    }
};

TEST_F(CaseTest, TreeOrderCopyCutPasteDeleteAndRename)
{
    FillCase();
    CQORDoc* doc = Doc();
    HTREEITEM fleet = nullptr;
    {
        SCOPED_TRACE("the sections of the tree in order, the result kinds, an ensemble with its models");
        std::vector<CString> top = Children(nullptr);
        EXPECT_EQ(top, (std::vector<CString>{L"Case", L"Analysis Results", L"Bridges", L"Bridge Sets", L"Load Models",
                                             L"Load Model Ensembles", L"Reference Collections"}));
        EXPECT_EQ(Tree().GetItemState(Tree().GetRootItem(), TVIS_BOLD), UINT(TVIS_BOLD));
        EXPECT_EQ(Children(Pane().GetCaseItem()), (std::vector<CString>{L"Case Information"}));
        EXPECT_EQ(Children(Pane().GetResultsItem()).size(), 5u);
        EXPECT_EQ(Pane().GetResultKind(Child(Pane().GetResultsItem(), 4)), 4);
        EXPECT_EQ(Children(Section(CElement::ELEMENT_LOADMODEL)), (std::vector<CString>{L"Truck", L"Library"}));
        fleet = Child(Section(CElement::ELEMENT_LOADMODELENSEMBLE), 0);
        EXPECT_EQ(Children(fleet), (std::vector<CString>{L"Truck", L"Library"}));
        EXPECT_EQ(Pane().GetElement(fleet), doc->m_vLoadModelEnsemble[0]);
    }
    {
        SCOPED_TRACE("copy of a library model onto \"Load Models\": an editable copy named \"-Copy\"");
        Tree().SelectItem(Child(Section(CElement::ELEMENT_LOADMODEL), 1));
        Command(ID_ELEMENT_COPY);
        Tree().SelectItem(Section(CElement::ELEMENT_LOADMODEL));
        Command(ID_ELEMENT_PASTE);
        ASSERT_EQ(doc->m_vLoadModel.size(), 3u);
        EXPECT_EQ(doc->m_vLoadModel[2]->m_Description, CString(L"Library-Copy"));
        EXPECT_TRUE(doc->m_vLoadModel[2]->m_bIsEditable);
        EXPECT_TRUE(doc->IsModified());
    }
    {
        SCOPED_TRACE("paste onto a model under the ensemble appends to that ensemble, and marks the case");
        doc->SetModifiedFlag(FALSE);
        Tree().SelectItem(Child(Section(CElement::ELEMENT_LOADMODEL), 0));
        Command(ID_ELEMENT_COPY);
        Tree().SelectItem(Child(fleet, 1));
        Command(ID_ELEMENT_PASTE);
        ASSERT_EQ(doc->m_vLoadModelEnsemble[0]->GetLoadModelCount(), 3);
        EXPECT_EQ(Children(fleet).back(), CString(L"Truck"));
        EXPECT_TRUE(doc->IsModified());
    }
    {
        SCOPED_TRACE("cut and paste keeps the name and takes the source away");
        Tree().SelectItem(Child(Section(CElement::ELEMENT_LOADMODEL), 2));
        Command(ID_ELEMENT_CUT);
        Tree().SelectItem(Section(CElement::ELEMENT_LOADMODEL));
        Command(ID_ELEMENT_PASTE);
        EXPECT_EQ(Children(Section(CElement::ELEMENT_LOADMODEL)),
                  (std::vector<CString>{L"Truck", L"Library", L"Library-Copy"}));
        ASSERT_EQ(doc->m_vLoadModel.size(), 3u);
        EXPECT_EQ(doc->m_vLoadModel[2]->m_ID, 3) << "ids are numbered again after the removal";
    }
    {
        SCOPED_TRACE("a copy that waits across a refill of the tree pastes nothing");
        Tree().SelectItem(Child(Section(CElement::ELEMENT_LOADMODEL), 0));
        Command(ID_ELEMENT_COPY);
        doc->UpdateElementView();
        Tree().SelectItem(Section(CElement::ELEMENT_LOADMODEL));
        Command(ID_ELEMENT_PASTE);
        EXPECT_EQ(doc->m_vLoadModel.size(), 3u);
    }
    {
        SCOPED_TRACE(
            "deleting a model under the ensemble takes it out of that ensemble only; deleting from the case renumbers");
        fleet = Child(Section(CElement::ELEMENT_LOADMODELENSEMBLE), 0);
        Tree().SelectItem(Child(fleet, 0));
        Command(ID_ELEMENT_DELETE);
        EXPECT_EQ(doc->m_vLoadModelEnsemble[0]->GetLoadModelCount(), 2);
        EXPECT_EQ(doc->m_vLoadModel.size(), 3u);
        EXPECT_EQ(Children(Child(Section(CElement::ELEMENT_LOADMODELENSEMBLE), 0)),
                  (std::vector<CString>{L"Library", L"Truck"}));
        // Deleting the first model of the case renumbers the rest.
        Tree().SelectItem(Child(Section(CElement::ELEMENT_LOADMODEL), 0));
        Command(ID_ELEMENT_DELETE);
        ASSERT_EQ(doc->m_vLoadModel.size(), 2u);
        EXPECT_EQ(doc->m_vLoadModel[0]->m_ID, 1);
        EXPECT_EQ(doc->m_vLoadModel[1]->m_ID, 2);
        EXPECT_EQ(Children(Section(CElement::ELEMENT_LOADMODEL)), (std::vector<CString>{L"Library", L"Library-Copy"}));
    }
    {
        SCOPED_TRACE("renaming a library model is refused");
        boxes.Shown();
        Tree().SelectItem(Child(Section(CElement::ELEMENT_LOADMODEL), 0));
        Command(ID_ELEMENT_RENAME);
        ASSERT_FALSE(boxes.Shown().empty());
        EXPECT_EQ(boxes.Shown().back().text, CString(L"This item cannot be edited."));
        EXPECT_EQ(Tree().GetEditControl(), nullptr);
        EXPECT_EQ(Tree().EditLabel(Child(Section(CElement::ELEMENT_LOADMODEL), 0)), nullptr)
            << "refused however started";
    }
    {
        SCOPED_TRACE("renaming: an empty label keeps the name, a cancelled edit marks nothing, a new name is taken");
        doc->SetModifiedFlag(FALSE);
        HTREEITEM copy = Child(Section(CElement::ELEMENT_LOADMODEL), 1);
        Tree().SelectItem(copy);
        Command(ID_ELEMENT_RENAME);
        CEdit* edit = Tree().GetEditControl();
        ASSERT_NE(edit, nullptr);
        edit->SetWindowText(L"");
        KeyPress(edit, VK_RETURN);
        EXPECT_EQ(doc->m_vLoadModel[1]->m_Description, CString(L"Library-Copy"));
        EXPECT_EQ(Tree().GetItemText(copy), CString(L"Library-Copy"));
        Command(ID_ELEMENT_RENAME);
        ASSERT_NE(edit = Tree().GetEditControl(), nullptr);
        edit->SetWindowText(L"Never");
        KeyPress(edit, VK_ESCAPE);
        EXPECT_FALSE(doc->IsModified());
        Command(ID_ELEMENT_RENAME);
        ASSERT_NE(edit = Tree().GetEditControl(), nullptr);
        edit->SetWindowText(L"Heavy truck");
        KeyPress(edit, VK_RETURN);
        EXPECT_EQ(doc->m_vLoadModel[1]->m_Description, CString(L"Heavy truck"));
        EXPECT_TRUE(doc->IsModified());
    }
    Pump(20);
}

TEST_F(CaseTest, ARightClickShowsOneMenuAndTheTreeKeepsItsPlaceAndShowsRenames)
{
    FillCase();
    // A right click shows the menu once; closed with Escape (nothing chosen), no second one follows.
    int menus = 0;
    auto previous = qor::gui::SetPopupMenuDriver([&](const std::vector<qor::gui::PopupMenuRow>&, CPoint) {
        ++menus;
        return 0u;
    });
    HTREEITEM truck = Child(Section(CElement::ELEMENT_LOADMODEL), 0);
    CRect at;
    ASSERT_TRUE(Tree().GetItemRect(truck, &at, TRUE));
    Click(&Tree(), CPoint(at.left + 6, at.CenterPoint().y), VK_RBUTTON);
    Pump(20);
    EXPECT_EQ(menus, 1);
    CView* start = Main()->MDIGetActive()->GetActiveView();
    ASSERT_NE(start, nullptr);
    Click(start, CPoint(40, 40), VK_RBUTTON);
    Pump(20);
    EXPECT_EQ(menus, 2) << "the start view's menu once too";
    qor::gui::SetPopupMenuDriver(previous);

    // A load model renamed in the tree shows its new name under the ensemble that holds it too.
    Tree().SelectItem(truck);
    Command(ID_ELEMENT_RENAME);
    CEdit* edit = Tree().GetEditControl();
    ASSERT_NE(edit, nullptr);
    edit->SetWindowText(L"Creek truck");
    KeyPress(edit, VK_RETURN);
    EXPECT_EQ(Children(Section(CElement::ELEMENT_LOADMODEL)), (std::vector<CString>{L"Creek truck", L"Library"}));
    HTREEITEM fleet = Child(Section(CElement::ELEMENT_LOADMODELENSEMBLE), 0);
    EXPECT_EQ(Children(fleet), (std::vector<CString>{L"Creek truck", L"Library"}));

    // A rebuild of the tree keeps what was open, what was closed and the selection.
    auto expanded = [&](HTREEITEM item) { return (Tree().GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; };
    Tree().Expand(Section(CElement::ELEMENT_BRIDGE), TVE_COLLAPSE);
    Tree().Expand(fleet, TVE_EXPAND);
    Tree().SelectItem(Child(fleet, 1));
    Doc()->UpdateElementView();
    fleet = Child(Section(CElement::ELEMENT_LOADMODELENSEMBLE), 0);
    EXPECT_FALSE(expanded(Section(CElement::ELEMENT_BRIDGE)));
    EXPECT_TRUE(expanded(Section(CElement::ELEMENT_LOADMODELENSEMBLE)));
    EXPECT_TRUE(expanded(fleet));
    EXPECT_EQ(Tree().GetSelectedItem(), Child(fleet, 1));
    EXPECT_EQ(Pane().GetElement(Tree().GetSelectedItem()), Doc()->m_vLoadModel[1]);
    EXPECT_EQ(Children(fleet), (std::vector<CString>{L"Creek truck", L"Library"}));
}

TEST_F(CaseTest, SelectionBroadcastDrawingKeysAndDoubleClick)
{
    FillCase();
    CListener listener;
    ASSERT_TRUE(listener.Create(nullptr, L"", WS_CHILD, CRect(0, 0, 1, 1), Main(), 4711));
    auto* view = DYNAMIC_DOWNCAST(CQORView, Main()->MDIGetActive()->GetActiveView());
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->GetDrawCtrl(), nullptr);
    EXPECT_FALSE(view->GetDrawCtrl()->GetLoadModel());

    // A click on a load model: one message, and the start view draws a copy of the model.
    PaintNow(&Tree());
    HTREEITEM truck = Child(Section(CElement::ELEMENT_LOADMODEL), 0);
    CRect rc;
    ASSERT_TRUE(Tree().GetItemRect(truck, &rc, TRUE));
    Click(&Tree(), CPoint(rc.left + 6, rc.CenterPoint().y));
    EXPECT_EQ(Tree().GetSelectedItem(), truck);
    ASSERT_EQ(listener.got.size(), 1u);
    EXPECT_EQ(listener.got[0], Doc()->m_vLoadModel[0].get());
    ASSERT_TRUE(view->GetDrawCtrl()->GetLoadModel());
    EXPECT_NE(view->GetDrawCtrl()->GetLoadModel(), Doc()->m_vLoadModel[0]);
    EXPECT_EQ(view->GetDrawCtrl()->GetLoadModel()->m_Description, CString(L"Truck"));
    // A bridge leaves the drawing as it was.
    HTREEITEM bridge = Child(Section(CElement::ELEMENT_BRIDGE), 0);
    ASSERT_TRUE(Tree().GetItemRect(bridge, &rc, TRUE));
    Click(&Tree(), CPoint(rc.left + 6, rc.CenterPoint().y));
    EXPECT_EQ(listener.got.size(), 2u);
    EXPECT_EQ(view->GetDrawCtrl()->GetLoadModel()->m_Description, CString(L"Truck"));

    // Ctrl+E in the pane is its Expand All (not the case's Add Load Model Ensemble); the
    // pane's toolbar button does the same.
    HTREEITEM bridges = Section(CElement::ELEMENT_BRIDGE);
    const UINT before = Tree().GetItemState(bridges, TVIS_EXPANDED) & TVIS_EXPANDED;
    size_t shown = boxes.Shown().size();
    KeyPress(&Tree(), 'E', 0, MK_CONTROL);
    EXPECT_NE(Tree().GetItemState(bridges, TVIS_EXPANDED) & TVIS_EXPANDED, before);
    EXPECT_EQ(boxes.Shown().size(), shown);
    ASSERT_EQ(Pane().GetToolBar().GetItemID(0), ID_ELEMENT_EXPAND_ALL);
    EXPECT_TRUE(Pane().GetToolBar().ClickButton(0));
    EXPECT_EQ(Tree().GetItemState(bridges, TVIS_EXPANDED) & TVIS_EXPANDED, before);

    // A double click on a result item runs its View command.
    Tree().Expand(Pane().GetResultsItem(), TVE_EXPAND);
    PaintNow(&Tree());
    HTREEITEM results = Child(Pane().GetResultsItem(), 0);
    ASSERT_TRUE(Tree().GetItemRect(results, &rc, TRUE));
    size_t children = Main()->GetMDIChildren().size();
    Click(&Tree(), CPoint(rc.left + 6, rc.CenterPoint().y));
    MouseDoubleClick(&Tree(), CPoint(rc.left + 6, rc.CenterPoint().y));
    EXPECT_TRUE(boxes.Shown().size() > shown || Main()->GetMDIChildren().size() > children);
    listener.DestroyWindow();
}

TEST_F(CaseTest, DragOntoEnsembleAndContextMenus)
{
    FillCase();
    CQORDoc* doc = Doc();
    PaintNow(&Tree());
    // Dragging a case model onto the ensemble copies it into the ensemble; the source stays.
    HTREEITEM truck = Child(Section(CElement::ELEMENT_LOADMODEL), 0);
    HTREEITEM fleet = Child(Section(CElement::ELEMENT_LOADMODELENSEMBLE), 0);
    CRect from, to;
    ASSERT_TRUE(Tree().GetItemRect(truck, &from, TRUE));
    ASSERT_TRUE(Tree().GetItemRect(fleet, &to, TRUE));
    CPoint start(from.left + 6, from.CenterPoint().y), end(to.left + 6, to.CenterPoint().y);
    MouseDown(&Tree(), start);
    MouseMove(&Tree(), start + CPoint(0, 8), MK_LBUTTON);
    MouseMove(&Tree(), end, MK_LBUTTON);
    EXPECT_EQ(Tree().GetDropHilightItem(), fleet);
    MouseUp(&Tree(), end);
    EXPECT_EQ(Tree().GetDropHilightItem(), nullptr);
    ASSERT_EQ(doc->m_vLoadModelEnsemble[0]->GetLoadModelCount(), 3);
    EXPECT_EQ(doc->m_vLoadModelEnsemble[0]->GetLoadModel(2)->m_Description, CString(L"Truck"));
    EXPECT_NE(doc->m_vLoadModelEnsemble[0]->GetLoadModel(2), doc->m_vLoadModel[0]) << "a copy";
    EXPECT_EQ(doc->m_vLoadModel.size(), 2u);
    EXPECT_TRUE(doc->IsModified());

    // The context menu of a model: its commands, the Add Reference Set entry greyed (no
    // handler); the choice runs in the pane.
    std::vector<qor::gui::PopupMenuRow> rows;
    auto previous = qor::gui::SetPopupMenuDriver([&](const std::vector<qor::gui::PopupMenuRow>& r, CPoint) {
        rows = r;
        return ID_ELEMENT_COPY;
    });
    truck = Child(Section(CElement::ELEMENT_LOADMODEL), 0);
    ASSERT_TRUE(Tree().GetItemRect(truck, &from, TRUE));
    Click(&Tree(), CPoint(from.left + 6, from.CenterPoint().y), VK_RBUTTON);
    qor::gui::SetPopupMenuDriver(previous);
    EXPECT_EQ(Tree().GetSelectedItem(), truck);
    auto row = [&](UINT id) {
        auto it = std::find_if(rows.begin(), rows.end(), [id](const qor::gui::PopupMenuRow& r) { return r.id == id; });
        return it == rows.end() ? nullptr : &*it;
    };
    ASSERT_NE(row(ID_ELEMENT_RENAME), nullptr);
    EXPECT_TRUE(row(ID_ELEMENT_RENAME)->enabled);
    ASSERT_NE(row(ID_CONFIGURATION_ADD_REF_SET), nullptr);
    EXPECT_FALSE(row(ID_CONFIGURATION_ADD_REF_SET)->enabled);
    EXPECT_TRUE(row(ID_CONFIGURATION_ADD_BRIDGE)->enabled);
    // The copy chosen from the menu pastes onto "Load Models".
    Tree().SelectItem(Section(CElement::ELEMENT_LOADMODEL));
    Command(ID_ELEMENT_PASTE);
    EXPECT_EQ(doc->m_vLoadModel.size(), 3u);
}

TEST_F(CaseTest, EnterAndEscapeOnABoxOverADialogCloseTheBoxAlone)
{
    // The boxes are the toolkit's own, keyed as the user keys them.
    KeyedMessageBoxes keyed({VK_RETURN, VK_ESCAPE});
    DrivenDialogs dialogs;
    dialogs.ThenAs<CBridgeDlg>([&](CBridgeDlg& d) {
        d.SetDlgItemText(IDC_BRIDGE_SPAN, L"0");
        PressOK(d);
        EXPECT_EQ(keyed.Shown(), 1) << "Enter on the box pressed the dialog's OK again";
        EXPECT_TRUE(d.IsWindowVisible());
        PressOK(d);
        EXPECT_EQ(keyed.Shown(), 2);
        EXPECT_TRUE(d.IsWindowVisible()) << "Escape on the box cancelled the dialog";
        EXPECT_EQ(keyed.Answers(), (std::vector<int>{IDOK, IDOK}));
        PressCancel(d);
    });
    SendMenuCommand(ID_CONFIGURATION_ADD_BRIDGE);
    EXPECT_TRUE(Doc()->m_vBridge.empty());
}

TEST_F(CaseTest, AddAndEditElementCommands)
{
    CQORDoc* doc = Doc();
    DrivenDialogs dialogs;
    // Cancel: nothing added, the id offered again; OK: the bridge with id 1 in the case and the tree.
    dialogs.ThenAs<CBridgeDlg>([](CBridgeDlg& d) {
        EXPECT_EQ(d.m_ID, 1);
        PressCancel(d);
    });
    SendMenuCommand(ID_CONFIGURATION_ADD_BRIDGE);
    EXPECT_TRUE(doc->m_vBridge.empty());
    EXPECT_EQ(doc->m_nBridgeID, 0);
    dialogs.ThenAs<CBridgeDlg>([](CBridgeDlg& d) {
        EXPECT_EQ(d.m_ID, 1);
        EXPECT_EQ(d.m_Description, CString(L"20 m single span"));
        PressOK(d);
    });
    SendMenuCommand(ID_CONFIGURATION_ADD_BRIDGE);
    ASSERT_EQ(doc->m_vBridge.size(), 1u);
    EXPECT_EQ(doc->m_vBridge[0]->m_ID, 1);
    EXPECT_EQ(doc->m_nBridgeID, 1);
    EXPECT_EQ(Children(Section(CElement::ELEMENT_BRIDGE)), (std::vector<CString>{L"20 m single span"}));
    EXPECT_TRUE(doc->IsModified());

    // Editing a calculated collection's stepping asks; No keeps everything, Yes clears the results.
    auto collection = std::make_shared<CReferenceCollection>(1, L"Ref", false, 20, 0.5);
    collection->m_bIsCalculated = true;
    doc->m_vRefCollection.push_back(collection);
    auto changeSteps = [](CRefCollectionDlg& d) {
        FindControl(d, 1006)->SetWindowText(L"37");
        PressOK(d);
    };
    dialogs.ThenAs<CRefCollectionDlg>(changeSteps);
    boxes.Answer(IDNO);
    doc->EditRefCollection(false, collection);
    ASSERT_FALSE(boxes.Shown().empty());
    EXPECT_EQ(boxes.Shown().back().text,
              CString(L"These edits will invalidate the stored results (which will be removed) - continue?"));
    EXPECT_TRUE(collection->m_bIsCalculated);
    EXPECT_EQ(collection->m_nStepPoints, 20);
    dialogs.ThenAs<CRefCollectionDlg>(changeSteps);
    boxes.Answer(IDYES);
    doc->EditRefCollection(false, collection);
    EXPECT_FALSE(collection->m_bIsCalculated);
    EXPECT_EQ(collection->m_nStepPoints, 37);
}

TEST_F(CaseTest, EveryStepTheSettingsPaneTakesTheAnalysisDialogsTakeToo)
{
    // One range a quantity: the pane's rule and the dialogs' are the same table's.
    static_assert(qor::dialogs::kStepRange.min == CSettings::kMinStepSize &&
                  qor::dialogs::kStepRange.max == CSettings::kMaxStepSize && qor::dialogs::kStepRange.aboveMin &&
                  qor::dialogs::kStepCountRange.max == CSettings::kMax16);
    SendMenuCommand(ID_TOOLS_OPTIONS);
    CMFCPropertyGridCtrl& grid = Main()->GetSettingsPane().GetPropertyGrid();
    CSettings& s = *CSettings::GetInstance();
    // A dialog given a stepping as the case gives it, then OK; refused, it is cancelled. A value
    // outside its range is said to be so as the dialog opens, and again at OK.
    auto accepts = [&](auto& dlg, bool byStep, double step, int count) {
        dlg.m_bByStep = byStep;
        dlg.m_StepSize = step;
        dlg.m_nSteps = count;
        DrivenDialogs driven;
        driven.ThenAs<std::remove_reference_t<decltype(dlg)>>([&](auto& d) {
            const std::size_t before = boxes.Shown().size();
            qor::test::PressOK(d);
            if (boxes.Shown().size() > before) qor::test::PressCancel(d);
        });
        return dlg.DoModal() == IDOK;
    };
    struct Stepping
    {
        const wchar_t* step;
        const wchar_t* count;
    };
    // The ends of each range and just beyond them.
    for (const Stepping c : {Stepping{L"0.0011", L"1"}, Stepping{L"1000", L"32767"}, Stepping{L"0.001", L"0"},
                             Stepping{L"1000.5", L"32768"}, Stepping{L"-2", L"-2"}})
    {
        s.SetDefaults();
        grid.EditValue(grid.FindItemByData(1020), c.step);
        grid.EditValue(grid.FindItemByData(1021), c.count);
        const double step = std::wcstod(c.step, nullptr);
        const int count = static_cast<int>(std::wcstol(c.count, nullptr, 10));
        const bool paneTakesStep = s.General.Stepping.STEPSIZE == step;
        const bool paneTakesCount = s.General.Stepping.NSTEPS == count;
        EXPECT_EQ(paneTakesStep, paneTakesCount) << CString(c.step).ToUtf8();
        for (const bool byStep : {true, false})
        {
            const bool paneTakes = byStep ? paneTakesStep : paneTakesCount;
            const std::size_t before = boxes.Shown().size();
            CMovingLoadDlg moving;
            EXPECT_EQ(accepts(moving, byStep, step, count), paneTakes) << CString(c.step).ToUtf8();
            CBridgeRangeDlg range;
            EXPECT_EQ(accepts(range, byStep, step, count), paneTakes) << CString(c.step).ToUtf8();
            // A stored collection with that stepping.
            auto collection = std::make_shared<CReferenceCollection>(1, L"Stored", byStep, count, step);
            CRefCollectionDlg refDlg;
            refDlg.SetRefCollection(collection);
            DrivenDialogs driven;
            driven.ThenAs<CRefCollectionDlg>([&](CRefCollectionDlg& d) {
                const std::size_t shown = boxes.Shown().size();
                qor::test::PressOK(d);
                if (boxes.Shown().size() > shown) qor::test::PressCancel(d);
            });
            EXPECT_EQ(refDlg.DoModal() == IDOK, paneTakes) << CString(c.step).ToUtf8();
            // Outside: said as each of the three opens and at its OK; inside: nothing said.
            EXPECT_EQ(boxes.Shown().size() - before, paneTakes ? 0u : 6u) << CString(c.step).ToUtf8();
        }
    }
    EXPECT_EQ(boxes.Shown().back().text, CString(L"The number of steps must be from 1 to 32,767."));
}

TEST_F(CaseTest, SettingsPaneLimitsResetAndNewCase)
{
    SendMenuCommand(ID_TOOLS_OPTIONS);
    CSettingsWnd& pane = Main()->GetSettingsPane();
    ASSERT_TRUE(pane.m_hWnd);
    CMFCPropertyGridCtrl& grid = pane.GetPropertyGrid();
    CSettings& s = *CSettings::GetInstance();
    auto edit = [&](DWORD_PTR id, const wchar_t* text) {
        CMFCPropertyGridProperty* p = grid.FindItemByData(id);
        EXPECT_NE(p, nullptr) << id;
        if (p) grid.EditValue(p, text);
        return p;
    };
    // Every refusal says the range the setting takes.
    auto refused = [&](DWORD_PTR id, const wchar_t* text, const wchar_t* message) {
        const std::size_t shown = boxes.Shown().size();
        edit(id, text);
        ASSERT_EQ(boxes.Shown().size(), shown + 1) << CString(text).ToUtf8();
        EXPECT_EQ(boxes.Shown().back().text, CString(message));
    };
    const wchar_t* pointsRange = L"Points Per Span must be a whole number from 21 to 1000.";
    refused(1100, L"20", pointsRange);
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 100);
    EXPECT_EQ(grid.FindItemByData(1100)->GetValue().AsInteger(), 100) << "a refused value shows the setting again";
    for (const wchar_t* text : {L"-5", L"100000", L"abc", L"30.5"}) refused(1100, text, pointsRange);
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 100);
    edit(1100, L"21");
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 21);
    edit(1100, L"1000");
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 1000);
    // No decimals at all would leave the numeric fields unable to take a decimal point.
    refused(1010, L"0", L"Factor must be a whole number from 1 to 9.");
    EXPECT_EQ(s.General.DecimalPlaces.FACTOR, 3);
    refused(1020, L"1e6", L"Step Size must be a number above 0.001 and at most 1000.");
    edit(1203, L"500");
    EXPECT_EQ(s.Plot.DATATIPDELAY, 3000);
    edit(1203, L"501");
    EXPECT_EQ(s.Plot.DATATIPDELAY, 501);
    edit(1020, L"0.001");
    EXPECT_DOUBLE_EQ(s.General.Stepping.STEPSIZE, 0.5);
    edit(1020, L"0.25");
    EXPECT_DOUBLE_EQ(s.General.Stepping.STEPSIZE, 0.25);
    edit(1021, L"0");
    EXPECT_EQ(s.General.Stepping.NSTEPS, 20);
    edit(1204, L"0");
    EXPECT_EQ(s.Plot.Gap.TOP, 10);
    edit(1101, L"2");
    EXPECT_EQ(s.Analysis.NO_AXLE_SPACINGS, 10);
    edit(1101, L"3");
    EXPECT_EQ(s.Analysis.NO_AXLE_SPACINGS, 3);
    edit(1012, L"10");
    EXPECT_EQ(s.General.DecimalPlaces.SPAN, 2);
    auto* colour = dynamic_cast<CMFCPropertyGridColorProperty*>(grid.FindItemByData(1002));
    ASSERT_NE(colour, nullptr);
    colour->OnColorChosen(RGB(10, 20, 30));
    EXPECT_EQ(s.General.LoadModel.CLR_LM_BGRND, RGB(10, 20, 30));
    {
        DrivenFileDialogs files;
        files.Answer(L"/opt/qor/manual.pdf");
        auto* help = dynamic_cast<CMFCPropertyGridFileProperty*>(grid.FindItemByData(1000));
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->Browse());
        EXPECT_EQ(s.General.HELPFILEPATH, CString(L"/opt/qor/manual.pdf"));
    }
    grid.SetCurSel(grid.FindItemByData(1100));
    EXPECT_EQ(grid.GetDescriptionText().Left(15), CString(L"Points Per Span"));

    // A new case takes the Output and Stepping settings.
    edit(1015, L"False");
    edit(1019, L"True");
    EXPECT_FALSE(s.General.Output.BMSF);
    EXPECT_TRUE(s.General.Stepping.BYSTEP);
    SendMenuCommand(ID_FILE_NEW);
    ASSERT_NE(Doc(), nullptr);
    EXPECT_FALSE(Doc()->m_Output.BMSF);
    EXPECT_TRUE(Doc()->m_bMLByStep);
    EXPECT_DOUBLE_EQ(Doc()->m_MLStepSize, 0.25);

    // Reset All: No changes nothing, Yes restores the defaults and the grid.
    CMFCToolBar& bar = pane.GetToolBar();
    ASSERT_EQ(bar.GetItemID(2), ID_RESET_ALL_SETTINGS);
    boxes.Answer(IDNO);
    EXPECT_TRUE(bar.ClickButton(2));
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 1000);
    EXPECT_EQ(boxes.Shown().back().type & MB_ICONHAND, UINT(MB_ICONHAND));
    boxes.Answer(IDYES);
    EXPECT_TRUE(bar.ClickButton(2));
    EXPECT_EQ(s.Analysis.NPOINTS_ALONG_BEAM, 100);
    EXPECT_EQ(grid.FindItemByData(1100)->GetValue().AsInteger(), 100);
    EXPECT_EQ(grid.FindItemByData(1002) != nullptr, true);
    EXPECT_TRUE(bar.ClickButton(0)); // collapse all
    EXPECT_FALSE(grid.GetProperty(0)->IsExpanded());
    EXPECT_TRUE(bar.ClickButton(1)); // alphabetical
    EXPECT_TRUE(grid.IsAlphabeticMode());
    RunIdle(*app);
    EXPECT_TRUE(bar.IsButtonChecked(1));
    EXPECT_FALSE(bar.IsButtonChecked(0));
}

} // namespace

namespace {

TEST_F(CaseTest, TreeFollowsTheCaseWhenItClosesAndAnotherOpens)
{
    FillCase();
    ASSERT_EQ(Children(Section(CElement::ELEMENT_BRIDGE)).size(), 1u);
    SendMenuCommand(ID_FILE_CLOSE);
    ASSERT_EQ(Doc(), nullptr);
    EXPECT_EQ(Tree().GetRootItem(), nullptr) << "no case, no elements";
    EXPECT_EQ(Pane().GetSectionItem(CElement::ELEMENT_BRIDGE), nullptr);

    SendMenuCommand(ID_FILE_NEW);
    ASSERT_NE(Doc(), nullptr);
    EXPECT_TRUE(Children(Section(CElement::ELEMENT_BRIDGE)).empty());
    EXPECT_EQ(Children(nullptr).size(), 7u);
}

} // namespace
