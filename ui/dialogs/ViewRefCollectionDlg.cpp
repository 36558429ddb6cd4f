// The picker of the View commands: the analyse picker over its own template.
#include "ui/dialogs/ViewRefCollectionDlg.h"

#include "res/AnalysisDialogs.h"

CViewRefCollectionDlg::CViewRefCollectionDlg(CWnd* pParent) : CAnalyzeRefCollectionDlg(IDD_VIEW_REF_COLLECTION, pParent)
{}
