// The content of a case file: the case's element lists, its reference and its notes, in the
// order the file holds them.
#pragma once

#include "platform/core/CString.h"

#include <boost/serialization/access.hpp>

#include <memory>
#include <vector>

class CBridge;
class CBridgeSet;
class CLoadModel;
class CLoadModelEnsemble;
class CReferenceCollection;

struct CCaseData
{
    std::vector<std::shared_ptr<CBridge>> m_vBridge;
    std::vector<std::shared_ptr<CBridgeSet>> m_vBridgeSet;
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;
    std::vector<std::shared_ptr<CLoadModelEnsemble>> m_vLoadModelEnsemble;
    std::vector<std::shared_ptr<CReferenceCollection>> m_vRefCollection;
    CString m_sCaseRef;
    CString m_sCaseNotes;

    // Archive items, in this order: m_vBridge, m_vBridgeSet, m_vLoadModel,
    // m_vLoadModelEnsemble, m_vRefCollection, m_sCaseRef, m_sCaseNotes.
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};
