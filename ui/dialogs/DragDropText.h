// CDragDropText: a line of text dragged between windows.
#pragma once

#include "ui/dialogs/DragDropData.h"

class CDragDropText : public CDragDropData
{
public:
    explicit CDragDropText(LPCTSTR text);

    // The text's size, at most 64 pixels wide.
    SIZE OnGetDragSize(CDC& dc) override;
    void OnDrawData(CDC& dc, RECT& rect) override;
    CString GetText() const override { return m_Text; }

private:
    CString m_Text;
};
