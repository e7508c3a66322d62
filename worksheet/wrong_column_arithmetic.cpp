// The wrong procedures of written addition and multiplication, each
// working the columns from the ones to the left as a pupil does.
#include <string>
#include <vector>

#include "worksheet/diagnostic_row.h"
#include "worksheet/wrong_procedures.h"

namespace {

std::vector<int> DigitsOf(int64_t n)
{
    std::vector<int> digits;
    for (; n > 0; n /= 10) digits.push_back(static_cast<int>(n % 10));
    if (digits.empty()) digits.push_back(0);
    return digits;
}

// Column results (ones first) as the pupil writes them side by side.
std::optional<TWrittenAnswer> Written(const std::vector<int>& columns)
{
    std::string text;
    for (size_t k = columns.size(); k-- > 0;) text += std::to_string(columns[k]);
    const size_t first = text.find_first_not_of('0');
    text = first == std::string::npos ? "0" : text.substr(first);
    if (text.size() > 18) return std::nullopt;
    return std::stoll(text);
}

// first + second with `carry` deciding what a column of sum `sum` writes
// and what it carries to which column (1: the next, 2: the one after it).
template <typename Carry>
std::optional<TWrittenAnswer> Add(int32_t first, int32_t second, Carry carry)
{
    std::vector<int> a = DigitsOf(first), b = DigitsOf(second);
    const size_t n = std::max(a.size(), b.size()) + 2;
    a.resize(n, 0);
    b.resize(n, 0);
    std::vector<int> carried(n + 2, 0), columns;
    size_t last = 0;
    for (size_t i = 0; i < n; ++i) {
        const int sum = a[i] + b[i] + carried[i];
        int write = sum, over = 0;
        size_t to = 1;
        carry(sum, write, over, to);
        columns.push_back(write);
        carried[i + to] += over;
        if (write != 0 || a[i] != 0 || b[i] != 0) last = i;
    }
    columns.resize(last + 1);
    return Written(columns);
}

std::optional<TWrittenAnswer> CarryNotAdded(int32_t first, int32_t second)
{
    return Add(first, second, [](int sum, int& write, int&, size_t&) { write = sum % 10; });
}

std::optional<TWrittenAnswer> CarryWritten(int32_t first, int32_t second)
{
    // 13 writes its 1 and the 3 is lost.
    return Add(first, second, [](int sum, int& write, int&, size_t&) { write = sum >= 10 ? sum / 10 : sum; });
}

std::optional<TWrittenAnswer> CarryToWrongColumn(int32_t first, int32_t second)
{
    return Add(first, second, [](int sum, int& write, int& over, size_t& to) {
        write = sum % 10;
        over = sum / 10;
        to = 2;
    });
}

// first × second by partial products: `row` makes one multiplier digit's
// partial product, `shift` how far the k-th partial product (a 0 of the
// multiplier passed over) stands to the left.
template <typename Row, typename Shift>
std::optional<TWrittenAnswer> Multiply(int32_t first, int32_t second, Row row, Shift shift)
{
    const std::vector<int> m = DigitsOf(second);
    int64_t total = 0;
    int rows = 0;
    for (size_t k = 0; k < m.size(); ++k) {
        if (m[k] == 0 && m.size() > 1) continue;
        int64_t product = row(first, m[k]);
        for (int s = shift(k, rows); s > 0; --s) product *= 10;
        total += product;
        ++rows;
    }
    return total;
}

// One partial product with `column` deciding what a place writes and carries.
template <typename Column>
int64_t Row(int32_t first, int digit, Column column)
{
    std::vector<int> a = DigitsOf(first), columns;
    int carry = 0;
    for (const int d : a) {
        int write = 0, over = 0;
        column(d, digit, carry, write, over);
        columns.push_back(write);
        carry = over;
    }
    if (carry > 0) columns.push_back(carry);
    return Written(columns).value_or(TWrittenAnswer{}).Value;
}

auto RightRow = [](int32_t first, int digit) {
    return Row(first, digit, [](int d, int m, int carry, int& write, int& over) {
        write = (d * m + carry) % 10;
        over = (d * m + carry) / 10;
    });
};
auto RightShift = [](size_t k, int) { return static_cast<int>(k); };

std::optional<TWrittenAnswer> MultiplicationCarryNotAdded(int32_t first, int32_t second)
{
    return Multiply(first, second,
                    [](int32_t f, int digit) {
                        return Row(f, digit, [](int d, int m, int carry, int& write, int& over) {
                            write = d * m % 10;
                            over = d * m / 10;
                            (void)carry;
                        });
                    },
                    RightShift);
}

std::optional<TWrittenAnswer> CarryAddedBeforeMultiplying(int32_t first, int32_t second)
{
    return Multiply(first, second,
                    [](int32_t f, int digit) {
                        return Row(f, digit, [](int d, int m, int carry, int& write, int& over) {
                            write = (d + carry) * m % 10;
                            over = (d + carry) * m / 10;
                        });
                    },
                    RightShift);
}

std::optional<TWrittenAnswer> PartialProductNotShifted(int32_t first, int32_t second)
{
    return Multiply(first, second, RightRow, [](size_t, int) { return 0; });
}

std::optional<TWrittenAnswer> ZeroInMultiplierSkipped(int32_t first, int32_t second)
{
    // The row after a 0 of the multiplier stands one place on, not two.
    return Multiply(first, second, RightRow, [](size_t, int rows) { return rows; });
}

}  // namespace

TDiagnosticRow AdditionDiagnosticRow()
{
    constexpr TOperation A = TOperation::Addition;
    return {A,
            {
                {A, "carry-not-added", "くり上がりをたしていない", CarryNotAdded},
                {A, "carry-written", "くり上がった1をその位の答えに書いている", CarryWritten},
                {A, "carry-to-wrong-column", "くり上がりを2つ左の位にたしている", CarryToWrongColumn},
            },
            {{3, 3}, {4, 3}},  // 365+574 and 1365+574
            [](int32_t, int32_t) { return true; }};
}

TDiagnosticRow MultiplicationDiagnosticRow()
{
    constexpr TOperation M = TOperation::Multiplication;
    return {M,
            {
                {M, "carry-not-added", "くり上がりをたしていない", MultiplicationCarryNotAdded},
                {M, "carry-added-before-multiplying", "くり上がりをたしてから、かけている", CarryAddedBeforeMultiplying},
                {M, "partial-product-not-shifted", "部分積を位をずらさずにたしている", PartialProductNotShifted},
                {M, "zero-in-multiplier-skipped", "かける数の0をとばし、次の部分積を1つしかずらしていない", ZeroInMultiplierSkipped},
            },
            {{3, 2}, {3, 3}},  // 403×708 has its 0 to skip
            [](int32_t, int32_t) { return true; }};
}
