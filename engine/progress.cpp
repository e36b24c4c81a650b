#include "engine/progress.h"

#include <cmath>
#include <cstdint>

#include "engine/clock.h"
#include "engine/notify.h"
#include "engine/task_config.h"
#include "engine/task_files.h"
#include "engine/task_table.h"

namespace engine {

namespace {

// R(bytes / seconds / 1024); 0 in the first second of a transfer.
double average_speed(std::int32_t received, std::int32_t start_time) {
  const double elapsed = static_cast<double>(UnixNow()) - start_time;
  return elapsed == 0 ? 0 : RoundToCents(received / elapsed / 1024);
}

// The sum is kept as a 32-bit float after every addition, as the report carries floats.
float total_speed() {
  float total = 0;
  for (int id = 1; id <= TaskCount(); ++id) {
    const TaskRuntime& runtime = RuntimeOf(id);
    if (runtime.ActiveThreads > 0) {
      total = static_cast<float>(total + average_speed(runtime.AlreadySize, runtime.StartTime));
    }
  }
  return std::fabs(total) <= 1e-7 ? -1.0f : total;
}

// At every third whole percent, and not before any byte arrived.
bool autosave_due(float percent) {
  const double whole = std::floor(percent);
  return std::fabs(std::fmod(whole, 3)) <= 1e-7 && percent > 1e-7;
}

}  // namespace

double RoundToCents(double x) { return std::round(x * 100) / 100; }

bool StartProgressTimer(platform::ui::WindowHandle window) {
  return platform::ui::set_timer(window, kProgressTimerId, kProgressIntervalMs, ProgressTick);
}

bool StopProgressTimer(platform::ui::WindowHandle window) {
  return platform::ui::kill_timer(window, kProgressTimerId);
}

void ProgressTick() {
  for (int id = 1; id <= TaskCount(); ++id) {
    const TaskRuntime& runtime = RuntimeOf(id);
    const std::int32_t state = runtime.State;
    if (state == kStateDownloading || (state == kStateError && runtime.ActiveThreads > 0)) {
      NotifyProgress(id);
    }
  }
}

void NotifyProgress(int id) {
  const float total = total_speed();
  const TaskRuntime& runtime = RuntimeOf(id);
  const std::int32_t file_size = runtime.FileSize;
  const std::int32_t received = runtime.AlreadySize;
  const float percent =
      file_size == 0 ? 0.0f : static_cast<float>(RoundToCents(static_cast<double>(received) / file_size * 100));
  if (autosave_due(percent)) SaveTaskConfig(ConfigNameOf(LocatNameOf(id)), id);
  const float speed = static_cast<float>(average_speed(received, runtime.StartTime));
  if (const ProgressCallback callback = CurrentProgressCallback()) {
    callback(id, file_size, received, speed, percent, total);
  }
}

}  // namespace engine
