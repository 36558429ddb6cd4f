// Envelopes of one load effect along a bridge: the greatest and least values that the
// analysed load positions produced, each with where it arose and which load model caused it.
#pragma once

#include "engine/analysis/BeamResults.h"
#include "platform/core/CString.h"

#include <boost/serialization/access.hpp>
#include <boost/serialization/export.hpp>

#include <memory>
#include <vector>

class CBridge;
class CLoadModel;

// One load effect at one point: a bending moment, a shear force or a support reaction.
//
// The load model is named by a plain pointer: envelopes copy and replace points millions of
// times in a run, and a counted pointer in each point made every copy an atomic operation. The
// envelope that holds a point keeps its load model alive (CEnvelope::HoldLoadModel); a point
// taken out of its envelope names its model while that envelope (or another holder) lives.
struct PointLoadEffect
{
    double val = 0.0;                  // kNm or kN
    double xBeam = 0.0;                // position along the beam of the result point (reactions: the support)
    double xLoadModel = 0.0;           // position of the load model that produced val
    BeamResultsType type = BRT_MOMENT; // moment, shear or reaction
    const CLoadModel* pLM = nullptr;   // the load model; none for a zero point of moment or shear

    PointLoadEffect() = default;
    PointLoadEffect(double value, double xbeam, double xloadmodel, BeamResultsType effectType,
                    const CLoadModel* loadModel)
        : val(value), xBeam(xbeam), xLoadModel(xloadmodel), type(effectType), pLM(loadModel)
    {}

    // A copy whose value is raised by d.
    PointLoadEffect operator+(double d) const
    {
        PointLoadEffect e(*this);
        e.val += d;
        return e;
    }

    // The description of the load model, or "Zero LM" when there is none.
    CString GetLoadModelName() const;

    // Stored as the counted pointer it once was (the same bytes); a load model read back is kept
    // alive by the envelope being read (see CEnvelope).
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

// The maximum (first) and the minimum (second) of one load effect.
template <class T>
struct CriticalPair
{
    T first;
    T second;
};

// Below this a reference effect (times the multiplier) is no divisor of a ratio.
inline constexpr double kRatioThreshold = 1e-6;

// A proposed critical effect against a reference critical effect.
struct RatioLoadEffect
{
    double ratio = 0.0; // proposed / (reference x multiplier); 0.0 when that divisor is below 1e-6
    PointLoadEffect reference;
    PointLoadEffect proposed;
    std::shared_ptr<CBridge> bridge;   // the bridge the proposed result was computed on
    BeamResultsType type = BRT_MOMENT; // the kind of the reference effect
    double multiplier = 1.0;           // applied to the reference value

    RatioLoadEffect() = default;
    RatioLoadEffect(PointLoadEffect referenceEffect, PointLoadEffect proposedEffect, std::shared_ptr<CBridge> onBridge,
                    double globalMultiplier);

    // A proposed effect against a reference too small to divide by: the stored 0.0 is no
    // rating (the result tables show "n/a").
    bool IsUndefined() const;
};

// Element-wise merges of a held list a with a newcomer b (b at least as long as a; a shorter b
// throws std::out_of_range). The newcomer replaces a point only when strictly greater (MergeMax)
// or strictly smaller (MergeMin): on equal values the held point stays.
std::vector<PointLoadEffect> MergeMax(const std::vector<PointLoadEffect>& a, const std::vector<PointLoadEffect>& b);
std::vector<PointLoadEffect> MergeMin(const std::vector<PointLoadEffect>& a, const std::vector<PointLoadEffect>& b);

// The same merges done in place on the held list: only the replaced points are written.
void MergeMaxInto(std::vector<PointLoadEffect>& held, const std::vector<PointLoadEffect>& b);
void MergeMinInto(std::vector<PointLoadEffect>& held, const std::vector<PointLoadEffect>& b);

class CEnvelope
{
public:
    CEnvelope() = default; // no bridge, empty lists (archive loading)
    CEnvelope(std::shared_ptr<CBridge> bridge, BeamResultsType type);
    CEnvelope(const CEnvelope&) = default;
    CEnvelope& operator=(const CEnvelope&) = default;
    virtual ~CEnvelope();

    // Series of the maxima (bMax true) or of the minima, in list order.
    std::vector<double> GetValues(bool bMax) const;
    std::vector<double> GetLocations(bool bMax) const;
    std::vector<double> GetLoadModelPositions(bool bMax) const;
    void GetValues(std::vector<double>& out, bool bMax) const;
    void GetLocations(std::vector<double>& out, bool bMax) const;
    void GetLoadModelPositions(std::vector<double>& out, bool bMax) const;

    // The greatest maximum and the least minimum (the first of equal extremes); a default
    // effect when the list is empty.
    PointLoadEffect GetMaxEffect() const;
    PointLoadEffect GetMinEffect() const;
    CriticalPair<PointLoadEffect> GetCriticalValues() const;

    // Superposition of another envelope's values onto this one.
    CEnvelope& operator+=(const CEnvelope& other);

    // Multiplies every value of both lists by k.
    void Scale(double k);

    // Lengthens this envelope with zero points at the other's positions.
    void ExtendTo(std::shared_ptr<CEnvelope> other);

    // Critical ratios of this (proposed) envelope against a reference envelope.
    CriticalPair<RatioLoadEffect> GetCriticalRatios(std::shared_ptr<CEnvelope> reference, double multiplier) const;

    // Keeps a load model that points of this envelope name alive as long as the envelope (an
    // empty pointer, or one already held, changes nothing). Whoever puts a point into the lists
    // holds its model here; points taken from another envelope: HoldLoadModelsOf(it).
    void HoldLoadModel(const std::shared_ptr<CLoadModel>& model);
    void HoldLoadModelsOf(const CEnvelope& other);
    const std::vector<std::shared_ptr<CLoadModel>>& GetHeldLoadModels() const { return m_vLoadModels; }

    std::shared_ptr<CBridge> m_pBridge;
    BeamResultsType m_Type = BRT_MOMENT; // bending moment, shear force or reaction
    std::vector<PointLoadEffect> m_vMax;
    std::vector<PointLoadEffect> m_vMin;

private:
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModels; // the models the points name (not archived)

    friend class boost::serialization::access;
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

BOOST_CLASS_EXPORT_KEY(CEnvelope)
