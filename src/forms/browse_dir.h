// The folder picker: the player's directory or the default music directory, for the Options window.
#pragma once

#include <windows.h>

namespace forms {

inline constexpr const wchar_t* browse_dir_class = L"TocsinetBrowseDir";

enum browse_dir_control : int {
    id_bd_drive = 501,
    id_bd_dir,
    id_bd_ok,
    id_bd_cancel,
    id_bd_Picture1,
    id_bd_Picture2,
    id_bd_Picture3,
    id_bd_Picture4,
    id_bd_Line1,
    id_bd_Line2,
};

// Opens the folder picker for the Options window, whose `which` label says what is picked.
// The picker closes with the Options window. Null when it could not be opened.
HWND show_browse_dir(HWND options_window);

} // namespace forms
