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
#include <vector>

#include <dirent.h>

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
std::atomic<bool> g_bUnnamed{true};

std::mutex& HookMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

using NameHookFunction = std::function<void(const std::string&)>;

NameHookFunction& NameHook()
{
    static auto* hook = new NameHookFunction;
    return *hook;
}

NameHookFunction& FolderHook()
{
    static auto* hook = new NameHookFunction;
    return *hook;
}

std::function<int(const std::string&)>& SyncHook()
{
    static auto* hook = new std::function<int(const std::string&)>;
    return *hook;
}

// Calls a test hook, taken under the lock and called outside it.
void CallHook(NameHookFunction& (*which)(), const std::string& path)
{
    NameHookFunction hook;
    {
        std::lock_guard<std::mutex> lock(HookMutex());
        hook = which();
    }
    if (hook) hook(path);
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

// A fresh temporary name for the file of this name, shown to the test hook with its folder's path.
std::string RandomName(const COpenedFolder& folder)
{
    static thread_local std::mt19937_64 rng(std::random_device{}() ^ static_cast<std::uint64_t>(::getpid()));
    std::string name = kMark + Digest(folder.Name()) + "-";
    for (std::size_t i = 0; i < kRandomChars; ++i) name += kChars[rng() % (sizeof kChars - 1)];
    CallHook(NameHook, folder.FolderPath() + "/" + name);
    return name;
}

// The descriptor's entry in /proc, when it opens the file itself.
std::string ProcEntry(int fd)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    struct stat viaProc
    {
    }, held{};
    if (::stat(self.c_str(), &viaProc) == 0 && ::fstat(fd, &held) == 0 && viaProc.st_ino == held.st_ino &&
        viaProc.st_dev == held.st_dev)
        return self;
    return std::string();
}

