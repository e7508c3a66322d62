#include "cli/command_line.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <iostream>
#include <cstdio>
#include <memory>
#include <ctime>
#include <map>
#include <optional>
#include <ostream>
#include <set>

#include "cli/follow_up_run.h"
#include "cli/options.h"
#include "cli/run_options.h"
#include "history/history.h"
#include "requests/requests.h"
#include "reader/class_results.h"
#include "recipe/sheet_recipe.h"
#include "render/qt_fonts.h"
#include "scans/class_reading.h"
#include "scans/reading_record.h"
#include "sheets/class_set_delivery.h"
#include "sheets/presets.h"
#include "sheets/recorded_sheet.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_csv.h"
#include "sheets/sheet_pdf.h"
#include "sheets/sheet_recorder.h"
#include "sheets/whole_file.h"
#include "worksheet/diagnosis.h"
#include "worksheet/diagnostic.h"
#include "worksheet/operations.h"
#include "errors/errors.h"
#include "worksheet/lcg.h"
#include "worksheet/text_to_int.h"
#include "worksheet/utf8.h"

namespace {

constexpr int kBadOption = 1;
constexpr int kShortfall = 2;
constexpr int kUndecided = 2;  // a reading left answers to ask

// The settings a --pdf run makes its sheets with: a settings file or a
// preset, then the options that stand before both. `numberFrom` says where
// the sheet number's text came from, for its message.
TWorksheetSettings SettingsOf(const TOptions& options, std::string& numberFrom)
{
    if (options.Has("--settings") && options.Has("--preset"))
        throw EUsage("「--settings」と「--preset」は一緒には使えません");
    TWorksheetSettings settings;
    if (options.Has("--settings")) {
        // The settings file is never written over.
        KeepFileSafe(options.Get("--settings"));
        const TSettingsFile file = ReadSettingsFile(options.Get("--settings"));
        ApplyNamed(file, settings);
        if (file.Named.count("PrnNum")) numberFrom = "設定ファイル「" + options.Get("--settings") + "」の「PrnNum」";
    }
    if (options.Has("--preset")) {
        const TPreset* preset = FindPreset(options.Get("--preset"));
        if (!preset)
            throw EUsage("プリセット「" + options.Get("--preset") + "」はありません。--list-presets で一覧を表示します");
        // Its layout as its grade's cells fit the paper, with or without marks.
        ApplyNamed(PresetFor(*preset, PaperName(PaperOption(options))), settings);
    }
    if (options.Has("--cell")) {
        const int64_t mm = DecimalOption("--cell", options.Get("--cell"), 0, kLargestCellMM);
        if (mm != 0 && mm < kSmallestCellMM)
            throw EUsage("オプション「--cell」の値「" + options.Get("--cell") + "」は 0 か 7～20 の整数ではありません");
        settings.CellMM = static_cast<int32_t>(mm);
    }
    if (options.Has("--problems")) {
        const std::string& text = options.Get("--problems");
        const auto count = std::find_if(std::begin(kProblemCounts), std::end(kProblemCounts),
                                        [&](int32_t offered) { return text == std::to_string(offered); });
        if (count == std::end(kProblemCounts))
            throw EUsage("オプション「--problems」の値「" + text + "」は 6、8、9、12、16 のどれでもありません");
        if (*count < 12 && settings.CellMM == 0)
            throw EUsage("オプション「--problems」の " + text + " 問は、大きなマス（--cell）のときだけです");
        settings.Problems = *count;
        if (*count >= 12) settings.QNumPattern = *count == 12 ? 0 : 1;
    }
    if (options.Has("--grid")) {
        const std::string& text = options.Get("--grid");
        if (text != "yes" && text != "no") throw EUsage("オプション「--grid」の値「" + text + "」は yes、no のどれでもありません");
        settings.Waku = text == "yes" ? 0 : 1;
    }
    if (options.Has("--marks")) settings.CarryMarks = true;
    if (options.Has("--reading-marks")) {
        const std::string& text = options.Get("--reading-marks");
        if (text != "yes" && text != "no")
            throw EUsage("オプション「--reading-marks」の値「" + text + "」は yes、no のどれでもありません");
        settings.ReadingMarks = text == "yes";
    }
    return settings;
}

// The operation --diagnostic names, or none without it.
const TOperationRules* DiagnosticOption(const TOptions& options)
{
    if (!options.Has("--diagnostic")) return nullptr;
    if (options.Has("--problems")) throw EUsage("「--diagnostic」と「--problems」は一緒には使えません（診断プリントは 12 問です）");
    const TOperationRules* rules = OperationWithKey(options.Get("--diagnostic"));
    if (!rules)
        throw EUsage("オプション「--diagnostic」の値「" + options.Get("--diagnostic") +
                     "」は subtraction、addition、multiplication、division、decimal-addition、decimal-subtraction、"
                     "decimal-multiplication、decimal-division のどれでもありません");
    return rules;
}

int MakePdf(const TOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.Has("--follow-up")) return MakeFollowUpSheets(options, out, err);
    const TOperationRules* diagnostic = DiagnosticOption(options);
    std::string numberFrom;
    TWorksheetSettings settings = SettingsOf(options, numberFrom);
    // The history is never written over.
    THistoryRecorder history = HistoryFor(err);
    const int sheets = options.Has("--sheets") ? ReadSheetCount(options.Get("--sheets")) : 1;
    const TAnswerOrder order = AnswersOption(options, true);
    const TPaper paper = PaperOption(options);
    const std::string path = options.Get("--pdf");
    int32_t first = 0;
    if (options.Has("--number")) {
        first = static_cast<int32_t>(DecimalOption("--number", options.Get("--number"), INT32_MIN, INT32_MAX));
        settings.PrnNum = std::to_string(first);
    } else {
        try {
            first = TextToInt(settings.PrnNum);
        } catch (const EConvertError&) {
            throw EUsage(numberFrom + "の値「" + settings.PrnNum + "」は整数ではありません");
        }
    }
    const uint64_t seed = options.Has("--seed") ? ReadSeed(options.Get("--seed")) : FreshSeed();
    // What the sheets cannot carry is refused, never dropped: a sheet whose
    // answers are written beside its cells has no code for the reader, so
    // no marks and no 出席番号.
    const bool marksAsked = options.Has("--reading-marks") && options.Get("--reading-marks") == "yes";
    auto refuseUnreadable = [&](const TWorksheetSettings& drawn) {
        if (!CarriesRecipe(drawn) && (marksAsked || options.Has("--roll-numbers")))
            throw EUsage(std::string(RulesOf(drawn.Operation).Name) +
                         "のこのプリントには読み取り用の印も出席番号も書けません（あまりや概数の答えはマスの外に書くので読み取れません）。" +
                         "「--reading-marks」と「--roll-numbers」をはずしてください");
    };
    if (!diagnostic) refuseUnreadable(settings);
    TPdfFileOutput output(path, paper);
    const std::optional<std::string> csv = CsvOption(options, path);
    if (diagnostic) {
        // The digits of the settings or the preset when they are of the same
        // operation; a sheet of every digit otherwise.
        const std::vector<TDigitRanges> ranges = options.Has("--settings") || options.Has("--preset")
                                                     ? DiagnosticRangesFor(settings, diagnostic->Operation)
                                                     : DefaultDiagnosticRanges(diagnostic->Operation);
        settings.Operation = diagnostic->Operation;
        refuseUnreadable(DiagnosticSheetSettings(settings, ranges));
        const TDiagnosticSet set =
            DeliverDiagnosticSet(settings, ranges, sheets, first, seed, order, output, history, csv, options.Has("--roll-numbers"));
        out << path << ": 診断プリント " << set.Sheets.size() << "枚（" << NumberRange(set.Sheets) << "） --seed " << seed << "\n";
        if (const std::string close = TooCloseMessage(diagnostic->Operation, set.TooClose); !close.empty()) err << close << "\n";
        for (const std::string& note : ClassSetNotes({kDiagnosticProblems, set.Sheets, {}})) err << note << "\n";
        return 0;
    }
    const TClassSet set = DeliverClassSet(settings, sheets, first, seed, order, output, history, {}, csv, options.Has("--roll-numbers"));

