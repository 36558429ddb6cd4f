// CPropPageLMVehicle: axle edits written into the model at once, spacings kept in step with
// the axle locations, totals shown as they change.
#include "ui/dialogs/PropPageLMVehicle.h"
#include "ui/dialogs/PropSheetLM.h"

#include "engine/model/LoadModel.h"
#include "engine/settings/Settings.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/InputRanges.h"
#include "ui/dialogs/NumberExchange.h"

#include <cmath>
#include <utility>

namespace {
enum Column : int
{
    COL_WEIGHT = 1,
    COL_SPACING = 2,
    COL_WIDTH = 3,
};

constexpr const wchar_t* kFrontAxle = L"location of the front axle";
} // namespace

BEGIN_MESSAGE_MAP(CPropPageLMVehicle, CPropPageWithGridBase)
ON_NOTIFY(GVN_ENDLABELEDIT, IDC_LM_GRID, OnGridEndEdit)
ON_NOTIFY(GN_ROWADDED, IDC_LM_GRID, OnGridRowAdded)
ON_NOTIFY(NM_RCLICK, IDC_LM_GRID, OnGridRClickRow)
ON_EN_CHANGE(IDC_LM_FRONT_AXLE, OnChangeNumber)
ON_EN_CHANGE(IDC_LM_PL_FACTOR, OnChangeNumber)
ON_EN_CHANGE(IDC_LM_TOTAL_WEIGHT, OnChangeNumber)
ON_EN_CHANGE(IDC_LM_TOTAL_LENGTH, OnChangeNumber)
ON_EN_KILLFOCUS(IDC_LM_FRONT_AXLE, OnKillFocusFrontAxle)
END_MESSAGE_MAP()

CPropPageLMVehicle::CPropPageLMVehicle() : CPropPageWithGridBase(IDD_PROPPAGE_LM_VEHICLE)
{
    m_ColumnHeadings = {L"No.", L"Weight", L"Spacing", L"Width"};
    m_nDataCols = 3;
    m_nDataRows = 1;
}

CPropPageLMVehicle::~CPropPageLMVehicle() = default;

void CPropPageLMVehicle::SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel)
{
    m_pLoadModel = std::move(pLoadModel);
    if (!m_pLoadModel) return;
    m_nAxles = static_cast<int>(m_pLoadModel->m_vPL.size());
    m_Factor = m_pLoadModel->m_GammaPL;
    ComputeTotals();
    m_FrontAxleLocation = m_pLoadModel->m_PointLoadStart;
    m_nDataRows = m_nAxles > 0 ? m_nAxles : 1;
    m_pLoadModel->Update();
    ComputeSpacings();
}

void CPropPageLMVehicle::ComputeSpacings()
{
    if (m_nAxles <= 0) return;
    const auto& axles = m_pLoadModel->m_vPL;
    m_FrontAxleLocation = axles[0].location;
    m_vSpacings.clear();
    double previous = m_FrontAxleLocation;
    for (const CLoadModel::PointLoad& axle : axles)
    {
        m_vSpacings.push_back(previous - axle.location);
        previous = axle.location;
    }
}

void CPropPageLMVehicle::ApplySpacings()
{
    if (m_nAxles <= 0) return;
    double location = m_FrontAxleLocation;
    for (int i = 0; i < m_nAxles; ++i)
    {
        location -= m_vSpacings[static_cast<size_t>(i)];
        double gamma = 0.0, magnitude = 0.0, oldLocation = 0.0, width = 0.0;
        m_pLoadModel->GetPointLoad(i, gamma, magnitude, oldLocation, width);
        m_pLoadModel->SetPointLoad(i, gamma, magnitude, location, width);
    }
}

void CPropPageLMVehicle::ComputeTotals()
{
    const auto& axles = m_pLoadModel->m_vPL;
    m_TotalWeight = 0.0;
    for (const CLoadModel::PointLoad& axle : axles) m_TotalWeight += axle.magnitude;
    m_TotalLength = axles.size() >= 2 ? std::fabs(axles.back().location - axles.front().location) : 0.0;
}

void CPropPageLMVehicle::UpdateTotals()
{
    UpdateData(TRUE);
    // The spacings are the vehicle: the totals shown are those of the axles they place.
    ApplySpacings();
    ComputeTotals();
    UpdateData(FALSE);
}

