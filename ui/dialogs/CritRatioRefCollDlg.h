// "Make Critical Ratios": the proposed load model or ensemble, the reference collection and
// the global multiplier.
#pragma once

#include "controls/edit/NumericEdit.h"
#include "platform/gui/Afx.h"

#include <memory>
#include <vector>

class CLoadModel;
class CLoadModelEnsemble;
class CReferenceCollection;

class CCritRatioRefCollDlg : public CDialogEx
{
public:
    CCritRatioRefCollDlg(CWnd* pParent = nullptr);

    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;
    std::vector<std::shared_ptr<CLoadModelEnsemble>> m_vLoadModelEnsemble;
    std::vector<std::shared_ptr<CReferenceCollection>> m_vRefCollection;
    int m_nLoadModelIndex = 0;
    int m_nLMEIndex = 0;
    int m_nRefCollectionIndex = 0;
    bool m_bUseLoadModel = true;
    double m_Multiplier = 1.0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSelChangeLoadModel();
    void OnSelChangeLME();
    void OnSelChangeRefCollection();
    void OnUseLoadModel();
    void OnUseLME();
    void OnChangeMultiplier();
    DECLARE_MESSAGE_MAP()

private:
    CListBox m_lbLoadModel;
    CListBox m_lbLME;
    CListBox m_lbRefCollection;
    CNumericEdit m_editMultiplier;
    bool m_bInitialised = false; // the edit shows the multiplier
};
