#include "pdf_reading.h"

#include <poppler-document.h>
#include <poppler-page.h>

#include <memory>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

QString RunProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList PdfWords(const QString& pdf, int page)
{
    QStringList arguments{QStringLiteral("-raw")};
    if (page > 0) arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    return RunProgram(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"))
        .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

int PdfPageCount(const QString& pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+([0-9]+)")).match(RunProgram(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QSizeF PdfPageSize(const QString& pdf)
{
    const QString info = RunProgram(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

namespace {

// The PDF's first page as a grey image; `options` go to pdftoppm before the file.
QImage GreyPage(const QString& pdf, int dpi, const QStringList& options)
{
    QTemporaryDir folder;
    const QString base = folder.filePath(QStringLiteral("page"));
    RunProgram(QStringLiteral("pdftoppm"), QStringList{QStringLiteral("-r"), QString::number(dpi),
                                                       QStringLiteral("-gray"), QStringLiteral("-singlefile"),
                                                       QStringLiteral("-f"), QStringLiteral("1"),
                                                       QStringLiteral("-l"), QStringLiteral("1")}
                                               << options << pdf << base);
    return QImage(base + QStringLiteral(".pgm"));
}

template <typename Dark> void ForEachDarkPixel(const QImage& page, Dark dark)
{
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) dark(x, y);
}

}  // namespace

int PdfDarkPixels(const QString& pdf, int dpi)
{
    const QImage page = GreyPage(pdf, dpi, {QStringLiteral("-aa"), QStringLiteral("no"),
                                            QStringLiteral("-aaVector"), QStringLiteral("no")});
    int dark = 0;
    ForEachDarkPixel(page, [&](int, int) { ++dark; });
    return dark;
}

TInk PdfInk(const QString& pdf, int dpi)
{
    const QImage page = GreyPage(pdf, dpi, {});
    TInk ink{{}, page.size()};
    ForEachDarkPixel(page, [&](int x, int y) { ink.Box |= QRect(x, y, 1, 1); });
    return ink;
}

QStringList PdfFonts(const QString& pdf)
{
    return RunProgram(QStringLiteral("pdffonts"), {pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
}

std::vector<TPdfWord> PdfWordBoxes(const QString& pdf, int page)
{
    const QString html = RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                                                    QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<TPdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble()});
    }
    return words;
}

std::vector<TPdfWord> PdfGlyphBoxes(const QString& pdf, int page)
{
    std::vector<TPdfWord> glyphs;
    const std::unique_ptr<poppler::document> document(poppler::document::load_from_file(QFile::encodeName(pdf).toStdString()));
    if (!document || page < 1 || page > document->pages()) return glyphs;
    const std::unique_ptr<poppler::page> read(document->create_page(page - 1));
    if (!read) return glyphs;
    for (const poppler::text_box& box : read->text_list()) {
        const poppler::byte_array utf8 = box.text().to_utf8();
        const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        const QList<uint> characters = text.toUcs4();
        for (qsizetype i = 0; i < characters.size(); ++i) {
            const poppler::rectf r = box.char_bbox(static_cast<size_t>(i));
            glyphs.push_back({QString::fromUcs4(reinterpret_cast<const char32_t*>(&characters[i]), 1), r.left(), r.top(), r.right(), r.bottom()});
        }
    }
    return glyphs;
}
