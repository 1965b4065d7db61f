// Every window's design as the tests see it: each control's place in twips, class, caption and
// styles, and the order in which Tab visits the controls, with the names a screen reader gives them. The layout test checks the windows of the
// running program against it, the DPI-change test the main window laid out again in process.
#pragma once

#include <windows.h>

#include <cmath>
#include <vector>

#include "about.h"
#include "alarm.h"
#include "browse_dir.h"
#include "browse_form.h"
#include "options_ids.h"

namespace e2e {

using namespace forms;

// Twips relative to the container's client area (a framed picture's border lies outside it);
// `tab` is the page the control lies on, -1 for none; `style`, bits it must have. The lines of
// the title strip and above the buttons are left out: they run past the window's edge.
struct row {
    int id;
    const wchar_t *class_name, *caption; // null caption: not compared
    int container, left, top, width, height, tab = -1;
    DWORD style = 0;
};
// A control that takes the focus, and the name a screen reader gives it.
struct stop {
    int id;
    const wchar_t* name;
};
// The client size, the controls, and those that take the focus in the order Tab visits them.
struct design {
    int width, height;
    std::vector<row> rows;
    std::vector<stop> tab_order;
};

inline const wchar_t *const button = L"Button", *const label = L"Static", *const combo = L"ComboBox", *const list = L"ListBox",
                   *const edit = L"Edit", *const tabs = L"SysTabControl32";

inline const design main_window{3825, 2430, {
    {id_Frame1, button, L"Time", 0, 50, 0, 3735, 680}, {id_Picture1, label, nullptr, id_Frame1, 2280, 240, 1335, 340},
    {id_time_hour, combo, nullptr, id_Frame1, 120, 240, 615, 330, -1, CBS_DROPDOWNLIST},
    {id_time_minute, combo, nullptr, id_Frame1, 840, 240, 615, 330, -1, CBS_DROPDOWNLIST},
    {id_time_ampm, combo, nullptr, id_Frame1, 1560, 240, 615, 330, -1, CBS_DROPDOWNLIST},
    {id_alarm, button, L"Activate", id_Picture1, 0, 0, 1275, 280}, {id_Frame3, button, L"Alarm File", 0, 50, 720, 3735, 680},
    {id_alarm_file, edit, L"no file", id_Frame3, 120, 310, 2055, 315, -1, ES_READONLY},
    {id_Picture2, label, nullptr, id_Frame3, 2280, 240, 1335, 340}, {id_browse, button, L"&Browse...", id_Picture2, 0, 0, 1275, 280},
    {id_Frame2, button, L"Volume", 0, 50, 1440, 3135, 580}, {id_volume, L"msctls_trackbar32", nullptr, id_Frame2, 45, 270, 2535, 255},
    {id_volume_perc, label, L"50%", id_Frame2, 2640, 235, 435, 210}, // wide enough for "100%"
    {id_about_icon, label, nullptr, 0, 3280, 1560, 480, 480}},
    {{id_time_hour, L"Hour"}, {id_time_minute, L"Minute"}, {id_time_ampm, L"AM or PM"}, {id_alarm, L"Activate"},
     {id_browse, L"Browse..."}, {id_alarm_file, L"Alarm file"}, {id_volume, L"Volume"}}};

inline const design alarm_file_picker{3255, 4935, {
    {id_bf_Picture4, label, nullptr, 0, 0, 0, 480, 480}, {id_bf_Picture3, label, nullptr, 0, 520, 120, 1680, 225},
    {id_bf_drive, combo, nullptr, 0, 50, 600, 3175, 330, -1, CBS_DROPDOWNLIST}, {id_bf_dir, list, nullptr, 0, 50, 960, 3175, 1980},
    {id_bf_file, list, nullptr, 0, 35, 3045, 3215, 1350}, {id_bf_Picture1, label, nullptr, 0, 480, 4560, 1095, 340},
    {id_bf_ok, button, L"OK", id_bf_Picture1, 0, 0, 1035, 280}, {id_bf_Picture2, label, nullptr, 0, 1560, 4560, 1095, 340},
    {id_bf_cancel, button, L"Cancel", id_bf_Picture2, 0, 0, 1035, 280}},
    {{id_bf_drive, L"Drive"}, {id_bf_dir, L"Folders"}, {id_bf_file, L"Files"}, {id_bf_ok, L"OK"}, {id_bf_cancel, L"Cancel"}}};

inline const design folder_picker{3255, 3615, {
    {id_bd_Picture4, label, nullptr, 0, 0, 0, 480, 480}, {id_bd_Picture3, label, nullptr, 0, 520, 120, 1680, 225},
    {id_bd_drive, combo, nullptr, 0, 50, 600, 3175, 330, -1, CBS_DROPDOWNLIST}, {id_bd_dir, list, nullptr, 0, 50, 960, 3175, 1980},
    {id_bd_Picture1, label, nullptr, 0, 600, 3240, 1095, 340}, {id_bd_ok, button, L"OK", id_bd_Picture1, 0, 0, 1035, 280},
    {id_bd_Picture2, label, nullptr, 0, 1680, 3240, 1095, 340}, {id_bd_cancel, button, L"Cancel", id_bd_Picture2, 0, 0, 1035, 280}},
    {{id_bd_dir, L"Folders"}, {id_bd_drive, L"Drive"}, {id_bd_cancel, L"Cancel"}, {id_bd_ok, L"OK"}}};

inline const design options_window{4275, 3270, {
    {id_options_Picture1, label, nullptr, 0, 0, 0, 480, 480}, {id_options_Picture2, label, nullptr, 0, 520, 120, 3690, 225},
    {id_options_SSTab1, tabs, nullptr, 0, 45, 600, 4155, 2055}, {id_options_Picture4, label, nullptr, 0, 1080, 2880, 1095, 340},
    {id_options_ok, button, L"OK", id_options_Picture4, 0, 0, 1035, 280}, {id_which, label, L"", 0, 5400, 2880, 1095, 735},
    {id_options_Picture3, label, nullptr, 0, 2160, 2880, 1095, 340}, {id_options_cancel, button, L"Cancel", id_options_Picture3, 0, 0, 1035, 280},
    {id_lctos, button, L"Load current time on startup", id_options_SSTab1, 100, 480, 3975, 255, 0, BS_AUTOCHECKBOX},
    {id_etwago, button, L"Exit Tocsinet when alarm goes off", id_options_SSTab1, 100, 720, 3975, 255, 0, BS_AUTOCHECKBOX},
    {id_mtst, button, L"Minimize to system tray", id_options_SSTab1, 100, 960, 3975, 255, 0, BS_AUTOCHECKBOX},
    // The labels are one line high (the boxes' top borders stay whole); the second shows its whole caption.
    {id_options_Label1, label, L"Winamp Directory", id_options_SSTab1, 120, 480, 2055, 240, 1},
    {id_options_Picture5, label, nullptr, id_options_SSTab1, 120, 720, 3900, 370, 1},
    {id_winamp_path, edit, L"", id_options_Picture5, 0, 0, 3345, 315, 1, ES_READONLY},
    {id_browse_winamp, button, L"...", id_options_Picture5, 3350, 0, 495, 320, 1},
    {id_options_Label2, label, L"Default Music Directory", id_options_SSTab1, 120, 480, 3900, 240, 2},
    {id_options_Picture6, label, nullptr, id_options_SSTab1, 120, 720, 3900, 370, 2},
    {id_default_path, edit, L"", id_options_Picture6, 0, 0, 3345, 315, 2, ES_READONLY},
    {id_browse_music, button, L"...", id_options_Picture6, 3350, 0, 495, 320, 2}},
    {{id_options_ok, L"OK"}, {id_options_cancel, L"Cancel"}, {id_options_SSTab1, L"Option pages"},
     {id_etwago, L"Exit Tocsinet when alarm goes off"}, {id_mtst, L"Minimize to system tray"},
     {id_lctos, L"Load current time on startup"}, {id_browse_winamp, L"..."}, {id_winamp_path, L"Winamp Directory"},
     {id_default_path, L"Default Music Directory"}, {id_browse_music, L"..."}}};

inline const design about_window{4260, 3405, {
    {id_about_Picture1, label, nullptr, 0, 0, 0, 495, 495}, {id_about_Picture2, label, nullptr, 0, 520, 120, 3285, 225},
    {id_about_SSTab1, tabs, nullptr, 0, 50, 600, 4125, 2175}, {id_about_Picture3, label, nullptr, 0, 1440, 3000, 1095, 340},
    {id_about_ok, button, L"OK", id_about_Picture3, 0, 0, 1035, 280},
    {id_version, edit, nullptr, id_about_SSTab1, 120, 480, 3840, 1575, 0, ES_MULTILINE | ES_READONLY | WS_VSCROLL},
    {id_stat_loads, label, L"Loads: 1", id_about_SSTab1, 120, 480, 3855, 255, 1},
    {id_stat_alarms, label, L"Alarms: 0", id_about_SSTab1, 120, 720, 3855, 255, 1}},
    {{id_about_ok, L"OK"}, {id_about_SSTab1, L"About pages"}, {id_version, L"Version"}}};

inline int px(int twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
inline bool within_a_pixel(long pixels, int twips, int dpi) { return std::abs(pixels - px(twips, dpi)) <= 1; }

// Within a pixel of its row at the DPI, in its container's client area (the window's for none).
inline bool placed_as_designed(HWND window, const row& r, int dpi) {
    RECT got{};
    POINT origin{0, 0};
    GetWindowRect(GetDlgItem(window, r.id), &got);
    ClientToScreen(r.container ? GetDlgItem(window, r.container) : window, &origin);
    return within_a_pixel(got.left - origin.x, r.left, dpi) && within_a_pixel(got.top - origin.y, r.top, dpi) &&
           within_a_pixel(got.right - got.left, r.width, dpi) && within_a_pixel(got.bottom - got.top, r.height, dpi);
}

} // namespace e2e
