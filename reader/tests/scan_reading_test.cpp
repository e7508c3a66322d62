// The reader on pages filled in and scanned: every page registered whatever
// its turn, every answer read right or asked, never read wrong; pages that
// are not sheets, or whose code is gone, refused with the reason.
#include <QGuiApplication>
#include <QPainter>
#include <QTest>

#include <random>

#include "answer_scans.h"
#include "reader/page_reading.h"
#include "scans/scan_files.h"
#include "render/qt_fonts.h"
#include "requests/requests.h"
#include "sheets/presets.h"

namespace {

// The second sheet of a class set of the preset in its grade's layout (a
// preset of 標準 in cells of `cellMM` with `problems` problems).
TSheet SheetOf(const char* preset, int32_t number, int32_t cellMM = 10, int32_t problems = 4)
{
    TWorksheetSettings settings;
    ApplyNamed(PresetFor(*FindPreset(preset), "A4"), settings);
    if (settings.CellMM == 0) settings.CellMM = cellMM, settings.Problems = problems;
    settings.PrnNum = std::to_string(number);
    return MakeClassSetOf(settings, 2, number, 4242u).Sheets.back();
}

// Every answer right but every third, which is the first wrong procedure's.
std::vector<std::optional<TWrittenAnswer>> AnswersOf(const TSheet& sheet)
{
    std::vector<std::optional<TWrittenAnswer>> answers;
    for (size_t k = 0; k < sheet.Problems.size(); ++k) {
        const std::vector<TWrittenAnswer> every = EveryAnswer(sheet.Settings.Operation, sheet.Problems[k]);
        std::optional<TWrittenAnswer> a = every[0];
        if (k % 3 == 2)
            for (size_t i = 1; i < every.size(); ++i)
                if (!(every[i] == kNoAnswer) && !(every[i] == every[0]) && every[i].Value >= 0) {
                    a = every[i];
                    break;
                }
        if (k == 4) a.reset();  // one left blank
        answers.push_back(a);
    }
    return answers;
}

}  // namespace

class ScanReadingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterFontSubstitutes(); }

    void pagesAreReadRightOrAskedWhateverTheirTurn()
    {
        struct TCase {
            const char* Preset;
            TScanStyle Style;
            const char* Face;
        };
        const TCase cases[] = {
            {"3けた÷1けた（商に0が立つ）", {200, 1.5, 1.0, false, false, 0, 6, 80}, "Klee One"},
            {"2けた×1けた（十の位でくり上がり）", {150, -3, 0.97, true, false, 0, 10, 70}, "SetoFont"},
            {"3けた−3けた（くり下がり2回）", {300, 0.5, 1.03, false, false, 0, 4, 0}, "Humor Sans"},
            {"3けた＋3けた（くり上がり2回）", {200, 2, 1, false, true, 10, 6, 75}, "Klee One"},
        };
        std::mt19937 random(5);
        int answers = 0, decided = 0;
        for (const TCase& c : cases) {
            const TSheet sheet = SheetOf(c.Preset, 31);
            const auto written = AnswersOf(sheet);
            const QImage scan = FilledScan(sheet, written, 17, FaceHand(QString::fromUtf8(c.Face)), c.Style, random);
            const TReadPage page = ReadPage(GreyOfScan(scan));
            QVERIFY2(page.Read(), qPrintable(QString::fromStdString(c.Preset + (": " + page.Failure))));
            QCOMPARE(page.Sheet.Number, 32);
            QCOMPARE(page.Sheet.Problems, sheet.Problems);
            QVERIFY(!page.Roll || *page.Roll == 17);
            for (size_t k = 0; k < written.size(); ++k) {
                ++answers;
                const TAnswerReading& read = page.Answers[k];
                if (read.Decided == TDecided::Asked) continue;
                ++decided;
                QVERIFY2(read.Best == written[k], qPrintable(QStringLiteral("%1 problem %2: read %3")
                                                                 .arg(QString::fromUtf8(c.Preset)).arg(k + 1)
                                                                 .arg(read.Best ? QString::fromStdString(WrittenText(*read.Best)) : "blank")));
            }
        }
        QVERIFY2(decided * 10 >= answers * 8, qPrintable(QStringLiteral("%1 of %2 decided").arg(decided).arg(answers)));
    }

    void decimalPagesAreReadWithTheirPoints()
    {
        // Each operation with decimals, its answers written with their
        // points: read right (the point where the pupil put it) or asked.
        struct TCase {
            const char* Preset;
            TScanStyle Style;
        };
        const TCase cases[] = {
            {"3年 小数のたし算（くり上がりあり）", {200, 1, 1.0, false, false, 0, 6, 80}},
            {"4年 小数のひき算（整数−小数）", {200, -2, 0.98, true, false, 0, 4, 75}},
            {"5年 小数×小数（1/10の位どうし）", {200, 0.5, 1.0, false, true, 8, 6, 85}},
            {"4年 小数÷整数（わり切れる）", {300, 1.5, 1.02, false, false, 0, 4, 0}},
        };
        std::mt19937 random(15);
        int answers = 0, decided = 0, pointed = 0;
        for (const TCase& c : cases) {
            const TSheet sheet = SheetOf(c.Preset, 8);
            const auto written = AnswersOf(sheet);
            const QImage scan = FilledScan(sheet, written, 9, FaceHand("Klee One"), c.Style, random);
            const TReadPage page = ReadPage(GreyOfScan(scan));
            QVERIFY2(page.Read(), qPrintable(QString::fromUtf8(c.Preset) + ": " + QString::fromStdString(page.Failure)));
            QCOMPARE(page.Sheet.Problems, sheet.Problems);
            QCOMPARE(page.Roll.value_or(9), 9);
            for (size_t k = 0; k < written.size(); ++k) {
                ++answers;
                const TAnswerReading& read = page.Answers[k];
                if (read.Decided == TDecided::Asked) continue;
                ++decided;
                const bool same = read.Best == written[k] && (!read.Best || read.Best->Places == written[k]->Places);
                pointed += read.Best && read.Best->Places > 0 ? 1 : 0;
                QVERIFY2(same, qPrintable(QStringLiteral("%1 problem %2: read %3")
                                              .arg(QString::fromUtf8(c.Preset)).arg(k + 1)
                                              .arg(read.Best ? QString::fromStdString(WrittenText(*read.Best)) : "blank")));
            }
        }
        QVERIFY2(decided * 10 >= answers * 8, qPrintable(QStringLiteral("%1 of %2 decided").arg(decided).arg(answers)));
        qInfo("decimals: %d of %d decided, %d with a point", decided, answers, pointed);
        QVERIFY(pointed * 2 >= decided);
    }

    void aReadPageComesBackUprightOnItsPaper()
    {
        // An upside-down scan turned 2° and enlarged a little, straightened
        // by its registration, is the page as printed; left as it came it
        // would be nothing like it.
        std::mt19937 random(8);
        const TSheet sheet = SheetOf("3けた−3けた（くり下がり2回）", 3);
        const TScanStyle straight{200, 0, 1, false, false, 0, 0, 0}, turned{200, 2, 1.02, true, false, 0, 0, 0};
        const TGreyImage printed = GreyOfScan(FilledScan(sheet, {}, 0, FaceHand("Klee One"), straight, random));
        const TGreyImage scan = GreyOfScan(FilledScan(sheet, {}, 0, FaceHand("Klee One"), turned, random));
        const TReadPage page = ReadPage(scan);
        QVERIFY2(page.Read(), page.Failure.c_str());
        const TGreyImage upright = RectifiedPage(scan, page.PageToImage, page.Paper, 200 / 25.4);
        QCOMPARE(upright.Width, printed.Width);
        QCOMPARE(upright.Height, printed.Height);
        auto darkDifference = [&](const TGreyImage& other) {
            // The share of the printed page's ink that is not ink on `other`.
            int64_t ink = 0, missed = 0;
            for (int32_t y = 0; y < printed.Height; ++y)
                for (int32_t x = 0; x < printed.Width; ++x) {
                    if (printed.At(x, y) > 100) continue;
                    ++ink;
                    bool near = false;
                    for (int32_t dy = -2; dy <= 2 && !near; ++dy)
                        for (int32_t dx = -2; dx <= 2 && !near; ++dx) {
                            const int32_t xx = x + dx, yy = y + dy;
                            near = xx >= 0 && yy >= 0 && xx < other.Width && yy < other.Height && other.At(xx, yy) < 160;
                        }
                    missed += near ? 0 : 1;
                }
            return double(missed) / std::max<int64_t>(1, ink);
        };
        QVERIFY2(darkDifference(upright) < 0.02, qPrintable(QString::number(darkDifference(upright))));
        QVERIFY(darkDifference(scan) > 0.3);
    }

    void registrationStandsSpecksDesksAndSteepPhotos()
    {
        // Photos on a desk with vignetting at several tilts, and copies with
        // dark specks between the corner marks and the paper's corners
        // (nearer the corners than the marks, never on them): each
        // registered, its code read.
        struct TCase {
            const char* What;
            TScanStyle Style;
            int Specks;  // specks near each corner
        };
        const TCase cases[] = {
            {"photo 5°", {200, 5, 1, false, true, 5, 4, 85}, 0},
            {"photo 10°", {200, -3, 1, false, true, 10, 4, 85}, 0},
            {"photo 12°", {200, 2, 1, false, true, 12, 4, 85}, 0},
            {"photo 15°", {200, 4, 1, true, true, 15, 4, 85}, 0},
            {"copy with specks", {200, 1, 1, false, false, 0, 4, 80}, 6},
            {"turned copy with specks", {200, -4, 0.97, true, false, 0, 4, 80}, 4},
        };
        std::mt19937 random(21);
        for (const TCase& c : cases) {
            const TSheet sheet = SheetOf("2けた×1けた（十の位でくり上がり）", 5);
            QImage scan = FilledScan(sheet, {}, 0, FaceHand("Klee One"), c.Style, random);
            {
                QPainter painter(&scan);
                std::uniform_int_distribution<int> near(8, 50), size(7, 16);
                for (int corner = 0; corner < 4; ++corner)
                    for (int k = 0; k < c.Specks; ++k) {
                        const int x = corner % 2 ? scan.width() - near(random) : near(random);
                        const int y = corner / 2 ? scan.height() - near(random) : near(random);
                        const int side = size(random);
                        painter.fillRect(x, y, side, side, Qt::black);
                    }
            }
            const TReadPage page = ReadPage(GreyOfScan(scan));
            QVERIFY2(page.Read(), qPrintable(QString::fromUtf8(c.What) + ": " + QString::fromStdString(page.Failure)));
            QCOMPARE(page.Sheet.Problems, sheet.Problems);
        }
    }

    void whatIsNoSheetIsToldWhy()
    {
        // A white page (a duplex scan's back, with a speck or two) is passed
        // over; a page with print but no marks is told why.
        QImage blank(1654, 2339, QImage::Format_RGB32);
        blank.fill(QColor(246, 246, 246));
        {
            QPainter painter(&blank);
            painter.fillRect(300, 400, 3, 3, Qt::black);
        }
        const TReadPage white = ReadPage(GreyOfScan(blank));
        QVERIFY(white.Blank && white.Skipped() && !white.Read());
        {
            QPainter painter(&blank);
            painter.setFont(QFont("IPAGothic", 40));
            for (int line = 0; line < 20; ++line) painter.drawText(150, 200 + line * 100, QStringLiteral("おたより　12 + 34 = 46"));
        }
        QVERIFY(ReadPage(GreyOfScan(blank)).Failure.find("四すみの印") != std::string::npos);
        // A copy so faint that nothing on it is ink is no white page either.
        std::mt19937 faintRandom(2);
        const TSheet faintSheet = SheetOf("2けた×1けた（十の位でくり上がり）", 1);
        QImage faint = FilledScan(faintSheet, {}, 0, FaceHand("Klee One"), {}, faintRandom);
        for (int y = 0; y < faint.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(faint.scanLine(y));
            for (int x = 0; x < faint.width(); ++x) {
                const int level = 204 + qGray(line[x]) / 5;
                line[x] = qRgb(level, level, level);
            }
        }
        const TReadPage faintPage = ReadPage(GreyOfScan(faint));
        QVERIFY(!faintPage.Blank);
        // A sheet whose code was torn away.
        std::mt19937 random(1);
        const TSheet sheet = SheetOf("2けた×1けた（十の位でくり上がり）", 1);
        QImage scan = FilledScan(sheet, {}, 0, FaceHand("Klee One"), {}, random);
        {
            QPainter painter(&scan);
            painter.fillRect(QRectF(scan.width() * 0.6, scan.height() * 0.88, scan.width() * 0.3, scan.height() * 0.1), Qt::white);
        }
        QVERIFY(ReadPage(GreyOfScan(scan)).Failure.find("コードが読めません") != std::string::npos);
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ScanReadingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "scan_reading_test.moc"
