// The browser edition's way into the core: one call, a JSON request in and a
// JSON answer out (tavelin_call), compiled with Emscripten. A thin adapter:
// every answer comes from the requests every front end asks (requests.h),
// the pages drawn as SVG by the desktop's page and figure code, the CSV byte
// for byte the desktop's, every message the core's own.
#include <emscripten.h>

#include <string>

#include <nlohmann/json.hpp>

#include "errors/errors.h"
#include "reader/class_results.h"
#include "reader/page_reading.h"
#include "render/large_cell_page.h"
#include "render/paper_size.h"
#include "requests/requests.h"
#include "sheets/class_set.h"
#include "sheets/file_names.h"
#include "sheets/presets.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_csv.h"
#include "sheets/sheet_number.h"
#include "sheets/sheet_output.h"
#include "web/svg_pages.h"
#include "worksheet/decimal.h"
#include "worksheet/division.h"
#include "worksheet/operations.h"
#include "worksheet/wrong_procedures.h"
#include "worksheet/settings_fields.h"
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

// The page's form as settings, read with the checks of a settings file; its
// problem count as the form holds it (ProblemsOfForm).
TWorksheetSettings SettingsOf(const json& form)
{
    json named = form;
    const int32_t largeCount = named.value(kProblemsKey, 12);
    named.erase(kProblemsKey);
    TWorksheetSettings settings;
    ApplyNamed(SettingsFromJson(named), settings);
    settings.Problems = ProblemsOfForm(settings, largeCount);
    return settings;
}

std::string SeedText(const json& request)
{
    return request.value("seed", std::string());
}

std::string PaperOf(const json& request)
{
    return PaperSizeNamed(request.value("paper", std::string("A4"))).Name;
}

// The pages as the page shows and prints them.
json Pages(const std::vector<TSheet>& sheets, TAnswerOrder order, const std::string& paperName)
{
    json pages = json::array();
    for (const TSvgPage& page : SvgPages(sheets, order, paperName))
        pages.push_back({{"svg", page.Svg}, {"number", page.Number}, {"answers", page.Answers}});
    return pages;
}

// What the page keeps of sheets made from the form's `madeFrom`: their
// pages, their CSV and its name, the note, the number that goes on after
// them, and the settings and seed that make them again (a link holds them).
json Made(const std::vector<TSheet>& sheets, const TWorksheetSettings& madeFrom, TAnswerOrder order, const std::string& paperName,
          bool withPages = true)
{
    json answer = {{"ok", true},
                   {"csv", SheetsCsv(sheets)},
                   {"csvName", ProposedFileName(sheets, "csv")},
                   {"first", sheets.front().Number},
                   {"last", sheets.back().Number},
                   {"next", NextNumber(sheets.back().Number)},
                   {"seed", sheets.front().Seed ? std::to_string(*sheets.front().Seed) : std::string()},
                   {"note", PreviewNote(sheets.front())}};
    // The settings as a settings file names them, with its number.
    TWorksheetSettings settings = madeFrom;
    settings.PrnNum = std::to_string(sheets.front().Number);
    answer["settings"] = Named(ParseSettingsFile(SettingsFileText(settings)));
    if (withPages) answer["pages"] = Pages(sheets, order, paperName);
    return answer;
}

json Problems(const TSheet& sheet)
{
    const TOperationRules& rules = RulesOf(sheet.Settings.Operation);
    json problems = json::array();
    for (const TSheetProblem& p : sheet.Problems)
        problems.push_back({{"first", p.First}, {"second", p.Second}, {"firstPlaces", p.FirstPlaces},
                            {"secondPlaces", p.SecondPlaces}, {"choice", sheet.Settings.Kuriagari},
                            {"text", FirstText(p) + rules.Sign + SecondText(p)}});
    return problems;
}

json Refused(const char* kind, const std::string& message)
{
    return {{"ok", false}, {"kind", kind}, {"message", message}};
}

// The sheet of a preview, or of a diagnostic sheet of `operation`.
json Preview(const json& request)
{
    const TWorksheetSettings settings = SettingsOf(request.at("settings"));
    const uint64_t seed = SeedToUse(SeedText(request));
    const TPreview preview = MakePreview(settings, seed, PaperOf(request));
    if (!preview.Printable) return Refused("shortfall", kShortfallMessage);
    json answer = Made({preview.Sheet}, settings, TAnswerOrder::Each, PaperOf(request));
    if (preview.Short) answer["warning"] = kShortfallMessage;
    return answer;
}

