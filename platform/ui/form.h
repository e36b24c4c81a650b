// A window as a model: controls addressed by their form names, holding the properties the core
// writes. A view (the FLTK one, or none in the model-only backend) mirrors every change.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

enum class ControlKind {
  Button,
  Label,
  TransparentLabel,
  PictureBox,
  ProgressBar,  // range 0-100
  GroupBox,
  StatusBar,
  Component,  // a non-visual control (never shown at run time)
};

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};

struct StatusPart {
  int width = 0;
  std::string text;
};

struct ControlSpec {
  std::string name;
  ControlKind kind = ControlKind::Label;
  Rect place;           // relative to the client area, or to the group box named in `group`
  std::string caption;  // GBK
  bool visible = true;
  std::string group;  // name of the enclosing group box, empty for the client area
  std::vector<StatusPart> parts;  // status bars only
};

struct FormSpec {
  std::string name;
  std::string title;  // GBK
  Rect place;         // on the screen
  bool visible = true;
  std::vector<ControlSpec> controls;
};

class Control {
 public:
  explicit Control(ControlSpec spec);

  const std::string& name() const { return spec_.name; }
  ControlKind kind() const { return spec_.kind; }
  const Rect& place() const { return spec_.place; }
  const std::string& group() const { return spec_.group; }
  const std::string& caption() const { return spec_.caption; }
  bool visible() const { return spec_.visible; }
  bool disabled() const { return disabled_; }
  int position() const { return position_; }
  const std::string& picture() const { return picture_; }  // whole JPEG file
  const std::vector<StatusPart>& parts() const { return spec_.parts; }
  std::string part(std::size_t index) const;

 private:
  friend class Form;
  ControlSpec spec_;
  bool disabled_ = false;
  int position_ = 0;
  std::string picture_;
};

// What a view needs to hear from its form.
class FormView {
 public:
  virtual ~FormView() = default;
  virtual void control_changed(const Control& control) = 0;
  virtual void visibility_changed(bool visible) = 0;
};

class Form {
 public:
  explicit Form(const FormSpec& spec);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  const std::string& title() const { return title_; }
  const Rect& place() const { return place_; }
  bool visible() const { return visible_; }
  bool starts_visible() const { return starts_visible_; }
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  const Control& control(std::string_view name) const;

  // Property writes, mirrored by the view. Texts are GBK.
  void set_caption(std::string_view control, std::string text);
  void set_visible(std::string_view control, bool visible);
  void set_disabled(std::string_view control, bool disabled);
  void set_picture(std::string_view control, std::string jpeg_bytes);
  void set_position(std::string_view control, int position);
  void set_part(std::string_view status_bar, std::size_t part, std::string text);
  void show();
  void hide();

  // Event binding; handlers run on the UI thread.
  void on_click(std::string_view control, std::function<void()> handler);
  void on_created(std::function<void()> handler);
  void on_can_close(std::function<bool()> handler);  // false refuses the close

  // Event delivery, from the view or from a test. A click on a disabled or hidden control, or
  // one without a handler, does nothing.
  void click(std::string_view control);
  void created();
  // Asks the can-be-closed handler; without one the form hides. Returns whether it may close.
  bool request_close();

  void attach_view(std::unique_ptr<FormView> view);
  FormView* view() const { return view_.get(); }

 private:
  Control& mutable_control(std::string_view name);
  void changed(const Control& control);

  std::string name_;
  std::string title_;
  Rect place_;
  bool visible_;
  bool starts_visible_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::pair<std::string, std::function<void()>>> click_handlers_;
  std::function<void()> created_handler_;
  std::function<bool()> can_close_handler_;
  std::unique_ptr<FormView> view_;
};

}  // namespace platform::ui
