// Crash recovery: autosaves written beside a session lock, offered back at the next start.
#include "platform/gui/docview/DataRecovery.h"

#include "platform/core/FileChecks.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Paths.h"
#include "platform/core/ReplacingFile.h"
#include "platform/gui/docview/Archive.h"
#include "platform/gui/docview/Document.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/Wnd.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>
#include <QtCore/QObject>
#include <QtCore/QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

struct CDataRecoveryHandler::Timer
{
    QTimer timer;
    QTimer retry; // a tick that had to wait comes again soon
};

namespace {

const QEvent::Type kWriteEndedType = static_cast<QEvent::Type>(QEvent::registerEventType());

// A write's thread has ended its work. The toolkit's queue hands the event over in code a thread checker
// cannot see into; the release and acquire on `posted` state the hand-over in terms it can.
struct WriteEnded : QEvent
{
    WriteEnded() : QEvent(kWriteEndedType) { posted.store(true, std::memory_order_release); }
    std::atomic<bool> posted{false};
};

} // namespace

// Where the writes' threads tell the window thread that they have ended (an event still queued goes
// with it).
struct CDataRecoveryHandler::Relay : QObject
{
    explicit Relay(CDataRecoveryHandler* pHandler) : handler(pHandler) {}
    bool event(QEvent* e) override
    {
        if (e->type() != kWriteEndedType) return QObject::event(e);
        if (static_cast<WriteEnded*>(e)->posted.load(std::memory_order_acquire)) handler->EndWrites(nullptr, false);
        return true;
    }
    CDataRecoveryHandler* handler;
};

// One autosave written on a thread of its own. The mutex covers putting the file in place: a
// write cancelled before that (its document was saved or closed) leaves no file. The thread sets
// outcome and error before done; the window thread reads them once it sees done.
struct CDataRecoveryHandler::Write
{
    CDocument* pDocument = nullptr;
    CString name; // the case, as the log names it
    std::mutex mutex;
    bool cancelled = false;
    int outcome = 0; // a WriteOutcome
    int error = 0;
    std::atomic<bool> done{false};
    std::thread thread;
};

namespace {

namespace fs = std::filesystem;

void Log(const std::string& what) { std::fprintf(stderr, "Autosave: %s\n", what.c_str()); }

enum WriteOutcome
{
    kWritten,
    kCancelled,
    kFailed
};

// Writes a file through a temporary file beside it, synced before it replaces the old one, so that a crash
// while writing leaves the previous autosave whole (and a temporary file the next start removes).
// write is given the file to write into; keep, when given, is asked just before the file goes in place:
// false leaves the old file as it was. A failure sets error to the system's reason (0: it gave none).
template <class WriteFile>
WriteOutcome WriteAtomically(const std::string& target, WriteFile write, int& error,
                             const std::function<bool()>& keep = {})
{
    qor::CReplacingFile file;
    errno = 0;
    if (file.Open(CString::FromUtf8(target)) && write(file))
    {
        if (keep && !keep()) return kCancelled; // the temporary file goes with the object
        if (file.Commit()) return kWritten;
    }
    error = errno;
    return kFailed;
}

// What the log says after a case: the system's reason, or that there was none.
CString Reason(int error)
{
    return error > 0 ? CString::FromUtf8(std::strerror(error)) : CString(L"the copy could not be written");
}

// A case as the log names it: its file, or its title while it has none.
CString CaseName(const CDocument* pDocument)
{
    return pDocument->GetPathName().IsEmpty() ? pDocument->GetTitle() : pDocument->GetPathName();
}

// A record of the program's own holds two names of at most a few kilobytes; anything longer is not one.
constexpr size_t kLongestRecord = 64 * 1024;

// The record of a document's autosave, its path and title each given with its length in bytes, so that
// any path (one with a line break in it too) reads back whole:
//     QOR recovery 2\npath <n>\n<n bytes>\ntitle <n>\n<n bytes>\n
const char kRecordHeader[] = "QOR recovery 2\n";

std::string RecordOf(const CDocument* pDocument)
{
    const std::string path = pDocument->GetPathName().ToUtf8(), title = pDocument->GetTitle().ToUtf8();
    return kRecordHeader + ("path " + std::to_string(path.size()) + "\n" + path + "\n") +
           ("title " + std::to_string(title.size()) + "\n" + title + "\n");
}

// Takes "<name> <n>\n<n bytes>\n" from the front of text.
bool TakeField(std::string_view& text, std::string_view name, std::string& value)
{
    if (text.substr(0, name.size() + 1) != std::string(name) + " ") return false;
    text.remove_prefix(name.size() + 1);
    size_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error != std::errc() || end == text.data()) return false;
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    if (text.empty() || text[0] != '\n' || text.size() - 1 < length || text.size() - 1 - length < 1 ||
        text[1 + length] != '\n')
        return false;
    value.assign(text.substr(1, length));
    text.remove_prefix(length + 2);
    return true;
}

