// The grid view in a real frame: every kind of result as a table built from real engine
// results, values checked against beam results worked by hand, locale-formatted numbers that
// copy and save as shown, the enhanced critical-ratio grid, and long tables printed over pages.
#include "views_support.h"

#include "controls/grid/GridCellNumeric.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "output/AnalysisOutput.h"
#include "platform/gui/widgets/Looks.h"
#include "platform/gui/window/Clipboard.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PrintTest.h"
#include "ui/views/GridView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::shared_ptr<CLoadModel> Axle(double P, const wchar_t* name)
{
    auto lm = std::make_shared<CLoadModel>(1, CString(name));
    lm->AddPointLoad(P, 0.0, 0.0);
    return lm;
}

std::shared_ptr<CBridge> SimpleSpan(double L)
{
    return std::make_shared<CBridge>(1, CString(L"Simple"), CBridge::CONFIG_ONESPAN, L);
}

std::shared_ptr<CEnvelopeResults> MovingLoad(const std::shared_ptr<CBridge>& bridge,
                                             const std::shared_ptr<CLoadModel>& lm)
{
    CMovingLoadAnalysis analysis(bridge, lm);
    analysis.SetPointsPerSpan(10);
    int nSteps = 0;
    double step = 1.0;
    return analysis.Run(true, nSteps, step);
}

class GridViewTest : public ::testing::Test
{
protected:
    viewtest::ViewTestApp app;

    void SetUp() override { ASSERT_TRUE(qor::test::StartApplication(app)); }
    void TearDown() override { qor::test::StopApplication(app); }

    // A fresh grid view in its own child frame, as the document opens one.
    CGridView* OpenView()
    {
        CDocument* pDoc = app.m_pGridTemplate->OpenDocumentFile(nullptr);
        if (!pDoc) return nullptr;
        CMDIChildWnd* pChild = qor::test::MainFrame()->MDIGetActive();
        return pChild ? DYNAMIC_DOWNCAST(CGridView, pChild->GetActiveView()) : nullptr;
    }

    // A fresh view showing the beam results of an axle at 4 m on a 10 m span.
    CGridView* OpenSinglePositionView()
    {
        auto bridge = SimpleSpan(10.0);
        auto lm = Axle(1000.0, L"Axle");
        CSinglePosAnalysis analysis(bridge, lm);
        CGridView* v = OpenView();
        if (v) v->ShowSinglePosition(true, std::make_shared<CAOSinglePosition>(analysis.Run(4.0), bridge, lm, 4.0));
        return v;
    }

    static CString Text(CGridView* v, int r, int c) { return v->GetGrid()->GetItemText(r, c); }

    // The number held by a numeric cell (NaN for any other cell).
    static double Number(CGridView* v, int r, int c)
    {
        auto* pCell = dynamic_cast<CGridCellNumeric*>(v->GetGrid()->GetCell(r, c));
        return pCell && pCell->GetText() && pCell->GetText()[0] ? pCell->GetNumber() : std::nan("");
    }

    static std::vector<CString> Captions(CGridView* v)
    {
        std::vector<CString> captions;
        for (int c = 1; c < v->GetGrid()->GetColumnCount(); c++) captions.push_back(Text(v, 0, c));
        return captions;
    }

    // The first data row whose column holds the value.
    static int RowOf(CGridView* v, int col, double value)
    {
        for (int r = 1; r < v->GetGrid()->GetRowCount(); r++)
            if (std::fabs(Number(v, r, col) - value) < 1e-9) return r;
        return -1;
    }
};

} // namespace

