// The sheet's code: Reed–Solomon puts right what it promises, a recipe comes
// back from its bytes and its modules as it went in, and damage beyond the
// code's reach is refused rather than misread.
#include <gtest/gtest.h>

#include <random>

#include "recipe/reed_solomon.h"
#include "recipe/sheet_recipe.h"

namespace {

std::vector<uint8_t> Block(std::mt19937& random, size_t size)
{
    std::vector<uint8_t> data(size);
    for (uint8_t& b : data) b = static_cast<uint8_t>(random());
    return data;
}

TSheetRecipe Recipe(TOperation operation, bool diagnostic, int32_t number, uint64_t seed)
{
    TSheetRecipe r;
    r.Settings.Operation = operation;
    r.Settings.QstSentence.clear();
    r.Settings.PrnNum.clear();
    r.Settings.u1h = "9", r.Settings.u2h = "9", r.Settings.u3l = "1", r.Settings.u3h = "9", r.Settings.d1l = "2";
    r.Settings.d1h = "9", r.Settings.AnsHigh = "99999", r.Settings.AnsLow = "-5";
    r.Settings.CellMM = 12, r.Settings.Problems = 9, r.Settings.Kuriagari = kmTensCarry, r.Settings.Amari = 2;
    r.Settings.CarryMarks = true;
    r.Settings.DigitFont = "Klee One";
    r.Paper = "B5";
    r.Seed = seed;
    r.Number = number;
    r.Place = 34;
    r.Diagnostic = diagnostic;
    r.Roll = 35;
    r.ProblemsCheck = 0xBEEF;
    return r;
}

}  // namespace

TEST(ReedSolomon, PutsRightUpToHalfItsParityAndNoMore)
{
    std::mt19937 random(7);
    for (const int errors : {0, 1, 5, 10}) {
        for (int trial = 0; trial < 50; ++trial) {
            const std::vector<uint8_t> data = Block(random, 40);
            std::vector<uint8_t> block = data;
            const std::vector<uint8_t> parity = ReedSolomonParity(data, 20);
            block.insert(block.end(), parity.begin(), parity.end());
            const std::vector<uint8_t> sent = block;
            std::vector<size_t> places(block.size());
            for (size_t i = 0; i < places.size(); ++i) places[i] = i;
            std::shuffle(places.begin(), places.end(), random);
            for (int e = 0; e < errors; ++e) block[places[static_cast<size_t>(e)]] ^= static_cast<uint8_t>(1 + random() % 255);
            const auto corrected = ReedSolomonCorrect(block, 20);
            ASSERT_TRUE(corrected) << errors << " errors";
            EXPECT_EQ(*corrected, sent);
        }
    }
    // Far more errors than it can put right: refused, never "corrected" into
    // another block that checks (in practice).
    int refused = 0;
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<uint8_t> block = Block(random, 60);
        if (!ReedSolomonCorrect(block, 20)) ++refused;
    }
    EXPECT_GE(refused, 199);
}

