#include "worksheet/follow_up.h"

#include <algorithm>

#include "worksheet/diagnostic.h"
#include "worksheet/operations.h"
#include "worksheet/sheet_generator.h"
#include "worksheet/text_to_int.h"
#include "worksheet/wrong_procedures.h"

namespace {

// Rounds of DrawProblems a pool is drawn in, twenty problems a round: a
// few, or more until `enough` of them are found.
constexpr int kPoolRounds = 8, kMostPoolRounds = 60;

// Distinct problems of `settings` added to `pool`, round by round, until
// `enough` accepts the pool or the rounds run out.
template <typename F>
void AddToPool(std::vector<TSheetProblem>& pool, const TWorksheetSettings& settings, TRandom& random, F enough)
{
    const int32_t low = TextToInt(settings.AnsLow), high = TextToInt(settings.AnsHigh);
    for (int round = 0; round < kMostPoolRounds && (round < kPoolRounds || !enough(pool)); ++round)
        for (const TSheetProblem& p : DrawProblems(settings, 20, low, high, random))
            if (std::find(pool.begin(), pool.end(), p) == pool.end()) pool.push_back(p);
}

std::vector<TSheetProblem> PoolOf(const TWorksheetSettings& settings, TRandom& random)
{
    std::vector<TSheetProblem> pool;
    AddToPool(pool, settings, random, [](const std::vector<TSheetProblem>&) { return true; });
    return pool;
}

// True when the procedure's answer to `problem` differs from the right one
// (a procedure that leaves the pupil without an answer differs too).
bool GoesWrong(TOperation operation, const TSheetProblem& problem, size_t procedure)
{
    const std::vector<TWrittenAnswer> every = EveryAnswer(operation, problem);
    return procedure < every.size() && !(every[procedure] == every[0]);
}

// Moves up to `count` problems of `pool` that `wanted` accepts into `into`.
template <typename F>
void Take(std::vector<TSheetProblem>& pool, int32_t count, TPurpose purpose, TFollowUp& into, F wanted)
{
    for (auto it = pool.begin(); it != pool.end() && count > 0;) {
        if (!wanted(*it)) {
            ++it;
            continue;
        }
        into.Problems.push_back(*it);
        into.Purposes.push_back(purpose);
        it = pool.erase(it);
        --count;
    }
}

}  // namespace

const char* PurposeName(TPurpose purpose)
{
    switch (purpose) {
    case TPurpose::Example: return "example";
    case TPurpose::FindMistake: return "find-mistake";
    case TPurpose::Targeted: return "targeted";
    case TPurpose::Contrast: return "contrast";
    case TPurpose::Review: return "review";
    case TPurpose::Drill: break;
    }
    return "";
}

bool IsShownWorked(TPurpose purpose)
{
    return purpose == TPurpose::Example || purpose == TPurpose::FindMistake;
}

int32_t NextPattern(const TWorksheetSettings& unit)
{
    const int32_t last = static_cast<int32_t>(RulesOf(unit.Operation).PatternLabels.size()) - 1;
    const int32_t now = unit.Kuriagari >= 0 && unit.Kuriagari <= last ? unit.Kuriagari : 0;
    return std::min(now + 1, last);
}

TFollowUp FollowUpProblems(const TWorksheetSettings& unit, size_t procedure, TRandom& random)
{
    const TOperation operation = unit.Operation;
    TFollowUp sheet;
    std::vector<TSheetProblem> own = PoolOf(unit, random);
    if (procedure == 0) {
        TWorksheetSettings next = unit;
        next.Kuriagari = NextPattern(unit);
        std::vector<TSheetProblem> ahead = PoolOf(next, random);
        Take(ahead, kFollowUpProblems - kFollowUpReview, TPurpose::Targeted, sheet, [](const TSheetProblem&) { return true; });
        Take(own, kFollowUpReview, TPurpose::Review, sheet,
             [&](const TSheetProblem& p) { return std::find(sheet.Problems.begin(), sheet.Problems.end(), p) == sheet.Problems.end(); });
        return sheet;
    }
    auto wrong = [&](const TSheetProblem& p) { return GoesWrong(operation, p, procedure); };
    // Drawn on while the procedure goes wrong too seldom; where the unit's
    // own pattern holds too few, its digits in any pattern.
    auto enough = [&](const std::vector<TSheetProblem>& pool) {
        return std::count_if(pool.begin(), pool.end(), wrong) >= 2 + kFollowUpTargeted;
    };
    AddToPool(own, unit, random, enough);
    if (!enough(own) && unit.Kuriagari != kmAny) {
        TWorksheetSettings any = unit;
        any.Kuriagari = kmAny;
        AddToPool(own, any, random, enough);
    }
    // A procedure the unit's digits never show (a partial product's shift
    // on a one-place multiplier): the digits its diagnostic sheet was in.
    for (const TDigitRanges& ranges : DefaultDiagnosticRanges(operation))
        if (!enough(own)) AddToPool(own, SettingsOfRanges(unit, ranges), random, enough);
    // Where every problem of the pattern goes wrong (a borrow in each for a
    // pupil who never borrows), the contrast comes from the unit's digits
    // in any pattern.
    auto contrasts = [&](const std::vector<TSheetProblem>& pool) {
        return std::count_if(pool.begin(), pool.end(), [&](const TSheetProblem& p) { return !wrong(p); }) >= kFollowUpContrast + kFollowUpReview;
    };
    if (!contrasts(own) && unit.Kuriagari != kmAny) {
        TWorksheetSettings any = unit;
        any.Kuriagari = kmAny;
        AddToPool(own, any, random, contrasts);
    }
    Take(own, 1, TPurpose::Example, sheet, wrong);
    Take(own, 1, TPurpose::FindMistake, sheet, wrong);
    Take(own, kFollowUpTargeted, TPurpose::Targeted, sheet, wrong);
    Take(own, kFollowUpContrast, TPurpose::Contrast, sheet, [&](const TSheetProblem& p) { return !wrong(p); });
    Take(own, kFollowUpReview, TPurpose::Review, sheet, [](const TSheetProblem&) { return true; });
    return sheet;
}

std::optional<size_t> ProcedureToFollowUp(TOperation operation, const std::vector<TSheetProblem>& problems,
                                          const std::vector<std::optional<TWrittenAnswer>>& answers)
{
    std::vector<int> given(WrongProcedures(operation).size() + 1, 0);
    bool allRight = true;
    for (size_t k = 0; k < problems.size(); ++k) {
        const std::vector<TWrittenAnswer> every = EveryAnswer(operation, problems[k]);
        const std::optional<TWrittenAnswer> answer = k < answers.size() ? answers[k] : std::nullopt;
        if (answer && *answer == every[0]) continue;
        allRight = false;
        if (!answer) continue;
        for (size_t i = 1; i < every.size() && i < given.size(); ++i)
            if (!(every[i] == every[0]) && every[i] == *answer) ++given[i];
    }
    if (allRight) return size_t{0};
    const auto most = std::max_element(given.begin() + 1, given.end());
    if (most == given.end() || *most == 0) return std::nullopt;
    return static_cast<size_t>(most - given.begin());
}
