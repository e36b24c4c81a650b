#include "app/map_pack_operations.h"

#include "app/catalogue.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "download_window/download_window.h"
#include "platform/files/files.h"
#include "platform/ui/runtime.h"
#include "platform/zip/zip_component.h"
#include "web/gbk_text.h"

using platform::zip::Failure;

namespace {

platform::zip::ZipComponent ZIP压缩1;

std::string GamePathPrefix() { return TextLeftOf(LauncherPath, "TCLS"); }

std::string BackupArchive(std::string_view name) { return MapPackFolder() + "\\" + std::string(name); }

// What the user must learn when a step could not do its work. A missing source or archive says
// nothing, as the step simply has nothing to do.
std::string FailureText(const platform::zip::ZipComponent& zip) {
  const std::string& name = zip.failed_entry_name();
  switch (zip.failure()) {
    case Failure::None:
    case Failure::SourceMissing:
      return "";
    case Failure::ReadFailed:
      return "备份失败，读不出文件：" + name;
    case Failure::WriteFailed:
      return "写入失败（磁盘已满或没有写入权限）：" + name;
    case Failure::HostileName:
      return "压缩包里有写到目标文件夹之外的文件名，整个压缩包已拒绝：" + name;
    case Failure::DamagedArchive:
      return "压缩包已损坏，无法读取";
    case Failure::DamagedEntry:
      return "压缩包里的文件已损坏，未安装：" + name;
  }
  return "";
}

// Collects the first failure of an operation's steps and shows it once the operation is over,
// where the next step's progress cannot overwrite it.
class FailureNote {
 public:
  void after_step() {
    if (text_.empty()) text_ = FailureText(ZIP压缩1);
  }
  void show() const {
    if (!text_.empty()) MainWindow().set_part("状态条1", 1, text_);
  }

 private:
  std::string text_;
};

void ShowProgressBar(bool visible) {
  MainWindow().set_visible("进度条1", visible);
  platform::ui::flush_display();
}

}  // namespace

std::string TextLeftOf(std::string_view text, std::string_view search) {
  std::size_t at = web::gbk::find(text, search);
  return at == web::gbk::npos ? std::string() : std::string(text.substr(0, at));
}

std::string GameFolder() { return GamePathPrefix() + "Game"; }

std::string LevelsFolder() { return GameFolder() + "\\LEVELS"; }

void BindMapPackOperations(platform::ui::Form& main_window) {
  main_window.on_click("按钮11", RunAction);
  ZIP压缩1.on_progress([](platform::zip::ProgressEvent, int percent) { OnZipProgress(percent); });
}

void RunAction() {
  switch (ActionState) {
    case kActionBackup:
      ShowProgressBar(true);
      BackupOfficialMap();
      break;
    case kActionRestore:
      ShowProgressBar(true);
      RestoreOfficialMap();
      break;
    case kActionDownload:
      ShowDownloadWindow();
      break;
    case kActionInstall:
      ShowProgressBar(true);
      InstallSelectedPack();
      break;
  }
}

void BackupOfficialMap() {
  FailureNote note;
  ZIP压缩1.compress(LevelsFolder(), BackupArchive("LEVELS.zip"));
  note.after_step();
  ZIP压缩1.compress(GameFolder() + "\\Map1.zip", BackupArchive("默认地图备份.zip"));
  note.after_step();
  ShowProgressBar(false);
  ShowBackupState(platform::files::exists(BackupArchive("默认地图备份.zip")));
  note.show();
}

void RestoreOfficialMap() {
  FailureNote note;
  ZIP压缩1.unpack(BackupArchive("LEVELS.zip"), LevelsFolder());
  note.after_step();
  ZIP压缩1.unpack(BackupArchive("默认地图备份.zip"), GameFolder());
  note.after_step();
  ShowProgressBar(false);
  note.show();
}

void InstallSelectedPack() {
  FailureNote note;
  ZIP压缩1.unpack(MapPackFolder() + SelectedArchiveName, GameFolder());
  note.after_step();
  ShowProgressBar(false);
  note.show();
}

void OnZipProgress(int percent) {
  platform::ui::Form& window = MainWindow();
  window.set_position("进度条1", percent);
  window.set_part("状态条1", 1, ZIP压缩1.current_entry_name());
  platform::ui::flush_display();  // the UI thread is busy until the operation returns
}
