// The element tree pane: filling the tree from the case, opening, renaming, deleting, copying
// and dropping elements, its context menus and keys, and the selection broadcast.
#include "app/ElementView.h"

#include "app/QORDoc.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "res/ElementPane.h"
#include "res/Resource.h"

#include <set>

namespace {

constexpr UINT kMenuOfSections = IDR_ELEMENT_MENU_MAIN;

const wchar_t* const kResultNames[] = {L"Single Position", L"Moving Load", L"Bridge Range", L"Reference Values",
                                       L"Critical Ratios"};

} // namespace

BEGIN_MESSAGE_MAP(CElementView, CDockablePane)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_SETFOCUS()
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_ELEMENT_EXPAND_ALL, OnExpandAll)
ON_COMMAND(ID_ELEMENT_DELETE, OnDelete)
ON_COMMAND(ID_ELEMENT_RENAME, OnRename)
ON_COMMAND(ID_ELEMENT_COPY, OnCopy)
ON_COMMAND(ID_ELEMENT_CUT, OnCut)
ON_COMMAND(ID_ELEMENT_PASTE, OnPaste)
ON_REGISTERED_MESSAGE(CViewTree::UWM_TREEITEMDBLCLICK, OnTreeItemDblClick)
ON_REGISTERED_MESSAGE(CViewTree::UWM_TREEITEMSELECT, OnTreeItemSelect)
ON_REGISTERED_MESSAGE(CViewTree::UWM_TREEITEMLABELCHANGE, OnTreeItemLabelChange)
ON_REGISTERED_MESSAGE(CViewTree::UWM_TREEITEMDRAGDROP, OnTreeItemDragDrop)
ON_REGISTERED_MESSAGE(CViewTree::UWM_TREEITEMBEGINEDIT, OnTreeItemBeginEdit)
END_MESSAGE_MAP()

CElementView::CElementView() = default;
CElementView::~CElementView() = default;

CQORDoc* CElementView::ActiveDoc() { return CQORDoc::GetActiveDoc(); }

// ---- Creation and layout ---------------------------------------------------------------------------

int CElementView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDockablePane::OnCreate(lpCreateStruct) == -1) return -1;
    const DWORD style =
        WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS;
    if (!m_wndElementView.Create(style, CRect(0, 0, 0, 0), this, ID_ELEMENT_TREE)) return -1;
    if (!m_wndToolBar.Create(this, AFX_DEFAULT_TOOLBAR_STYLE, IDR_ELEMENT_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_ELEMENT_TOOLBAR, 0, 0, TRUE))
        return -1;
    OnChangeVisualStyle();
    m_wndToolBar.SetOwner(this);
    InitTree();
    AdjustLayout();
    return 0;
}

void CElementView::OnChangeVisualStyle()
{
    LoadElementImages(m_ElementViewImages);
    m_wndElementView.SetImageList(&m_ElementViewImages, TVSIL_NORMAL);
}

void CElementView::AdjustLayout()
{
    if (!m_hWnd || !m_wndElementView.m_hWnd) return;
    CRect rc;
    GetClientRect(&rc);
    int cyTlb = m_wndToolBar.m_hWnd ? m_wndToolBar.CalcFixedLayout(FALSE, TRUE).cy : 0;
    if (m_wndToolBar.m_hWnd)
        m_wndToolBar.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), cyTlb, SWP_NOACTIVATE | SWP_NOZORDER);
    m_wndElementView.SetWindowPos(nullptr, rc.left + 1, rc.top + cyTlb + 1, std::max(0, rc.Width() - 2),
                                  std::max(0, rc.Height() - cyTlb - 2), SWP_NOACTIVATE | SWP_NOZORDER);
}

void CElementView::OnSize(UINT nType, int cx, int cy)
{
    CDockablePane::OnSize(nType, cx, cy);
    AdjustLayout();
}

void CElementView::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(rc, GetSysColor(COLOR_3DFACE));
    CRect tree;
    m_wndElementView.GetWindowRect(&tree);
    ScreenToClient(&tree);
    tree.InflateRect(1, 1);
    dc.Draw3dRect(tree, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW));
}

void CElementView::OnSetFocus(CWnd*)
{
    if (m_wndElementView.m_hWnd) m_wndElementView.SetFocus();
}

// ---- Filling ---------------------------------------------------------------------------------------------

