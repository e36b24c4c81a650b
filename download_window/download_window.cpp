#include "download_window/download_window.h"

#include "app/main_window.h"
#include "platform/ui/runtime.h"

using platform::ui::ControlKind;
using platform::ui::Form;
using platform::ui::FormSpec;

namespace {

Form* download_window = nullptr;

// Closing only hides the window: a running download goes on reporting to it.
bool OnDownloadWindowClosing() {
  MainWindow().show();
  DownloadWindow().hide();
  return false;
}

}  // namespace

FormSpec DownloadWindowSpec() {
  return {
      "下载窗口",
      "溪石社-专用下载引擎",
      {50, 50, 426, 120},
      false,
      {
          {"按钮1", ControlKind::Button, {328, 8, 72, 26}, "开始下载", true, "", {}},
          {"进度条1", ControlKind::ProgressBar, {8, 10, 312, 24}, "", true, "", {}},
          {"标签1", ControlKind::Label, {8, 42, 72, 24}, "文件总大小：", true, "", {}},
          {"透明标签_总大小", ControlKind::TransparentLabel, {88, 42, 56, 24}, "0 MB", true, "", {}},
          {"标签2", ControlKind::Label, {136, 42, 40, 24}, "已下载：", true, "", {}},
          {"透明标签_已下载", ControlKind::TransparentLabel, {192, 42, 40, 24}, "0MB", true, "", {}},
          {"标签3", ControlKind::Label, {249, 42, 55, 24}, "下载速度：", true, "", {}},
          {"透明标签_下载速度", ControlKind::TransparentLabel, {320, 42, 90, 24}, "0/KS", true, "", {}},
          {"状态条1",
           ControlKind::StatusBar,
           {8, 74, 374, 20},
           "",
           true,
           "",
           {{75, "总下载速度："}, {75, ""}, {75, "下载状态："}, {75, ""}, {40, "提示："}, {80, ""}}},
      },
  };
}

Form& LoadDownloadWindow() {
  Form& form = platform::ui::load_form(DownloadWindowSpec());
  download_window = &form;
  form.on_can_close(OnDownloadWindowClosing);
  return form;
}

Form& DownloadWindow() { return *download_window; }

void ShowDownloadWindow() {
  DownloadWindow().show();
  MainWindow().hide();
}