TEST_F(GridViewTest, SinglePositionTablesHoldTheBeamResultsAsShownByTheLocale)
{
    // A 1000 kN axle at 4 m on a 10 m simple span: M(4) = P a b / L = 2400 kNm, the shear just
    // left of the load P b / L = 600 kN; reactions 600 and 400 kN.
    auto bridge = SimpleSpan(10.0);
    auto lm = Axle(1000.0, L"Axle");
    CSinglePosAnalysis analysis(bridge, lm);
    auto pAO = std::make_shared<CAOSinglePosition>(analysis.Run(4.0), bridge, lm, 4.0);

    CGridView* v = OpenView();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->GetViewType(), CQORViewBase::VIEWTYPE_GRID);
    v->ShowSinglePosition(true, pAO);
    std::vector<double> x, M;
    pAO->GetResults()->GetResults(x, M, 0);
    ASSERT_GT(x.size(), 10u);
    EXPECT_EQ(v->GetGrid()->GetRowCount(), static_cast<int>(x.size()) + 1);
    EXPECT_EQ(Captions(v), std::vector<CString>({L"x Beam (m)", L"Moment (kNm)", L"Shear (kN)"}));
    EXPECT_EQ(Text(v, 1, 0), CString(L"1"));
    const int at4 = RowOf(v, 1, 4.0);
    ASSERT_GT(at4, 0);
    EXPECT_NEAR(Number(v, at4, 2), 2400.0, 1e-6);
    EXPECT_EQ(Text(v, at4, 2), CString(L"2,400.00"));
    const int at2 = RowOf(v, 1, 2.0);
    ASSERT_GT(at2, 0);
    EXPECT_NEAR(Number(v, at2, 2), 1200.0, 1e-6);
    EXPECT_NEAR(std::fabs(Number(v, at2, 3)), 600.0, 1e-6);
    EXPECT_FALSE(v->GetGrid()->IsEditable());

    CGridView* r = OpenView();
    ASSERT_NE(r, nullptr);
    r->ShowSinglePosition(false, pAO);
    EXPECT_EQ(r->GetTitle().Find(L"Single Position Analysis: Reactions | Bridge: Simple"), 0);
    ASSERT_EQ(r->GetGrid()->GetRowCount(), 2);
    EXPECT_EQ(Captions(r), std::vector<CString>({L"Reaction - 1", L"Reaction - 2"}));
    EXPECT_EQ(Text(r, 1, 0), CString(L"Value"));
    EXPECT_NEAR(std::fabs(Number(r, 1, 1)), 600.0, 1e-6);
    EXPECT_NEAR(std::fabs(Number(r, 1, 2)), 400.0, 1e-6);

    // A result without points: the caption row only.
    auto pEmpty = std::make_shared<CAOSinglePosition>(std::make_shared<CBeamResults>(), bridge, lm, 0.0);
    CGridView* e = OpenView();
    e->ShowSinglePosition(true, pEmpty);
    EXPECT_EQ(e->GetGrid()->GetRowCount(), 1);
    EXPECT_EQ(Captions(e).size(), 3u);
    e->ShowSinglePosition(false, pEmpty);
    EXPECT_EQ(e->GetGrid()->GetRowCount(), 1);
}

