// Every input of one worksheet, one field per control of the main window.
#pragma once

#include <cstdint>
#include <string>

// The written calculation a sheet drills.
enum class TOperation : int32_t {
    Multiplication,
    Addition,
    Subtraction,
    Division,
    // The same with numbers of decimal places (小数).
    DecimalAddition,
    DecimalSubtraction,
    DecimalMultiplication,
    DecimalDivision,
};

// The six carrying patterns in the item order of the carrying radio group;
// the value is the item index. An index outside 0..5 behaves as kmAny.
enum TKuriagariMode : int32_t { kmAny, kmNoCarry, kmOnesCarry, kmTensCarry, kmTensSum1, kmTensSum2 };

// Texts are kept exactly as typed (UTF-8); they become numbers only through
// TextToInt when an operation needs them. Place 1 = ones ... 4 = thousands,
// l = low end, h = high end; u = the first number (multiplicand, augend,
// minuend, dividend), d = the second (multiplier, addend, subtrahend,
// divisor).
struct TWorksheetSettings {
    std::string u1l = "0", u1h = "0", u2l = "0", u2h = "0";
    std::string u3l = "0", u3h = "0", u4l = "0", u4h = "0";
    std::string d1l = "0", d1h = "0", d2l = "0", d2h = "0";
    std::string d3l = "0", d3h = "0", d4l = "0", d4h = "0";
    // The decimal places of the operations with decimals: 01 the 1/10
    // place, 001 the 1/100 place, 0001 the 1/1000 place.
    std::string u01l = "0", u01h = "0", u001l = "0", u001h = "0", u0001l = "0", u0001h = "0";
    std::string d01l = "0", d01h = "0", d001l = "0", d001h = "0", d0001l = "0", d0001h = "0";
    std::string AnsLow = "0", AnsHigh = "0";
    int32_t Kuriagari = kmAny;  // item index of the carrying group
    int32_t QNumPattern = 0;    // 0: 3 rows of 4, 1: 4 rows of 4
    int32_t Waku = 0;           // 0: dotted digit grid, 1: none
    int32_t Amari = 0;          // a division's remainder: 0 any, 1 none, 2 some
    std::string QstSentence = "つぎの計算をしましょう。";
    std::string PrnNum = "1";
    // The operation (the 計算 menu) and whether answer sheets show the small
    // carry and borrow marks (補助数字).
    TOperation Operation = TOperation::Multiplication;
    bool CarryMarks = false;
    // A multiplication's problems carry in the addition of their partial
    // products (a multiplier of two places or more).
    bool PartialSumCarry = false;
    // The layout: 0 is 標準 (the figures of the reference page); 7 to 20 is
    // 大きなマス, square cells of that many millimetres on paper.
    int32_t CellMM = 0;
    // How many problems a sheet of 大きなマス asks for (6, 8, 9, 12 or 16);
    // 0 takes the problem-count group's (12 or 16).
    int32_t Problems = 0;
    // The face of the digits and signs of 大きなマス.
    std::string DigitFont = "BIZ UDGothic";
    // 大きなマス carry the reader's marks (読み取り用の印): corner marks, the
    // 出席番号 box and the sheet's code.
    bool ReadingMarks = true;
    bool operator==(const TWorksheetSettings&) const = default;
};

// The cell sizes of 大きなマス in millimetres, the problem counts it offers,
// and its digit faces (the face, and its name in the window).
inline constexpr int32_t kSmallestCellMM = 7, kLargestCellMM = 20;
inline constexpr int32_t kProblemCounts[] = {6, 8, 9, 12, 16};
struct TDigitFont {
    const char* Face;
    const char* Name;
};
inline constexpr TDigitFont kDigitFonts[] = {{"BIZ UDGothic", "BIZ UDゴシック"}, {"Klee One", "クレー（教科書の形）"}};

// The number of problems a sheet asks for: in 大きなマス the count chosen
// for it, else QNumPattern × 4 + 12 (12 or 16).
int32_t RequestedCount(const TWorksheetSettings& settings);