TEST(SheetRecipe, ComesBackFromItsBytesAndItsCode)
{
    const TSheetRecipe recipes[] = {
        Recipe(TOperation::Division, false, 7, 20261207u),
        Recipe(TOperation::Subtraction, true, -kMostRecipeNumber, ~uint64_t{0}),
        Recipe(TOperation::Multiplication, false, kMostRecipeNumber, 0),
        [] {
            TSheetRecipe r = Recipe(TOperation::Division, false, 12, 5);
            r.Kind = TPageKind::Answers;
            return r;
        }(),
        [] {
            TSheetRecipe r = Recipe(TOperation::Subtraction, true, 12, 5);
            r.Kind = TPageKind::Key;
            return r;
        }(),
        // Each operation with decimals, its places' boxes and its six
        // patterns, at the code's widest numbers.
        [] {
            TSheetRecipe r = Recipe(TOperation::DecimalDivision, true, -kMostRecipeNumber, ~uint64_t{0});
            r.Settings.u01l = "1", r.Settings.u01h = "9", r.Settings.d001h = "9", r.Settings.u0001h = "15";
            r.Settings.Kuriagari = kmAny;  // worked to the end: every answer in its cells
            return r;
        }(),
        [] {
            TSheetRecipe r = Recipe(TOperation::DecimalMultiplication, false, kMostRecipeNumber, 1);
            r.Settings.d01l = "2", r.Settings.d01h = "8", r.Place = kMostRecipeRoll - 1, r.Roll = kMostRecipeRoll;
            r.Settings.Kuriagari = kmTensSum2;
            return r;
        }(),
        Recipe(TOperation::DecimalAddition, false, 1, 2),
        // A pupil's follow-up sheet, for a wrong procedure and for none.
        [] {
            TSheetRecipe r = Recipe(TOperation::Subtraction, false, 9, 3);
            r.FollowUp = 2;
            return r;
        }(),
        [] {
            TSheetRecipe r = Recipe(TOperation::DecimalMultiplication, false, 9, 3);
            r.FollowUp = 0;
            return r;
        }(),
        [] {
            TSheetRecipe r = Recipe(TOperation::DecimalSubtraction, false, 1, 2);
            r.Kind = TPageKind::Answers;
            return r;
        }(),
        // Digit boxes beyond 0 to 15 go as numbers of their own.
        [] {
            TSheetRecipe r = Recipe(TOperation::Addition, false, 3, 1);
            r.Settings.u2h = "-3", r.Settings.d4h = "16";
            return r;
        }(),
    };
    for (const TSheetRecipe& recipe : recipes) {
        const auto bytes = RecipeBytes(recipe);
        ASSERT_TRUE(bytes);
        EXPECT_LE(bytes->size(), kRecipeBytes);
        EXPECT_EQ(RecipeFromBytes(*bytes), recipe);
        const auto modules = CodeModules(recipe);
        ASSERT_TRUE(modules);
        EXPECT_EQ(RecipeFromModules(*modules), recipe);
    }
}

TEST(SheetRecipe, AFieldNoPrintedSheetHasGetsNoCodeAndIsNeverRead)
{
    // Decimals' boxes beyond 0 to 15 take more than the code holds.
    TSheetRecipe wide = Recipe(TOperation::DecimalSubtraction, false, 1, 2);
    wide.Settings.u001h = "-1";
    EXPECT_FALSE(RecipeBytes(wide));

    struct TCase {
        const char* What;
        void (*Change)(TSheetRecipe&);
    };
    const TCase cases[] = {
        {"標準 (no cells)", [](TSheetRecipe& r) { r.Settings.CellMM = 0; }},
        {"cells too large", [](TSheetRecipe& r) { r.Settings.CellMM = kLargestCellMM + 1; }},
        {"あまり pattern 3", [](TSheetRecipe& r) { r.Settings.Amari = 3; }},
        {"pattern 6", [](TSheetRecipe& r) { r.Settings.Kuriagari = 6; }},
        {"problems -1", [](TSheetRecipe& r) { r.Settings.Problems = -1; }},
        {"too many problems", [](TSheetRecipe& r) { r.Settings.Problems = kMostRecipeProblems + 1; }},
        {"出席番号 2147483647", [](TSheetRecipe& r) { r.Roll = 2147483647; }},
        {"出席番号 100", [](TSheetRecipe& r) { r.Roll = kMostRecipeRoll + 1; }},
        {"sheet No. -2147483648", [](TSheetRecipe& r) { r.Number = -2147483647 - 1; }},
        {"sheet No. -1000000", [](TSheetRecipe& r) { r.Number = -kMostRecipeNumber - 1; }},
        {"place 99", [](TSheetRecipe& r) { r.Place = kMostRecipeRoll; }},
        {"a follow-up for a procedure the operation has not", [](TSheetRecipe& r) { r.FollowUp = 99; }},
        {"a diagnostic follow-up", [](TSheetRecipe& r) {
             r.Diagnostic = true;
             r.FollowUp = 1;
         }},
        {"a decimal division's remainder beside its cells", [](TSheetRecipe& r) {
             r.Settings.Operation = TOperation::DecimalDivision;
             r.Settings.Kuriagari = 1;
         }},
        {"a decimal division rounded", [](TSheetRecipe& r) {
             r.Settings.Operation = TOperation::DecimalDivision;
             r.Settings.Kuriagari = 5;
         }},
    };
    for (const TCase& c : cases) {
        TSheetRecipe recipe = Recipe(TOperation::Division, false, 7, 11u);
        ASSERT_TRUE(RecipeBytes(recipe));
        c.Change(recipe);
        EXPECT_FALSE(IsRecipeInRange(recipe)) << c.What;
        EXPECT_FALSE(RecipeBytes(recipe)) << c.What;
        EXPECT_FALSE(CodeModules(recipe)) << c.What;
    }
}

