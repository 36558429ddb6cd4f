// Names that Linux allows, through the running program: a case whose path holds a line break comes back
// after a crash under that whole path and saves to it (never to the file the path's first line names);
// a name that is not UTF-8 is refused at every entry (file dialogs, a drop, the command line) and no
// other file is opened or written in its place; a case on the command line that cannot be opened is
// said, and the start-up ends.
#include "app_support.h"

#include "app/QORDoc.h"
#include "platform/core/FileChecks.h"
#include "platform/core/MessageBox.h"
#include "platform/gui/window/DropFiles.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

// The program's end without its clean exit (see recovery_test.cpp): its autosaves stay for the next start.
void Crash(CQORApp& app)
{
    delete app.m_pDataRecoveryHandler;
    app.m_pDataRecoveryHandler = nullptr;
    StopApplication(app);
}

// The one record the recovery folder holds.
fs::path OnlyRecord(const fs::path& folder)
{
    std::vector<fs::path> records;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".path") records.push_back(entry.path());
    EXPECT_EQ(records.size(), 1u);
    return records.empty() ? fs::path() : records.front();
}

// Starts the program, changes the open case (the one restored, if any) and ends it as a crash would,
// once its autosave is written; the recovery folder.
fs::path ChangeAndCrash(const CString& caseRef)
{
    CQORApp app;
    EXPECT_TRUE(StartApplication(app));
    CDataRecoveryHandler* recovery = app.GetDataRecoveryHandler();
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    doc->m_sCaseRef = caseRef;
    doc->SetModifiedFlag(TRUE);
    recovery->AutosaveAllDocumentInfo();
    recovery->WaitForWrites();
    const fs::path folder(recovery->GetAutosavePath().ToUtf8());
    Crash(app);
    return folder;
}

// A case the program saved at path, whose reference reads caseRef.
void SaveCase(const fs::path& path, const CString& caseRef)
{
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    doc->m_sCaseRef = caseRef;
    ASSERT_TRUE(doc->DoSave(CString::FromUtf8(path.string())));
}

// "file://" and the path's bytes, those outside letters, digits and "/-._~" as %XX.
std::string FileAddress(const std::string& path)
{
    std::string address = "file://";
    for (unsigned char c : path)
    {
        if (std::isalnum(c) || std::string("/-._~").find(static_cast<char>(c)) != std::string::npos)
        {
            address += static_cast<char>(c);
            continue;
        }
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        address += hex;
    }
    return address;
}

} // namespace

