// Temporary files that replace a file whole, and the removal of those a run left when it ended.
#include "platform/core/ReplacingFile.h"

#include "platform/core/Paths.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qor {

namespace {

namespace fs = std::filesystem;

constexpr char kMark[] = ".qortmp-";
constexpr std::size_t kRandomChars = 6;
constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::atomic<int> g_nOpenFault{0};

std::string FolderPart(const std::string& path)
{
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

std::string RandomName(const std::string& target)
{
    static thread_local std::mt19937_64 rng(std::random_device{}() ^ static_cast<std::uint64_t>(::getpid()));
    std::string name = FolderPart(target) + "/." + fs::path(target).filename().string() + kMark;
    for (std::size_t i = 0; i < kRandomChars; ++i) name += kChars[rng() % (sizeof kChars - 1)];
    return name;
}

// An unnamed file in the folder, locked, then given its name: no other run ever sees it named and
// unlocked. File systems without unnamed files get a named one, locked at once.
int MakeLocked(const std::string& target, mode_t mode, std::string& name)
{
    const int fd = ::open(FolderPart(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd >= 0)
    {
        ::flock(fd, LOCK_EX);
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int tries = 0; tries < 100; ++tries)
        {
            name = RandomName(target);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return fd;
            if (errno != EEXIST) break;
        }
        const int error = errno;
        ::close(fd);
        if (error != ENOENT && error != EPERM && error != EXDEV) // else /proc is missing: a named file
        {
            errno = error;
            return -1;
        }
    }
    else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
    {
        return -1;
    }
    for (int tries = 0; tries < 100; ++tries)
    {
        name = RandomName(target);
        const int named = ::open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, mode);
        if (named >= 0)
        {
            ::flock(named, LOCK_EX);
            return named;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

// Removes the file when no run holds it: its writer ended without putting it in place.
bool RemoveIfEnded(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    bool removed = false;
    struct stat held
    {
    }, named{};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        ::lstat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev)
        removed = ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

int RemoveMatching(const std::string& folder, const std::string& targetName)
{
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec))
        if (CReplacingFile::IsTemporaryName(entry.path().filename().string(), targetName) &&
            RemoveIfEnded(entry.path()))
            ++removed;
    return removed;
}

} // namespace

CReplacingFile::~CReplacingFile() { Discard(); }

bool CReplacingFile::Open(const CString& target)
{
    Discard();
    if (const int fault = g_nOpenFault.load())
    {
        errno = fault;
        return false;
    }
    m_sTarget = target.ToUtf8();
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat old
    {};
    const bool replacing = ::stat(m_sTarget.c_str(), &old) == 0;
    const mode_t mode = replacing ? (old.st_mode & 07777) : (0666 & ~mask);
    m_nFd = MakeLocked(m_sTarget, 0600, m_sName);
    if (m_nFd < 0)
    {
        m_sName.clear();
        return false;
    }
    // The old file's group, where the system lets this user give it (a group the user belongs to;
    // else the file keeps the user's own), before its permissions: a change of group takes a
    // set-group bit away.
    if (replacing && ::fchown(m_nFd, static_cast<uid_t>(-1), old.st_gid) != 0) errno = 0;
    ::fchmod(m_nFd, mode);
    return true;
}

bool CReplacingFile::Commit()
{
    if (m_nFd < 0)
    {
        errno = EBADF;
        return false;
    }
    if (::fsync(m_nFd) != 0 && errno != EINVAL && errno != EROFS)
    {
        const int error = errno;
        Discard();
        errno = error;
        return false;
    }
    if (::rename(m_sName.c_str(), m_sTarget.c_str()) != 0)
    {
        const int error = errno;
        Discard();
        errno = error;
        return false;
    }
    m_sName.clear();
    ::close(m_nFd); // the lock goes with it, once the name is gone
    m_nFd = -1;
    SyncToDisk(CString::FromUtf8(FolderPart(m_sTarget)));
    return true;
}

void CReplacingFile::Discard()
{
    if (!m_sName.empty()) ::unlink(m_sName.c_str());
    m_sName.clear();
    if (m_nFd >= 0) ::close(m_nFd);
    m_nFd = -1;
}

int CReplacingFile::RemoveLeftovers(const CString& target)
{
    const std::string path = target.ToUtf8();
    return RemoveMatching(FolderPart(path), fs::path(path).filename().string());
}

int CReplacingFile::RemoveLeftoversIn(const CString& folder) { return RemoveMatching(folder.ToUtf8(), std::string()); }

bool CReplacingFile::IsTemporaryName(const std::string& name, const std::string& target)
{
    // "." + the file's name + the mark + six letters or digits.
    const std::size_t mark = sizeof kMark - 1;
    if (name.size() < 1 + 1 + mark + kRandomChars || name[0] != '.') return false;
    const std::size_t markAt = name.size() - kRandomChars - mark;
    if (name.compare(markAt, mark, kMark) != 0) return false;
    for (std::size_t i = name.size() - kRandomChars; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return target.empty() || (markAt - 1 == target.size() && name.compare(1, markAt - 1, target) == 0);
}

void CReplacingFile::InjectOpenFault(int error) { g_nOpenFault = error; }

} // namespace qor
