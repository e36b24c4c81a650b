#include <cstdio>

#include "app/startup.h"
#include "platform/ui/runtime.h"

int main() {
  if (!platform::ui::display_available()) {
    std::fputs("mapswitch: no X display to show its window on (is DISPLAY set?)\n", stderr);
    return 1;
  }
  platform::ui::init_runtime(platform::ui::Backend::Fltk);
  RunProgram();
  return 0;
}
