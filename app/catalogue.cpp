#include "app/catalogue.h"

#include "app/globals.h"
#include "app/main_window.h"
#include "app/payloads.h"
#include "platform/files/files.h"
#include "web/hosts.h"

namespace {

constexpr std::string_view kPackButtons[] = {"按钮2", "按钮3", "按钮4", "按钮5", "按钮6",
                                             "按钮7", "按钮8", "按钮1", "按钮10"};

}  // namespace

const std::array<MapEntry, 10>& MapCatalogue() {
  // Built on first use: the previews' views are set up by static initialisation elsewhere.
  static const std::array<MapEntry, 10> catalogue = {{
      {"按钮1", "S万圣节", "溪石社", "\\S2万圣节.zip", "/skinvault/Map2.zip", payloads::kPreviewMap2},
      {"按钮2", "防S2冬季", "溪石社", "\\防S2冬季.zip", "/skinvault/Map3.zip", payloads::kPreviewMap3},
      {"按钮8", "沙滩峡谷", "溪石社", "\\沙滩峡谷.zip", "/skinvault/Map4.zip", payloads::kPreviewMap4},
      {"按钮7", "沙滩夜间", "溪石社", "\\沙滩夜间.zip", "/skinvault/Map5.zip", payloads::kPreviewMap5},
      {"按钮3", "爱心峡谷", "溪石社", "\\爱心峡谷.zip", "/skinvault/Map6.zip", payloads::kPreviewMap6},
      {"按钮4", "血之峡谷", "溪石社", "\\雪之峡谷.zip", "/skinvault/Map7.zip", payloads::kPreviewMap7},
      {"按钮6", "AREA63", "溪石社", "\\AREA63.zip", "/skinvault/Map8.zip", payloads::kPreviewMap8},
      {"按钮5", "AREA91", "溪石社", "\\AREA91.zip", "/skinvault/Map9.zip", payloads::kPreviewMap9},
      {"按钮10", "荒漠峡谷", "溪石社", "\\荒漠峡谷.zip", "/skinvault/Map10.zip", payloads::kPreviewMap10},
      {"按钮9", "官方地图", "LOL官方", "", "", payloads::kPreviewOfficial},
  }};
  return catalogue;
}

const MapEntry& OfficialMapEntry() { return MapCatalogue().back(); }

std::string PackUrl(const MapEntry& entry) {
  if (entry.download_path.empty()) return "";
  return "http://" + web::host_name(web::Host::Pack) + std::string(entry.download_path);
}

void SelectMapPack(const MapEntry& entry) {
  auto& window = MainWindow();
  window.set_picture("图片框1", std::string(entry.preview));
  window.set_caption("标签6", std::string(entry.name_text));
  window.set_caption("标签5", std::string(entry.author_text));
  RefreshPackStatus(entry.archive_name);
  SelectedArchiveName = entry.archive_name;
  SelectedPackUrl = PackUrl(entry);
}

void RefreshPackStatus(std::string_view archive_name) {
  bool present = platform::files::exists(MapPackFolder() + std::string(archive_name));
  MainWindow().set_caption("标签8", present ? "- 已下载 -" : "- 未下载 -");
  ActionState = present ? kActionInstall : kActionDownload;
  RefreshActionCaption();
}

void RefreshActionCaption() {
  static constexpr const char* kCaptions[] = {"一键备份", "一键还原", "一键下载", "一键修改"};
  MainWindow().set_caption("按钮11", kCaptions[ActionState]);
}

void ShowBackupState(bool backed_up) {
  auto& window = MainWindow();
  for (std::string_view button : kPackButtons) window.set_disabled(button, !backed_up);
  window.set_caption("标签8", backed_up ? "- 已备份 -" : "- 未备份 -");
  ActionState = backed_up ? kActionRestore : kActionBackup;
  RefreshActionCaption();
}

void SelectOfficialMap() {
  const MapEntry& official = OfficialMapEntry();
  auto& window = MainWindow();
  window.set_picture("图片框1", std::string(official.preview));
  window.set_caption("标签6", std::string(official.name_text));
  window.set_caption("标签5", std::string(official.author_text));
  SelectedPackUrl.clear();
  ShowBackupState(platform::files::exists(MapPackFolder() + "\\默认地图备份.zip"));
}
