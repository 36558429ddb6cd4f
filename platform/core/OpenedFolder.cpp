// Folders opened by walking their paths part by part, each link read and followed here under the rule for
// shared folders, never left to the system.
#include "platform/core/OpenedFolder.h"

#include <cerrno>
#include <climits>
#include <deque>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qor {

namespace {

// As many links as the system follows in one path before it gives up (ELOOP).
constexpr int kMostLinks = 40;

// Puts the parts of a path (without empty ones and ".") before those still to walk, in their order.
void PushParts(std::deque<std::string>& parts, const std::string& path)
{
    std::deque<std::string> own;
    for (std::size_t from = 0; from <= path.size();)
    {
        std::size_t to = path.find('/', from);
        if (to == std::string::npos) to = path.size();
        std::string part = path.substr(from, to - from);
        if (!part.empty() && part != ".") own.push_back(std::move(part));
        from = to + 1;
    }
    parts.insert(parts.begin(), own.begin(), own.end());
}

// A folder's path as walked and a name in it ("" is the current folder).
std::string Joined(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The folder's path one up. Every part of a walked path is a folder, never a link, so that the last part
// goes (unless it is itself a way up).
std::string Up(const std::string& folder)
{
    const std::size_t slash = folder.rfind('/');
    const std::string last = slash == std::string::npos ? folder : folder.substr(slash + 1);
    if (folder.empty() || last == "..") return Joined(folder, "..");
    if (folder == "/") return folder;
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : folder.substr(0, slash);
}

// Closes a descriptor keeping errno as it was.
void CloseKeepingError(int fd)
{
    const int error = errno;
    if (fd >= 0) ::close(fd);
    errno = error;
}

} // namespace

COpenedFolder::~COpenedFolder() { Close(); }

void COpenedFolder::Close()
{
    CloseKeepingError(m_nFd);
    m_nFd = -1;
}

bool COpenedFolder::Open(const CString& path)
{
    Close();
    m_sName.clear();
    m_sFolder.clear();
    m_links = SFollowedLinks();
    m_links.target = path;
    m_bFollowed = false;
    if (HasUndecodedBytes(path))
    {
        errno = EILSEQ; // as text it would name another file
        return false;
    }
    const std::string bytes = path.ToUtf8();
    if (bytes.empty())
    {
        errno = ENOENT;
        return false;
    }
    std::deque<std::string> parts;
    PushParts(parts, bytes);
    const std::string last = bytes.substr(bytes.rfind('/') + 1);
    if (parts.empty() || last.empty() || last == "." || last == "..")
    {
        errno = EISDIR;
        return false;
    }
    std::string folder = bytes[0] == '/' ? "/" : "";
    int fd = ::open(folder.empty() ? "." : "/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    int links = 0;
    while (fd >= 0)
    {
        const std::string part = std::move(parts.front());
        parts.pop_front();
        const bool lastPart = parts.empty();
        if (part == "..")
        {
            // A link's own target may end in one: it names a folder.
            const int up = lastPart ? (errno = EISDIR, -1) : ::openat(fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
            CloseKeepingError(fd);
            fd = up;
            folder = Up(folder);
            continue;
        }
        const int entry = ::openat(fd, part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        struct stat st
        {};
        if (entry < 0 || ::fstat(entry, &st) != 0)
        {
            CloseKeepingError(entry);
            if (errno == ENOENT && lastPart)
                st.st_mode = 0; // a new file: named, not there yet
            else
                break;
        }
        if (lastPart && !S_ISLNK(st.st_mode))
        {
            CloseKeepingError(entry);
            m_nFd = fd;
            m_sName = part;
            m_sFolder = folder.empty() ? "." : folder;
            m_links.target = DecodeFileName(Joined(folder, part));
            return true;
        }
        if (S_ISLNK(st.st_mode))
        {
            // Looked at in the folder that holds it, and read through the descriptor that was looked at.
            struct stat holder
            {};
            const bool looked = ::fstat(fd, &holder) == 0;
            if (looked && !SystemFollowsLink(st.st_uid, holder.st_uid, holder.st_mode))
            {
                m_links = NotFollowedLink(DecodeFileName(Joined(folder, part)), st.st_uid);
                CloseKeepingError(entry);
                errno = EACCES;
                break;
            }
            std::string to(PATH_MAX, '\0');
            const ssize_t n = !looked                ? -1
                              : ++links > kMostLinks ? (errno = ELOOP, -1)
                                                     : ::readlinkat(entry, "", to.data(), to.size());
            CloseKeepingError(entry);
            if (n <= 0 || n >= static_cast<ssize_t>(to.size()))
            {
                if (n >= 0) errno = n == 0 ? ENOENT : ENAMETOOLONG;
                break;
            }
            to.resize(static_cast<std::size_t>(n));
            m_bFollowed = true;
            if (to[0] == '/')
            {
                CloseKeepingError(fd);
                fd = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
                folder.assign(1, '/'); // (GCC 12 takes the assignment of "/" for an overlapping copy)
            }
            PushParts(parts, to);
            if (parts.empty()) // a link to the root, or to its own folder, at the end: a folder
            {
                errno = EISDIR;
                break;
            }
            continue;
        }
        if (!S_ISDIR(st.st_mode))
        {
            CloseKeepingError(entry);
            errno = ENOTDIR;
            break;
        }
        CloseKeepingError(fd);
        fd = entry;
        folder = Joined(folder, part);
    }
    CloseKeepingError(fd);
    return false;
}

} // namespace qor
