// CFileDialog: the open and save file dialogs (the toolkit's), answered by the file-dialog driver in tests.
#pragma once

#include "platform/core/CString.h"
#include "platform/gui/draw/WinDefs.h"

#include <vector>

class CWnd;

#define OFN_READONLY 0x00000001u
#define OFN_OVERWRITEPROMPT 0x00000002u
#define OFN_HIDEREADONLY 0x00000004u
#define OFN_NOCHANGEDIR 0x00000008u
#define OFN_PATHMUSTEXIST 0x00000800u
#define OFN_FILEMUSTEXIST 0x00001000u
#define OFN_EXPLORER 0x00080000u
#define OFN_DONTADDTORECENT 0x02000000u

class CFileDialog
{
public:
    // lpszFilter in the framework's form: "Name (*.ext)|*.ext|...||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);
    virtual ~CFileDialog() = default;

    // IDOK with a chosen path, else IDCANCEL. A save without an extension gets the default one.
    virtual INT_PTR DoModal();
    CString GetPathName() const { return m_strPath; }
    CString GetFileName() const;
    CString GetFileExt() const;

    BOOL m_bOpenFileDialog;
    DWORD m_dwFlags;
    CString m_strTitle; // the dialog's caption (empty: the toolkit's)

private:
    CString m_strDefExt;
    CString m_strPath;
    CString m_strFilter;
    CWnd* m_pParent;
};
