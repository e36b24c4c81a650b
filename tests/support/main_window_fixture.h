// The program started in the model-only window runtime on a scratch prefix: no display needed.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/form.h"
#include "tests/support/game_prefix.h"

namespace test_support {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the program's start-up as the entry point does.
  void StartProgram();
  // A file (or, with folder = true, a folder) in the map pack folder; names are GBK.
  void PutInMapPackFolder(const std::string& name, bool folder = false);
  void RemoveFromMapPackFolder(const std::string& name);

  platform::ui::Form& main_window();
  // The nine pack buttons' disabled states, in form-name order 按钮1..8, 按钮10.
  std::vector<bool> pack_buttons_disabled();

  GamePrefix prefix_;

 private:
  std::string saved_path_;
};

}  // namespace test_support
