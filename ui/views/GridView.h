// CGridView: the result view that shows an analysis result as a read-only table in a grid
// control below the view's title; the tables of every kind of result and the enhanced grid of
// governing critical ratios. The table prints, copies and saves through the grid.
#pragma once

#include "ui/views/QORViewBase.h"

#include "controls/grid/GridCtrl.h"
#include "ui/views/TableCells.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CBridgeSet;
struct RatioLoadEffect;
class CCriticalRatioEnsemble;
class CEnvelope;

class CGridView : public CQORViewBase
{
    DECLARE_DYNCREATE(CGridView)
public:
    CGridView();
    ~CGridView() override;

    // The table of governing critical ratios of every reference set of a collection, side by
    // side (descriptor: CAOEnhanced).
    void ShowEnhancedCriticalRatios(std::shared_ptr<CAnalysisOutput> pAO);

    CGridCtrl* GetGrid() const { return m_pGrid; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    void DrawSinglePositionBMSF(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawSinglePositionReactions(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawMovingLoadBMSF(std::shared_ptr<CEnvelopeResults> pResults, bool bShowAll) override;
    void DrawMovingLoadReactions(std::shared_ptr<CEnvelopeResults> pResults) override;
    void DrawMultiMovingLoadBMSF(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll) override;
    void DrawMultiMovingLoadReactions(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll) override;
    void DrawReferenceValuesBMSF(std::shared_ptr<CCriticalValueEnsemble> pValues) override;
    void DrawReferenceValuesReactions(std::shared_ptr<CCriticalValueEnsemble> pValues) override;
    void DrawReferenceSetValuesBMSF(std::shared_ptr<CReferenceSet> pRefSet) override;
    void DrawReferenceSetValuesReactions(std::shared_ptr<CReferenceSet> pRefSet) override;
    void DrawCompareEnvelopesBMSF(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawCompareEnvelopesReactions(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawCriticalRatiosBMSF(std::shared_ptr<CAnalysisOutput> pAO) override;
    void DrawCriticalRatiosReactions(std::shared_ptr<CAnalysisOutput> pAO) override;

    // Places the grid below the title, over the rest of the client area.
    void RecalcLayout() override;

    // ---- A large table filled in slices ------------------------------------------------
    // A table of many rows (a reaction row per load position) opens with its captions and gets its
    // rows in slices of about kSliceMs (and of no more than kCellsAtOnce cells) from the view's own
    // posted message, the rows appearing as they are filled: the windows paint, switch tabs and
    // take input meanwhile, and the status bar counts the rows. A row on show holds its data; whole
    // columns (Select All, a column selected, Save Grid, printing) bring in the rest first.
    //
    // Whether rows are still to come.
    bool IsDrawing() const { return static_cast<bool>(m_fnFillRows); }
    // Fills rows for a slice of time, kCellsAtOnce cells at most; true once the table is whole.
    bool DrawSlice();
    // Fills the rest now, in slices between which the windows paint (input waits meanwhile).
    void FinishDrawing();

protected:
    // ---- The frame every table is built in ---------------------------------------------
    // Creates (or empties) the grid for nRows data rows and nCols data columns below one
    // caption row and one row-number column. With bLazy the table is kept in m_Cells and the
    // grid makes a row's cells when it first shows (copies, prints, saves) them; the helpers
    // below write to whichever holds the table.
    void SetUpGrid(int nRows, int nCols, bool bLazy = true);
    // Every data cell becomes a numeric cell (centred, decimals and negatives allowed).
    void MakeNumericCells();
    // The row-number column sized to its texts; the data columns share the rest.
    void AutoSizeFirstColumn();
    // A centred caption or row number in a fixed cell.
    void SetHeading(int nRow, int nCol, const CString& text);
    // Captions of data columns 1.. from a list.
    void SetCaptions(const std::vector<CString>& captions);
    // Row numbers 1.. in column 0 of every data row.
    void SetRowNumbers();
    // A value in a data cell; nothing outside the table.
    void SetNumber(int nRow, int nCol, double value);
    // A critical value, or a ratio; a ratio against a reference too small to divide by reads
    // "n/a" (its stored 0 is no rating).
    void SetEntry(int nRow, int nCol, double value) { SetNumber(nRow, nCol, value); }
    void SetEntry(int nRow, int nCol, const RatioLoadEffect& ratio);
    // A left-aligned text (a load model's name, a point label) in a data cell.
    void SetTextCell(int nRow, int nCol, const CString& text);
    // The text cell prefix + number ("Point 12"), kept as its number in a table of many rows.
    void SetLabelCell(int nRow, int nCol, const CString& prefix, int number);
    // A numeric data cell at (nRow, nCol), as MakeNumericCells makes them.
    void MakeNumericCell(int nRow, int nCol);
    // Writes data rows nFirstRow..nEndRow-1 of the table.
    using RowFiller = std::function<void(int nFirstRow, int nEndRow)>;
    // The data rows through fill, in order, after SetUpGrid and the captions: a table of up to
    // kCellsAtOnce cells at once, a larger one in slices (see DrawSlice). fill keeps what it reads.
    void FillRows(RowFiller fill);
    // After a table is built: its rows on show, every column's width for its widest text, then fitted.
    void FinishTable();
    // Every column's width for its widest text, then fitted.
    void MeasureColumns();
    // The columns fill the grid's width while their texts fit; a table wider than the window
    // keeps its columns as wide as their texts and scrolls instead of cutting captions.
    void FitColumns();
    // Calls FinishTable when a drawing operation ends, whichever way it returns.
    struct CFinishTable
    {
        CGridView* pView;
        ~CFinishTable() { pView->FinishTable(); }
    };

    // ---- Helpers shared by several tables ----------------------------------------------
    // From grid row row0: x, BM max, BM min, SF max, SF min of each point, with the load
    // model's position after each value when bLoadModelPositions.
    void FillEnvelopeBMSF(std::shared_ptr<CEnvelopeResults> pRes, int row0, int col0, bool bLoadModelPositions);
    // What fills, from grid row row0 and column col0, the load-model position, then max and min of every
    // support, a row per point of the reaction envelopes.
    RowFiller EnvelopeReactionRows(std::shared_ptr<CEnvelopeResults> pRes, int row0, int col0);
    // The "Reaction %d - Max" / "Reaction %d - Min" captions of support s (from 1).
    static CString ReactionMaxCaption(int s);
    static CString ReactionMinCaption(int s);
    // Supports of the beam of an envelope result (0 without one).
    static int SupportCount(const std::shared_ptr<CEnvelopeResults>& pRes);
    // Points of reaction envelope 0's maximum curve (0 without reaction envelopes).
    static int ReactionPointCount(const std::shared_ptr<CEnvelopeResults>& pRes);
    // A row per bridge of a set: span and length in data columns 1 and 2, then what fillResults writes for
    // the first nResults bridges (the bridges a shorter result leaves out keep their other cells empty).
    void FillBridgeRows(const CBridgeSet& set, size_t nResults,
                        const std::function<void(int nRow, unsigned nBridge)>& fillResults);
    // The moment and shear table and the reaction table of a bridge set's critical values or ratios, a row
    // per bridge; value reads the number shown from a critical entry.
    template <class Ensemble, class Value>
    void DrawBridgeBMSF(const std::shared_ptr<Ensemble>& pEnsemble, Value value);
    template <class Ensemble, class Value>
    void DrawBridgeReactions(const std::shared_ptr<Ensemble>& pEnsemble, Value value);

    // ---- Enhanced grid -----------------------------------------------------------------
    void AddEnhancedColumns(int& nextCol, std::shared_ptr<CCriticalRatioEnsemble> pEnsemble);
    // One group of ratio columns: captions and one vector of values per column, and per column the
    // entries that are no rating ("n/a").
    void AddRatioColumns(int col, const std::vector<CString>& captions, const std::vector<std::vector<double>>& values,
                         const std::vector<std::vector<bool>>& undefined);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    LRESULT OnFillPending(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    // ---- Filling in slices -------------------------------------------------------------
    // A table of up to this many data cells is filled at once (a few milliseconds).
    static constexpr std::int64_t kCellsAtOnce = 500000;
    // Rows are filled in parts of about this many cells, a slice taking parts for about kSliceMs.
    static constexpr int kCellsAPart = 20000;
    static constexpr DWORD kSliceMs = 20;
    // Posts the next slice (or fills the rest at once when it cannot be posted).
    void PostFillSlice();
    // "Filling the table: n of N rows" in the status bar; bDone: Ready again.
    void ShowFillProgress(bool bDone);
    RowFiller m_fnFillRows; // what fills the rows still to come; empty once the table is whole
    int m_nRowsFilled = 0;  // rows of the table that hold their data (the fixed rows included)
    bool m_bFillPosted = false;
    CString m_sStatusShown;

public:
    CGridCtrl* m_pGrid = nullptr;

    std::vector<CString> m_saSinglePosBMSF;
    std::vector<CString> m_saMovingLoadBMSF;
    std::vector<CString> m_saMovingLoadReactions;
    std::vector<CString> m_saMultiMovingLoadBMSF;
    std::vector<CString> m_saMultiMovingLoadReactions;
    std::vector<CString> m_saCompareBMSF;
    std::vector<CString> m_saCompareReactions;
    std::vector<CString> m_saRefValuesBMSF;
    std::vector<CString> m_saBridgeReactions;
    std::vector<CString> m_saBridgeBMSF;
    std::vector<CString> m_saBridgeAxis;
    std::vector<CString> m_saEnhancedSingleSpan;
    std::vector<CString> m_saEnhancedMultiSpan;

    // Widths of the columns for their widest texts, measured once per table.
    std::vector<int> m_vTextWidths;
    // The table on show when its rows are made as they are shown.
    CTableCells m_Cells;
    bool m_bLazy = false;

    int m_nFixedCols = 1;
    int m_nFixedRows = 1;
    int m_nCols = 0;
    int m_nRows = 0;
};
