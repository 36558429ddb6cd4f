// CPropPageLMVehicle: the axles of a load model: weight, spacing from the axle in front and
// width a row, the front axle's location, the axle-load factor and the vehicle's totals.
#pragma once

#include "controls/edit/NumericEdit.h"
#include "ui/dialogs/PropPageWithGridBase.h"

#include <memory>
#include <vector>

class CLoadModel;

class CPropPageLMVehicle : public CPropPageWithGridBase
{
public:
    CPropPageLMVehicle();
    ~CPropPageLMVehicle() override;

    void SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel);

    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    void OnOK() override;
    void FillGrid() override;
    BOOL DeleteRow(int row) override;

    const std::vector<double>& GetSpacings() const { return m_vSpacings; }
    double GetTotalWeight() const { return m_TotalWeight; }
    double GetTotalLength() const { return m_TotalLength; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnGridEndEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGridRowAdded(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGridRClickRow(NMHDR* pNMHDR, LRESULT* pResult);
    void OnChangeNumber();
    void OnKillFocusFrontAxle();

    // Spacings from the axle locations, and axle locations from the spacings.
    void ComputeSpacings();
    void ApplySpacings();
    void ComputeTotals();
    void UpdateTotals();
    void AddAxle();
    // Adds zero axles until the data row exists as an axle.
    void AddAxlesUpTo(int row);

    std::shared_ptr<CLoadModel> m_pLoadModel;
    CNumericEdit m_FrontAxleEdit;
    BOOL m_bIsEditable = TRUE;
    int m_nAxles = 0;
    double m_FrontAxleLocation = 0.0;
    double m_FrontAxleShown = 0.0; // what the edit shows, rounded to its decimals
    std::vector<double> m_vSpacings;
    CNumericEdit m_FactorEdit;
    double m_Factor = 1.0;
    double m_FactorShown = 1.0;
    CNumericEdit m_TotalWeightEdit;
    double m_TotalWeight = 0.0;
    CNumericEdit m_TotalLengthEdit;
    double m_TotalLength = 0.0;
    bool m_bReady = false;
    int m_nFilling = 0;

private:
    DECLARE_MESSAGE_MAP()
};
