// Descriptors of analysis runs: what a run was made of and the results it handed to the result windows.
#include "output/AnalysisOutput.h"

#include "engine/analysis/BeamResults.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

#include <locale>
#include <sstream>

namespace {

// The name of an element, empty when there is none.
template <class T>
CString NameOf(const std::shared_ptr<T>& element)
{
    return element ? element->m_Description : CString();
}

CString OnOff(bool on) { return CString(on ? L"On" : L"Off"); }

CString Formatted(const wchar_t* format, double value)
{
    CString s;
    s.Format(format, value);
    return s;
}

CString Formatted(const wchar_t* format, int value)
{
    CString s;
    s.Format(format, value);
    return s;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CAnalysisOutput

CAnalysisOutput::CAnalysisOutput(int outputType, int nAnalyses)
    : m_nOutputType(outputType), m_nOutAnalyses(nAnalyses), m_sSeparator(L" | ")
{}

CAnalysisOutput::~CAnalysisOutput() = default;

CString CAnalysisOutput::MakePointLabel(bool reaction, int index, double x, double y)
{
    m_PointX = x;
    m_PointY = y;

    CString label;
    if (reaction)
        label.Format(L"Reaction %d!", index + 1);
    else
        label = (index != 0) ? L"Shear!" : L"Bending!";

    label += L"\n";
    label += PointValues(x, y);
    return label;
}

CString CAnalysisOutput::PointValues(double x, double y)
{
    // The stream's own default number format (six significant digits), whatever locale the
    // program runs under.
    std::wostringstream os;
    os.imbue(std::locale::classic());
    os << L"X: " << x << L"\n" << L"Y: " << y;
    return CString(os.str());
}

CString CAnalysisOutput::Join(const std::vector<CString>& parts) const
{
    CString s;
    for (std::size_t i = 0; i < parts.size(); ++i)
    {
        if (i > 0) s += m_sSeparator;
        s += parts[i];
    }
    return s;
}

// ---------------------------------------------------------------------------------------------
// CAOSinglePosition

CAOSinglePosition::CAOSinglePosition(std::shared_ptr<CBeamResults> results, std::shared_ptr<CBridge> bridge,
                                     std::shared_ptr<CLoadModel> loadModel, double position)
    : CAnalysisOutput(OUTPUT_SINGLEPOSITION, 1), m_pOutBridge(std::move(bridge)), m_pOutLoadModel(std::move(loadModel)),
      m_pOutResults(std::move(results)), m_OutPosition(position)
{}

CString CAOSinglePosition::GetDescription()
{
    if (!m_pOutBridge || !m_pOutLoadModel) return CString();
    return Join({CString(L"Bridge: ") + NameOf(m_pOutBridge), CString(L"Load model: ") + NameOf(m_pOutLoadModel),
                 Formatted(L"Position: %.3f m", m_OutPosition)});
}

CString CAOSinglePosition::GetPointLabel(bool reaction, int index, double x, double y)
{
    return MakePointLabel(reaction, index, x, y);
}

// ---------------------------------------------------------------------------------------------
// CAOMovingLoad

CAOMovingLoad::CAOMovingLoad(std::shared_ptr<CEnvelopeResults> results, std::shared_ptr<CBridge> bridge,
                             std::shared_ptr<CLoadModel> loadModel, int nAnalyses)
    : CAnalysisOutput(OUTPUT_MOVINGLOAD, nAnalyses), m_pOutBridge(std::move(bridge)),
      m_pOutLoadModel(std::move(loadModel)), m_pOutResults(std::move(results))
{}

CString CAOMovingLoad::GetDescription()
{
    return Join({CString(L"Bridge: ") + NameOf(m_pOutBridge), CString(L"Load model: ") + NameOf(m_pOutLoadModel),
                 Formatted(L"No. analyses: %d", m_nOutAnalyses)});
}

CString CAOMovingLoad::GetPointLabel(bool reaction, int index, double x, double y)
{
    return MakePointLabel(reaction, index, x, y);
}

// ---------------------------------------------------------------------------------------------
// CAOMultiMovingLoad

CAOMultiMovingLoad::CAOMultiMovingLoad(std::shared_ptr<CEnvelopeResults> results, std::shared_ptr<CBridge> bridge,
                                       std::shared_ptr<CLoadModelEnsemble> ensemble,
                                       std::vector<std::shared_ptr<CEnvelopeResults>> lmResults, int nAnalyses)
    : CAnalysisOutput(OUTPUT_MULTIMOVINGLOAD, nAnalyses), m_pOutBridge(std::move(bridge)),
      m_pOutLME(std::move(ensemble)), m_pOutResults(std::move(results)), m_vOutLMResults(std::move(lmResults))
{}

CString CAOMultiMovingLoad::GetDescription()
{
    return Join({CString(L"Bridge: ") + NameOf(m_pOutBridge), CString(L"Load model ensemble: ") + NameOf(m_pOutLME),
                 Formatted(L"No. analyses: %d", m_nOutAnalyses)});
}

CString CAOMultiMovingLoad::GetPointLabel(bool reaction, int index, double x, double y)
{
    return MakePointLabel(reaction, index, x, y);
}

// ---------------------------------------------------------------------------------------------
// CAOBridgeRange

CAOBridgeRange::CAOBridgeRange(std::shared_ptr<CCriticalValueEnsemble> results, std::shared_ptr<CBridgeSet> bridgeSet,
                               std::shared_ptr<CLoadModel> loadModel)
    : CAnalysisOutput(OUTPUT_BRIDGERANGE, 0), m_pOutLoadModel(std::move(loadModel)),
      m_pOutBridgeSet(std::move(bridgeSet)), m_pOutResults(std::move(results))
{}

CString CAOBridgeRange::GetDescription()
{
    // The analyses of every bridge of the range, not the number of bridges.
    int nAnalyses = 0;
    if (m_pOutResults)
        for (const auto& env : m_pOutResults->m_vEnvResults)
            if (env) nAnalyses += env->m_nAnalyses;
    return Join({CString(L"Bridge set: ") + NameOf(m_pOutBridgeSet), CString(L"Load model: ") + NameOf(m_pOutLoadModel),
                 Formatted(L"No. analyses: %d", nAnalyses)});
}

CString CAOBridgeRange::GetPointLabel(bool reaction, int index, double x, double y)
{
    return MakePointLabel(reaction, index, x, y);
}

// ---------------------------------------------------------------------------------------------
// CAOReferenceSet and CAOCompareRefSetEnvs

CAOReferenceSet::CAOReferenceSet(std::shared_ptr<CReferenceSet> refSet, bool bOverstress)
    : CAOReferenceSet(OUTPUT_REFERENCESET, std::move(refSet), bOverstress)
{}

CAOReferenceSet::CAOReferenceSet(int outputType, std::shared_ptr<CReferenceSet> refSet, bool bOverstress)
    : CAnalysisOutput(outputType, 0), m_pOutRefSet(std::move(refSet)), m_bOutOverstress(bOverstress)
{}

CString CAOReferenceSet::GetDescription()
{
    const std::shared_ptr<CBridgeSet> bs = m_pOutRefSet ? m_pOutRefSet->GetBridgeSet() : nullptr;
    const std::shared_ptr<CLoadModelEnsemble> lme = m_pOutRefSet ? m_pOutRefSet->GetRefLME() : nullptr;
    return Join({CString(L"Bridge set: ") + NameOf(bs), CString(L"Load model ensemble: ") + NameOf(lme),
                 CString(L"O/S: ") + OnOff(m_bOutOverstress)});
}

CString CAOReferenceSet::GetPointLabel(bool reaction, int index, double x, double y)
{
    return MakePointLabel(reaction, index, x, y);
}

CAOCompareRefSetEnvs::CAOCompareRefSetEnvs(bool bOverstress, int bridgeIndex, std::shared_ptr<CReferenceSet> refSet)
    : CAOReferenceSet(OUTPUT_COMPAREREFSETENVS, std::move(refSet), bOverstress), m_nOutBridgeIndex(bridgeIndex)
{}

CString CAOCompareRefSetEnvs::GetDescription()
{
    std::shared_ptr<CBridge> bridge;
    CString proposed;
    if (m_pOutRefSet)
    {
        const std::shared_ptr<CBridgeSet> bs = m_pOutRefSet->GetBridgeSet();
        // A heading never fails: an index outside the set names no bridge.
        if (bs && m_nOutBridgeIndex >= 0 && m_nOutBridgeIndex < bs->GetBridgeCount())
            bridge = bs->GetBridge(static_cast<unsigned>(m_nOutBridgeIndex));

        const std::shared_ptr<CLoadModelEnsemble> prop = m_pOutRefSet->GetPropLME();
        if (m_pOutRefSet->m_bUseLM)
        {
            if (prop && !prop->m_vLoadModel.empty()) proposed = NameOf(prop->m_vLoadModel.front());
        }
        else
        {
            proposed = NameOf(prop);
        }
    }
    return Join(
        {CAOReferenceSet::GetDescription(), CString(L"Bridge: ") + NameOf(bridge), CString(L"Proposed: ") + proposed});
}

CString CAOCompareRefSetEnvs::GetPointLabel(bool reaction, int index, double x, double y)
{
    return MakePointLabel(reaction, index, x, y);
}

// ---------------------------------------------------------------------------------------------
// CAOCriticalRatios

CAOCriticalRatios::CAOCriticalRatios(std::shared_ptr<CCriticalRatioEnsemble> ratios,
                                     std::shared_ptr<CReferenceCollection> collection,
                                     std::shared_ptr<CReferenceSet> refSet)
    : CAnalysisOutput(OUTPUT_CRITICALRATIOS, 0), m_pOutRatios(std::move(ratios)),
      m_pOutCollection(std::move(collection)), m_pOutRefSet(std::move(refSet))
{}

CString CAOCriticalRatios::GetDescription()
{
    const std::shared_ptr<CBridgeSet> bs = m_pOutRefSet ? m_pOutRefSet->GetBridgeSet() : nullptr;
    const std::shared_ptr<CLoadModelEnsemble> lme = m_pOutRefSet ? m_pOutRefSet->GetRefLME() : nullptr;
    const CReferenceCollection* c = m_pOutCollection.get();
    return Join({CString(L"Reference: ") + NameOf(m_pOutCollection), CString(L"Bridge set: ") + NameOf(bs),
                 CString(L"LME: ") + NameOf(lme), CString(L"Load model: ") + (c ? c->GetProposedName() : CString()),
                 Formatted(L"Multiplier: %.3f", c ? c->m_Multiplier : 1.0),
                 CString(L"O/S: ") + OnOff(c && c->m_bUseOverstress)});
}

CString CAOCriticalRatios::GetPointLabel(bool reaction, int index, double x, double y)
{
    return MakePointLabel(reaction, index, x, y);
}

// ---------------------------------------------------------------------------------------------
// CAOEnhanced

CAOEnhanced::CAOEnhanced(std::shared_ptr<CReferenceCollection> collection)
    : CAnalysisOutput(OUTPUT_ENHANCED, 0), m_pOutCollection(std::move(collection))
{}

CString CAOEnhanced::GetDescription()
{
    const CReferenceCollection* c = m_pOutCollection.get();
    return Join({CString(L"Reference: ") + NameOf(m_pOutCollection),
                 CString(L"Load model: ") + (c ? c->GetProposedName() : CString()),
                 Formatted(L"Multiplier: %.3f", c ? c->m_Multiplier : 1.0),
                 CString(L"O/S: ") + OnOff(c && c->m_bUseOverstress)});
}

CString CAOEnhanced::GetPointLabel(bool reaction, int index, double x, double y)
{
    return MakePointLabel(reaction, index, x, y);
}
