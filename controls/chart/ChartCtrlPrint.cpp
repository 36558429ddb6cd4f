// Printing the chart: one page, the chart scaled from screen pixels to the printer page.
#include "controls/chart/ChartCtrl.h"

#include <memory>

void CChartCtrl::PreparePrintedSize(CDC* pDC)
{
    m_PaperSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    CClientDC screen(nullptr);
    const int screenX = screen.GetDeviceCaps(LOGPIXELSX), screenY = screen.GetDeviceCaps(LOGPIXELSY);
    const int printerX = pDC->GetDeviceCaps(LOGPIXELSX), printerY = pDC->GetDeviceCaps(LOGPIXELSY);
    m_LogicalPageSize.cx = printerX > 0 ? MulDiv(m_PaperSize.cx * 3 / 4, screenX, printerX) : 0;
    m_LogicalPageSize.cy = printerY > 0 ? MulDiv(m_PaperSize.cy * 3 / 4, screenY, printerY) : 0;
}

void CChartCtrl::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pInfo;
    if (!pDC || !pDC->GetSafeHdc() || m_LogicalPageSize.cx <= 0 || m_LogicalPageSize.cy <= 0) return;
    CFont* pOldFont = m_PrinterFont.GetSafeHandle() ? pDC->SelectObject(&m_PrinterFont) : nullptr;
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_LogicalPageSize);
    pDC->SetViewportExt(m_PaperSize);
    DrawChart(pDC, CRect(0, 0, m_LogicalPageSize.cx, m_LogicalPageSize.cy));
    if (pOldFont) pDC->SelectObject(pOldFont);
}

void CChartCtrl::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pDC;
    (void)pInfo;
    m_PrinterFont.DeleteObject();
    RefreshCtrl(); // the layout is screen-sized again
}

void CChartCtrl::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (pInfo) pInfo->SetMaxPage(1);
    m_PrinterFont.DeleteObject();
    m_PrinterFont.CreateFont(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, _T("Arial"));
    if (pDC && pDC->GetSafeHdc()) PreparePrintedSize(pDC);
}

BOOL CChartCtrl::PrintOn(CDC* pPrinterDC, const CString& title, CPrintInfo* pInfo)
{
    if (!pPrinterDC || !pPrinterDC->GetSafeHdc()) return FALSE;
    DOCINFO docInfo{};
    docInfo.cbSize = sizeof(docInfo);
    docInfo.lpszDocName = title.GetString();
    if (pPrinterDC->StartDoc(&docInfo) <= 0) return FALSE;
    OnBeginPrinting(pPrinterDC, pInfo);
    bool printed = pPrinterDC->StartPage() > 0;
    if (printed)
    {
        OnPrint(pPrinterDC, pInfo);
        printed = pPrinterDC->EndPage() > 0;
    }
    if (printed)
        pPrinterDC->EndDoc();
    else
        pPrinterDC->AbortDoc();
    OnEndPrinting(pPrinterDC, pInfo);
    return printed ? TRUE : FALSE;
}

void CChartCtrl::Print(const CString& title, CPrintDialog* pPrntDialog)
{
    std::unique_ptr<CPrintDialog> ownDialog;
    if (!pPrntDialog)
    {
        ownDialog = std::make_unique<CPrintDialog>(
            FALSE, PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE, this);
        if (ownDialog->DoModal() != IDOK) return;
    }
    CPrintDialog* pDialog = pPrntDialog ? pPrntDialog : ownDialog.get();
    const HDC hPrinterDC = pDialog->GetPrinterDC();
    if (!hPrinterDC) return;

    CDC printerDC;
    printerDC.Attach(hPrinterDC);
    printerDC.m_bPrinting = TRUE;
    CPrintInfo info;
    PrintOn(&printerDC, title, &info);
    if (pPrntDialog)
        printerDC.Detach(); // the caller's dialog keeps its DC
    else
        pDialog->m_pd.hDC = nullptr; // ours: deleted with printerDC
}
