// Printing the current preset's keys: the system's print dialog, then the
// printout's lines (print_layout) on the chosen printer.
#pragma once

#include <windows.h>

namespace zentra {

// Prints currentPreset (the presets page copies it into the table first;
// `presetIndex` is not used). The owner is disabled while the job runs and
// enabled again when it ends or fails. Reports nothing.
void printPreset(HINSTANCE instance, HWND owner, int presetIndex);

}  // namespace zentra
