// Element commands of the case: case data, adding bridges, bridge sets and reference collections, and
// editing them.
#include "app/QORDoc.h"

#include "engine/analysis/ReferenceCollection.h"
#include "ui/dialogs/ConfigDlg.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"

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

void CQORDoc::OnConfigurationAddBridge() { NotYetImplemented(); }

void CQORDoc::OnConfigurationAddBridgeSet() { NotYetImplemented(); }

void CQORDoc::OnConfigurationAddRefCollection() { NotYetImplemented(); }

void CQORDoc::EditBridge(bool, std::shared_ptr<CBridge>) { NotYetImplemented(); }

void CQORDoc::EditBridgeSet(bool, std::shared_ptr<CBridgeSet>) { NotYetImplemented(); }

void CQORDoc::EditRefCollection(bool, std::shared_ptr<CReferenceCollection>) { NotYetImplemented(); }
