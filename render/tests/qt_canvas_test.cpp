#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTest>

#include <cmath>

#include "render/cell_canvas.h"
#include "render/hissan.h"
#include "render/page_scale.h"
#include "render/qt_canvas.h"
#include "worksheet/problems.h"

namespace {

const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kRed = qRgb(255, 0, 0);

QImage Blank(int w, int h, QRgb fill = kWhite)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// Runs `draw` on a canvas over the image, as the page layout sets it up.
template <typename F>
void Draw(QImage& image, F&& draw)
{
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.Font.Name = "ＭＳ 明朝";
    canvas.Font.Height = 14;
    draw(canvas);
}

int CountColour(const QImage& image, QRgb colour, QRect area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

// The bounding box of every pixel that is not `background`.
QRect Ink(const QImage& image, QRgb background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

class QtCanvasTest : public QObject {
    Q_OBJECT

private slots:
    // In 大きなマス a digit's ink is two thirds of its cell and a mark's
    // two fifths, in the middle of its row, in either face: measured on the
    // inked glyph, not on the face's line.
    void digitsAndMarksFillTheirShareOfTheCell_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("cellMm");
        for (const char* face : {"BIZ UDGothic", "Klee One"})
            for (const int mm : {7, 10, 20}) QTest::newRow(qPrintable(QStringLiteral("%1 %2 mm").arg(face).arg(mm))) << face << mm;
    }

    void digitsAndMarksFillTheirShareOfTheCell()
    {
        QFETCH(QString, face);
        QFETCH(int, cellMm);
        constexpr double kDotsPerMm = 300 / 25.4;
        const int cell = static_cast<int>(std::lround(cellMm * kDotsPerMm));
        for (const bool mark : {false, true}) {
            QImage image = Blank(cell * 12, cell * 3);
            {
                QPainter painter(&image);
                TQtCanvas target(painter);
                TCellCanvas cells(target, face.toStdString(), cell, kDotsPerMm);
                cells.Font.Height = mark ? cell / 2 : cell;
                for (int digit = 0; digit <= 9; ++digit) cells.TextOut(cell * (digit + 1), cell, std::to_string(digit));
            }
            const double row = mark ? cell / 2 : cell;
            double shortest = 1e9, tallest = 0;
            for (int digit = 0; digit <= 9; ++digit) {
                const QRect ink = Ink(image.copy(cell * (digit + 1), 0, cell, 3 * cell), kWhite);
                const double inkMiddle = ink.top() + ink.height() / 2.0 - cell, rowMiddle = row / 2;
                shortest = std::min<double>(shortest, ink.height());
                tallest = std::max<double>(tallest, ink.height());
                QVERIFY2(std::abs(inkMiddle - rowMiddle) <= 0.04 * cell + 1,
                         qPrintable(QStringLiteral("%1 stands %2 mm from the middle of its row").arg(digit).arg((inkMiddle - rowMiddle) / kDotsPerMm)));
                QVERIFY2(ink.top() >= cell && ink.bottom() < cell + row, qPrintable(QStringLiteral("%1 leaves its row").arg(digit)));
            }
            const double share = mark ? 0.4 : 0.66;
            QVERIFY2(shortest >= (share - 0.05) * cell && tallest <= (share + 0.05) * cell,
                     qPrintable(QStringLiteral("%1: ink %2–%3 of the cell").arg(mark ? "marks" : "digits").arg(shortest / cell).arg(tallest / cell)));
        }
    }
    void rectangleEdgesAreExclusive()
    {
        QImage image = Blank(320, 441, kRed);
        Draw(image, [](TCanvas& c) {
            c.Brush.Style = bsSolid;
            c.Brush.Color = 0xFFFFFF;
            c.Pen.Color = 0xFFFFFF;
            c.Rectangle(0, 0, 319, 440);
        });
        QCOMPARE(image.pixel(0, 0), kWhite);
        QCOMPARE(image.pixel(318, 439), kWhite);
        QCOMPARE(CountColour(image, kRed, QRect(319, 0, 1, 441)), 441);  // the last column
        QCOMPARE(CountColour(image, kRed, QRect(0, 440, 320, 1)), 320);  // the last row
        QCOMPARE(CountColour(image, kWhite, QRect(0, 0, 319, 440)), 319 * 440);
    }

    void clearRectangleIsAnOutlineOnItsOuterPixels()
    {
        QImage image = Blank(40, 40);
        Draw(image, [](TCanvas& c) {
            c.Brush.Style = bsClear;
            c.Pen.Width = 1;
            c.Rectangle(5, 6, 15, 20);
        });
        QCOMPARE(Ink(image, kWhite), QRect(5, 6, 10, 14));
        QCOMPARE(image.pixel(10, 10), kWhite);  // no fill
        QCOMPARE(image.pixel(14, 19), kBlack);
        QCOMPARE(image.pixel(5, 6), kBlack);
    }

    void lineLeavesItsEndPoint_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("width");
        QTest::newRow("horizontal") << QPoint(0, 5) << QPoint(10, 5) << 0;
        QTest::newRow("horizontal width 1") << QPoint(0, 5) << QPoint(10, 5) << 1;
        QTest::newRow("leftwards") << QPoint(10, 5) << QPoint(0, 5) << 0;
        QTest::newRow("vertical") << QPoint(3, 2) << QPoint(3, 12) << 0;
        QTest::newRow("diagonal") << QPoint(2, 2) << QPoint(12, 12) << 0;
    }

    void lineLeavesItsEndPoint()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(int, width);
        QImage image = Blank(20, 20);
        Draw(image, [&](TCanvas& c) {
            c.Pen.Width = width;
            c.MoveTo(from.x(), from.y());
            c.LineTo(to.x(), to.y());
        });
        QCOMPARE(image.pixel(to), kWhite);
        QCOMPARE(image.pixel(from), kBlack);
        const int length = qMax(qAbs(to.x() - from.x()), qAbs(to.y() - from.y()));
        QCOMPARE(CountColour(image, kBlack, image.rect()), length);  // one pixel wide, end excluded
    }

