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

} // namespace qor
