// Printing the grid through the framework's print cycle, and saving its texts as a
// semicolon-separated text file.
#include "controls/grid/GridCtrl.h"

#include "platform/core/FileChecks.h"
#include "platform/core/ReplacingFile.h"
#include "platform/gui/print/PrintedTitle.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const wchar_t kAppTitle[] = L"Kestrain QOR";

// The application's title: the application object's name, else the program's title.
CString ApplicationTitle()
{
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pszAppName && *pApp->m_pszAppName) return pApp->m_pszAppName;
    return kAppTitle;
}

// The current local date and time in the locale's form ("%c").
CString CurrentDateTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return CString();
    wchar_t buffer[128];
    const size_t n = std::wcsftime(buffer, sizeof(buffer) / sizeof(buffer[0]), L"%c", &local);
    return CString(buffer, static_cast<int>(n));
}

// The bold face of a font, for the page's header and footer.
void CreateBoldFont(CFont& font, CFont& boldFont)
{
    LOGFONT lf{};
    font.GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    boldFont.CreateFontIndirect(&lf);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Pagination

int CGridCtrl::NextPrintPageStart(BOOL bHorz, int nStart) const
{
    const int nCount = bHorz ? m_nCols : m_nRows;
    const int nLimit = bHorz ? m_nPageWidth : m_nPageHeight;
    int nSum = 0;
    for (int i = nStart; i < nCount; i++)
    {
        const int nSize = bHorz ? GetColumnWidth(i) : GetRowHeight(i);
        // A line begins a new page when it does not fit below (right of) the lines already
        // on this one; a line taller (wider) than a page still gets a page of its own.
        if (nSum > 0 && nSum + nSize > nLimit) return i;
        nSum += nSize;
    }
    return nCount;
}

int CGridCtrl::CountPrintPages(BOOL bHorz) const
{
    const int nCount = bHorz ? m_nCols : m_nRows;
    int nPages = 1;
    for (int i = NextPrintPageStart(bHorz, bHorz ? m_nFixedCols : m_nFixedRows); i < nCount;
         i = NextPrintPageStart(bHorz, i))
        nPages++;
    return nPages;
}

// ---------------------------------------------------------------------------------------
// The print cycle

void CGridCtrl::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo || !::IsWindow(GetSafeHwnd())) return;
    BringAllRows();
    CDC* pCurrentDC = GetDC();
    if (!pCurrentDC) return;

    const CSize PaperPixelsPerInch(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
    const CSize ScreenPixelsPerInch(pCurrentDC->GetDeviceCaps(LOGPIXELSX), pCurrentDC->GetDeviceCaps(LOGPIXELSY));

    m_PrinterFont.DeleteObject();
    m_PrinterFont.CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                             CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, _T("Arial"));
    CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);

    static const TCHAR kLetters[] = _T("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const CSize extent = pDC->GetTextExtent(kLetters, 52);
    m_CharSize.cy = extent.cy;
    m_CharSize.cx = extent.cx / 52;
    const int nMargins = (m_nLeftMargin + m_nRightMargin) * m_CharSize.cx;

    m_PaperSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));

    const bool bUsable =
        m_PaperSize.cx > 0 && m_PaperSize.cy > 0 && PaperPixelsPerInch.cx > 0 && PaperPixelsPerInch.cy > 0;
    if (bUsable && m_bScaledPrinting)
    {
        m_LogicalPageSize.cx = m_PaperSize.cx * ScreenPixelsPerInch.cx / PaperPixelsPerInch.cx * 3 / 4;
        m_LogicalPageSize.cy = m_PaperSize.cy * ScreenPixelsPerInch.cy / PaperPixelsPerInch.cy * 3 / 4;
    }
    else if (bUsable)
    {
        m_LogicalPageSize.cx = GetVirtualWidth() + nMargins;
        m_LogicalPageSize.cy = ::MulDiv(m_LogicalPageSize.cx, m_PaperSize.cy, m_PaperSize.cx);
    }
    else
        m_LogicalPageSize = CSize(0, 0);

    m_dPrintTextScale = bUsable ? PrintTextScale(pDC) : 1.0;

    m_nPageHeight =
        m_LogicalPageSize.cy - GetFixedRowHeight() - (m_nHeaderHeight + m_nFooterHeight + 2 * m_nGap) * m_CharSize.cy;
    m_nPageWidth = m_LogicalPageSize.cx - GetFixedColumnWidth() - nMargins;

    m_nNumPages = CountPrintPages(FALSE);
    m_nPageMultiplier = 1;
    if (m_bScaledPrinting)
    {
        m_nPageMultiplier = CountPrintPages(TRUE);
        m_nNumPages *= m_nPageMultiplier;
    }
    if (!bUsable) m_nNumPages = 0;

    pInfo->SetMaxPage(static_cast<UINT>(m_nNumPages));
    pInfo->m_nCurPage = 1;

    ReleaseDC(pCurrentDC);
    pDC->SelectObject(pOldFont);
}

