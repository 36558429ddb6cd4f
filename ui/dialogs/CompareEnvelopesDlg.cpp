// The envelope comparison choice: collection, then reference set, then bridge, each list
// refreshed from the choice above it.
#include "ui/dialogs/CompareEnvelopesDlg.h"

#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "res/AnalysisDialogs.h"
#include "ui/dialogs/ChoiceLists.h"

BEGIN_MESSAGE_MAP(CCompareEnvelopesDlg, CDialogEx)
ON_LBN_SELCHANGE(IDC_LIST_REFCOLLECTION, OnSelChangeRefCollection)
ON_LBN_SELCHANGE(IDC_LIST_REFSET, OnSelChangeRefSet)
ON_LBN_SELCHANGE(IDC_LIST_BRIDGE, OnSelChangeBridge)
END_MESSAGE_MAP()

CCompareEnvelopesDlg::CCompareEnvelopesDlg(CWnd* pParent) : CDialogEx(IDD_COMPARE_ENVELOPES, pParent) {}

void CCompareEnvelopesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_REFCOLLECTION, m_lbRefCollection);
    DDX_Control(pDX, IDC_LIST_REFSET, m_lbRefSet);
    DDX_Control(pDX, IDC_LIST_BRIDGE, m_lbBridge);
}

BOOL CCompareEnvelopesDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    qor::dialogs::FillElementList(m_lbRefCollection, m_vRefCollection);
    m_nRefCollectionIndex = 0;
    RefreshSets();
    RefreshBridges();
    RefreshTexts();
    return TRUE;
}

void CCompareEnvelopesDlg::RefreshSets()
{
    m_lbRefSet.ResetContent();
    m_vRefSet.clear();
    m_nRefSetIndex = 0;
    if (m_nRefCollectionIndex >= 0 && m_nRefCollectionIndex < static_cast<int>(m_vRefCollection.size()) &&
        m_vRefCollection[static_cast<size_t>(m_nRefCollectionIndex)])
        m_vRefSet = m_vRefCollection[static_cast<size_t>(m_nRefCollectionIndex)]->GetRefSets();
    for (size_t i = 0; i < m_vRefSet.size(); ++i)
    {
        CString line;
        line.Format(L"Reference set %d", static_cast<int>(i + 1));
        m_lbRefSet.AddString(line);
    }
    if (m_lbRefSet.GetCount() > 0) m_lbRefSet.SetCurSel(0);
}

std::shared_ptr<CReferenceSet> CCompareEnvelopesDlg::ChosenSet() const
{
    if (m_nRefSetIndex < 0 || m_nRefSetIndex >= static_cast<int>(m_vRefSet.size())) return {};
    return m_vRefSet[static_cast<size_t>(m_nRefSetIndex)];
}

void CCompareEnvelopesDlg::RefreshBridges()
{
    m_lbBridge.ResetContent();
    m_nBridgeIndex = 0;
    if (m_vRefSet.empty())
    {
        MessageBoxW(GetSafeHwnd(), L"This Reference Collection has not been solved - nothing to display.", L"QOR",
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::shared_ptr<CReferenceSet> set = ChosenSet();
    std::shared_ptr<CBridgeSet> bridgeSet = set ? set->GetBridgeSet() : nullptr;
    if (!bridgeSet) return;
    // Bridges are numbered by their place in the set: generated bridges share ids.
    for (int j = 0; j < bridgeSet->GetBridgeCount(); ++j)
    {
        std::shared_ptr<CBridge> bridge = bridgeSet->GetBridge(static_cast<unsigned>(j));
        CString line;
        line.Format(L"%d - ", j + 1);
        if (bridge) line += bridge->GetDescription();
        m_lbBridge.AddString(line);
    }
    if (m_lbBridge.GetCount() > 0) m_lbBridge.SetCurSel(0);
}

void CCompareEnvelopesDlg::RefreshTexts()
{
    CString bridgeSetText = L"No bridge set", lmeText = L"No load model ensemble",
            proposedText = L"No Proposed vehicle";
    if (std::shared_ptr<CReferenceSet> set = ChosenSet())
    {
        if (set->GetBridgeSet()) bridgeSetText = set->GetBridgeSet()->GetDescription();
        if (set->GetRefLME()) lmeText = set->GetRefLME()->GetDescription();
        std::shared_ptr<CLoadModelEnsemble> proposed = set->GetPropLME();
        if (set->m_bIsRatioCalculated && proposed)
        {
            if (!set->m_bUseLM)
                proposedText = proposed->GetDescription();
            else if (!proposed->m_vLoadModel.empty() && proposed->m_vLoadModel.front())
                proposedText = proposed->m_vLoadModel.front()->GetDescription();
        }
    }
    SetDlgItemText(IDC_EDIT_CMP_BRIDGESET, bridgeSetText);
    SetDlgItemText(IDC_EDIT_CMP_LME, lmeText);
    SetDlgItemText(IDC_EDIT_CMP_PROPOSED, proposedText);
}

void CCompareEnvelopesDlg::OnSelChangeRefCollection()
{
    if (m_lbRefCollection.GetCurSel() < 0) return;
    m_nRefCollectionIndex = m_lbRefCollection.GetCurSel();
    RefreshSets();
    RefreshBridges();
    RefreshTexts();
}

void CCompareEnvelopesDlg::OnSelChangeRefSet()
{
    if (m_lbRefSet.GetCurSel() < 0) return;
    m_nRefSetIndex = m_lbRefSet.GetCurSel();
    RefreshBridges();
    RefreshTexts();
}

void CCompareEnvelopesDlg::OnSelChangeBridge() { qor::dialogs::TakeSelection(m_lbBridge, m_nBridgeIndex); }
