// The main window in this process: its wake timer and its layout at another DPI.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "TC_Module.h"
#include "designs.h"
#include "platform.h"
#include "wake.h"

namespace {

using namespace e2e;

// The main window as a start without settings opens it; the first test's registration serves the others.
HWND open_main_window() {
    DeleteFileA(TC_Module::settings_file().c_str());
    register_alarm_class(GetModuleHandleW(nullptr));
    return show_alarm_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
}

void close_main_window(HWND window) {
    DestroyWindow(window);
    MSG quit; // the window's end posts it to this thread
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void choose(HWND window, int list, int index) {
    SendMessageW(GetDlgItem(window, list), CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), LPARAM(GetDlgItem(window, list)));
}

TEST(WakeTimer, ArmingSetsItAMinuteBeforeTheAlarmAndDisarmingCancelsIt) {
    HWND window = open_main_window();
    SYSTEMTIME now;
    GetLocalTime(&now);
    int hour = (now.wHour + 2) % 24; // two hours ahead, no change of season in between
    choose(window, id_time_hour, (hour + 11) % 12);
    choose(window, id_time_minute, now.wMinute);
    choose(window, id_time_ampm, hour / 12);
    EXPECT_EQ(wake_time(window), std::nullopt);

    SendMessageW(GetDlgItem(window, id_alarm), BM_CLICK, 0, 0);
    std::int64_t wake = platform::utc_now() + 7200 - now.wSecond - 60;
    EXPECT_NEAR(double(wake_time(window).value_or(0)), double(wake), 2.0);
    // Set again when the lists change: the other half of the day comes twelve hours later.
    choose(window, id_time_ampm, 1 - hour / 12);
    EXPECT_NEAR(double(wake_time(window).value_or(0)), double(wake + 12 * 3600), 2.0);

    SendMessageW(GetDlgItem(window, id_alarm), BM_CLICK, 0, 0);
    EXPECT_EQ(wake_time(window), std::nullopt);
    close_main_window(window);
}

// As when the window moves to a monitor of 144 DPI and back: laid out from its table at each DPI,
// on the rectangle Windows suggests, showing what it showed.
TEST(DpiChange, MainWindowLaidOutAgainKeepingWhatItShows) {
    HWND window = open_main_window();
    auto control = [&](int id) { return GetDlgItem(window, id); };
    for (int id : {id_time_hour, id_time_minute, id_time_ampm})
        choose(window, id, 1);
    SetWindowTextW(control(id_alarm_file), L"C:\\Music\\wake up.mp3");
    SendMessageW(control(id_alarm_file), EM_SETSEL, 3, 8);
    SendMessageW(control(id_volume), TBM_SETPOS, TRUE, 70);

    for (int dpi : {144, 96}) {
        SCOPED_TRACE(dpi);
        RECT suggested{40, 30, 40 + px(4000, dpi), 30 + px(3000, dpi)}, placed{}, opened{};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_TRUE(GetWindowRect(window, &placed) && EqualRect(&placed, &suggested));
        for (const row& r : main_window.rows)
            EXPECT_TRUE(placed_as_designed(window, r, dpi)) << "control " << r.id;
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(id_alarm), WM_GETFONT, 0, 0)), sizeof font, &font);
        SendMessageW(control(id_time_minute), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&opened));
        int panels[2] = {};
        SendMessageW(control(id_status), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(panels));
        EXPECT_EQ(font.lfHeight, -std::lround(8.25 * dpi / 72));
        EXPECT_GE(opened.bottom - opened.top, px(3000 - 330, dpi)); // the room for the opened list, less the field
        EXPECT_TRUE(panels[0] == px(2500, dpi) && panels[1] == px(3940, dpi));

        for (int id : {id_time_hour, id_time_minute, id_time_ampm})
            EXPECT_EQ(SendMessageW(control(id), CB_GETCURSEL, 0, 0), 1);
        DWORD start = 0, end = 0;
        SendMessageW(control(id_alarm_file), EM_GETSEL, WPARAM(&start), LPARAM(&end));
        EXPECT_TRUE(start == 3 && end == 8);
        EXPECT_EQ(platform::window_text(control(id_alarm_file)), L"C:\\Music\\wake up.mp3");
        EXPECT_EQ(platform::window_text(control(id_status)), L"Alarm - Inactive");
        EXPECT_TRUE(SendMessageW(control(id_volume), TBM_GETPOS, 0, 0) == 70 &&
                    SendMessageW(control(id_volume), TBM_GETRANGEMAX, 0, 0) == 100);
    }
    close_main_window(window);
}

} // namespace
