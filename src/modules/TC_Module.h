// Routines shared by the windows, and the program-wide tray icon record.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>

namespace TC_Module {

// The settings file beside the program, its path formed anew at each access. The path is
// UTF-8 text, so it names the file from any folder; sections, keys and values are ANSI text,
// as the file holds them.
std::string settings_file();

// The stored text, or "" when the file, section or key is missing; at most 749 characters.
std::string read_setting(const std::string& file, const std::string& section, const std::string& key);
// Stores one value; a failed write tells the main window (settings_not_saved_message).
void write_setting(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value);
std::string add_backslash(std::string_view path);

// The current time of day as "7:05:09 PM", and its "hour", "minute" or "ampm" part.
std::string current_time_text();
std::string current_time_part(std::string_view part);

// Keeps a dialog above all other windows without moving it.
void set_topmost(HWND form);

// The one notification-area icon, in the shell's first record form, wide so that the tip shows a
// file name as it is. It keeps the values of the last add; a delete reads it and changes nothing.
extern NOTIFYICONDATAW tray_icon_data;

// Adds the icon and hides the window. When the shell takes no icon and none is shown, the
// window stays where it is: a hidden window without an icon could never come back.
// Returns whether the icon is shown.
bool add_tray_icon(HICON icon, const std::wstring& tip, HWND form);
void delete_tray_icon();
// After the shell's task bar restarted: the icon again, as last added, while it should show.
void add_tray_icon_again();
// Another image for the icon (the scale changed); sent to the shell at once while it shows.
void change_tray_icon(HICON icon);

// The icon reports to its window with a message of its own: a mouse move over the window is
// never taken for a press on the icon.
inline constexpr UINT tray_callback_message = WM_APP + 2;
// 1 for a left-button press on the icon, 2 for a right-button press, 0 otherwise, from the
// callback message's lParam.
int tray_mouse_message(LPARAM lparam);
// Deletes the icon and shows the window in its normal state.
void restore_from_tray(HWND form);

// Waits while the window events still run, on a clock that only goes forward.
void pause_seconds(double seconds);

// Puts a text file into a multi-line text box, replacing its content; a file too long for the
// box is cut (see text_for_text_box). Throws std::system_error when the file cannot be read.
void load_text_file(HWND text_box, const std::wstring& path);

} // namespace TC_Module
