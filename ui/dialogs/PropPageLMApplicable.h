// CPropPageLMApplicable: where a load model applies: the load effects, the range of bridge
// lengths, and the rule that adjusts it to each bridge.
#pragma once

#include "controls/edit/NumericEdit.h"
#include "platform/gui/Afx.h"

#include <memory>
#include <vector>

class CLoadModel;

class CPropPageLMApplicable : public CMFCPropertyPage
{
public:
    CPropPageLMApplicable();
    ~CPropPageLMApplicable() override;

    void SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel);

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnUseMinimum();
    void OnUseMaximum();
    void OnBendingMoment();
    void OnShearForce();
    void OnChangeLength();
    void OnSelChangeRule();
    void EnableLengths();

    std::shared_ptr<CLoadModel> m_pLoadModel;
    std::vector<CString> m_RuleStrings;
    CNumericEdit m_MinLengthEdit;
    CNumericEdit m_MaxLengthEdit;
    CStatic m_MaxUnit;
    CStatic m_MinUnit;
    CButton m_BendingMomentCheck;
    CButton m_ShearForceCheck;
    CButton m_UseMinCheck;
    CButton m_UseMaxCheck;
    BYTE m_bUseBM = 0;
    BYTE m_bUseSF = 0;
    BYTE m_bUseMin = 0;
    BYTE m_bUseMax = 0;
    double m_MinLength = 0.0;
    double m_MaxLength = 10000.0;
    CComboBox m_RuleCombo;
    bool m_bReady = false;
    int m_nFilling = 0;

private:
    DECLARE_MESSAGE_MAP()
};
