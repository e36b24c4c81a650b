#include "platform/ui/fltk_backend.h"

#include <FL/Fl.H>
#include <FL/Fl_Image.H>
#include <FL/fl_ask.H>
#include <X11/Xlib.h>

#include <string>

namespace platform::ui::fltk {
namespace {

void (*armed_timer)() = nullptr;

void on_timer(void*) {
  if (auto serve = armed_timer) {
    armed_timer = nullptr;
    serve();
  }
}

void on_awake(void* serve_posts) { reinterpret_cast<void (*)()>(serve_posts)(); }

}  // namespace

bool display_available() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XCloseDisplay(display);
  return true;
}

void init() {
  // Chinese captions render only with a CJK font chosen explicitly; the leading blank is FLTK's
  // "plain style" flag.
  Fl::set_font(FL_HELVETICA, " WenQuanYi Micro Hei");
  Fl::scheme("gtk+");
  Fl_Image::RGB_scaling(FL_RGB_SCALING_BILINEAR);
  // Enables Fl::awake from other threads; the UI thread holds the lock outside Fl::wait.
  Fl::lock();
}

void wake(void (*serve_posts)()) {
  Fl::awake(on_awake, reinterpret_cast<void*>(serve_posts));
}

void arm_timer(double seconds, void (*serve_timers)()) {
  Fl::remove_timeout(on_timer);
  armed_timer = nullptr;
  if (seconds < 0) return;
  armed_timer = serve_timers;
  Fl::add_timeout(seconds, on_timer);
}

void wait(double seconds) { Fl::wait(seconds); }

void check() { Fl::check(); }

void flush() { Fl::flush(); }

void message_box(std::string_view text_utf8, std::string_view caption_utf8) {
  std::string caption(caption_utf8);
  fl_message_title(caption.c_str());
  fl_message_hotspot(0);
  fl_close = "OK";
  fl_message("%s", std::string(text_utf8).c_str());
}

}  // namespace platform::ui::fltk
