// Element commands of the case: case data, adding bridges, bridge sets and reference collections, and
// editing them.
#include "app/QORDoc.h"

#include "app/CaseShell.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "ui/dialogs/BridgeDlg.h"
#include "ui/dialogs/BridgeSetDlg.h"
#include "ui/dialogs/ConfigDlg.h"
#include "ui/dialogs/RefCollectionDlg.h"

void CQORDoc::OnConfigurationCaseData()
{
    CConfigDlg dlg;
    dlg.m_sCaseRef = m_sCaseRef;
    dlg.m_sCaseNotes = m_sCaseNotes;
    if (dlg.DoModal() != IDOK) return;
    m_sCaseRef = dlg.m_sCaseRef;
    m_sCaseNotes = dlg.m_sCaseNotes;
    SetModifiedFlag(TRUE);
}

void CQORDoc::OnConfigurationAddBridge()
{
    // The id is taken only when the bridge is: a cancelled dialog offers it again.
    auto bridge = std::make_shared<CBridge>(m_nBridgeID + 1, L"20 m single span", CBridge::CONFIG_ONESPAN, 20.0);
    CBridgeDlg dlg;
    dlg.SetBridge(bridge);
    if (dlg.DoModal() != IDOK) return;
    *bridge = dlg.GetBridge();
    m_vBridge.push_back(bridge);
    ++m_nBridgeID;
    CCaseShell::Current().ShowNewElement(bridge);
    SetModifiedFlag(TRUE);
}

void CQORDoc::OnConfigurationAddBridgeSet()
{
    auto set = std::make_shared<CBridgeSet>(m_nBridgeSetID + 1, L"1-50m 2-span Bridges", CBridge::CONFIG_TWOSPAN, 1.0,
                                            50.0, 1.0);
    CBridgeSetDlg dlg;
    dlg.SetBridgeSet(set);
    if (dlg.DoModal() != IDOK) return;
    m_vBridgeSet.push_back(set);
    ++m_nBridgeSetID;
    *set = dlg.GetBridgeSet();
    CCaseShell::Current().ShowNewElement(set);
    SetModifiedFlag(TRUE);
}

void CQORDoc::OnConfigurationAddRefCollection()
{
    auto collection = std::make_shared<CReferenceCollection>(m_nRefCollectionID + 1, L"Ref collection", m_bMLByStep,
                                                             m_nMLSteps, m_MLStepSize);
    CRefCollectionDlg dlg;
    dlg.SetRefCollection(collection);
    dlg.m_vBridgeSet = m_vBridgeSet;
    dlg.m_vLoadModelEnsemble = m_vLoadModelEnsemble;
    if (dlg.DoModal() != IDOK) return;
    m_vRefCollection.push_back(collection);
    ++m_nRefCollectionID;
    CCaseShell::Current().ShowNewElement(collection);
    SetModifiedFlag(TRUE);
}

void CQORDoc::EditBridge(bool bRefresh, std::shared_ptr<CBridge> pBridge)
{
    if (!pBridge) return;
    CBridgeDlg dlg;
    dlg.SetBridge(std::make_shared<CBridge>(*pBridge));
    // A library bridge can be looked at, not changed.
    if (dlg.DoModal() != IDOK || !pBridge->m_bIsEditable) return;
    *pBridge = dlg.GetBridge();
    if (bRefresh) UpdateElementView();
    SetModifiedFlag(TRUE);
}

void CQORDoc::EditBridgeSet(bool bRefresh, std::shared_ptr<CBridgeSet> pBridgeSet)
{
    if (!pBridgeSet) return;
    CBridgeSetDlg dlg;
    dlg.SetBridgeSet(std::make_shared<CBridgeSet>(*pBridgeSet));
    if (dlg.DoModal() != IDOK || !pBridgeSet->m_bIsEditable) return;
    *pBridgeSet = dlg.GetBridgeSet();
    if (bRefresh) UpdateElementView();
    SetModifiedFlag(TRUE);
}

void CQORDoc::EditRefCollection(bool bRefresh, std::shared_ptr<CReferenceCollection> pRefCollection)
{
    if (!pRefCollection) return;
    auto copy = std::make_shared<CReferenceCollection>(*pRefCollection);
    CRefCollectionDlg dlg;
    dlg.SetRefCollection(copy);
    dlg.m_vBridgeSet = m_vBridgeSet;
    dlg.m_vLoadModelEnsemble = m_vLoadModelEnsemble;
    if (dlg.DoModal() != IDOK) return;
    if (pRefCollection->m_bIsCalculated && pRefCollection->DiffersFrom(copy))
    {
        if (Message(L"These edits will invalidate the stored results (which will be removed) - continue?",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        copy->ClearResults();
    }
    *pRefCollection = *copy;
    if (bRefresh) UpdateElementView();
    SetModifiedFlag(TRUE);
}
