// The envelopes of one bridge under moving loads: bending moment, shear force and one
// reaction envelope per support, with counters of what went into them.
#pragma once

#include "engine/analysis/BeamResults.h"
#include "engine/analysis/Envelope.h"
#include "engine/analysis/KeptPositions.h"

#include <boost/serialization/access.hpp>

#include <memory>
#include <utility>
#include <vector>

class CBeam;
class CBeamResults;
class CBridge;
class CLoadModel;
class CCriticalRatioResults;

class CEnvelopeResults
{
public:
    // Everything empty and zero (the combined result of an ensemble, archive loading).
    CEnvelopeResults();
    // A moving-load result for a bridge; the first AddResult creates the envelopes.
    explicit CEnvelopeResults(std::shared_ptr<CBridge> bridge);
    // Copies the counters, shares the bridge, beam and kept positions (a copy that adds a
    // position keeps its own), and makes new copies of every envelope (load models shared).
    CEnvelopeResults(const CEnvelopeResults& other);
    CEnvelopeResults& operator=(const CEnvelopeResults& other);
    virtual ~CEnvelopeResults();

    // Adds one analysed load position. A moment, shear or reaction that is not a finite number
    // throws kNonFiniteResultError and leaves everything as it was.
    // Unless SetKeepPositions(false), the position's moment and shear lines are kept.
    void AddResult(const std::shared_ptr<CBeamResults>& results, const std::shared_ptr<CLoadModel>& loadModel,
                   double position);
    // Whether AddResult keeps the positions' lines (it does until told otherwise), and room for
    // this many of them (0: none reserved); the reaction histories get room for as many.
    void SetKeepPositions(bool bKeep, std::size_t expected = 0);

    // Merges the result of another load model on the same bridge.
    void Augment(std::shared_ptr<CEnvelopeResults> other);

    // Superposition and scaling (a result without envelopes gives none).
    CEnvelopeResults& operator+=(const CEnvelopeResults& other);
    CEnvelopeResults operator+(const CEnvelopeResults& other) const;
    CEnvelopeResults operator*(double k) const;

    // Critical ratios of this (proposed) result against a reference result; defined with the
    // critical results.
    CCriticalRatioResults GetCriticalRatios(std::shared_ptr<CEnvelopeResults> reference, double multiplier);

    std::shared_ptr<CBridge> GetBridge() const { return m_pBridge; }
    std::shared_ptr<CBeam> GetBeam() const { return m_pBeam; }
    std::shared_ptr<CEnvelope> GetBMEnvelope() const { return m_pEnvBMD; }
    std::shared_ptr<CEnvelope> GetSFEnvelope() const { return m_pEnvSFD; }
    std::vector<std::shared_ptr<CEnvelope>> GetEnvReactions() const { return m_vEnvReaction; }
    // Reaction envelope i, or an empty pointer when i is not below the number of envelopes.
    std::shared_ptr<CEnvelope> GetReactionEnvelope(unsigned int i) const;
    // The moment and shear lines of every analysed position, in order (memory only; the
    // positions of a run that did not keep them: none).
    const CKeptPositions& GetKeptPositions() const;
    // At the end of a run of AddResult: gives back the room reserved for positions that did not
    // come, and the merge's notes.
    void FinishAdding();

    // True once the moment, shear and reaction envelopes exist.
    bool HasEnvelopes() const { return m_pEnvBMD && m_pEnvSFD; }

    // The effects of one position: lines[0] the moments and lines[1] the shears along the
    // beam, reactions one effect per support. Both outputs are emptied first.
    void ExtractLoadEffects(std::vector<std::vector<PointLoadEffect>>& lines, std::vector<PointLoadEffect>& reactions,
                            const std::shared_ptr<CBeamResults>& results, double position,
                            const CLoadModel* loadModel) const;
    // Merges the effects of one position into the envelopes (creating them at the first); the
    // envelopes hold loadModel, the model the effects name.
    void UpdateEnvelopes(const std::vector<std::vector<PointLoadEffect>>& lines,
                         const std::vector<PointLoadEffect>& reactions, const std::shared_ptr<CLoadModel>& loadModel);
    // Brings two envelopes to the longer length with zero points.
    static void MatchEnvelopeLengths(const std::shared_ptr<CEnvelope>& a, const std::shared_ptr<CEnvelope>& b);
    // New empty envelopes for a bridge.
    void CreateEnvelopes(std::shared_ptr<CBridge> bridge);

    std::shared_ptr<CBridge> m_pBridge;
    std::shared_ptr<CBeam> m_pBeam; // the bridge's beam (derived)
    unsigned int m_nReactions = 0;  // number of reaction envelopes
    int m_nAugments = 0;            // results merged by Augment
    int m_nBeamResults = 0;         // beam results added by AddResult
    int m_nAnalyses = 0;            // single-position analyses in the envelopes
    std::shared_ptr<CEnvelope> m_pEnvBMD;
    std::shared_ptr<CEnvelope> m_pEnvSFD;
    std::vector<std::shared_ptr<CEnvelope>> m_vEnvReaction;

private:
    // Merges one line (moment or shear) of a position straight from the member results (whose
    // values the caller has checked to be finite).
    void MergeLine(CEnvelope& env, const CBeamResults& results, BeamResultsType kind, double position,
                   const CLoadModel* loadModel, bool bFirst);
    // Rebuilds the derived fields after an archive pass.
    void Rebuild();

    std::shared_ptr<CKeptPositions> m_pKept; // shared by copies until one adds a position
    bool m_bKeepPositions = true;
    std::size_t m_nExpectedPositions = 0;        // room made in the reaction histories
    std::vector<double> m_vSupportX;             // the support positions of m_pSupportBeam
    std::shared_ptr<const CBeam> m_pSupportBeam; // the beam of the positions added last

    friend class boost::serialization::access;
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};
