// The child window of every case window (start view, plots, grids): Save Image and Save Grid, and the
// count of open result windows on closing.
#pragma once

#include "platform/gui/Afx.h"

class CChildFrame : public CMDIChildWndEx
{
    DECLARE_DYNCREATE(CChildFrame)
public:
    CChildFrame() = default;
    ~CChildFrame() override = default;

    // The number before a result window's caption; 0 for the case's own windows.
    int m_nResultNumber = 0;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    void OnClose();
    void OnSaveImage();
    void OnSaveGrid();
    void OnUpdateSaveGrid(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
