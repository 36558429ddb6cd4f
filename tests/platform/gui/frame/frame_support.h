// A small MDI application for the frame and document tests: one document template whose
// document, child frame, view, main frame and application each handle some commands and
// log which one ran. Include once per test program.
#pragma once

#include "platform/gui/Afx.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace frametest {

enum : UINT
{
    IDR_MAIN = 9128,
    IDR_DOC = 9130,
    ID_CMD_VIEW_AND_MAIN = 33001,
    ID_CMD_DOC_AND_MAIN = 33002,
    ID_CMD_CHILD_AND_MAIN = 33003,
    ID_CMD_APP = 33004,
    ID_CMD_GUARDED = 33005,
    ID_CMD_TOOL = 33006,
    ID_PANE = 133,
};

inline std::vector<std::string> g_log;

inline const MenuItemDef kDocMenu[] = {
    {MF_POPUP, 0, L"&File"},
    {MF_STRING, ID_FILE_NEW, L"&New"},
    {MF_STRING, ID_FILE_SAVE, L"&Save\tCtrl+S"},
    {MF_STRING, ID_FILE_PRINT, L"&Print..."},
    {MF_SEPARATOR},
    {MF_STRING, ID_FILE_MRU_FILE1, L"Recent File"},
    {MF_END},
    {MF_POPUP, 0, L"&Tools"},
    {MF_STRING, ID_CMD_VIEW_AND_MAIN, L"&View first"},
    {MF_STRING, ID_CMD_GUARDED, L"&Guarded\tCtrl+K"},
    {MF_STRING, ID_CMD_TOOL, L"&Tool"},
    {MF_END},
};
QOR_MENU_RESOURCE(9130, kDocMenu);
inline const MenuItemDef kMainMenu[] = {{MF_POPUP, 0, L"&File"}, {MF_STRING, ID_FILE_NEW, L"&New"}, {MF_END}};
QOR_MENU_RESOURCE(9128, kMainMenu);
inline const ACCEL kDocKeys[] = {{FVIRTKEY | FCONTROL, 'K', ID_CMD_GUARDED},
                                 {FVIRTKEY | FCONTROL, 'J', ID_CMD_VIEW_AND_MAIN}};
QOR_ACCEL_RESOURCE(9130, kDocKeys);
inline const UINT kButtons[] = {ID_FILE_NEW, ID_SEPARATOR, ID_CMD_GUARDED, ID_CMD_TOOL};
QOR_TOOLBAR_RESOURCE(9128, kButtons);

