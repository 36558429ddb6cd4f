// Clipboard text exchange of the grid (copy, cut, paste, the Edit commands), the data
// transfer objects it uses, and the drop target, which stays inert: the grid takes no drops.
#include "controls/grid/GridCtrl.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------
// COleDataSource

COleDataSource::~COleDataSource() { Empty(); }

void COleDataSource::Empty()
{
    for (auto& item : m_items) ::GlobalFree(item.second);
    m_items.clear();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal)
{
    if (!hGlobal) return;
    for (auto& item : m_items)
        if (item.first == cfFormat)
        {
            ::GlobalFree(item.second);
            item.second = hGlobal;
            return;
        }
    m_items.emplace_back(cfFormat, hGlobal);
}

HGLOBAL COleDataSource::GetCachedData(CLIPFORMAT cfFormat) const
{
    for (const auto& item : m_items)
        if (item.first == cfFormat) return item.second;
    return nullptr;
}

void COleDataSource::SetClipboard()
{
    if (::OpenClipboard(nullptr))
    {
        ::EmptyClipboard();
        for (auto& item : m_items)
        {
            // On success the clipboard owns the block.
            if (::SetClipboardData(item.first, item.second)) item.second = nullptr;
        }
        ::CloseClipboard();
    }
    // The clipboard holds its own copy of the data now; the source is not needed any more.
    delete this;
}

// ---------------------------------------------------------------------------------------
// COleDataObject

COleDataObject::~COleDataObject() { Release(); }

BOOL COleDataObject::AttachClipboard()
{
    m_bClipboard = TRUE;
    return TRUE;
}

void COleDataObject::Release() { m_bClipboard = FALSE; }

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const
{
    return m_bClipboard && ::IsClipboardFormatAvailable(cfFormat);
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) const
{
    if (!m_bClipboard || !::OpenClipboard(nullptr)) return nullptr;
    HGLOBAL hCopy = nullptr;
    if (HANDLE hData = ::GetClipboardData(cfFormat))
    {
        auto hBlock = static_cast<HGLOBAL>(hData);
        const std::size_t size = ::GlobalSize(hBlock);
        hCopy = ::GlobalAlloc(GMEM_MOVEABLE, size);
        if (hCopy && size > 0)
        {
            std::memcpy(::GlobalLock(hCopy), ::GlobalLock(hBlock), size);
            ::GlobalUnlock(hBlock);
            ::GlobalUnlock(hCopy);
        }
    }
    ::CloseClipboard();
    return hCopy;
}

// ---------------------------------------------------------------------------------------
// COleDropTarget: there is no OLE drag and drop in this program, so a registered target
// only remembers its window and is never called by the system.

COleDropTarget::~COleDropTarget() = default;

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd())) return FALSE;
    m_hWnd = pWnd->GetSafeHwnd();
    return TRUE;
}

void COleDropTarget::Revoke() { m_hWnd = nullptr; }

// ---------------------------------------------------------------------------------------
// CGridDropTarget

namespace {
BOOL g_bRegistering = FALSE;
} // namespace

CGridDropTarget::~CGridDropTarget()
{
    if (m_bRegistered) Revoke();
}

BOOL CGridDropTarget::Register(CGridCtrl* pGridCtrl)
{
    if (m_bRegistered || g_bRegistering || !pGridCtrl || !pGridCtrl->IsKindOf(RUNTIME_CLASS(CGridCtrl))) return FALSE;
    g_bRegistering = TRUE;
    m_pGridCtrl = pGridCtrl;
    m_bRegistered = COleDropTarget::Register(pGridCtrl);
    g_bRegistering = FALSE;
    return m_bRegistered;
}

void CGridDropTarget::Revoke()
{
    m_bRegistered = FALSE;
    COleDropTarget::Revoke();
}

