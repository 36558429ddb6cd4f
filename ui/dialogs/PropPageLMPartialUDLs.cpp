// CPropPageLMPartialUDLs: the page's table over the model's partial uniform loads.
#include "ui/dialogs/PropPageLMPartialUDLs.h"

#include "engine/model/LoadModel.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/InputRanges.h"

namespace {
enum Column : int
{
    COL_MAGNITUDE = 1,
    COL_START = 2,
    COL_COVER = 3,
};
}

CPropPageLMPartialUDLs::CPropPageLMPartialUDLs() : CPropPageLMLoads(IDD_PROPPAGE_LM_PARTIAL_UDLS, IDC_LM_PUDL_FACTOR)
{
    m_ColumnHeadings = {L"No.", L"Magnitude", L"Start", L"Cover"};
    m_nDataCols = 3;
    m_nDataRows = 1;
}

int CPropPageLMPartialUDLs::CountLoads() const { return static_cast<int>(m_pLoadModel->m_vPUDL.size()); }

double CPropPageLMPartialUDLs::GetKindFactor() const { return m_pLoadModel->m_GammaPUDL; }

void CPropPageLMPartialUDLs::ApplyKindFactor(double factor) { m_pLoadModel->SetGammaPUDL(factor); }

void CPropPageLMPartialUDLs::AddZeroLoad() { m_pLoadModel->AddPartialUDL(0.0, 0.0, 0.0); }

bool CPropPageLMPartialUDLs::RemoveLoad(int index) { return m_pLoadModel->RemovePartialUDL(index); }

void CPropPageLMPartialUDLs::GetValues(int index, double* values) const
{
    double gamma = 0.0;
    m_pLoadModel->GetPartialUDL(index, gamma, values[0], values[1], values[2]);
}

void CPropPageLMPartialUDLs::SetValue(int index, int column, double value)
{
    double gamma = 0.0, magnitude = 0.0, location = 0.0, cover = 0.0;
    m_pLoadModel->GetPartialUDL(index, gamma, magnitude, location, cover);
    switch (column)
    {
    case COL_MAGNITUDE: magnitude = value; break;
    case COL_START: location = value; break;
    case COL_COVER: cover = value; break;
    default: return;
    }
    m_pLoadModel->SetPartialUDL(index, 1.0, magnitude, location, cover);
}

// A negative cover would lay the load backwards from its start, and the analysis would take it
// as a load acting upwards.
const qor::dialogs::InputRange& CPropPageLMPartialUDLs::ColumnRange(int column) const
{
    using namespace qor::dialogs;
    return column == COL_COVER ? kLoadLengthRange : column == COL_START ? kLoadDistanceRange : kLoadRange;
}

const wchar_t* CPropPageLMPartialUDLs::FieldName(int column) const
{
    return column == COL_COVER ? L"cover" : column == COL_START ? L"start" : L"load magnitude";
}
