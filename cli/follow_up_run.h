// `--pdf F --follow-up ID|latest`: each pupil's next sheet from a class's
// reading in the history.
#pragma once

#include <ostream>

#include "cli/options.h"

// Makes the sheets, puts them out with their answers and CSV as a class set
// goes and records them; says on `out` what was made, on `err` each pupil
// left out and why. The exit status: 0, or 1 with the reason.
int MakeFollowUpSheets(const TOptions& options, std::ostream& out, std::ostream& err);
