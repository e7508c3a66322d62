#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "worksheet/diagnostic.h"
#include "worksheet/sheet_generator.h"

namespace {

struct TTally {
    int Right = 0, Wrong = 0, Undecided = 0;
    int Total() const { return Right + Wrong + Undecided; }
    double Share(int n) const { return 100.0 * n / Total(); }
};

// A pupil's answer with one digit written wrong.
int64_t Slipped(int64_t answer, TRandom& random)
{
    std::string text = std::to_string(answer);
    const size_t at = static_cast<size_t>(random.Below(static_cast<int32_t>(text.size())));
    text[at] = static_cast<char>('0' + (text[at] - '0' + 1 + random.Below(9)) % 10);
    return std::stoll(text);
}

// Pupils following each procedure of the catalogue, and the right one, on
// `problems`, each answer slipped with a chance of one in ten.
void Simulate(TOperation operation, const std::vector<TSheetProblem>& problems, int pupils, TRandom& random, TTally& tally)
{
    const auto& catalogue = WrongProcedures(operation);
    for (size_t p = 0; p <= catalogue.size(); ++p)
        for (int pupil = 0; pupil < pupils; ++pupil) {
            std::vector<std::optional<int64_t>> answers;
            for (const TSheetProblem& problem : problems) {
                std::optional<int64_t> answer = p == 0 ? std::optional<int64_t>(problem.Answer)
                                                       : catalogue[p - 1].Answer(problem.First, problem.Second);
                if (answer && *answer >= 0 && random.Below(10) == 0) answer = Slipped(*answer, random);
                answers.push_back(answer);
            }
            const std::string said = Diagnose(operation, problems, answers).Procedure;
            const std::string truth = p == 0 ? "correct" : catalogue[p - 1].Id;
            (said == truth ? tally.Right : said == "undecided" ? tally.Undecided : tally.Wrong)++;
        }
}

}  // namespace

// The sheet the search finds: twelve distinct problems of the ranges, every
// procedure wrong on three or more, any two apart on three or more.
TEST(DiagnosticSheet, SubtractionTellsEveryProcedureApart)
{
    for (uint32_t seed : {1u, 2u, 3u}) {
        TRandom random{seed};
        const TDiagnosticSheet sheet = FindDiagnosticSheet(TOperation::Subtraction, DefaultDiagnosticRanges(TOperation::Subtraction), random);
        ASSERT_EQ(sheet.Problems.size(), 12u);
        EXPECT_TRUE(sheet.TooClose.empty()) << sheet.TooClose.front().first << " ~ " << sheet.TooClose.front().second;
        for (const TSheetProblem& p : sheet.Problems) {
            EXPECT_TRUE(p.First >= 100 && p.First <= 9999 && p.Second >= 100 && p.Second <= 999 && p.First > p.Second);
            EXPECT_EQ(p.Answer, p.First - p.Second);
        }
    }
    // Ranges that cannot tell them apart: the best sheet, and the pairs said.
    TDigitRanges noZeros{{1, 1, 1, 0}, {9, 9, 9, 0}, {1, 1, 1, 0}, {9, 9, 9, 0}};
    TRandom random{4};
    const TDiagnosticSheet sheet = FindDiagnosticSheet(TOperation::Subtraction, {noZeros}, random);
    EXPECT_EQ(sheet.Problems.size(), 12u);
    EXPECT_FALSE(sheet.TooClose.empty());
}

// Answers read back: the procedure, the right one, or undecided.
TEST(DiagnosticSheet, DiagnosisNamesTheProcedure)
{
    TRandom random{7};
    const auto problems = FindDiagnosticSheet(TOperation::Subtraction, DefaultDiagnosticRanges(TOperation::Subtraction), random).Problems;
    std::vector<std::optional<int64_t>> right, wrong, blank(12);
    for (const TSheetProblem& p : problems) {
        right.push_back(p.Answer);
        wrong.push_back(WrongProcedures(TOperation::Subtraction)[3].Answer(p.First, p.Second));
    }
    EXPECT_EQ(Diagnose(TOperation::Subtraction, problems, right).Name, "正しくできています");
    const TDiagnosis bug = Diagnose(TOperation::Subtraction, problems, wrong);
    EXPECT_EQ(bug.Procedure, "borrow-across-zero");
    EXPECT_EQ(bug.Explained, 12);
    EXPECT_TRUE(bug.NotFitting.empty());
    EXPECT_EQ(Diagnose(TOperation::Subtraction, problems, blank).Procedure, "undecided");
    wrong[0] = 1;  // a slip: explained by nothing
    EXPECT_EQ(Diagnose(TOperation::Subtraction, problems, wrong).NotFitting, std::vector<int32_t>{1});
}

// Simulated pupils, 10 % of answers slipped: on 20 diagnostic sheets the
// procedure is named right at least 99 % of the time and wrong at most
// 0.5 %; random sheets of the ordinary patterns beside them.
TEST(DiagnosticSheet, SimulatedPupilsAreNamed)
{
    TTally diagnostic, ordinary;
    TRandom pupils{2026};
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        TRandom random{seed};
        const auto problems = FindDiagnosticSheet(TOperation::Subtraction, DefaultDiagnosticRanges(TOperation::Subtraction), random).Problems;
        Simulate(TOperation::Subtraction, problems, 20, pupils, diagnostic);

        TWorksheetSettings settings;
        settings.Operation = TOperation::Subtraction;
        settings.u1h = settings.u2h = settings.u3h = settings.d1h = settings.d2h = settings.d3h = "9";
        settings.u3l = settings.d3l = "1";
        settings.AnsLow = "1";
        settings.AnsHigh = "999";
        settings.Kuriagari = static_cast<int32_t>(seed % 6);
        TRandom draw{seed};
        Simulate(TOperation::Subtraction, GenerateSheet(settings, 1, draw).Problems, 20, pupils, ordinary);
    }
    std::printf("subtraction, %d pupils: diagnostic sheets %.1f %% named right, %.2f %% wrong, %.1f %% undecided; "
                "ordinary sheets %.1f %% right, %.2f %% wrong, %.1f %% undecided\n",
                diagnostic.Total(), diagnostic.Share(diagnostic.Right), diagnostic.Share(diagnostic.Wrong),
                diagnostic.Share(diagnostic.Undecided), ordinary.Share(ordinary.Right), ordinary.Share(ordinary.Wrong),
                ordinary.Share(ordinary.Undecided));
    EXPECT_GE(diagnostic.Share(diagnostic.Right), 99.0);
    EXPECT_LE(diagnostic.Share(diagnostic.Wrong), 0.5);
    EXPECT_GT(diagnostic.Right, ordinary.Right);

    // Addition and multiplication, on sheets of the same ranges.
    for (const TOperation operation : {TOperation::Addition, TOperation::Multiplication}) {
        TTally tally;
        for (uint32_t seed = 1; seed <= 20; ++seed) {
            TRandom random{seed};
            Simulate(operation, FindDiagnosticSheet(operation, DefaultDiagnosticRanges(operation), random).Problems, 20, pupils, tally);
        }
        std::printf("%s, %d pupils: %.1f %% named right, %.2f %% wrong, %.1f %% undecided\n",
                    operation == TOperation::Addition ? "addition" : "multiplication", tally.Total(), tally.Share(tally.Right),
                    tally.Share(tally.Wrong), tally.Share(tally.Undecided));
        EXPECT_GE(tally.Share(tally.Right), 95.0);
        EXPECT_LE(tally.Share(tally.Wrong), 1.0);
    }
}
