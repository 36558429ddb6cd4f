// The checks made before a file is read or replaced: its kind, and what the system lets this user do.
#include "platform/core/FileChecks.h"
#include "platform/core/OpenedFolder.h"
#include "platform/core/Paths.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>

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

// The length of the UTF-8 character at the start of bytes, 0 when none starts there (a stray byte,
// a character cut short, a longer form than needed, a surrogate or a value past U+10FFFF), and its
// value.
size_t Utf8Character(std::string_view bytes, char32_t& value)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    char32_t lowest = 0;
    if (lead < 0x80)
    {
        value = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0)
    {
        length = 2;
        lowest = 0x80;
        value = lead & 0x1F;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        length = 3;
        lowest = 0x800;
        value = lead & 0x0F;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        length = 4;
        lowest = 0x10000;
        value = lead & 0x07;
    }
    else
    {
        return 0;
    }
    if (bytes.size() < length) return 0;
    for (size_t i = 1; i < length; ++i)
    {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

constexpr wchar_t kMarkBase = 0xDC00;

// A mark DecodeFileName leaves for a byte that is no part of a UTF-8 character (never below 0x80).
bool IsMark(wchar_t c) { return c >= kMarkBase + 0x80 && c <= kMarkBase + 0xFF; }

// A user's name from the user database, or the number when it has none.
CString UserName(uid_t uid)
{
    const std::string name = UserEntryOf(uid).name;
    return CString::FromUtf8(name.empty() ? std::to_string(uid) : name);
}

CString NotFollowed(const CString& owner)
{
    return L"a link of another user (" + owner + L") in a shared folder: it is not followed";
}

} // namespace

CString SFollowedLinks::Reason() const { return L"it is " + NotFollowed(owner); }

CString SFollowedLinks::Refusal() const { return ShownPath(refusedLink) + L" is " + NotFollowed(owner); }

bool SystemFollowsLink(unsigned linkOwner, unsigned folderOwner, unsigned folderMode)
{
    // The rule of the kernel's protected_symlinks: a link in a folder everyone may write to that has the
    // sticky bit is followed only by its owner, or when the folder's owner owns it too.
    const mode_t shared = S_ISVTX | S_IWOTH;
    return linkOwner == ::geteuid() || (folderMode & shared) != shared || linkOwner == folderOwner;
}

SFollowedLinks NotFollowedLink(const CString& link, unsigned owner)
{
    SFollowedLinks refused;
    refused.target = refused.refusedLink = link;
    refused.owner = UserName(owner);
    return refused;
}

SFollowedLinks FollowLinks(const CString& path)
{
    SFollowedLinks followed;
    followed.target = path;
    if (HasUndecodedBytes(path)) return followed; // as text it would name another file
    // A path whose links all stayed where they were is kept as it was given.
    COpenedFolder folder;
    if (folder.Open(path) ? folder.FollowedALink() : folder.Links().Refused()) followed = folder.Links();
    return followed;
}

CString DecodeFileName(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    while (!bytes.empty())
    {
        char32_t value = 0;
        size_t length = Utf8Character(bytes, value);
        if (length == 0)
        {
            value = kMarkBase + static_cast<unsigned char>(bytes[0]);
            length = 1;
        }
        text += static_cast<wchar_t>(value);
        bytes.remove_prefix(length);
    }
    return CString(std::move(text));
}

bool IsUtf8(std::string_view bytes)
{
    while (!bytes.empty())
    {
        char32_t value = 0;
        const size_t length = Utf8Character(bytes, value);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

bool HasUndecodedBytes(const CString& path)
{
    for (int i = 0; i < path.GetLength(); ++i)
        if (IsMark(path[i])) return true;
    return false;
}

CString NotUtf8NameReason() { return L"its name is not valid UTF-8 text; rename the file and try again"; }

CString ShownPath(const CString& path)
{
    CString shown = path;
    for (int i = 0; i < shown.GetLength(); ++i)
        if (IsMark(shown[i])) shown.SetAt(i, L'\xFFFD');
    return shown;
}

int OpenRegularFile(const CString& path, CString& reason)
{
    reason.Empty();
    if (HasUndecodedBytes(path))
    {
        reason = NotUtf8NameReason();
        return -1;
    }
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

bool ReadRegularFile(const CString& path, std::string& bytes, std::size_t limit, CString& reason)
{
    bytes.clear();
    const int fd = OpenRegularFile(path, reason);
    if (fd < 0) return false;
    char buffer[65536];
    bool read = true;
    while (read && bytes.size() <= limit)
    {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit + 1 - bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        read = n >= 0;
        if (n <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return read;
}

bool FileHolds(const CString& path, const std::string& bytes)
{
    std::string held;
    CString refused;
    return ReadRegularFile(path, held, bytes.size(), refused) && held == bytes;
}

CString NotARegularFileIn(int folder, const std::string& name)
{
    struct stat st
    {};
    return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? KindReason(st.st_mode) : CString();
}

CString NotARegularFile(const CString& path)
{
    if (HasUndecodedBytes(path)) return NotUtf8NameReason();
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
