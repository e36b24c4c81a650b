#include "engine/show_message.h"

#include "platform/ui/runtime.h"

namespace engine {

int ShowMessage(std::string_view text) {
  platform::ui::message_box(text, "友情提醒");
  constexpr int kOkButton = 1;
  return kOkButton - 1;
}

}  // namespace engine
