// Case files through the program: a case with shared load models saved in both forms and opened again;
// either form opens whatever the setting; truncated or damaged files, and what is no file, are refused and leave
// the open case as it was; a failed save keeps the old file; a save replaces only what the user may write, asking
// before it changes an owner or links; recent files and the command line open cases one at a time.
#include "app_support.h"

#include "app/MainFrame.h"
#include "app/QORDoc.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/archive/CaseFileProgress.h"
#include "engine/case/CaseData.h"
#include "engine/case/CaseFile.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"
#include "platform/core/ReplacingFile.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class CaseFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = fs::path(TempFilePath("home"));
        UseFreshProfile(m_home);
        ASSERT_TRUE(StartApplication(m_app));
    }
    void TearDown() override
    {
        CCaseFileProgress::SetStepHook(nullptr);
        qor::CReplacingFile::SetSyncHook(nullptr);
        CQORDoc::SetFileProgressFrom(std::uint64_t{4} << 20);
        StopApplication(m_app);
        CSettings::GetInstance()->SetDefaults();
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }

    // Two bridges, a bridge set, two load models both also held by an ensemble, a reference collection.
    static void BuildCase(CQORDoc& doc)
    {
        doc.m_vBridge.push_back(std::make_shared<CBridge>(1, L"20 m single span", 1, 20.0));
        doc.m_vBridge.push_back(std::make_shared<CBridge>(2, L"Two spans", 2, 15.0));
        doc.m_vBridgeSet.push_back(std::make_shared<CBridgeSet>(1, L"1-50m 2-span Bridges", 2, 1.0, 50.0, 1.0));
        auto truck = std::make_shared<CLoadModel>(1, L"Truck");
        truck->AddPointLoad(60.0, 0.0, 0.0);
        truck->AddPointLoad(90.0, 4.0, 0.0);
        auto lane = std::make_shared<CLoadModel>(2, L"Lane");
        lane->AddUDL(9.0);
        doc.m_vLoadModel = {truck, lane};
        auto lme = std::make_shared<CLoadModelEnsemble>(1, L"Both");
        lme->AddLoadModel(truck);
        lme->AddLoadModel(lane);
        doc.m_vLoadModelEnsemble.push_back(lme);
        doc.m_vRefCollection.push_back(std::make_shared<CReferenceCollection>(1, L"Network", false, 20, 0.5));
        doc.m_sCaseRef = L"Route 12";
        doc.m_sCaseNotes = L"First line\r\nSecond line";
        doc.SetModifiedFlag(TRUE);
    }

    // Saves the active case through File > Save As.
    static void SaveAs(const std::string& path)
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(path));
        SendMenuCommand(ID_FILE_SAVE_AS);
    }

    static CQORDoc* Open(const std::string& path)
    {
        return DYNAMIC_DOWNCAST(CQORDoc, AfxGetApp()->OpenDocumentFile(CString::FromUtf8(path)));
    }

    static void ExpectTheCase(const CQORDoc& doc)
    {
        ASSERT_EQ(doc.m_vBridge.size(), 2u);
        EXPECT_EQ(doc.m_vBridge[1]->m_Description, CString(L"Two spans"));
        EXPECT_DOUBLE_EQ(doc.m_vBridge[1]->m_SpanLength, 15.0);
        ASSERT_EQ(doc.m_vBridgeSet.size(), 1u);
        ASSERT_EQ(doc.m_vLoadModel.size(), 2u);
        EXPECT_EQ(doc.m_vLoadModel[0]->m_vPL.size(), 2u);
        ASSERT_EQ(doc.m_vLoadModelEnsemble.size(), 1u);
        ASSERT_EQ(doc.m_vLoadModelEnsemble[0]->GetLoadModelCount(), 2);
        EXPECT_EQ(doc.m_vLoadModelEnsemble[0]->GetLoadModel(0), doc.m_vLoadModel[0]) << "shared models stay shared";
        EXPECT_EQ(doc.m_vLoadModelEnsemble[0]->GetLoadModel(1), doc.m_vLoadModel[1]);
        ASSERT_EQ(doc.m_vRefCollection.size(), 1u);
        EXPECT_EQ(doc.m_sCaseRef, CString(L"Route 12"));
        EXPECT_EQ(doc.m_sCaseNotes, CString(L"First line\r\nSecond line"));
        EXPECT_EQ(doc.m_nBridgeID, 2);
        EXPECT_EQ(doc.m_nBridgeSetID, 1);
        EXPECT_EQ(doc.m_nLoadModelID, 2);
        EXPECT_EQ(doc.m_nLMEID, 1);
        EXPECT_EQ(doc.m_nRefCollectionID, 1);
    }

    fs::path m_home;
    CQORApp m_app;
};

} // namespace

TEST_F(CaseFileTest, BinaryAndXmlCasesOpenAgainWithTheirSharingAndCounters)
{
    for (bool binary : {true, false})
    {
        SCOPED_TRACE(binary ? "binary" : "XML");
        CSettings::GetInstance()->General.USEBINARYFILEFORMAT = binary;
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        BuildCase(*doc);
        const std::string path = TempFilePath(binary ? "case-bin.qor" : "case-xml.qor");
        SaveAs(path);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(doc->m_nBridgeID, 2) << "counters follow the lists after a save";
        if (!binary)
        {
            EXPECT_NE(ReadAll(path).find("QORConfig"), std::string::npos);
        }
        // The file's own form opens it, whatever the setting; the setting decides the form of the next save.
        CSettings::GetInstance()->General.USEBINARYFILEFORMAT = !binary;
        ScriptedMessageBoxes boxes;
        CQORDoc* opened = Open(path);
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_EQ(CQORDoc::GetActiveDoc(), opened);
        EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
        ExpectTheCase(*opened);
        const std::string again = TempFilePath(binary ? "case-bin-again.qor" : "case-xml-again.qor");
        SaveAs(again);
        EXPECT_EQ(ReadAll(again).rfind("<?xml", 0) == 0, binary) << "saved in the setting's form";
        ExpectTheCase(*Open(again));
        SendMenuCommand(ID_FILE_NEW);
    }
}

