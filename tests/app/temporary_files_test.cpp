// The files the program writes under a temporary name before they take their own: made where nobody
// else chose the name (a link planted at it is never written through, another user's or not), as long
// for a name of 255 bytes as for a short one, and put in place only whole: a file-size limit or a full
// disk leaves the old file as it was, with a message.
#include "app_support.h"

#include "app/MainFrame.h"
#include "app/QORDoc.h"
#include "engine/settings/Settings.h"
#include "platform/core/Paths.h"
#include "platform/core/ReplacingFile.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace qor::test;

namespace {

constexpr uid_t kNobody = 65534;

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A file name of exactly 255 bytes, the most Linux allows: CJK characters of 3 bytes each, a letter or two and
// the extension.
std::string LongName(const std::string& extension)
{
    std::string name;
    while (name.size() + 3 + extension.size() <= 255) name += "\xE6\xA9\x8B"; // U+6A4B
    name.append(255 - extension.size() - name.size(), 'x');
    return name + extension;
}

// Plants a symbolic link as nobody where the test runs as the superuser (another user on the machine),
// else as the test's own user; true when planted.
bool PlantLink(const fs::path& to, const std::string& at)
{
    const bool asNobody = ::geteuid() == 0 && ::setresgid(-1, kNobody, -1) == 0 && ::setresuid(-1, kNobody, -1) == 0;
    bool planted = ::symlink(to.c_str(), at.c_str()) == 0;
    const int error = errno;
    if (asNobody)
    {
        EXPECT_EQ(::setresuid(-1, 0, -1), 0);
        EXPECT_EQ(::setresgid(-1, 0, -1), 0);
    }
    if (!planted && error == EACCES) planted = ::symlink(to.c_str(), at.c_str()) == 0; // a folder of the user's own
    return planted;
}

class TemporaryFiles : public FreshProfileTest
{
protected:
    void SetUp() override
    {
        FreshProfileTest::SetUp();
        ASSERT_TRUE(StartApplication(m_app));
        m_doc = CQORDoc::GetActiveDoc();
        ASSERT_NE(m_doc, nullptr);
        m_doc->m_sCaseRef = L"Route 12";
        m_doc->SetModifiedFlag(TRUE);
    }
    void TearDown() override
    {
        qor::CReplacingFile::SetNameHook(nullptr);
        unsetenv("QOR_PRINT_TO_PDF");
        StopApplication(m_app);
        CSettings::GetInstance()->SetDefaults();
        FreshProfileTest::TearDown();
    }

    // Saves the case through File > Save As.
    static void SaveAs(const fs::path& path)
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(path.string()));
        SendMenuCommand(ID_FILE_SAVE_AS);
    }

    // Prints the active view to a PDF file through File > Print.
    static void PrintTo(const fs::path& path)
    {
        setenv("QOR_PRINT_TO_PDF", path.c_str(), 1);
        Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT);
        Pump();
        unsetenv("QOR_PRINT_TO_PDF");
    }

    CQORApp m_app;
    CQORDoc* m_doc = nullptr;
};

} // namespace

