// A pupil's answer read from its cells against what it can be: the free
// reading of the digits, the right answer and every catalogued wrong
// procedure's answer, each weighed by the digits' chances; an answer not
// sure enough is left to the teacher. Pure C++.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reader/cell_reading.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"
#include "worksheet/wrong_procedures.h"

// How an answer was decided; Shown: a problem worked on the sheet (a
// follow-up's example, its mistake to find), which the pupil does not answer.
enum class TDecided { Asked, Read, Lexicon, Typed, Shown };

// The word of the CSV and the history for it: "asked", "read", "lexicon",
// "typed", "shown".
const char* DecidedName(TDecided decided);

struct TAnswerReading {
    std::optional<TWrittenAnswer> Best;  // the likeliest (none: left blank)
    TDecided Decided = TDecided::Asked;  // Asked: the teacher is to say
    double Confidence = 0;               // the chance of Best among what it can be
};

// Reads the answer to `problem` from the cells of its answer (right-aligned
// digits, blank before them) and, for a division with the remainder's row,
// of its remainder. For an answer with decimals, `points` holds the chance
// that a point is written on the line after each of its cells but the last
// (ReadPoint); empty for whole numbers.
TAnswerReading ReadAnswer(TOperation operation, const TSheetProblem& problem, const std::vector<TCellReading>& answer,
                          const std::vector<TCellReading>& remainder, const std::vector<double>& points = {});

// The chance that digits right-aligned in the cells read `text` (blank
// cells before it, "" for all blank); 0 when it is longer than the cells.
double ChanceOfText(const std::vector<TCellReading>& cells, const std::string& text);