TEST_F(CaseFileTest, RefusedFilesLeaveTheOpenCaseAsItWas)
{
    CSettings::GetInstance()->General.USEBINARYFILEFORMAT = true;
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    const std::string path = TempFilePath("good.qor");
    SaveAs(path);
    const std::string good = ReadAll(path);
    CSettings::GetInstance()->General.USEBINARYFILEFORMAT = false;
    const std::string xmlPath = TempFilePath("good-xml.qor");
    SaveAs(xmlPath);
    const std::string goodXml = ReadAll(xmlPath);
    ASSERT_GT(good.size(), 100u);
    ASSERT_GT(goodXml.size(), 100u);

    struct Bad
    {
        const char* name;
        std::string bytes;
        bool binary;
    };
    // The second bridge's spans given one by one, the first of them -1 m.
    std::string unusable = goodXml;
    const std::size_t config = unusable.find("<m_Config>2</m_Config>");
    unusable.replace(config, 22, "<m_Config>4</m_Config>");
    const std::size_t span = unusable.find("<item>", unusable.find("<m_vSpans>", config)) + 6;
    unusable.replace(span, unusable.find("</item>", span) - span, "-1");
    // A flipped byte in the archive's signature, and a broken tag in the XML body.
    std::string flipped = good;
    flipped[8] = static_cast<char>(flipped[8] ^ 0x5A);
    std::string flippedXml = goodXml;
    flippedXml[goodXml.find("<m_vLoadModel") + 1] = '#';
    const std::vector<Bad> bad = {
        {"truncated binary", good.substr(0, good.size() / 2), true},
        {"truncated XML", goodXml.substr(0, goodXml.size() / 2), false},
        {"flipped binary", flipped, true},
        {"flipped XML", flippedXml, false},
        {"empty", "", true},
        // The archive's signature and nothing more (once an abort inside the archive library).
        {"signature only", good.substr(0, 30), true},
        // Refused after the bridges and load models were made: they go with the refusal.
        {"XML refused late", goodXml.substr(0, goodXml.rfind("<m_vRefCollection")) + "</boost_serialization>\n", false},
        // Read whole, and refused by the program's own check of the case.
        {"span of -1 m", unusable, false},
        // A case of a later version than this program writes.
        {"newer case", std::string(goodXml).replace(goodXml.find("version=\"0\""), 11, "version=\"1\""), false},
    };
    doc = CQORDoc::GetActiveDoc();
    doc->m_sCaseRef = L"Open case";
    doc->SetModifiedFlag(FALSE);
    for (const Bad& b : bad)
    {
        SCOPED_TRACE(b.name);
        CSettings::GetInstance()->General.USEBINARYFILEFORMAT = b.binary;
        const std::string badPath = TempFilePath("bad.qor");
        WriteAll(badPath, b.bytes);
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        EXPECT_EQ(Open(badPath), nullptr);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        const CString& text = boxes.Shown()[0].text;
        // The specified first line, then the file and the reason in the user's words; for a file the archive
        // library refused, its words and what they may mean. Never a word of an analysis: none was made.
        EXPECT_EQ(text.Find(L"Problem loading file; file is not opened.\n" + CString::FromUtf8(badPath) + L": "), 0)
            << text.ToUtf8();
        const bool library = std::string(b.name) != "span of -1 m";
        const int boost = text.Find(L"\nBoost reports: ");
        EXPECT_EQ(boost != -1, library) << text.ToUtf8();
        EXPECT_EQ(text.Find(L"\nPossibly: (") > boost, library) << text.ToUtf8();
        EXPECT_EQ(text.Find(L"analysis"), -1) << text.ToUtf8();
        if (!library)
        {
            EXPECT_NE(text.Find(L": the file is damaged"), -1) << text.ToUtf8();
            EXPECT_NE(text.Find(L"bridge 2 of the case"), -1) << text.ToUtf8();
        }
        if (std::string(b.name) == "truncated binary")
        {
            EXPECT_NE(text.Find(L"a count is larger than the file"), -1) << text.ToUtf8();
        }
        if (std::string(b.name) == "truncated XML" || std::string(b.name) == "signature only")
        {
            EXPECT_NE(text.Find(L"the file ends early"), -1) << text.ToUtf8();
        }
        // Damaged inside, the line; of a later version, the element.
        if (std::string(b.name) == "flipped XML")
        {
            EXPECT_NE(text.Find(L": the file's XML is damaged or does not hold a QOR case (line "), -1)
                << text.ToUtf8();
        }
        if (std::string(b.name) == "newer case")
        {
            EXPECT_NE(text.Find(L": it was written by a newer version of QOR (reading the case, line 4)"), -1)
                << text.ToUtf8();
        }
        ASSERT_EQ(CQORDoc::GetActiveDoc(), doc) << "the open case stays";
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Open case"));
        EXPECT_EQ(doc->m_vBridge.size(), 2u);
    }
}

