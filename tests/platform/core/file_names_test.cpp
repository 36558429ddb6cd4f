// File names as the system gives them: a name that is not UTF-8 is kept apart from the name with U+FFFD
// in its place, and no file of it is opened or replaced, even where both exist.
#include "platform/core/FileChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

TEST(FileNames, ANameThatIsNotUtf8IsNeverTakenForAnotherNorOpened)
{
    EXPECT_TRUE(qor::IsUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x89.qor"));
    // A stray byte, a character cut short, a longer form than needed, a surrogate, past U+10FFFF.
    for (const char* bad : {"caf\xE9.qor", "caf\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
    {
        EXPECT_FALSE(qor::IsUtf8(bad)) << bad;
        EXPECT_TRUE(qor::HasUndecodedBytes(qor::DecodeFileName(bad))) << bad;
    }
    EXPECT_EQ(qor::DecodeFileName("caf\xC3\xA9.qor"), CString(L"caf\u00E9.qor"));
    EXPECT_FALSE(qor::HasUndecodedBytes(CString(L"caf\uFFFD.qor")));

    const fs::path dir = fs::temp_directory_path() / ("qor-names-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string raw = (dir / "caf\xE9.qor").string(), replaced = (dir / "caf\xEF\xBF\xBD.qor").string();
    std::ofstream(raw) << "the file asked for";
    std::ofstream(replaced) << "another file";
    const CString name = qor::DecodeFileName(raw);
    EXPECT_NE(name, CString::FromUtf8(replaced));
    EXPECT_EQ(qor::ShownPath(name), CString::FromUtf8(replaced)) << "a message shows U+FFFD for the byte";
    CString reason;
    EXPECT_EQ(qor::OpenRegularFile(name, reason), -1);
    EXPECT_EQ(reason, qor::NotUtf8NameReason());
    EXPECT_EQ(qor::NotARegularFile(name), qor::NotUtf8NameReason());
    const int fd = qor::OpenRegularFile(CString::FromUtf8(replaced), reason);
    EXPECT_GE(fd, 0) << "a name holding U+FFFD itself is a name like any other";
    if (fd >= 0) ::close(fd);
    fs::remove_all(dir);
}
