// Draws the pictures in docs/ through the program's own drawing code:
//   doc_images <folder>
// writes figure-123x405.png (scale 1 and printer scale), page-preview.png
// (320 × 441) and page-a4-300dpi.png (2480 × 3508), all with grid and answers;
// and the answer sheets of a subtraction and an addition with their carry
// and borrow marks, and of a division with its working, at twice the
// preview's size (640 × 882); and two pages of 大きなマス at 100 dots an
// inch, a grade-2 answer sheet at 12 mm and a grade-4 problem sheet at 10 mm;
// and the key of a diagnostic sheet of subtraction at 100 dots an inch; and
// the answer sheets of 小数÷小数 (標準) and 小数×小数 (大きなマス 10 mm).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <functional>

#include "render/hissan.h"
#include "render/page_layout.h"
#include "render/page_scale.h"
#include "render/qt_canvas.h"
#include "render/qt_fonts.h"
#include "render/reference_page.h"
#include "sample_sheet.h"
#include "sheets/presets.h"
#include "worksheet/diagnostic.h"
#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/sheet_generator.h"

namespace {

bool Save(const QString& path, int w, int h, const std::function<void(TCanvas&)>& draw)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        draw(canvas);
    }
    const bool ok = image.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

void Figure(TCanvas& canvas, int32_t W, int32_t H, int32_t x, int32_t y)
{
    SetPageScale(W, H, 320, 441);
    canvas.Font.Name = kMinchoFace;
    canvas.Font.Height = ScaleLen(14);
    canvas.Pen.Color = 0;
    canvas.Brush.Style = bsClear;
    Hissan(canvas, x, y, "123", "405", " ", 0);
}

// Problems of `operation` with three-digit numbers (a one- or two-digit
// divisor) and the pattern given, from a fixed seed.
TSheet ColumnSheet(TOperation operation, int32_t pattern, int32_t divisorDigits = 1, int32_t count = 1)
{
    TWorksheetSettings settings;
    settings.Operation = operation;
    settings.u1h = settings.u2h = settings.u3h = settings.d1h = "9";
    settings.u3l = "1";
    if (operation != TOperation::Division) {
        settings.d2h = settings.d3h = "9";
        settings.d3l = "1";
    } else {
        settings.d1l = "2";
        if (divisorDigits == 2) settings.d2l = "1", settings.d2h = "9";
    }
    settings.AnsLow = "1";
    settings.AnsHigh = "9999";
    settings.Kuriagari = pattern;
    settings.QNumPattern = count;
    settings.CarryMarks = true;
    TRandom random{20261207u};
    return GenerateSheet(settings, 3, random);
}

// A page at 100 dots an inch: the inside of an A4 sheet's margins, 748 ×
// 1091 pixels.
bool PageOf(const QString& path, const TWorksheetSettings& settings, bool answers)
{
    TRandom random{20261207u};
    TSheet sheet = GenerateSheet(settings, 3, random);
    TPageView view = PageViewOf(sheet.Settings);
    view.DotsPerMm = 100 / 25.4;
    return Save(path, 748, 1091, [&](TCanvas& c) { DrawSheetPage(c, 748, 1091, view, sheet, answers); });
}

// The answer sheets of decimals: 小数÷小数 with its moved points and the
// remainder's point at the dividend's own, 小数×小数 with its struck zeros.
bool DecimalPages(const QString& folder)
{
    TWorksheetSettings division = FindPreset("5年 小数÷小数（商は一の位まで・あまりあり）")->Settings.Values;
    bool ok = PageOf(folder + "/page-decimal-division-answers.png", division, true);
    TWorksheetSettings product;
    product.Operation = TOperation::DecimalMultiplication;
    product.u1l = "1", product.u1h = "9", product.u01l = "1", product.u01h = "9";
    product.d1l = "1", product.d1h = "9", product.d01l = "1", product.d01h = "9";
    product.AnsHigh = "9999";
    product.Kuriagari = 4;  // zeros to strike at the product's end
    product.CellMM = 10;
    product.Problems = 12;
    ok &= PageOf(folder + "/page-decimal-multiplication-answers.png", product, true);
    return ok;
}

// A page of 大きなマス at 100 dots an inch: the inside of an A4 sheet's
// margins, 748 × 1091 pixels, of a preset in the layout of its grade.
bool LargeCellPage(const QString& path, const char* preset, bool answers)
{
    TWorksheetSettings settings = FindPreset(preset)->Settings.Values;
    settings.CarryMarks = answers;
    return PageOf(path, settings, answers);
}

// The key of a diagnostic sheet of subtraction at 100 dots an inch.
bool DiagnosticKeyPage(const QString& path)
{
    TWorksheetSettings settings;
    settings.Operation = TOperation::Subtraction;
    TRandom random{20261207u};
    const TSheet sheet = MakeDiagnosticSheets(settings, DefaultDiagnosticRanges(TOperation::Subtraction), 5, 1, random).Sheets.front();
    TPageView view = PageViewOf(sheet.Settings);
    view.DotsPerMm = 100 / 25.4;
    return Save(path, 748, 1091, [&](TCanvas& c) { DrawSheetPage(c, 748, 1091, view, sheet, true); });
}

bool AnswerSheet(const QString& path, const TSheet& sheet)
{
    return Save(path, 640, 882, [&](TCanvas& c) { DrawSheetPage(c, 640, 882, PageViewOf(sheet.Settings), sheet, true); });
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    ShowAnswers = 1;
    PrintNumber = 1;
    bool ok = Save(folder + "/figure-123x405.png", 90, 100, [](TCanvas& c) { Figure(c, 320, 441, 30, 8); });
    ok &= Save(folder + "/figure-123x405-printer.png", 560, 700, [](TCanvas& c) { Figure(c, 2400, 3400, 180, 30); });
    FillSampleSheet();
    ok &= Save(folder + "/page-preview.png", 320, 441, [](TCanvas& c) { MakePrint(c, 320, 441, {}); });
    ok &= Save(folder + "/page-a4-300dpi.png", 2480, 3508, [](TCanvas& c) { MakePrint(c, 2480, 3508, {}); });
    ok &= AnswerSheet(folder + "/page-subtraction-answers.png", ColumnSheet(TOperation::Subtraction, 5));
    ok &= AnswerSheet(folder + "/page-addition-answers.png", ColumnSheet(TOperation::Addition, 4));
    ok &= AnswerSheet(folder + "/page-division-answers.png", ColumnSheet(TOperation::Division, 3, 1, 0));
    ok &= LargeCellPage(folder + "/page-large-grade2.png", "2けた＋2けた（一の位でくり上がり）", true);
    ok &= LargeCellPage(folder + "/page-large-grade4.png", "3けた÷1けた（商に0が立つ）", false);
    ok &= DiagnosticKeyPage(folder + "/page-diagnostic-key.png");
    ok &= DecimalPages(folder);
    return ok ? 0 : 1;
}
