// The result tables of the grid view, a bending-moment and shear table and a reaction table
// for every kind of analysis. Results shorter than a table (fewer reaction envelopes than
// supports, fewer bridges than rows) leave the cells they lack empty.
#include "ui/views/GridView.h"

#include "engine/analysis/BeamResults.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "output/AnalysisOutput.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Entry i of a vector, or nothing when the vector is shorter.
template <class T>
const T* Entry(const std::vector<T>& v, size_t i)
{
    return i < v.size() ? &v[i] : nullptr;
}

size_t PointCount(const std::shared_ptr<CEnvelope>& pEnv) { return pEnv ? pEnv->m_vMax.size() : 0; }

// Supports of a bridge set's beam; 0 for a set without bridges.
int BridgeSetSupportCount(const std::shared_ptr<CBridgeSet>& pSet)
{
    if (!pSet || pSet->GetBridgeCount() == 0) return 0;
    const std::shared_ptr<CBeam> pBeam = pSet->GetBeam();
    return pBeam ? std::max(0, static_cast<int>(pBeam->m_nRestraints)) : 0;
}

int BridgeRows(const std::shared_ptr<CBridgeSet>& pSet) { return pSet ? std::max(0, pSet->m_nBridge) : 0; }

// The envelope results of bridge b in a critical-value ensemble, or nothing.
std::shared_ptr<CEnvelopeResults> EnvelopeOfBridge(const std::shared_ptr<CCriticalValueEnsemble>& pValues, int b)
{
    if (!pValues || b < 0) return nullptr;
    const auto envs = pValues->GetEnvelopeResults();
    return static_cast<size_t>(b) < envs.size() ? envs[static_cast<size_t>(b)] : nullptr;
}

} // namespace

// ---- Shared helpers ----------------------------------------------------------------------------

CString CGridView::ReactionMaxCaption(int s)
{
    CString caption;
    caption.Format(L" %d - Max", s);
    return L"Reaction" + caption;
}

CString CGridView::ReactionMinCaption(int s)
{
    CString caption;
    caption.Format(L" %d - Min", s);
    return L"Reaction" + caption;
}

int CGridView::SupportCount(const std::shared_ptr<CEnvelopeResults>& pRes)
{
    const std::shared_ptr<CBeam> pBeam = pRes ? pRes->GetBeam() : nullptr;
    return pBeam ? std::max(0, static_cast<int>(pBeam->m_nRestraints)) : 0;
}

int CGridView::ReactionPointCount(const std::shared_ptr<CEnvelopeResults>& pRes)
{
    return pRes ? static_cast<int>(PointCount(pRes->GetReactionEnvelope(0))) : 0;
}

void CGridView::FillBridgeRows(const CBridgeSet& set, size_t nResults,
                               const std::function<void(int nRow, unsigned nBridge)>& fillResults)
{
    const std::vector<double> spans = set.GetSpanLengths();
    const std::vector<double> lengths = set.GetBridgeLengths();
    for (int i = 0; i + 1 < m_nRows; i++)
    {
        const int row = i + 1;
        if (const double* span = Entry(spans, static_cast<size_t>(i))) SetNumber(row, 1, *span);
        if (const double* length = Entry(lengths, static_cast<size_t>(i))) SetNumber(row, 2, *length);
        if (static_cast<size_t>(i) < nResults) fillResults(row, static_cast<unsigned>(i));
    }
}