TEST_F(GridViewTest, MovingLoadTablesOfOneModelAndOfAnEnsemble)
{
    // A 100 kN axle by 1 m steps over 10 m: the moment maximum at x is 100 x (10 - x) / 10,
    // caused with the axle at x; with the axle at p the reactions are 100 (10 - p) / 10 and
    // 100 p / 10.
    auto bridge = SimpleSpan(10.0);
    auto light = Axle(100.0, L"Light");
    auto pResults = MovingLoad(bridge, light);

    CGridView* v = OpenView();
    v->ShowMovingLoadEnvelopes(false, true, std::make_shared<CAOMovingLoad>(pResults, bridge, light, 12));
    EXPECT_EQ(v->GetGrid()->GetRowCount(), static_cast<int>(pResults->GetBMEnvelope()->m_vMax.size()) + 1);
    EXPECT_EQ(Captions(v),
              std::vector<CString>({L"x Beam", L"BMD - Max", L"x Load Model", L"BMD - Min", L"x Load Model",
                                    L"SFD - Max", L"x Load Model", L"SFD - Min", L"x Load Model"}));
    const int at3 = RowOf(v, 1, 3.0);
    ASSERT_GT(at3, 0);
    EXPECT_NEAR(Number(v, at3, 2), 210.0, 1e-6);
    EXPECT_NEAR(Number(v, at3, 3), 3.0, 1e-9);
    EXPECT_EQ(Text(v, at3, 2), CString(L"210.00"));

    CGridView* r = OpenView();
    r->ShowMovingLoadEnvelopes(false, false, std::make_shared<CAOMovingLoad>(pResults, bridge, light, 12));
    EXPECT_EQ(Captions(r), std::vector<CString>({L"x Load Model", L"Reaction 1 - Max", L"Reaction 1 - Min",
                                                 L"Reaction 2 - Max", L"Reaction 2 - Min"}));
    const int p4 = RowOf(r, 1, 4.0);
    ASSERT_GT(p4, 0);
    EXPECT_NEAR(std::fabs(Number(r, p4, 2)), 60.0, 1e-6);
    EXPECT_NEAR(std::fabs(Number(r, p4, 4)), 40.0, 1e-6);

    // Fewer reaction envelopes than supports: the groups stay, the missing cells are empty;
    // none at all: the caption row only.
    auto pShort = std::make_shared<CEnvelopeResults>(*pResults);
    pShort->m_vEnvReaction.resize(1);
    r->ShowMovingLoadEnvelopes(false, false, std::make_shared<CAOMovingLoad>(pShort, bridge, light, 12));
    EXPECT_EQ(r->GetGrid()->GetColumnCount(), 6);
    EXPECT_NEAR(std::fabs(Number(r, p4, 2)), 60.0, 1e-6);
    EXPECT_EQ(Text(r, p4, 4), CString(L""));
    pShort->m_vEnvReaction.clear();
    r->ShowMovingLoadEnvelopes(false, false, std::make_shared<CAOMovingLoad>(pShort, bridge, light, 12));
    EXPECT_EQ(r->GetGrid()->GetRowCount(), 1);
    EXPECT_EQ(r->GetGrid()->GetColumnCount(), 6);

    // An ensemble of 100 and 150 kN over the same span: the heavier governs the moment maximum,
    // 150 x (10 - x) / 10. A point without a load model shows "Zero LM".
    auto heavy = Axle(150.0, L"Heavy");
    auto fleet = std::make_shared<CLoadModelEnsemble>(1, CString(L"Fleet"));
    fleet->AddLoadModel(light);
    fleet->AddLoadModel(heavy);
    auto RunFleet = [&](const std::shared_ptr<CBridge>& onBridge) {
        CMultiMovingLoadAnalysis multi(onBridge, fleet);
        multi.SetPointsPerSpan(10);
        int nSteps = 0;
        double step = 1.0;
        auto pCombined = multi.Run(true, nSteps, step);
        return std::make_shared<CAOMultiMovingLoad>(pCombined, onBridge, fleet, multi.GetLoadModelResults(), 24);
    };

    auto pSimple = RunFleet(bridge);
    for (PointLoadEffect& point : pSimple->GetResults()->GetBMEnvelope()->m_vMin)
        if (point.xBeam == 5.0) point.pLM = nullptr;
    CGridView* m = OpenView();
    m->ShowMultiMovingLoadEnvelopes(false, true, pSimple);
    EXPECT_EQ(Captions(m), std::vector<CString>({L"x Beam", L"BMD - Max", L"Load Model", L"BMD - Min", L"Load Model",
                                                 L"SFD - Max", L"Load Model", L"SFD - Min", L"Load Model"}));
    const int mid = RowOf(m, 1, 5.0);
    ASSERT_GT(mid, 0);
    EXPECT_NEAR(Number(m, mid, 2), 375.0, 1e-6);
    EXPECT_EQ(Text(m, mid, 3), CString(L"Heavy"));
    EXPECT_NEAR(Number(m, mid, 4), 0.0, 1e-12);
    EXPECT_EQ(Text(m, mid, 5), CString(L"Zero LM"));
    // Names are left-aligned text cells, values centred numbers.
    EXPECT_FALSE(m->GetGrid()->GetCell(mid, 3)->IsKindOf(RUNTIME_CLASS(CGridCellNumeric)));
    EXPECT_EQ(m->GetGrid()->GetCell(mid, 3)->GetFormat(), 0x8824u);
    EXPECT_EQ(m->GetGrid()->GetCell(mid, 2)->GetFormat(), 0x8825u);

    // A load model named with 5 MB of text (a pasted file): its column is as wide as the screens and its
    // margins, no wider (not some 27 million pixels), and shows the whole name; every other keeps its size.
    std::wstring huge = L"Heavy";
    while (huge.size() < (5u << 20)) huge += L" over the river and the railway yards";
    heavy->m_Description = CString(huge.c_str());
    m->ShowMultiMovingLoadEnvelopes(false, true, pSimple);
    const int screens = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    EXPECT_EQ(Text(m, mid, 3).GetLength(), static_cast<int>(huge.size()));
    EXPECT_GE(m->GetGrid()->GetColumnWidth(3), screens);
    for (int col = 0; col < m->GetGrid()->GetColumnCount(); col++)
        EXPECT_LE(m->GetGrid()->GetColumnWidth(col), screens + 16) << col;
    EXPECT_LT(m->GetGrid()->GetColumnWidth(2), screens / 4);
    heavy->m_Description = L"Heavy";

    // Two spans have three supports.
    auto twoSpan = std::make_shared<CBridge>(2, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 10.0);
    auto pMulti = RunFleet(twoSpan);
    const auto pCombined = pMulti->GetResults();
    CGridView* mr = OpenView();
    mr->ShowMultiMovingLoadEnvelopes(false, false, pMulti);
    // Three supports: the position column and four columns each.
    ASSERT_EQ(mr->GetGrid()->GetColumnCount(), 14);
    EXPECT_EQ(Text(mr, 0, 1), CString(L"x Load Model"));
    EXPECT_EQ(Text(mr, 0, 2), CString(L"Reaction 1 - Max"));
    EXPECT_EQ(Text(mr, 0, 3), CString(L"Critical LM"));
    EXPECT_EQ(Text(mr, 0, 4), CString(L"Reaction1 - Min"));
    EXPECT_EQ(Text(mr, 0, 13), CString(L"Critical LM"));
    EXPECT_EQ(Text(mr, 1, 1), CString(L"Point 1"));
    EXPECT_EQ(mr->GetGrid()->GetRowCount(), static_cast<int>(pCombined->GetReactionEnvelope(0)->m_vMax.size()) + 1);
    // The points' labels and the models' names, as shown, saved and measured: the last row in full, and the
    // labels' column as wide as the last label.
    const int last = mr->GetGrid()->GetRowCount() - 1;
    EXPECT_EQ(Text(mr, last, 1), L"Point " + CString(std::to_wstring(last).c_str()));
    EXPECT_EQ(Text(mr, last, 3), pCombined->GetReactionEnvelope(0)->m_vMax.back().GetLoadModelName());
    EXPECT_EQ(Text(mr, last, 13), pCombined->GetReactionEnvelope(2)->m_vMin.back().GetLoadModelName());
    const std::string path = qor::test::TempFilePath("fleet-reactions.csv");
    ASSERT_TRUE(mr->GetGrid()->Save(CString::FromUtf8(path)));
    std::ifstream in(path, std::ios::binary);
    std::string line, lastLine;
    while (std::getline(in, line)) lastLine = line;
    std::string expected;
    for (int col = 0; col < mr->GetGrid()->GetColumnCount(); col++)
    {
        if (col) expected += ';';
        expected += Text(mr, last, col).ToUtf8();
    }
    EXPECT_EQ(lastLine, expected + "\r");
    CDC* pDC = mr->GetGrid()->GetDC();
    ASSERT_TRUE(pDC);
    EXPECT_GE(mr->m_vTextWidths.at(1), mr->GetGrid()->GetCell(last, 1)->GetCellExtent(pDC).cx);
    mr->GetGrid()->ReleaseDC(pDC);
}

