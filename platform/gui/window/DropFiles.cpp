// Dropped files: a filter on the window's toolkit widget takes drags that carry local files.
#include "platform/gui/window/DropFiles.h"

#include "platform/core/FileChecks.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtGui/QDragEnterEvent>
#include <QtGui/QDropEvent>

#include <string_view>

namespace qor::gui {

namespace {

// The files of this machine a drag names. A name is taken from the bytes of its address, not from the
// toolkit's text of it, which puts U+FFFD for what is not UTF-8 and so would name another file.
std::vector<CString> LocalFiles(const QMimeData* data)
{
    std::vector<CString> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
    {
        if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == QLatin1String("localhost"))) continue;
        const QByteArray name = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        files.push_back(qor::DecodeFileName(std::string_view(name.constData(), static_cast<size_t>(name.size()))));
    }
    return files;
}

class DropFilter : public QObject
{
public:
    DropFilter(CWnd* wnd, QObject* parent) : QObject(parent), m_hWnd(wnd->m_hWnd) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type())
        {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(e);
            if (LocalFiles(drag->mimeData()).empty()) return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(e);
            std::vector<CString> files = LocalFiles(drop->mimeData());
            if (files.empty()) return false;
            drop->acceptProposedAction();
            if (WndState* s = StateOf(m_hWnd)) DropFiles(s->wnd, files);
            return true;
        }
        default: return false;
        }
    }

private:
    HWND m_hWnd;
};

} // namespace

void DragAcceptFiles(CWnd* pWnd, BOOL bAccept)
{
    QWidget* widget = pWnd ? WidgetOf(pWnd) : nullptr;
    if (!widget) return;
    for (QObject* child : widget->children())
        if (auto* filter = dynamic_cast<DropFilter*>(child))
        {
            widget->removeEventFilter(filter);
            filter->deleteLater();
        }
    widget->setAcceptDrops(bAccept != FALSE);
    if (bAccept) widget->installEventFilter(new DropFilter(pWnd, widget));
}

std::vector<CString> DroppedFiles(const std::string& uriList)
{
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), QByteArray::fromStdString(uriList));
    return LocalFiles(&data);
}

void DropFiles(CWnd* pWnd, const std::vector<CString>& paths)
{
    if (pWnd && pWnd->m_hWnd) pWnd->SetActiveWindow();
    CWinApp* app = AfxGetApp();
    if (!app) return;
    for (const CString& path : paths) app->OpenDocumentFile(path);
}

} // namespace qor::gui
