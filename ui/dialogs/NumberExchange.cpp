// A stored number shown in a numeric edit: the edit rounds it to its decimals, but the number goes back
// unrounded unless the engineer changed what the edit shows.
#include "ui/dialogs/NumberExchange.h"

#include "controls/edit/NumericEdit.h"

namespace qor::dialogs {

void ExchangeNumber(CDataExchange* pDX, CNumericEdit& edit, double& value, double& shown)
{
    if (!pDX->m_bSaveAndValidate)
    {
        edit.SetValue(value);
        shown = edit.GetValue();
    }
    else if (edit.GetValue() != shown)
    {
        value = edit.GetValue();
        shown = value;
    }
}

} // namespace qor::dialogs
