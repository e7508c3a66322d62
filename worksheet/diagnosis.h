// Reading a diagnostic sheet: the key of a problem (its wrong answers and
// the procedures that give them) and a pupil's answers read back to the
// procedure they follow. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "worksheet/sheet.h"
#include "worksheet/wrong_procedures.h"

// A procedure's letter on the key: ア, イ, ウ … by its place in the catalogue.
std::string ProcedureLetter(size_t index);

// One line of a problem's key: a wrong answer and the letters of the
// procedures that give it.
struct TKeyEntry {
    std::string Letters;
    TWrittenAnswer Answer;
};

// The distinct wrong answers the catalogue's procedures give to `problem`,
// in the order of their first procedure; none that is the right answer.
std::vector<TKeyEntry> DiagnosticKey(TOperation operation, const TSheetProblem& problem);

// A written answer as a teacher types it: "207", "21あまり1", "21r1"
// (full-width digits too); none for a text that is not one.
std::optional<TWrittenAnswer> ParseWrittenAnswer(const std::string& text);

// The procedures (ids, "correct" first for the right one) that give
// `answer` to `problem`; none for an answer no procedure gives.
std::vector<std::string> ProceduresGiving(TOperation operation, const TSheetProblem& problem, const TWrittenAnswer& answer);

// What a pupil's answers say. Procedure is the catalogue's id, "correct" or
// "undecided".
struct TDiagnosis {
    std::string Procedure;
    std::string Name;                  // as the teacher reads it
    int32_t Explained = 0;             // answers the procedure gives
    std::vector<int32_t> NotFitting;   // problems (from 1) whose answer it does not give
};

// What `diagnosis` of answers to `problems` tells the teacher, in a few
// lines: the procedure, how many of the given answers it explains, and the
// problems whose answers it does not.
std::string DiagnosisText(TOperation operation, const std::vector<TSheetProblem>& problems, const TDiagnosis& diagnosis,
                          int32_t given);

// Reads `answers` (none: left blank) to the problems: the procedure that
// gives most of them — 正しくできています for the right one — or
// 判定できません when two fit equally or it gives fewer than half of them.
TDiagnosis Diagnose(TOperation operation, const std::vector<TSheetProblem>& problems,
                    const std::vector<std::optional<TWrittenAnswer>>& answers);
