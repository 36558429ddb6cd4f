// CPrintingDialog: the dialog that stands while a print job runs, as the framework's does: the document's name,
// the printer, the page being printed and a Cancel that stops the job between two pages. It is modal to the
// application while it shows (the job takes the user's input only through it); the windows paint meanwhile.
#pragma once

#include "platform/gui/dialogs/Dialog.h"

class CPrintingDialog : public CDialog
{
    DECLARE_DYNAMIC(CPrintingDialog)
public:
    explicit CPrintingDialog(CWnd* pParentWnd = nullptr);
    ~CPrintingDialog() override;

    // Makes and shows the dialog for the job of that document on that printer.
    BOOL Create(LPCTSTR lpszDocName, LPCTSTR lpszPrinterName);
    // "Now printing page n of m" (nPages 0: m not known).
    void SetPage(UINT nPage, UINT nPages);
    // The user pressed Cancel (or Escape, or closed the dialog): the job stops before its next page (or the next
    // part of a page drawn in parts).
    BOOL IsCancelled() const { return m_bCancelled; }
    // The dialog of the job that prints now, if any.
    static CPrintingDialog* GetOpen();

protected:
    void OnCancel() override;

private:
    BOOL m_bCancelled = FALSE;
};
