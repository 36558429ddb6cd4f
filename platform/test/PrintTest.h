// Headless test support for printing: print dialogs answered by a script with every job
// going to a PDF file, and reading such a PDF back (pages, page sizes, drawing operations).
#pragma once

#include "platform/gui/draw/Gdi.h"
#include "platform/gui/print/Print.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace qor::test {

// For its life: print dialogs are answered from a script (first in, first out; then
// `defaultAnswer`) and recorded, and every job prints to the PDF file `pdfPath`.
// `edit`, when set, plays the user's choices on the dialog (page range, copies ...) before
// it is answered.
class DrivenPrinting
{
public:
    explicit DrivenPrinting(const std::string& pdfPath, int defaultAnswer = IDOK);
    ~DrivenPrinting();
    DrivenPrinting(const DrivenPrinting&) = delete;
    DrivenPrinting& operator=(const DrivenPrinting&) = delete;

    void Answer(int id) { m_answers.push_back(id); }
    void OnDialog(std::function<void(CPrintDialog&)> edit) { m_edit = std::move(edit); }
    // The flags (m_pd.Flags) of each dialog shown, in order.
    const std::vector<DWORD>& Shown() const { return m_shown; }

private:
    std::deque<int> m_answers;
    int m_default;
    std::function<void(CPrintDialog&)> m_edit;
    std::vector<DWORD> m_shown;
    qor::gui::PrintDialogDriver m_previousDriver;
    CString m_previousFile;
};

// A path for a PDF file in a folder of this test program (the file itself does not exist).
std::string TempPdfPath(const std::string& name);
bool FileExists(const std::string& path);

// Draws draw(dc) on one page painted straight onto a PDF printer set up as the next job's (the
// file and resolution SetPrintToFile and SetPdfResolution give), on this thread, with no
// recording between: the page a printed page is to look like. False when it could not print.
bool PrintPageStraight(const std::function<void(CDC&)>& draw);

// ---- Reading a PDF written by the printer -----------------------------------------------------
// The number of page objects, or -1 when the file is missing or is not a PDF.
int CountPdfPages(const std::string& path);
// Each page's drawing operations (its content stream, uncompressed), in page order.
std::vector<std::string> PdfPageContents(const std::string& path);
// Each page's size in points (its media box), in page order.
std::vector<CSize> PdfPageSizes(const std::string& path);
// The bounding box of the paths ("x y m", "x y l", "x y w h re") in a page's content, in the
// printer's device pixels; empty when the page draws no path.
CRect PdfPathBounds(const std::string& content);
// The font sizes selected for text ("/F1 75 Tf") in a page's content, in device pixels.
std::vector<double> PdfTextSizes(const std::string& content);
// Page `page` (0-based) of a PDF file rendered at width x height pixels, row by row (empty when it cannot be).
std::vector<COLORREF> RenderPdfPage(const std::string& path, int page, int width, int height);
// What `print` prints (it sends a print command), into a PDF file of its own: the first page rendered at
// width x height pixels; the file goes.
std::vector<COLORREF> PrintedFirstPage(const std::function<void()>& print, int width, int height);

} // namespace qor::test