// A record as earlier runs wrote it: "<path>\n<title>\n", which a line break in the path makes ambiguous.
// The title of a document with a path is its file name, so a path is taken where exactly one place of
// the text splits it so; two lines are a path and a title as they are.
bool ReadOldRecord(const std::string& text, std::string& path, std::string& title)
{
    if (text.empty() || text.back() != '\n') return false;
    const std::string body = text.substr(0, text.size() - 1);
    if (std::count(body.begin(), body.end(), '\n') == 1)
    {
        path = body.substr(0, body.find('\n'));
        title = body.substr(body.find('\n') + 1);
        return true;
    }
    int found = 0;
    const std::string_view all(body);
    for (size_t at = all.find('\n'); at != std::string_view::npos; at = all.find('\n', at + 1))
    {
        const std::string_view before = all.substr(0, at), after = all.substr(at + 1);
        const size_t slash = before.rfind('/');
        if (after == (slash == std::string_view::npos ? before : before.substr(slash + 1)))
        {
            path = before;
            title = after;
            ++found;
        }
    }
    return found == 1;
}

// Reads a record, of this form or the earlier one; false when it cannot be read whole.
bool ReadRecord(const std::string& file, CString& path, CString& title)
{
    CString refused;
    std::string text;
    if (!qor::ReadRegularFile(CString::FromUtf8(file), text, kLongestRecord, refused) || text.size() > kLongestRecord)
        return false;
    std::string pathBytes, titleBytes;
    bool read = false;
    if (text.rfind("QOR recovery ", 0) == 0)
    {
        std::string_view rest(text);
        read = rest.substr(0, std::strlen(kRecordHeader)) == kRecordHeader;
        if (read) rest.remove_prefix(std::strlen(kRecordHeader));
        read = read && TakeField(rest, "path", pathBytes) && TakeField(rest, "title", titleBytes) && rest.empty();
    }
    else
    {
        read = ReadOldRecord(text, pathBytes, titleBytes);
    }
    if (!read || !qor::IsUtf8(pathBytes) || !qor::IsUtf8(titleBytes)) return false;
    path = CString::FromUtf8(pathBytes);
    title = CString::FromUtf8(titleBytes);
    return true;
}

// A session lives while some process holds its lock.
bool SessionAlive(const std::string& lockPath)
{
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool alive = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return alive;
}

void Remove(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

// Every document the application's templates hold, each once.
std::vector<CDocument*> OpenDocuments(CWinApp* app)
{
    std::vector<CDocument*> docs;
    std::set<CDocument*> seen;
    for (POSITION t = app->GetFirstDocTemplatePosition(); t;)
    {
        CDocTemplate* tmpl = app->GetNextDocTemplate(t);
        for (POSITION d = tmpl->GetFirstDocPosition(); d;)
            if (CDocument* doc = tmpl->GetNextDoc(d); doc && seen.insert(doc).second) docs.push_back(doc);
    }
    return docs;
}

} // namespace

