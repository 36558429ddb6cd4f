// A stored number shown in a numeric edit: the edit rounds it to its decimals, but the number
// goes back unrounded unless the engineer changed what the edit shows. Opening a load model and
// pressing OK must not round its factors or move its axles.
#pragma once

#include "platform/gui/Afx.h"

class CNumericEdit;

namespace qor::dialogs {

// Filling: the edit shows value, and shown remembers what it shows. Saving: value takes the
// edit's number only when that differs from shown.
void ExchangeNumber(CDataExchange* pDX, CNumericEdit& edit, double& value, double& shown);

} // namespace qor::dialogs
