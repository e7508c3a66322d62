#include "worksheet/problems.h"

#include <stdexcept>
#include <string>

TProblemTable ProblemTable;
int32_t QuestionCount = 0;
int32_t PrintNumber = 0;
int32_t ShowAnswers = 0;
int32_t PreviewReady = 0;

namespace {
void CheckIndex(int k)
{
    if (k < 1 || k > TProblemTable::Capacity)
        throw std::out_of_range("problem table index " + std::to_string(k) + " is outside 1..20");
}
}  // namespace

TProblem& TProblemTable::operator[](int k)
{
    CheckIndex(k);
    return entries_[static_cast<size_t>(k - 1)];
}

const TProblem& TProblemTable::operator[](int k) const
{
    CheckIndex(k);
    return entries_[static_cast<size_t>(k - 1)];
}

void TProblemTable::Clear()
{
    entries_.fill(TProblem{});
}