CDataRecoveryHandler::CDataRecoveryHandler(CWinApp* pApp, DWORD dwRestartManagerSupportFlags)
    : m_pApp(pApp), m_dwFlags(dwRestartManagerSupportFlags), m_pRelay(std::make_unique<Relay>(this))
{
    // Unique among the runs of a machine, and among the application objects of one process.
    static int made = 0;
    m_strSession.Format(L"%ld-%lld-%d", static_cast<long>(::getpid()), static_cast<long long>(std::time(nullptr)),
                        ++made);
}

CDataRecoveryHandler::~CDataRecoveryHandler()
{
    JoinWrites(false); // nothing is said now: the application may be on its way out
    if (m_nLock >= 0) ::close(m_nLock);
}

CString CDataRecoveryHandler::FilePath(const CString& name) const { return m_strAutosavePath + L"/" + name; }

CString CDataRecoveryHandler::NewName()
{
    CString name;
    name.Format(L"%s-%d", (LPCTSTR)m_strSession, ++m_nNext);
    return name;
}

void CDataRecoveryHandler::SetAutosaveInterval(DWORD dwMilliseconds)
{
    m_nAutosaveInterval = dwMilliseconds;
    if (m_pTimer) m_pTimer->timer.start(static_cast<int>(m_nAutosaveInterval));
}

void CDataRecoveryHandler::Initialize()
{
    if (m_strAutosavePath.IsEmpty()) return; // no folder: nothing is kept, as asked
    std::error_code made;
    fs::create_directories(fs::path(m_strAutosavePath.ToUtf8()), made);
    std::error_code there;
    if (!fs::is_directory(fs::path(m_strAutosavePath.ToUtf8()), there))
    {
        SayFailure(L"Could not keep automatic copies of cases in " + m_strAutosavePath + L": " +
                   Reason(made ? made.value() : ENOTDIR));
        return;
    }
    if (m_nLock < 0)
    {
        const std::string lock = FilePath(m_strSession + L".lock").ToUtf8();
        m_nLock = ::open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        int error = m_nLock < 0 ? errno : 0;
        if (m_nLock >= 0 && ::flock(m_nLock, LOCK_EX | LOCK_NB) != 0)
        {
            error = errno;
            ::close(m_nLock);
            m_nLock = -1;
        }
        if (m_nLock < 0)
        {
            SayFailure(L"Could not keep automatic copies of cases in " + m_strAutosavePath + L": " + Reason(error));
            return;
        }
    }
    if (m_dwFlags & AFX_RESTART_MANAGER_RESTORE_AUTOSAVED_FILES) RestoreAutosavedDocuments();
    if ((m_dwFlags & AFX_RESTART_MANAGER_AUTOSAVE_AT_INTERVAL) && !m_pTimer)
    {
        m_pTimer = std::make_unique<Timer>();
        QObject::connect(&m_pTimer->timer, &QTimer::timeout, &m_pTimer->timer, [this] { AutosaveAllDocumentInfo(); });
        m_pTimer->timer.start(static_cast<int>(m_nAutosaveInterval));
        m_pTimer->retry.setSingleShot(true);
        QObject::connect(&m_pTimer->retry, &QTimer::timeout, &m_pTimer->retry, [this] { AutosaveAllDocumentInfo(); });
    }
}

void CDataRecoveryHandler::AutosaveAllDocumentInfo()
{
    // A tick that comes while an autosave shows or runs something waits for the next one; one that
    // comes while a save or open works off the window thread (the case is not whole then) comes
    // again a moment later.
    if (m_bBusy || m_nLock < 0) return;
    EndWrites(nullptr, false);
    if (qor::gui::IsWorkOffWindowThreadRunning())
    {
        if (m_pTimer) m_pTimer->retry.start(static_cast<int>(std::min<DWORD>(m_nAutosaveInterval, 1000)));
        return;
    }
    for (CDocument* doc : OpenDocuments(m_pApp))
    {
        if (doc->IsModified())
            AutosaveDocumentInfo(doc);
        else
            RemoveDocumentInfo(doc);
    }
    // Documents closed behind our back leave their autosave too.
    const std::vector<CDocument*> open = OpenDocuments(m_pApp);
    for (auto it = m_documents.begin(); it != m_documents.end();)
    {
        if (std::find(open.begin(), open.end(), it->first) == open.end())
        {
            Remove(FilePath(it->second + L".autosave").ToUtf8());
            Remove(FilePath(it->second + L".path").ToUtf8());
            it = m_documents.erase(it);
        }
        else
        {
            ++it;
        }
    }
}