TEST_F(GridViewTest, BridgeRangeTablesGiveOneRowPerBridge)
{
    // One 100 kN axle over simple spans of 10, 15 and 20 m: M max = P L / 4 at mid-span with
    // the axle there; the first reaction is greatest, 100 kN, with the axle on that support.
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Spans"), 3, CBridge::CONFIG_ONESPAN, 10.0, 20.0);
    auto lm = Axle(100.0, L"Axle");
    CMultiBridgeAnalysis analysis(set, lm);
    analysis.SetPointsPerSpan(10);
    int nSteps = 0;
    double step = 0.5;
    auto pValues = std::make_shared<CCriticalValueEnsemble>(analysis.Run(true, nSteps, step), set);
    auto pAO = std::make_shared<CAOBridgeRange>(pValues, set, lm);

    CGridView* v = OpenView();
    v->ShowReferenceValues(true, pAO);
    ASSERT_EQ(v->GetGrid()->GetRowCount(), 4);
    ASSERT_EQ(v->GetGrid()->GetColumnCount(), 15);
    EXPECT_EQ(Text(v, 0, 1), CString(L"Bridge Span"));
    EXPECT_EQ(Text(v, 0, 14), CString(L"x Load Model"));
    EXPECT_EQ(Text(v, 3, 0), CString(L"3"));
    const double spans[] = {10.0, 15.0, 20.0};
    for (int i = 0; i < 3; i++)
    {
        EXPECT_NEAR(Number(v, i + 1, 1), spans[i], 1e-9);
        EXPECT_NEAR(Number(v, i + 1, 2), spans[i], 1e-9);
        EXPECT_NEAR(Number(v, i + 1, 3), 25.0 * spans[i], 1e-6);
        EXPECT_NEAR(Number(v, i + 1, 4), spans[i] / 2, 1e-9);
        EXPECT_NEAR(Number(v, i + 1, 5), spans[i] / 2, 1e-9);
    }

    CGridView* r = OpenView();
    r->ShowReferenceValues(false, pAO);
    ASSERT_EQ(r->GetGrid()->GetColumnCount(), 11);
    EXPECT_EQ(Captions(r), std::vector<CString>({L"Bridge Span", L"Bridge Length", L"Reaction 1 - Max", L"x Load Model",
                                                 L"Reaction 1 - Min", L"x Load Model", L"Reaction 2 - Max",
                                                 L"x Load Model", L"Reaction 2 - Min", L"x Load Model"}));
    // An axle standing on a support loads the beam with nothing, so the greatest first
    // reaction comes with the axle one step (0.5 m) in: 100 (15 - 0.5) / 15.
    EXPECT_NEAR(std::fabs(Number(r, 2, 3)), 100.0 * 14.5 / 15.0, 1e-6);
    EXPECT_NEAR(Number(r, 2, 4), 0.5, 1e-9);

    // A set without bridges: captions only, and no support groups.
    auto emptySet = std::make_shared<CBridgeSet>();
    auto pNone = std::make_shared<CAOBridgeRange>(
        std::make_shared<CCriticalValueEnsemble>(std::vector<std::shared_ptr<CEnvelopeResults>>(), emptySet), emptySet,
        lm);
    r->ShowReferenceValues(false, pNone);
    EXPECT_EQ(r->GetGrid()->GetRowCount(), 1);
    EXPECT_EQ(r->GetGrid()->GetColumnCount(), 3);
}

