// Documents open and save through the file's descriptor; a save writes a temporary file
// that replaces the target only on success; a modified document asks before it closes;
// a view prints its pages through File > Print.
#include "tests/platform/gui/frame/frame_support.h"

#include "platform/test/PrintTest.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace frametest;

namespace {
std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
void WriteAll(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}
TestDoc* ActiveDoc()
{
    CMDIChildWnd* c = qor::test::MainFrame()->MDIGetActive();
    return c ? static_cast<TestDoc*>(c->GetActiveDocument()) : nullptr;
}
} // namespace

TEST_F(AppTest, OpenReadsThroughTheDescriptorAndSaveWritesThroughIt)
{
    std::string path = qor::test::TempFilePath("case.tst");
    WriteAll(path, "bridge 1");
    auto* doc = static_cast<TestDoc*>(app.OpenDocumentFile(CString::FromUtf8(path)));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc, ActiveDoc());
    EXPECT_EQ(doc->m_text, "bridge 1");
    EXPECT_GE(doc->m_fdSeen, 0);
    EXPECT_EQ(doc->GetPathName(), CString::FromUtf8(path));
    EXPECT_EQ(doc->GetTitle(), CString::FromUtf8(path.substr(path.rfind('/') + 1)));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ((*app.m_pRecentFileList)[0], CString::FromUtf8(path));
    // Opening the same file again gives the open document.
    EXPECT_EQ(app.OpenDocumentFile(CString::FromUtf8(path)), doc);

    doc->m_text = "bridge 1, bridge 2";
    doc->SetModifiedFlag();
    qor::test::SaveActiveDocument();
    EXPECT_EQ(ReadAll(path), "bridge 1, bridge 2");
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(AppTest, AFailedSaveLeavesTheOldFileAndTheDocumentModified)
{
    std::string path = qor::test::TempFilePath("keep.tst");
    WriteAll(path, "old contents");
    auto* doc = static_cast<TestDoc*>(app.OpenDocumentFile(CString::FromUtf8(path)));
    ASSERT_NE(doc, nullptr);
    qor::test::ScriptedMessageBoxes boxes;
    doc->m_text = "new contents that will not arrive";
    doc->m_failNextSave = true;
    doc->SetModifiedFlag();
    qor::test::SaveActiveDocument();
    EXPECT_EQ(ReadAll(path), "old contents");
    EXPECT_TRUE(doc->IsModified());
    // Only the document's own message: the framework adds none.
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, CString(L"Problem saving file: file is not saved."));
    // No temporary file is left beside the target.
    std::string folder = path.substr(0, path.rfind('/'));
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().string().find(path + "."), std::string::npos) << entry.path();
    doc->m_failNextSave = false;
    qor::test::SaveActiveDocument();
    EXPECT_EQ(ReadAll(path), "new contents that will not arrive");
}

TEST_F(AppTest, SaveToAMissingFolderFailsWithAMessage)
{
    TestDoc* doc = NewDoc();
    ASSERT_NE(doc, nullptr);
    qor::test::ScriptedMessageBoxes boxes;
    qor::test::DrivenFileDialogs files;
    files.Answer(L"/nonexistent-folder-qor/x.tst");
    doc->m_text = "x";
    doc->SetModifiedFlag();
    qor::test::SaveActiveDocument(); // no path yet: the save dialog asks
    EXPECT_EQ(files.Shown(), 1);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              CString(L"Failed to save document.\n/nonexistent-folder-qor/x.tst: No such file or directory"));
    EXPECT_TRUE(doc->GetPathName().IsEmpty());
}

