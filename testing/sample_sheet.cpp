#include "sample_sheet.h"

#include "worksheet/generator.h"
#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/sheet_generator.h"

namespace {

constexpr uint32_t kSeed = 20261207u;

TWorksheetSettings SampleSettings()
{
    TWorksheetSettings settings;
    settings.u1h = settings.u2h = settings.u3h = "9";
    settings.u3l = "1";
    settings.d1l = "2";
    settings.d1h = "9";
    settings.d2l = "1";
    settings.d2h = "9";
    settings.AnsLow = "1000";
    settings.AnsHigh = "99999";
    settings.QNumPattern = 1;
    return settings;
}

}  // namespace

void FillSampleSheet()
{
    RandomState = kSeed;
    QuestionCount = 16;
    GenerateProblems(SampleSettings(), 16, 1000, 99999, {});
}

TSheet SampleSheet()
{
    RandomState = kSeed;
    TRandom random{kSeed};
    return GenerateSheet(SampleSettings(), 1, random);
}
