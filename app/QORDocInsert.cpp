// The Insert menu (standard bridge sets and the standard load models of the library) and Tools > Generate
// LME from LM.
#include "app/QORDoc.h"

void CQORDoc::OnInsertCommand(UINT) { NotYetImplemented(); }

void CQORDoc::OnToolsGenerateLME() { NotYetImplemented(); }
