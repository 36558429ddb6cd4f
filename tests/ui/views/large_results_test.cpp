// The largest result windows in a real frame: a reaction table of tens of thousands of rows opens
// at a small cost a row, makes only the rows it shows and reads as a table built cell by cell; an
// ensemble's of many more fills in slices without holding the window;
// a "show all" plot draws its curves from the kept positions, as a series a curve would, without a
// copy of them, and is redrawn in slices from the message loop.
#include "views_support.h"

#include "controls/grid/GridCellNumeric.h"
#include "engine/analysis/Envelope.h"
#include "engine/settings/Settings.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <malloc.h>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using Clock = std::chrono::steady_clock;

// The longest the window may not answer, in ms: a quarter of a second, in a build whose drawing code is
// instrumented (sanitizers, no optimisation) four times that.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kQuarterSecond = 1000.0;
#else
constexpr double kQuarterSecond = 250.0;
#endif

// The bytes the program holds on its heap now.
double LiveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<double>(mallinfo2().uordblks + mallinfo2().hblkhd);
#endif
}

// The pixels of a chart's image, drawn afresh.
std::vector<unsigned char> Redrawn(CPlotView* view, unsigned i)
{
    CChartCtrl* chart = view->GetChart(i);
    chart->RefreshCtrl();
    view->FinishDrawing();
    BITMAP bm{};
    chart->GetBackgroundDC()->GetCurrentBitmap()->GetBitmap(&bm);
    std::vector<unsigned char> bits(static_cast<std::size_t>(bm.bmWidthBytes * bm.bmHeight));
    chart->GetBackgroundDC()->GetCurrentBitmap()->GetBitmapBits(static_cast<DWORD>(bits.size()), bits.data());
    return bits;
}

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One 100 kN axle over a 20 m span by the step given: a reaction table row per place it stands.
std::shared_ptr<CAOMovingLoad> AxleRun(double step, bool bKeep)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Simple"), CBridge::CONFIG_ONESPAN, 20.0);
    auto lm = std::make_shared<CLoadModel>(1, CString(L"Axle"));
    lm->AddPointLoad(100.0, 0.0, 0.0);
    CMovingLoadAnalysis analysis(bridge, lm);
    analysis.SetPointsPerSpan(10);
    analysis.SetKeepBeamResults(bKeep);
    int nSteps = 0;
    return std::make_shared<CAOMovingLoad>(analysis.Run(true, nSteps, step), bridge, lm, nSteps);
}

// An ensemble of two axles over three spans whose reaction envelopes are stretched to `rows` load positions:
// at position i, support r's maximum is i + r / 8 (minimum its negative), where the models take turns in runs
// of 1000 positions. Its reaction table has a row per position and seventeen data columns.
std::shared_ptr<CAOMultiMovingLoad> EnsembleRun(int rows)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Three spans"), CBridge::CONFIG_THREESPAN, 20.0);
    auto fleet = std::make_shared<CLoadModelEnsemble>(1, CString(L"Fleet"));
    std::vector<std::shared_ptr<CLoadModel>> models;
    for (const auto& [kN, name] : {std::pair{100.0, L"Light"}, std::pair{150.0, L"Heavy"}})
    {
        models.push_back(std::make_shared<CLoadModel>(1, CString(name)));
        models.back()->AddPointLoad(kN, 0.0, 0.0);
        fleet->AddLoadModel(models.back());
    }
    CMultiMovingLoadAnalysis multi(bridge, fleet);
    multi.SetPointsPerSpan(4);
    int nSteps = 0;
    double step = 5.0;
    auto pResults = multi.Run(true, nSteps, step);
    for (unsigned r = 0; r < 4; r++)
    {
        const std::shared_ptr<CEnvelope> env = pResults->GetReactionEnvelope(r);
        for (const std::shared_ptr<CLoadModel>& model : models) env->HoldLoadModel(model);
        env->m_vMax.resize(static_cast<std::size_t>(rows), env->m_vMax.front());
        env->m_vMin.resize(static_cast<std::size_t>(rows), env->m_vMin.front());
        for (int i = 0; i < rows; i++)
        {
            const CLoadModel* model = models[static_cast<std::size_t>(i / 1000) % models.size()].get();
            const auto at = static_cast<std::size_t>(i);
            env->m_vMax[at].val = i + r / 8.0;
            env->m_vMin[at].val = -(i + r / 8.0);
            env->m_vMax[at].xLoadModel = env->m_vMin[at].xLoadModel = i / 100.0;
            env->m_vMax[at].pLM = env->m_vMin[at].pLM = model;
        }
    }
    return std::make_shared<CAOMultiMovingLoad>(pResults, bridge, fleet, multi.GetLoadModelResults(), nSteps);
}

