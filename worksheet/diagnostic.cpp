#include "worksheet/diagnostic.h"

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>

#include "worksheet/decimal.h"
#include "worksheet/diagnostic_row.h"
#include "worksheet/operations.h"
#include "worksheet/text_to_int.h"

namespace {

constexpr int kCandidates = 3000;
constexpr int kImprovements = 4000;

int32_t Draw(const int32_t (&low)[4], const int32_t (&high)[4], TRandom& random)
{
    int32_t value = 0;
    for (int place = 3; place >= 0; --place) {
        const int32_t lo = std::min(low[place], high[place]), hi = std::max(low[place], high[place]);
        value = value * 10 + lo + random.Below(hi - lo + 1);
    }
    return value;
}

// The digits of the decimal places (the 1/10 place first), each drawn
// from its range.
std::array<int32_t, 3> DrawDecimals(const int32_t (&low)[3], const int32_t (&high)[3], TRandom& random)
{
    std::array<int32_t, 3> digits{};
    for (size_t place = 0; place < 3; ++place) {
        const int32_t lo = std::min(low[place], high[place]), hi = std::max(low[place], high[place]);
        digits[place] = lo + random.Below(hi - lo + 1);
    }
    return digits;
}

struct TCandidate {
    TSheetProblem Problem;
    std::vector<TWrittenAnswer> Answers;
    std::vector<uint8_t> Separates;  // for each pair of procedures: whether their answers differ
};

// How well a set of problems tells the procedures apart: for every pair,
// the problems on which they differ, counted up to the separation asked for
// (first) and up to twice that (then, for room against slips).
struct TScore {
    int64_t Needed = 0, Room = 0;
    bool operator<(const TScore& other) const { return Needed != other.Needed ? Needed < other.Needed : Room < other.Room; }
};

// The count of differing problems of every pair, and the score it makes.
struct TPairCounts {
    std::vector<int32_t> Differ;

    explicit TPairCounts(size_t pairs) : Differ(pairs, 0) {}
    void Add(const TCandidate& c, int32_t sign)
    {
        for (size_t k = 0; k < Differ.size(); ++k) Differ[k] += sign * c.Separates[k];
    }
    // The score with `c` added.
    TScore With(const TCandidate& c) const
    {
        TScore score;
        for (size_t k = 0; k < Differ.size(); ++k) {
            const int32_t n = Differ[k] + c.Separates[k];
            score.Needed += std::min(n, kDiagnosticSeparation);
            score.Room += std::min(n, 2 * kDiagnosticSeparation);
        }
        return score;
    }
    TScore Score() const
    {
        TScore score;
        for (const int32_t n : Differ) {
            score.Needed += std::min(n, kDiagnosticSeparation);
            score.Room += std::min(n, 2 * kDiagnosticSeparation);
        }
        return score;
    }
};

}  // namespace

namespace {

using TBox = std::string TWorksheetSettings::*;
// The digit boxes of each place, ones first, and of each decimal place, the
// 1/10 place first, in the order first low, first high, second low, second
// high.
constexpr TBox kPlaceBoxes[4][4] = {{&TWorksheetSettings::u1l, &TWorksheetSettings::u2l, &TWorksheetSettings::u3l, &TWorksheetSettings::u4l},
                                    {&TWorksheetSettings::u1h, &TWorksheetSettings::u2h, &TWorksheetSettings::u3h, &TWorksheetSettings::u4h},
                                    {&TWorksheetSettings::d1l, &TWorksheetSettings::d2l, &TWorksheetSettings::d3l, &TWorksheetSettings::d4l},
                                    {&TWorksheetSettings::d1h, &TWorksheetSettings::d2h, &TWorksheetSettings::d3h, &TWorksheetSettings::d4h}};
constexpr TBox kDecimalBoxes[4][3] = {{&TWorksheetSettings::u01l, &TWorksheetSettings::u001l, &TWorksheetSettings::u0001l},
                                      {&TWorksheetSettings::u01h, &TWorksheetSettings::u001h, &TWorksheetSettings::u0001h},
                                      {&TWorksheetSettings::d01l, &TWorksheetSettings::d001l, &TWorksheetSettings::d0001l},
                                      {&TWorksheetSettings::d01h, &TWorksheetSettings::d001h, &TWorksheetSettings::d0001h}};

// The ranges' digits in the same order.
template <typename R>
auto PlaceDigitsOf(R& r)
{
    return std::array{r.FirstLow, r.FirstHigh, r.SecondLow, r.SecondHigh};
}
template <typename R>
auto DecimalDigitsOf(R& r)
{
    return std::array{r.FirstDecimalLow, r.FirstDecimalHigh, r.SecondDecimalLow, r.SecondDecimalHigh};
}

}  // namespace

