#include "alarm.h"

#include <windows.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "TC_Module.h"
#include "wake.h"

namespace {

void choose(HWND window, int list, int index) {
    SendMessageW(GetDlgItem(window, list), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, list)));
}

TEST(WakeTimer, ArmingSetsItAMinuteBeforeTheAlarmAndDisarmingCancelsIt) {
    std::filesystem::remove(TC_Module::settings_file());
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(forms::register_alarm_class(instance));
    HWND window = forms::show_alarm_window(instance, SW_SHOWNORMAL);
    SYSTEMTIME now;
    GetLocalTime(&now);
    int hour = (now.wHour + 2) % 24; // two hours ahead, no change of season in between
    choose(window, forms::id_time_hour, (hour + 11) % 12);
    choose(window, forms::id_time_minute, now.wMinute);
    choose(window, forms::id_time_ampm, hour / 12);
    EXPECT_EQ(forms::wake_time(window), std::nullopt);

    SendMessageW(GetDlgItem(window, forms::id_alarm), BM_CLICK, 0, 0);
    std::int64_t alarm = platform::utc_now() + 7200 - now.wSecond;
    ASSERT_TRUE(forms::wake_time(window));
    EXPECT_NEAR(static_cast<double>(*forms::wake_time(window)), static_cast<double>(alarm - 60), 2.0);
    choose(window, forms::id_time_minute, (now.wMinute + 1) % 60); // set again when the lists change
    EXPECT_NEAR(static_cast<double>(*forms::wake_time(window)),
                static_cast<double>(alarm + (now.wMinute == 59 ? -3540 : 60) - 60), 2.0);

    SendMessageW(GetDlgItem(window, forms::id_alarm), BM_CLICK, 0, 0);
    EXPECT_EQ(forms::wake_time(window), std::nullopt);
    DestroyWindow(window);
    for (MSG quit; PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) {
    }
    std::filesystem::remove(TC_Module::settings_file());
}

} // namespace
