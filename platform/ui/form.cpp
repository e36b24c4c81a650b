#include "platform/ui/form.h"

#include <cstdio>
#include <cstdlib>

namespace platform::ui {

Control::Control(ControlSpec spec) : spec_(std::move(spec)) {}

std::string Control::part(std::size_t index) const {
  return index < spec_.parts.size() ? spec_.parts[index].text : std::string();
}

Form::Form(const FormSpec& spec)
    : name_(spec.name),
      title_(spec.title),
      place_(spec.place),
      visible_(false),
      starts_visible_(spec.visible) {
  for (const ControlSpec& control : spec.controls) {
    controls_.push_back(std::make_unique<Control>(control));
  }
}

const Control& Form::control(std::string_view name) const {
  for (const auto& control : controls_) {
    if (control->name() == name) return *control;
  }
  // A misspelt control name is a programming error that no user input can cause.
  std::fprintf(stderr, "form %s has no control named %.*s\n", name_.c_str(),
               static_cast<int>(name.size()), name.data());
  std::abort();
}

Control& Form::mutable_control(std::string_view name) {
  return const_cast<Control&>(control(name));
}

void Form::changed(const Control& control) {
  if (view_) view_->control_changed(control);
}

void Form::set_caption(std::string_view name, std::string text) {
  Control& control = mutable_control(name);
  control.spec_.caption = std::move(text);
  changed(control);
}

void Form::set_visible(std::string_view name, bool visible) {
  Control& control = mutable_control(name);
  control.spec_.visible = visible;
  changed(control);
}

void Form::set_disabled(std::string_view name, bool disabled) {
  Control& control = mutable_control(name);
  control.disabled_ = disabled;
  changed(control);
}

void Form::set_picture(std::string_view name, std::string jpeg_bytes) {
  Control& control = mutable_control(name);
  control.picture_ = std::move(jpeg_bytes);
  changed(control);
}

void Form::set_position(std::string_view name, int position) {
  Control& control = mutable_control(name);
  control.position_ = position < 0 ? 0 : position > 100 ? 100 : position;
  changed(control);
}

void Form::set_part(std::string_view name, std::size_t part, std::string text) {
  Control& control = mutable_control(name);
  if (part >= control.spec_.parts.size()) return;
  control.spec_.parts[part].text = std::move(text);
  changed(control);
}

void Form::show() {
  visible_ = true;
  if (view_) view_->visibility_changed(true);
}

void Form::hide() {
  visible_ = false;
  if (view_) view_->visibility_changed(false);
}

void Form::on_click(std::string_view control, std::function<void()> handler) {
  click_handlers_.emplace_back(std::string(control), std::move(handler));
}

void Form::on_created(std::function<void()> handler) { created_handler_ = std::move(handler); }

void Form::on_can_close(std::function<bool()> handler) { can_close_handler_ = std::move(handler); }

void Form::click(std::string_view name) {
  const Control& target = control(name);
  if (target.disabled() || !target.visible()) return;
  for (auto& [bound, handler] : click_handlers_) {
    if (bound == name) {
      handler();
      return;
    }
  }
}

void Form::created() {
  if (created_handler_) created_handler_();
}

bool Form::request_close() {
  if (can_close_handler_ && !can_close_handler_()) return false;
  hide();
  return true;
}

void Form::attach_view(std::unique_ptr<FormView> view) { view_ = std::move(view); }

}  // namespace platform::ui
