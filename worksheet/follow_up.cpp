#include "worksheet/follow_up.h"

#include <algorithm>

#include "worksheet/diagnostic.h"
#include "worksheet/operations.h"
#include "worksheet/sheet_generator.h"
#include "worksheet/text_to_int.h"
#include "worksheet/wrong_procedures.h"

namespace {

// Rounds of DrawProblems a pool is drawn in, twenty problems a round: a
// few, or more until it has enough.
constexpr int kPoolRounds = 2, kMostPoolRounds = 60;

// Distinct problems drawn, each with whether the procedure followed up goes
// wrong on it.
struct TPool {
    TOperation Operation;
    size_t Procedure;
    std::vector<TSheetProblem> Problems;
    std::vector<bool> Wrong;
    int32_t Wrongs() const { return static_cast<int32_t>(std::count(Wrong.begin(), Wrong.end(), true)); }
    int32_t Rights() const { return static_cast<int32_t>(Problems.size()) - Wrongs(); }
};

// True when the procedure's answer to `problem` differs from the right one
// (a procedure that leaves the pupil without an answer differs too).
bool GoesWrong(TOperation operation, const TSheetProblem& problem, size_t procedure)
{
    return !(AnswerOfProcedure(operation, problem, procedure) == AnswerOfProcedure(operation, problem, 0));
}

// Distinct problems of `settings` added to `pool`, round by round, until
// `enough` accepts the pool or the rounds run out.
template <typename F>
void AddToPool(TPool& pool, const TWorksheetSettings& settings, TRandom& random, F enough)
{
    const int32_t low = TextToInt(settings.AnsLow), high = TextToInt(settings.AnsHigh);
    for (int round = 0; round < kMostPoolRounds && (round < kPoolRounds || !enough(pool)); ++round)
        for (const TSheetProblem& p : DrawProblems(settings, 20, low, high, random)) {
            if (std::find(pool.Problems.begin(), pool.Problems.end(), p) != pool.Problems.end()) continue;
            const bool wrong = pool.Procedure > 0 && GoesWrong(pool.Operation, p, pool.Procedure);
            pool.Problems.push_back(p);
            pool.Wrong.push_back(wrong);
        }
}

// Which problems of a pool a purpose takes.
enum class TWhich { Any, Wrong, Right };

// Moves up to `count` problems of `pool` of the kind `which` into `into`,
// none that `into` has already.
void Take(TPool& pool, int32_t count, TPurpose purpose, TFollowUp& into, TWhich which)
{
    for (size_t i = 0; i < pool.Problems.size() && count > 0;) {
        const bool had = std::find(into.Problems.begin(), into.Problems.end(), pool.Problems[i]) != into.Problems.end();
        if (had || (which == TWhich::Wrong && !pool.Wrong[i]) || (which == TWhich::Right && pool.Wrong[i])) {
            ++i;
            continue;
        }
        into.Problems.push_back(pool.Problems[i]);
        into.Purposes.push_back(purpose);
        pool.Problems.erase(pool.Problems.begin() + static_cast<ptrdiff_t>(i));
        pool.Wrong.erase(pool.Wrong.begin() + static_cast<ptrdiff_t>(i));
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

TFollowUpShape FollowUpShapeOf(int32_t count)
{
    switch (count) {
    case 9: return {5, 1, 1};
    case 8: return {4, 1, 1};
    case 6: return {3, 1, 0};
    default: return {kFollowUpTargeted, kFollowUpContrast, kFollowUpReview};
    }
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
    const TFollowUpShape shape = FollowUpShapeOf(unit.Problems);
    TFollowUp sheet;
    TPool own{operation, procedure, {}, {}};
    auto always = [](const TPool&) { return true; };
    if (procedure == 0) {
        TWorksheetSettings next = unit;
        next.Kuriagari = NextPattern(unit);
        TPool ahead{operation, 0, {}, {}};
        AddToPool(ahead, next, random, always);
        const int32_t review = std::max(shape.Review, 1);
        Take(ahead, 2 + shape.Targeted + shape.Contrast + shape.Review - review, TPurpose::Targeted, sheet, TWhich::Any);
        AddToPool(own, unit, random, always);
        Take(own, review, TPurpose::Review, sheet, TWhich::Any);
        return sheet;
    }
    // Drawn on while the procedure goes wrong too seldom; where the unit's
    // own pattern holds too few, its digits in any pattern.
    auto enough = [&](const TPool& pool) { return pool.Wrongs() >= 2 + shape.Targeted; };
    AddToPool(own, unit, random, enough);
    TWorksheetSettings any = unit;
    any.Kuriagari = kmAny;
    if (!enough(own) && unit.Kuriagari != kmAny) AddToPool(own, any, random, enough);
    // A procedure the unit's digits never show (a partial product's shift
    // on a one-place multiplier): the digits its diagnostic sheet was in.
    for (const TDigitRanges& ranges : DefaultDiagnosticRanges(operation))
        if (!enough(own)) AddToPool(own, SettingsOfRanges(unit, ranges), random, enough);
    // Where every problem of the pattern goes wrong (a borrow in each for a
    // pupil who never borrows), the contrast comes from the unit's digits
    // in any pattern.
    auto contrasts = [&](const TPool& pool) { return pool.Rights() >= shape.Contrast + shape.Review; };
    if (!contrasts(own) && unit.Kuriagari != kmAny) AddToPool(own, any, random, contrasts);
    Take(own, 1, TPurpose::Example, sheet, TWhich::Wrong);
    Take(own, 1, TPurpose::FindMistake, sheet, TWhich::Wrong);
    Take(own, shape.Targeted, TPurpose::Targeted, sheet, TWhich::Wrong);
    Take(own, shape.Contrast, TPurpose::Contrast, sheet, TWhich::Right);
    Take(own, shape.Review, TPurpose::Review, sheet, TWhich::Any);
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
