// Well-known folders.
#include "platform/core/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <string>
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

struct PrivateFolder
{
    std::mutex mutex;
    std::string path;
    pid_t owner = 0;
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

} // namespace

CString PrivateTempFolder()
{
    PrivateFolder& folder = Private();
    std::lock_guard<std::mutex> lock(folder.mutex);
    // Made again when it went (a cleaner of old temporary folders took it) or belongs to the parent
    // of a forked run.
    if (folder.path.empty() || folder.owner != ::getpid() || !IsOwnPrivateFolder(folder.path.c_str()))
    {
        std::string base = "/tmp";
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); IsOwnPrivateFolder(runtime))
            base = runtime;
        else if (const char* tmp = std::getenv("TMPDIR"); tmp && tmp[0] == '/')
            base = tmp;
        while (base.size() > 1 && base.back() == '/') base.pop_back();
        std::string pattern = base + "/qor-XXXXXX";
        if (!::mkdtemp(pattern.data())) return CString();
        const bool first = folder.owner == 0;
        folder.path = pattern;
        folder.owner = ::getpid();
        if (first) std::atexit(RemovePrivateFolder);
    }
    return CString::FromUtf8(folder.path);
}

} // namespace qor
