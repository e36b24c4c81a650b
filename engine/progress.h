// The once-a-second progress report: sizes, speed and percent of each downloading task, the total
// speed of all tasks with running workers, and the autosave of the resume file at every third
// whole percent.
#pragma once
#include "platform/ui/runtime.h"

namespace engine {

// The window timer "内部_进度通知" that drives ProgressTick; the window runtime knows timers by
// number, and setting and removal use this one.
inline constexpr int kProgressTimerId = 0x4E54;
inline constexpr int kProgressIntervalMs = 1000;

bool StartProgressTimer(platform::ui::WindowHandle window);
bool StopProgressTimer(platform::ui::WindowHandle window);

// Notifies every task that is downloading, or failed while some of its workers still run.
void ProgressTick();

// One progress report for the task. Speeds are KB/s averaged since StartTime; where no time has
// passed yet, or the file size is still 0, the report says 0 instead of dividing by zero.
void NotifyProgress(int id);

// x rounded to two decimals, halves away from zero.
double RoundToCents(double x);

}  // namespace engine