    // The seed makes the same set again.
    out << path << ": " << set.Sheets.size() << "枚（" << NumberRange(set.Sheets) << "） --seed " << seed << "\n";
    for (const std::string& note : ClassSetNotes(set)) err << note << "\n";
    return 0;
}

int ListPresets(const TOptions&, std::ostream& out)
{
    for (const TPreset& preset : Presets())
        out << RulesOf(preset.Settings.Values.Operation).Name << "\t" << preset.Name << "\n";
    return 0;
}

// A text on one line of a listing: a tab, a line break or a backslash in it
// written as \t, \n, \\.
std::string OneField(const std::string& text)
{
    std::string field;
    for (const char ch : text) {
        if (ch == '\t') field += "\\t";
        else if (ch == '\n') field += "\\n";
        else if (ch == '\r') field += "\\r";
        else if (ch == '\\') field += "\\\\";
        else field += ch;
    }
    return field;
}

// A moment of the history in local time: 「2026-12-08 09:30」.
std::string LocalTimeText(int64_t seconds)
{
    // The time zone is read once, not for every line.
    static const bool zoneRead = (tzset(), true);
    (void)zoneRead;
    const std::time_t at = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&at, &local);
    // Written out by hand: strftime reads the time zone again each time.
    char time[80];
    std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min);
    return time;
}

