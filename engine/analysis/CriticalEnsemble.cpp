// Critical values or ratios of every bridge of a bridge set, with the per-bridge series the result views draw
// and the governing-ratio lists of the ratio tables.
#include "engine/analysis/CriticalEnsemble.h"

#include "engine/analysis/EnvelopeResults.h"
#include "engine/model/BridgeSet.h"

namespace {

// The series of one kind of pair over the results: V(pair member) gives the number.
template <class Results, class Pick, class Value>
void Series(const std::vector<Results>& results, std::vector<double>& max, std::vector<double>& min, Pick pick,
            Value value)
{
    max.clear();
    min.clear();
    max.reserve(results.size());
    min.reserve(results.size());
    for (const Results& r : results)
    {
        const auto& pair = pick(r);
        max.push_back(value(pair.first));
        min.push_back(value(pair.second));
    }
}

double ValueOf(const PointLoadEffect& e) { return e.val; }
double RatioOf(const RatioLoadEffect& e) { return e.ratio; }

double LargerRatio(const CriticalPair<RatioLoadEffect>& pair)
{
    return pair.first.ratio > pair.second.ratio ? pair.first.ratio : pair.second.ratio;
}

const CriticalPair<RatioLoadEffect>& ReactionPair(const CCriticalRatioResults& r, std::size_t i)
{
    return qor::At(r.m_vReactionPairs, i);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Critical values

CCriticalValueEnsemble::CCriticalValueEnsemble(std::vector<std::shared_ptr<CEnvelopeResults>> envs,
                                               std::shared_ptr<CBridgeSet> bridgeSet)
{
    Calculate(std::move(envs), std::move(bridgeSet));
}

void CCriticalValueEnsemble::Calculate(std::vector<std::shared_ptr<CEnvelopeResults>> envs,
                                       std::shared_ptr<CBridgeSet> bridgeSet)
{
    m_vEnvResults = std::move(envs);
    m_nResults = 0;
    m_vResults.clear();
    m_pBridgeSet = std::move(bridgeSet);
    m_vResults.reserve(m_vEnvResults.size());
    for (const std::shared_ptr<CEnvelopeResults>& env : m_vEnvResults)
    {
        m_vResults.emplace_back(env);
        ++m_nResults;
    }
}

void CCriticalValueEnsemble::GetBM(std::vector<double>& max, std::vector<double>& min) const
{
    Series(
        m_vResults, max, min, [](const CCriticalValueResults& r) -> const auto& { return r.m_BMPair; }, ValueOf);
}

void CCriticalValueEnsemble::GetSF(std::vector<double>& max, std::vector<double>& min) const
{
    Series(
        m_vResults, max, min, [](const CCriticalValueResults& r) -> const auto& { return r.m_SFPair; }, ValueOf);
}

void CCriticalValueEnsemble::GetReaction(unsigned i, std::vector<double>& max, std::vector<double>& min) const
{
    Series(
        m_vResults, max, min,
        [i](const CCriticalValueResults& r) -> const auto& {
            return qor::At(r.m_vReactionPairs, static_cast<std::size_t>(i));
        },
        ValueOf);
}

// ---------------------------------------------------------------------------------------------
// Critical ratios

CCriticalRatioEnsemble::CCriticalRatioEnsemble(std::vector<CCriticalRatioResults> results,
                                               std::shared_ptr<CBridgeSet> bridgeSet)
{
    m_pBridgeSet = std::move(bridgeSet);
    m_vResults = std::move(results);
}

void CCriticalRatioEnsemble::GetBM(std::vector<double>& max, std::vector<double>& min) const
{
    Series(
        m_vResults, max, min, [](const CCriticalRatioResults& r) -> const auto& { return r.m_BMPair; }, RatioOf);
}

void CCriticalRatioEnsemble::GetSF(std::vector<double>& max, std::vector<double>& min) const
{
    Series(
        m_vResults, max, min, [](const CCriticalRatioResults& r) -> const auto& { return r.m_SFPair; }, RatioOf);
}

void CCriticalRatioEnsemble::GetReaction(unsigned i, std::vector<double>& max, std::vector<double>& min) const
{
    Series(
        m_vResults, max, min, [i](const CCriticalRatioResults& r) -> const auto& { return ReactionPair(r, i); },
        RatioOf);
}

std::vector<double> CCriticalRatioEnsemble::GetMaxShearRatios() const
{
    std::vector<double> out;
    out.reserve(m_vResults.size());
    for (const CCriticalRatioResults& r : m_vResults) out.push_back(LargerRatio(r.m_SFPair));
    return out;
}

std::vector<double> CCriticalRatioEnsemble::GetMaxEndReactionRatios() const
{
    const int config = m_pBridgeSet ? m_pBridgeSet->m_Config : 0;
    const std::size_t k = (config == 1 || config == 2 || config == 3) ? static_cast<std::size_t>(config) : 0;
    std::vector<double> out;
    out.reserve(m_vResults.size());
    for (const CCriticalRatioResults& r : m_vResults)
    {
        const double a = LargerRatio(ReactionPair(r, 0));
        const double b = LargerRatio(ReactionPair(r, k));
        out.push_back(a > b ? a : b);
    }
    return out;
}

std::vector<double> CCriticalRatioEnsemble::GetMaxInteriorReactionRatios() const
{
    const int config = m_pBridgeSet ? m_pBridgeSet->m_Config : 0;
    std::vector<double> out;
    if (config != 2 && config != 3) return out;
    out.reserve(m_vResults.size());
    for (const CCriticalRatioResults& r : m_vResults)
    {
        if (config == 2)
        {
            out.push_back(LargerRatio(ReactionPair(r, 1)));
            continue;
        }
        const double a = LargerRatio(ReactionPair(r, 1));
        const double b = LargerRatio(ReactionPair(r, 2));
        out.push_back(a > b ? a : b);
    }
    return out;
}
