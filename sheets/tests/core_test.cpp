// The core of the sheets without Qt: settings files, the built-in presets,
// class sets and the CSV.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>

#include "errors/errors.h"
#include "recording_canvas.h"
#include "render/page_layout.h"
#include "render/paper_size.h"
#include "sheets/class_set.h"
#include "sheets/presets.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_csv.h"
#include "sheets/sheet_output.h"
#include "test_support.h"
#include "worksheet/decimal.h"
#include "worksheet/multiplication.h"
#include "worksheet/sheet_generator.h"
#include "worksheet/operations.h"
#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/settings_fields.h"

namespace fs = std::filesystem;

namespace {

std::string Refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EFileError& e) {
        return e.what();
    }
    return "(accepted)";
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(SettingsFile, RoundTrip)
{
    TWorksheetSettings settings;
    settings.u1l = "7";
    settings.u3h = "5";
    settings.AnsHigh = "$10";
    settings.QstSentence = "\"ていねいに\" \\ 書こう\t";
    settings.PrnNum = "-3";
    settings.Kuriagari = kmTensSum2;
    settings.QNumPattern = 1;
    settings.Waku = 1;
    settings.Operation = TOperation::Subtraction;
    settings.CarryMarks = true;
    settings.CellMM = 12;
    settings.Problems = 9;
    settings.DigitFont = "Klee One";
    const std::string text = SettingsFileText(settings);
    EXPECT_EQ(text.rfind("{\n  \"format\": \"tavelin-settings\",\n  \"version\": 4,\n  \"operation\": \"subtraction\",\n  \"u1l\": \"7\"", 0), 0u);
    const TSettingsFile file = ParseSettingsFile(text);
    // Every box, choice and flag, the operation and the three of the layout.
    EXPECT_EQ(file.Named.size(), TextFields().size() + ChoiceFields().size() + FlagFields().size() + 1 + 3);
    TWorksheetSettings back;
    ApplyNamed(file, back);
    EXPECT_EQ(back.Operation, TOperation::Subtraction);
    EXPECT_TRUE(back.CarryMarks);
    for (const TTextField& field : TextFields()) EXPECT_EQ(back.*field.Member, settings.*field.Member);
    for (const TChoiceField& field : ChoiceFields()) EXPECT_EQ(back.*field.Member, settings.*field.Member);
    EXPECT_TRUE(back.CellMM == 12 && back.Problems == 9 && back.DigitFont == "Klee One");
    EXPECT_EQ(RequestedCount(back), 9);
}

TEST(SettingsFile, NamesOnlyWhatItHolds)
{
    const TSettingsFile file = ParseSettingsFile(
        R"({"format": "tavelin-settings", "version": 1, "u2h": 5, "AnsHigh": 99999, "rgWaku": 1, "comment": "x"})");
    // A first-version file is a multiplication without marks, in 標準.
    std::set<std::string> named{"u2h", "AnsHigh", "rgWaku", "operation", "CarryMarks", "CellMM"};
    // Its numbers are whole: every decimal place holds 0.
    for (const TTextField& field : TextFields())
        if (IsDecimalPlaceField(field)) named.insert(field.Name);
    EXPECT_EQ(file.Named, named);
    TWorksheetSettings target;
    target.PrnNum = "12";
    ApplyNamed(file, target);
    EXPECT_EQ(target.u2h, "5");
    EXPECT_EQ(target.AnsHigh, "99999");
    EXPECT_EQ(target.Waku, 1);
    EXPECT_EQ(target.PrnNum, "12");
}

