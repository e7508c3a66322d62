#include "worksheet/settings.h"

int32_t RequestedCount(const TWorksheetSettings& settings)
{
    return settings.QNumPattern * 4 + 12;
}
