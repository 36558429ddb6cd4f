// The string table: texts registered at start-up (one by one or as a table) are found by id
// through CString::LoadString, AfxLoadString and LoadString; unknown ids load nothing.
#include "platform/core/CString.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <thread>
#include <vector>

namespace {

enum : UINT
{
    IDS_SPAN = 61001,
    IDS_LOAD = 61002,
    IDS_GREEK = 61003,
    IDS_EMPTY = 61004,
    IDS_UNKNOWN = 61999
};

QOR_STRING_RESOURCE(IDS_SPAN, L"Span length");
QOR_STRING_RESOURCE(IDS_EMPTY, L"");
const qor::StringResource kTable[] = {
    {IDS_LOAD, L"Load Model Definition"},
    {IDS_GREEK, L"\u0394 = 5 \u00b5m"},
};
QOR_STRING_TABLE(kTable);

TEST(StringTable, ResourcesRegisteredAtStartUpLoadByID)
{
    CString s;
    EXPECT_TRUE(s.LoadString(IDS_SPAN));
    EXPECT_EQ(s, CString(L"Span length"));
    EXPECT_TRUE(s.LoadString(IDS_LOAD));
    EXPECT_EQ(s, CString(L"Load Model Definition"));
    EXPECT_TRUE(s.LoadString(IDS_GREEK));
    EXPECT_EQ(s, CString(L"\u0394 = 5 \u00b5m"));
    EXPECT_TRUE(s.LoadString(IDS_EMPTY)) << "an empty text is still a text";
    EXPECT_TRUE(s.IsEmpty());

    s = L"kept";
    EXPECT_FALSE(s.LoadString(IDS_UNKNOWN));
    EXPECT_EQ(s, CString(L"kept")) << "an unknown id leaves the string as it was";
    EXPECT_EQ(qor::FindString(IDS_UNKNOWN), nullptr);
}

TEST(StringTable, BufferFormsCutToTheBufferAndEndTheText)
{
    wchar_t buf[8];
    std::fill(std::begin(buf), std::end(buf), L'#');
    EXPECT_EQ(AfxLoadString(IDS_SPAN, buf, 8), 7);
    EXPECT_EQ(std::wstring(buf), L"Span le");
    EXPECT_EQ(AfxLoadString(IDS_SPAN, buf, 1), 0);
    EXPECT_EQ(buf[0], L'\0');
    wchar_t big[64];
    EXPECT_EQ(AfxLoadString(IDS_LOAD, big), 21);
    EXPECT_EQ(std::wstring(big), L"Load Model Definition");
    big[0] = L'x';
    EXPECT_EQ(AfxLoadString(IDS_UNKNOWN, big, 64), 0);
    EXPECT_EQ(big[0], L'\0');
    EXPECT_EQ(LoadString(nullptr, IDS_SPAN, big, 64), 11);
    EXPECT_EQ(std::wstring(big), L"Span length");
    EXPECT_EQ(LoadString(nullptr, IDS_SPAN, big, 0), 0);
    EXPECT_EQ(AfxLoadString(IDS_SPAN, nullptr, 10), 0);
}

TEST(StringTable, RegisteringAgainReplacesAndLookupsAreSafeFromThreads)
{
    qor::RegisterString(61100, L"first");
    qor::RegisterString(61100, L"second");
    CString s;
    ASSERT_TRUE(s.LoadString(61100));
    EXPECT_EQ(s, CString(L"second"));
    EXPECT_TRUE(qor::UnregisterString(61100));
    EXPECT_FALSE(qor::UnregisterString(61100));
    EXPECT_FALSE(s.LoadString(61100));

    // Workers load while the table grows.
    std::vector<std::thread> workers;
    std::atomic<int> bad{0};
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < 2000; ++i)
            {
                CString w;
                if (!w.LoadString(IDS_SPAN) || w != CString(L"Span length")) ++bad;
            }
        });
    for (UINT id = 62000; id < 62500; ++id) qor::RegisterString(id, L"x");
    for (auto& w : workers) w.join();
    EXPECT_EQ(bad.load(), 0);
    for (UINT id = 62000; id < 62500; ++id) qor::UnregisterString(id);
}

} // namespace
