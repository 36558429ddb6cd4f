// The checks made before a file is read or replaced: its kind, and what the system lets this user do.
#include "platform/core/FileChecks.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qor {

namespace {

CString KindReason(mode_t mode)
{
    if (S_ISREG(mode)) return CString();
    if (S_ISDIR(mode)) return L"it is a folder, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return L"it is a device, not a file";
    if (S_ISFIFO(mode)) return L"it is a pipe, not a file";
    if (S_ISSOCK(mode)) return L"it is a socket, not a file";
    return L"it is not a regular file";
}

} // namespace

int OpenRegularFile(const CString& path, CString& reason)
{
    reason.Empty();
    const std::string name = path.ToUtf8();
    // Looked at before it is opened (a device is not opened at all), and again once open: the path
    // may have changed in between.
    struct stat st
    {};
    if (::stat(name.c_str(), &st) != 0) return -1;
    reason = KindReason(st.st_mode);
    if (!reason.IsEmpty()) return -1;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !(reason = KindReason(st.st_mode)).IsEmpty())
    {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

CString NotARegularFile(const CString& path)
{
    struct stat st
    {};
    return ::stat(path.ToUtf8().c_str(), &st) == 0 ? KindReason(st.st_mode) : CString();
}

bool MayNotWrite(const CString& path)
{
    const std::string name = path.ToUtf8();
    struct stat st
    {};
    if (::stat(name.c_str(), &st) != 0) return false;
    return (st.st_mode & S_IWUSR) == 0 || ::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0;
}

SReplacedFile WhatAReplaceChanges(const CString& path)
{
    SReplacedFile changes;
    struct stat st
    {};
    if (::stat(path.ToUtf8().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return changes;
    changes.bOtherOwner = st.st_uid != ::geteuid();
    changes.bOtherLinks = st.st_nlink > 1;
    return changes;
}

} // namespace qor
