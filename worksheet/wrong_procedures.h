// The wrong procedures pupils follow in written calculation, each as what a
// pupil following it writes for two numbers: the catalogue a diagnostic
// sheet is chosen against and a pupil's answers are read with. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/settings.h"
#include "worksheet/sheet.h"

// What a pupil writes as the answer: the number, and for a division the
// remainder beside it (0 where there is none); each a whole number of its
// smallest place with its decimal places (0 for whole numbers). Two answers
// are equal when they are the same numbers, however many zeros end them
// (4.00 and 4).
struct TWrittenAnswer {
    int64_t Value = 0;
    int64_t Remainder = 0;
    int32_t Places = 0, RemainderPlaces = 0;
    TWrittenAnswer() = default;
    TWrittenAnswer(int64_t value, int64_t remainder = 0, int32_t places = 0, int32_t remainderPlaces = 0)
        : Value(value), Remainder(remainder), Places(places), RemainderPlaces(remainderPlaces)
    {
    }
    bool operator==(const TWrittenAnswer& other) const;
};

// The answer as a pupil writes it: "207", "21あまり1", "24あまり0.2".
std::string WrittenText(const TWrittenAnswer& answer);

// The right answer of a problem as it is written.
TWrittenAnswer WrittenAnswerOf(const TSheetProblem& problem);

struct TWrongProcedure {
    TOperation Operation;
    const char* Id;    // stable, for files and the command line: "borrow-no-decrement"
    const char* Name;  // as a teacher says it
    // The answer a pupil following the procedure writes for first ○ second;
    // none where the procedure leaves the pupil without an answer.
    std::optional<TWrittenAnswer> (*Answer)(int32_t first, int32_t second);
    // A procedure of decimals: what the pupil writes, given the problem
    // worked the right way (its places, how far its quotient was worked);
    // Answer is then null.
    std::optional<TWrittenAnswer> (*AnswerOf)(const TSheetProblem& right) = nullptr;
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
// The same for a problem as drawn (its decimal places among it).
std::vector<TWrittenAnswer> EveryAnswer(TOperation operation, const TSheetProblem& problem);

// EveryAnswer(operation, problem)[index] alone, the others not worked.
TWrittenAnswer AnswerOfProcedure(TOperation operation, const TSheetProblem& problem, size_t index);

// The id of EveryAnswer's `index`-th procedure: "correct" for 0.
std::string ProcedureId(TOperation operation, size_t index);