TEST_F(CaseFileTest, AnOpenTakesTheCaseItsCheckReadInsteadOfReadingTheFileAgain)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    const std::string path = TempFilePath("checked.qor");
    SaveAs(path);
    const CString wide = CString::FromUtf8(path);
    {
        SCOPED_TRACE("the file spoilt between the check and the open");
        ASSERT_TRUE(CQORDoc::CheckCaseFile(wide));
        WriteAll(path, "not a case");
        auto* opened = DYNAMIC_DOWNCAST(CQORDoc, m_app.m_pDocTemplate->OpenDocumentFile(wide));
        ASSERT_NE(opened, nullptr);
        ExpectTheCase(*opened);
        opened->OnCloseDocument();
    }
    {
        SCOPED_TRACE("the checked case is taken once: the next open reads the file");
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        EXPECT_EQ(m_app.m_pDocTemplate->OpenDocumentFile(wide), nullptr);
        EXPECT_EQ(boxes.Shown().size(), 1u);
    }
    {
        SCOPED_TRACE("a check of another file, or one forgotten, is not taken");
        SaveAs(path);
        const std::string other = TempFilePath("other.qor");
        WriteAll(other, ReadAll(path));
        ASSERT_TRUE(CQORDoc::CheckCaseFile(CString::FromUtf8(other)));
        WriteAll(other, "not a case");
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        auto* opened = DYNAMIC_DOWNCAST(CQORDoc, m_app.m_pDocTemplate->OpenDocumentFile(wide));
        ASSERT_NE(opened, nullptr);
        opened->OnCloseDocument();
        ASSERT_TRUE(CQORDoc::CheckCaseFile(wide));
        CQORDoc::ForgetCheckedCase();
        WriteAll(path, "not a case");
        EXPECT_EQ(m_app.m_pDocTemplate->OpenDocumentFile(wide), nullptr);
        EXPECT_EQ(boxes.Shown().size(), 1u);
    }
}

TEST_F(CaseFileTest, FailedSaveKeepsTheOldFileAndTheModifiedFlag)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    const std::string path = TempFilePath("case.qor");
    SaveAs(path);
    const std::string before = ReadAll(path);
    ASSERT_GT(before.size(), 64u);
    doc->m_sCaseRef = L"Changed";
    doc->SetModifiedFlag(TRUE);
    const fs::path settingsFolder = TempFilePath("settings");
    fs::create_directories(settingsFolder);
    const fs::path settings = settingsFolder / "QOR.xml";
    {
        // A file-size limit of 64 bytes: the program goes on (no SIGXFSZ ends it) and says why.
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 64;
        ::setrlimit(RLIMIT_FSIZE, &small);
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        boxes.Answer(IDOK);
        SendMenuCommand(ID_FILE_SAVE);
        // The settings file, as the exit writes it.
        EXPECT_FALSE(CSettings::GetInstance()->Save(CString::FromUtf8(settings.string())));
        ::setrlimit(RLIMIT_FSIZE, &old);
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[1].text.Find(L"Problem saving file.\n" + CString::FromUtf8(settings.string()) +
                                             L": File too large\n"),
                  0)
            << boxes.Shown()[1].text.ToUtf8();
        // The system's reason follows the file.
        EXPECT_EQ(boxes.Shown()[0].text.Find(L"Problem saving file: file is not saved.\n" + CString::FromUtf8(path) +
                                             L": the file could not be written"),
                  0)
            << boxes.Shown()[0].text.ToUtf8();
        EXPECT_NE(boxes.Shown()[0].text.Find(L"File too large"), -1) << boxes.Shown()[0].text.ToUtf8();
    }
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_TRUE(doc->IsModified());
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path()))
        EXPECT_EQ(entry.path().string().find("case.qor."), std::string::npos) << "no temporary file is left";
    EXPECT_TRUE(fs::is_empty(settingsFolder)) << "no temporary settings file is left";
}

