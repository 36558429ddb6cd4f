// Whole-text number parsing for the layer's number fields (dialog data exchange, property grid):
// blanks around the number are allowed, anything else fails; a number out of range or not finite
// fails too.
#pragma once

#include "platform/core/CString.h"

namespace qor::gui {

bool ParseWholeInteger(const CString& text, long long& out, bool isUnsigned = false);
bool ParseWholeDouble(const CString& text, double& out);

} // namespace qor::gui