int ListHistory(const TOptions& options, std::ostream& out, std::ostream& err)
{
    const int limit = static_cast<int>(options.Has("--limit") ? DecimalOption("--limit", options.Get("--limit"), 1, INT32_MAX) : INT32_MAX);
    THistoryRecorder history = HistoryFor(err);
    if (!history.History()) return kBadOption;
    for (const THistorySheet& sheet : history.History()->List(limit)) {
        out << sheet.Id << "\t" << LocalTimeText(sheet.RecordedAt) << "\tNo." << sheet.Number << "\t" << OneField(sheet.Summary) << "\t"
            << (sheet.WithAnswers ? "答えつき" : "問題のみ") << "\t" << OneField(sheet.Destination) << "\n";
    }
    return 0;
}

int HistoryPdf(const TOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.Positional.size() != 2)
        throw EUsage("「--history-pdf」には履歴の番号とファイル名が必要です（例: --history-pdf 12 sheet.pdf）");
    const int64_t id = DecimalOption("--history-pdf", options.Positional[0], 1, INT64_MAX);
    const TAnswerOrder order = AnswersOption(options, false);
    const std::string path = options.Positional[1];
    THistoryRecorder history = HistoryFor(err);
    if (!history.History()) return kBadOption;
    const std::optional<THistorySheet> recorded = history.History()->Find(id);
    if (!recorded) throw EUsage("履歴に番号 " + options.Positional[0] + " のプリントはありません");
    const TSheet sheet = ReopenSheet(*recorded).Sheet;
    TPdfFileOutput output(path, PaperOption(options));
    if (const std::optional<std::string> csv = CsvOption(options, path)) output.Attach(*csv, SheetsCsv({sheet}));
    PutOut({sheet}, order, output);
    out << path << ": No." << recorded->Number << "\n";
    return 0;
}

