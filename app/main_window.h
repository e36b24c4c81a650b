// The main window: its form and the window the handlers write to.
#pragma once
#include "platform/ui/form.h"

platform::ui::FormSpec MainWindowSpec();

// Loads the main window and binds its handlers; it is shown by the runtime after its created
// event. MainWindow() is valid from then on.
platform::ui::Form& LoadMainWindow();
platform::ui::Form& MainWindow();
