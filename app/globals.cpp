#include "app/globals.h"

#include "platform/files/files.h"

std::string LauncherPath;
std::string SelectedArchiveName;
std::string SelectedPackUrl;
MapActionState ActionState = kActionBackup;

void CreateGlobals() {}

void DestroyGlobals() {
  SelectedArchiveName.clear();
  SelectedPackUrl.clear();
  LauncherPath.clear();
}

std::string MapPackFolder() { return platform::files::run_directory() + "\\地图包"; }
