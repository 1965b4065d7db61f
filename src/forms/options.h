// The Options window: the three behaviour flags and the two directories of the settings file.
#pragma once

#include <windows.h>

#include "options_ids.h"

namespace forms {

inline constexpr const wchar_t* options_class = L"TocsinetOptions";

// Shows the Options window over `main_window`, which stays disabled while it is open. A window
// already open is shown again as it is.
HWND show_options(HINSTANCE instance, HWND main_window);

// Closes the Options window, if open, as Cancel does: nothing is written.
void close_options();

} // namespace forms
