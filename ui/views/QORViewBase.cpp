// The result views' common part: title, Show operations dispatching to the concrete view's
// drawing operations, and the printed page frame (header and footer bands).
#include "ui/views/QORViewBase.h"

#include "engine/settings/Settings.h"
#include "output/AnalysisOutput.h"
#include "platform/gui/print/PrintedTitle.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

IMPLEMENT_DYNAMIC(CQORViewBase, CView)

BEGIN_MESSAGE_MAP(CQORViewBase, CView)
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// The main frame's active child frame shows a document (every document is a case): only then is the title painted,
// so a view being torn down with its frame paints nothing stale.
bool CaseDocumentIsActive()
{
    CMDIFrameWnd* pMain = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    if (!pMain) return false;
    CMDIChildWnd* pChild = pMain->MDIGetActive();
    if (!pChild) return false;
    return pChild->GetActiveDocument() != nullptr;
}

// The title on the screen: the message font in bold, wrapped onto more lines when the view is narrower
// than the title (a run's description names the bridge, the analysis and the vehicle: none may be lost),
// on no more than half the view.
const UINT kScreenTitleFormat = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;

bool CreateTitleFont(CFont& font)
{
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONT lf = metrics.lfMessageFont;
    lf.lfWeight = FW_BOLD;
    return font.CreateFontIndirect(&lf) != FALSE;
}

// The title as far as it shows in a strip `width` wide and at most half the view's `viewHeight` tall
// (the content keeps the rest): its lines that fit there whole (a name of megabytes is measured and
// laid out no further), with the strip's height. The DC has the title font.
CString ShownTitle(CDC& dc, const CString& title, int width, int viewHeight, int& stripHeight)
{
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    const int line = std::max<int>(tm.tmHeight, 1);
    const int most = std::max(1, viewHeight / 2 / line) * line;
    CRect room(0, 0, width, most);
    const CString shown = dc.GetDrawnText(title, &room, kScreenTitleFormat);
    CRect need(0, 0, width, 0);
    dc.DrawText(shown, &need, kScreenTitleFormat | DT_CALCRECT);
    stripHeight = std::min<int>(need.Height(), most);
    return shown;
}

} // namespace

CQORViewBase::CQORViewBase() : m_sTitle(L"PlotView Title"), m_sHeader(L"Kestrain QOR")
{
    const CSettings::Plot_Config::Plot_Gap& gap = CSettings::GetInstance()->Plot.Gap;
    m_Gap.TOP = gap.TOP;
    m_Gap.BTM = gap.BTM;
    m_Gap.LEFT = gap.LEFT;
    m_Gap.RIGHT = gap.RIGHT;
    m_Gap.BETWN = gap.BETWN;
}

CQORViewBase::~CQORViewBase() = default;

// ---- Show ------------------------------------------------------------------------------------

void CQORViewBase::BeginShow(const wchar_t* prefix, bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO)
{
    m_pAnalysisOutput = std::move(pAO);
    m_nTableKind = bBMSF ? TABLE_BMSF : TABLE_REACTIONS;
    m_sTitle = prefix;
    m_sTitle += bBMSF ? L"BM & SF | " : L"Reactions | ";
    if (m_pAnalysisOutput) m_sTitle += m_pAnalysisOutput->GetDescription();
}

void CQORViewBase::ShowSinglePosition(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO)
{
    BeginShow(L"Single Position Analysis: ", bBMSF, pAO);
    if (bBMSF)
        DrawSinglePositionBMSF(pAO);
    else
        DrawSinglePositionReactions(pAO);
    UpdateWindow();
}

void CQORViewBase::ShowMovingLoadEnvelopes(bool bShowAll, bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO)
{
    BeginShow(L"Moving Load Envelopes: ", bBMSF, pAO);
    auto pMovingLoad = std::dynamic_pointer_cast<CAOMovingLoad>(pAO);
    std::shared_ptr<CEnvelopeResults> pResults = pMovingLoad ? pMovingLoad->GetResults() : nullptr;
    if (bBMSF)
        DrawMovingLoadBMSF(pResults, bShowAll);
    else
        DrawMovingLoadReactions(pResults);
    UpdateWindow();
}

void CQORViewBase::ShowMultiMovingLoadEnvelopes(bool bShowAll, bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO)
{
    BeginShow(L"Multi Moving Load Envelopes: ", bBMSF, pAO);
    if (bBMSF)
        DrawMultiMovingLoadBMSF(pAO, bShowAll);
    else
        DrawMultiMovingLoadReactions(pAO, bShowAll);
    UpdateWindow();
}

