#include "reader/page_reading.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "errors/errors.h"
#include "reader/point_reading.h"
#include "reader/registration.h"
#include "render/large_cell_page.h"
#include "render/page_layout.h"
#include "render/paper_size.h"
#include "requests/requests.h"
#include "worksheet/follow_up.h"
#include "worksheet/operations.h"

namespace {

// The view a page of `paper` is measured with: tenths of a millimetre from
// the inside of its margins.
struct TMeasure {
    TPageView View;
    int32_t W = 0, H = 0;
};

TMeasure MeasureOf(const TSheet& sheet, const std::string& paper)
{
    TMeasure m;
    m.View = PageViewOf(sheet.Settings);
    m.View.DotsPerMm = 10;
    m.View.PaperName = paper;
    m.View.ReadingMarks = true;
    const TPaperSize& size = PaperSizeNamed(paper);
    m.W = static_cast<int32_t>(std::lround((size.WidthMm - 2 * kSheetMarginMm) * 10));
    m.H = static_cast<int32_t>(std::lround((size.HeightMm - 2 * kSheetMarginMm) * 10));
    return m;
}

// The cells of a row, left to right, in millimetres.
std::vector<TCellMm> CellsOf(const TAnswerCells& row)
{
    std::vector<TCellMm> cells;
    for (int32_t i = 0; i < row.Count; ++i) {
        const double left = (row.Right - (row.Count - i) * row.Width) / 10.0;
        cells.push_back({left, row.Top / 10.0, left + row.Width / 10.0, (row.Top + row.Height) / 10.0});
    }
    return cells;
}

// The pixels a cell takes on the image, as the side of its picture.
int32_t PictureSide(const THomography& map, const TCellMm& cell)
{
    const TPoint a = map.Map({cell.Left, cell.Top}), b = map.Map({cell.Right, cell.Bottom});
    const double across = std::hypot(b.X - a.X, b.Y - a.Y) / std::sqrt(2.0);
    return std::clamp(static_cast<int32_t>(std::lround(across)), 20, 64);
}

std::vector<TCellReading> ReadCells(const TGreyImage& image, const THomography& map, const std::vector<TCellMm>& cells)
{
    std::vector<TCellReading> read;
    for (const TCellMm& cell : cells)
        read.push_back(ReadCellPicture(CellPicture(image, map, cell, PictureSide(map, cell)), TDigitNetwork::Shipped()));
    return read;
}

// For each line between two cells of `answer`, the chance a point is
// written on it.
std::vector<double> ReadPoints(const TGreyImage& image, const THomography& map, const std::vector<TCellMm>& answer)
{
    std::vector<double> points;
    for (size_t i = 0; i + 1 < answer.size(); ++i) {
        const TCellMm place = PointPlace(answer[i]);
        points.push_back(ReadPoint(CellPicture(image, map, place, std::max(20, PictureSide(map, place)))));
    }
    return points;
}

}  // namespace

TGreyImage RectifiedPage(const TGreyImage& image, const THomography& pageToImage, const std::string& paper, double dotsPerMm)
{
    const TPaperSize& size = PaperSizeNamed(paper);
    TGreyImage page(static_cast<int32_t>(std::lround(size.WidthMm * dotsPerMm)), static_cast<int32_t>(std::lround(size.HeightMm * dotsPerMm)));
    for (int32_t y = 0; y < page.Height; ++y)
        for (int32_t x = 0; x < page.Width; ++x) {
            // The registration measures from the inside of the margins.
            const TPoint at = pageToImage.Map({(x + 0.5) / dotsPerMm - kSheetMarginMm, (y + 0.5) / dotsPerMm - kSheetMarginMm});
            page.At(x, y) = static_cast<uint8_t>(std::lround(image.Sample(at.X, at.Y)));
        }
    return page;
}

TGreyImage AnswerPicture(const TGreyImage& image, const THomography& pageToImage, const TAnswerPlaces& places, int32_t cellSide)
{
    const std::vector<TCellMm> answer = CellsOf(places.Answer), remainder = CellsOf(places.Remainder);
    const int32_t gap = remainder.empty() ? 0 : cellSide / 2;
    TGreyImage picture(static_cast<int32_t>(answer.size() + remainder.size()) * cellSide + gap, cellSide);
    int32_t x = 0;
    for (const std::vector<TCellMm>* row : {&answer, &remainder}) {
        for (const TCellMm& cell : *row) {
            const TGreyImage one = CellPicture(image, pageToImage, cell, cellSide);
            for (int32_t yy = 0; yy < cellSide; ++yy)
                for (int32_t xx = 0; xx < cellSide; ++xx) picture.At(x + xx, yy) = one.At(xx, yy);
            x += cellSide;
        }
        x += gap;
    }
    return picture;
}

