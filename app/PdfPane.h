// The help pane "PDF Help": the user manual (or any PDF the user opens while the pane has the focus).
#pragma once

#include "platform/gui/Afx.h"

class CPdfPane : public CDockablePane
{
    DECLARE_DYNAMIC(CPdfPane)
public:
    CPdfPane() = default;

    // Loads and shows a PDF file; FALSE when the pane has no viewer or the file cannot be shown.
    BOOL LoadFile(LPCTSTR lpszPath);
    CPdfViewCtrl& GetViewer() { return m_wndViewer; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnFileOpen();

    CPdfViewCtrl m_wndViewer;

    DECLARE_MESSAGE_MAP()
};