TEST_F(CaseFileTest, ASaveWaitsForASlowDiskOffTheWindowThreadAndAFailedSyncKeepsTheOldFile)
{
    // The disk takes 2 s over each sync of the case's file (the file's, then its folder's) and 0.3 s
    // over any other (the recent-file list in the profile); the case goes through the worker as a
    // large one does. The window thread keeps running its timers throughout, and the file is the case's
    // archive. A sync that fails says why and leaves the old file and the modified flag.
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    BuildCase(*doc);
    CQORDoc::SetFileProgressFrom(0);
    const std::string path = TempFilePath("slow.qor");
    const std::string folder = fs::path(path).parent_path().string();
    const std::string fileName = fs::path(path).filename().string();
    std::vector<std::string> caseSyncs;
    int otherSyncs = 0;
    qor::CReplacingFile::SetSyncHook([&](const std::string& name) {
        const bool ofTheCase =
            name == folder || qor::CReplacingFile::IsTemporaryName(fs::path(name).filename().string(), fileName);
        if (ofTheCase) caseSyncs.push_back(name);
        otherSyncs += ofTheCase ? 0 : 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(ofTheCase ? 2000 : 300));
        return 0;
    });
    PauseMeter meter;
    SaveAs(path);
    const double heldMs = meter.LongestMs();
    const int ticks = meter.Ticks();
    qor::CReplacingFile::SetSyncHook(nullptr);
    ASSERT_EQ(caseSyncs.size(), 2u);
    EXPECT_EQ(caseSyncs[1], folder) << "the file's sync, then its folder's";
    EXPECT_GT(otherSyncs, 0) << "the recent-file list was written";
    EXPECT_LT(heldMs, 250.0) << "the window thread waited for the disk";
    EXPECT_GT(ticks, 100) << "its timers ran while the disk took its time";
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), CString::FromUtf8(path));
    const std::string saved = ReadAll(path);
    CCaseData back;
    std::istringstream in(saved, std::ios::in | std::ios::binary);
    ASSERT_NO_THROW(LoadCase(in, back)) << "the case, whole";
    EXPECT_EQ(back.m_sCaseNotes, CString(L"First line\r\nSecond line"));
    EXPECT_EQ(back.m_vLoadModelEnsemble.size(), 1u);

    CQORDoc::SetFileProgressFrom(std::uint64_t{4} << 20);
    doc->m_sCaseRef = L"Changed";
    doc->SetModifiedFlag(TRUE);
    qor::CReplacingFile::SetSyncHook([](const std::string&) { return EIO; });
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    SendMenuCommand(ID_FILE_SAVE);
    qor::CReplacingFile::SetSyncHook(nullptr);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              L"Problem saving file: file is not saved.\n" + CString::FromUtf8(path) + L": Input/output error")
        << boxes.Shown()[0].text.ToUtf8();
    EXPECT_TRUE(ReadAll(path) == saved) << "the old file stays whole";
    EXPECT_TRUE(doc->IsModified());
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path()))
        EXPECT_FALSE(qor::CReplacingFile::IsTemporaryName(entry.path().filename().string()))
            << "no temporary file is left: " << entry.path();
    fs::remove(path);
}

TEST_F(CaseFileTest, SavesGoThroughALinkToItsFileAndSayTheSystemsReason)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    // A link to a case file of the owner's permissions only: the file gets the new case and keeps
    // its permissions; the link stays a link.
    const fs::path folder = fs::path(TempFilePath("linked")).parent_path() / "linked-folder";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path target = folder / "real.qor";
    WriteAll(target.string(), "old content");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = folder / "link.qor";
    fs::create_symlink("real.qor", link);
    doc->m_sCaseRef = L"Through the link";
    SaveAs(link.string());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_NE(ReadAll(target.string()), "old content");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_TRUE(entry.path() == target || entry.path() == link) << entry.path();

    // A folder the user may not write to: the message names the file and the system's reason. As
    // root, whom the folder's permissions do not stop, the system's refusal to make the file is
    // injected where the file is made.
    const bool root = ::geteuid() == 0;
    if (root)
        qor::CReplacingFile::InjectOpenFault(EACCES);
    else
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    doc->SetModifiedFlag(TRUE);
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        SendMenuCommand(ID_FILE_SAVE);
        qor::CReplacingFile::InjectOpenFault(0);
        fs::permissions(folder, fs::perms::owner_all);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, L"Problem saving file: file is not saved.\n" +
                                             CString::FromUtf8(link.string()) + L": Permission denied");
    }
    EXPECT_TRUE(doc->IsModified());
    EXPECT_NE(ReadAll(target.string()), "old content");
}

TEST_F(CaseFileTest, AReadOnlyCaseIsNeverWrittenAndSaveAsksForAnotherName)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    const std::string path = TempFilePath("read-only.qor");
    SaveAs(path);
    ::chmod(path.c_str(), 0444);
    const std::string before = ReadAll(path);
    doc->m_sCaseRef = L"Changed";
    doc->SetModifiedFlag(TRUE);
    const std::string other = TempFilePath("writable.qor");
    fs::remove(other);
    {
        // Save opens Save As; the same file chosen there is refused and the dialog comes again.
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(path));
        files.Answer(CString::FromUtf8(other));
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        SendMenuCommand(ID_FILE_SAVE);
        EXPECT_EQ(files.Shown(), 2);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text,
                  CString::FromUtf8(path) + L" is read-only.\nTry again with a different file name.");
    }
    EXPECT_EQ(ReadAll(path), before);
    struct stat st
    {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(doc->GetPathName(), CString::FromUtf8(other));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_GT(ReadAll(other).size(), 100u);
    // A save that reaches the file (not through the commands) is refused with the reason.
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        EXPECT_FALSE(doc->OnSaveDocument(CString::FromUtf8(path)));
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text,
                  L"Problem saving file: file is not saved.\n" + CString::FromUtf8(path) + L": the file is read-only");
    }
    EXPECT_EQ(ReadAll(path), before);
    ::chmod(path.c_str(), 0644);
}