TEST_F(FreshProfileTest, ACaseUnderAPathWithALineBreakComesBackUnderItAndSavesToIt)
{
    // The user's notes, and a case whose path's first line names them.
    const fs::path notes = m_home / "notes", user = m_home / "notes\nbridge.qor";
    std::ofstream(notes) << "my notes";
    std::vector<CString> prompts;
    qor::MessageBoxHandler previous = qor::SetMessageBoxHandler([&](const qor::MessageBoxCall& call) {
        prompts.push_back(call.text);
        return call.text.Find(L"ended without closing") >= 0 ? IDYES : qor::DefaultMessageBoxAnswer(call.type);
    });
    std::string saved;
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        SaveCase(user, L"Route 12");
        saved = ReadAll(user);
        CQORDoc::GetActiveDoc()->m_sCaseRef = L"Route 12, widened";
        CQORDoc::GetActiveDoc()->SetModifiedFlag(TRUE);
        app.GetDataRecoveryHandler()->AutosaveAllDocumentInfo();
        app.GetDataRecoveryHandler()->WaitForWrites();
        Crash(app);
    }

    // Restored under its whole path; a save writes that file, and the notes stay.
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        ASSERT_EQ(prompts.size(), 1u);
        EXPECT_GE(prompts[0].Find(CString::FromUtf8(user.string())), 0) << "the prompt names the whole path";
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->GetPathName(), CString::FromUtf8(user.string()));
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Route 12, widened"));
        SaveActiveDocument();
        EXPECT_FALSE(doc->IsModified());
        EXPECT_NE(ReadAll(user), saved);
        EXPECT_EQ(ReadAll(notes), "my notes");

        // A drop and the command line name it whole too.
        SendMenuCommand(ID_FILE_NEW);
        qor::gui::DropFiles(AfxGetMainWnd(), qor::gui::DroppedFiles(FileAddress(user.string()) + "\r\n"));
        ASSERT_NE(CQORDoc::GetActiveDoc(), nullptr);
        EXPECT_EQ(CQORDoc::GetActiveDoc()->GetPathName(), CString::FromUtf8(user.string()));
        EXPECT_EQ(CQORDoc::GetActiveDoc()->m_sCaseRef, CString(L"Route 12, widened"));
        qor::gui::SetCommandLineArguments({"qor", user.string()});
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        qor::gui::SetCommandLineArguments({"qor"});
        EXPECT_EQ(info.m_strFileName, CString::FromUtf8(user.string()));
        StopApplication(app);
    }

    // A record as earlier runs wrote it, "<path>\n<title>\n": the title (the file name) tells where the
    // path ends.
    const fs::path folder = ChangeAndCrash(L"Route 12, kept by an earlier run");
    std::ofstream(OnlyRecord(folder), std::ios::trunc) << user.string() << "\nnotes\nbridge.qor\n";
    prompts.clear();
    {
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        ASSERT_EQ(prompts.size(), 1u);
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->GetPathName(), CString::FromUtf8(user.string()));
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Route 12, kept by an earlier run"));
        Crash(app);
    }

    // A record that cannot be read whole (one of an earlier run no title places, a path that is not
    // UTF-8): the case is offered without a name, and a save asks for one.
    for (const std::string& record :
         {notes.string() + "\nx\ny\n", std::string("QOR recovery 2\npath 8\ncaf\xE9.qor\ntitle 8\ncaf\xE9.qor\n")})
    {
        std::ofstream(OnlyRecord(folder), std::ios::trunc) << record;
        prompts.clear();
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        ASSERT_EQ(prompts.size(), 1u);
        EXPECT_GE(prompts[0].Find(L"whose name cannot be read back"), 0) << prompts[0].ToUtf8();
        CQORDoc* doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(doc->GetPathName().IsEmpty());
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Route 12, kept by an earlier run"));
        {
            DrivenFileDialogs files; // cancelled
            SaveActiveDocument();
            EXPECT_EQ(files.Shown(), 1);
        }
        EXPECT_EQ(ReadAll(notes), "my notes");
        Crash(app);
    }
    qor::SetMessageBoxHandler(previous);
}

