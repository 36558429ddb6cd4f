// The picture of the About box: a truck crossing a continuous bridge, drawn to the window's size.
#pragma once

#include "platform/gui/Afx.h"

class CAboutPicture : public CWnd
{
    DECLARE_DYNAMIC(CAboutPicture)
public:
    CAboutPicture() = default;

protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()
};
