// The enhanced grid: the governing critical ratios of every reference set of a collection side
// by side, one row per bridge; each set's column group starts with its own spans under a heading
// that names the set. Sets with fewer bridges than the largest leave their lower cells empty; a
// collection without ratios shows the title and the span caption only.
#include "ui/views/GridView.h"

#include "controls/grid/GridCellNumeric.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/CriticalResults.h"
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
    if (pCollection) ratios = pCollection->GetCritRatios();

    m_sTitle = L"Enhanced Grid Output |";
    if (pAO) m_sTitle += pAO->GetDescription();

    // One row per bridge of the largest bridge set. Each set's column group has its own span
    // column, headed with the set's name: the sets need not have the same spans, nor as many.
    int nRows = 0;
    for (const auto& pEnsemble : ratios)
        if (const std::shared_ptr<CBridgeSet> pSet = pEnsemble ? pEnsemble->GetBridgeSet() : nullptr)
            nRows = std::max(nRows, static_cast<int>(pSet->GetSpanLengths().size()));

    // Its columns come one group after another: a table of cells built as it goes.
    SetUpGrid(nRows, 0, false);
    CString number;
    for (int row = m_nFixedRows; row < m_nRows; row++)
    {
        number.Format(L"%d", row);
        SetHeading(row, 0, number);
    }

    int nextCol = m_nFixedCols;
    for (const auto& pEnsemble : ratios)
        if (pEnsemble) AddEnhancedColumns(nextCol, pEnsemble);
    if (nextCol == m_nFixedCols)
    {
        // Nothing rated yet: the span caption alone.
        m_nCols = m_nFixedCols + 1;
        m_pGrid->SetColumnCount(m_nCols);
        SetHeading(0, m_nFixedCols, m_saBridgeAxis.at(0));
    }

    m_pGrid->ExpandColumnsToFit(TRUE);
    m_pGrid->AutoSizeColumns(GVS_HEADER);
    m_pGrid->AutoSizeColumn(0, GVS_DATA, TRUE);
    UpdateWindow();
}

void CGridView::AddEnhancedColumns(int& nextCol, std::shared_ptr<CCriticalRatioEnsemble> pEnsemble)
{
    const std::shared_ptr<CBridgeSet> pSet = pEnsemble->GetBridgeSet();
    const std::vector<CString>& ratioCaptions =
        pSet && pSet->m_Config == CBridge::CONFIG_ONESPAN ? m_saEnhancedSingleSpan : m_saEnhancedMultiSpan;
    std::vector<CString> captions{(pSet ? pSet->m_Description + L": " : CString()) + m_saBridgeAxis.at(0)};
    captions.insert(captions.end(), ratioCaptions.begin(), ratioCaptions.end());

    const bool multiSpan = &ratioCaptions == &m_saEnhancedMultiSpan;
    std::vector<std::vector<double>> values{pSet ? pSet->GetSpanLengths() : std::vector<double>()};
    std::vector<double> bmMax, bmMin;
    pEnsemble->GetBM(bmMax, bmMin);
    values.push_back(bmMax);
    if (multiSpan) values.push_back(bmMin);
    values.push_back(pEnsemble->GetGoverningSFRatios());
    values.push_back(pEnsemble->GetGoverningAbutmentRatios());
    if (multiSpan) values.push_back(pEnsemble->GetGoverningPierRatios());

    // The entries with no rating (a reference too small to divide by), column by column as above:
    // a governing ratio is one when it shows 0 and a ratio it was taken from has none.
    const int config = pSet ? pSet->m_Config : 0;
    const auto none = [](const CriticalPair<RatioLoadEffect>& pair) {
        return pair.first.IsUndefined() || pair.second.IsUndefined();
    };
    std::vector<std::vector<bool>> undefined(values.size());
    for (unsigned i = 0; i < pEnsemble->GetNoResults(); ++i)
    {
        const CCriticalRatioResults r = pEnsemble->GetResults(i);
        const auto& reactions = r.m_vReactionPairs;
        const auto reactionNone = [&](std::size_t k) { return k < reactions.size() && none(reactions[k]); };
        const std::size_t last = reactions.empty() ? 0 : reactions.size() - 1;
        std::size_t c = 1;
        undefined[c++].push_back(r.m_BMPair.first.IsUndefined());
        if (multiSpan) undefined[c++].push_back(r.m_BMPair.second.IsUndefined());
        undefined[c++].push_back(none(r.m_SFPair));
        undefined[c++].push_back(reactionNone(0) || reactionNone(last));
        if (multiSpan)
            undefined[c++].push_back(reactionNone(1) || (config == CBridge::CONFIG_THREESPAN && reactionNone(2)));
    }
    AddRatioColumns(nextCol, captions, values, undefined);
    nextCol += static_cast<int>(captions.size());
}

void CGridView::AddRatioColumns(int col, const std::vector<CString>& captions,
                                const std::vector<std::vector<double>>& values,
                                const std::vector<std::vector<bool>>& undefined)
{
    m_nCols += static_cast<int>(captions.size());
    m_pGrid->SetColumnCount(m_nCols);
    for (size_t j = 0; j < captions.size(); j++) SetHeading(0, col + static_cast<int>(j), captions[j]);
    for (int i = 0; i < m_nRows - m_nFixedRows; i++)
        for (size_t j = 0; j < captions.size(); j++)
        {
            const int gridCol = col + static_cast<int>(j);
            MakeNumericCell(i + 1, gridCol);
            if (j >= values.size() || static_cast<size_t>(i) >= values[j].size()) continue;
            const double value = values[j][static_cast<size_t>(i)];
            if (value == 0.0 && j < undefined.size() && static_cast<size_t>(i) < undefined[j].size() &&
                undefined[j][static_cast<size_t>(i)])
                SetTextCell(i + 1, gridCol, L"n/a");
            else
                SetNumber(i + 1, gridCol, value);
        }
}
