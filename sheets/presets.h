// The built-in presets: settings by textbook unit, in the order in which
// pupils learn written multiplication. They are data (presets.json), built
// into the program.
#pragma once

#include <string>
#include <vector>

#include "sheets/settings_file.h"

// Each sets every digit box, the answer range, the carrying pattern and the
// problem count; the sentence and the sheet number are left alone.
struct TPreset {
    std::string Name;
    TSettingsFile Settings;
};

// Read once from the built-in data. Raises EFileError for broken data.
const std::vector<TPreset>& Presets();

// The preset of that name, compared after FoldForMatching, or null.
const TPreset* FindPreset(const std::string& name);

// The settings of `preset` for sheets on the paper named `paperName`: a
// preset of 大きなマス gets the largest cell of its grade (its own cell or
// smaller) at which six or more of its problems fit with 補助数字, with as
// many problems as fit there up to its own count; so it works with and
// without the marks. A preset of 標準 is as it is.
TSettingsFile PresetFor(const TPreset& preset, const std::string& paperName);
