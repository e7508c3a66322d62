#include "answer_scans.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <cmath>

#include "render/large_cell_page.h"
#include "render/page_layout.h"
#include "render/paper_size.h"
#include "render/qt_canvas.h"
#include "worksheet/decimal.h"

namespace {

// Writes `text` right-aligned in the cells of `row`, a digit a cell, in
// dots of the page.
void WriteInCells(QPainter& painter, const TAnswerCells& row, const std::string& text, const THand& hand, std::mt19937& random)
{
    std::uniform_real_distribution<double> off(-0.08, 0.08), size(0.62, 0.82);
    for (size_t i = 0; i < text.size(); ++i) {
        const int cell = row.Count - static_cast<int>(text.size()) + static_cast<int>(i);
        if (cell < 0) continue;
        const QImage glyph = hand(text[i] - '0', random);
        const double h = row.Height * size(random);
        const double w = h * glyph.width() / std::max(1, glyph.height());
        const double left = row.Right - (row.Count - cell) * row.Width;
        const QRectF target(left + (row.Width - w) / 2 + off(random) * row.Width, row.Top + (row.Height - h) / 2 + off(random) * row.Height,
                            w, h);
        // The glyph's white ink as dark pencil.
        QImage ink(glyph.size(), QImage::Format_ARGB32);
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x) {
                const int v = qGray(glyph.pixel(x, y));
                ink.setPixel(x, y, qRgba(40, 40, 48, v));
            }
        painter.drawImage(target, ink);
    }
}

// A point in pencil on the line before the last `places` cells of `row`, at
// the foot of the digits, a little off and of a pupil's size.
void WritePoint(QPainter& painter, const TAnswerCells& row, int32_t places, std::mt19937& random)
{
    std::uniform_real_distribution<double> off(-0.06, 0.06), foot(0.78, 0.94), size(0.09, 0.15);
    const double x = row.Right - places * row.Width + off(random) * row.Width;
    const double y = row.Top + foot(random) * row.Height;
    const double d = size(random) * row.Width;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 48));
    painter.drawEllipse(QPointF(x, y), d / 2, d / 2 * (0.8 + 0.4 * std::abs(off(random)) / 0.06));
    painter.restore();
}

}  // namespace

THand FaceHand(const QString& family)
{
    return [family](int digit, std::mt19937& random) {
        QImage image(80, 100, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font(family);
        font.setPixelSize(80);
        std::uniform_real_distribution<double> slant(-0.2, 0.2), turn(-8, 8);
        std::uniform_int_distribution<int> weight(0, 2);
        font.setWeight(weight(random) == 2 ? QFont::Bold : QFont::Normal);
        painter.setFont(font);
        painter.setPen(Qt::white);
        QTransform t;
        t.translate(40, 50);
        t.rotate(turn(random));
        t.shear(slant(random), 0);
        t.translate(-40, -50);
        painter.setTransform(t);
        painter.drawText(QRect(0, 0, 80, 100), Qt::AlignCenter, QString::number(digit));
        return image;
    };
}

QImage FilledScan(const TSheet& sheet, const std::vector<std::optional<TWrittenAnswer>>& answers, int roll,
                  const THand& hand, const TScanStyle& style, std::mt19937& random)
{
    const TPaperSize& paper = kPaperSizes[0];
    const double dots = style.Dpi / 25.4;
    const int pw = static_cast<int>(std::lround(paper.WidthMm * dots)), ph = static_cast<int>(std::lround(paper.HeightMm * dots));
    QImage page(pw, ph, QImage::Format_RGB32);
    page.fill(Qt::white);
    TPageView view = PageViewOf(sheet.Settings);
    view.DotsPerMm = dots;
    view.PaperName = paper.Name;
    const int32_t W = static_cast<int32_t>(std::lround((paper.WidthMm - 2 * kSheetMarginMm) * dots));
    const int32_t H = static_cast<int32_t>(std::lround((paper.HeightMm - 2 * kSheetMarginMm) * dots));
    {
        QPainter painter(&page);
        painter.translate(kSheetMarginMm * dots, kSheetMarginMm * dots);
        {
            TQtCanvas canvas(painter);
            DrawSheetPage(canvas, W, H, view, sheet, false);
        }
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const std::vector<TAnswerPlaces> places = AnswerPlacesOf(sheet, view, W, H);
        for (size_t k = 0; k < places.size() && k < answers.size(); ++k) {
            if (!answers[k]) continue;
            const std::string digits = DecimalDigits(answers[k]->Value, answers[k]->Places);
            WriteInCells(painter, places[k].Answer, digits, hand, random);
            if (answers[k]->Places > 0) WritePoint(painter, places[k].Answer, answers[k]->Places, random);
            if (places[k].Remainder.Count > 0 && answers[k]->Remainder > 0)
                WriteInCells(painter, places[k].Remainder, std::to_string(answers[k]->Remainder), hand, random);
        }
        if (roll > 0) {
            const TReadingMarks marks = ReadingMarksOf(view, W, H);
            const TAnswerCells box{marks.Roll[1].Right, marks.Roll[0].Top, marks.Roll[0].Right - marks.Roll[0].Left,
                                   marks.Roll[0].Bottom - marks.Roll[0].Top, 2};
            WriteInCells(painter, box, std::to_string(roll), hand, random);
        }
    }
    // On the glass or before the camera: a camera tilted by the angle sees
    // the far edge of the sheet narrower, and keeps the whole sheet in view.
    QTransform perspective;
    if (style.Camera) {
        const double k = std::sin(style.PerspectiveDegrees * M_PI / 180) * 0.6;
        QPolygonF from, to;
        from << QPointF(0, 0) << QPointF(pw, 0) << QPointF(pw, ph) << QPointF(0, ph);
        to << QPointF(pw * k / 2, ph * k / 3) << QPointF(pw * (1 - k / 2), ph * k / 3) << QPointF(pw, ph) << QPointF(0, ph);
        QTransform::quadToQuad(from, to, perspective);
    }
    QTransform t;
    t.translate(pw / 2.0, ph / 2.0);
    t.rotate(style.TurnDegrees + (style.UpsideDown ? 180 : 0));
    t.scale(style.Scale * (style.Camera ? 0.9 : 1), style.Scale * (style.Camera ? 0.9 : 1));
    t.translate(-pw / 2.0, -ph / 2.0);
    t = perspective * t;
    QImage scan(pw, ph, QImage::Format_RGB32);
    scan.fill(style.Camera ? QColor(90, 80, 70) : QColor(245, 245, 245));
    {
        QPainter painter(&scan);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setTransform(t);
        painter.drawImage(0, 0, page);
    }
    std::normal_distribution<double> noise(0, style.Noise);
    for (int y = 0; y < ph; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(scan.scanLine(y));
        for (int x = 0; x < pw; ++x) {
            double light = 1;
            if (style.Camera) light = 0.65 + 0.35 * (1 - std::hypot(x - pw * 0.3, y - ph * 0.2) / std::hypot(pw, ph));
            const double n = style.Noise ? noise(random) : 0;
            const int r = std::clamp(static_cast<int>(qRed(line[x]) * light + n), 0, 255);
            const int g = std::clamp(static_cast<int>(qGreen(line[x]) * light + n), 0, 255);
            const int b = std::clamp(static_cast<int>(qBlue(line[x]) * light + n), 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    if (style.JpegQuality > 0) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        scan.save(&buffer, "JPEG", style.JpegQuality);
        scan.loadFromData(bytes, "JPEG");
    }
    return scan;
}
