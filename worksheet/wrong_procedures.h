// The wrong procedures pupils follow in written calculation, each as what a
// pupil following it writes for two numbers: the catalogue a diagnostic
// sheet is chosen against and a pupil's answers are read with. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/settings.h"

// What a pupil writes as the answer: the number, and for a division the
// remainder beside it (0 where there is none).
struct TWrittenAnswer {
    int64_t Value = 0;
    int64_t Remainder = 0;
    TWrittenAnswer() = default;
    TWrittenAnswer(int64_t value, int64_t remainder = 0) : Value(value), Remainder(remainder) {}
    bool operator==(const TWrittenAnswer&) const = default;
};

// The answer as a pupil writes it: "207", "21あまり1".
std::string WrittenText(const TWrittenAnswer& answer);

struct TWrongProcedure {
    TOperation Operation;
    const char* Id;    // stable, for files and the command line: "borrow-no-decrement"
    const char* Name;  // as a teacher says it
    // The answer a pupil following the procedure writes for first ○ second;
    // none where the procedure leaves the pupil without an answer.
    std::optional<TWrittenAnswer> (*Answer)(int32_t first, int32_t second);
};

// True for an operation that has a catalogue and diagnostic sheets.
bool HasDiagnosticSheets(TOperation operation);

// The catalogue of an operation's wrong procedures, in a fixed order.
const std::vector<TWrongProcedure>& WrongProcedures(TOperation operation);

// What a procedure that leaves the pupil without an answer gives in
// EveryAnswer: no written answer is equal to it.
inline const TWrittenAnswer kNoAnswer{-1, -1};

// Every procedure's answer to first ○ second: the right one first, then the
// catalogue's in order (kNoAnswer for none).
std::vector<TWrittenAnswer> EveryAnswer(TOperation operation, int32_t first, int32_t second);

// The id of EveryAnswer's `index`-th procedure: "correct" for 0.
std::string ProcedureId(TOperation operation, size_t index);
