// What the runs that make sheets read from their options alike, and how they
// tell: the paper, the answer sheets' order, the CSV beside the PDF, the
// history, the sheets' numbers.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/options.h"
#include "sheets/paper.h"
#include "sheets/sheet_output.h"
#include "sheets/sheet_recorder.h"
#include "worksheet/sheet.h"

// The paper --paper names (A4 without it); EUsage for another word.
TPaper PaperOption(const TOptions& options);

// The answer sheets' order --answers names (none without it); each only
// where `eachAllowed`. EUsage for another word.
TAnswerOrder AnswersOption(const TOptions& options, bool eachAllowed);

// The file --csv names, or none; an empty name is refused as the PDF's is.
std::optional<std::string> CsvOption(const TOptions& options, const std::string& pdf);

// The history, telling on standard error what the user must know.
THistoryRecorder HistoryFor(std::ostream& err, THistoryAccess access = THistoryAccess::ReadWrite);

// 「No.3」 or 「No.3～No.7」: the numbers of the sheets, first to last.
std::string NumberRange(const std::vector<TSheet>& sheets);
