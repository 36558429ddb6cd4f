// The element with which a proposed vehicle is rated: reference load model ensembles and
// bridge sets, one reference set per pair of them, and the critical ratios of a proposed
// load model or ensemble against every reference set.
#pragma once

#include "engine/model/Element.h"

#include <boost/serialization/access.hpp>
#include <boost/serialization/export.hpp>

#include <memory>
#include <vector>

class CBridgeSet;
class CCriticalRatioEnsemble;
class CLoadModel;
class CLoadModelEnsemble;
class CReferenceSet;

class CReferenceCollection : public CElement
{
public:
    // Id 0, "Ref Collection", stepping by count with 0 steps of 1.0 m, overstress off (1.4).
    CReferenceCollection();
    CReferenceCollection(int ID, const CString& description, bool byStep, int nSteps, double stepSize);
    // Member-wise: the copy shares the reference sets, ratio ensembles, listed elements and
    // the proposed ensemble with its source.
    CReferenceCollection(const CReferenceCollection&) = default;
    CReferenceCollection& operator=(const CReferenceCollection&) = default;
    ~CReferenceCollection() override;

    // One reference set per ensemble and bridge set, ensemble-major: set k belongs to
    // ensemble k / m_vBS.size() and bridge set k % m_vBS.size(). The stepping is written
    // back from the last moving-load run. The new sets replace the stored ones only when
    // every set has been calculated; the stored critical ratios are then cleared. Returns
    // false, changing nothing, when there is nothing to run: no bridge sets, no ensembles,
    // an empty entry, an ensemble without load models or a bridge set without bridges.
    // Analysis errors pass to the caller and leave the collection as it was; an overstress factor
    // that is not a finite number throws kNonFiniteFactorError.
    bool Calculate();

    // The critical ratios of the proposed load against every reference set, with the global
    // multiplier. Returns false, changing nothing, when there is no proposed load model, or
    // when a reference set no longer lines up with its bridge set. A multiplier that is not a
    // finite number throws kNonFiniteFactorError.
    bool CalculateRatios(double multiplier);

    // Points per span for the next Calculate or CalculateRatios (0: the setting
    // NPOINTS_ALONG_BEAM, read once by each run). A run on a worker thread is given the count
    // read at launch, so that a change of the setting meanwhile cannot reach it.
    void SetPointsPerSpan(int nPoints) { m_nPoints = nPoints; }

    // Back to not calculated: no reference sets, no ratios.
    void ClearResults();

    // True when the stepping, the calculated flag, the ensemble or bridge-set lists (by
    // object) or the overstress option differ from the other collection.
    bool DiffersFrom(std::shared_ptr<CReferenceCollection> other) const;

    // The proposed load is this one load model, in a new "Proposed" ensemble of the
    // collection's own.
    void SetProposedLoadModel(std::shared_ptr<CLoadModel> model);
    // The proposed load is this ensemble (shared, not copied).
    void SetProposedLME(std::shared_ptr<CLoadModelEnsemble> ensemble);
    // The name of the proposed load model (single model) or ensemble.
    CString GetProposedName() const;

    // Reference set i; an empty pointer when i is not below m_nRefSets.
    std::shared_ptr<CReferenceSet> GetRefSet(unsigned i) const;
    std::vector<std::shared_ptr<CReferenceSet>> GetRefSets() const { return m_vRefSet; }
    std::vector<std::shared_ptr<CCriticalRatioEnsemble>> GetCritRatios() const { return m_vCritRatios; }
    std::shared_ptr<CLoadModelEnsemble> GetProposedLME() const { return m_pPropLME; }

    // A listed bridge set of the same lengths, count, configuration and bridge objects.
    bool ContainsBridgeSet(std::shared_ptr<CBridgeSet> bs) const;
    void RemoveBridgeSet(std::shared_ptr<CBridgeSet> bs);
    // A listed ensemble of the same load-model objects, in the same order.
    bool ContainsLME(std::shared_ptr<CLoadModelEnsemble> lme) const;
    void RemoveLME(std::shared_ptr<CLoadModelEnsemble> lme);

    int m_nRefSets = 0;
    std::vector<std::shared_ptr<CReferenceSet>> m_vRefSet;
    std::vector<std::shared_ptr<CCriticalRatioEnsemble>> m_vCritRatios; // memory only
    std::vector<std::shared_ptr<CLoadModelEnsemble>> m_vLME;
    std::vector<std::shared_ptr<CBridgeSet>> m_vBS;
    bool m_bByStep = false;
    double m_StepSize = 1.0;
    int m_nStepPoints = 0;
    bool m_bIsCalculated = false;
    bool m_bRatiosCalculated = false; // memory only
    bool m_bUseOverstress = false;
    double m_OverstressFactor = 1.4;
    bool m_bUseSingleLM = false;                    // memory only
    std::shared_ptr<CLoadModelEnsemble> m_pPropLME; // memory only
    double m_Multiplier = 1.0;                      // memory only

private:
    int m_nPoints = 0; // points per span of the next run (memory only)

    friend class boost::serialization::access;
    // Archive items: "CElement", m_bByStep, m_StepSize, m_nStepPoints, m_bIsCalculated,
    // m_vLME, m_vBS, m_vRefSet, m_bUseOverstress, m_OverstressFactor; after loading
    // m_nRefSets is the number of reference sets.
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

BOOST_CLASS_EXPORT_KEY(CReferenceCollection)