// The text a numeric cell of the tables shows for a value.
CString Shown(double value)
{
    CGridCellNumeric cell;
    cell.SetFlags(CGridCellNumeric::Decimals | CGridCellNumeric::Negative);
    cell.SetNumber(value);
    return cell.GetText();
}

// A window of the test's own that answers a message posted to it while the work it watches goes on (a chart
// redrawn in slices, a table filled in them), and posts it again: it answers once between every two slices
// when the message loop runs between them, and notes what it sees each time.
class CAnswerProbe : public CWnd
{
public:
    std::function<bool()> busy; // whether the work goes on
    std::function<void()> seen; // called at each answer
    int answeredWhileBusy = 0;

    LRESULT OnProbe(WPARAM, LPARAM)
    {
        if (busy && busy())
        {
            ++answeredWhileBusy;
            if (seen) seen();
            PostMessage(kProbe);
        }
        return 0;
    }
    bool Create() { return CreateEx(0, nullptr, L"probe", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0) != FALSE; }
    static constexpr UINT kProbe = WM_APP + 1;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAnswerProbe, CWnd)
ON_MESSAGE(CAnswerProbe::kProbe, OnProbe)
END_MESSAGE_MAP()

class LargeResultsTest : public ::testing::Test
{
protected:
    viewtest::ViewTestApp app;

    void SetUp() override { ASSERT_TRUE(qor::test::StartApplication(app)); }
    void TearDown() override { qor::test::StopApplication(app); }

    template <class View>
    View* Open(CMultiDocTemplate* tmpl)
    {
        if (!tmpl->OpenDocumentFile(nullptr)) return nullptr;
        CMDIChildWnd* pChild = qor::test::MainFrame()->MDIGetActive();
        return pChild ? DYNAMIC_DOWNCAST(View, pChild->GetActiveView()) : nullptr;
    }

    static int MadeRows(CGridCtrl* grid)
    {
        int n = 0;
        for (int r = 0; r < grid->GetRowCount(); r++) n += grid->IsRowMade(r) ? 1 : 0;
        return n;
    }
};

} // namespace

