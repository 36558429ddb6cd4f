// Crash recovery through the running program: a changed case is autosaved at the (shortened) interval, the
// program ends without closing it, and the next start offers it back: restored, it returns with its change,
// modified, under its own path, the user's file untouched; discarded, it is gone; a save removes the autosave.
#include "app_support.h"

#include "app/MainFrame.h"
#include "app/OutputList.h"
#include "app/QORDoc.h"
#include "engine/model/Bridge.h"
#include "platform/core/MessageBox.h"
#include "platform/core/ReplacingFile.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <sys/resource.h>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

// The recovery folder's files with an extension.
int CountFiles(const fs::path& folder, const std::string& extension)
{
    int n = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().extension() == extension) ++n;
    return n;
}

// The program's end without its clean exit: the recovery state goes as a killed process's would (its
// lock released, its files left), then the windows are taken down.
void Crash(CQORApp& app)
{
    delete app.m_pDataRecoveryHandler;
    app.m_pDataRecoveryHandler = nullptr;
    StopApplication(app);
}

TEST(Recovery, AutosavedCaseIsRestoredOrDiscardedAfterACrash)
{
    const fs::path home = fs::path(TempFilePath("home"));
    UseFreshProfile(home);
    const fs::path user = home / "bridge.qor";
    int asked = 0;
    int answer = IDYES;
    qor::MessageBoxHandler previous = qor::SetMessageBoxHandler([&](const qor::MessageBoxCall& call) {
        if (call.text.Find(L"ended without closing") >= 0)
        {
            EXPECT_GE(call.text.Find(CString(user.c_str())), 0) << "the prompt names the case's file";
            EXPECT_FALSE(AfxGetMainWnd()->IsWindowVisible()) << "the window shows once it is maximised";
            ++asked;
            return answer;
        }
        return qor::DefaultMessageBoxAnswer(call.type);
    });

    fs::path folder;
    std::string saved;
    {
        auto app = std::make_unique<CQORApp>();
        ASSERT_TRUE(StartApplication(*app));
        CDataRecoveryHandler* recovery = app->GetDataRecoveryHandler();
        ASSERT_NE(recovery, nullptr);
        folder = fs::path(recovery->GetAutosavePath().ToUtf8());
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        doc->m_sCaseRef = L"Route 12";
        ASSERT_TRUE(doc->DoSave(CString(user.c_str())));
        saved = ReadAll(user);
        EXPECT_EQ(CountFiles(folder, ".autosave"), 0) << "an unmodified case is not autosaved";

        doc->m_sCaseRef = L"Route 12, widened";
        doc->m_vBridge.push_back(std::make_shared<CBridge>(1, L"20 m single span", 1, 20.0));
        doc->SetModifiedFlag(TRUE);
        recovery->SetAutosaveInterval(20);
        ASSERT_TRUE(PumpUntil([&] { return CountFiles(folder, ".path") == 1; }));
        EXPECT_EQ(CountFiles(folder, ".autosave"), 1);
        Crash(*app);
    }
    EXPECT_EQ(ReadAll(user), saved) << "recovery never writes the user's file";

    // A run killed while it autosaved left its temporary file and its lock; another run is writing one.
    std::ofstream(folder / "99999-1-1.lock") << "";
    std::ofstream(folder / ".99999-1-1-1.autosave.qortmp-Kill01") << "partial";
    // (Named while it is written, as on a file system without unnamed files.)
    auto live = std::make_unique<qor::CReplacingFile>();
    qor::CReplacingFile::UseUnnamedFiles(false);
    ASSERT_TRUE(live->Open(CString((folder / "live-1.autosave").c_str())));
    qor::CReplacingFile::UseUnnamedFiles(true);

    // Restore: the change is back, the case modified and under its own path; this run keeps the autosave.
    {
        auto app = std::make_unique<CQORApp>();
        ASSERT_TRUE(StartApplication(*app));
        EXPECT_EQ(asked, 1);
        EXPECT_FALSE(fs::exists(folder / ".99999-1-1-1.autosave.qortmp-Kill01"));
        EXPECT_FALSE(fs::exists(folder / "99999-1-1.lock"));
        int temporary = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            temporary += qor::CReplacingFile::IsTemporaryName(entry.path().filename().string()) ? 1 : 0;
        EXPECT_EQ(temporary, 1) << "the live run's file stays";
        live.reset();
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Route 12, widened"));
        ASSERT_EQ(doc->m_vBridge.size(), 1u);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(doc->GetPathName(), CString(user.c_str()));
        EXPECT_EQ(ReadAll(user), saved);
        if (app->m_pRecentFileList)
        {
            for (int i = 0; i < app->m_pRecentFileList->GetCount(); ++i)
                EXPECT_LT((*app->m_pRecentFileList)[i].Find(L"Recovery"), 0) << "no autosave among recent files";
        }
        EXPECT_EQ(CountFiles(folder, ".autosave"), 1);
        Crash(*app);
    }

    // Discard, by keys on the toolkit's own box: Escape leaves the question up (it has no Cancel), N answers
    // No. The box stood in the middle of the area the window then fills. Nothing of the case is left, and a
    // clean exit leaves an empty folder.
    {
        KeyedMessageBoxes keyed({VK_ESCAPE, 'N'});
        auto app = std::make_unique<CQORApp>();
        ASSERT_TRUE(StartApplication(*app));
        ASSERT_EQ(keyed.Shown(), 1);
        EXPECT_EQ(keyed.Answers(), std::vector<int>{IDNO});
        CRect window;
        AfxGetMainWnd()->GetWindowRect(&window);
        ASSERT_EQ(keyed.Placed().size(), 1u);
        const CPoint middle = keyed.Placed()[0].CenterPoint();
        EXPECT_LE(std::abs(middle.x - window.CenterPoint().x), 8) << window.left << " " << window.right;
        EXPECT_LE(std::abs(middle.y - window.CenterPoint().y), 8) << window.top << " " << window.bottom;
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(doc->m_vBridge.empty());
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(CountFiles(folder, ".autosave") + CountFiles(folder, ".path"), 0);

        // A save takes the autosave away.
        doc->m_sCaseRef = L"Another";
        doc->SetModifiedFlag(TRUE);
        app->GetDataRecoveryHandler()->AutosaveAllDocumentInfo();
        app->GetDataRecoveryHandler()->WaitForWrites(); // written on a thread of its own
        EXPECT_EQ(CountFiles(folder, ".autosave"), 1);
        ASSERT_TRUE(doc->DoSave(CString((home / "other.qor").c_str())));
        EXPECT_EQ(CountFiles(folder, ".autosave") + CountFiles(folder, ".path"), 0);
        StopApplication(*app);
    }
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(ReadAll(user), saved);
    qor::SetMessageBoxHandler(previous);
}