namespace {

// For its life the test runs as nobody (user and group 65534, no other groups) when it runs as
// root, so that the system's own decisions about another user's files apply; Active() says so.
class AsNobody
{
public:
    AsNobody()
    {
        if (::geteuid() != 0) return;
        m_groups.resize(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
        if (::getgroups(static_cast<int>(m_groups.size()), m_groups.data()) < 0) m_groups.clear();
        m_gid = ::getegid();
        m_active =
            ::setgroups(0, nullptr) == 0 && ::setresgid(-1, kNobody, -1) == 0 && ::setresuid(-1, kNobody, -1) == 0;
        m_root = true;
    }
    ~AsNobody()
    {
        if (!m_root) return;
        EXPECT_EQ(::setresuid(-1, 0, -1), 0);
        EXPECT_EQ(::setresgid(-1, m_gid, -1), 0);
        EXPECT_EQ(::setgroups(m_groups.size(), m_groups.data()), 0);
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;
    bool Active() const { return m_active; }

    static constexpr uid_t kNobody = 65534;

private:
    bool m_root = false;
    bool m_active = false;
    gid_t m_gid = 0;
    std::vector<gid_t> m_groups;
};

struct stat StatOf(const fs::path& path)
{
    struct stat st
    {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

} // namespace

TEST_F(CaseFileTest, ASaveReplacesOnlyWhatTheUserMayWriteAndAsksBeforeItChangesOwnerOrLinks)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    const fs::path folder = TempFilePath("owners");
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::all); // anyone may make and rename files here
    // The bytes a save writes (once saved, as a save leaves the case).
    SaveAs((folder / "reference.qor").string());
    SaveAs((folder / "reference.qor").string());
    const std::string saved = ReadAll((folder / "reference.qor").string());
    auto made = [&](const char* name, const char* bytes, mode_t mode) {
        const fs::path path = folder / name;
        WriteAll(path.string(), bytes);
        ::chmod(path.c_str(), mode);
        return path;
    };
    auto saveAnswering = [&](const fs::path& path, int answer) {
        doc->SetPathName(CString::FromUtf8(path.string()), FALSE);
        doc->SetModifiedFlag(TRUE);
        DrivenFileDialogs files; // Save As, when it comes, is cancelled
        ScriptedMessageBoxes boxes;
        boxes.Answer(answer);
        SendMenuCommand(ID_FILE_SAVE);
        std::vector<CString> shown;
        for (const auto& box : boxes.Shown()) shown.push_back(box.text);
        return std::make_pair(shown, files.Shown());
    };
    const CString kLinks = L" has other names (hard links), which will keep the old file.\nReplace it with a new file?";

    {
        SCOPED_TRACE(
            "a file with another name: No opens Save As, Yes replaces this name's file, keeping mode and group");
        const fs::path linked = made("linked.qor", "old case", 0640);
        const gid_t group = ::getegid() == 0 ? 100 : ::getegid(); // a group this user may give
        ASSERT_EQ(::chown(linked.c_str(), static_cast<uid_t>(-1), group), 0);
        fs::create_hard_link(linked, folder / "other-name.qor");
        const auto no = saveAnswering(linked, IDNO);
        ASSERT_EQ(no.first.size(), 1u);
        EXPECT_EQ(no.first[0], CString::FromUtf8(linked.string()) + kLinks);
        EXPECT_EQ(no.second, 1) << "Save As came";
        EXPECT_EQ(ReadAll(linked.string()), "old case");
        EXPECT_TRUE(doc->IsModified());
        const auto yes = saveAnswering(linked, IDYES);
        EXPECT_EQ(yes.first.size(), 1u);
        EXPECT_EQ(yes.second, 0);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_TRUE(ReadAll(linked.string()) == saved) << "the bytes of any save";
        EXPECT_EQ(ReadAll((folder / "other-name.qor").string()), "old case");
        EXPECT_EQ(StatOf(linked).st_mode & 07777, 0640u);
        EXPECT_EQ(StatOf(linked).st_gid, group);
    }

    const fs::path theirs = made("theirs.qor", "their case", 0644);
    const fs::path shared = made("shared.qor", "shared case", 0666);
    const fs::path locked = folder / "read-only-folder";
    fs::create_directories(locked);
    const fs::path kept = made("read-only-folder/kept.qor", "kept case", 0644);
    if (::geteuid() == 0)
    {
        ASSERT_EQ(::chown(kept.c_str(), AsNobody::kNobody, AsNobody::kNobody), 0);
    }
    const fs::perms readAndEnter = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(locked, readAndEnter);
    {
        AsNobody user; // as root: the files above are another user's from here on
        if (user.Active())
        {
            {
                SCOPED_TRACE("another user's file this user may not write: Save As, where it is refused");
                doc->SetPathName(CString::FromUtf8(theirs.string()), FALSE);
                doc->SetModifiedFlag(TRUE);
                const fs::path mine = folder / "mine.qor";
                DrivenFileDialogs files;
                files.Answer(CString::FromUtf8(theirs.string()));
                files.Answer(CString::FromUtf8(mine.string()));
                ScriptedMessageBoxes boxes;
                boxes.Answer(IDOK);
                SendMenuCommand(ID_FILE_SAVE);
                EXPECT_EQ(files.Shown(), 2);
                ASSERT_EQ(boxes.Shown().size(), 1u);
                EXPECT_EQ(boxes.Shown()[0].text, CString::FromUtf8(theirs.string()) +
                                                     L" is read-only.\nTry again with a different file name.");
                EXPECT_EQ(ReadAll(theirs.string()), "their case");
                EXPECT_EQ(StatOf(theirs).st_uid, 0u);
                EXPECT_EQ(StatOf(mine).st_uid, AsNobody::kNobody);
                EXPECT_TRUE(ReadAll(mine.string()) == saved);
            }
            {
                SCOPED_TRACE("another user's file this user may write: asked; Yes makes it the user's");
                const CString question = CString::FromUtf8(shared.string()) +
                                         L" belongs to another user.\nReplace it with a file of your own?";
                const auto no = saveAnswering(shared, IDNO);
                ASSERT_EQ(no.first.size(), 1u);
                EXPECT_EQ(no.first[0], question);
                EXPECT_EQ(no.second, 1);
                EXPECT_EQ(ReadAll(shared.string()), "shared case");
                EXPECT_EQ(StatOf(shared).st_uid, 0u);
                const auto yes = saveAnswering(shared, IDYES);
                ASSERT_EQ(yes.first.size(), 1u);
                EXPECT_EQ(yes.first[0], question);
                EXPECT_TRUE(ReadAll(shared.string()) == saved);
                EXPECT_EQ(StatOf(shared).st_uid, AsNobody::kNobody);
                EXPECT_NE(StatOf(shared).st_gid, 0u) << "not a group of this user's";
                EXPECT_EQ(StatOf(shared).st_mode & 07777, 0666u);
            }
        }
        if (user.Active() || ::geteuid() != 0)
        {
            SCOPED_TRACE("a folder this user may not write: the file as it was, and the system's reason");
            const auto refused = saveAnswering(kept, IDOK);
            ASSERT_EQ(refused.first.size(), 1u);
            EXPECT_EQ(refused.first[0], L"Problem saving file: file is not saved.\n" +
                                            CString::FromUtf8(kept.string()) + L": Permission denied");
            EXPECT_EQ(ReadAll(kept.string()), "kept case");
            EXPECT_TRUE(doc->IsModified());
            EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1);
        }
    }
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(CaseFileTest, WhatIsNoRegularFileIsRefusedBeforeItIsReadAndACaseIsReadOnAWorker)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    const std::string good = TempFilePath("small.qor");
    SaveAs(good);
    doc->m_sCaseRef = L"Open case";
    doc->SetModifiedFlag(FALSE);
    const fs::path folder = TempFilePath("not-files");
    fs::create_directories(folder / "folder.qor");
    ASSERT_EQ(::mkfifo((folder / "pipe.qor").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", folder / "zero.qor");
    const CString device = L"it is a device, not a file";
    const std::vector<std::pair<std::string, CString>> refused = {
        {"/dev/zero", device},
        {"/dev/urandom", device},
        {(folder / "zero.qor").string(), device},
        {(folder / "pipe.qor").string(), L"it is a pipe, not a file"},
        {(folder / "folder.qor").string(), L"it is a folder, not a file"},
    };
    for (const auto& [path, reason] : refused)
    {
        SCOPED_TRACE(path);
        const CString text = L"Problem loading file; file is not opened.\n" + CString::FromUtf8(path) + L": " + reason;
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        boxes.Answer(IDOK);
        EXPECT_EQ(Open(path), nullptr);
        // The framework's own open, without the program's check, refuses it too.
        EXPECT_EQ(m_app.m_pDocTemplate->OpenDocumentFile(CString::FromUtf8(path)), nullptr);
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Shown()[0].text, text);
        EXPECT_EQ(boxes.Shown()[1].text, text);
        EXPECT_EQ(CQORDoc::GetActiveDoc(), doc);
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Open case"));
    }

    // A small case is read off the window thread too.
    static std::thread::id windowThread;
    static std::atomic<int> readOnWindowThread, readElsewhere;
    windowThread = std::this_thread::get_id();
    readOnWindowThread = readElsewhere = 0;
    CCaseFileProgress::SetStepHook([](const CCaseFileProgress&) {
        ++(std::this_thread::get_id() == windowThread ? readOnWindowThread : readElsewhere);
    });
    ScriptedMessageBoxes boxes;
    CQORDoc* opened = Open(good);
    CCaseFileProgress::SetStepHook(nullptr);
    ASSERT_NE(opened, nullptr);
    ExpectTheCase(*opened);
    EXPECT_EQ(readOnWindowThread.load(), 0);
    EXPECT_GT(readElsewhere.load(), 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(CaseFileTest, OpeningOrSavingACaseRemovesWhatEndedSavesLeftInItsFolder)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    const fs::path folder = fs::path(TempFilePath("beside")).parent_path() / "beside-folder";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path path = folder / "case.qor";
    SaveAs(path.string());
    auto names = [&] {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename().string());
        return found;
    };
    for (bool opening : {true, false})
    {
        SCOPED_TRACE(opening ? "open" : "save");
        // Two saves of this case and one of another killed before they ended, a save of another run
        // still writing, and a file not ours.
        // (Named while it is written, as on a file system without unnamed files.)
        qor::CReplacingFile live;
        qor::CReplacingFile::UseUnnamedFiles(false);
        ASSERT_TRUE(live.Open(CString::FromUtf8(path.string())));
        qor::CReplacingFile::UseUnnamedFiles(true);
        WriteAll((folder / ".case.qor.qortmp-Kill01").string(), "partial");
        WriteAll((folder / ".case.qor.qortmp-Kill02").string(), "partial");
        WriteAll((folder / ".other.qor.qortmp-Kill03").string(), "partial");
        WriteAll((folder / "case.qor.backup").string(), "the user's");
        std::set<std::string> before = names();
        ASSERT_EQ(before.size(), 6u);
        if (opening)
        {
            doc->SetModifiedFlag(FALSE);
            ASSERT_NE(Open(path.string()), nullptr);
            doc = CQORDoc::GetActiveDoc();
        }
        else
        {
            doc->SetModifiedFlag(TRUE);
            SendMenuCommand(ID_FILE_SAVE);
            EXPECT_FALSE(doc->IsModified());
        }
        before.erase(".case.qor.qortmp-Kill01");
        before.erase(".case.qor.qortmp-Kill02");
        before.erase(".other.qor.qortmp-Kill03");
        EXPECT_EQ(names(), before);
    }
    fs::remove_all(folder);
}

TEST_F(CaseFileTest, RecentFilesAndTheCommandLineOpenOneCaseAtATime)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    BuildCase(*doc);
    const std::string path = TempFilePath("recent.qor");
    SaveAs(path);
    ASSERT_GE(m_app.m_pRecentFileList->GetCount(), 1);
    ASSERT_EQ((*m_app.m_pRecentFileList)[0], CString::FromUtf8(path));
    // The File menu lists the files the list holds and no empty places; the case window takes the new name.
    auto* main = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    ASSERT_NE(main, nullptr);
    main->UpdateMenuPopup(0);
    for (int i = 0; i < 4; ++i)
    {
        BOOL shown = FALSE;
        ASSERT_TRUE(main->GetMenuItemState(ID_FILE_MRU_FILE1 + i, nullptr, nullptr, nullptr, &shown));
        EXPECT_EQ(shown != FALSE, i < m_app.m_pRecentFileList->GetCount()) << i;
    }
    CString caption;
    main->MDIGetActive()->GetWindowText(caption);
    EXPECT_EQ(caption, CString::FromUtf8(fs::path(path).filename().string()));

