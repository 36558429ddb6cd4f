// Well-known folders.
#include "platform/core/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <mutex>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace qor {

namespace {

std::mutex g_injectedMutex;
std::optional<std::string> g_injectedHome;

SUserEntry ThisUser() { return UserEntryOf(::geteuid()); }

// Whether a group holds this user alone: the user's own group, named after the user, that lists no
// other member (the private group of a system that gives each user one).
bool IsOwnGroup(gid_t gid)
{
    const std::string me = ThisUser().name;
    if (me.empty()) return false;
    long size = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    group entry{};
    group* found = nullptr;
    int error = 0;
    while ((error = ::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (std::size_t{1} << 20))
        buffer.resize(buffer.size() * 2);
    if (error != 0 || !found || !found->gr_name || me != found->gr_name) return false;
    for (char** member = found->gr_mem; member && *member; ++member)
        if (me != *member) return false;
    return true;
}

// A folder nobody but this user and the system may write to.
bool OnlyOursToWrite(const struct stat& st)
{
    if (!S_ISDIR(st.st_mode)) return false;
    if (st.st_uid != ::geteuid() && st.st_uid != 0) return false;
    if (st.st_mode & S_IWOTH) return false;
    return !(st.st_mode & S_IWGRP) || IsOwnGroup(st.st_gid);
}

// Nobody else may rename or replace what stands in this folder: only this user and the system may write
// to it, or it has the sticky bit (as /tmp) and is the system's or this user's, so that only an entry's
// owner may move that entry.
bool HoldsItsEntries(const struct stat& st)
{
    return OnlyOursToWrite(st) ||
           (S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) && (st.st_uid == 0 || st.st_uid == ::geteuid()));
}

// A folder that is there, and every folder above it as the system resolves them, such that nobody else
// can swap the folder for one of theirs: a folder of ours in a folder that others may write to is not ours
// to keep files in.
bool OursAllTheWayUp(const std::string& folder)
{
    struct stat st
    {};
    if (::stat(folder.c_str(), &st) != 0 || !OnlyOursToWrite(st)) return false;
    char* resolved = ::realpath(folder.c_str(), nullptr);
    if (!resolved) return false;
    std::string at = resolved;
    std::free(resolved);
    while (at != "/")
    {
        const std::size_t slash = at.rfind('/');
        at = slash == 0 || slash == std::string::npos ? std::string("/") : at.substr(0, slash);
        if (::stat(at.c_str(), &st) != 0 || !HoldsItsEntries(st)) return false;
    }
    return true;
}

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool MayKeepFilesInPath(const std::string& folder)
{
    if (folder.empty() || folder[0] != '/') return false;
    // The nearest part that is there decides (links followed, as the folders will be made through them).
    std::string at = WithoutTrailingSlashes(folder);
    for (;;)
    {
        struct stat st
        {};
        if (::stat(at.c_str(), &st) == 0) return OursAllTheWayUp(at);
        if (errno != ENOENT || at == "/") return false;
        const std::size_t slash = at.rfind('/');
        at = WithoutTrailingSlashes(slash == 0 ? std::string("/") : at.substr(0, slash));
    }
}

std::string HomePath()
{
    std::string home;
    if (const char* set = std::getenv("HOME"); set && *set)
    {
        home = set;
    }
    else
    {
        std::lock_guard<std::mutex> lock(g_injectedMutex);
        home = g_injectedHome ? *g_injectedHome : ThisUser().home;
    }
    home = WithoutTrailingSlashes(home);
    const bool usable = !home.empty() && home[0] == '/' && OursAllTheWayUp(home);
    return usable ? home : std::string();
}

// An XDG folder: the variable's absolute path, else the folder below the home.
CString XdgFolder(const char* variable, const char* belowHome)
{
    std::string folder;
    if (const char* set = std::getenv(variable); set && set[0] == '/')
    {
        folder = WithoutTrailingSlashes(set);
    }
    else
    {
        const std::string home = HomePath();
        if (!home.empty()) folder = (home == "/" ? std::string() : home) + belowHome;
    }
    return MayKeepFilesInPath(folder) ? CString::FromUtf8(folder) : CString();
}

} // namespace