const TOperationRules& OperationOf(const json& request)
{
    const TOperationRules* rules = OperationWithKey(request.value("operation", ""));
    if (!rules) throw ERefused("診断プリントの計算がわかりません。");
    return *rules;
}

json Diagnostic(const json& request)
{
    const TWorksheetSettings settings = SettingsOf(request.at("settings"));
    const TDiagnosticSet set = MakeDiagnosticOf(settings, OperationOf(request).Operation, 1, TextToInt(settings.PrnNum),
                                                SeedToUse(SeedText(request)));
    json answer = Made(set.Sheets, settings, TAnswerOrder::Each, PaperOf(request));
    answer["problems"] = Problems(set.Sheets.front());
    answer["tooClose"] = TooCloseMessage(set.Sheets.front().Settings.Operation, set.TooClose);
    return answer;
}

// The shown sheet as it is printed now: made again from its settings and
// seed, with the sentence, grid, marks, face and number the form holds now.
json SheetNow(const json& request)
{
    const json& shown = request.at("shown");
    const TWorksheetSettings now = SettingsOf(request.at("settings"));
    const TWorksheetSettings settings = SettingsOf(shown.at("settings"));
    const uint64_t seed = ReadSeed(shown.value("seed", ""));
    const TSheet sheet = shown.contains("operation")
                             ? MakeDiagnosticOf(settings, OperationOf(shown).Operation, 1, 0, seed).Sheets.front()
                             : MakePreview(settings, seed, PaperOf(request)).Sheet;
    return Made({SheetAsNow(sheet, now, TextToInt(now.PrnNum))}, settings, TAnswerOrder::Each, PaperOf(request));
}

// A class set as the command line makes it with --seed: the same sheets, the
// same CSV.
json ClassSet(const json& request)
{
    const TWorksheetSettings settings = SettingsOf(request.at("settings"));
    const int32_t count = ReadSheetCount(request.value("sheets", std::string()));
    const TClassSet set = MakeClassSetOf(settings, count, TextToInt(settings.PrnNum), SeedToUse(SeedText(request)));
    TAnswerOrder order = TAnswerOrder::After;
    AnswerOrderNamed(request.value("order", "after"), order);
    json answer = Made(set.Sheets, settings, order, PaperOf(request), request.value("pages", true));
    std::string notes;
    for (const std::string& note : ClassSetNotes(set)) notes += note;
    answer["note"] = std::to_string(set.Sheets.size()) + "枚のプリントを作りました（乱数のもと " + answer["seed"].get<std::string>() +
                     "）。" + notes;
    return answer;
}

// A pupil's answers to a diagnostic sheet's problems read: the procedure
// they follow, as the 履歴's 答えを入れる tells it.
json DiagnoseAnswers(const json& request)
{
    const TOperationRules& rules = OperationOf(request);
    std::vector<TSheetProblem> problems;
    for (const json& p : request.at("problems")) {
        const TOperands operands{p.at("first").get<int32_t>(), p.at("second").get<int32_t>(), p.value("firstPlaces", 0),
                                 p.value("secondPlaces", 0), p.value("choice", 0)};
        if (!IsProblemOf(rules, operands)) throw ERefused("診断プリントの問題が読めません。");
        problems.push_back(SolveProblem(rules, operands));
    }
    const std::vector<std::string> texts = request.at("answers").get<std::vector<std::string>>();
    const TAnswersRead read = ReadPupilAnswers(rules.Operation, problems, texts);
    return {{"ok", true}, {"procedure", read.Diagnosis.Procedure}, {"text", read.Text}};
}

// ---- the class's answers read -------------------------------------------

// The sheets read since the page last began a reading.
std::vector<TMarkedSheet> readSheets;
size_t readPages = 0;

