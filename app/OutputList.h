// The list of the output pane: one line per event; copy to the clipboard, clear, hide.
#pragma once

#include "platform/gui/Afx.h"

class COutputList : public CListBox
{
    DECLARE_DYNAMIC(COutputList)
public:
    COutputList() = default;

    // The whole log as text, each line ended by "\r\n".
    CString GetAllText() const;
    void OnEditCopy();
    void OnEditClear();
    void OnViewOutput();

protected:
    void OnContextMenu(CWnd* pWnd, CPoint point);

    DECLARE_MESSAGE_MAP()
};
