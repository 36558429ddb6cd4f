// Critical values or ratios of every bridge of a bridge set, with the per-bridge series the
// result views draw and the governing-ratio lists of the ratio tables.
#pragma once

#include "engine/analysis/CriticalResults.h"
#include "platform/core/Errors.h"

#include <memory>
#include <vector>

class CBridgeSet;
class CEnvelopeResults;

// T is CCriticalValueResults or CCriticalRatioResults.
template <class T>
class CCriticalEnsemble
{
public:
    CCriticalEnsemble() = default;
    CCriticalEnsemble(const CCriticalEnsemble&) = default;
    CCriticalEnsemble& operator=(const CCriticalEnsemble&) = default;
    virtual ~CCriticalEnsemble() = default;

    // One value per bridge, in bridge order, of the maxima and of the minima. Both vectors are
    // emptied first. GetReaction throws "invalid vector<T> subscript" for a support i that the
    // results do not have.
    virtual void GetBM(std::vector<double>& max, std::vector<double>& min) const = 0;
    virtual void GetSF(std::vector<double>& max, std::vector<double>& min) const = 0;
    virtual void GetReaction(unsigned i, std::vector<double>& max, std::vector<double>& min) const = 0;

    // The results of bridge i; "invalid vector<T> subscript" when i is too large.
    T GetResults(unsigned i) const { return qor::At(m_vResults, static_cast<std::size_t>(i)); }
    std::shared_ptr<CBridgeSet> GetBridgeSet() const { return m_pBridgeSet; }
    std::size_t GetNoResults() const { return m_vResults.size(); }

    int m_nResults = 0; // results added by Calculate
    std::shared_ptr<CBridgeSet> m_pBridgeSet;
    std::vector<T> m_vResults; // one per bridge, in the set's order
};

class CCriticalValueEnsemble : public CCriticalEnsemble<CCriticalValueResults>
{
public:
    CCriticalValueEnsemble() = default;
    CCriticalValueEnsemble(std::vector<std::shared_ptr<CEnvelopeResults>> envs, std::shared_ptr<CBridgeSet> bridgeSet);
    ~CCriticalValueEnsemble() override = default;

    // Replaces every result with the critical values of envs, one per bridge.
    void Calculate(std::vector<std::shared_ptr<CEnvelopeResults>> envs, std::shared_ptr<CBridgeSet> bridgeSet);

    std::vector<std::shared_ptr<CEnvelopeResults>> GetEnvelopeResults() const { return m_vEnvResults; }

    void GetBM(std::vector<double>& max, std::vector<double>& min) const override;
    void GetSF(std::vector<double>& max, std::vector<double>& min) const override;
    void GetReaction(unsigned i, std::vector<double>& max, std::vector<double>& min) const override;

    std::vector<std::shared_ptr<CEnvelopeResults>> m_vEnvResults;
};

class CCriticalRatioEnsemble : public CCriticalEnsemble<CCriticalRatioResults>
{
public:
    CCriticalRatioEnsemble() = default;
    // Stores the bridge set and the results; m_nResults stays 0.
    CCriticalRatioEnsemble(std::vector<CCriticalRatioResults> results, std::shared_ptr<CBridgeSet> bridgeSet);
    ~CCriticalRatioEnsemble() override = default;

    void GetBM(std::vector<double>& max, std::vector<double>& min) const override;
    void GetSF(std::vector<double>& max, std::vector<double>& min) const override;
    void GetReaction(unsigned i, std::vector<double>& max, std::vector<double>& min) const override;

    // Per bridge, the larger ratio of the shear pair.
    std::vector<double> GetMaxShearRatios() const;
    // Per bridge, the larger ratio at the end supports (support 0 and support 1, 2 or 3 for a
    // set of configuration 1, 2 or 3; support 0 alone for any other configuration).
    std::vector<double> GetMaxEndReactionRatios() const;
    // Per bridge, the larger ratio at the interior supports of two- and three-span sets; an
    // empty list for any other configuration.
    std::vector<double> GetMaxInteriorReactionRatios() const;

    // The same lists under the names the ratio tables use.
    std::vector<double> GetGoverningSFRatios() const { return GetMaxShearRatios(); }
    std::vector<double> GetGoverningAbutmentRatios() const { return GetMaxEndReactionRatios(); }
    std::vector<double> GetGoverningPierRatios() const { return GetMaxInteriorReactionRatios(); }
};