TEST_F(LargeResultsTest, LargeTableOpensAtASmallCostARowAndReadsAsATableBuiltCellByCell)
{
    // ---- A small table: every column as wide as its widest text, measured cell by cell.
    auto small = AxleRun(1.0, false);
    CGridView* v = Open<CGridView>(app.m_pGridTemplate);
    ASSERT_TRUE(v);
    v->ShowMovingLoadEnvelopes(false, false, small);
    CGridCtrl* grid = v->GetGrid();
    const int smallRows = grid->GetRowCount();
    ASSERT_GT(smallRows, 15);
    {
        CDC* pDC = grid->GetDC();
        ASSERT_TRUE(pDC);
        // Whether the font draws its digits all alike wide (then the widths are the very ones).
        CGridCell probe;
        probe.SetGrid(grid);
        std::vector<long> digits;
        for (wchar_t d = L'0'; d <= L'9'; d++) digits.push_back(probe.GetTextExtent(CString(d), pDC).cx);
        const bool tabular = std::all_of(digits.begin(), digits.end(), [&](long cx) { return cx == digits[0]; });
        ASSERT_EQ(v->m_vTextWidths.size(), static_cast<size_t>(grid->GetColumnCount()));
        for (int col = 0; col < grid->GetColumnCount(); col++)
        {
            int widest = 0;
            for (int row = 0; row < grid->GetRowCount(); row++)
            {
                CGridCellBase* pCell = grid->GetCell(row, col);
                if (pCell && pCell->GetText()[0])
                    widest = std::max(widest, static_cast<int>(pCell->GetCellExtent(pDC).cx));
            }
            if (tabular)
                EXPECT_EQ(v->m_vTextWidths[static_cast<size_t>(col)], widest) << col;
            else
                EXPECT_GE(v->m_vTextWidths[static_cast<size_t>(col)], widest) << col;
        }
        grid->ReleaseDC(pDC);
    }
    // The texts are those of numbers in the locale's format, the captions and row numbers as always.
    const std::shared_ptr<CEnvelope> first = small->GetResults()->GetReactionEnvelope(0);
    EXPECT_EQ(grid->GetItemText(0, 1), L"x Load Model");
    EXPECT_EQ(grid->GetItemText(0, 2), L"Reaction 1 - Max");
    EXPECT_EQ(grid->GetItemText(3, 0), L"3");
    EXPECT_EQ(grid->GetItemText(3, 1), Shown(first->m_vMax[2].xLoadModel));
    EXPECT_EQ(grid->GetItemText(3, 2), Shown(first->m_vMax[2].val));
    EXPECT_EQ(grid->GetItemText(3, 3), Shown(first->m_vMin[2].val));
    // A CSV file of the small table: every cell as shown.
    const std::string path = qor::test::TempFilePath("small-reactions.csv");
    ASSERT_TRUE(grid->Save(CString::FromUtf8(path)));
    {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::getline(in, line);
        EXPECT_EQ(line, "sep=;\r");
        std::getline(in, line);
        EXPECT_EQ(line, ";x Load Model;Reaction 1 - Max;Reaction 1 - Min;Reaction 2 - Max;Reaction 2 - Min\r");
        std::getline(in, line);
        EXPECT_EQ(CString::FromUtf8(line), L"1;" + Shown(first->m_vMax[0].xLoadModel) + L";" +
                                               Shown(first->m_vMax[0].val) + L";" + Shown(first->m_vMin[0].val) + L";" +
                                               grid->GetItemText(1, 4) + L";" + grid->GetItemText(1, 5) + L"\r");
    }

    // ---- A large table: its cost a row, the rows it makes, what it shows.
    auto large = AxleRun(0.001, false);
    const int nLarge = static_cast<int>(large->GetResults()->GetReactionEnvelope(0)->m_vMax.size());
    ASSERT_GT(nLarge, 20000);
    CGridView* w = Open<CGridView>(app.m_pGridTemplate);
    ASSERT_TRUE(w);
    qor::test::Pump();
    const Clock::time_point start = Clock::now();
    w->ShowMovingLoadEnvelopes(false, false, large);
    w->GetParentFrame()->UpdateWindow();
    qor::test::Pump();
    const double openMs = MsSince(start);

    CGridCtrl* big = w->GetGrid();
    ASSERT_EQ(big->GetRowCount(), nLarge + 1);
    const CCellRange shown = big->GetVisibleNonFixedCellRange();
    EXPECT_LE(MadeRows(big), shown.GetRowSpan() + 2);

    // The last row reads as the result has it; the row numbers' column fits the widest number
    // of all rows before any of them is shown.
    const std::shared_ptr<CEnvelope> env = large->GetResults()->GetReactionEnvelope(0);
    CDC* pDC = big->GetDC();
    ASSERT_TRUE(pDC);
    EXPECT_EQ(w->m_vTextWidths[0], big->GetCell(nLarge, 0)->GetCellExtent(pDC).cx);
    big->ReleaseDC(pDC);
    EXPECT_EQ(big->GetItemText(nLarge, 0), CString(std::to_wstring(nLarge).c_str()));
    EXPECT_EQ(big->GetItemText(nLarge, 2), Shown(env->m_vMax.back().val));
    big->EnsureVisible(nLarge, 1);
    qor::test::Pump();
    EXPECT_LE(MadeRows(big), 2 * shown.GetRowSpan() + 4);

    // Saving writes every row; the rows made only for it go again.
    const int madeBefore = MadeRows(big);
    const std::string bigPath = qor::test::TempFilePath("large-reactions.csv");
    ASSERT_TRUE(big->Save(CString::FromUtf8(bigPath)));
    EXPECT_EQ(MadeRows(big), madeBefore);
    std::ifstream in(bigPath, std::ios::binary);
    int lines = 0;
    for (std::string line; std::getline(in, line);) lines++;
    EXPECT_EQ(lines, nLarge + 2);

    // What a table built cell by cell pays for every row: its cells made and filled. Here the
    // whole table opened for a small part of that (a row costs what writing its numbers down does).
    const int sample = 1000;
    const Clock::time_point making = Clock::now();
    for (int r = nLarge / 2; r < nLarge / 2 + sample; r++) ASSERT_TRUE(big->GetCell(r, 1));
    const double madeRowMs = MsSince(making) / sample;
    EXPECT_LT(openMs, 0.3 * madeRowMs * nLarge) << openMs << " ms to open, " << madeRowMs << " ms a row made";
}

