// Draws the pictures in docs/ through the program's own drawing code:
//   doc_images <folder>
// writes figure-123x405.png (scale 1 and printer scale), page-preview.png
// (320 × 441) and page-a4-300dpi.png (2480 × 3508), all with grid and answers.
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
#include "worksheet/problems.h"

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
    return ok ? 0 : 1;
}