    void widePenIsThatManyUnits()
    {
        QImage image = Blank(40, 40);
        Draw(image, [](TCanvas& c) {
            c.Pen.Width = 4;
            c.MoveTo(5, 20);
            c.LineTo(35, 20);
        });
        const QRect ink = Ink(image, kWhite);
        QCOMPARE(ink.height(), 4);
        QCOMPARE(ink.left(), 5);
        QVERIFY(ink.right() < 35);
    }

    void dottedPenLeavesTheGapsUntouched()
    {
        QImage image = Blank(60, 10, kRed);
        Draw(image, [](TCanvas& c) {
            c.Brush.Style = bsClear;
            c.Pen.Width = 1;
            c.Pen.Style = psDot;
            c.MoveTo(0, 4);
            c.LineTo(50, 4);
        });
        const int black = CountColour(image, kBlack, QRect(0, 4, 50, 1));
        const int red = CountColour(image, kRed, QRect(0, 4, 50, 1));
        QVERIFY(black >= 15);
        QVERIFY(red >= 15);
        QCOMPARE(black + red, 50);  // single-pixel dots, nothing else painted
        QCOMPARE(CountColour(image, kRed, QRect(0, 0, 60, 4)), 60 * 4);
        QCOMPARE(CountColour(image, kRed, QRect(0, 5, 60, 5)), 60 * 5);
    }

    void clearTextIsTransparentAndSolidTextFillsItsCells()
    {
        QImage clear = Blank(100, 30, kRed);
        Draw(clear, [](TCanvas& c) {
            c.Brush.Style = bsClear;
            c.TextOut(10, 5, "1 1");
        });
        QVERIFY(CountColour(clear, kRed, QRect(0, 0, 100, 30)) > 100 * 30 - 80);
        QVERIFY(CountColour(clear, kWhite, clear.rect()) == 0);

        QImage solid = Blank(100, 30, kRed);
        int width = 0;
        Draw(solid, [&](TCanvas& c) {
            c.Brush.Style = bsSolid;
            c.Brush.Color = 0xFFFFFF;
            width = c.TextWidth("1 1");
            c.TextOut(10, 5, "1 1");
        });
        QCOMPARE(Ink(solid, kRed), QRect(10, 5, width, 14));
    }

    void underlineRunsAcrossSpaces()
    {
        QImage image = Blank(120, 30);
        int width = 0;
        Draw(image, [&](TCanvas& c) {
            c.Brush.Style = bsClear;
            c.Font.Style = fsUnderline;
            width = c.TextWidth("  7  ");
            c.TextOut(10, 5, "  7  ");
        });
        // Some row below the glyph is black from the first to the last cell.
        bool found = false;
        for (int y = 5; y < 5 + 14 && !found; ++y)
            found = CountColour(image, kBlack, QRect(10, y, width, 1)) == width;
        QVERIFY(found);
        QCOMPARE(Ink(image, kWhite).left(), 10);
        QCOMPARE(Ink(image, kWhite).right(), 10 + width - 1);
    }

