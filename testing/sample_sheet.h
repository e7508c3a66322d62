// A realistic 16-problem sheet for the tests, benchmarks and pictures that
// need a full page: three-digit by two-digit problems from a fixed seed.
#pragma once

#include "worksheet/sheet.h"

// Fills ProblemTable with 16 problems and sets QuestionCount to 16.
void FillSampleSheet();

// The same sheet as a value, numbered 1 (RandomState is set as for
// FillSampleSheet).
TSheet SampleSheet();
