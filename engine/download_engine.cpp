#include "engine/download_engine.h"

#include <atomic>
#include <string>
#include <thread>

#include "engine/clock.h"
#include "engine/progress.h"
#include "engine/pump_wait.h"
#include "engine/show_message.h"
#include "engine/task_config.h"
#include "engine/task_files.h"
#include "engine/worker_threads.h"
#include "platform/files/files.h"
#include "web/gbk_text.h"

namespace engine {

namespace {

// CreateTask can wait with windows served (for the threads of a reused entry, for the cipher of
// a resume file, in a message box), so a click may call it again meanwhile. A call from another
// thread waits its turn; a call nested on the owner's own thread cannot wait for an outer call
// that resumes only after it returns, and is refused.
std::atomic<bool> create_task_busy{false};
std::atomic<std::thread::id> create_task_owner{};

class CreateTaskGuard {
 public:
  CreateTaskGuard() {
    constexpr int kRetryMs = 50;
    for (bool idle = false; !create_task_busy.compare_exchange_strong(idle, true); idle = false) {
      if (create_task_owner.load() == std::this_thread::get_id()) return;
      PumpWait(kRetryMs);
    }
    create_task_owner = std::this_thread::get_id();
    owner_ = true;
  }
  ~CreateTaskGuard() {
    if (!owner_) return;
    create_task_owner = std::thread::id{};
    create_task_busy = false;
  }
  CreateTaskGuard(const CreateTaskGuard&) = delete;
  CreateTaskGuard& operator=(const CreateTaskGuard&) = delete;

  bool nested() const { return !owner_; }

