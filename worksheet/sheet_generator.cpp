#include "worksheet/sheet_generator.h"

#include <array>
#include <limits>
#include <stdexcept>
#include <string>

#include "worksheet/decimal.h"
#include "worksheet/operations.h"
#include "worksheet/text_to_int.h"
#include "worksheet/wrap.h"

namespace {

constexpr int32_t MaxCandidates = 1000;
constexpr int32_t MostProblems = 20;

// The texts cannot change during a run, so converting them once, in the
// order every attempt would, gives the same digits and the same first error.
std::array<TPlaceRange, 4> PlaceRanges(const TWorksheetSettings& s)
{
    return {
        MakePlaceRange(s.u1l, s.u1h, s.d1l, s.d1h),
        MakePlaceRange(s.u2l, s.u2h, s.d2l, s.d2h),
        MakePlaceRange(s.u3l, s.u3h, s.d3l, s.d3h),
        MakePlaceRange(s.u4l, s.u4h, s.d4l, s.d4h),
    };
}

// One attempt: all four places are drawn (eight draws), whatever is judged.
TCandidateDigits DrawCandidate(const std::array<TPlaceRange, 4>& places, TRandom& random)
{
    TCandidateDigits d;
    for (size_t place = 0; place < 4; ++place) DrawPlace(places[place], random, d.A[place], d.B[place]);
    return d;
}

int32_t NumberOf(const std::array<int32_t, 4>& digits)
{
    return Wrap(int64_t{digits[0]} + 10 * int64_t{digits[1]} + 100 * int64_t{digits[2]} + 1000 * int64_t{digits[3]});
}

bool FoundEarlier(const std::vector<TSheetProblem>& found, const TSheetProblem& candidate)
{
    for (const TSheetProblem& p : found)
        if (p.First == candidate.First && p.Second == candidate.Second && p.FirstPlaces == candidate.FirstPlaces &&
            p.SecondPlaces == candidate.SecondPlaces)
            return true;
    return false;
}

// The decimal places' ranges, the 1/10 place first.
std::array<TPlaceRange, 3> DecimalPlaceRanges(const TWorksheetSettings& s, const TOperationRules& rules)
{
    if (!rules.Decimal()) return {};
    return {
        MakePlaceRange(s.u01l, s.u01h, s.d01l, s.d01h),
        MakePlaceRange(s.u001l, s.u001h, s.d001l, s.d001h),
        MakePlaceRange(s.u0001l, s.u0001h, s.d0001l, s.d0001h),
    };
}

// A candidate of an operation with decimals: the whole places as for any
// operation (eight draws), then the first's and the second's digit of each
// decimal place.
TSheetProblem DecimalCandidate(const TOperationRules& rules, const TWorksheetSettings& settings,
                               const TCandidateDigits& digits, const std::array<TPlaceRange, 3>& places,
                               TRandom& random)
{
    std::array<int32_t, 3> a{}, b{};
    for (size_t place = 0; place < 3; ++place) DrawPlace(places[place], random, a[place], b[place]);
    const TDecimalValue first = WithDecimalDigits(NumberOf(digits.A), a), second = WithDecimalDigits(NumberOf(digits.B), b);
    // Numbers below 0 or too large for the sheet are no problems of ours.
    const int64_t largest = std::numeric_limits<int32_t>::max();
    if (first.Units < 0 || first.Units > largest || second.Units < 0 || second.Units > largest) return TSheetProblem{0, 0, -1, 0};
    const TOperands operands{static_cast<int32_t>(first.Units), static_cast<int32_t>(second.Units), first.Places,
                             second.Places, settings.Kuriagari};
    if (!IsProblemOf(rules, operands)) return TSheetProblem{operands.First, operands.Second, -1, 0};
    return rules.SolveWithPlaces(operands);
}

// True when the answer lies in [low, high], whole numbers compared with the
// answer at its places.
bool AnswerWithin(const TSheetProblem& p, int32_t low, int32_t high)
{
    const int64_t scale = PowerOfTen(p.AnswerPlaces);
    return int64_t{low} * scale <= p.Answer && p.Answer <= int64_t{high} * scale;
}

}  // namespace

void SortPair(int32_t& a, int32_t& b)
{
    if (a > b) {
        const int32_t t = a;
        a = b;
        b = t;
    }
}

TPlaceRange MakePlaceRange(std::string_view ul, std::string_view uh, std::string_view dl, std::string_view dh)
{
    int32_t uLow = TextToInt(ul);
    int32_t uHigh = TextToInt(uh);
    int32_t dLow = TextToInt(dl);
    int32_t dHigh = TextToInt(dh);
    SortPair(uLow, uHigh);
    SortPair(dLow, dHigh);
    return {uLow, Wrap(int64_t{uHigh} - uLow + 1), dLow, Wrap(int64_t{dHigh} - dLow + 1)};
}

void DrawPlace(const TPlaceRange& place, TRandom& random, int32_t& firstDigit, int32_t& secondDigit)
{
    firstDigit = Wrap(int64_t{place.FirstLow} + random.Below(place.FirstSpan));
    secondDigit = Wrap(int64_t{place.SecondLow} + random.Below(place.SecondSpan));
}

std::vector<TSheetProblem> DrawProblems(const TWorksheetSettings& settings, int32_t N, int32_t low, int32_t high,
                                        TRandom& random)
{
    if (N < 0 || N > MostProblems)
        throw std::out_of_range("requested problem count " + std::to_string(N) + " is outside 0..20");
    const TOperationRules& rules = RulesOf(settings.Operation);
    SortPair(low, high);
    const std::array<TPlaceRange, 4> places = PlaceRanges(settings);
    const std::array<TPlaceRange, 3> decimalPlaces = DecimalPlaceRanges(settings, rules);

    std::vector<TSheetProblem> found;
    found.reserve(static_cast<size_t>(N));
    for (int32_t i = 1; i <= N; ++i) {
        bool accepted = false;
        for (int32_t attempts = 1; attempts <= MaxCandidates && !accepted; ++attempts) {
            const TCandidateDigits digits = DrawCandidate(places, random);
            const TSheetProblem candidate = rules.Decimal()
                                                ? DecimalCandidate(rules, settings, digits, decimalPlaces, random)
                                                : rules.Solve(NumberOf(digits.A), NumberOf(digits.B));
            accepted = (!rules.Decimal() || candidate.Answer >= 0) && rules.Meets(settings, digits, candidate) &&
                       AnswerWithin(candidate, low, high) && !FoundEarlier(found, candidate);
            if (accepted) found.push_back(candidate);
        }
        if (!accepted) {
            // The 1001st candidate is drawn and never taken.
            const TCandidateDigits digits = DrawCandidate(places, random);
            if (rules.Decimal()) DecimalCandidate(rules, settings, digits, decimalPlaces, random);
            break;
        }
    }
    return found;
}

TSheet GenerateSheet(const TWorksheetSettings& settings, int32_t number, TRandom& random)
{
    TSheet sheet;
    sheet.Settings = settings;
    // The sheet's number is Number: the box's text is not kept beside it.
    sheet.Settings.PrnNum.clear();
    sheet.Number = number;
    sheet.Requested = RequestedCount(settings);
    const int32_t low = TextToInt(settings.AnsLow);
    const int32_t high = TextToInt(settings.AnsHigh);
    sheet.Problems = DrawProblems(settings, sheet.Requested, low, high, random);
    return sheet;
}