    SendMenuCommand(ID_FILE_NEW);
    CQORDoc* fresh = CQORDoc::GetActiveDoc();
    fresh->m_sCaseRef = L"Unsaved";
    fresh->SetModifiedFlag(TRUE);
    {
        // Cancel: the case stays and the file stays in the list.
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDCANCEL);
        SendMenuCommand(ID_FILE_MRU_FILE1);
        EXPECT_EQ(CQORDoc::GetActiveDoc(), fresh);
        EXPECT_EQ((*m_app.m_pRecentFileList)[0], CString::FromUtf8(path));
    }
    {
        // Yes: the case is saved first (to a name the user gives), then the file opens.
        const std::string unsaved = TempFilePath("unsaved.qor");
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(unsaved));
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDYES);
        SendMenuCommand(ID_FILE_MRU_FILE1);
        ASSERT_TRUE(fs::exists(unsaved));
        ASSERT_NE(CQORDoc::GetActiveDoc(), nullptr);
        ExpectTheCase(*CQORDoc::GetActiveDoc());
    }
    // A file that has gone is reported and leaves the list.
    const int before = m_app.m_pRecentFileList->GetCount();
    fs::remove(path);
    int index = -1;
    for (int i = 0; i < m_app.m_pRecentFileList->GetCount(); ++i)
        if ((*m_app.m_pRecentFileList)[i] == CString::FromUtf8(path)) index = i;
    ASSERT_GE(index, 0);
    {
        ScriptedMessageBoxes boxes;
        boxes.Answer(IDOK);
        SendMenuCommand(ID_FILE_MRU_FILE1 + static_cast<UINT>(index));
        EXPECT_EQ(boxes.Shown().size(), 1u);
    }
    EXPECT_EQ(m_app.m_pRecentFileList->GetCount(), before - 1);

    // A file dropped on the main window opens in place of the open case.
    const std::string dropped = TempFilePath("dropped.qor");
    SaveAs(dropped);
    SendMenuCommand(ID_FILE_NEW);
    qor::gui::DropFiles(AfxGetMainWnd(), {CString::FromUtf8(dropped)});
    ASSERT_NE(CQORDoc::GetActiveDoc(), nullptr);
    EXPECT_EQ(CQORDoc::GetActiveDoc()->GetPathName(), CString::FromUtf8(dropped));
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);

    // The command line's file opens in place of the open case.
    const std::string other = TempFilePath("cmdline.qor");
    SaveAs(other);
    SendMenuCommand(ID_FILE_NEW);
    CCommandLineInfo info;
    info.m_nShellCommand = CCommandLineInfo::FileOpen;
    info.m_strFileName = CString::FromUtf8(other);
    ASSERT_TRUE(m_app.ProcessShellCommand(info));
    ASSERT_NE(CQORDoc::GetActiveDoc(), nullptr);
    EXPECT_EQ(CQORDoc::GetActiveDoc()->GetPathName(), CString::FromUtf8(other));
    ExpectTheCase(*CQORDoc::GetActiveDoc());
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
}

