// The envelopes of one bridge under moving loads: bending moment, shear force and one reaction envelope per
// support, with counters of what went into them.
#include "engine/analysis/EnvelopeResults.h"

#include "engine/EngineErrors.h"
#include "engine/analysis/BeamResults.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "platform/core/Errors.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/nvp.hpp>
#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Reaction envelope i; a missing or empty entry is out of range.
CEnvelope& ReactionAt(const std::vector<std::shared_ptr<CEnvelope>>& envelopes, std::size_t i)
{
    if (i >= envelopes.size() || !envelopes[i]) qor::ThrowSubscriptError();
    return *envelopes[i];
}

std::shared_ptr<CEnvelope> CopyOf(const std::shared_ptr<CEnvelope>& env)
{
    return env ? std::make_shared<CEnvelope>(*env) : std::shared_ptr<CEnvelope>();
}

// The bits of v - v: none for a finite v, those of a NaN otherwise. Or-ed over a line, the line
// is finite when none are set.
inline std::uint64_t NonFiniteBits(double v)
{
    const double d = v - v;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

// True when every value is a finite number: the bits of v - v or-ed, four values at a time
// in two independent lanes.
bool AllFinite(const std::vector<double>& values)
{
    const double* const p = values.data();
    const std::size_t n = values.size();
    std::size_t j = 0;
    std::uint64_t bits = 0;
#if defined(__SSE2__)
    __m128d a = _mm_setzero_pd();
    __m128d b = _mm_setzero_pd();
    for (; j + 4 <= n; j += 4)
    {
        const __m128d v0 = _mm_loadu_pd(p + j);
        const __m128d v1 = _mm_loadu_pd(p + j + 2);
        a = _mm_or_pd(a, _mm_sub_pd(v0, v0));
        b = _mm_or_pd(b, _mm_sub_pd(v1, v1));
    }
    alignas(16) std::uint64_t lanes[2];
    _mm_store_pd(reinterpret_cast<double*>(lanes), _mm_or_pd(a, b));
    bits = lanes[0] | lanes[1];
#endif
    for (; j < n; ++j) bits |= NonFiniteBits(p[j]);
    return bits == 0;
}

// True when every moment and shear of the result is a finite number.
bool HasFiniteEffects(const CBeamResults& results)
{
    for (const CMbrResults& mbr : results.m_vMbrRes)
        if (!AllFinite(mbr.M) || !AllFinite(mbr.V)) return false;
    return true;
}

// A missing beam result reads as one without points or reactions.
const CBeamResults& ResultsOrEmpty(const std::shared_ptr<CBeamResults>& results)
{
    static const CBeamResults noResults;
    return results ? *results : noResults;
}

// The moment or shear values of one member.
const std::vector<double>& MemberValues(const CMbrResults& mbr, BeamResultsType t)
{
    return t == BRT_MOMENT ? mbr.M : mbr.V;
}

// The zero-point rule of the moment and shear lists: a value whose sign is wrong for the list
// (negative for the maxima, positive for the minima) stands as its zero point, 0.0 without a
// load model.
template <bool Max>
inline bool IsZeroPoint(double v)
{
    return Max ? 0.0 > v : 0.0 < v;
}

// A point of a moment or shear list, after the zero-point rule.
template <bool Max>
inline PointLoadEffect ListPoint(double v, double x, double position, BeamResultsType kind, const CLoadModel* loadModel)
{
    const bool bZero = IsZeroPoint<Max>(v);
    return PointLoadEffect(bZero ? 0.0 : v, x, position, kind, bZero ? nullptr : loadModel);
}

// The zero-point rule applied to a point in place.
template <bool Max>
inline void ApplyZeroPoint(PointLoadEffect& p)
{
    if (!IsZeroPoint<Max>(p.val)) return;
    p.val = 0.0;
    p.pLM = nullptr;
}

// The merge of one stretch of a line into the held points held[0 .. n): the value y[j] at
// x[j] stands as itself or as its zero point; it replaces the held point only when strictly
// beyond it.
template <bool Max>
inline bool Beyond(double candidate, double held)
{
    return Max ? candidate > held : candidate < held;
}

template <bool Max>
inline void TakePoint(PointLoadEffect& held, double v, double x, double position, BeamResultsType kind,
                      const CLoadModel* loadModel)
{
    const bool bZero = IsZeroPoint<Max>(v);
    const double candidate = bZero ? 0.0 : v;
    if (!Beyond<Max>(candidate, held.val)) return;
    held = PointLoadEffect(candidate, x, position, kind, bZero ? nullptr : loadModel);
}

template <bool Max>
void MergeStretch(PointLoadEffect* held, const double* y, const double* x, std::size_t n, double position,
                  BeamResultsType kind, const CLoadModel* loadModel)
{
    for (std::size_t j = 0; j < n; ++j) TakePoint<Max>(held[j], y[j], x[j], position, kind, loadModel);
}

} // namespace

