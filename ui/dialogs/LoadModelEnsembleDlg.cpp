// CLoadModelEnsembleDlg: the two lists filled from the case and the ensemble, entries moved
// between them by dragging, double click to view a load model, the ensemble rebuilt on OK.
#include "ui/dialogs/LoadModelEnsembleDlg.h"

#include "engine/model/LoadModelEnsemble.h"
#include "res/LoadModelDialogs.h"
#include "ui/dialogs/DragDropText.h"

#include <algorithm>

namespace {
const DRAGDROPWND kDragWindows[] = {
    {IDC_LME_AVAILABLE, CDragDropMgr::DDW_SOURCE | CDragDropMgr::DDW_TARGET},
    {IDC_LME_INCLUDED, CDragDropMgr::DDW_SOURCE | CDragDropMgr::DDW_TARGET},
    {0, 0},
};
}

BEGIN_MESSAGE_MAP(CLoadModelEnsembleDlg, CDialogEx)
ON_REGISTERED_MESSAGE(WM_DD_DRAGENTER, OnDragEnter)
ON_REGISTERED_MESSAGE(WM_DD_DRAGDROP, OnDragDrop)
ON_REGISTERED_MESSAGE(WM_DD_DRAGABORT, OnDragAbort)
ON_LBN_DBLCLK(IDC_LME_AVAILABLE, OnDblClkAvailable)
ON_LBN_DBLCLK(IDC_LME_INCLUDED, OnDblClkIncluded)
ON_EN_CHANGE(IDC_LM_DESCRIPTION, OnChangeDescription)
END_MESSAGE_MAP()

CLoadModelEnsembleDlg::CLoadModelEnsembleDlg(CWnd* pParent) : CDialogEx(IDD_LOAD_MODEL_ENSEMBLE, pParent) {}

CLoadModelEnsembleDlg::~CLoadModelEnsembleDlg() = default;

void CLoadModelEnsembleDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LME_AVAILABLE, m_AvailableList);
    DDX_Control(pDX, IDC_LME_INCLUDED, m_IncludedList);
    DDX_Control(pDX, IDC_LM_DESCRIPTION, m_DescriptionEdit);
    DDX_Text(pDX, IDC_LM_DESCRIPTION, m_Description);
    DDX_Text(pDX, IDC_LM_ID, m_ID);
}

CString CLoadModelEnsembleDlg::EntryText(size_t lookupIndex) const
{
    const CLoadModel& model = *m_vLookup[lookupIndex];
    CString text;
    text.Format(L"%d - ", model.m_ID);
    return text + model.GetDescription();
}

int CLoadModelEnsembleDlg::AddEntry(CListBox& list, size_t lookupIndex)
{
    const int index = list.AddString(EntryText(lookupIndex));
    if (index >= 0) list.SetItemData(index, static_cast<DWORD_PTR>(lookupIndex));
    return index;
}

std::shared_ptr<CLoadModel> CLoadModelEnsembleDlg::ModelOf(CListBox& list, int index) const
{
    if (index < 0 || index >= list.GetCount()) return nullptr;
    const size_t lookupIndex = static_cast<size_t>(list.GetItemData(index));
    return lookupIndex < m_vLookup.size() ? m_vLookup[lookupIndex] : nullptr;
}

CListBox* CLoadModelEnsembleDlg::ListOf(UINT id)
{
    if (id == IDC_LME_AVAILABLE) return &m_AvailableList;
    if (id == IDC_LME_INCLUDED) return &m_IncludedList;
    return nullptr;
}

BOOL CLoadModelEnsembleDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    // Every load model of the case and of the ensemble, each once.
    m_vLookup = m_vLoadModel;
    if (m_pLME) m_vLookup.insert(m_vLookup.end(), m_pLME->m_vLoadModel.begin(), m_pLME->m_vLoadModel.end());
    std::erase(m_vLookup, nullptr);
    std::sort(m_vLookup.begin(), m_vLookup.end(), [](const auto& a, const auto& b) { return a.get() < b.get(); });
    m_vLookup.erase(std::unique(m_vLookup.begin(), m_vLookup.end()), m_vLookup.end());
    const auto lookupIndexOf = [this](const std::shared_ptr<CLoadModel>& model) {
        return static_cast<size_t>(std::lower_bound(m_vLookup.begin(), m_vLookup.end(), model,
                                                    [](const auto& a, const auto& b) { return a.get() < b.get(); }) -
                                   m_vLookup.begin());
    };

    // The available list shows every load model of the case, those in the ensemble too.
    for (const auto& model : m_vLoadModel)
        if (model) AddEntry(m_AvailableList, lookupIndexOf(model));
    if (m_pLME)
        for (const auto& model : m_pLME->m_vLoadModel)
            if (model) AddEntry(m_IncludedList, lookupIndexOf(model));

    m_DragDropMgr.Install(this, kDragWindows);
    m_bIsEditable = (!m_pLME || m_pLME->m_bIsEditable) ? TRUE : FALSE;
    m_DescriptionEdit.EnableWindow(m_bIsEditable);
    m_AvailableList.EnableWindow(m_bIsEditable);
    m_IncludedList.EnableWindow(m_bIsEditable);
    UpdateData(FALSE);
    m_bReady = true;
    return TRUE;
}