TEST(SettingsFile, Refusals)
{
    const std::string head = R"({"format": "tavelin-settings", "version": 1, )";
    const std::pair<std::string, std::string> cases[] = {
        {"{\n\"format\": \"tavelin-settings\",\n\"u1l\" \"1\"\n}", "3 行目"},
        {"[1, 2]", "ひとつのまとまりではありません"},
        {R"({"format": "other", "version": 1})", "設定ファイルではありません"},
        {R"({"version": 1})", "設定ファイルではありません"},
        {R"({"format": "tavelin-settings", "version": 5})", "version 5"},
        // Decimals came with the fourth version: an older file naming one is not misread.
        {R"({"format": "tavelin-settings", "version": 3, "operation": "decimal-division"})", "小数の計算はありません"},
        {R"({"format": "tavelin-settings", "version": 4, "operation": "decimal-division", "u01l": "x"})", "「u01l」の値「x」は整数ではありません"},
        {head + R"("CellMM": 5})", "「CellMM」の値は 0（標準）か 7～20"},
        {head + R"("CellMM": 12.5})", "「CellMM」"},
        {head + R"("Problems": 10})", "「Problems」の値は 6、8、9、12、16 のどれか"},
        {head + R"("DigitFont": "Comic"})", "「DigitFont」"},
        {R"({"format": "tavelin-settings"})", "「version」"},
        {head + R"("u1l": "12"})", "「u1l」の値「12」は長すぎます（1 文字まで）"},
        {head + R"("AnsLow": "1234567890"})", "「AnsLow」"},
        {head + R"("QstSentence": true})", "「QstSentence」の値が文字列ではありません"},
        {head + R"("rgKuriagari": 6})", "「rgKuriagari」の値 6 は範囲外です（0～5）"},
        {head + R"("QNumPattern": -1})", "「QNumPattern」"},
        {head + R"("rgWaku": "1"})", "「rgWaku」の値が整数ではありません"},
        {head + R"("rgWaku": 0.5})", "「rgWaku」の値が整数ではありません"},
        {head + R"("operation": "plus"})", "「operation」"},
        {head + R"("operation": 1})", "「operation」"},
        {head + R"("CarryMarks": 1})", "「CarryMarks」"},
        {head + R"("operation": "division", "d3h": "1"})", "「d3h」"},
        {head + R"("rgAmari": 3})", "「rgAmari」"},
        // Out of any range: checked before it becomes a number.
        {head + R"("rgKuriagari": 1e300})", "「rgKuriagari」の値 1e+300 は範囲外です"},
        {R"({"format": "tavelin-settings", "version": 1e300})", "新しい版"},
        {head + R"("rgWaku": 3000000000})", "「rgWaku」の値 3000000000 は範囲外です"},
        {head + "\"QstSentence\": \"" + std::string(200000, 'a') + "\"}",
         "「QstSentence」の値「aaaaaaaaaaaaaaaaaaaa…」は長すぎます（32767 文字まで）"},
        {"{\"format\" \"tavelin-settings\"}", "名前のあとに「:」がありません"},
        {head + "\"QstSentence\": \"\xff\"}", "UTF-8"},
        // A number for a box that holds one: a whole number, or refused by name.
        {head + R"("PrnNum": 1e300})", "設定「PrnNum」の値 1e+300 は整数ではありません"},
        {head + R"("u1l": 2.5})", "設定「u1l」の値 2.5 は整数ではありません"},
        {std::string(2000, '[') + std::string(2000, ']'), "入れ子が深すぎます"},
        // A box that holds a number takes none but a number, said by its key.
        {head + R"("u1l": "x"})", "設定「u1l」の値「x」は整数ではありません"},
        {head + R"("AnsHigh": "abc"})", "設定「AnsHigh」の値「abc」は整数ではありません"},
        {head + R"("u1l": "９"})", "設定「u1l」の値「９」は整数ではありません"},
        {head + R"("PrnNum": "No.3"})", "設定「PrnNum」の値「No.3」は整数ではありません"},
        // A number too large to hold, a file cut short, an empty one.
        {head + R"("rgWaku": 1e400})", "大きすぎる数があります"},
        {head + R"("u1l": "1", "u1h": "9)", "1 行目が読めません（ファイルが途中で切れています）"},
        {head + R"("u1l": "1",)", "ファイルが途中で切れています"},
        {"  \n", "設定ファイルが空です"},
        // 6, 8 and 9 problems are of 大きなマス only.
        {R"({"format": "tavelin-settings", "version": 3, "CellMM": 0, "Problems": 6})", "「Problems」の値 6 は、大きなマス"},
    };
    for (const auto& [text, says] : cases) {
        const std::string message = Refusal([&] { ParseSettingsFile(text); });
        EXPECT_TRUE(Contains(message, says)) << text.substr(0, 80) << ": " << message;
    }
    // A whole number where a text goes is taken as its decimal text.
    TWorksheetSettings numbered;
    ApplyNamed(ParseSettingsFile(head + R"("PrnNum": 12, "QstSentence": 3.5})"), numbered);
    EXPECT_EQ(numbered.PrnNum, "12");
    EXPECT_EQ(numbered.QstSentence, "3.5");
    // An empty box holds 0, as the window's does.
    TWorksheetSettings empty;
    ApplyNamed(ParseSettingsFile(head + R"("u1l": "", "AnsHigh": ""})"), empty);
    EXPECT_EQ(empty.u1l, "0");
    EXPECT_EQ(empty.AnsHigh, "0");
}

