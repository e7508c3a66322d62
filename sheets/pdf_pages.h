// Pages drawn through TCanvas now and written into one PDF afterwards, laid
// out for one paper: the same drawing a printer of that paper gets.
#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <memory>
#include <vector>

#include "render/recorded_page.h"

class TQtCanvas;
class QBuffer;
class QPdfWriter;

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

    // Starts a page and returns its surface, which measures text as the PDF
    // will draw it. Owned here; valid while this object lives.
    TRecordedPage& NewPage();
    int PageCount() const { return static_cast<int>(pages_.size()); }
    const TRecordedPage& Page(int index) const { return *pages_.at(static_cast<size_t>(index)); }

    // Every page, in order, as a PDF document named `title`: vector lines,
    // the fonts embedded as subsets, text that can be read back.
    QByteArray ToPdf(const QString& title) const;

private:
    QPageLayout layout_;
    int resolution_;
    std::unique_ptr<QBuffer> measureBuffer_;
    std::unique_ptr<QPdfWriter> measureDevice_;
    std::unique_ptr<TQtCanvas> measurer_;
    std::vector<std::unique_ptr<TRecordedPage>> pages_;
};
