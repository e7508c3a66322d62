#include "worksheet/wrong_procedures.h"

#include "worksheet/operations.h"

// Each operation's rows (wrong_subtraction.cpp, wrong_column_arithmetic.cpp,
// wrong_division.cpp).
std::vector<TWrongProcedure> SubtractionProcedures();
std::vector<TWrongProcedure> AdditionProcedures();
std::vector<TWrongProcedure> MultiplicationProcedures();
std::vector<TWrongProcedure> DivisionProcedures();

const std::vector<TWrongProcedure>& WrongProcedures(TOperation operation)
{
    static const std::vector<TWrongProcedure> subtraction = SubtractionProcedures();
    static const std::vector<TWrongProcedure> addition = AdditionProcedures();
    static const std::vector<TWrongProcedure> multiplication = MultiplicationProcedures();
    static const std::vector<TWrongProcedure> division = DivisionProcedures();
    static const std::vector<TWrongProcedure> none;
    switch (operation) {
    case TOperation::Subtraction: return subtraction;
    case TOperation::Addition: return addition;
    case TOperation::Multiplication: return multiplication;
    case TOperation::Division: return division;
    default: return none;
    }
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
