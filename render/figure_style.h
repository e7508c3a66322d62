// How a figure is drawn, and what each operation's figure is: one row of
// data per operation. Each figure's own file fills its row; the page reads
// them through DrawFigure.
#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"
#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// Where a figure's answer is written: a row of Count cells, each Width ×
// Height device units, the last of them ending at Right, their top at Top.
struct TAnswerCells {
    int32_t Right = 0, Top = 0, Width = 0, Height = 0, Count = 0;
};
// The cells of a figure's answer, and of a division's remainder (Count 0:
// none).
struct TAnswerPlaces {
    TAnswerCells Answer, Remainder;
};

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
    // A division's working room: the steps of the longest working for a
    // dividend of its places, with a divisor of this many places (0: the
    // problem's own), whatever its quotient.
    int32_t FewestDivisorDigits = 0;
    // A division's row for the remainder, 「あまり（　　）」, where the settings
    // allow one.
    bool RemainderBlank = false;
    // The large-cell layout: every row a whole cell, a division's marks in
    // rows of their own.
    bool InCells = false;
    // A figure's small words (「あまり」) drawn before its digits instead of
    // after them: figures drawn in turn, one each way, give a printer the
    // small words of two of them as one run of text.
    bool SmallWordsFirst = false;
    // Filled, when given, with where the figure's answer is written.
    TAnswerPlaces* Places = nullptr;
};

// What the figures of a sheet are made to hold: the most places of its first
// and second numbers, the fewest places of its second (a division's working
// room), whether a division asks for its remainder, and whether the marks
// have room.
struct TFigureShape {
    int32_t FirstPlaces = 1, SecondPlaces = 1, FewestSecondPlaces = 1;
    bool RemainderBlank = false;
    bool Marks = false;
    // Figures of decimals: the most columns of an answer's working (a
    // product's digits, a quotient's dividend with the zeros its working
    // appends) and the most steps of a division's working.
    int32_t AnswerColumns = 0, Steps = 0;
};

// A figure in cells: the columns left of its operator cell, the columns from
// the operator cell on, and the rows.
struct TCellGrid {
    int32_t Left = 0, Right = 0, Rows = 0;
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
    // The cells every figure of a sheet of `shape` takes in the large-cell
    // layout.
    TCellGrid (*Grid)(const TFigureShape& shape);
    // Widens `shape` to hold `problem`, for figures whose columns are not
    // their numbers' places (decimals); null: the numbers' places.
    void (*Measure)(const TSheetProblem& problem, TFigureShape& shape) = nullptr;
};
