// "LME Parameters": what a standard library entry needs before it is inserted: how the variable axle
// spacings are listed (a step distance or a number of values), the dynamic allowance (the codes' own or
// one value for every model) and, for BS5400, the number of HB units.
#pragma once

#include "controls/edit/NumericEdit.h"
#include "platform/gui/Afx.h"

class CLMEParametersDlg : public CDialogEx
{
public:
    CLMEParametersDlg(CWnd* pParent = nullptr);

    // Set by the caller: the spacing controls apply to families with variable spacings.
    bool m_bSpacingEnabled = false;
    // true: "Use step distance:"; false: "Use number:".
    bool m_bByStep = false;
    double m_StepDistance = 1.0; // m
    int m_nValues = 10;
    bool m_bUseStandardDLA = true;
    double m_DLA = 1.3;
    // Set by the caller: the HB units apply to the BS5400 commands.
    bool m_bHBEnabled = false;
    int m_nHBUnits = 45;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnByStep();
    void OnByCount();
    void OnStandardDLA();
    void OnUserDLA();
    void OnChangeField();
    void ApplySpacingRule();
    DECLARE_MESSAGE_MAP()

private:
    // The text of the first value the library cannot take or that is outside its range, and the control
    // holding it; empty when all can be taken.
    CString CheckValues(UINT& control) const;

    CNumericEdit m_editStep;
    CNumericEdit m_editCount;
    CNumericEdit m_editDLA;
    CNumericEdit m_editHBUnits;
    bool m_bInitialised = false; // the edits show the members
};
