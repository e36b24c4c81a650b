// A download engine under test: the model-only window runtime, a scratch folder for the task
// files, callbacks that record what the engine reports, and worker routines that stand in for the
// download run.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/download_engine.h"
#include "tests/support/scratch_folder.h"

namespace test_support {

struct StateEvent {
  std::int32_t id;
  std::int32_t code;
  std::string path;
  std::string text;
  bool operator==(const StateEvent&) const = default;
};
void PrintTo(const StateEvent& event, std::ostream* out);

struct ProgressEvent {
  std::int32_t id;
  std::int32_t file_size;
  std::int32_t received;
  float speed;
  float percent;
  float total_speed;
};

// Worker routines for the engine's worker entry.
void IdleWorker(std::string argument);      // returns at once: the task stays as it was
void BlockingWorker(std::string argument);  // blocks up to a minute, unless its task is stopped
void RecordingWorker(std::string argument);  // notes its argument and returns
std::vector<std::string> WorkerArguments();   // what RecordingWorker noted, in order

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Initialises engine_ with the recording callbacks.
  void Initialise(bool encrypt_url = false);
  // A spec whose target is name in the scratch folder.
  engine::DownloadTaskSpec SpecFor(const std::string& name,
                                   const std::string& url = "http://127.0.0.1/pack.zip") const;
  // The Windows-style path of name in the scratch folder, and the host path.
  std::string WindowsPath(const std::string& name) const;
  std::string HostPath(const std::string& name) const;
  bool FileThere(const std::string& name) const;
  void PutFile(const std::string& name, const std::string& bytes = "x") const;

  std::vector<StateEvent> StateEvents() const;
  std::vector<ProgressEvent> ProgressEvents() const;
  void ClearEvents();

  engine::DownloadEngine engine_;
  ScratchFolder folder_;
  // Any distinct address names a window to the runtime's timers.
  const platform::ui::WindowHandle window_ = reinterpret_cast<platform::ui::WindowHandle>(&folder_);
};

}  // namespace test_support
