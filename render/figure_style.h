// How a figure is drawn, and what each operation's figure is: one row of
// data per operation. Each figure's own file fills its row; the page reads
// them through DrawFigure.
#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// How a figure is drawn: with the dotted digit grid (Waku 0) or without, with
// the worked answers or without, at the page's scale; with the small carry
// and borrow marks on an answer sheet when Marks is set.
struct TFigureStyle {
    int32_t Waku = 0;
    bool Answers = false;
    float Scale = 1.0f;
    bool Marks = false;
    // The room the figure's cell of the page leaves it, in device units:
    // from x − RoomLeft, RoomWidth across, and from y RoomHeight down. A
    // figure that would not fit is drawn smaller as a whole; a RoomWidth or
    // RoomHeight of 0 is no limit.
    int32_t RoomLeft = 0, RoomWidth = 0, RoomHeight = 0;
    // The row height the figure is drawn with when it is drawn smaller (the
    // figures of a page share one); 0: the one that fits its own room.
    int32_t RowHeight = 0;
};

// The sign in a figure's operator cell.
enum class TSign { Times, Plus, Minus, Bracket };

// One operation's figure.
struct TFigureRow {
    TOperation Operation;
    TSign Sign;
    // Draws `problem` with its operator cell at x and its top at y; rows are
    // canvas.Font.Height high, columns one space wide.
    void (*Draw)(TCanvas& canvas, int32_t x, int32_t y, const TSheetProblem& problem, const TFigureStyle& style);
    // The row height at which every one of `problems` fits its room; null
    // for a figure that never grows too big (the canvas's Font.Height).
    int32_t (*RowHeight)(TCanvas& canvas, const std::vector<TSheetProblem>& problems, const TFigureStyle& style);
};