// A page read: its sheet marked and kept, or why it could not be; the
// answers to ask with their pictures (grey, row by row).
json ReadScanPage(const TGreyImage& image, const std::string& source)
{
    ++readPages;
    const TReadPage page = ReadPage(image);
    if (page.Skipped())
        return {{"ok", true}, {"read", false}, {"skipped", true},
                {"failure", source + (page.Blank ? ": 白紙のページなので読みませんでした" : ": 答えのページなので読みませんでした")}};
    if (!page.Read()) return {{"ok", true}, {"read", false}, {"failure", source + ": " + page.Failure}};
    // A pupil's sheet photographed again is counted once.
    const TKeptOnce kept = KeepOnce(readSheets, MarkSheet(page, source));
    if (!kept.Note.empty() && !kept.Replaced) return {{"ok", true}, {"read", false}, {"skipped", true}, {"failure", kept.Note}};
    const TMarkedSheet& sheet = readSheets[kept.At];
    json asked = json::array();
    for (size_t k = 0; k < sheet.Answers.size(); ++k) {
        if (sheet.Answers[k].Decided != TDecided::Asked) continue;
        const TGreyImage& picture = page.Pictures.at(k);
        asked.push_back({{"sheet", kept.At}, {"problem", k}, {"label", AskedLabel(sheet, k)},
                         {"reading", sheet.Answers[k].Best ? WrittenText(*sheet.Answers[k].Best) : ""},
                         {"width", picture.Width}, {"height", picture.Height}, {"pixels", picture.Pixels}});
    }
    return {{"ok", true}, {"read", true}, {"asked", asked}, {"sheet", kept.At}, {"replaced", kept.Replaced}, {"note", kept.Note}};
}

// The class's table, the summary and the results' CSV.
json ClassResults()
{
    const TClassTable table = ClassTableOf(readSheets);
    json procedures = json::array();
    for (const auto& [name, count] : table.Procedures) procedures.push_back({{"name", name}, {"count", count}});
    return {{"ok", true}, {"header", table.Header}, {"rows", table.Rows}, {"procedures", procedures},
            {"summary", ReadingSummary(readSheets, readPages)}, {"csv", ResultsCsv(readSheets)}};
}

// Each pupil's next sheet from the sheets just read, with its answer sheet
// after it, in 出席番号 order.
json FollowUps(const json& request)
{
    if (readSheets.empty()) return Refused("file", "読み取ったプリントがありません。");
    const std::vector<TSheet> sheets =
        MakeFollowUpsOf(PupilWorkOf(readSheets), NextSheetNumber(readSheets), SeedToUse(SeedText(request)), PaperOf(request));
    json answer = Made(sheets, sheets.front().Settings, TAnswerOrder::After, PaperOf(request));
    answer["note"] = "一人ひとりのプリントを " + std::to_string(sheets.size()) + "枚作りました（乱数のもと " +
                     answer["seed"].get<std::string>() + "）。" + FollowUpsNote(sheets);
    return answer;
}

json TypeReadAnswer(const json& request)
{
    const size_t sheet = request.at("sheet").get<size_t>();
    if (sheet >= readSheets.size()) return Refused("file", "読み取ったプリントがありません。");
    TypeAnswerText(readSheets[sheet], request.at("problem").get<size_t>(), request.value("text", ""));
    return {{"ok", true}};
}

