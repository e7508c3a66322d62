#include <QImage>
#include <QPainter>
#include <QTest>

#include "render/page_layout.h"
#include "render/page_scale.h"
#include "render/qt_canvas.h"
#include "sample_sheet.h"
#include "worksheet/problems.h"

namespace {

const QRgb kRed = qRgb(255, 0, 0), kWhite = qRgb(255, 255, 255);

int Count(const QImage& image, QRect area, const std::function<bool(QRgb)>& test)
{
    area &= image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) n += test(line[x]);
    }
    return n;
}

bool IsInk(QRgb p)
{
    return qGray(p) < 160;
}

}  // namespace

class QtPageTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FillSampleSheet();
        PrintNumber = 3;
        ShowAnswers = 1;
    }
    void cleanup() { ShowAnswers = 0; }

    void fullPage_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("preview") << 320 << 441;
        QTest::newRow("A4 at 300 dpi") << 2480 << 3508;
    }

    void fullPage()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        // A margin of red around the page shows anything drawn outside it.
        const int margin = 40;
        QImage image(width + margin, height + margin, QImage::Format_RGB32);
        image.fill(kRed);
        {
            QPainter painter(&image);
            TQtCanvas canvas(painter);
            MakePrint(canvas, width, height, {});
        }
        const QRect page(0, 0, width, height);
        const int32_t S319 = ScaleLen(319), S440 = ScaleLen(440);

        QCOMPARE(Count(image, QRect(width, 0, margin, height + margin), [](QRgb p) { return p != kRed; }), 0);
        QCOMPARE(Count(image, QRect(0, height, width + margin, margin), [](QRgb p) { return p != kRed; }), 0);
        // The cleared page is white wherever nothing is drawn: no red is left
        // on it, and no colour but greys.
        QCOMPARE(Count(image, QRect(0, 0, S319, S440), [](QRgb p) { return p == kRed; }), 0);
        QCOMPARE(Count(image, page, [](QRgb p) { return qRed(p) != qGreen(p) && p != kRed; }), 0);

        // The header, and ink in every one of the sixteen figure places.
        QVERIFY(Count(image, QRect(ScaleLen(14), ScaleLen(10), ScaleLen(40), ScaleLen(6)), IsInk) > 0);
        QVERIFY(Count(image, QRect(ScaleLen(64), ScaleLen(10), ScaleLen(40), ScaleLen(6)), IsInk) > 0);
        QVERIFY(Count(image, QRect(ScaleLen(14), ScaleLen(27), ScaleLen(100), ScaleLen(10)), IsInk) > 0);
        const int pc = (width - ScaleLen(7)) / 4, pr = (height - ScaleLen(50)) / 4;
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                const QRect figure(ScaleLen(33) + j * pc - ScaleLen(14), ScaleLen(44) + i * pr, ScaleLen(50),
                                   ScaleLen(14) * 5);
                QVERIFY2(Count(image, figure, IsInk) > figure.width() * figure.height() / 50,
                         qPrintable(QStringLiteral("figure %1,%2").arg(i).arg(j)));
            }
        }
        QVERIFY(Count(image, page, [](QRgb p) { return p == kWhite; }) > width * height / 2);
    }

    void headerOnlyBelowFourProblems()
    {
        QuestionCount = 3;
        QImage image(320, 441, QImage::Format_RGB32);
        image.fill(kRed);
        {
            QPainter painter(&image);
            TQtCanvas canvas(painter);
            MakePrint(canvas, 320, 441, {});
        }
        QVERIFY(Count(image, QRect(0, 0, 320, 40), IsInk) > 0);
        QCOMPARE(Count(image, QRect(0, 44, 319, 440 - 44), IsInk), 0);
    }
};

QTEST_MAIN(QtPageTest)
#include "qt_page_test.moc"