template <class Ensemble, class Value>
void CGridView::DrawBridgeBMSF(const std::shared_ptr<Ensemble>& pEnsemble, Value value)
{
    const CFinishTable finish{this};
    const std::shared_ptr<CBridgeSet> pSet = pEnsemble ? pEnsemble->GetBridgeSet() : nullptr;
    SetUpGrid(BridgeRows(pSet), 6);
    SetCaptions(m_saBridgeBMSF);
    SetRowNumbers();
    MakeNumericCells();
    if (!pSet) return;
    FillBridgeRows(*pSet, pEnsemble->GetNoResults(), [&](int nRow, unsigned i) {
        const auto P = pEnsemble->GetResults(i);
        SetEntry(nRow, 3, value(P.GetBM().first));
        SetEntry(nRow, 4, value(P.GetBM().second));
        SetEntry(nRow, 5, value(P.GetSF().first));
        SetEntry(nRow, 6, value(P.GetSF().second));
    });
    AutoSizeFirstColumn();
}

template <class Ensemble, class Value>
void CGridView::DrawBridgeReactions(const std::shared_ptr<Ensemble>& pEnsemble, Value value)
{
    const CFinishTable finish{this};
    const std::shared_ptr<CBridgeSet> pSet = pEnsemble ? pEnsemble->GetBridgeSet() : nullptr;
    const int nR = BridgeSetSupportCount(pSet);
    SetUpGrid(BridgeRows(pSet), 2 * nR + 2);
    SetHeading(0, 1, m_saBridgeBMSF.at(0));
    SetHeading(0, 2, m_saBridgeBMSF.at(1));
    for (int s = 1; s <= nR; s++)
    {
        SetHeading(0, 2 * s + 1, ReactionMaxCaption(s));
        SetHeading(0, 2 * s + 2, ReactionMinCaption(s));
    }
    SetRowNumbers();
    MakeNumericCells();
    if (!pSet) return;
    FillBridgeRows(*pSet, pEnsemble->GetNoResults(), [&](int nRow, unsigned i) {
        const auto pairs = pEnsemble->GetResults(i).GetReactionPairs();
        for (int r = 0; r < nR && static_cast<size_t>(r) < pairs.size(); r++)
        {
            SetEntry(nRow, 2 * r + 3, value(pairs[static_cast<size_t>(r)].first));
            SetEntry(nRow, 2 * r + 4, value(pairs[static_cast<size_t>(r)].second));
        }
    });
    AutoSizeFirstColumn();
}

void CGridView::FillEnvelopeBMSF(std::shared_ptr<CEnvelopeResults> pRes, int row0, int col0, bool bLoadModelPositions)
{
    if (!pRes) return;
    const std::shared_ptr<CEnvelope> pBM = pRes->GetBMEnvelope();
    const std::shared_ptr<CEnvelope> pSF = pRes->GetSFEnvelope();
    if (!pBM) return;
    const size_t n = pBM->m_vMax.size();
    const std::vector<PointLoadEffect> none;
    const std::vector<PointLoadEffect>* curves[4] = {&pBM->m_vMax, &pBM->m_vMin, pSF ? &pSF->m_vMax : &none,
                                                     pSF ? &pSF->m_vMin : &none};
    for (size_t i = 0; i < n; i++)
    {
        const int row = row0 + static_cast<int>(i);
        int col = col0;
        SetNumber(row, col++, pBM->m_vMax[i].xBeam);
        for (const std::vector<PointLoadEffect>* curve : curves)
        {
            const PointLoadEffect* point = Entry(*curve, i);
            if (point) SetNumber(row, col, point->val);
            col++;
            if (bLoadModelPositions)
            {
                if (point) SetNumber(row, col, point->xLoadModel);
                col++;
            }
        }
    }
}

