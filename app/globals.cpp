#include "app/globals.h"

#include "platform/files/files.h"

std::string LauncherPath;
std::string SelectedArchiveName;
std::string SelectedPackUrl;
MapActionState ActionState = kActionBackup;
engine::DownloadEngine AppEngine;
engine::DownloadTaskSpec AppTaskSpec;

void CreateGlobals() {}

void DestroyGlobals() {
  SelectedArchiveName.clear();
  SelectedPackUrl.clear();
  LauncherPath.clear();
  // Running downloads are abandoned: their threads leave, their files stay for a later resume.
  engine::ReleaseEngineState();
  AppEngine = {};
  AppTaskSpec = {};
}

std::string MapPackFolder() { return platform::files::run_directory() + "\\地图包"; }