void CElementView::InitTree()
{
    CTreeCtrl& tree = m_wndElementView;
    const UINT mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    m_hCase = tree.InsertItem(mask, L"Case", kImageSection, kImageSection, TVIS_BOLD, TVIS_BOLD, kMenuOfSections,
                              TVI_ROOT, TVI_LAST);
    auto section = [&](UINT stringId) {
        return tree.InsertItem(mask, qor::LoadText(stringId), kImageSection, kImageSection, 0, 0, kMenuOfSections,
                               TVI_ROOT, TVI_LAST);
    };
    m_hAnalysisResults = section(IDS_ANALYSIS_RESULTS);
    m_hBridges = section(IDS_BRIDGES);
    m_hBridgeSets = section(IDS_BRIDGE_SETS);
    m_hLoadModels = section(IDS_LOAD_MODELS);
    m_hLoadModelEnsembles = section(IDS_LOAD_MODEL_ENSEMBLES);
    m_hRefCollections = section(IDS_REF_COLLECTIONS);
}

void CElementView::FillResults()
{
    for (int kind = 0; kind < static_cast<int>(std::size(kResultNames)); ++kind)
    {
        HTREEITEM item =
            m_wndElementView.InsertItem(kResultNames[kind], kImageInformation, kImageInformation, m_hAnalysisResults);
        m_mapResultKinds[item] = kind;
    }
}

void CElementView::ClearElementView()
{
    m_wndElementView.DeleteAllItems();
    m_mapElements.clear();
    m_mapResultKinds.clear();
    m_hCase = m_hAnalysisResults = m_hBridges = m_hBridgeSets = m_hLoadModels = m_hLoadModelEnsembles =
        m_hRefCollections = nullptr;
    m_pShownDoc = nullptr;
}

CString CElementView::ItemPath(HTREEITEM hItem) const
{
    CString path;
    for (HTREEITEM item = hItem; item; item = m_wndElementView.GetParentItem(item))
    {
        CString part;
        if (auto element = GetElement(item))
            part.Format(L"E%p", static_cast<const void*>(element.get()));
        else
            part = L"T" + m_wndElementView.GetItemText(item);
        path = part + L"/" + path;
    }
    return path;
}

std::vector<HTREEITEM> CElementView::AllItems() const
{
    std::vector<HTREEITEM> items;
    for (HTREEITEM top = m_wndElementView.GetRootItem(); top; top = m_wndElementView.GetNextSiblingItem(top))
        items.push_back(top);
    for (size_t i = 0; i < items.size(); ++i)
        for (HTREEITEM child = m_wndElementView.GetChildItem(items[i]); child;
             child = m_wndElementView.GetNextSiblingItem(child))
            items.push_back(child);
    return items;
}

void CElementView::RefillElementView(CQORDoc* pDoc)
{
    const bool sameCase = pDoc && pDoc == m_pShownDoc;
    std::set<CString> expanded;
    CString selected;
    if (sameCase)
    {
        for (HTREEITEM item : AllItems())
            if (m_wndElementView.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) expanded.insert(ItemPath(item));
        if (HTREEITEM item = m_wndElementView.GetSelectedItem()) selected = ItemPath(item);
    }
    ClearElementView();
    FillElementView(pDoc);
    if (!sameCase) return;
    for (HTREEITEM item : AllItems())
    {
        const CString path = ItemPath(item);
        if (m_wndElementView.ItemHasChildren(item))
            m_wndElementView.Expand(item, expanded.count(path) ? TVE_EXPAND : TVE_COLLAPSE);
        if (!selected.IsEmpty() && path == selected) m_wndElementView.SelectItem(item);
    }
}

void CElementView::FillElementView(CQORDoc* pDoc)
{
    m_pShownDoc = pDoc;
    InitTree();
    m_wndElementView.InsertItem(L"Case Information", kImageInformation, kImageInformation, m_hCase);
    FillResults();
    if (!pDoc) return;
    for (const auto& b : pDoc->GetBridges()) AddBridge(b);
    for (const auto& s : pDoc->GetBridgeSets()) AddBridgeSet(s);
    for (const auto& m : pDoc->GetLoadModels()) AddLoadModel(m);
    for (const auto& e : pDoc->GetLoadModelEnsembles()) AddLoadModelEnsemble(e);
    for (const auto& r : pDoc->GetRefCollections()) AddReferenceCollection(r);
    // The case is shown open; Expand All toggles from here.
    for (HTREEITEM top = m_wndElementView.GetRootItem(); top; top = m_wndElementView.GetNextSiblingItem(top))
        if (top != m_hAnalysisResults) m_wndElementView.Expand(top, TVE_EXPAND);
}

