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

// A pupil's answers as the teacher typed them, one text per problem.
struct TTypedAnswers {
    std::vector<std::optional<TWrittenAnswer>> Answers;  // none: left blank
    // The first text that is not an answer of the operation (from 1; 0 when
    // every text was read), and why, to follow 「n問目の答え「…」」:
    // 「は答えとして読めません」.
    int32_t Refused = 0;
    std::string Why;
};

// Reads `texts`: a text that is `blank` once spaces are trimmed is no
// answer; the others ParseWrittenAnswer, a remainder only where the
// operation has one. Stops at the first text it refuses.
TTypedAnswers ReadTypedAnswers(TOperation operation, const std::vector<std::string>& texts, const std::string& blank = "");

// The procedures (ids, "correct" first for the right one) that give
// `answer` to `problem`; none for an answer no procedure gives.
std::vector<std::string> ProceduresGiving(TOperation operation, const TSheetProblem& problem, const TWrittenAnswer& answer);

// What a pupil's answers say. Procedure is the catalogue's id, "correct" or
// "undecided".
struct TDiagnosis {
    std::string Procedure;
    std::string Name;                  // as the teacher reads it
    int32_t Given = 0;                 // answers given (not left blank)
    int32_t Explained = 0;             // answers the procedure gives
    // Problems (from 1) whose answer the procedure does not give; when
    // undecided, those whose answer is wrong.
    std::vector<int32_t> NotFitting;
};

// What `diagnosis` of answers to `problems` tells the teacher, in a few
// lines: the procedure, how many of the given answers it explains, and the
// problems whose answers it does not.
std::string DiagnosisText(TOperation operation, const std::vector<TSheetProblem>& problems, const TDiagnosis& diagnosis);

// Reads `answers` (none: left blank) to the problems: the procedure that
// gives most of them — 正しくできています for the right one, only when at
// most one answer given is wrong — or 判定できません when two fit equally,
// the best gives fewer than half of them, or more than one answer is wrong
// and no wrong procedure explains them.
TDiagnosis Diagnose(TOperation operation, const std::vector<TSheetProblem>& problems,
                    const std::vector<std::optional<TWrittenAnswer>>& answers);
