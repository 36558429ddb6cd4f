// "About QOR": what the program does, its version and credits.
#pragma once

#include "platform/gui/Afx.h"

#include "app/AboutPicture.h"

class CAboutDlg : public CDialogEx
{
    DECLARE_DYNAMIC(CAboutDlg)
public:
    CAboutDlg();

    CString m_sAboutText;
    CString m_sVersion;
    CAboutPicture m_Picture;

    // "QOR Version " and the numbers of the product version that could be read ("" when none).
    static CString ReadVersion(const wchar_t* productVersion);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
