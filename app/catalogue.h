// The fixed catalogue of ten maps and the selection that the action button works on.
#pragma once
#include <array>
#include <string>
#include <string_view>

struct MapEntry {
  std::string_view button;        // the form name of the button that selects it
  std::string_view name_text;     // shown in 标签6
  std::string_view author_text;   // shown in 标签5
  std::string_view archive_name;  // "\爱心峡谷.zip"; empty for the official map
  std::string_view download_path; // "/skinvault/Map6.zip"; empty for the official map
  std::string_view preview;       // whole JPEG file
};

// The nine packs in the order of their download paths, then the official map.
const std::array<MapEntry, 10>& MapCatalogue();
const MapEntry& OfficialMapEntry();
// http://<pack host><download path>, or "" for the official map.
std::string PackUrl(const MapEntry& entry);

void SelectMapPack(const MapEntry& entry);
void SelectOfficialMap();
void RefreshPackStatus(std::string_view archive_name);
void RefreshActionCaption();
// Enables or disables the nine pack buttons and shows the backup status; shared by the official
// map's selection and the backup operation.
void ShowBackupState(bool backed_up);
