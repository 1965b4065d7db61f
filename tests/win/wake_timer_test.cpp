#include "alarm.h"

#include <gtest/gtest.h>

#include "TC_Module.h"
#include "sound_output.h"
#include "wake.h"

namespace {

using tocsinet::awake_hold;

// Under Wine 8 the control keeps its mute state in the object (its level is a stub that reads 1.0
// and cannot be set), so the object shows what the alarm did; the rule's own cases are the core's.
TEST(AlarmSound, TheDefaultOutputIsUnmutedButLeftAloneAtZero) {
    platform::default_output output;
    ASSERT_NE(output.volume(), nullptr) << "the test prefix has one output device";
    IAudioEndpointVolume& volume = *output.volume();
    BOOL before = FALSE, muted = FALSE;
    float level = 0;
    ASSERT_HRESULT_SUCCEEDED(volume.GetMute(&before));
    ASSERT_HRESULT_SUCCEEDED(volume.GetMasterVolumeLevelScalar(&level));
    volume.SetMute(TRUE, nullptr);
    platform::turn_sound_on(volume, 0);
    EXPECT_TRUE(SUCCEEDED(volume.GetMute(&muted)) && muted) << "at 0 %";
    platform::turn_sound_on(volume, 50);
    EXPECT_TRUE(SUCCEEDED(volume.GetMute(&muted)) && !muted) << "at 50 %";
    // On Windows, the user's sound as it was.
    volume.SetMute(before, nullptr);
    volume.SetMasterVolumeLevelScalar(level, nullptr);
}

void choose(HWND window, int list, int index) {
    SendMessageW(GetDlgItem(window, list), CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), LPARAM(GetDlgItem(window, list)));
}

void choose_time(HWND window, int hour, int minute) {
    choose(window, forms::id_time_hour, (hour + 11) % 12);
    choose(window, forms::id_time_minute, minute);
    choose(window, forms::id_time_ampm, hour / 12);
}

// Lets the alarm's timer tick for a while.
void run_messages(ULONGLONG milliseconds) {
    for (ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(10))
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
}

// Under Wine the line is on mains power and power requests fall back to the thread's state.
TEST(WakeTimer, ArmingSetsItAMinuteBeforeTheAlarmHoldingTheComputerThenTheDisplayUntilDisarmed) {
    DeleteFileA(TC_Module::settings_file().c_str());
    ASSERT_TRUE(forms::register_alarm_class(GetModuleHandleW(nullptr)));
    HWND window = forms::show_alarm_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond > 55) { // the alarm below must not go off during the test
        Sleep(DWORD(61 - now.wSecond) * 1000);
        GetLocalTime(&now);
    }
    int next_minute = now.wHour * 60 + now.wMinute + 1;
    choose_time(window, next_minute / 60 % 24, next_minute % 60);
    EXPECT_EQ(forms::wake_time(window), std::nullopt);

    SendMessageW(GetDlgItem(window, forms::id_alarm), BM_CLICK, 0, 0);
    std::int64_t wake = platform::utc_now() - now.wSecond; // a minute before the next minute
    EXPECT_NEAR(double(forms::wake_time(window).value_or(0)), double(wake), 2.0);
    run_messages(500);
    EXPECT_EQ(forms::power_hold(window), awake_hold::display) << "from the wake time";

    // Set again when the lists change: moved two hours later, the display may sleep meanwhile.
    int later = (next_minute / 60 + 2) % 24;
    choose_time(window, later, next_minute % 60);
    EXPECT_NEAR(double(forms::wake_time(window).value_or(0)), double(wake + 7200), 2.0);
    EXPECT_EQ(forms::power_hold(window), awake_hold::system);
    // The other half of the day comes twelve hours later.
    choose(window, forms::id_time_ampm, 1 - later / 12);
    EXPECT_NEAR(double(forms::wake_time(window).value_or(0)), double(wake + 7200 + 12 * 3600), 2.0);

    SendMessageW(GetDlgItem(window, forms::id_alarm), BM_CLICK, 0, 0);
    EXPECT_EQ(forms::wake_time(window), std::nullopt);
    EXPECT_EQ(forms::power_hold(window), awake_hold::none);
    DestroyWindow(window);
    MSG quit; // the window's end posts it to this thread
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

} // namespace
