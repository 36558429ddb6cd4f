// CString: formatting, searching, conversion and the framework's copy rules.
#include "platform/core/CString.h"
#include "platform/core/Errors.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Messages.h"
#include "platform/core/StringSerialization.h"

#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>
#include <boost/archive/text_iarchive.hpp>
#include <boost/archive/text_oarchive.hpp>
#include <boost/archive/xml_iarchive.hpp>
#include <boost/archive/xml_oarchive.hpp>
#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

TEST(CString, FormatFollowsWideRules)
{
    CString s;
    s.Format(L"%s|%S|%c|%d|%.3f|%5.1f|%x|%%|%I64d", L"wide", "narrow", L'W', -42, 12.5, 3.14159, 255, 1234567890123LL);
    EXPECT_EQ(s, L"wide|narrow|W|-42|12.500|  3.1|ff|%|1234567890123");
    CString t;
    t.Format(L"%.3f m span", 20.0);
    EXPECT_EQ(t, L"20.000 m span");
    CString big;
    big.Format(L"%s", std::wstring(5000, L'x').c_str());
    EXPECT_EQ(big.GetLength(), 5000);
    t.AppendFormat(L" (%d)", 3);
    EXPECT_EQ(t, L"20.000 m span (3)");
}

TEST(CString, EditingAndSearching)
{
    CString s(L"  Hello World  ");
    s.Trim();
    EXPECT_EQ(s, L"Hello World");
    EXPECT_EQ(s.Find(L"World"), 6);
    EXPECT_EQ(s.Find(L'z'), -1);
    EXPECT_EQ(s.ReverseFind(L'o'), 7);
    EXPECT_EQ(s.Left(5), L"Hello");
    EXPECT_EQ(s.Right(5), L"World");
    EXPECT_EQ(s.Mid(6, 100), L"World");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Replace(L"o", L"0"), 2);
    EXPECT_EQ(s, L"Hell0 W0rld");
    EXPECT_EQ(CString(L"abc").CompareNoCase(L"ABC"), 0);
    CString u(L"aÄb");
    u.MakeUpper();
    EXPECT_EQ(u.ToUtf8(), "AÄB");
    int pos = 0;
    CString csv(L"a;b;;c");
    std::vector<CString> parts;
    for (CString tok = csv.Tokenize(L";", pos); pos != -1; tok = csv.Tokenize(L";", pos)) parts.push_back(tok);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[2], L"c");
    wchar_t* buf = s.GetBuffer(32);
    buf[0] = L'X';
    buf[1] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"X");
}

TEST(CString, Utf8RoundTrip)
{
    CString s(u8"Brücke – 20 m ✓");
    EXPECT_EQ(s.GetLength(), 15);
    EXPECT_EQ(CString::FromUtf8(s.ToUtf8()), s);
    EXPECT_EQ(CString("\xff").GetLength(), 1); // invalid byte becomes a replacement character
}

template <class OA, class IA>
static CString RoundTrip(const CString& in)
{
    std::stringstream ss;
    {
        OA oa(ss);
        oa << boost::serialization::make_nvp("text", in);
    }
    CString out;
    IA ia(ss);
    ia >> boost::serialization::make_nvp("text", out);
    return out;
}

TEST(CString, ArchivesKeepNonAsciiText)
{
    CString text(u8"Pont de l'Île – ĀĒĪ 橋");
    EXPECT_EQ((RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(text)), text);
    EXPECT_EQ((RoundTrip<boost::archive::text_oarchive, boost::archive::text_iarchive>(text)), text);
    EXPECT_EQ((RoundTrip<boost::archive::binary_oarchive, boost::archive::binary_iarchive>(text)), text);
    EXPECT_EQ((RoundTrip<boost::archive::xml_oarchive, boost::archive::xml_iarchive>(CString())), CString());
}

TEST(CString, XmlHoldsOneValueItem)
{
    std::stringstream ss;
    {
        boost::archive::xml_oarchive oa(ss);
        CString s(L"a<b");
        oa << boost::serialization::make_nvp("m_Description", s);
    }
    EXPECT_NE(ss.str().find("<value>a&lt;b</value>"), std::string::npos) << ss.str();
}

TEST(Core, SubscriptErrorText)
{
    std::vector<int> v{1, 2};
    EXPECT_EQ(qor::At(v, 1), 2);
    try
    {
        qor::At(v, -1);
        FAIL();
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ(e.what(), "invalid vector<T> subscript");
    }
    EXPECT_THROW(qor::At(v, 2), std::out_of_range);
}

TEST(Core, RegisteredMessagesAreStableAcrossThreads)
{
    UINT a = RegisterWindowMessage(L"UWM_TEST_A");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage(L"UWM_TEST_A"), a);
    UINT fromThread = 0;
    std::thread([&] { fromThread = RegisterWindowMessage(L"UWM_TEST_A"); }).join();
    EXPECT_EQ(fromThread, a);
    EXPECT_NE(RegisterWindowMessage(L"UWM_TEST_B"), a);
}

TEST(Core, PostingWithoutReceiverFails)
{
    auto old = qor::SetPostSink({});
    qor::SetMainWindowHandle(reinterpret_cast<HWND>(0x10));
    EXPECT_FALSE(qor::PostToMainWindow(0xC000, 1, 0));
    std::vector<UINT> got;
    qor::SetPostSink([&](HWND, UINT m, WPARAM, LPARAM) {
        got.push_back(m);
        return true;
    });
    EXPECT_TRUE(qor::PostToMainWindow(0xC001, 1, 0));
    EXPECT_EQ(got, std::vector<UINT>{0xC001});
    qor::SetMainWindowHandle(nullptr);
    EXPECT_FALSE(qor::PostToMainWindow(0xC001, 1, 0));
    qor::SetPostSink(old);
}

TEST(Core, MessageBoxRecordsAndAnswersDefault)
{
    qor::ClearRecordedMessageBoxes();
    EXPECT_EQ(AfxMessageBox(L"Saved", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(AfxMessageBox(L"Continue?", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox(L"Continue?", MB_YESNO | MB_DEFBUTTON2), IDNO);
    auto shown = qor::RecordedMessageBoxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, L"Saved");
    EXPECT_EQ(shown[0].caption, L"QOR");
    auto old = qor::SetMessageBoxHandler([](const qor::MessageBoxCall&) { return IDNO; });
    EXPECT_EQ(AfxMessageBox(L"Q", MB_YESNO), IDNO);
    qor::SetMessageBoxHandler(old);
}