BOOL CDataRecoveryHandler::AutosaveDocumentInfo(CDocument* pDocument)
{
    if (!pDocument || m_nLock < 0 || m_bBusy || qor::gui::IsWorkOffWindowThreadRunning()) return FALSE;
    // The document's last write still runs: this one waits for the next tick.
    EndWrites(nullptr, false);
    for (const auto& write : m_writes)
        if (write->pDocument == pDocument) return FALSE;
    m_bBusy = true;
    auto [it, added] = m_documents.emplace(pDocument, CString());
    if (added) it->second = NewName();
    const CString base = it->second;
    if (std::function<bool(int)> writer = pDocument->SnapshotForAutosave())
    {
        StartWrite(pDocument, base, std::move(writer));
        m_bBusy = false;
        return TRUE;
    }

    // The document's own Serialize writes it; a box it would show about a failure stays unseen: the user
    // did not ask for this save.
    qor::MessageBoxHandler previous = qor::SetMessageBoxHandler([](const qor::MessageBoxCall& call) {
        Log(call.text.ToUtf8());
        return qor::DefaultMessageBoxAnswer(call.type);
    });
    int error = 0;
    WriteOutcome outcome = WriteAtomically(
        FilePath(base + L".autosave").ToUtf8(),
        [&](qor::CReplacingFile& replacing) {
            CFile file;
            file.m_hFile = replacing.Descriptor();
            file.SetFilePath(FilePath(base + L".autosave"));
            const bool ok = qor::gui::SerializeDocument(pDocument, &file, CArchive::store).Ok();
            file.m_hFile = CFile::hFileNull; // the caller closes it
            return ok;
        },
        error);
    qor::SetMessageBoxHandler(previous);
    if (outcome == kWritten)
    {
        const std::string text = RecordOf(pDocument);
        outcome = WriteAtomically(
            FilePath(base + L".path").ToUtf8(),
            [&](qor::CReplacingFile& file) { return file.Write(text.data(), text.size()); }, error);
    }
    m_bBusy = false;
    NoteWrite(CaseName(pDocument), outcome == kWritten, error);
    return outcome == kWritten;
}

void CDataRecoveryHandler::StartWrite(CDocument* pDocument, const CString& base, std::function<bool(int)> writer)
{
    auto write = std::make_shared<Write>();
    write->pDocument = pDocument;
    write->name = CaseName(pDocument);
    QObject* relay = m_pRelay.get();
    const std::string target = FilePath(base + L".autosave").ToUtf8();
    const std::string description = FilePath(base + L".path").ToUtf8();
    const std::string text = RecordOf(pDocument);
    // Room for the write first: a started thread must be held, or its end would end the program.
    m_writes.reserve(m_writes.size() + 1);
    write->thread = std::thread([relay, write, writer = std::move(writer), target, description, text] {
        std::unique_lock<std::mutex> lock(write->mutex, std::defer_lock);
        // The file goes in place, and its description beside it, only while the write is wanted.
        int error = 0;
        WriteOutcome outcome = WriteAtomically(
            target,
            [&](qor::CReplacingFile& file) {
                try
                {
                    return writer(file.Descriptor());
                }
                catch (...)
                {
                    return false; // errno says why, as the archive left it
                }
            },
            error,
            [&] {
                lock.lock();
                return !write->cancelled;
            });
        if (outcome == kWritten)
            outcome = WriteAtomically(
                description, [&](qor::CReplacingFile& file) { return file.Write(text.data(), text.size()); }, error);
        if (lock.owns_lock()) lock.unlock();
        write->outcome = outcome;
        write->error = error;
        write->done = true;
        // The window thread hears of it now, not at the next tick. The relay outlives the call: the
        // handler joins this thread before it goes.
        QCoreApplication::postEvent(relay, new WriteEnded);
    });
    m_writes.push_back(std::move(write));
}