// A pupil's answers to a diagnostic sheet of the history read: the
// procedure they follow, then each problem.
int DiagnoseAnswers(const TOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.Positional.empty())
        throw EUsage("「--diagnose」には履歴の番号と 12 問の答えが必要です（例: --diagnose 12 144 256 - …）");
    const int64_t id = DecimalOption("--diagnose", options.Positional[0], 1, INT64_MAX);
    THistoryRecorder history = HistoryFor(err, THistoryAccess::ReadOnly);
    if (!history.History()) return kBadOption;
    const std::optional<THistorySheet> recorded = history.History()->Find(id);
    if (!recorded) throw EUsage("履歴に番号 " + options.Positional[0] + " のプリントはありません");
    if (!recorded->Diagnostic) throw EUsage("履歴の番号 " + options.Positional[0] + " のプリントは診断プリントではありません");
    const TSheet sheet = ReopenSheet(*recorded).Sheet;
    const std::vector<std::string> texts(options.Positional.begin() + 1, options.Positional.end());
    if (texts.size() != sheet.Problems.size())
        throw EUsage("「--diagnose」には " + std::to_string(sheet.Problems.size()) + " 問の答えが必要です（" +
                     std::to_string(texts.size()) + " 個ありました）。答えのない問題は - と書きます");
    const TAnswersRead read = ReadPupilAnswers(sheet.Settings.Operation, sheet.Problems, texts, "-");
    const std::vector<std::optional<TWrittenAnswer>>& answers = read.Answers;
    const TOperation operation = sheet.Settings.Operation;
    const TDiagnosis& diagnosis = read.Diagnosis;
    out << diagnosis.Procedure << "\t" << diagnosis.Name << "\t" << diagnosis.Explained << "\n";
    for (size_t k = 0; k < sheet.Problems.size(); ++k) {
        const TSheetProblem& p = sheet.Problems[k];
        std::string givers;
        if (answers[k])
            for (const std::string& giver : ProceduresGiving(operation, p, *answers[k])) givers += (givers.empty() ? "" : ",") + giver;
        const bool notFitting = std::count(diagnosis.NotFitting.begin(), diagnosis.NotFitting.end(), static_cast<int32_t>(k + 1)) > 0;
        // Undecided: whether the answer is right.
        const char* fit = !answers[k] ? "-" : notFitting ? "×" : "○";
        out << k + 1 << "\t" << p.First << RulesOf(operation).Sign << p.Second << "\t"
            << (answers[k] ? WrittenText(*answers[k]) : "-") << "\t" << fit << "\t" << (givers.empty() ? "-" : givers) << "\n";
    }
    return 0;
}