void CPropPageLMVehicle::DoDataExchange(CDataExchange* pDX)
{
    const bool filling = !pDX->m_bSaveAndValidate;
    if (filling) ++m_nFilling;
    CPropPageWithGridBase::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LM_GRID, m_Grid);
    DDX_Control(pDX, IDC_LM_FRONT_AXLE, m_FrontAxleEdit);
    DDX_Control(pDX, IDC_LM_PL_FACTOR, m_FactorEdit);
    DDX_Control(pDX, IDC_LM_TOTAL_WEIGHT, m_TotalWeightEdit);
    DDX_Control(pDX, IDC_LM_TOTAL_LENGTH, m_TotalLengthEdit);
    qor::dialogs::ExchangeNumber(pDX, m_FrontAxleEdit, m_FrontAxleLocation, m_FrontAxleShown);
    qor::dialogs::ExchangeNumber(pDX, m_FactorEdit, m_Factor, m_FactorShown);
    // The totals only show what the axles add up to.
    for (auto [edit, value] : {std::pair<CNumericEdit*, double*>{&m_TotalWeightEdit, &m_TotalWeight},
                               std::pair<CNumericEdit*, double*>{&m_TotalLengthEdit, &m_TotalLength}})
    {
        if (pDX->m_bSaveAndValidate)
            *value = edit->GetValue();
        else
            edit->SetValue(*value);
    }
    if (filling) --m_nFilling;
}

BOOL CPropPageLMVehicle::OnInitDialog()
{
    if (!m_pLoadModel) return FALSE;
    CPropPageWithGridBase::OnInitDialog();
    FillNumericTable();
    m_bIsEditable = m_pLoadModel->m_bIsEditable ? TRUE : FALSE;
    m_TotalWeightEdit.EnableWindow(FALSE);
    m_TotalLengthEdit.EnableWindow(FALSE);
    m_FrontAxleEdit.EnableWindow(m_bIsEditable);
    m_Grid.EnableWindow(m_bIsEditable);
    const auto& places = CSettings::GetInstance()->General.DecimalPlaces;
    if (places.DISTANCE >= 0) m_FrontAxleEdit.SetDecimalDigitCount(places.DISTANCE);
    if (places.GVW >= 0) m_TotalWeightEdit.SetDecimalDigitCount(places.GVW);
    if (places.VEHLENGTH >= 0) m_TotalLengthEdit.SetDecimalDigitCount(places.VEHLENGTH);
    UpdateData(FALSE);
    m_bReady = true;
    CPropSheetLM::ShowReadOnly(*this, *m_pLoadModel);
    return TRUE;
}

void CPropPageLMVehicle::FillGrid()
{
    for (int i = 0; i < m_nAxles; ++i)
    {
        const CLoadModel::PointLoad& axle = m_pLoadModel->m_vPL[static_cast<size_t>(i)];
        const double values[] = {axle.magnitude, m_vSpacings[static_cast<size_t>(i)], axle.width};
        for (int col = COL_WEIGHT; col <= COL_WIDTH; ++col) WriteNumber(1 + i, col, values[col - 1]);
    }
}

void CPropPageLMVehicle::AddAxle()
{
    ++m_nAxles;
    m_pLoadModel->AddPointLoad(0.0, 0.0, 0.0);
    m_vSpacings.push_back(0.0);
}

void CPropPageLMVehicle::AddAxlesUpTo(int row)
{
    while (m_nAxles < row)
    {
        AddAxle();
        if (m_nAxles > m_nDataRows) FormatNewRow(&m_Grid, m_nAxles, m_nDataCols);
    }
}

void CPropPageLMVehicle::OnGridEndEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* info = reinterpret_cast<NM_GRIDVIEW*>(pNMHDR);
    if (!m_pLoadModel || info->iRow < 1 || info->iColumn < COL_WEIGHT || info->iColumn > COL_WIDTH) return;
    // Each column in its range; a negative width is no axle width (the width factor would take
    // it for a narrow axle).
    {
        using namespace qor::dialogs;
        const wchar_t* what = info->iColumn == COL_WEIGHT    ? L"axle weight"
                              : info->iColumn == COL_SPACING ? L"axle spacing"
                                                             : L"axle width";
        const InputRange& range = info->iColumn == COL_WEIGHT    ? kLoadRange
                                  : info->iColumn == COL_SPACING ? kLoadDistanceRange
                                                                 : kLoadLengthRange;
        if (!AcceptTyping(m_Grid, info->iRow, info->iColumn, pResult, what) ||
            !AcceptCell(GetCellNumber(info->iRow, info->iColumn), range, pResult, what))
            return;
    }
    // A value typed (or pasted) beyond the last axle brings the axles up to its row.
    AddAxlesUpTo(info->iRow);
    const int idx = info->iRow - 1;
    const double value = GetCellNumber(info->iRow, info->iColumn);
    double gamma = 0.0, magnitude = 0.0, location = 0.0, width = 0.0;
    m_pLoadModel->GetPointLoad(idx, gamma, magnitude, location, width);
    switch (info->iColumn)
    {
    case COL_WEIGHT: m_pLoadModel->SetPointLoad(idx, gamma, value, location, width); break;
    case COL_SPACING:
        m_vSpacings[static_cast<size_t>(idx)] = value;
        ApplySpacings();
        break;
    default: m_pLoadModel->SetPointLoad(idx, gamma, magnitude, location, value); break;
    }
    UpdateTotals();
}

