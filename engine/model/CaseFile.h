// Reading and writing a case file: the case (CCaseData) as the one item "QORConfig" of an XML
// or binary archive.
//
//     SaveCase(out, data, binary);      // the archive written to out
//     LoadCase(in, data);               // either form; data replaced only when the whole file is sound
//
// Both throw CCaseFileError for every failure of any kind. A load reads the whole stream
// through our checked archives and then checks the model (see ValidateCase) before the case is
// accepted; on failure data is left exactly as it was.
#pragma once

#include "engine/model/CaseData.h"

#include <iosfwd>
#include <stdexcept>
#include <string>

class CCaseFileError : public std::runtime_error
{
public:
    // what: the reason (shown after "Boost reports: "); hint: the explanation shown after
    // "Possibly: ", possibly empty.
    CCaseFileError(const std::string& what, std::string hint);

    const std::string& hint() const { return m_Hint; }

private:
    std::string m_Hint;
};

void SaveCase(std::ostream& out, const CCaseData& data, bool binary);
// The form a case is read in is the file's own, told by its first bytes: a case written on
// another machine opens whatever this one's setting for saving is.
void LoadCase(std::istream& in, CCaseData& data);
bool IsXmlCaseFile(const std::string& bytes);

// Checks a loaded case before it is accepted: bridges of configuration 1 to 4 whose spans are
// positive, finite and at most 100; bridge sets of at most 1000 bridges; finite loads, factors,
// locations and span limits; reference collections with a finite positive step, a step count of
// at least 1 and a finite overstress factor; no empty entries in any list. Throws the engine's
// text (const char*) for the first fault.
void ValidateCase(const CCaseData& data);
