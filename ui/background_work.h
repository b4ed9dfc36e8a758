// Long work on a thread of its own while the window's event loop keeps turning: the window
// repaints and answers, the work message shows the work's progress lines, and its stop
// button stops the work at its next safe point.
#pragma once

#include <functional>

#include "core/progress.h"

namespace tavik::ui {

class WorkMessage;

// Runs `work` on another thread and returns when it has ended, rethrowing what it threw
// (WorkStopped after a stop). Meanwhile the event loop runs, user input included: the
// caller has locked what must not be used (the window's BusyScope). `work` must touch
// nothing the window changes meanwhile. With `stoppable` the message shows its stop button.
void RunOffThread(WorkMessage* message, bool stoppable, const std::function<void(Progress&)>& work);

}  // namespace tavik::ui
