// Archive support for CString: an object with one item "value" holding the wide text.
#pragma once

#include "platform/core/CString.h"

#include <boost/serialization/nvp.hpp>
#include <boost/serialization/split_free.hpp>
#include <boost/serialization/string.hpp>

namespace boost {
namespace serialization {

template <class Archive>
void save(Archive& ar, const CString& s, const unsigned int /*version*/)
{
    const std::wstring& value = s.str();
    ar << boost::serialization::make_nvp("value", value);
}

template <class Archive>
void load(Archive& ar, CString& s, const unsigned int /*version*/)
{
    std::wstring value;
    ar >> boost::serialization::make_nvp("value", value);
    s = CString(std::move(value));
}

template <class Archive>
void serialize(Archive& ar, CString& s, const unsigned int version)
{
    boost::serialization::split_free(ar, s, version);
}

} // namespace serialization
} // namespace boost