void CDataRecoveryHandler::EndWrites(CDocument* pDocument, bool cancel)
{
    // What the ended writes say is said once they are off the list (the log may let other work run).
    std::vector<std::shared_ptr<Write>> ended;
    for (auto it = m_writes.begin(); it != m_writes.end();)
    {
        Write& write = **it;
        if (cancel && (!pDocument || write.pDocument == pDocument))
        {
            std::lock_guard<std::mutex> lock(write.mutex);
            write.cancelled = true;
        }
        if (write.done)
        {
            write.thread.join();
            ended.push_back(*it);
            it = m_writes.erase(it);
        }
        else
        {
            ++it;
        }
    }
    for (const auto& write : ended)
        if (write->outcome != kCancelled) NoteWrite(write->name, write->outcome == kWritten, write->error);
}

BOOL CDataRecoveryHandler::WaitForWrites() { return JoinWrites(true) ? TRUE : FALSE; }

bool CDataRecoveryHandler::JoinWrites(bool say)
{
    std::vector<std::shared_ptr<Write>> ended;
    ended.swap(m_writes);
    bool allWritten = true;
    for (const auto& write : ended)
    {
        if (write->thread.joinable()) write->thread.join();
        if (write->outcome == kCancelled) continue;
        allWritten = allWritten && write->outcome == kWritten;
        if (say) NoteWrite(write->name, write->outcome == kWritten, write->error);
    }
    return allWritten;
}

void CDataRecoveryHandler::NoteWrite(const CString& name, bool written, int error)
{
    if (written)
        m_bFailureSaid = false;
    else
        SayFailure(L"Could not keep an automatic copy of " + name + L": " + Reason(error));
}

void CDataRecoveryHandler::SayFailure(const CString& line)
{
    if (m_bFailureSaid) return;
    m_bFailureSaid = true;
    if (m_pApp)
        m_pApp->LogDiagnostic(line);
    else
        Log(line.ToUtf8());
}

void CDataRecoveryHandler::RemoveDocumentInfo(CDocument* pDocument)
{
    // A write still running for it puts nothing in place any more.
    EndWrites(pDocument, true);
    auto it = m_documents.find(pDocument);
    if (it == m_documents.end()) return;
    // The description goes first: an autosave without one is never offered.
    Remove(FilePath(it->second + L".path").ToUtf8());
    Remove(FilePath(it->second + L".autosave").ToUtf8());
    m_documents.erase(it);
}

