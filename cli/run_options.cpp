#include "cli/run_options.h"

#include "errors/errors.h"
#include "sheets/sheet_csv.h"
#include "sheets/sheet_pdf.h"
#include "sheets/whole_file.h"
#include "worksheet/utf8.h"

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

// The file --csv names, or none; an empty name is refused as the PDF's is.
std::optional<std::string> CsvOption(const TOptions& options, const std::string& pdf)
{
    if (!options.Has("--csv")) return std::nullopt;
    CheckCsvBeside(pdf, options.Get("--csv"));
    return options.Get("--csv");
}

// The history, telling on standard error what the user must know.
THistoryRecorder HistoryFor(std::ostream& err, THistoryAccess access)
{
    return THistoryRecorder([&err](const std::string& message) { err << WithFinalPeriod(ShownBytes(message)) << "\n"; }, access,
                            [&err](const std::string& words) {
                                if (!words.empty()) err << words << std::endl;
                            });
}

std::string NumberRange(const std::vector<TSheet>& sheets)
{
    const std::string first = "No." + std::to_string(sheets.front().Number);
    return sheets.size() == 1 ? first : first + "～No." + std::to_string(sheets.back().Number);
}