namespace {

// Wider than any printed page, in logical units (screen pixels): some 70 screens.
constexpr int kWidestPrintedText = 65536;

// Whether the first line of a cell's text is wider than `room` in the cell's font (a name of megabytes
// measured only as far as that).
bool FirstLineWiderThan(CDC* pDC, CGridCellBase* pCell, int room)
{
    const LPCTSTR text = pCell->GetText();
    const wchar_t* newline = std::wcschr(text, L'\n');
    const int end = static_cast<int>(newline ? newline - text : std::wcslen(text));
    CFont* pFont = pCell->GetFontObject();
    CFont* pOldFont = pFont ? pDC->SelectObject(pFont) : nullptr;
    const bool wider = pDC->GetTextExtentUpTo(text, end, room).cx > room;
    if (pOldFont) pDC->SelectObject(pOldFont);
    return wider;
}

} // namespace

// The column widths come from the screen, whose font may measure narrower than the same font on
// paper (hinting at a fractional pixel ratio). The texts print smaller by as much as the widest
// shortfall, so every one keeps its column. A text more than twice as wide as its column (or far
// wider than any page) was cut on the screen too: it is cut on paper as there, and leaves the
// others their size (one long name would otherwise print the whole table too small to read).
double CGridCtrl::PrintTextScale(CDC* pDC)
{
    const int nSavedDC = pDC->SaveDC();
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_LogicalPageSize);
    pDC->SetViewportExt(m_PaperSize);
    double scale = 1.0;
    for (int col = 0; col < GetColumnCount(); col++)
    {
        const int width = GetColumnWidth(col);
        // A table that knows its widest text on paper is not measured cell by cell. Its extent is
        // one over the text's (the rounding of the text's extent one more); one that would be cut
        // is measured cell by cell, to leave it out.
        const int widest = m_fnWidth && width > 0 ? m_fnWidth(col, 0, GetRowCount() - 1, pDC) : -1;
        if (widest >= 0 && widest - 2 <= std::min(2 * width, kWidestPrintedText))
        {
            if (widest - 2 > width) scale = std::min(scale, static_cast<double>(width) / (widest - 2));
            continue;
        }
        for (int row = 0; row < GetRowCount() && width > 0; row++)
        {
            CGridCellBase* pCell = GetCell(row, col);
            if (!pCell || !pCell->GetText() || !pCell->GetText()[0]) continue;
            if (FirstLineWiderThan(pDC, pCell, std::min(2 * width, kWidestPrintedText))) continue;
            // The extent (margins included) is rounded to whole units: one over is rounding.
            const int text = pCell->GetTextExtent(pCell->GetText(), pDC).cx - 1;
            if (text > width) scale = std::min(scale, static_cast<double>(width) / text);
        }
    }
    pDC->RestoreDC(nSavedDC);
    return scale;
}