SUserEntry UserEntryOf(unsigned int uid)
{
    SUserEntry user;
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    while ((error = ::getpwuid_r(static_cast<uid_t>(uid), &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (std::size_t{1} << 20))
        buffer.resize(buffer.size() * 2);
    if (error == 0 && found)
    {
        user.name = found->pw_name ? found->pw_name : "";
        user.home = found->pw_dir ? found->pw_dir : "";
    }
    return user;
}

CString GetHomeFolder() { return CString::FromUtf8(HomePath()); }

CString GetAppDataFolder() { return XdgFolder("XDG_DATA_HOME", "/.local/share"); }

CString GetConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", "/.config"); }

bool MayKeepFilesIn(const CString& folder) { return MayKeepFilesInPath(folder.ToUtf8()); }

void InjectUserDatabaseHome(std::optional<std::string> home)
{
    std::lock_guard<std::mutex> lock(g_injectedMutex);
    g_injectedHome = std::move(home);
}

bool CreateFolders(const CString& path)
{
    std::error_code ec;
    std::filesystem::path p(path.ToUtf8());
    std::filesystem::create_directories(p, ec);
    return std::filesystem::is_directory(p, ec);
}

CString FolderOf(const CString& path)
{
    int slash = path.ReverseFind(L'/');
    return slash < 0 ? CString() : path.Left(slash);
}

bool SyncToDisk(const CString& path)
{
    const int fd = ::open(path.ToUtf8().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
    ::close(fd);
    return synced;
}

namespace {

// A folder this user owns and nobody else may enter or write.
bool IsOwnPrivateFolder(const char* path)
{
    struct stat st
    {};
    return path && path[0] == '/' && ::lstat(path, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

constexpr char kPrivatePrefix[] = "qor-private-";

struct PrivateFolder
{
    std::mutex mutex;
    std::string path;
    pid_t owner = 0;
    int lock = -1; // held (flock) for the run's life: a folder nobody holds is an ended run's
};

PrivateFolder& Private()
{
    static auto* folder = new PrivateFolder;
    return *folder;
}

void RemovePrivateFolder()
{
    PrivateFolder& folder = Private();
    std::lock_guard<std::mutex> lock(folder.mutex);
    if (folder.path.empty() || folder.owner != ::getpid()) return; // a forked child leaves its parent's
    std::error_code ec;
    std::filesystem::remove_all(folder.path, ec);
    folder.path.clear();
}

// Removes the private folders of runs that ended without removing theirs (killed, crashed): this
// user's, named so, entered by nobody else and held by no run; what they hold goes with them.
void RemoveEndedPrivateFolders(const std::string& base)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(base, ec))
    {
        const std::string name = entry.path().filename().string();
        if (name.size() != sizeof kPrivatePrefix - 1 + 6 || name.rfind(kPrivatePrefix, 0) != 0) continue;
        const std::string path = entry.path().string();
        if (!IsOwnPrivateFolder(path.c_str())) continue;
        const int dir = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (dir < 0) continue;
        if (::flock(dir, LOCK_EX | LOCK_NB) == 0)
        {
            for (const auto& inside : std::filesystem::directory_iterator(path, ec))
                ::unlinkat(dir, inside.path().filename().c_str(), 0);
            ::rmdir(path.c_str());
        }
        ::close(dir);
    }
}

} // namespace

CString PrivateTempBase()
{
    std::string base = "/tmp";
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); IsOwnPrivateFolder(runtime))
        base = runtime;
    else if (const char* tmp = std::getenv("TMPDIR"); tmp && tmp[0] == '/')
        base = tmp;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return CString::FromUtf8(base);
}

CString PrivateTempFolder()
{
    PrivateFolder& folder = Private();
    std::lock_guard<std::mutex> lock(folder.mutex);
    // Made again when it went (a cleaner of old temporary folders took it) or belongs to the parent
    // of a forked run.
    if (folder.path.empty() || folder.owner != ::getpid() || !IsOwnPrivateFolder(folder.path.c_str()))
    {
        const std::string base = PrivateTempBase().ToUtf8();
        RemoveEndedPrivateFolders(base);
        // Locked before it takes the name under which ended runs' folders are looked for.
        std::string made, path;
        int lock = -1;
        for (int tries = 0; tries < 100 && path.empty(); ++tries)
        {
            made = base + "/qor-making-XXXXXX";
            if (!::mkdtemp(made.data())) return CString();
            lock = ::open(made.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (lock >= 0 && ::flock(lock, LOCK_EX) == 0)
            {
                const std::string named = base + "/" + kPrivatePrefix + made.substr(made.size() - 6);
                if (::renameat2(AT_FDCWD, made.c_str(), AT_FDCWD, named.c_str(), RENAME_NOREPLACE) == 0) path = named;
            }
            if (path.empty())
            {
                const int error = errno;
                if (lock >= 0) ::close(lock);
                ::rmdir(made.c_str());
                errno = error;
                if (error != EEXIST) return CString();
            }
        }
        if (path.empty()) return CString();
        if (folder.lock >= 0) ::close(folder.lock);
        const bool first = folder.owner == 0;
        folder.lock = lock;
        folder.path = path;
        folder.owner = ::getpid();
        if (first) std::atexit(RemovePrivateFolder);
    }
    return CString::FromUtf8(folder.path);
}

} // namespace qor
