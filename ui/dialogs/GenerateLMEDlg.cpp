// Generation of an ensemble from one load model: the axles in a grid, some made variable with a range of
// spacings, checked at OK and multiplied out into one copy of the vehicle per combination.
#include "ui/dialogs/GenerateLMEDlg.h"

#include "controls/grid/GridCellCombo.h"
#include "controls/grid/GridCellNumeric.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/model/Ranges.h"
#include "res/LibraryDialogs.h"
#include "res/Resource.h"
#include "ui/dialogs/InputRanges.h"

#include <cmath>

namespace {

enum Column : int
{
    COL_WEIGHT = 1,
    COL_SPACING = 2,
    COL_TYPE = 3,
    COL_MIN = 4,
    COL_MAX = 5,
    COL_INCREMENT = 6,
    COL_PARAMETER = 7,
    DATA_COLUMNS = 7
};

constexpr int kRealNumbers = CGridCellNumeric::Decimals; // no negatives
constexpr int kWholeNumbers = 0;
constexpr UINT kComboDropList = 3; // CBS_DROPDOWNLIST

// How many spacings a variable axle lists: the values RangeByStep or LinSpace will give.
double SpacingCount(const AxleDefinition& axle)
{
    if (!axle.byDistance) return std::trunc(axle.parameter);
    const double k = std::floor((axle.max - axle.min) / axle.parameter + 1e-9);
    return k + 1.0 + (axle.max - (axle.min + k * axle.parameter) > 1e-9 ? 1.0 : 0.0);
}

bool IsVariable(const std::vector<AxleDefinition>& axles, size_t i) { return i > 0 && !axles[i].fixed; }

} // namespace

BEGIN_MESSAGE_MAP(CGenerateLMEDlg, CDialogWithGridBase)
ON_LBN_SELCHANGE(IDC_GENLME_LOADMODEL, OnSelChangeLoadModel)
ON_NOTIFY(GVN_ENDLABELEDIT, IDC_GENLME_GRID, OnGridEndEdit)
END_MESSAGE_MAP()

CGenerateLMEDlg::CGenerateLMEDlg(CWnd* pParent) : CDialogWithGridBase(IDD_GENERATE_LME, pParent)
{
    m_ColumnHeadings = {L"No.", L"Weight", L"Spacing", L"Type", L"Min", L"Max", L"Increment", L"Parameter"};
    m_nDataCols = DATA_COLUMNS;
    m_nDataRows = 0;
    m_TypeOptions = {L"Fixed", L"Variable"};
    m_IncrementOptions = {L"Step", L"Distance"};
}

void CGenerateLMEDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogWithGridBase::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GENLME_GRID, m_Grid);
    DDX_Control(pDX, IDC_GENLME_LOADMODEL, m_lbLoadModel);
}

BOOL CGenerateLMEDlg::OnInitDialog()
{
    CDialogWithGridBase::OnInitDialog();
    m_lbLoadModel.ResetContent();
    for (const auto& model : m_vLoadModel)
    {
        CString line;
        line.Format(L"%d - ", model ? model->m_ID : 0);
        if (model) line += model->GetDescription();
        m_lbLoadModel.AddString(line);
    }
    m_Grid.EnableWindow(TRUE);
    UpdateData(FALSE);
    return TRUE;
}

void CGenerateLMEDlg::OnSelChangeLoadModel()
{
    const int index = m_lbLoadModel.GetCurSel();
    if (index < 0 || index >= static_cast<int>(m_vLoadModel.size()) || !m_vLoadModel[static_cast<size_t>(index)])
        return;
    m_pBaseModel = m_vLoadModel[static_cast<size_t>(index)];
    BuildAxleDefinitions();
    FillGrid();
}

void CGenerateLMEDlg::BuildAxleDefinitions()
{
    m_vAxleDefinitions.clear();
    if (!m_pBaseModel) return;
    const auto& axles = m_pBaseModel->m_vPL;
    m_vAxleDefinitions.reserve(axles.size());
    for (size_t i = 0; i < axles.size(); ++i)
    {
        AxleDefinition axle;
        axle.magnitude = axles[i].magnitude;
        axle.width = axles[i].width;
        axle.gamma = axles[i].gamma;
        axle.spacing = i == 0 ? 0.0 : axles[i - 1].location - axles[i].location;
        m_vAxleDefinitions.push_back(axle);
    }
}

void CGenerateLMEDlg::FillGrid()
{
    if (!m_pBaseModel) return;
    m_Grid.EndEditing();
    SetupGrid(&m_Grid, static_cast<int>(m_vAxleDefinitions.size()), m_nDataCols, &m_ColumnHeadings);
    for (int i = 0; i < static_cast<int>(m_vAxleDefinitions.size()); ++i) FillRow(i);
    m_Grid.Invalidate();
}

