// Well-known folders. Paths use '/'.
#pragma once

#include "platform/core/CString.h"

#include <optional>
#include <string>

namespace qor {

// The user's home folder: $HOME when it is set, else the home the system's user database gives
// this (effective) user; empty when that folder is not usable: an absolute path to an existing
// folder that nobody but this user and the system may write to (see MayKeepFilesIn).
// A user's entry in the system's user database: its name and home folder (both empty when it has none).
struct SUserEntry
{
    std::string name;
    std::string home;
};
SUserEntry UserEntryOf(unsigned int uid);

CString GetHomeFolder();
// The user's application-data folder (the XDG data folder: $XDG_DATA_HOME when it is an absolute
// path, else <home>/.local/share), without a trailing '/'; empty when there is no home or the folder
// may not be used (MayKeepFilesIn). It need not exist yet. Works before any application object exists.
CString GetAppDataFolder();
// The user's configuration folder ($XDG_CONFIG_HOME when it is an absolute path, else
// <home>/.config), on the same terms.
CString GetConfigFolder();
// Whether the program may keep its files in a folder, making it (and the parents it lacks) when it is
// missing: an absolute path whose nearest part that exists is a folder of this user's or the system's
// that no other user may write to (not the shared /tmp), in folders that no other user may write to
// either, unless they have the sticky bit (as /tmp: only an entry's owner moves it), so that nobody else
// can have put a name or a link on the way, nor swap the folder for one of theirs. A folder writable by its group
// passes only when the group is this user's own (named after the user, with no other members).
bool MayKeepFilesIn(const CString& folder);
// Tests: the home folder the user database gives is this one ("": it gives none) until called
// with nothing.
void InjectUserDatabaseHome(std::optional<std::string> home);

// Creates a folder and its missing parents; true when it exists afterwards.
bool CreateFolders(const CString& path);

// The folder part of a path ("" when it has none).
CString FolderOf(const CString& path);
// Has the system write what it holds of a file or folder to the disk (after a write, and on the
// folder after a rename, so that a power cut leaves the old file or the new one, never an empty
// one); false when it could not (a file system that cannot sync counts as done).
bool SyncToDisk(const CString& path);

// A folder of this run's own that only this user may enter (0700, made by mkdtemp under
// $XDG_RUNTIME_DIR when that is this user's private folder, else under $TMPDIR or /tmp), for files
// that belong in no folder of the user's: nobody else can plant a name or a link in it. Made at the
// first call, removed with what it holds when the run ends (those runs that ended otherwise left go
// when the next is made); empty, with errno set, when it cannot be made.
CString PrivateTempFolder();
// The folder PrivateTempFolder makes its folder in (what a failure to make it names).
CString PrivateTempBase();

} // namespace qor
