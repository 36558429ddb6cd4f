// CPropPageLMFactors: the four factors of a load model in a fixed table, their product, and
// the width factor.
#pragma once

#include "ui/dialogs/PropPageWithGridBase.h"

#include <memory>
#include <vector>

class CLoadModel;

class CPropPageLMFactors : public CPropPageWithGridBase
{
public:
    CPropPageLMFactors();
    ~CPropPageLMFactors() override;

    void SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel);

    BOOL OnInitDialog() override;
    void FillGrid() override;

    double GetOverallFactor() const { return m_OverallFactor; }
    // The overall factor as its field shows it: every digit, at most six decimals.
    static CString OverallFactorText(double value);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnGridEndEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChangeWidthFactor();

    std::vector<CString> m_WidthFactorStrings;
    std::shared_ptr<CLoadModel> m_pLoadModel;
    int m_nFactors = 4;
    double m_OverallFactor = 1.0;
    int m_WidthFactor = 0;
    CComboBox m_WidthFactorCombo;
    int m_nWidthFactorIndex = 0;
    bool m_bReady = false;

private:
    DECLARE_MESSAGE_MAP()
};
