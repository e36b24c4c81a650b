#include "tests/support/engine_fixture.h"

#include <charconv>
#include <mutex>
#include <ostream>
#include <thread>

#include "engine/clock.h"
#include "engine/task_table.h"
#include "engine/worker_threads.h"
#include "platform/files/files.h"

namespace test_support {

namespace {

std::mutex events_mutex;
std::vector<StateEvent> state_events;
std::vector<ProgressEvent> progress_events;
std::vector<std::string> worker_arguments;

void record_state(std::int32_t id, std::int32_t code, std::string_view path,
                  std::string_view text) {
  std::lock_guard lock(events_mutex);
  state_events.push_back({id, code, std::string(path), std::string(text)});
}

void record_progress(std::int32_t id, std::int32_t file_size, std::int32_t received, float speed,
                     float percent, float total_speed) {
  std::lock_guard lock(events_mutex);
  progress_events.push_back({id, file_size, received, speed, percent, total_speed});
}

int task_id_of(const std::string& argument) {
  int id = 0;
  std::from_chars(argument.data(), argument.data() + argument.size(), id);
  return id;
}

}  // namespace

void PrintTo(const StateEvent& event, std::ostream* out) {
  *out << "{" << event.id << ", " << event.code << ", \"" << event.path << "\", \"" << event.text
       << "\"}";
}

void IdleWorker(std::string) {}

void RecordingWorker(std::string argument) {
  std::lock_guard lock(events_mutex);
  worker_arguments.push_back(std::move(argument));
}

std::vector<std::string> WorkerArguments() {
  std::lock_guard lock(events_mutex);
  return worker_arguments;
}

void BlockingWorker(std::string argument) {
  const engine::TaskRuntime& runtime = engine::RuntimeOf(task_id_of(argument));
  for (int waited = 0; waited < 60000 && !runtime.StopRequested; waited += 5) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void EngineTest::SetUp() {
  static const bool runtime_ready = [] {
    platform::ui::init_runtime(platform::ui::Backend::ModelOnly);
    return true;
  }();
  (void)runtime_ready;
  platform::ui::reset_model_runtime();
  engine::SetWorkerEntry(IdleWorker);
  ClearEvents();
}

void EngineTest::TearDown() {
  engine::ReleaseEngineState();
  engine::SetWorkerEntry(nullptr);
  engine::SetLocalClock(nullptr);
  platform::ui::reset_model_runtime();
}

void EngineTest::Initialise(bool encrypt_url) {
  ASSERT_EQ(engine_.BT_初始化(window_, record_progress, record_state, encrypt_url), 1);
}

engine::DownloadTaskSpec EngineTest::SpecFor(const std::string& name,
                                             const std::string& url) const {
  engine::DownloadTaskSpec spec;
  spec.Url = url;
  spec.LocatName = WindowsPath(name);
  spec.Size = 2048;
  spec.InitThreadCount = 5;
  return spec;
}

std::string EngineTest::WindowsPath(const std::string& name) const {
  return platform::files::windows_path(HostPath(name));
}

std::string EngineTest::HostPath(const std::string& name) const { return (folder_ / name).string(); }

bool EngineTest::FileThere(const std::string& name) const {
  return std::filesystem::exists(folder_ / name);
}

void EngineTest::PutFile(const std::string& name, const std::string& bytes) const {
  write_host_file(folder_ / name, bytes);
}

std::vector<StateEvent> EngineTest::StateEvents() const {
  std::lock_guard lock(events_mutex);
  return state_events;
}

std::vector<ProgressEvent> EngineTest::ProgressEvents() const {
  std::lock_guard lock(events_mutex);
  return progress_events;
}

void EngineTest::ClearEvents() {
  std::lock_guard lock(events_mutex);
  state_events.clear();
  progress_events.clear();
  worker_arguments.clear();
}

}  // namespace test_support