CEnvelopeResults::CEnvelopeResults() = default;

CEnvelopeResults::CEnvelopeResults(std::shared_ptr<CBridge> bridge) : m_pBridge(std::move(bridge))
{
    if (m_pBridge) m_pBeam = m_pBridge->GetBeam();
    m_nReactions = m_pBeam ? static_cast<unsigned int>(std::max(m_pBeam->m_nRestraints, 0)) : 0u;
}

CEnvelopeResults::CEnvelopeResults(const CEnvelopeResults& other)
    : m_pBridge(other.m_pBridge), m_pBeam(other.m_pBeam), m_nReactions(other.m_nReactions),
      m_nAugments(other.m_nAugments), m_nBeamResults(other.m_nBeamResults), m_nAnalyses(other.m_nAnalyses),
      m_pEnvBMD(CopyOf(other.m_pEnvBMD)), m_pEnvSFD(CopyOf(other.m_pEnvSFD))
{
    m_vEnvReaction.reserve(other.m_vEnvReaction.size());
    for (const auto& env : other.m_vEnvReaction) m_vEnvReaction.push_back(CopyOf(env));
    m_pKept = other.m_pKept;
    m_bKeepPositions = other.m_bKeepPositions;
}

CEnvelopeResults& CEnvelopeResults::operator=(const CEnvelopeResults& other)
{
    if (this != &other)
    {
        CEnvelopeResults copy(other);
        m_pBridge = std::move(copy.m_pBridge);
        m_pBeam = std::move(copy.m_pBeam);
        m_nReactions = copy.m_nReactions;
        m_nAugments = copy.m_nAugments;
        m_nBeamResults = copy.m_nBeamResults;
        m_nAnalyses = copy.m_nAnalyses;
        m_pKept = std::move(copy.m_pKept);
        m_bKeepPositions = copy.m_bKeepPositions;
        m_pEnvBMD = std::move(copy.m_pEnvBMD);
        m_pEnvSFD = std::move(copy.m_pEnvSFD);
        m_vEnvReaction = std::move(copy.m_vEnvReaction);
    }
    return *this;
}

CEnvelopeResults::~CEnvelopeResults() = default;

void CEnvelopeResults::SetKeepPositions(bool bKeep, std::size_t expected)
{
    m_bKeepPositions = bKeep;
    m_nExpectedPositions = expected;
    if (!bKeep || expected == 0) return;
    if (!m_pKept || m_pKept.use_count() > 1)
        m_pKept = m_pKept ? std::make_shared<CKeptPositions>(*m_pKept) : std::make_shared<CKeptPositions>();
    m_pKept->Reserve(m_pKept->GetCount() + expected);
}

const CKeptPositions& CEnvelopeResults::GetKeptPositions() const
{
    static const CKeptPositions none;
    return m_pKept ? *m_pKept : none;
}

void CEnvelopeResults::FinishAdding()
{
    if (m_pKept) m_pKept->Trim();
}

std::shared_ptr<CEnvelope> CEnvelopeResults::GetReactionEnvelope(unsigned int i) const
{
    if (i >= m_vEnvReaction.size()) return std::shared_ptr<CEnvelope>();
    return m_vEnvReaction[i];
}

void CEnvelopeResults::CreateEnvelopes(std::shared_ptr<CBridge> bridge)
{
    m_pBridge = std::move(bridge);
    m_pBeam = m_pBridge ? m_pBridge->GetBeam() : std::shared_ptr<CBeam>();
    m_nReactions = m_pBeam ? static_cast<unsigned int>(std::max(m_pBeam->m_nRestraints, 0)) : 0u;
    m_pEnvBMD = std::make_shared<CEnvelope>(m_pBridge, BRT_MOMENT);
    m_pEnvSFD = std::make_shared<CEnvelope>(m_pBridge, BRT_SHEAR);
    m_vEnvReaction.clear();
    m_vEnvReaction.reserve(m_nReactions);
    for (unsigned int i = 0; i < m_nReactions; ++i)
    {
        m_vEnvReaction.push_back(std::make_shared<CEnvelope>(m_pBridge, BRT_REACTIONS));
        m_vEnvReaction.back()->m_vMax.reserve(m_nExpectedPositions);
        m_vEnvReaction.back()->m_vMin.reserve(m_nExpectedPositions);
    }
}

