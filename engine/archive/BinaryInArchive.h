// The binary input archive of case files: the library's binary archive with our checks (see
// CheckedInArchive.h), text lengths within the bytes left and booleans that are 0 or 1.
//
//     CBinaryInArchive ar(bytes);                   // the whole file; reads the header
//     CBinaryInArchive ar(fd, head, size);          // or an open file, read in blocks
//     ar >> boost::serialization::make_nvp("QORConfig", data);
//
// Every failure is a std::exception (mostly boost::archive::archive_exception).
#pragma once

#include "engine/archive/ArchiveInBuffer.h"
#include "engine/archive/CheckedInArchive.h"

#include <boost/archive/archive_exception.hpp>

#include <boost/archive/binary_iarchive_impl.hpp>
#include <boost/archive/detail/register_archive.hpp>
#include <boost/serialization/array_optimization.hpp>
#include <boost/utility/base_from_member.hpp>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <type_traits>

// The stream comes first (base_from_member) so that it exists when the library's part is made.
class CBinaryInArchive
    : private boost::base_from_member<CArchiveInBuffer>,
      public CCheckedInArchive<CBinaryInArchive,
                               boost::archive::binary_iarchive_impl<CBinaryInArchive, char, std::char_traits<char>>>
{
    using Stream = boost::base_from_member<CArchiveInBuffer>;
    using Checked =
        CCheckedInArchive<CBinaryInArchive,
                          boost::archive::binary_iarchive_impl<CBinaryInArchive, char, std::char_traits<char>>>;
    friend Checked;

public:
    // Takes the whole content of the file and reads the archive's header.
    explicit CBinaryInArchive(std::string bytes);
    // Reads the file in blocks as it goes (see CArchiveInBuffer): head, the bytes read from it
    // already; size, its whole size.
    CBinaryInArchive(int fd, std::string head, std::uint64_t size);
    ~CBinaryInArchive() override;

    // Called by the archive library.
    using Checked::load;
    template <class T>
    void load(T& t)
    {
        if constexpr (std::is_arithmetic_v<T>)
        {
            if (!Stream::member.Get(&t, sizeof(T)))
                throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
        }
        else
            Checked::load(t);
    }
    void load(bool& b);
    void load(std::string& s);
    void load(std::wstring& ws);

    std::size_t BytesLeft();
    static constexpr std::size_t kMinBytesPerItem = 1;
};

BOOST_SERIALIZATION_REGISTER_ARCHIVE(CBinaryInArchive)
BOOST_SERIALIZATION_USE_ARRAY_OPTIMIZATION(CBinaryInArchive)

// Shared pointers read through the archive's own table (found by argument-dependent lookup
// before the library's general form, which it stands in for).
template <class T>
void load(CBinaryInArchive& ar, std::shared_ptr<T>& t, const unsigned int /*version*/)
{
    ar.LoadShared(t);
}
