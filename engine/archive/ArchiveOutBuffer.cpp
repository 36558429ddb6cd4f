// The buffer a case file is written through.

#include "engine/archive/ArchiveOutBuffer.h"

#include "engine/archive/CaseFileProgress.h"

#include <boost/archive/archive_exception.hpp>

#include <cerrno>
#include <unistd.h>

CArchiveOutBuffer::CArchiveOutBuffer(int fd, CCaseFileProgress* progress)
    : m_Fd(fd), m_pProgress(progress), m_Block(new char[kBlockSize])
{
    setp(m_Block.get(), m_Block.get() + kBlockSize);
}

CArchiveOutBuffer::CArchiveOutBuffer(std::streambuf& target, CCaseFileProgress* progress)
    : m_pTarget(&target), m_pProgress(progress), m_Block(new char[kBlockSize])
{
    setp(m_Block.get(), m_Block.get() + kBlockSize);
}

CArchiveOutBuffer::~CArchiveOutBuffer() = default;

bool CArchiveOutBuffer::WriteOut(const char* p, std::size_t n)
{
    if (m_bFailed) return false;
    if (m_pTarget)
    {
        m_bFailed = m_pTarget->sputn(p, static_cast<std::streamsize>(n)) != static_cast<std::streamsize>(n);
    }
    else
    {
        while (n > 0)
        {
            const ssize_t done = ::write(m_Fd, p, n);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0)
            {
                m_nError = done < 0 ? errno : EIO;
                m_bFailed = true;
                errno = m_nError; // for the archive's exception that follows
                break;
            }
            p += done;
            n -= static_cast<std::size_t>(done);
            m_nWritten += static_cast<std::size_t>(done);
        }
        if (!m_bFailed && m_pProgress) m_pProgress->SetDone(m_nWritten);
        return !m_bFailed;
    }
    if (!m_bFailed)
    {
        m_nWritten += n;
        if (m_pProgress) m_pProgress->SetDone(m_nWritten);
    }
    return !m_bFailed;
}

bool CArchiveOutBuffer::WriteBlock()
{
    const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
    setp(m_Block.get(), m_Block.get() + kBlockSize);
    return n == 0 || WriteOut(m_Block.get(), n);
}

void CArchiveOutBuffer::PutSlow(const void* p, std::size_t n)
{
    if (xsputn(static_cast<const char*>(p), static_cast<std::streamsize>(n)) != static_cast<std::streamsize>(n))
    {
        errno = m_nError;
        throw boost::archive::archive_exception(boost::archive::archive_exception::output_stream_error);
    }
}

std::streamsize CArchiveOutBuffer::xsputn(const char* s, std::streamsize count)
{
    std::size_t n = static_cast<std::size_t>(count);
    const std::size_t room = static_cast<std::size_t>(epptr() - pptr());
    if (n <= room)
    {
        std::memcpy(pptr(), s, n);
        pbump(static_cast<int>(n));
        return count;
    }
    // A run longer than a block goes straight out once the block before it is written.
    if (!WriteBlock()) return 0;
    if (n >= kBlockSize) return WriteOut(s, n) ? count : 0;
    std::memcpy(pptr(), s, n);
    pbump(static_cast<int>(n));
    return count;
}

CArchiveOutBuffer::int_type CArchiveOutBuffer::overflow(int_type ch)
{
    if (!WriteBlock()) return traits_type::eof();
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
    return ch;
}

int CArchiveOutBuffer::sync()
{
    if (!WriteBlock()) return -1;
    if (m_pTarget && m_pTarget->pubsync() != 0) m_bFailed = true;
    return m_bFailed ? -1 : 0;
}

void CArchiveOutBuffer::Finish()
{
    if (sync() != 0)
    {
        errno = m_nError;
        throw boost::archive::archive_exception(boost::archive::archive_exception::output_stream_error);
    }
}
