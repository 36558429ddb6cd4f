// The binary input archive of case files.

#include "engine/archive/BinaryInArchive.h"

// The library's templates, instantiated for our archive.
#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_binary_iarchive.ipp>
#include <boost/archive/impl/basic_binary_iprimitive.ipp>

namespace boost {
namespace archive {
template class basic_binary_iprimitive<CBinaryInArchive, char, std::char_traits<char>>;
template class basic_binary_iarchive<CBinaryInArchive>;
template class binary_iarchive_impl<CBinaryInArchive, char, std::char_traits<char>>;
template class detail::archive_serializer_map<CBinaryInArchive>;
} // namespace archive
} // namespace boost

namespace {

// The archive's header: the signature's length and the signature, the library's version (one or two
// bytes), the sizes of int, long, float and double, and an int of 1. True when the bytes hold the
// whole of it, or when they do not start with the signature (which the library refuses itself):
// the library reads the version byte past the end unchecked. Bytes too few for the signature's length
// end in the header too.
bool HoldsTheHeader(const std::string& bytes)
{
    const std::string signature = boost::archive::BOOST_ARCHIVE_SIGNATURE();
    std::size_t length = 0;
    const std::size_t lengthBytes = sizeof length;
    if (bytes.size() < lengthBytes) return false;
    std::memcpy(&length, bytes.data(), lengthBytes);
    const std::size_t versionAt = lengthBytes + signature.size();
    if (length != signature.size() || bytes.size() < versionAt || bytes.compare(lengthBytes, length, signature) != 0)
        return true;
    if (bytes.size() == versionAt) return false;
    const auto version = static_cast<unsigned char>(bytes[versionAt]);
    const std::size_t versionBytes = version == 6 || version >= 8 ? 2 : 1;
    return bytes.size() >= versionAt + versionBytes + 4 + sizeof(int);
}

// The archive library's version the header names (the byte after the signature, from version 8 on
// the low byte of two): the library itself reads one byte of it and would take a later version
// as its own.
void CheckHeaderVersion(const std::string& bytes)
{
    const std::string signature = boost::archive::BOOST_ARCHIVE_SIGNATURE();
    std::size_t length = 0;
    const std::size_t versionAt = sizeof length + signature.size();
    if (bytes.size() <= versionAt + 1) return;
    std::memcpy(&length, bytes.data(), sizeof length);
    if (length != signature.size() || bytes.compare(sizeof length, length, signature) != 0) return;
    const auto low = static_cast<unsigned char>(bytes[versionAt]);
    const auto high = static_cast<unsigned char>(bytes[versionAt + 1]);
    CheckArchiveLibraryVersion(low == 6 || low >= 8 ? low + 256u * high : low);
}

std::string WithTheHeader(std::string bytes)
{
    if (!HoldsTheHeader(bytes))
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error,
                                                "the file ends in the archive's header");
    CheckHeaderVersion(bytes);
    return bytes;
}

} // namespace

CBinaryInArchive::CBinaryInArchive(std::string bytes)
    : Stream(WithTheHeader(std::move(bytes))), Checked(Stream::member, 0u)
{
    init(0u); // the archive's header
}

// The head is the file's first block (the whole of a smaller file), so it holds the whole header
// of any file long enough to have one.
CBinaryInArchive::CBinaryInArchive(int fd, std::string head, std::uint64_t size)
    : Stream(fd, WithTheHeader(std::move(head)), size), Checked(Stream::member, 0u)
{
    init(0u); // the archive's header
}

CBinaryInArchive::~CBinaryInArchive() = default;

// A boolean is one byte holding 0 or 1; anything else is a damaged file, not a value.
void CBinaryInArchive::load(bool& b)
{
    unsigned char byte = 0;
    load_binary(&byte, 1);
    if (byte > 1)
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error,
                                                "a boolean that is neither 0 nor 1");
    b = byte != 0;
}

void CBinaryInArchive::load(std::string& s)
{
    std::size_t length = 0;
    load(length);
    CheckCount(length);
    s.resize(length);
    if (length > 0) load_binary(s.data(), length);
}

void CBinaryInArchive::load(std::wstring& ws)
{
    std::size_t length = 0;
    load(length);
    CheckCount(length, sizeof(wchar_t));
    ws.resize(length);
    if (length > 0) load_binary(ws.data(), length * sizeof(wchar_t));
}

std::size_t CBinaryInArchive::BytesLeft() { return Stream::member.Left(); }
