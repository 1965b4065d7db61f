// Every window at 96 DPI as designed, after a first start: client size, each control's place, caption and class, the
// window styles, the order in which Tab visits the controls and where the focus starts; the volume
// label with every value whole.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "about.h"
#include "alarm.h"
#include "browse_dir.h"
#include "browse_form.h"
#include "driver.h"
#include "options_ids.h"

namespace {

using namespace e2e;
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
// The client size, the controls, and those that take the focus in the order Tab visits them.
struct design {
    int width, height;
    std::vector<row> rows;
    std::vector<int> tab_order;
};

const wchar_t *const button = L"Button", *const label = L"Static", *const combo = L"ComboBox", *const list = L"ListBox",
                   *const edit = L"Edit", *const tabs = L"SysTabControl32";

const design main_window{3825, 2430, {
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
    {id_time_hour, id_time_minute, id_time_ampm, id_alarm, id_browse, id_alarm_file, id_volume}};

const design alarm_file_picker{3255, 4935, {
    {id_bf_Picture4, label, nullptr, 0, 0, 0, 480, 480}, {id_bf_Picture3, label, nullptr, 0, 520, 120, 1680, 225},
    {id_bf_drive, combo, nullptr, 0, 50, 600, 3175, 330, -1, CBS_DROPDOWNLIST}, {id_bf_dir, list, nullptr, 0, 50, 960, 3175, 1980},
    {id_bf_file, list, nullptr, 0, 35, 3045, 3215, 1350}, {id_bf_Picture1, label, nullptr, 0, 480, 4560, 1095, 340},
    {id_bf_ok, button, L"OK", id_bf_Picture1, 0, 0, 1035, 280}, {id_bf_Picture2, label, nullptr, 0, 1560, 4560, 1095, 340},
    {id_bf_cancel, button, L"Cancel", id_bf_Picture2, 0, 0, 1035, 280}},
    {id_bf_drive, id_bf_dir, id_bf_file, id_bf_ok, id_bf_cancel}};

const design folder_picker{3255, 3615, {
    {id_bd_Picture4, label, nullptr, 0, 0, 0, 480, 480}, {id_bd_Picture3, label, nullptr, 0, 520, 120, 1680, 225},
    {id_bd_drive, combo, nullptr, 0, 50, 600, 3175, 330, -1, CBS_DROPDOWNLIST}, {id_bd_dir, list, nullptr, 0, 50, 960, 3175, 1980},
    {id_bd_Picture1, label, nullptr, 0, 600, 3240, 1095, 340}, {id_bd_ok, button, L"OK", id_bd_Picture1, 0, 0, 1035, 280},
    {id_bd_Picture2, label, nullptr, 0, 1680, 3240, 1095, 340}, {id_bd_cancel, button, L"Cancel", id_bd_Picture2, 0, 0, 1035, 280}},
    {id_bd_dir, id_bd_drive, id_bd_cancel, id_bd_ok}};

const design options_window{4275, 3270, {
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
    {id_options_ok, id_options_cancel, id_options_SSTab1, id_etwago, id_mtst, id_lctos, id_browse_winamp, id_winamp_path,
     id_default_path, id_browse_music}};

const design about_window{4260, 3405, {
    {id_about_Picture1, label, nullptr, 0, 0, 0, 495, 495}, {id_about_Picture2, label, nullptr, 0, 520, 120, 3285, 225},
    {id_about_SSTab1, tabs, nullptr, 0, 50, 600, 4125, 2175}, {id_about_Picture3, label, nullptr, 0, 1440, 3000, 1095, 340},
    {id_about_ok, button, L"OK", id_about_Picture3, 0, 0, 1035, 280},
    {id_version, edit, nullptr, id_about_SSTab1, 120, 480, 3840, 1575, 0, ES_MULTILINE | ES_READONLY | WS_VSCROLL},
    {id_stat_loads, label, L"Loads: 1", id_about_SSTab1, 120, 480, 3855, 255, 1},
    {id_stat_alarms, label, L"Alarms: 0", id_about_SSTab1, 120, 720, 3855, 255, 1}},
    {id_about_ok, id_about_SSTab1, id_version}};

int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

// Where the container's client area starts on the screen (the window's for none).
POINT client_origin(HWND window, int container) {
    POINT origin{0, 0};
    ClientToScreen(container ? GetDlgItem(window, container) : window, &origin);
    return origin;
}

bool placed_as_designed(RECT got, POINT origin, const row& r) {
    return std::abs(got.left - origin.x - px(r.left)) <= 1 && std::abs(got.top - origin.y - px(r.top)) <= 1 &&
           std::abs(got.right - got.left - px(r.width)) <= 1 && std::abs(got.bottom - got.top - px(r.height)) <= 1;
}

// The controls of page `page` (and those on no page) as designed; the other pages' are hidden.
void check(HWND window, const design& d, int page = -1) {
    RECT client;
    EXPECT_TRUE(GetClientRect(window, &client) &&
                placed_as_designed(client, {0, 0}, {0, nullptr, nullptr, 0, 0, 0, d.width, d.height}));
    for (const row& r : d.rows) {
        HWND control = GetDlgItem(window, r.id);
        SCOPED_TRACE(testing::Message() << "control " << r.id << " on page " << page);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(is_visible(control), r.tab == -1 || r.tab == page);
        EXPECT_EQ(class_name(control), r.class_name);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)) & r.style, r.style);
        EXPECT_TRUE(!r.caption || text(control) == r.caption) << narrow(text(control));
        RECT got = window_rect(control);
        EXPECT_TRUE(placed_as_designed(got, client_origin(window, r.container), r))
            << got.left << "," << got.top << " " << got.right - got.left << "x" << got.bottom - got.top;
    }
    // Tab visits the shown controls in the designed order, round and round.
    std::vector<int> order;
    std::ranges::copy_if(d.tab_order, std::back_inserter(order),
                         [&](int id) { return is_visible(GetDlgItem(window, id)); });
    HWND at = GetDlgItem(window, order.front());
    for (std::size_t i = 1; i <= order.size(); ++i)
        EXPECT_EQ(GetDlgCtrlID(at = GetNextDlgTabItem(window, at, FALSE)), order[i % order.size()]) << "stop " << i;
}

