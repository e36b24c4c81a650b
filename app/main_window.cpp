#include "app/main_window.h"

#include "app/catalogue.h"
#include "app/map_pack_operations.h"
#include "app/startup.h"
#include "platform/ui/runtime.h"

using platform::ui::ControlKind;
using platform::ui::ControlSpec;
using platform::ui::Form;
using platform::ui::FormSpec;

namespace {

Form* main_window = nullptr;

ControlSpec button(const char* name, int x, int y, const char* caption, int w = 85, int h = 35,
                   const char* group = "") {
  return {name, ControlKind::Button, {x, y, w, h}, caption, true, group, {}};
}

ControlSpec grouped_label(const char* name, int x, int y, int w, int h, const char* caption) {
  return {name, ControlKind::Label, {x, y, w, h}, caption, true, "分组框1", {}};
}

}  // namespace

FormSpec MainWindowSpec() {
  return {
      "主窗口",
      "换景坊  溪石社-荣誉出品",
      {50, 50, 450, 350},
      true,
      {
          button("按钮9", 3, 3, "默认地图"),
          button("按钮1", 91, 3, "S2万圣节"),
          button("按钮2", 179, 3, "防S2冬季"),
          button("按钮8", 267, 3, "沙滩峡谷"),
          button("按钮7", 355, 3, "沙滩夜间"),
          button("按钮3", 3, 43, "爱心峡谷"),
          button("按钮4", 91, 43, "雪之峡谷"),
          button("按钮6", 179, 43, "AREA63"),
          button("按钮5", 267, 43, "AREA91"),
          button("按钮10", 355, 43, "荒漠峡谷"),
          {"图片框1", ControlKind::PictureBox, {4, 81, 308, 216}, "", true, "", {}},
          {"进度条1", ControlKind::ProgressBar, {5, 162, 304, 24}, "", false, "", {}},
          {"分组框1", ControlKind::GroupBox, {316, 75, 124, 222}, "", true, "", {}},
          grouped_label("标签1", 8, 13, 56, 24, "地图名称："),
          grouped_label("标签6", 35, 32, 64, 24, ""),
          grouped_label("标签2", 8, 52, 70, 24, "地图包作者："),
          grouped_label("标签5", 35, 75, 72, 16, "标签"),
          grouped_label("标签3", 9, 89, 73, 24, "地图包大小："),
          grouped_label("标签7", 37, 112, 72, 16, "未知"),
          grouped_label("标签4", 8, 127, 73, 24, "地图包状态："),
          grouped_label("标签8", 28, 149, 72, 24, ""),
          button("按钮11", 9, 178, "", 106, 36, "分组框1"),
          {"状态条1",
           ControlKind::StatusBar,
           {0, 280, 444, 20},
           "",
           true,
           "",
           {{57, "提示信息："}, {393, ""}}},
          {"ZIP压缩1", ControlKind::Component, {280, 264, 26, 26}, "", false, "", {}},
      },
  };
}

Form& LoadMainWindow() {
  Form& form = platform::ui::load_form(MainWindowSpec());
  main_window = &form;
  for (const MapEntry& entry : MapCatalogue()) {
    if (&entry == &OfficialMapEntry()) {
      form.on_click(entry.button, SelectOfficialMap);
    } else {
      form.on_click(entry.button, [&entry] { SelectMapPack(entry); });
    }
  }
  BindMapPackOperations(form);
  form.on_created(OnMainWindowCreated);
  form.on_can_close([] {
    OnMainWindowClosing();
    return true;
  });
  return form;
}

Form& MainWindow() { return *main_window; }
