// Crash recovery for the application object: while a document has unsaved changes it is written at an
// interval into a recovery folder; the next start after the program ended without closing it offers to
// restore it.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Types.h"
#include "platform/gui/window/App.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CDocument;

// The autosave never runs while a save or open of a document works off the window thread (it comes
// a moment later), and a document that gives a snapshot (CDocument::SnapshotForAutosave) is written
// from it on a thread of its own, while the window goes on: the window thread only takes the
// snapshot, and shows nothing (no status text, no progress).
//
// One program run's autosaves: "<session>-<n>.autosave" (the document as its own Serialize writes it)
// and "<session>-<n>.path" (its path, or "" when it has none, and its title, each with its length in
// bytes: any path reads back whole), and "<session>.lock", held while the run lives. Whatever belongs to a session
// whose lock nobody holds is what a crash left.
class CDataRecoveryHandler
{
public:
    CDataRecoveryHandler(CWinApp* pApp, DWORD dwRestartManagerSupportFlags);
    // Releases the lock but keeps the autosaves: only a clean exit (ExitInstance) removes them.
    ~CDataRecoveryHandler();

    // 5 minutes, in milliseconds; SetAutosaveInterval restarts the timer with a new one.
    DWORD m_nAutosaveInterval = 5 * 60 * 1000;
    void SetAutosaveInterval(DWORD dwMilliseconds);
    DWORD GetAutosaveInterval() const { return m_nAutosaveInterval; }
    // The recovery folder (made when first needed); nothing is written while it is empty.
    void SetAutosavePath(const CString& strPath) { m_strAutosavePath = strPath; }
    const CString& GetAutosavePath() const { return m_strAutosavePath; }

    // Takes the session's lock, offers what earlier runs left (when asked for) and starts the timer.
    void Initialize();
    // Writes every modified document of the application; drops the autosave of those now unmodified.
    void AutosaveAllDocumentInfo();
    // Writes one document (atomically); FALSE when it could not be written or must wait. A document
    // written from its snapshot is written on a thread of its own: TRUE once that write has started
    // (WaitForWrites waits for it and tells how it went). A write that fails is said in the
    // application's log (CWinApp::LogDiagnostic) with its reason, once: the next failure is said
    // again only after a write went well. It touches nothing but the recovery folder.
    BOOL AutosaveDocumentInfo(CDocument* pDocument);
    // Waits until the autosaves being written on their threads have ended (their failures said);
    // FALSE when one of them could not be written.
    BOOL WaitForWrites();
    // Removes a document's autosave (it was saved or closed).
    void RemoveDocumentInfo(CDocument* pDocument);
    // Asks, for each document an ended run left, to restore it (opened as modified with its own path)
    // or discard it.
    void RestoreAutosavedDocuments();
    // The clean exit: this run's autosaves and its lock go.
    void Shutdown();
    // While a restore opens an autosave, which must not reach the recent-file list.
    bool IsRestoring() const { return m_bRestoring; }

private:
    struct Timer;
    struct Relay;
    struct Write;
    CString FilePath(const CString& name) const;
    CString NewName();
    // Writes the document from its snapshot on a thread of its own.
    void StartWrite(CDocument* pDocument, const CString& base, std::function<bool(int)> writer);
    // Forgets the writes that have ended; cancels (cancel) the document's (null: every) write still
    // running, so that it leaves nothing behind.
    void EndWrites(CDocument* pDocument, bool cancel);
    // Waits for every write; false when one failed (said in the log when say).
    bool JoinWrites(bool say);
    // A write of the case went well, or failed for the reason error (0: none given).
    void NoteWrite(const CString& name, bool written, int error);
    // Says a failure in the application's log, unless one was said since the last write that went well.
    void SayFailure(const CString& line);

    CWinApp* m_pApp;
    DWORD m_dwFlags;
    CString m_strAutosavePath;
    CString m_strSession;
    int m_nLock = -1;
    int m_nNext = 0;
    bool m_bRestoring = false;
    bool m_bBusy = false;
    bool m_bFailureSaid = false;
    // The document and the base name of its autosave.
    std::map<CDocument*, CString> m_documents;
    std::unique_ptr<Timer> m_pTimer;
    std::unique_ptr<Relay> m_pRelay;
    std::vector<std::shared_ptr<Write>> m_writes;
};
