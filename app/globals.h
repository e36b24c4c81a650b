// The application's globals, shared by the main window's handlers and the download window.
#pragma once
#include <cstdint>
#include <string>

#include "engine/download_engine.h"

// What the action button 按钮11 does, and what its caption says.
enum MapActionState : std::int32_t {
  kActionBackup = 0,    // "一键备份"
  kActionRestore = 1,   // "一键还原"
  kActionDownload = 2,  // "一键下载"
  kActionInstall = 3,   // "一键修改"
};

extern std::string LauncherPath;         // the registry value read at start-up
extern std::string SelectedArchiveName;  // "\爱心峡谷.zip": leading backslash
extern std::string SelectedPackUrl;      // "" while the official map is selected
extern MapActionState ActionState;

// The download window's engine and the task record it fills for each download.
extern engine::DownloadEngine AppEngine;
extern engine::DownloadTaskSpec AppTaskSpec;

// Creates the engine's objects; frees everything above and them at program end.
void CreateGlobals();
void DestroyGlobals();

// <run directory>\地图包, where packs, backups and downloads live.
std::string MapPackFolder();
