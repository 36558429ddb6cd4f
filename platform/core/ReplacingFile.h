// A file written beside the file it is to replace, put in its place only once all of it was written:
// a failed or killed write leaves the old file whole.
//
//     qor::CReplacingFile file;
//     if (!file.Open(target)) ... errno says why
//     write(file.Descriptor(), ...);
//     if (!file.Commit()) ... errno says why; the old file is as it was
//
// The temporary file is the program's own by its name (".<file name>.qortmp-XXXXXX" beside the file)
// and is locked (flock) by the run writing it from before the name appears until it is gone. A run
// that ended while writing (killed, crashed) leaves one unlocked; RemoveLeftovers takes those away
// and never a file another run is still writing, nor any file not named so.
#pragma once

#include "platform/core/CString.h"

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
    // with errno set, when it cannot be made.
    bool Open(const CString& target);
    int Descriptor() const { return m_nFd; }
    // Writes it to the disk and puts it in place of the target (and the rename on the disk). False,
    // with errno set, when any step fails: the temporary file goes and the target stays as it was.
    bool Commit();
    // The temporary file goes; the target stays as it was.
    void Discard();

    // Removes the temporary files of ended runs made for the file `target`; their count.
    static int RemoveLeftovers(const CString& target);
    // Removes the temporary files of ended runs in a folder, whatever file they were made for.
    static int RemoveLeftoversIn(const CString& folder);
    // True for a name this class gives a temporary file (of `target`'s file name when not empty).
    static bool IsTemporaryName(const std::string& name, const std::string& target = std::string());

    // Tests: the next Open calls fail with this error, as if the system refused to make the file
    // (0 ends it).
    static void InjectOpenFault(int error);

private:
    int m_nFd = -1;
    std::string m_sTarget;
    std::string m_sName; // the temporary file's path once it has one
};

} // namespace qor
