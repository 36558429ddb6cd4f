// The buffer a binary case file is read from.

#include "engine/archive/ArchiveInBuffer.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <unistd.h>
#include <utility>

CArchiveInBuffer::CArchiveInBuffer(std::string bytes) : m_Data(std::move(bytes))
{
    m_nSize = m_nRead = m_Data.size();
    char* const p = m_Data.data();
    setg(p, p, p + m_Data.size());
}

CArchiveInBuffer::CArchiveInBuffer(int fd, std::string head, std::uint64_t size)
    : m_Data(std::move(head)), m_Fd(fd), m_nSize(std::max<std::uint64_t>(size, m_Data.size())), m_nRead(m_Data.size())
{
    char* const p = m_Data.data();
    setg(p, p, p + m_Data.size());
}

bool CArchiveInBuffer::Refill()
{
    if (m_Fd < 0) return false;
    if (m_Data.size() < kBlockSize) m_Data.resize(kBlockSize);
    std::size_t got = 0;
    while (got < kBlockSize)
    {
        const ssize_t n = ::read(m_Fd, m_Data.data() + got, kBlockSize - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::system_error(errno, std::generic_category(), "the file could not be read");
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    m_nRead += got;
    // A file that grew since its size was told, or that ends here, before it: nothing is left.
    if (m_nRead > m_nSize || got < kBlockSize) m_nSize = m_nRead;
    char* const p = m_Data.data();
    setg(p, p, p + got);
    return got > 0;
}

bool CArchiveInBuffer::GetSlow(void* p, std::size_t n)
{
    return xsgetn(static_cast<char*>(p), static_cast<std::streamsize>(n)) == static_cast<std::streamsize>(n);
}

CArchiveInBuffer::int_type CArchiveInBuffer::underflow()
{
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (!Refill()) return traits_type::eof();
    return traits_type::to_int_type(*gptr());
}

std::streamsize CArchiveInBuffer::xsgetn(char* s, std::streamsize count)
{
    std::size_t want = static_cast<std::size_t>(std::max<std::streamsize>(count, 0));
    std::size_t done = 0;
    while (done < want)
    {
        if (gptr() == egptr() && !Refill()) break;
        const std::size_t n = std::min(want - done, static_cast<std::size_t>(egptr() - gptr()));
        std::memcpy(s + done, gptr(), n);
        gbump(static_cast<int>(n));
        done += n;
    }
    return static_cast<std::streamsize>(done);
}

std::streamsize CArchiveInBuffer::showmanyc()
{
    const std::size_t left = Left();
    return left > 0 ? static_cast<std::streamsize>(left) : -1;
}
