#include "reader/answer_reading.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "worksheet/decimal.h"

namespace {

// How likely each kind of answer is before the cells are read.
constexpr double kRightPrior = 0.6, kWrongPrior = 0.3, kBlankPrior = 0.05, kFreePrior = 0.05;
// Sure enough not to ask.
constexpr double kSure = 0.995, kCellSure = 0.5, kFreeCellSure = 0.98;

// The likeliest digits of the cells, blank before them; none when a blank
// falls between digits or a mark is no digit.
std::optional<std::string> FreeText(const std::vector<TCellReading>& cells)
{
    std::string text;
    for (const TCellReading& cell : cells) {
        const int d = cell.Likeliest();
        if (d == kNotADigit) return std::nullopt;
        if (d < 0) {
            if (!text.empty()) return std::nullopt;
            continue;
        }
        text += static_cast<char>('0' + d);
    }
    return text;
}

double WorstCell(const std::vector<TCellReading>& cells, const std::string& text)
{
    if (text.size() > cells.size()) return 0;
    const size_t blanks = cells.size() - text.size();
    double worst = 1;
    for (size_t i = 0; i < cells.size(); ++i)
        worst = std::min(worst, cells[i].Chance(i < blanks ? -1 : text[i - blanks] - '0'));
    return worst;
}

// How an answer stands in its cells: its digits right-aligned (the point
// left out) and how many of them follow the point (0: none written).
struct TWrittenForm {
    std::string Digits;
    int32_t Places = 0;
    bool operator==(const TWrittenForm&) const = default;
};

TWrittenForm FormOf(const TWrittenAnswer& answer)
{
    return {DecimalDigits(answer.Value, answer.Places), answer.Places};
}

// The chance that the line after cell `i` of `cells` holds what `form`
// writes there: its point, or nothing.
double LineChance(const std::vector<double>& points, size_t i, size_t cells, const TWrittenForm& form)
{
    const bool here = form.Places > 0 && i + 1 + static_cast<size_t>(form.Places) == cells;
    return here ? points[i] : 1 - points[i];
}

// The chance of every line between the cells as `form` writes it (1 for
// whole numbers: `points` empty).
double PointChance(const std::vector<double>& points, size_t cells, const TWrittenForm& form)
{
    double chance = 1;
    for (size_t i = 0; i < points.size(); ++i) chance *= LineChance(points, i, cells, form);
    return chance;
}

// The digits as they read with the point as it reads: none when the digits
// do not (FreeText) or the point is not after one of them.
std::optional<TWrittenForm> FreeForm(const std::vector<TCellReading>& cells, const std::vector<double>& points)
{
    const std::optional<std::string> text = FreeText(cells);
    if (!text) return std::nullopt;
    TWrittenForm form{*text, 0};
    for (size_t i = 0; i < points.size(); ++i) {
        if (points[i] <= 0.5) continue;
        if (form.Places > 0) return std::nullopt;  // two points
        form.Places = static_cast<int32_t>(cells.size() - 1 - i);
    }
    if (form.Places > 0 && static_cast<size_t>(form.Places) >= form.Digits.size()) return std::nullopt;
    return form;
}

// A remainder of 0 may be written or left out.
double RemainderChance(const std::vector<TCellReading>& cells, int64_t remainder)
{
    if (cells.empty()) return 1;
    if (remainder == 0) return std::max(ChanceOfText(cells, ""), ChanceOfText(cells, "0"));
    return ChanceOfText(cells, std::to_string(remainder));
}

}  // namespace

const char* DecidedName(TDecided decided)
{
    switch (decided) {
    case TDecided::Read: return "read";
    case TDecided::Lexicon: return "lexicon";
    case TDecided::Typed: return "typed";
    case TDecided::Shown: return "shown";
    case TDecided::Asked: break;
    }
    return "asked";
}

double ChanceOfText(const std::vector<TCellReading>& cells, const std::string& text)
{
    if (text.size() > cells.size()) return 0;
    const size_t blanks = cells.size() - text.size();
    double chance = 1;
    for (size_t i = 0; i < cells.size(); ++i) chance *= cells[i].Chance(i < blanks ? -1 : text[i - blanks] - '0');
    return chance;
}