TEST_F(CaseFileTest, ACaseWithALongDescriptionOpensInTimeProportionalToItsSize)
{
    // 5 MB of notes, of case reference and of a bridge's description (shown in the element
    // tree): a step quadratic in the text's length takes tens of seconds here.
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    BuildCase(*doc);
    std::wstring notes;
    while (notes.size() < 5'000'000) notes += L"Bridge 12 <deck> & girders: inspected 2024, fine.\r\n";
    doc->m_sCaseNotes = CString(notes.c_str());
    doc->m_sCaseRef = CString(notes.c_str());
    doc->m_vBridge[0]->m_Description = CString(notes.c_str());
    const std::string path = TempFilePath("long-notes.qor");
    SaveAs(path);
    SendMenuCommand(ID_FILE_NEW);
    ScriptedMessageBoxes boxes;
    const auto start = std::chrono::steady_clock::now();
    CQORDoc* opened = Open(path);
    Pump(50);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->m_sCaseNotes.GetLength(), static_cast<int>(notes.size()));
    EXPECT_EQ(opened->m_vBridge[0]->m_Description.GetLength(), static_cast<int>(notes.size()));
    EXPECT_TRUE(boxes.Shown().empty());
}

namespace {

// What the status bar's progress pane showed each time a timer of the window thread came round.
std::vector<long> g_shownProgress;
// The bar was seen part of the way; until then the work waits there, however fast the machine.
std::atomic<bool> g_partWayShown{false};

void RecordProgress(HWND, UINT, UINT_PTR, DWORD)
{
    if (auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()))
    {
        const long shown = frame->GetStatusBar().GetPaneProgress(1);
        g_shownProgress.push_back(shown);
        if (shown > 0 && shown < 100) g_partWayShown = true;
    }
}

