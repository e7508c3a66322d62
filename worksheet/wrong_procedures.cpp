#include "worksheet/wrong_procedures.h"

// Each operation's rows (wrong_subtraction.cpp, wrong_column_arithmetic.cpp).
std::vector<TWrongProcedure> SubtractionProcedures();
std::vector<TWrongProcedure> AdditionProcedures();
std::vector<TWrongProcedure> MultiplicationProcedures();

const std::vector<TWrongProcedure>& WrongProcedures(TOperation operation)
{
    static const std::vector<TWrongProcedure> subtraction = SubtractionProcedures();
    static const std::vector<TWrongProcedure> addition = AdditionProcedures();
    static const std::vector<TWrongProcedure> multiplication = MultiplicationProcedures();
    static const std::vector<TWrongProcedure> none;
    switch (operation) {
    case TOperation::Subtraction: return subtraction;
    case TOperation::Addition: return addition;
    case TOperation::Multiplication: return multiplication;
    default: return none;
    }
}