// ---------------------------------------------------------------------------------------------
// Adding a position

void CEnvelopeResults::AddResult(const std::shared_ptr<CBeamResults>& results,
                                 const std::shared_ptr<CLoadModel>& loadModel, double position)
{
    // A value that is not a number would never replace a held one and so vanish from the
    // envelopes (a vehicle whose effects overflowed would seem to have none): an error instead,
    // with the envelopes as they were. The whole position is checked before anything changes
    // (in one pass that costs a few per cent of the merge).
    const CBeamResults& res = ResultsOrEmpty(results);
    for (double r : res.m_vReactions)
        if (!std::isfinite(r)) throw kNonFiniteResultError;
    if (!HasFiniteEffects(res)) throw kNonFiniteResultError;

    // From here on an error leaves the position counted, as it always has.
    ++m_nAnalyses;
    ++m_nBeamResults;
    if (m_bKeepPositions)
    {
        if (!m_pKept)
            m_pKept = std::make_shared<CKeptPositions>();
        else if (m_pKept.use_count() > 1)
            m_pKept = std::make_shared<CKeptPositions>(*m_pKept); // the copies' positions stay theirs
        m_pKept->Add(results.get());
    }

    // The supports are placed before any envelope changes, so that a result with too few
    // reactions leaves the envelopes as they were. Their positions are looked up once a beam:
    // every position of a run is solved on the same one.
    if (res.m_vReactions.size() < m_nReactions) qor::ThrowSubscriptError();
    if (m_nReactions > 0 && (res.m_pBeam != m_pSupportBeam || m_vSupportX.size() != m_nReactions))
    {
        if (!res.m_pBeam) qor::ThrowSubscriptError();
        m_pSupportBeam.reset();
        m_vSupportX.resize(m_nReactions);
        for (unsigned int i = 0; i < m_nReactions; ++i)
            m_vSupportX[i] = res.m_pBeam->GetRestraintPosition(static_cast<int>(i));
        m_pSupportBeam = res.m_pBeam;
    }

    const bool bFirst = (m_nBeamResults == 1);
    if (bFirst) CreateEnvelopes(m_pBridge);
    if (!HasEnvelopes() || m_vSupportX.size() < m_nReactions) qor::ThrowSubscriptError();

    const CLoadModel* const lm = loadModel.get();
    m_pEnvBMD->HoldLoadModel(loadModel);
    m_pEnvSFD->HoldLoadModel(loadModel);
    MergeLine(*m_pEnvBMD, res, BRT_MOMENT, position, lm, bFirst);
    MergeLine(*m_pEnvSFD, res, BRT_SHEAR, position, lm, bFirst);

    // Reaction histories: the positive part to the maxima, the negative part to the minima;
    // a zero point keeps the position's load model.
    for (unsigned int i = 0; i < m_nReactions; ++i)
    {
        CEnvelope& env = ReactionAt(m_vEnvReaction, i);
        env.HoldLoadModel(loadModel);
        const double r = res.m_vReactions[i];
        const double x = m_vSupportX[i];
        env.m_vMax.emplace_back(r > 0.0 ? r : 0.0, x, position, BRT_REACTIONS, lm);
        env.m_vMin.emplace_back(r < 0.0 ? r : 0.0, x, position, BRT_REACTIONS, lm);
    }
}

