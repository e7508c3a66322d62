// MakePrint of a 16-problem page with answers and grid onto an image, beside
// its floor: the same text outputs, lines and rectangles drawn straight
// through QPainter, without the layout or the surface's own rules.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <map>
#include <string>
#include <vector>

#include "ratio_reporter.h"
#include "recording_canvas.h"
#include "render/page_layout.h"
#include "render/qt_canvas.h"
#include "render/qt_fonts.h"
#include "sample_sheet.h"
#include "worksheet/problems.h"

namespace {

void BM_MakePrint(benchmark::State& state, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        MakePrint(canvas, width, height, {});
    }
}

// The page's operations, recorded once, then replayed with plain QPainter calls.
struct TFloorPage {
    std::vector<TRecord> Records;
    std::map<std::pair<std::string, int32_t>, QFont> Fonts;
    std::map<std::pair<std::string, int32_t>, int> Ascents;
};

TFloorPage RecordPage(int width, int height)
{
    TRecordingCanvas recorder;
    MakePrint(recorder, width, height, {});
    TFloorPage page;
    page.Records = recorder.Ops();
    for (const TRecord& r : page.Records) {
        if (r.Kind != TRecord::TextOp) continue;
        QFont font(QString::fromStdString(r.Font.Name));
        font.setPixelSize(r.Font.Height > 0 ? r.Font.Height : 1);
        page.Fonts[{r.Font.Name, r.Font.Height}] = font;
        page.Ascents[{r.Font.Name, r.Font.Height}] = QFontMetrics(font).ascent();
    }
    return page;
}

void BM_Floor(benchmark::State& state, int width, int height)
{
    const TFloorPage page = RecordPage(width, height);
    QImage image(width, height, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        for (const TRecord& r : page.Records) {
            switch (r.Kind) {
            case TRecord::TextOp: {
                const auto key = std::make_pair(r.Font.Name, r.Font.Height);
                painter.setFont(page.Fonts.at(key));
                painter.setPen(Qt::black);
                painter.drawText(r.X1, r.Y1 + page.Ascents.at(key), QString::fromStdString(r.Text));
                break;
            }
            case TRecord::LineOp: {
                QPen pen(QColor::fromRgb(r.Pen.Color), r.Pen.Width > 1 ? r.Pen.Width : 0);
                if (r.Pen.Style == psDot) pen.setStyle(Qt::DotLine);
                painter.setPen(pen);
                painter.drawLine(r.X1, r.Y1, r.X2, r.Y2);
                break;
            }
            case TRecord::MoveOp: break;
            case TRecord::RectOp:
                if (r.Brush.Style == bsSolid) painter.fillRect(QRect(r.X1, r.Y1, r.X2 - r.X1, r.Y2 - r.Y1), Qt::white);
                painter.setPen(QColor::fromRgb(r.Pen.Color));
                painter.drawRect(QRect(r.X1, r.Y1, r.X2 - r.X1 - 1, r.Y2 - r.Y1 - 1));
                break;
            }
        }
    }
    state.counters["operations"] = static_cast<double>(page.Records.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();
    FillSampleSheet();
    ShowAnswers = 1;
    PrintNumber = 1;
    const struct {
        const char* name;
        int width, height;
    } sizes[] = {{"preview_320x441", 320, 441}, {"a4_300dpi_2480x3508", 2480, 3508}};
    for (const auto& s : sizes) {
        const std::string name = std::string("MakePrint/") + s.name;
        benchmark::RegisterBenchmark(name.c_str(), BM_MakePrint, s.width, s.height)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((name + "/floor").c_str(), BM_Floor, s.width, s.height)->Unit(benchmark::kMicrosecond);
    }
    return RunWithRatios(argc, argv);
}
