// The XML output archive of case files: byte for byte what the library's xml_oarchive writes,
// with the text going into the buffer in whole runs.
//
//     CArchiveOutBuffer buffer(fd, &progress);
//     {
//         CXmlOutArchive ar(buffer);                // writes the archive's header
//         ar << boost::serialization::make_nvp("QORConfig", data);
//         ar.Finish();                              // the archive's closing element
//     }
//     buffer.Finish();
//
// The library writes every character through the stream (a sentry each: a third of a save went
// into the indentation's tabs alone) and formats every number through the stream's locale. Here
// characters, tag names and numbers go straight into the buffer; numbers are formatted as the
// library formats them (integers in decimal, floating point in scientific notation with
// max_digits10 digits), names that need no escaping are copied whole, and anything else takes
// the library's own path through the same buffer, so the order of the bytes is the order of the
// calls.
#pragma once

#include "engine/archive/ArchiveOutBuffer.h"

#include <boost/archive/detail/register_archive.hpp>
#include <boost/archive/xml_oarchive.hpp>

#include <charconv>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>

// The stream over the buffer comes first, so that it exists when the library's part is made.
struct CXmlOutArchiveStream
{
    explicit CXmlOutArchiveStream(CArchiveOutBuffer& buffer) : m_Stream(&buffer) {}
    std::ostream m_Stream;
};

class CXmlOutArchive : private CXmlOutArchiveStream, public boost::archive::xml_oarchive_impl<CXmlOutArchive>
{
    using Base = boost::archive::xml_oarchive_impl<CXmlOutArchive>;
    friend class boost::archive::detail::interface_oarchive<CXmlOutArchive>;
    friend class boost::archive::basic_xml_oarchive<CXmlOutArchive>;
    friend class boost::archive::save_access;

public:
    // Writes the archive's header into the buffer.
    explicit CXmlOutArchive(CArchiveOutBuffer& buffer);
    ~CXmlOutArchive() override;

    // Writes the archive's closing element; call after the last item (the library's archive
    // writes it from its destructor, where a failed write could not be reported).
    void Finish() { windup(); }

    // Called by the archive library.
    void put(char c) { m_Buffer.Put(&c, 1); }
    void put(const char* s) { m_Buffer.Put(s, std::strlen(s)); }

    using Base::save;
    void save(const char* s);
    void save(const std::string& s);
    void save(bool b) { put(b ? '1' : '0'); }
    void save(char c) { SaveInteger(static_cast<short>(c)); }
    void save(signed char c) { SaveInteger(static_cast<short>(c)); }
    void save(unsigned char c) { SaveInteger(static_cast<unsigned short>(c)); }
    void save(wchar_t c) { SaveInteger(static_cast<int>(c)); }
    void save(short v) { SaveInteger(v); }
    void save(unsigned short v) { SaveInteger(v); }
    void save(int v) { SaveInteger(v); }
    void save(unsigned int v) { SaveInteger(v); }
    void save(long v) { SaveInteger(v); }
    void save(unsigned long v) { SaveInteger(v); }
    void save(long long v) { SaveInteger(v); }
    void save(unsigned long long v) { SaveInteger(v); }
    void save(float v) { SaveFloating(v); }
    void save(double v) { SaveFloating(v); }
    void save(const boost::archive::version_type& v) { save(static_cast<unsigned int>(v)); }
    void save(const boost::serialization::item_version_type& v) { save(static_cast<unsigned int>(v)); }

private:
    template <class T>
    void SaveInteger(T v)
    {
        char text[24];
        const auto end = std::to_chars(text, text + sizeof text, v).ptr;
        m_Buffer.Put(text, static_cast<std::size_t>(end - text));
    }
    template <class T>
    void SaveFloating(T v)
    {
        char text[64];
        const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::scientific,
                                       std::numeric_limits<T>::max_digits10)
                             .ptr;
        m_Buffer.Put(text, static_cast<std::size_t>(end - text));
    }

    CArchiveOutBuffer& m_Buffer;
};

BOOST_SERIALIZATION_REGISTER_ARCHIVE(CXmlOutArchive)