// Only a plain file of a settings file's size is read: a pipe would wait for
// ever, a device would never end; a refusal names the file.
TEST(SettingsFile, ReadOnlyFromPlainFiles)
{
    const fs::path folder = fs::temp_directory_path() / ("tavelin-settings-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string fifo = (folder / "pipe").string(), big = (folder / "big.json").string();
    const std::string huge = (folder / "huge.json").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(big) << std::string(1024 * 1024 + 1, ' ');
    std::ofstream(huge) << R"({"format": "tavelin-settings", "version": 2, "PrnNum": 1e300})";
    const std::pair<std::string, std::string> cases[] = {
        {fifo, "ふつうのファイルではない"},
        {"/dev/zero", "ふつうのファイルではない"},
        {big, "大きすぎます（1 MB まで）"},
        {(folder / "none.json").string(), "ファイルやフォルダがありません"},
        {huge, "設定ファイル「" + huge + "」: 設定「PrnNum」の値 1e+300 は整数ではありません"},
    };
    for (const auto& [path, says] : cases) {
        const std::string message = Refusal([&] { ReadSettingsFile(path); });
        EXPECT_TRUE(Contains(message, says)) << path << ": " << message;
    }
    fs::remove_all(folder);
}

TEST(Presets, EveryPresetFillsAClassSetOfItsKind)
{
    // The name says the digit counts ("3けた＋3けた", "2けた・3けた×1けた",
    // "何十×1けた") and the pattern, in the words of its unit.
    const std::pair<const char*, int32_t> patterns[] = {
        {"なし", 1},          {"一の位から", 2},     {"一の位で", 2},          {"十の位", 3},
        {"2回", 4},           {"百の位へ", 4},       {"またくり上がり", 5},    {"1でまたくり上がる", 5},
        {"0をこえる", 5},     {"はじめの位から商が立つ", 1}, {"はじめの位に商が立たない", 2},
        {"商に0が立つ", 3},   {"仮商の修正なし", 4}, {"仮商の修正あり", 5},
    };
    const std::pair<const char*, int32_t> remainders[] = {{"あまりなし", 1}, {"あまりあり", 2}};
    const std::regex numbers("^(?:0のある)?(?:(\\d)けた(?:・(\\d)けた)?|(何十))(×|＋|−|÷)(?:(\\d)けた|(何十))");
    EXPECT_GE(Presets().size(), 8u + 8 + 12);
    std::set<std::string> names;
    for (const TPreset& preset : Presets()) {
        const std::string& name = preset.Name;
        SCOPED_TRACE(name);
        EXPECT_TRUE(names.insert(name).second);
        // Decimals are named by grade and unit (DecimalPresetsDrawWhatTheySay).
        if (RulesOf(preset.Settings.Values.Operation).Decimal()) continue;
        std::smatch match;
        ASSERT_TRUE(std::regex_search(name, match, numbers));
        int32_t pattern = 0, remainder = 0;
        std::string words = name;
        for (const auto& [said, r] : remainders)
            if (const size_t at = words.find(said); at != std::string::npos) remainder = r, words.erase(at, std::string(said).size());
        for (const auto& [said, p] : patterns)
            if (Contains(words, said)) pattern = p;
        const TWorksheetSettings& s = preset.Settings.Values;
        EXPECT_TRUE(s.Kuriagari == pattern && s.Amari == remainder);
        EXPECT_EQ(std::string(RulesOf(s.Operation).Sign), match[4].str());
        // Every digit box, the answer range, the pattern, the count, the
        // remainder, the operation, every condition on its problems (so none
        // is left from the preset chosen before) and the layout of its grade;
        // never the sentence, the number or the teacher's choice of marks.
        EXPECT_EQ(preset.Settings.Named.size(), 16u + 2 + 2 + 1 + 1 + 2 + 1);
        EXPECT_TRUE(preset.Settings.Named.count("PartialSumCarry"));
        for (const char* kept : {"QstSentence", "PrnNum", "CarryMarks"}) EXPECT_FALSE(preset.Settings.Named.count(kept));
        const std::set<int> firstDigits = match[3].str().empty()
                                              ? std::set<int>{std::stoi(match[1].str()), std::stoi(match[2].str().empty() ? match[1].str() : match[2].str())}
                                              : std::set<int>{2};
        const int secondDigits = match[6].str().empty() ? std::stoi(match[5].str()) : 2;
        const bool mayEndInZero = Contains(name, "何十") || Contains(name, "0");

        // A class set of 35 sheets: no short sheet, no two alike, and at
        // least 60 different problems.
        TRandom random{20261207u};
        const TClassSet set = MakeClassSet(s, 35, 1, random);
        EXPECT_TRUE(set.ShortSheets.empty());
        std::set<std::vector<std::pair<int32_t, int32_t>>> sheets;
        std::set<std::pair<int32_t, int32_t>> problems;
        int endingInZero = 0, all = 0;
        for (const TSheet& sheet : set.Sheets) {
            std::vector<std::pair<int32_t, int32_t>> pairs;
            for (const TSheetProblem& p : sheet.Problems) {
                SCOPED_TRACE(std::to_string(p.First) + ", " + std::to_string(p.Second));
                EXPECT_TRUE(firstDigits.count(static_cast<int>(std::to_string(p.First).size())));
                EXPECT_EQ(static_cast<int>(std::to_string(p.Second).size()), secondDigits);
                const bool meets = s.Operation == TOperation::Multiplication ? MeetsMode(pattern, p.First, p.Second)
                                   : s.Operation == TOperation::Addition ? MeetsAdditionPattern(pattern, p.First, p.Second)
                                   : s.Operation == TOperation::Subtraction
                                       ? MeetsSubtractionPattern(pattern, p.First, p.Second)
                                       : MeetsDivisionPattern(pattern, remainder, p.First, p.Second);
                EXPECT_TRUE(meets);
                if (Contains(name, "部分積のたし算でくり上がる")) {  // the two partial products, added
                    EXPECT_FALSE(MeetsAdditionPattern(1, p.First * (p.Second % 10), p.First * (p.Second / 10) * 10));
                }
                pairs.emplace_back(p.First, p.Second);
                problems.emplace(p.First, p.Second);
                endingInZero += p.First % 10 == 0;
                ++all;
            }
            sheets.insert(pairs);
        }
        EXPECT_EQ(sheets.size(), set.Sheets.size());
        EXPECT_GE(problems.size(), 60u);
        EXPECT_TRUE(mayEndInZero || endingInZero * 10 <= all);
    }
    EXPECT_EQ(FindPreset(Presets().back().Name), &Presets().back());
    EXPECT_EQ(FindPreset("ない"), nullptr);
    // Textbook units of every operation, the multiplication's new ones among them.
    std::map<TOperation, int> counts;
    for (const TPreset& preset : Presets()) ++counts[preset.Settings.Values.Operation];
    EXPECT_TRUE(counts[TOperation::Multiplication] >= 12 && counts[TOperation::Addition] >= 8 &&
                counts[TOperation::Subtraction] >= 8 && counts[TOperation::Division] >= 8);
    for (const char* name : {"何十×1けた", "0のある3けた×1けた", "2けた×2けた（部分積のたし算でくり上がる）",
                             "2けた＋2けた（くり上がりなし）", "3けた＋3けた（くり上がり2回）", "3けた−3けた（0をこえるくり下がり）",
                             "2けた÷1けた（あまりなし）", "3けた÷1けた（商に0が立つ）", "3けた÷2けた（仮商の修正あり）",
                             // as an input method types them
                             "３けた－３けた（０をこえるくり下がり）", "3けた-3けた(0をこえるくり下がり)",
                             "３けたー３けた（０をこえるくり下がり）", "3けたｰ3けた（0をこえるくり下がり）"})
        EXPECT_NE(FindPreset(name), nullptr) << name;
}

// What a teacher notices in a preset's sheets.
// Each preset of decimals over 2 000 problems: every problem what its name
// says, every sheet full.
TEST(Presets, DecimalPresetsDrawWhatTheySay)
{
    using TSays = std::function<bool(const TSheetProblem&)>;
    const std::pair<const char*, TSays> says[] = {
        {"（1/10の位）", [](const TSheetProblem& p) { return p.FirstPlaces <= 1 && p.SecondPlaces <= 1 && p.AnswerPlaces == 1; }},
        {"（1/100の位）", [](const TSheetProblem& p) { return p.AnswerPlaces == 2; }},
        {"くり上がりあり", [](const TSheetProblem& p) { return p.First % 10 + p.Second % 10 >= 10 || p.FirstPlaces == p.SecondPlaces; }},
        {"けた数がちがう", [](const TSheetProblem& p) { return p.FirstPlaces != p.SecondPlaces; }},
        {"終わりの0を消す", [](const TSheetProblem& p) { return StruckZeros(p.Answer, p.AnswerPlaces) > 0; }},
        {"整数−小数", [](const TSheetProblem& p) { return p.FirstPlaces == 0 && p.SecondPlaces > 0; }},
        {"小数×整数", [](const TSheetProblem& p) { return p.FirstPlaces > 0 && p.SecondPlaces == 0; }},
        {"小数×小数", [](const TSheetProblem& p) { return p.FirstPlaces > 0 && p.SecondPlaces > 0; }},
        {"小数点の前に0", [](const TSheetProblem& p) { return p.Answer < PowerOfTen(p.AnswerPlaces); }},
        {"小数÷整数", [](const TSheetProblem& p) { return p.FirstPlaces > 0 && p.SecondPlaces == 0; }},
        {"整数÷整数", [](const TSheetProblem& p) { return p.FirstPlaces == 0 && p.SecondPlaces == 0 && p.AnswerPlaces > 0; }},
        {"わり進み", [](const TSheetProblem& p) { return p.WorkedPlaces > std::max(p.FirstPlaces - p.SecondPlaces, 0); }},
        {"小数÷小数", [](const TSheetProblem& p) { return p.SecondPlaces > 0; }},
        {"わり切れる", [](const TSheetProblem& p) { return p.Remainder == 0 && !p.Rounded; }},
        {"あまりあり", [](const TSheetProblem& p) { return p.Remainder > 0 && !p.Rounded; }},
        {"1/10の位まで・", [](const TSheetProblem& p) { return p.AnswerPlaces == 1; }},
        {"一の位まで", [](const TSheetProblem& p) { return p.AnswerPlaces == 0; }},
        {"概数", [](const TSheetProblem& p) { return p.Rounded; }},
    };
    std::map<TOperation, int> units;
    for (const TPreset& preset : Presets()) {
        const TWorksheetSettings& s = preset.Settings.Values;
        if (!RulesOf(s.Operation).Decimal()) continue;
        SCOPED_TRACE(preset.Name);
        ++units[s.Operation];
        std::vector<const TSays*> checks;
        for (const auto& [said, check] : says)
            if (Contains(preset.Name, said)) checks.push_back(&check);
        EXPECT_FALSE(checks.empty());
        TRandom random{20261208u};
        int drawn = 0;
        std::set<std::vector<int32_t>> distinct;
        for (int32_t number = 1; drawn < 2000; ++number) {
            const TSheet sheet = GenerateSheet(s, number, random);
            ASSERT_EQ(static_cast<int32_t>(sheet.Problems.size()), sheet.Requested);
            for (const TSheetProblem& p : sheet.Problems) {
                ++drawn;
                distinct.insert({p.First, p.FirstPlaces, p.Second, p.SecondPlaces});
                for (const TSays* check : checks) EXPECT_TRUE((*check)(p)) << FirstText(p) << " " << SecondText(p) << " " << AnswerText(p);
            }
        }
        EXPECT_GE(distinct.size(), 60u);
    }
    // At least three units' presets of each operation with decimals.
    for (const TOperation operation : {TOperation::DecimalAddition, TOperation::DecimalSubtraction,
                                       TOperation::DecimalMultiplication, TOperation::DecimalDivision})
        EXPECT_GE(units[operation], 3);
}

TEST(Presets, DrawWhatTheirUnitTeaches)
{
    struct TCase {
        const char* Preset;
        std::function<bool(const TSheetProblem&)> Unwanted;
        int MostPerCent;
    } cases[] = {
        // A 筆算 unit of 2けた÷1けた: two-digit quotients, not 九九 facts.
        {"2けた÷1けた（あまりなし）", [](const TSheetProblem& p) { return p.Answer < 10; }, 0},
        {"2けた÷1けた（あまりあり）", [](const TSheetProblem& p) { return p.Answer < 10; }, 0},
        // No 22−22=0, and few one-digit answers.
        {"2けた−2けた（くり下がりなし）", [](const TSheetProblem& p) { return p.Answer < 10; }, 10},
        // Every pair that carries when its partial products are added,
        // not only 91–99 × 14–48.
        {"2けた×2けた（部分積のたし算でくり上がる）", [](const TSheetProblem& p) { return p.First >= 90; }, 30},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Preset);
        const TPreset* preset = FindPreset(c.Preset);
        ASSERT_NE(preset, nullptr);
        TRandom random{7u};
        const TClassSet set = MakeClassSet(preset->Settings.Values, 30, 1, random);
        int unwanted = 0, all = 0;
        for (const TSheet& sheet : set.Sheets)
            for (const TSheetProblem& p : sheet.Problems) {
                unwanted += c.Unwanted(p) ? 1 : 0;
                ++all;
                EXPECT_NE(p.Answer, 0);
                if (preset->Settings.Values.PartialSumCarry) {
                    EXPECT_TRUE(PartialProductsCarry(p.First, p.Second));
                }
            }
        EXPECT_LE(unwanted * 100, c.MostPerCent * all) << unwanted << " of " << all;
    }
    // The partial products of 38 × 27: 266 and 76(0) add with carries; 21 × 13: 63 and 21(0) do not.
    EXPECT_TRUE(PartialProductsCarry(38, 27));
    EXPECT_FALSE(PartialProductsCarry(21, 13));
    EXPECT_FALSE(PartialProductsCarry(99, 9));
}

