// "Case Information": the case reference and the case notes, saved with the case.
#pragma once

#include "platform/gui/Afx.h"

class CConfigDlg : public CDialogEx
{
    DECLARE_DYNAMIC(CConfigDlg)
public:
    CConfigDlg(CWnd* pParent = nullptr);
    ~CConfigDlg() override = default;

    CEdit m_CaseRefCtrl;
    CEdit m_CaseNotesCtrl;
    CString m_sCaseRef;
    CString m_sCaseNotes;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
