#include "reader/registration.h"

#include <algorithm>
#include <cmath>

#include "render/large_cell_page.h"
#include "render/page_layout.h"
#include "render/paper_size.h"

namespace {

struct TBlob {
    double X = 0, Y = 0;  // centroid
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int64_t Area = 0;
    double Side() const { return std::sqrt(static_cast<double>(Area)); }
};

// The image at half its size, each pixel the mean of four.
TGreyImage HalfSize(const TGreyImage& image)
{
    TGreyImage half(image.Width / 2, image.Height / 2);
    for (int32_t y = 0; y < half.Height; ++y) {
        const uint8_t* upper = &image.Pixels[static_cast<size_t>(2 * y) * static_cast<size_t>(image.Width)];
        const uint8_t* lower = upper + image.Width;
        uint8_t* out = &half.Pixels[static_cast<size_t>(y) * static_cast<size_t>(half.Width)];
        for (int32_t x = 0; x < half.Width; ++x)
            out[x] = static_cast<uint8_t>((upper[2 * x] + upper[2 * x + 1] + lower[2 * x] + lower[2 * x + 1] + 2) / 4);
    }
    return half;
}

// The solid, nearly square dark blobs of the image at its own size.
std::vector<TBlob> SquareBlobsOf(const TGreyImage& image)
{
    const TGreyImage white = WhiteLevel(image);
    std::vector<uint8_t> ink = InkMask(image, white, 0.55);
    const int32_t w = image.Width, h = image.Height;
    std::vector<TBlob> blobs;
    std::vector<int32_t> stack;
    const int64_t smallest = std::max<int64_t>(25, int64_t{w} * h / 200000);
    for (int32_t start = 0; start < w * h; ++start) {
        if (!ink[static_cast<size_t>(start)]) continue;
        TBlob blob;
        blob.Left = blob.Right = start % w;
        blob.Top = blob.Bottom = start / w;
        double sx = 0, sy = 0;
        stack.assign(1, start);
        ink[static_cast<size_t>(start)] = 0;
        while (!stack.empty()) {
            const int32_t at = stack.back();
            stack.pop_back();
            const int32_t x = at % w, y = at / w;
            ++blob.Area;
            sx += x + 0.5;
            sy += y + 0.5;
            blob.Left = std::min(blob.Left, x), blob.Right = std::max(blob.Right, x);
            blob.Top = std::min(blob.Top, y), blob.Bottom = std::max(blob.Bottom, y);
            const int32_t next[4] = {x > 0 ? at - 1 : -1, x + 1 < w ? at + 1 : -1, y > 0 ? at - w : -1, y + 1 < h ? at + w : -1};
            for (const int32_t n : next)
                if (n >= 0 && ink[static_cast<size_t>(n)]) {
                    ink[static_cast<size_t>(n)] = 0;
                    stack.push_back(n);
                }
        }
        if (blob.Area < smallest) continue;
        const double bw = blob.Right - blob.Left + 1, bh = blob.Bottom - blob.Top + 1;
        const double fill = static_cast<double>(blob.Area) / (bw * bh);
        // Squares turned up to 45° fill half their box.
        if (fill < 0.45 || bw > 1.7 * bh || bh > 1.7 * bw) continue;
        // A turned square fills its box less; its side from its area.
        blob.X = sx / static_cast<double>(blob.Area);
        blob.Y = sy / static_cast<double>(blob.Area);
        if (fill < 0.8 && std::abs(fill - 0.5) > 0.3) continue;
        blobs.push_back(blob);
    }
    return blobs;
}

// The solid, nearly square dark blobs of the image. A page of 150 dpi or
// more is searched at half its size (a corner mark is still 15 pixels
// across or more), its blobs given back in the image's pixels.
std::vector<TBlob> SquareBlobs(const TGreyImage& image)
{
    if (std::min(image.Width, image.Height) < 1200) return SquareBlobsOf(image);
    std::vector<TBlob> blobs = SquareBlobsOf(HalfSize(image));
    for (TBlob& blob : blobs) {
        blob.X *= 2, blob.Y *= 2, blob.Area *= 4;
        blob.Left *= 2, blob.Top *= 2, blob.Right = 2 * blob.Right + 1, blob.Bottom = 2 * blob.Bottom + 1;
    }
    return blobs;
}

double Cross(TPoint o, TPoint a, TPoint b)
{
    return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
}

// The centre of a box in millimetres from the page's device units (tenths).
TPoint CentreMm(const TBox& box)
{
    return {(box.Left + box.Right) / 20.0, (box.Top + box.Bottom) / 20.0};
}

// The reader's marks of a page of `paper` in tenths of a millimetre.
TReadingMarks MarksOfPaper(const TPaperSize& paper)
{
    TPageView view;
    view.DotsPerMm = 10;
    view.PaperName = paper.Name;
    view.ReadingMarks = true;
    const int32_t W = static_cast<int32_t>(std::lround((paper.WidthMm - 2 * kSheetMarginMm) * 10));
    const int32_t H = static_cast<int32_t>(std::lround((paper.HeightMm - 2 * kSheetMarginMm) * 10));
    return ReadingMarksOf(view, W, H);
}

}  // namespace

