// The XML input archive of settings and case files, and the strict UTF-8 decoding of its text.

#include "engine/archive/XmlInArchive.h"

#include <boost/archive/xml_archive_exception.hpp>

// The library's templates, instantiated for our archive.
#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_xml_iarchive.ipp>
#include <boost/archive/impl/xml_iarchive_impl.ipp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>

namespace boost {
namespace archive {
template class xml_iarchive_impl<CXmlInArchive>;
template class basic_xml_iarchive<CXmlInArchive>;
template class detail::archive_serializer_map<CXmlInArchive>;
} // namespace archive
} // namespace boost

namespace {

const char kClosingElement[] = "</boost_serialization>";

// A file written completely ends with the closing element (and perhaps white space). One that
// does not was cut short: the library would otherwise fail on it only in its destructor.
bool EndsWithClosingElement(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    const std::size_t n = sizeof(kClosingElement) - 1;
    return end >= n && text.compare(end - n, n, kClosingElement) == 0;
}

// The archive library's version the header names (the version attribute of the archive's element).
// One newer than ours is refused before the library reads the file: it would take it as its own
// (and the number, past its 16 bits, trips its checks).
void CheckHeaderVersion(std::string_view text)
{
    const std::size_t element = text.find("<boost_serialization");
    if (element == std::string_view::npos) return; // the library refuses it itself
    const std::string_view tag = text.substr(element, text.find('>', element) - element);
    auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t at = tag.find("version"); at != std::string_view::npos; at = tag.find("version", at + 1))
    {
        // An attribute of that name (the library allows blanks around its '='), its number.
        if (!space(tag[at - 1])) continue;
        std::size_t i = at + 7;
        while (i < tag.size() && space(tag[i])) ++i;
        if (i >= tag.size() || tag[i++] != '=') continue;
        while (i < tag.size() && space(tag[i])) ++i;
        if (i >= tag.size() || tag[i++] != '"') continue;
        unsigned long long version = 0;
        for (; i < tag.size() && std::isdigit(static_cast<unsigned char>(tag[i])); ++i)
            version = std::min<unsigned long long>(version * 10 + static_cast<unsigned>(tag[i] - '0'), 1u << 30);
        CheckArchiveLibraryVersion(version);
        return;
    }
}

} // namespace

bool DecodeUtf8Text(const std::string& in, std::wstring& out)
{
    out.clear();
    out.reserve(in.size());
    const std::size_t n = in.size();
    std::size_t i = 0;
    while (i < n)
    {
        const auto b = static_cast<unsigned char>(in[i]);
        std::uint32_t c = 0;
        std::size_t extra = 0;
        std::uint32_t least = 0; // the smallest code point of the length (no overlong forms)
        if (b < 0x80)
        {
            c = b;
        }
        else if ((b & 0xE0) == 0xC0)
        {
            c = b & 0x1Fu;
            extra = 1;
            least = 0x80;
        }
        else if ((b & 0xF0) == 0xE0)
        {
            c = b & 0x0Fu;
            extra = 2;
            least = 0x800;
        }
        else if ((b & 0xF8) == 0xF0)
        {
            c = b & 0x07u;
            extra = 3;
            least = 0x10000;
        }
        else
            return false;
        if (extra >= n - i) return false;
        for (std::size_t k = 1; k <= extra; ++k)
        {
            const auto cb = static_cast<unsigned char>(in[i + k]);
            if ((cb & 0xC0) != 0x80) return false;
            c = (c << 6) | (cb & 0x3Fu);
        }
        if (c == 0 || c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        out += static_cast<wchar_t>(c);
        i += extra + 1;
    }
    return true;
}

CXmlInArchive::CXmlInArchive(std::string text)
    : Stream(std::move(text)), Checked(Stream::member, boost::archive::no_header)
{
    // A number's reading that meets an exception (memory that is short) would only mark the stream
    // bad, and the library would take that for text that is not a number: the exception goes on.
    Stream::member.exceptions(std::ios::badbit);
    if (!EndsWithClosingElement(Stream::member.view())) // the text itself, not a copy
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error,
                                                "the file ends before the archive does");
    CheckHeaderVersion(Stream::member.view());
    init(); // the archive's header
}

// The library's part syncs the stream as it goes, which must not throw again for a stream left bad.
CXmlInArchive::~CXmlInArchive() { Stream::member.exceptions(std::ios::goodbit); }

void CXmlInArchive::Finish()
{
    if (!gimpl->windup(get_is()))
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error,
                                                "no closing element");
}

void CXmlInArchive::load(std::wstring& ws)
{
    std::string text;
    if (!gimpl->parse_string(get_is(), text))
        throw boost::archive::xml_archive_exception(boost::archive::xml_archive_exception::xml_archive_parsing_error);
    if (!DecodeUtf8Text(text, ws))
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error,
                                                "text that is not valid UTF-8");
}

// Every end tag must name the item it closes; the names are compared without reading past
// either of them.
void CXmlInArchive::load_end(const char* name)
{
    if (!name) return;
    if (!gimpl->parse_end_tag(get_is()))
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
    if (gimpl->rv.object_name != name)
        throw boost::archive::xml_archive_exception(boost::archive::xml_archive_exception::xml_archive_tag_mismatch,
                                                    name);
}

std::size_t CXmlInArchive::Line()
{
    const std::string_view text = Stream::member.view();
    const std::streamoff at = Stream::member.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in);
    std::size_t end = at < 0 ? text.size() : std::min(static_cast<std::size_t>(at), text.size());
    while (end > 0 && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return 1 +
           static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

std::size_t CXmlInArchive::BytesLeft()
{
    const std::streamsize left = Stream::member.rdbuf()->in_avail();
    return left > 0 ? static_cast<std::size_t>(left) : 0;
}
