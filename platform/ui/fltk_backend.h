// The FLTK side of the window runtime; runtime.cpp decides when to use it.
#pragma once
#include <memory>
#include <string_view>

#include "platform/ui/form.h"

namespace platform::ui::fltk {

// Whether an X display can be opened; FLTK itself would exit the process when it cannot.
bool display_available();
void init();
std::unique_ptr<FormView> make_view(Form& form);

// Wakes Fl::wait from any thread; serve_posts then runs on the UI thread.
void wake(void (*serve_posts)());
// Runs serve_timers once after `seconds` (replacing an earlier arming); negative disarms.
void arm_timer(double seconds, void (*serve_timers)());
void wait(double seconds);
void check();
void flush();
void message_box(std::string_view text_utf8, std::string_view caption_utf8);

}  // namespace platform::ui::fltk
