// The case file: the case's lists and strings written and read as one archive item over the framework's
// file, written binary or XML after the settings and read in the form the file has; every fault is
// reported and leaves the case as it was. A case is read, and a large one written, on a worker
// thread while the windows go on painting; the status bar shows how far a large file has come.
#include "app/QORDoc.h"

#include "app/CaseShell.h"
#include "app/EngineGuard.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/archive/CaseFileProgress.h"
#include "engine/case/CaseFile.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"
#include "platform/core/FileChecks.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void SetStatus(LPCTSTR text) { CCaseShell::Current().SetStatusText(text); }

// The first line says what did not happen; the next which file and why, in plain words.
void ReportCaseFileFault(bool storing, const CString& path, const CString& reason)
{
    CString text = storing ? L"Problem saving file: file is not saved." : L"Problem loading file; file is not opened.";
    if (!path.IsEmpty() || !reason.IsEmpty()) text += L"\n";
    if (!path.IsEmpty()) text += reason.IsEmpty() ? path : path + L": ";
    CQORDoc::Message(text + reason, MB_OK | MB_ICONERROR);
}

// Files smaller than this are written on the window thread, and read without a bar that would only
// flicker.
std::uint64_t g_nProgressFrom = std::uint64_t{4} << 20;

// The work on a file of this many bytes, on a worker thread when it is large or offWindowThread (a
// read, which a slow disk may hold up), with the bar when it is large. The worker has the case's
// objects to itself meanwhile: the window thread only paints (no input, no posted message reaches the
// case until the work has ended).
void RunFileWork(std::uint64_t bytes, CCaseFileProgress& progress, bool offWindowThread,
                 const std::function<void()>& work)
{
    const bool large = bytes >= g_nProgressFrom;
    if (!large && !offWindowThread) return work();
    if (!large) return qor::gui::RunWorkOffWindowThread(work, nullptr);
    CCaseShell& shell = CCaseShell::Current();
    struct BarBack
    {
        CCaseShell& shell;
        ~BarBack() { shell.ShowFileProgress(-1); }
    } barBack{shell};
    qor::gui::RunWorkOffWindowThread(work, [&] { shell.ShowFileProgress(progress.Percent()); });
}

void ReadCase(int fd, CCaseData& data)
{
    struct stat st = {};
    const std::uint64_t size = ::fstat(fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    CCaseFileProgress progress;
    RunFileWork(size, progress, true, [&] { LoadCaseFile(fd, data, &progress); });
}

// The case CheckCaseFile read, waiting for the open of its file.
struct CheckedCase
{
    CString path;
    std::unique_ptr<CCaseData> data;
};

CheckedCase& Checked()
{
    static CheckedCase checked;
    return checked;
}

// The checked case when it was read from this path (it is taken once); null otherwise.
std::unique_ptr<CCaseData> TakeChecked(const CString& path)
{
    CheckedCase& checked = Checked();
    std::unique_ptr<CCaseData> data = std::move(checked.data);
    const bool same = checked.path == path;
    checked.path.Empty();
    return same ? std::move(data) : nullptr;
}

} // namespace

void CQORDoc::Serialize(CArchive& ar)
{
    const bool storing = ar.IsStoring() != FALSE;
    SetStatus(storing ? L"Saving..." : L"Opening...");
    const int fd = ar.GetFile() ? ar.GetFile()->m_hFile : CFile::hFileNull;
    CString reason;
    const bool done = CEngineGuard::Run(
        [&] {
            if (storing)
            {
                const CCaseData data{m_vBridge,        m_vBridgeSet, m_vLoadModel, m_vLoadModelEnsemble,
                                     m_vRefCollection, m_sCaseRef,   m_sCaseNotes};
                const bool binary = CSettings::GetInstance()->General.USEBINARYFILEFORMAT;
                CCaseFileProgress progress;
                // The document's save puts the file on the disk and in its place after this, off the
                // window thread too.
                RunFileWork(EstimateCaseFileBytes(data, binary), progress, false,
                            [&] { SaveCaseFile(fd, data, binary, &progress); });
            }
            else
            {
                // The case takes the file's content only once all of it was read and checked.
                std::unique_ptr<CCaseData> checked =
                    TakeChecked(ar.GetFile() ? ar.GetFile()->GetFilePath() : CString());
                CCaseData data;
                if (checked)
                    data = std::move(*checked);
                else
                    ReadCase(fd, data);
                m_vBridge = std::move(data.m_vBridge);
                m_vBridgeSet = std::move(data.m_vBridgeSet);
                m_vLoadModel = std::move(data.m_vLoadModel);
                m_vLoadModelEnsemble = std::move(data.m_vLoadModelEnsemble);
                m_vRefCollection = std::move(data.m_vRefCollection);
                m_sCaseRef = data.m_sCaseRef;
                m_sCaseNotes = data.m_sCaseNotes;
            }
            m_nBridgeSetID = static_cast<int>(m_vBridgeSet.size());
            m_nBridgeID = static_cast<int>(m_vBridge.size());
            m_nLoadModelID = static_cast<int>(m_vLoadModel.size());
            m_nLMEID = static_cast<int>(m_vLoadModelEnsemble.size());
            m_nRefCollectionID = static_cast<int>(m_vRefCollection.size());
        },
        reason);
    if (!done)
    {
        // A save writes a temporary file that no user knows; the file it is to replace is named.
        const CString named = ar.GetFile() ? ar.GetFile()->GetFilePath() : CString();
        ReportCaseFileFault(storing, storing && named.IsEmpty() ? GetPathName() : named, reason);
        ar.m_bFailed = TRUE;
    }
    SetStatus(L"Ready");
}

BOOL CQORDoc::CheckCaseFile(LPCTSTR lpszPathName)
{
    // Only a regular file is read (a device would never end, a pipe would wait for a writer).
    CString notAFile;
    const int fd = lpszPathName ? qor::OpenRegularFile(lpszPathName, notAFile) : -1;
    if (!notAFile.IsEmpty())
    {
        ReportCaseFileFault(false, qor::ShownPath(lpszPathName), notAFile);
        return FALSE;
    }
    if (fd < 0)
    {
        // A file that is not there is said so; else the system's reason (a folder or a link the system
        // does not let this user through).
        const int error = errno;
        CString text;
        text.Format(L"Cannot open the file %s", (LPCTSTR)qor::ShownPath(lpszPathName ? lpszPathName : L""));
        text += (error == ENOENT || error == 0 ? CString() : L": " + CString::FromUtf8(std::strerror(error))) + L".";
        Message(text, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    SetStatus(L"Opening...");
    auto data = std::make_unique<CCaseData>();
    CString reason;
    const bool read = CEngineGuard::Run([&] { ReadCase(fd, *data); }, reason);
    ::close(fd);
    if (!read) ReportCaseFileFault(false, lpszPathName, reason);
    SetStatus(L"Ready");
    CheckedCase& checked = Checked();
    checked.path = read ? CString(lpszPathName) : CString();
    checked.data = read ? std::move(data) : nullptr;
    return read ? TRUE : FALSE;
}

void CQORDoc::ReportSaveLoadException(LPCTSTR lpszPathName, BOOL bSaving, int nError, LPCTSTR lpszReason)
{
    ReportCaseFileFault(bSaving != FALSE, lpszPathName ? CString(lpszPathName) : CString(),
                        SaveLoadReason(nError, lpszReason));
}

void CQORDoc::SetFileProgressFrom(std::uint64_t bytes) { g_nProgressFrom = bytes; }

void CQORDoc::ForgetCheckedCase()
{
    Checked().path.Empty();
    Checked().data.reset();
}
