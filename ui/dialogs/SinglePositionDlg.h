// "Single Position Analysis": the bridge, the load model and where the load model stands.
#pragma once

#include "platform/gui/Afx.h"

#include <memory>
#include <vector>

class CBridge;
class CLoadModel;

class CSinglePositionDlg : public CDialog
{
public:
    CSinglePositionDlg(CWnd* pParent = nullptr);

    // Copies of the document's lists; the indices below are positions in them.
    std::vector<std::shared_ptr<CBridge>> m_vBridge;
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;
    int m_nBridgeIndex = 0;
    int m_nLoadModelIndex = 0;
    double m_Position = 0.0; // m, of the load model's origin from the left end

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSelChangeBridge();
    void OnSelChangeLoadModel();
    void OnChangePosition();
    DECLARE_MESSAGE_MAP()

private:
    CListBox m_lbBridge;
    CListBox m_lbLoadModel;
};
