// "Analyse Reference Collection": picks one reference collection of the case. The View
// commands use the same dialog with their own template (CViewRefCollectionDlg).
#pragma once

#include "platform/gui/Afx.h"

#include <memory>
#include <vector>

class CReferenceCollection;

class CAnalyzeRefCollectionDlg : public CDialogEx
{
public:
    CAnalyzeRefCollectionDlg(CWnd* pParent = nullptr);

    std::vector<std::shared_ptr<CReferenceCollection>> m_vRefCollection;
    int m_nRefCollectionIndex = 0;

protected:
    CAnalyzeRefCollectionDlg(UINT nIDTemplate, CWnd* pParent);
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSelChangeRefCollection();
    DECLARE_MESSAGE_MAP()

private:
    CListBox m_lbRefCollection;
};