// A copy and a save of a table too large to write on the window thread give the bytes that the
// texts of its cells have always given, in locales of every kind: ties and the largest and smallest
// numbers, grouping, negative forms (a minus the texts do not use too), and fields to be quoted.
TEST_F(LargeResultsTest, CopiesAndSavesOfALargeTableGiveTheBytesOfItsCellTextsInEveryLocale)
{
    auto large = AxleRun(0.001, false);
    CGridView* w = Open<CGridView>(app.m_pGridTemplate);
    ASSERT_TRUE(w);
    w->ShowMovingLoadEnvelopes(false, false, large);
    CGridCtrl* grid = w->GetGrid();
    ASSERT_GE(static_cast<long long>(grid->GetRowCount()) * grid->GetColumnCount(), 100000);
    // The first rows hold numbers and texts of every kind besides the results.
    CTableCells& cells = w->m_Cells;
    const std::vector<double> numbers = {0.125,         -0.125, 2.675,        -2.675,       1.005,
                                         -0.004,        -0.005, 0.0009765625, -1234567.891, 123456789012345678.0,
                                         1e300,         -1e300, DBL_MAX,      -DBL_MAX,     DBL_TRUE_MIN,
                                         -DBL_TRUE_MIN, -0.0,   NAN,          999.995,      -999999.9999999};
    for (std::size_t i = 0; i < numbers.size(); i++)
        cells.SetNumber(1 + static_cast<int>(i / 5), 1 + static_cast<int>(i % 5), numbers[i]);
    const std::vector<CString> texts = {L"n/a", L"a;b", L"say \"so\"", L"two\nlines", L"\u00e9t\u00e9 \u2212"};
    for (std::size_t i = 0; i < texts.size(); i++) cells.SetText(6, 1 + static_cast<int>(i), texts[i]);
    cells.SetHeading(7, 0, L"Row; \"seven\"");

    std::vector<qor::gui::LocaleProfile> profiles(4);
    profiles[1].decimal = L";"; // a separator in every number, a quote in the large ones
    profiles[1].thousand = L"\"";
    profiles[1].negativeNumber = 0;
    profiles[2].negativeSign = L"\u2212"; // the numeric cells' own rule decides what negatives show
    profiles[2].negativeNumber = 3;
    profiles[3].thousand = L"\u202f";
    profiles[3].grouping = L"3;2;0";
    profiles[3].digits = 0;
    profiles[3].leadingZero = 0;
    struct Written
    {
        std::string copy, file;
    };
    auto write = [&] {
        std::vector<Written> all;
        for (const qor::gui::LocaleProfile& profile : profiles)
        {
            qor::gui::SetLocaleProfile(profile);
            grid->SelectAllCells();
            Written written;
            if (COleDataSource* source = grid->CopyTextFromGrid())
            {
                written.copy = static_cast<const char*>(::GlobalLock(source->GetCachedData(CF_TEXT)));
                delete source;
            }
            const std::string path = qor::test::TempFilePath("large-locale.csv");
            EXPECT_TRUE(grid->Save(CString::FromUtf8(path)));
            std::ifstream in(path, std::ios::binary);
            written.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            std::remove(path.c_str());
            all.push_back(written);
        }
        qor::gui::ResetLocaleProfile();
        return all;
    };
    const std::vector<Written> fast = write();
    // The same table read text by text, as copies and saves were made before.
    grid->SetTextReader([&cells](int nRow, int nCol) { return cells.CellText(nRow, nCol); });
    const std::vector<Written> read = write();
    for (std::size_t p = 0; p < profiles.size(); p++)
    {
        ASSERT_GT(read[p].copy.size(), 100000u) << p;
        EXPECT_TRUE(fast[p].copy == read[p].copy) << p << ": " << fast[p].copy.substr(0, 400) << "\n--\n"
                                                  << read[p].copy.substr(0, 400);
        EXPECT_TRUE(fast[p].file == read[p].file) << p << ": " << fast[p].file.substr(0, 400) << "\n--\n"
                                                  << read[p].file.substr(0, 400);
    }
    // By hand, what the quotes and the minus do.
    EXPECT_NE(read[1].file.find(";\"0;13\";\"(0;13)\";"), std::string::npos);
    EXPECT_NE(read[1].file.find("\"(1\"\"234\"\"567;89)\""), std::string::npos);
    EXPECT_NE(read[0].file.find("\"Row; \"\"seven\"\"\";"), std::string::npos);
    EXPECT_NE(read[0].file.find(";\"two\nlines\";"), std::string::npos);
}