CGridView::RowFiller CGridView::EnvelopeReactionRows(std::shared_ptr<CEnvelopeResults> pRes, int row0, int col0)
{
    if (!pRes) return [](int, int) {};
    // Row by row, a value from each envelope's column: the table is written in the order it keeps its cells
    // (a column at a time put each of nine million cells on a memory line of its own).
    struct SColumns
    {
        std::vector<std::shared_ptr<CEnvelope>> held;
        std::vector<const std::vector<PointLoadEffect>*> columns;
        int rows = 0;
    };
    auto source = std::make_shared<SColumns>();
    const std::shared_ptr<CEnvelope> pFirst = pRes->GetReactionEnvelope(0);
    source->held.push_back(pFirst);
    source->columns.push_back(pFirst ? &pFirst->m_vMax : nullptr);
    const int nR = SupportCount(pRes);
    for (int r = 0; r < nR; r++)
    {
        // A result with fewer reaction envelopes than supports leaves those columns empty.
        source->held.push_back(pRes->GetReactionEnvelope(static_cast<unsigned>(r)));
        source->columns.push_back(source->held.back() ? &source->held.back()->m_vMax : nullptr);
        source->columns.push_back(source->held.back() ? &source->held.back()->m_vMin : nullptr);
    }
    for (const std::vector<PointLoadEffect>* column : source->columns)
        if (column) source->rows = std::max(source->rows, static_cast<int>(column->size()));
    return [this, source, row0, col0](int nFirstRow, int nEndRow) {
        const int first = std::max(nFirstRow, row0);
        const int end = std::min(nEndRow, row0 + source->rows);
        for (int row = first; row < end; row++)
        {
            const auto i = static_cast<std::size_t>(row - row0);
            for (std::size_t c = 0; c < source->columns.size(); c++)
            {
                const std::vector<PointLoadEffect>* column = source->columns[c];
                if (!column || i >= column->size()) continue;
                // The first column is where the load model stood.
                SetNumber(row, col0 + static_cast<int>(c), c == 0 ? (*column)[i].xLoadModel : (*column)[i].val);
            }
        }
    };
}

// ---- Single position ---------------------------------------------------------------------------

void CGridView::DrawSinglePositionBMSF(std::shared_ptr<CAnalysisOutput> pAO)
{
    const CFinishTable finish{this};
    auto pSingle = std::dynamic_pointer_cast<CAOSinglePosition>(pAO);
    const std::shared_ptr<CBeamResults> pResults = pSingle ? pSingle->GetResults() : nullptr;
    std::vector<double> x, M, V;
    if (pResults)
    {
        pResults->GetResults(x, V, BRT_SHEAR);
        pResults->GetResults(x, M, BRT_MOMENT);
    }

    SetUpGrid(static_cast<int>(x.size()), 3);
    SetCaptions(m_saSinglePosBMSF);
    SetRowNumbers();
    MakeNumericCells();
    for (size_t i = 0; i < x.size(); i++)
    {
        const int row = static_cast<int>(i) + 1;
        SetNumber(row, 1, x[i]);
        if (const double* m = Entry(M, i)) SetNumber(row, 2, *m);
        if (const double* v = Entry(V, i)) SetNumber(row, 3, *v);
    }
}

void CGridView::DrawSinglePositionReactions(std::shared_ptr<CAnalysisOutput> pAO)
{
    const CFinishTable finish{this};
    auto pSingle = std::dynamic_pointer_cast<CAOSinglePosition>(pAO);
    const std::shared_ptr<CBeamResults> pResults = pSingle ? pSingle->GetResults() : nullptr;
    const std::vector<double> R = pResults ? pResults->GetReactions() : std::vector<double>();

    // A result without reactions has no value row.
    SetUpGrid(R.empty() ? 0 : 1, static_cast<int>(R.size()));
    CString caption;
    for (int k = 1; k < m_nCols; k++)
    {
        caption.Format(L"Reaction - %d", k);
        SetHeading(0, k, caption);
    }
    if (R.empty()) return;
    SetHeading(1, 0, L"Value");
    MakeNumericCells();
    for (size_t k = 0; k < R.size(); k++) SetNumber(1, static_cast<int>(k) + 1, R[k]);
}

// ---- Moving load -------------------------------------------------------------------------------

