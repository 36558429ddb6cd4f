// The element tree pane ("Analysis Elements"): the case's elements and results in a tree that
// opens, renames, deletes, copies and moves them, and tells every window which element is
// selected (WM_ELEMENT_SELECTED with the element).
#pragma once

#include "platform/gui/Afx.h"

#include "app/ElementViewToolBar.h"
#include "app/ViewTree.h"
#include "res/AppMessages.h"

#include <map>
#include <memory>
#include <vector>

class CQORDoc;
class CElement;
class CBridge;
class CBridgeSet;
class CLoadModel;
class CLoadModelEnsemble;
class CReferenceCollection;

class CElementView : public CDockablePane
{
public:
    CElementView();
    ~CElementView() override;

    // ---- What the document calls -------------------------------------------------------------
    void ClearElementView();
    void FillElementView(CQORDoc* pDoc);
    // Shows the case again after a change, keeping the user's place (what is open, what is selected)
    // when it is the case already shown.
    void RefillElementView(CQORDoc* pDoc);
    void AddBridge(std::shared_ptr<CBridge> pBridge);
    void AddBridgeSet(std::shared_ptr<CBridgeSet> pBridgeSet);
    void AddLoadModel(std::shared_ptr<CLoadModel> pLoadModel);
    void AddLoadModelEnsemble(std::shared_ptr<CLoadModelEnsemble> pLME);
    void AddReferenceCollection(std::shared_ptr<CReferenceCollection> pRefCollection);

    // ---- Lookups ------------------------------------------------------------------------------------
    std::shared_ptr<CElement> GetElement(HTREEITEM hItem) const;
    int GetResultKind(HTREEITEM hItem) const;
    BOOL IsFixedItem(HTREEITEM hItem) const;

    CViewTree& GetTree() { return m_wndElementView; }
    CElementViewToolBar& GetToolBar() { return m_wndToolBar; }
    HTREEITEM GetSectionItem(int elementType) const;
    HTREEITEM GetCaseItem() const { return m_hCase; }
    HTREEITEM GetResultsItem() const { return m_hAnalysisResults; }

    // Copies the source item's element onto the target (paste and drop); the new item, or null.
    HTREEITEM CopyElementItem(HTREEITEM hSource, HTREEITEM hTarget, HTREEITEM hTargetParent);
    // Removes the item's element from the case (or from the ensemble it is shown under).
    void RemoveElementItem(HTREEITEM hItem);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void InitTree();
    void FillResults();
    void AdjustLayout();
    void OnChangeVisualStyle();
    void RemoveChildItems(HTREEITEM hItem);
    HTREEITEM InsertElement(const std::shared_ptr<CElement>& pElement, int image, HTREEITEM hParent);
    // An item's identity across rebuilds: the path of its elements (or, for sections and results, texts).
    CString ItemPath(HTREEITEM hItem) const;
    // Every item, parents before their children.
    std::vector<HTREEITEM> AllItems() const;
    // WM_ELEMENT_SELECTED to every window of the main window.
    static void Broadcast(CElement* pElement);
    static CQORDoc* ActiveDoc();

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    void OnSetFocus(CWnd* pOldWnd);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnExpandAll();
    void OnDelete();
    void OnRename();
    void OnCopy();
    void OnCut();
    void OnPaste();
    LRESULT OnTreeItemDblClick(WPARAM wParam, LPARAM lParam);
    // Opens the item's dialog or results (the work of a double click).
    LRESULT OpenItem(CQORDoc& document, HTREEITEM parent, HTREEITEM item);
    LRESULT OnTreeItemSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnTreeItemLabelChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnTreeItemDragDrop(WPARAM wParam, LPARAM lParam);
    LRESULT OnTreeItemBeginEdit(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CViewTree m_wndElementView;
    CImageList m_ElementViewImages;
    CElementViewToolBar m_wndToolBar;
    std::map<HTREEITEM, std::shared_ptr<CElement>> m_mapElements;
    std::map<HTREEITEM, int> m_mapResultKinds;
    HTREEITEM m_hCase = nullptr;
    HTREEITEM m_hAnalysisResults = nullptr;
    HTREEITEM m_hBridges = nullptr;
    HTREEITEM m_hBridgeSets = nullptr;
    HTREEITEM m_hLoadModels = nullptr;
    HTREEITEM m_hLoadModelEnsembles = nullptr;
    HTREEITEM m_hRefCollections = nullptr;
    HTREEITEM m_hClipboardItem = nullptr;
    const CQORDoc* m_pShownDoc = nullptr; // the case the tree shows
    bool m_bCut = false;
};
