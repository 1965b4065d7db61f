// The About window: the version file and the two usage counters.
#pragma once

#include <windows.h>

namespace forms {

inline constexpr const wchar_t* about_class = L"TocsinetAbout";

enum about_control : int {
    id_version = 401,
    id_stat_loads,
    id_stat_alarms,
    id_about_ok,
    id_about_SSTab1,
    id_about_Picture1,
    id_about_Picture2,
    id_about_Picture3,
    id_about_Line1,
    id_about_Line2,
};

// Shows the About window at the main window's corner; the main window stays usable. A window
// already open is shown again as it is.
HWND show_about(HINSTANCE instance, HWND main_window);

// Closes the About window, if open.
void close_about();

} // namespace forms
