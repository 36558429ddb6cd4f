// Message boxes on the screen: the window layer's answer to MessageBox and AfxMessageBox.
#pragma once

namespace qor {
struct MessageBoxCall;
}

namespace qor::gui {

// Makes MessageBox and AfxMessageBox show a modal box over their owner (or the active window) and
// return the button pressed. Without a display (offscreen or minimal toolkit) nothing is shown and
// the box's default answer is returned, as before. Tests install their own handlers on top.
void InstallMessageBoxes();
// The toolkit's modal box for a call, shown whatever the platform (tests that drive a box by keys).
int ShowToolkitMessageBox(const qor::MessageBoxCall& call);

} // namespace qor::gui
