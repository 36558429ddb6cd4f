// The settings pane: every program setting in a property grid (General, Analysis, Plots), each
// change checked and written straight into the settings object.
#pragma once

#include "platform/gui/Afx.h"

#include "app/SettingsToolBar.h"

class CSettingsWnd : public CDockablePane
{
public:
    CSettingsWnd();
    ~CSettingsWnd() override;

    CMFCPropertyGridCtrl& GetPropertyGrid() { return m_wndPropList; }
    CSettingsToolBar& GetToolBar() { return m_wndToolBar; }
    void AdjustLayout();

protected:
    void InitPropList();
    void SetPropListFont();

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    void OnExpandAllProperties();
    void OnUpdateExpandAllProperties(CCmdUI* pCmdUI);
    void OnSortProperties();
    void OnUpdateSortProperties(CCmdUI* pCmdUI);
    void OnResetAll();
    LRESULT OnPropertyChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CFont m_fntPropList;
    CSettingsToolBar m_wndToolBar;
    CMFCPropertyGridCtrl m_wndPropList;
    bool m_bExpandAll = true;
};