// Pages of the class's answers read and marked: the results as CSV, the
// pages marked as PDF, the pupils' table, a line for every page that could
// not be read or was passed over. The files and the history's record go
// together: all of them or none.
int ReadAnswerPages(const TOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.Positional.empty()) throw EUsage("「--read」には読み取るファイルが必要です（例: --read scan.pdf --results results.csv）");
    if (!options.Has("--results")) throw EUsage("「--read」には「--results」で結果の CSV ファイルが必要です");
    // Every file that goes out, checked before any page is read: a place to
    // write to, apart from each other, from the pages read and from the
    // history.
    std::vector<std::pair<std::string, std::string>> outputs = {{"--results", options.Get("--results")}};
    for (const char* name : {"--marked", "--pupils"})
        if (options.Has(name)) outputs.push_back({name, options.Get(name)});
    KeepFileSafe(DefaultHistoryPath());
    for (const std::string& scan : options.Positional) KeepFileSafe(scan);
    if (options.Has("--typed")) KeepFileSafe(options.Get("--typed"));
    for (size_t i = 0; i < outputs.size(); ++i) {
        CheckFileToWrite(outputs[i].second);
        for (size_t j = 0; j < i; ++j) CheckFilesApart(outputs[j].second, outputs[i].second);
    }
    const std::optional<std::string> typed = options.Has("--typed") ? std::optional(ReadWholeFile(options.Get("--typed"), 16LL * 1024 * 1024)) : std::nullopt;

    TClassReading reading = ReadClassPages(LoadScanPages(options.Positional));
    for (const std::string& unread : reading.Unread) err << unread << "\n";
    for (const std::string& note : reading.Notes) err << note << "\n";
    std::vector<TMarkedSheet>& sheets = reading.Sheets;
    bool typedFailed = false;
    if (typed)
        for (const std::string& problem : TypeAnswersFromCsv(sheets, *typed, ShownBytes(options.Get("--typed")))) {
            err << problem << "\n";
            typedFailed = true;
        }
    if (sheets.empty()) {
        err << "読み取れたプリントがないので、結果のファイルは書きませんでした（前のファイルはそのままです）\n";
        return kBadOption;
    }

    // Every file made and written beside its place first; then the history
    // records the readings and, inside that record, the files are put in
    // place: when they cannot be, nothing is recorded.
    std::vector<std::unique_ptr<TWholeFile>> files;
    for (const auto& [name, path] : outputs) {
        std::string bytes;
        if (name == "--results") bytes = ResultsCsv(sheets);
        if (name == "--pupils") bytes = PupilsCsv(sheets);
        if (name == "--marked") {
            const QByteArray pdf = MarkedPdfOf(reading);
            if (pdf.isEmpty()) throw EFileError("採点済みの PDF を作れませんでした");
            bytes.assign(pdf.constData(), static_cast<size_t>(pdf.size()));
        }
        files.push_back(std::make_unique<TWholeFile>(path));
        files.back()->Prepare(bytes);
    }
    bool delivered = false;
    auto deliver = [&] {
        if (delivered) return;
        std::vector<TWholeFile*> together;
        for (const auto& file : files) together.push_back(file.get());
        CommitTogether(together);
        delivered = true;
    };
    bool unrecorded = false;
    THistoryRecorder history = HistoryFor(err);
    if (THistory* kept = history.History()) {
        if (const std::string failure = RecordReadings(*kept, sheets, deliver); !failure.empty()) {
            err << failure << "\n";
            unrecorded = true;
        }
    } else {
        unrecorded = !history.IsOff();
    }
    // The history could not take them: the files still go out, said.
    deliver();
    const int32_t asked = AskedCount(sheets);
    out << ShownBytes(options.Get("--results")) << ": " << ReadingSummary(sheets, reading.Pages.size()) << "\n";
    return !reading.Unread.empty() || unrecorded || typedFailed ? kBadOption : asked > 0 ? kUndecided : 0;
}

// The readings the history keeps, newest first: a line per class's pages
// read together (番号, 日時, プリントの組, 人数, 決めていない答え).
int ListReadings(const TOptions& options, std::ostream& out, std::ostream& err)
{
    const int limit = options.Has("--limit") ? static_cast<int>(DecimalOption("--limit", options.Get("--limit"), 1, 100000)) : 20;
    THistoryRecorder history = HistoryFor(err, THistoryAccess::ReadOnly);
    THistory* kept = history.History();
    if (!kept) return kBadOption;
    struct TBatch {
        int64_t Id = 0, ReadAt = 0;
        int32_t Pupils = 0, Asked = 0;
        std::vector<std::pair<std::string, std::pair<int32_t, int32_t>>> Sets;  // operation: lowest, highest
    };
    std::vector<TBatch> batches;
    for (const THistoryReading& r : kept->Readings(1000000)) {
        if (batches.empty() || batches.back().Id != r.Batch) {
            if (static_cast<int>(batches.size()) == limit) break;
            batches.push_back({r.Batch, r.ReadAt, 0, 0, {}});
        }
        TBatch& b = batches.back();
        b.ReadAt = std::min(b.ReadAt, r.ReadAt);
        ++b.Pupils;
        for (const THistoryReading::TAnswer& a : r.Answers) b.Asked += a.Decided == "asked" ? 1 : 0;
        auto set = std::find_if(b.Sets.begin(), b.Sets.end(), [&](const auto& s) { return s.first == r.Operation; });
        if (set == b.Sets.end()) b.Sets.push_back({r.Operation, {r.Number, r.Number}});
        else set->second = {std::min(set->second.first, r.Number), std::max(set->second.second, r.Number)};
    }
    for (TBatch& b : batches) {
        // The readings came newest first: the class sets in the order read.
        std::reverse(b.Sets.begin(), b.Sets.end());
        std::string sets;
        for (const auto& [key, range] : b.Sets) {
            const TOperationRules* rules = OperationWithKey(key);
            if (!sets.empty()) sets += "、";
            sets += rules ? ClassSetName(rules->Operation, range.first, range.second) : key;
        }
        out << b.Id << "\t" << LocalTimeText(b.ReadAt) << "\t" << sets << "\t" << b.Pupils << "人\t決めていない答え " << b.Asked << "\n";
    }
    return 0;
}

}  // namespace

