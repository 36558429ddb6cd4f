// Printing: the print dialog, the page information of the print protocol, and printer device
// contexts. A printer DC is a CDC whose StartDoc/StartPage/EndPage/EndDoc/AbortDoc run a print
// job and whose GetDeviceCaps answers from the printer (resolution, printable area, paper).
//
// Where the pages go:
//   - qor::gui::SetPrintToFile(path), or the environment variable QOR_PRINT_TO_PDF: a PDF file.
//     The file appears only when the document ends (EndDoc); AbortDoc leaves none.
//   - otherwise, in an interactive session: the printer chosen in the print dialog.
// Print dialogs show only in an interactive session. With QOR_PRINT_TO_PDF set they answer OK
// at once; a test installs a driver (SetPrintDialogDriver) that plays the user's part; without
// either, headless, DoModal answers IDCANCEL instead of blocking.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Types.h"
#include "platform/gui/draw/WinDefs.h"
#include "platform/gui/window/Object.h"

#include <functional>

class CWnd;

// ---- Print dialog flags -------------------------------------------------------------------------
constexpr DWORD PD_ALLPAGES = 0x00000000;
constexpr DWORD PD_SELECTION = 0x00000001;
constexpr DWORD PD_PAGENUMS = 0x00000002;
constexpr DWORD PD_NOSELECTION = 0x00000004;
constexpr DWORD PD_NOPAGENUMS = 0x00000008;
constexpr DWORD PD_COLLATE = 0x00000010;
constexpr DWORD PD_PRINTTOFILE = 0x00000020;
constexpr DWORD PD_PRINTSETUP = 0x00000040;
constexpr DWORD PD_NOWARNING = 0x00000080;
constexpr DWORD PD_RETURNDC = 0x00000100;
constexpr DWORD PD_RETURNIC = 0x00000200;
constexpr DWORD PD_RETURNDEFAULT = 0x00000400;
constexpr DWORD PD_SHOWHELP = 0x00000800;
constexpr DWORD PD_ENABLEPRINTHOOK = 0x00001000;
constexpr DWORD PD_ENABLESETUPHOOK = 0x00002000;
constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
constexpr DWORD PD_USEDEVMODECOPIESANDCOLLATE = 0x00040000;
constexpr DWORD PD_DISABLEPRINTTOFILE = 0x00080000;
constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;
constexpr DWORD PD_NONETWORKBUTTON = 0x00200000;
constexpr DWORD PD_CURRENTPAGE = 0x00400000;
constexpr DWORD PD_NOCURRENTPAGE = 0x00800000;

// Results of StartDoc/StartPage/EndPage/EndDoc/AbortDoc that failed.
#ifndef SP_ERROR
#define SP_ERROR (-1)
#endif

// The print dialog's record (the parts the program uses).
struct PRINTDLGW
{
    DWORD lStructSize = sizeof(PRINTDLGW);
    HWND hwndOwner = nullptr;
    HDC hDC = nullptr; // the printer DC made by DoModal (PD_RETURNDC) or CreatePrinterDC
    DWORD Flags = 0;
    // Page numbers beyond the 65,535 of a word: a table of 900,000 rows prints some 60,000 pages and
    // more (0xFFFF still stands for a page count not known beforehand).
    DWORD nFromPage = 0;
    DWORD nToPage = 0;
    DWORD nMinPage = 0;
    DWORD nMaxPage = 0;
    WORD nCopies = 1;
};
using PRINTDLG = PRINTDLGW;
using LPPRINTDLG = PRINTDLGW*;

// ---- CPrintDialog -----------------------------------------------------------------------------
// The printer DC it makes belongs to the caller (delete it with ::DeleteDC or attach it to a
// CDC), as with the framework: the dialog does not delete it.
class CPrintDialog : public CObject
{
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                          PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    ~CPrintDialog() override = default;

    PRINTDLG m_pd;

    // IDOK or IDCANCEL. On OK (not print set-up only) m_pd.hDC holds a new printer DC.
    virtual INT_PTR DoModal();
    // The default printer without a dialog (m_pd.hDC with PD_RETURNDC); FALSE when there is none.
    BOOL GetDefaults();

    HDC GetPrinterDC() const { return m_pd.hDC; }
    // A new printer DC for the chosen printer, stored in m_pd.hDC (nullptr when there is none).
    HDC CreatePrinterDC();

    int GetCopies() const;
    BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintCollate() const { return (m_pd.Flags & PD_COLLATE) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
    // The printer's name ("PDF" when printing to a file).
    CString GetDeviceName() const;
    BOOL IsPrintSetupOnly() const { return (m_pd.Flags & PD_PRINTSETUP) != 0; }
    CWnd* GetParent() const { return m_pParentWnd; }

private:
    CWnd* m_pParentWnd = nullptr;
};

// ---- CPrintInfo ---------------------------------------------------------------------------------
// One print job of the print protocol (OnPreparePrinting ... OnEndPrinting). Owns m_pPD and
// deletes the printer DC left in m_pPD->m_pd.hDC.
class CPrintInfo
{
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    CPrintDialog* m_pPD;
    BOOL m_bDirect = FALSE; // printing without the dialog (quick print)
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    // Set by OnPrint when it has drawn only part of the page: it is called again for the rest, on
    // the same DC, once the windows have painted (a page of many thousand lines is drawn in parts).
    BOOL m_bPageUnfinished = FALSE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 0;
    CString m_strPageDesc; // "Page %u\nPages %u-%u\n"
    LPVOID m_lpUserData = nullptr;
    CRect m_rectDraw; // the page's drawing area (logical units) for OnPrint
    int m_nJobNumber = 0;

    void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    UINT GetFromPage() const { return m_pPD->m_pd.nFromPage; }
    UINT GetToPage() const { return m_pPD->m_pd.nToPage; }
    UINT GetOffsetPage() const { return m_nCurPage - GetFromPage(); }
};

namespace qor::gui {

// Prints every job to this PDF file (empty: back to the environment variable QOR_PRINT_TO_PDF,
// then the system's printers).
void SetPrintToFile(const CString& path);
// The PDF file jobs go to now (SetPrintToFile, else QOR_PRINT_TO_PDF), or empty.
CString GetPrintToFile();
// Resolution of PDF output in dots per inch (600 unless set; 72..2400).
void SetPdfResolution(int dpi);

// Page orientation of the jobs that follow (the application's default; a print set-up
// dialog changes it too).
void SetDefaultLandscape(bool landscape);
bool GetDefaultLandscape();

// Plays the user's part in print dialogs (tests): called by DoModal with the dialog, whose
// m_pd it may change (page range, flags, copies) as the user would; returns IDOK or IDCANCEL.
// Returns the previous driver; an empty function removes it.
using PrintDialogDriver = std::function<int(CPrintDialog&)>;
PrintDialogDriver SetPrintDialogDriver(PrintDialogDriver driver);

} // namespace qor::gui
