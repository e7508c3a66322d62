// Helpers shared by the worksheet tests.
#pragma once

#include <cstdint>

// The generator's recurrence, stepped `draws` times from `state`.
uint32_t AdvanceState(uint32_t state, uint64_t draws);

// Puts the program-wide table and values back to their start-up state.
void ResetWorksheetGlobals();
