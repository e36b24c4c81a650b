#include "app/startup.h"

#include "app/catalogue.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "download_window/download_window.h"
#include "platform/files/files.h"
#include "platform/registry/registry.h"
#include "platform/shell/shell.h"
#include "platform/ui/runtime.h"
#include "web/hosts.h"

void OnMainWindowCreated() {
  // The skin is attached here, first, once the skin library is part of the program.
  platform::files::create_directory(MapPackFolder());
  platform::shell::open(web::host_name(web::Host::Publisher));

  std::string launcher = platform::registry::read_current_user_text("Software\\Tencent\\LOL\\QQlogin");
  if (launcher.empty()) {
    platform::ui::message_box("游戏都没有修改个屁！", "信息：");
    platform::ui::end_program(0);
    return;
  }
  MainWindow().set_part("状态条1", 1, launcher);
  LauncherPath = launcher;
  ActionState = kActionBackup;
  SelectOfficialMap();
  platform::ui::start_form(LoadDownloadWindow());
}

void OnMainWindowClosing() { platform::ui::end_program(0); }

void StartProgram() {
  CreateGlobals();
  platform::ui::register_shutdown(DestroyGlobals);
  platform::ui::start_form(LoadMainWindow());
}

void RunProgram() {
  StartProgram();
  platform::ui::run_message_loop();
}