TEST(SheetRecipe, AFieldChangedInAValidCodeNoLongerChecks)
{
    // A forger (or a misread module that Reed–Solomon put "right") changes
    // one field and keeps the code well formed: the problems' check, which
    // covers every byte, no longer matches.
    const TSheetRecipe recipe = Recipe(TOperation::Multiplication, false, 40, 77u);
    const std::vector<uint8_t> bytes = *RecipeBytes(recipe);
    for (size_t i = 1; i + 2 < bytes.size(); ++i) {
        std::vector<uint8_t> forged = bytes;
        forged[i] ^= 1;
        const std::optional<TSheetRecipe> read = RecipeFromBytes(forged);
        if (read) {
            EXPECT_NE(read->ProblemsCheck, recipe.ProblemsCheck) << "byte " << i;
        }
    }
    // An older code (version 2, problems' check alone, always a problem
    // sheet) is still read as it was printed.
    std::vector<uint8_t> older = bytes;
    older[0] = 2;
    const uint16_t problems = recipe.ProblemsCheck;
    older[older.size() - 2] = static_cast<uint8_t>(problems), older.back() = static_cast<uint8_t>(problems >> 8);
    const std::optional<TSheetRecipe> read = RecipeFromBytes(older);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, recipe);
    // A version 2 code cannot say it is an answer page.
    older[0] = 2 | 1 << 4;
    EXPECT_FALSE(RecipeFromBytes(older));
}

TEST(SheetRecipe, ACodeWithSpecksIsReadAndOneTornAwayIsRefused)
{
    const TSheetRecipe recipe = Recipe(TOperation::Division, true, 12, 99u);
    std::vector<bool> modules = *CodeModules(recipe);
    std::mt19937 random(3);
    // Specks: ten modules flipped here and there.
    for (int i = 0; i < 10; ++i) {
        const size_t at = random() % modules.size();
        modules[at] = !modules[at];
    }
    EXPECT_EQ(RecipeFromModules(modules), recipe);
    // A third of the code gone white.
    for (size_t i = modules.size() / 3; i < 2 * modules.size() / 3; ++i) modules[i] = false;
    EXPECT_FALSE(RecipeFromModules(modules));
    EXPECT_FALSE(RecipeFromModules(std::vector<bool>(modules.size(), false)));
    EXPECT_FALSE(RecipeFromModules({}));
}

TEST(SheetRecipe, SheetsWithoutASeedOrWithTextsHaveNone)
{
    TSheet sheet;
    sheet.Settings.u1h = "9";
    sheet.Settings.CellMM = 12;
    EXPECT_FALSE(RecipeOf(sheet, "A4"));
    sheet.Seed = 5;
    EXPECT_TRUE(RecipeOf(sheet, "A4"));
    EXPECT_FALSE(RecipeOf(sheet, "Letter"));
    sheet.Settings.u2l = "にじゅう";
    EXPECT_FALSE(RecipeOf(sheet, "A4"));
    sheet.Settings.u2l = "３";  // a full-width digit is not a number to TextToInt
    EXPECT_FALSE(RecipeOf(sheet, "A4"));
}
