#include "cli/command_line.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <ostream>
#include <set>

#include "history/history.h"
#include "render/qt_fonts.h"
#include "sheets/class_set.h"
#include "sheets/presets.h"
#include "sheets/recorded_sheet.h"
#include "sheets/settings_file.h"
#include "sheets/sheet_csv.h"
#include "sheets/sheet_pdf.h"
#include "sheets/sheet_recorder.h"
#include "sheets/whole_file.h"
#include "worksheet/operations.h"
#include "errors/errors.h"
#include "worksheet/random.h"
#include "worksheet/text_to_int.h"

namespace {

constexpr int kBadOption = 1;
constexpr int kShortfall = 2;

// A bad option or value: exit status 1 with the message.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The options as given: the name (with its dashes) and its value, when the
// option takes one.
struct TOptions {
    std::map<std::string, std::string> Values;
    std::vector<std::string> Positional;  // after --history-pdf: ID FILE

    bool Has(const std::string& name) const { return Values.count(name) != 0; }
    const std::string& Get(const std::string& name) const { return Values.at(name); }
};

const std::set<std::string> kWithValue = {"--pdf",    "--settings", "--preset", "--sheets", "--answers",
                                          "--number", "--paper",    "--limit",  "--csv"};
const std::set<std::string> kFlags = {"--list-presets", "--history", "--history-pdf", "--help", "--version"};

TOptions Parse(const std::vector<std::string>& arguments)
{
    TOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i], value;
        bool hasValue = false;
        if (const size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        if (options.Has("--history-pdf") && name.rfind("--", 0) != 0) {
            options.Positional.push_back(name);
            continue;
        }
        if (kWithValue.count(name)) {
            if (!hasValue) {
                if (i + 1 >= arguments.size()) throw EUsage("オプション「" + name + "」には値が必要です");
                value = arguments[++i];
            }
        } else if (!kFlags.count(name)) {
            throw EUsage("「" + name + "」というオプションはありません。--help で使い方を表示します");
        } else if (hasValue) {
            throw EUsage("オプション「" + name + "」は値をとりません");
        }
        if (options.Has(name)) throw EUsage("オプション「" + name + "」が二度あります");
        options.Values[name] = value;
    }
    return options;
}

int32_t WholeNumber(const TOptions& options, const std::string& name, int32_t low, int32_t high, int32_t fallback)
{
    if (!options.Has(name)) return fallback;
    const std::string& text = options.Get(name);
    try {
        const int32_t value = TextToInt(text);
        if (value >= low && value <= high) return value;
    } catch (const EConvertError&) {
    }
    throw EUsage("オプション「" + name + "」の値「" + text + "」は " + std::to_string(low) + "～" +
                 std::to_string(high) + " の整数ではありません");
}

TPaper PaperOption(const TOptions& options)
{
    if (!options.Has("--paper")) return TPaper::A4;
    if (const auto paper = PaperNamed(options.Get("--paper"))) return *paper;
    throw EUsage("オプション「--paper」の値「" + options.Get("--paper") + "」は A4、B5、B4、A3 のどれでもありません");
}

TAnswerOrder AnswersOption(const TOptions& options, bool eachAllowed)
{
    TAnswerOrder order = TAnswerOrder::None;
    if (!options.Has("--answers")) return order;
    if (!AnswerOrderNamed(options.Get("--answers"), order) || (!eachAllowed && order == TAnswerOrder::Each))
        throw EUsage("オプション「--answers」の値「" + options.Get("--answers") + "」は " +
                     (eachAllowed ? "none、after、each" : "none、after") + " のどれでもありません");
    return order;
}

// Only the options that go with `command` may be given.
void Allow(const TOptions& options, const std::string& command, const std::set<std::string>& allowed)
{
    for (const auto& [name, value] : options.Values)
        if (name != command && !allowed.count(name))
            throw EUsage("オプション「" + name + "」は「" + command + "」と一緒には使えません");
}

// The text as a number; a text that is not one is a bad value of `option`
// (named in the message, when there is one).
int32_t Converted(const std::string& option, const std::string& text)
{
    try {
        return TextToInt(text);
    } catch (const EConvertError& e) {
        if (option.empty()) throw;
        throw EUsage(option + ": " + e.what());
    }
}

// The file --csv names, or none.
QString CsvOption(const TOptions& options)
{
    return options.Has("--csv") ? QString::fromStdString(options.Get("--csv")) : QString();
}

