// The download engine as its client sees it. Every engine object shares one task table, one pair
// of callbacks and one EncryptUrl setting; an object's own data is only whether it was initialised.
//
// Operations follow the engine's operation table. Release and Copy are the destructor and the
// copy constructor; the size probes use no task state and are free functions of the size probe,
// so no second, private engine object exists.
#pragma once
#include <cstdint>
#include <string_view>

#include "engine/notify.h"
#include "engine/task_table.h"
#include "platform/ui/runtime.h"

namespace engine {

class DownloadEngine {
 public:
  // 0 when a callback is missing (nothing changes); otherwise 1. Only the first call of an
  // object has an effect: it stores the callbacks and EncryptUrl and starts the progress timer.
  std::int32_t BT_初始化(platform::ui::WindowHandle window, ProgressCallback progress,
                         StateCallback state, bool encrypt_url = false);
  // Frees the task table and removes the progress timer (the result of that removal). Threads
  // still running are asked to stop and waited for first; their files stay where they are.
  bool Shutdown(platform::ui::WindowHandle window);

  // The task id, or -1 (not initialised, table full, resume failed), -2 (bad address),
  // -3 (a task for this path is downloading).
  std::int32_t CreateTask(const DownloadTaskSpec& spec);
  bool IsPathInUse(std::string_view path) const;
  std::int32_t GetTaskCount() const;
  std::int32_t GetDownloadingCount() const;
  bool PauseTask(std::uint8_t id);
  bool IsTaskValid(std::uint8_t id);
  bool IsTaskRunning(std::uint8_t id) const;
  bool ContinueTask(std::uint8_t id);
  std::int32_t ResumeFromConfig(std::string_view target, std::uint8_t id, std::string_view address);
  bool StopTask(std::uint8_t id);
  std::int32_t StopAllTasks();
  bool DeleteTaskFiles(std::uint8_t id);
  void StartTask(std::uint8_t id);
  std::int32_t FindFreeTask() const;

 private:
  void CompletePause(std::uint8_t id);

  std::int32_t Initialized = 0;
};

// Program end: asks every running task to stop, waits for its threads and frees the task table;
// files stay on disk. The callbacks are forgotten.
void ReleaseEngineState();

}  // namespace engine
