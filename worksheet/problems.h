// The program-wide table of generated problems and the values that say how
// much of it is valid and how to draw it. Touched only on the UI thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// One problem in two forms: the integers (0..9999) that only the generator
// reads, and their decimal texts (no sign, no leading zeros; a number with
// decimal places with its point, "7.4") that every drawing reads.
struct TProblem {
    int32_t Multiplicand = 0, Multiplier = 0;
    std::string MultiplicandText, MultiplierText;
};

// 20 entries, indexed 1 to 20, row-major in page order. operator[] throws
// std::out_of_range for an index outside 1..20.
class TProblemTable {
public:
    static constexpr int Capacity = 20;
    TProblem& operator[](int k);
    const TProblem& operator[](int k) const;
    // Every entry back to 0 and empty texts, as at program start.
    void Clear();

private:
    std::array<TProblem, Capacity> entries_{};
};

extern TProblemTable ProblemTable;

// How many leading entries the drawing reads (0..16).
extern int32_t QuestionCount;
// The sheet number drawn in the page header.
extern int32_t PrintNumber;
// 1 while a drawing shows the worked answers, else 0.
extern int32_t ShowAnswers;
// 1 once a preview has been drawn and may be repainted.
extern int32_t PreviewReady;

// ShowAnswers as asked for the span of one drawing, and 0 again however the
// drawing ends.
class TAnswersShown {
public:
    explicit TAnswersShown(bool shown) { ShowAnswers = shown ? 1 : 0; }
    ~TAnswersShown() { ShowAnswers = 0; }
    TAnswersShown(const TAnswersShown&) = delete;
    TAnswersShown& operator=(const TAnswersShown&) = delete;
};
