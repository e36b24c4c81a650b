#include "engine/pump_wait.h"

#include <thread>  // also brings the clocks: <chrono> itself does not compile to GBK

#include "platform/ui/runtime.h"

namespace engine {

void PumpWait(int ms) {
  using Clock = std::chrono::steady_clock;
  if (!platform::ui::on_ui_thread()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  const Clock::time_point due = Clock::now() + std::chrono::milliseconds(ms);
  for (auto left = due - Clock::now(); left > Clock::duration::zero(); left = due - Clock::now()) {
    // Rounded up, so the last slice does not spin on a wait of 0 ms.
    platform::ui::wait_for_events(
        static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count()));
  }
}

}  // namespace engine