void CGenerateLMEDlg::SetNumberCell(int row, int col, double value, int flags)
{
    if (!dynamic_cast<CGridCellNumeric*>(m_Grid.GetCell(row, col)))
        m_Grid.SetCellType(row, col, RUNTIME_CLASS(CGridCellNumeric));
    auto* cell = dynamic_cast<CGridCellNumeric*>(m_Grid.GetCell(row, col));
    if (!cell) return;
    cell->SetFormat(kCellFormat);
    cell->SetFlags(flags);
    cell->SetNumber(value);
    m_Grid.SetModified(row, col);
}

void CGenerateLMEDlg::SetComboCell(int row, int col, const std::vector<CString>& options, const CString& text)
{
    if (!dynamic_cast<CGridCellCombo*>(m_Grid.GetCell(row, col)))
        m_Grid.SetCellType(row, col, RUNTIME_CLASS(CGridCellCombo));
    auto* cell = dynamic_cast<CGridCellCombo*>(m_Grid.GetCell(row, col));
    if (!cell) return;
    cell->SetFormat(kCellFormat);
    cell->SetOptions(options);
    cell->SetStyle(kComboDropList);
    m_Grid.SetItemText(row, col, text);
    m_Grid.SetModified(row, col);
}

void CGenerateLMEDlg::FillRow(int axle)
{
    if (axle < 0 || axle >= static_cast<int>(m_vAxleDefinitions.size())) return;
    const AxleDefinition& def = m_vAxleDefinitions[static_cast<size_t>(axle)];
    const int row = axle + 1;

    SetNumberCell(row, COL_WEIGHT, def.magnitude, kRealNumbers);
    SetNumberCell(row, COL_SPACING, def.spacing, kRealNumbers);
    SetCellReadOnly(row, COL_WEIGHT, false);
    SetCellReadOnly(row, COL_SPACING, false);

    // The first axle has nothing in front of it to be spaced from.
    SetComboCell(row, COL_TYPE, m_TypeOptions, def.fixed || axle == 0 ? L"Fixed" : L"Variable");
    if (axle == 0)
        SetCellReadOnly(row, COL_TYPE, false);
    else
        SetCellEditable(row, COL_TYPE);

    if (IsVariable(m_vAxleDefinitions, static_cast<size_t>(axle)))
    {
        SetNumberCell(row, COL_MIN, def.min, kRealNumbers);
        SetNumberCell(row, COL_MAX, def.max, kRealNumbers);
        SetComboCell(row, COL_INCREMENT, m_IncrementOptions, def.byDistance ? L"Distance" : L"Step");
        if (def.byDistance)
            SetNumberCell(row, COL_PARAMETER, def.parameter, kRealNumbers);
        else
            SetNumberCell(row, COL_PARAMETER, std::trunc(def.parameter), kWholeNumbers);
        for (int col = COL_MIN; col <= COL_PARAMETER; ++col) SetCellEditable(row, col);
    }
    else
    {
        for (int col = COL_MIN; col <= COL_PARAMETER; ++col) SetCellReadOnly(row, col, true);
    }
}

void CGenerateLMEDlg::OnGridEndEdit(NMHDR* header, LRESULT* result)
{
    OnEndEdit(reinterpret_cast<NM_GRIDVIEW*>(header), result);
}

void CGenerateLMEDlg::OnEndEdit(NM_GRIDVIEW* info, LRESULT* result)
{
    *result = 0;
    const int axle = info->iRow - 1;
    const bool byDistance = axle >= 0 && axle < static_cast<int>(m_vAxleDefinitions.size()) &&
                            m_vAxleDefinitions[static_cast<size_t>(axle)].byDistance;
    const wchar_t* what = info->iColumn == COL_MIN         ? L"minimum spacing"
                          : info->iColumn == COL_MAX       ? L"maximum spacing"
                          : info->iColumn == COL_PARAMETER ? (byDistance ? L"\"Distance\" step" : L"number of spacings")
                                                           : L"number";
    if (!qor::dialogs::AcceptTyping(m_Grid, info->iRow, info->iColumn, result, what)) return;
    const CString text = m_Grid.GetItemText(info->iRow, info->iColumn);
    if (text.IsEmpty())
    {
        *result = -1;
        return;
    }
    // Rows added by Tab or by a paste have no axle behind them.
    if (axle < 0 || axle >= static_cast<int>(m_vAxleDefinitions.size())) return;
    AxleDefinition& def = m_vAxleDefinitions[static_cast<size_t>(axle)];
    const auto* number = dynamic_cast<const CGridCellNumeric*>(m_Grid.GetCell(info->iRow, info->iColumn));
    // The lengths typed keep to the range of a spacing (a cell outside keeps what it held); a
    // step of zero and the counts are checked at OK, against the whole list.
    if (number &&
        (info->iColumn == COL_MIN || info->iColumn == COL_MAX || (info->iColumn == COL_PARAMETER && def.byDistance)))
    {
        if (!qor::dialogs::AcceptCell(number->GetNumber(), qor::dialogs::kSpacingRange, result, what)) return;
    }
    switch (info->iColumn)
    {
    case COL_TYPE:
        def.fixed = text != L"Variable";
        FillRow(axle);
        m_Grid.RedrawRow(info->iRow);
        break;
    case COL_MIN:
        if (number) def.min = number->GetNumber();
        break;
    case COL_MAX:
        if (number) def.max = number->GetNumber();
        break;
    case COL_INCREMENT:
        def.byDistance = text == L"Distance";
        FillRow(axle);
        m_Grid.RedrawRow(info->iRow);
        break;
    case COL_PARAMETER:
        if (number) def.parameter = number->GetNumber();
        break;
    default: break;
    }
}

