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
    // (nothing when there is no history). A history that cannot be opened is
    // told about and turned off, and sheets go out without it; a history that
    // is open and cannot take the record (held by another program, a full
    // disk) raises ERecordFailed, so that nothing goes out unrecorded.
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
// user must know (the history is off, a damaged file was moved aside) is
// told through `tell`, once: a box in the window, a line on standard error
// on the command line.
class THistoryRecorder : public TSheetRecorder {
public:
    using TTell = std::function<void(const std::string& message)>;
    explicit THistoryRecorder(TTell tell, THistoryAccess access = THistoryAccess::ReadWrite);
    ~THistoryRecorder() override;

    // The history, or null when it is off.
    THistory* History();
    std::vector<int64_t> Record(const std::vector<TSheet>& sheets, bool withAnswers,
                                const std::string& destination) override;
    void Forget(const std::vector<int64_t>& ids) override;

    // Why the history is off; empty while it is on.
    const std::string& WhyOff() const { return why_; }

    // Forgets the history opened so far, so that the next use opens it
    // again (at the path of that moment). Nothing may hold it then.
    void Reset();

private:
    void TurnOff(const std::string& why);

    TTell tell_;
    THistoryAccess access_;
    std::unique_ptr<THistory> history_;
    bool off_ = false;
    bool readOnly_ = false;      // opened for reading only: nothing is recorded
    bool toldReadOnly_ = false;
    std::string why_;
};
