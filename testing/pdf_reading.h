// What the tests read back from PDFs, with poppler's tools.
#pragma once

#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <vector>

// The standard output of a program run to its end (60 s at most).
QString RunProgram(const QString& program, const QStringList& arguments);

// The words of the PDF's text (pdftotext -raw), in reading order: of every
// page, or of page `page` (1-based) alone.
QStringList PdfWords(const QString& pdf, int page = 0);

// How many pages the PDF has (pdfinfo); 0 when it cannot be read.
int PdfPageCount(const QString& pdf);

// The size of the PDF's first page in points (pdfinfo).
QSizeF PdfPageSize(const QString& pdf);

// How many pixels of the PDF's first page, rasterised without antialiasing
// at `dpi` (pdftoppm), are dark.
int PdfDarkPixels(const QString& pdf, int dpi);

// Where ink is on the PDF's first page, rasterised at `dpi` (pdftoppm): the
// bounding box of its dark pixels, and the page's size, in pixels.
struct TInk {
    QRect Box;
    QSize Page;
};
TInk PdfInk(const QString& pdf, int dpi);

// The fonts of the PDF, a line each, as pdffonts lists them.
QStringList PdfFonts(const QString& pdf);

// The words of page `page` of the PDF (pdftotext -bbox), each with its box
// in points from the page's top-left corner.
struct TPdfWord {
    QString Text;
    double Left, Top, Right, Bottom;
};
std::vector<TPdfWord> PdfWordBoxes(const QString& pdf, int page);

// The characters of page `page` of the PDF (poppler), each with the box its
// glyph takes (its advance across, its line's height down), in points from
// the page's top-left corner.
std::vector<TPdfWord> PdfGlyphBoxes(const QString& pdf, int page);