void CGridCtrl::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo || m_nNumPages <= 0 || m_nPageMultiplier <= 0 || !m_PrinterFont.GetSafeHandle()) return;

    CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);
    CPen blackPen(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&blackPen);

    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_LogicalPageSize);
    pDC->SetViewportExt(m_PaperSize);

    const int nMargins = (m_nLeftMargin + m_nRightMargin) * m_CharSize.cx;

    // Header
    pDC->SetWindowOrg(-m_nLeftMargin * m_CharSize.cx, 0);
    pInfo->m_rectDraw.SetRect(0, 0, m_LogicalPageSize.cx - nMargins, m_nHeaderHeight * m_CharSize.cy);
    PrintHeader(pDC, pInfo);
    pDC->OffsetWindowOrg(0, -m_nHeaderHeight * m_CharSize.cy);

    // Gap, then room for the column headings
    pDC->OffsetWindowOrg(0, -m_nGap * m_CharSize.cy);
    pDC->OffsetWindowOrg(0, -GetFixedRowHeight());

    // Which rows and columns this page shows
    const int nPage = static_cast<int>(pInfo->m_nCurPage);
    const int nRowPage = (nPage + m_nPageMultiplier - 1) / m_nPageMultiplier;
    int nColPage = nPage % m_nPageMultiplier;
    if (nColPage == 0) nColPage = m_nPageMultiplier;

    m_nCurrPrintRow = m_nFixedRows;
    for (int p = 1; p < nRowPage && m_nCurrPrintRow < m_nRows; p++)
        m_nCurrPrintRow = NextPrintPageStart(FALSE, m_nCurrPrintRow);
    m_nPrintColumn = m_nFixedCols;
    for (int p = 1; p < nColPage && m_nPrintColumn < m_nCols; p++)
        m_nPrintColumn = NextPrintPageStart(TRUE, m_nPrintColumn);

    // The rows of the page that are not made yet are made to be printed and go again afterwards:
    // printing a table keeps no more cells.
    std::vector<int> madeForPage;
    if (m_fnFillRow)
        for (int row = m_nCurrPrintRow, end = NextPrintPageStart(FALSE, m_nCurrPrintRow); row < end; row++)
            if (!IsRowMade(row)) madeForPage.push_back(row);

    // Row headings, then the column headings above them and the body
    PrintRowHeadings(pDC, pInfo);

    pInfo->m_rectDraw.bottom = GetFixedRowHeight();
    pDC->OffsetWindowOrg(0, GetFixedRowHeight());
    const int nSavedPageWidth = m_nPageWidth;
    const int nSavedPrintColumn = m_nPrintColumn;
    m_nPageWidth += GetFixedColumnWidth();
    if (nColPage == 1) m_nPrintColumn = 0;
    PrintColumnHeadings(pDC, pInfo);
    m_nPageWidth = nSavedPageWidth;
    m_nPrintColumn = nSavedPrintColumn;

    pDC->OffsetWindowOrg(-GetFixedColumnWidth(), -GetFixedRowHeight());

    // Body
    CRect rect;
    rect.bottom = -1;
    BOOL bFirstRowOfPage = TRUE;
    while (m_nCurrPrintRow < m_nRows)
    {
        const int nHeight = GetRowHeight(m_nCurrPrintRow);
        if (nHeight > 0)
        {
            rect.top = rect.bottom + 1;
            rect.bottom = rect.top + nHeight - 1;
            if (rect.bottom >= m_nPageHeight && !bFirstRowOfPage) break;
            bFirstRowOfPage = FALSE;

            rect.right = -1;
            BOOL bFirstCol = FALSE;
            PrintRowCells(m_nPrintColumn, m_nCols, m_nCurrPrintRow, rect, pDC, bFirstCol);
        }
        m_nCurrPrintRow++;
    }

    // Footer
    pInfo->m_rectDraw.bottom = m_nFooterHeight * m_CharSize.cy;
    pDC->SetWindowOrg(-m_nLeftMargin * m_CharSize.cx, m_nFooterHeight * m_CharSize.cy - m_LogicalPageSize.cy);
    PrintFooter(pDC, pInfo);

    pDC->SetWindowOrg(0, 0);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldFont);
    for (int row : madeForPage) ForgetRow(row);
}

void CGridCtrl::OnEndPrinting(CDC*, CPrintInfo*) { m_PrinterFont.DeleteObject(); }

// Draws the grid lines of one printed cell (rect is inclusive).
void CGridCtrl::PrintCellLines(CDC* pDC, int nRow, int nCol, const CRect& rect, BOOL bLeftLine)
{
    if (m_nGridLines & GVL_HORZ)
    {
        pDC->MoveTo(rect.left, rect.bottom);
        pDC->LineTo(rect.right + 1, rect.bottom);
        if (nRow == 0)
        {
            pDC->MoveTo(rect.left, rect.top);
            pDC->LineTo(rect.right + 1, rect.top);
        }
    }
    if (m_nGridLines & GVL_VERT)
    {
        pDC->MoveTo(rect.right, rect.top);
        pDC->LineTo(rect.right, rect.bottom + 1);
        if (nCol == 0 || bLeftLine)
        {
            pDC->MoveTo(rect.left, rect.top);
            pDC->LineTo(rect.left, rect.bottom + 1);
        }
    }
}