// Two ended runs each left a case: the program holds one case at a time, so one is restored and the other
// waits for the next start, said in a note; neither is lost and no save of the first is asked for.
TEST(Recovery, CasesOfSeveralEndedRunsComeBackOneAtEachStart)
{
    const fs::path home = fs::path(TempFilePath("home-two"));
    UseFreshProfile(home);
    int asked = 0;
    int notes = 0;
    int saves = 0;
    qor::MessageBoxHandler previous = qor::SetMessageBoxHandler([&](const qor::MessageBoxCall& call) {
        if (call.text.Find(L"ended without closing") >= 0) return ++asked, IDYES;
        if (call.text.Find(L"offered at the next start") >= 0) ++notes;
        if (call.text.Find(L"Save changes") >= 0) ++saves;
        return qor::DefaultMessageBoxAnswer(call.type);
    });

    fs::path folder;
    {
        auto app = std::make_unique<CQORApp>();
        ASSERT_TRUE(StartApplication(*app));
        CDataRecoveryHandler* recovery = app->GetDataRecoveryHandler();
        folder = fs::path(recovery->GetAutosavePath().ToUtf8());
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        doc->m_sCaseRef = L"Left by two runs";
        doc->SetModifiedFlag(TRUE);
        recovery->AutosaveAllDocumentInfo();
        Crash(*app);
    }
    // The same case as another ended run would have left it.
    for (const auto& entry : fs::directory_iterator(folder))
    {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".lock") fs::copy_file(entry.path(), folder / ("zz" + name));
    }
    ASSERT_EQ(CountFiles(folder, ".autosave"), 2);
    {
        auto app = std::make_unique<CQORApp>();
        ASSERT_TRUE(StartApplication(*app));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(notes, 1);
        EXPECT_EQ(saves, 0) << "restoring a second case asked to save the first";
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Left by two runs"));
        EXPECT_EQ(CountFiles(folder, ".autosave"), 2) << "the waiting case was kept";
        Crash(*app);
    }
    qor::SetMessageBoxHandler(previous);
}

