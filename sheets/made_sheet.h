// A sheet as it was made: its number and its problems, drawn again exactly,
// and recorded in the history.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/history.h"
#include "render/canvas.h"
#include "render/page_layout.h"
#include "worksheet/problems.h"
#include "worksheet/settings.h"

struct TMadeSheet {
    int32_t Number = 0;
    std::vector<TProblem> Problems;  // in page order, both forms set
};

// The sheet the program-wide table holds now: PrintNumber and entries 1 to
// QuestionCount.
TMadeSheet CurrentSheet();

// Puts a made sheet on the program-wide table (its problems, QuestionCount
// and PrintNumber) for as long as the object lives; the table, the count and
// the number as they were come back afterwards.
class TSheetOnTable {
public:
    explicit TSheetOnTable(const TMadeSheet& sheet);
    ~TSheetOnTable();
    TSheetOnTable(const TSheetOnTable&) = delete;
    TSheetOnTable& operator=(const TSheetOnTable&) = delete;

private:
    TProblemTable table_;
    int32_t count_, number_;
};

// Draws the made sheet on a surface W × H device units large, by the page
// layout, with the worked answers when `answers` is set.
void DrawMadeSheet(TCanvas& canvas, int32_t W, int32_t H, const TMadeSheet& sheet, const TPageView& view,
                   bool answers);

// The sheet for the history: the settings as a settings file writes them
// (with the sheet's own number), a summary, its problems, whether its answer
// sheet went with it, where it went.
THistorySheet HistorySheetOf(const TMadeSheet& sheet, const TWorksheetSettings& settings, bool withAnswers,
                             const std::string& destination);

// A recorded sheet as a made one: the problems exactly as recorded.
TMadeSheet MadeSheetOf(const THistorySheet& recorded);

// The page view a recorded or command-line sheet is drawn with: the
// reference page, and the sentence and grid of its settings.
TPageView PageViewOf(const TWorksheetSettings& settings);
