// "Output options": which result windows a finished analysis opens (kept with the open case only).
#pragma once

#include "platform/gui/Afx.h"

class COutputOptionsDlg : public CDialogEx
{
    DECLARE_DYNAMIC(COutputOptionsDlg)
public:
    COutputOptionsDlg(CWnd* pParent = nullptr);
    ~COutputOptionsDlg() override = default;

    bool m_bBMSF = false;
    bool m_bReactions = false;
    bool m_bGraphs = false;
    bool m_bTables = false;
    CButton m_BMSFCheck;
    CButton m_ReactionsCheck;
    CButton m_GraphsCheck;
    CButton m_TablesCheck;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnBMSF() { m_bBMSF = !m_bBMSF; }
    void OnReactions() { m_bReactions = !m_bReactions; }
    void OnGraphs() { m_bGraphs = !m_bGraphs; }
    void OnTables() { m_bTables = !m_bTables; }

    DECLARE_MESSAGE_MAP()
};
