// "Edit Reference Collection": description, the bridge sets and load model ensembles the
// collection combines, the stepping of its analyses and its overstress option. Ticks change
// the collection at once; OK stores the other fields into it.
#pragma once

#include "controls/edit/NumericEdit.h"
#include "platform/gui/Afx.h"
#include "platform/gui/widgets/CheckListBox.h"

#include <memory>
#include <vector>

class CBridgeSet;
class CLoadModelEnsemble;
class CReferenceCollection;

class CRefCollectionDlg : public CDialogEx
{
public:
    CRefCollectionDlg(CWnd* pParent = nullptr);

    // Takes the collection the dialog works on and copies its fields.
    void SetRefCollection(std::shared_ptr<CReferenceCollection> pRefCollection);

    CEdit m_editDescription;
    CString m_Description;
    int m_ID = 0;
    bool m_bByStep = false;
    CEdit m_editStep;
    CStatic m_staticStepUnit;
    double m_StepSize = 1.0;
    CEdit m_editSteps;
    CStatic m_staticStepsUnit;
    int m_nSteps = 0;
    CButton m_checkOverstress;
    CNumericEdit m_editOverstressFactor;
    int m_bUseOverstress = 0;
    double m_OverstressFactor = 1.4;
    double m_OverstressFactorShown = 1.4; // what the edit shows, rounded to its decimals
    std::shared_ptr<CReferenceCollection> m_pRefCollection;
    CCheckListBox m_lbBridgeSet;
    std::vector<std::shared_ptr<CBridgeSet>> m_vBridgeSet;
    CCheckListBox m_lbLME;
    std::vector<std::shared_ptr<CLoadModelEnsemble>> m_vLoadModelEnsemble;
    int m_bIsCalculated = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnByStep();
    void OnByCount();
    void OnChangeStep();
    void OnChangeSteps();
    void OnChangeDescription();
    void OnOverstress();
    void OnSelChangeBridgeSet();
    void OnSelChangeLME();
    void OnCheckChangeBridgeSet();
    void OnCheckChangeLME();
    DECLARE_MESSAGE_MAP()

private:
    int m_nBridgeSetLine = -1;
    int m_nLMELine = -1;
};
