#include "TC_Module.h"

#include <algorithm>
#include <cstring>

#include "paths.h"
#include "platform.h"
#include "settings_rules.h"
#include "text_box_text.h"
#include "time_text.h"
#include "tray_text.h"
#include "geometry.h"

namespace TC_Module {

std::string settings_file() {
    return platform::to_utf8(tocsinet::settings_file_path(std::wstring_view(platform::program_directory_wide())));
}

// The wide routines with the wide path: a program folder outside the ANSI code page keeps
// its settings too. The file stays ANSI text, as Windows writes a file without a Unicode mark.
std::string read_setting(const std::string& file, const std::string& section, const std::string& key) {
    return platform::profile_read(platform::from_utf8(file), section, tocsinet::key_for_reading(key),
                                  tocsinet::setting_buffer_size);
}

void write_setting(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    platform::profile_write(platform::from_utf8(file), section, tocsinet::key_for_writing(key), value);
}

std::string add_backslash(std::string_view path) { return tocsinet::add_backslash(path); }

std::string current_time_text() { return tocsinet::twelve_hour_text(platform::read_local_clock().time); }

std::string current_time_part(std::string_view part) {
    return tocsinet::time_text_part(current_time_text(), part);
}

void set_topmost(HWND form) { platform::set_topmost(form); }

NOTIFYICONDATAA tray_icon_data{};

namespace {
// Whether the shell holds our icon now; the record alone cannot say.
bool tray_icon_shown = false;
} // namespace

bool add_tray_icon(HICON icon, const std::string& tip, HWND form) {
    tray_icon_data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray_icon_data.hWnd = form;
    tray_icon_data.uID = 1;
    tray_icon_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray_icon_data.uCallbackMessage = WM_MOUSEMOVE;
    tray_icon_data.hIcon = icon;
    // The text, one NUL, then blanks to the end of the field.
    std::string text = tocsinet::fit_tray_tip(tip, platform::is_ansi_lead_byte);
    std::memset(tray_icon_data.szTip, ' ', sizeof tray_icon_data.szTip);
    std::memcpy(tray_icon_data.szTip, text.c_str(), text.size() + 1);
    if (Shell_NotifyIconA(NIM_ADD, &tray_icon_data))
        tray_icon_shown = true;
    if (tray_icon_shown)
        ShowWindow(form, SW_HIDE);
    return tray_icon_shown;
}

void delete_tray_icon() {
    Shell_NotifyIconA(NIM_DELETE, &tray_icon_data);
    tray_icon_shown = false;
}

void add_tray_icon_again() {
    if (!tray_icon_shown)
        return;
    // The window's own icon, as it is now: a change of DPI replaced the one of the last add.
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(tray_icon_data.hWnd, WM_GETICON, ICON_SMALL, 0)))
        tray_icon_data.hIcon = icon;
    Shell_NotifyIconA(NIM_ADD, &tray_icon_data);
}

// The window scales in twips, never in pixels, at the DPI of its monitor.
int tray_mouse_message(double x, HWND form) {
    return static_cast<int>(
        tocsinet::tray_mouse_message(x, false, tocsinet::twips_per_pixel(platform::window_dpi(form))));
}

void restore_from_tray(HWND form) {
    delete_tray_icon();
    // Shown in its normal state: the hidden window kept its minimised state.
    ShowWindow(form, IsIconic(form) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(form);
}

void pause_seconds(double seconds) {
    double end = platform::monotonic_seconds() + seconds;
    for (;;) {
        if (!platform::process_pending_messages())
            return;
        double left = end - platform::monotonic_seconds();
        if (left <= 0)
            return;
        platform::wait_for_message(static_cast<DWORD>(std::clamp(left * 1000.0, 1.0, 1000.0)));
    }
}

void load_text_file(HWND text_box, const std::wstring& path) {
    // One byte more than fits tells the cutting rule that the file goes on.
    std::string bytes = platform::read_file_start(path, tocsinet::text_box_limit + 1);
    SetWindowTextW(text_box, platform::widen(tocsinet::text_for_text_box(bytes)).c_str());
}

} // namespace TC_Module
