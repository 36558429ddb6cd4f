// Files dropped on a window from the desktop or a file manager.
#pragma once

#include "platform/core/CString.h"
#include "platform/gui/draw/WinDefs.h"

#include <string>
#include <vector>

class CWnd;

namespace qor::gui {

// The window (and the windows inside it) accepts dropped files: each local file is handed to the
// application's OpenDocumentFile, as the framework's frames do with the files dropped on them.
void DragAcceptFiles(CWnd* pWnd, BOOL bAccept = TRUE);
// The local files a drag's "text/uri-list" names, as a drop takes them (a name that is not UTF-8
// marked, see qor::DecodeFileName).
std::vector<CString> DroppedFiles(const std::string& uriList);
// What a drop of these paths on the window does (tests; the toolkit's drop events end here too).
void DropFiles(CWnd* pWnd, const std::vector<CString>& paths);

} // namespace qor::gui
