// "Define Bridge": the description, span length and span configuration of one bridge.
#pragma once

#include "platform/gui/Afx.h"

#include <memory>

class CBridge;

class CBridgeDlg : public CDialogEx
{
public:
    CBridgeDlg(CWnd* pParent = nullptr);

    // The bridge to edit: kept, and its description, id, span length and configuration copied.
    void SetBridge(std::shared_ptr<CBridge> pBridge);
    // After OK: a copy of the bridge that holds the engineer's entries.
    CBridge GetBridge() const;

    bool m_bIsEditable = true;
    std::shared_ptr<CBridge> m_pBridge;
    CString m_Description;
    int m_ID = 0;
    double m_SpanLength = 0.0;
    int m_Config = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnOneSpan() { m_Config = 1; }
    void OnTwoSpan() { m_Config = 2; }
    void OnThreeSpan() { m_Config = 3; }
    void OnChangeDescription();
    void OnChangeSpan();
    DECLARE_MESSAGE_MAP()

    CEdit m_editDescription;
    CEdit m_editSpan;
    CButton m_radioOneSpan;
};
