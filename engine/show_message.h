// The engine's message box for its client's user.
#pragma once
#include <string_view>

namespace engine {

// A message box with the title "友情提醒" and one OK button; returns the button code minus 1,
// that is 0. The window runtime's boxes have no owner window, so none is looked up.
int ShowMessage(std::string_view text);

}  // namespace engine
