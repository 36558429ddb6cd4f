// The binary input archive of case files.

#include "engine/model/BinaryInArchive.h"

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

CBinaryInArchive::CBinaryInArchive(std::string bytes) : Stream(std::move(bytes)), Checked(Stream::member, 0u)
{
    init(0u); // the archive's header
}

CBinaryInArchive::CBinaryInArchive(int fd, std::string head, std::uint64_t size)
    : Stream(fd, std::move(head), size), Checked(Stream::member, 0u)
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
