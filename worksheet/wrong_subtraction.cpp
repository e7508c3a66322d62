// The wrong procedures of written subtraction. Each works the columns from
// the ones to the left as a pupil does, on the minuend's digits as they are
// crossed out and rewritten, and writes each column's result as the pupil
// would (a result of 10 is written as 10).
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "worksheet/diagnostic_row.h"
#include "worksheet/subtraction_situations.h"
#include "worksheet/wrong_procedures.h"

namespace {

// A row of columns, ones first: at most a 32-bit number's ten digits and a
// column or two more, held in place (the catalogue works every candidate
// of a diagnostic sheet's search through it).
class TColumnRow {
public:
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    int& operator[](size_t i) { return digits_[i]; }
    int operator[](size_t i) const { return digits_[i]; }
    void push_back(int digit)
    {
        if (size_ < digits_.size()) digits_[size_++] = digit;
    }
    void resize(size_t size, int fill)
    {
        size = std::min(size, digits_.size());
        for (size_t i = size_; i < size; ++i) digits_[i] = fill;
        size_ = size;
    }

private:
    std::array<int, 16> digits_{};
    size_t size_ = 0;
};

// The written columns of first − second, and the pupil's answer from them.
struct TColumns {
    TColumnRow Top, Bottom;   // ones first; Bottom as long as Top, 0 beyond the subtrahend
    size_t BottomDigits = 0;  // the columns where the subtrahend has a digit
    TColumnRow Written;       // a column's result, ones first

    TColumns(int32_t first, int32_t second)
    {
        for (int64_t n = first; n > 0; n /= 10) Top.push_back(static_cast<int>(n % 10));
        for (int64_t n = second; n > 0; n /= 10) Bottom.push_back(static_cast<int>(n % 10));
        BottomDigits = Bottom.size();
        if (Top.empty()) Top.push_back(0);
        Bottom.resize(std::max(Top.size(), Bottom.size()), 0);
        Top.resize(Bottom.size(), 0);
    }
    size_t Size() const { return Top.size(); }
    bool HasBottom(size_t i) const { return i < BottomDigits; }
    // The nearest column left of i whose digit is not 0; Size() for none.
    size_t NonZeroLeftOf(size_t i) const
    {
        size_t j = i + 1;
        while (j < Size() && Top[j] == 0) ++j;
        return j;
    }
    // The right borrow into column i: the nearest non-zero digit on the left
    // lowered by one, the 0s between become 9. False when there is none.
    bool Borrow(size_t i)
    {
        const size_t j = NonZeroLeftOf(i);
        if (j >= Size()) return false;
        --Top[j];
        for (size_t k = i + 1; k < j; ++k) Top[k] = 9;
        Top[i] += 10;
        return true;
    }
    std::optional<TWrittenAnswer> Answer() const
    {
        std::string text;
        for (size_t k = Written.size(); k-- > 0;) {
            if (Written[k] < 0) return std::nullopt;
            text += std::to_string(Written[k]);
        }
        const size_t first = text.find_first_not_of('0');
        text = first == std::string::npos ? "0" : text.substr(first);
        if (text.size() > 18) return std::nullopt;
        return std::stoll(text);
    }
};

// One column as the procedure works it: it writes the column's result (or
// -1 where the pupil is left without one).
using TColumnRule = void (*)(TColumns& c, size_t i, int& borrows);

std::optional<TWrittenAnswer> Work(int32_t first, int32_t second, TColumnRule rule)
{
    TColumns c(first, second);
    int borrows = 0;
    for (size_t i = 0; i < c.Size(); ++i) rule(c, i, borrows);
    return c.Answer();
}

void Right(TColumns& c, size_t i, int&)
{
    if (c.Top[i] < c.Bottom[i] && !c.Borrow(i)) {
        c.Written.push_back(-1);
        return;
    }
    c.Written.push_back(c.Top[i] - c.Bottom[i]);
}

template <TColumnRule Rule>
std::optional<TWrittenAnswer> Answer(int32_t first, int32_t second)
{
    return Work(first, second, Rule);
}

void SmallerFromLarger(TColumns& c, size_t i, int&)
{
    c.Written.push_back(std::abs(c.Top[i] - c.Bottom[i]));
}

void BorrowNoDecrement(TColumns& c, size_t i, int&)
{
    c.Written.push_back(c.Top[i] < c.Bottom[i] ? c.Top[i] + 10 - c.Bottom[i] : c.Top[i] - c.Bottom[i]);
}

void BorrowFromZero(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] < c.Bottom[i] && i + 1 < c.Size() && c.Top[i + 1] == 0) {
        // The 0 becomes 9, and nothing further left is lowered.
        c.Top[i + 1] = 9;
        c.Written.push_back(c.Top[i] + 10 - c.Bottom[i]);
        return;
    }
    Right(c, i, borrows);
}

void BorrowAcrossZero(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] < c.Bottom[i] && i + 1 < c.Size() && c.Top[i + 1] == 0) {
        // The 0s are passed over and stay 0.
        const size_t j = c.NonZeroLeftOf(i);
        if (j >= c.Size()) {
            c.Written.push_back(-1);
            return;
        }
        --c.Top[j];
        c.Written.push_back(c.Top[i] + 10 - c.Bottom[i]);
        return;
    }
    Right(c, i, borrows);
}

void StopsBorrowAtZero(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] < c.Bottom[i] && i + 1 < c.Size() && c.Top[i + 1] == 0) {
        c.Written.push_back(c.Top[i] + 10 - c.Bottom[i]);
        return;
    }
    Right(c, i, borrows);
}