// What the page builds its form from: the settings fields with their
// start-up values, limits and what an empty box holds, the choices of the
// layout, the papers, the operations and what each offers, the presets.
json Form()
{
    const TWorksheetSettings defaults;
    json texts = json::array(), choices = json::array(), flags = json::array(), fonts = json::array(), papers = json::array();
    for (const TTextField& f : TextFields())
        texts.push_back({{"name", f.Name}, {"value", defaults.*f.Member}, {"maxLength", f.MaxLength}, {"blank", f.Number ? "0" : ""}});
    for (const TChoiceField& f : ChoiceFields())
        choices.push_back({{"name", f.Name}, {"value", defaults.*f.Member}, {"items", f.Items}});
    for (const TFlagField& f : FlagFields()) flags.push_back({{"name", f.Name}, {"value", defaults.*f.Member}});
    for (const TDigitFont& font : kDigitFonts) fonts.push_back({{"face", font.Face}, {"name", font.Name}});
    for (const TPaperSize& paper : kPaperSizes)
        papers.push_back({{"name", paper.Name}, {"widthMm", paper.WidthMm}, {"heightMm", paper.HeightMm},
                          {"marginPt", SvgPageSize(paper.Name).MarginPt}});
    json operations = json::array();
    for (const TOperationRules& rules : Operations())
        operations.push_back({{"key", rules.Key}, {"name", rules.Name}, {"sign", rules.Sign}, {"caption", rules.PatternCaption},
                              {"patterns", rules.PatternLabels}, {"remainder", rules.HasRemainder},
                              {"partialSums", rules.PartialSums}, {"secondPlaces", rules.SecondPlaces},
                              {"first", rules.FirstNumberName}, {"second", rules.SecondNumberName},
                              {"decimal", rules.Decimal()}, {"diagnostic", HasDiagnosticSheets(rules.Operation)}});
    json presets = json::array();
    for (const TPreset& preset : Presets()) presets.push_back(preset.Name);
    return {{"ok", true}, {"texts", texts}, {"choices", choices}, {"flags", flags}, {"digitFonts", fonts},
            {"cells", {kSmallestCellMM, kLargestCellMM}}, {"problemCounts", kProblemCounts}, {"groupCounts", {12, 16}},
            {"remainders", RemainderLabels()}, {"papers", papers}, {"operations", operations}, {"presets", presets},
            {"mostSheets", kMostSheets}};
}

json Handle(const json& request)
{
    const std::string action = request.value("action", "");
    if (action == "form") return Form();
    if (action == "preset") {
        // Its layout as its grade's cells fit the paper, with or without marks.
        const TPreset* preset = FindPreset(request.value("name", ""));
        if (!preset) return Refused("file", "プリセット「" + request.value("name", "") + "」はありません。");
        return {{"ok", true}, {"settings", Named(PresetFor(*preset, PaperOf(request)))}};
    }
    if (action == "parse")
        return {{"ok", true},
                {"settings", Named(ParseSettingsFileNamed(request.value("name", ""), request.value("text", "")))}};
    if (action == "link") return {{"ok", true}, {"settings", Named(ParseLinkSettings(request.value("text", "")))}};
    if (action == "text") return {{"ok", true}, {"text", SettingsFileText(SettingsOf(request.at("settings")))}};
    if (action == "preview") return Preview(request);
    if (action == "sheet") return SheetNow(request);
    if (action == "classset") return ClassSet(request);
    if (action == "diagnostic") return Diagnostic(request);
    if (action == "diagnose") return DiagnoseAnswers(request);
    if (action == "beginReading") {
        readSheets.clear();
        readPages = 0;
        return {{"ok", true}};
    }
    if (action == "typeReadAnswer") return TypeReadAnswer(request);
    if (action == "unreadableScan") {
        const std::string name = request.value("name", "");
        const bool pdf = request.value("type", "") == "application/pdf" || (name.size() > 4 && name.substr(name.size() - 4) == ".pdf");
        return {{"ok", true}, {"message", UnreadableScanMessage(name, pdf)}};
    }
    if (action == "classResults") return ClassResults();
    if (action == "followUps") return FollowUps(request);
    return Refused("file", "unknown action");
}

}  // namespace

namespace {

// Runs `handle`, every exception turned into the page's refusal.
template <typename F>
const char* Answered(F&& handle)
{
    static std::string answer;
    json result;
    try {
        result = handle();
    } catch (const EShortfall& e) {
        result = Refused("shortfall", e.what());
    } catch (const ELayoutDoesNotFit& e) {
        result = Refused("layout", WithFinalPeriod(e.what()));
    } catch (const ERefused& e) {
        result = Refused("refused", e.what());
        result["problem"] = e.Which();
    } catch (const std::exception& e) {
        result = Refused("file", WithFinalPeriod(MessageOf(e)));
    }
    answer = result.dump();
    return answer.c_str();
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* tavelin_call(const char* request)
{
    return Answered([&] { return Handle(json::parse(request)); });
}

// A page of the class's answers as a canvas holds it (`rgba`, `width` ×
// `height`), from the file `source`: read, marked and kept for the results.
extern "C" EMSCRIPTEN_KEEPALIVE const char* tavelin_read_page(const uint8_t* rgba, int32_t width, int32_t height,
                                                              const char* source)
{
    return Answered([&] { return ReadScanPage(GreyOfRgba(rgba, width, height), source); });
}
