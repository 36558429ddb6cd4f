// CMemoryDC: an off-screen device context for flicker-free painting. Everything drawn
// into it goes to a bitmap of the target's clip box, copied to the target when the
// object goes out of scope. On a printer it draws straight on the printer's context.
#pragma once

#include "platform/gui/Afx.h"

class CMemoryDC : public CDC
{
public:
    explicit CMemoryDC(CDC* pDC);
    ~CMemoryDC() override;

    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    CMemoryDC* operator->() { return this; }
    operator CMemoryDC*() { return this; }

    // Output goes to the memory context's own handle only.
    BOOL PtVisible(int x, int y) const override;
    BOOL RectVisible(LPCRECT lpRect) const override;
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount) override;
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                    LPINT lpDxWidths) override;
    CSize TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions,
                        int nTabOrigin) override;
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) override;
    int DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) override;

    using CDC::DrawText;
    using CDC::DrawTextEx;
    using CDC::ExtTextOut;
    using CDC::PtVisible;
    using CDC::TabbedTextOut;
    using CDC::TextOut;

private:
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};
