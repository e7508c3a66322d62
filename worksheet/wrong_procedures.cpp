#include "worksheet/wrong_procedures.h"

std::vector<TWrongProcedure> SubtractionProcedures();

const std::vector<TWrongProcedure>& WrongProcedures(TOperation operation)
{
    static const std::vector<TWrongProcedure> subtraction = SubtractionProcedures();
    static const std::vector<TWrongProcedure> none;
    return operation == TOperation::Subtraction ? subtraction : none;
}
