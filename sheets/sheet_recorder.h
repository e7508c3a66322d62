// Recording sheets that went out into the history, for the window and the
// command line alike.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "history/history.h"
#include "sheets/sheet_output.h"
#include "worksheet/sheet.h"

// The sheet as the history keeps it: its settings as a settings file writes
// them (with the sheet's own number), a summary, its problems, whether its
// answer sheet went with it, and where it went.
THistorySheet HistorySheetOf(const TSheet& sheet, bool withAnswers, const std::string& destination);

class TSheetRecorder {
public:
    virtual ~TSheetRecorder() = default;
    // Records the sheets of one job. Never raises: a history that cannot be
    // used is told about and turned off.
    virtual void Record(const std::vector<TSheet>& sheets, bool withAnswers, const std::string& destination) = 0;
};

// Puts `sheets` out (PutOut) and records them as gone to the output's
// destination, with their answer sheets unless `order` is None. Raises as
// PutOut does; nothing is recorded then.
void DeliverSheets(const std::vector<TSheet>& sheets, TAnswerOrder order, TSheetOutput& output,
                   TSheetRecorder& recorder, const std::function<bool(int done)>& goOn = {});

// The history at DefaultHistoryPath(), opened at its first use. What the
// user must know (the history is off, a damaged file was moved aside) is
// told through `tell`, once: a box in the window, a line on standard error
// on the command line.
class THistoryRecorder : public TSheetRecorder {
public:
    using TTell = std::function<void(const std::string& message)>;
    explicit THistoryRecorder(TTell tell);
    ~THistoryRecorder() override;

    // The history, or null when it is off.
    THistory* History();
    void Record(const std::vector<TSheet>& sheets, bool withAnswers, const std::string& destination) override;

    // Why the history is off; empty while it is on.
    const std::string& WhyOff() const { return why_; }

    // Forgets the history opened so far, so that the next use opens it
    // again (at the path of that moment). Nothing may hold it then.
    void Reset();

private:
    void TurnOff(const std::string& why);

    TTell tell_;
    std::unique_ptr<THistory> history_;
    bool off_ = false;
    std::string why_;
};
