// The class's marked sheets as the history keeps them, and kept there.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/history.h"
#include "reader/class_results.h"

// A reading per sheet: its kind, number, seed, 出席番号, where it was read,
// the procedure named and each answer with how it was decided.
std::vector<THistoryReading> HistoryReadingsOf(const std::vector<TMarkedSheet>& sheets);

// Records the sheets in `history` (all or none) together with what
// `alongside` delivers (THistory::RecordReadings); the message to show when
// the history could not record them, empty when it did. What `alongside`
// raises goes on to the caller, and then nothing is recorded.
std::string RecordReadings(THistory& history, const std::vector<TMarkedSheet>& sheets, const std::function<void()>& alongside = {});
