// CPropPageLMUDLs: the page's table over the model's uniform loads.
#include "ui/dialogs/PropPageLMUDLs.h"

#include "engine/model/LoadModel.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/InputRanges.h"

CPropPageLMUDLs::CPropPageLMUDLs() : CPropPageLMLoads(IDD_PROPPAGE_LM_UDLS, IDC_LM_UDL_FACTOR)
{
    m_ColumnHeadings = {L"No.", L"Magnitude"};
    m_nDataCols = 1;
    m_nDataRows = 1;
}

int CPropPageLMUDLs::CountLoads() const { return static_cast<int>(m_pLoadModel->m_vUDL.size()); }

double CPropPageLMUDLs::GetKindFactor() const { return m_pLoadModel->m_GammaUDL; }

void CPropPageLMUDLs::ApplyKindFactor(double factor) { m_pLoadModel->SetGammaUDL(factor); }

void CPropPageLMUDLs::AddZeroLoad() { m_pLoadModel->AddUDL(0.0); }

bool CPropPageLMUDLs::RemoveLoad(int index) { return m_pLoadModel->RemoveUDL(index); }

void CPropPageLMUDLs::GetValues(int index, double* values) const
{
    double gamma = 0.0;
    m_pLoadModel->GetUDL(index, gamma, values[0]);
}

void CPropPageLMUDLs::SetValue(int index, int, double value) { m_pLoadModel->SetUDL(index, value); }

const qor::dialogs::InputRange& CPropPageLMUDLs::ColumnRange(int) const { return qor::dialogs::kLoadRange; }

const wchar_t* CPropPageLMUDLs::FieldName(int) const { return L"load magnitude"; }