// An ensemble's reaction table of 150,000 positions (2.5 million cells) opens with its first rows and fills
// the rest in slices from the message loop, never holding the window for a quarter of a second: its rows
// come as they are filled, a copy of those on show reads what they show, whole columns bring in the rest,
// and a window closed while its table fills stops the filling.
TEST_F(LargeResultsTest, AnEnsemblesLargeReactionTableFillsInSlicesWithoutHoldingTheWindow)
{
    const int nRows = 150000;
    auto run = EnsembleRun(nRows);
    const std::shared_ptr<CEnvelope> last = run->GetResults()->GetReactionEnvelope(3);
    CGridView* v = Open<CGridView>(app.m_pGridTemplate);
    ASSERT_TRUE(v);
    qor::test::Pump();

    // Opened and filled with nothing else on the window thread: it answers meanwhile, between slices.
    CAnswerProbe probe;
    ASSERT_TRUE(probe.Create());
    std::vector<int> rowsSeen; // the rows filled at each answer
    probe.busy = [&] { return v->IsDrawing(); };
    probe.seen = [&] { rowsSeen.push_back(v->GetGrid()->GetRowCount() - 1); };
    qor::test::PauseMeter meter;
    const Clock::time_point opened = Clock::now();
    v->ShowMultiMovingLoadEnvelopes(false, false, run);
    ASSERT_TRUE(v->IsDrawing());
    probe.PostMessage(CAnswerProbe::kProbe);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !v->IsDrawing(); }, 120000));
    const double fillMs = std::chrono::duration<double, std::milli>(Clock::now() - opened).count();
    EXPECT_LT(meter.LongestMs(), kQuarterSecond);
    // In slices, however fast the machine: no slice fills a large part of the rows (in one turn, one filled
    // them all).
    ASSERT_GE(rowsSeen.size(), 3u);
    rowsSeen.push_back(nRows);
    int mostInASlice = rowsSeen.front();
    for (std::size_t i = 1; i < rowsSeen.size(); i++)
        mostInASlice = std::max(mostInASlice, rowsSeen[i] - rowsSeen[i - 1]);
    EXPECT_LE(mostInASlice, nRows / 4);
    std::printf("%d rows filled in %.0f ms in %zu slices (at most %d rows), the window held at most %.0f ms\n", nRows,
                fillMs, rowsSeen.size(), mostInASlice, meter.LongestMs());
    probe.busy = nullptr;

    // Again, looked at while it fills: it opens with its captions, then the first rows come, each whole.
    v->ShowMultiMovingLoadEnvelopes(false, false, run);
    CGridCtrl* grid = v->GetGrid();
    ASSERT_TRUE(v->IsDrawing());
    EXPECT_EQ(grid->GetRowCount(), 1);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return grid->GetRowCount() > 1; }));
    ASSERT_TRUE(v->IsDrawing());
    const int first = grid->GetRowCount() - 1;
    EXPECT_GT(first, 0);
    EXPECT_LT(first, nRows);
    EXPECT_EQ(grid->GetColumnCount(), 18);
    EXPECT_EQ(grid->GetItemText(0, 17), L"Critical LM");
    EXPECT_EQ(grid->GetItemText(first, 1), L"Point " + CString(std::to_wstring(first).c_str()));
    EXPECT_EQ(grid->GetItemText(first, 16), Shown(-(first - 1 + 3 / 8.0)));
    EXPECT_EQ(grid->GetItemText(first, 17), last->m_vMin[static_cast<std::size_t>(first - 1)].GetLoadModelName());
    // A copy of rows on show gives what they show, the filling going on after it.
    const int copiedRows = std::min(first, 100);
    grid->SetSelectedRange(1, 1, copiedRows, 17);
    COleDataSource* source = grid->CopyTextFromGrid();
    ASSERT_TRUE(source);
    const std::string copied = static_cast<const char*>(::GlobalLock(source->GetCachedData(CF_TEXT)));
    delete source;
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), copiedRows - 1);
    EXPECT_EQ(copied.substr(copied.rfind('\n') + 1, 6), "Point ");
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !v->IsDrawing(); }, 120000));

    // Whole, it reads as a table built in one go: every row, the load models' names, the row numbers'
    // column as wide as the last number, the selection as it was.
    ASSERT_EQ(grid->GetRowCount(), nRows + 1);
    EXPECT_EQ(grid->GetItemText(nRows, 0), CString(std::to_wstring(nRows).c_str()));
    EXPECT_EQ(grid->GetItemText(nRows, 2), Shown(nRows - 1));
    EXPECT_EQ(grid->GetItemText(nRows, 3), last->m_vMax.back().GetLoadModelName());
    EXPECT_EQ(grid->GetItemText(1000, 3), L"Light");
    EXPECT_EQ(grid->GetItemText(1001, 3), L"Heavy");
    EXPECT_EQ(grid->GetSelectedCellRange().GetMaxRow(), copiedRows);
    CDC* pDC = grid->GetDC();
    ASSERT_TRUE(pDC);
    EXPECT_EQ(v->m_vTextWidths[0], grid->GetCell(nRows, 0)->GetCellExtent(pDC).cx);
    grid->ReleaseDC(pDC);

    // Select All and a save while the table fills take the whole table.
    v->ShowMultiMovingLoadEnvelopes(false, false, run);
    ASSERT_TRUE(v->IsDrawing());
    grid->SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    EXPECT_FALSE(v->IsDrawing());
    EXPECT_EQ(grid->GetSelectedCellRange().GetMaxRow(), nRows);
    v->ShowMultiMovingLoadEnvelopes(false, false, run);
    ASSERT_TRUE(v->IsDrawing());
    const std::string path = qor::test::TempFilePath("ensemble-reactions.csv");
    ASSERT_TRUE(grid->Save(CString::FromUtf8(path)));
    {
        std::ifstream in(path, std::ios::binary);
        int lines = 0;
        for (std::string line; std::getline(in, line);) lines++;
        EXPECT_EQ(lines, nRows + 2);
    }
    std::remove(path.c_str());

    // Closed while it fills: the filling stops with the window (its results are let go).
    const std::weak_ptr<CEnvelopeResults> results = run->GetResults();
    v->ShowMultiMovingLoadEnvelopes(false, false, run);
    ASSERT_TRUE(v->IsDrawing());
    run.reset();
    v->GetParentFrame()->SendMessage(WM_CLOSE);
    qor::test::Pump();
    qor::test::DeleteDeferred();
    EXPECT_TRUE(results.expired());
    EXPECT_EQ(qor::test::MainFrame()->MDIGetActive(), nullptr);
}