bool HasCommandLineOptions(int argc, char**)
{
    // Whatever is given: the command line refuses what it does not know.
    return argc > 1;
}

namespace {

int RunOptions(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    try {
        const TOptions options = ParseOptions(arguments);
        using TCommand = int (*)(const TOptions&, std::ostream&, std::ostream&);
        static const std::map<std::string, TCommand> commands = {
            {"--pdf", MakePdf},
            {"--list-presets", [](const TOptions& o, std::ostream& out, std::ostream&) { return ListPresets(o, out); }},
            {"--history", ListHistory},
            {"--history-pdf", HistoryPdf},
            {"--diagnose", DiagnoseAnswers},
            {"--read", ReadAnswerPages},
            {"--readings", ListReadings},
            {"--help", [](const TOptions&, std::ostream& out, std::ostream&) { return out << CommandLineHelp(), 0; }},
            {"--version",
             [](const TOptions&, std::ostream& out, std::ostream&) { return out << "Tavelin " << TAVELIN_VERSION << "\n", 0; }},
        };
        return commands.at(options.Command)(options, out, err);
    } catch (const EShortfall& e) {
        err << ShownBytes(e.what()) << "\n";
        return kShortfall;
    } catch (const std::exception& e) {
        err << WithFinalPeriod(ShownBytes(MessageOf(e))) << "\n";
        return kBadOption;
    }
}

}  // namespace

bool KeepStandardStreamsOpen()
{
    const bool outputClosed = fcntl(STDOUT_FILENO, F_GETFD) == -1;
    // open() takes the lowest free number: the closed streams, in order.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (fcntl(fd, F_GETFD) == -1 && open("/dev/null", O_RDWR) != fd) break;
    return outputClosed;
}

namespace {

bool standardOutputClosed = false;

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    errno = 0;
    int status = RunOptions(arguments, out, err);
    if (&out == &std::cout && standardOutputClosed) {
        err << WithFinalPeriod("結果を書き出せませんでした（標準出力が閉じています）") << "\n";
        return status == 0 ? kBadOption : status;
    }
    // What could not be written (a full disk) is a failure too.
    if (!out.flush()) {
        const int code = errno;
        // A standard output that was closed before the program started.
        const std::string why = code == EBADF ? std::string("標準出力が閉じています")
                                : code        ? SystemErrorText(code)
                                              : std::string("出力先のエラー");
        err << WithFinalPeriod("結果を書き出せませんでした（" + why + "）") << "\n";
        return status == 0 ? kBadOption : status;
    }
    return status;
}

int RunCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err, bool outputClosed)
{
    standardOutputClosed = outputClosed;
    // No display is needed, and none is asked for. Qt's own notes (a
    // missing runtime folder, ...) are not the teacher's business; its
    // errors still show.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
    });
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();
    std::vector<std::string> arguments;
    // Every argument exactly as given: a file name is bytes, whatever its encoding.
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return RunCommandLine(arguments, out, err);
}
