#include "scans/marked_pdf.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

#include "render/qt_fonts.h"
#include "render/reference_page.h"
#include "worksheet/operations.h"

namespace {

QPointF ImagePoint(const TReadPage& page, double xMm, double yMm)
{
    const TPoint p = page.PageToImage.Map({xMm, yMm});
    return {p.X, p.Y};
}

}  // namespace

QByteArray MarkedPdf(const std::vector<TScanPage>& pages, const std::vector<const TMarkedSheet*>& marked,
                     const std::vector<const TReadPage*>& read)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Tavelin"));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    const QColor red(220, 0, 0);
    bool first = true;
    for (size_t i = 0; i < pages.size(); ++i) {
        // A file that gave no page has none here either.
        if (!pages[i].Failure.empty()) continue;
        std::string failure;
        const QImage image = pages[i].Image(failure);
        const QSizeF size(std::max(1, image.width()) / pages[i].Dpi * 25.4, std::max(1, image.height()) / pages[i].Dpi * 25.4);
        writer.setPageSize(QPageSize(size, QPageSize::Millimeter));
        writer.setResolution(static_cast<int>(pages[i].Dpi));
        if (first) {
            if (!painter.begin(&writer)) return {};
            first = false;
        } else {
            writer.newPage();
        }
        painter.resetTransform();
        if (!image.isNull()) painter.drawImage(QPointF(0, 0), image);
        const TMarkedSheet* sheet = marked[i];
        const TReadPage* page = read[i];
        if (!sheet || !page) continue;
        const TOperation operation = sheet->Sheet.Settings.Operation;
        for (size_t k = 0; k < sheet->Answers.size() && k < page->Places.size(); ++k) {
            const TAnswerCells& row = page->Places[k].Remainder.Count > 0 ? page->Places[k].Remainder : page->Places[k].Answer;
            const double cellMm = row.Height / 10.0;
            const QPointF at = ImagePoint(*page, row.Right / 10.0 + cellMm * 0.2, row.Top / 10.0);
            const QPointF far = ImagePoint(*page, row.Right / 10.0 + cellMm * 1.2, (row.Top + row.Height) / 10.0);
            const QRectF box(at, far);
            painter.setPen(QPen(red, std::max(2.0, box.height() / 12)));
            painter.setBrush(Qt::NoBrush);
            if (!sheet->Right[k]) {
                QFont font(QString::fromUtf8(kGothicFace));
                font.setPixelSize(static_cast<int>(box.height() * 0.8));
                painter.setFont(font);
                painter.drawText(box, Qt::AlignCenter, QStringLiteral("？"));
                continue;
            }
            if (*sheet->Right[k]) {
                painter.drawEllipse(box.adjusted(box.width() * 0.1, box.height() * 0.1, -box.width() * 0.1, -box.height() * 0.1));
                continue;
            }
            painter.drawLine(box.topLeft() + QPointF(box.width() * 0.15, box.height() * 0.15),
                             box.bottomRight() - QPointF(box.width() * 0.15, box.height() * 0.15));
            painter.drawLine(box.topRight() + QPointF(-box.width() * 0.15, box.height() * 0.15),
                             box.bottomLeft() + QPointF(box.width() * 0.15, -box.height() * 0.15));
            // The right answer whole under the answer's cells (a division's
            // 「12あまり2」 under its quotient and remainder together),
            // made smaller where it is wider than they are.
            const TSheetProblem& p = sheet->Sheet.Problems[k];
            const QString right = QString::fromStdString(WrittenText(EveryAnswer(operation, p.First, p.Second)[0]));
            const TAnswerCells& answer = page->Places[k].Answer;
            const double left = (answer.Right - answer.Count * answer.Width) / 10.0, rightEdge = row.Right / 10.0;
            const double below = (row.Top + row.Height) / 10.0;
            const QRectF under = QRectF(ImagePoint(*page, left, below + cellMm * 0.05),
                                        ImagePoint(*page, rightEdge, below + cellMm * 0.6)).normalized();
            QFont font(QString::fromUtf8(kGothicFace));
            font.setPixelSize(std::max(1, static_cast<int>(under.height() * 0.9)));
            const double wide = QFontMetricsF(font).horizontalAdvance(right);
            if (wide > under.width() && wide > 0)
                font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * under.width() / wide)));
            painter.setFont(font);
            painter.drawText(under, Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, right);
        }
    }
    if (painter.isActive()) painter.end();
    return pdf;
}
