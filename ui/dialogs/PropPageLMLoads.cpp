// CPropPageLMLoads: cell edits written into the model at once, rows added with zero loads,
// rows deleted with their loads, the kind's factor written when the page is left.
#include "ui/dialogs/PropPageLMLoads.h"
#include "ui/dialogs/PropSheetLM.h"

#include "engine/model/LoadModel.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/InputRanges.h"
#include "ui/dialogs/NumberExchange.h"

#include <array>

BEGIN_MESSAGE_MAP(CPropPageLMLoads, CPropPageWithGridBase)
ON_NOTIFY(GVN_ENDLABELEDIT, IDC_LM_GRID, OnGridEndEdit)
ON_NOTIFY(GN_ROWADDED, IDC_LM_GRID, OnGridRowAdded)
ON_NOTIFY(NM_RCLICK, IDC_LM_GRID, OnGridRClickRow)
ON_CONTROL_RANGE(EN_CHANGE, IDC_LM_UDL_FACTOR, IDC_LM_PUDL_FACTOR, OnChangeFactor)
END_MESSAGE_MAP()

CPropPageLMLoads::CPropPageLMLoads(UINT nIDTemplate, UINT nFactorEditID)
    : CPropPageWithGridBase(nIDTemplate), m_nFactorEditID(nFactorEditID)
{}

CPropPageLMLoads::~CPropPageLMLoads() = default;

void CPropPageLMLoads::SetLoadModel(std::shared_ptr<CLoadModel> pLoadModel)
{
    m_pLoadModel = std::move(pLoadModel);
    if (!m_pLoadModel) return;
    m_nLoads = CountLoads();
    m_Factor = GetKindFactor();
    // An empty list still shows one row to type the first load into.
    m_nDataRows = m_nLoads > 0 ? m_nLoads : 1;
    m_pLoadModel->Update();
}

void CPropPageLMLoads::DoDataExchange(CDataExchange* pDX)
{
    const bool filling = !pDX->m_bSaveAndValidate;
    if (filling) ++m_nFilling;
    CPropPageWithGridBase::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LM_GRID, m_Grid);
    DDX_Control(pDX, static_cast<int>(m_nFactorEditID), m_FactorEdit);
    qor::dialogs::ExchangeNumber(pDX, m_FactorEdit, m_Factor, m_FactorShown);
    if (filling) --m_nFilling;
}

BOOL CPropPageLMLoads::OnInitDialog()
{
    if (!m_pLoadModel) return FALSE;
    CPropPageWithGridBase::OnInitDialog();
    FillNumericTable();
    m_bIsEditable = m_pLoadModel->m_bIsEditable ? TRUE : FALSE;
    m_Grid.EnableWindow(m_bIsEditable);
    m_bReady = true;
    CPropSheetLM::ShowReadOnly(*this, *m_pLoadModel);
    return TRUE;
}

void CPropPageLMLoads::FillGrid()
{
    std::array<double, 3> values{};
    for (int i = 0; i < m_nLoads; ++i)
    {
        GetValues(i, values.data());
        for (int col = 0; col < m_nDataCols; ++col) WriteNumber(1 + i, 1 + col, values[static_cast<size_t>(col)]);
    }
}

void CPropPageLMLoads::AddLoadsUpTo(int row)
{
    while (CountLoads() < row)
    {
        AddZeroLoad();
        const int newRow = CountLoads();
        if (newRow > m_nDataRows) FormatNewRow(&m_Grid, newRow, m_nDataCols);
    }
    m_nLoads = CountLoads();
}

void CPropPageLMLoads::OnGridEndEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* info = reinterpret_cast<NM_GRIDVIEW*>(pNMHDR);
    if (!m_pLoadModel || info->iRow < 1 || info->iColumn < 1 || info->iColumn > m_nDataCols) return;
    const wchar_t* what = FieldName(info->iColumn);
    if (!qor::dialogs::AcceptTyping(m_Grid, info->iRow, info->iColumn, pResult, what) ||
        !qor::dialogs::AcceptCell(GetCellNumber(info->iRow, info->iColumn), ColumnRange(info->iColumn), pResult, what))
        return;
    // A value typed (or pasted) beyond the last load brings the loads up to its row.
    AddLoadsUpTo(info->iRow);
    SetValue(info->iRow - 1, info->iColumn, GetCellNumber(info->iRow, info->iColumn));
}

void CPropPageLMLoads::OnGridRowAdded(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (!m_pLoadModel) return;
    // Tab in an empty table makes the placeholder row a load as well as the new row.
    const int newRow = m_Grid.GetRowCount() - 1;
    AddLoadsUpTo(newRow);
    FormatNewRow(&m_Grid, newRow, m_nDataCols);
}

void CPropPageLMLoads::OnGridRClickRow(NMHDR* pNMHDR, LRESULT* pResult)
{
    OnGridRClick(reinterpret_cast<NM_GRIDVIEW*>(pNMHDR), pResult);
}

BOOL CPropPageLMLoads::DeleteRow(int row)
{
    // A row without a load (the placeholder of an empty list) stays, so the table and the
    // model keep one row per load.
    if (row >= m_nFixedRows && row - 1 >= CountLoads()) return LoadNotRemoved();
    if (!CPropPageWithGridBase::DeleteRow(row)) return FALSE;
    if (!RemoveLoad(row - 1)) return LoadNotRemoved();
    m_nLoads = CountLoads();
    m_Grid.Invalidate();
    return TRUE;
}

void CPropPageLMLoads::OnChangeFactor(UINT nID)
{
    if (nID != m_nFactorEditID || !m_bReady || m_nFilling > 0) return;
    UpdateData(TRUE);
}

BOOL CPropPageLMLoads::OnKillActive()
{
    // The factor as the edit shows it now, then into the model and every load of the kind.
    const BOOL bLeave = CPropPageWithGridBase::OnKillActive() &&
                        qor::dialogs::CheckRange(
                            *this, static_cast<int>(m_nFactorEditID), m_Factor, qor::dialogs::kKindFactorRange,
                            m_nFactorEditID == IDC_LM_UDL_FACTOR ? L"factor for UDLs" : L"factor for partial UDLs");
    if (bLeave && m_pLoadModel) ApplyKindFactor(m_Factor);
    return bLeave;
}
