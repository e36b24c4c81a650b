#include "tests/support/main_window_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "app/main_window.h"
#include "app/startup.h"
#include "platform/ui/runtime.h"

namespace test_support {

void MainWindowTest::SetUp() {
  platform::ui::init_runtime(platform::ui::Backend::ModelOnly);
  platform::ui::reset_model_runtime();
  // Keep the start-up from handing the publisher's page to a browser.
  saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", "/nonexistent", 1);
}

void MainWindowTest::TearDown() {
  ::setenv("PATH", saved_path_.c_str(), 1);
  platform::ui::end_program(0);
  platform::ui::reset_model_runtime();
}

void MainWindowTest::StartProgram() { ::StartProgram(); }

void MainWindowTest::PutInMapPackFolder(const std::string& name, bool folder) {
  std::filesystem::create_directories(prefix_.map_pack_folder());
  if (folder) {
    std::filesystem::create_directories(prefix_.map_pack_folder() / utf8(name));
  } else {
    write_host_file(prefix_.map_pack_folder() / utf8(name), "PK");
  }
}

void MainWindowTest::RemoveFromMapPackFolder(const std::string& name) {
  std::filesystem::remove_all(prefix_.map_pack_folder() / utf8(name));
}

platform::ui::Form& MainWindowTest::main_window() { return MainWindow(); }

std::vector<bool> MainWindowTest::pack_buttons_disabled() {
  std::vector<bool> states;
  for (const char* name : {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6", "按钮7", "按钮8",
                           "按钮10"}) {
    states.push_back(main_window().control(name).disabled());
  }
  return states;
}

}  // namespace test_support