BOOL CLoadModelEnsembleDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_DragDropMgr.PreTranslateMessage(pMsg)) return TRUE;
    return CDialogEx::PreTranslateMessage(pMsg);
}

LRESULT CLoadModelEnsembleDlg::OnDragEnter(WPARAM wParam, LPARAM lParam)
{
    auto* info = reinterpret_cast<DragDropInfo*>(lParam);
    CListBox* pList = ListOf(static_cast<UINT>(wParam));
    if (pList == nullptr || info == nullptr) return FALSE;
    BOOL bOutside = TRUE;
    const int index = static_cast<int>(pList->ItemFromPoint(info->pt, bOutside));
    if (bOutside || index < 0 || index >= pList->GetCount()) return FALSE;
    CString text;
    pList->GetText(index, text);
    info->data = new CDragDropText(text);
    m_nDragged = static_cast<size_t>(pList->GetItemData(index));
    // The entry under the pointer leaves its list, whatever other entry reads the same.
    pList->DeleteString(static_cast<UINT>(index));
    return TRUE;
}

LRESULT CLoadModelEnsembleDlg::OnDragDrop(WPARAM wParam, LPARAM lParam)
{
    auto* info = reinterpret_cast<DragDropInfo*>(lParam);
    CListBox* pList = ListOf(static_cast<UINT>(wParam));
    if (pList == nullptr || info == nullptr || info->data == nullptr || m_nDragged >= m_vLookup.size()) return 0;
    // No load model stands twice in a list.
    for (int i = pList->GetCount() - 1; i >= 0; --i)
        if (static_cast<size_t>(pList->GetItemData(i)) == m_nDragged) pList->DeleteString(static_cast<UINT>(i));
    pList->SetCurSel(AddEntry(*pList, m_nDragged));
    return 0;
}

LRESULT CLoadModelEnsembleDlg::OnDragAbort(WPARAM wParam, LPARAM lParam)
{
    auto* info = reinterpret_cast<DragDropInfo*>(lParam);
    CListBox* pList = ListOf(static_cast<UINT>(wParam));
    // An Esc before the drag began has taken nothing out.
    if (pList == nullptr || info == nullptr || info->data == nullptr || m_nDragged >= m_vLookup.size()) return 0;
    pList->SetCurSel(AddEntry(*pList, m_nDragged));
    return 0;
}

void CLoadModelEnsembleDlg::EditEntry(CListBox& list)
{
    std::shared_ptr<CLoadModel> pLoadModel = ModelOf(list, list.GetCurSel());
    if (!pLoadModel || !m_EditLoadModel) return;
    m_EditLoadModel(pLoadModel);
    // A new name shows at once; the entry still means the same load model.
    RefreshEntryTexts();
}

void CLoadModelEnsembleDlg::RefreshEntryTexts()
{
    for (CListBox* pList : {&m_AvailableList, &m_IncludedList})
    {
        const int selected = pList->GetCurSel();
        for (int i = 0; i < pList->GetCount(); ++i)
        {
            const auto lookupIndex = static_cast<size_t>(pList->GetItemData(i));
            CString shown;
            pList->GetText(i, shown);
            if (lookupIndex >= m_vLookup.size() || shown == EntryText(lookupIndex)) continue;
            pList->DeleteString(static_cast<UINT>(i));
            pList->InsertString(i, EntryText(lookupIndex));
            pList->SetItemData(i, static_cast<DWORD_PTR>(lookupIndex));
        }
        pList->SetCurSel(selected);
    }
}

void CLoadModelEnsembleDlg::OnDblClkAvailable() { EditEntry(m_AvailableList); }

void CLoadModelEnsembleDlg::OnDblClkIncluded() { EditEntry(m_IncludedList); }

void CLoadModelEnsembleDlg::OnChangeDescription()
{
    if (!m_bReady) return;
    UpdateData(TRUE);
}

void CLoadModelEnsembleDlg::OnOK()
{
    if (m_pLME)
    {
        m_pLME->Clear();
        for (int i = 0; i < m_IncludedList.GetCount(); ++i)
            if (std::shared_ptr<CLoadModel> pLoadModel = ModelOf(m_IncludedList, i)) m_pLME->AddLoadModel(pLoadModel);
    }
    CDialogEx::OnOK();
}