std::vector<std::array<TPoint, 4>> FindCornerMarks(const TGreyImage& image)
{
    const std::vector<TBlob> blobs = SquareBlobs(image);
    if (blobs.size() < 4) return {};
    const TPoint corners[4] = {{0, 0}, {double(image.Width), 0}, {0, double(image.Height)}, {double(image.Width), double(image.Height)}};
    // The blobs nearest each corner of the image: specks and a desk's
    // edges may stand nearer than the mark.
    std::array<std::vector<size_t>, 4> near;
    for (size_t c = 0; c < 4; ++c) {
        std::vector<size_t> order(blobs.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        auto distance = [&](size_t i) { return std::hypot(blobs[i].X - corners[c].X, blobs[i].Y - corners[c].Y); };
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return distance(a) < distance(b); });
        order.resize(std::min<size_t>(order.size(), 8));
        near[c] = order;
    }
    // Every choice of alike squares making a quadrilateral of the marks'
    // shape: its sides about 1.46 to 1 on every paper (a photo's tilt
    // stretches that a little), each square about a fortieth of the shorter
    // side (5 mm of 157 to 272 mm).
    std::vector<std::pair<double, std::array<TPoint, 4>>> found;
    for (const size_t a : near[0])
        for (const size_t b : near[1])
            for (const size_t c : near[2])
                for (const size_t d : near[3]) {
                    if (a == b || a == c || a == d || b == c || b == d || c == d) continue;
                    const size_t chosen[4] = {a, b, c, d};
                    double small = 1e18, large = 0;
                    for (const size_t i : chosen) small = std::min(small, blobs[i].Side()), large = std::max(large, blobs[i].Side());
                    if (large > 1.6 * small) continue;
                    const TPoint p[4] = {{blobs[a].X, blobs[a].Y}, {blobs[b].X, blobs[b].Y}, {blobs[c].X, blobs[c].Y}, {blobs[d].X, blobs[d].Y}};
                    // Convex, in order TL TR BR BL.
                    const double c1 = Cross(p[0], p[1], p[3]), c2 = Cross(p[1], p[3], p[2]), c3 = Cross(p[3], p[2], p[0]),
                                 c4 = Cross(p[2], p[0], p[1]);
                    if (!(c1 > 0 && c2 > 0 && c3 > 0 && c4 > 0)) continue;
                    const double area = (c1 + c3) / 2;
                    const double top = std::hypot(p[1].X - p[0].X, p[1].Y - p[0].Y), bottom = std::hypot(p[3].X - p[2].X, p[3].Y - p[2].Y);
                    const double left = std::hypot(p[2].X - p[0].X, p[2].Y - p[0].Y), right = std::hypot(p[3].X - p[1].X, p[3].Y - p[1].Y);
                    const double across = std::min((top + bottom) / 2, (left + right) / 2), along = std::max((top + bottom) / 2, (left + right) / 2);
                    const double shape = along / across;
                    if (shape < 1.15 || shape > 1.9) continue;
                    const double share = (small + large) / 2 / across;
                    if (share < 0.011 || share > 0.05) continue;
                    found.push_back({area, {p[0], p[1], p[2], p[3]}});
                }
    // The largest first; alike choices (one speck for a mark) are not tried
    // twice over.
    std::sort(found.begin(), found.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
    std::vector<std::array<TPoint, 4>> candidates;
    for (const auto& [area, quad] : found) {
        if (candidates.size() == kMostMarkCandidates) break;
        candidates.push_back(quad);
    }
    return candidates;
}

