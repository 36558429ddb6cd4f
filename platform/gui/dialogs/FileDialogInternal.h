// Internal to the window layer: the toolkit's file dialog, as the open and save prompts run it.
#pragma once

#include <QtCore/QString>

class QWidget;

namespace qor::gui {

// Runs the toolkit's file dialog and gives the path chosen, or an empty string when cancelled. A save
// takes defaultExt (with or without its dot) when the name typed has none, before the dialog asks
// whether to replace an existing file, so the question is asked of the file that is written.
QString RunToolkitFileDialog(QWidget* parent, bool open, const QString& caption, const QString& start,
                             const QString& filters, const QString& defaultExt, bool confirmOverwrite);

// Where a file dialog starts, as the platform's does: a proposed path with a folder stands; a bare name (or
// nothing) is put in `folder` when one is given (the open case's), else in the folder of the last file
// chosen in a file dialog (kept between runs), else it stays as it is (the working folder).
QString FileDialogStart(const QString& proposed, const QString& folder = QString());
// Keeps the folder of a file chosen in a file dialog for the next one.
void RememberFileDialogChoice(const QString& chosen);
// The toolkit shows a name that is not UTF-8 with U+FFFD in its place and gives that text back when
// it is chosen: a file of that text is another file (or none). True, after saying so in a message,
// when a chosen path stands for such a name on the disk; the caller then goes on as if cancelled.
bool RefuseNameNotUtf8(const QString& chosen);

} // namespace qor::gui