void CGridCtrl::PrintRowCells(int nFirstCol, int nEndCol, int nRow, CRect& rect, CDC* pDC, BOOL& bFirst)
{
    for (int col = nFirstCol; col < nEndCol; col++)
    {
        const int nWidth = GetColumnWidth(col);
        if (nWidth <= 0) continue;
        rect.left = rect.right + 1;
        rect.right = rect.left + nWidth - 1;
        if (rect.right >= m_nPageWidth) break;
        if (CGridCellBase* pCell = GetCell(nRow, col)) pCell->PrintCell(pDC, nRow, col, rect);
        PrintCellLines(pDC, nRow, col, rect, bFirst);
        bFirst = FALSE;
    }
}

void CGridCtrl::PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo) return;
    CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);

    CRect rect;
    rect.bottom = -1;
    for (int row = 0; row < m_nFixedRows; row++)
    {
        const int nHeight = GetRowHeight(row);
        if (nHeight <= 0) continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + nHeight - 1;
        rect.right = -1;

        BOOL bFirst = TRUE;
        if (m_nPrintColumn >= m_nFixedCols) PrintRowCells(0, m_nFixedCols, row, rect, pDC, bFirst);
        PrintRowCells(m_nPrintColumn, m_nCols, row, rect, pDC, bFirst);
    }
    pDC->SelectObject(pOldFont);
}

void CGridCtrl::PrintRowHeadings(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo) return;
    CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);

    CRect rect;
    rect.right = -1;
    for (int col = 0; col < m_nFixedCols; col++)
    {
        const int nWidth = GetColumnWidth(col);
        if (nWidth <= 0) continue;
        rect.left = rect.right + 1;
        rect.right = rect.left + nWidth - 1;
        rect.bottom = -1;

        BOOL bFirstRowOfPage = TRUE;
        for (int row = m_nCurrPrintRow; row < m_nRows; row++)
        {
            const int nHeight = GetRowHeight(row);
            if (nHeight <= 0) continue;
            rect.top = rect.bottom + 1;
            rect.bottom = rect.top + nHeight - 1;
            if (rect.bottom >= m_nPageHeight && !bFirstRowOfPage) break;
            bFirstRowOfPage = FALSE;
            if (CGridCellBase* pCell = GetCell(row, col)) pCell->PrintCell(pDC, row, col, rect);
            PrintCellLines(pDC, row, col, rect, FALSE);
        }
    }
    pDC->SelectObject(pOldFont);
}

void CGridCtrl::PrintHeader(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo) return;

    CString strRight = m_strPrintRightTitle;
    if (strRight.IsEmpty()) strRight = ApplicationTitle();
    // The title is not copied for each page (a name in it may be megabytes long).
    CString strParentTitle;
    if (m_strPrintTitle.IsEmpty())
        for (CWnd* pWnd = GetParent(); strParentTitle.IsEmpty() && pWnd; pWnd = pWnd->GetParent())
            pWnd->GetWindowText(strParentTitle);
    const CString& strCenter = m_strPrintTitle.IsEmpty() ? strParentTitle : m_strPrintTitle;

    CFont boldFont;
    CreateBoldFont(m_PrinterFont, boldFont);
    CFont* pOldFont = pDC->SelectObject(&boldFont);
    const int nOldBkMode = pDC->SetBkMode(TRANSPARENT);

    CRect rc(pInfo->m_rectDraw);
    if (!strCenter.IsEmpty())
    {
        // A centre text too long to clear the right-hand text (a run's whole description) prints whole:
        // it starts at the left, stops before the right-hand text and wraps onto the header's lines, in
        // a smaller type when they are too few.
        const int nReserve =
            strRight.IsEmpty() ? 0 : pDC->GetTextExtent(strRight).cx + 2 * pDC->GetTextExtent(_T("X")).cx;
        qor::gui::DrawPrintedTitle(pDC, strCenter, rc, nReserve, boldFont);
    }
    if (!strRight.IsEmpty()) pDC->DrawText(strRight, &rc, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);

    pDC->SetBkMode(nOldBkMode);
    pDC->SelectObject(pOldFont);

    CPen blackPen(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&blackPen);
    pDC->MoveTo(rc.left, rc.bottom);
    pDC->LineTo(rc.right, rc.bottom);
    pDC->SelectObject(pOldPen);
}

