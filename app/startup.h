// Start-up and shutdown of the main window.
#pragma once

// The start-up sequence, run by the main window's created event.
void OnMainWindowCreated();
// Closing the main window ends the program.
void OnMainWindowClosing();

// Program entry after the window runtime has been chosen: creates the globals, registers their
// release at program end and loads and starts the main window.
void StartProgram();
// StartProgram, then the message loop. Returns only in the model-only runtime, once the program
// has ended.
void RunProgram();
