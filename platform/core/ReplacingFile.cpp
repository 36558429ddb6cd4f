// Temporary files that replace a file whole, and the removal of those a run left when it ended.
#include "platform/core/ReplacingFile.h"

#include "platform/core/Paths.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qor {

namespace {

namespace fs = std::filesystem;

// A temporary file is named ".qortmp-" + 8 hex digits of its file's name + "-" + 6 random letters and
// digits: as long whatever the file's name (a name of 255 bytes still gets one), the file it is made
// for still told by its digits. Earlier runs named it "." + the file's name + ".qortmp-" + 6 random
// letters and digits; theirs are still recognised and cleared away.
constexpr char kMark[] = ".qortmp-";
constexpr std::size_t kMarkChars = sizeof kMark - 1;
constexpr std::size_t kDigestChars = 8;
constexpr std::size_t kRandomChars = 6;
constexpr std::size_t kNameChars = kMarkChars + kDigestChars + 1 + kRandomChars;
constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::atomic<int> g_nOpenFault{0};

std::mutex& HookMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::function<void(const std::string&)>& NameHook()
{
    static auto* hook = new std::function<void(const std::string&)>;
    return *hook;
}

std::function<int(const std::string&)>& SyncHook()
{
    static auto* hook = new std::function<int(const std::string&)>;
    return *hook;
}

// What the test hook says of the sync of this file or folder: 0, or the error it is to fail with.
int SyncHookError(const std::string& path)
{
    std::function<int(const std::string&)> hook;
    {
        std::lock_guard<std::mutex> lock(HookMutex());
        hook = SyncHook();
    }
    return hook ? hook(path) : 0;
}

std::string FolderPart(const std::string& path)
{
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// FNV-1a over the file's name, as 8 hex digits.
std::string Digest(const std::string& fileName)
{
    std::uint32_t hash = 2166136261u;
    for (const unsigned char c : fileName) hash = (hash ^ c) * 16777619u;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string digits(kDigestChars, '0');
    for (std::size_t i = kDigestChars; i-- > 0; hash >>= 4) digits[i] = kHex[hash & 0xF];
    return digits;
}

bool IsRandomPart(const std::string& name, std::size_t from)
{
    for (std::size_t i = from; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return name.size() - from == kRandomChars;
}

std::string RandomName(const std::string& target)
{
    static thread_local std::mt19937_64 rng(std::random_device{}() ^ static_cast<std::uint64_t>(::getpid()));
    std::string name = FolderPart(target) + "/" + kMark + Digest(fs::path(target).filename().string()) + "-";
    for (std::size_t i = 0; i < kRandomChars; ++i) name += kChars[rng() % (sizeof kChars - 1)];
    std::lock_guard<std::mutex> lock(HookMutex());
    if (NameHook()) NameHook()(name);
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
        const int named = ::open(name.c_str(), O_CREAT | O_EXCL | O_NOFOLLOW | O_RDWR | O_CLOEXEC, mode);
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

bool CReplacingFile::Write(const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    for (std::size_t done = 0; done < size;)
    {
        const ssize_t n = m_nFd < 0 ? (errno = EBADF, -1) : ::write(m_nFd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
        {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool CReplacingFile::ReplaceWith(const CString& target, const std::string& bytes)
{
    CReplacingFile file;
    const bool written = file.Open(target) && file.Write(bytes.data(), bytes.size()) && file.Commit();
    const int error = errno;
    file.Discard();
    errno = error; // the reason of the failure, not of the clearing up
    return written;
}

bool CReplacingFile::Commit()
{
    if (m_nFd < 0)
    {
        errno = EBADF;
        return false;
    }
    const int hooked = SyncHookError(m_sName);
    if (hooked != 0 || (::fsync(m_nFd) != 0 && errno != EINVAL && errno != EROFS))
    {
        const int error = hooked != 0 ? hooked : errno;
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
    const std::string folder = FolderPart(m_sTarget);
    SyncHookError(folder);
    SyncToDisk(CString::FromUtf8(folder));
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
    // The mark + the digest of the file's name + "-" + six letters or digits.
    if (name.size() == kNameChars && name.compare(0, kMarkChars, kMark) == 0 &&
        name[kMarkChars + kDigestChars] == '-' && IsRandomPart(name, kNameChars - kRandomChars))
    {
        for (std::size_t i = kMarkChars; i < kMarkChars + kDigestChars; ++i)
            if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
        return target.empty() || name.compare(kMarkChars, kDigestChars, Digest(target)) == 0;
    }
    // Earlier runs': "." + the file's name + the mark + six letters or digits.
    if (name.size() < 1 + 1 + kMarkChars + kRandomChars || name[0] != '.') return false;
    const std::size_t markAt = name.size() - kRandomChars - kMarkChars;
    if (name.compare(markAt, kMarkChars, kMark) != 0 || !IsRandomPart(name, name.size() - kRandomChars)) return false;
    return target.empty() || (markAt - 1 == target.size() && name.compare(1, markAt - 1, target) == 0);
}

CString CReplacingFile::WritablePath() const
{
    if (m_nFd < 0) return CString();
    // The descriptor's own entry opens this very file, whatever has since become of its name.
    const std::string self = "/proc/self/fd/" + std::to_string(m_nFd);
    struct stat viaProc
    {
    }, held{};
    if (::stat(self.c_str(), &viaProc) == 0 && ::fstat(m_nFd, &held) == 0 && viaProc.st_ino == held.st_ino &&
        viaProc.st_dev == held.st_dev)
        return CString::FromUtf8(self);
    return CString::FromUtf8(m_sName);
}

void CReplacingFile::InjectOpenFault(int error) { g_nOpenFault = error; }

void CReplacingFile::SetNameHook(std::function<void(const std::string&)> hook)
{
    std::lock_guard<std::mutex> lock(HookMutex());
    NameHook() = std::move(hook);
}

void CReplacingFile::SetSyncHook(std::function<int(const std::string&)> hook)
{
    std::lock_guard<std::mutex> lock(HookMutex());
    SyncHook() = std::move(hook);
}

} // namespace qor
