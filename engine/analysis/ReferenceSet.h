// One bridge set under one ensemble of reference load models: the reference envelopes of
// every bridge of the set (live load, optionally combined with the overstress loading),
// their critical values, and the critical ratios of a proposed ensemble against them.
#pragma once

#include <boost/serialization/access.hpp>
#include <boost/serialization/export.hpp>
#include <boost/serialization/version.hpp>

#include <memory>
#include <vector>

class CBridge;
class CBridgeSet;
class CCriticalRatioEnsemble;
class CCriticalValueEnsemble;
class CEnvelopeResults;
class CLoadModelEnsemble;
class CRunPool;
class CRunSizing;

class CReferenceSet
{
public:
    using EnvList = std::vector<std::shared_ptr<CEnvelopeResults>>;

    // Nothing calculated, overstress off with the factor 1.4 (archive loading).
    CReferenceSet();
    // The defaults, then the given bridge set, reference ensemble and overstress option;
    // m_nBridges is the set's bridge count.
    CReferenceSet(bool bUseOverstress, std::shared_ptr<CBridgeSet> bridgeSet,
                  std::shared_ptr<CLoadModelEnsemble> refLME, double overstressFactor);
    // Member-wise: the copy shares the envelope results and critical-value ensembles.
    CReferenceSet(const CReferenceSet&) = default;
    CReferenceSet& operator=(const CReferenceSet&) = default;
    virtual ~CReferenceSet();

    // Runs the reference ensemble over every bridge of the set (and the overstress loading
    // when it is on) and reduces the reference envelopes to critical values. nSteps and
    // stepSize go by reference to every moving-load run, which writes back what it used.
    // The set changes only when the whole run succeeds; analysis errors pass to the caller. A run
    // that cannot fit (positions, memory: see CRunSizing) is refused before it starts.
    void Calculate(bool byStep, int& nSteps, double& stepSize);

    // Points per span for the next Calculate or CalculateRatios (0: the setting
    // NPOINTS_ALONG_BEAM, read once by each run). A collection reads the setting once per run
    // and hands it to each of its sets, so the live-load and overstress envelopes always have
    // the same length and every bridge of a run is analysed alike.
    void SetPointsPerSpan(int nPoints) { m_nPoints = nPoints; }

    // Runs the proposed ensemble over the same bridges and returns the critical ratios of
    // proposed to reference effects (the reference scaled by multiplier), one result per
    // bridge; the set keeps the proposed envelopes and their critical values but not the
    // ratios. Returns an empty pointer, and leaves the set as it was, when the proposed run
    // does not line up with the stored reference (another number of bridges, or other
    // bridges: the bridge set was changed after the reference was calculated).
    std::shared_ptr<CCriticalRatioEnsemble> CalculateRatios(bool useSingleLM, bool byStep, int& nSteps,
                                                            double& stepSize,
                                                            std::shared_ptr<CLoadModelEnsemble> proposed,
                                                            double multiplier);

    // Calculate and CalculateRatios in two halves, so that the bridges of every set of a
    // collection share one pool (see CRunPool): Add... adds the set's runs to the pool, Take...
    // finishes with what they gave once the pool has run (and changes the set only then).
    // AddRatioRuns returns null, adding nothing, when the proposed run would not line up with
    // the stored reference (CalculateRatios returns null then).
    struct SPendingRun;
    std::shared_ptr<SPendingRun> AddRuns(CRunPool& pool, bool byStep, int nSteps, double stepSize);
    void TakeRuns(SPendingRun& pending, int& nSteps, double& stepSize);
    std::shared_ptr<SPendingRun> AddRatioRuns(CRunPool& pool, bool byStep, int nSteps, double stepSize,
                                              std::shared_ptr<CLoadModelEnsemble> proposed);
    std::shared_ptr<CCriticalRatioEnsemble> TakeRatioRuns(SPendingRun& pending, bool useSingleLM, int& nSteps,
                                                          double& stepSize, double multiplier);
    // Adds the bridges of added runs, and what the set keeps of them, to the sizing of a run (before
    // the pool runs: see CRunSizing).
    static void AddToSizing(const SPendingRun& pending, CRunSizing& sizing);

    // Reference envelope i = F x live[i] + (F - 1) x overstress[i], the scaled overstress
    // result being the left operand (its positions and load models stay in the sum). An
    // overstress list shorter than the live list throws "invalid vector<T> subscript".
    static EnvList CombineOverstress(const EnvList& live, const EnvList& overstress, double factor);

    std::shared_ptr<CBridgeSet> GetBridgeSet() const { return m_pBridgeSet; }
    std::shared_ptr<CLoadModelEnsemble> GetRefLME() const { return m_pRefLME; }
    std::shared_ptr<CLoadModelEnsemble> GetPropLME() const { return m_pPropLME; }
    std::shared_ptr<CCriticalValueEnsemble> GetRefCritValues() const { return m_pRefCritValues; }
    std::shared_ptr<CCriticalValueEnsemble> GetPropCritValues() const { return m_pPropCritValues; }
    std::shared_ptr<CCriticalValueEnsemble> GetLiveLoadCritValues() const { return m_pLiveLoadCritValues; }
    std::shared_ptr<CCriticalValueEnsemble> GetOverstressCritValues() const { return m_pOverstressCritValues; }

    bool m_bIsCalculated = false;
    std::shared_ptr<CLoadModelEnsemble> m_pRefLME;  // the reference load models
    std::shared_ptr<CLoadModelEnsemble> m_pPropLME; // the proposed load models of the last ratio run
    std::shared_ptr<CBridgeSet> m_pBridgeSet;
    int m_nBridges = 0;           // the set's bridge count at construction
    EnvList m_vOverstressCritEnv; // one per bridge, in set order
    EnvList m_vLiveLoadCritEnv;
    EnvList m_vRefCritEnv; // the live results themselves when overstress is off
    EnvList m_vPropCritEnv;
    EnvList m_vRatios; // archived; never filled
    std::shared_ptr<CCriticalValueEnsemble> m_pOverstressCritValues;
    std::shared_ptr<CCriticalValueEnsemble> m_pLiveLoadCritValues;
    std::shared_ptr<CCriticalValueEnsemble> m_pRefCritValues;
    std::shared_ptr<CCriticalValueEnsemble> m_pPropCritValues;
    bool m_bUseOverstress = false;
    double m_OverstressFactor = 1.4;
    bool m_bUseLM = false; // the last proposed load was one load model
    bool m_bIsRatioCalculated = false;

private:
    int m_nPoints = 0; // points per span of the next run (not archived)

    // Rebuilds the four critical-value ensembles from the stored envelope results.
    void RecalculateCritValues();

    friend class boost::serialization::access;
    // Archive items: m_pBridgeSet, m_pRefLME (read as m_pLoadModelEnsemble from a version-0
    // object), m_bIsCalculated, the five envelope lists, m_bUseOverstress,
    // m_OverstressFactor; from version 1 m_pPropLME, m_bUseLM, m_bIsRatioCalculated. The
    // critical values are recomputed after every pass.
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

BOOST_CLASS_VERSION(CReferenceSet, 1)
BOOST_CLASS_EXPORT_KEY(CReferenceSet)
