// Settings in a few words, for lists of sheets.
#pragma once

#include <string>
#include <vector>

#include "worksheet/settings.h"

// "かけ算 3けた×1けた・一位あり十位なし・16問": the operation, how many digits
// each number can have (its highest place whose range reaches above 0), the
// pattern and the number of problems on the sheet. A digit text that is not a number
// counts as 0; it never raises.
std::string SettingsSummary(const TWorksheetSettings& settings, int problems);
