#include "sheets/sheet_recorder.h"

#include "sheets/settings_file.h"
#include "sheets/whole_file.h"
#include "worksheet/operations.h"
#include "worksheet/settings_summary.h"

THistorySheet HistorySheetOf(const TSheet& sheet, bool withAnswers, const std::string& destination)
{
    THistorySheet recorded;
    recorded.Number = sheet.Number;
    TWorksheetSettings asMade = sheet.Settings;
    asMade.PrnNum = std::to_string(sheet.Number);
    recorded.Settings = SettingsFileText(asMade);
    // Exactly the problems on the page: whole rows of four.
    const size_t onPage = sheet.ProblemsOnPage();
    recorded.Summary = sheet.Diagnostic ? std::string("診断プリント・") + RulesOf(sheet.Settings.Operation).Name + "・" +
                                              std::to_string(onPage) + "問"
                                        : SettingsSummary(sheet.Settings, static_cast<int>(onPage));
    for (size_t k = 0; k < onPage; ++k) {
        const TSheetProblem& p = sheet.Problems[k];
        recorded.Problems.push_back({p.First, p.Second, p.Answer, p.Remainder, p.FirstPlaces, p.SecondPlaces,
                                     p.AnswerPlaces, p.RemainderPlaces});
    }
    recorded.Operation = RulesOf(sheet.Settings.Operation).Key;
    recorded.Seed = sheet.Seed;
    recorded.Diagnostic = sheet.Diagnostic;
    recorded.WithAnswers = withAnswers;
    recorded.Destination = destination;
    return recorded;
}

void DeliverSheets(const std::vector<TSheet>& sheets, TAnswerOrder order, TSheetOutput& output,
                   TSheetRecorder& recorder, const std::function<bool(int done)>& goOn)
{
    std::vector<int64_t> recorded;
    try {
        PutOut(sheets, order, output, goOn,
               [&] { recorded = recorder.Record(sheets, order != TAnswerOrder::None, output.Destination()); });
    } catch (...) {
        recorder.Forget(recorded);
        throw;
    }
}

THistoryRecorder::THistoryRecorder(TTell tell, THistoryAccess access, THistoryProgress progress)
    : tell_(std::move(tell)), access_(access), progress_(std::move(progress))
{
    // No sheet is ever written over the history.
    const std::string path = DefaultHistoryPath();
    if (path.empty()) return;
    for (const char* suffix : {"", "-wal", "-shm", "-journal", "-upgrade"}) KeepFileSafe(path + suffix);
}

THistoryRecorder::~THistoryRecorder() = default;

THistory* THistoryRecorder::Open()
{
    if (off_) return nullptr;
    if (history_) return history_.get();
    failure_.clear();
    const std::string path = DefaultHistoryPath();
    if (path.empty()) {
        TurnOff("履歴をしまうホームフォルダがわかりません。履歴は記録されません");
        return nullptr;
    }
    try {
        history_ = std::make_unique<THistory>(path, access_, progress_);
    } catch (const EHistoryFolderUnwritable& e) {
        // A folder that cannot be written at all turns the history off;
        // what is there is still read as it stands.
        try {
            history_ = std::make_unique<THistory>(path, THistoryAccess::ReadOnly);
            readOnly_ = true;
            return history_.get();
        } catch (const EHistoryUnavailable&) {
        }
        TurnOff(e.what());
        return nullptr;
    } catch (const EHistoryUnavailable& e) {
        failure_ = e.Reason();
        return nullptr;
    }
    auto tellMoved = [this](const std::string& movedTo) {
        tell_("履歴のファイルが壊れていたので「" + movedTo + "」に移し、新しい履歴を始めました。");
    };
    if (!history_->MovedAside().empty()) tellMoved(history_->MovedAside());
    history_->SetMovedAsideHandler(tellMoved);
    return history_.get();
}

THistory* THistoryRecorder::History()
{
    THistory* history = Open();
    if (!history && !failure_.empty()) tell_("履歴を開けません（" + failure_ + "）");
    return history;
}

std::vector<int64_t> THistoryRecorder::Record(const std::vector<TSheet>& sheets, bool withAnswers,
                                              const std::string& destination)
{
    const std::string stopped = "。記録のないプリントは出さないので、このプリントは作っていません（番号もそのままです）";
    THistory* history = Open();
    if (!history) {
        if (off_) return {};
        throw ERecordFailed("履歴に記録できませんでした（" + failure_ + "）" + stopped);
    }
    if (readOnly_) {
        // Its folder cannot be written: the sheets go out unrecorded, and
        // the teacher is told once.
        if (!toldReadOnly_) tell_("履歴「" + DefaultHistoryPath() + "」には書き込めないので、これからのプリントは履歴に記録されません");
        toldReadOnly_ = true;
        return {};
    }
    std::vector<THistorySheet> recorded;
    for (const TSheet& sheet : sheets) recorded.push_back(HistorySheetOf(sheet, withAnswers, destination));
    try {
        return history->Record(recorded);
    } catch (const EHistoryUnavailable& e) {
        throw ERecordFailed("履歴に記録できませんでした（" + e.Reason() + "）" + stopped);
    }
}

void THistoryRecorder::Forget(const std::vector<int64_t>& ids)
{
    if (ids.empty() || !history_ || off_) return;
    try {
        for (const int64_t id : ids) history_->Remove(id);
    } catch (const EHistoryUnavailable& e) {
        // Opened again at the next use.
        history_.reset();
        tell_("履歴から記録を取り消せませんでした（" + e.Reason() + "）");
    }
}

void THistoryRecorder::Reset()
{
    history_.reset();
    readOnly_ = false;
    toldReadOnly_ = false;
    off_ = false;
    why_.clear();
    failure_.clear();
}

void THistoryRecorder::TurnOff(const std::string& why)
{
    off_ = true;
    why_ = why;
    tell_(why);
}
