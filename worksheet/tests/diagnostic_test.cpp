#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "worksheet/diagnosis.h"
#include "worksheet/diagnostic.h"
#include "worksheet/operations.h"
#include "worksheet/sheet_generator.h"

namespace {

struct TTally {
    int Right = 0, Wrong = 0, Undecided = 0;
    int Total() const { return Right + Wrong + Undecided; }
    double Share(int n) const { return 100.0 * n / Total(); }
};

// A pupil's answer with one digit written wrong (of the quotient or of the
// remainder).
TWrittenAnswer Slipped(TWrittenAnswer answer, TRandom& random)
{
    std::string value = std::to_string(answer.Value), remainder = answer.Remainder ? std::to_string(answer.Remainder) : "";
    size_t at = static_cast<size_t>(random.Below(static_cast<int32_t>(value.size() + remainder.size())));
    std::string& text = at < value.size() ? value : remainder;
    if (at >= value.size()) at -= value.size();
    text[at] = static_cast<char>('0' + (text[at] - '0' + 1 + random.Below(9)) % 10);
    return {std::stoll(value), remainder.empty() ? 0 : std::stoll(remainder)};
}

// Pupils following each procedure of the catalogue, and the right one, on
// `problems`, each answer slipped with a chance of one in ten.
void Simulate(TOperation operation, const std::vector<TSheetProblem>& problems, int pupils, TRandom& random, TTally& tally)
{
    const auto& catalogue = WrongProcedures(operation);
    for (size_t p = 0; p <= catalogue.size(); ++p)
        for (int pupil = 0; pupil < pupils; ++pupil) {
            std::vector<std::optional<TWrittenAnswer>> answers;
            int slips = 0;
            for (const TSheetProblem& problem : problems) {
                std::optional<TWrittenAnswer> answer = p == 0 ? TWrittenAnswer{problem.Answer, problem.Remainder}
                                                              : catalogue[p - 1].Answer(problem.First, problem.Second);
                if (answer && answer->Value >= 0 && random.Below(10) == 0) answer = Slipped(*answer, random), ++slips;
                answers.push_back(answer);
            }
            const std::string said = Diagnose(operation, problems, answers).Procedure;
            // A pupil who calculates right is told so with one slip at most;
            // with more, the program does not judge (and lists them).
            const std::string truth = p == 0 ? (slips <= 1 ? "correct" : "undecided") : catalogue[p - 1].Id;
            (said == truth ? tally.Right : said == "undecided" ? tally.Undecided : tally.Wrong)++;
        }
}

// The window's settings for ordinary sheets of `places` digits over
// `secondPlaces` (leading digits not 0) with pattern `pattern`.
TWorksheetSettings Ordinary(TOperation operation, int places, int secondPlaces, int32_t pattern)
{
    TWorksheetSettings s;
    s.Operation = operation;
    std::string* high[] = {&s.u1h, &s.u2h, &s.u3h, &s.u4h, &s.d1h, &s.d2h, &s.d3h, &s.d4h};
    std::string* low[] = {&s.u1l, &s.u2l, &s.u3l, &s.u4l, &s.d1l, &s.d2l, &s.d3l, &s.d4l};
    for (int k = 0; k < places; ++k) *high[k] = "9";
    for (int k = 0; k < secondPlaces; ++k) *high[4 + k] = "9";
    *low[places - 1] = *low[4 + secondPlaces - 1] = "1";
    s.AnsLow = "1";
    s.AnsHigh = "999999";
    s.Kuriagari = pattern;
    return s;
}

}  // namespace