// A file for the writing, in the folder, locked: unnamed where the file system allows it and the
// descriptor can give it a name later (through /proc); else named at once (name), under a name nobody had.
int MakeLocked(const COpenedFolder& folder, std::string& name)
{
    name.clear();
    if (g_bUnnamed)
    {
        const int fd = ::openat(folder.Descriptor(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0 && !ProcEntry(fd).empty())
        {
            ::flock(fd, LOCK_EX);
            return fd;
        }
        if (fd >= 0)
            ::close(fd);
        else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return -1;
    }
    for (int tries = 0; tries < 100; ++tries)
    {
        name = RandomName(folder);
        const int named =
            ::openat(folder.Descriptor(), name.c_str(), O_CREAT | O_EXCL | O_NOFOLLOW | O_RDWR | O_CLOEXEC, 0600);
        if (named >= 0)
        {
            // Another run clearing the folder may have taken it for an ended run's before it was locked:
            // once locked, it is still this file under that name, or another is made.
            struct stat held
            {
            }, there{};
            ::flock(named, LOCK_EX);
            if (::fstat(named, &held) == 0 &&
                ::fstatat(folder.Descriptor(), name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 &&
                held.st_ino == there.st_ino && held.st_dev == there.st_dev)
                return named;
            ::close(named);
            continue;
        }
        if (errno != EEXIST) break;
    }
    name.clear();
    return -1;
}

// Gives the unnamed file a name in its folder nobody had, the one chosen first when nobody has it:
// false, with errno, when none could be given.
bool GiveName(int fd, const COpenedFolder& folder, const std::string& first, std::string& name)
{
    const std::string self = ProcEntry(fd);
    for (int tries = 0; tries < 100; ++tries)
    {
        const std::string chosen = tries == 0 ? first : RandomName(folder);
        if (::linkat(AT_FDCWD, self.c_str(), folder.Descriptor(), chosen.c_str(), AT_SYMLINK_FOLLOW) == 0)
        {
            name = chosen;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// Removes the file when it is this user's and no run holds it: its writer ended without putting it in
// place. Another user's file in a shared folder is theirs to clear, whatever this user may remove.
bool RemoveIfEnded(int folder, const std::string& name)
{
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    bool removed = false;
    struct stat held
    {
    }, named{};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        held.st_uid == ::geteuid() && ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_ino == held.st_ino && named.st_dev == held.st_dev)
        removed = ::unlinkat(folder, name.c_str(), 0) == 0;
    ::close(fd);
    return removed;
}

// The ended runs' temporary files in an open folder (of targetName's file when not empty) go; their count.
int RemoveMatching(int folder, const std::string& targetName)
{
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!dir)
    {
        if (listed >= 0) ::close(listed);
        return 0;
    }
    std::vector<std::string> found;
    while (const dirent* entry = ::readdir(dir))
        if (CReplacingFile::IsTemporaryName(entry->d_name, targetName)) found.emplace_back(entry->d_name);
    ::closedir(dir);
    int removed = 0;
    for (const std::string& name : found) removed += RemoveIfEnded(folder, name) ? 1 : 0;
    return removed;
}

int RemoveMatchingIn(const std::string& folder, const std::string& targetName)
{
    // The folder is reached as a save reaches it: never through another user's link in a shared folder.
    COpenedFolder opened;
    const std::string anyName = "-";
    if (!opened.Open(CString::FromUtf8(folder.empty() ? anyName : folder + "/" + anyName))) return 0;
    return RemoveMatching(opened.Descriptor(), targetName);
}

} // namespace

CReplacingFile::~CReplacingFile() { Discard(); }

bool CReplacingFile::Refuse(const CString& path, const CString& reason, int error)
{
    Discard();
    m_sReasonPath = path;
    m_sReason = reason;
    errno = error;
    return false;
}

std::string CReplacingFile::PathOf(const std::string& name) const { return m_folder.FolderPath() + "/" + name; }

bool CReplacingFile::Open(const CString& target)
{
    Discard();
    m_sReason.Empty();
    m_sReasonPath.Empty();
    if (const int fault = g_nOpenFault.load())
    {
        errno = fault;
        return false;
    }
    if (!m_folder.Open(target))
    {
        const SFollowedLinks& links = m_folder.Links();
        if (links.Refused()) return Refuse(links.refusedLink, links.Reason(), EACCES);
        if (errno == EILSEQ) return Refuse(target, NotUtf8NameReason(), EINVAL);
        return false;
    }
    CallHook(FolderHook, target.ToUtf8());
    const int folder = m_folder.Descriptor();
    const char* name = m_folder.Name().c_str();
    struct stat old
    {};
    const bool replacing = ::fstatat(folder, name, &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (const CString kind = NotARegularFileIn(folder, m_folder.Name()); replacing && !kind.IsEmpty())
        return Refuse(m_folder.Links().target, kind, S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
    // What ended runs left in this folder goes (never a file another run still writes).
    RemoveMatching(folder, std::string());
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = replacing ? (old.st_mode & 07777) : (0666 & ~mask);
    m_nFd = MakeLocked(m_folder, m_sName);
    if (m_nFd < 0)
    {
        const int error = errno;
        Discard();
        errno = error;
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
    // The file's sync (seen by the hook under the name it has, or the first it is to take), then its name
    // where it had none: a run killed while the disk takes its time leaves nothing.
    const std::string chosen = m_sName.empty() ? RandomName(m_folder) : m_sName;
    const int hooked = SyncHookError(PathOf(chosen));
    if (hooked != 0 || (::fsync(m_nFd) != 0 && errno != EINVAL && errno != EROFS))
    {
        const int error = hooked != 0 ? hooked : errno;
        Discard();
        errno = error;
        return false;
    }
    if (m_sName.empty() && !GiveName(m_nFd, m_folder, chosen, m_sName))
    {
        const int error = errno;
        Discard();
        errno = error;
        return false;
    }
    // What stands at the name now is looked at again: only a file is replaced.
    const int folder = m_folder.Descriptor();
    if (const CString kind = NotARegularFileIn(folder, m_folder.Name()); !kind.IsEmpty())
        return Refuse(m_folder.Links().target, kind, EINVAL);
    if (::renameat(folder, m_sName.c_str(), folder, m_folder.Name().c_str()) != 0)
    {
        const int error = errno;
        Discard();
        errno = error;
        return false;
    }
    m_sName.clear();
    ::close(m_nFd); // the lock goes with it, once the name is gone
    m_nFd = -1;
    SyncHookError(m_folder.FolderPath());
    if (const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); listed >= 0)
    {
        ::fsync(listed);
        ::close(listed);
    }
    m_folder.Close();
    return true;
}

void CReplacingFile::Discard()
{
    if (!m_sName.empty() && m_folder.Descriptor() >= 0) ::unlinkat(m_folder.Descriptor(), m_sName.c_str(), 0);
    m_sName.clear();
    if (m_nFd >= 0) ::close(m_nFd);
    m_nFd = -1;
    m_folder.Close();
}

int CReplacingFile::RemoveLeftovers(const CString& target)
{
    const std::string path = target.ToUtf8();
    return RemoveMatchingIn(FolderPart(path), fs::path(path).filename().string());
}

int CReplacingFile::RemoveLeftoversIn(const CString& folder)
{
    return RemoveMatchingIn(folder.ToUtf8(), std::string());
}

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
    const std::string self = ProcEntry(m_nFd);
    return CString::FromUtf8(self.empty() ? PathOf(m_sName) : self);
}

void CReplacingFile::InjectOpenFault(int error) { g_nOpenFault = error; }

void CReplacingFile::SetNameHook(std::function<void(const std::string&)> hook)
{
    std::lock_guard<std::mutex> lock(HookMutex());
    NameHook() = std::move(hook);
}

void CReplacingFile::SetFolderHook(std::function<void(const std::string&)> hook)
{
    std::lock_guard<std::mutex> lock(HookMutex());
    FolderHook() = std::move(hook);
}

void CReplacingFile::UseUnnamedFiles(bool use) { g_bUnnamed = use; }

void CReplacingFile::SetSyncHook(std::function<int(const std::string&)> hook)
{
    std::lock_guard<std::mutex> lock(HookMutex());
    SyncHook() = std::move(hook);
}

} // namespace qor
