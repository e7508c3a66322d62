// The requests every front end asks: what the teacher types read one way,
// and the sheets they make.
#include <gtest/gtest.h>

#include <functional>

#include "errors/errors.h"
#include "requests/requests.h"
#include "sheets/presets.h"
#include "worksheet/lcg.h"
#include "worksheet/operations.h"
#include "worksheet/sheet_generator.h"
#include "worksheet/wrong_procedures.h"

namespace {

std::string Refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ERefused& e) {
        return e.what();
    }
    return "(taken)";
}

}  // namespace

// Seeds as the teacher types them: decimal digits, full-width too; anything
// else is refused with one message.
TEST(Requests, SeedsAreReadOneWay)
{
    const std::pair<const char*, uint64_t> taken[] = {
        {"0", 0}, {"123", 123}, {"１２３", 123}, {" 42 ", 42}, {"18446744073709551615", UINT64_MAX}, {"-1", UINT64_MAX},
        {"－２", UINT64_MAX - 1}, {"-9223372036854775808", uint64_t{1} << 63},
    };
    for (const auto& [text, seed] : taken) EXPECT_EQ(ReadSeed(text), seed) << text;
    for (const char* text : {"abc", "0x10", "1e99", "18446744073709551616", "99999999999999999999", "1.5", "", "-", "12a",
                             "-9223372036854775809", "+5"})
        EXPECT_EQ(Refusal([&] { ReadSeed(text); }),
                  std::string("乱数のもと「") + text + "」は、0～18446744073709551615 の整数ではありません。")
            << text;
    EXPECT_NE(SeedToUse(""), SeedToUse(" "));  // fresh each time (a 2⁻⁶⁴ chance of a tie)
    EXPECT_EQ(SeedToUse("７"), 7u);
}

TEST(Requests, SheetCountsAreOneToNinetyNine)
{
    for (const auto& [text, count] : std::vector<std::pair<std::string, int32_t>>{{"1", 1}, {"99", 99}, {"０７", 7}, {"30", 30}})
        EXPECT_EQ(ReadSheetCount(text), count) << text;
    for (const char* text : {"0", "100", "-1", "x10", "", "1e2"})
        EXPECT_EQ(Refusal([&] { ReadSheetCount(text); }), std::string("枚数「") + text + "」は 1～99 の整数ではありません。") << text;
    TWorksheetSettings settings;
    EXPECT_EQ(Refusal([&] { MakeClassSetOf(settings, 100, 1, 1); }), "枚数「100」は 1～99 の整数ではありません。");
}

// A preview is the first sheet of a class set of the same seed: the window,
// the page and the command line make one sheet from one seed.
TEST(Requests, APreviewIsTheSeedsFirstSheet)
{
    for (const TPreset& preset : Presets()) {
        TWorksheetSettings settings;
        ApplyNamed(PresetFor(preset, "A4"), settings);
        settings.PrnNum = "41";
        const TPreview preview = MakePreview(settings, 99, "A4");
        const TClassSet set = MakeClassSetOf(settings, 1, 41, 99);
        EXPECT_EQ(preview.Sheet.Problems, set.Sheets.front().Problems) << preset.Name;
        EXPECT_EQ(preview.Sheet.Number, 41);
        EXPECT_EQ(preview.Sheet.Seed, std::optional<uint64_t>(99));
    }
    TWorksheetSettings none;  // 0 × 0: one problem, no sheet
    const TPreview one = MakePreview(none, 1, "A4");
    EXPECT_TRUE(one.Short && !one.Printable);
    EXPECT_EQ(one.Sheet.Problems.size(), 1u);
}

TEST(Requests, NotesAfterAClassSet)
{
    TClassSet set;
    set.Requested = 16;
    set.ShortSheets = {3, 5};
    set.Sheets.resize(2);
    set.Sheets[0].Number = 2147483647;
    set.Sheets[1].Number = -2147483648;
    EXPECT_EQ(ClassSetNotes(set), (std::vector<std::string>{"No.3、No.5 は、問題が 16 問そろいませんでした。",
                                                            "プリント番号が 2147483647 をこえたので、そのあとは -2147483648 から続けました。"}));
}

