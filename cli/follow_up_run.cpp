#include "cli/follow_up_run.h"

#include <algorithm>

#include "cli/run_options.h"
#include "history/history.h"
#include "requests/requests.h"
#include "sheets/recorded_sheet.h"
#include "sheets/sheet_csv.h"
#include "sheets/sheet_pdf.h"
#include "worksheet/lcg.h"

namespace {

constexpr int kBadOption = 1;

// The readings of the class reading `which` names ("latest", or the number
// --readings lists), each pupil's current one, in 出席番号 order (those
// without one last, in the order read).
std::vector<THistoryReading> ClassReading(THistory& history, const std::string& which)
{
    const std::vector<THistoryReading> all = history.Readings(1000000);
    if (all.empty()) throw EUsage("履歴に読み取りがありません（--read で答案を読み取ってから作ります）");
    int64_t batch = all.front().Batch;
    if (which != "latest") {
        const int64_t id = DecimalOption("--follow-up", which, 1, INT64_MAX);
        const auto found = std::find_if(all.begin(), all.end(), [&](const THistoryReading& r) { return r.Id == id || r.Batch == id; });
        if (found == all.end()) throw EUsage("履歴に読み取り " + which + " はありません（--readings で一覧にします）");
        batch = found->Batch;
    }
    std::vector<THistoryReading> pupils;
    for (const THistoryReading& r : all)
        if (r.Batch == batch && !r.ReplacedBy) pupils.push_back(r);
    std::reverse(pupils.begin(), pupils.end());  // in the order read
    std::stable_sort(pupils.begin(), pupils.end(), [](const THistoryReading& a, const THistoryReading& b) {
        return a.Roll.value_or(INT32_MAX) < b.Roll.value_or(INT32_MAX);
    });
    return pupils;
}

}  // namespace

int MakeFollowUpSheets(const TOptions& options, std::ostream& out, std::ostream& err)
{
    for (const char* other : {"--diagnostic", "--sheets", "--settings", "--preset", "--problems", "--roll-numbers"})
        if (options.Has(other)) throw EUsage(std::string("「--follow-up」と「") + other + "」は一緒には使えません");
    const std::string path = options.Get("--pdf");
    const TAnswerOrder order = AnswersOption(options, true);
    const TPaper paper = PaperOption(options);
    const std::optional<std::string> csv = CsvOption(options, path);
    const uint64_t seed = options.Has("--seed") ? ReadSeed(options.Get("--seed")) : FreshSeed();
    THistoryRecorder history = HistoryFor(err);
    THistory* kept = history.History();
    if (!kept) return kBadOption;
    std::vector<TPupilWork> pupils;
    int32_t last = 0;
    bool left = false;
    for (const THistoryReading& r : ClassReading(*kept, options.Get("--follow-up"))) {
        const std::string whose = r.Roll ? "出席番号 " + std::to_string(*r.Roll) : r.Source;
        const std::optional<THistorySheet> recorded = r.SheetId ? kept->Find(*r.SheetId) : std::nullopt;
        if (!recorded) {
            err << whose << ": 読み取ったプリントが履歴にないので、次のプリントを作れません。\n";
            left = true;
            continue;
        }
        TPupilWork pupil;
        try {
            pupil.Sheet = ReopenSheet(*recorded).Sheet;
        } catch (const EUnreadableRecord& e) {
            err << whose << ": " << e.what() << "\n";
            left = true;
            continue;
        }
        if (options.Has("--cell"))
            pupil.Sheet.Settings.CellMM = static_cast<int32_t>(DecimalOption("--cell", options.Get("--cell"), 7, 20));
        pupil.Roll = r.Roll.value_or(0);
        // The problems worked on a follow-up sheet were not the pupil's to answer.
        std::vector<TSheetProblem> answered;
        for (size_t k = 0; k < r.Answers.size() && k < pupil.Sheet.Problems.size(); ++k) {
            const THistoryReading::TAnswer& a = r.Answers[k];
            if (a.Decided == "shown") continue;
            answered.push_back(pupil.Sheet.Problems[k]);
            pupil.Answers.push_back(a.Answer ? std::optional<TWrittenAnswer>(TWrittenAnswer(*a.Answer, a.Remainder, a.Places, a.RemainderPlaces))
                                             : std::nullopt);
            pupil.Decided = pupil.Decided && a.Decided != "asked";
        }
        pupil.Sheet.Problems = std::move(answered);
        last = std::max(last, r.Number);
        pupils.push_back(std::move(pupil));
    }
    if (pupils.empty()) {
        err << "次のプリントを作れる子どもがいません。\n";
        return kBadOption;
    }
    const int32_t first = options.Has("--number")
                              ? static_cast<int32_t>(DecimalOption("--number", options.Get("--number"), INT32_MIN, INT32_MAX))
                              : static_cast<int32_t>(static_cast<uint32_t>(last) + 1u);
    const std::vector<TSheet> sheets = MakeFollowUpsOf(pupils, first, seed, PaperName(paper));
    TPdfFileOutput output(path, paper);
    if (csv) output.Attach(*csv, SheetsCsv(sheets));
    DeliverSheets(sheets, order, output, history);
    out << path << ": 一人ひとりのプリント " << sheets.size() << "枚（" << NumberRange(sheets) << "） --seed " << seed << "\n";
    if (const std::string note = FollowUpsNote(sheets); !note.empty()) err << note << "\n";
    return left ? kBadOption : 0;
}
