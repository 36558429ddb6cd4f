// Files replaced whole through a temporary file: a writer killed at any moment leaves the old file or
// the new one whole, and what an ended run left is removed while a live run's file and every file
// not named as the program's own stay.

#include "platform/core/FileChecks.h"
#include "platform/core/ReplacingFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using qor::CReplacingFile;

namespace {

class ReplacingFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("qor-replacing-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        CReplacingFile::UseUnnamedFiles(true);
        CReplacingFile::SetFolderHook(nullptr);
        CReplacingFile::InjectOpenFault(0);
        CReplacingFile::SetSyncHook(nullptr);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir)) names.insert(entry.path().filename().string());
        return names;
    }
    fs::path m_dir;
};

// A version of the file: its number in every byte, `size` bytes.
std::string Version(char number, std::size_t size) { return std::string(size, number); }

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WriteAll(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();)
    {
        const ssize_t n = ::write(fd, bytes.data() + done, std::min<std::size_t>(bytes.size() - done, 64 << 10));
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

TEST_F(ReplacingFileTest, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFileAndNothingElse)
{
    const fs::path target = m_dir / "case.qor";
    constexpr std::size_t kSize = 2 << 20;
    {
        std::ofstream out(target, std::ios::binary);
        out << Version('0', kSize);
    }
    ::chmod(target.c_str(), 0640);
    std::mt19937 rng(39);
    std::set<char> seen;
    for (int round = 1; round <= 12; ++round)
    {
        const char number = static_cast<char>('0' + round % 10);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            // Writes new versions for ever, each through its own temporary file.
            for (char n = number;; n = static_cast<char>(n == '9' ? '0' : n + 1))
            {
                CReplacingFile file;
                if (!file.Open(target.c_str()) || !WriteAll(file.Descriptor(), Version(n, kSize)) || !file.Commit())
                    ::_exit(1);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 40000)(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";

        const std::string now = ReadAll(target);
        ASSERT_EQ(now.size(), kSize) << "round " << round;
        EXPECT_EQ(now, Version(now[0], kSize)) << "round " << round << ": one version whole";
        seen.insert(now[0]);
        struct stat st
        {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << "the permissions stay";
        // The next save in the folder removes whatever the killed run left (an unnamed file leaves nothing).
        {
            CReplacingFile next;
            ASSERT_TRUE(next.Open((m_dir / "other.qor").c_str()));
        }
        EXPECT_EQ(Names(), std::set<std::string>{"case.qor"}) << "round " << round;
    }
    EXPECT_GT(seen.size(), 1u) << "some kills came after a whole new version";
}

TEST_F(ReplacingFileTest, OnlyTheTemporaryFilesOfEndedRunsAreRemoved)
{
    const fs::path target = m_dir / "case.qor";
    std::ofstream(target) << "the case";
    // A live run's file, held by its writer: named while it is written on a file system without unnamed
    // files (and for a moment before it goes in place on others).
    CReplacingFile live;
    CReplacingFile::UseUnnamedFiles(false);
    ASSERT_TRUE(live.Open(target.c_str()));
    CReplacingFile::UseUnnamedFiles(true);
    std::string liveName;
    for (const std::string& name : Names())
        if (name != "case.qor") liveName = name;
    ASSERT_FALSE(liveName.empty());
    EXPECT_TRUE(CReplacingFile::IsTemporaryName(liveName, "case.qor"));
    // Left by ended runs: named as ours and locked by nobody.
    for (const char* name : {".case.qor.qortmp-Ab12Cd", ".case.qor.qortmp-000000"}) std::ofstream(m_dir / name) << "x";
    // Not ours, or of another file: they stay.
    const std::set<std::string> others = {"case.qor.Ab12Cd",         ".case.qor.qortmp-Ab12C",
                                          ".case.qor.qortmp-Ab_2Cd", ".other.qor.qortmp-Ab12Cd",
                                          "case.qor.qortmp-Ab12Cd",  "notes.txt"};
    for (const std::string& name : others) std::ofstream(m_dir / name) << "x";
    // A link named as ours is never followed nor removed.
    fs::create_symlink(target, m_dir / ".case.qor.qortmp-Link00");

    // Its name is as long whatever the file's: ".qortmp-", 8 digits of the file's name, "-", 6 random.
    EXPECT_EQ(liveName.size(), 23u);
    EXPECT_EQ(liveName.rfind(".qortmp-", 0), 0u);
    // Left by ended runs in today's form: of this file (its digits), of another file (other digits).
    const std::string prefix = liveName.substr(0, 17);
    std::ofstream(m_dir / (prefix + "Zz9Yy8")) << "x";
    std::string otherDigits = prefix;
    otherDigits[8] = otherDigits[8] == '0' ? '1' : '0';
    std::ofstream(m_dir / (otherDigits + "Zz9Yy8")) << "x";
    // Not ours: too short, too long, not letters and digits.
    const std::set<std::string> notOurs = {prefix + "Zz9Yy", prefix + "Zz9Yy8a", prefix + "Zz9Y-8"};
    for (const std::string& name : notOurs) std::ofstream(m_dir / name) << "x";

    EXPECT_EQ(CReplacingFile::RemoveLeftovers(target.c_str()), 3);
    std::set<std::string> expected = others;
    expected.insert(notOurs.begin(), notOurs.end());
    expected.insert({"case.qor", liveName, ".case.qor.qortmp-Link00", otherDigits + "Zz9Yy8"});
    EXPECT_EQ(Names(), expected);
    // The whole folder: the other file's leftovers go too, the live one still stays.
    EXPECT_EQ(CReplacingFile::RemoveLeftoversIn(m_dir.c_str()), 2);
    EXPECT_TRUE(fs::exists(m_dir / liveName));

    ASSERT_TRUE(WriteAll(live.Descriptor(), "new case"));
    ASSERT_TRUE(live.Commit());
    EXPECT_EQ(ReadAll(target), "new case");
    EXPECT_FALSE(fs::exists(m_dir / liveName));

    // A discarded file goes; an injected refusal to make the file comes back as the system's error.
    {
        CReplacingFile dropped;
        ASSERT_TRUE(dropped.Open(target.c_str()));
    }
    CReplacingFile::InjectOpenFault(EROFS);
    CReplacingFile refused;
    errno = 0;
    EXPECT_FALSE(refused.Open(target.c_str()));
    EXPECT_EQ(errno, EROFS);
    CReplacingFile::InjectOpenFault(0);
    EXPECT_EQ(ReadAll(target), "new case");
    EXPECT_EQ(CReplacingFile::RemoveLeftovers(target.c_str()), 0);

    // The syncs of a commit: the file's, then its folder's; one that fails is the system's failure.
    std::vector<std::string> synced;
    CReplacingFile::SetSyncHook([&synced](const std::string& name) {
        synced.push_back(name);
        return synced.size() == 1 ? EIO : 0;
    });
    errno = 0;
    EXPECT_FALSE(CReplacingFile::ReplaceWith(target.c_str(), "lost case"));
    EXPECT_EQ(errno, EIO);
    ASSERT_EQ(synced.size(), 1u);
    EXPECT_TRUE(CReplacingFile::IsTemporaryName(fs::path(synced[0]).filename().string(), "case.qor"));
    EXPECT_EQ(ReadAll(target), "new case");
    EXPECT_TRUE(CReplacingFile::ReplaceWith(target.c_str(), "newer case"));
    ASSERT_EQ(synced.size(), 3u);
    EXPECT_EQ(fs::path(synced[2]), m_dir);
    CReplacingFile::SetSyncHook(nullptr);
    EXPECT_EQ(ReadAll(target), "newer case");
    EXPECT_EQ(CReplacingFile::RemoveLeftovers(target.c_str()), 0);

    // A file whose name is as long as a name may be (255 bytes) is replaced as any other.
    const fs::path longest = m_dir / std::string(255, 'c');
    ASSERT_TRUE(CReplacingFile::ReplaceWith(longest.c_str(), "old"));
    ASSERT_TRUE(CReplacingFile::ReplaceWith(longest.c_str(), "new"));
    EXPECT_EQ(ReadAll(longest), "new");
}

// The target's folder is walked once, part by part: the user's own links (to a folder, at the last part)
// are followed and stay links, a link re-pointed once the folder is open changes nothing, and only a
// regular file is replaced (a pipe or a folder at the name is refused with its reason). While it is
// written the file has no name.
TEST_F(ReplacingFileTest, TheFolderIsWalkedOnceAndOnlyAFileIsReplacedThere)
{
    const fs::path first = m_dir / "first", second = m_dir / "second";
    fs::create_directories(first);
    fs::create_directories(second);
    std::ofstream(first / "case.qor") << "first case";
    std::ofstream(second / "case.qor") << "second case";
    fs::create_symlink("first", m_dir / "project");
    fs::create_symlink("project/case.qor", m_dir / "current.qor");
    CReplacingFile::SetFolderHook([&](const std::string&) {
        fs::remove(m_dir / "project");
        fs::create_symlink("second", m_dir / "project");
    });
    CReplacingFile file;
    ASSERT_TRUE(file.Open((m_dir / "current.qor").c_str()));
    CReplacingFile::SetFolderHook(nullptr);
    EXPECT_EQ(Names(), (std::set<std::string>{"current.qor", "first", "project", "second"}));
    EXPECT_EQ(fs::directory_iterator(first)->path().filename(), "case.qor");
    std::ofstream(file.WritablePath().ToUtf8(), std::ios::binary) << "new case";
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadAll(first / "case.qor"), "new case");
    EXPECT_EQ(ReadAll(second / "case.qor"), "second case");
    EXPECT_EQ(fs::read_symlink(m_dir / "current.qor"), "project/case.qor");
    EXPECT_EQ(std::distance(fs::directory_iterator(first), fs::directory_iterator()), 1);

    // A pipe, a folder, the user's link to a pipe, a name that ends as a folder: refused, said, left.
    ASSERT_EQ(::mkfifo((m_dir / "pipe.pdf").c_str(), 0600), 0);
    fs::create_directories(m_dir / "folder.bmp");
    fs::create_symlink("pipe.pdf", m_dir / "to-pipe.pdf");
    const struct
    {
        fs::path path, shown;
        const wchar_t* reason;
        int error;
    } refusals[] = {{m_dir / "pipe.pdf", m_dir / "pipe.pdf", L"it is a pipe, not a file", EINVAL},
                    {m_dir / "folder.bmp", m_dir / "folder.bmp", L"it is a folder, not a file", EISDIR},
                    {m_dir / "to-pipe.pdf", m_dir / "pipe.pdf", L"it is a pipe, not a file", EINVAL},
                    {m_dir / "first/", "", L"", EISDIR}};
    const std::set<std::string> before = Names();
    for (const auto& refusal : refusals)
    {
        SCOPED_TRACE(refusal.path.string());
        CReplacingFile refused;
        errno = 0;
        EXPECT_FALSE(refused.Open(refusal.path.c_str()));
        EXPECT_EQ(errno, refusal.error);
        EXPECT_EQ(refused.Reason(), CString(refusal.reason));
        EXPECT_EQ(refused.ReasonPath(), CString::FromUtf8(refusal.shown.string()));
    }
    EXPECT_TRUE(fs::is_fifo(m_dir / "pipe.pdf"));
    EXPECT_EQ(Names(), before);
}

// In a folder everyone may write to with the sticky bit, another user's link is not followed wherever it
// stands in the path (a folder part, the last part, one a link of the user's leads through); the user's
// own link there is.
TEST_F(ReplacingFileTest, AnotherUsersLinkAnywhereInThePathIsNotFollowed)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser: links of another user";
    const fs::path shared = m_dir / "shared", mine = m_dir / "mine";
    fs::create_directories(shared);
    fs::create_directories(mine);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    std::ofstream(mine / "case.qor") << "the user's case";
    constexpr uid_t kNobody = 65534;
    fs::create_symlink(mine, shared / "project");
    ASSERT_EQ(::lchown((shared / "project").c_str(), kNobody, kNobody), 0);
    fs::create_symlink(mine / "case.qor", shared / "case.qor");
    ASSERT_EQ(::lchown((shared / "case.qor").c_str(), kNobody, kNobody), 0);
    fs::create_symlink("project/case.qor", shared / "chain.qor"); // the user's own, through the other's
    fs::create_symlink(mine, shared / "own");

    for (const fs::path& asked : {shared / "project/case.qor", shared / "case.qor", shared / "chain.qor",
                                  shared / "own/../shared/project/case.qor"})
    {
        SCOPED_TRACE(asked.string());
        const fs::path link = asked == shared / "case.qor" ? asked : shared / "project";
        const qor::SFollowedLinks followed = qor::FollowLinks(asked.c_str());
        EXPECT_EQ(followed.refusedLink, CString::FromUtf8(link.string()));
        EXPECT_EQ(followed.Reason().Find(L"it is a link of another user ("), 0);
        CReplacingFile file;
        errno = 0;
        EXPECT_FALSE(file.Open(asked.c_str()));
        EXPECT_EQ(errno, EACCES);
        EXPECT_EQ(file.ReasonPath(), followed.refusedLink);
        EXPECT_EQ(file.Reason(), followed.Reason());
        EXPECT_FALSE(CReplacingFile::ReplaceWith(asked.c_str(), "another's"));
    }
    EXPECT_EQ(ReadAll(mine / "case.qor"), "the user's case");
    EXPECT_TRUE(fs::is_symlink(shared / "project") && fs::is_symlink(shared / "case.qor"));

    ASSERT_TRUE(CReplacingFile::ReplaceWith((shared / "own/case.qor").c_str(), "the user's own link"));
    EXPECT_EQ(ReadAll(mine / "case.qor"), "the user's own link");
    EXPECT_EQ(qor::FollowLinks((shared / "own/case.qor").c_str()).target,
              CString::FromUtf8((mine / "case.qor").string()));

    // Clearing what ended saves left: never through the other's link, never another user's file.
    const std::string left = ".case.qor.qortmp-Zz9Yy8";
    std::ofstream(mine / left) << "an ended save's";
    std::ofstream(shared / left) << "another user's ended save";
    ASSERT_EQ(::chown((shared / left).c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(CReplacingFile::RemoveLeftoversIn((shared / "project").c_str()), 0);
    EXPECT_EQ(CReplacingFile::RemoveLeftoversIn(shared.c_str()), 0);
    EXPECT_TRUE(fs::exists(mine / left) && fs::exists(shared / left));
    EXPECT_EQ(CReplacingFile::RemoveLeftoversIn((shared / "own").c_str()), 1);
}
