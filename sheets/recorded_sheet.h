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
    // it was made with.
    TSheet Sheet;
    // What it is drawn with: the sentence and grid of its settings.
    TPageView View;
    // Its settings but for the sheet number, which goes on from the window's:
    // a number is never given twice.
    TSettingsFile Settings;
};

// A recorded sheet that cannot be drawn exactly as it was made: an operation
// this program does not know, settings it cannot read, a problem it never
// makes or whose answer differs from the record, a count of problems its
// layout does not draw (a record of a later version, a hand-edited or
// damaged file). It is never drawn otherwise. The message names the sheet
// and says why, in Japanese.
class EUnreadableRecord : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The sheet of `recorded`, of the operation the record names (never the
// settings' or the defaults'), every recorded problem in the recorded
// layout. Raises EUnreadableRecord for a record it cannot draw so.
TReopenedSheet ReopenSheet(const THistorySheet& recorded);
