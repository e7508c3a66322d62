#include "sample_sheet.h"

#include "worksheet/generator.h"
#include "worksheet/problems.h"
#include "worksheet/random.h"

void FillSampleSheet()
{
    TWorksheetSettings settings;
    settings.u1h = settings.u2h = settings.u3h = "9";
    settings.u3l = "1";
    settings.d1l = "2";
    settings.d1h = "9";
    settings.d2l = "1";
    settings.d2h = "9";
    RandomState = 20261207u;
    QuestionCount = 16;
    GenerateProblems(settings, 16, 1000, 99999, {});
}
