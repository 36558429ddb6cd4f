// CLoadModelEnsembleDlg: the name of a load model ensemble and the load models it holds,
// chosen by dragging entries between the case's load models and the ensemble's.
#pragma once

#include "platform/gui/Afx.h"
#include "ui/dialogs/DragDropMgr.h"

#include <functional>
#include <memory>
#include <vector>

class CLoadModel;
class CLoadModelEnsemble;

// The document sets the name, the id, the ensemble (new, or a copy of the stored one) and the
// case's load models before DoModal; after IDOK it takes the name back. The ensemble's list
// is rebuilt only in OnOK.
class CLoadModelEnsembleDlg : public CDialogEx
{
public:
    explicit CLoadModelEnsembleDlg(CWnd* pParent = nullptr);
    ~CLoadModelEnsembleDlg() override;

    void SetDescription(const CString& description) { m_Description = description; }
    CString GetDescription() const { return m_Description; }
    void SetID(int id) { m_ID = id; }
    void SetLoadModelEnsemble(std::shared_ptr<CLoadModelEnsemble> pLME) { m_pLME = std::move(pLME); }
    void SetLoadModels(std::vector<std::shared_ptr<CLoadModel>> vLoadModels) { m_vLoadModel = std::move(vLoadModels); }
    // Opens a double-clicked load model (the opener's load-model command); without it a double click does nothing.
    void SetEditLoadModel(std::function<void(std::shared_ptr<CLoadModel>)> edit) { m_EditLoadModel = std::move(edit); }

    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CListBox& GetAvailableList() { return m_AvailableList; }
    CListBox& GetIncludedList() { return m_IncludedList; }
    CDragDropMgr& GetDragDropMgr() { return m_DragDropMgr; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnDragEnter(WPARAM wParam, LPARAM lParam);
    LRESULT OnDragDrop(WPARAM wParam, LPARAM lParam);
    LRESULT OnDragAbort(WPARAM wParam, LPARAM lParam);
    void OnDblClkAvailable();
    void OnDblClkIncluded();
    void OnChangeDescription();

    // Entries carry the index of their load model in the lookup list, so that load models
    // of the same name stay apart and a renamed one is still found.
    CListBox* ListOf(UINT id);
    int AddEntry(CListBox& list, size_t lookupIndex);
    CString EntryText(size_t lookupIndex) const;
    std::shared_ptr<CLoadModel> ModelOf(CListBox& list, int index) const;
    void EditEntry(CListBox& list);
    void RefreshEntryTexts();

    CString m_Description;
    int m_ID = 0;
    std::shared_ptr<CLoadModelEnsemble> m_pLME;
    std::vector<std::shared_ptr<CLoadModel>> m_vLoadModel;
    CDragDropMgr m_DragDropMgr;
    CListBox m_AvailableList;
    CListBox m_IncludedList;
    CEdit m_DescriptionEdit;
    BYTE m_bIsEditable = TRUE;
    std::vector<std::shared_ptr<CLoadModel>> m_vLookup;
    // The lookup index of the entry being dragged.
    size_t m_nDragged = 0;
    std::function<void(std::shared_ptr<CLoadModel>)> m_EditLoadModel;
    bool m_bReady = false;

private:
    DECLARE_MESSAGE_MAP()
};