// The preview of a table of a million rows, some twenty thousand pages: the page count known and the first page
// shown as soon as the table's printing has begun, only the pages shown drawn, the window answering throughout.
TEST_F(LargeResultsTest, ThePreviewOfAMillionRowTableDrawsOnlyThePagesItShows)
{
    const int nRows = 1000000;
    auto run = EnsembleRun(nRows);
    CGridView* v = Open<CGridView>(app.m_pGridTemplate);
    ASSERT_TRUE(v);
    v->ShowMultiMovingLoadEnvelopes(false, false, run);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !v->IsDrawing(); }, 600000));
    auto findPreview = [] {
        for (CWnd* c = qor::test::MainFrame()->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT))
            if (auto* preview = DYNAMIC_DOWNCAST(CPrintPreviewWnd, c)) return preview;
        return static_cast<CPrintPreviewWnd*>(nullptr);
    };

    qor::test::PauseMeter meter;
    const Clock::time_point asked = Clock::now();
    v->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    const double beginMs = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
    CPrintPreviewWnd* preview = findPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_GT(preview->GetPageCount(), nRows / 100);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return preview->IsPageRendered(1); }, 60000));
    const double firstMs = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
    EXPECT_EQ(preview->GetPagesDrawn(), 1);
    EXPECT_LT(beginMs, kQuarterSecond) << "the table's printing begun";
    EXPECT_LT(meter.LongestMs(), kQuarterSecond);
    std::printf("%d rows, %d pages: printing begun in %.0f ms, page 1 shown after %.0f ms, the window held at most "
                "%.0f ms\n",
                nRows, preview->GetPageCount(), beginMs, firstMs, meter.LongestMs());

    // Next Page draws that page alone; the window answers.
    qor::test::Click(preview->GetDlgItem(AFX_ID_PREVIEW_NEXT), CPoint(5, 5));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return preview->IsPageRendered(2); }, 60000));
    EXPECT_EQ(preview->GetPagesDrawn(), 2);
    EXPECT_LT(meter.LongestMs(), kQuarterSecond);
    preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    qor::test::Pump();
    EXPECT_EQ(findPreview(), nullptr);
}

