// The governing numbers of envelope results: critical values (the extreme effects of one bridge's envelopes)
// and critical ratios (a proposed vehicle's critical effects against those of the reference vehicles).
#include "engine/analysis/CriticalResults.h"

#include "engine/analysis/EnvelopeResults.h"
#include "engine/model/Beam.h"

#include <algorithm>

namespace {

// The critical values of an envelope, or a default pair when there is none.
CriticalPair<PointLoadEffect> CriticalValuesOf(const std::shared_ptr<CEnvelope>& env)
{
    return env ? env->GetCriticalValues() : CriticalPair<PointLoadEffect>();
}

} // namespace

CCriticalValueResults::CCriticalValueResults(std::shared_ptr<CEnvelopeResults> env) : m_pEnvResults(std::move(env))
{
    if (!m_pEnvResults) return;
    const CEnvelopeResults& res = *m_pEnvResults;
    m_pBeam = res.GetBeam();
    m_BMPair = CriticalValuesOf(res.m_pEnvBMD);
    m_SFPair = CriticalValuesOf(res.m_pEnvSFD);
    HoldLoadModelsOf(res.m_pEnvBMD);
    HoldLoadModelsOf(res.m_pEnvSFD);
    m_nReactions = m_pBeam ? static_cast<unsigned int>(std::max(m_pBeam->m_nRestraints, 0)) : 0u;
    m_vReactionPairs.reserve(m_nReactions);
    for (unsigned int i = 0; i < m_nReactions; ++i)
    {
        m_vReactionPairs.push_back(CriticalValuesOf(res.GetReactionEnvelope(i)));
        HoldLoadModelsOf(res.GetReactionEnvelope(i));
    }
}

CCriticalRatioResults::CCriticalRatioResults(std::vector<CriticalPair<RatioLoadEffect>> reactionPairs,
                                             CriticalPair<RatioLoadEffect> bm, CriticalPair<RatioLoadEffect> sf)
{
    m_vReactionPairs = std::move(reactionPairs);
    m_nReactions = static_cast<unsigned int>(m_vReactionPairs.size());
    m_BMPair = std::move(bm);
    m_SFPair = std::move(sf);
}

// Defined here, with the ratio results it builds.
CCriticalRatioResults CEnvelopeResults::GetCriticalRatios(std::shared_ptr<CEnvelopeResults> reference,
                                                          double multiplier)
{
    // A result without envelopes (an ensemble without load models) stands as empty envelopes
    // of its bridge: its effects are zero.
    const auto own = [this](const std::shared_ptr<CEnvelope>& env, BeamResultsType type) {
        return env ? env : std::make_shared<CEnvelope>(m_pBridge, type);
    };
    const std::shared_ptr<CEnvelope> refBM = reference ? reference->m_pEnvBMD : std::shared_ptr<CEnvelope>();
    const std::shared_ptr<CEnvelope> refSF = reference ? reference->m_pEnvSFD : std::shared_ptr<CEnvelope>();

    const CriticalPair<RatioLoadEffect> bm = own(m_pEnvBMD, BRT_MOMENT)->GetCriticalRatios(refBM, multiplier);
    const CriticalPair<RatioLoadEffect> sf = own(m_pEnvSFD, BRT_SHEAR)->GetCriticalRatios(refSF, multiplier);

    // Without envelopes every support of the bridge stands as an empty reaction envelope too
    // (one zero pair per support); otherwise a missing reaction envelope is an error.
    const bool bEmpty = !HasEnvelopes();
    const unsigned int nReactions =
        bEmpty && m_pBeam ? static_cast<unsigned int>(std::max(m_pBeam->m_nRestraints, 0)) : m_nReactions;

    std::vector<std::shared_ptr<CEnvelope>> named = {m_pEnvBMD, m_pEnvSFD, refBM, refSF};
    std::vector<CriticalPair<RatioLoadEffect>> reactions;
    reactions.reserve(nReactions);
    for (unsigned int i = 0; i < nReactions; ++i)
    {
        const std::shared_ptr<CEnvelope> refEnv = reference ? reference->GetReactionEnvelope(i) : nullptr;
        auto R = refEnv ? std::make_shared<CEnvelope>(*refEnv) : std::make_shared<CEnvelope>(m_pBridge, BRT_REACTIONS);
        const std::shared_ptr<CEnvelope> P = bEmpty ? std::make_shared<CEnvelope>(m_pBridge, BRT_REACTIONS)
                                                    : qor::At(m_vEnvReaction, static_cast<std::size_t>(i));
        if (!P) qor::ThrowSubscriptError();
        P->ExtendTo(R); // the proposed result keeps the added zero points
        R->ExtendTo(P);
        reactions.push_back(P->GetCriticalRatios(R, multiplier));
        named.push_back(P);
        named.push_back(R);
    }
    CCriticalRatioResults ratios(std::move(reactions), bm, sf);
    for (const auto& env : named) ratios.HoldLoadModelsOf(env);
    return ratios;
}
