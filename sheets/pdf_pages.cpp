#include "sheets/pdf_pages.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <stdexcept>

#include "render/qt_canvas.h"

TPdfPages::TPdfPages(const QPageLayout& layout, int resolution)
    : buffer_(std::make_unique<QBuffer>()), writer_(std::make_unique<QPdfWriter>(buffer_.get()))
{
    writer_->setResolution(resolution);
    writer_->setPageLayout(layout);
    writer_->setCreator(QStringLiteral("Tavelin"));
    // Room for a class set, so that the document is not copied as it grows.
    buffer_->buffer().reserve(1 << 20);
    buffer_->open(QIODevice::WriteOnly);
    canvas_ = std::make_unique<TQtCanvas>(static_cast<QPaintDevice&>(*writer_));
}

TPdfPages::~TPdfPages()
{
    canvas_.reset();
    // A document dropped half-made (out of memory, most likely): ending it
    // writes what is there, which may fail again; nothing of it is wanted.
    try {
        if (painter_) painter_->end();
    } catch (...) {
        // Still active, its own end would raise again: it is left as it is.
        (void)painter_.release();
    }
}

int32_t TPdfPages::Width() const
{
    return writer_->width();
}

int32_t TPdfPages::Height() const
{
    return writer_->height();
}

TCanvas& TPdfPages::NewPage()
{
    if (written_) throw std::logic_error("the PDF is written already");
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(writer_.get());
        canvas_->SetPainter(painter_.get());
    } else {
        canvas_->FlushLines();
        writer_->newPage();
    }
    canvas_->Font = TFont{};
    canvas_->Pen = TPen{};
    canvas_->Brush = TBrush{};
    return *canvas_;
}

void TPdfPages::SetTitle(const QString& title)
{
    // The writer takes a title only before painting begins.
    if (painter_) throw std::logic_error("the title of a PDF comes before its pages");
    writer_->setTitle(title);
}

QByteArray TPdfPages::ToPdf()
{
    if (written_) throw std::logic_error("the PDF is written already");
    written_ = true;
    if (!painter_) NewPage();  // a document has one page at least
    canvas_->SetPainter(nullptr);
    painter_->end();
    painter_.reset();
    return buffer_->data();
}
