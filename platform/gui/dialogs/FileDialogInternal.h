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

} // namespace qor::gui