namespace {

// A collection on simple spans (3 bridges, 10 to 20 m) and two-span bridges (2 bridges of
// 10 and 15 m spans) with one 100 kN axle as reference; the proposed vehicle is a 200 kN axle,
// so every ratio of a non-zero reference is 2.
struct Collection
{
    std::shared_ptr<CBridgeSet> simple =
        std::make_shared<CBridgeSet>(1, CString(L"Simple"), 3, CBridge::CONFIG_ONESPAN, 10.0, 20.0);
    std::shared_ptr<CBridgeSet> twoSpan =
        std::make_shared<CBridgeSet>(2, CString(L"Two-span"), 2, CBridge::CONFIG_TWOSPAN, 10.0, 15.0);
    std::shared_ptr<CLoadModelEnsemble> reference = std::make_shared<CLoadModelEnsemble>(1, CString(L"Reference"));
    std::shared_ptr<CReferenceCollection> coll =
        std::make_shared<CReferenceCollection>(1, CString(L"Network"), true, 0, 0.5);

    Collection()
    {
        reference->AddLoadModel(Axle(100.0, L"Axle 100"));
        coll->m_vLME = {reference};
        coll->m_vBS = {simple, twoSpan};
    }
    bool Compute()
    {
        if (!coll->Calculate()) return false;
        coll->SetProposedLoadModel(Axle(200.0, L"Axle 200"));
        return coll->CalculateRatios(1.0);
    }
};

} // namespace

