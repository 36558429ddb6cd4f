// The common base of the result views (plots and grids): the descriptor of the run on show,
// the title painted above the content, the seven Show operations that hand a result to the
// drawing operations of the concrete view, and printed pages with a header and a footer.
#pragma once

#include "platform/gui/Afx.h"

#include <memory>

class CAnalysisOutput;
class CCriticalValueEnsemble;
class CEnvelopeResults;
class CReferenceSet;

class CQORViewBase : public CView
{
    DECLARE_DYNAMIC(CQORViewBase)
public:
    // The view types the child frame tells apart (Save Grid only for grids).
    enum : int
    {
        VIEWTYPE_PLOT = 0,
        VIEWTYPE_GRID = 1,
    };
    // Which table of a pair is on show (m_nTableKind).
    enum : int
    {
        TABLE_BMSF = 0,
        TABLE_REACTIONS = 1,
    };

    // Gaps around and between the content, in pixels (a copy of the plot settings).
    struct SGap
    {
        int TOP = 10;
        int BTM = 10;
        int LEFT = 10;
        int RIGHT = 10;
        int BETWN = 5;
    };

    CQORViewBase();
    ~CQORViewBase() override;

    // Put one result into the view. bBMSF true: bending moment and shear force; false: the
    // reactions. bShowAll asks a plot for every load position or load model as well.
    void ShowSinglePosition(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO);
    void ShowMovingLoadEnvelopes(bool bShowAll, bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO);
    void ShowMultiMovingLoadEnvelopes(bool bShowAll, bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO);
    void ShowReferenceValues(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO);
    void ShowReferenceSetValues(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO);
    void ShowCompareEnvelopes(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO);
    void ShowCriticalRatios(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO);

    std::shared_ptr<CAnalysisOutput> GetAnalysisOutput() const { return m_pAnalysisOutput; }
    const CString& GetTitle() const { return m_sTitle; }
    int GetTableKind() const { return m_nTableKind; }
    int GetViewType() const { return m_nViewType; }
    int GetContentTop() const { return m_nContentTop; }
    const SGap& GetGap() const { return m_Gap; }

    void OnDraw(CDC* pDC) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // The bands of a printed page; pInfo->m_rectDraw holds the band.
    virtual void PrintPageHeader(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintPageFooter(CDC* pDC, CPrintInfo* pInfo);

    // What each concrete view makes of each kind of result.
    virtual void DrawSinglePositionBMSF(std::shared_ptr<CAnalysisOutput> pAO) = 0;
    virtual void DrawSinglePositionReactions(std::shared_ptr<CAnalysisOutput> pAO) = 0;
    virtual void DrawMovingLoadBMSF(std::shared_ptr<CEnvelopeResults> pResults, bool bShowAll) = 0;
    virtual void DrawMovingLoadReactions(std::shared_ptr<CEnvelopeResults> pResults) = 0;
    virtual void DrawMultiMovingLoadBMSF(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll) = 0;
    virtual void DrawMultiMovingLoadReactions(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll) = 0;
    virtual void DrawReferenceValuesBMSF(std::shared_ptr<CCriticalValueEnsemble> pValues) = 0;
    virtual void DrawReferenceValuesReactions(std::shared_ptr<CCriticalValueEnsemble> pValues) = 0;
    virtual void DrawReferenceSetValuesBMSF(std::shared_ptr<CReferenceSet> pRefSet) = 0;
    virtual void DrawReferenceSetValuesReactions(std::shared_ptr<CReferenceSet> pRefSet) = 0;
    virtual void DrawCompareEnvelopesBMSF(std::shared_ptr<CAnalysisOutput> pAO) = 0;
    virtual void DrawCompareEnvelopesReactions(std::shared_ptr<CAnalysisOutput> pAO) = 0;
    virtual void DrawCriticalRatiosBMSF(std::shared_ptr<CAnalysisOutput> pAO) = 0;
    virtual void DrawCriticalRatiosReactions(std::shared_ptr<CAnalysisOutput> pAO) = 0;

    // Sets m_nContentTop below the title; subclasses call it first, then place their children.
    virtual void RecalcLayout();

protected:
    // Stores the descriptor and table kind and makes the title from its prefix and the run.
    void BeginShow(const wchar_t* prefix, bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO);
    // Makes a bold copy of a font (the title on screen, the printed bands).
    static BOOL CreateBoldFont(CFont& bold, CFont& from);

    void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

protected:
    int m_nTableKind = TABLE_BMSF;
    std::shared_ptr<CAnalysisOutput> m_pAnalysisOutput;
    CString m_sTitle;
    int m_nContentTop = 0;
    SGap m_Gap;
    CFont m_PrintFont;
    int m_nCharWidth = 0;
    int m_nLineHeight = 0;
    int m_nContentHeight = 0;
    int m_nContentWidth = 0;
    int m_nPageWidth = 0;
    int m_nPageHeight = 0;
    int m_nDeviceWidth = 0;
    int m_nDeviceHeight = 0;
    int m_nMarginTop = 2;
    int m_nMarginBottom = 2;
    int m_nMarginLeft = 4;
    int m_nMarginRight = 4;
    int m_nSpacingLines = 1;
    CString m_sHeader;
    int m_nViewType = VIEWTYPE_PLOT;
};
