// Crash recovery for the application object: while a document has unsaved changes it is written at an
// interval into a recovery folder; the next start after the program ended without closing it offers to
// restore it.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <map>
#include <memory>

class CDocument;
class CWinApp;

// The aspects of the restart manager the application asks for (m_dwRestartManagerSupportFlags).
inline constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;
inline constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_APPLICATION_RECOVERY = 0x02;
inline constexpr DWORD AFX_RESTART_MANAGER_AUTOSAVE_AT_RESTART = 0x04;
inline constexpr DWORD AFX_RESTART_MANAGER_AUTOSAVE_AT_INTERVAL = 0x08;
inline constexpr DWORD AFX_RESTART_MANAGER_REOPEN_PREVIOUS_FILES = 0x10;
inline constexpr DWORD AFX_RESTART_MANAGER_RESTORE_AUTOSAVED_FILES = 0x20;

// One program run's autosaves: "<session>-<n>.autosave" (the document as its own Serialize writes it)
// and "<session>-<n>.path" (its path, or "" and its title when it has none), and "<session>.lock", held
// while the run lives. Whatever belongs to a session whose lock nobody holds is what a crash left.
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
    // Writes one document (atomically); FALSE when it could not be written (logged, never shown).
    BOOL AutosaveDocumentInfo(CDocument* pDocument);
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
    CString FilePath(const CString& name) const;
    CString NewName();

    CWinApp* m_pApp;
    DWORD m_dwFlags;
    CString m_strAutosavePath;
    CString m_strSession;
    int m_nLock = -1;
    int m_nNext = 0;
    bool m_bRestoring = false;
    bool m_bBusy = false;
    // The document and the base name of its autosave.
    std::map<CDocument*, CString> m_documents;
    std::unique_ptr<Timer> m_pTimer;
};
