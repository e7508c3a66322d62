// Pages drawn through TCanvas into one PDF in memory, laid out for one
// paper: the same drawing a printer of that paper gets.
#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <memory>

#include "render/canvas.h"

class QBuffer;
class QPainter;
class QPdfWriter;
class TQtCanvas;

// Nothing leaves memory before ToPdf: a document dropped half-drawn leaves
// no trace.
class TPdfPages {
public:
    // `layout` gives the paper, its margins and orientation; the drawing
    // units are dots of `resolution` per inch, origin at the top-left corner
    // of the printable area.
    TPdfPages(const QPageLayout& layout, int resolution);
    ~TPdfPages();
    TPdfPages(const TPdfPages&) = delete;
    TPdfPages& operator=(const TPdfPages&) = delete;

    // The printable area in dots.
    int32_t Width() const;
    int32_t Height() const;

    // Starts a page and returns its surface, with the font, pen and brush of
    // a new canvas. Owned here; valid until ToPdf.
    TCanvas& NewPage();

    // The document's title (/Title); before the first page.
    void SetTitle(const QString& title);

    // Every page, in order, as a PDF document: vector lines, the fonts
    // embedded as subsets, text that can be read back. Once: the document
    // is finished then.
    QByteArray ToPdf();

private:
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<TQtCanvas> canvas_;
    bool written_ = false;
};
