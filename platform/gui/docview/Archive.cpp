// CFile over a POSIX file descriptor; CArchive's byte interface.
#include "platform/gui/docview/Archive.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) { Open(lpszFileName, nOpenFlags); }

CFile::~CFile() { Close(); }

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    Close();
    m_nError = 0;
    if (!lpszFileName) return FALSE;
    int flags = O_CLOEXEC;
    if (nOpenFlags & modeReadWrite)
        flags |= O_RDWR;
    else if (nOpenFlags & modeWrite)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    if (nOpenFlags & modeCreate)
    {
        flags |= O_CREAT;
        if (!(nOpenFlags & modeNoTruncate)) flags |= O_TRUNC;
    }
    std::string path = CString(lpszFileName).ToUtf8();
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0)
    {
        m_nError = errno;
        return FALSE;
    }
    m_hFile = fd;
    m_strFileName = lpszFileName;
    return TRUE;
}

void CFile::Close()
{
    if (m_hFile != hFileNull) ::close(m_hFile);
    m_hFile = hFileNull;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (m_hFile == hFileNull) return 0;
    UINT done = 0;
    while (done < nCount)
    {
        ssize_t n = ::read(m_hFile, static_cast<char*>(lpBuf) + done, nCount - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
        {
            if (n < 0) m_nError = errno;
            break;
        }
        done += static_cast<UINT>(n);
    }
    return done;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_hFile == hFileNull) return FALSE;
    UINT done = 0;
    while (done < nCount)
    {
        ssize_t n = ::write(m_hFile, static_cast<const char*>(lpBuf) + done, nCount - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
        {
            m_nError = n < 0 ? errno : EIO;
            return FALSE;
        }
        done += static_cast<UINT>(n);
    }
    return TRUE;
}

BOOL CFile::Flush()
{
    if (m_hFile == hFileNull) return FALSE;
    if (::fsync(m_hFile) != 0 && errno != EINVAL && errno != EROFS)
    {
        m_nError = errno;
        return FALSE;
    }
    return TRUE;
}

ULONGLONG CFile::GetLength() const
{
    struct stat st
    {};
    if (m_hFile == hFileNull || ::fstat(m_hFile, &st) != 0) return 0;
    return static_cast<ULONGLONG>(st.st_size);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (m_hFile == hFileNull) return 0;
    int whence = nFrom == end ? SEEK_END : nFrom == current ? SEEK_CUR : SEEK_SET;
    off_t r = ::lseek(m_hFile, static_cast<off_t>(lOff), whence);
    return r < 0 ? 0 : static_cast<ULONGLONG>(r);
}

CString CFile::GetFileName() const
{
    int slash = m_strFileName.ReverseFind(L'/');
    return slash < 0 ? m_strFileName : m_strFileName.Mid(slash + 1);
}

CArchive::CArchive(CFile* pFile, UINT nMode, int, void*) : m_pFile(pFile), m_nMode(nMode & load) {}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (!m_pFile || !m_pFile->Write(lpBuf, nMax)) m_bFailed = TRUE;
}