TAnswerReading ReadAnswer(TOperation operation, const TSheetProblem& problem, const std::vector<TCellReading>& answer,
                          const std::vector<TCellReading>& remainder, const std::vector<double>& points)
{
    // What the answer can be, each with its weight before reading.
    struct TCandidate {
        std::optional<TWrittenAnswer> Value;
        double Prior;
        bool Free = false;
    };
    std::vector<TCandidate> candidates;
    const std::vector<TWrittenAnswer> every = EveryAnswer(operation, problem);
    // Answers written alike are one candidate: the same digits with the
    // point in the same place, the same remainder.
    std::map<std::tuple<int64_t, int32_t, int64_t>, size_t> seen;
    auto keyOf = [](const TWrittenAnswer& a) { return std::make_tuple(a.Value, a.Places, a.Remainder); };
    size_t wrongs = 0;
    for (size_t i = 1; i < every.size(); ++i)
        if (!(every[i] == kNoAnswer) && !(every[i] == every[0])) ++wrongs;
    for (size_t i = 0; i < every.size(); ++i) {
        const TWrittenAnswer& a = every[i];
        if (a == kNoAnswer || a.Value < 0 || a.Remainder < 0) continue;
        const double prior = i == 0 ? kRightPrior : kWrongPrior / static_cast<double>(std::max<size_t>(wrongs, 1));
        if (const auto known = seen.find(keyOf(a)); known != seen.end()) {
            candidates[known->second].Prior += prior;
            continue;
        }
        seen[keyOf(a)] = candidates.size();
        candidates.push_back({a, prior});
    }
    candidates.push_back({std::nullopt, kBlankPrior});
    // The digits as they read, when they are no answer of the list.
    const std::optional<TWrittenForm> freeForm = FreeForm(answer, points);
    std::optional<std::string> freeRemainder = remainder.empty() ? std::optional<std::string>("") : FreeText(remainder);
    if (freeForm && freeRemainder && !freeForm->Digits.empty()) {
        const TWrittenAnswer free(std::stoll(freeForm->Digits), freeRemainder->empty() ? 0 : std::stoll(*freeRemainder), freeForm->Places);
        if (!seen.count(keyOf(free))) candidates.push_back({free, kFreePrior, true});
    }
    double total = 0;
    std::vector<double> weights;
    for (const TCandidate& c : candidates) {
        double w = c.Prior;
        if (!c.Value) {
            w *= ChanceOfText(answer, "") * (remainder.empty() ? 1 : ChanceOfText(remainder, "")) * PointChance(points, answer.size(), {});
        } else {
            const TWrittenForm form = FormOf(*c.Value);
            w *= ChanceOfText(answer, form.Digits) * PointChance(points, answer.size(), form) *
                 RemainderChance(remainder, c.Value->Remainder);
        }
        weights.push_back(w);
        total += w;
    }
    TAnswerReading reading;
    const size_t best = static_cast<size_t>(std::max_element(weights.begin(), weights.end()) - weights.begin());
    const TCandidate& chosen = candidates[best];
    reading.Best = chosen.Value;
    reading.Confidence = total > 0 ? weights[best] / total : 0;
    const TWrittenForm form = chosen.Value ? FormOf(*chosen.Value) : TWrittenForm{};
    double worst = WorstCell(answer, form.Digits);
    // The point, or its absence, as surely as a digit.
    for (size_t i = 0; i < points.size(); ++i) worst = std::min(worst, LineChance(points, i, answer.size(), form));
    if (!remainder.empty()) {
        const int64_t r = chosen.Value ? chosen.Value->Remainder : 0;
        worst = std::min(worst, r == 0 ? std::max(WorstCell(remainder, ""), WorstCell(remainder, "0"))
                                       : WorstCell(remainder, std::to_string(r)));
    }
    // A decimal division's remainder and rounded quotient are written
    // beside the cells: the teacher reads them.
    const bool beside = operation == TOperation::DecimalDivision && (problem.Rounded || problem.Remainder != 0);
    const bool sure = !beside && reading.Confidence >= kSure && worst >= (chosen.Free ? kFreeCellSure : kCellSure);
    if (sure) {
        const bool asRead = freeForm && chosen.Value && *freeForm == form;
        reading.Decided = asRead || !chosen.Value ? TDecided::Read : TDecided::Lexicon;
    }
    return reading;
}
