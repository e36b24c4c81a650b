// The action button's work: back the official map up, restore it, hand a pack to the download
// window, or install a pack, through the main window's ZIP component ZIP压缩1.
#pragma once
#include <string>
#include <string_view>

#include "platform/ui/form.h"

// Binds 按钮11's click to RunAction and both progress events of ZIP压缩1 to OnZipProgress.
void BindMapPackOperations(platform::ui::Form& main_window);

// Click handler of 按钮11: does what ActionState names.
void RunAction();
void BackupOfficialMap();
void RestoreOfficialMap();
void InstallSelectedPack();
// Both progress events of ZIP压缩1; percent is 0-100.
void OnZipProgress(int percent);

// The part of text before the first occurrence of search, case significant; "" when search does
// not occur.
std::string TextLeftOf(std::string_view text, std::string_view search);

// The game's folders, derived afresh from LauncherPath: the text before the first "TCLS", then
// "Game" (which holds Map1.zip) and "Game\LEVELS".
std::string GameFolder();
std::string LevelsFolder();