class TestDoc : public CDocument
{
    DECLARE_DYNCREATE(TestDoc)
public:
    std::string m_text;
    bool m_failNextSave = false;
    int m_fdSeen = -1;
    void DeleteContents() override { m_text.clear(); }
    void Serialize(CArchive& ar) override
    {
        m_fdSeen = ar.GetFile()->m_hFile;
        if (ar.IsStoring())
        {
            std::string half = m_text.substr(0, m_text.size() / 2);
            ASSERT_EQ(::write(m_fdSeen, half.data(), half.size()), static_cast<ssize_t>(half.size()));
            if (m_failNextSave)
            {
                AfxMessageBox(L"Problem saving file: file is not saved.", MB_ICONERROR);
                ar.m_bFailed = TRUE;
                return;
            }
            std::string rest = m_text.substr(half.size());
            ASSERT_EQ(::write(m_fdSeen, rest.data(), rest.size()), static_cast<ssize_t>(rest.size()));
        }
        else
        {
            char buf[256];
            ssize_t n;
            while ((n = ::read(m_fdSeen, buf, sizeof buf)) > 0) m_text.append(buf, static_cast<size_t>(n));
        }
    }
    void OnDocCommand() { g_log.push_back("doc"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestDoc, CDocument)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
ON_COMMAND(ID_CMD_DOC_AND_MAIN, OnDocCommand)
END_MESSAGE_MAP()

class TestView : public CView
{
    DECLARE_DYNCREATE(TestView)
public:
    inline static bool s_guardedEnabled = false;
    // The pages the next jobs have, and what each page draws after the view's rectangle.
    inline static UINT s_pages = 2;
    inline static std::function<void(CDC*, CPrintInfo*)> s_printed;
    std::vector<UINT> m_printedPages;
    int m_begin = 0, m_end = 0;
    int m_nested = 0; // jobs begun while another was not ended
    TestDoc* GetDoc() const { return static_cast<TestDoc*>(GetDocument()); }
    void OnDraw(CDC*) override {}
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        pInfo->SetMaxPage(s_pages);
        return DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override
    {
        m_nested += m_begin != m_end;
        ++m_begin;
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        m_printedPages.push_back(pInfo->m_nCurPage);
        CRect r = pInfo->m_rectDraw;
        pDC->Rectangle(r.left + 100, r.top + 100, r.left + 100 + 200 * static_cast<int>(pInfo->m_nCurPage),
                       r.top + 400);
        if (s_printed) s_printed(pDC, pInfo);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { ++m_end; }
    void OnViewCommand() { g_log.push_back("view"); }
    void OnUpdateGuarded(CCmdUI* pCmdUI) { pCmdUI->Enable(s_guardedEnabled); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
ON_COMMAND(ID_CMD_VIEW_AND_MAIN, OnViewCommand)
ON_UPDATE_COMMAND_UI(ID_CMD_GUARDED, OnUpdateGuarded)
END_MESSAGE_MAP()

class TestChild : public CMDIChildWndEx
{
    DECLARE_DYNCREATE(TestChild)
public:
    void OnChildCommand() { g_log.push_back("child"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestChild, CMDIChildWndEx)
BEGIN_MESSAGE_MAP(TestChild, CMDIChildWndEx)
ON_COMMAND(ID_CMD_CHILD_AND_MAIN, OnChildCommand)
END_MESSAGE_MAP()

class TestMainFrame : public CMDIFrameWndEx
{
    DECLARE_DYNAMIC(TestMainFrame)
public:
    CMFCStatusBar m_wndStatusBar;
    CMFCToolBar m_wndToolBar;
    CDockablePane m_wndPane;
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CMDIFrameWndEx::OnCreate(lpcs) == -1) return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS};
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 3)) return -1;
        m_wndStatusBar.SetPaneInfo(0, 0, SBPS_NORMAL, 300);
        m_wndStatusBar.EnablePaneProgressBar(1, 100, TRUE);
        if (!m_wndToolBar.CreateEx(this) || !m_wndToolBar.LoadToolBar(IDR_MAIN)) return -1;
        if (!m_wndPane.Create(L"Analysis Elements", this, CRect(0, 0, 200, 200), TRUE, ID_PANE,
                              WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_FLOAT_MULTI))
            return -1;
        m_wndPane.EnableDocking(CBRS_ALIGN_LEFT);
        EnableDocking(CBRS_ALIGN_ANY);
        DockPane(&m_wndPane);
        return 0;
    }
    void OnMain1() { g_log.push_back("main"); }
    void OnMain2() { g_log.push_back("main"); }
    void OnMain3() { g_log.push_back("main"); }
    void OnGuarded() { g_log.push_back("guarded"); }
    void OnTool() { g_log.push_back("tool"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNAMIC(TestMainFrame, CMDIFrameWndEx)
BEGIN_MESSAGE_MAP(TestMainFrame, CMDIFrameWndEx)
ON_WM_CREATE()
ON_COMMAND(ID_CMD_VIEW_AND_MAIN, OnMain1)
ON_COMMAND(ID_CMD_DOC_AND_MAIN, OnMain2)
ON_COMMAND(ID_CMD_CHILD_AND_MAIN, OnMain3)
ON_COMMAND(ID_CMD_GUARDED, OnGuarded)
ON_COMMAND(ID_CMD_TOOL, OnTool)
END_MESSAGE_MAP()

class TestApp : public CWinAppEx
{
public:
    TestApp() : CWinAppEx(TRUE) { m_pszAppName = L"FrameTest"; }
    CMultiDocTemplate* m_pTemplate = nullptr;
    BOOL InitInstance() override
    {
        SetRegistryKey(L"Frame Test Company");
        LoadStdProfileSettings(4);
        m_pTemplate =
            new CMultiDocTemplate(IDR_DOC, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestChild), RUNTIME_CLASS(TestView));
        m_pTemplate->SetDocStrings(L"\nCase\nCase\nTest Files (*.tst)\n.tst\nTest.Document\nTest Document");
        AddDocTemplate(m_pTemplate);
        auto* frame = new TestMainFrame;
        if (!frame->LoadFrame(IDR_MAIN)) return FALSE;
        m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        return TRUE;
    }
    void OnAppCommand() { g_log.push_back("app"); }
    void OnNew() { CWinApp::OnFileNew(); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinAppEx)
ON_COMMAND(ID_CMD_APP, OnAppCommand)
ON_COMMAND(ID_CMD_CHILD_AND_MAIN, OnAppCommand)
ON_COMMAND(ID_FILE_NEW, OnNew)
END_MESSAGE_MAP()

// One application per test: started in SetUp, stopped in TearDown.
class AppTest : public ::testing::Test
{
protected:
    TestApp app;
    void SetUp() override
    {
        g_log.clear();
        TestView::s_guardedEnabled = false;
        TestView::s_pages = 2;
        TestView::s_printed = nullptr;
        // Each test starts with no profile (no recent files, no values).
        const char* config = std::getenv("XDG_CONFIG_HOME");
        if (config) std::remove((std::string(config) + "/Frame Test Company.ini").c_str());
        ASSERT_TRUE(qor::test::StartApplication(app));
    }
    void TearDown() override { qor::test::StopApplication(app); }
    TestMainFrame* Main() { return static_cast<TestMainFrame*>(app.m_pMainWnd); }
    TestDoc* NewDoc()
    {
        qor::test::SendMenuCommand(ID_FILE_NEW);
        CMDIChildWnd* child = Main()->MDIGetActive();
        return child ? static_cast<TestDoc*>(child->GetActiveDocument()) : nullptr;
    }
};

} // namespace frametest
