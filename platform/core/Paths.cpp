// Well-known folders.
#include "platform/core/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qor {

CString GetAppDataFolder()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && xdg[0] == '/') return CString(xdg);
    const char* home = std::getenv("HOME");
    std::string base = (home && *home) ? home : "/tmp";
    return CString((base + "/.local/share").c_str());
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