TEST_F(FreshProfileTest, ANameThatIsNotUtf8IsRefusedAtEveryEntry)
{
    // The file asked for, and the file its name would be taken for (U+FFFD in place of the byte).
    const std::string asked = (m_home / "caf\xE9.qor").string(), other = (m_home / "caf\xEF\xBF\xBD.qor").string();
    const CString shown = CString::FromUtf8(other); // what the toolkit's dialogs give for it
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    SaveCase(other, L"Asked for");
    fs::copy_file(other, asked);
    SaveCase(other, L"Another case");
    SendMenuCommand(ID_FILE_NEW);
    const std::string askedBytes = ReadAll(asked), otherBytes = ReadAll(other);
    const auto expectRefused = [&](const ScriptedMessageBoxes& boxes) {
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_GE(boxes.Shown()[0].text.Find(shown), 0) << boxes.Shown()[0].text.ToUtf8();
        EXPECT_GE(boxes.Shown()[0].text.Find(qor::NotUtf8NameReason()), 0) << boxes.Shown()[0].text.ToUtf8();
        ASSERT_NE(CQORDoc::GetActiveDoc(), nullptr);
        EXPECT_TRUE(CQORDoc::GetActiveDoc()->m_sCaseRef.IsEmpty()) << "the new case stays open";
        EXPECT_EQ(ReadAll(asked), askedBytes);
        EXPECT_EQ(ReadAll(other), otherBytes);
    };
    {
        SCOPED_TRACE("File > Open");
        ScriptedMessageBoxes boxes;
        DrivenFileDialogs files;
        files.Answer(shown);
        SendMenuCommand(ID_FILE_OPEN);
        expectRefused(boxes);
    }
    {
        SCOPED_TRACE("File > Save As");
        ScriptedMessageBoxes boxes;
        DrivenFileDialogs files;
        files.Answer(shown);
        SendMenuCommand(ID_FILE_SAVE_AS);
        expectRefused(boxes);
        EXPECT_TRUE(CQORDoc::GetActiveDoc()->GetPathName().IsEmpty());
    }
    {
        SCOPED_TRACE("a drop");
        ScriptedMessageBoxes boxes;
        const std::vector<CString> dropped = qor::gui::DroppedFiles(FileAddress(asked) + "\r\n");
        ASSERT_EQ(dropped.size(), 1u);
        qor::gui::DropFiles(AfxGetMainWnd(), dropped);
        expectRefused(boxes);
    }
    {
        SCOPED_TRACE("the command line");
        ScriptedMessageBoxes boxes;
        qor::gui::SetCommandLineArguments({"qor", asked});
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        qor::gui::SetCommandLineArguments({"qor"});
        ASSERT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
        EXPECT_FALSE(app.ProcessShellCommand(info));
        expectRefused(boxes);
    }
    {
        SCOPED_TRACE("a save to such a name");
        ScriptedMessageBoxes boxes;
        EXPECT_FALSE(CQORDoc::GetActiveDoc()->DoSave(qor::DecodeFileName(asked)));
        expectRefused(boxes);
    }
    // A drop of the other name opens that file: it is the one named.
    qor::gui::DropFiles(AfxGetMainWnd(), qor::gui::DroppedFiles(FileAddress(other) + "\r\n"));
    ASSERT_NE(CQORDoc::GetActiveDoc(), nullptr);
    EXPECT_EQ(CQORDoc::GetActiveDoc()->m_sCaseRef, CString(L"Another case"));
    StopApplication(app);
}

TEST_F(FreshProfileTest, ACommandLineCaseThatCannotBeOpenedIsSaidAndEndsTheStart)
{
    const fs::path missing = m_home / "missing.qor", dashed = m_home / "-x.qor";
    struct Arguments
    {
        ~Arguments() { qor::gui::SetCommandLineArguments({"qor"}); }
    } reset;

    // An absolute path is a file name, not an option: its open's own message, and the start ends.
    {
        qor::gui::SetCommandLineArguments({"qor", missing.string()});
        ScriptedMessageBoxes boxes;
        CQORApp app;
        EXPECT_FALSE(StartApplication(app));
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, L"Cannot open the file " + CString::FromUtf8(missing.string()) + L".");
        EXPECT_EQ(app.GetOpenDocumentCount(), 0);
        StopApplication(app);
    }
    // A name beginning with '-' is an option: a new case; "./-x.qor" names the file.
    {
        qor::gui::SetCommandLineArguments({"qor", "-x.qor"});
        ScriptedMessageBoxes boxes;
        CQORApp app;
        ASSERT_TRUE(StartApplication(app));
        EXPECT_TRUE(boxes.Shown().empty());
        ASSERT_NE(CQORDoc::GetActiveDoc(), nullptr);
        EXPECT_TRUE(CQORDoc::GetActiveDoc()->GetPathName().IsEmpty());
        SaveCase(dashed, L"Dashed");
        StopApplication(app);
    }
    {
        const fs::path start = fs::current_path();
        fs::current_path(m_home);
        qor::gui::SetCommandLineArguments({"qor", "./-x.qor"});
        CQORApp app;
        const BOOL started = StartApplication(app);
        fs::current_path(start);
        ASSERT_TRUE(started);
        ASSERT_NE(CQORDoc::GetActiveDoc(), nullptr);
        EXPECT_EQ(CQORDoc::GetActiveDoc()->m_sCaseRef, CString(L"Dashed"));
        StopApplication(app);
    }
}
