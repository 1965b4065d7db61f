#include "alarm.h"

#include <gtest/gtest.h>

#include "TC_Module.h"
#include "sound_output.h"
#include "wake.h"

namespace {

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

TEST(WakeTimer, ArmingSetsItAMinuteBeforeTheAlarmAndDisarmingCancelsIt) {
    DeleteFileA(TC_Module::settings_file().c_str());
    ASSERT_TRUE(forms::register_alarm_class(GetModuleHandleW(nullptr)));
    HWND window = forms::show_alarm_window(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    SYSTEMTIME now;
    GetLocalTime(&now);
    int hour = (now.wHour + 2) % 24; // two hours ahead, no change of season in between
    choose(window, forms::id_time_hour, (hour + 11) % 12);
    choose(window, forms::id_time_minute, now.wMinute);
    choose(window, forms::id_time_ampm, hour / 12);
    EXPECT_EQ(forms::wake_time(window), std::nullopt);

    SendMessageW(GetDlgItem(window, forms::id_alarm), BM_CLICK, 0, 0);
    std::int64_t wake = platform::utc_now() + 7200 - now.wSecond - 60;
    EXPECT_NEAR(double(forms::wake_time(window).value_or(0)), double(wake), 2.0);
    // Set again when the lists change: the other half of the day comes twelve hours later.
    choose(window, forms::id_time_ampm, 1 - hour / 12);
    EXPECT_NEAR(double(forms::wake_time(window).value_or(0)), double(wake + 12 * 3600), 2.0);

    SendMessageW(GetDlgItem(window, forms::id_alarm), BM_CLICK, 0, 0);
    EXPECT_EQ(forms::wake_time(window), std::nullopt);
    DestroyWindow(window);
    MSG quit; // the window's end posts it to this thread
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

} // namespace
