// "About QOR".
#include "app/AboutDlg.h"

#include "res/Resource.h"

#include <cwchar>

namespace {

// The product version of this build.
constexpr const wchar_t* kProductVersion = L"1.0.0.0";

} // namespace

IMPLEMENT_DYNAMIC(CAboutDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CAboutDlg, CDialogEx)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialogEx(IDD_ABOUTBOX)
{
    m_sVersion = ReadVersion(kProductVersion);
    m_sAboutText = CString(L"QOR rates the loads of road traffic on bridges: it compares a proposed vehicle with "
                           L"the loadings that a road network's bridges were built for. ") +
                   L"It uses the stiffness matrix method to evaluate load effects " +
                   L"under loadings. It analyses moving loads at incremental " +
                   L"positions. It compares these resulting load effects to " +
                   L"those of a reference collection of benchmark loadings." + L"\r\n\r\n" +
                   L"Written for bridge engineers at Penrow University. The engine, the window layer and "
                   L"the controls are the program's own; it runs on Qt and Boost.";
}

CString CAboutDlg::ReadVersion(const wchar_t* productVersion)
{
    if (!productVersion || !*productVersion) return CString();
    int numbers[4] = {};
    const int read = std::swscanf(productVersion, L"%d.%d.%d.%d", &numbers[0], &numbers[1], &numbers[2], &numbers[3]);
    if (read <= 0) return CString();
    CString text;
    for (int i = 0; i < read; ++i)
    {
        CString n;
        n.Format(L"%d", numbers[i]);
        if (i > 0) text += L".";
        text += n;
    }
    return L"QOR Version " + text;
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_PICTURE, m_Picture);
    DDX_Text(pDX, IDC_ABOUT_TEXT, m_sAboutText);
    DDX_Text(pDX, IDC_ABOUT_VERSION, m_sVersion);
}
