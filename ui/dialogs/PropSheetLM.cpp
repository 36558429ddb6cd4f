// CPropSheetLM: the six pages of a load model, listed on the left.
#include "ui/dialogs/PropSheetLM.h"

#include "engine/model/LoadModel.h"
#include "res/LoadModelDialogs.h"

CPropSheetLM::CPropSheetLM() : CMFCPropertySheet(IDS_LOAD_MODEL_SHEET, nullptr, 0)
{
    SetLook(PropSheetLook_List, 150);
    AddPage(&m_PageOverview);
    AddPage(&m_PageVehicle);
    AddPage(&m_PageUDLs);
    AddPage(&m_PagePartialUDLs);
    AddPage(&m_PageFactors);
    AddPage(&m_PageApplicable);
}

CPropSheetLM::~CPropSheetLM() = default;

void CPropSheetLM::SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel)
{
    m_pLoadModel = std::move(pLoadModel);
    m_PageOverview.SetLoadModel(m_pLoadModel);
    m_PageVehicle.SetLoadModel(m_pLoadModel);
    m_PageUDLs.SetLoadModel(m_pLoadModel);
    m_PagePartialUDLs.SetLoadModel(m_pLoadModel);
    m_PageFactors.SetLoadModel(m_pLoadModel);
    m_PageApplicable.SetLoadModel(m_pLoadModel);
}

void CPropSheetLM::ShowReadOnly(CWnd& page, const CLoadModel& model)
{
    if (model.m_bIsEditable) return;
    for (CWnd* child = page.GetWindow(GW_CHILD); child; child = child->GetNextWindow())
    {
        if (child->GetClassName().CompareNoCase(L"Static") == 0) continue;
        if (child->GetDlgCtrlID() == static_cast<int>(IDC_LM_DRAWING)) continue;
        child->EnableWindow(FALSE);
    }
}