void CQORViewBase::ShowReferenceValues(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO)
{
    BeginShow(L"Reference Values: ", bBMSF, pAO);
    auto pRange = std::dynamic_pointer_cast<CAOBridgeRange>(pAO);
    std::shared_ptr<CCriticalValueEnsemble> pValues = pRange ? pRange->GetResults() : nullptr;
    if (bBMSF)
        DrawReferenceValuesBMSF(pValues);
    else
        DrawReferenceValuesReactions(pValues);
    UpdateWindow();
}

void CQORViewBase::ShowReferenceSetValues(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO)
{
    BeginShow(L"Reference Set Values: ", bBMSF, pAO);
    auto pSetOutput = std::dynamic_pointer_cast<CAOReferenceSet>(pAO);
    std::shared_ptr<CReferenceSet> pRefSet = pSetOutput ? pSetOutput->GetReferenceSet() : nullptr;
    if (bBMSF)
        DrawReferenceSetValuesBMSF(pRefSet);
    else
        DrawReferenceSetValuesReactions(pRefSet);
    UpdateWindow();
}

void CQORViewBase::ShowCompareEnvelopes(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO)
{
    BeginShow(L"Compare Envelopes: ", bBMSF, pAO);
    if (bBMSF)
        DrawCompareEnvelopesBMSF(pAO);
    else
        DrawCompareEnvelopesReactions(pAO);
    UpdateWindow();
}

void CQORViewBase::ShowCriticalRatios(bool bBMSF, std::shared_ptr<CAnalysisOutput> pAO)
{
    BeginShow(L"Critical Ratios: ", bBMSF, pAO);
    if (bBMSF)
        DrawCriticalRatiosBMSF(pAO);
    else
        DrawCriticalRatiosReactions(pAO);
    UpdateWindow();
}

// ---- Screen ----------------------------------------------------------------------------------

BOOL CQORViewBase::CreateBoldFont(CFont& bold, CFont& from)
{
    LOGFONT lf{};
    if (!from.GetSafeHandle() || !from.GetLogFont(&lf)) return FALSE;
    lf.lfWeight = FW_BOLD;
    return bold.CreateFontIndirect(&lf);
}

void CQORViewBase::OnDraw(CDC* pDC)
{
    if (!pDC || !CaseDocumentIsActive()) return;
    CRect client;
    GetClientRect(&client);
    CBrush face(GetSysColor(COLOR_BTNFACE));
    pDC->FillRect(&client, &face);

    CFont titleFont; // deleted when it goes out of scope, after the old font is back
    if (!CreateTitleFont(titleFont)) return;
    CFont* pOldFont = pDC->SelectObject(&titleFont);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    // The title is text on the face colour: the look's text colour for it, readable in every look.
    const COLORREF oldColour = pDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    CRect title(m_Gap.LEFT, m_Gap.TOP, std::max(client.right - m_Gap.RIGHT, m_Gap.LEFT + 1), client.bottom);
    int height = 0;
    const CString shown = ShownTitle(*pDC, m_sTitle, title.Width(), client.Height(), height);
    title.bottom = title.top + height;
    pDC->DrawText(shown, &title, kScreenTitleFormat);
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(pOldFont);
}

void CQORViewBase::RecalcLayout()
{
    if (!GetSafeHwnd()) return;
    CWindowDC dc(this);
    CFont titleFont;
    if (!CreateTitleFont(titleFont)) return;
    CFont* pOld = dc.SelectObject(&titleFont);
    CRect client;
    GetClientRect(&client);
    int height = 0;
    ShownTitle(dc, m_sTitle, std::max(client.Width() - m_Gap.LEFT - m_Gap.RIGHT, 1), client.Height(), height);
    dc.SelectObject(pOld);
    m_nContentTop = m_Gap.TOP + height;
}

void CQORViewBase::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    RecalcLayout();
    Invalidate(FALSE);
}

// ---- Printing --------------------------------------------------------------------------------

BOOL CQORViewBase::OnPreparePrinting(CPrintInfo* pInfo) { return CView::OnPreparePrinting(pInfo); }