void CGridCtrl::PrintFooter(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo) return;

    CString strLeft;
    strLeft.Format(_T("Page %d of %d"), static_cast<int>(pInfo->m_nCurPage), static_cast<int>(pInfo->GetMaxPage()));
    const CString strRight = CurrentDateTimeText();

    CRect rc(pInfo->m_rectDraw);

    CPen blackPen(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&blackPen);
    pDC->MoveTo(rc.left, rc.top);
    pDC->LineTo(rc.right, rc.top);
    pDC->SelectObject(pOldPen);

    CFont boldFont;
    CreateBoldFont(m_PrinterFont, boldFont);
    CFont* pOldFont = pDC->SelectObject(&boldFont);
    const int nOldBkMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = pDC->SetTextColor(RGB(0, 0, 0));

    if (!strLeft.IsEmpty()) pDC->DrawText(strLeft, &rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    if (!strRight.IsEmpty()) pDC->DrawText(strRight, &rc, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);

    pDC->SetTextColor(oldColor);
    pDC->SetBkMode(nOldBkMode);
    pDC->SelectObject(pOldFont);
}

// ---------------------------------------------------------------------------------------
// Saving as delimited text

namespace {

// The framework's message for a file that cannot be created, naming the file and the cause.
CString FileErrorMessage(int nErrno, LPCTSTR fileName)
{
    LPCTSTR format;
    switch (nErrno)
    {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: format = _T("%s contains an incorrect path."); break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: format = _T("Access to %s was denied."); break;
    case ENOSPC:
    case EDQUOT: format = _T("Disk full while accessing %s."); break;
    case EMFILE:
    case ENFILE: format = _T("%s could not be opened because there are too many open files."); break;
    default: format = _T("An unknown error occurred while accessing %s."); break;
    }
    CString text;
    text.Format(format, fileName);
    return text;
}

// Appends text in UTF-8, each line feed stored as carriage return + line feed.
void AppendText(std::string& out, const CString& text)
{
    for (char ch : text.ToUtf8())
    {
        if (ch == '\n') out += '\r';
        out += ch;
    }
}

// Appends one field. A text holding the separator, a quote or a line break is quoted with its
// quotes doubled, so that a spreadsheet reads it back as one cell; its line breaks are kept as
// they are, so the cell reads back exactly as shown. Every other text is written as it is.
void AppendField(std::string& out, const CString& text, TCHAR chSeparator)
{
    const wchar_t special[] = {chSeparator, L'"', L'\r', L'\n', L'\0'};
    if (text.FindOneOf(special) < 0)
    {
        AppendText(out, text);
        return;
    }
    out += '"';
    for (char ch : text.ToUtf8())
    {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

// Quotes, as AppendField does, the field whose UTF-8 bytes were appended to out from at on. The
// separator's bytes are found whole (UTF-8 puts no character inside another), so a field is
// quoted exactly where its text holds one of the characters AppendField looks for.
void QuoteAppendedField(std::string& out, std::size_t at, const std::string& separator)
{
    const std::string_view field(out.data() + at, out.size() - at);
    bool bSpecial = false;
    for (std::size_t i = 0; i < field.size() && !bSpecial; i++)
    {
        const char ch = field[i];
        bSpecial =
            ch == '"' || ch == '\r' || ch == '\n' || (ch == separator[0] && field.substr(i).starts_with(separator));
    }
    if (!bSpecial) return;
    const std::string text(field);
    out.resize(at);
    out += '"';
    for (char ch : text)
    {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

} // namespace

BOOL CGridCtrl::Save(LPCTSTR filename, TCHAR chSeparator)
{
    const CString strFileName = filename ? filename : _T("");
    std::string target = strFileName.ToUtf8();
    if (target.empty())
    {
        AfxMessageBox(FileErrorMessage(ENOENT, strFileName), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    // A link is written through, where the system would follow it for this user: its destination gets
    // the new content. Another user's link in a shared folder (as /tmp) is not followed.
    const qor::SFollowedLinks followed = qor::FollowLinks(strFileName);
    if (followed.Refused() || qor::HasUndecodedBytes(followed.target))
    {
        const CString why = followed.Refused() ? followed.Refusal() + _T(".")
                                               : qor::ShownPath(followed.target) + _T(": ") + qor::NotUtf8NameReason();
        AfxMessageBox(why, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    target = followed.target.ToUtf8();

    // The file is written beside the target under a temporary name of its own (see CReplacingFile) and
    // put in its place only when it is whole, so that a failed save leaves an existing file as it was.
    // It keeps the permissions of the file it replaces (a new one gets those the umask leaves).
    struct stat st
    {};
    if (::stat(target.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || ::access(target.c_str(), W_OK) != 0))
    {
        AfxMessageBox(FileErrorMessage(S_ISDIR(st.st_mode) ? EISDIR : errno, strFileName), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    // The path is walked again as the file is made, in the folder that walk opened (see CReplacingFile):
    // a link re-pointed since the check above changes nothing.
    qor::CReplacingFile file;
    if (!file.Open(strFileName))
    {
        const CString why = file.Reason().IsEmpty()
                                ? FileErrorMessage(errno, strFileName)
                                : qor::ShownPath(file.ReasonPath()) + _T(": ") + file.Reason() + _T(".");
        AfxMessageBox(why, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // Only a file that could be opened waits for the rows still to come: a name refused is said at once.
    BringAllRows();

    bool ok = true;
    try
    {
        const CString strSeparator(chSeparator, 1);
        std::string buffer;
        AppendText(buffer, _T("sep=") + strSeparator + _T("\n"));
        std::vector<int> cols(static_cast<size_t>(std::max(0, m_nCols)));
        for (int col = 0; col < m_nCols; col++) cols[static_cast<size_t>(col)] = col;
        const std::int64_t nCells = static_cast<std::int64_t>(m_nRows) * m_nCols;
        // A worker writes the cells' bytes straight into the block; a small save reads their texts.
        // A separator that is no character of its own (none, a lone surrogate) is left to AppendField.
        const auto sepCode = static_cast<std::uint32_t>(chSeparator);
        const bool bPlainSeparator = sepCode > 0 && (sepCode < 0xD800 || (sepCode > 0xDFFF && sepCode <= 0x10FFFF));
        const CellTextWriter writer = m_fnWriter && bPlainSeparator && IsWorkerJob(nCells) ? m_fnWriter() : nullptr;
        // The bytes AppendField looks for and AppendText writes.
        const std::string sepFound = strSeparator.ToUtf8();
        std::string sepBytes, endBytes;
        AppendText(sepBytes, strSeparator);
        AppendText(endBytes, CString(_T("\n")));
        std::vector<CString> texts;
        if (m_nCols > 0)
            ok = WriteRowsText(
                0, m_nRows - 1, nCells, _T("Saving"),
                [&](int row, bool bWorker, std::string& out) {
                    if (bWorker && writer)
                    {
                        for (int col = 0; col < m_nCols; col++)
                        {
                            const std::size_t at = out.size();
                            writer(row, col, out);
                            QuoteAppendedField(out, at, sepFound);
                            out += col + 1 < m_nCols ? sepBytes : endBytes;
                        }
                        return;
                    }
                    ReadRowTexts(row, cols, bWorker, texts);
                    for (int col = 0; col < m_nCols; col++)
                    {
                        AppendField(out, texts[static_cast<size_t>(col)], chSeparator);
                        AppendText(out, col + 1 < m_nCols ? strSeparator : CString(_T("\n")));
                    }
                },
                [&](std::string& part) {
                    // The first line goes first.
                    if (!buffer.empty() && !file.Write(buffer.data(), buffer.size())) return false;
                    buffer.clear();
                    return file.Write(part.data(), part.size());
                });
        // Its end waits for the disk: off the window thread, as the rows of a large table were written.
        ok = ok && file.Write(buffer.data(), buffer.size()) && qor::gui::CommitOffWindowThread(file);
    }
    catch (...)
    {
        ok = false;
    }
    if (!ok)
    {
        qor::gui::DiscardOffWindowThread(file);
        AfxMessageBox(_T("Unable to save grid list"), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}
