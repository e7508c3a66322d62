#include "worksheet/wrong_procedures.h"

#include <stdexcept>

#include "worksheet/decimal.h"
#include "worksheet/diagnostic_row.h"
#include "worksheet/operations.h"

const std::vector<TDiagnosticRow>& DiagnosticRows()
{
    static const std::vector<TDiagnosticRow> rows = {
        MultiplicationDiagnosticRow(),
        AdditionDiagnosticRow(),
        SubtractionDiagnosticRow(),
        DivisionDiagnosticRow(),
        DecimalAdditionDiagnosticRow(),
        DecimalSubtractionDiagnosticRow(),
        DecimalMultiplicationDiagnosticRow(),
        DecimalDivisionDiagnosticRow(),
    };
    return rows;
}

const TDiagnosticRow& DiagnosticRowOf(TOperation operation)
{
    for (const TDiagnosticRow& row : DiagnosticRows())
        if (row.Operation == operation) return row;
    throw std::out_of_range("no diagnostic row for the operation");
}

bool HasDiagnosticSheets(TOperation operation)
{
    for (const TDiagnosticRow& row : DiagnosticRows())
        if (row.Operation == operation) return true;
    return false;
}

const std::vector<TWrongProcedure>& WrongProcedures(TOperation operation)
{
    return DiagnosticRowOf(operation).Catalogue;
}

bool TWrittenAnswer::operator==(const TWrittenAnswer& other) const
{
    return Shortened(Value, Places) == Shortened(other.Value, other.Places) &&
           Shortened(Remainder, RemainderPlaces) == Shortened(other.Remainder, other.RemainderPlaces);
}

std::string WrittenText(const TWrittenAnswer& answer)
{
    return ShortDecimalText(answer.Value, answer.Places) +
           (answer.Remainder != 0 ? "あまり" + ShortDecimalText(answer.Remainder, answer.RemainderPlaces) : "");
}

TWrittenAnswer WrittenAnswerOf(const TSheetProblem& p)
{
    return {p.Answer, p.Remainder, p.AnswerPlaces, p.RemainderPlaces};
}

namespace {

std::vector<TWrittenAnswer> EveryAnswerOfWorked(TOperation operation, const TSheetProblem& right)
{
    std::vector<TWrittenAnswer> answers{WrittenAnswerOf(right)};
    for (const TWrongProcedure& p : WrongProcedures(operation))
        answers.push_back((p.AnswerOf ? p.AnswerOf(right) : p.Answer(right.First, right.Second)).value_or(kNoAnswer));
    return answers;
}

}  // namespace

std::vector<TWrittenAnswer> EveryAnswer(TOperation operation, int32_t first, int32_t second)
{
    return EveryAnswerOfWorked(operation, SolveProblem(RulesOf(operation), TOperands{first, second}));
}

std::vector<TWrittenAnswer> EveryAnswer(TOperation operation, const TSheetProblem& problem)
{
    // Whole numbers are worked again from the two numbers alone; a problem
    // of decimals carries what they cannot say (its places, how far its
    // quotient goes).
    if (!RulesOf(operation).Decimal()) return EveryAnswer(operation, problem.First, problem.Second);
    return EveryAnswerOfWorked(operation, problem);
}

TWrittenAnswer AnswerOfProcedure(TOperation operation, const TSheetProblem& problem, size_t index)
{
    const TSheetProblem right =
        RulesOf(operation).Decimal() ? problem : SolveProblem(RulesOf(operation), TOperands{problem.First, problem.Second});
    if (index == 0) return WrittenAnswerOf(right);
    const std::vector<TWrongProcedure>& catalogue = WrongProcedures(operation);
    if (index > catalogue.size()) return kNoAnswer;
    const TWrongProcedure& p = catalogue[index - 1];
    return (p.AnswerOf ? p.AnswerOf(right) : p.Answer(right.First, right.Second)).value_or(kNoAnswer);
}

std::string ProcedureId(TOperation operation, size_t index)
{
    return index == 0 ? "correct" : WrongProcedures(operation)[index - 1].Id;
}
