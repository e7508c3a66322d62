#include "worksheet/settings.h"

int32_t RequestedCount(const TWorksheetSettings& settings)
{
    if (settings.CellMM > 0 && settings.Problems > 0) return settings.Problems;
    return settings.QNumPattern * 4 + 12;
}