void HoldPartWayUntilShown(const CCaseFileProgress& progress)
{
    const int percent = progress.Percent();
    if (percent <= 0 || percent >= 99) return;
    // Bounded only so that a window that never shows it fails the test instead of hanging it.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!g_partWayShown.load() && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
    g_partWayShown = true; // held once
}

// The case of the fixture file with every envelope's points repeated: a file of some megabytes.
CCaseData LargeCase()
{
    const char* folder = std::getenv("QOR_TEST_DATA");
    std::ifstream in(std::string(folder ? folder : ".") + "/two_collections.qor", std::ios::binary);
    CCaseData data;
    LoadCase(in, data);
    for (const auto& collection : data.m_vRefCollection)
        for (const auto& set : collection->m_vRefSet)
            for (const auto& results : set->m_vRefCritEnv)
                for (const auto& envelope : {results->m_pEnvBMD, results->m_pEnvSFD})
                    for (auto* points : {&envelope->m_vMax, &envelope->m_vMin})
                    {
                        const auto one = *points;
                        for (int i = 0; i < 800; ++i) points->insert(points->end(), one.begin(), one.end());
                    }
    return data;
}

} // namespace

TEST_F(CaseFileTest, ALargeCaseSavesAndOpensOnAWorkerWhileTheWindowShowsItsProgress)
{
    // Every file goes through the worker here, as a large one does. While the case is written and
    // read, a timer of the window thread keeps coming round (the window is not frozen) and finds the
    // status bar's bar part of the way; the file is the one a save on the window thread writes; an
    // open of a damaged large file says which file and why and leaves the open case as it was.
    CQORDoc::SetFileProgressFrom(0);
    CSettings::GetInstance()->General.USEBINARYFILEFORMAT = true;
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    const CCaseData large = LargeCase();
    doc->m_vBridge = large.m_vBridge;
    doc->m_vBridgeSet = large.m_vBridgeSet;
    doc->m_vLoadModel = large.m_vLoadModel;
    doc->m_vLoadModelEnsemble = large.m_vLoadModelEnsemble;
    doc->m_vRefCollection = large.m_vRefCollection;
    doc->m_sCaseRef = large.m_sCaseRef;
    doc->m_sCaseNotes = large.m_sCaseNotes;
    doc->SetModifiedFlag(TRUE);
    std::ostringstream direct(std::ios::out | std::ios::binary);
    SaveCase(direct, large, true);
    ASSERT_GT(direct.str().size(), std::size_t{5} << 20);

    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);
    frame->SetTimer(77, 5, RecordProgress);
    CCaseFileProgress::SetStepHook(HoldPartWayUntilShown);
    g_shownProgress.clear();
    g_partWayShown = false;
    const std::string path = TempFilePath("large.qor");
    SaveAs(path);
    const std::vector<long> whileSaving = g_shownProgress;
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(ReadAll(path) == direct.str()) << "the file a save on the window thread writes";
    EXPECT_EQ(frame->GetStatusBar().GetPaneText(0), CString(L"Ready"));

    g_shownProgress.clear();
    g_partWayShown = false;
    ScriptedMessageBoxes boxes;
    CQORDoc* opened = Open(path);
    const std::vector<long> whileOpening = g_shownProgress;
    CCaseFileProgress::SetStepHook(nullptr);
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_EQ(opened->m_vRefCollection.size(), 2u);
    EXPECT_EQ(opened->m_vRefCollection[0]->m_vRefSet[0]->m_vRefCritEnv[0]->m_pEnvBMD->m_vMax.size(),
              large.m_vRefCollection[0]->m_vRefSet[0]->m_vRefCritEnv[0]->m_pEnvBMD->m_vMax.size());
    frame->KillTimer(77);
    for (const auto* shown : {&whileSaving, &whileOpening})
    {
        EXPECT_TRUE(std::any_of(shown->begin(), shown->end(), [](long p) { return p > 0 && p < 100; }))
            << "the bar moved part of the way while the window thread went on";
    }
    EXPECT_EQ(frame->GetStatusBar().GetPaneProgress(1), 0) << "the runs' bar is back";

    opened->m_sCaseRef = L"Open case";
    opened->SetModifiedFlag(FALSE);
    const std::string full = ReadAll(path);
    const std::string damagedPath = TempFilePath("damaged.qor");
    WriteAll(damagedPath, full.substr(0, full.size() - 1000));
    boxes.Answer(IDOK);
    EXPECT_EQ(Open(damagedPath), nullptr);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text.Find(L"Problem loading file; file is not opened.\n" +
                                         CString::FromUtf8(damagedPath) + L": the file"),
              0)
        << boxes.Shown()[0].text.ToUtf8();
    EXPECT_EQ(CQORDoc::GetActiveDoc(), opened) << "the open case stays";
    EXPECT_EQ(opened->m_sCaseRef, CString(L"Open case"));
    EXPECT_EQ(opened->m_vRefCollection.size(), 2u);
    CQORDoc::SetFileProgressFrom(std::uint64_t{4} << 20);
}
