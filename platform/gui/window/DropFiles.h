// Files dropped on a window from the desktop or a file manager.
#pragma once

#include "platform/core/CString.h"
#include "platform/gui/draw/WinDefs.h"

#include <vector>

class CWnd;

namespace qor::gui {

// The window (and the windows inside it) accepts dropped files: each local file is handed to the
// application's OpenDocumentFile, as the framework's frames do with the files dropped on them.
void DragAcceptFiles(CWnd* pWnd, BOOL bAccept = TRUE);
// What a drop of these paths on the window does (tests; the toolkit's drop events end here too).
void DropFiles(CWnd* pWnd, const std::vector<CString>& paths);

} // namespace qor::gui