// A folder everyone may write to (as /tmp is), with names 255 bytes long. Each name the program chooses
// for a temporary file has a link to the user's notes planted at it just before the program tries it
// (three names of four), as do the names earlier versions chose; the case, the settings, Save Grid, Save
// Image and print to file all write their files (the preview writes none), and the notes stay as they were. The profile
// is never kept in such a folder: it is written in the user's own, where links are planted too.
TEST_F(TemporaryFiles, LinksPlantedAtEveryNameTheProgramChoosesAreNeverWrittenThrough)
{
    const fs::path shared = m_home / "shared";
    fs::create_directories(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    const fs::path notes = m_home / "notes.txt";
    WriteAll(notes, "the user's notes");

    std::vector<std::string> planted;
    int chosen = 0;
    qor::CReplacingFile::SetNameHook([&](const std::string& name) {
        if (++chosen % 4 != 0 && PlantLink(notes, name)) planted.push_back(name);
    });
    // The names earlier versions chose: the print's ".part", the grid's, the profile's ".tmp" and the
    // preview's in the shared temporary folder.
    const std::string pid = std::to_string(::getpid());
    const fs::path pdf = shared / LongName(".pdf"), csv = shared / LongName(".csv"), bmp = shared / LongName(".bmp");
    const fs::path xml = shared / LongName(".xml"), qor = shared / LongName(".qor");
    std::vector<std::string> earlier = {pdf.string() + ".part", csv.string() + ".~" + pid + "-1.tmp",
                                        (shared / "Penrow University.ini.tmp").string()};
    for (int n = 1; n <= 3; ++n)
        earlier.push_back(
            (fs::temp_directory_path() / ("qor-preview-" + pid + "-" + std::to_string(n) + ".pdf.part")).string());
    // (Those made of a name of 255 bytes are longer than a name may be: they could never be made.)
    std::erase_if(earlier, [](const std::string& name) { return fs::path(name).filename().string().size() > 255; });
    ASSERT_EQ(earlier.size(), 4u);
    for (const std::string& name : earlier) ASSERT_TRUE(PlantLink(notes, name)) << name;

    // A private folder an ended run left (killed before it could remove it) goes when the next is made.
    const fs::path ended = fs::path(qor::PrivateTempBase().ToUtf8()) / "qor-private-Ended1";
    fs::create_directories(ended);
    fs::permissions(ended, fs::perms::owner_all);
    WriteAll(ended / "preview-1.pdf", "%PDF-");

    ScriptedMessageBoxes boxes;
    SaveAs(qor);
    EXPECT_EQ(m_doc->GetPathName(), CString::FromUtf8(qor.string()));
    EXPECT_FALSE(m_doc->IsModified()) << "a 255-byte name saves";
    EXPECT_TRUE(CSettings::GetInstance()->Save(CString::FromUtf8(xml.string())));
    setenv("XDG_CONFIG_HOME", shared.c_str(), 1);
    EXPECT_FALSE(AfxGetApp()->WriteProfileString(L"Test", L"Entry", L"kept"));
    setenv("XDG_CONFIG_HOME", (m_home / "config").c_str(), 1);
    EXPECT_TRUE(AfxGetApp()->WriteProfileString(L"Test", L"Entry", L"kept"));

    ASSERT_NE(m_doc->OpenGridView(L"Grid"), nullptr);
    Pump();
    {
        DrivenFileDialogs files;
        files.Answer(CString::FromUtf8(csv.string()));
        files.Answer(CString::FromUtf8(bmp.string()));
        SendMenuCommand(ID_FILE_SAVE_GRID);
        SendMenuCommand(ID_FILE_SAVE_IMAGE);
    }
    ASSERT_NE(m_doc->OpenPlotView(L"Plot", 2, 1), nullptr);
    Pump();
    PrintTo(pdf);
    Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    Pump();
    for (const auto& box : boxes.Shown())
        EXPECT_TRUE(box.text == L"Grid succesfully saved." || box.text == L"Image succesfully saved.")
            << box.text.ToUtf8();

    EXPECT_EQ(ReadAll(notes), "the user's notes") << "never written through a link";
    EXPECT_FALSE(ReadAll(qor).empty());
    EXPECT_NE(ReadAll(xml).find("<General"), std::string::npos);
    EXPECT_FALSE(fs::exists(shared / "Penrow University.ini"));
    EXPECT_NE(ReadAll(m_home / "config" / "Penrow University.ini").find("Entry=kept"), std::string::npos);
    EXPECT_EQ(ReadAll(csv).substr(0, 4), "sep=");
    EXPECT_EQ(ReadAll(bmp).substr(0, 2), "BM");
    EXPECT_EQ(ReadAll(pdf).substr(0, 5), "%PDF-");
    // Every writer met links at the names it chose: the files beside their targets.
    std::set<std::string> folders;
    for (const std::string& name : planted) folders.insert(fs::path(name).parent_path().string());
    EXPECT_GE(planted.size(), 7u);
    EXPECT_EQ(folders.count(shared.string()), 1u);
    // The preview draws its pages as it shows them and writes no file; its printer's would be in a folder of
    // this run's that only its user may enter: another user can plant nothing there.
    const fs::path preview = qor::PrivateTempFolder().ToUtf8();
    EXPECT_EQ(folders.count(preview.string()), 0u) << "the preview wrote no file";
    struct stat st
    {};
    ASSERT_EQ(::stat(preview.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_EQ(preview.parent_path(), ended.parent_path());
    EXPECT_FALSE(fs::exists(ended));
    fs::remove_all(ended);
    bool previewShown = false;
    for (CWnd* child = Frame()->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        previewShown = previewShown || child->IsKindOf(RUNTIME_CLASS(CPrintPreviewWnd));
    EXPECT_TRUE(previewShown);
    EXPECT_TRUE(fs::is_empty(preview));
    if (::geteuid() == 0)
    {
        ASSERT_EQ(::setresuid(-1, kNobody, -1), 0);
        EXPECT_NE(::symlink(notes.c_str(), (preview / "planted").c_str()), 0);
        EXPECT_EQ(errno, EACCES);
        ASSERT_EQ(::setresuid(-1, 0, -1), 0);
    }

    // The links are left as they were (not followed, not removed), also by the clearing up of what ended
    // runs left.
    qor::CReplacingFile::RemoveLeftoversIn(CString::FromUtf8(shared.string()));
    for (const std::string& name : planted)
    {
        if (name.rfind(preview.string(), 0) == 0) continue; // the preview's folder goes with its files
        struct stat link
        {};
        ASSERT_EQ(::lstat(name.c_str(), &link), 0) << name;
        EXPECT_TRUE(S_ISLNK(link.st_mode)) << name;
        const bool byAnother = fs::path(name).parent_path() == shared && ::geteuid() == 0;
        EXPECT_TRUE(!byAnother || link.st_uid == kNobody) << "planted by another user: " << name;
    }
    for (const std::string& name : earlier)
    {
        EXPECT_EQ(fs::read_symlink(name), notes) << name;
        fs::remove(name);
    }
}

// A PDF print and a case save beyond the file-size limit, then on a full file system (a small one of the
// test's own where the system lets it make one): the old files stay whole, and each says why.
TEST_F(TemporaryFiles, APrintAndASaveBeyondTheFileSizeLimitOrOnAFullDiskKeepTheOldFilesAndSayWhy)
{
    const fs::path folder = m_home / "out";
    fs::create_directories(folder);
    ASSERT_NE(m_doc->OpenPlotView(L"Plot", 2, 1), nullptr);
    Pump();
    const fs::path pdf = folder / "plot.pdf", qor = folder / "case.qor";
    // Whole earlier files of both names.
    ScriptedMessageBoxes boxes;
    PrintTo(pdf);
    SaveAs(qor);
    ASSERT_TRUE(boxes.Shown().empty());
    const std::string firstPdf = ReadAll(pdf), firstCase = ReadAll(qor);
    ASSERT_GT(firstPdf.size(), 4096u);
    ASSERT_FALSE(firstCase.empty());

    // Prints and saves both again: both fail for the reason given, and nothing but the old files is left
    // in their folder (and what else it held).
    auto tryBoth = [&](const fs::path& pdf, const fs::path& qor, const char* reason) {
        auto namesIn = [](const fs::path& folder) {
            std::set<std::string> names;
            for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().string());
            return names;
        };
        const std::set<std::string> names = namesIn(pdf.parent_path());
        // The print leaves nothing while its message waits for the user either.
        std::vector<std::set<std::string>> namesAtBoxes;
        boxes.WhenShown([&](const qor::MessageBoxCall&) { namesAtBoxes.push_back(namesIn(pdf.parent_path())); });
        const std::string oldPdf = ReadAll(pdf), oldCase = ReadAll(qor);
        const std::size_t before = boxes.Shown().size();
        for (int i = 0; i < 2; ++i) boxes.Answer(IDOK);
        PrintTo(pdf);
        m_doc->m_sCaseNotes = CString(L'n', 20000);
        m_doc->SetModifiedFlag(TRUE);
        SendMenuCommand(ID_FILE_SAVE);
        ASSERT_EQ(boxes.Shown().size(), before + 2) << reason;
        EXPECT_EQ(boxes.Shown()[before].text,
                  L"Problem printing: " + CString::FromUtf8(pdf.string()) + L": " + CString::FromUtf8(reason));
        EXPECT_NE(boxes.Shown()[before + 1].text.Find(CString::FromUtf8(reason)), -1)
            << boxes.Shown()[before + 1].text.ToUtf8();
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_EQ(ReadAll(pdf), oldPdf) << reason;
        EXPECT_EQ(ReadAll(qor), oldCase) << reason;
        boxes.WhenShown(nullptr);
        EXPECT_EQ(namesIn(pdf.parent_path()), names) << "no temporary file is left";
        ASSERT_EQ(namesAtBoxes.size(), 2u);
        EXPECT_EQ(namesAtBoxes[0], names) << "the print's temporary file went before its message";
    };

    {
        auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit small = old;
        small.rlim_cur = 4096;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        tryBoth(pdf, qor, "File too large");
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, oldHandler);
    }

    // A file system of 1 MiB holding the old files and one that fills the rest, in a mount namespace of
    // this process's own: the mount is seen by nobody else and goes with the test program.
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no file system of the test's own can be made here";
    const fs::path full = m_home / "full";
    fs::create_directories(full);
    ASSERT_EQ(::mount("qor-test", full.c_str(), "tmpfs", 0, "size=1m,mode=0755"), 0);
    fs::copy_file(pdf, full / "plot.pdf");
    fs::copy_file(qor, full / "case.qor");
    m_doc->SetPathName(CString::FromUtf8((full / "case.qor").string()), FALSE);
    {
        std::ofstream filler(full / "filler", std::ios::binary);
        const std::string block(4 << 10, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())).flush())
            ;
    }
    tryBoth(full / "plot.pdf", full / "case.qor", "No space left on device");
    // The profile, written at each of many values: the failure is said once on standard error, and no
    // temporary file is left.
    setenv("XDG_CONFIG_HOME", full.c_str(), 1);
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(AfxGetApp()->WriteProfileInt(L"Test", L"Entry", i));
    const std::string said = ::testing::internal::GetCapturedStderr();
    setenv("XDG_CONFIG_HOME", (m_home / "config").c_str(), 1);
    EXPECT_EQ(said, "Profile: " + (full / "Penrow University.ini").string() +
                        " could not be written: No space left on device\n");
    EXPECT_FALSE(fs::exists(full / "Penrow University.ini"));
    EXPECT_EQ(std::distance(fs::directory_iterator(full), fs::directory_iterator()), 3);
    EXPECT_EQ(::umount2(full.c_str(), MNT_DETACH), 0);
}
