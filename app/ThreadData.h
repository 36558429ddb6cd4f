// The blocks handed to the analysis worker threads and back, with their "finished" message, to the
// completion functions of the document (which free them).
#pragma once

#include <memory>

class CQORDoc;
class CBridge;
class CBridgeSet;
class CLoadModel;
class CLoadModelEnsemble;
class CReferenceCollection;

// Moving load of an ensemble.
struct MultiMLThreadData
{
    CQORDoc* pDoc = nullptr;
    std::shared_ptr<CBridge> pBridge;
    std::shared_ptr<CLoadModelEnsemble> pLME;
    bool bByStep = false;
    int nSteps = 0;
    double StepSize = 0.0;
    bool bDisplayEach = false;
};

// Bridge range: the worker reads the document's own stepping.
struct BridgeRangeThreadData
{
    CQORDoc* pDoc = nullptr;
    std::shared_ptr<CBridgeSet> pBridgeSet;
    std::shared_ptr<CLoadModel> pLoadModel;
};

// Reference values and critical ratios of a reference collection.
struct RefCollThreadData
{
    CQORDoc* pDoc = nullptr;
    std::shared_ptr<CReferenceCollection> pRefCollection;
};