// Every preset works as it is, with and without 補助数字, on A4 and on B5:
// the largest cell of its grade at which its problems fit with the marks.
TEST(Presets, FitWithAndWithoutMarksOnA4AndB5)
{
    for (const TPreset& preset : Presets()) {
        for (const char* paperName : {"A4", "B5"}) {
            SCOPED_TRACE(preset.Name + " " + paperName);
            TWorksheetSettings settings;
            ApplyNamed(PresetFor(preset, paperName), settings);
            const TWorksheetSettings& grade = preset.Settings.Values;
            if (grade.CellMM == 0) continue;
            EXPECT_TRUE(settings.CellMM <= grade.CellMM && settings.CellMM >= kSmallestCellMM);
            EXPECT_TRUE(settings.Problems >= 6 && settings.Problems <= grade.Problems);
            // On A4 the grade's own cell, wherever its problems fit with the marks.
            const TPaperSize& paper = PaperSizeNamed(paperName);
            for (const bool marks : {false, true}) {
                settings.CarryMarks = marks;
                TRandom random{5u};
                const TSheet sheet = MakeClassSet(settings, 1, 1, random).Sheets.front();
                TPageView view = PageViewOf(settings);
                view.PaperName = paperName;
                view.DotsPerMm = 10;
                TRecordingCanvas page;
                for (const bool answers : {false, true})
                    EXPECT_NO_THROW(DrawSheetPage(page, static_cast<int32_t>((paper.WidthMm - 20) * 10),
                                                  static_cast<int32_t>((paper.HeightMm - 20) * 10), view, sheet, answers))
                        << "marks " << marks;
            }
        }
    }
    // Where nothing has to give, the grade's layout stands.
    const TPreset* grade2 = FindPreset("2けた＋2けた（くり上がりなし）");
    EXPECT_EQ(PresetFor(*grade2, "A4").Values.CellMM, 12);
    EXPECT_EQ(PresetFor(*grade2, "A4").Values.Problems, 12);
}

