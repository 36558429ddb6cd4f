// The enhanced grid: the governing critical ratios of every reference set of a collection side
// by side, one row per bridge. Sets with fewer bridges than the largest leave their lower cells
// empty; a collection without ratios shows the title and the span caption only.
#include "ui/views/GridView.h"

#include "controls/grid/GridCellNumeric.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "output/AnalysisOutput.h"

void CGridView::ShowEnhancedCriticalRatios(std::shared_ptr<CAnalysisOutput> pAO)
{
    const CFinishTable finish{this};
    auto pEnhanced = std::dynamic_pointer_cast<CAOEnhanced>(pAO);
    const std::shared_ptr<CReferenceCollection> pCollection = pEnhanced ? pEnhanced->m_pOutCollection : nullptr;
    std::vector<std::shared_ptr<CCriticalRatioEnsemble>> ratios;
    if (pCollection)
        ratios = pCollection->GetCritRatios();

    m_sTitle = L"Enhanced Grid Output |";
    if (pAO)
        m_sTitle += pAO->GetDescription();

    // One row per bridge of the largest bridge set; the span of a row is that of the first
    // set that reaches it.
    int nRows = 0;
    std::vector<double> spans;
    for (const auto& pEnsemble : ratios)
    {
        const std::shared_ptr<CBridgeSet> pSet = pEnsemble ? pEnsemble->GetBridgeSet() : nullptr;
        if (!pSet)
            continue;
        nRows = std::max(nRows, pSet->m_nBridge);
        const std::vector<double> setSpans = pSet->GetSpanLengths();
        for (size_t i = spans.size(); i < setSpans.size(); i++)
            spans.push_back(setSpans[i]);
    }

    SetUpGrid(nRows, 1);
    CString number;
    for (int row = m_nFixedRows; row < m_nRows; row++)
    {
        number.Format(L"%d", row);
        SetHeading(row, 0, number);
        MakeNumericCell(row, 1);
        if (static_cast<size_t>(row - 1) < spans.size())
            SetNumber(row, 1, spans[static_cast<size_t>(row - 1)]);
    }
    if (CGridCellBase* pCaption = m_pGrid->GetCell(0, 1))
    {
        pCaption->SetText(m_saBridgeAxis.at(0));
        m_pGrid->SetModified(0, 1);
    }

    int nextCol = m_nFixedCols + 1;
    for (const auto& pEnsemble : ratios)
        if (pEnsemble)
            AddEnhancedColumns(nextCol, pEnsemble);

    m_pGrid->ExpandColumnsToFit(TRUE);
    m_pGrid->AutoSizeColumns(GVS_HEADER);
    m_pGrid->AutoSizeColumn(0, GVS_DATA, TRUE);
    UpdateWindow();
}

void CGridView::AddEnhancedColumns(int& nextCol, std::shared_ptr<CCriticalRatioEnsemble> pEnsemble)
{
    const std::shared_ptr<CBridgeSet> pSet = pEnsemble->GetBridgeSet();
    if (pSet && pSet->m_Config == CBridge::CONFIG_ONESPAN)
    {
        AddSingleSpanRatioColumns(nextCol, pEnsemble);
        nextCol += static_cast<int>(m_saEnhancedSingleSpan.size());
    }
    else
    {
        AddMultiSpanRatioColumns(nextCol, pEnsemble);
        nextCol += static_cast<int>(m_saEnhancedMultiSpan.size());
    }
}

void CGridView::AddSingleSpanRatioColumns(int col, std::shared_ptr<CCriticalRatioEnsemble> pEnsemble)
{
    std::vector<double> bmMax, bmMin;
    pEnsemble->GetBM(bmMax, bmMin);
    AddRatioColumns(col, m_saEnhancedSingleSpan,
                    {bmMax, pEnsemble->GetGoverningSFRatios(), pEnsemble->GetGoverningAbutmentRatios()});
}

void CGridView::AddMultiSpanRatioColumns(int col, std::shared_ptr<CCriticalRatioEnsemble> pEnsemble)
{
    std::vector<double> bmMax, bmMin;
    pEnsemble->GetBM(bmMax, bmMin);
    AddRatioColumns(col, m_saEnhancedMultiSpan,
                    {bmMax, bmMin, pEnsemble->GetGoverningSFRatios(), pEnsemble->GetGoverningAbutmentRatios(),
                     pEnsemble->GetGoverningPierRatios()});
}

void CGridView::AddRatioColumns(int col, const std::vector<CString>& captions,
                                const std::vector<std::vector<double>>& values)
{
    m_nCols += static_cast<int>(captions.size());
    m_pGrid->SetColumnCount(m_nCols);
    for (size_t j = 0; j < captions.size(); j++)
        SetHeading(0, col + static_cast<int>(j), captions[j]);
    for (int i = 0; i < m_nRows - m_nFixedRows; i++)
        for (size_t j = 0; j < captions.size(); j++)
        {
            const int gridCol = col + static_cast<int>(j);
            MakeNumericCell(i + 1, gridCol);
            if (j < values.size() && static_cast<size_t>(i) < values[j].size())
                SetNumber(i + 1, gridCol, values[j][static_cast<size_t>(i)]);
        }
}
