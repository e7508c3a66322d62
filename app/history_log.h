// The window's history: the shared recorder, telling what the teacher must
// know in a box over the active window.
#pragma once

#include "sheets/sheet_recorder.h"

// The program-wide history of the window, opened at its first use.
THistoryRecorder& HistoryLog();
