// The XML output archive of case files.

#include "engine/archive/XmlOutArchive.h"

// The library's templates, instantiated for our archive.
#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_xml_oarchive.ipp>
#include <boost/archive/impl/xml_oarchive_impl.ipp>

namespace boost {
namespace archive {
template class xml_oarchive_impl<CXmlOutArchive>;
template class basic_xml_oarchive<CXmlOutArchive>;
template class detail::archive_serializer_map<CXmlOutArchive>;
} // namespace archive
} // namespace boost

namespace {

// True when the library's escaping would leave the text as it is.
bool NeedsNoEscape(const char* s, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
    {
        switch (s[i])
        {
        case '<':
        case '>':
        case '&':
        case '"':
        case '\'': return false;
        default: break;
        }
    }
    return true;
}

} // namespace

CXmlOutArchive::CXmlOutArchive(CArchiveOutBuffer& buffer)
    : CXmlOutArchiveStream(buffer), Base(m_Stream, boost::archive::no_header), m_Buffer(buffer)
{
    init(); // the archive's header
}

CXmlOutArchive::~CXmlOutArchive() = default;

void CXmlOutArchive::save(const char* s)
{
    const std::size_t n = std::strlen(s);
    if (NeedsNoEscape(s, n))
        m_Buffer.Put(s, n);
    else
        Base::save(s);
}

void CXmlOutArchive::save(const std::string& s)
{
    if (NeedsNoEscape(s.data(), s.size()))
        m_Buffer.Put(s.data(), s.size());
    else
        Base::save(s);
}