CString CGenerateLMEDlg::CheckDefinitions() const
{
    if (!m_pBaseModel) return L"Select the load model to generate the ensemble from.";
    double combinations = 1.0;
    CString reason;
    for (size_t i = 0; i < m_vAxleDefinitions.size(); ++i)
    {
        if (!IsVariable(m_vAxleDefinitions, i)) continue;
        const AxleDefinition& axle = m_vAxleDefinitions[i];
        const int number = static_cast<int>(i) + 1;
        if (axle.byDistance && !(axle.parameter > 0.0))
            reason.Format(L"Axle %d: the \"Distance\" step must be greater than zero.", number);
        else if (!(axle.max >= axle.min))
            reason.Format(L"Axle %d: the maximum spacing is below the minimum.", number);
        else if (!axle.byDistance && axle.parameter < 2.0)
            reason.Format(L"Axle %d: a \"Step\" range needs at least 2 spacings.", number);
        if (!reason.IsEmpty()) return reason;
        combinations *= SpacingCount(axle);
    }
    if (combinations > kMaxCombinations)
        reason.Format(L"The variable axles give %.0f load models; at most %d can be generated.", combinations,
                      kMaxCombinations);
    return reason;
}

std::vector<std::vector<double>> CGenerateLMEDlg::BuildCombinations() const
{
    std::vector<std::vector<double>> lists;
    size_t total = 1;
    for (size_t i = 0; i < m_vAxleDefinitions.size(); ++i)
    {
        if (!IsVariable(m_vAxleDefinitions, i)) continue;
        const AxleDefinition& axle = m_vAxleDefinitions[i];
        // The counts were checked at OK; a list that would still be too long is not made at all.
        if (SpacingCount(axle) > kMaxCombinations) return {};
        lists.push_back(axle.byDistance ? RangeByStep(axle.min, axle.max, axle.parameter)
                                        : LinSpace(static_cast<int>(axle.parameter), axle.min, axle.max));
        total *= lists.back().size();
        if (total == 0 || total > static_cast<size_t>(kMaxCombinations)) return {};
    }

    // Counting through the lists as the digits of a number whose last digit turns fastest.
    std::vector<std::vector<double>> combinations;
    combinations.reserve(total);
    std::vector<size_t> digit(lists.size(), 0);
    for (size_t k = 0; k < total; ++k)
    {
        std::vector<double> combination(lists.size());
        for (size_t l = 0; l < lists.size(); ++l) combination[l] = lists[l][digit[l]];
        combinations.push_back(std::move(combination));
        for (size_t l = lists.size(); l-- > 0;)
        {
            if (++digit[l] < lists[l].size()) break;
            digit[l] = 0;
        }
    }
    return combinations;
}

BOOL CGenerateLMEDlg::Generate()
{
    const auto combinations = BuildCombinations();
    const CString base = m_pBaseModel->GetDescription();
    m_pLME = std::make_shared<CLoadModelEnsemble>(m_nLMEID, L"Gen from: " + base);
    for (size_t k = 0; k < combinations.size(); ++k)
    {
        auto model = std::make_shared<CLoadModel>(*m_pBaseModel);
        model->m_Description.Format(L"Gen from: %s - %d", base.GetString(), static_cast<int>(k) + 1);
        model->m_ID = static_cast<int>(k);
        double location = 0.0;
        size_t next = 0;
        for (size_t i = 0; i < m_vAxleDefinitions.size(); ++i)
        {
            const AxleDefinition& axle = m_vAxleDefinitions[i];
            location -= IsVariable(m_vAxleDefinitions, i) ? combinations[k][next++] : axle.spacing;
            model->SetPointLoad(static_cast<int>(i), axle.gamma, axle.magnitude, location, axle.width);
        }
        m_pLME->AddLoadModel(model);
    }
    return TRUE;
}

void CGenerateLMEDlg::OnOK()
{
    m_Grid.EndEditing();
    if (!UpdateData(TRUE)) return;
    const CString reason = CheckDefinitions();
    if (!reason.IsEmpty())
    {
        AfxMessageBox(reason, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (Generate()) EndDialog(IDOK);
}
