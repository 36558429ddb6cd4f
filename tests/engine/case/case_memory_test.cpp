// A sound case file that the process has not the memory to read (or a case to write) is refused for
// want of memory, not as a file that declares more than a computer can hold, and the open case stays:
// allocations made to fail one by one across a load and a save, and a load under an address-space
// limit in a child process.

#include "tests/engine/case/case_fixture.h"

#include "engine/settings/Settings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// The allocation (counted from 1) made to fail; 0: none. Counted only while armed.
std::atomic<long> g_nFailAt{0};
std::atomic<long> g_nAllocations{0};
std::atomic<bool> g_bArmed{false};
} // namespace

void* operator new(std::size_t n)
{
    if (g_bArmed.load(std::memory_order_relaxed) && ++g_nAllocations == g_nFailAt.load()) throw std::bad_alloc();
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
// Every form releases through one helper kept out of line (see loadmodel_alloc_test.cpp).
[[gnu::noinline]] static void ReleaseBlock(void* p) noexcept { std::free(p); }
void operator delete(void* p) noexcept { ReleaseBlock(p); }
void operator delete[](void* p) noexcept { ReleaseBlock(p); }
void operator delete(void* p, std::size_t) noexcept { ReleaseBlock(p); }
void operator delete[](void* p, std::size_t) noexcept { ReleaseBlock(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { ReleaseBlock(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { ReleaseBlock(p); }

namespace {

// Runs work with allocation failAt failing (0: none); the allocations it made.
template <class Work>
long Allocating(long failAt, Work work)
{
    g_nAllocations = 0;
    g_nFailAt = failAt;
    struct SArmed
    {
        SArmed() { g_bArmed = true; }
        ~SArmed() { g_bArmed = false; }
    } armed;
    work();
    return g_nAllocations.load();
}

// Loads file into data with allocation failAt failing; the failure's text, or "".
std::string LoadFailing(long failAt, const std::string& file, CCaseData& data, long* pAllocations = nullptr)
{
    std::istringstream in(file, std::ios::in | std::ios::binary);
    std::string failure;
    const long made = Allocating(failAt, [&] {
        try
        {
            LoadCase(in, data);
        }
        catch (const CCaseFileError& e)
        {
            failure = std::string("failed: ") + e.what();
        }
    });
    if (pAllocations) *pAllocations = made;
    return failure;
}

const char kNoMemory[] = "failed: there is not enough memory for it";

} // namespace

TEST(CaseFileMemory, AnAllocationThatFailsAnywhereInALoadOrASaveIsMemoryThatIsShort)
{
    CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 11; // a small file keeps the sweep quick
    const CCaseData c = casetest::SmallCase();
    CSettings::GetInstance()->SetDefaults();
    for (bool binary : {true, false})
    {
        SCOPED_TRACE(binary ? "binary" : "XML");
        const std::string file = casetest::CaseFile(c, binary);
        CCaseData open;
        long all = 0;
        ASSERT_EQ(LoadFailing(0, file, open, &all), "");
        ASSERT_GT(all, 100);
        int refused = 0, named = 0;
        for (long k = 1; k <= all; k += 1 + all / 60)
        {
            CCaseData data = casetest::SmallCase();
            const std::string failure = LoadFailing(k, file, data);
            if (failure.empty()) continue; // an allocation whose failure the reading itself handles
            ++refused;
            // The reason, then perhaps the element being read and the line.
            EXPECT_EQ(failure.rfind(kNoMemory, 0), 0u) << failure;
            EXPECT_TRUE(failure == kNoMemory || failure.compare(sizeof kNoMemory - 1, 2, " (") == 0) << failure;
            named += failure.find(" (reading ") != std::string::npos ? 1 : 0;
            EXPECT_EQ(data.m_sCaseRef, c.m_sCaseRef);
            EXPECT_EQ(data.m_vBridge.size(), c.m_vBridge.size());
        }
        EXPECT_GT(refused, 50);
        EXPECT_GT(named, 25);
    }

    // A save.
    std::ostringstream out;
    std::string why;
    Allocating(3, [&] {
        try
        {
            SaveCase(out, c, true);
        }
        catch (const CCaseFileError& e)
        {
            why = e.what();
        }
    });
    EXPECT_EQ(why, "there is not enough memory for it");
}

// Under an address-space limit a little above what the process uses, a file whose case needs far more.
// The sanitizers reserve terabytes of address space for themselves, so no such limit can be set there.
TEST(CaseFileMemory, ASoundFileOverTheProcessAddressSpaceLimitIsRefusedForWantOfMemory)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers' own address space is beyond any limit a test can set";
#else
    // 16 MB of notes, which are read as text and then as wide characters (64 MB).
    CCaseData c = casetest::SmallCase();
    c.m_sCaseNotes = CString(std::wstring(16 << 20, L'n'));
    const std::string path =
        (std::filesystem::temp_directory_path() / ("qor-memory-" + std::to_string(::getpid()) + ".qor")).string();
    std::ofstream(path, std::ios::binary) << casetest::CaseFile(c, false);
    const int fd = ::open(path.c_str(), O_RDONLY);
    // Read through the descriptor from here on: the name goes now, whatever the test meets after.
    std::filesystem::remove(path);
    ASSERT_GE(fd, 0);
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r"))
        {
            if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
            std::fclose(statm);
        }
        const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (96u << 20);
        const rlimit as = {limit, limit};
        std::string said = pages > 0 && ::setrlimit(RLIMIT_AS, &as) == 0 ? "loaded" : "no limit";
        CCaseData data;
        data.m_sCaseRef = L"open";
        try
        {
            LoadCaseFile(fd, data);
        }
        catch (const CCaseFileError& e)
        {
            said = e.what();
        }
        if (data.m_sCaseRef != CString(L"open")) said += " and the open case went";
        const ssize_t written = ::write(pipe[1], said.data(), said.size());
        ::_exit(written == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    ::close(pipe[1]);
    std::string said;
    char block[256];
    for (ssize_t n; (n = ::read(pipe[0], block, sizeof block)) > 0;) said.append(block, static_cast<std::size_t>(n));
    ::close(pipe[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(said.rfind("there is not enough memory for it", 0), 0u) << said;
    EXPECT_EQ(said.find("open case went"), std::string::npos) << said;

    // Without the limit it opens.
    ASSERT_EQ(::lseek(fd, 0, SEEK_SET), 0);
    CCaseData data;
    LoadCaseFile(fd, data);
    EXPECT_EQ(data.m_sCaseNotes.GetLength(), 16 << 20);
    ::close(fd);
#endif
}
