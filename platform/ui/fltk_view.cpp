// FLTK windows that mirror a form: one widget per control, at the form's pixel places.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_JPEG_Image.H>
#include <FL/Fl_Progress.H>

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "platform/codepage/codepage.h"
#include "platform/ui/fltk_backend.h"

namespace platform::ui::fltk {
namespace {

constexpr int kCaptionSize = 12;

// FLTK reads '@' as a symbol and '&' as a shortcut mark; captions are plain text.
std::string fltk_label(std::string_view gbk) {
  std::string out;
  for (char c : codepage::gbk_to_utf8(gbk)) {
    if (c == '@' || c == '&') out += c;
    out += c;
  }
  return out;
}

// The picture box fits its JPEG into its area, keeping the aspect ratio, centred.
class PictureBox : public Fl_Box {
 public:
  PictureBox(int x, int y, int w, int h) : Fl_Box(FL_DOWN_BOX, x, y, w, h, nullptr) {}

  void set_jpeg(const std::string& bytes) {
    fitted_.reset();
    if (!bytes.empty()) {
      Fl_JPEG_Image decoded(nullptr, reinterpret_cast<const unsigned char*>(bytes.data()));
      if (decoded.w() > 0 && decoded.h() > 0) {
        double scale = std::min(static_cast<double>(w() - 4) / decoded.w(),
                                static_cast<double>(h() - 4) / decoded.h());
        fitted_.reset(decoded.copy(std::max(1, static_cast<int>(decoded.w() * scale)),
                                   std::max(1, static_cast<int>(decoded.h() * scale))));
      }
    }
    redraw();
  }

 protected:
  void draw() override {
    draw_box();
    if (fitted_) {
      fitted_->draw(x() + (w() - fitted_->w()) / 2, y() + (h() - fitted_->h()) / 2);
    }
  }

 private:
  std::unique_ptr<Fl_Image> fitted_;
};

class StatusBar : public Fl_Group {
 public:
  StatusBar(int x, int y, int w, int h, const std::vector<StatusPart>& parts)
      : Fl_Group(x, y, w, h) {
    int left = x;
    for (const StatusPart& part : parts) {
      int width = std::max(0, std::min(part.width, x + w - left));
      auto* box = new Fl_Box(FL_THIN_DOWN_BOX, left, y, width, h, nullptr);
      box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
      box->labelsize(kCaptionSize);
      parts_.push_back(box);
      left += width;
    }
    end();
  }

  void show_parts(const std::vector<StatusPart>& parts) {
    for (std::size_t i = 0; i < parts.size() && i < parts_.size(); ++i) {
      parts_[i]->copy_label(fltk_label(parts[i].text).c_str());
    }
    redraw();
  }

 private:
  std::vector<Fl_Box*> parts_;
};

class Window : public Fl_Double_Window {
 public:
  Window(Form& form)
      : Fl_Double_Window(form.place().x, form.place().y, form.place().w, form.place().h),
        form_(form) {
    copy_label(fltk_label(form.title()).c_str());
  }

  Form& form() { return form_; }

 private:
  Form& form_;
};

void window_closing(Fl_Widget* widget, void*) {
  // Escape would close FLTK windows; Windows keeps them open.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  static_cast<Window*>(widget)->form().request_close();
}

class View : public FormView {
 public:
  explicit View(Form& form) : window_(new Window(form)) {
    window_->callback(window_closing);
    for (const auto& control : form.controls()) add_widget(form, *control);
    window_->end();
    for (const auto& control : form.controls()) control_changed(*control);
  }

  ~View() override { delete window_; }

  void control_changed(const Control& control) override {
    auto found = widgets_.find(control.name());
    if (found == widgets_.end()) return;
    Fl_Widget* widget = found->second;
    control.visible() ? widget->show() : widget->hide();
    control.disabled() ? widget->deactivate() : widget->activate();
    switch (control.kind()) {
      case ControlKind::PictureBox:
        static_cast<PictureBox*>(widget)->set_jpeg(control.picture());
        break;
      case ControlKind::ProgressBar:
        static_cast<Fl_Progress*>(widget)->value(static_cast<float>(control.position()));
        break;
      case ControlKind::StatusBar:
        static_cast<StatusBar*>(widget)->show_parts(control.parts());
        break;
      default:
        widget->copy_label(fltk_label(control.caption()).c_str());
    }
    widget->redraw();
  }

  void visibility_changed(bool visible) override {
    visible ? window_->show() : window_->hide();
  }

 private:
  // Places in a group box are relative to it; FLTK places are relative to the window.
  Rect window_place(const Form& form, const Control& control) {
    Rect place = control.place();
    if (!control.group().empty()) {
      place.x += form.control(control.group()).place().x;
      place.y += form.control(control.group()).place().y;
    }
    return place;
  }

  void add_widget(Form& form, const Control& control) {
    Rect r = window_place(form, control);
    Fl_Widget* widget = nullptr;
    switch (control.kind()) {
      case ControlKind::Button: {
        auto* button = new Fl_Button(r.x, r.y, r.w, r.h);
        button->callback([](Fl_Widget* w, void* data) {
          auto* self = static_cast<View*>(data);
          self->clicked(w);
        }, this);
        widget = button;
        break;
      }
      case ControlKind::Label:
      case ControlKind::TransparentLabel:
        widget = new Fl_Box(FL_NO_BOX, r.x, r.y, r.w, r.h, nullptr);
        widget->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
        break;
      case ControlKind::PictureBox:
        widget = new PictureBox(r.x, r.y, r.w, r.h);
        break;
      case ControlKind::ProgressBar: {
        auto* progress = new Fl_Progress(r.x, r.y, r.w, r.h);
        progress->minimum(0);
        progress->maximum(100);
        progress->selection_color(FL_DARK_GREEN);
        widget = progress;
        break;
      }
      case ControlKind::GroupBox:
        widget = new Fl_Box(FL_ENGRAVED_FRAME, r.x, r.y, r.w, r.h, nullptr);
        break;
      case ControlKind::StatusBar:
        // A status bar docks at the bottom of its window across its whole width, whatever
        // place the form gave it, so it never covers the controls above it.
        widget = new StatusBar(0, form.place().h - r.h, form.place().w, r.h, control.parts());
        break;
      case ControlKind::Component:
        return;  // nothing to see at run time
    }
    widget->labelsize(kCaptionSize);
    widgets_[control.name()] = widget;
    names_[widget] = control.name();
  }

  void clicked(Fl_Widget* widget) { window_->form().click(names_[widget]); }

  Window* window_;
  std::map<std::string, Fl_Widget*> widgets_;
  std::map<Fl_Widget*, std::string> names_;
};

}  // namespace

std::unique_ptr<FormView> make_view(Form& form) { return std::make_unique<View>(form); }

}  // namespace platform::ui::fltk
