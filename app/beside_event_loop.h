// Slow work off the window's thread: the window keeps painting, and can be
// closed, while the work runs.
#pragma once

#include <functional>

// Runs `work` on a thread of its own while this thread goes on handling its
// events, and returns when the work has ended; an exception the work raised
// is raised again here. When the application quits meanwhile, it waits for
// the work to end (the work must bound its own time).
void RunBesideEventLoop(const std::function<void()>& work);