TEST_F(GridViewTest, ReferenceSetComparedEnvelopesAndCriticalRatios)
{
    Collection c;
    ASSERT_TRUE(c.Compute());
    const auto refSet = c.coll->GetRefSet(0);
    ASSERT_EQ(refSet->GetBridgeSet(), c.simple);

    CGridView* v = OpenView();
    v->ShowReferenceSetValues(true, std::make_shared<CAOReferenceSet>(refSet, false));
    ASSERT_EQ(v->GetGrid()->GetRowCount(), 4);
    EXPECT_EQ(Captions(v), std::vector<CString>({L"Bridge Span", L"Bridge Length", L"BMD - Max", L"BMD - Min",
                                                 L"SFD - Max", L"SFD - Min"}));
    EXPECT_NEAR(Number(v, 2, 3), 375.0, 1e-6);
    // The shear beside the first support of the 20 m bridge, axle one 0.5 m step in.
    EXPECT_NEAR(std::fabs(Number(v, 3, 5)), 100.0 * 19.5 / 20.0, 1e-6);

    v->ShowReferenceSetValues(false, std::make_shared<CAOReferenceSet>(refSet, false));
    EXPECT_EQ(Captions(v), std::vector<CString>({L"Bridge Span", L"Bridge Length", L"Reaction 1 - Max",
                                                 L"Reaction 1 - Min", L"Reaction 2 - Max", L"Reaction 2 - Min"}));

    // The envelopes of the 15 m bridge: the proposed moment is twice the reference one.
    auto pCompare = std::make_shared<CAOCompareRefSetEnvs>(false, 1, refSet);
    CGridView* e = OpenView();
    e->ShowCompareEnvelopes(true, pCompare);
    EXPECT_EQ(Text(e, 0, 6), CString(L"Prop BMD - Max"));
    const int mid = RowOf(e, 1, 7.5);
    ASSERT_GT(mid, 0);
    EXPECT_NEAR(Number(e, mid, 2), 375.0, 1e-6);
    EXPECT_NEAR(Number(e, mid, 6), 750.0, 1e-6);

    e->ShowCompareEnvelopes(false, pCompare);
    ASSERT_EQ(e->GetGrid()->GetColumnCount(), 11);
    EXPECT_EQ(Text(e, 0, 1), CString(L"Ref x Load Model"));
    EXPECT_EQ(Text(e, 0, 6), CString(L"Prop x Load Model"));
    EXPECT_EQ(Text(e, 0, 7), CString(L"Reaction 1 - Max"));
    const int p5 = RowOf(e, 1, 5.0);
    ASSERT_GT(p5, 0);
    EXPECT_NEAR(std::fabs(Number(e, p5, 2)), 100.0 * 10.0 / 15.0, 1e-6);
    EXPECT_NEAR(std::fabs(Number(e, p5, 7)), 200.0 * 10.0 / 15.0, 1e-6);

    // Critical ratios: 2 where the reference is not zero, 0 (shown as such) where it is.
    auto pRatios = std::make_shared<CAOCriticalRatios>(c.coll->GetCritRatios()[0], c.coll, refSet);
    CGridView* k = OpenView();
    k->ShowCriticalRatios(true, pRatios);
    ASSERT_EQ(k->GetGrid()->GetRowCount(), 4);
    for (int row = 1; row <= 3; row++)
    {
        EXPECT_EQ(Text(k, row, 3), CString(L"2.00"));
        EXPECT_NEAR(Number(k, row, 3), 2.0, 1e-9);
    }
    EXPECT_EQ(Text(k, 1, 4), CString(L"0.00"));
    k->ShowCriticalRatios(false, pRatios);
    ASSERT_EQ(k->GetGrid()->GetColumnCount(), 7);
    EXPECT_EQ(Text(k, 0, 3), CString(L"Reaction 1 - Max"));
    EXPECT_NEAR(Number(k, 2, 3), 2.0, 1e-9);
}

TEST_F(GridViewTest, EnhancedGridPutsTheSetsSideBySide)
{
    Collection c;
    ASSERT_TRUE(c.Compute());
    CGridView* v = OpenView();
    auto pAO = std::make_shared<CAOEnhanced>(c.coll);
    v->ShowEnhancedCriticalRatios(pAO);
    EXPECT_EQ(v->GetTitle(), L"Enhanced Grid Output |" + pAO->GetDescription());
    // Rows of the larger set; each set's group has its own spans under a heading naming the set.
    ASSERT_EQ(v->GetGrid()->GetRowCount(), 4);
    EXPECT_EQ(Captions(v),
              std::vector<CString>({L"Simple: Bridge Span", L"Moment", L"Shear", L"Abutment", L"Two-span: Bridge Span",
                                    L"Moment - Sag", L"Moment - Hog", L"Shear", L"Abutment", L"Pier"}));
    EXPECT_NEAR(Number(v, 1, 1), 10.0, 1e-9);
    EXPECT_NEAR(Number(v, 3, 1), 20.0, 1e-9);
    EXPECT_NEAR(Number(v, 1, 5), 10.0, 1e-9);
    EXPECT_NEAR(Number(v, 2, 5), 15.0, 1e-9); // the two-span set's own second span, not the simple set's
    for (int col : {2, 3, 4, 6, 8, 9}) EXPECT_NEAR(Number(v, 1, col), 2.0, 1e-9) << col;
    // The two-span set has two bridges: its third row is empty.
    EXPECT_NEAR(Number(v, 2, 10), 2.0, 1e-9);
    for (int col = 5; col <= 10; col++) EXPECT_EQ(Text(v, 3, col), CString(L"")) << col;

    // A collection without ratios: the title and the span caption only.
    auto pEmpty = std::make_shared<CAOEnhanced>(std::make_shared<CReferenceCollection>());
    CGridView* e = OpenView();
    e->ShowEnhancedCriticalRatios(pEmpty);
    EXPECT_EQ(e->GetGrid()->GetRowCount(), 1);
    EXPECT_EQ(Captions(e), std::vector<CString>({L"Bridge Span"}));
}

