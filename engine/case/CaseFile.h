// Reading and writing a case file: the case (CCaseData) as the one item "QORConfig" of an XML
// or binary archive.
//
//     SaveCase(out, data, binary);      // the archive written to out
//     LoadCase(in, data);               // either form; data replaced only when the whole file is sound
//     SaveCaseFile(fd, data, binary, &progress);   // the same over an open file, with the bytes
//     LoadCaseFile(fd, data, &progress);           // done on a progress another thread may read
//
// Both throw CCaseFileError for every failure of any kind. A load reads the whole stream
// through our checked archives and then checks the model (see ValidateCase) before the case is
// accepted; on failure data is left exactly as it was.
#pragma once

#include "engine/case/CaseData.h"

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>

class CCaseFileProgress;

class CCaseFileError : public std::runtime_error
{
public:
    // what: the reason in the user's words; hint: more about it, possibly empty; library: the archive
    // library's own words when it (or the checks of our archives) refused the file, else empty.
    CCaseFileError(const std::string& what, std::string hint, std::string library = std::string());

    const std::string& hint() const { return m_Hint; }
    const std::string& library() const { return m_Library; }

private:
    std::string m_Hint;
    std::string m_Library;
};

// The archive is written straight through to out (or the file) in large blocks; a save that
// fails midway leaves a partial file, so the callers write a temporary file and put it in
// place only when the save succeeded.
void SaveCase(std::ostream& out, const CCaseData& data, bool binary, CCaseFileProgress* progress = nullptr);
void SaveCaseFile(int fd, const CCaseData& data, bool binary, CCaseFileProgress* progress = nullptr);
// About the bytes a save of this case will write (its progress's total).
std::uint64_t EstimateCaseFileBytes(const CCaseData& data, bool binary);
// The form a case is read in is the file's own, told by its first bytes: a case written on
// another machine opens whatever this one's setting for saving is. The progress counts the
// file's bytes twice, once read and once taken in by the archive; a binary file opened by
// LoadCaseFile is read in blocks as it is taken in, so its bytes count once. A case holding a class
// of the program's own at a later version than this program writes is refused (saved again here, it
// would lose what that version stored). A refusal names the object being read and, in XML, the line.
void LoadCase(std::istream& in, CCaseData& data, CCaseFileProgress* progress = nullptr);
void LoadCaseFile(int fd, CCaseData& data, CCaseFileProgress* progress = nullptr);
bool IsXmlCaseFile(const std::string& bytes);

// Checks a loaded case before it is accepted: bridges of configuration 1 to 4 whose spans are
// positive, finite and at most 100; bridge sets of at most 1000 bridges; finite loads, factors,
// locations and span limits; reference collections with a finite positive step, a step count of
// at least 1 and a finite overstress factor; no empty entries in any list. Throws CCaseFileError
// for the first fault, naming the element by its kind and place.
void ValidateCase(const CCaseData& data);
