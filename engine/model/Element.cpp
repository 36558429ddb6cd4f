// Base of every named element of a case: bridges, bridge sets, load models, load model ensembles and
// reference collections.
#include "engine/model/Element.h"

#include "platform/core/StringSerialization.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/nvp.hpp>

CElement::CElement() = default;

CElement::CElement(int ID, const CString& description, int elementType)
    : m_ID(ID), m_Description(description), m_ElementType(elementType), m_bIsEditable(true)
{}

CElement::~CElement() = default;

CString CElement::GetDescription() const { return m_Description; }

template <class Archive>
void CElement::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("m_ElementType", m_ElementType);
    ar& make_nvp("m_Description", m_Description);
    ar& make_nvp("m_ID", m_ID);
    ar& make_nvp("m_bIsEditable", m_bIsEditable);
}

QOR_INSTANTIATE_SERIALIZE(CElement)
