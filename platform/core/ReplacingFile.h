// A file written beside the file it is to replace, put in its place only once all of it was written:
// a failed or killed write leaves the old file whole.
//
//     qor::CReplacingFile file;
//     if (!file.Open(target)) ... errno (and Reason()) say why
//     write(file.Descriptor(), ...);
//     if (!file.Commit()) ... errno says why; the old file is as it was
//
// Open walks the target's path part by part (see COpenedFolder) and keeps its folder open: another
// user's link in a shared folder, at any part of the path, is not followed; the user's own links are
// followed, and the file they name is replaced (the links stay). The file is made in that open folder
// and put in place relative to it, so that a link re-pointed meanwhile changes nothing.
//
// The file is written unnamed where the file system allows it (O_TMPFILE): a run killed while writing
// leaves nothing. It gets a name just before it is put in place, as a file system without unnamed files
// gives it one when it is made: the program's own by its name (".qortmp-" + 8 hex digits of the file's
// name + "-" + 6 random letters and digits, beside the file: as long for a name of 255 bytes as for one
// of 5), made under a name nobody had (never through a name or a link that is there), and locked
// (flock) by the run writing it until it is gone. A run that ended with one named (killed, crashed)
// leaves it unlocked; RemoveLeftovers takes those away (also those earlier runs named
// ".<file name>.qortmp-XXXXXX"), as every Open does in its folder, and never a file another run is
// still writing, nor any file not named so.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/OpenedFolder.h"

#include <functional>
#include <string>

namespace qor {

class CReplacingFile
{
public:
    CReplacingFile() = default;
    ~CReplacingFile(); // a file never committed goes
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Makes the temporary file beside target, with target's permissions and its group where this
    // user may give it (those of a new file when there is none); the file is this user's. False,
    // with errno set, when it cannot be made, and with Reason() when the path goes through another user's
    // link in a shared folder (EACCES) or something other than a regular file stands at its name (a
    // folder: EISDIR; a pipe, a device, a socket: EINVAL).
    bool Open(const CString& target);
    int Descriptor() const { return m_nFd; }
    // Why the last Open or Commit was refused where the system's error does not say it ("it is a link of
    // another user (<owner>) in a shared folder: it is not followed", "it is a pipe, not a file"), and the
    // path it is about (the link; the file); empty when the system's error says it.
    CString Reason() const { return m_sReason; }
    CString ReasonPath() const { return m_sReasonPath; }
    // A path that opens the temporary file itself, for a writer that takes a name (the toolkit's):
    // the descriptor's entry in /proc, which nobody else can make name another file; the temporary
    // file's name where there is no /proc. Empty when nothing is open.
    CString WritablePath() const;
    // Writes all of the bytes at the end of what was written; false, with errno set, when not all went.
    bool Write(const void* data, std::size_t size);
    // Writes it to the disk and puts it in place of the target (and the rename on the disk). False,
    // with errno set, when any step fails: the temporary file goes and the target stays as it was.
    bool Commit();
    // The temporary file goes; the target stays as it was.
    void Discard();

    // Puts a file of these bytes in place of the target, whole or not at all (Open, Write, Commit);
    // false, with errno set, when any step failed: no temporary file is left and the target is as it was.
    static bool ReplaceWith(const CString& target, const std::string& bytes);

    // Removes the temporary files of ended runs made for the file `target`; their count.
    static int RemoveLeftovers(const CString& target);
    // Removes the temporary files of ended runs in a folder, whatever file they were made for.
    static int RemoveLeftoversIn(const CString& folder);
    // True for a name this class gives a temporary file (of `target`'s file name when not empty).
    static bool IsTemporaryName(const std::string& name, const std::string& target = std::string());

    // Tests: the next Open calls fail with this error, as if the system refused to make the file
    // (0 ends it).
    static void InjectOpenFault(int error);
    // Tests: called with every name before a file is made under it (a test plants a link there).
    static void SetNameHook(std::function<void(const std::string&)> hook);
    // Tests: called with the target once Open has walked its path and holds its folder, before anything
    // is made in it (a test re-points a link of the path there).
    static void SetFolderHook(std::function<void(const std::string&)> hook);
    // Tests: false makes every file named from the start, as on a file system without unnamed files.
    static void UseUnnamedFiles(bool use);
    // Tests: called before each sync of a commit, the file's (with its temporary name) and then its folder's
    // (with the folder), on the thread that commits: a test makes the disk slow so. An error number it
    // returns fails the file's sync as the system's would (0: the sync goes on); the folder's sync is
    // not undone by one, as by the system's failure (the file is in place by then).
    static void SetSyncHook(std::function<int(const std::string&)> hook);

private:
    // Refuses the open or commit: the reason about that path, errno set to error.
    bool Refuse(const CString& path, const CString& reason, int error);
    // The temporary file's path as the hooks see it.
    std::string PathOf(const std::string& name) const;

    int m_nFd = -1;
    COpenedFolder m_folder; // the target's folder, walked once
    std::string m_sName;    // the temporary file's name in it once it has one
    CString m_sReason, m_sReasonPath;
};

} // namespace qor
