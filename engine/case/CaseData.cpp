// The archive body of a case file.

#include "engine/case/CaseData.h"

#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/core/StringSerialization.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/nvp.hpp>
#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

template <class Archive>
void CCaseData::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("m_vBridge", m_vBridge);
    ar& make_nvp("m_vBridgeSet", m_vBridgeSet);
    ar& make_nvp("m_vLoadModel", m_vLoadModel);
    ar& make_nvp("m_vLoadModelEnsemble", m_vLoadModelEnsemble);
    ar& make_nvp("m_vRefCollection", m_vRefCollection);
    ar& make_nvp("m_sCaseRef", m_sCaseRef);
    ar& make_nvp("m_sCaseNotes", m_sCaseNotes);
}

QOR_INSTANTIATE_SERIALIZE(CCaseData)
