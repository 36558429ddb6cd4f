// Well-known folders. Paths use '/'.
#pragma once

#include "platform/core/CString.h"

namespace qor {

// The user's application-data folder (the XDG data folder: $XDG_DATA_HOME, or
// $HOME/.local/share), without a trailing '/'. Works before any application object exists.
CString GetAppDataFolder();

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