// The merge of one position's line in a single pass over the member results. A point of the
// line stands as itself, or as its zero point (value 0.0, no load model) where its sign is
// wrong for the list; it replaces the held point only when strictly beyond it.
void CEnvelopeResults::MergeLine(CEnvelope& env, const CBeamResults& results, BeamResultsType kind, double position,
                                 const CLoadModel* loadModel, bool bFirst)
{
    std::vector<PointLoadEffect>& vMax = env.m_vMax;
    std::vector<PointLoadEffect>& vMin = env.m_vMin;

    std::size_t total = 0;
    for (const CMbrResults& mbr : results.m_vMbrRes) total += std::min(mbr.x.size(), MemberValues(mbr, kind).size());

    if (bFirst)
    {
        vMax.clear();
        vMin.clear();
        vMax.reserve(total);
        vMin.reserve(total);
        for (const CMbrResults& mbr : results.m_vMbrRes)
        {
            const std::vector<double>& y = MemberValues(mbr, kind);
            const std::size_t n = std::min(mbr.x.size(), y.size());
            for (std::size_t j = 0; j < n; ++j)
            {
                vMax.push_back(ListPoint<true>(y[j], mbr.x[j], position, kind, loadModel));
                vMin.push_back(ListPoint<false>(y[j], mbr.x[j], position, kind, loadModel));
            }
        }
        return;
    }

    const std::size_t nMax = vMax.size();
    // A line shorter than the maxima changes nothing; one shorter than the minima only (the
    // minima are merged after the maxima, whole or not at all).
    if (total < nMax) qor::ThrowSubscriptError();
    const std::size_t nMin = total < vMin.size() ? 0 : vMin.size();

    PointLoadEffect* const pMax = vMax.data();
    PointLoadEffect* const pMin = vMin.data();
    std::size_t i = 0;
    for (const CMbrResults& mbr : results.m_vMbrRes)
    {
        const std::vector<double>& y = MemberValues(mbr, kind);
        const std::size_t n = std::min(mbr.x.size(), y.size());
        const double* const py = y.data();
        const double* const px = mbr.x.data();
        // Both lists in one pass where this member lies wholly within both (the usual case).
        const std::size_t both = std::min(n, std::min(i < nMax ? nMax - i : 0, i < nMin ? nMin - i : 0));
        std::size_t j = 0;
#if defined(__SSE2__)
        // Two points at a time: the candidates (max(0, v) and min(0, v), with the same
        // comparisons as TakePoint) are tested against the held values, and the points are only
        // gone through one by one where one of them changes.
        const __m128d zero = _mm_setzero_pd();
        for (; j + 2 <= both; j += 2)
        {
            const __m128d v = _mm_loadu_pd(py + j);
            const __m128d hMax = _mm_loadh_pd(_mm_load_sd(&pMax[i + j].val), &pMax[i + j + 1].val);
            const __m128d hMin = _mm_loadh_pd(_mm_load_sd(&pMin[i + j].val), &pMin[i + j + 1].val);
            const __m128d up = _mm_cmpgt_pd(_mm_max_pd(zero, v), hMax);
            const __m128d down = _mm_cmplt_pd(_mm_min_pd(zero, v), hMin);
            const int changed = _mm_movemask_pd(_mm_or_pd(up, down));
            if (changed == 0) continue;
            // Only the lists that change are gone through.
            const int ups = _mm_movemask_pd(up);
            const int downs = _mm_movemask_pd(down);
            for (std::size_t k = 0; k < 2; ++k)
            {
                if (ups & (1 << k)) TakePoint<true>(pMax[i + j + k], py[j + k], px[j + k], position, kind, loadModel);
                if (downs & (1 << k))
                    TakePoint<false>(pMin[i + j + k], py[j + k], px[j + k], position, kind, loadModel);
            }
        }
#endif
        for (; j < both; ++j)
        {
            TakePoint<true>(pMax[i + j], py[j], px[j], position, kind, loadModel);
            TakePoint<false>(pMin[i + j], py[j], px[j], position, kind, loadModel);
        }
        if (i < nMax)
            MergeStretch<true>(pMax + i + both, py + both, px + both, std::min(n, nMax - i) - both, position, kind,
                               loadModel);
        if (i < nMin)
            MergeStretch<false>(pMin + i + both, py + both, px + both, std::min(n, nMin - i) - both, position, kind,
                                loadModel);
        i += n;
    }
    if (total < vMin.size()) qor::ThrowSubscriptError();
}

