// The window runtime: loading forms, the message loop, timers, cross-thread posts, message boxes
// and program end. One interface, two backends: FLTK windows, or the model alone (no display),
// where tests fire events and read properties back.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/form.h"

namespace platform::ui {

enum class Backend { Fltk, ModelOnly };

// Once, on the thread that becomes the UI thread. Fltk falls back to nothing: callers check
// display_available() first and choose.
void init_runtime(Backend backend);
Backend backend();
bool display_available();

// Builds the form (and its window, with FLTK) without showing it and keeps it until the process
// ends. Bind the handlers, then start_form().
Form& load_form(const FormSpec& spec);
// Fires the created event, then shows the form if its spec marks it visible and the program
// has not been ended meanwhile.
void start_form(Form& form);

// Opaque identity of a window for timers.
using WindowHandle = const Form*;

bool on_ui_thread();
// Runs fn on the UI thread, in posting order; safe from any thread.
void post_to_ui(std::function<void()> fn);
// Serves what is pending (posts, due timers, window events) without blocking.
void process_pending_events();
// Waits up to max_ms for something to serve and serves it; returns early once served.
void wait_for_events(int max_ms);
// Runs until end_program().
void run_message_loop();

// Window timers: routine runs on the UI thread every interval_ms until killed. Setting an id
// that is already set replaces it. kill_timer is false when no such timer exists.
bool set_timer(WindowHandle window, int id, int interval_ms, std::function<void()> routine);
bool kill_timer(WindowHandle window, int id);

// A task-modal message box with one OK button and no owner; returns when it is dismissed.
void message_box(std::string_view text_gbk, std::string_view caption_gbk);

// Repaints changed controls now without serving input, for long work on the UI thread.
void flush_display();

// Program end: runs the registered routine once, then ends the process with the code. The
// model-only backend records the code and stops the message loop instead of exiting.
void register_shutdown(std::function<void()> routine);
void end_program(int code);
bool program_ended();

// Model-only backend: what tests read back and reset between cases.
struct RecordedMessageBox {
  std::string text;
  std::string caption;
};
const std::vector<RecordedMessageBox>& recorded_message_boxes();
int recorded_exit_code();  // -1 while the program runs
void reset_model_runtime();  // forgets forms, timers, posts, boxes and the end state

}  // namespace platform::ui
