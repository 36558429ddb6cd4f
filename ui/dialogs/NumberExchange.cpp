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
