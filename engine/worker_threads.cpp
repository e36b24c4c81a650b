#include "engine/worker_threads.h"

#include <atomic>
#include <charconv>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/notify.h"
#include "engine/pump_wait.h"
#include "engine/task_table.h"

namespace engine {

namespace {

// The engine's own entry until the download run joins the build: it fails the task plainly
// instead of leaving it in "starting" for ever.
void transfer_unavailable(std::string argument) {
  int id = 0;
  std::from_chars(argument.data(), argument.data() + argument.size(), id);
  if (!TaskExists(id)) return;
  RuntimeOf(id).State = kStateError;
  NotifyState(id, kNotifyError, texts::kNoTransfer);
  ReleaseTask(id);
}

std::atomic<WorkerEntry> worker_entry{transfer_unavailable};

void run_worker(TaskRuntime* runtime, WorkerEntry entry, std::string argument) {
  entry(std::move(argument));
  runtime->LiveThreads.fetch_sub(1);
}

}  // namespace

void SetWorkerEntry(WorkerEntry entry) {
  worker_entry = entry != nullptr ? entry : transfer_unavailable;
}

bool LaunchWorker(int id, int worker_number) {
  TaskRuntime& runtime = RuntimeOf(id);
  std::lock_guard lock(runtime.ThreadsMutex);
  ++runtime.LiveThreads;
  try {
    runtime.Threads.emplace_back(run_worker, &runtime, worker_entry.load(),
                                 std::to_string(id) + "," + std::to_string(worker_number));
  } catch (const std::system_error&) {
    --runtime.LiveThreads;
    return false;
  }
  return true;
}

bool TaskThreadsAlive(int id) { return RuntimeOf(id).LiveThreads > 0; }

void JoinTaskThreads(int id, WaitStyle style) {
  TaskRuntime& runtime = RuntimeOf(id);
  constexpr int kPollMs = 10;
  while (runtime.LiveThreads > 0) {
    if (style == WaitStyle::KeepWindowsResponsive) {
      PumpWait(kPollMs);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
  }
  std::vector<std::thread> finished;
  {
    std::lock_guard lock(runtime.ThreadsMutex);
    finished.swap(runtime.Threads);
  }
  for (std::thread& thread : finished) thread.join();
}

}  // namespace engine
