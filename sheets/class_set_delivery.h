// The whole of a class set, for the window and the command line alike: made,
// put out and recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sheets/class_set.h"
#include "sheets/sheet_output.h"
#include "sheets/sheet_recorder.h"
#include "worksheet/diagnostic.h"

// Makes the set (MakeClassSet, drawing from RandomFromSeed(seed); each
// sheet keeps the seed, so that the history can make the set again),
// attaches the CSV of its answers (SheetsCsv) to the output when `csvPath`
// is given, so that the document and its CSV go out together, puts its
// pages out in `order` (PutOut) and records its sheets. `goOn` is asked with
// the steps done: the sheets made, then the pages drawn after them. Raises
// as those do (EFileError for the CSV); nothing is put out or recorded then.
// With `rollNumbers` the sheets carry 出席番号 1, 2, 3 … in their order.
TClassSet DeliverClassSet(const TWorksheetSettings& settings, int count, int32_t firstNumber, uint64_t seed,
                          TAnswerOrder order, TSheetOutput& output, TSheetRecorder& recorder,
                          const std::function<bool(int done)>& goOn = {},
                          const std::optional<std::string>& csvPath = std::nullopt, bool rollNumbers = false);

// The same for a set of `count` diagnostic sheets of `settings`' operation
// searched within `ranges` (MakeDiagnosticSheets), numbered from
// `firstNumber` on; EShortfall when the ranges give fewer than twelve
// problems.
TDiagnosticSet DeliverDiagnosticSet(const TWorksheetSettings& settings, const std::vector<TDigitRanges>& ranges, int count,
                                    int32_t firstNumber, uint64_t seed, TAnswerOrder order, TSheetOutput& output,
                                    TSheetRecorder& recorder, const std::optional<std::string>& csvPath = std::nullopt,
                                    bool rollNumbers = false);
