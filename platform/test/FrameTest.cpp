#include "platform/test/FrameTest.h"

#include "platform/gui/FrameInternal.h"
#include "platform/test/GuiTest.h"

#include <QtCore/QDir>
#include <QtCore/QStandardPaths>

#include <atomic>
#include <unistd.h>

namespace qor::test {

BOOL StartApplication(CWinApp& app)
{
    EnsureGuiApplication();
    return app.InitInstance();
}

int StopApplication(CWinApp& app)
{
    // Nothing is asked: documents are dropped unsaved.
    for (POSITION pos = app.GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* t = app.GetNextDocTemplate(pos);
        for (POSITION d = t->GetFirstDocPosition(); d; d = t->GetFirstDocPosition()) {
            CDocument* doc = t->GetNextDoc(d);
            if (!doc) break;
            doc->SetModifiedFlag(FALSE);
            doc->OnCloseDocument();
        }
    }
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd) app.m_pMainWnd->DestroyWindow();
    app.m_pMainWnd = nullptr;
    Pump();
    return app.ExitInstance();
}

void RunIdle(CWinApp& app)
{
    LONG n = 0;
    while (app.OnIdle(n++)) {
    }
}

CMDIFrameWnd* MainFrame() { return DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd()); }

void SendMenuCommand(UINT nID)
{
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}

void SaveActiveDocument() { SendMenuCommand(ID_FILE_SAVE); }

std::string TempFilePath(const std::string& name)
{
    static std::atomic<int> counter{0};
    QString dir = QDir::temp().filePath(QStringLiteral("qor-frame-test-%1").arg(::getpid()));
    QDir().mkpath(dir);
    return (dir + QStringLiteral("/%1-").arg(++counter) + QString::fromStdString(name)).toStdString();
}

DrivenFileDialogs::DrivenFileDialogs()
{
    m_previous = qor::gui::SetFileDialogDriver([this](BOOL, CString& path) {
        ++m_shown;
        if (m_paths.empty()) return IDCANCEL;
        path = m_paths.front();
        m_paths.pop_front();
        return IDOK;
    });
}

DrivenFileDialogs::~DrivenFileDialogs() { qor::gui::SetFileDialogDriver(std::move(m_previous)); }

COLORREF MenuItemPicturePixel(CFrameWnd* frame, UINT nID, int x, int y, double ratio)
{
    qor::gui::FrameShell* shell = frame ? frame->Shell() : nullptr;
    if (!shell) return 0xFFFFFFFF;
    auto it = shell->items.find(nID);
    if (it == shell->items.end() || !it->second.action || it->second.action->icon().isNull()) return 0xFFFFFFFF;
    const QImage image = it->second.action->icon().pixmap(QSize(16, 16), ratio).toImage();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return 0xFFFFFFFF;
    const QRgb p = image.pixel(x, y);
    return qAlpha(p) == 0 ? 0xFFFFFFFF : RGB(qRed(p), qGreen(p), qBlue(p));
}

} // namespace qor::test
