// Descriptors of analysis runs: what a run was made of and the results it handed to the
// result windows. The views take their heading from GetDescription and the text of a
// clicked chart point from GetPointLabel. Descriptors live in memory only.
#pragma once

#include "platform/core/CString.h"

#include <memory>
#include <vector>

class CBeamResults;
class CBridge;
class CBridgeSet;
class CCriticalRatioEnsemble;
class CCriticalValueEnsemble;
class CEnvelopeResults;
class CLoadModel;
class CLoadModelEnsemble;
class CReferenceCollection;
class CReferenceSet;

class CAnalysisOutput
{
public:
    // Kinds of run (m_nOutputType).
    enum : int
    {
        OUTPUT_SINGLEPOSITION = 0,
        OUTPUT_MOVINGLOAD = 1,
        OUTPUT_MULTIMOVINGLOAD = 2,
        OUTPUT_BRIDGERANGE = 3,
        OUTPUT_REFERENCESET = 4,
        OUTPUT_COMPAREREFSETENVS = 5,
        OUTPUT_CRITICALRATIOS = 6,
        OUTPUT_ENHANCED = 7,
    };

    CAnalysisOutput(int outputType, int nAnalyses);
    virtual ~CAnalysisOutput();

    // The parts of the run's description joined by m_sSeparator.
    virtual CString GetDescription() = 0;
    // Keeps the point in m_PointX, m_PointY and returns its label: "Reaction %d!" (index + 1)
    // on a reaction chart, else "Shear!" (index not 0) or "Bending!", then "\nX: x\nY: y".
    virtual CString GetPointLabel(bool reaction, int index, double x, double y) = 0;
    // "X: x\nY: y", six significant digits: the value lines of a label, and a clicked point's tip.
    static CString PointValues(double x, double y);

    int m_nOutputType = 0;
    int m_nOutAnalyses = 0;
    CString m_sSeparator;
    double m_PointX = 0.0;
    double m_PointY = 0.0;

protected:
    // The label every kind gives a chart point.
    CString MakePointLabel(bool reaction, int index, double x, double y);
    // The parts joined by the separator.
    CString Join(const std::vector<CString>& parts) const;
};

class CAOSinglePosition : public CAnalysisOutput
{
public:
    CAOSinglePosition(std::shared_ptr<CBeamResults> results, std::shared_ptr<CBridge> bridge,
                      std::shared_ptr<CLoadModel> loadModel, double position);
    CString GetDescription() override;
    CString GetPointLabel(bool reaction, int index, double x, double y) override;
    std::shared_ptr<CBeamResults> GetResults() const { return m_pOutResults; }

    std::shared_ptr<CBridge> m_pOutBridge;
    std::shared_ptr<CLoadModel> m_pOutLoadModel;
    std::shared_ptr<CBeamResults> m_pOutResults;
    double m_OutPosition = 0.0; // m
};

class CAOMovingLoad : public CAnalysisOutput
{
public:
    CAOMovingLoad(std::shared_ptr<CEnvelopeResults> results, std::shared_ptr<CBridge> bridge,
                  std::shared_ptr<CLoadModel> loadModel, int nAnalyses);
    CString GetDescription() override;
    CString GetPointLabel(bool reaction, int index, double x, double y) override;
    std::shared_ptr<CEnvelopeResults> GetResults() const { return m_pOutResults; }

    std::shared_ptr<CBridge> m_pOutBridge;
    std::shared_ptr<CLoadModel> m_pOutLoadModel;
    std::shared_ptr<CEnvelopeResults> m_pOutResults;
};

class CAOMultiMovingLoad : public CAnalysisOutput
{
public:
    CAOMultiMovingLoad(std::shared_ptr<CEnvelopeResults> results, std::shared_ptr<CBridge> bridge,
                       std::shared_ptr<CLoadModelEnsemble> ensemble,
                       std::vector<std::shared_ptr<CEnvelopeResults>> lmResults, int nAnalyses);
    CString GetDescription() override;
    CString GetPointLabel(bool reaction, int index, double x, double y) override;
    // The combined envelope of the ensemble.
    std::shared_ptr<CEnvelopeResults> GetResults() const { return m_pOutResults; }
    // One result per load model, in ensemble order.
    std::vector<std::shared_ptr<CEnvelopeResults>> GetEnvelopeResults() const { return m_vOutLMResults; }

    std::shared_ptr<CBridge> m_pOutBridge;
    std::shared_ptr<CLoadModelEnsemble> m_pOutLME;
    std::shared_ptr<CEnvelopeResults> m_pOutResults;
    std::vector<std::shared_ptr<CEnvelopeResults>> m_vOutLMResults;
};

class CAOBridgeRange : public CAnalysisOutput
{
public:
    CAOBridgeRange(std::shared_ptr<CCriticalValueEnsemble> results, std::shared_ptr<CBridgeSet> bridgeSet,
                   std::shared_ptr<CLoadModel> loadModel);
    CString GetDescription() override;
    CString GetPointLabel(bool reaction, int index, double x, double y) override;
    std::shared_ptr<CCriticalValueEnsemble> GetResults() const { return m_pOutResults; }

    std::shared_ptr<CLoadModel> m_pOutLoadModel;
    std::shared_ptr<CBridgeSet> m_pOutBridgeSet;
    std::shared_ptr<CCriticalValueEnsemble> m_pOutResults;
};

class CAOReferenceSet : public CAnalysisOutput
{
public:
    CAOReferenceSet(std::shared_ptr<CReferenceSet> refSet, bool bOverstress);
    CString GetDescription() override;
    CString GetPointLabel(bool reaction, int index, double x, double y) override;
    std::shared_ptr<CReferenceSet> GetReferenceSet() const { return m_pOutRefSet; }

    std::shared_ptr<CReferenceSet> m_pOutRefSet;
    bool m_bOutOverstress = false;

protected:
    CAOReferenceSet(int outputType, std::shared_ptr<CReferenceSet> refSet, bool bOverstress);
};

class CAOCompareRefSetEnvs : public CAOReferenceSet
{
public:
    CAOCompareRefSetEnvs(bool bOverstress, int bridgeIndex, std::shared_ptr<CReferenceSet> refSet);
    CString GetDescription() override;
    CString GetPointLabel(bool reaction, int index, double x, double y) override;

    int m_nOutBridgeIndex = 0; // a bridge of the reference set's bridge set
};

class CAOCriticalRatios : public CAnalysisOutput
{
public:
    CAOCriticalRatios(std::shared_ptr<CCriticalRatioEnsemble> ratios, std::shared_ptr<CReferenceCollection> collection,
                      std::shared_ptr<CReferenceSet> refSet);
    CString GetDescription() override;
    CString GetPointLabel(bool reaction, int index, double x, double y) override;
    std::shared_ptr<CCriticalRatioEnsemble> GetRatioResults() const { return m_pOutRatios; }

    std::shared_ptr<CCriticalRatioEnsemble> m_pOutRatios;
    std::shared_ptr<CReferenceCollection> m_pOutCollection;
    std::shared_ptr<CReferenceSet> m_pOutRefSet;
};

class CAOEnhanced : public CAnalysisOutput
{
public:
    explicit CAOEnhanced(std::shared_ptr<CReferenceCollection> collection);
    CString GetDescription() override;
    CString GetPointLabel(bool reaction, int index, double x, double y) override;

    std::shared_ptr<CReferenceCollection> m_pOutCollection;
};
