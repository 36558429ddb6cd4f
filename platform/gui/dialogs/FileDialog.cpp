// The open and save file dialogs.
#include "platform/gui/dialogs/FileDialog.h"

#include "platform/core/FileChecks.h"
#include "platform/core/MessageBox.h"
#include "platform/core/ModalWindowScope.h"
#include "platform/gui/dialogs/FileDialogInternal.h"
#include "platform/gui/draw/Convert.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/ProfileSection.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QFileDialog>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>

namespace {

CString NameOf(const CString& path)
{
    int slash = path.ReverseFind(L'/');
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

CString ExtOf(const CString& path)
{
    CString name = NameOf(path);
    int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Mid(dot + 1) : CString();
}

// The last folder chosen in and the toolkit dialog's own state (its side bar, history, columns and view),
// in the profile; only the process's own when there is no application.
const wchar_t kSection[] = L"File Dialog";
const wchar_t kFolder[] = L"Folder";
const wchar_t kState[] = L"State";
QString g_lastFolder;
QByteArray g_state;

QByteArray KeptState()
{
    CWinApp* app = AfxGetApp();
    if (!app) return g_state;
    return QByteArray::fromBase64(qor::gui::ToQString(app->GetProfileString(kSection, kState, L"")).toLatin1(),
                                  QByteArray::AbortOnBase64DecodingErrors);
}

// Keeps what a dialog that closed leaves for the next one (the folder of the file chosen, when one was). The
// profile takes it with its next write (the recent-file list's, when the file is opened or saved) or at the
// end: closing a dialog does not wait for the disk.
void KeepDialog(const QByteArray& state, const QString& chosen)
{
    std::vector<std::pair<CString, std::optional<CString>>> entries;
    if (!state.isEmpty())
    {
        g_state = state;
        entries.emplace_back(kState, qor::gui::FromQString(QString::fromLatin1(state.toBase64())));
    }
    if (!chosen.isEmpty())
    {
        g_lastFolder = QFileInfo(chosen).absolutePath();
        entries.emplace_back(kFolder, qor::gui::FromQString(g_lastFolder));
    }
    if (CWinApp* app = AfxGetApp(); app && !entries.empty())
        qor::gui::WriteProfileSection(*app, kSection, entries, true);
}

QString LastFolder()
{
    CWinApp* app = AfxGetApp();
    const QString kept = app ? qor::gui::ToQString(app->GetProfileString(kSection, kFolder, L"")) : QString();
    return kept.isEmpty() ? g_lastFolder : kept;
}

// True when a component of the path that holds U+FFFD is the toolkit's text of a name in its folder
// that is not UTF-8. The folders are looked at from the root down, each through the bytes of the
// one above (a component that is no such name is that text's own UTF-8).
bool StandsForNameNotUtf8(const QString& path)
{
    const QString full = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path;
    std::string folder = "/";
    for (const QString& component : full.split(QLatin1Char('/'), Qt::SkipEmptyParts))
    {
        if (component.contains(QChar::ReplacementCharacter))
        {
            if (DIR* dir = ::opendir(folder.c_str()))
            {
                bool found = false;
                while (const dirent* entry = ::readdir(dir))
                    if (!qor::IsUtf8(entry->d_name) && QFile::decodeName(entry->d_name) == component) found = true;
                ::closedir(dir);
                if (found) return true;
            }
        }
        folder += component.toStdString() + "/";
    }
    return false;
}

} // namespace

bool qor::gui::RefuseNameNotUtf8(const QString& chosen)
{
    if (!StandsForNameNotUtf8(chosen)) return false;
    AfxMessageBox(L"Cannot use the file " + FromQString(chosen) + L": " + qor::NotUtf8NameReason() + L".",
                  MB_OK | MB_ICONERROR);
    return true;
}

QString qor::gui::FileDialogStart(const QString& proposed, const QString& folder)
{
    const QFileInfo info(proposed);
    if (!proposed.isEmpty() && (info.isAbsolute() || proposed.contains(QLatin1Char('/')))) return proposed;
    QString start = folder;
    if (start.isEmpty() || !QFileInfo(start).isDir()) start = LastFolder();
    if (start.isEmpty() || !QFileInfo(start).isDir()) return proposed;
    return proposed.isEmpty() ? QDir(start).absolutePath() + QLatin1Char('/') : QDir(start).filePath(proposed);
}

void qor::gui::RememberFileDialogChoice(const QString& chosen)
{
    if (!chosen.isEmpty()) KeepDialog(QByteArray(), chosen);
}

QString qor::gui::RunToolkitFileDialog(QWidget* parent, bool open, const QString& caption, const QString& start,
                                       const QString& filters, const QString& defaultExt, bool confirmOverwrite)
{
    // The toolkit's own dialog, whose state is the program's to keep (a desktop's dialog keeps its own, in
    // the home); the toolkit keeps none of it itself (InitApplication).
    QFileDialog dialog(parent, caption, QString(), filters);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.restoreState(KeptState());
    // Where it starts is the caller's, whatever folder the kept state was last in.
    const QFileInfo info(start);
    if (info.isDir())
    {
        dialog.setDirectory(start);
    }
    else if (!start.isEmpty())
    {
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    QString ext = defaultExt;
    if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
    if (!open && !ext.isEmpty()) dialog.setDefaultSuffix(ext);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    const QStringList selected = dialog.selectedFiles();
    const QString chosen = accepted && !selected.isEmpty() ? selected.first() : QString();
    KeepDialog(dialog.saveState(), chosen);
    return chosen;
}

CString CFileDialog::GetFileName() const { return NameOf(m_strPath); }

CString CFileDialog::GetFileExt() const { return ExtOf(m_strPath); }

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD, BOOL)
    : m_bOpenFileDialog(bOpenFileDialog), m_dwFlags(dwFlags), m_strDefExt(lpszDefExt ? lpszDefExt : L""),
      m_strPath(lpszFileName ? lpszFileName : L""), m_strFilter(lpszFilter ? lpszFilter : L""), m_pParent(pParentWnd)
{}

INT_PTR CFileDialog::DoModal()
{
    qor::ModalWindowScope running;
    // The test driver, when one is set, answers instead of the user.
    const qor::gui::FileDialogDriver& driver = qor::gui::GetFileDialogDriver();
    CString path = qor::gui::FromQString(qor::gui::FileDialogStart(qor::gui::ToQString(m_strPath)));
    if (driver)
    {
        if (driver(m_bOpenFileDialog, path) != IDOK || path.IsEmpty()) return IDCANCEL;
        qor::gui::RememberFileDialogChoice(qor::gui::ToQString(path));
    }
    else
    {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return IDCANCEL;
        // "Name (*.ext)|*.ext|Other|*.x||" -> "Name (*.ext);;Other"
        QStringList parts = qor::gui::ToQString(m_strFilter).split(QLatin1Char('|'));
        QStringList filters;
        for (int i = 0; i + 1 < parts.size(); i += 2)
            if (!parts[i].trimmed().isEmpty()) filters << parts[i].trimmed();
        QWidget* parent = m_pParent ? qor::gui::WidgetOf(m_pParent) : nullptr;
        const QString chosen =
            qor::gui::RunToolkitFileDialog(parent, m_bOpenFileDialog, qor::gui::ToQString(m_strTitle),
                                           qor::gui::ToQString(path), filters.join(QStringLiteral(";;")),
                                           qor::gui::ToQString(m_strDefExt), (m_dwFlags & OFN_OVERWRITEPROMPT) != 0);
        if (chosen.isEmpty()) return IDCANCEL;
        path = qor::gui::FromQString(chosen);
    }
    if (qor::gui::RefuseNameNotUtf8(qor::gui::ToQString(path))) return IDCANCEL;
    if (!m_bOpenFileDialog && !m_strDefExt.IsEmpty() && ExtOf(path).IsEmpty())
    {
        CString ext = m_strDefExt;
        if (ext.GetAt(0) != L'.') ext = L"." + ext;
        path += ext;
    }
    m_strPath = path;
    return IDOK;
}