TEST_F(LargeResultsTest, ShowAllPlotHoldsEachCurvesPointsAndRedrawsInSlices)
{
    // Enough curves that a redraw takes several slices also on a fast machine.
    auto run = AxleRun(0.002, true);
    const std::size_t positions = run->GetResults()->GetKeptPositions().GetCount();
    ASSERT_GT(positions, 10000u);
    CPlotView* v = Open<CPlotView>(app.m_pPlotTemplate);
    ASSERT_TRUE(v);
    v->CreateCharts(2, 1);
    v->ShowMovingLoadEnvelopes(true, true, run);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !v->IsDrawing(); }, 300000));

    // Every position's curve on each chart, read where the run keeps them.
    for (unsigned i = 0; i < 2; i++)
    {
        CChartLineFamilySerie* lines = viewtest::LinesOf(v, i);
        ASSERT_TRUE(lines);
        EXPECT_EQ(lines->GetShownCount(), positions) << i;
        EXPECT_EQ(v->GetChart(i)->GetSeriesCount(), i == 0 ? 4u : 5u) << i; // no hogging on one span
    }

    // A full redraw of a chart of so many curves comes in slices: the call returns with the curves
    // still to draw, the window answers between the slices, and the picture ends as drawn in one go.
    CChartCtrl* moments = v->GetChart(0);
    CAnswerProbe probe;
    ASSERT_TRUE(probe.Create());
    probe.busy = [moments] { return moments->IsRedrawing(); };
    moments->RefreshCtrl();
    ASSERT_TRUE(moments->IsRedrawing());
    EXPECT_TRUE(v->IsDrawing());
    probe.PostMessage(CAnswerProbe::kProbe);
    int turns = 0;
    ASSERT_TRUE(qor::test::PumpUntil(
        [&] {
            turns++;
            return !moments->IsRedrawing();
        },
        300000));
    EXPECT_GE(turns, 3);
    EXPECT_GE(probe.answeredWhileBusy, 1) << "the window answers between the slices of a redraw";

    CRect rect;
    moments->GetClientRect(&rect);
    std::vector<COLORREF> sliced;
    for (int y = 0; y < rect.Height(); y += 3)
        for (int x = 0; x < rect.Width(); x += 3) sliced.push_back(moments->GetBackgroundDC()->GetPixel(x, y));
    moments->RefreshCtrl();
    v->FinishDrawing();
    EXPECT_FALSE(moments->IsRedrawing());
    std::vector<COLORREF> once;
    for (int y = 0; y < rect.Height(); y += 3)
        for (int x = 0; x < rect.Width(); x += 3) once.push_back(moments->GetBackgroundDC()->GetPixel(x, y));
    EXPECT_EQ(sliced, once);

    // A series of 1 001 points keeps them all, in room for exactly them.
    std::vector<double> x(1001), y(1001);
    for (int k = 0; k < 1001; k++)
    {
        x[static_cast<size_t>(k)] = 0.02 * k;
        y[static_cast<size_t>(k)] = k;
    }
    CPlotView* p = Open<CPlotView>(app.m_pPlotTemplate);
    ASSERT_TRUE(p);
    p->CreateCharts(1, 1);
    p->AddSeries(0, x, y, RGB(0, 0, 255), false, 1, false, false);
    auto* pLine = dynamic_cast<CChartLineSerie*>(p->GetChart(0)->GetSeries().begin()->second);
    ASSERT_TRUE(pLine);
    ASSERT_EQ(pLine->GetPointsCount(), 1001u);
    EXPECT_EQ(pLine->GetPointsCapacity(), 1001u);
    EXPECT_EQ(pLine->GetPoint(1000).X, 20.0);
    EXPECT_EQ(pLine->GetPoint(1000).Y, 1000.0);
}

