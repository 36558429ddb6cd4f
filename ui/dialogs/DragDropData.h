// CDragDropData: what a mouse drag between windows carries, and the picture that follows
// the pointer while it is dragged.
#pragma once

#include "platform/gui/Afx.h"

class CDragDropData
{
public:
    CDragDropData();
    virtual ~CDragDropData();
    CDragDropData(const CDragDropData&) = delete;
    CDragDropData& operator=(const CDragDropData&) = delete;

    // A new image list (the caller owns it) holding the picture of the data as it is drawn
    // in the window's font; rect receives the picture's size.
    virtual CImageList* CreateDragImage(CWnd* pWnd, RECT* rect);
    virtual SIZE OnGetDragSize(CDC& dc) = 0;
    virtual void OnDrawData(CDC& dc, RECT& rect) = 0;
    virtual CString GetText() const = 0;

protected:
    CBitmap m_Bitmap;
};
