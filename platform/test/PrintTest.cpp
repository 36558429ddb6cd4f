// Headless test support for printing: print dialogs answered by a script with every job going to a PDF file,
// and reading such a PDF back (pages, page sizes, drawing operations).
#include "platform/test/PrintTest.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/print/PrintInternal.h"
#include "platform/test/GuiTest.h"

#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QRegularExpression>
#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtPdf/QPdfDocument>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

namespace qor::test {

// ---- Driven printing ----------------------------------------------------------------------------

DrivenPrinting::DrivenPrinting(const std::string& pdfPath, int defaultAnswer) : m_default(defaultAnswer)
{
    EnsureGuiApplication();
    m_previousFile = qor::gui::GetPrintToFile();
    qor::gui::SetPrintToFile(CString::FromUtf8(pdfPath));
    m_previousDriver = qor::gui::SetPrintDialogDriver([this](CPrintDialog& dlg) {
        m_shown.push_back(dlg.m_pd.Flags);
        if (m_edit) m_edit(dlg);
        if (m_answers.empty()) return m_default;
        int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

DrivenPrinting::~DrivenPrinting()
{
    qor::gui::SetPrintDialogDriver(std::move(m_previousDriver));
    qor::gui::SetPrintToFile(m_previousFile);
}

std::string TempPdfPath(const std::string& name)
{
    static QTemporaryDir dir;
    return (dir.path() + QLatin1Char('/') + QString::fromStdString(name)).toStdString();
}

bool FileExists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

bool PrintPageStraight(const std::function<void(CDC&)>& draw)
{
    EnsureGuiApplication();
    std::unique_ptr<QPrinter> printer = qor::gui::MakeJobPrinter();
    if (!printer) return false;
    QPainter painter;
    if (!painter.begin(printer.get())) return false;
    HDC hdc = qor::gui::CreatePainterDC(printer.get(), &painter, true, qor::gui::PrinterDeviceInfo(*printer));
    {
        CDC dc;
        dc.Attach(hdc);
        draw(dc);
        dc.Detach();
    }
    ::DeleteDC(hdc);
    return painter.end();
}

// ---- Reading a PDF ------------------------------------------------------------------------------

namespace {

struct PdfPage
{
    QByteArray dict; // the page object's text up to "endobj"
};

QByteArray ReadAll(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

std::vector<PdfPage> Pages(const QByteArray& pdf)
{
    std::vector<PdfPage> pages;
    static const QByteArray kType("/Type /Page");
    for (qsizetype at = pdf.indexOf(kType); at >= 0; at = pdf.indexOf(kType, at + 1))
    {
        qsizetype after = at + kType.size();
        if (after < pdf.size() && pdf[after] == 's') continue; // the page tree
        qsizetype end = pdf.indexOf("endobj", at);
        pages.push_back(PdfPage{pdf.mid(at, end < 0 ? -1 : end - at)});
    }
    return pages;
}

QByteArray StreamOfObject(const QByteArray& pdf, int object)
{
    QRegularExpression head(QStringLiteral("(^|\\s)%1 0 obj").arg(object));
    auto m = head.match(QString::fromLatin1(pdf));
    if (!m.hasMatch()) return {};
    qsizetype objAt = m.capturedEnd();
    qsizetype s = pdf.indexOf("stream", objAt);
    if (s < 0) return {};
    s += 6;
    if (s < pdf.size() && pdf[s] == '\r') ++s;
    if (s < pdf.size() && pdf[s] == '\n') ++s;
    qsizetype e = pdf.indexOf("endstream", s);
    if (e < 0) return {};
    QByteArray data = pdf.mid(s, e - s);
    const QByteArray dict = pdf.mid(objAt, s - objAt);
    if (!dict.contains("/FlateDecode")) return data;
    // zlib data: qUncompress wants the expected size first (big-endian); it grows as needed.
    const quint32 guess = static_cast<quint32>(std::min<qsizetype>(data.size() * 16 + 65536, 1 << 26));
    QByteArray prefixed;
    prefixed.append(char(guess >> 24)).append(char(guess >> 16)).append(char(guess >> 8)).append(char(guess));
    prefixed.append(data);
    return qUncompress(prefixed);
}

} // namespace

int CountPdfPages(const std::string& path)
{
    const QByteArray pdf = ReadAll(path);
    if (!pdf.startsWith("%PDF-")) return -1;
    return static_cast<int>(Pages(pdf).size());
}

std::vector<std::string> PdfPageContents(const std::string& path)
{
    const QByteArray pdf = ReadAll(path);
    std::vector<std::string> out;
    static const QRegularExpression contents(QStringLiteral("/Contents (\\d+) 0 R"));
    for (const PdfPage& page : Pages(pdf))
    {
        auto m = contents.match(QString::fromLatin1(page.dict));
        out.push_back(m.hasMatch() ? StreamOfObject(pdf, m.captured(1).toInt()).toStdString() : std::string());
    }
    return out;
}

std::vector<CSize> PdfPageSizes(const std::string& path)
{
    const QByteArray pdf = ReadAll(path);
    std::vector<CSize> out;
    static const QRegularExpression box(
        QStringLiteral("/MediaBox \\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
    for (const PdfPage& page : Pages(pdf))
    {
        auto m = box.match(QString::fromLatin1(page.dict));
        if (!m.hasMatch())
        {
            out.emplace_back(0, 0);
            continue;
        }
        out.emplace_back(static_cast<int>(std::lround(m.captured(3).toDouble() - m.captured(1).toDouble())),
                         static_cast<int>(std::lround(m.captured(4).toDouble() - m.captured(2).toDouble())));
    }
    return out;
}

CRect PdfPathBounds(const std::string& content)
{
    static const QRegularExpression point(QStringLiteral("(?m)^([-\\d.]+) ([-\\d.]+) [ml]$"));
    static const QRegularExpression rect(QStringLiteral("(?m)^([-\\d.]+) ([-\\d.]+) ([-\\d.]+) ([-\\d.]+) re$"));
    double l = std::numeric_limits<double>::max(), t = l, r = -l, b = -l;
    bool any = false;
    auto add = [&](double x, double y) {
        l = std::min(l, x);
        r = std::max(r, x);
        t = std::min(t, y);
        b = std::max(b, y);
        any = true;
    };
    const QString text = QString::fromStdString(content);
    for (auto it = point.globalMatch(text); it.hasNext();)
    {
        auto m = it.next();
        add(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    for (auto it = rect.globalMatch(text); it.hasNext();)
    {
        auto m = it.next();
        const double x = m.captured(1).toDouble(), y = m.captured(2).toDouble();
        add(x, y);
        add(x + m.captured(3).toDouble(), y + m.captured(4).toDouble());
    }
    if (!any) return CRect();
    return CRect(static_cast<int>(std::lround(l)), static_cast<int>(std::lround(t)), static_cast<int>(std::lround(r)),
                 static_cast<int>(std::lround(b)));
}

std::vector<double> PdfTextSizes(const std::string& content)
{
    static const QRegularExpression tf(QStringLiteral("/\\w+ ([\\d.]+) Tf"));
    std::vector<double> out;
    auto it = tf.globalMatch(QString::fromStdString(content));
    while (it.hasNext()) out.push_back(it.next().captured(1).toDouble());
    return out;
}

std::vector<COLORREF> RenderPdfPage(const std::string& path, int page, int width, int height)
{
    QPdfDocument document;
    std::vector<COLORREF> pixels;
    if (document.load(QString::fromStdString(path)) != QPdfDocument::Error::None || page >= document.pageCount())
        return pixels;
    // The page on white paper, as viewers show it (the rendering is transparent where nothing is drawn).
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.drawImage(0, 0, document.render(page, QSize(width, height)));
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) pixels.push_back(qor::gui::FromQColor(image.pixel(x, y)));
    return pixels;
}

std::vector<COLORREF> PrintedFirstPage(const std::function<void()>& print, int width, int height)
{
    const std::string pdf = TempPdfPath("first-page.pdf");
    {
        DrivenPrinting printing(pdf);
        print();
    }
    std::vector<COLORREF> page = RenderPdfPage(pdf, 0, width, height);
    std::remove(pdf.c_str());
    return page;
}

} // namespace qor::test
