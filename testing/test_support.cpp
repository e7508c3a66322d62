#include "test_support.h"

#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/settings.h"

#include <algorithm>
#include <string>
#include <vector>

uint32_t AdvanceState(uint32_t state, uint64_t draws)
{
    for (uint64_t i = 0; i < draws; ++i) state = state * 134775813u + 1u;
    return state;
}

void ResetWorksheetGlobals()
{
    ProblemTable.Clear();
    QuestionCount = 0;
    PrintNumber = 0;
    ShowAnswers = 0;
    PreviewReady = 0;
    RandomState = 0;
}

bool MeetsMode(int32_t mode, int32_t m, int32_t r)
{
    const int32_t a1 = m % 10, a2 = m / 10 % 10, b1 = r % 10;
    const int32_t c = a1 * b1, k = c / 10, t = a2 * b1;
    switch (mode) {
    case kmNoCarry: return c <= 9 && b1 != 1 && t <= 9;
    case kmOnesCarry: return c >= 10 && t + k <= 9;
    case kmTensCarry: return c <= 9 && b1 != 1 && t >= 10;
    case kmTensSum1: return c >= 10 && t <= 9 && t + k >= 10;
    case kmTensSum2: return c >= 10 && t >= 10 && t % 10 + k >= 10;
    default: return true;
    }
}

namespace {

// The digit of `number` in place i (0 = ones), read off its decimal text.
int DigitAt(int32_t number, size_t i)
{
    const std::string text = std::to_string(number);
    return i < text.size() ? text[text.size() - 1 - i] - '0' : 0;
}

// Which places carry (or borrow), and which of them is a carry made by a
// carry (a borrow across a 0), column by column from the ones.
struct TColumns {
    std::vector<size_t> Steps;
    bool Chained = false;
};

TColumns Columns(int32_t first, int32_t second, bool subtract)
{
    TColumns columns;
    int in = 0;
    for (size_t i = 0; i < 4; ++i) {
        const int a = DigitAt(first, i), b = DigitAt(second, i);
        const int out = subtract ? (a - in < b) : (a + b + in >= 10);
        if (subtract ? (in && a == 0) : (in && a + b == 9)) columns.Chained = true;
        if (out) columns.Steps.push_back(i);
        in = out;
    }
    return columns;
}

bool MeetsColumnPattern(int32_t pattern, const TColumns& c)
{
    switch (pattern) {
    case 1: return c.Steps.empty();
    case 2: return c.Steps == std::vector<size_t>{0};
    case 3: return c.Steps == std::vector<size_t>{1};
    case 4: return c.Steps.size() >= 2;
    case 5: return c.Chained;
    default: return true;
    }
}

}  // namespace

bool MeetsAdditionPattern(int32_t pattern, int32_t first, int32_t second)
{
    return MeetsColumnPattern(pattern, Columns(first, second, false));
}

bool MeetsSubtractionPattern(int32_t pattern, int32_t first, int32_t second)
{
    return first >= second && MeetsColumnPattern(pattern, Columns(first, second, true));
}

TWorksheetSettings FixedProblem(TOperation operation, int32_t first, int32_t second, int32_t pattern)
{
    TWorksheetSettings s;
    s.Operation = operation;
    s.Kuriagari = pattern;
    std::string* const firstEnds[] = {&s.u1l, &s.u1h, &s.u2l, &s.u2h, &s.u3l, &s.u3h, &s.u4l, &s.u4h};
    std::string* const secondEnds[] = {&s.d1l, &s.d1h, &s.d2l, &s.d2h, &s.d3l, &s.d3h, &s.d4l, &s.d4h};
    for (int place = 0; place < 4; ++place, first /= 10, second /= 10) {
        *firstEnds[2 * place] = *firstEnds[2 * place + 1] = std::to_string(first % 10);
        *secondEnds[2 * place] = *secondEnds[2 * place + 1] = std::to_string(second % 10);
    }
    return s;
}

bool MeetsDivisionPattern(int32_t pattern, int32_t remainder, int32_t dividend, int32_t divisor)
{
    if (divisor == 0 || dividend / divisor == 0) return false;
    const int32_t rest = dividend % divisor;
    if ((remainder == 1 && rest != 0) || (remainder == 2 && rest == 0)) return false;
    const std::string a = std::to_string(dividend), b = std::to_string(divisor);
    const int32_t head = std::stoi(a.substr(0, b.size()));
    bool corrected = false;
    const int32_t tens = divisor % 10 >= 5 ? divisor - divisor % 10 + 10 : divisor - divisor % 10;
    int32_t partial = 0;
    for (const char ch : a) {
        partial = partial * 10 + (ch - '0');
        const int32_t digit = partial / divisor;
        if (digit >= 1 && divisor >= 10 && std::min(9, partial / tens) != digit) corrected = true;
        partial -= digit * divisor;
    }
    switch (pattern) {
    case 1: return head >= divisor;
    case 2: return head < divisor;
    case 3: return std::to_string(dividend / divisor).find('0') != std::string::npos;
    case 4: return !corrected;
    case 5: return corrected;
    default: return true;
    }
}
