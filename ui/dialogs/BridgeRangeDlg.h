// "Bridge Range Analysis": a bridge set, a load model and the stepping.
#pragma once

#include "platform/gui/Afx.h"

#include <memory>
#include <vector>

class CBridgeSet;
class CLoadModel;

class CBridgeRangeDlg : public CDialogEx
{
public:
    CBridgeRangeDlg(CWnd* pParent = nullptr);

    std::vector<std::shared_ptr<CBridgeSet>> m_vBridgeSet;
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;
    int m_nBridgeSetIndex = 0;
    int m_nLoadModelIndex = 0;
    bool m_bByStep = false;
    double m_StepSize = 1.0; // m
    int m_nSteps = 20;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSelChangeBridgeSet();
    void OnSelChangeLoadModel();
    void OnByStep();
    void OnByCount();
    void OnChangeStep();
    void OnChangeSteps();
    DECLARE_MESSAGE_MAP()

private:
    CListBox m_lbBridgeSet;
    CListBox m_lbLoadModel;
};
