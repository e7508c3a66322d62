#include "scans/marked_pdf.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

#include "render/paper_size.h"
#include "render/qt_fonts.h"
#include "render/reference_page.h"
#include "worksheet/operations.h"

namespace {

// A marked page's resolution: enough for the pupil's writing, small enough
// for a class's PDF.
constexpr double kMarkedDpi = 150;

// The resolution a page that was not read goes out at: its own, or the
// width of A4 where it says none.
double DpiOf(const QImage& image)
{
    const double dpi = image.dotsPerMeterX() * 0.0254;
    if (dpi >= 50 && dpi <= 2400) return dpi;
    return std::max(1, image.width()) / (PaperSizeNamed("A4").WidthMm / 25.4);
}

// ○, ×, ? and the right answer of each answer of `sheet`, on its page
// drawn `dots` a millimetre.
void DrawMarks(QPainter& painter, const TMarkedSheet& sheet, const TReadPage& page, double dots)
{
    // Millimetres inside the margins, as the layout measures, to the page's dots.
    auto at = [dots](double xMm, double yMm) { return QPointF((xMm + kSheetMarginMm) * dots, (yMm + kSheetMarginMm) * dots); };
    const QColor red(220, 0, 0);
    const TOperation operation = sheet.Sheet.Settings.Operation;
    for (size_t k = 0; k < sheet.Answers.size() && k < page.Places.size(); ++k) {
        if (sheet.Answers[k].Decided == TDecided::Shown) continue;  // worked on the sheet
        const TAnswerCells& row = page.Places[k].Remainder.Count > 0 ? page.Places[k].Remainder : page.Places[k].Answer;
        const double cellMm = row.Height / 10.0;
        const QRectF box(at(row.Right / 10.0 + cellMm * 0.2, row.Top / 10.0), at(row.Right / 10.0 + cellMm * 1.2, (row.Top + row.Height) / 10.0));
        painter.setPen(QPen(red, std::max(2.0, box.height() / 12)));
        painter.setBrush(Qt::NoBrush);
        if (!sheet.Right[k]) {
            QFont font(QString::fromUtf8(kGothicFace));
            font.setPixelSize(std::max(1, static_cast<int>(box.height() * 0.8)));
            painter.setFont(font);
            painter.drawText(box, Qt::AlignCenter, QStringLiteral("？"));
            continue;
        }
        if (*sheet.Right[k]) {
            painter.drawEllipse(box.adjusted(box.width() * 0.1, box.height() * 0.1, -box.width() * 0.1, -box.height() * 0.1));
            continue;
        }
        painter.drawLine(box.topLeft() + QPointF(box.width() * 0.15, box.height() * 0.15),
                         box.bottomRight() - QPointF(box.width() * 0.15, box.height() * 0.15));
        painter.drawLine(box.topRight() + QPointF(-box.width() * 0.15, box.height() * 0.15),
                         box.bottomLeft() + QPointF(box.width() * 0.15, -box.height() * 0.15));
        // The right answer whole under the answer's cells (a division's
        // 「12あまり2」 under its quotient and remainder together), made
        // smaller where it is wider than they are.
        const TSheetProblem& p = sheet.Sheet.Problems[k];
        const QString right = QString::fromStdString(WrittenText(EveryAnswer(operation, p)[0]));
        const TAnswerCells& answer = page.Places[k].Answer;
        const double left = (answer.Right - answer.Count * answer.Width) / 10.0, below = (row.Top + row.Height) / 10.0;
        const QRectF under = QRectF(at(left, below + cellMm * 0.05), at(row.Right / 10.0, below + cellMm * 0.6)).normalized();
        QFont font(QString::fromUtf8(kGothicFace));
        font.setPixelSize(std::max(1, static_cast<int>(under.height() * 0.9)));
        const double wide = QFontMetricsF(font).horizontalAdvance(right);
        if (wide > under.width() && wide > 0) font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * under.width() / wide)));
        painter.setFont(font);
        painter.drawText(under, Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, right);
    }
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
    bool first = true;
    auto startPage = [&](const QSizeF& mm, double dpi) {
        writer.setPageSize(QPageSize(mm, QPageSize::Millimeter));
        writer.setResolution(static_cast<int>(std::lround(dpi)));
        if (first) {
            first = false;
            return painter.begin(&writer);
        }
        return writer.newPage();
    };
    for (size_t i = 0; i < pages.size(); ++i) {
        // A file that gave no page has none here either.
        if (!pages[i].Failure.empty()) continue;
        std::string failure;
        const QImage image = pages[i].Image(failure);
        const TMarkedSheet* sheet = i < marked.size() ? marked[i] : nullptr;
        const TReadPage* page = i < read.size() ? read[i] : nullptr;
        if (sheet && page && !image.isNull()) {
            // A sheet read goes out as it was printed: its paper, upright,
            // straightened by its registration, ready to hand back.
            const TPaperSize& paper = PaperSizeNamed(page->Paper);
            if (!startPage(QSizeF(paper.WidthMm, paper.HeightMm), kMarkedDpi)) return {};
            const double dots = kMarkedDpi / 25.4;
            painter.resetTransform();
            painter.drawImage(QPointF(0, 0), ImageOfGrey(RectifiedPage(GreyOfScan(image), page->PageToImage, page->Paper, dots)));
            DrawMarks(painter, *sheet, *page, dots);
            continue;
        }
        const double dpi = DpiOf(image);
        if (!startPage(QSizeF(std::max(1, image.width()) / dpi * 25.4, std::max(1, image.height()) / dpi * 25.4), dpi)) return {};
        painter.resetTransform();
        if (!image.isNull()) painter.drawImage(QPointF(0, 0), image);
    }
    if (painter.isActive()) painter.end();
    return pdf;
}
