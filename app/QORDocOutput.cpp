// Result output of the case: which result windows each kind of result opens, the View commands that show
// stored results again, and the output options.
#include "app/QORDoc.h"

#include "app/AnalysisOutput.h"

void CQORDoc::OnViewSinglePositionResults() { NotYetImplemented(); }

void CQORDoc::OnViewMovingLoadResults() { NotYetImplemented(); }

void CQORDoc::OnViewBridgeRangeResults() { NotYetImplemented(); }

void CQORDoc::OnViewRefCollectionValues() { NotYetImplemented(); }

void CQORDoc::OnViewRefCollectionRatios() { NotYetImplemented(); }

void CQORDoc::OnViewCompareEnvelopes() { NotYetImplemented(); }

void CQORDoc::OnViewOutputOptions() { NotYetImplemented(); }

void CQORDoc::OnViewEnhancedRatiosGrid() { NotYetImplemented(); }
