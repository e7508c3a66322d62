#include "web/svg_pages.h"

#include "render/paper_size.h"
#include "web/svg_canvas.h"

#include <cmath>

namespace {

constexpr double kDotsPerMm = 1200 / 25.4;

// Points (1/72 inch) as the desktop's PDF writer takes them: paper sizes
// and margins in whole points, then in dots.
int32_t WholePoints(double mm)
{
    return static_cast<int32_t>(std::lround(mm * 72 / 25.4));
}

int32_t Dots(int32_t points)
{
    return static_cast<int32_t>(std::lround(points * 1200.0 / 72));
}

}  // namespace

TSvgPageSize SvgPageSize(const std::string& paperName)
{
    const TPaperSize& paper = PaperSizeNamed(paperName);
    TSvgPageSize size;
    size.MarginPt = WholePoints(kSheetMarginMm);
    size.W = Dots(WholePoints(paper.WidthMm)) - 2 * Dots(size.MarginPt);
    size.H = Dots(WholePoints(paper.HeightMm)) - 2 * Dots(size.MarginPt);
    size.DotsPerMm = kDotsPerMm;
    size.WidthMm = size.W / kDotsPerMm;
    size.HeightMm = size.H / kDotsPerMm;
    return size;
}

TPageView SvgPageView(const TSheet& sheet, const std::string& paperName)
{
    TPageView view = PageViewOf(sheet.Settings);
    view.DotsPerMm = kDotsPerMm;
    view.PaperName = PaperSizeNamed(paperName).Name;
    return view;
}

std::vector<TSvgPage> SvgPages(const std::vector<TSheet>& sheets, TAnswerOrder order, const std::string& paperName)
{
    const TSvgPageSize size = SvgPageSize(paperName);
    std::vector<TSvgPage> pages;
    for (const auto& [index, answers] : PageOrder(sheets.size(), order)) {
        const TSheet& sheet = sheets[index];
        TSvgCanvas canvas(size.W, size.H, size.WidthMm, size.HeightMm);
        DrawSheetPage(canvas, size.W, size.H, SvgPageView(sheet, paperName), sheet, answers);
        pages.push_back({canvas.Svg(), sheet.Number, answers});
    }
    return pages;
}
