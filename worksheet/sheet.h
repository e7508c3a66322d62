// A sheet as a value: what it was made from, its number and its problems.
// Every layer that draws, prints, saves or records a sheet is handed one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/settings.h"

// One problem: the first and second numbers as written (multiplicand and
// multiplier, ...), the answer, and the remainder where there is one. A
// number with decimal places is held as the whole number of its smallest
// place with the count of its places (2.35: 235 and 2); whole numbers have
// none.
struct TSheetProblem {
    int32_t First = 0, Second = 0, Answer = 0, Remainder = 0;
    // The decimal places of each number. The answer's are those of its
    // working (2.35 + 1.65 is worked as 4.00, 1.5 × 2.4 as 3.60), the zeros
    // at its end struck on the answer sheet.
    int32_t FirstPlaces = 0, SecondPlaces = 0, AnswerPlaces = 0, RemainderPlaces = 0;
    // A decimal division: the places its quotient was worked to, and whether
    // the answer is that quotient rounded (概数, written with 約).
    int32_t WorkedPlaces = 0;
    bool Rounded = false;
    bool operator==(const TSheetProblem&) const = default;
};

// What a problem of a sheet is there for: on an ordinary sheet a drill; on
// a pupil's follow-up sheet (follow_up.h) one of the rest.
enum class TPurpose : uint8_t {
    Drill,
    Example,      // worked on the sheet, its answer shown
    FindMistake,  // drawn with a wrong procedure's answer, to find and mend
    Targeted,     // the procedure gives a wrong answer (or: the next pattern)
    Contrast,     // the procedure gives the right answer
    Review,       // from the unit as it was
};

struct TSheet {
    // The settings the problems were drawn from (the operation among them),
    // with the sentence, the grid and the marks the sheet is drawn with. Its
    // number is Number alone: Settings.PrnNum is left empty.
    TWorksheetSettings Settings;
    int32_t Number = 0;     // the sheet number printed on it
    int32_t Requested = 0;  // problems asked for: 12 or 16
    std::vector<TSheetProblem> Problems;  // in page order
    // The seed of the class set it was made in, which makes the set again
    // with the same settings and first number; none for a sheet of the window.
    std::optional<uint64_t> Seed;
    // A diagnostic sheet: its problems were searched to tell wrong procedures
    // apart, and its answer sheet is a key to them.
    bool Diagnostic = false;
    // Its place in the set it was made in (0: the first, or a sheet of its
    // own), which makes it again from the seed; and the 出席番号 printed on
    // it (0: none, the pupil writes it).
    int32_t Place = 0;
    int32_t Roll = 0;
    // A pupil's follow-up sheet: the procedure it was made for (EveryAnswer's
    // index; 0: every answer was right, so the unit's next pattern), and
    // what each of its problems is there for (empty: every one a drill).
    std::optional<int32_t> FollowUp;
    std::vector<TPurpose> Purposes;
    TPurpose PurposeOf(size_t k) const { return k < Purposes.size() ? Purposes[k] : TPurpose::Drill; }

    // The problems a page shows: in 大きなマス every one, in 標準 whole rows
    // of four.
    size_t ProblemsOnPage() const { return Settings.CellMM > 0 ? Problems.size() : Problems.size() / 4 * 4; }
};
