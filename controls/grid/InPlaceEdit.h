// CInPlaceEdit: the single-line editor that a cell opens over itself. It starts from the
// key that began the edit, ends itself on Tab, Return, Escape, the movement keys or the
// loss of the focus, grows to the right while the user types, reports the result to the
// grid (GVN_ENDLABELEDIT) and deletes itself once its window is gone.
#pragma once

#include "platform/gui/Afx.h"

class CInPlaceEdit : public CEdit
{
public:
    // Creates the editor window over rect (parent client coordinates). nFirstChar is the
    // key that started the edit: VK_LBUTTON (1) for the mouse, else a key or character.
    CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, CString sInitText,
                 UINT nFirstChar);
    ~CInPlaceEdit() override;

    // Reports the text to the grid and closes the window (once; re-entry does nothing).
    void EndEdit();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }
    UINT GetLastKey() const { return m_nLastChar; }
    BOOL ExitsOnArrows() const { return m_bExitOnArrows; }
    const CString& GetInitialText() const { return m_sInitText; }

protected:
    void PostNcDestroy() override;

    void OnKillFocus(CWnd* pNewWnd);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    UINT OnGetDlgCode();

    // Widens the editor so that the text (with some room) fits, up to the parent's right edge.
    void GrowToFit(const CString& text);
    // A key ended the edit: report, then give the focus back to the grid unless the report
    // moved it on (to the editor of the next cell).
    void EndEditByKey(UINT nKey);
    // Called once as the edit ends, before the text is read.
    virtual void OnEndingEdit() {}

    DECLARE_MESSAGE_MAP()

protected:
    CRect m_Rect;
    int m_nRow;
    int m_nColumn;
    CString m_sInitText;
    UINT m_nLastChar = 0;
    BOOL m_bExitOnArrows;
    BOOL m_bEnded = FALSE;
};

namespace qor::grid {
// The width of text in the font, measured on the screen (0 when there is no screen).
int TextWidth(CFont* pFont, const CString& text);
// Ends an in-place editor (an edit or a combo box): tells its owner, or else its parent,
// GVN_ENDLABELEDIT with the editor's text and the key that ended it, then closes the editor.
void NotifyEndLabelEdit(CWnd* pEditor, int nRow, int nCol, UINT nLastChar);
} // namespace qor::grid
