// Element commands of the case: case data, adding bridges, bridge sets and reference collections, and
// editing them.
#include "app/QORDoc.h"

#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"

void CQORDoc::OnConfigurationCaseData() { NotYetImplemented(); }

void CQORDoc::OnConfigurationAddBridge() { NotYetImplemented(); }

void CQORDoc::OnConfigurationAddBridgeSet() { NotYetImplemented(); }

void CQORDoc::OnConfigurationAddRefCollection() { NotYetImplemented(); }

void CQORDoc::EditBridge(bool, std::shared_ptr<CBridge>) { NotYetImplemented(); }

void CQORDoc::EditBridgeSet(bool, std::shared_ptr<CBridgeSet>) { NotYetImplemented(); }

void CQORDoc::EditRefCollection(bool, std::shared_ptr<CReferenceCollection>) { NotYetImplemented(); }
