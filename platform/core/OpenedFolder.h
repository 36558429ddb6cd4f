// A folder held open by what its path named when it was walked, for making and renaming files in it.
#pragma once

#include "platform/core/FileChecks.h"

#include <string>

namespace qor {

// The folder a path's file is in, opened by walking the path's parts one by one (never by its name as a
// whole): each link on the way, the last part's too, is read and followed here, under the rule of FollowLinks,
// so that the folder held is the one the check allowed, whatever is re-pointed afterwards. A file made
// and renamed relative to it (openat, renameat) goes where the check said.
class COpenedFolder
{
public:
    COpenedFolder() = default;
    ~COpenedFolder();
    COpenedFolder(const COpenedFolder&) = delete;
    COpenedFolder& operator=(const COpenedFolder&) = delete;

    // False with errno set when a part cannot be looked at or links go round (ELOOP), or with EACCES and
    // Links().Refused() when another user's link was refused; a path ending in a folder gives EISDIR.
    bool Open(const CString& path);
    void Close();
    // The folder, opened for paths only (O_PATH): a folder descriptor for openat and the like; -1 when closed.
    int Descriptor() const { return m_nFd; }
    // The name of the last part in it once its links were followed (it may name nothing yet).
    const std::string& Name() const { return m_sName; }
    // The folder's path as walked, links replaced by what they name ("." for the current folder).
    const std::string& FolderPath() const { return m_sFolder; }
    // What was followed: target is the folder's path + the name; a refused link as FollowLinks gives it.
    const SFollowedLinks& Links() const { return m_links; }
    // True when a link was followed on the way.
    bool FollowedALink() const { return m_bFollowed; }

private:
    int m_nFd = -1;
    std::string m_sName;
    std::string m_sFolder;
    SFollowedLinks m_links;
    bool m_bFollowed = false;
};

} // namespace qor
