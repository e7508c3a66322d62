#include "render/figure.h"

#include <array>
#include <stdexcept>
#include <string>
#include <utility>

#include "render/column_figure.h"
#include "render/decimal_figures.h"
#include "render/division_figure.h"
#include "render/hissan.h"
#include "worksheet/operations.h"
#include "worksheet/text_to_int.h"

namespace {

const std::vector<TFigureRow>& FigureRows()
{
    static const std::vector<TFigureRow> rows = {
        MultiplicationFigureRow(),
        AdditionFigureRow(),
        SubtractionFigureRow(),
        DivisionFigureRow(),
        DecimalAdditionFigureRow(),
        DecimalSubtractionFigureRow(),
        DecimalMultiplicationFigureRow(),
        DecimalDivisionFigureRow(),
    };
    return rows;
}

int32_t DigitOf(const std::string& text)
{
    try {
        return TextToInt(text);
    } catch (const EConvertError&) {
        return 0;
    }
}

// The places a number of these ranges (ones first, low and high) can have:
// the most, and the fewest.
std::pair<int32_t, int32_t> PlacesOf(const std::array<const std::string*, 8>& ends)
{
    int32_t most = 1, fewest = 1;
    for (int32_t place = 1; place <= 4; ++place) {
        const int32_t a = DigitOf(*ends[2 * place - 2]), b = DigitOf(*ends[2 * place - 1]);
        if (std::max(a, b) > 0) most = place;
        if (std::min(a, b) > 0) fewest = place;
    }
    return {most, std::min(fewest, most)};
}

// The decimal places a number of these ranges (the 1/10 place first) can
// have at most.
int32_t DecimalPlacesOf(const std::array<const std::string*, 6>& ends)
{
    int32_t most = 0;
    for (int32_t place = 1; place <= 3; ++place)
        if (std::max(DigitOf(*ends[2 * place - 2]), DigitOf(*ends[2 * place - 1])) > 0) most = place;
    return most;
}

// A number of nines: `whole` places and `decimals` decimal places.
int32_t Nines(int32_t whole, int32_t decimals)
{
    int64_t n = 0;
    for (int32_t k = 0; k < whole + decimals; ++k) n = n * 10 + 9;
    return static_cast<int32_t>(n);
}

// The problems of a decimal operation whose figures take the most room the
// ranges allow: the longest first number with the longest second, and with
// the smallest second of the most places (the longest division).
std::vector<TSheetProblem> LargestProblemsOf(const TWorksheetSettings& s)
{
    const TOperationRules& rules = RulesOf(s.Operation);
    const int32_t firstWhole = PlacesOf({&s.u1l, &s.u1h, &s.u2l, &s.u2h, &s.u3l, &s.u3h, &s.u4l, &s.u4h}).first;
    const int32_t secondWhole = std::min(PlacesOf({&s.d1l, &s.d1h, &s.d2l, &s.d2h, &s.d3l, &s.d3h, &s.d4l, &s.d4h}).first,
                                         rules.SecondPlaces);
    const int32_t firstDecimals = DecimalPlacesOf({&s.u01l, &s.u01h, &s.u001l, &s.u001h, &s.u0001l, &s.u0001h});
    const int32_t secondDecimals = DecimalPlacesOf({&s.d01l, &s.d01h, &s.d001l, &s.d001h, &s.d0001l, &s.d0001h});
    const int32_t first = Nines(firstWhole, firstDecimals);
    std::vector<TSheetProblem> largest;
    // The longest second, and each one-digit second at its last place (the
    // longest working of a division is by one of them).
    std::vector<int32_t> seconds = {Nines(secondWhole, secondDecimals)};
    for (int32_t digit = 1; digit <= 9; ++digit) seconds.push_back(digit);
    for (const int32_t second : seconds) {
        const TOperands operands{first, second, firstDecimals, secondDecimals, s.Kuriagari};
        if (IsProblemOf(rules, operands)) largest.push_back(SolveProblem(rules, operands));
    }
    return largest;
}

int32_t Places(int32_t number)
{
    return static_cast<int32_t>(std::to_string(number).size());
}

}  // namespace

TFigureShape ShapeOf(const TSheet& sheet)
{
    const TWorksheetSettings& s = sheet.Settings;
    if (const TFigureRow& row = FigureOf(s.Operation); row.Measure) {
        // Figures of decimals are as wide as their problems' working: the
        // largest the ranges allow, and the sheet's own.
        TFigureShape shape{1, 1, 1, false, s.CarryMarks};
        // (A diagnostic sheet's problems come from ranges of their own.)
        if (!sheet.Diagnostic)
            for (const TSheetProblem& p : LargestProblemsOf(s)) row.Measure(p, shape);
        for (const TSheetProblem& p : sheet.Problems) row.Measure(p, shape);
        return shape;
    }
    const auto [firstMost, firstFewest] = PlacesOf({&s.u1l, &s.u1h, &s.u2l, &s.u2h, &s.u3l, &s.u3h, &s.u4l, &s.u4h});
    const auto [secondMost, secondFewest] = PlacesOf({&s.d1l, &s.d1h, &s.d2l, &s.d2h, &s.d3l, &s.d3h, &s.d4l, &s.d4h});
    (void)firstFewest;
    TFigureShape shape{firstMost, secondMost, secondFewest, false, s.CarryMarks};
    for (const TSheetProblem& p : sheet.Problems) {
        shape.FirstPlaces = std::max(shape.FirstPlaces, Places(p.First));
        shape.SecondPlaces = std::max(shape.SecondPlaces, Places(p.Second));
        shape.FewestSecondPlaces = std::min(shape.FewestSecondPlaces, Places(p.Second));
    }
    // A division whose settings allow a remainder (any, or some) asks for it.
    shape.RemainderBlank = RulesOf(s.Operation).HasRemainder && s.Amari != 1;
    return shape;
}

const TFigureRow& FigureOf(TOperation operation)
{
    for (const TFigureRow& row : FigureRows())
        if (row.Operation == operation) return row;
    throw std::out_of_range("no figure for the operation");
}

int32_t SharedRowHeight(TCanvas& canvas, TOperation operation, const std::vector<TSheetProblem>& problems,
                        const TFigureStyle& style)
{
    const TFigureRow& row = FigureOf(operation);
    return row.RowHeight ? row.RowHeight(canvas, problems, style) : canvas.Font.Height;
}

void DrawFigure(TCanvas& canvas, int32_t x, int32_t y, TOperation operation, const TSheetProblem& problem,
                const TFigureStyle& style)
{
    FigureOf(operation).Draw(canvas, x, y, problem, style);
}
