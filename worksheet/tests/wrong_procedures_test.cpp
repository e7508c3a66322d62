#include <gtest/gtest.h>

#include <set>
#include <string>

#include "worksheet/subtraction_situations.h"
#include "worksheet/wrong_procedures.h"

namespace {

const TWrongProcedure& Procedure(TOperation operation, const std::string& id)
{
    for (const TWrongProcedure& p : WrongProcedures(operation))
        if (id == p.Id) return p;
    throw std::logic_error("no procedure " + id);
}

}  // namespace

// Each procedure on the examples that define it: the answer a pupil
// following it writes.
TEST(WrongProcedures, SubtractionExamples)
{
    const struct {
        const char* Id;
        int32_t First, Second;
        int64_t Written;
    } cases[] = {
        {"smaller-from-larger", 143, 24, 121}, {"smaller-from-larger", 302, 158, 256},
        {"borrow-no-decrement", 143, 24, 129}, {"borrow-no-decrement", 302, 158, 254},
        {"borrow-from-zero", 302, 158, 244}, {"borrow-from-zero", 1300, 522, 878},
        {"borrow-across-zero", 302, 158, 54}, {"borrow-across-zero", 1300, 522, 688},
        {"stops-borrow-at-zero", 302, 158, 154}, {"stops-borrow-at-zero", 1300, 522, 788},
        {"dont-decrement-zero", 3004, 1237, 1777},
        {"zero-minus-n-is-n", 140, 21, 121}, {"zero-minus-n-is-n", 650, 348, 318},
        {"zero-minus-n-is-zero", 140, 21, 120}, {"zero-minus-n-is-zero", 650, 348, 310},
        {"n-minus-zero-is-zero", 852, 407, 405}, {"n-minus-zero-is-zero", 705, 407, 208},
        {"borrow-once-then-smaller-from-larger", 563, 169, 414}, {"borrow-once-then-smaller-from-larger", 734, 256, 538},
        {"always-borrow-left", 143, 24, 29}, {"always-borrow-left", 302, 158, 54},
        {"borrow-skip-equal", 302, 108, 104}, {"borrow-skip-equal", 563, 169, 304},
        {"smaller-from-larger-instead-of-borrow-from-zero", 302, 158, 156},
        {"smaller-from-larger-instead-of-borrow-from-zero", 1300, 522, 782},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Id) + " " + std::to_string(c.First) + "−" + std::to_string(c.Second));
        EXPECT_EQ(Procedure(TOperation::Subtraction, c.Id).Answer(c.First, c.Second), c.Written);
    }
}

// The catalogue: thirteen subtraction procedures, ids and names unique and
// named; where nothing is borrowed and the subtrahend has no 0, every one
// of them gets the right answer.
TEST(WrongProcedures, SubtractionAgreesWhereNothingIsBorrowed)
{
    const auto& catalogue = WrongProcedures(TOperation::Subtraction);
    EXPECT_EQ(catalogue.size(), 13u);
    std::set<std::string> ids, names;
    for (const TWrongProcedure& p : catalogue) {
        EXPECT_TRUE(ids.insert(p.Id).second && names.insert(p.Name).second) << p.Id;
        EXPECT_FALSE(std::string(p.Name).empty());
    }
    auto noBorrowNoZero = [](int32_t a, int32_t b) {
        for (; b > 0; a /= 10, b /= 10)
            if (a % 10 < b % 10 || b % 10 == 0) return false;
        return true;
    };
    int checked = 0;
    for (int32_t a = 100; a <= 9999; a += 7)
        for (int32_t b = 11; b < a; b += 13)
            if (noBorrowNoZero(a, b)) {
                ++checked;
                for (const TWrongProcedure& p : catalogue) ASSERT_EQ(p.Answer(a, b), a - b) << p.Id << " " << a << "−" << b;
            }
    EXPECT_GT(checked, 1000);
}

