// What a path names once its links are followed, and what this user may do with it as the system
// decides it: the checks made before a file is read or replaced.
#pragma once

#include "platform/core/CString.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace qor {

// A file name as the system gives it (a command line, a dropped file's address), as text. A name that
// is not valid UTF-8 has no text of its own: each byte of it that is no part of a UTF-8 character is
// kept as a mark (U+DC00 + the byte), so that it is never taken for the name with U+FFFD in place of
// those bytes, another file that may exist too. No file of a marked name is read or replaced
// (OpenRegularFile and NotARegularFile refuse it).
CString DecodeFileName(std::string_view bytes);
bool IsUtf8(std::string_view bytes);
// True when a path holds such marks.
bool HasUndecodedBytes(const CString& path);
// Why a name that is not valid UTF-8 is refused.
CString NotUtf8NameReason();
// A path as a message shows it: each mark as U+FFFD.
CString ShownPath(const CString& path);

// Opens a file for reading only when it is a regular file (links followed); never waits on a pipe
// nor reads a device, nor opens a name that is not valid UTF-8. The descriptor, or -1 with the
// reason ("it is a folder, not a file") or, when the reason is empty, the system's error in errno.
int OpenRegularFile(const CString& path, CString& reason);

// Reads a file OpenRegularFile opens into bytes, at most limit + 1 of them (so that a longer file shows as
// one, and is never read whole). False, with the reason or errno as OpenRegularFile gives them, when it
// cannot be opened, or, with errno, when a read fails.
bool ReadRegularFile(const CString& path, std::string& bytes, std::size_t limit, CString& reason);
// True when path names a regular file of exactly these bytes (one of other bytes is read no further than
// their length + 1): a file that already holds what would be written is left alone.
bool FileHolds(const CString& path, const std::string& bytes);

// What a path names once its links are followed as the system follows them for this user, at every part
// of the path (its folders as well as its last part): a link in a folder everyone may write to that has
// the sticky bit (as /tmp) is followed only when it is this user's or the folder owner's (the rule of the
// kernel's protected_symlinks, applied here whatever the machine's setting). A save writes to target only
// when no link was refused.
struct SFollowedLinks
{
    CString target;      // the file named; when a link was refused, that link, not followed
    CString refusedLink; // the link not followed: another user's in a shared folder (empty when none)
    CString owner;       // its owner's user name, or the number when the user database has none
    bool Refused() const { return !refusedLink.IsEmpty(); }
    // "it is a link of another user (<owner>) in a shared folder: it is not followed", a reason that
    // follows the link's path.
    CString Reason() const;
    // The same sentence beginning with the link's path.
    CString Refusal() const;
};
// A target whose bytes are not UTF-8 keeps them as marks (see DecodeFileName), so that it is refused
// rather than taken for another file. Links that go round, or a part that cannot be looked at, leave the
// path itself as the target (what is done with it then fails with the system's reason).
SFollowedLinks FollowLinks(const CString& path);

// The rule above for one link: true when a link owned by linkOwner, in a folder of folderOwner with these
// permission bits, is followed for this user (the effective one).
bool SystemFollowsLink(unsigned linkOwner, unsigned folderOwner, unsigned folderMode);
// What FollowLinks says of a link it does not follow, owned by that user.
SFollowedLinks NotFollowedLink(const CString& link, unsigned owner);

// Why what a folder holds under a name is not a file to replace ("it is a pipe, not a file"), or empty
// for a regular file or a name that names nothing. A link there is looked at as itself.
CString NotARegularFileIn(int folder, const std::string& name);

// Why a path that exists is no regular file ("it is a device, not a file"), or why its name is
// refused; empty for a regular file or a path that names nothing.
CString NotARegularFile(const CString& path);

// True when a file exists and this program's user may not write it: the system says so for the
// effective user (owner, group, other bits, access lists, a read-only or immutable file system),
// or its owner took away the owner's write bit (a file made read-only, whoever runs the program).
bool MayNotWrite(const CString& path);

// What a save that puts a new file in place of this one would change besides its content.
struct SReplacedFile
{
    bool bOtherOwner = false; // it belongs to another user: the new file is this user's
    bool bOtherLinks = false; // it has other names (hard links), which keep the old file
    bool Any() const { return bOtherOwner || bOtherLinks; }
};
SReplacedFile WhatAReplaceChanges(const CString& path);

} // namespace qor