 private:
  bool owner_ = false;
};

// The engine's copy of a client's spec: texts end at their first zero byte, and the values a
// fresh start depends on are brought into range.
DownloadTaskSpec normalised_copy(const DownloadTaskSpec& spec) {
  DownloadTaskSpec copy;
  copy.Url = web::gbk::until_zero(spec.Url);
  copy.DownUrl = web::gbk::until_zero(spec.DownUrl);
  copy.LocatName = web::gbk::until_zero(spec.LocatName);
  copy.ExtraHeaders = web::gbk::until_zero(spec.ExtraHeaders);
  if (web::gbk::trim_spaces(copy.DownUrl).empty()) copy.DownUrl = "/";
  constexpr std::uint8_t kDefaultThreads = 3, kMostThreads = 5;
  copy.InitThreadCount = spec.InitThreadCount == 0 ? kDefaultThreads
                         : spec.InitThreadCount > kMostThreads ? kMostThreads
                                                               : spec.InitThreadCount;
  constexpr std::int32_t kSmallestBlock = 10240, kDefaultBlock = 20480;
  copy.Size = spec.Size < kSmallestBlock ? kDefaultBlock : spec.Size;
  return copy;
}

// Too short, or a "//" behind the scheme's own (from the 8th byte on).
bool address_is_bad(std::string_view url) {
  constexpr std::size_t kAfterScheme = 7;
  return url.size() < kShortestUrl || web::gbk::find(url, "//", kAfterScheme) != web::gbk::npos;
}

// Puts the client's task record into a released entry, once the threads of its last run have
// returned.
void reuse_entry(int id, const DownloadTaskSpec& spec) {
  TaskRuntime& runtime = RuntimeOf(id);
  runtime.State = kStateReset;  // claimed: nobody else takes it while we wait
  JoinTaskThreads(id, WaitStyle::KeepWindowsResponsive);
  EditSpec(id, [&spec](DownloadTaskSpec& entry) { entry = spec; });
  runtime.AlreadyTime = 0;
  runtime.StartTime = 0;
  runtime.FileSize = 0;
  runtime.AlreadySize = 0;
  runtime.ActiveThreads = 0;
}

// Every task's threads are asked to stop and waited for; nothing is deleted or reported.
void abandon_all_tasks() {
  for (int id = 1; id <= TaskCount(); ++id) RuntimeOf(id).StopRequested = true;
  for (int id = 1; id <= TaskCount(); ++id) JoinTaskThreads(id, WaitStyle::Plain);
  ClearTaskTable();
}

bool is_pause_state(std::int32_t state) { return state == kStatePausing || state == kStateStopping; }

}  // namespace

std::int32_t DownloadEngine::BT_初始化(platform::ui::WindowHandle window, ProgressCallback progress,
                                       StateCallback state, bool encrypt_url) {
  if (progress == nullptr || state == nullptr) return 0;
  if (Initialized == 1) return 1;
  Initialized = 1;
  SetEncryptUrl(encrypt_url);
  SetCallbacks(progress, state);
  StartProgressTimer(window);
  return 1;
}

bool DownloadEngine::Shutdown(platform::ui::WindowHandle window) {
  Initialized = 0;
  abandon_all_tasks();
  return StopProgressTimer(window);
}

std::int32_t DownloadEngine::CreateTask(const DownloadTaskSpec& client_spec) {
  const CreateTaskGuard guard;
  if (guard.nested()) return -1;
  if (Initialized == 0) {
    ShowMessage(texts::kNotInitialised);
    return -1;
  }
  const DownloadTaskSpec spec = normalised_copy(client_spec);
  if (address_is_bad(spec.Url)) {
    NotifyState(kNoTaskId, kNotifyError, texts::kBadAddress);
    return -2;
  }
  if (IsPathInUse(spec.LocatName)) {
    NotifyState(kNoTaskId, kNotifyError, texts::kPathBusy);
    return -3;
  }
  int id = FindFreeTask();
  if (id == -1) {
    id = AppendTask(spec);
    if (id == -1) {
      NotifyState(kNoTaskId, kNotifyError, texts::kTableFull);
      return -1;
    }
  } else {
    reuse_entry(id, spec);
  }
  RuntimeOf(id).State = kStateStarting;

  const std::string& target = spec.LocatName;
  const std::string temp_name = TempNameOf(target);
  if (platform::files::exists(ConfigNameOf(temp_name)) && platform::files::exists(temp_name)) {
    return ResumeFromConfig(target, static_cast<std::uint8_t>(id), spec.Url);
  }
  // Either leftover alone cannot be resumed; an existing target is replaced by the download.
  platform::files::delete_file(target);
  platform::files::delete_file(temp_name);
  platform::files::delete_file(ConfigNameOf(temp_name));
  NotifyState(id, kNotifyCreated, std::string(texts::kCreatedPrefix) + std::to_string(id));
  StartTask(static_cast<std::uint8_t>(id));
  return id;
}

bool DownloadEngine::IsPathInUse(std::string_view path) const {
  const std::string temp_name = TempNameOf(path);
  for (int id = 1; id <= TaskCount(); ++id) {
    if (LocatNameOf(id) == temp_name) return true;
  }
  return false;
}

std::int32_t DownloadEngine::GetTaskCount() const { return TaskCount(); }

std::int32_t DownloadEngine::GetDownloadingCount() const {
  std::int32_t downloading = 0;
  for (int id = 1; id <= TaskCount(); ++id) {
    if (RuntimeOf(id).State == kStateDownloading) ++downloading;
  }
  return downloading;
}

bool DownloadEngine::PauseTask(std::uint8_t id) {
  if (!IsTaskValid(id)) return false;
  if (!IsTaskRunning(id)) {
    NotifyState(id, kNotifyPaused, texts::kPaused);
    return true;
  }
  NotifyState(id, kNotifyThreadInfo, texts::kPausing);
  RuntimeOf(id).State = kStatePausing;
  return true;
}

bool DownloadEngine::IsTaskValid(std::uint8_t id) {
  if (!TaskExists(id)) {
    NotifyState(id, kNotifyError, texts::kBadTaskId);
    return false;
  }
  return RuntimeOf(id).State != kStateFree;
}

bool DownloadEngine::IsTaskRunning(std::uint8_t id) const {
  if (!TaskExists(id)) return false;
  const std::int32_t state = RuntimeOf(id).State;
  return !is_pause_state(state) && state != kStateFree;
}

// A valid task that is not running has a pause asked for. Restarting its workers in the middle
// of that pause would leave segments without a worker, so the pause is let complete first (its
// last worker saves the resume file and releases the task; without workers it completes here),
// and the task is then taken up again under the same id from the file just saved.
bool DownloadEngine::ContinueTask(std::uint8_t id) {
  if (!IsTaskValid(id)) return false;
  if (IsTaskRunning(id)) return true;
  TaskRuntime& runtime = RuntimeOf(id);
  const DownloadTaskSpec paused = SpecOf(id);
  const std::uint32_t releases = runtime.Releases;
  JoinTaskThreads(id, WaitStyle::KeepWindowsResponsive);
  if (runtime.Releases == releases) CompletePause(id);
  if (runtime.State != kStateFree) return false;  // another task took the id meanwhile

  EditSpec(id, [&paused](DownloadTaskSpec& spec) { spec = paused; });
  runtime.State = kStateStarting;
  const std::string target = TargetOf(paused.LocatName);
  if (!platform::files::exists(TempNameOf(target))) {
    runtime.State = kStateError;
    NotifyState(id, kNotifyError, texts::kContinueFileMissing);
    ReleaseTask(id);
    return false;
  }
  NotifyState(id, kNotifyContinuing, texts::kContinuing);
  return ResumeFromConfig(target, id, paused.Url) == id;
}

bool DownloadEngine::StopTask(std::uint8_t id) {
  if (!TaskExists(id)) {
    NotifyState(id, kNotifyError, texts::kBadTaskId);
    return false;
  }
  if (!IsTaskRunning(id)) return true;
  TaskRuntime& runtime = RuntimeOf(id);
  const std::uint32_t releases = runtime.Releases;
  runtime.StopRequested = true;
  JoinTaskThreads(id, WaitStyle::KeepWindowsResponsive);
  if (runtime.Releases != releases) return true;  // the run ended before it saw the request

  NotifyProgress(id);
  const std::string locat_name = LocatNameOf(id);
  platform::files::delete_file(locat_name);
  platform::files::delete_file(ConfigNameOf(locat_name));
  NotifyState(id, kNotifyStopped, texts::kStopped);
  ReleaseTask(id);
  return true;
}

std::int32_t DownloadEngine::StopAllTasks() {
  const std::int32_t count = TaskCount();
  for (int id = 1; id <= count; ++id) StopTask(static_cast<std::uint8_t>(id));
  return count;
}

bool DownloadEngine::DeleteTaskFiles(std::uint8_t id) {
  if (!TaskExists(id)) {
    NotifyState(id, kNotifyError, texts::kBadTaskId);
    return false;
  }
  const std::string locat_name = LocatNameOf(id);
  platform::files::delete_file(ConfigNameOf(locat_name));
  return platform::files::delete_file(locat_name);
}

void DownloadEngine::StartTask(std::uint8_t id) {
  if (!TaskExists(id)) {
    NotifyState(id, kNotifyError, texts::kBadTaskIdOnStart);
    return;
  }
  // A run whose threads still live already has a worker 1 (a second one would write the same
  // segment twice), or its last worker is about to complete the pause.
  if (TaskThreadsAlive(id)) return;
  TaskRuntime& runtime = RuntimeOf(id);
  if (is_pause_state(runtime.State)) {
    CompletePause(id);
    return;
  }
  JoinTaskThreads(id, WaitStyle::KeepWindowsResponsive);  // handles of an earlier run
  runtime.StopRequested = false;
  if (!LaunchWorker(id, 1)) {
    runtime.State = kStateError;
    NotifyState(id, kNotifyError, texts::kNoThread);
    ReleaseTask(id);
  }
}

std::int32_t DownloadEngine::FindFreeTask() const { return FindFreeTaskId(); }

void DownloadEngine::CompletePause(std::uint8_t id) {
  TaskRuntime& runtime = RuntimeOf(id);
  runtime.AlreadyTime = UnixNow() - runtime.StartTime;
  NotifyState(id, kNotifyPaused, texts::kPaused);
  SaveTaskConfig(ConfigNameOf(LocatNameOf(id)), id);
  ReleaseTask(id);
}

void ReleaseEngineState() {
  abandon_all_tasks();
  SetCallbacks(nullptr, nullptr);
  SetEncryptUrl(false);
}

}  // namespace engine