TDigitRanges DigitRangesOf(const TWorksheetSettings& s)
{
    TDigitRanges ranges;
    const auto digits = PlaceDigitsOf(ranges);
    for (int place = 0; place < 4; ++place)
        for (int which = 0; which < 4; ++which) digits[which][place] = std::clamp(TextToInt(s.*kPlaceBoxes[which][place]), 0, 9);
    const auto decimals = DecimalDigitsOf(ranges);
    for (int place = 0; place < 3; ++place)
        for (int which = 0; which < 4; ++which) decimals[which][place] = std::clamp(TextToInt(s.*kDecimalBoxes[which][place]), 0, 9);
    ranges.Choice = s.Kuriagari;
    return ranges;
}

TWorksheetSettings SettingsOfRanges(const TWorksheetSettings& settings, const TDigitRanges& ranges)
{
    TWorksheetSettings s = settings;
    const auto digits = PlaceDigitsOf(ranges);
    for (int place = 0; place < 4; ++place)
        for (int which = 0; which < 4; ++which) s.*kPlaceBoxes[which][place] = std::to_string(digits[which][place]);
    const auto decimals = DecimalDigitsOf(ranges);
    for (int place = 0; place < 3; ++place)
        for (int which = 0; which < 4; ++which) s.*kDecimalBoxes[which][place] = std::to_string(decimals[which][place]);
    s.Kuriagari = RulesOf(s.Operation).Decimal() ? ranges.Choice : kmAny;
    s.AnsLow = "0";
    s.AnsHigh = "2147483647";
    return s;
}

std::vector<TDigitRanges> DefaultDiagnosticRanges(TOperation operation)
{
    // Every digit of the places the row names, the leading ones not 0.
    const TDiagnosticRow& row = DiagnosticRowOf(operation);
    if (!row.DefaultRanges.empty()) return row.DefaultRanges;
    std::vector<TDigitRanges> ranges;
    for (const auto& [firstPlaces, secondPlaces] : row.DefaultPlaces) {
        TDigitRanges r;
        for (int32_t place = 0; place < firstPlaces; ++place) r.FirstLow[place] = place + 1 == firstPlaces, r.FirstHigh[place] = 9;
        for (int32_t place = 0; place < secondPlaces; ++place) r.SecondLow[place] = place + 1 == secondPlaces, r.SecondHigh[place] = 9;
        ranges.push_back(r);
    }
    return ranges;
}

std::vector<TDigitRanges> DiagnosticRangesFor(const TWorksheetSettings& settings, TOperation operation)
{
    if (settings.Operation == operation) return {DigitRangesOf(settings)};
    return DefaultDiagnosticRanges(operation);
}

TDiagnosticSheet FindDiagnosticSheet(TOperation operation, const std::vector<TDigitRanges>& ranges, TRandom& random)
{
    // The candidates: distinct problems drawn from the ranges in turn.
    const TDiagnosticRow& row = DiagnosticRowOf(operation);
    const TOperationRules& rules = RulesOf(operation);
    std::vector<TCandidate> candidates;
    std::set<std::array<int32_t, 4>> seen;
    for (int k = 0; k < 4 * kCandidates && static_cast<int>(candidates.size()) < kCandidates && !ranges.empty(); ++k) {
        const TDigitRanges& r = ranges[static_cast<size_t>(k) % ranges.size()];
        const int32_t first = Draw(r.FirstLow, r.FirstHigh, random), second = Draw(r.SecondLow, r.SecondHigh, random);
        TSheetProblem problem;
        if (rules.Decimal()) {
            // Then the decimal places of each, the 1/10 place first.
            const TDecimalValue a = WithDecimalDigits(first, DrawDecimals(r.FirstDecimalLow, r.FirstDecimalHigh, random));
            const TDecimalValue b = WithDecimalDigits(second, DrawDecimals(r.SecondDecimalLow, r.SecondDecimalHigh, random));
            const TOperands operands{static_cast<int32_t>(a.Units), static_cast<int32_t>(b.Units), a.Places, b.Places, r.Choice};
            if (!IsProblemOf(rules, operands)) continue;
            problem = SolveProblem(rules, operands);
            if (problem.Answer <= 0) continue;
        } else {
            if (!row.Takes(first, second)) continue;
            // The candidates that have what the catalogue needs are kept, most
            // of the others drawn again: the search has them to choose.
            if (row.Serves && !row.Serves(first, second, k) && random.Below(4) != 0) continue;
            problem = rules.Solve(first, second);
        }
        if (!seen.insert({problem.First, problem.Second, problem.FirstPlaces, problem.SecondPlaces}).second) continue;
        TCandidate c{problem, EveryAnswer(operation, problem), {}};
        for (size_t p = 0; p < c.Answers.size(); ++p)
            for (size_t q = p + 1; q < c.Answers.size(); ++q) c.Separates.push_back(c.Answers[p] != c.Answers[q]);
        candidates.push_back(std::move(c));
    }
    if (static_cast<int32_t>(candidates.size()) < kDiagnosticProblems) throw ETooFewProblems();
    const size_t procedures = candidates.front().Answers.size();

    // Greedy: each problem the one that adds most, then swaps that help.
    std::vector<const TCandidate*> chosen;
    std::set<const TCandidate*> used;
    TPairCounts counts(candidates.front().Separates.size());
    while (static_cast<int32_t>(chosen.size()) < kDiagnosticProblems) {
        const TCandidate* best = nullptr;
        TScore bestScore{-1, -1};
        for (const TCandidate& c : candidates) {
            if (used.count(&c)) continue;
            if (const TScore score = counts.With(c); bestScore < score) bestScore = score, best = &c;
        }
        chosen.push_back(best);
        used.insert(best);
        counts.Add(*best, 1);
    }
    TScore score = counts.Score();
    for (int k = 0; k < kImprovements; ++k) {
        const size_t at = static_cast<size_t>(random.Below(kDiagnosticProblems));
        const TCandidate* other = &candidates[static_cast<size_t>(random.Below(static_cast<int32_t>(candidates.size())))];
        if (used.count(other)) continue;
        counts.Add(*chosen[at], -1);
        const TScore trial = counts.With(*other);
        if (score < trial) {
            score = trial;
            used.erase(chosen[at]);
            used.insert(other);
            chosen[at] = other;
        }
        counts.Add(*chosen[at], 1);
    }

    TDiagnosticSheet sheet;
    for (const TCandidate* c : chosen) sheet.Problems.push_back(c->Problem);
    size_t pair = 0;
    for (size_t p = 0; p < procedures; ++p)
        for (size_t q = p + 1; q < procedures; ++q, ++pair)
            if (counts.Differ[pair] < kDiagnosticSeparation) sheet.TooClose.push_back({ProcedureId(operation, p), ProcedureId(operation, q)});
    return sheet;
}