TEST_F(AppTest, SaveModifiedAsksAndHonoursTheAnswer)
{
    TestDoc* doc = NewDoc();
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->SaveModified()); // unmodified: nothing asked
    doc->SetModifiedFlag();
    doc->m_text = "abc";
    {
        qor::test::ScriptedMessageBoxes boxes;
        boxes.Answer(IDCANCEL);
        EXPECT_FALSE(doc->SaveModified());
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, CString(L"Save changes to Case1?"));
        EXPECT_EQ(boxes.Shown()[0].type & MB_TYPEMASK, MB_YESNOCANCEL);
        // Closing the frame with Cancel keeps it open.
        boxes.Answer(IDCANCEL);
        Main()->MDIGetActive()->SendMessage(WM_CLOSE);
        EXPECT_EQ(ActiveDoc(), doc);
        boxes.Answer(IDNO);
        EXPECT_TRUE(doc->SaveModified());
        EXPECT_TRUE(doc->IsModified());
    }
    // Yes saves (the dialog gives the path) before it answers TRUE.
    std::string path = qor::test::TempFilePath("asked.tst");
    qor::test::ScriptedMessageBoxes boxes;
    qor::test::DrivenFileDialogs files;
    files.Answer(CString::FromUtf8(path));
    boxes.Answer(IDYES);
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_EQ(ReadAll(path), "abc");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), CString::FromUtf8(path.substr(path.rfind('/') + 1)));
    // Yes whose save is cancelled answers FALSE.
    doc->SetModifiedFlag();
    qor::test::DrivenFileDialogs none;
    boxes.Answer(IDYES);
    std::remove(path.c_str());
    doc->SetPathName(L"", FALSE);
    EXPECT_FALSE(doc->SaveModified());
}

TEST_F(AppTest, AMissingFileDoesNotOpenAndLeavesNoWindow)
{
    qor::test::ScriptedMessageBoxes boxes;
    EXPECT_EQ(app.OpenDocumentFile(L"/nonexistent-folder-qor/none.tst"), nullptr);
    EXPECT_EQ(Main()->MDIGetActive(), nullptr);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              CString(L"Failed to open document.\n/nonexistent-folder-qor/none.tst: No such file or directory"));
}

TEST_F(AppTest, FilePrintRunsTheViewsPrintProtocolIntoTwoPdfPages)
{
    ASSERT_NE(NewDoc(), nullptr);
    auto* view = static_cast<TestView*>(Main()->MDIGetActive()->GetActiveView());
    std::string pdf = qor::test::TempPdfPath("frames-two-pages.pdf");
    {
        qor::test::DrivenPrinting printing(pdf);
        qor::test::SendMenuCommand(ID_FILE_PRINT);
        EXPECT_EQ(printing.Shown().size(), 1u);
    }
    EXPECT_EQ(view->m_begin, 1);
    EXPECT_EQ(view->m_end, 1);
    EXPECT_EQ(view->m_printedPages, (std::vector<UINT>{1, 2}));
    ASSERT_EQ(qor::test::CountPdfPages(pdf), 2);
    auto pages = qor::test::PdfPageContents(pdf);
    ASSERT_EQ(pages.size(), 2u);
    CRect first = qor::test::PdfPathBounds(pages[0]);
    CRect second = qor::test::PdfPathBounds(pages[1]);
    EXPECT_NEAR(first.Width(), 200, 2);
    EXPECT_NEAR(second.Width(), 400, 2);
    // Cancelled in the dialog: nothing printed.
    std::string none = qor::test::TempPdfPath("frames-cancelled.pdf");
    {
        qor::test::DrivenPrinting printing(none, IDCANCEL);
        qor::test::SendMenuCommand(ID_FILE_PRINT);
    }
    EXPECT_FALSE(qor::test::FileExists(none));
    EXPECT_EQ(view->m_begin, 1);
}

TEST_F(AppTest, ASaveDialogAddsTheExtensionToTheNameTypedAndAsksBeforeReplacingThatFile)
{
    // A folder with a dot in its name: the name typed has no extension all the same.
    const std::string folder = qor::test::TempFilePath("cases.2026");
    std::filesystem::create_directories(folder);
    const CString dir(folder.c_str());
    EXPECT_EQ(qor::test::TypeIntoSaveDialog(dir, L"bridge", L".qor", true), dir + L"/bridge.qor");
    EXPECT_EQ(qor::test::TypeIntoSaveDialog(dir, L"bridge.csv", L"qor", true), dir + L"/bridge.csv");
    // The file the dialog would write exists: replacing it is asked for, and a no keeps it.
    std::ofstream(folder + "/bridge.qor") << "kept";
    EXPECT_EQ(qor::test::TypeIntoSaveDialog(dir, L"bridge", L".qor", false), CString());
    EXPECT_EQ(qor::test::TypeIntoSaveDialog(dir, L"bridge", L".qor", true), dir + L"/bridge.qor");
}
