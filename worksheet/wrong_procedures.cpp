#include "worksheet/wrong_procedures.h"

#include <stdexcept>

#include "worksheet/diagnostic_row.h"
#include "worksheet/operations.h"

const std::vector<TDiagnosticRow>& DiagnosticRows()
{
    static const std::vector<TDiagnosticRow> rows = {
        MultiplicationDiagnosticRow(),
        AdditionDiagnosticRow(),
        SubtractionDiagnosticRow(),
        DivisionDiagnosticRow(),
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

std::string WrittenText(const TWrittenAnswer& answer)
{
    return std::to_string(answer.Value) + (answer.Remainder != 0 ? "あまり" + std::to_string(answer.Remainder) : "");
}

std::vector<TWrittenAnswer> EveryAnswer(TOperation operation, int32_t first, int32_t second)
{
    const TSheetProblem right = RulesOf(operation).Solve(first, second);
    std::vector<TWrittenAnswer> answers{{right.Answer, right.Remainder}};
    for (const TWrongProcedure& p : WrongProcedures(operation)) answers.push_back(p.Answer(first, second).value_or(kNoAnswer));
    return answers;
}

std::string ProcedureId(TOperation operation, size_t index)
{
    return index == 0 ? "correct" : WrongProcedures(operation)[index - 1].Id;
}
