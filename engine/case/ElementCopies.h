// Copies of a case's elements for one run on a worker thread. Each element is copied once, so
// what the originals share (a load model in two ensembles, a bridge set under two reference
// sets) the copies share too, and every copy leads back to its original:
//
//   CElementCopies copies;                         // user-interface thread, at launch
//   job->pLME = copies.Of(caseEnsemble);           // its load models are copies too
//   ... the worker reads and changes only the copies ...
//   results->m_pBridgeSet = copies.OriginalOf(results->m_pBridgeSet); // back in the case
#pragma once

#include <map>
#include <memory>

class CBridge;
class CBridgeSet;
class CEnvelopeResults;
class CLoadModel;
class CLoadModelEnsemble;

class CElementCopies
{
public:
    // The copy of an element (made at the first call); an empty pointer stays empty.
    std::shared_ptr<CLoadModel> Of(const std::shared_ptr<CLoadModel>& original);
    std::shared_ptr<CLoadModelEnsemble> Of(const std::shared_ptr<CLoadModelEnsemble>& original);
    std::shared_ptr<CBridge> Of(const std::shared_ptr<CBridge>& original);
    std::shared_ptr<CBridgeSet> Of(const std::shared_ptr<CBridgeSet>& original);
    // Results read by a run (the stored reference of a ratio run) or written by a snapshot: the
    // counters and the very envelopes, not copies of them (the bulk of a computed case: about a
    // megabyte a bridge at a fine step), their bridge (and beam) the copy of the bridge. Nobody
    // changes an envelope once its results are in the case (a run makes new results and the case
    // takes them whole), and a run or a save only reads them, so two threads may read one envelope.
    std::shared_ptr<CEnvelopeResults> Of(const std::shared_ptr<CEnvelopeResults>& original);

    // The original of a copy made here; anything else (made by the run itself) as it is.
    template <class T>
    std::shared_ptr<T> OriginalOf(const std::shared_ptr<T>& element) const
    {
        const auto it = m_originals.find(element.get());
        return it == m_originals.end() ? element : std::static_pointer_cast<T>(it->second);
    }

private:
    template <class T, class MakeCopy>
    std::shared_ptr<T> Find(const std::shared_ptr<T>& original, MakeCopy makeCopy);

    std::map<const void*, std::shared_ptr<void>> m_copies;    // original -> copy
    std::map<const void*, std::shared_ptr<void>> m_originals; // copy -> original
};