void CGridView::DrawMovingLoadBMSF(std::shared_ptr<CEnvelopeResults> pResults, bool /*bShowAll*/)
{
    const CFinishTable finish{this};
    SetUpGrid(pResults ? static_cast<int>(PointCount(pResults->GetBMEnvelope())) : 0, 9);
    SetCaptions(m_saMovingLoadBMSF);
    SetRowNumbers();
    MakeNumericCells();
    FillEnvelopeBMSF(pResults, 1, 1, true);
    AutoSizeFirstColumn();
}

void CGridView::DrawMovingLoadReactions(std::shared_ptr<CEnvelopeResults> pResults)
{
    const CFinishTable finish{this};
    const int nR = SupportCount(pResults);
    SetUpGrid(ReactionPointCount(pResults), 2 * nR + 1);
    SetHeading(0, 1, m_saMovingLoadReactions.at(1));
    for (int s = 1; s <= nR; s++)
    {
        SetHeading(0, 2 * s, ReactionMaxCaption(s));
        SetHeading(0, 2 * s + 1, ReactionMinCaption(s));
    }
    SetRowNumbers();
    MakeNumericCells();
    FillRows(EnvelopeReactionRows(pResults, 1, 1));
    AutoSizeFirstColumn();
}

void CGridView::DrawMultiMovingLoadBMSF(std::shared_ptr<CAnalysisOutput> pAO, bool /*bShowAll*/)
{
    const CFinishTable finish{this};
    auto pMulti = std::dynamic_pointer_cast<CAOMultiMovingLoad>(pAO);
    const std::shared_ptr<CEnvelopeResults> pResults = pMulti ? pMulti->GetResults() : nullptr;
    const std::shared_ptr<CEnvelope> pBM = pResults ? pResults->GetBMEnvelope() : nullptr;
    const std::shared_ptr<CEnvelope> pSF = pResults ? pResults->GetSFEnvelope() : nullptr;
    const size_t n = PointCount(pBM);

    SetUpGrid(static_cast<int>(n), 9);
    SetCaptions(m_saMultiMovingLoadBMSF);
    SetRowNumbers();
    MakeNumericCells();
    const std::vector<PointLoadEffect> none;
    for (size_t i = 0; i < n; i++)
    {
        const int row = static_cast<int>(i) + 1;
        SetNumber(row, 1, pBM->m_vMax[i].xBeam);
        const std::vector<PointLoadEffect>* curves[4] = {&pBM->m_vMax, &pBM->m_vMin, pSF ? &pSF->m_vMax : &none,
                                                         pSF ? &pSF->m_vMin : &none};
        int col = 2;
        for (const std::vector<PointLoadEffect>* curve : curves)
        {
            if (const PointLoadEffect* point = Entry(*curve, i))
            {
                SetNumber(row, col, point->val);
                SetTextCell(row, col + 1, point->GetLoadModelName());
            }
            col += 2;
        }
    }
    AutoSizeFirstColumn();
}