void CPropPageLMVehicle::OnGridRowAdded(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (!m_pLoadModel) return;
    // Tab in an empty table makes the placeholder row an axle as well as the new row.
    const int newRow = m_Grid.GetRowCount() - 1;
    while (m_nAxles < newRow) AddAxle();
    FormatNewRow(&m_Grid, newRow, m_nDataCols);
    // The new axle stands where its spacing and width say: right behind the last, no width.
    WriteNumber(newRow, COL_SPACING, 0.0);
    WriteNumber(newRow, COL_WIDTH, 0.0);
    UpdateTotals();
}

void CPropPageLMVehicle::OnGridRClickRow(NMHDR* pNMHDR, LRESULT* pResult)
{
    OnGridRClick(reinterpret_cast<NM_GRIDVIEW*>(pNMHDR), pResult);
}

BOOL CPropPageLMVehicle::DeleteRow(int row)
{
    // A row without an axle (the placeholder of an empty vehicle) stays.
    if (row >= m_nFixedRows && row - 1 >= m_nAxles) return LoadNotRemoved();
    if (!CPropPageWithGridBase::DeleteRow(row)) return FALSE;
    if (!m_pLoadModel->RemovePointLoad(row - 1)) return LoadNotRemoved();
    --m_nAxles;
    m_vSpacings.erase(m_vSpacings.begin() + (row - 1));
    m_Grid.Invalidate();
    UpdateTotals();
    return TRUE;
}

void CPropPageLMVehicle::OnChangeNumber()
{
    if (!m_bReady || m_nFilling > 0) return;
    UpdateData(TRUE);
}

void CPropPageLMVehicle::OnKillFocusFrontAxle()
{
    // An entry with a refused key in it is no location: the vehicle stays where it stood, and the
    // page refuses the entry as it is left.
    if (!m_bReady || !m_pLoadModel || m_FrontAxleEdit.IsHoldingDigits()) return;
    if (!qor::dialogs::InRange(m_FrontAxleEdit.GetValue(), qor::dialogs::kLoadDistanceRange))
    {
        // The vehicle stays where it stood; the edit shows that again.
        AfxMessageBox(qor::dialogs::RangeRefusal(qor::dialogs::kLoadDistanceRange, kFrontAxle),
                      MB_OK | MB_ICONEXCLAMATION);
        m_FrontAxleLocation = m_pLoadModel->m_vPL.empty() ? m_pLoadModel->m_PointLoadStart
                                                          : m_pLoadModel->m_vPL[0].location + m_vSpacings[0];
        UpdateData(FALSE);
        return;
    }
    UpdateData(TRUE);
    m_pLoadModel->m_PointLoadStart = m_FrontAxleLocation;
    ApplySpacings();
    // A first spacing is folded into the front axle's location. The edit must show the folded
    // location before anything reads it back, or the fold would move the vehicle.
    ComputeSpacings();
    FillGrid();
    m_Grid.Invalidate();
    ComputeTotals();
    UpdateData(FALSE);
}

BOOL CPropPageLMVehicle::OnKillActive()
{
    // The factor and front axle as the edits show them now, then into the model. The front axle's
    // range is checked as its field is left.
    using namespace qor::dialogs;
    const BOOL bLeave = CPropPageWithGridBase::OnKillActive() && CheckTyping(*this, IDC_LM_FRONT_AXLE, kFrontAxle) &&
                        CheckRange(*this, IDC_LM_PL_FACTOR, m_Factor, kKindFactorRange, L"factor for axle loads");
    if (bLeave && m_pLoadModel)
    {
        m_pLoadModel->m_GammaPL = m_Factor;
        for (CLoadModel::PointLoad& axle : m_pLoadModel->m_vPL) axle.gamma = m_Factor;
        ApplySpacings();
    }
    return bLeave;
}

void CPropPageLMVehicle::OnOK()
{
    // Rows added and never filled in leave zero loads behind.
    if (m_pLoadModel) m_pLoadModel->RemoveZeroLoads();
    CPropPageWithGridBase::OnOK();
}