// The sheet the search finds: twelve distinct problems of the ranges, every
// procedure wrong on three or more, any two apart on three or more; for
// every operation on its default ranges.
TEST(DiagnosticSheet, EveryOperationTellsEveryProcedureApart)
{
    for (const TOperation operation : {TOperation::Subtraction, TOperation::Addition, TOperation::Multiplication, TOperation::Division})
        for (uint32_t seed : {1u, 2u, 3u}) {
            TRandom random{seed};
            const TDiagnosticSheet sheet = FindDiagnosticSheet(operation, DefaultDiagnosticRanges(operation), random);
            ASSERT_EQ(sheet.Problems.size(), 12u);
            EXPECT_TRUE(sheet.TooClose.empty()) << sheet.TooClose.front().first << " ~ " << sheet.TooClose.front().second;
            std::set<std::pair<int32_t, int32_t>> distinct;
            for (const TSheetProblem& p : sheet.Problems) {
                EXPECT_TRUE(distinct.insert({p.First, p.Second}).second);
                EXPECT_EQ(p, RulesOf(operation).Solve(p.First, p.Second));
                if (operation == TOperation::Subtraction) {
                    EXPECT_TRUE(p.First >= 100 && p.First <= 9999 && p.Second >= 100 && p.Second <= 999 && p.First > p.Second);
                }
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
    std::vector<std::optional<TWrittenAnswer>> right, wrong, blank(12);
    for (const TSheetProblem& p : problems) {
        right.push_back(p.Answer);
        wrong.push_back(WrongProcedures(TOperation::Subtraction)[3].Answer(p.First, p.Second));
    }
    EXPECT_EQ(Diagnose(TOperation::Subtraction, problems, right).Name, "正しくできています");
    const TDiagnosis bug = Diagnose(TOperation::Subtraction, problems, wrong);
    EXPECT_EQ(bug.Procedure, "borrow-across-zero");
    // Every answer the procedure leaves the pupil with (none where it leaves none).
    EXPECT_EQ(bug.Explained, std::count_if(wrong.begin(), wrong.end(), [](const auto& a) { return a.has_value(); }));
    EXPECT_GE(bug.Explained, 9);
    EXPECT_TRUE(bug.NotFitting.empty());
    EXPECT_EQ(Diagnose(TOperation::Subtraction, problems, blank).Procedure, "undecided");
    const size_t at = static_cast<size_t>(std::find_if(wrong.begin(), wrong.end(), [](const auto& a) { return a.has_value(); }) - wrong.begin());
    wrong[at] = 1;  // a slip: explained by nothing
    EXPECT_EQ(Diagnose(TOperation::Subtraction, problems, wrong).NotFitting, std::vector<int32_t>{static_cast<int32_t>(at + 1)});
    // Right but for slips that no procedure gives: one is a slip, five are
    // not 正しくできています — undecided, the wrong ones listed.
    for (const size_t slips : {1u, 2u, 5u}) {
        std::vector<std::optional<TWrittenAnswer>> slipped = right;
        std::vector<int32_t> wrongOnes;
        for (size_t k = 0; k < slips; ++k) {
            slipped[2 * k] = 1;
            wrongOnes.push_back(static_cast<int32_t>(2 * k + 1));
        }
        const TDiagnosis read = Diagnose(TOperation::Subtraction, problems, slipped);
        EXPECT_EQ(read.Procedure, slips == 1 ? "correct" : "undecided") << slips;
        EXPECT_EQ(read.NotFitting, wrongOnes) << slips;
        if (slips == 5) {
            const std::string text = DiagnosisText(TOperation::Subtraction, problems, read);
            EXPECT_NE(text.find("判定できません"), std::string::npos) << text;
            EXPECT_NE(text.find("正しくない答え：1問目"), std::string::npos) << text;
            EXPECT_EQ(text.find("正しくできています"), std::string::npos) << text;
        }
    }
    // Answers as a teacher types them.
    const struct {
        const char* Text;
        std::optional<TWrittenAnswer> Read;
    } typed[] = {{"207", TWrittenAnswer{207}}, {"２０７", TWrittenAnswer{207}}, {"21あまり1", TWrittenAnswer{21, 1}},
                 {"21 r 1", TWrittenAnswer{21, 1}}, {"21R1", TWrittenAnswer{21, 1}}, {"", std::nullopt}, {"x", std::nullopt},
                 {"-3", std::nullopt}, {"21あまり", std::nullopt}, {"1e3", std::nullopt}, {"9999999999999", std::nullopt}};
    for (const auto& t : typed) EXPECT_EQ(ParseWrittenAnswer(t.Text), t.Read) << t.Text;
}

// Simulated pupils, 10 % of answers slipped: on 20 diagnostic sheets the
// procedure is named right at least 99 % of the time and wrong at most
// 0.5 %; random sheets of the ordinary patterns of the same sizes beside
// them, with the same pupils.
TEST(DiagnosticSheet, SimulatedPupilsAreNamed)
{
    const struct {
        TOperation Operation;
        const char* Name;
        int Places, SecondPlaces;  // of the ordinary sheets
        int Pupils;                // following each procedure, per sheet
    } operations[] = {
        {TOperation::Subtraction, "subtraction", 3, 3, 20},
        {TOperation::Addition, "addition", 3, 3, 20},
        {TOperation::Multiplication, "multiplication", 3, 2, 20},
        {TOperation::Division, "division", 3, 2, 20},
    };
    for (const auto& o : operations) {
        TTally diagnostic, ordinary;
        TRandom pupils{2026};
        const int32_t patterns = static_cast<int32_t>(RulesOf(o.Operation).PatternLabels.size());
        for (uint32_t seed = 1; seed <= 20; ++seed) {
            TRandom random{seed};
            Simulate(o.Operation, FindDiagnosticSheet(o.Operation, DefaultDiagnosticRanges(o.Operation), random).Problems,
                     o.Pupils, pupils, diagnostic);
            TRandom draw{seed};
            try {
                const auto settings = Ordinary(o.Operation, o.Places, o.SecondPlaces, static_cast<int32_t>(seed) % patterns);
                Simulate(o.Operation, GenerateSheet(settings, 1, draw).Problems, o.Pupils, pupils, ordinary);
            } catch (const std::exception&) {
                // a pattern these sizes cannot give: no ordinary sheet of it
            }
        }
        std::printf("%s, %d pupils: diagnostic sheets %.1f %% named right, %.2f %% wrong, %.1f %% undecided; "
                    "ordinary sheets (%d pupils) %.1f %% right, %.2f %% wrong, %.1f %% undecided\n",
                    o.Name, diagnostic.Total(), diagnostic.Share(diagnostic.Right), diagnostic.Share(diagnostic.Wrong),
                    diagnostic.Share(diagnostic.Undecided), ordinary.Total(), ordinary.Share(ordinary.Right),
                    ordinary.Share(ordinary.Wrong), ordinary.Share(ordinary.Undecided));
        EXPECT_GE(diagnostic.Share(diagnostic.Right), 99.0) << o.Name;
        EXPECT_LE(diagnostic.Share(diagnostic.Wrong), 0.5) << o.Name;
        EXPECT_GT(diagnostic.Share(diagnostic.Right), ordinary.Share(ordinary.Right)) << o.Name;
    }
}

// The key of 302−158: each wrong answer once, with the letters of every
// procedure that gives it; and a set of sheets, each its own, numbered on
// past the largest number.
TEST(DiagnosticSheet, KeyAndSet)
{
    const std::vector<TKeyEntry> key = DiagnosticKey(TOperation::Subtraction, {302, 158, 144, 0});
    std::map<int64_t, std::string> letters;
    for (const TKeyEntry& e : key) EXPECT_TRUE(letters.emplace(e.Answer.Value, e.Letters).second) << e.Answer.Value;
    EXPECT_EQ(letters.count(144), 0u);
    EXPECT_EQ(letters[256], "ア");    // smaller-from-larger
    EXPECT_EQ(letters[54], "エ・サ");  // borrow-across-zero, always-borrow-left, apart
    EXPECT_EQ(letters[156], "ス");    // smaller-from-larger-instead-of-borrow-from-zero

    TWorksheetSettings settings;
    settings.Operation = TOperation::Division;
    settings.CellMM = 12;
    settings.Amari = 1;
    TRandom random{3};
    const TDiagnosticSet set = MakeDiagnosticSheets(settings, DefaultDiagnosticRanges(TOperation::Division), INT32_MAX, 3, random);
    ASSERT_EQ(set.Sheets.size(), 3u);
    EXPECT_TRUE(set.TooClose.empty());
    const int32_t numbers[] = {INT32_MAX, INT32_MIN, INT32_MIN + 1};
    for (size_t k = 0; k < 3; ++k) {
        const TSheet& sheet = set.Sheets[k];
        EXPECT_EQ(sheet.Number, numbers[k]);
        EXPECT_TRUE(sheet.Diagnostic);
        EXPECT_EQ(sheet.Settings.CellMM, settings.CellMM);
        EXPECT_EQ(sheet.Place, static_cast<int32_t>(k));
        EXPECT_EQ(sheet.Settings.Amari, 0);
        EXPECT_EQ(sheet.ProblemsOnPage(), 12u);
        if (k > 0) {
            EXPECT_NE(sheet.Problems, set.Sheets[k - 1].Problems);
        }
    }
    EXPECT_EQ(TooCloseMessage(TOperation::Division, {}), "");
    EXPECT_NE(TooCloseMessage(TOperation::Division, {{"correct", "quotient-zero-dropped"}}).find("・「正しい計算」、「商に立つ0を書いていない」"),
              std::string::npos);
}
