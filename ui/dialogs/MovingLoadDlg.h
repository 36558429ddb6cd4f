// "Moving Load Analysis": the bridge, a load model or a load model ensemble, and the stepping.
#pragma once

#include "platform/gui/Afx.h"

#include <memory>
#include <vector>

class CBridge;
class CLoadModel;
class CLoadModelEnsemble;

class CMovingLoadDlg : public CDialog
{
public:
    CMovingLoadDlg(CWnd* pParent = nullptr);

    std::vector<std::shared_ptr<CBridge>> m_vBridge;
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;
    std::vector<std::shared_ptr<CLoadModelEnsemble>> m_vLoadModelEnsemble;
    int m_nBridgeIndex = 0;
    int m_nLoadModelIndex = 0;
    int m_nLMEIndex = 0;
    bool m_bUseLoadModel = true;
    bool m_bDisplayEach = false;
    // The stepping: the document's before the dialog runs, the engineer's after OK.
    bool m_bByStep = false;
    double m_StepSize = 1.0; // m
    int m_nSteps = 20;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSelChangeBridge();
    void OnSelChangeLoadModel();
    void OnSelChangeLME();
    void OnByStep();
    void OnByCount();
    void OnUseLoadModel();
    void OnUseLME();
    void OnDisplayEach();
    void OnChangeStep();
    void OnChangeSteps();
    DECLARE_MESSAGE_MAP()

private:
    CListBox m_lbBridge;
    CListBox m_lbLoadModel;
    CListBox m_lbLME;
};
