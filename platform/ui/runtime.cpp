#include "platform/ui/runtime.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/codepage/codepage.h"
#include "platform/ui/fltk_backend.h"

namespace platform::ui {
namespace {

using Clock = std::chrono::steady_clock;

struct Timer {
  WindowHandle window;
  int id;
  std::chrono::milliseconds interval;
  Clock::time_point due;
  std::function<void()> routine;
};

// Everything the loop shares with other threads sits behind one mutex; handlers run unlocked so
// that they may post, set timers or wait for events themselves.
struct Runtime {
  Backend backend = Backend::ModelOnly;
  std::thread::id ui_thread;
  std::mutex mutex;
  std::condition_variable posted;
  std::deque<std::function<void()>> posts;
  std::vector<Timer> timers;
  std::deque<std::unique_ptr<Form>> forms;
  std::function<void()> shutdown_routine;
  bool ended = false;
  int exit_code = -1;
  std::vector<RecordedMessageBox> message_boxes;
};

Runtime& runtime() {
  static Runtime instance;
  return instance;
}

bool using_fltk() { return runtime().backend == Backend::Fltk; }

void serve_posts() {
  Runtime& rt = runtime();
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(rt.mutex);
    batch.swap(rt.posts);
  }
  for (auto& fn : batch) fn();
}

std::optional<Clock::time_point> next_due() {
  Runtime& rt = runtime();
  std::lock_guard lock(rt.mutex);
  std::optional<Clock::time_point> due;
  for (const Timer& timer : rt.timers) {
    if (!due || timer.due < *due) due = timer.due;
  }
  return due;
}

void serve_due_timers();

void arm_fltk_timer() {
  if (!using_fltk()) return;
  auto due = next_due();
  double seconds = due ? std::chrono::duration<double>(*due - Clock::now()).count() : -1;
  fltk::arm_timer(due ? std::max(seconds, 0.0) : -1, serve_due_timers);
}

void serve_due_timers() {
  Runtime& rt = runtime();
  std::vector<std::pair<WindowHandle, int>> due;
  {
    std::lock_guard lock(rt.mutex);
    for (Timer& timer : rt.timers) {
      if (timer.due <= Clock::now()) due.emplace_back(timer.window, timer.id);
    }
  }
  // A routine may kill or replace any timer, so each one is looked up again before it runs.
  for (auto [window, id] : due) {
    std::function<void()> routine;
    {
      std::lock_guard lock(rt.mutex);
      for (Timer& timer : rt.timers) {
        if (timer.window == window && timer.id == id && timer.due <= Clock::now()) {
          timer.due = Clock::now() + timer.interval;
          routine = timer.routine;
        }
      }
    }
    if (routine) routine();
  }
  arm_fltk_timer();
}

}  // namespace

void init_runtime(Backend backend) {
  Runtime& rt = runtime();
  rt.backend = backend;
  rt.ui_thread = std::this_thread::get_id();
  if (backend == Backend::Fltk) fltk::init();
}

Backend backend() { return runtime().backend; }

bool display_available() { return fltk::display_available(); }

Form& load_form(const FormSpec& spec) {
  Runtime& rt = runtime();
  auto form = std::make_unique<Form>(spec);
  if (using_fltk()) form->attach_view(fltk::make_view(*form));
  Form& loaded = *form;
  std::lock_guard lock(rt.mutex);
  rt.forms.push_back(std::move(form));
  return loaded;
}

void start_form(Form& form) {
  form.created();
  if (program_ended()) return;
  if (form.starts_visible()) form.show();
}

bool on_ui_thread() { return std::this_thread::get_id() == runtime().ui_thread; }

void post_to_ui(std::function<void()> fn) {
  Runtime& rt = runtime();
  bool was_empty;
  {
    std::lock_guard lock(rt.mutex);
    was_empty = rt.posts.empty();
    rt.posts.push_back(std::move(fn));
  }
  // FLTK's own wake-up queue is small: one pending wake-up serves any number of posts.
  if (using_fltk()) {
    if (was_empty) fltk::wake(serve_posts);
  } else {
    rt.posted.notify_all();
  }
}