// The history, telling on standard error what the user must know.
THistoryRecorder HistoryFor(std::ostream& err)
{
    return THistoryRecorder([&err](const std::string& message) { err << message << "\n"; });
}

std::string NumberRange(const std::vector<TSheet>& sheets)
{
    const std::string first = "No." + std::to_string(sheets.front().Number);
    return sheets.size() == 1 ? first : first + "～No." + std::to_string(sheets.back().Number);
}

int MakePdf(const TOptions& options, std::ostream& out, std::ostream& err)
{
    Allow(options, "--pdf", {"--settings", "--preset", "--sheets", "--answers", "--number", "--paper", "--csv"});
    if (options.Has("--settings") && options.Has("--preset"))
        throw EUsage("「--settings」と「--preset」は一緒には使えません");
    // The history and the settings file are never written over.
    THistoryRecorder history = HistoryFor(err);
    TWorksheetSettings settings;
    if (options.Has("--settings")) {
        KeepFileSafe(options.Get("--settings"));
        ApplyNamed(ReadSettingsFile(QString::fromStdString(options.Get("--settings"))), settings);
    }
    if (options.Has("--preset")) {
        const TPreset* preset = FindPreset(options.Get("--preset"));
        if (!preset)
            throw EUsage("プリセット「" + options.Get("--preset") + "」はありません。--list-presets で一覧を表示します");
        ApplyNamed(preset->Settings, settings);
    }
    if (options.Has("--number")) settings.PrnNum = options.Get("--number");
    const int sheets = WholeNumber(options, "--sheets", 1, 99, 1);
    const TAnswerOrder order = AnswersOption(options, true);
    const TPaper paper = PaperOption(options);
    const std::string path = options.Get("--pdf");

    const int32_t first = Converted(options.Has("--number") ? "--number" : "", settings.PrnNum);
    SeedRandom();
    TPdfFileOutput output(QString::fromStdString(path), paper);
    const TClassSet set = DeliverClassSet(settings, sheets, first, order, output, history, {}, CsvOption(options));

    out << path << ": " << set.Sheets.size() << "枚（" << NumberRange(set.Sheets) << "）\n";
    if (!set.ShortSheets.empty()) {
        err << "問題数が足りないプリントがあります（" << set.Requested << "問のところ少ない）:";
        for (int32_t number : set.ShortSheets) err << " No." << number;
        err << "\n";
    }
    return 0;
}

int ListPresets(const TOptions& options, std::ostream& out)
{
    Allow(options, "--list-presets", {});
    for (const TPreset& preset : Presets())
        out << RulesOf(preset.Settings.Values.Operation).Name << "\t" << preset.Name << "\n";
    return 0;
}

int ListHistory(const TOptions& options, std::ostream& out, std::ostream& err)
{
    Allow(options, "--history", {"--limit"});
    const int limit = WholeNumber(options, "--limit", 1, INT32_MAX, INT32_MAX);
    THistoryRecorder history = HistoryFor(err);
    if (!history.History()) return kBadOption;
    // The time zone is read once, not for every line.
    tzset();
    for (const THistorySheet& sheet : history.History()->List(limit)) {
        const std::time_t at = static_cast<std::time_t>(sheet.RecordedAt);
        std::tm local{};
        localtime_r(&at, &local);
        // Written out by hand: strftime reads the time zone again each time.
        char time[80];
        std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min);
        out << sheet.Id << "\t" << time << "\tNo." << sheet.Number << "\t" << sheet.Summary << "\t"
            << (sheet.WithAnswers ? "答えつき" : "問題のみ") << "\t" << sheet.Destination << "\n";
    }
    return 0;
}

int HistoryPdf(const TOptions& options, std::ostream& out, std::ostream& err)
{
    Allow(options, "--history-pdf", {"--answers", "--paper", "--csv"});
    if (options.Positional.size() != 2)
        throw EUsage("「--history-pdf」には履歴の番号とファイル名が必要です（例: --history-pdf 12 sheet.pdf）");
    const int64_t id = Converted("--history-pdf", options.Positional[0]);
    const TAnswerOrder order = AnswersOption(options, false);
    THistoryRecorder history = HistoryFor(err);
    if (!history.History()) return kBadOption;
    const std::optional<THistorySheet> recorded = history.History()->Find(id);
    if (!recorded) throw EUsage("履歴に番号 " + options.Positional[0] + " のプリントはありません");
    const TSheet sheet = ReopenSheet(*recorded).Sheet;
    const QString csv = CsvOption(options);
    if (!csv.isEmpty()) WriteWholeFile(csv, SheetsCsv({sheet}));
    TPdfFileOutput output(QString::fromStdString(options.Positional[1]), PaperOption(options));
    PutOut({sheet}, order, output);
    out << options.Positional[1] << ": No." << recorded->Number << "\n";
    return 0;
}

}  // namespace