    void textSitsInsideItsCell_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("height");
        for (const char* face : {"ＭＳ 明朝", "ＭＳ ゴシック"})
            for (int h : {6, 10, 14, 40, 105})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(face).arg(h))) << QString::fromUtf8(face) << h;
    }

    void textSitsInsideItsCell()
    {
        QFETCH(QString, face);
        QFETCH(int, height);
        QImage image = Blank(400, 300);
        int width = 0;
        Draw(image, [&](TCanvas& c) {
            c.Font.Name = face.toStdString();
            c.Font.Height = height;
            c.Brush.Style = bsClear;
            width = c.TextWidth("8漢");
            c.TextOut(20, 30, "8漢");
        });
        const QRect ink = Ink(image, kWhite);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(QRect(20, 30, width, height).contains(ink), qPrintable(QStringLiteral("ink %1,%2 %3x%4")
                                                                            .arg(ink.x()).arg(ink.y())
                                                                            .arg(ink.width()).arg(ink.height())));
        QVERIFY(ink.height() >= height / 2);  // the cell is filled, not a tiny glyph
    }

    void figureFaceHasOnePitch_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("dpi");
        for (int h : {6, 10, 13, 14, 15, 21, 104, 105, 210})
            for (int dpi : {96, 300, 600})
                QTest::newRow(qPrintable(QStringLiteral("%1 at %2 dpi").arg(h).arg(dpi))) << h << dpi;
    }

    void figureFaceHasOnePitch()
    {
        QFETCH(int, height);
        QFETCH(int, dpi);
        QImage image = Blank(10, 10);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        Draw(image, [&](TCanvas& c) {
            c.Font.Height = height;
            const int32_t space = c.TextWidth(" ");
            QVERIFY(space > 0);
            for (const char* ch : {"0", "1", "4", "7", "8", "9"}) QCOMPARE(c.TextWidth(ch), space);
            QCOMPARE(c.TextWidth("49815"), 5 * space);
            QCOMPARE(c.TextWidth(" 3456 "), 6 * space);
            c.Font.Style = fsUnderline;
            QCOMPARE(c.TextWidth("  12"), 4 * space);
        });
    }

    void glyphsStandAtIntegerCells()
    {
        // Each digit of a long number is drawn where the same digit drawn alone
        // at its cell would be.
        QImage together = Blank(300, 40), apart = Blank(300, 40);
        const std::string digits = "8888888888";
        int32_t cell = 0;
        Draw(together, [&](TCanvas& c) {
            c.Font.Height = 21;
            c.Brush.Style = bsClear;
            c.TextOut(10, 5, digits);
        });
        Draw(apart, [&](TCanvas& c) {
            c.Font.Height = 21;
            c.Brush.Style = bsClear;
            cell = c.TextWidth("8");
            for (int i = 0; i < 10; ++i) c.TextOut(10 + i * cell, 5, "8");
        });
        QCOMPARE(together, apart);
    }

    void figureOnAnImage()
    {
        // The figure through the Qt surface: the grid lines fall where the
        // recording tests expect them, measured with this surface's own pitch.
        QImage image = Blank(200, 140);
        int32_t c = 0;
        SetPageScale(320, 441, 320, 441);
        ShowAnswers = 1;
        Draw(image, [&](TCanvas& canvas) {
            canvas.Brush.Style = bsClear;
            c = canvas.TextWidth(" ");
            Hissan(canvas, 60, 10, "123", "405", " ", 0);
        });
        ShowAnswers = 0;
        const int left = 60 - 2 * c, right = left + 6 * c;
        const QRect ink = Ink(image, kWhite);
        QCOMPARE(ink.left(), left);
        QCOMPARE(ink.right(), right - 1);
        QCOMPARE(ink.top(), 10);
        QCOMPARE(ink.bottom(), 10 + 6 * 14 - 1);
    }

    // On a printer the black lines go out later, grouped by pen; what is
    // white must still cover what came before it and nothing after it.
    void heldBackLinesKeepWhatCoversWhat()
    {
        QPicture page;  // not drawn on an image, as a printer or a PDF
        {
            QPainter painter(&page);
            TQtCanvas canvas(painter);
            canvas.Brush.Style = bsClear;
            canvas.Pen.Width = 3;
            canvas.MoveTo(0, 5);  // black, then covered by a white line
            canvas.LineTo(60, 5);
            canvas.Pen.Color = 0xFFFFFF;
            canvas.MoveTo(0, 5);
            canvas.LineTo(30, 5);
            canvas.Pen.Color = 0;
            canvas.MoveTo(0, 15);  // black, then covered by a white cell
            canvas.LineTo(60, 15);
            canvas.Pen.Width = 1;
            canvas.MoveTo(0, 25);  // another pen, before the cell: covered too
            canvas.LineTo(60, 25);
            canvas.Brush.Style = bsSolid;
            canvas.Brush.Color = 0xFFFFFF;
            canvas.Pen.Color = 0xFFFFFF;
            canvas.Rectangle(0, 10, 30, 30);
            canvas.Brush.Style = bsClear;
            canvas.Pen.Color = 0;
            canvas.Pen.Width = 3;
            canvas.MoveTo(10, 0);  // black after the white: on top
            canvas.LineTo(10, 30);
        }
        QImage image = Blank(60, 30, kRed);
        QPainter(&image).drawPicture(0, 0, page);
        QCOMPARE(image.pixel(20, 5), kWhite);  // under the white line
        QCOMPARE(image.pixel(45, 5), kBlack);  // beyond it: black
        QCOMPARE(image.pixel(20, 15), kWhite);
        QCOMPARE(image.pixel(20, 25), kWhite);
        QCOMPARE(image.pixel(45, 15), kBlack);
        QCOMPARE(image.pixel(45, 25), kBlack);
        QCOMPARE(image.pixel(10, 15), kBlack);  // drawn last, over the cell
        QCOMPARE(image.pixel(10, 5), kBlack);
    }
};

QTEST_MAIN(QtCanvasTest)
#include "qt_canvas_test.moc"
