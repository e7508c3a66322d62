#include "sheets/sheet_recorder.h"

#include "sheets/settings_file.h"
#include "worksheet/settings_summary.h"

THistorySheet HistorySheetOf(const TSheet& sheet, bool withAnswers, const std::string& destination)
{
    THistorySheet recorded;
    recorded.Number = sheet.Number;
    TWorksheetSettings asMade = sheet.Settings;
    asMade.PrnNum = std::to_string(sheet.Number);
    recorded.Settings = SettingsFileText(asMade).toStdString();
    recorded.Summary = SettingsSummary(sheet.Settings, static_cast<int>(sheet.Problems.size()));
    for (const TSheetProblem& p : sheet.Problems) recorded.Problems.push_back({p.First, p.Second});
    recorded.WithAnswers = withAnswers;
    recorded.Destination = destination;
    return recorded;
}

void DeliverSheets(const std::vector<TSheet>& sheets, TAnswerOrder order, TSheetOutput& output,
                   TSheetRecorder& recorder, const std::function<bool(int done)>& goOn)
{
    PutOut(sheets, order, output, goOn);
    recorder.Record(sheets, order != TAnswerOrder::None, output.Destination());
}

THistoryRecorder::THistoryRecorder(TTell tell) : tell_(std::move(tell)) {}

THistoryRecorder::~THistoryRecorder() = default;

THistory* THistoryRecorder::History()
{
    if (off_) return nullptr;
    if (history_) return history_.get();
    try {
        history_ = std::make_unique<THistory>(DefaultHistoryPath());
    } catch (const EHistoryUnavailable& e) {
        TurnOff(e.what());
        return nullptr;
    }
    if (!history_->MovedAside().empty())
        tell_("履歴のファイルが壊れていたので「" + history_->MovedAside() + "」に移し、新しい履歴を始めました。");
    return history_.get();
}

void THistoryRecorder::Record(const std::vector<TSheet>& sheets, bool withAnswers, const std::string& destination)
{
    THistory* history = History();
    if (!history) return;
    std::vector<THistorySheet> recorded;
    for (const TSheet& sheet : sheets) recorded.push_back(HistorySheetOf(sheet, withAnswers, destination));
    try {
        history->Record(recorded);
    } catch (const EHistoryUnavailable& e) {
        // Kept alive for whoever still holds it; nothing more is recorded.
        TurnOff(e.what());
    }
}

void THistoryRecorder::Reset()
{
    history_.reset();
    off_ = false;
    why_.clear();
}

void THistoryRecorder::TurnOff(const std::string& why)
{
    off_ = true;
    why_ = why;
    tell_(why);
}