TEST_F(LargeResultsTest, ShowAllDrawsEveryPositionAsASeriesACurveWouldWithoutACopyOfTheCurves)
{
    // Two 10 m spans of 60 points by 0.05 m: about 400 positions of 126 points.
    auto bridge = std::make_shared<CBridge>(1, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 10.0);
    auto lm = std::make_shared<CLoadModel>(1, CString(L"Axle"));
    lm->AddPointLoad(100.0, 0.0, 0.0);
    CMovingLoadAnalysis analysis(bridge, lm);
    analysis.SetPointsPerSpan(60);
    int nSteps = 0;
    double step = 0.05;
    auto run = std::make_shared<CAOMovingLoad>(analysis.Run(true, nSteps, step), bridge, lm, nSteps);
    const CKeptPositions& kept = run->GetResults()->GetKeptPositions();
    ASSERT_GT(kept.GetCount(), 400u);

    CPlotView* v = Open<CPlotView>(app.m_pPlotTemplate);
    ASSERT_TRUE(v);
    v->CreateCharts(2, 1);
    qor::test::Pump();
    const double heap = LiveHeapBytes();
    v->ShowMovingLoadEnvelopes(true, true, run);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !v->IsDrawing(); }, 300000));
    // A series a curve holds its points again, three times the bytes the run keeps them in.
    const double added = LiveHeapBytes() - heap;
    EXPECT_LT(added, 0.5 * static_cast<double>(kept.GetBytes()))
        << added << " bytes added, " << kept.GetBytes() << " kept";

    // The same charts with a series for each curve, as a drawing in one go gives them, on charts of
    // the same size.
    CPlotView* w = Open<CPlotView>(app.m_pPlotTemplate);
    ASSERT_TRUE(w);
    w->CreateCharts(2, 1);
    for (unsigned i = 0; i < 2; i++)
    {
        CRect rect;
        v->GetChart(i)->GetClientRect(&rect);
        w->GetChart(i)->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    }
    const COLORREF light = CSettings::GetInstance()->Plot.Colours.CLR_LIGHTLINE;
    const CPlotView::EAxisTitle titles[2] = {CPlotView::AT_BMENV, CPlotView::AT_SFENV};
    std::vector<double> x, y;
    for (unsigned i = 0; i < 2; i++)
    {
        const CString xTitle = CPlotView::AxisTitle(CPlotView::AT_BEAMLOCATION);
        w->DrawBeamLine(i, bridge);
        w->SetAxisTitles(i, xTitle, CPlotView::AxisTitle(titles[i]));
        for (std::size_t k = 0; k < kept.GetCount(); k++)
        {
            kept.GetLine(k, i == 0 ? BRT_MOMENT : BRT_SHEAR, x, y);
            w->AddSeries(i, x, y, light, false, 1, i == 0, false);
        }
        w->DrawBeamLine(i, bridge);
        w->SetAxisTitles(i, xTitle, CPlotView::AxisTitle(titles[i]));
        std::shared_ptr<CEnvelope> env =
            i == 0 ? run->GetResults()->GetBMEnvelope() : run->GetResults()->GetSFEnvelope();
        for (bool bMax : {true, false})
        {
            env->GetLocations(x, bMax);
            env->GetValues(y, bMax);
            w->AddSeries(i, x, y,
                         bMax ? CSettings::GetInstance()->Plot.Colours.CLR_LINEMAX
                              : CSettings::GetInstance()->Plot.Colours.CLR_LINEMIN,
                         false, 2, i == 0, true);
        }
    }
    for (unsigned i = 0; i < 2; i++) EXPECT_TRUE(Redrawn(v, i) == Redrawn(w, i)) << i;
}