BOOL CGridDropTarget::IsGridWindow(const CWnd* pWnd) const
{
    return pWnd && m_pGridCtrl && pWnd->GetSafeHwnd() == m_pGridCtrl->GetSafeHwnd();
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (!IsGridWindow(pWnd)) return DROPEFFECT_NONE;
    return m_pGridCtrl->OnDragEnter(pDataObject, dwKeyState, point);
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (!IsGridWindow(pWnd)) return DROPEFFECT_NONE;
    return m_pGridCtrl->OnDragOver(pDataObject, dwKeyState, point);
}

BOOL CGridDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    if (!IsGridWindow(pWnd)) return FALSE;
    return m_pGridCtrl->OnDrop(pDataObject, dropEffect, point);
}

void CGridDropTarget::OnDragLeave(CWnd* pWnd)
{
    if (IsGridWindow(pWnd)) m_pGridCtrl->OnDragLeave();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point)
{
    if (!IsGridWindow(pWnd)) return DROPEFFECT_NONE;
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

// ---------------------------------------------------------------------------------------
// Cell text changed by the clipboard

void CGridCtrl::EditCellText(int nRow, int nCol, LPCTSTR text)
{
    if (!GetCell(nRow, nCol) || !IsCellEditable(nRow, nCol)) return;
    if (SendMessageToParent(nRow, nCol, static_cast<int>(GVN_BEGINLABELEDIT)) < 0) return;

    const CString strOld = GetItemText(nRow, nCol);
    const CString strNew = text ? text : _T("");
    if (strOld == strNew) return;

    SetItemText(nRow, nCol, strNew);
    if (ValidateEdit(nRow, nCol, strNew) && SendMessageToParent(nRow, nCol, static_cast<int>(GVN_ENDLABELEDIT)) >= 0)
    {
        SetModified(nRow, nCol);
        PaintCell(nRow, nCol);
    }
    else
        SetItemText(nRow, nCol, strOld);
}

void CGridCtrl::CutSelectedText()
{
    if (!IsEditable()) return;
    // The selection is walked as a copy: the owner may change it while it is told.
    const CCellSelection selected(m_SelectedCellMap);
    for (const CCellRange& range : selected.Ranges())
        for (int row = range.GetMinRow(); row <= range.GetMaxRow(); row++)
            for (int col = range.GetMinCol(); col <= range.GetMaxCol(); col++) EditCellText(row, col, _T(""));
}

// ---------------------------------------------------------------------------------------
// Copy and paste

COleDataSource* CGridCtrl::CopyTextFromGrid()
{
    const CCellRange Selection = GetSelectedCellRange();
    if (!IsValid(Selection)) return nullptr;

    // The rows and columns of the selection that show (hidden ones are left out), and the
    // selection as it is now: a large copy reads them on a worker thread.
    std::vector<int> cols;
    for (int col = Selection.GetMinCol(); col <= Selection.GetMaxCol(); col++)
        if (GetColumnWidth(col) > 0) cols.push_back(col);
    std::vector<bool> rowShown(static_cast<size_t>(Selection.GetRowSpan()));
    for (int row = Selection.GetMinRow(); row <= Selection.GetMaxRow(); row++)
        rowShown[static_cast<size_t>(row - Selection.GetMinRow())] = GetRowHeight(row) > 0;
    const CCellSelection selected(m_SelectedCellMap);
    const int nLastCol = Selection.GetMaxCol();

    try
    {
        // CF_TEXT holds the text in the program's narrow character set, UTF-8: cells separated by
        // TABs (an unselected cell gives an empty field), rows by CR LF. It comes in parts, put
        // together once into the block that the clipboard takes.
        std::vector<std::string> parts;
        HGLOBAL hData = nullptr;
        const int nLastRow = Selection.GetMaxRow();
        const std::int64_t nCells = static_cast<std::int64_t>(rowShown.size()) * static_cast<std::int64_t>(cols.size());
        // A worker writes the cells' bytes straight into the block; a small copy reads their texts.
        const CellTextWriter writer = m_fnWriter && IsWorkerJob(nCells) ? m_fnWriter() : nullptr;
        std::vector<CString> texts;
        WriteRowsText(
            Selection.GetMinRow(), nLastRow, nCells, _T("Copying"),
            [&](int row, bool bWorker, std::string& out) {
                if (!rowShown[static_cast<size_t>(row - Selection.GetMinRow())]) return;
                const bool bDirect = bWorker && writer;
                if (!bDirect) ReadRowTexts(row, cols, bWorker, texts);
                for (size_t i = 0; i < cols.size(); i++)
                {
                    if (selected.Contains(row, cols[i]))
                    {
                        if (bDirect)
                            writer(row, cols[i], out);
                        else
                            out += texts[i].ToUtf8();
                    }
                    if (cols[i] != nLastCol) out += '\t';
                }
                if (row != nLastRow) out += "\r\n";
            },
            [&parts](std::string& part) {
                parts.push_back(std::move(part));
                part = std::string();
                return true;
            },
            [&] {
                size_t size = 1;
                for (const std::string& part : parts) size += part.size();
                hData = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, size);
                char* data = hData ? static_cast<char*>(::GlobalLock(hData)) : nullptr;
                for (std::string& part : parts)
                {
                    if (data)
                    {
                        std::memcpy(data, part.data(), part.size());
                        data += part.size();
                    }
                    std::string().swap(part);
                }
                if (hData) ::GlobalUnlock(hData);
            });
        if (!hData) return nullptr;

        auto* pSource = new (std::nothrow) COleDataSource;
        if (!pSource)
        {
            ::GlobalFree(hData);
            return nullptr;
        }
        pSource->CacheGlobalData(CF_TEXT, hData);
        return pSource;
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

namespace {
// Splits text at any of the separators; n separators give n + 1 pieces.
std::vector<CString> SplitAt(const CString& text, const wchar_t* separators)
{
    std::vector<CString> pieces;
    const wchar_t* p = text.GetString();
    const wchar_t* start = p;
    for (; *p; ++p)
        if (std::wcschr(separators, *p))
        {
            pieces.emplace_back(start, static_cast<int>(p - start));
            start = p + 1;
        }
    pieces.emplace_back(start, static_cast<int>(p - start));
    return pieces;
}
} // namespace

BOOL CGridCtrl::PasteTextToGrid(CCellID cell, COleDataObject* pDataObject, BOOL bSelectPastedCells)
{
    if (!IsValid(cell) || !IsCellEditable(cell) || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT)) return FALSE;

    CString strText;
    try
    {
        HGLOBAL hmem = pDataObject->GetGlobalData(CF_TEXT);
        if (!hmem) return FALSE;
        const std::size_t size = ::GlobalSize(hmem);
        const char* data = static_cast<const char*>(::GlobalLock(hmem));
        std::string bytes;
        if (data && size > 0) bytes.assign(data, ::strnlen(data, size));
        ::GlobalUnlock(hmem);
        ::GlobalFree(hmem);
        strText = CString::FromUtf8(bytes);
    }
    catch (const std::bad_alloc&)
    {
        return FALSE;
    }

    // A comma separates cells only in text without any TAB: spreadsheets and the grid's own copy
    // separate with TABs, and their numbers may hold commas as thousands separators.
    const wchar_t* cellSeparators = strText.Find(_T('\t')) >= 0 ? L"\t" : L"\t,";

    int nMaxRow = -1, nMaxCol = -1;
    const std::vector<CString> lines = SplitAt(strText, L"\n");
    int i = 0;
    for (const CString& line : lines)
    {
        int nTargetRow = cell.row + i;
        while (nTargetRow < m_nRows && GetRowHeight(nTargetRow) == 0) nTargetRow = cell.row + ++i;

        if (!line.IsEmpty())
        {
            const std::vector<CString> texts = SplitAt(line, cellSeparators);
            int j = 0;
            for (size_t k = 0; k < texts.size(); k++)
            {
                // An empty piece after a trailing separator is no cell.
                if (k + 1 == texts.size() && texts[k].IsEmpty() && k > 0) break;

                int nTargetCol = cell.col + j;
                while (nTargetCol < m_nCols && GetColumnWidth(nTargetCol) == 0) nTargetCol = cell.col + ++j;

                // Rows and columns are added as the text reaches them, never more.
                while (m_bPasteAddsRows && nTargetRow >= m_nRows)
                    if (!SetRowCount(m_nRows + 1)) break;
                while (m_bPasteAddsColumns && nTargetCol >= m_nCols)
                    if (!SetColumnCount(m_nCols + 1)) break;

                if (IsValid(nTargetRow, nTargetCol))
                {
                    CString strCell = texts[k];
                    strCell.Trim();
                    EditCellText(nTargetRow, nTargetCol, strCell);
                    SetItemState(nTargetRow, nTargetCol, GetItemState(nTargetRow, nTargetCol) & ~GVIS_SELECTED);
                    if (nTargetRow > nMaxRow) nMaxRow = nTargetRow;
                    if (nTargetCol > nMaxCol) nMaxCol = nTargetCol;
                }
                j++;
            }
        }
        i++;
    }

    if (bSelectPastedCells)
        SetSelectedRange(cell.row, cell.col, nMaxRow, nMaxCol, TRUE, TRUE);
    else
    {
        ResetSelectedRange();
        Refresh();
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Edit commands

void CGridCtrl::OnEditCut()
{
    if (!IsEditable()) return;
    COleDataSource* pSource = CopyTextFromGrid();
    if (!pSource) return;
    pSource->SetClipboard();
    CutSelectedText();
}

void CGridCtrl::OnEditCopy()
{
    if (COleDataSource* pSource = CopyTextFromGrid()) pSource->SetClipboard();
}

void CGridCtrl::OnEditPaste()
{
    if (!IsEditable()) return;

    CCellID cell;
    const CCellRange range = GetSelectedCellRange();
    if (IsValid(range))
        cell = range.GetTopLeft();
    else
    {
        cell = GetFocusCell();
        if (!IsValid(cell)) cell = GetTopleftNonFixedCell();
        if (!IsValid(cell)) return;
    }

    // A cell being edited in an edit control takes the text into its editor.
    if (CGridCellBase* pCell = GetCell(cell.row, cell.col); pCell && pCell->IsEditing())
    {
        CWnd* pEditWnd = pCell->GetEditWnd();
        if (pEditWnd && ::IsWindow(pEditWnd->GetSafeHwnd()) && pEditWnd->GetClassName().CompareNoCase(L"Edit") == 0)
        {
            pEditWnd->SendMessage(WM_PASTE, 0, 0);
            return;
        }
    }

    COleDataObject obj;
    if (obj.AttachClipboard())
    {
        PasteTextToGrid(cell, &obj, TRUE);
        obj.Release();
    }
}

void CGridCtrl::OnEditSelectAll()
{
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_SELCHANGING));
    SelectAllCells();
    SendMessageToParent(m_FocusCell.row, m_FocusCell.col, static_cast<int>(GVN_SELCHANGED));
}

void CGridCtrl::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(GetSelectedCount() > 0); }

void CGridCtrl::OnUpdateEditCut(CCmdUI* pCmdUI) { pCmdUI->Enable(IsEditable() && GetSelectedCount() > 0); }

void CGridCtrl::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    const CCellID cell = GetFocusCell();
    pCmdUI->Enable(IsValid(cell) && IsCellEditable(cell) && ::IsClipboardFormatAvailable(CF_TEXT));
}

void CGridCtrl::OnUpdateEditSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnableSelection); }

// ---------------------------------------------------------------------------------------
// Drag and drop: off in this program (m_bAllowDragAndDrop is never set), so the grid starts
// no drag and refuses every drop.

void CGridCtrl::OnBeginDrag() {}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

void CGridCtrl::OnDragLeave() {}

BOOL CGridCtrl::OnDrop(COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