void DontDecrementZero(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] < c.Bottom[i] && i + 1 < c.Size() && c.Top[i + 1] == 0) {
        if (!c.Borrow(i)) {
            c.Written.push_back(-1);
            return;
        }
        // The 0 next to the column lent its 10 and stays 10.
        c.Top[i + 1] = 10;
        c.Written.push_back(c.Top[i] - c.Bottom[i]);
        return;
    }
    Right(c, i, borrows);
}

void ZeroMinusNIsN(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] == 0 && c.Bottom[i] > 0) {
        c.Written.push_back(c.Bottom[i]);
        return;
    }
    Right(c, i, borrows);
}

void ZeroMinusNIsZero(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] == 0 && c.Bottom[i] > 0) {
        c.Written.push_back(0);
        return;
    }
    Right(c, i, borrows);
}

void NMinusZeroIsZero(TColumns& c, size_t i, int& borrows)
{
    if (c.HasBottom(i) && c.Bottom[i] == 0) {
        c.Written.push_back(0);
        return;
    }
    Right(c, i, borrows);
}

void BorrowOnceThenSmallerFromLarger(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] < c.Bottom[i]) {
        if (borrows++ == 0) {
            Right(c, i, borrows);
            return;
        }
        SmallerFromLarger(c, i, borrows);
        return;
    }
    Right(c, i, borrows);
}

void AlwaysBorrowLeft(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] < c.Bottom[i]) {
        // The leftmost digit lends, whatever stands between.
        size_t left = c.Size() - 1;
        while (left > i && c.Top[left] == 0) --left;
        if (left == i) {
            c.Written.push_back(-1);
            return;
        }
        --c.Top[left];
        c.Written.push_back(c.Top[i] + 10 - c.Bottom[i]);
        return;
    }
    Right(c, i, borrows);
}

void BorrowSkipEqual(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] < c.Bottom[i] && i + 1 < c.Size() && c.HasBottom(i + 1) && c.Top[i + 1] == c.Bottom[i + 1]) {
        // The column of equal digits is passed over; the next one lends.
        size_t j = i + 2;
        while (j < c.Size() && c.Top[j] == 0) ++j;
        if (j >= c.Size()) {
            c.Written.push_back(-1);
            return;
        }
        --c.Top[j];
        for (size_t k = i + 2; k < j; ++k) c.Top[k] = 9;
        c.Written.push_back(c.Top[i] + 10 - c.Bottom[i]);
        return;
    }
    Right(c, i, borrows);
}

void SmallerFromLargerInsteadOfBorrowFromZero(TColumns& c, size_t i, int& borrows)
{
    if (c.Top[i] < c.Bottom[i] && i + 1 < c.Size() && c.Top[i + 1] == 0) {
        SmallerFromLarger(c, i, borrows);
        return;
    }
    Right(c, i, borrows);
}

}  // namespace

// The subtraction rows of the catalogue (wrong_procedures.cpp).
TDiagnosticRow SubtractionDiagnosticRow()
{
    constexpr TOperation S = TOperation::Subtraction;
    // 0からひく, ひく数に0 and 同じ数字の位をこえる in three draws of four.
    auto serves = [](int32_t first, int32_t second, int32_t turn) {
        return turn % 4 == 3 || HasSituation(first, second, static_cast<TSubtractionSituation>(turn % 4));
    };
    return {S,
            {
                {S, "smaller-from-larger", "どの位も、大きい数字から小さい数字をひいている", Answer<SmallerFromLarger>},
                {S, "borrow-no-decrement", "くり下げた10を使うが、となりの位の数字を1へらしていない", Answer<BorrowNoDecrement>},
                {S, "borrow-from-zero", "0からくり下げると0を9にするが、その左の位をへらしていない", Answer<BorrowFromZero>},
                {S, "borrow-across-zero", "0をとばしてその左からくり下げ、0は0のままにしている", Answer<BorrowAcrossZero>},
                {S, "stops-borrow-at-zero", "となりが0のときは10をもらうだけで、どの位もへらしていない", Answer<StopsBorrowAtZero>},
                {S, "dont-decrement-zero", "0からくり下げた位を9でなく10にしている", Answer<DontDecrementZero>},
                {S, "zero-minus-n-is-n", "0−□ の位に □ を書いている", Answer<ZeroMinusNIsN>},
                {S, "zero-minus-n-is-zero", "0−□ の位に 0 を書いている", Answer<ZeroMinusNIsZero>},
                {S, "n-minus-zero-is-zero", "□−0 の位に 0 を書いている", Answer<NMinusZeroIsZero>},
                {S, "borrow-once-then-smaller-from-larger", "はじめのくり下がりはできるが、2回目からは大きい数字から小さい数字をひいている",
                 Answer<BorrowOnceThenSmallerFromLarger>},
                {S, "always-borrow-left", "いちばん左の位からくり下げている", Answer<AlwaysBorrowLeft>},
                {S, "borrow-skip-equal", "くり下げるとき、上と下が同じ数字の位をとばしている", Answer<BorrowSkipEqual>},
                {S, "smaller-from-larger-instead-of-borrow-from-zero", "0からくり下げるところで、大きい数字から小さい数字をひいている",
                 Answer<SmallerFromLargerInsteadOfBorrowFromZero>},
            },
            {{3, 3}, {4, 3}},  // 302−158 and 1300−522
            [](int32_t first, int32_t second) { return first > second; },
            serves};
}