TEST_F(GridViewTest, EnhancedGridShowsNoRatingAsNotApplicable)
{
    // A reference that applies to bridges up to 5 m only gives no reference effect on any bridge:
    // the proposed axle has no rating anywhere, which the grid must not show as 0.
    Collection c;
    auto limited = Axle(100.0, L"Short only");
    limited->m_bUseMaxL = true;
    limited->m_maxL = 5.0;
    c.reference->m_vLoadModel = {limited};
    ASSERT_TRUE(c.Compute());
    CGridView* v = OpenView();
    v->ShowEnhancedCriticalRatios(std::make_shared<CAOEnhanced>(c.coll));
    for (int row : {1, 2})
        for (int col : {2, 3, 4, 6, 7, 8, 9, 10}) EXPECT_EQ(Text(v, row, col), CString(L"n/a")) << row << "," << col;
    EXPECT_NEAR(Number(v, 2, 5), 15.0, 1e-9); // the spans stay numbers
}

TEST_F(GridViewTest, CopySaveAndPrintGiveWhatTheTableShows)
{
    auto bridge = SimpleSpan(10.0);
    auto lm = Axle(1000.0, L"Axle");
    CSinglePosAnalysis analysis(bridge, lm);
    auto pAO = std::make_shared<CAOSinglePosition>(analysis.Run(4.0), bridge, lm, 4.0);
    CGridView* v = OpenView();
    v->ShowSinglePosition(true, pAO);
    CGridCtrl* grid = v->GetGrid();

    // The grid fills the view below the title.
    CRect client, placed;
    v->GetClientRect(&client);
    grid->GetWindowRect(&placed);
    v->ScreenToClient(&placed);
    EXPECT_EQ(placed.top, v->GetGap().TOP + v->GetContentTop());
    EXPECT_EQ(placed.bottom, client.bottom);
    EXPECT_EQ(placed.Width(), client.Width());

    // The columns fill the grid's width while their texts fit; in a narrow view they keep the
    // width of their widest text and the table scrolls.
    auto columnsWidth = [grid] {
        int total = 0;
        for (int col = 0; col < grid->GetColumnCount(); col++) total += grid->GetColumnWidth(col);
        return total;
    };
    CRect gridClient;
    grid->GetClientRect(&gridClient);
    EXPECT_EQ(columnsWidth(), gridClient.Width());
    v->MoveWindow(0, 0, 180, 400);
    qor::test::Pump();
    grid->GetClientRect(&gridClient);
    EXPECT_GT(columnsWidth(), gridClient.Width());
    CDC* pDC = grid->GetDC();
    for (int col = 1; col < 4; col++)
        EXPECT_GE(grid->GetColumnWidth(col), grid->GetCell(0, col)->GetCellExtent(pDC).cx) << col;
    grid->ReleaseDC(pDC);
    v->GetParentFrame()->RecalcLayout();
    qor::test::Pump();

    // Edit > Copy of a block reaches the grid through the view: the texts as shown.
    const int at4 = RowOf(v, 1, 4.0);
    ASSERT_GT(at4, 1);
    grid->SetSelectedRange(at4 - 1, 1, at4, 2);
    qor::test::SendMenuCommand(ID_EDIT_COPY);
    CString copied;
    ASSERT_TRUE(qor::GetClipboardText(copied));
    EXPECT_EQ(copied, Text(v, at4 - 1, 1) + L"\t" + Text(v, at4 - 1, 2) + L"\r\n4.00\t2,400.00");

    // The CSV file holds every cell as shown.
    const std::string path = qor::test::TempFilePath("single.csv");
    ASSERT_TRUE(grid->Save(CString::FromUtf8(path)));
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "sep=;\r");
    for (int row = 0; row < grid->GetRowCount(); row++)
    {
        ASSERT_TRUE(std::getline(in, line)) << row;
        std::string expected;
        for (int col = 0; col < grid->GetColumnCount(); col++)
        {
            if (col) expected += ';';
            expected += Text(v, row, col).ToUtf8();
        }
        EXPECT_EQ(line, expected + "\r") << row;
    }

    // A hundred rows print over several pages, each with the view title in its header.
    EXPECT_EQ(grid->GetPrintTitle(), v->GetTitle());
    EXPECT_EQ(grid->GetPrintRightTitle(), CString(L"Kestrain QOR"));
    const std::string pdf = qor::test::TempPdfPath("single.pdf");
    {
        qor::test::DrivenPrinting printing(pdf);
        qor::test::SendMenuCommand(ID_FILE_PRINT);
    }
    const int pages = qor::test::CountPdfPages(pdf);
    EXPECT_GT(pages, 1);
    const auto contents = qor::test::PdfPageContents(pdf);
    ASSERT_EQ(static_cast<int>(contents.size()), pages);
    for (const auto& content : contents) EXPECT_FALSE(qor::test::PdfTextSizes(content).empty());
}

