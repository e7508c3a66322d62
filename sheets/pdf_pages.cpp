#include "sheets/pdf_pages.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "render/qt_canvas.h"

namespace {

void SetUp(QPdfWriter& writer, const QPageLayout& layout, int resolution)
{
    writer.setResolution(resolution);
    writer.setPageLayout(layout);
    writer.setCreator(QStringLiteral("Tavelin"));
}

}  // namespace

TPdfPages::TPdfPages(const QPageLayout& layout, int resolution)
    : layout_(layout),
      resolution_(resolution),
      measureBuffer_(std::make_unique<QBuffer>()),
      measureDevice_(std::make_unique<QPdfWriter>(measureBuffer_.get()))
{
    SetUp(*measureDevice_, layout_, resolution_);
    measurer_ = std::make_unique<TQtCanvas>(static_cast<QPaintDevice&>(*measureDevice_));
}

TPdfPages::~TPdfPages() = default;

int32_t TPdfPages::Width() const
{
    return measureDevice_->width();
}

int32_t TPdfPages::Height() const
{
    return measureDevice_->height();
}

TRecordedPage& TPdfPages::NewPage()
{
    TQtCanvas* measurer = measurer_.get();
    pages_.push_back(std::make_unique<TRecordedPage>([measurer](const TFont& font, const std::string& text) {
        measurer->Font = font;
        return measurer->TextWidth(text);
    }));
    return *pages_.back();
}

QByteArray TPdfPages::ToPdf(const QString& title) const
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&out);
        SetUp(writer, layout_, resolution_);
        writer.setTitle(title);
        QPainter painter(&writer);
        for (size_t i = 0; i < pages_.size(); ++i) {
            if (i > 0) writer.newPage();
            TQtCanvas canvas(painter);
            pages_[i]->ReplayOn(canvas);
        }
        painter.end();
    }
    return out.data();
}
