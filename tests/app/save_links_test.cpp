// Saves through symbolic links, as a user who is not the superuser: another user's link in a folder everyone
// may write to (as /tmp) is never followed, so that the file it points to stays as it was; the user's own
// links (and the folder owner's) are followed as ever, and stay links.
#include "app_support.h"

#include "app/QORDoc.h"
#include "engine/settings/Settings.h"
#include "platform/core/ReplacingFile.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

constexpr uid_t kOther = 65534; // nobody: plants the links
constexpr uid_t kUser = 65533;  // saves through them
// Set in the child that runs the test's saves as kUser: the folder the parent made.
constexpr char kFolderVariable[] = "QOR_TEST_LINKS_FOLDER";

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A symbolic link at `at` to `to`, owned by `owner`.
void PlantLink(const fs::path& to, const fs::path& at, uid_t owner)
{
    fs::create_symlink(to, at);
    ASSERT_EQ(::lchown(at.c_str(), owner, owner), 0) << at;
}

// The folders and the links in the shared one: another user's to the user's files, and one of the user's
// to one of those; the user's own and the shared folder owner's, which are followed.
struct Links
{
    explicit Links(const fs::path& folder) : shared(folder / "shared"), user(folder / "user") {}
    fs::path shared, user;
    fs::path caseFile = shared / "report.qor", grid = shared / "results.csv", image = shared / "plot.bmp",
             pdf = shared / "plot.pdf", chain = shared / "chain.qor", ownCase = shared / "own.qor",
             ownersGrid = shared / "owners.csv", project = shared / "project", ownImage = shared / "own.bmp",
             ownPdf = shared / "own.pdf", ownFolder = shared / "mine";
    // Pipes of the other user's: nothing is written into them, nor put in their place.
    std::vector<fs::path> Pipes() const { return {shared / "pipe.bmp", shared / "pipe.pdf"}; }

    struct Planted
    {
        fs::path at, to;
        uid_t owner;
    };
    std::vector<Planted> All() const
    {
        return {{caseFile, user / "notes.qor", kOther},
                {grid, user / "notes.csv", kOther},
                {image, user / "notes.bmp", kOther},
                {pdf, user / "notes.pdf", kOther},
                {chain, "report.qor", kUser},
                {ownCase, user / "own.qor", kUser},
                {ownersGrid, user / "kept.csv", 0},
                {project, user, kOther},
                {ownImage, user / "own.bmp", kUser},
                {ownPdf, user / "own.pdf", kUser},
                {ownFolder, user, kUser}};
    }
};

// The words that name a refused link and its owner.
CString Refused(const fs::path& link)
{
    return CString::FromUtf8(link.string()) +
           L" is a link of another user (nobody) in a shared folder: it is not followed";
}