TEST_F(GridViewTest, TheTitleIsReadableInEveryLook)
{
    CGridView* v = OpenSinglePositionView();
    ASSERT_NE(v, nullptr);
    for (qor::gui::Look look : {qor::gui::Look::Light, qor::gui::Look::Dark})
    {
        qor::gui::SetApplicationLook(look);
        qor::test::PaintNow(v);
        int width = 0, height = 0;
        const std::vector<COLORREF> pixels = qor::test::ShownPixels(v, &width, &height);
        ASSERT_GT(width, 0);
        // The title's band: its face colour in the corner, its strongest stroke against it.
        const COLORREF face = pixels[1];
        double best = 1;
        for (int y = 0; y < std::min(v->GetContentTop(), height); ++y)
            for (int x = 0; x < width; ++x)
                best = std::max(best, qor::gui::ContrastRatio(pixels[static_cast<size_t>(y * width + x)], face));
        EXPECT_GE(best, 4.5) << static_cast<int>(look);
    }
    qor::gui::SetApplicationLook(qor::gui::Look::Light);
}

// A table prints the same in every look: black text on white paper, its headings on the default look's
// light face, whatever look the screen is in. Page 1 printed in the dark look, and in the classic one, is
// page 1 printed in the default look, pixel for pixel above the footer (whose time may tick between).
TEST_F(GridViewTest, ATablePrintsTheSameInEveryLook)
{
    CGridView* v = OpenSinglePositionView();
    ASSERT_NE(v, nullptr);
    constexpr int kWidth = 600, kHeight = 848, kAboveFooter = kHeight * 92 / 100;
    auto printed = [&](qor::gui::Look look) {
        qor::gui::SetApplicationLook(look);
        qor::test::Pump();
        return qor::test::PrintedFirstPage([] { qor::test::SendMenuCommand(ID_FILE_PRINT); }, kWidth, kHeight);
    };
    const std::vector<COLORREF> light = printed(qor::gui::Look::Light);
    ASSERT_EQ(light.size(), static_cast<size_t>(kWidth * kHeight));
    // The default look's page: white paper, black text, the headings' light face (no dark block).
    const auto luminance = [](COLORREF c) { return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100; };
    EXPECT_GT(std::count_if(light.begin(), light.end(), [&](COLORREF c) { return luminance(c) < 60; }), 2000);
    EXPECT_GT(std::count(light.begin(), light.end(), RGB(240, 240, 240)), 2000) << "the headings' face";
    for (qor::gui::Look look : {qor::gui::Look::Dark, qor::gui::Look::Classic})
    {
        const std::vector<COLORREF> other = printed(look);
        ASSERT_EQ(other.size(), light.size());
        int differing = 0;
        for (size_t i = 0; i < static_cast<size_t>(kWidth * kAboveFooter); ++i) differing += other[i] != light[i];
        EXPECT_EQ(differing, 0) << "look " << static_cast<int>(look);
    }
    qor::gui::SetApplicationLook(qor::gui::Look::Light);
}
