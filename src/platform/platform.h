// The thin layer over the Windows calls the program relies on. Nothing here decides anything.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alarm_check.h"
#include "time_text.h"

namespace platform {

// Text conversions between the windows (wide) and the settings file (ANSI code page).
std::wstring widen(std::string_view ansi);
std::string narrow(std::wstring_view wide);
// Whether the text survives the trip through the ANSI code page unchanged.
bool fits_ansi(std::wstring_view wide);

// The folder that holds the running exe: no trailing "\" except for a drive root.
std::wstring program_directory_wide();

// One reading of the clock: the local time of day and the instant.
struct local_now {
    tocsinet::clock_time time;
    tocsinet::utc_millis utc;
};
local_now read_local_clock();

// A clock that only goes forward, for pauses and bounds.
double monotonic_seconds();

// The shell opens a document with the program registered for its type, showing nothing of its
// own; 32 or less: it could not, for the reason ShellExecute's codes give (SE_ERR_NOASSOC where no
// program is registered).
int shell_open(HWND owner, const std::wstring& file, const std::wstring& directory);

inline constexpr const char* player_window_class = "Winamp v1.x";
HWND find_player_window();
// False when the player has not taken the command within 5 s: it hangs, or never reads its
// messages. Messages sent to this thread meanwhile are answered.
bool send_player_volume(HWND player, int volume_0_to_255);

// Topmost without moving or resizing.
void set_topmost(HWND window);

// A window of this program's thread with the given class, or null.
HWND find_own_window(const wchar_t* class_name);

// Runs every pending message as the main loop would; false once the program is quitting
// (the quit request is posted again for the main loop).
bool process_pending_messages();
// Sleeps until a message arrives or the timeout passes.
void wait_for_message(DWORD timeout_ms);
// One message through the keyboard handling of our windows, as the main loop does.
void dispatch(MSG& message);

int message_box(HWND owner, const std::wstring& text, UINT flags);

// One DPI for the whole desktop, as a program that is not per-monitor aware sees it.
int system_dpi();
// The DPI a window is laid out at: that of its monitor where Windows tells it (Windows 10 1607 and
// later), the system's elsewhere.
int window_dpi(HWND window);
// A system metric at a DPI; scaled from the system's where Windows cannot tell it for any DPI.
int system_metric(int index, int dpi);
// The size of a window whose client area has this size, with its frame at a DPI.
SIZE window_size_for_client(SIZE client, DWORD style, DWORD ex_style, int dpi);
// Where the client area of a window of these styles starts inside it, at a DPI: its border.
POINT client_offset(DWORD style, DWORD ex_style, int dpi);
// The icon resource at a size in pixels, made from a larger image where it has none of that size;
// null when it cannot be loaded.
HICON load_icon(HINSTANCE instance, int id, int size);
// The icon resource at the size the notification area shows icons at, which follows the system's
// DPI, not the window's monitor's; null when it cannot be loaded.
HICON load_notification_icon(HINSTANCE instance, int id);

bool file_exists(const std::wstring& path);
bool folder_exists(const std::wstring& path);

// Draws the control without the visual style, in the button face like the controls on it.
void use_classic_look(HWND control);

// The window's text, wide.
std::wstring window_text(HWND window);
// A list's item of exactly this text selected, or none when it has no such item.
void select_exact(HWND list, const std::string& text);
// Adds the texts to a closed list in order, drawn once after the last instead of after each.
void add_items(HWND list, const std::vector<std::wstring>& texts);
POINT cursor_position();
// A slider from 0 to `maximum`, its arrow keys' and page keys' steps and its ticks' spacing.
void set_slider(HWND slider, int maximum, int line, int page, int tick_spacing);
// The middle of a window, in screen coordinates.
POINT centre_of(HWND window);
struct menu_item {
    UINT_PTR id;
    const wchar_t* text;
};
// A popup menu of `owner`, its left edge at `at` (screen coordinates), until it closes. `owner` may
// be gone by then.
void track_popup_menu(HWND owner, POINT at, std::initializer_list<menu_item> items);

// The first bytes of a file, at most `max_bytes` of them; throws std::system_error when the
// file cannot be opened or read.
std::string read_file_start(const std::wstring& path, std::size_t max_bytes);

// The text of `wide` in a code page (the ANSI one unless given) when it holds every character
// exactly (no best-fit stand-ins, no "?"); nothing otherwise.
std::optional<std::string> narrow_exactly(std::wstring_view wide, unsigned code_page = GetACP());
// The short (8.3) form of an existing path; "" when the volume gives none.
std::wstring short_path(const std::wstring& path);

// A DLL of Windows from the system folder, never from the program's own, where a download may
// have left a file of that name: the one the process holds already (an import, or the common
// controls its manifest chose), else loaded now and never freed. Null where Windows lacks it.
HMODULE system_module(const wchar_t* name);

// A function of a system DLL that older Windows lacks: null there, so the exe still starts.
template <class Function> Function* system_function(const wchar_t* module, const char* name) {
    HMODULE loaded = system_module(module);
    FARPROC found = loaded ? GetProcAddress(loaded, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

// The first thing at start: no later DLL load of the process, COM's included, looks in the
// program's folder; UxTheme is loaded from the system folder now.
void load_dlls_from_system_folder();
// WINMM from the system folder, once the window shows: the alarm's own sound must not wait for it.
void load_sound_dll();

// Paths that must name any folder travel as UTF-8 text.
std::string to_utf8(std::wstring_view wide);
std::wstring from_utf8(std::string_view utf8);

// The profile-file routines with a wide file path; sections, keys and values are ANSI text,
// as a file without a Unicode mark holds them.
std::string profile_read(const std::wstring& file, const std::string& section, const std::string& key,
                         std::size_t buffer_size);
// False when the value could not be written.
bool profile_write(const std::wstring& file, const std::string& section, const std::string& key,
                   const std::string& value);

} // namespace platform