void CDataRecoveryHandler::RestoreAutosavedDocuments()
{
    if (m_strAutosavePath.IsEmpty()) return;
    const fs::path folder(m_strAutosavePath.ToUtf8());
    std::error_code ec;
    std::vector<fs::path> found;
    std::set<std::string> ended;
    // What runs that ended while writing an autosave left (never a file a live run writes).
    qor::CReplacingFile::RemoveLeftoversIn(m_strAutosavePath);
    for (const auto& entry : fs::directory_iterator(folder, ec))
    {
        const fs::path& p = entry.path();
        if (qor::CReplacingFile::IsTemporaryName(p.filename().string())) continue;
        const std::string stem = p.stem().string();
        if (p.extension() == ".lock")
        {
            if (stem != m_strSession.ToUtf8() && !SessionAlive(p.string())) ended.insert(stem);
            continue;
        }
        const size_t dash = stem.rfind('-');
        if (dash == std::string::npos) continue;
        const std::string session = stem.substr(0, dash);
        if (session == m_strSession.ToUtf8() || SessionAlive((folder / (session + ".lock")).string())) continue;
        ended.insert(session);
        if (p.extension() == ".path") found.push_back(p);
    }
    std::sort(found.begin(), found.end());
    // The program holds one case at a time: a second restored case would close the first, asking to
    // save or lose it. So one case is restored at a start; the others wait for the next.
    bool restored = false;
    int waiting = 0;
    for (const fs::path& description : found)
    {
        if (restored)
        {
            ++waiting;
            continue;
        }
        fs::path saved = description;
        saved.replace_extension(".autosave");
        if (!fs::is_regular_file(saved, ec))
        {
            Remove(description.string());
            continue;
        }
        // A record that cannot be read whole names no file: its case is offered without one (a save
        // asks where), never under a part of a path.
        CString path, title;
        const bool named = ReadRecord(description.string(), path, title);
        if (!named)
        {
            path.Empty();
            title = L"Recovered case";
        }
        const CString name = path.IsEmpty() ? title : path;
        // The program's window is shown (maximised) once the start-up is done: the question stands where it
        // will be.
        CString prompt;
        if (named)
            prompt.Format(L"The program ended without closing %s. Its changes were kept automatically.\n\n"
                          L"Restore them? (Yes opens the case with these changes; No discards them.)",
                          (LPCTSTR)name);
        else
            prompt.Format(L"The program ended without closing a case whose name cannot be read back (%s). Its "
                          L"changes were kept automatically.\n\n"
                          L"Restore them? (Yes opens the case with these changes, without a name: a save asks "
                          L"where to keep it; No discards them.)",
                          (LPCTSTR)CString::FromUtf8(description.filename().string()));
        if (AfxMessageBox(prompt, MB_YESNO | MB_ICONQUESTION) != IDYES)
        {
            Remove(description.string());
            Remove(saved.string());
            continue;
        }
        m_bRestoring = true;
        CDocument* doc = m_pApp->OpenDocumentFile(CString(saved.string().c_str()));
        m_bRestoring = false;
        if (!doc)
        {
            // The autosave stays for another start: the user asked for it and it could not be read now.
            Log(saved.string() + ": could not be restored");
            continue;
        }
        restored = true;
        // The case shows under its own name and path; saving it is the user's decision, so nothing is
        // written to the user's file here.
        doc->SetPathName(path, FALSE);
        if (path.IsEmpty()) doc->SetTitle(title);
        doc->SetModifiedFlag(TRUE);
        // This run keeps it: renamed into the session, it survives a crash before the next tick. Should a
        // rename fail, the old files go and the case is written afresh under the new name.
        const CString base = NewName();
        std::error_code moved;
        fs::rename(saved, FilePath(base + L".autosave").ToUtf8(), moved);
        if (!moved)
        {
            m_documents[doc] = base;
            fs::rename(description, FilePath(base + L".path").ToUtf8(), moved);
        }
        if (moved)
        { // failed
            Remove(description.string());
            Remove(saved.string());
            RemoveDocumentInfo(doc);
            AutosaveDocumentInfo(doc);
        }
    }
    if (waiting > 0)
    {
        CString note;
        note.Format(waiting == 1 ? L"One more case that the program kept automatically is offered at the next start."
                                 : L"%d more cases that the program kept automatically are offered at the next starts, "
                                   L"one at each start.",
                    waiting);
        AfxMessageBox(note, MB_OK | MB_ICONINFORMATION);
    }
    // An ended session whose documents were all dealt with leaves nothing behind.
    for (const std::string& session : ended)
    {
        bool left = false;
        for (const auto& entry : fs::directory_iterator(folder, ec))
            if (entry.path().stem().string().rfind(session + "-", 0) == 0) left = true;
        if (!left) Remove((folder / (session + ".lock")).string());
    }
}

void CDataRecoveryHandler::Shutdown()
{
    if (m_pTimer)
    {
        m_pTimer->timer.stop();
        m_pTimer->retry.stop();
    }
    // A clean exit: the writes still running are not wanted, and what became of them is not news.
    EndWrites(nullptr, true);
    JoinWrites(false);
    while (!m_documents.empty()) RemoveDocumentInfo(m_documents.begin()->first);
    if (m_nLock >= 0)
    {
        Remove(FilePath(m_strSession + L".lock").ToUtf8());
        ::close(m_nLock);
        m_nLock = -1;
    }
}
