// "View Reference Collection": the reference collection picker of the View commands.
#pragma once

#include "ui/dialogs/AnalyzeRefCollectionDlg.h"

class CViewRefCollectionDlg : public CAnalyzeRefCollectionDlg
{
public:
    CViewRefCollectionDlg(CWnd* pParent = nullptr);
};