bool HasCommandLineOptions(int argc, char**)
{
    // Whatever is given: the command line refuses what it does not know.
    return argc > 1;
}

std::string CommandLineHelp()
{
    return R"(使い方: Tavelin [オプション]
オプションなしで起動すると、ウィンドウが開きます。

  --pdf FILE            プリントを PDF ファイルにします。
    --settings FILE       設定ファイル（設定 ▸ 設定を保存 で作ったもの）の設定で作ります。
    --preset NAME         プリセットの設定で作ります（--settings とは一緒に使えません）。
    --sheets N            N 枚（1～99）を、それぞれ違う問題で作ります。番号は続き番号です。
    --answers none|after|each
                          答えのプリント: none なし（既定）、after 全部の問題のあと、
                          each それぞれの問題のすぐあと。
    --number K            最初のプリント番号（既定は設定のプリント番号）。
    --paper A4|B5|B4|A3   用紙（既定は A4。B5 と B4 は JIS）。
    --csv FILE            問題と答えを CSV ファイルにもします（1 行に 1 問。
                          sheet,problem,operation,first,second,answer,remainder）。
  --list-presets        プリセットを一覧にします（計算の名前、タブ、--preset に渡す名前）。
  --history [--limit N] 履歴を新しい順に一覧にします（番号、日時、プリント番号、内容、答え、行き先）。
  --history-pdf ID FILE [--answers none|after] [--paper A4|B5|B4|A3] [--csv FILE]
                        履歴のプリントを、記録された問題のまま PDF にします。
  --help                この説明を表示します。
  --version             バージョンを表示します。

作ったプリントは履歴に記録されます（$XDG_DATA_HOME/Tavelin/history.sqlite3）。
終了コード: 0 成功、1 オプションやファイルの誤り、2 問題数が足りずに作れなかった。

例:
  Tavelin --pdf かけ算.pdf --preset "2けた×1けた（十の位でくり上がり）"
  Tavelin --pdf ひき算.pdf --preset "3けた−3けた（0をこえるくり下がり）" --sheets 30 --answers after --csv 答え.csv
  Tavelin --pdf クラス.pdf --settings 3年2組.json --sheets 30 --answers after --number 12 --paper B4
  Tavelin --list-presets
  Tavelin --history --limit 10
  Tavelin --history-pdf 42 答え.pdf --answers after
)";
}

namespace {

int RunOptions(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    try {
        const TOptions options = Parse(arguments);
        if (options.Has("--help")) return out << CommandLineHelp(), 0;
        if (options.Has("--version")) return out << "Tavelin " << TAVELIN_VERSION << "\n", 0;
        if (options.Has("--pdf")) return MakePdf(options, out, err);
        if (options.Has("--list-presets")) return ListPresets(options, out);
        if (options.Has("--history-pdf")) return HistoryPdf(options, out, err);
        if (options.Has("--history")) return ListHistory(options, out, err);
        throw EUsage("「--pdf」「--list-presets」「--history」「--history-pdf」「--help」「--version」のどれかが必要です");
    } catch (const EShortfall& e) {
        err << e.what() << "\n";
        return kShortfall;
    } catch (const std::exception& e) {
        err << WithFinalPeriod(e.what()) << "\n";
        return kBadOption;
    }
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    errno = 0;
    const int status = RunOptions(arguments, out, err);
    // What could not be written (a full disk) is a failure too.
    if (!out.flush()) {
        const int code = errno;
        err << WithFinalPeriod("結果を書き出せませんでした（" + (code ? SystemErrorText(code) : std::string("出力先のエラー")) + "）") << "\n";
        return status == 0 ? kBadOption : status;
    }
    return status;
}

int RunCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err)
{
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
    for (int i = 1; i < argc; ++i) arguments.emplace_back(QString::fromLocal8Bit(argv[i]).toStdString());
    return RunCommandLine(arguments, out, err);
}
