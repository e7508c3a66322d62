// A sheet from the history, reopened: to print or save again exactly as it
// was made, and to put its settings back into the window.
#pragma once

#include <stdexcept>
#include <string>

#include "history/history.h"
#include "render/page_layout.h"
#include "sheets/settings_file.h"
#include "worksheet/sheet.h"

struct TReopenedSheet {
    // The recorded problems exactly, the recorded number, and the settings
    // it was made with (the defaults where they cannot be read).
    TSheet Sheet;
    // What it is drawn with: the sentence and grid of its settings.
    TPageView View;
    // Its settings but for the sheet number, which goes on from the window's:
    // a number is never given twice.
    TSettingsFile Settings;
    // Why the settings could not be read; empty when they could.
    std::string SettingsError;
};

// A recorded sheet whose operation this program does not know (a record of
// a later version, a hand-edited file): it is never reprinted as another
// operation. The message says so in Japanese.
class EUnreadableRecord : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The sheet of `recorded`, of the operation the record names (never the
// settings' or the defaults'). Raises EUnreadableRecord for an operation it
// does not know.
TReopenedSheet ReopenSheet(const THistorySheet& recorded);