void CEnvelopeResults::ExtractLoadEffects(std::vector<std::vector<PointLoadEffect>>& lines,
                                          std::vector<PointLoadEffect>& reactions,
                                          const std::shared_ptr<CBeamResults>& results, double position,
                                          const CLoadModel* loadModel) const
{
    lines.clear();
    reactions.clear();
    const CBeamResults& res = ResultsOrEmpty(results);

    std::vector<double> x;
    std::vector<double> y;
    for (BeamResultsType kind : {BRT_MOMENT, BRT_SHEAR})
    {
        res.GetResults(x, y, kind);
        std::vector<PointLoadEffect> line;
        const std::size_t n = std::min(x.size(), y.size());
        line.reserve(n);
        for (std::size_t i = 0; i < n; ++i) line.emplace_back(y[i], x[i], position, kind, loadModel);
        lines.push_back(std::move(line));
    }

    reactions.reserve(m_nReactions);
    for (unsigned int i = 0; i < m_nReactions; ++i)
    {
        const double r = qor::At(res.m_vReactions, static_cast<std::size_t>(i));
        if (!res.m_pBeam) qor::ThrowSubscriptError();
        reactions.emplace_back(r, res.m_pBeam->GetRestraintPosition(static_cast<int>(i)), position, BRT_REACTIONS,
                               loadModel);
    }
}

void CEnvelopeResults::UpdateEnvelopes(const std::vector<std::vector<PointLoadEffect>>& lines,
                                       const std::vector<PointLoadEffect>& reactions,
                                       const std::shared_ptr<CLoadModel>& loadModel)
{
    const std::vector<PointLoadEffect>& moments = qor::At(lines, std::size_t{0});
    const std::vector<PointLoadEffect>& shears = qor::At(lines, std::size_t{1});

    if (m_nBeamResults == 1)
    {
        CreateEnvelopes(m_pBridge);
        m_pEnvBMD->m_vMax = moments;
        m_pEnvBMD->m_vMin = moments;
        m_pEnvSFD->m_vMax = shears;
        m_pEnvSFD->m_vMin = shears;
    }
    if (!HasEnvelopes()) qor::ThrowSubscriptError();
    m_pEnvBMD->HoldLoadModel(loadModel);
    m_pEnvSFD->HoldLoadModel(loadModel);

    const std::pair<CEnvelope*, const std::vector<PointLoadEffect>*> jobs[] = {{m_pEnvBMD.get(), &moments},
                                                                               {m_pEnvSFD.get(), &shears}};
    for (const auto& [env, line] : jobs)
    {
        // The line floored at zero for the maxima and capped at zero for the minima.
        std::vector<PointLoadEffect> P(*line);
        std::vector<PointLoadEffect> N(*line);
        for (std::size_t i = 0; i < line->size(); ++i)
        {
            ApplyZeroPoint<true>(P[i]);
            ApplyZeroPoint<false>(N[i]);
        }
        MergeMaxInto(env->m_vMax, P);
        MergeMinInto(env->m_vMin, N);
    }

    for (unsigned int i = 0; i < m_nReactions; ++i)
    {
        const PointLoadEffect& r = qor::At(reactions, static_cast<std::size_t>(i));
        CEnvelope& env = ReactionAt(m_vEnvReaction, i);
        env.HoldLoadModel(loadModel);
        env.m_vMax.emplace_back(r.val > 0.0 ? r.val : 0.0, r.xBeam, r.xLoadModel, BRT_REACTIONS, r.pLM);
        env.m_vMin.emplace_back(r.val < 0.0 ? r.val : 0.0, r.xBeam, r.xLoadModel, BRT_REACTIONS, r.pLM);
    }
}

// ---------------------------------------------------------------------------------------------
// Augmenting

void CEnvelopeResults::MatchEnvelopeLengths(const std::shared_ptr<CEnvelope>& a, const std::shared_ptr<CEnvelope>& b)
{
    if (!a || !b) return;
    if (a->m_vMax.size() != b->m_vMax.size())
    {
        a->ExtendTo(b);
        b->ExtendTo(a);
    }
}

