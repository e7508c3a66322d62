// The browser edition's way into the core: one call, a JSON request in and a
// JSON answer out (tavelin_call), compiled with Emscripten. The page asks
// for the presets, reads and writes settings files, and makes sheets, class
// sets and diagnostic sheets (and reads a pupil's answers to one): their
// pages as SVG, drawn by the desktop's page and figure
// code, and the CSV of their answers, byte for byte the desktop's.
#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "errors/errors.h"
#include "render/large_cell_page.h"
#include "render/paper_size.h"
#include "sheets/class_set.h"
#include "sheets/file_names.h"
#include "sheets/presets.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_csv.h"
#include "sheets/sheet_output.h"
#include "web/svg_pages.h"
#include "worksheet/diagnosis.h"
#include "worksheet/diagnostic.h"
#include "worksheet/division.h"
#include "worksheet/operations.h"
#include "worksheet/settings_fields.h"
#include "worksheet/sheet_generator.h"
#include "worksheet/text_to_int.h"

using nlohmann::json;

namespace {

// The settings a settings file names, as the page's form takes them.
json Named(const TSettingsFile& file)
{
    json named = json::object();
    const TWorksheetSettings& v = file.Values;
    if (file.Named.count(kOperationKey)) named[kOperationKey] = RulesOf(v.Operation).Key;
    for (const TTextField& f : TextFields())
        if (file.Named.count(f.Name)) named[f.Name] = v.*f.Member;
    for (const TChoiceField& f : ChoiceFields())
        if (file.Named.count(f.Name)) named[f.Name] = v.*f.Member;
    for (const TFlagField& f : FlagFields())
        if (file.Named.count(f.Name)) named[f.Name] = v.*f.Member;
    if (file.Named.count(kCellKey)) named[kCellKey] = v.CellMM;
    if (file.Named.count(kProblemsKey)) named[kProblemsKey] = v.Problems;
    if (file.Named.count(kDigitFontKey)) named[kDigitFontKey] = v.DigitFont;
    return named;
}

// The page's form as settings: it is written as a settings file is, and
// read as one (the same checks).
TWorksheetSettings SettingsOf(const json& form)
{
    json file = form;
    file["format"] = "tavelin-settings";
    file["version"] = 3;
    TWorksheetSettings settings;
    ApplyNamed(ParseSettingsFile(file.dump()), settings);
    return settings;
}

uint64_t SeedOf(const json& request)
{
    const std::string text = request.value("seed", std::string("0"));
    return std::strtoull(text.c_str(), nullptr, 10);
}

// The pages as the page shows and prints them.
json Pages(const std::vector<TSheet>& sheets, TAnswerOrder order, const std::string& paperName)
{
    json pages = json::array();
    for (const TSvgPage& page : SvgPages(sheets, order, paperName))
        pages.push_back({{"svg", page.Svg}, {"number", page.Number}, {"answers", page.Answers}});
    return pages;
}

TAnswerOrder OrderOf(const std::string& name)
{
    TAnswerOrder order = TAnswerOrder::After;
    AnswerOrderNamed(name, order);
    return order;
}

// The sheet the window's Preview shows: one run of the generator; with
// fewer than four problems nothing to show, with fewer than asked a warning.
json Preview(const json& request)
{
    const TWorksheetSettings settings = SettingsOf(request.at("settings"));
    const int32_t number = TextToInt(settings.PrnNum);
    TRandom random = RandomFromSeed(SeedOf(request));
    TSheet sheet = GenerateSheet(settings, number, random);
    json answer = {{"ok", true}, {"found", sheet.Problems.size()}, {"requested", sheet.Requested}};
    if (sheet.Problems.size() < 4) {
        answer["ok"] = false;
        answer["kind"] = "shortfall";
        answer["message"] = kShortfallMessage;
        return answer;
    }
    if (static_cast<int32_t>(sheet.Problems.size()) < sheet.Requested) answer["warning"] = kShortfallMessage;
    answer["pages"] = Pages({sheet}, TAnswerOrder::Each, request.value("paper", "A4"));
    answer["csv"] = SheetsCsv({sheet});
    answer["csvName"] = ProposedFileName({sheet}, "csv");
    return answer;
}

// A class set as the command line makes it with --seed: the same sheets, the
// same CSV.
json ClassSet(const json& request)
{
    const TWorksheetSettings settings = SettingsOf(request.at("settings"));
    const int count = request.value("sheets", 1);
    if (count < 1 || count > 99)
        return {{"ok", false}, {"kind", "range"},
                {"message", "枚数「" + std::to_string(count) + "」は 1～99 の整数ではありません。"}};
    const int32_t first = TextToInt(settings.PrnNum);
    TRandom random = RandomFromSeed(SeedOf(request));
    const TClassSet set = MakeClassSet(settings, count, first, random);
    json answer = {{"ok", true}, {"csv", SheetsCsv(set.Sheets)}, {"csvName", ProposedFileName(set.Sheets, "csv")},
                   {"short", set.ShortSheets}, {"requested", set.Requested},
                   {"wrapped", WrappedNumbersNote(set)}, {"last", set.Sheets.back().Number}};
    if (request.value("pages", true)) answer["pages"] = Pages(set.Sheets, OrderOf(request.value("order", "after")), request.value("paper", "A4"));
    return answer;
}

// A diagnostic sheet of the operation asked: within the form's digits when
// it is the form's own operation, of every digit otherwise; as the window's
// 診断プリント makes it. With the problems, for reading a pupil's answers.
json Diagnostic(const json& request)
{
    TWorksheetSettings settings = SettingsOf(request.at("settings"));
    const TOperationRules* rules = OperationWithKey(request.value("operation", ""));
    if (!rules) return {{"ok", false}, {"kind", "range"}, {"message", "診断プリントの計算がわかりません。"}};
    const std::vector<TDigitRanges> ranges = DiagnosticRangesFor(settings, rules->Operation);
    settings.Operation = rules->Operation;
    TRandom random = RandomFromSeed(SeedOf(request));
    TDiagnosticSet set;
    try {
        set = MakeDiagnosticSheets(settings, ranges, TextToInt(settings.PrnNum), 1, random);
    } catch (const ETooFewProblems&) {
        return {{"ok", false}, {"kind", "shortfall"}, {"message", kShortfallMessage}};
    }
    const TSheet& sheet = set.Sheets.front();
    json problems = json::array();
    for (const TSheetProblem& p : sheet.Problems)
        problems.push_back({{"first", p.First}, {"second", p.Second}, {"text", std::to_string(p.First) + rules->Sign + std::to_string(p.Second)}});
    return {{"ok", true}, {"pages", Pages(set.Sheets, TAnswerOrder::Each, request.value("paper", "A4"))},
            {"csv", SheetsCsv(set.Sheets)}, {"csvName", ProposedFileName(set.Sheets, "csv")}, {"problems", problems}, {"tooClose", TooCloseMessage(rules->Operation, set.TooClose)}};
}

// A pupil's answers to a diagnostic sheet's problems read: the procedure
// they follow, as the 履歴's 答えを入れる tells it.
json DiagnoseAnswers(const json& request)
{
    const TOperationRules* rules = OperationWithKey(request.value("operation", ""));
    if (!rules) return {{"ok", false}, {"kind", "range"}, {"message", "診断プリントの計算がわかりません。"}};
    std::vector<TSheetProblem> problems;
    for (const json& p : request.at("problems")) problems.push_back(rules->Solve(p.at("first").get<int32_t>(), p.at("second").get<int32_t>()));
    std::vector<std::string> texts(problems.size());
    const json& typed = request.at("answers");
    for (size_t k = 0; k < texts.size() && k < typed.size(); ++k) texts[k] = typed[k].get<std::string>();
    const TTypedAnswers read = ReadTypedAnswers(rules->Operation, texts);
    if (read.Refused)
        return {{"ok", false}, {"kind", "answer"}, {"problem", read.Refused},
                {"message", std::to_string(read.Refused) + "問目の答え「" + texts[static_cast<size_t>(read.Refused - 1)] + "」" + read.Why + "。"}};
    const TDiagnosis diagnosis = Diagnose(rules->Operation, problems, read.Answers);
    return {{"ok", true}, {"procedure", diagnosis.Procedure}, {"name", diagnosis.Name}, {"explained", diagnosis.Explained},
            {"notFitting", diagnosis.NotFitting}, {"text", DiagnosisText(rules->Operation, problems, diagnosis)}};
}

// What the page builds its form from: the settings fields with their
// start-up values and limits, the choices of the layout, the papers.
json Form()
{
    const TWorksheetSettings defaults;
    json texts = json::array(), choices = json::array(), flags = json::array(), fonts = json::array(), papers = json::array();
    for (const TTextField& f : TextFields())
        texts.push_back({{"name", f.Name}, {"value", defaults.*f.Member}, {"maxLength", f.MaxLength}});
    for (const TChoiceField& f : ChoiceFields())
        choices.push_back({{"name", f.Name}, {"value", defaults.*f.Member}, {"items", f.Items}});
    for (const TFlagField& f : FlagFields()) flags.push_back({{"name", f.Name}, {"value", defaults.*f.Member}});
    for (const TDigitFont& font : kDigitFonts) fonts.push_back({{"face", font.Face}, {"name", font.Name}});
    for (const TPaperSize& paper : kPaperSizes)
        papers.push_back({{"name", paper.Name}, {"widthMm", paper.WidthMm}, {"heightMm", paper.HeightMm},
                          {"marginPt", SvgPageSize(paper.Name).MarginPt}});
    return {{"ok", true}, {"texts", texts}, {"choices", choices}, {"flags", flags}, {"digitFonts", fonts},
            {"cells", {kSmallestCellMM, kLargestCellMM}}, {"problemCounts", kProblemCounts},
            {"remainders", RemainderLabels()}, {"papers", papers}};
}

json Handle(const json& request)
{
    const std::string action = request.value("action", "");
    if (action == "presets") {
        json list = json::array();
        for (const TPreset& preset : Presets())
            list.push_back({{"name", preset.Name}, {"operation", RulesOf(preset.Settings.Values.Operation).Key},
                            {"settings", Named(preset.Settings)}});
        return {{"ok", true}, {"presets", list}};
    }
    if (action == "preset") {
        // Its layout as its grade's cells fit the paper, with or without marks.
        const TPreset* preset = FindPreset(request.value("name", ""));
        if (!preset) return {{"ok", false}, {"kind", "range"}, {"message", "そのプリセットはありません。"}};
        return {{"ok", true}, {"settings", Named(PresetFor(*preset, request.value("paper", "A4")))}};
    }
    if (action == "operations") {
        json list = json::array();
        for (const TOperationRules& rules : Operations())
            list.push_back({{"key", rules.Key}, {"name", rules.Name}, {"sign", rules.Sign}, {"caption", rules.PatternCaption},
                            {"patterns", rules.PatternLabels}, {"remainder", rules.HasRemainder},
                            {"secondPlaces", rules.SecondPlaces}, {"first", rules.FirstNumberName},
                            {"second", rules.SecondNumberName}});
        return {{"ok", true}, {"operations", list}};
    }
    if (action == "form") return Form();
    if (action == "parse")
        return {{"ok", true},
                {"settings", Named(ParseSettingsFileNamed(request.value("name", ""), request.value("text", "")))}};
    if (action == "text") return {{"ok", true}, {"text", SettingsFileText(SettingsOf(request.at("settings")))}};
    if (action == "preview") return Preview(request);
    if (action == "classset") return ClassSet(request);
    if (action == "diagnostic") return Diagnostic(request);
    if (action == "diagnose") return DiagnoseAnswers(request);
    return {{"ok", false}, {"message", "unknown action"}};
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* tavelin_call(const char* request)
{
    static std::string answer;
    json result;
    try {
        result = Handle(json::parse(request));
    } catch (const EShortfall& e) {
        result = {{"ok", false}, {"kind", "shortfall"}, {"message", e.what()}};
    } catch (const EConvertError& e) {
        result = {{"ok", false}, {"kind", "convert"}, {"message", WithFinalPeriod(e.what())}};
    } catch (const ELayoutDoesNotFit& e) {
        result = {{"ok", false}, {"kind", "layout"}, {"message", WithFinalPeriod(e.what())}};
    } catch (const std::exception& e) {
        result = {{"ok", false}, {"kind", "file"}, {"message", WithFinalPeriod(e.what())}};
    }
    answer = result.dump();
    return answer.c_str();
}