TEST(ClassSet, PageOrder)
{
    const std::pair<TAnswerOrder, std::string> cases[] = {
        {TAnswerOrder::None, "0 1 2"},
        {TAnswerOrder::After, "0 1 2 0a 1a 2a"},
        {TAnswerOrder::Each, "0 0a 1 1a 2 2a"},
    };
    for (const auto& [order, pages] : cases) {
        std::string got;
        for (const auto& [index, answers] : PageOrder(3, order))
            got += (got.empty() ? "" : " ") + std::to_string(index) + (answers ? "a" : "");
        EXPECT_EQ(got, pages);
    }
}

TEST(ClassSet, SheetsAreFreshRunsWithConsecutiveNumbers)
{
    TWorksheetSettings settings = Presets().front().Settings.Values;
    ProblemTable.Clear();
    QuestionCount = 3;
    PrintNumber = 5;
    TRandom random{RandomState};
    const TClassSet set = MakeClassSet(settings, 4, 2147483646, random);
    ASSERT_EQ(set.Sheets.size(), 4u);
    const std::vector<int32_t> numbers = {2147483646, 2147483647, -2147483647 - 1, -2147483647};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(set.Sheets[i].Number, numbers[i]);
        EXPECT_EQ(set.Sheets[i].Problems.size(), 16u);
    }
    EXPECT_TRUE(set.Sheets[0].Problems[0].First != set.Sheets[1].Problems[0].First ||
                set.Sheets[0].Problems[1].First != set.Sheets[1].Problems[1].First);
    EXPECT_TRUE(set.ShortSheets.empty());
    EXPECT_FALSE(WrappedNumbersNote(set).empty());
    // The window's table, count and number are as they were.
    EXPECT_EQ(QuestionCount, 3);
    EXPECT_EQ(PrintNumber, 5);
    EXPECT_TRUE(ProblemTable[1].MultiplicandText.empty());
}