// The log's lines that say an autosave failed.
std::vector<CString> FailureLines()
{
    std::vector<CString> lines;
    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    if (!frame) return lines;
    COutputList& list = frame->GetOutputWnd().GetList();
    for (int i = 0; i < list.GetCount(); ++i)
    {
        CString line;
        list.GetText(i, line);
        if (line.Find(L"Could not keep an automatic copy of") >= 0) lines.push_back(line);
    }
    return lines;
}

// Autosaves into a folder that takes no more (past the file-size limit, then a full disk): the first
// failure is said in the log with its reason, the next not until one was written again; the caller
// hears of each, the last good autosave stays and the case file is never touched.
TEST(Recovery, AFailedAutosaveIsSaidInTheLogOnceUntilOneIsWrittenAgain)
{
    const fs::path home = fs::path(TempFilePath("home-full"));
    UseFreshProfile(home);
    auto app = std::make_unique<CQORApp>();
    ASSERT_TRUE(StartApplication(*app));
    CDataRecoveryHandler* recovery = app->GetDataRecoveryHandler();
    ASSERT_NE(recovery, nullptr);
    const fs::path folder(recovery->GetAutosavePath().ToUtf8());
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    const fs::path user = home / "bridge.qor";
    ASSERT_TRUE(doc->DoSave(CString(user.c_str())));
    const std::string saved = ReadAll(user);
    doc->m_vBridge.push_back(std::make_shared<CBridge>(1, L"20 m single span", 1, 20.0));
    doc->SetModifiedFlag(TRUE);

    // Past the file-size limit (the program ignores the signal, so the write fails), twice.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    recovery->AutosaveAllDocumentInfo();
    const BOOL first = recovery->WaitForWrites();
    recovery->AutosaveAllDocumentInfo();
    const BOOL second = recovery->WaitForWrites();
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(first);
    EXPECT_FALSE(second);
    ASSERT_TRUE(PumpUntil([] { return !FailureLines().empty(); }));
    const CString said = FailureLines()[0];
    EXPECT_GE(said.Find(L"Could not keep an automatic copy of " + CString(user.c_str()) + L": File too large"), 0)
        << said.ToUtf8();
    EXPECT_EQ(CountFiles(folder, ".path"), 0) << "no record of a copy that is not there";

    // One written, then a full disk: said again, once more only. The lines come in order, so when the
    // second is there no other came between.
    recovery->AutosaveAllDocumentInfo();
    EXPECT_TRUE(recovery->WaitForWrites());
    EXPECT_EQ(CountFiles(folder, ".path"), 1);
    fs::path autosave;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".autosave") autosave = entry.path();
    const std::string kept = ReadAll(autosave);
    ASSERT_FALSE(kept.empty());
    // As the timer's tick does it: said once the write's thread has ended, with nobody waiting for it.
    qor::CReplacingFile::InjectOpenFault(ENOSPC);
    recovery->AutosaveAllDocumentInfo();
    const bool saidAgain = PumpUntil([] { return FailureLines().size() >= 2; });
    qor::CReplacingFile::InjectOpenFault(0);
    ASSERT_TRUE(saidAgain);
    EXPECT_EQ(FailureLines().size(), 2u);
    EXPECT_GE(FailureLines()[1].Find(L": No space left on device"), 0) << FailureLines()[1].ToUtf8();
    EXPECT_EQ(ReadAll(autosave), kept) << "the last good autosave stays";
    EXPECT_EQ(CountFiles(folder, ".path"), 1);

    EXPECT_EQ(ReadAll(user), saved) << "the case file is not touched";
    EXPECT_EQ(doc->GetPathName(), CString(user.c_str()));
    EXPECT_TRUE(doc->IsModified());
    StopApplication(*app);
    app.reset();
    std::error_code ec;
    fs::remove_all(home, ec);
}

} // namespace