void CGridView::DrawMultiMovingLoadReactions(std::shared_ptr<CAnalysisOutput> pAO, bool /*bShowAll*/)
{
    const CFinishTable finish{this};
    auto pMulti = std::dynamic_pointer_cast<CAOMultiMovingLoad>(pAO);
    const std::shared_ptr<CEnvelopeResults> pResults = pMulti ? pMulti->GetResults() : nullptr;
    const int nR = SupportCount(pResults);
    const int nPoints = ReactionPointCount(pResults);

    SetUpGrid(nPoints, 4 * nR + 1);
    SetHeading(0, 1, m_saMultiMovingLoadReactions.at(2));
    CString minimum;
    for (int s = 1; s <= nR; s++)
    {
        SetHeading(0, 4 * s - 2, ReactionMaxCaption(s));
        SetHeading(0, 4 * s - 1, L"Critical LM");
        // This caption has never had a blank before the number; saved tables rely on it.
        minimum.Format(L"%d - Min", s);
        SetHeading(0, 4 * s, L"Reaction" + minimum);
        SetHeading(0, 4 * s + 1, L"Critical LM");
    }
    SetRowNumbers();
    MakeNumericCells();

    // Row by row (the order the table keeps its cells), each load model's name made once for a run of rows
    // where it is critical: at a million positions the table is sixteen million cells. The names are those
    // the models have now, however long the filling takes.
    struct SSource
    {
        std::vector<std::shared_ptr<CEnvelope>> envelopes;
        std::vector<std::pair<const CLoadModel*, CString>> names;
        std::vector<const CLoadModel*> lastModels;
        std::vector<CString> lastNames;
        CString NameOf(const PointLoadEffect& effect) const
        {
            for (const auto& [pLM, name] : names)
                if (effect.pLM && effect.pLM == pLM) return name;
            return effect.GetLoadModelName();
        }
    };
    auto source = std::make_shared<SSource>();
    const std::vector<std::shared_ptr<CLoadModel>> none;
    for (int r = 0; r < nR; r++) source->envelopes.push_back(pResults->GetReactionEnvelope(static_cast<unsigned>(r)));
    for (const std::shared_ptr<CEnvelope>& pEnv : source->envelopes)
        for (const std::shared_ptr<CLoadModel>& pModel : pEnv ? pEnv->GetHeldLoadModels() : none)
        {
            PointLoadEffect named;
            named.pLM = pModel.get();
            if (named.pLM && std::none_of(source->names.begin(), source->names.end(),
                                          [&](const auto& known) { return known.first == named.pLM; }))
                source->names.emplace_back(named.pLM, named.GetLoadModelName());
        }
    source->lastModels.resize(2 * source->envelopes.size());
    source->lastNames.resize(2 * source->envelopes.size());
    FillRows([this, source](int nFirstRow, int nEndRow) {
        SSource& s = *source;
        auto setEffect = [&](int row, int col, std::size_t column, const PointLoadEffect& effect) {
            SetNumber(row, col, effect.val);
            if (s.lastNames[column].IsEmpty() || effect.pLM != s.lastModels[column])
            {
                s.lastModels[column] = effect.pLM;
                s.lastNames[column] = s.NameOf(effect);
            }
            SetTextCell(row, col + 1, s.lastNames[column]);
        };
        const CString point = L"Point ";
        for (int row = nFirstRow; row < nEndRow; row++)
        {
            SetLabelCell(row, 1, point, row);
            const auto at = static_cast<std::size_t>(row - 1);
            for (std::size_t r = 0; r < s.envelopes.size(); r++)
            {
                const CEnvelope* pEnv = s.envelopes[r].get();
                if (!pEnv) continue;
                const int col = 4 * static_cast<int>(r) + 2;
                if (at < pEnv->m_vMax.size()) setEffect(row, col, 2 * r, pEnv->m_vMax[at]);
                if (at < pEnv->m_vMin.size()) setEffect(row, col + 2, 2 * r + 1, pEnv->m_vMin[at]);
            }
        }
    });
    AutoSizeFirstColumn();
}

// ---- Bridge range (reference values) -----------------------------------------------------------

void CGridView::DrawReferenceValuesBMSF(std::shared_ptr<CCriticalValueEnsemble> pValues)
{
    const CFinishTable finish{this};
    const std::shared_ptr<CBridgeSet> pSet = pValues ? pValues->GetBridgeSet() : nullptr;
    SetUpGrid(BridgeRows(pSet), 14);
    SetCaptions(m_saRefValuesBMSF);
    SetRowNumbers();
    MakeNumericCells();
    if (!pSet) return;
    FillBridgeRows(*pSet, pValues->GetNoResults(), [&](int nRow, unsigned i) {
        const CCriticalValueResults P = pValues->GetResults(i);
        int col = 3;
        for (const CriticalPair<PointLoadEffect>& pair : {P.GetBM(), P.GetSF()})
            for (const PointLoadEffect* point : {&pair.first, &pair.second})
            {
                SetNumber(nRow, col++, point->val);
                SetNumber(nRow, col++, point->xBeam);
                SetNumber(nRow, col++, point->xLoadModel);
            }
    });
    AutoSizeFirstColumn();
}

