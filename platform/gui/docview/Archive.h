// CFile (an open file descriptor) and CArchive (the direction of a document's pass over
// its file). Documents serialise through Boost archives over the descriptor, e.g.
//   boost::iostreams::file_descriptor fd(ar.GetFile()->m_hFile, boost::iostreams::never_close_handle);
// so the archive's own reading and writing is a small byte interface only.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Types.h"
#include "platform/gui/window/Object.h"

class CDocument;

class CFile : public CObject
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeNoTruncate = 0x0100,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
    };
    enum SeekPosition
    {
        begin = 0,
        current = 1,
        end = 2
    };
    static constexpr int hFileNull = -1;

    CFile() = default;
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // The open descriptor (hFileNull when closed). The file object closes it.
    int m_hFile = hFileNull;

    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags);
    virtual void Close();
    void Abort() { Close(); }
    UINT Read(void* lpBuf, UINT nCount);
    // Writes all of it; FALSE when the system failed (disk full, ...).
    BOOL Write(const void* lpBuf, UINT nCount);
    // Pushes the data to the disk; FALSE on failure.
    BOOL Flush();
    ULONGLONG GetLength() const;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    CString GetFilePath() const { return m_strFileName; }
    // The name the file goes by for the user (a temporary file: the file it is to replace).
    void SetFilePath(LPCTSTR lpszNewName) { m_strFileName = lpszNewName ? lpszNewName : L""; }
    CString GetFileName() const;
    // errno of the last failure (0 when none).
    int GetLastError() const { return m_nError; }

private:
    CString m_strFileName;
    int m_nError = 0;
};

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1
    };
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive() = default;
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_nMode == load; }
    BOOL IsStoring() const { return m_nMode == store; }
    CFile* GetFile() const { return m_pFile; }
    void Flush() {}
    void Close() { m_pFile = nullptr; }
    void Abort() { m_pFile = nullptr; }
    UINT Read(void* lpBuf, UINT nMax) { return m_pFile ? m_pFile->Read(lpBuf, nMax) : 0; }
    void Write(const void* lpBuf, UINT nMax);

    CDocument* m_pDocument = nullptr;
    // Set by a document's Serialize when its pass failed (the failure was already reported):
    // the framework then fails the open or save without a message of its own.
    BOOL m_bFailed = FALSE;

private:
    CFile* m_pFile;
    UINT m_nMode;
};
