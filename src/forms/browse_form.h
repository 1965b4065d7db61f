// The alarm-file picker: a drive, a folder and one of its music files or playlists.
#pragma once

#include <windows.h>

namespace forms {

inline constexpr const wchar_t* browse_form_class = L"TocsinetBrowseForm";

enum browse_form_control : int {
    id_bf_drive = 401,
    id_bf_dir,
    id_bf_file,
    id_bf_ok,
    id_bf_cancel,
    id_bf_Picture1,
    id_bf_Picture2,
    id_bf_Picture3,
    id_bf_Picture4,
    id_bf_Line1,
    id_bf_Line2,
};

// Opens the picker for the main window, which the caller has disabled; shows the open one
// again when there is one. Null when it could not be opened.
HWND show_browse_form(HINSTANCE instance, HWND main_window);

} // namespace forms
