// The buffer a case file is written through: blocks of 256 kB (small enough to stay in the
// core's cache from one write to the next) to a file descriptor or to another stream's buffer,
// each block counted on the save's progress.
//
//     CArchiveOutBuffer buffer(fd, &progress);      // or CArchiveOutBuffer buffer(*out.rdbuf(), &progress)
//     CBinaryOutArchive ar(buffer);                 // writes through Put and sputn
//     ...
//     buffer.Finish();                              // the last block; throws on a write error
//
// Put is the archive's inline path for small values; the library's own writes come through
// sputn into the same block, so the order of the bytes is the order of the calls.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <streambuf>

class CCaseFileProgress;

class CArchiveOutBuffer : public std::streambuf
{
public:
    static constexpr std::size_t kBlockSize = std::size_t{256} << 10;

    CArchiveOutBuffer(int fd, CCaseFileProgress* progress);
    CArchiveOutBuffer(std::streambuf& target, CCaseFileProgress* progress);
    ~CArchiveOutBuffer() override;
    CArchiveOutBuffer(const CArchiveOutBuffer&) = delete;
    CArchiveOutBuffer& operator=(const CArchiveOutBuffer&) = delete;

    // Appends n bytes; throws the archive's output_stream_error when a block cannot be written.
    void Put(const void* p, std::size_t n)
    {
        if (static_cast<std::size_t>(epptr() - pptr()) >= n)
        {
            std::memcpy(pptr(), p, n);
            pbump(static_cast<int>(n));
        }
        else
            PutSlow(p, n);
    }

    // Room for n bytes in the block, taken (the caller writes them there at once), or null when
    // the block has less room: then Put them.
    char* Take(std::size_t n)
    {
        if (static_cast<std::size_t>(epptr() - pptr()) < n) return nullptr;
        char* const at = pptr();
        pbump(static_cast<int>(n));
        return at;
    }

    // Writes what is left in the block (throws as Put does).
    void Finish();
    // Bytes handed on to the file or stream so far.
    std::size_t Written() const { return m_nWritten; }
    // errno of the failed write (0 when none failed or the target was a stream).
    int Error() const { return m_nError; }

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void PutSlow(const void* p, std::size_t n);
    bool WriteBlock();
    bool WriteOut(const char* p, std::size_t n);

    int m_Fd = -1;
    std::streambuf* m_pTarget = nullptr;
    CCaseFileProgress* m_pProgress = nullptr;
    std::unique_ptr<char[]> m_Block;
    std::size_t m_nWritten = 0;
    int m_nError = 0;
    bool m_bFailed = false;
};
