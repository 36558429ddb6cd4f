// The buffer a binary case file is read from: the whole file in memory, or an open file read in
// blocks as the archive takes its bytes (an open then holds one block of the file, not all of
// it, beside the objects it builds). The archive takes small values straight out (the library's
// stream buffer reads each through a virtual call), the library its own reads.
//
//     CArchiveInBuffer whole(std::move(bytes));
//     CArchiveInBuffer file(fd, std::move(head), size);  // head: the bytes read from fd already
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <streambuf>
#include <string>

class CArchiveInBuffer : public std::streambuf
{
public:
    static constexpr std::size_t kBlockSize = std::size_t{64} << 10;

    explicit CArchiveInBuffer(std::string bytes);
    // The file's content is head and then what fd reads (from its current offset); size is the
    // whole content's size as far as known (the counts the file declares are checked against it).
    CArchiveInBuffer(int fd, std::string head, std::uint64_t size);

    bool Get(void* p, std::size_t n)
    {
        if (static_cast<std::size_t>(egptr() - gptr()) < n) return GetSlow(p, n);
        std::memcpy(p, gptr(), n);
        gbump(static_cast<int>(n));
        return true;
    }
    // The bytes not yet taken: those in the block and those the file still holds.
    std::size_t Left() const
    {
        const std::uint64_t beyond = m_nSize > m_nRead ? m_nSize - m_nRead : 0;
        return static_cast<std::size_t>(egptr() - gptr()) + static_cast<std::size_t>(beyond);
    }

protected:
    int_type underflow() override;
    std::streamsize xsgetn(char* s, std::streamsize n) override;
    std::streamsize showmanyc() override;

private:
    bool GetSlow(void* p, std::size_t n);
    // The next block of the file; false at its end. A read error throws std::system_error: the
    // file may be whole, so it is not taken for one that ends early.
    bool Refill();

    std::string m_Data;        // the whole content, or the block
    int m_Fd = -1;             // -1: m_Data is the whole content
    std::uint64_t m_nSize = 0; // the content's size as far as known
    std::uint64_t m_nRead = 0; // bytes of the content brought into m_Data so far
};
