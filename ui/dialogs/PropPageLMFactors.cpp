// CPropPageLMFactors: the factor table, the overall factor kept as their product, and the
// width factor.
#include "ui/dialogs/PropPageLMFactors.h"
#include "ui/dialogs/PropSheetLM.h"

#include "engine/model/LoadModel.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/InputRanges.h"

#include <cmath>

namespace {
constexpr int kValueColumn = 2;
}

BEGIN_MESSAGE_MAP(CPropPageLMFactors, CPropPageWithGridBase)
ON_NOTIFY(GVN_ENDLABELEDIT, IDC_LM_GRID, OnGridEndEdit)
ON_CBN_SELCHANGE(IDC_LM_WIDTH_FACTOR, OnSelChangeWidthFactor)
END_MESSAGE_MAP()

CPropPageLMFactors::CPropPageLMFactors() : CPropPageWithGridBase(IDD_PROPPAGE_LM_FACTORS)
{
    m_WidthFactorStrings = {L"None", L"Low distribution", L"High distribution"};
    m_ColumnHeadings = {L"No.", L"Description", L"Value"};
    m_nDataCols = 2;
    m_nDataRows = m_nFactors;
}

CPropPageLMFactors::~CPropPageLMFactors() = default;

void CPropPageLMFactors::SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel)
{
    m_pLoadModel = std::move(pLoadModel);
    if (!m_pLoadModel) return;
    m_pLoadModel->UpdateGamma();
    m_OverallFactor = m_pLoadModel->m_Gamma;
    m_nDataRows = m_nFactors;
}

void CPropPageLMFactors::DoDataExchange(CDataExchange* pDX)
{
    CPropPageWithGridBase::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LM_GRID, m_Grid);
    DDX_Control(pDX, IDC_LM_WIDTH_FACTOR, m_WidthFactorCombo);
    DDX_CBIndex(pDX, IDC_LM_WIDTH_FACTOR, m_nWidthFactorIndex);
    // The overall factor only shows the product: written, never read back. Every digit of it
    // shows in the field: six decimals at most, and a product beyond the range (a case from
    // elsewhere) in powers of ten rather than cut at the front.
    if (!pDX->m_bSaveAndValidate) SetDlgItemText(IDC_LM_OVERALL_FACTOR, OverallFactorText(m_OverallFactor));
}

CString CPropPageLMFactors::OverallFactorText(double value)
{
    CString text;
    if (std::isfinite(value) && std::fabs(value) < 1e9)
    {
        text.Format(L"%.6f", value);
        text.TrimRight(L'0');
        text.TrimRight(L'.');
        if (text == L"-0") text = L"0";
    }
    else
        text.Format(L"%.6g", value);
    return text;
}

BOOL CPropPageLMFactors::OnInitDialog()
{
    if (!m_pLoadModel) return FALSE;
    CMFCPropertyPage::OnInitDialog();
    SetupGrid(&m_Grid, m_nFactors, m_nDataCols, &m_ColumnHeadings);
    MakeCellsNumeric(&m_Grid, m_nFactors, m_nDataCols);
    for (const CString& text : m_WidthFactorStrings) m_WidthFactorCombo.AddString(text);
    m_WidthFactor = m_pLoadModel->m_WidthFactor;
    m_nWidthFactorIndex =
        (m_WidthFactor == CLoadModel::WIDTH_LOW || m_WidthFactor == CLoadModel::WIDTH_HIGH) ? m_WidthFactor : 0;
    FillGrid();
    UpdateData(FALSE);
    m_bReady = true;
    CPropSheetLM::ShowReadOnly(*this, *m_pLoadModel);
    return TRUE;
}

void CPropPageLMFactors::FillGrid()
{
    // The four factors are all there is: neither Tab nor a paste may add a row.
    m_Grid.SetTabAddsRow(FALSE);
    m_Grid.SetPasteAddsRows(FALSE);
    for (int i = 0; i < m_nFactors; ++i)
    {
        const Factor factor = m_pLoadModel->GetFactor(i);
        const int row = 1 + i;
        m_Grid.SetCellType(row, 1, RUNTIME_CLASS(CGridCell));
        if (CGridCellBase* cell = m_Grid.GetCell(row, 1))
        {
            cell->SetFormat(kCellFormat);
            cell->SetBackClr(::GetSysColor(COLOR_BTNFACE));
        }
        m_Grid.SetItemText(row, 1, factor.desc);
        m_Grid.SetModified(row, 1);
        m_Grid.SetItemState(row, 1, m_Grid.GetItemState(row, 1) | GVIS_READONLY);
        if (auto* value = dynamic_cast<CGridCellNumeric*>(m_Grid.GetCell(row, kValueColumn)))
            value->SetNumber(factor.value);
    }
    m_Grid.AutoSizeColumn(0, GVS_BOTH, TRUE);
    m_Grid.ExpandColumnsToFit(FALSE);
}

void CPropPageLMFactors::OnGridEndEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* info = reinterpret_cast<NM_GRIDVIEW*>(pNMHDR);
    if (!m_pLoadModel || info->iColumn != kValueColumn || info->iRow < 1 || info->iRow > m_nFactors) return;
    const double value = GetCellNumber(info->iRow, info->iColumn);
    double* factor = info->iRow == 1   ? &m_pLoadModel->m_gDLA.value
                     : info->iRow == 2 ? &m_pLoadModel->m_gLiveLoad.value
                     : info->iRow == 3 ? &m_pLoadModel->m_gUnits.value
                                       : &m_pLoadModel->m_gArbitrary.value;
    // Each factor in its range, and their product too.
    using namespace qor::dialogs;
    const CString name = L"factor \"" + m_Grid.GetItemText(info->iRow, 1) + L"\"";
    if (!AcceptTyping(m_Grid, info->iRow, info->iColumn, pResult, name) ||
        !AcceptCell(value, kFactorRange, pResult, name))
        return;
    const double before = *factor;
    *factor = value;
    const double product = m_pLoadModel->m_gDLA.value * m_pLoadModel->m_gLiveLoad.value * m_pLoadModel->m_gUnits.value *
                           m_pLoadModel->m_gArbitrary.value;
    if (!InRange(product, kOverallFactorRange))
    {
        *factor = before;
        AcceptCell(RangeRefusal(kOverallFactorRange, L"overall factor (the product of the four factors)"), pResult);
        return;
    }
    m_pLoadModel->UpdateGamma();
    m_OverallFactor = m_pLoadModel->m_Gamma;
    UpdateData(FALSE);
}

void CPropPageLMFactors::OnSelChangeWidthFactor()
{
    if (!m_bReady || !m_pLoadModel) return;
    UpdateData(TRUE);
    m_WidthFactor = (m_nWidthFactorIndex == 1 || m_nWidthFactorIndex == 2) ? m_nWidthFactorIndex : 0;
    m_pLoadModel->m_WidthFactor = m_WidthFactor;
}