void process_pending_events() {
  if (using_fltk()) fltk::check();
  serve_posts();
  serve_due_timers();
}

void wait_for_events(int max_ms) {
  Runtime& rt = runtime();
  auto deadline = Clock::now() + std::chrono::milliseconds(max_ms);
  if (auto due = next_due(); due && *due < deadline) deadline = *due;
  if (using_fltk()) {
    // Posts and timers reach FLTK through wake() and arm_timer(), so they are served inside
    // Fl::wait, also while a message box runs its own loop.
    fltk::wait(std::max(0.0, std::chrono::duration<double>(deadline - Clock::now()).count()));
    return;
  }
  {
    std::unique_lock lock(rt.mutex);
    rt.posted.wait_until(lock, deadline, [&] { return !rt.posts.empty() || rt.ended; });
  }
  serve_posts();
  serve_due_timers();
}

void run_message_loop() {
  constexpr int kLongWaitMs = 24 * 60 * 60 * 1000;
  while (!program_ended()) wait_for_events(kLongWaitMs);
}

bool set_timer(WindowHandle window, int id, int interval_ms, std::function<void()> routine) {
  Runtime& rt = runtime();
  {
    std::lock_guard lock(rt.mutex);
    std::erase_if(rt.timers, [&](const Timer& t) { return t.window == window && t.id == id; });
    auto interval = std::chrono::milliseconds(std::max(interval_ms, 1));
    rt.timers.push_back({window, id, interval, Clock::now() + interval, std::move(routine)});
  }
  arm_fltk_timer();
  rt.posted.notify_all();
  return true;
}

bool kill_timer(WindowHandle window, int id) {
  Runtime& rt = runtime();
  std::size_t removed;
  {
    std::lock_guard lock(rt.mutex);
    removed = std::erase_if(rt.timers,
                            [&](const Timer& t) { return t.window == window && t.id == id; });
  }
  arm_fltk_timer();
  return removed > 0;
}

void message_box(std::string_view text_gbk, std::string_view caption_gbk) {
  if (using_fltk()) {
    fltk::message_box(codepage::gbk_to_utf8(text_gbk), codepage::gbk_to_utf8(caption_gbk));
    return;
  }
  Runtime& rt = runtime();
  std::lock_guard lock(rt.mutex);
  rt.message_boxes.push_back({std::string(text_gbk), std::string(caption_gbk)});
}

void flush_display() {
  if (using_fltk()) fltk::flush();
}

void register_shutdown(std::function<void()> routine) {
  runtime().shutdown_routine = std::move(routine);
}

void end_program(int code) {
  Runtime& rt = runtime();
  std::function<void()> routine;
  {
    std::lock_guard lock(rt.mutex);
    if (rt.ended) return;
    rt.ended = true;
    rt.exit_code = code;
    routine = std::move(rt.shutdown_routine);
  }
  if (routine) routine();
  if (using_fltk()) {
    // Worker threads may still run: static destructors must not pull their data away.
    std::fflush(nullptr);
    std::_Exit(code);
  }
  rt.posted.notify_all();
}

bool program_ended() {
  Runtime& rt = runtime();
  std::lock_guard lock(rt.mutex);
  return rt.ended;
}

const std::vector<RecordedMessageBox>& recorded_message_boxes() {
  return runtime().message_boxes;
}

int recorded_exit_code() { return runtime().exit_code; }

void reset_model_runtime() {
  Runtime& rt = runtime();
  std::lock_guard lock(rt.mutex);
  rt.posts.clear();
  rt.timers.clear();
  rt.forms.clear();
  rt.shutdown_routine = nullptr;
  rt.ended = false;
  rt.exit_code = -1;
  rt.message_boxes.clear();
}

}  // namespace platform::ui
