// The wrong procedures pupils follow in written calculation, each as what a
// pupil following it writes for two numbers: the catalogue a diagnostic
// sheet is chosen against and a pupil's answers are read with. Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "worksheet/settings.h"

struct TWrongProcedure {
    TOperation Operation;
    const char* Id;    // stable, for files and the command line: "borrow-no-decrement"
    const char* Name;  // as a teacher says it
    // The answer a pupil following the procedure writes for first ○ second;
    // none where the procedure leaves the pupil without an answer.
    std::optional<int64_t> (*Answer)(int32_t first, int32_t second);
};

// The catalogue of an operation's wrong procedures, in a fixed order.
const std::vector<TWrongProcedure>& WrongProcedures(TOperation operation);
