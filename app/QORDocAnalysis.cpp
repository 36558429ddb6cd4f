// Analysis commands of the case, their worker threads and completions, and the update handlers that grey
// commands while a worker runs.
#include "app/QORDoc.h"

#include "app/ThreadData.h"

void CQORDoc::OnAnalysisSinglePosition() { NotYetImplemented(); }

void CQORDoc::OnAnalysisMovingLoad() { NotYetImplemented(); }

void CQORDoc::OnAnalysisBridgeRange() { NotYetImplemented(); }

void CQORDoc::OnAnalysisRefCollection() { NotYetImplemented(); }

void CQORDoc::OnAnalysisCriticalRatios() { NotYetImplemented(); }

void CQORDoc::OnUpdateAnalysisMovingLoad(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyMultiML); }

void CQORDoc::OnUpdateBridgeRange(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyBridgeRange); }

void CQORDoc::OnUpdateAnalysisRefCollection(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyRefValues && !m_bBusyCritRatios); }

void CQORDoc::OnUpdateViewRefCollectionValues(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyRefValues); }

void CQORDoc::OnUpdateViewRefCollectionRatios(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bBusyCritRatios); }

void CQORDoc::OnUpdateViewCompareEnvelopes(CCmdUI* pCmdUI) { pCmdUI->Enable(!(m_bBusyRefValues && m_bBusyCritRatios)); }

void CQORDoc::OnMultiMovingLoadDone(MultiMLThreadData* pData) { delete pData; }

void CQORDoc::OnBridgeRangeDone(BridgeRangeThreadData* pData) { delete pData; }

void CQORDoc::OnRefValuesDone(RefCollThreadData* pData, bool) { delete pData; }

void CQORDoc::OnCritRatiosDone(RefCollThreadData* pData, bool) { delete pData; }