HTREEITEM CElementView::InsertElement(const std::shared_ptr<CElement>& pElement, int image, HTREEITEM hParent)
{
    if (!pElement || !hParent) return nullptr;
    HTREEITEM item = m_wndElementView.InsertItem(pElement->m_Description, image, image, hParent);
    if (item) m_mapElements[item] = pElement;
    m_wndElementView.Invalidate();
    return item;
}

void CElementView::AddBridge(std::shared_ptr<CBridge> pBridge) { InsertElement(pBridge, kImageBridge, m_hBridges); }

void CElementView::AddBridgeSet(std::shared_ptr<CBridgeSet> pBridgeSet)
{
    InsertElement(pBridgeSet, kImageBridge, m_hBridgeSets);
}

void CElementView::AddLoadModel(std::shared_ptr<CLoadModel> pLoadModel)
{
    InsertElement(pLoadModel, kImageLoadModel, m_hLoadModels);
}

void CElementView::AddLoadModelEnsemble(std::shared_ptr<CLoadModelEnsemble> pLME)
{
    HTREEITEM item = InsertElement(pLME, kImageLoadModel, m_hLoadModelEnsembles);
    if (!item) return;
    for (const auto& lm : pLME->m_vLoadModel) InsertElement(lm, kImageLoadModel, item);
}

void CElementView::AddReferenceCollection(std::shared_ptr<CReferenceCollection> pRefCollection)
{
    InsertElement(pRefCollection, kImageRefCollection, m_hRefCollections);
}

void CElementView::RemoveChildItems(HTREEITEM hItem)
{
    HTREEITEM child = m_wndElementView.GetChildItem(hItem);
    while (child)
    {
        HTREEITEM next = m_wndElementView.GetNextSiblingItem(child);
        RemoveChildItems(child);
        m_mapElements.erase(child);
        m_mapResultKinds.erase(child);
        m_wndElementView.DeleteItem(child);
        child = next;
    }
}

// ---- Lookups ----------------------------------------------------------------------------------------------

std::shared_ptr<CElement> CElementView::GetElement(HTREEITEM hItem) const
{
    auto it = m_mapElements.find(hItem);
    return it == m_mapElements.end() ? nullptr : it->second;
}

int CElementView::GetResultKind(HTREEITEM hItem) const
{
    auto it = m_mapResultKinds.find(hItem);
    return it == m_mapResultKinds.end() ? -1 : it->second;
}

BOOL CElementView::IsFixedItem(HTREEITEM hItem) const
{
    return hItem && (hItem == m_hCase || hItem == m_hBridges || hItem == m_hBridgeSets || hItem == m_hLoadModels ||
                     hItem == m_hLoadModelEnsembles || hItem == m_hRefCollections);
}

HTREEITEM CElementView::GetSectionItem(int elementType) const
{
    switch (elementType)
    {
    case CElement::ELEMENT_BRIDGE: return m_hBridges;
    case CElement::ELEMENT_BRIDGESET: return m_hBridgeSets;
    case CElement::ELEMENT_LOADMODEL: return m_hLoadModels;
    case CElement::ELEMENT_LOADMODELENSEMBLE: return m_hLoadModelEnsembles;
    case CElement::ELEMENT_REFCOLLECTION: return m_hRefCollections;
    default: return nullptr;
    }
}

void CElementView::Broadcast(CElement* pElement)
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessageToDescendants(WM_ELEMENT_SELECTED, 0, reinterpret_cast<LPARAM>(pElement), TRUE, FALSE);
}

// ---- Routing and keys -------------------------------------------------------------------------------------

BOOL CElementView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CDockablePane::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    // The document's commands of the context menus go the frame's way.
    CFrameWnd* frame = GetDockSiteFrameWnd();
    if (!frame) frame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    return frame && frame->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CElementView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN)
    {
        if (CEdit* edit = m_wndElementView.GetEditControl())
        {
            // While a label is edited the editor has every key; Enter and Escape end it.
            HTREEITEM item = m_wndElementView.GetSelectedItem();
            if (pMsg->wParam == VK_RETURN)
            {
                edit->SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
                if (auto e = GetElement(item)) Broadcast(e.get());
                return TRUE;
            }
            if (pMsg->wParam == VK_ESCAPE)
            {
                edit->SetWindowText(m_wndElementView.GetItemText(item));
                edit->SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
                return TRUE;
            }
            return FALSE;
        }
        HACCEL keys = LoadAccelerators(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_ELEMENT_MENU_ELEMENT));
        if (keys && TranslateAccelerator(m_hWnd, keys, pMsg)) return TRUE;
    }
    return CDockablePane::PreTranslateMessage(pMsg);
}

