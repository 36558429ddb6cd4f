// The user's folders: the home from $HOME or the user database, the XDG data and configuration folders
// below it or where their variables say, and never a folder that someone else may write to.
#include "platform/core/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// The variables the folders come from, as the test found them, put back when it ends; the user
// database's home is the system's again.
class PathsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : kNames)
            if (const char* value = std::getenv(name)) m_saved.emplace_back(name, value);
        std::string made = (fs::temp_directory_path() / "qor-paths-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(made.data()), nullptr);
        m_dir = made;
        ::unsetenv("HOME");
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override
    {
        qor::InjectUserDatabaseHome(std::nullopt);
        for (const char* name : kNames) ::unsetenv(name);
        for (const auto& [name, value] : m_saved) ::setenv(name.c_str(), value.c_str(), 1);
        std::error_code ec;
        fs::permissions(m_dir / "shared", fs::perms::owner_all, ec);
        fs::remove_all(m_dir, ec);
    }
    static CString Text(const fs::path& path) { return CString::FromUtf8(path.string()); }

    static constexpr const char* kNames[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"};
    std::vector<std::pair<std::string, std::string>> m_saved;
    fs::path m_dir;
};

TEST_F(PathsTest, FoldersComeFromHomeOrTheUserDatabaseAndNeverFromASharedOrRelativePlace)
{
    const fs::path home = m_dir / "home";
    fs::create_directory(home);

    // $HOME, with the XDG folders below it; a relative XDG variable is not used.
    ::setenv("HOME", (home.string() + "/").c_str(), 1);
    ::setenv("XDG_DATA_HOME", "relative/data", 1);
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(qor::GetHomeFolder(), Text(home));
    EXPECT_EQ(qor::GetAppDataFolder(), Text(home / ".local/share"));
    EXPECT_EQ(qor::GetConfigFolder(), Text(home / ".config"));
    EXPECT_FALSE(fs::exists(home / ".local")) << "nothing is made by asking";

    // An absolute XDG variable names the folder, missing or there.
    ::setenv("XDG_DATA_HOME", (m_dir / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_dir / "config/").c_str(), 1);
    EXPECT_EQ(qor::GetAppDataFolder(), Text(m_dir / "data"));
    EXPECT_EQ(qor::GetConfigFolder(), Text(m_dir / "config"));

    // Without $HOME the user database says where the home is; without a usable one there is none.
    ::unsetenv("HOME");
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    qor::InjectUserDatabaseHome(home.string());
    EXPECT_EQ(qor::GetHomeFolder(), Text(home));
    EXPECT_EQ(qor::GetAppDataFolder(), Text(home / ".local/share"));
    for (const std::string& none : {std::string(), std::string("/nonexistent-home-of-nobody"), std::string("home")})
    {
        qor::InjectUserDatabaseHome(none);
        EXPECT_TRUE(qor::GetHomeFolder().IsEmpty()) << none;
        EXPECT_TRUE(qor::GetAppDataFolder().IsEmpty()) << none;
        EXPECT_TRUE(qor::GetConfigFolder().IsEmpty()) << none;
    }

    // A folder others may write to (the shared /tmp, or one of ours opened to all) is never used, as the
    // home or on the way to a folder that would be made.
    const fs::path shared = m_dir / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    for (const fs::path& open : {fs::path("/tmp"), shared})
    {
        ::setenv("HOME", open.c_str(), 1);
        EXPECT_TRUE(qor::GetHomeFolder().IsEmpty()) << open;
        EXPECT_TRUE(qor::GetAppDataFolder().IsEmpty()) << open;
        ::setenv("XDG_DATA_HOME", (open / "qor-data").c_str(), 1);
        EXPECT_TRUE(qor::GetAppDataFolder().IsEmpty()) << open;
        EXPECT_FALSE(qor::MayKeepFilesIn(Text(open / "a" / "b"))) << open;
    }
    EXPECT_TRUE(qor::MayKeepFilesIn(Text(home / "a" / "b")));
    // A folder of ours is no better in a folder others may write to without the sticky bit: they may put
    // another in its place. Under the sticky bit (as the home in /tmp) only its owner may move it.
    const fs::path open = m_dir / "open", inOpen = open / "home";
    fs::create_directories(inOpen);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    ::setenv("HOME", inOpen.c_str(), 1);
    EXPECT_TRUE(qor::GetHomeFolder().IsEmpty());
    EXPECT_FALSE(qor::MayKeepFilesIn(Text(inOpen / "a")));
    ASSERT_EQ(::chmod(open.c_str(), 01777), 0);
    EXPECT_EQ(qor::GetHomeFolder(), Text(inOpen));
    EXPECT_TRUE(qor::MayKeepFilesIn(Text(inOpen / "a")));
    ASSERT_EQ(::chmod(open.c_str(), 0700), 0);
    EXPECT_FALSE(qor::MayKeepFilesIn(L"relative/folder"));
    EXPECT_TRUE(fs::is_empty(shared));
    EXPECT_EQ(qor::FolderOf(Text(home / "QOR.xml")), Text(home));
}

} // namespace
