// A pupil's next sheet made from what they wrote: for a wrong procedure, a
// worked example and a mistake to find where it goes wrong, problems on which
// it gives a wrong answer, a few on which it does not and a short review; for
// a pupil who got every answer right, the unit's next pattern. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/lcg.h"
#include "worksheet/wrong_procedures.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// The word of the problem CSV for it: "", "example", "find-mistake",
// "targeted", "contrast", "review".
const char* PurposeName(TPurpose purpose);

// True for a problem the pupil does not answer: shown worked or with a
// mistake drawn in.
bool IsShownWorked(TPurpose purpose);

// How many problems of each purpose a follow-up sheet has: twelve as a
// rule, fewer (9, 8, 6) where twelve do not fit its paper.
inline constexpr int32_t kFollowUpTargeted = 6, kFollowUpContrast = 2, kFollowUpReview = 2;
inline constexpr int32_t kFollowUpProblems = 2 + kFollowUpTargeted + kFollowUpContrast + kFollowUpReview;
inline constexpr int32_t kFollowUpCounts[] = {kFollowUpProblems, 9, 8, 6};
struct TFollowUpShape {
    int32_t Targeted, Contrast, Review;
};
// The shape of a follow-up of `count` problems (one of kFollowUpCounts;
// another is taken as twelve) beside its example and its mistake to find.
TFollowUpShape FollowUpShapeOf(int32_t count);

struct TFollowUp {
    std::vector<TSheetProblem> Problems;
    std::vector<TPurpose> Purposes;  // one a problem
};

// The problems of the follow-up of a pupil on `unit` (its operation, digits,
// pattern and answer range; its count of problems, FollowUpShapeOf) whose
// answers named EveryAnswer's procedure `procedure`: 0, every answer right,
// gives the unit's next pattern and its review of the unit; a wrong
// procedure gives one example and one mistake to find on problems where it
// goes wrong, then its targeted problems where it does too, its contrast
// where it gives the right answer and its review of the unit. Drawn with `random`, every
// problem distinct; the problems of a wrong procedure are those of the
// unit's digits in any pattern when its own pattern holds too few. Raises
// EConvertError for a digit text that is not a number.
TFollowUp FollowUpProblems(const TWorksheetSettings& unit, size_t procedure, TRandom& random);

// The unit's next pattern: the next item of its pattern group, the last
// staying the last.
int32_t NextPattern(const TWorksheetSettings& unit);

// The procedure a pupil's answers to `problems` call for: 0 when every answer
// is right; else EveryAnswer's index of the wrong procedure that gives the
// most of their wrong answers (the first of the catalogue on a tie); none
// when no procedure gives any of them (a slip, a blank): their sheet cannot
// say.
std::optional<size_t> ProcedureToFollowUp(TOperation operation, const std::vector<TSheetProblem>& problems,
                                          const std::vector<std::optional<TWrittenAnswer>>& answers);