// The user's part, in a child running as kUser: every save through another user's link is refused with
// a message naming it and its owner, and leaves the user's files as they were; the user's own links are
// followed and stay.
void SaveAsTheUser(const Links& links)
{
    ASSERT_EQ(::geteuid(), kUser);
    CQORApp app;
    ASSERT_TRUE(StartApplication(app));
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    doc->m_sCaseRef = L"Route 12";
    ASSERT_TRUE(doc->DoSave(CString::FromUtf8((links.user / "notes.qor").string())));
    for (const char* name : {"notes.csv", "notes.bmp", "notes.pdf"}) WriteAll(links.user / name, "the user's notes");
    std::map<fs::path, std::string> kept;
    for (const auto& entry : fs::directory_iterator(links.user)) kept[entry.path()] = ReadAll(entry.path());
    ScriptedMessageBoxes boxes; // each answered with its default
    const auto lastBox = [&] { return boxes.Shown().empty() ? CString() : boxes.Shown().back().text; };

    // The case opened through the other user's link (which may be pointed elsewhere before the save).
    // Where the system itself does not follow it (fs.protected_symlinks is 1), the open says the system's
    // reason, and the case takes that name as if it had been opened there before the link was planted.
    const CString caseLink = CString::FromUtf8(links.caseFile.string());
    struct stat seen
    {};
    if (::stat(links.caseFile.c_str(), &seen) != 0 && errno == EACCES)
    {
        const std::size_t before = boxes.Shown().size();
        EXPECT_EQ(app.OpenDocumentFile(caseLink), nullptr);
        ASSERT_EQ(boxes.Shown().size(), before + 1);
        EXPECT_GT(lastBox().Find(caseLink + L": " + CString::FromUtf8(std::strerror(EACCES))), 0) << lastBox().ToUtf8();
        doc->SetPathName(caseLink, FALSE);
    }
    else
    {
        doc = DYNAMIC_DOWNCAST(CQORDoc, app.OpenDocumentFile(caseLink));
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->m_sCaseRef, CString(L"Route 12"));
    }
    for (const bool binary : {true, false})
    {
        SCOPED_TRACE(binary ? "binary case files" : "XML case files");
        CSettings::GetInstance()->General.USEBINARYFILEFORMAT = binary;
        doc->m_sCaseRef = L"Route 12, widened";
        doc->SetModifiedFlag(TRUE);
        // Save: refused, without a question, at the other user's link or through one to a folder.
        for (const fs::path& named : {links.caseFile, links.project / "one.qor"})
        {
            doc->SetPathName(CString::FromUtf8(named.string()), FALSE);
            DrivenFileDialogs files;
            const std::size_t before = boxes.Shown().size();
            SaveActiveDocument();
            EXPECT_EQ(files.Shown(), 0);
            ASSERT_EQ(boxes.Shown().size(), before + 1);
            EXPECT_EQ(lastBox(), L"Problem saving file: file is not saved.\n" +
                                     CString::FromUtf8((named == links.caseFile ? named : links.project).string()) +
                                     L": it is a link of another user (nobody) in a shared folder: it is not followed");
        }
        doc->SetPathName(caseLink, FALSE);
        // Save As to the other user's link, and to the user's own link to it: refused in the dialog, which
        // comes again (and is cancelled).
        for (const fs::path& asked : {links.caseFile, links.chain})
        {
            DrivenFileDialogs files;
            files.Answer(CString::FromUtf8(asked.string()));
            const std::size_t before = boxes.Shown().size();
            SendMenuCommand(ID_FILE_SAVE_AS);
            EXPECT_EQ(files.Shown(), 2);
            ASSERT_EQ(boxes.Shown().size(), before + 1);
            EXPECT_EQ(lastBox(), Refused(links.caseFile) + L".\nTry again with a different file name.");
        }
        // Save As into the other user's link to the user's folder, in the middle of the path: refused alike.
        {
            DrivenFileDialogs files;
            files.Answer(CString::FromUtf8((links.project / "one.qor").string()));
            SendMenuCommand(ID_FILE_SAVE_AS);
            EXPECT_EQ(files.Shown(), 2);
            EXPECT_EQ(lastBox(), Refused(links.project) + L".\nTry again with a different file name.");
        }
        EXPECT_TRUE(doc->IsModified());
    }

    // Save Grid, at the other user's link and through one in the middle of the path: refused, and said.
    // Save Image and Print to PDF at the other user's link or pipe: refused (the picture's save says
    // only that it failed; the print says why).
    ASSERT_NE(doc->OpenGridView(L"Grid"), nullptr);
    Pump();
    for (const fs::path& asked : {links.grid, links.project / "one.csv"})
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(asked.string()));
        const std::size_t before = boxes.Shown().size();
        SendMenuCommand(ID_FILE_SAVE_GRID);
        ASSERT_EQ(boxes.Shown().size(), before + 2);
        EXPECT_EQ(boxes.Shown()[before].text, Refused(asked == links.grid ? links.grid : links.project) + L".");
        EXPECT_EQ(lastBox(), L"Grid saving failed");
    }
    for (const fs::path& asked : {links.image, links.Pipes()[0]})
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(asked.string()));
        const std::size_t before = boxes.Shown().size();
        SendMenuCommand(ID_FILE_SAVE_IMAGE);
        ASSERT_EQ(boxes.Shown().size(), before + 1) << asked;
        EXPECT_EQ(lastBox(), L"Image saving failed");
    }
    ASSERT_NE(doc->OpenPlotView(L"Plot", 2, 1), nullptr);
    Pump();
    const auto printTo = [](const fs::path& path) {
        setenv("QOR_PRINT_TO_PDF", path.c_str(), 1);
        AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_PRINT);
        Pump();
        unsetenv("QOR_PRINT_TO_PDF");
    };
    printTo(links.pdf);
    EXPECT_EQ(lastBox(), L"Problem printing: " + CString::FromUtf8(links.pdf.string()) +
                             L": it is a link of another user (nobody) in a shared folder: it is not followed");
    printTo(links.Pipes()[1]);
    EXPECT_EQ(lastBox(),
              L"Problem printing: " + CString::FromUtf8(links.Pipes()[1].string()) + L": it is a pipe, not a file");

    // Byte for byte, and no other file came beside them.
    std::map<fs::path, std::string> now;
    for (const auto& entry : fs::directory_iterator(links.user)) now[entry.path()] = ReadAll(entry.path());
    EXPECT_TRUE(now == kept) << "the user's files as they were";

    // The user's own link, and the folder owner's, are followed: the files they name are written, and
    // they stay links.
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(links.ownCase.string()));
        files.Answer(CString::FromUtf8(links.ownersGrid.string()));
        const std::size_t before = boxes.Shown().size();
        doc->m_sCaseRef = L"Route 12, saved by its user";
        SendMenuCommand(ID_FILE_SAVE_AS);
        EXPECT_EQ(doc->GetPathName(), CString::FromUtf8(links.ownCase.string()));
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(boxes.Shown().size(), before);
        ASSERT_NE(doc->OpenGridView(L"Grid"), nullptr);
        Pump();
        SendMenuCommand(ID_FILE_SAVE_GRID);
        EXPECT_EQ(lastBox(), L"Grid succesfully saved.");
    }
    EXPECT_NE(ReadAll(links.user / "own.qor").find("Route 12, saved by its user"), std::string::npos);
    EXPECT_EQ(ReadAll(links.user / "kept.csv").substr(0, 4), "sep=");
    // Save Image and Print to PDF at the user's own links: written through.
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(links.ownImage.string()));
        SendMenuCommand(ID_FILE_SAVE_IMAGE);
        EXPECT_EQ(lastBox(), L"Image succesfully saved.");
    }
    EXPECT_EQ(ReadAll(links.user / "own.bmp").substr(0, 2), "BM");
    ASSERT_NE(doc->OpenPlotView(L"Plot", 2, 1), nullptr);
    Pump();
    const std::size_t beforePrint = boxes.Shown().size();
    printTo(links.ownPdf);
    EXPECT_EQ(boxes.Shown().size(), beforePrint) << lastBox().ToUtf8();
    EXPECT_EQ(ReadAll(links.user / "own.pdf").substr(0, 5), "%PDF-");

    // The user's link to a folder re-pointed once the save has walked the path: the case still goes to
    // the folder the walk found.
    const fs::path elsewhere = links.user / "elsewhere";
    fs::create_directories(elsewhere);
    const std::string asked = (links.ownFolder / "moved.qor").string();
    qor::CReplacingFile::SetFolderHook([&](const std::string& target) {
        if (target != asked) return;
        fs::remove(links.ownFolder);
        fs::create_symlink(elsewhere, links.ownFolder);
    });
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(asked));
        SendMenuCommand(ID_FILE_SAVE_AS);
    }
    qor::CReplacingFile::SetFolderHook(nullptr);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_NE(ReadAll(links.user / "moved.qor").find("Route 12"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(elsewhere));
    fs::remove(links.ownFolder);
    fs::create_symlink(links.user, links.ownFolder);
    StopApplication(app);
}

} // namespace

