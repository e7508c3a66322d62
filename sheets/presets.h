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