// ---- Commands ---------------------------------------------------------------------------------------------

void CElementView::OnExpandAll()
{
    for (HTREEITEM top = m_wndElementView.GetRootItem(); top; top = m_wndElementView.GetNextSiblingItem(top))
        m_wndElementView.Expand(top, TVE_TOGGLE);
}

void CElementView::OnDelete()
{
    HTREEITEM item = m_wndElementView.GetSelectedItem();
    if (!item || !m_wndElementView.GetParentItem(item) || m_wndElementView.GetEditControl()) return;
    RemoveElementItem(item);
}

void CElementView::RemoveElementItem(HTREEITEM hItem)
{
    std::shared_ptr<CElement> element = GetElement(hItem);
    CQORDoc* doc = ActiveDoc();
    if (!element || !doc) return;
    // A load model shown under an ensemble leaves that ensemble, not the case's list.
    HTREEITEM parent = m_wndElementView.GetParentItem(hItem);
    auto owner = std::dynamic_pointer_cast<CLoadModelEnsemble>(GetElement(parent));
    bool removed = false;
    if (owner && element->m_ElementType == CElement::ELEMENT_LOADMODEL)
    {
        int index = 0;
        for (HTREEITEM c = m_wndElementView.GetChildItem(parent); c && c != hItem;
             c = m_wndElementView.GetNextSiblingItem(c))
            ++index;
        if (index < owner->GetLoadModelCount() && owner->GetLoadModel(index) == element)
        {
            owner->RemoveLoadModel(index);
            removed = true;
            doc->SetModifiedFlag(TRUE);
        }
    }
    else
    {
        removed = doc->RemoveElement(element);
    }
    if (!removed)
    {
        CQORDoc::Message(L"Item could not be removed", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (m_hClipboardItem == hItem) m_hClipboardItem = nullptr;
    // The tree is made again from the case, so that both agree (ids are renumbered, a model
    // may be shown in several places).
    doc->UpdateElementView();
    doc->UpdateAllViews(nullptr);
    Broadcast(nullptr);
}

void CElementView::OnRename()
{
    HTREEITEM item = m_wndElementView.GetSelectedItem();
    if (!item || m_wndElementView.GetEditControl()) return;
    std::shared_ptr<CElement> element = GetElement(item);
    if (!element) return;
    if (!element->m_bIsEditable)
    {
        CQORDoc::Message(L"This item cannot be edited.", MB_OK | MB_ICONERROR);
        return;
    }
    HTREEITEM parent = m_wndElementView.GetParentItem(item);
    if (parent && parent != m_hAnalysisResults)
    {
        m_wndElementView.SetFocus();
        m_wndElementView.ModifyStyle(0, TVS_EDITLABELS);
        m_wndElementView.EditLabel(item);
    }
    m_wndElementView.SelectItem(item);
}

void CElementView::OnCopy()
{
    m_bCut = false;
    m_hClipboardItem = m_wndElementView.GetSelectedItem();
}

void CElementView::OnCut()
{
    m_bCut = true;
    m_hClipboardItem = m_wndElementView.GetSelectedItem();
}

void CElementView::OnPaste()
{
    HTREEITEM source = m_hClipboardItem;
    m_hClipboardItem = nullptr;
    HTREEITEM target = m_wndElementView.GetSelectedItem();
    if (source && target)
    {
        HTREEITEM copied = CopyElementItem(source, target, m_wndElementView.GetParentItem(target));
        if (m_bCut && copied) RemoveElementItem(source);
    }
    m_bCut = false;
}

HTREEITEM CElementView::CopyElementItem(HTREEITEM hSource, HTREEITEM hTarget, HTREEITEM hTargetParent)
{
    if (!hSource || !hTarget || IsFixedItem(hSource)) return nullptr;
    std::shared_ptr<CElement> source = GetElement(hSource);
    CQORDoc* doc = ActiveDoc();
    if (!source || !doc) return nullptr;
    const bool intoLoadModels = hTarget == m_hLoadModels || hTargetParent == m_hLoadModels;
    const bool intoEnsembles = hTarget == m_hLoadModelEnsembles || hTargetParent == m_hLoadModelEnsembles;
    auto copyOf = [this](const CLoadModel& lm, bool suffix) {
        auto copy = std::make_shared<CLoadModel>(lm);
        if (suffix) copy->m_Description += L"-Copy";
        copy->m_bIsEditable = true;
        return copy;
    };
    if (auto lm = std::dynamic_pointer_cast<CLoadModel>(source))
    {
        if (intoLoadModels)
        {
            auto copy = copyOf(*lm, !m_bCut);
            doc->AddLoadModel(copy);
            return InsertElement(copy, kImageLoadModel, m_hLoadModels);
        }
        HTREEITEM ownerItem = hTargetParent;
        auto owner = std::dynamic_pointer_cast<CLoadModelEnsemble>(GetElement(hTargetParent));
        if (!GetElement(hTargetParent))
        {
            ownerItem = hTarget;
            owner = std::dynamic_pointer_cast<CLoadModelEnsemble>(GetElement(hTarget));
        }
        if (!owner) return nullptr;
        bool sameEnsemble = m_wndElementView.GetParentItem(hSource) == ownerItem;
        auto copy = copyOf(*lm, !m_bCut && sameEnsemble);
        owner->AddLoadModel(copy);
        doc->SetModifiedFlag(TRUE);
        return InsertElement(copy, kImageLoadModel, ownerItem);
    }
    if (auto lme = std::dynamic_pointer_cast<CLoadModelEnsemble>(source))
    {
        if (intoEnsembles)
        {
            auto copy = std::make_shared<CLoadModelEnsemble>(*lme);
            if (!m_bCut) copy->m_Description += L"-Copy";
            copy->m_bIsEditable = true;
            doc->AddLoadModelEnsemble(copy);
            HTREEITEM before = m_wndElementView.GetChildItem(m_hLoadModelEnsembles);
            AddLoadModelEnsemble(copy);
            HTREEITEM last = before;
            for (HTREEITEM c = before; c; c = m_wndElementView.GetNextSiblingItem(c)) last = c;
            return last;
        }
        if (intoLoadModels)
        {
            HTREEITEM last = nullptr;
            for (const auto& member : lme->m_vLoadModel)
            {
                if (!member) continue;
                auto copy = copyOf(*member, !m_bCut);
                doc->AddLoadModel(copy);
                last = InsertElement(copy, kImageLoadModel, m_hLoadModels);
            }
            return last;
        }
    }
    return nullptr;
}

// ---- The tree's messages ----------------------------------------------------------------------------------

LRESULT CElementView::OnTreeItemDblClick(WPARAM wParam, LPARAM lParam)
{
    CQORDoc* doc = ActiveDoc();
    if (!doc) return 0;
    // The dialogs it opens run the engine: a command of the case like any other.
    LRESULT result = 1;
    doc->RunCommand(
        [&] { result = OpenItem(*doc, reinterpret_cast<HTREEITEM>(wParam), reinterpret_cast<HTREEITEM>(lParam)); });
    return result;
}

LRESULT CElementView::OpenItem(CQORDoc& document, HTREEITEM parent, HTREEITEM item)
{
    if (!parent || !item) return 0;
    CQORDoc* doc = &document;
    if (parent == m_hCase)
    {
        doc->OnConfigurationCaseData();
        return 1;
    }
    if (parent == m_hAnalysisResults)
    {
        switch (GetResultKind(item))
        {
        case 0: doc->OnViewSinglePositionResults(); break;
        case 1: doc->OnViewMovingLoadResults(); break;
        case 2: doc->OnViewBridgeRangeResults(); break;
        case 3: doc->OnViewRefCollectionValues(); break;
        case 4: doc->OnViewRefCollectionRatios(); break;
        default: return 0;
        }
        return 1;
    }
    std::shared_ptr<CElement> element = GetElement(item);
    if (!element) return 0;
    switch (element->m_ElementType)
    {
    case CElement::ELEMENT_BRIDGE: doc->EditBridge(false, std::static_pointer_cast<CBridge>(element)); break;
    case CElement::ELEMENT_BRIDGESET: doc->EditBridgeSet(false, std::static_pointer_cast<CBridgeSet>(element)); break;
    case CElement::ELEMENT_LOADMODEL: doc->EditLoadModel(false, std::static_pointer_cast<CLoadModel>(element)); break;
    case CElement::ELEMENT_LOADMODELENSEMBLE:
        doc->EditLoadModelEnsemble(false, std::static_pointer_cast<CLoadModelEnsemble>(element));
        break;
    case CElement::ELEMENT_REFCOLLECTION:
        doc->EditRefCollection(false, std::static_pointer_cast<CReferenceCollection>(element));
        break;
    default: break;
    }
    // The dialog may have outlived the item (a refill while it was open).
    if (GetElement(item) != element) return 1;
    if (auto lme = std::dynamic_pointer_cast<CLoadModelEnsemble>(element))
    {
        RemoveChildItems(item);
        for (const auto& lm : lme->m_vLoadModel) InsertElement(lm, kImageLoadModel, item);
    }
    m_wndElementView.SetItemText(item, element->m_Description);
    return 1;
}

LRESULT CElementView::OnTreeItemSelect(WPARAM, LPARAM lParam)
{
    if (auto element = GetElement(reinterpret_cast<HTREEITEM>(lParam))) Broadcast(element.get());
    return 0;
}

LRESULT CElementView::OnTreeItemBeginEdit(WPARAM, LPARAM lParam)
{
    auto item = reinterpret_cast<HTREEITEM>(lParam);
    std::shared_ptr<CElement> element = GetElement(item);
    HTREEITEM parent = m_wndElementView.GetParentItem(item);
    if (!element || !parent || parent == m_hAnalysisResults) return 1;
    if (!element->m_bIsEditable)
    {
        CQORDoc::Message(L"This item cannot be edited.", MB_OK | MB_ICONERROR);
        return 1;
    }
    return 0;
}

LRESULT CElementView::OnTreeItemLabelChange(WPARAM wParam, LPARAM lParam)
{
    const CString* text = reinterpret_cast<const CString*>(wParam);
    std::shared_ptr<CElement> element = GetElement(reinterpret_cast<HTREEITEM>(lParam));
    if (!element || !text || text->IsEmpty() || !element->m_bIsEditable) return 0;
    if (element->m_Description != *text)
    {
        element->m_Description = *text;
        if (CQORDoc* doc = ActiveDoc()) doc->SetModifiedFlag(TRUE);
    }
    // The element may be shown more than once (a load model also under the ensembles that hold it).
    const auto edited = reinterpret_cast<HTREEITEM>(lParam);
    for (const auto& [item, shown] : m_mapElements)
        if (shown == element && item != edited) m_wndElementView.SetItemText(item, *text);
    return 1;
}

LRESULT CElementView::OnTreeItemDragDrop(WPARAM wParam, LPARAM lParam)
{
    auto dragged = reinterpret_cast<HTREEITEM>(wParam);
    auto drop = reinterpret_cast<HTREEITEM>(lParam);
    bool cut = m_bCut;
    m_bCut = false; // a drag always copies
    HTREEITEM copied = CopyElementItem(dragged, drop, m_wndElementView.GetParentItem(drop));
    m_bCut = cut;
    return reinterpret_cast<LRESULT>(copied);
}

// ---- Context menu -------------------------------------------------------------------------------------------

void CElementView::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (pWnd != &m_wndElementView)
    {
        CDockablePane::OnContextMenu(pWnd, point);
        return;
    }
    UINT menuId = kMenuOfSections;
    if (point.x == -1 && point.y == -1)
    {
        CRect rc;
        m_wndElementView.GetWindowRect(&rc);
        point = rc.TopLeft();
    }
    else
    {
        CPoint local = point;
        m_wndElementView.ScreenToClient(&local);
        UINT flags = 0;
        HTREEITEM item = m_wndElementView.HitTest(local, &flags);
        if (!item)
        {
            m_wndElementView.SelectItem(nullptr);
        }
        else
        {
            if (m_wndElementView.GetParentItem(item))
            {
                std::shared_ptr<CElement> element = GetElement(item);
                if (!element)
                    menuId = kMenuOfSections;
                else if (element->m_ElementType == CElement::ELEMENT_LOADMODELENSEMBLE)
                    menuId = IDR_ELEMENT_MENU_ENSEMBLE;
                else
                    menuId = IDR_ELEMENT_MENU_ELEMENT;
            }
            else if (IsFixedItem(item))
            {
                menuId = static_cast<UINT>(m_wndElementView.GetItemData(item));
            }
            m_wndElementView.Expand(item, TVE_EXPAND);
            m_wndElementView.SelectItem(item);
            if (auto element = GetElement(item)) Broadcast(element.get());
        }
    }
    CMenu menu;
    if (!menu.LoadMenu(menuId ? menuId : kMenuOfSections)) return;
    if (CMenu* popup = menu.GetSubMenu(0))
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}