void CGridView::DrawReferenceValuesReactions(std::shared_ptr<CCriticalValueEnsemble> pValues)
{
    const CFinishTable finish{this};
    const std::shared_ptr<CBridgeSet> pSet = pValues ? pValues->GetBridgeSet() : nullptr;
    const int nR = BridgeSetSupportCount(pSet);
    SetUpGrid(BridgeRows(pSet), 4 * nR + 2);
    SetHeading(0, 1, m_saBridgeReactions.at(0));
    SetHeading(0, 2, m_saBridgeReactions.at(1));
    for (int s = 1; s <= nR; s++)
    {
        SetHeading(0, 4 * s - 1, ReactionMaxCaption(s));
        SetHeading(0, 4 * s, m_saBridgeReactions.at(4));
        SetHeading(0, 4 * s + 1, ReactionMinCaption(s));
        SetHeading(0, 4 * s + 2, m_saBridgeReactions.at(4));
    }
    SetRowNumbers();
    MakeNumericCells();
    if (!pSet) return;
    FillBridgeRows(*pSet, pValues->GetNoResults(), [&](int nRow, unsigned i) {
        const auto pairs = pValues->GetResults(i).GetReactionPairs();
        for (int r = 0; r < nR && static_cast<size_t>(r) < pairs.size(); r++)
        {
            const CriticalPair<PointLoadEffect>& pair = pairs[static_cast<size_t>(r)];
            SetNumber(nRow, 4 * r + 3, pair.first.val);
            SetNumber(nRow, 4 * r + 4, pair.first.xLoadModel);
            SetNumber(nRow, 4 * r + 5, pair.second.val);
            SetNumber(nRow, 4 * r + 6, pair.second.xLoadModel);
        }
    });
    AutoSizeFirstColumn();
}

// ---- Reference set values ----------------------------------------------------------------------

void CGridView::DrawReferenceSetValuesBMSF(std::shared_ptr<CReferenceSet> pRefSet)
{
    DrawBridgeBMSF(pRefSet ? pRefSet->GetRefCritValues() : nullptr, [](const PointLoadEffect& e) { return e.val; });
}

void CGridView::DrawReferenceSetValuesReactions(std::shared_ptr<CReferenceSet> pRefSet)
{
    DrawBridgeReactions(pRefSet ? pRefSet->GetRefCritValues() : nullptr,
                        [](const PointLoadEffect& e) { return e.val; });
}

// ---- Compared envelopes ------------------------------------------------------------------------

void CGridView::DrawCompareEnvelopesBMSF(std::shared_ptr<CAnalysisOutput> pAO)
{
    const CFinishTable finish{this};
    auto pCompare = std::dynamic_pointer_cast<CAOCompareRefSetEnvs>(pAO);
    const std::shared_ptr<CReferenceSet> pRefSet = pCompare ? pCompare->GetReferenceSet() : nullptr;
    const int b = pCompare ? pCompare->m_nOutBridgeIndex : -1;
    const auto pRef = EnvelopeOfBridge(pRefSet ? pRefSet->GetRefCritValues() : nullptr, b);
    const auto pProp = EnvelopeOfBridge(pRefSet ? pRefSet->GetPropCritValues() : nullptr, b);
    const size_t nRef = pRef ? PointCount(pRef->GetBMEnvelope()) : 0;
    const size_t nProp = pProp ? PointCount(pProp->GetBMEnvelope()) : 0;

    SetUpGrid(static_cast<int>(std::max(nRef, nProp)), 9);
    SetCaptions(m_saCompareBMSF);
    SetRowNumbers();
    MakeNumericCells();
    if (nRef > 0) FillEnvelopeBMSF(pRef, 1, 1, false);
    if (nProp > 0)
    {
        const std::shared_ptr<CEnvelope> pBM = pProp->GetBMEnvelope();
        const std::shared_ptr<CEnvelope> pSF = pProp->GetSFEnvelope();
        const std::vector<PointLoadEffect> none;
        const std::vector<PointLoadEffect>* curves[4] = {&pBM->m_vMax, &pBM->m_vMin, pSF ? &pSF->m_vMax : &none,
                                                         pSF ? &pSF->m_vMin : &none};
        for (size_t i = 0; i < nProp; i++)
            for (int k = 0; k < 4; k++)
                if (const PointLoadEffect* point = Entry(*curves[k], i))
                    SetNumber(static_cast<int>(i) + 1, 6 + k, point->val);
    }
}

