// "Compare Critical Envelopes": a reference collection, one of its reference sets (the
// reference envelope) and a bridge of that set, with what the set was computed from.
#pragma once

#include "platform/gui/Afx.h"

#include <memory>
#include <vector>

class CReferenceCollection;
class CReferenceSet;

class CCompareEnvelopesDlg : public CDialogEx
{
public:
    CCompareEnvelopesDlg(CWnd* pParent = nullptr);

    std::vector<std::shared_ptr<CReferenceCollection>> m_vRefCollection;
    int m_nRefCollectionIndex = 0;
    int m_nRefSetIndex = 0;
    int m_nBridgeIndex = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSelChangeRefCollection();
    void OnSelChangeRefSet();
    void OnSelChangeBridge();
    DECLARE_MESSAGE_MAP()

private:
    void RefreshSets();
    void RefreshBridges();
    void RefreshTexts();
    std::shared_ptr<CReferenceSet> ChosenSet() const;

    CListBox m_lbRefCollection;
    CListBox m_lbRefSet;
    CListBox m_lbBridge;
    std::vector<std::shared_ptr<CReferenceSet>> m_vRefSet; // the chosen collection's sets
};
