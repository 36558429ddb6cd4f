// Writing engine objects to the XML, text and binary archives and reading them back.
#pragma once

#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>
#include <boost/archive/text_iarchive.hpp>
#include <boost/archive/text_oarchive.hpp>
#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <boost/serialization/nvp.hpp>

#include <sstream>
#include <string>

namespace archivetest {

// Writes item through an OArchive under the given name and reads it back through the
// matching IArchive; *pText receives what was written.
template <class OArchive, class IArchive, class T>
T RoundTrip(const T& item, std::string* pText = nullptr, const char* name = "item")
{
    std::stringstream ss;
    {
        OArchive oa(ss);
        oa << boost::serialization::make_nvp(name, item);
    }
    if (pText) *pText = ss.str();
    T out{};
    {
        IArchive ia(ss);
        ia >> boost::serialization::make_nvp(name, out);
    }
    return out;
}

enum class Kind
{
    Xml,
    Text,
    Binary
};

template <class OArchive, class T>
std::string SaveAs(const T& item)
{
    std::ostringstream os;
    {
        OArchive ar(os);
        ar << boost::serialization::make_nvp("item", item);
    }
    return os.str();
}

template <class IArchive, class T>
T LoadAs(const std::string& data)
{
    T item{};
    std::istringstream is(data);
    IArchive ar(is);
    ar >> boost::serialization::make_nvp("item", item);
    return item;
}

// The item written as one archive of the given kind.
template <class T>
std::string Save(Kind kind, const T& item)
{
    switch (kind)
    {
    case Kind::Xml: return SaveAs<boost::archive::xml_oarchive>(item);
    case Kind::Text: return SaveAs<boost::archive::text_oarchive>(item);
    case Kind::Binary: break;
    }
    return SaveAs<boost::archive::binary_oarchive>(item);
}

// An item read from an archive of the given kind.
template <class T>
T Load(Kind kind, const std::string& data)
{
    switch (kind)
    {
    case Kind::Xml: return LoadAs<boost::archive::xml_iarchive, T>(data);
    case Kind::Text: return LoadAs<boost::archive::text_iarchive, T>(data);
    case Kind::Binary: break;
    }
    return LoadAs<boost::archive::binary_iarchive, T>(data);
}

} // namespace archivetest