// Addition, multiplication and division on their examples; where nothing
// is carried, or no 0 stands in the quotient and no guess is off, every
// procedure gets the right answer.
TEST(WrongProcedures, AdditionAndMultiplication)
{
    const struct {
        TOperation Operation;
        const char* Id;
        int32_t First, Second;
        TWrittenAnswer Written;
    } cases[] = {
        {TOperation::Addition, "carry-written", 365, 574, 819},
        {TOperation::Addition, "carry-not-added", 365, 574, 839},
        {TOperation::Addition, "carry-to-wrong-column", 365, 574, 1839},
        {TOperation::Multiplication, "zero-in-multiplier-skipped", 403, 708, 31434},
        {TOperation::Multiplication, "carry-not-added", 47, 3, 121},
        {TOperation::Multiplication, "carry-added-before-multiplying", 47, 3, 181},
        {TOperation::Multiplication, "partial-product-not-shifted", 23, 12, 69},
        {TOperation::Division, "quotient-zero-dropped", 621, 3, 27},
        {TOperation::Division, "quotient-zero-dropped", 631, 3, {21, 1}},
        {TOperation::Division, "remainder-not-less-than-divisor", 413, 59, {6, 59}},
        {TOperation::Division, "remainder-not-less-than-divisor", 95, 24, {3, 23}},
        {TOperation::Division, "estimate-not-corrected", 413, 59, {6, 59}},
        {TOperation::Division, "estimate-not-corrected", 95, 24, {4, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id);
        EXPECT_EQ(Procedure(c.Operation, c.Id).Answer(c.First, c.Second), c.Written);
    }
    for (const auto& [a, b] : {std::pair{123, 456}, {4010, 1205}, {32, 3}, {1111, 5}})
        for (const TWrongProcedure& p : WrongProcedures(TOperation::Addition)) EXPECT_EQ(p.Answer(a, b), a + b) << p.Id;
    for (const auto& [a, b] : {std::pair{123, 3}, {4010, 2}, {32, 3}, {1111, 5}})
        for (const TWrongProcedure& p : WrongProcedures(TOperation::Multiplication)) EXPECT_EQ(p.Answer(a, b), a * b) << p.Id;
    for (const auto& [a, b] : {std::pair{96, 4}, {875, 7}, {84, 21}, {968, 44}})
        for (const TWrongProcedure& p : WrongProcedures(TOperation::Division))
            EXPECT_EQ(p.Answer(a, b), (TWrittenAnswer{a / b, a % b})) << p.Id;
    EXPECT_EQ(WrittenText({21, 1}), "21あまり1");
    EXPECT_EQ(WrittenText(207), "207");
}

// The places subtraction's wrong procedures go astray on.
TEST(SubtractionSituations, PlacesOfTheSecondNumber)
{
    using S = TSubtractionSituation;
    const struct {
        int32_t First, Second;
        S Situation;
        bool Has;
    } cases[] = {
        {140, 21, S::ZeroMinusDigit, true},   {650, 348, S::ZeroMinusDigit, true}, {1300, 522, S::ZeroMinusDigit, true},
        {1300, 22, S::ZeroMinusDigit, true},  {3000, 1, S::ZeroMinusDigit, true},  {1000, 111, S::ZeroMinusDigit, true},
        {5111, 111, S::ZeroMinusDigit, false}, {852, 407, S::DigitMinusZero, true}, {705, 407, S::DigitMinusZero, true},
        {800, 417, S::DigitMinusZero, false}, {852, 47, S::DigitMinusZero, false}, {302, 108, S::BorrowAcrossEqualDigits, true},
        {563, 169, S::BorrowAcrossEqualDigits, true}, {563, 179, S::BorrowAcrossEqualDigits, false},
        {568, 179, S::BorrowAcrossEqualDigits, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasSituation(c.First, c.Second, c.Situation), c.Has) << c.First << "−" << c.Second;
}
