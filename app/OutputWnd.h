// The output pane "Diagnostics": the program's running log in a list.
#pragma once

#include "platform/gui/Afx.h"

#include "app/OutputList.h"

class COutputWnd : public CDockablePane
{
    DECLARE_DYNAMIC(COutputWnd)
public:
    COutputWnd() = default;

    COutputList& GetList() { return m_wndOutputList; }
    // Sets the list's font to the program's regular font again (after a look or system change).
    void UpdateFonts();

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);

    COutputList m_wndOutputList;

    DECLARE_MESSAGE_MAP()
};