bool IsBlankPage(const TGreyImage& image)
{
    if (image.Empty()) return true;
    // Every fourth pixel each way; the paper's white as the level 90 % of
    // them reach.
    std::vector<uint8_t> seen;
    for (int32_t y = 0; y < image.Height; y += 4)
        for (int32_t x = 0; x < image.Width; x += 4) seen.push_back(image.At(x, y));
    std::vector<uint8_t> sorted = seen;
    const auto at = sorted.begin() + static_cast<ptrdiff_t>(sorted.size() / 10);
    std::nth_element(sorted.begin(), at, sorted.end(), std::greater<>());
    const double white = std::max<double>(*at, 64);
    // No ink, and next to nothing even faintly grey: a faint copy of a sheet
    // is no white page (it is told as unreadable, not passed over).
    const size_t ink = static_cast<size_t>(std::count_if(seen.begin(), seen.end(), [&](uint8_t v) { return v < white * 0.55; }));
    const size_t grey = static_cast<size_t>(std::count_if(seen.begin(), seen.end(), [&](uint8_t v) { return v < white * 0.88; }));
    return ink * 2000 < seen.size() && grey * 200 < seen.size();
}

TReadPage ReadPage(const TGreyImage& image)
{
    TReadPage page;
    if (IsBlankPage(image)) {
        page.Blank = true;
        return page;
    }
    const TRegistrationResult found = Register(image);
    if (!found.Found) {
        page.Failure = found.Failure == TRegistrationFailure::NoMarks
                           ? "四すみの印が見つかりません（このプログラムの大きなマスのプリントではないか、印が写っていません）"
                           : "プリントのコードが読めません（よごれ、折れ目、写りの悪さ）";
        return page;
    }
    const TRegistration& registration = *found.Found;
    page.Kind = registration.Recipe.Kind;
    page.Paper = registration.Recipe.Paper;
    if (page.Kind != TPageKind::Problems) return page;
    try {
        page.Sheet = SheetOfRecipe(registration.Recipe);
    } catch (const ERefused& e) {
        page.Failure = e.what();
        return page;
    }
    page.Paper = registration.Recipe.Paper;
    page.PageToImage = registration.PageToImage;
    const TMeasure m = MeasureOf(page.Sheet, page.Paper);
    try {
        page.Places = AnswerPlacesOf(page.Sheet, m.View, m.W, m.H);
    } catch (const std::exception&) {
        page.Failure = "プリントのコードの大きなマスが用紙にのりません";
        return page;
    }
    const THomography& map = page.PageToImage;
    if (page.Sheet.Roll > 0) {
        page.Roll = page.Sheet.Roll;
    } else {
        const TReadingMarks marks = ReadingMarksOf(m.View, m.W, m.H);
        std::vector<TCellMm> cells;
        for (const TBox& box : marks.Roll) cells.push_back({box.Left / 10.0, box.Top / 10.0, box.Right / 10.0, box.Bottom / 10.0});
        const std::vector<TCellReading> roll = ReadCells(image, map, cells);
        std::string text;
        bool sure = true;
        for (const TCellReading& cell : roll) {
            const int d = cell.Likeliest();
            sure = sure && cell.Chance(d) >= 0.98 && d != kNotADigit;
            if (d >= 0 && d < 10) text += static_cast<char>('0' + d);
            else if (!text.empty()) sure = false;
        }
        if (sure && !text.empty() && std::stoi(text) > 0) page.Roll = std::stoi(text);
    }
    for (size_t k = 0; k < page.Sheet.Problems.size(); ++k) {
        const TAnswerPlaces& places = page.Places[k];
        page.Pictures.push_back(AnswerPicture(image, map, places, 40));
        if (IsShownWorked(page.Sheet.PurposeOf(k))) {
            // Worked on the sheet: nothing of the pupil's to read.
            page.Answers.push_back({std::nullopt, TDecided::Shown, 1});
            continue;
        }
        const std::vector<TCellMm> answerCells = CellsOf(places.Answer);
        const std::vector<TCellReading> answer = ReadCells(image, map, answerCells);
        const std::vector<TCellReading> remainder = ReadCells(image, map, CellsOf(places.Remainder));
        const TOperation operation = page.Sheet.Settings.Operation;
        const std::vector<double> points = RulesOf(operation).Decimal() ? ReadPoints(image, map, answerCells) : std::vector<double>{};
        page.Answers.push_back(ReadAnswer(operation, page.Sheet.Problems[k], answer, remainder, points));
    }
    return page;
}