// The same seed, the same sheets, on every machine.
TEST(ClassSet, ASeedMakesTheSameSetAgain)
{
    const TWorksheetSettings settings = FindPreset("3けた−3けた（0をこえるくり下がり）")->Settings.Values;
    TRandom first = RandomFromSeed(12345678901234567ull), again = RandomFromSeed(12345678901234567ull);
    EXPECT_EQ(SheetsCsv(MakeClassSet(settings, 5, 1, first).Sheets), SheetsCsv(MakeClassSet(settings, 5, 1, again).Sheets));
    // The first problem of this seed, as every build draws it.
    TRandom known = RandomFromSeed(42);
    const TClassSet set = MakeClassSet(settings, 1, 1, known);
    EXPECT_EQ(set.Sheets[0].Problems[0].First - set.Sheets[0].Problems[0].Second, set.Sheets[0].Problems[0].Answer);
    EXPECT_EQ(RandomFromSeed(42).State, 42u);
    EXPECT_EQ(RandomFromSeed(0x100000001ull).State, 0u);
}

TEST(ClassSet, KeepsShortSheetsAndStopsOnTooFewProblems)
{
    // Multiplicand 0 to 9, multiplier 1: ten problems where sixteen are asked.
    TWorksheetSettings settings;
    settings.u1h = "9";
    settings.d1l = settings.d1h = "1";
    settings.AnsHigh = "99";
    settings.QNumPattern = 1;
    TRandom random{1u};
    const TClassSet set = MakeClassSet(settings, 2, 1, random);
    ASSERT_EQ(set.Sheets.size(), 2u);
    EXPECT_EQ(set.ShortSheets, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(set.Sheets[0].Problems.size(), 10u);

    settings.u1h = "2";  // three problems: too few for a sheet
    try {
        MakeClassSet(settings, 5, 1, random);
        ADD_FAILURE() << "made";
    } catch (const EShortfall& e) {
        EXPECT_STREQ(e.what(), "今の条件では、指定された問題数が確保できません。");
    }
    int asked = 0;
    EXPECT_THROW(MakeClassSet(Presets().front().Settings.Values, 5, 1, random, [&](int) { return ++asked < 2; }), EAbort);
    EXPECT_EQ(asked, 2);
}

TEST(Csv, HasTheProblemsOnThePage)
{
    TSheet sheet;
    sheet.Settings.Operation = TOperation::Subtraction;
    sheet.Number = 12;
    for (int32_t k = 0; k < 5; ++k) sheet.Problems.push_back(RulesOf(TOperation::Subtraction).Solve(302 + k, 158));
    TSheet product = sheet;
    product.Settings.Operation = TOperation::Multiplication;
    product.Number = -3;
    product.Problems = {RulesOf(TOperation::Multiplication).Solve(123, 45)};
    for (int k = 0; k < 3; ++k) product.Problems.push_back(product.Problems.front());
    // Only whole rows of four are on a page: the fifth problem is not.
    EXPECT_EQ(SheetsCsv({sheet, product}),
              "sheet,problem,operation,first,second,answer,remainder\n"
              "12,1,subtraction,302,158,144,\n12,2,subtraction,303,158,145,\n"
              "12,3,subtraction,304,158,146,\n12,4,subtraction,305,158,147,\n"
              "-3,1,multiplication,123,45,5535,\n-3,2,multiplication,123,45,5535,\n"
              "-3,3,multiplication,123,45,5535,\n-3,4,multiplication,123,45,5535,\n");
}