void CQORViewBase::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo || !GetSafeHwnd()) return;
    CClientDC screen(this);
    if (!screen.GetSafeHdc()) return;
    const int printerY = pDC->GetDeviceCaps(LOGPIXELSY);
    const int printerX = pDC->GetDeviceCaps(LOGPIXELSX);
    const int screenY = screen.GetDeviceCaps(LOGPIXELSY);
    const int screenX = screen.GetDeviceCaps(LOGPIXELSX);
    if (printerX <= 0 || printerY <= 0) return;

    m_PrintFont.DeleteObject();
    m_PrintFont.CreateFont(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                           CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial");
    CFont* pOldFont = pDC->SelectObject(&m_PrintFont);
    const CSize letters = pDC->GetTextExtent(CString(L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    m_nLineHeight = letters.cy;
    m_nCharWidth = letters.cx / 52;

    m_nDeviceWidth = pDC->GetDeviceCaps(HORZRES);
    m_nDeviceHeight = pDC->GetDeviceCaps(VERTRES);
    // The logical page is three quarters of the paper in screen pixels, so that a chart sized
    // for the screen prints at a familiar scale.
    m_nPageWidth = ((m_nDeviceWidth * screenX) / printerX) * 3 / 4;
    m_nPageHeight = ((m_nDeviceHeight * screenY) / printerY) * 3 / 4;
    m_nContentWidth = m_nPageWidth - (m_nMarginRight + m_nMarginLeft) * m_nCharWidth;
    m_nContentHeight = m_nPageHeight - (m_nMarginBottom + 2 * m_nSpacingLines + m_nMarginTop) * m_nLineHeight;
    pDC->SelectObject(pOldFont);
}

void CQORViewBase::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo) return;
    CFont* pOldFont = pDC->SelectObject(&m_PrintFont);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_nPageWidth, m_nPageHeight);
    pDC->SetViewportExt(m_nDeviceWidth, m_nDeviceHeight);

    const int left = m_nMarginLeft * m_nCharWidth;
    pDC->SetWindowOrg(-left, 0);
    pInfo->m_rectDraw.SetRect(0, 0, m_nPageWidth - (m_nMarginRight + m_nMarginLeft) * m_nCharWidth,
                              m_nMarginTop * m_nLineHeight);
    PrintPageHeader(pDC, pInfo);

    pInfo->m_rectDraw.bottom = m_nMarginBottom * m_nLineHeight;
    pDC->SetWindowOrg(-left, m_nMarginBottom * m_nLineHeight - m_nPageHeight);
    PrintPageFooter(pDC, pInfo);

    pDC->SetWindowOrg(0, 0);
    pDC->SelectObject(pOldFont);
}

void CQORViewBase::PrintPageHeader(CDC* pDC, CPrintInfo* pInfo)
{
    CFont bold;
    CreateBoldFont(bold, m_PrintFont);
    CFont* pOldFont = bold.GetSafeHandle() ? pDC->SelectObject(&bold) : nullptr;
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    CRect band = pInfo->m_rectDraw;
    if (!m_sTitle.IsEmpty())
    {
        // A long title (a whole run's description: the bridge, the analysis, "Proposed: ...") prints
        // whole: it starts at the left, stops before the program's name and wraps onto the lines of
        // the header, in a smaller type when they are too few.
        const int reserve = m_sHeader.IsEmpty() ? 0 : pDC->GetTextExtent(m_sHeader).cx + 2 * m_nCharWidth;
        qor::gui::DrawPrintedTitle(pDC, m_sTitle, band, reserve, bold);
    }
    if (!m_sHeader.IsEmpty()) pDC->DrawText(m_sHeader, &band, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetBkMode(oldMode);
    if (pOldFont) pDC->SelectObject(pOldFont);

    CGdiObject* pOldPen = pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(band.left, band.bottom);
    pDC->LineTo(band.right, band.bottom);
    if (pOldPen) pDC->SelectObject(pOldPen);
}

void CQORViewBase::PrintPageFooter(CDC* pDC, CPrintInfo* pInfo)
{
    CString page;
    page.Format(L"Page %d of %d", static_cast<int>(pInfo->m_nCurPage), static_cast<int>(pInfo->GetMaxPage()));
    char stamp[128] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof(stamp), "%c", &local);
    const CString date(stamp);

    CRect band = pInfo->m_rectDraw;
    CGdiObject* pOldPen = pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(band.left, band.top);
    pDC->LineTo(band.right, band.top);
    if (pOldPen) pDC->SelectObject(pOldPen);

    CFont bold;
    CreateBoldFont(bold, m_PrintFont);
    CFont* pOldFont = bold.GetSafeHandle() ? pDC->SelectObject(&bold) : nullptr;
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    if (!page.IsEmpty()) pDC->DrawText(page, &band, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (!date.IsEmpty()) pDC->DrawText(date, &band, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetBkMode(oldMode);
    if (pOldFont) pDC->SelectObject(pOldFont);
}

void CQORViewBase::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    m_PrintFont.DeleteObject();
    CView::OnEndPrinting(pDC, pInfo);
}
