// 大きなマス measured on the PDFs the program writes, read back with
// poppler: every digit a cell from its neighbours, inside the margins, no
// glyph over another, marks that read as marks, digits and marks large
// enough for a child's hand.
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>

#include "pdf_reading.h"
#include "render/figure.h"
#include "render/large_cell_page.h"
#include "render/paper_size.h"
#include "render/qt_fonts.h"
#include "sheets/class_set.h"
#include "sheets/paper.h"
#include "sheets/presets.h"
#include "sheets/sheet_pdf.h"
#include "worksheet/operations.h"

namespace {

// A path as the file layer takes it: bytes.
std::string Bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

constexpr double kPointsPerMm = 72 / 25.4;

// A sheet of `settings` with the largest count of problems that fits its
// paper at its cell (0 problems when none fits), with its marks.
std::vector<TSheet> SheetOf(TWorksheetSettings settings, TPaper paper)
{
    const TPaperSize& size = PaperSizeNamed(PaperName(paper));
    TSheet probe;
    probe.Settings = settings;
    const TCellGrid grid = FigureOf(settings.Operation).Grid(ShapeOf(probe));
    settings.Problems =
        FitLargeCells(grid, settings.CellMM, 6, size.WidthMm - 20, size.HeightMm - 20, settings.ReadingMarks).LargestCount;
    if (settings.Problems == 0) return {};
    TRandom random{20261207u};
    return MakeClassSet(settings, 1, 1, random).Sheets;
}

// Where the ink of digits lies in the line box that pdftotext gives a word of
// `face`: the fractions of its height from its top to the digits' top and
// bottom (a face's line may be much taller than its digits).
struct TInkShare {
    double Top, Bottom;
};
TInkShare InkShareOf(const std::string& face)
{
    QFont font(QString::fromStdString(face));
    font.setPixelSize(1000);
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect("0123456789");
    return {(metrics.ascent() + ink.top()) / metrics.height(), (metrics.ascent() + ink.bottom()) / metrics.height()};
}

// The words of a page, the boxes of numbers narrowed to their glyphs' ink.
std::vector<TPdfWord> GlyphBoxes(const QString& pdf, int page, const std::string& digitFace)
{
    const TInkShare share = InkShareOf(digitFace);
    std::vector<TPdfWord> words = PdfWordBoxes(pdf, page);
    for (TPdfWord& w : words) {
        if (w.Text.isEmpty() || w.Text.toStdString().find_first_not_of("0123456789") != std::string::npos) continue;
        const double height = w.Bottom - w.Top;
        w.Bottom = w.Top + share.Bottom * height;
        w.Top += share.Top * height;
    }
    return words;
}

struct TMeasured {
    double DigitPitch = 0;        // across, the smallest between neighbours in mm
    double DigitHeight = 1e9;     // the smallest glyph box of a digit in mm
    double MarkHeight = 1e9;      // the smallest glyph box of a mark in mm
};

// The words of both pages against the rules; what is wrong, or empty.
QString Check(const QString& pdf, const TWorksheetSettings& settings, TPaper paper, TMeasured& measured)
{
    const double cell = settings.CellMM * kPointsPerMm, tolerance = 0.2 * kPointsPerMm;
    const TPaperSize& size = PaperSizeNamed(PaperName(paper));
    const double margin = kSheetMarginMm * kPointsPerMm - 0.6;
    for (int page = 1; page <= 2; ++page) {
        const std::vector<TPdfWord> words = GlyphBoxes(pdf, page, settings.DigitFont);
        std::vector<const TPdfWord*> digits;
        for (const TPdfWord& w : words) {
            const QString where = QStringLiteral("page %1, 「%2」 at %3,%4: ").arg(page).arg(w.Text).arg(w.Left).arg(w.Top);
            if (w.Left < margin || w.Top < margin || w.Right > size.WidthMm * kPointsPerMm - margin ||
                w.Bottom > size.HeightMm * kPointsPerMm - margin)
                return where + "outside the margins";
            for (const TPdfWord& other : words)
                if (&other != &w && std::min(w.Right, other.Right) - std::max(w.Left, other.Left) > 0.3 &&
                    std::min(w.Bottom, other.Bottom) - std::max(w.Top, other.Top) > 0.3)
                    return where + "over 「" + other.Text + "」";
            const bool number = !w.Text.isEmpty() && w.Text.toStdString().find_first_not_of("0123456789") == std::string::npos;
            if (!number || w.Top < 90) continue;  // the header
            const double height = w.Bottom - w.Top;
            if (height >= cell / 2) {
                if (w.Text.size() != 1) return where + "digits that are not one a cell";
                digits.push_back(&w);
                measured.DigitHeight = std::min(measured.DigitHeight, height / kPointsPerMm);
                if (height < 0.6 * cell) return where + "a digit smaller than 60 % of its cell";
            } else {
                if (w.Text.size() > 2) return where + "a mark of more than two digits";
                measured.MarkHeight = std::min(measured.MarkHeight, height / kPointsPerMm);
                if (height < 0.3 * cell) return where + "a mark smaller than 30 % of its cell";
            }
        }
        // Neighbouring digits a cell apart, across and down.
        for (const TPdfWord* d : digits) {
            const double x = (d->Left + d->Right) / 2, y = (d->Top + d->Bottom) / 2;
            double right = 1e9, below = 1e9;
            for (const TPdfWord* e : digits) {
                const double ex = (e->Left + e->Right) / 2, ey = (e->Top + e->Bottom) / 2;
                if (std::abs(ey - y) < 0.5 && ex > x) right = std::min(right, ex - x);
                if (std::abs(ex - x) < 0.5 && ey > y) below = std::min(below, ey - y);
            }
            for (const double gap : {right, below})
                if (gap < 1.5 * cell && std::abs(gap - cell) > tolerance)
                    return QStringLiteral("page %1, 「%2」: a neighbour %3 mm away").arg(page).arg(d->Text).arg(gap / kPointsPerMm);
            if (right < 1.5 * cell) measured.DigitPitch = right / kPointsPerMm;
        }
    }
    return {};
}

QString MadeAndChecked(const TWorksheetSettings& settings, TPaper paper, TMeasured& measured)
{
    const std::vector<TSheet> sheets = SheetOf(settings, paper);
    if (sheets.empty()) return {};
    QTemporaryDir folder;
    const QString pdf = folder.filePath("sheet.pdf");
    TPdfFileOutput output(Bytes(pdf), paper);
    PutOut(sheets, TAnswerOrder::After, output);
    return Check(pdf, settings, paper, measured);
}

// The settings of an operation's usual sheet in 大きなマス, with the marks.
TWorksheetSettings Usual(TOperation operation, int32_t cellMM)
{
    TWorksheetSettings s;
    s.Operation = operation;
    s.CellMM = cellMM;
    s.CarryMarks = true;
    s.AnsHigh = "99999";
    s.u1h = s.u2h = s.u3h = "9";
    s.u3l = "1";
    s.d1h = "9";
    s.d1l = "2";
    if (operation == TOperation::Multiplication || operation == TOperation::Subtraction) s.d2h = "9", s.d2l = "1";
    if (operation == TOperation::Addition || operation == TOperation::Subtraction) s.d3h = "9", s.d3l = "1", s.Kuriagari = 4;
    if (operation == TOperation::Division) s.AnsLow = "1";
    // Decimals: the first to the 1/100 place, the second to the 1/10.
    if (RulesOf(operation).Decimal()) {
        s.u3l = s.u3h = "0";
        s.u01h = s.u001h = s.d01h = "9";
        s.u001l = "1";
        if (operation == TOperation::DecimalDivision) s.Kuriagari = 2, s.d01l = "1", s.d1l = "0", s.d1h = "0";
    }
    // The textbook hand at one of the sizes.
    if (cellMM == 12) s.DigitFont = "Klee One";
    return s;
}

}  // namespace

class LargeCellsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterFontSubstitutes(); }

    void everyOperationAtEveryCellOnA4AndB5()
    {
        for (const TOperationRules& rules : Operations())
            for (const int32_t mm : {8, 10, 12, 15})
                for (const TPaper paper : {TPaper::A4, TPaper::B5}) {
                    TMeasured measured;
                    const QString problem = MadeAndChecked(Usual(rules.Operation, mm), paper, measured);
                    QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("%1 %2 mm %3: %4")
                                                                .arg(QString::fromUtf8(rules.Name)).arg(mm)
                                                                .arg(QString::fromStdString(PaperName(paper)), problem)));
                }
    }

    // In 標準 too, the marks of neighbouring columns never read as one
    // number: no mark word has more than two digits.
    void standardMarksReadAsMarks()
    {
        TWorksheetSettings s = Usual(TOperation::Subtraction, 0);
        s.u4l = "1", s.u4h = "9", s.d4h = "9";  // four places: borrows side by side
        TRandom random{77u};
        const TClassSet set = MakeClassSet(s, 1, 1, random);
        QTemporaryDir folder;
        const QString pdf = folder.filePath("standard.pdf");
        TPdfFileOutput output(Bytes(pdf), TPaper::A4);
        PutOut(set.Sheets, TAnswerOrder::After, output);
        double digitHeight = 0;
        const std::vector<TPdfWord> words = PdfWordBoxes(pdf, 2);
        for (const TPdfWord& w : words) digitHeight = std::max(digitHeight, w.Bottom - w.Top);
        int marks = 0;
        for (const TPdfWord& w : words) {
            const bool number = w.Text.toStdString().find_first_not_of("0123456789") == std::string::npos;
            if (!number || w.Bottom - w.Top > digitHeight * 0.6 || w.Top < 90) continue;
            ++marks;
            QVERIFY2(w.Text.size() <= 2, qPrintable(w.Text));
        }
        QVERIFY(marks > 10);
    }

    // Every preset fills its A4 and B5 pages with 補助数字 in the layout of
    // its grade as it fits there: its cells measured, its digits and marks
    // as large as they must be.
    void everyPresetInItsLayout()
    {
        for (const TPaper paper : {TPaper::A4, TPaper::B5})
            for (const TPreset& preset : Presets()) {
                // The decimal divisions' presets are of 標準: their working is too long for cells.
                if (preset.Settings.Values.CellMM == 0) continue;
                TWorksheetSettings s;
                ApplyNamed(PresetFor(preset, PaperName(paper)), s);
                s.CarryMarks = true;
                TMeasured measured;
                const QString problem = MadeAndChecked(s, paper, measured);
                const QString name = QString::fromStdString(preset.Name + " " + PaperName(paper));
                QVERIFY2(problem.isEmpty(), qPrintable(name + ": " + problem));
                QVERIFY2(std::abs(measured.DigitPitch - s.CellMM) <= 0.2, qPrintable(name));
                if (paper == TPaper::A4)
                    qInfo("%s: %d mm, %d problems; digits %.2f mm apart, %.1f mm high; marks %.1f mm", preset.Name.c_str(),
                          s.CellMM, s.Problems, measured.DigitPitch, measured.DigitHeight,
                          measured.MarkHeight < 1e8 ? measured.MarkHeight : 0.0);
            }
    }

    // 「あまり（　　）」 of a division at every cell size on every paper:
    // its glyphs side by side, clear of each other, of every other glyph and
    // of the remainder's two cells between its brackets.
    void remainderLabelClearOfItsCells()
    {
        constexpr double tolerance = 0.1;  // points
        auto overlap = [](const TPdfWord& a, const TPdfWord& b) {
            return std::min(a.Right, b.Right) - std::max(a.Left, b.Left) > tolerance &&
                   std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top) > tolerance;
        };
        for (const TPaper paper : {TPaper::A4, TPaper::B5, TPaper::B4, TPaper::A3})
            for (int32_t mm = 7; mm <= 20; ++mm) {
                const TWorksheetSettings settings = Usual(TOperation::Division, mm);
                const std::vector<TSheet> sheets = SheetOf(settings, paper);
                if (sheets.empty()) continue;
                QTemporaryDir folder;
                const QString pdf = folder.filePath("sheet.pdf");
                TPdfFileOutput output(Bytes(pdf), paper);
                PutOut(sheets, TAnswerOrder::After, output);
                const double cell = mm * kPointsPerMm;
                for (int page = 1; page <= 2; ++page) {
                    const std::vector<TPdfWord> glyphs = PdfGlyphBoxes(pdf, page);
                    const QString where = QStringLiteral("%1 mm %2 page %3: ").arg(mm).arg(QString::fromStdString(PaperName(paper))).arg(page);
                    int labels = 0;
                    for (size_t i = 0; i + 3 < glyphs.size(); ++i) {
                        if (glyphs[i].Text + glyphs[i + 1].Text + glyphs[i + 2].Text + glyphs[i + 3].Text != QStringLiteral("あまり（"))
                            continue;
                        ++labels;
                        const TPdfWord& open = glyphs[i + 3];
                        const auto close = std::find_if(glyphs.begin(), glyphs.end(), [&](const TPdfWord& g) {
                            return g.Text == QStringLiteral("）") && std::abs(g.Top - open.Top) < tolerance && g.Left > open.Left;
                        });
                        QVERIFY2(close != glyphs.end(), qPrintable(where + "no 「）」"));
                        QVERIFY2(close->Left - open.Right >= 2 * cell - 0.2 * kPointsPerMm,
                                 qPrintable(where + QStringLiteral("%1 mm between the brackets").arg((close->Left - open.Right) / kPointsPerMm)));
                        for (const TPdfWord* g : {&glyphs[i], &glyphs[i + 1], &glyphs[i + 2], &glyphs[i + 3], &*close})
                            for (const TPdfWord& other : glyphs)
                                QVERIFY2(&other == g || !overlap(*g, other),
                                         qPrintable(where + "「" + g->Text + "」 over 「" + other.Text + "」"));
                    }
                    QVERIFY2(labels == settings.Problems || labels == static_cast<int>(sheets[0].Problems.size()), qPrintable(where + QString::number(labels)));
                }
            }
    }
};

QTEST_MAIN(LargeCellsTest)
#include "large_cells_test.moc"
