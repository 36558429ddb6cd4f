// Build tool: turns the user manual's Markdown source into a PDF file with the toolkit's own text layout
// and PDF writer, so that no document processor is needed on the build machine.
//   qor_make_manual <source.md> <output.pdf>
#include <QtCore/QFile>
#include <QtCore/QTextStream>
#include <QtGui/QFont>
#include <QtGui/QGuiApplication>
#include <QtGui/QPageLayout>
#include <QtGui/QPageSize>
#include <QtGui/QPdfWriter>
#include <QtGui/QTextDocument>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s <source.md> <output.pdf>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QTextStream(&source).readAll();

    const QString target = QString::fromLocal8Bit(argv[2]);
    const QString partial = target + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setTitle(QStringLiteral("QOR User Manual"));
        writer.setCreator(QStringLiteral("QOR"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setResolution(300);

        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 11));
        doc.setMarkdown(markdown);
        doc.print(&writer);
    }
    QFile::remove(target);
    if (!QFile::rename(partial, target))
    {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
