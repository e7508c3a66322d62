// Saving a 16-problem sheet with its answer sheet as an A4 PDF (pages drawn,
// PDF written whole to a file), beside its floor: the same two pages drawn by
// the page layout on a QImage of the same size in dots.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "ratio_reporter.h"
#include "render/page_layout.h"
#include "render/qt_canvas.h"
#include "render/qt_fonts.h"
#include "render/reference_page.h"
#include "sample_sheet.h"
#include "worksheet/random.h"
#include "sheets/class_set.h"
#include "sheets/pdf_pages.h"
#include "sheets/presets.h"
#include "sheets/sheet_pdf.h"

namespace {

// A path as the file layer takes it: bytes.
std::string Bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

TSheet sheet;

void BM_SavePdf(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("sheet.pdf");
    for (auto _ : state) {
        TPdfFileOutput output(Bytes(path), TPaper::A4);
        PutOut({sheet}, TAnswerOrder::After, output);
    }
}

void BM_Floor(benchmark::State& state)
{
    const TPdfPages pages(PaperLayout(TPaper::A4), kPdfResolution);
    QImage image(pages.Width(), pages.Height(), QImage::Format_RGB32);
    for (auto _ : state) {
        for (int answers = 0; answers < 2; ++answers) {
            QPainter painter(&image);
            TQtCanvas canvas(painter);
            DrawSheetPage(canvas, pages.Width(), pages.Height(), {}, sheet, answers != 0);
        }
    }
    state.counters["dots"] = static_cast<double>(pages.Width()) * pages.Height();
}

// A class set of 40 sheets and their 40 answer sheets as one A4 PDF, made
// from a preset (and drawn with the marks when asked), in the layout 標準 or
// in 大きなマス of `cellMM`.
void BM_ClassSetPdf(benchmark::State& state, const char* preset, bool marks, int32_t cellMM, int sheets)
{
    TWorksheetSettings settings;
    ApplyNamed(FindPreset(preset)->Settings, settings);
    settings.CarryMarks = marks;
    settings.CellMM = cellMM;
    settings.Problems = 12;
    settings.QNumPattern = 0;
    for (auto _ : state) {
        TRandom random{20261207u};
        const TClassSet set = MakeClassSet(settings, sheets, 1, random);
        const QByteArray pdf = SheetsPdf(set.Sheets, TAnswerOrder::After, TPaper::A4);
        state.counters["KB/page"] = pdf.size() / 1024.0 / (2.0 * sheets);
    }
}

// The header of a sheet alone in a one-page PDF: its subject in the Gothic
// face and its number in the Mincho face, beside the same two texts in the
// Mincho face only. The ratio is what the second embedded face costs every
// document (its subset and its reverse character map).
void BM_HeaderFaces(benchmark::State& state, bool twoFaces)
{
    for (auto _ : state) {
        TPdfPages pages(PaperLayout(TPaper::A4), kPdfResolution);
        TCanvas& canvas = pages.NewPage();
        canvas.Font.Height = 50;
        canvas.Font.Name = twoFaces ? kGothicFace : kMinchoFace;
        canvas.TextOut(100, 100, "かけ算");
        canvas.Font.Name = kMinchoFace;
        canvas.TextOut(400, 100, "問題No.7");
        benchmark::DoNotOptimize(pages.ToPdf());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();
    sheet = SampleSheet();
    sheet.Number = 7;
    benchmark::RegisterBenchmark("SavePdf/a4_with_answers", BM_SavePdf)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SavePdf/a4_with_answers/floor", BM_Floor)->Unit(benchmark::kMillisecond);
    // Written addition with its marks beside the same set of multiplications
    // (in the place of the floor): the ratio is what a new operation costs.
    benchmark::RegisterBenchmark("ClassSetPdf/40+40_addition_with_marks", BM_ClassSetPdf, "3けた＋3けた（くり上がり2回）", true, 0, 40)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ClassSetPdf/40+40_addition_with_marks/floor", BM_ClassSetPdf, "3けた×1けた", false, 0, 40)
        ->Unit(benchmark::kMillisecond);
    // Long division with its whole working, beside the same multiplications,
    // in 標準 with 12 problems: a class set of 40 and one of 99.
    for (const int sheets : {40, 99}) {
        const std::string name = "ClassSetPdf/" + std::to_string(sheets) + "+" + std::to_string(sheets) + "_division";
        for (const char* preset : {"3けた÷1けた（商に0が立つ）", "3けた÷2けた（仮商の修正あり）"})
            benchmark::RegisterBenchmark((name + (std::string(preset).find("2けた（") != std::string::npos ? "_by_two_places" : "")).c_str(),
                                         BM_ClassSetPdf, preset, false, 0, sheets)
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/floor").c_str(), BM_ClassSetPdf, "3けた×1けた", false, 0, sheets)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "_by_two_places/floor").c_str(), BM_ClassSetPdf, "3けた×1けた", false, 0, sheets)
            ->Unit(benchmark::kMillisecond);
    }
    // 大きなマス of 10 mm beside the same sheets in 標準: what square cells,
    // a glyph a cell, cost.
    benchmark::RegisterBenchmark("ClassSetPdf/40+40_large_cells_10mm", BM_ClassSetPdf, "3けた×1けた", false, 10, 40)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ClassSetPdf/40+40_large_cells_10mm/floor", BM_ClassSetPdf, "3けた×1けた", false, 0, 40)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PdfFaces/header_in_two_faces", BM_HeaderFaces, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PdfFaces/header_in_two_faces/floor", BM_HeaderFaces, false)
        ->Unit(benchmark::kMillisecond);
    return RunWithRatios(argc, argv);
}