// A sheet comes back from its code alone: a class set's sheet at its place,
// and a diagnostic sheet of every operation, whether the window's digit
// boxes were of its operation or of another.
TEST(Requests, EverySheetComesBackFromItsRecipe)
{
    std::vector<TSheet> sheets;
    TWorksheetSettings drill;
    drill.u2l = "1", drill.u2h = "9", drill.d1l = "2", drill.d1h = "9", drill.AnsHigh = "99999";
    drill.CellMM = 12;
    drill.Problems = 6;
    sheets.push_back(MakeClassSetOf(drill, 3, 40, 11u).Sheets.back());
    // A sheet of decimals, its places among its settings.
    TWorksheetSettings decimals = drill;
    decimals.Operation = TOperation::DecimalMultiplication;
    decimals.u01l = "1", decimals.u01h = "9", decimals.d01l = "1", decimals.d01h = "9";
    sheets.push_back(MakeClassSetOf(decimals, 2, 7, 13u).Sheets.back());
    // Pupils' follow-up sheets: one for a wrong procedure, one for every answer right.
    for (const int32_t procedure : {1, 0}) {
        const TSheet followUp = MakeFollowUpOf(drill, procedure, 41, 77u, 3 + procedure, 4);
        EXPECT_EQ(followUp.Purposes.size(), followUp.Problems.size());
        sheets.push_back(followUp);
    }
    for (const TOperationRules& rules : Operations()) {
        TWorksheetSettings other;
        other.Operation = rules.Operation == TOperation::Addition ? TOperation::Subtraction : TOperation::Addition;
        other.CellMM = 8;
        const TSheet diagnostic = MakeDiagnosticOf(other, rules.Operation, 2, -1, 12345u).Sheets.back();
        // A decimal division's remainders are written beside its cells: no recipe.
        EXPECT_EQ(CarriesRecipe(diagnostic.Settings), rules.Operation != TOperation::DecimalDivision) << rules.Key;
        if (CarriesRecipe(diagnostic.Settings)) sheets.push_back(diagnostic);
    }
    for (const TSheet& sheet : sheets) {
        const std::optional<TSheetRecipe> recipe = RecipeOf(sheet, "A4");
        ASSERT_TRUE(recipe) << RulesOf(sheet.Settings.Operation).Key;
        const TSheet again = SheetOfRecipe(*RecipeFromBytes(*RecipeBytes(*recipe)));
        EXPECT_EQ(again.Problems, sheet.Problems) << RulesOf(sheet.Settings.Operation).Key;
        EXPECT_EQ(again.Number, sheet.Number);
        EXPECT_EQ(again.Diagnostic, sheet.Diagnostic);
        EXPECT_EQ(again.FollowUp, sheet.FollowUp);
        EXPECT_EQ(again.Purposes, sheet.Purposes);
        EXPECT_EQ(again.Roll, sheet.Roll);
    }
    // A recipe whose problems check does not match is refused, not guessed.
    TSheetRecipe wrong = *RecipeOf(sheets.front(), "A4");
    wrong.ProblemsCheck ^= 1;
    EXPECT_THROW(SheetOfRecipe(wrong), ERefused);
}

// A class's next sheets: each pupil's the kind their answers call for, on
// the paper in the largest cells that hold it, numbered on, and the same
// again from the same seed.
TEST(Requests, EachPupilsNextSheetFitsItsPaper)
{
    struct TCase {
        const char* Preset;
        std::function<std::optional<TWrittenAnswer>(const TSheetProblem&)> Writes;
        bool Diagnostic;
        int32_t LeastCell, MostCell;  // where its problems may stand
        bool Twelve;                  // all twelve problems
    };
    const TCase cases[] = {
        {"3けた−3けた（くり下がり2回）", [](const TSheetProblem& p) { return EveryAnswer(TOperation::Subtraction, p)[0]; }, false, 10, 10, true},
        {"3けた−3けた（くり下がり2回）", [](const TSheetProblem& p) { return EveryAnswer(TOperation::Subtraction, p)[1]; }, false, 10, 10, true},
        {"3けた−3けた（くり下がり2回）", [](const TSheetProblem&) { return std::nullopt; }, true, 8, 10, true},
        // A division's working is tall: fewer problems, a diagnostic sheet in 標準.
        {"3けた÷1けた（商に0が立つ）", [](const TSheetProblem& p) { return EveryAnswer(TOperation::Division, p)[1]; }, false, 8, 10, false},
        {"3けた÷1けた（商に0が立つ）", [](const TSheetProblem&) { return std::nullopt; }, true, 0, 0, true},
    };
    std::vector<TPupilWork> pupils;
    for (const TCase& c : cases) {
        TWorksheetSettings settings;
        ApplyNamed(PresetFor(*FindPreset(c.Preset), "A4"), settings);
        TPupilWork pupil;
        pupil.Sheet = MakeClassSetOf(settings, 1, 1, 3u).Sheets.front();
        pupil.Roll = static_cast<int32_t>(pupils.size()) + 1;
        for (const TSheetProblem& p : pupil.Sheet.Problems) pupil.Answers.push_back(c.Writes(p));
        pupils.push_back(pupil);
    }
    const std::vector<TSheet> sheets = MakeFollowUpsOf(pupils, 30, 8u, "A4");
    ASSERT_EQ(sheets.size(), pupils.size());
    for (size_t i = 0; i < sheets.size(); ++i) {
        const TCase& c = cases[i];
        const TSheet& s = sheets[i];
        EXPECT_EQ(s.Number, 30 + static_cast<int32_t>(i));
        EXPECT_EQ(s.Roll, static_cast<int32_t>(i) + 1);
        EXPECT_EQ(s.Diagnostic, c.Diagnostic) << i;
        EXPECT_EQ(s.FollowUp.has_value(), !c.Diagnostic) << i;
        EXPECT_GE(s.Settings.CellMM, c.LeastCell) << i;
        EXPECT_LE(s.Settings.CellMM, c.MostCell) << i;
        EXPECT_EQ(s.Problems.size() == 12, c.Twelve) << i << ": " << s.Problems.size();
        // Made again from its code where it carries one.
        if (const std::optional<TSheetRecipe> recipe = RecipeOf(s, "A4")) {
            EXPECT_EQ(SheetOfRecipe(*recipe).Problems, s.Problems) << i;
        } else {
            EXPECT_EQ(s.Settings.CellMM, 0) << i;
        }
    }
    EXPECT_EQ(MakeFollowUpsOf(pupils, 30, 8u, "A4")[1].Problems, sheets[1].Problems);
    EXPECT_EQ(Refusal([&] { MakeFollowUpsOf(std::vector<TPupilWork>(100, pupils[0]), 1, 8u, "A4"); }),
              "次のプリントは一度に 99 人分までです（読み取りを分けてください）");
}
