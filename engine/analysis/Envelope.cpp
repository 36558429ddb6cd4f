// Envelopes of one load effect along a bridge: the greatest and least values that the analysed load positions
// produced, each with where it arose and which load model caused it.
#include "engine/analysis/Envelope.h"

#include "engine/analysis/BeamResults.h"
#include "engine/archive/BinaryOutArchive.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModel.h"
#include "platform/core/Errors.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/nvp.hpp>
#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

#include <cmath>
#include <mutex>
#include <type_traits>

namespace {

// Where the load models of points being read are kept: the envelope being read, or, for a point
// read on its own, a list that lives as long as the program.
thread_local std::vector<std::shared_ptr<CLoadModel>>* t_pReadModels = nullptr;

void KeepReadModel(std::shared_ptr<CLoadModel> model)
{
    if (!model) return;
    if (t_pReadModels)
    {
        for (const auto& held : *t_pReadModels)
            if (held == model) return;
        t_pReadModels->push_back(std::move(model));
        return;
    }
    static std::mutex guard;
    static std::vector<std::shared_ptr<CLoadModel>> kept;
    const std::lock_guard<std::mutex> lock(guard);
    for (const auto& held : kept)
        if (held == model) return;
    kept.push_back(std::move(model));
}

// The extraction helpers of the series getters.
template <class Field>
void Extract(const std::vector<PointLoadEffect>& points, std::vector<double>& out, Field field)
{
    out.clear();
    out.reserve(points.size());
    for (const PointLoadEffect& p : points) out.push_back(p.*field);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// PointLoadEffect

CString PointLoadEffect::GetLoadModelName() const
{
    if (!pLM) return CString(L"Zero LM");
    return pLM->GetDescription();
}

template <class Archive>
void PointLoadEffect::serialize(Archive& ar, const unsigned int /*version*/)
{
    // The type is stored as its number.
    if constexpr (std::is_same_v<Archive, CBinaryOutArchive>)
    {
        // The bulk of a case's bytes: the values in one write, the model without a counted pointer.
        ar.SaveValues(val, xBeam, xLoadModel, static_cast<int>(type));
        ar.SaveAsCountedPointer(pLM);
        return;
    }
    ar& boost::serialization::make_nvp("val", val);
    ar& boost::serialization::make_nvp("xBeam", xBeam);
    ar& boost::serialization::make_nvp("xLoadModel", xLoadModel);
    int code = type;
    ar& boost::serialization::make_nvp("type", code);
    // Written back on load only: a save leaves the points' memory clean.
    if constexpr (Archive::is_loading::value) type = static_cast<BeamResultsType>(code);
    if constexpr (Archive::is_saving::value)
    {
        // A counted pointer that counts nothing (no control block): the archive reads only the
        // address, so the bytes are those of the counted pointer the point once held.
        std::shared_ptr<CLoadModel> counted(std::shared_ptr<CLoadModel>(), const_cast<CLoadModel*>(pLM));
        ar& boost::serialization::make_nvp("pLM", counted);
    }
    else
    {
        std::shared_ptr<CLoadModel> counted;
        ar& boost::serialization::make_nvp("pLM", counted);
        pLM = counted.get();
        KeepReadModel(std::move(counted));
    }
}

// ---------------------------------------------------------------------------------------------
// RatioLoadEffect

RatioLoadEffect::RatioLoadEffect(PointLoadEffect referenceEffect, PointLoadEffect proposedEffect,
                                 std::shared_ptr<CBridge> onBridge, double globalMultiplier)
    : reference(std::move(referenceEffect)), proposed(std::move(proposedEffect)), bridge(std::move(onBridge)),
      type(reference.type), multiplier(globalMultiplier)
{
    const double divisor = reference.val * multiplier;
    ratio = std::fabs(divisor) < kRatioThreshold ? 0.0 : proposed.val / divisor;
}

bool RatioLoadEffect::IsUndefined() const
{
    return std::fabs(reference.val * multiplier) < kRatioThreshold && !(std::fabs(proposed.val) < kRatioThreshold);
}

// ---------------------------------------------------------------------------------------------
// Merges

void MergeMaxInto(std::vector<PointLoadEffect>& held, const std::vector<PointLoadEffect>& b)
{
    if (b.size() < held.size()) qor::ThrowSubscriptError();
    const std::size_t n = held.size();
    for (std::size_t i = 0; i < n; ++i)
        if (b[i].val > held[i].val) held[i] = b[i];
}

void MergeMinInto(std::vector<PointLoadEffect>& held, const std::vector<PointLoadEffect>& b)
{
    if (b.size() < held.size()) qor::ThrowSubscriptError();
    const std::size_t n = held.size();
    for (std::size_t i = 0; i < n; ++i)
        if (b[i].val < held[i].val) held[i] = b[i];
}

std::vector<PointLoadEffect> MergeMax(const std::vector<PointLoadEffect>& a, const std::vector<PointLoadEffect>& b)
{
    std::vector<PointLoadEffect> result(a);
    MergeMaxInto(result, b);
    return result;
}

std::vector<PointLoadEffect> MergeMin(const std::vector<PointLoadEffect>& a, const std::vector<PointLoadEffect>& b)
{
    std::vector<PointLoadEffect> result(a);
    MergeMinInto(result, b);
    return result;
}

// ---------------------------------------------------------------------------------------------
// CEnvelope

CEnvelope::CEnvelope(std::shared_ptr<CBridge> bridge, BeamResultsType type) : m_pBridge(std::move(bridge)), m_Type(type)
{}

CEnvelope::~CEnvelope() = default;

void CEnvelope::GetValues(std::vector<double>& out, bool bMax) const
{
    Extract(bMax ? m_vMax : m_vMin, out, &PointLoadEffect::val);
}

void CEnvelope::GetLocations(std::vector<double>& out, bool bMax) const
{
    Extract(bMax ? m_vMax : m_vMin, out, &PointLoadEffect::xBeam);
}

void CEnvelope::GetLoadModelPositions(std::vector<double>& out, bool bMax) const
{
    Extract(bMax ? m_vMax : m_vMin, out, &PointLoadEffect::xLoadModel);
}

std::vector<double> CEnvelope::GetValues(bool bMax) const
{
    std::vector<double> out;
    GetValues(out, bMax);
    return out;
}

std::vector<double> CEnvelope::GetLocations(bool bMax) const
{
    std::vector<double> out;
    GetLocations(out, bMax);
    return out;
}

std::vector<double> CEnvelope::GetLoadModelPositions(bool bMax) const
{
    std::vector<double> out;
    GetLoadModelPositions(out, bMax);
    return out;
}

PointLoadEffect CEnvelope::GetMaxEffect() const
{
    if (m_vMax.empty()) return PointLoadEffect();
    std::size_t best = 0;
    for (std::size_t i = 1; i < m_vMax.size(); ++i)
        if (m_vMax[i].val > m_vMax[best].val) best = i;
    return m_vMax[best];
}

PointLoadEffect CEnvelope::GetMinEffect() const
{
    if (m_vMin.empty()) return PointLoadEffect();
    std::size_t best = 0;
    for (std::size_t i = 1; i < m_vMin.size(); ++i)
        if (m_vMin[i].val < m_vMin[best].val) best = i;
    return m_vMin[best];
}

CriticalPair<PointLoadEffect> CEnvelope::GetCriticalValues() const
{
    CriticalPair<PointLoadEffect> pair;
    pair.first = GetMaxEffect();
    pair.second = GetMinEffect();
    return pair;
}

CEnvelope& CEnvelope::operator+=(const CEnvelope& other)
{
    const std::size_t n = m_vMax.size();
    const std::size_t m = other.m_vMax.size();

    if (m_Type != BRT_REACTIONS)
    {
        // Moment and shear: point by point over this envelope's length.
        for (std::size_t i = 0; i < n; ++i)
        {
            m_vMax[i].val += qor::At(other.m_vMax, i).val;
            const double addMin = qor::At(other.m_vMin, i).val;
            qor::At(m_vMin, i).val += addMin;
        }
        return *this;
    }

    if (n == 1)
    {
        // A single reaction becomes the other's history shifted by this value.
        if (m > 1) HoldLoadModelsOf(other);
        const double maxShift = m_vMax[0].val;
        const double minShift = qor::At(m_vMin, 0).val;
        m_vMax[0].val += qor::At(other.m_vMax, 0).val;
        m_vMin[0].val += qor::At(other.m_vMin, 0).val;
        if (m > 1)
        {
            m_vMax.reserve(m);
            m_vMin.reserve(m_vMin.size() + (m - 1));
        }
        for (std::size_t i = 1; i < m; ++i)
        {
            m_vMax.push_back(other.m_vMax[i] + maxShift);
            m_vMin.push_back(qor::At(other.m_vMin, i) + minShift);
        }
    }
    else if (n == 0)
    {
        // Nothing to superpose onto.
    }
    else if (m == 1)
    {
        // A single reaction shifts the whole history.
        const double maxShift = other.m_vMax[0].val;
        const double minShift = qor::At(other.m_vMin, 0).val;
        for (PointLoadEffect& p : m_vMax) p.val += maxShift;
        for (PointLoadEffect& p : m_vMin) p.val += minShift;
    }
    else if (m == n)
    {
        // Two histories over the same positions add position by position.
        for (std::size_t i = 0; i < n; ++i)
        {
            m_vMax[i].val += other.m_vMax[i].val;
            const double addMin = qor::At(other.m_vMin, i).val;
            qor::At(m_vMin, i).val += addMin;
        }
    }
    // Histories of different lengths cannot be superposed: nothing changes.
    return *this;
}

void CEnvelope::Scale(double k)
{
    for (PointLoadEffect& p : m_vMax) p.val *= k;
    for (PointLoadEffect& p : m_vMin) p.val *= k;
}

void CEnvelope::ExtendTo(std::shared_ptr<CEnvelope> other)
{
    if (!other) return;
    const std::size_t target = other->m_vMax.size();
    if (m_vMax.size() >= target) return;
    m_vMax.reserve(target);
    m_vMin.reserve(m_vMin.size() + (target - m_vMax.size()));
    for (std::size_t i = m_vMax.size(); i < target; ++i)
    {
        const PointLoadEffect& src = other->m_vMax[i];
        PointLoadEffect zero(0.0, src.xBeam, src.xLoadModel, m_Type, nullptr);
        m_vMin.push_back(zero);
        m_vMax.push_back(std::move(zero));
    }
}

CriticalPair<RatioLoadEffect> CEnvelope::GetCriticalRatios(std::shared_ptr<CEnvelope> reference,
                                                           double multiplier) const
{
    const CriticalPair<PointLoadEffect> P = GetCriticalValues();
    const CriticalPair<PointLoadEffect> R =
        reference ? reference->GetCriticalValues() : CriticalPair<PointLoadEffect>();
    CriticalPair<RatioLoadEffect> pair;
    pair.first = RatioLoadEffect(R.first, P.first, m_pBridge, multiplier);
    pair.second = RatioLoadEffect(R.second, P.second, m_pBridge, multiplier);
    return pair;
}

void CEnvelope::HoldLoadModel(const std::shared_ptr<CLoadModel>& model)
{
    if (!model) return;
    for (const auto& held : m_vLoadModels)
        if (held.get() == model.get()) return;
    m_vLoadModels.push_back(model);
}

void CEnvelope::HoldLoadModelsOf(const CEnvelope& other)
{
    if (&other == this) return;
    for (const auto& model : other.m_vLoadModels) HoldLoadModel(model);
}

template <class Archive>
void CEnvelope::serialize(Archive& ar, const unsigned int /*version*/)
{
    // The points read name their load models through this envelope.
    struct SReadInto
    {
        std::vector<std::shared_ptr<CLoadModel>>* previous = t_pReadModels;
        explicit SReadInto(std::vector<std::shared_ptr<CLoadModel>>* list) { t_pReadModels = list; }
        ~SReadInto() { t_pReadModels = previous; }
    } readInto(Archive::is_loading::value ? &m_vLoadModels : t_pReadModels);
    if (Archive::is_loading::value) m_vLoadModels.clear();
    ar& boost::serialization::make_nvp("m_pBridge", m_pBridge);
    int type = m_Type; // stored as its number
    ar& boost::serialization::make_nvp("m_Type", type);
    m_Type = static_cast<BeamResultsType>(type);
    if constexpr (std::is_same_v<Archive, CBinaryOutArchive>)
    {
        ar.SaveVector(m_vMax);
        ar.SaveVector(m_vMin);
    }
    else
    {
        ar& boost::serialization::make_nvp("m_vMax", m_vMax);
        ar& boost::serialization::make_nvp("m_vMin", m_vMin);
    }
}

QOR_INSTANTIATE_SERIALIZE(PointLoadEffect)
QOR_INSTANTIATE_SERIALIZE(CEnvelope)

BOOST_CLASS_EXPORT_IMPLEMENT(CEnvelope)