std::vector<bool> CodeModulesSeen(const TGreyImage& image, const THomography& pageToImage, TPoint codeTopLeftMm, double moduleMm)
{
    // Each module's grey: the mean of nine points over its middle half.
    auto grey = [&](double row, double column) {
        double sum = 0;
        for (int i = -1; i <= 1; ++i)
            for (int j = -1; j <= 1; ++j) {
                const TPoint at = pageToImage.Map({codeTopLeftMm.X + (column + 0.5 + j * 0.25) * moduleMm,
                                                   codeTopLeftMm.Y + (row + 0.5 + i * 0.25) * moduleMm});
                sum += image.Sample(at.X, at.Y);
            }
        return sum / 9;
    };
    std::vector<double> levels(static_cast<size_t>(kCodeModules * kCodeModules));
    double ring = 0, margin = 0;
    int rings = 0, margins = 0;
    for (int row = -1; row <= kCodeModules; ++row)
        for (int column = -1; column <= kCodeModules; ++column) {
            const double level = grey(row, column);
            const bool outside = row < 0 || column < 0 || row == kCodeModules || column == kCodeModules;
            if (outside) {
                margin += level, ++margins;
                continue;
            }
            if (row == 0 || column == 0 || row == kCodeModules - 1 || column == kCodeModules - 1) ring += level, ++rings;
            levels[static_cast<size_t>(row * kCodeModules + column)] = level;
        }
    const double threshold = (ring / rings + margin / margins) / 2;
    std::vector<bool> modules(levels.size());
    for (size_t i = 0; i < levels.size(); ++i) modules[i] = levels[i] < threshold;
    return modules;
}

namespace {

// The sheet on `image` registered on the marks `marks` (in the image's
// corners' order), when a paper and a turn make its code read.
// Rings from `nearest` to `farthest`: where the paper bends, the code
// stands a little off, by up to four half modules.
std::optional<TRegistration> RegisterOn(const TGreyImage& image, const std::array<TPoint, 4>& marks, int nearest, int farthest)
{
    // The image's corners TL TR BL BR as the page's, for each quarter turn.
    static const std::array<std::array<int, 4>, 4> turns = {{{0, 1, 2, 3}, {3, 2, 1, 0}, {2, 0, 3, 1}, {1, 3, 0, 2}}};
    for (const TPaperSize& paper : kPaperSizes) {
        const TReadingMarks page = MarksOfPaper(paper);
        const std::array<TPoint, 4> pageMarks = {CentreMm(page.Corners[0]), CentreMm(page.Corners[1]), CentreMm(page.Corners[2]),
                                                 CentreMm(page.Corners[3])};
        const double module = (page.Code.Right - page.Code.Left) / 10.0 / kCodeModules;
        const TPoint code{page.Code.Left / 10.0, page.Code.Top / 10.0};
        for (const auto& turn : turns) {
            std::array<TPoint, 4> seen;
            for (size_t k = 0; k < 4; ++k) seen[k] = marks[static_cast<size_t>(turn[k])];
            const std::optional<THomography> map = HomographyFrom(pageMarks, seen);
            if (!map) continue;
            // Where the paper bends, the code stands a little off: nearest first.
            for (int ring = nearest; ring <= farthest; ++ring)
                for (int dy = -ring; dy <= ring; ++dy)
                    for (int dx = -ring; dx <= ring; ++dx) {
                        if (std::max(std::abs(dx), std::abs(dy)) != ring) continue;
                        const TPoint at{code.X + dx * module / 2, code.Y + dy * module / 2};
                        const std::optional<TSheetRecipe> recipe = RecipeFromModules(CodeModulesSeen(image, *map, at, module));
                        if (!recipe || recipe->Paper != paper.Name) continue;
                        return TRegistration{*map, *recipe};
                    }
        }
    }
    return std::nullopt;
}

}  // namespace

TRegistrationResult Register(const TGreyImage& image)
{
    TRegistrationResult result;
    const std::vector<std::array<TPoint, 4>> candidates = FindCornerMarks(image);
    if (candidates.empty()) return result;
    result.Failure = TRegistrationFailure::NoCode;
    // The code where it should stand on every choice first (cheap), then a
    // little off on the likeliest few.
    for (const std::array<TPoint, 4>& marks : candidates)
        if ((result.Found = RegisterOn(image, marks, 0, 0))) return result;
    for (size_t i = 0; i < candidates.size() && i < 6; ++i)
        if ((result.Found = RegisterOn(image, candidates[i], 1, 4))) return result;
    return result;
}

