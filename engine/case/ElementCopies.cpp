// Copies of a case's elements for one run on a worker thread.
#include "engine/case/ElementCopies.h"

#include "engine/analysis/EnvelopeResults.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

template <class T, class MakeCopy>
std::shared_ptr<T> CElementCopies::Find(const std::shared_ptr<T>& original, MakeCopy makeCopy)
{
    if (!original) return original;
    if (const auto it = m_copies.find(original.get()); it != m_copies.end())
        return std::static_pointer_cast<T>(it->second);
    std::shared_ptr<T> copy = makeCopy(*original);
    m_copies[original.get()] = copy;
    m_originals[copy.get()] = original;
    return copy;
}

std::shared_ptr<CLoadModel> CElementCopies::Of(const std::shared_ptr<CLoadModel>& original)
{
    return Find(original, [](const CLoadModel& m) { return m.Clone(); });
}

std::shared_ptr<CLoadModelEnsemble> CElementCopies::Of(const std::shared_ptr<CLoadModelEnsemble>& original)
{
    return Find(original, [this](const CLoadModelEnsemble& e) {
        auto copy = std::make_shared<CLoadModelEnsemble>(e);
        for (auto& model : copy->m_vLoadModel) model = Of(model);
        return copy;
    });
}

std::shared_ptr<CBridge> CElementCopies::Of(const std::shared_ptr<CBridge>& original)
{
    return Find(original, [](const CBridge& b) { return b.Clone(); });
}

std::shared_ptr<CBridgeSet> CElementCopies::Of(const std::shared_ptr<CBridgeSet>& original)
{
    return Find(original, [this](const CBridgeSet& s) {
        auto copy = std::make_shared<CBridgeSet>(s);
        for (auto& bridge : copy->m_vBridges) bridge = Of(bridge);
        return copy;
    });
}

std::shared_ptr<CEnvelopeResults> CElementCopies::Of(const std::shared_ptr<CEnvelopeResults>& original)
{
    return Find(original, [this](const CEnvelopeResults& r) {
        // What a case file holds of the results; the envelopes themselves are shared.
        auto copy = std::make_shared<CEnvelopeResults>();
        copy->m_nReactions = r.m_nReactions;
        copy->m_nAugments = r.m_nAugments;
        copy->m_nBeamResults = r.m_nBeamResults;
        copy->m_nAnalyses = r.m_nAnalyses;
        copy->m_pEnvBMD = r.m_pEnvBMD;
        copy->m_pEnvSFD = r.m_pEnvSFD;
        copy->m_vEnvReaction = r.m_vEnvReaction;
        const bool bridgesBeam = r.m_pBridge && r.m_pBeam == r.m_pBridge->GetBeam();
        copy->m_pBridge = Of(r.m_pBridge);
        if (bridgesBeam)
            copy->m_pBeam = copy->m_pBridge->GetBeam();
        else if (r.m_pBeam)
            copy->m_pBeam = std::make_shared<CBeam>(*r.m_pBeam);
        return copy;
    });
}
