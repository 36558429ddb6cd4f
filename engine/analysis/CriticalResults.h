// The governing numbers of envelope results: critical values (the extreme effects of one
// bridge's envelopes) and critical ratios (a proposed vehicle's critical effects against
// those of the reference vehicles).
#pragma once

#include "engine/analysis/Envelope.h"
#include "platform/core/Errors.h"

#include <memory>
#include <vector>

class CBeam;
class CEnvelopeResults;

// T is CriticalPair<PointLoadEffect> or CriticalPair<RatioLoadEffect>.
template <class T>
class CCriticalResults
{
public:
    CCriticalResults() = default;
    CCriticalResults(const CCriticalResults&) = default;
    CCriticalResults& operator=(const CCriticalResults&) = default;
    virtual ~CCriticalResults() = default;

    T GetBM() const { return m_BMPair; }
    T GetSF() const { return m_SFPair; }
    // Reaction pair i; std::out_of_range "invalid vector<T> subscript" when i is too large.
    T GetReaction(unsigned i) const { return qor::At(m_vReactionPairs, static_cast<std::size_t>(i)); }
    std::vector<T> GetReactionPairs() const { return m_vReactionPairs; }
    std::shared_ptr<CBeam> GetBeam() const { return m_pBeam; }

    // Keeps the load models the points of env name alive with these results (their pairs name
    // them by plain pointers).
    void HoldLoadModelsOf(const std::shared_ptr<CEnvelope>& env)
    {
        if (!env) return;
        for (const auto& model : env->GetHeldLoadModels())
        {
            bool held = false;
            for (const auto& h : m_vLoadModels) held = held || h == model;
            if (!held) m_vLoadModels.push_back(model);
        }
    }

    std::shared_ptr<CBeam> m_pBeam; // the beam of the analysed bridge
    unsigned int m_nReactions = 0;  // number of reaction pairs
    T m_BMPair;
    T m_SFPair;
    std::vector<T> m_vReactionPairs;                        // one per support, support 0 first
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModels; // the models the pairs name
};

class CCriticalValueResults : public CCriticalResults<CriticalPair<PointLoadEffect>>
{
public:
    CCriticalValueResults() = default;
    // The critical values of one envelope result. A result without envelopes (or no result)
    // gives default pairs.
    explicit CCriticalValueResults(std::shared_ptr<CEnvelopeResults> env);
    ~CCriticalValueResults() override = default;

    std::shared_ptr<CEnvelopeResults> GetEnvelopeResults() const { return m_pEnvResults; }

    std::shared_ptr<CEnvelopeResults> m_pEnvResults; // the result the values were taken from
};

class CCriticalRatioResults : public CCriticalResults<CriticalPair<RatioLoadEffect>>
{
public:
    CCriticalRatioResults() = default;
    // The ratios of one bridge: reaction pairs in support order, then moment and shear.
    CCriticalRatioResults(std::vector<CriticalPair<RatioLoadEffect>> reactionPairs, CriticalPair<RatioLoadEffect> bm,
                          CriticalPair<RatioLoadEffect> sf);
    ~CCriticalRatioResults() override = default;
};
