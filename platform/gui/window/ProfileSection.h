// Several values of one section of the application's profile written at once: one write of the
// file (and one wait for the disk) instead of one for each value.
#pragma once

#include "platform/core/CString.h"

#include <optional>
#include <utility>
#include <vector>

class CWinApp;

namespace qor::gui {

// Sets each entry to its value, or removes it where it has none; false when the file could not be written.
// later: written with the profile's next write, or at the end (CWinApp::WriteProfileSections).
bool WriteProfileSection(CWinApp& app, const CString& section,
                         const std::vector<std::pair<CString, std::optional<CString>>>& entries, bool later = false);

} // namespace qor::gui
