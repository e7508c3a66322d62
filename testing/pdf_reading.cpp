#include "pdf_reading.h"

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

int PdfDarkPixels(const QString& pdf, int dpi)
{
    QTemporaryDir folder;
    const QString base = folder.filePath(QStringLiteral("page"));
    RunProgram(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                     QStringLiteral("-aa"), QStringLiteral("no"), QStringLiteral("-aaVector"),
                                     QStringLiteral("no"), QStringLiteral("-singlefile"), pdf, base});
    const QImage page(base + QStringLiteral(".pgm"));
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 128;
    return dark;
}

TInk PdfInk(const QString& pdf, int dpi)
{
    QTemporaryDir folder;
    const QString base = folder.filePath(QStringLiteral("page"));
    RunProgram(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                            QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                                            QStringLiteral("-l"), QStringLiteral("1"), pdf, base});
    const QImage page(base + QStringLiteral(".pgm"));
    TInk ink{{}, page.size()};
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) ink.Box |= QRect(x, y, 1, 1);
    return ink;
}

QStringList PdfFonts(const QString& pdf)
{
    return RunProgram(QStringLiteral("pdffonts"), {pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
}
