// A realistic 16-problem sheet for the tests, benchmarks and pictures that
// need a full page: three-digit by two-digit problems from a fixed seed.
#pragma once

// Fills ProblemTable with 16 problems and sets QuestionCount to 16.
void FillSampleSheet();