// A dialog that a command of its opener (a button's click, a menu item) opens: no title bar, no
// task-bar button, topmost, on its opener's top-left corner, the focus on its first control.
HWND check_dialog(const program& app, HWND opener, int command, const wchar_t* window_class, const design& d,
                  int first_focus, int page = -1) {
    PostMessageW(opener, WM_COMMAND, static_cast<WPARAM>(command), 0);
    HWND dialog = wait_until_shown(app, window_class);
    LONG style = GetWindowLongW(dialog, GWL_STYLE), ex_style = GetWindowLongW(dialog, GWL_EXSTYLE);
    EXPECT_TRUE((style & WS_CAPTION) != WS_CAPTION && !(style & (WS_SYSMENU | WS_THICKFRAME)));
    EXPECT_TRUE((ex_style & WS_EX_TOOLWINDOW) && (ex_style & WS_EX_TOPMOST));
    RECT placed = window_rect(dialog), corner = window_rect(opener);
    EXPECT_TRUE(placed.left == corner.left && placed.top == corner.top);
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    GUITHREADINFO info{sizeof info};
    auto focus = [&] { return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr; };
    EXPECT_TRUE(wait_until([&] { return focus() == GetDlgItem(dialog, first_focus); })) << "first focus";
    check(dialog, d, page);
    return dialog;
}

// Turns a page as the user's arrow keys turn it, and checks it.
void turn_to(HWND dialog, const design& d, int tab_control, UINT key, int page, int shown) {
    PostMessageW(GetDlgItem(dialog, tab_control), WM_KEYDOWN, key, 0);
    ASSERT_TRUE(wait_until([&] { return is_visible(GetDlgItem(dialog, shown)); }));
    check(dialog, d, page);
}

TEST(Layout, EveryWindowAsDesigned) {
    ASSERT_EQ(GetDeviceCaps(GetDC(nullptr), LOGPIXELSX), 96);
    program_folder folder;
    program app = program::launch(folder);
    // A first start writes only the statistics, fills the lists and, without "LCTOS", selects no time.
    EXPECT_EQ(folder.settings_text(), "[STATS]\r\nALARMS=0\r\nLOADS=1\r\n");
    const std::vector<std::wstring> hours = items(app.control(id_time_hour));
    const std::vector<std::wstring> minutes = items(app.control(id_time_minute));
    EXPECT_TRUE(hours.size() == 12 && hours.front() == L"1" && hours.back() == L"12");
    EXPECT_TRUE(minutes.size() == 60 && minutes[5] == L"05" && minutes.back() == L"59");
    for (int id : {id_time_hour, id_time_minute, id_time_ampm})
        EXPECT_EQ(selected_index(app.control(id)), -1);
    EXPECT_EQ(GetWindowLongW(app.window(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_MINIMIZEBOX | WS_SYSMENU);
    check(app.window(), main_window);
    // The volume label follows the slider, whose page keys step by 5, and shows "100%" whole.
    HWND slider = app.control(id_volume), label = app.control(id_volume_perc);
    for (auto [key, shown] : {std::pair{VK_NEXT, L"55%"}, {VK_END, L"100%"}}) {
        PostMessageW(slider, WM_KEYDOWN, key, 0);
        EXPECT_TRUE(wait_until([&] { return text(label) == shown; })) << narrow(text(label));
    }
    // "100%" in the window's font fits the label.
    HDC screen = GetDC(nullptr);
    SelectObject(screen, CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier New"));
    SIZE hundred{};
    EXPECT_TRUE(GetTextExtentPoint32W(screen, L"100%", 4, &hundred));
    EXPECT_LE(hundred.cx, window_rect(label).right - window_rect(label).left);

    HWND picker = check_dialog(app, app.window(), id_browse, browse_form_class, alarm_file_picker, id_bf_drive);
    click_button(picker, L"Cancel");

    HWND options = check_dialog(app, app.window(), id_mnuoptions, L"TocsinetOptions", options_window, id_options_ok, 1);
    turn_to(options, options_window, id_options_SSTab1, VK_LEFT, 0, id_lctos);
    turn_to(options, options_window, id_options_SSTab1, VK_RIGHT, 1, id_winamp_path);
    turn_to(options, options_window, id_options_SSTab1, VK_RIGHT, 2, id_default_path);
    click_button(check_dialog(app, options, id_browse_music, browse_dir_class, folder_picker, id_bd_drive), L"Cancel");
    ASSERT_TRUE(wait_until([&] { return is_enabled(options); }));
    click_button(options, L"Cancel");

    HWND about = check_dialog(app, app.window(), id_mnuabout, L"TocsinetAbout", about_window, id_about_ok, 0);
    turn_to(about, about_window, id_about_SSTab1, VK_RIGHT, 1, id_stat_loads);
    EXPECT_TRUE(app.close());
}

} // namespace
