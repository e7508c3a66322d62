#include "worksheet/generator.h"

#include <array>
#include <stdexcept>
#include <string>

#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/text_to_int.h"

namespace {

constexpr int32_t MaxCandidates = 1000;

// Two's-complement wrap of a wider result, as 32-bit signed arithmetic gives.
int32_t Wrap(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

// The ordered ranges of one place, converted from its four texts.
struct TPlaceRange {
    int32_t MultiplicandLow, MultiplicandSpan, MultiplierLow, MultiplierSpan;
};

TPlaceRange MakePlaceRange(std::string_view ul, std::string_view uh, std::string_view dl,
                           std::string_view dh)
{
    int32_t uLow = TextToInt(ul);
    int32_t uHigh = TextToInt(uh);
    int32_t dLow = TextToInt(dl);
    int32_t dHigh = TextToInt(dh);
    SortPair(uLow, uHigh);
    SortPair(dLow, dHigh);
    return {uLow, Wrap(int64_t{uHigh} - uLow + 1), dLow, Wrap(int64_t{dHigh} - dLow + 1)};
}

void Draw(const TPlaceRange& place, int32_t& multiplicandDigit, int32_t& multiplierDigit)
{
    multiplicandDigit = Wrap(int64_t{place.MultiplicandLow} + RandomInt(place.MultiplicandSpan));
    multiplierDigit = Wrap(int64_t{place.MultiplierLow} + RandomInt(place.MultiplierSpan));
}

// The ones test, after place 1, with c = a1 × b1.
bool OnesTestRejects(int32_t mode, int32_t c, int32_t b1)
{
    switch (mode) {
    case kmNoCarry:
    case kmTensCarry:
        return c >= 10 || b1 == 1;
    case kmOnesCarry:
    case kmTensSum1:
    case kmTensSum2:
        return c < 10;
    default:
        return false;
    }
}

// The tens test, after place 2: k is the carry of the ones place, t = a2 × b1.
bool TensTestRejects(int32_t mode, int32_t c, int32_t a2, int32_t b1)
{
    const int32_t k = c / 10;
    const int32_t t = Wrap(int64_t{a2} * b1);
    const int32_t s = Wrap(int64_t{t % 10} + k);
    switch (mode) {
    case kmNoCarry:
    case kmOnesCarry:
        return t >= 10 || s >= 10;
    case kmTensCarry:
        return t < 10 && s < 10;
    case kmTensSum1:
        return t >= 10 || s < 10;
    case kmTensSum2:
        return t < 10 || s < 10;
    default:
        return false;
    }
}

struct TCandidate {
    int32_t Multiplicand, Multiplier, Product;
    bool Rejected;
};

// One attempt: all four places are drawn (eight draws) even after a rejection.
TCandidate DrawCandidate(const std::array<TPlaceRange, 4>& places, int32_t mode)
{
    std::array<int32_t, 4> a{}, b{};
    Draw(places[0], a[0], b[0]);
    const int32_t c = Wrap(int64_t{a[0]} * b[0]);
    bool rejected = OnesTestRejects(mode, c, b[0]);
    Draw(places[1], a[1], b[1]);
    rejected = rejected || TensTestRejects(mode, c, a[1], b[0]);
    Draw(places[2], a[2], b[2]);
    Draw(places[3], a[3], b[3]);

    const int32_t m = Wrap(int64_t{a[0]} + 10 * int64_t{a[1]} + 100 * int64_t{a[2]} + 1000 * int64_t{a[3]});
    const int32_t r = Wrap(int64_t{b[0]} + 10 * int64_t{b[1]} + 100 * int64_t{b[2]} + 1000 * int64_t{b[3]});
    return {m, r, Wrap(int64_t{m} * r), rejected};
}

bool FoundEarlier(int32_t i, int32_t m, int32_t r)
{
    for (int k = 1; k < i; ++k) {
        const TProblem& p = ProblemTable[k];
        if (p.Multiplicand == m && p.Multiplier == r) return true;
    }
    return false;
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

void PickDigits(std::string_view multiplicandLow, std::string_view multiplicandHigh,
                std::string_view multiplierLow, std::string_view multiplierHigh,
                int32_t& multiplicandDigit, int32_t& multiplierDigit)
{
    Draw(MakePlaceRange(multiplicandLow, multiplicandHigh, multiplierLow, multiplierHigh),
         multiplicandDigit, multiplierDigit);
}

void GenerateProblems(const TWorksheetSettings& settings, int32_t N, int32_t low, int32_t high,
                      const std::function<void()>& shortfallAlert)
{
    if (N < 0 || N > TProblemTable::Capacity)
        throw std::out_of_range("requested problem count " + std::to_string(N) + " is outside 0..20");
    SortPair(low, high);

    // The texts cannot change during a run, so converting them once, in the
    // order every attempt would, gives the same digits and the same first error.
    const std::array<TPlaceRange, 4> places = {
        MakePlaceRange(settings.u1l, settings.u1h, settings.d1l, settings.d1h),
        MakePlaceRange(settings.u2l, settings.u2h, settings.d2l, settings.d2h),
        MakePlaceRange(settings.u3l, settings.u3h, settings.d3l, settings.d3h),
        MakePlaceRange(settings.u4l, settings.u4h, settings.d4l, settings.d4h),
    };

    int32_t found = N;
    for (int32_t i = 1; i <= N && found == N; ++i) {
        for (int32_t attempts = 1;; ++attempts) {
            const TCandidate cand = DrawCandidate(places, settings.Kuriagari);
            if (attempts > MaxCandidates) {
                found = i - 1;  // the 1001st candidate is never taken
                break;
            }
            if (!cand.Rejected && low <= cand.Product && cand.Product <= high &&
                !FoundEarlier(i, cand.Multiplicand, cand.Multiplier)) {
                ProblemTable[i].Multiplicand = cand.Multiplicand;
                ProblemTable[i].Multiplier = cand.Multiplier;
                break;
            }
        }
    }

    if (found < N) {
        QuestionCount = found;
        if (shortfallAlert) shortfallAlert();
    }
    for (int32_t k = 1; k <= found; ++k) {
        TProblem& p = ProblemTable[k];
        p.MultiplicandText = std::to_string(p.Multiplicand);
        p.MultiplierText = std::to_string(p.Multiplier);
    }
}
