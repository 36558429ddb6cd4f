// Well-known folders.
#include "platform/core/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
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

} // namespace qor
