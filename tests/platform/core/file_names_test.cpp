// File names as the system gives them: a name that is not UTF-8 (by any of the ways a byte string can
// fail to be) is kept apart from the name with U+FFFD in its place, and no file of it is opened.
#include "platform/core/FileChecks.h"

#include <gtest/gtest.h>

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
    const CString name = qor::DecodeFileName("/tmp/caf\xE9.qor");
    EXPECT_NE(name, CString(L"/tmp/caf\uFFFD.qor"));
    EXPECT_EQ(qor::ShownPath(name), CString(L"/tmp/caf\uFFFD.qor")) << "a message shows U+FFFD for the byte";
    CString reason;
    EXPECT_EQ(qor::OpenRegularFile(name, reason), -1);
    EXPECT_EQ(reason, qor::NotUtf8NameReason());
    EXPECT_EQ(qor::NotARegularFile(name), qor::NotUtf8NameReason());
}