void CGridView::DrawCompareEnvelopesReactions(std::shared_ptr<CAnalysisOutput> pAO)
{
    const CFinishTable finish{this};
    auto pCompare = std::dynamic_pointer_cast<CAOCompareRefSetEnvs>(pAO);
    const std::shared_ptr<CReferenceSet> pRefSet = pCompare ? pCompare->GetReferenceSet() : nullptr;
    const int b = pCompare ? pCompare->m_nOutBridgeIndex : -1;
    const auto pRef = EnvelopeOfBridge(pRefSet ? pRefSet->GetRefCritValues() : nullptr, b);
    const auto pProp = EnvelopeOfBridge(pRefSet ? pRefSet->GetPropCritValues() : nullptr, b);

    int nR = 0;
    const std::shared_ptr<CBridgeSet> pSet = pRefSet ? pRefSet->GetBridgeSet() : nullptr;
    if (pSet && b >= 0 && b < pSet->GetBridgeCount())
        if (const std::shared_ptr<CBridge> pBridge = pSet->GetBridge(static_cast<unsigned>(b)))
            if (const std::shared_ptr<CBeam> pBeam = pBridge->GetBeam())
                nR = std::max(0, static_cast<int>(pBeam->m_nRestraints));

    SetUpGrid(std::max(ReactionPointCount(pRef), ReactionPointCount(pProp)), 4 * nR + 2);
    const int block = 2 * nR + 1;
    for (int k = 0; k < 2; k++)
    {
        const int col0 = 1 + k * block;
        SetHeading(0, col0, (k == 0 ? L"Ref " : L"Prop ") + m_saCompareReactions.at(1));
        for (int s = 1; s <= nR; s++)
        {
            SetHeading(0, col0 + 2 * s - 1, ReactionMaxCaption(s));
            SetHeading(0, col0 + 2 * s, ReactionMinCaption(s));
        }
    }
    SetRowNumbers();
    MakeNumericCells();
    FillRows([ref = EnvelopeReactionRows(pRef, 1, 1), prop = EnvelopeReactionRows(pProp, 1, block + 1)](int nFirstRow,
                                                                                                        int nEndRow) {
        ref(nFirstRow, nEndRow);
        prop(nFirstRow, nEndRow);
    });
}

// ---- Critical ratios ---------------------------------------------------------------------------

void CGridView::DrawCriticalRatiosBMSF(std::shared_ptr<CAnalysisOutput> pAO)
{
    auto pRatios = std::dynamic_pointer_cast<CAOCriticalRatios>(pAO);
    DrawBridgeBMSF(pRatios ? pRatios->GetRatioResults() : nullptr,
                   [](const RatioLoadEffect& e) -> const RatioLoadEffect& { return e; });
}

void CGridView::DrawCriticalRatiosReactions(std::shared_ptr<CAnalysisOutput> pAO)
{
    auto pRatios = std::dynamic_pointer_cast<CAOCriticalRatios>(pAO);
    DrawBridgeReactions(pRatios ? pRatios->GetRatioResults() : nullptr,
                        [](const RatioLoadEffect& e) -> const RatioLoadEffect& { return e; });
}
