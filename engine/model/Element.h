// Base of every named element of a case: bridges, bridge sets, load models,
// load model ensembles and reference collections.
#pragma once

#include "platform/core/CString.h"

#include <boost/serialization/access.hpp>

class CElement
{
public:
    // Element type codes (m_ElementType). The element tree finds an element by its
    // type code together with m_ID.
    enum : int
    {
        ELEMENT_BRIDGE = 11,
        ELEMENT_BRIDGESET = 12,
        ELEMENT_LOADMODEL = 13,
        ELEMENT_LOADMODELENSEMBLE = 14,
        ELEMENT_REFCOLLECTION = 16,
    };

    CElement();
    CElement(int ID, const CString& description, int elementType);
    CElement(const CElement&) = default;
    CElement& operator=(const CElement&) = default;
    virtual ~CElement();

    CString GetDescription() const;

    int m_ID = 0;
    CString m_Description;
    int m_ElementType = 0;
    bool m_bIsEditable = true;

    // Archive items: m_ElementType, m_Description, m_ID, m_bIsEditable.
    // Instantiated for the XML, text and binary archives in Element.cpp.
    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};