void CEnvelopeResults::Augment(std::shared_ptr<CEnvelopeResults> other)
{
    if (!other) return;
    ++m_nAugments;
    m_nAnalyses += other->m_nAnalyses;
    if (!other->HasEnvelopes()) return;

    if (m_nAugments == 1 || !HasEnvelopes())
    {
        // The first result is taken over by copy.
        CreateEnvelopes(other->m_pBridge);
        m_pEnvBMD->HoldLoadModelsOf(*other->m_pEnvBMD);
        m_pEnvBMD->m_vMax = other->m_pEnvBMD->m_vMax;
        m_pEnvBMD->m_vMin = other->m_pEnvBMD->m_vMin;
        m_pEnvSFD->HoldLoadModelsOf(*other->m_pEnvSFD);
        m_pEnvSFD->m_vMax = other->m_pEnvSFD->m_vMax;
        m_pEnvSFD->m_vMin = other->m_pEnvSFD->m_vMin;
        const std::size_t nOwn = m_vEnvReaction.size();
        m_nReactions = static_cast<unsigned int>(other->m_vEnvReaction.size());
        for (std::size_t i = 0; i < m_nReactions; ++i)
        {
            if (i >= nOwn) qor::ThrowSubscriptError();
            m_vEnvReaction[i] = std::make_shared<CEnvelope>(ReactionAt(other->m_vEnvReaction, i));
        }
        return;
    }

    m_pEnvBMD->HoldLoadModelsOf(*other->m_pEnvBMD);
    m_pEnvSFD->HoldLoadModelsOf(*other->m_pEnvSFD);
    MergeMaxInto(m_pEnvBMD->m_vMax, other->m_pEnvBMD->m_vMax);
    MergeMinInto(m_pEnvBMD->m_vMin, other->m_pEnvBMD->m_vMin);
    MergeMaxInto(m_pEnvSFD->m_vMax, other->m_pEnvSFD->m_vMax);
    MergeMinInto(m_pEnvSFD->m_vMin, other->m_pEnvSFD->m_vMin);

    for (std::size_t i = 0; i < m_nReactions; ++i)
    {
        ReactionAt(m_vEnvReaction, i);
        const std::shared_ptr<CEnvelope>& own = m_vEnvReaction[i];
        auto R = std::make_shared<CEnvelope>(ReactionAt(other->m_vEnvReaction, i));
        MatchEnvelopeLengths(own, R);
        own->HoldLoadModelsOf(*R);
        MergeMaxInto(own->m_vMax, R->m_vMax);
        MergeMinInto(own->m_vMin, R->m_vMin);
    }
}

// ---------------------------------------------------------------------------------------------
// Superposition and scaling

CEnvelopeResults& CEnvelopeResults::operator+=(const CEnvelopeResults& other)
{
    m_nAnalyses += other.m_nAnalyses;
    if (!HasEnvelopes() || !other.HasEnvelopes()) return *this;

    *m_pEnvBMD += *other.m_pEnvBMD;
    *m_pEnvSFD += *other.m_pEnvSFD;
    for (std::size_t i = 0; i < m_vEnvReaction.size(); ++i)
        ReactionAt(m_vEnvReaction, i) += ReactionAt(other.m_vEnvReaction, i);
    return *this;
}

CEnvelopeResults CEnvelopeResults::operator+(const CEnvelopeResults& other) const
{
    CEnvelopeResults sum(*this);
    sum += other;
    return sum;
}

CEnvelopeResults CEnvelopeResults::operator*(double k) const
{
    CEnvelopeResults scaled(*this);
    if (scaled.m_pEnvBMD) scaled.m_pEnvBMD->Scale(k);
    if (scaled.m_pEnvSFD) scaled.m_pEnvSFD->Scale(k);
    for (const auto& env : scaled.m_vEnvReaction)
        if (env) env->Scale(k);
    return scaled;
}

// ---------------------------------------------------------------------------------------------
// Archive

void CEnvelopeResults::Rebuild()
{
    m_pBeam = m_pBridge ? m_pBridge->GetBeam() : std::shared_ptr<CBeam>();
    m_nReactions = static_cast<unsigned int>(m_vEnvReaction.size());
}

template <class Archive>
void CEnvelopeResults::serialize(Archive& ar, const unsigned int /*version*/)
{
    ar& boost::serialization::make_nvp("m_pBridge", m_pBridge);
    ar& boost::serialization::make_nvp("m_pEnvBMD", m_pEnvBMD);
    ar& boost::serialization::make_nvp("m_pEnvSFD", m_pEnvSFD);
    ar& boost::serialization::make_nvp("m_vEnvReaction", m_vEnvReaction);
    ar& boost::serialization::make_nvp("m_nBeamResults", m_nBeamResults);
    ar& boost::serialization::make_nvp("m_nAugments", m_nAugments);
    ar& boost::serialization::make_nvp("m_nAnalyses", m_nAnalyses);
    if (Archive::is_loading::value) m_pKept.reset();
    Rebuild();
}

QOR_INSTANTIATE_SERIALIZE(CEnvelopeResults)
