#include "TC_Module.h"

#include <algorithm>

#include "alarm.h"
#include "paths.h"
#include "platform.h"
#include "settings_rules.h"
#include "text_box_text.h"
#include "time_text.h"
#include "tray_text.h"

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
    // The main window tells the user; posted, as a write may come while it is being created.
    if (!platform::profile_write(platform::from_utf8(file), section, tocsinet::key_for_writing(key), value))
        if (HWND main_window = platform::find_own_window(forms::alarm_class))
            PostMessageW(main_window, forms::settings_not_saved_message, 0, 0);
}

std::string add_backslash(std::string_view path) { return tocsinet::add_backslash(path); }

std::string current_time_text() { return tocsinet::twelve_hour_text(platform::read_local_clock().time); }

std::string current_time_part(std::string_view part) {
    return tocsinet::time_text_part(current_time_text(), part);
}

void set_topmost(HWND form) { platform::set_topmost(form); }

NOTIFYICONDATAW tray_icon_data{};

namespace {
// Whether the shell holds our icon now; the record alone cannot say.
bool tray_icon_shown = false;
} // namespace

bool add_tray_icon(HICON icon, const std::wstring& tip, HWND form) {
    // The first show of a window started minimised can tell it of the minimise twice; the shell
    // would refuse the second add and keep the icon as it is.
    if (tray_icon_shown) {
        ShowWindow(form, SW_HIDE);
        return true;
    }
    tray_icon_data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    tray_icon_data.hWnd = form;
    tray_icon_data.uID = 1;
    tray_icon_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray_icon_data.uCallbackMessage = tray_callback_message;
    tray_icon_data.hIcon = icon;
    // The text, one NUL, then blanks to the end of the field.
    std::wstring text = tocsinet::fit_tray_tip(tip);
    std::fill_n(tray_icon_data.szTip, tocsinet::tray_tip_capacity, L' ');
    std::copy(text.c_str(), text.c_str() + text.size() + 1, tray_icon_data.szTip);
    if (Shell_NotifyIconW(NIM_ADD, &tray_icon_data))
        tray_icon_shown = true;
    if (tray_icon_shown)
        ShowWindow(form, SW_HIDE);
    return tray_icon_shown;
}

void delete_tray_icon() {
    Shell_NotifyIconW(NIM_DELETE, &tray_icon_data);
    tray_icon_shown = false;
}

void add_tray_icon_again() {
    if (tray_icon_shown)
        Shell_NotifyIconW(NIM_ADD, &tray_icon_data);
}

void change_tray_icon(HICON icon) {
    tray_icon_data.hIcon = icon;
    if (tray_icon_shown)
        Shell_NotifyIconW(NIM_MODIFY, &tray_icon_data);
}

int tray_mouse_message(LPARAM lparam) {
    return static_cast<int>(tocsinet::tray_mouse_message(lparam));
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