TWorksheetSettings DiagnosticSheetSettings(const TWorksheetSettings& settings, const std::vector<TDigitRanges>& ranges)
{
    TWorksheetSettings drawn = settings;
    drawn.PrnNum.clear();
    drawn.Amari = 0;  // the remainder is asked whenever there is one
    // A division of decimals is worked as far as its ranges say.
    if (RulesOf(settings.Operation).Decimal() && !ranges.empty()) drawn.Kuriagari = ranges.front().Choice;
    return drawn;
}

TDiagnosticSet MakeDiagnosticSheets(const TWorksheetSettings& settings, const std::vector<TDigitRanges>& ranges,
                                    int32_t number, int32_t count, TRandom& random)
{
    TDiagnosticSet set;
    std::set<std::vector<std::array<int32_t, 4>>> made;
    // Every pupil of the set has a sheet of their own: a sheet found twice
    // (the same problems in any order) is searched again.
    auto problemsOf = [](const TDiagnosticSheet& sheet) {
        std::vector<std::array<int32_t, 4>> problems;
        for (const TSheetProblem& p : sheet.Problems) problems.push_back({p.First, p.Second, p.FirstPlaces, p.SecondPlaces});
        std::sort(problems.begin(), problems.end());
        return problems;
    };
    for (int32_t k = 0; k < count; ++k) {
        TDiagnosticSheet found = FindDiagnosticSheet(settings.Operation, ranges, random);
        for (int again = 0; made.count(problemsOf(found)) && again < 20; ++again)
            found = FindDiagnosticSheet(settings.Operation, ranges, random);
        made.insert(problemsOf(found));
        if (set.TooClose.empty()) set.TooClose = found.TooClose;
        TSheet sheet;
        sheet.Settings = DiagnosticSheetSettings(settings, ranges);
        sheet.Number = static_cast<int32_t>(static_cast<uint32_t>(number) + static_cast<uint32_t>(k));
        sheet.Requested = kDiagnosticProblems;
        sheet.Problems = std::move(found.Problems);
        sheet.Diagnostic = true;
        sheet.Place = k;
        set.Sheets.push_back(std::move(sheet));
    }
    return set;
}

namespace {

std::string ProcedureName(TOperation operation, const std::string& id)
{
    if (id == "correct") return "正しい計算";
    for (const TWrongProcedure& p : WrongProcedures(operation))
        if (id == p.Id) return p.Name;
    return id;
}

}  // namespace

std::string TooCloseMessage(TOperation operation, const std::vector<std::pair<std::string, std::string>>& pairs)
{
    if (pairs.empty()) return {};
    // The procedures in groups, each linked by pairs that are too close: a
    // line a group, not a line a pair.
    std::vector<std::vector<std::string>> groups;
    auto groupOf = [&](const std::string& id) {
        for (size_t g = 0; g < groups.size(); ++g)
            if (std::find(groups[g].begin(), groups[g].end(), id) != groups[g].end()) return g;
        groups.push_back({id});
        return groups.size() - 1;
    };
    for (const auto& [a, b] : pairs) {
        const size_t first = groupOf(a), second = groupOf(b);
        if (first == second) continue;
        groups[first].insert(groups[first].end(), groups[second].begin(), groups[second].end());
        groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(second));
    }
    std::string text = "今の数のはんいでは、次のまちがい方どうしを3問以上で見分けられる問題がそろいません。";
    for (const std::vector<std::string>& group : groups) {
        text += "\n・";
        for (size_t k = 0; k < group.size(); ++k) text += (k ? "、「" : "「") + ProcedureName(operation, group[k]) + "」";
    }
    return text + "\nいちばんよく見分けられる12問で作りました。";
}

