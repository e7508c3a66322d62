// Recording sheets that went out into the history, for the window and the
// command line alike.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "history/history.h"
#include "sheets/sheet_output.h"
#include "worksheet/sheet.h"

// The sheet as the history keeps it: its settings as a settings file writes
// them (with the sheet's own number), a summary, the problems on its page
// (whole rows of four), whether its answer sheet went with it, and where it
// went.
THistorySheet HistorySheetOf(const TSheet& sheet, bool withAnswers, const std::string& destination);

// The record of sheets could not be written: they do not go out. The message
// says why, in Japanese.
class ERecordFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSheetRecorder {
public:
    virtual ~TSheetRecorder() = default;
    // Records the sheets of one job and returns what they were recorded as
    // (nothing when there is no history). Only a history that is off (its
    // folder cannot be written at all: told once) lets sheets go out
    // unrecorded; any other history that cannot take the record (held by
    // another program, a full disk, an upgrade that failed, a file of a newer
    // version) raises ERecordFailed, so that nothing goes out unrecorded.
    virtual std::vector<int64_t> Record(const std::vector<TSheet>& sheets, bool withAnswers,
                                        const std::string& destination) = 0;
    // Takes back a record of sheets that did not go out after all. Never raises.
    virtual void Forget(const std::vector<int64_t>& ids) = 0;
};

// Puts `sheets` out (PutOut) and records them as gone to the output's
// destination, with their answer sheets unless `order` is None. The record
// is made when the document is ready and before it is put out, and taken
// back when it did not go out: a killed program leaves a record without its
// file at worst, never a file without its record. Raises as PutOut does.
void DeliverSheets(const std::vector<TSheet>& sheets, TAnswerOrder order, TSheetOutput& output,
                   TSheetRecorder& recorder, const std::function<bool(int done)>& goOn = {});

// The history at DefaultHistoryPath(), opened at its first use. What the
// user must know (the history is off, a damaged file was moved aside, a
// history that cannot be read) is told through `tell`: a box in the window,
// a line on standard error on the command line.
class THistoryRecorder : public TSheetRecorder {
public:
    using TTell = std::function<void(const std::string& message)>;
    explicit THistoryRecorder(TTell tell, THistoryAccess access = THistoryAccess::ReadWrite, THistoryProgress progress = {});
    ~THistoryRecorder() override;

    // The history to read, opened at its first use; null when it is off, or
    // cannot be opened now (told, and tried again at the next use).
    THistory* History();
    // Told kUpgradingWords while an older history is brought up to date
    // (or another run doing so is waited for), and "" when that ends.
    void SetProgress(THistoryProgress progress) { progress_ = std::move(progress); }
    std::vector<int64_t> Record(const std::vector<TSheet>& sheets, bool withAnswers,
                                const std::string& destination) override;
    void Forget(const std::vector<int64_t>& ids) override;

    // Why the history is off, or why it could not be opened at its last
    // use; empty while it is on.
    const std::string& WhyOff() const { return why_.empty() ? failure_ : why_; }
    // The history is off for the rest of the run (WhyOff says why).
    bool IsOff() const { return off_; }

    // Forgets the history opened so far, so that the next use opens it
    // again (at the path of that moment). Nothing may hold it then.
    void Reset();

private:
    // The history, opened now if it is not yet; null when it is off or
    // cannot be opened (failure_ says why).
    THistory* Open();
    void TurnOff(const std::string& why);

    TTell tell_;
    THistoryAccess access_;
    std::unique_ptr<THistory> history_;
    bool off_ = false;
    bool readOnly_ = false;      // opened for reading only: nothing is recorded
    bool toldReadOnly_ = false;
    std::string why_;
    std::string failure_;
    THistoryProgress progress_;
};
