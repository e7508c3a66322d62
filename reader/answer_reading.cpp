#include "reader/answer_reading.h"

#include <algorithm>
#include <cmath>
#include <map>

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
                          const std::vector<TCellReading>& remainder)
{
    // What the answer can be, each with its weight before reading.
    struct TCandidate {
        std::optional<TWrittenAnswer> Value;
        double Prior;
        bool Free = false;
    };
    std::vector<TCandidate> candidates;
    const std::vector<TWrittenAnswer> every = EveryAnswer(operation, problem.First, problem.Second);
    std::map<std::pair<int64_t, int64_t>, size_t> seen;
    size_t wrongs = 0;
    for (size_t i = 1; i < every.size(); ++i)
        if (!(every[i] == kNoAnswer) && !(every[i] == every[0])) ++wrongs;
    for (size_t i = 0; i < every.size(); ++i) {
        const TWrittenAnswer& a = every[i];
        if (a == kNoAnswer || a.Value < 0 || a.Remainder < 0) continue;
        const auto key = std::make_pair(a.Value, a.Remainder);
        const double prior = i == 0 ? kRightPrior : kWrongPrior / static_cast<double>(std::max<size_t>(wrongs, 1));
        if (const auto known = seen.find(key); known != seen.end()) {
            candidates[known->second].Prior += prior;
            continue;
        }
        seen[key] = candidates.size();
        candidates.push_back({a, prior});
    }
    candidates.push_back({std::nullopt, kBlankPrior});
    // The digits as they read, when they are no answer of the list.
    const std::optional<std::string> freeText = FreeText(answer);
    std::optional<std::string> freeRemainder = remainder.empty() ? std::optional<std::string>("") : FreeText(remainder);
    if (freeText && freeRemainder && !freeText->empty()) {
        const TWrittenAnswer free(std::stoll(*freeText), freeRemainder->empty() ? 0 : std::stoll(*freeRemainder));
        if (!seen.count({free.Value, free.Remainder})) candidates.push_back({free, kFreePrior, true});
    }
    double total = 0;
    std::vector<double> weights;
    for (const TCandidate& c : candidates) {
        double w = c.Prior;
        if (!c.Value) w *= ChanceOfText(answer, "") * (remainder.empty() ? 1 : ChanceOfText(remainder, ""));
        else w *= ChanceOfText(answer, std::to_string(c.Value->Value)) * RemainderChance(remainder, c.Value->Remainder);
        weights.push_back(w);
        total += w;
    }
    TAnswerReading reading;
    const size_t best = static_cast<size_t>(std::max_element(weights.begin(), weights.end()) - weights.begin());
    const TCandidate& chosen = candidates[best];
    reading.Best = chosen.Value;
    reading.Confidence = total > 0 ? weights[best] / total : 0;
    const std::string text = chosen.Value ? std::to_string(chosen.Value->Value) : "";
    double worst = WorstCell(answer, text);
    if (!remainder.empty()) {
        const int64_t r = chosen.Value ? chosen.Value->Remainder : 0;
        worst = std::min(worst, r == 0 ? std::max(WorstCell(remainder, ""), WorstCell(remainder, "0"))
                                       : WorstCell(remainder, std::to_string(r)));
    }
    const bool sure = reading.Confidence >= kSure && worst >= (chosen.Free ? kFreeCellSure : kCellSure);
    if (sure) {
        const bool asRead = freeText && chosen.Value && *freeText == text;
        reading.Decided = asRead || !chosen.Value ? TDecided::Read : TDecided::Lexicon;
    }
    return reading;
}
