// "Add Bridge Set": description, span configuration, span range and the spacing of a bridge
// set, by step or by number of bridges.
#pragma once

#include "platform/gui/Afx.h"

#include <memory>

class CBridgeSet;

class CBridgeSetDlg : public CDialogEx
{
public:
    CBridgeSetDlg(CWnd* pParent = nullptr);

    // The set to edit: kept, and its fields copied.
    void SetBridgeSet(std::shared_ptr<CBridgeSet> pBridgeSet);
    // After OK: a copy of the set that holds the engineer's entries.
    CBridgeSet GetBridgeSet() const;

    CString m_Description;
    int m_ID = 0;
    std::shared_ptr<CBridgeSet> m_pBridgeSet;
    bool m_bIsEditable = true;
    double m_StartL = 1.0;
    double m_EndL = 50.0;
    double m_Step = 1.0;
    int m_nBridge = 50;
    bool m_bByStep = true;
    int m_Config = 2;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnOneSpan() { m_Config = 1; }
    void OnTwoSpan() { m_Config = 2; }
    void OnThreeSpan() { m_Config = 3; }
    void OnByStep();
    void OnByNumber();
    void OnChangeFields();
    void ShowSpacing();
    // The reason the entries make no set (empty when they do), with the edit to fix.
    CString Refusal(int& nFocusId) const;
    DECLARE_MESSAGE_MAP()

    CEdit m_editStep;
    CStatic m_labelStepUnit;
    CEdit m_editNumber;
    CStatic m_labelNumberMark;
    CEdit m_editDescription;
    CEdit m_editStart;
    CEdit m_editEnd;
};
