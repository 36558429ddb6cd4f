#include "engine/model/EngineMessages.h"

namespace qor {

BOOL PostStatusLine(const CString& text)
{
    CString* pLine = new CString(text);
    if (!PostToMainWindow(UWM_ADD_STATUS, reinterpret_cast<WPARAM>(pLine), 0))
    {
        delete pLine; // nobody to receive it
        return FALSE;
    }
    return TRUE;
}

BOOL PostProgressStep() { return PostToMainWindow(UWM_PBAR_UPDATE, 1, 0); }

} // namespace qor
