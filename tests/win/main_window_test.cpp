// The main window in this process: its wake timer and power request, its layout at another DPI;
// the sound output and the player's sessions the alarm turns on, and what it makes of what it hears.
#include <windows.h>

#include <commctrl.h>

#include <tuple>

#include <gtest/gtest.h>

#include "TC_Module.h"
#include "designs.h"
#include "alarm_check.h"
#include "listening.h"
#include "platform.h"
#include "sound_output.h"
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

void choose_time(HWND window, int hour, int minute) {
    choose(window, id_time_hour, (hour + 11) % 12);
    choose(window, id_time_minute, minute);
    choose(window, id_time_ampm, hour / 12);
}

// Lets the alarm's timer tick for a while.
void run_messages(ULONGLONG milliseconds) {
    for (ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(10))
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
}

// COM objects of the test's own, each counting the references it was given; the code under test
// asks them for no other interface.
template <class Interface> struct fake : Interface {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        return *out = nullptr, E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

struct fake_meter : fake<IAudioMeterInformation> {
    float reading = 0;
    int reads = 0;
    HRESULT STDMETHODCALLTYPE GetPeakValue(float* peak) override { return ++reads, *peak = reading, S_OK; }
    HRESULT STDMETHODCALLTYPE GetMeteringChannelCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChannelsPeakValues(UINT32, float*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
};

struct fake_session_volume : fake<ISimpleAudioVolume> { // muted at 10 %
    float level = 0.1f;
    BOOL muted = TRUE;
    HRESULT STDMETHODCALLTYPE SetMasterVolume(float to, LPCGUID) override { return level = to, S_OK; }
    HRESULT STDMETHODCALLTYPE GetMasterVolume(float* out) override { return *out = level, S_OK; }
    HRESULT STDMETHODCALLTYPE SetMute(BOOL to, LPCGUID) override { return muted = to, S_OK; }
    HRESULT STDMETHODCALLTYPE GetMute(BOOL* out) override { return *out = muted, S_OK; }
};

// The text of a message box of this thread, answered from a timer while the box runs its loop.
std::wstring answered_message;
void CALLBACK answer_message(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND box = platform::find_own_window(L"#32770")) {
        answered_message = platform::window_text(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

// Under Wine the line is on mains power and power requests fall back to the thread's state.
TEST(WakeTimer, ArmingSetsItAMinuteBeforeTheAlarmHoldingTheComputerThenTheDisplayUntilDisarmed) {
    HWND window = open_main_window();
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond > 55) { // the alarm below must not go off during the test
        Sleep(DWORD(61 - now.wSecond) * 1000);
        GetLocalTime(&now);
    }
    int next_minute = now.wHour * 60 + now.wMinute + 1;
    choose_time(window, next_minute / 60 % 24, next_minute % 60);
    EXPECT_EQ(wake_time(window), std::nullopt);

    SendMessageW(GetDlgItem(window, id_alarm), BM_CLICK, 0, 0);
    std::int64_t wake = platform::utc_now() - now.wSecond; // a minute before the next minute
    EXPECT_NEAR(double(wake_time(window).value_or(0)), double(wake), 2.0);
    run_messages(500);
    EXPECT_EQ(power_hold(window), tocsinet::awake_hold::display) << "from the wake time";

    // Set again when the lists change: moved two hours later, the display may sleep meanwhile.
    choose_time(window, (next_minute / 60 + 2) % 24, next_minute % 60);
    EXPECT_NEAR(double(wake_time(window).value_or(0)), double(wake + 7200), 2.0);
    EXPECT_EQ(power_hold(window), tocsinet::awake_hold::system);

    SendMessageW(GetDlgItem(window, id_alarm), BM_CLICK, 0, 0);
    EXPECT_EQ(wake_time(window), std::nullopt);
    EXPECT_EQ(power_hold(window), tocsinet::awake_hold::none);
    close_main_window(window);
}

// Under Wine 8 the control keeps its mute state in the object (its level is a stub that reads 1.0
// and cannot be set), so the object shows what the alarm did; the rule's own cases are the core's.
TEST(AlarmSound, TheOutputAndThePlayersSessionsTurnedOnAndThePlayerListenedToForThirtySeconds) {
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

    fake_session_volume session, players;
    EXPECT_TRUE(platform::turn_session_on(session, false) && !session.muted && session.level == 1.0f);
    EXPECT_TRUE(platform::turn_session_on(players, true) && !players.muted && players.level == 0.1f)
        << "the player's level is what its volume command set";

    // The test moves the open back in time: silence until 30 s sounds the alarm, a loud reading ends it.
    HWND window = open_main_window();
    UINT_PTR answering = SetTimer(nullptr, 0, 50, answer_message);
    for (auto [reading, opened_ago, sounds] : {std::tuple{0.0f, 29.8, true}, {0.2f, 3.0, false}}) {
        fake_meter meter; // its one reference is the listening's
        meter.reading = reading;
        answered_message.clear();
        listen(
            window,
            std::make_unique<platform::listening>(platform::unique_com<IAudioMeterInformation>(&meter), 50),
            opened_ago);
        run_messages(1500);
        EXPECT_EQ(answered_message,
                  sounds ? L"The alarm file no file was opened, but nothing was heard from it." : L"");
        EXPECT_TRUE(meter.reads > 0 && meter.refs == 0) << reading << ": read, and let go at the verdict";
    }
    KillTimer(nullptr, answering);
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
        EXPECT_EQ(SendMessageW(control(id_alarm_file), EM_GETSEL, 0, 0), MAKELRESULT(3, 8));
        EXPECT_EQ(platform::window_text(control(id_alarm_file)), L"C:\\Music\\wake up.mp3");
        EXPECT_EQ(platform::window_text(control(id_status)), L"Alarm - Inactive");
        EXPECT_EQ(SendMessageW(control(id_volume), TBM_GETPOS, 0, 0), 70);
    }
    close_main_window(window);
}

} // namespace
