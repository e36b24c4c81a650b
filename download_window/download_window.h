// The download window: the download engine's client.
#pragma once
#include "platform/ui/form.h"

platform::ui::FormSpec DownloadWindowSpec();

// Loads the window hidden, with its handlers bound; it lives until the program ends.
platform::ui::Form& LoadDownloadWindow();
platform::ui::Form& DownloadWindow();

// The action button's download action: shows this window and hides the main window.
void ShowDownloadWindow();