TEST_F(FreshProfileTest, NoSaveFollowsAnotherUsersLinkInASharedFolderAndTheUsersOwnLinksAreFollowed)
{
    if (const char* folder = std::getenv(kFolderVariable))
    {
        SaveAsTheUser(Links(folder));
        return;
    }
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser: links of two other users, and a child that saves as one of them";

    // A shared folder (sticky, everyone may write), the user's folder, and the child's temporary folder
    // (its profile and its test files), all inside one folder that goes whatever way the child ends.
    const fs::path folder = TempFilePath("links");
    struct Removed
    {
        fs::path folder;
        ~Removed()
        {
            std::error_code ec;
            fs::remove_all(folder, ec);
        }
    } removed{folder};
    const Links links(folder);
    const fs::path temporary = folder / "tmp";
    for (const fs::path& made : {links.shared, links.user, temporary}) fs::create_directories(made);
    fs::permissions(links.shared, fs::perms::all | fs::perms::sticky_bit);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    ASSERT_EQ(::chown(links.user.c_str(), kUser, kUser), 0);
    ASSERT_EQ(::chown(temporary.c_str(), kUser, kUser), 0);
    for (const Links::Planted& link : links.All()) PlantLink(link.to, link.at, link.owner);
    for (const fs::path& pipe : links.Pipes())
    {
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
        ASSERT_EQ(::chown(pipe.c_str(), kOther, kOther), 0);
    }

    // The test program again, as kUser, running only this test in its user's part.
    std::error_code ec;
    std::string program = fs::read_symlink("/proc/self/exe", ec).string();
    ASSERT_FALSE(ec);
    const std::string filter = std::string("--gtest_filter=") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "." +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry)
    {
        const std::string variable = *entry;
        if (variable.rfind("TMPDIR=", 0) != 0 && variable.rfind("HOME=", 0) != 0) environment.push_back(variable);
    }
    environment.push_back(std::string(kFolderVariable) + "=" + folder.string());
    environment.push_back("TMPDIR=" + temporary.string());
    environment.push_back("HOME=" + temporary.string());
    std::vector<char*> arguments = {program.data(), const_cast<char*>(filter.c_str()), nullptr};
    std::vector<char*> variables;
    for (std::string& variable : environment) variables.push_back(variable.data());
    variables.push_back(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        if (::setgroups(0, nullptr) == 0 && ::setresgid(kUser, kUser, kUser) == 0 &&
            ::setresuid(kUser, kUser, kUser) == 0)
            ::execve(program.c_str(), arguments.data(), variables.data());
        ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the user's saves: status " << status;

    // Every link as it was planted: not replaced, not removed.
    for (const Links::Planted& link : links.All())
    {
        struct stat st
        {};
        ASSERT_EQ(::lstat(link.at.c_str(), &st), 0) << link.at;
        EXPECT_TRUE(S_ISLNK(st.st_mode) && st.st_uid == link.owner) << link.at;
        EXPECT_EQ(fs::read_symlink(link.at), link.to) << link.at;
    }
    for (const fs::path& pipe : links.Pipes()) EXPECT_TRUE(fs::is_fifo(pipe)) << pipe;
}
