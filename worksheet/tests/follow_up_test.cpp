// A pupil's next sheet: for every wrong procedure of every operation, the
// example, the mistake to find and the targeted problems are ones it gets
// wrong, the contrast ones it gets right, nothing twice; a pupil with every
// answer right gets the unit's next pattern.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "worksheet/follow_up.h"
#include "worksheet/operations.h"
#include "worksheet/wrong_procedures.h"

namespace {

// A unit of the operation: three places over three (a division over one,
// a multiplication of two over one), every digit.
TWorksheetSettings UnitOf(TOperation operation, int32_t pattern)
{
    TWorksheetSettings s;
    s.Operation = operation;
    s.Kuriagari = pattern;
    s.u1h = "9", s.u2h = "9", s.u3l = "1", s.u3h = "9";
    s.d1l = "1", s.d1h = "9";
    if (operation == TOperation::Multiplication) s.u3l = s.u3h = "0";
    if (operation == TOperation::Addition || operation == TOperation::Subtraction) s.d2h = "9", s.d3l = "1", s.d3h = "9";
    if (operation == TOperation::Subtraction) s.u3l = "5";  // the minuend the larger, mostly
    s.AnsHigh = "99999";
    return s;
}

}  // namespace

TEST(FollowUp, EveryProblemIsThereForItsPurpose)
{
    for (const TOperation operation : {TOperation::Addition, TOperation::Subtraction, TOperation::Multiplication, TOperation::Division}) {
        const std::vector<TWrongProcedure>& catalogue = WrongProcedures(operation);
        for (size_t procedure = 1; procedure <= catalogue.size(); ++procedure) {
            TRandom random = RandomFromSeed(procedure * 7919u + static_cast<uint64_t>(operation));
            const TFollowUp sheet = FollowUpProblems(UnitOf(operation, kmAny), procedure, random);
            const std::string what = std::string(RulesOf(operation).Key) + " " + catalogue[procedure - 1].Id;
            ASSERT_EQ(sheet.Problems.size(), sheet.Purposes.size()) << what;
            std::map<TPurpose, int> counts;
            for (size_t k = 0; k < sheet.Problems.size(); ++k) {
                const TSheetProblem& p = sheet.Problems[k];
                ++counts[sheet.Purposes[k]];
                const std::vector<TWrittenAnswer> every = EveryAnswer(operation, p);
                const bool wrong = !(every[procedure] == every[0]);
                switch (sheet.Purposes[k]) {
                case TPurpose::Example:
                case TPurpose::FindMistake:
                case TPurpose::Targeted: EXPECT_TRUE(wrong) << what << " problem " << k + 1; break;
                case TPurpose::Contrast: EXPECT_FALSE(wrong) << what << " problem " << k + 1; break;
                default: break;
                }
                EXPECT_EQ(std::count(sheet.Problems.begin(), sheet.Problems.end(), p), 1) << what;
            }
            EXPECT_EQ(counts[TPurpose::Example], 1) << what;
            EXPECT_EQ(counts[TPurpose::FindMistake], 1) << what;
            EXPECT_EQ(counts[TPurpose::Targeted], kFollowUpTargeted) << what;
            EXPECT_EQ(counts[TPurpose::Review], kFollowUpReview) << what;
            EXPECT_LE(counts[TPurpose::Contrast], kFollowUpContrast) << what;
            // The order: the example, the mistake, then what is practised.
            EXPECT_EQ(sheet.Purposes.front(), TPurpose::Example) << what;
        }
    }
}

TEST(FollowUp, EveryAnswerRightGivesTheNextPattern)
{
    struct TCase {
        TOperation Operation;
        int32_t Pattern, Next;
    };
    const TCase cases[] = {
        {TOperation::Addition, kmNoCarry, kmOnesCarry},
        {TOperation::Subtraction, kmOnesCarry, kmTensCarry},
        {TOperation::Multiplication, kmTensSum2, kmTensSum2},  // the last stays the last
    };
    for (const TCase& c : cases) {
        const TWorksheetSettings unit = UnitOf(c.Operation, c.Pattern);
        EXPECT_EQ(NextPattern(unit), c.Next);
        TRandom random = RandomFromSeed(5);
        const TFollowUp sheet = FollowUpProblems(unit, 0, random);
        ASSERT_EQ(sheet.Problems.size(), size_t(kFollowUpProblems));
        for (size_t k = 0; k < sheet.Problems.size(); ++k) {
            const bool review = k >= sheet.Problems.size() - kFollowUpReview;
            EXPECT_EQ(sheet.Purposes[k], review ? TPurpose::Review : TPurpose::Targeted);
        }
    }
}

TEST(FollowUp, PurposesHaveTheirWords)
{
    const std::pair<TPurpose, const char*> words[] = {{TPurpose::Drill, ""}, {TPurpose::Example, "example"},
                                                     {TPurpose::FindMistake, "find-mistake"}, {TPurpose::Targeted, "targeted"},
                                                     {TPurpose::Contrast, "contrast"}, {TPurpose::Review, "review"}};
    for (const auto& [purpose, word] : words) EXPECT_STREQ(PurposeName(purpose), word);
    EXPECT_TRUE(IsShownWorked(TPurpose::Example) && IsShownWorked(TPurpose::FindMistake));
    EXPECT_FALSE(IsShownWorked(TPurpose::Targeted) || IsShownWorked(TPurpose::Drill));
}

TEST(FollowUp, TheProcedureAPupilsAnswersCallFor)
{
    // Subtractions with a borrow: the smaller digit from the larger gives
    // another answer on each.
    const std::vector<TSheetProblem> problems = {SolveProblem(RulesOf(TOperation::Subtraction), {421, 349}),
                                                 SolveProblem(RulesOf(TOperation::Subtraction), {933, 588}),
                                                 SolveProblem(RulesOf(TOperation::Subtraction), {853, 127})};
    const std::vector<TWrongProcedure>& catalogue = WrongProcedures(TOperation::Subtraction);
    const size_t smaller = static_cast<size_t>(std::find_if(catalogue.begin(), catalogue.end(), [](const TWrongProcedure& p) {
                                                   return std::string(p.Id) == "smaller-from-larger";
                                               }) - catalogue.begin() + 1);
    auto answers = [&](std::initializer_list<int> which) {
        // Each problem answered by EveryAnswer's procedure, -1 blank, -2 a slip.
        std::vector<std::optional<TWrittenAnswer>> out;
        size_t k = 0;
        for (const int w : which) {
            const TSheetProblem& p = problems[k++];
            if (w == -1) out.push_back(std::nullopt);
            else if (w == -2) out.push_back(TWrittenAnswer(p.Answer + 1));
            else out.push_back(EveryAnswer(TOperation::Subtraction, p)[static_cast<size_t>(w)]);
        }
        return out;
    };
    const int s = static_cast<int>(smaller);
    struct TCase {
        const char* What;
        std::vector<std::optional<TWrittenAnswer>> Answers;
        std::optional<size_t> Procedure;
    } cases[] = {
        {"every answer right", answers({0, 0, 0}), size_t{0}},
        {"the smaller digit from the larger throughout", answers({s, s, s}), smaller},
        {"once, the rest right", answers({0, s, 0}), smaller},
        {"once, beside a slip", answers({s, -2, 0}), smaller},
        {"a slip alone", answers({0, -2, 0}), std::nullopt},
        {"a blank", answers({0, -1, 0}), std::nullopt},
    };
    for (const TCase& c : cases) EXPECT_EQ(ProcedureToFollowUp(TOperation::Subtraction, problems, c.Answers), c.Procedure) << c.What;
}
