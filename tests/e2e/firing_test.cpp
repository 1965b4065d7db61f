// The alarm going off under a shifted clock: the shell opens the file in the test player, the
// alarm is counted, the player gets the volume once, and the window disarms.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "alarm.h"
#include "driver.h"

namespace {

using namespace e2e;

constexpr const wchar_t* player_class = L"Winamp v1.x";

// The program's wall clock: the test's own clock moved by the same offset.
struct shifted_clock {
    long long offset;

    // Seconds since midnight on the program's clock.
    int seconds_of_day() const {
        SYSTEMTIME now;
        GetLocalTime(&now);
        long long seconds = now.wHour * 3600LL + now.wMinute * 60 + now.wSecond + offset;
        return static_cast<int>(((seconds % 86400) + 86400) % 86400);
    }
    bool wait_for_second(int second_of_day, std::chrono::milliseconds timeout = 90s) const {
        return wait_until([&] { return seconds_of_day() >= second_of_day; }, timeout);
    }
    bool wait_for(int hour, int minute, int second, std::chrono::milliseconds timeout = 90s) const {
        return wait_for_second(hour * 3600 + minute * 60 + second, timeout);
    }
};

// An alarm time as the three lists show it, from a 24-hour time.
struct alarm_entry {
    std::wstring hour, minute, ampm;
};
alarm_entry alarm_at(int hour, int minute) {
    int twelve = hour % 12 == 0 ? 12 : hour % 12;
    return {std::to_wstring(twelve), (minute < 10 ? L"0" : L"") + std::to_wstring(minute), hour < 12 ? L"AM" : L"PM"};
}

void end_every_player() {
    while (HWND player = FindWindowW(player_class, nullptr)) {
        DWORD process_id = 0;
        GetWindowThreadProcessId(player, &process_id);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process_id);
        PostMessageW(player, WM_CLOSE, 0, 0);
        if (process) {
            if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0)
                TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
}

class Firing : public ::testing::Test {
  protected:
    void SetUp() override { end_every_player(); }
    void TearDown() override { end_every_player(); }

    // Starts the program with its clock at the given time of day and an alarm file of ours.
    program start(int hour, int minute, int second, std::string_view settings = "") {
        if (!settings.empty())
            folder.write_settings(settings);
        alarm_file = folder.write_file(L"wake up.mp3", "");
        clock.offset = clock_offset_to(hour, minute, second);
        launch_options options;
        options.clock_offset = clock.offset;
        return program::launch(folder, options);
    }

    void arm(const program& app, const alarm_entry& alarm) {
        ASSERT_TRUE(select(app.control(forms::id_time_hour), alarm.hour));
        ASSERT_TRUE(select(app.control(forms::id_time_minute), alarm.minute));
        ASSERT_TRUE(select(app.control(forms::id_time_ampm), alarm.ampm));
        set_text(app.control(forms::id_alarm_file), alarm_file);
        click(app.control(forms::id_alarm));
        ASSERT_TRUE(wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));
    }

    // The next alarm minute that still leaves a few seconds to arm in.
    alarm_entry next_minute() const {
        int now = clock.seconds_of_day() + 8;
        int minute_of_day = now / 60 + 1;
        alarm_hour = minute_of_day / 60 % 24;
        alarm_minute = minute_of_day % 60;
        return alarm_at(alarm_hour, alarm_minute);
    }

    std::vector<std::string> player_lines() const { return read_lines(player_log(alarm_file)); }
    std::string open_line() const { return "open " + narrow(alarm_file); }

    program_folder folder;
    std::wstring alarm_file;
    shifted_clock clock{0};
    mutable int alarm_hour = 0;
    mutable int alarm_minute = 0;
};

bool is_disarmed(const program& app) {
    return text(app.control(forms::id_alarm)) == L"Activate" && app.status_text(0) == L"Alarm - Inactive";
}

TEST_F(Firing, GoesOffAtTheAlarmSecondOnceAndCountsIt) {
    program app = start(19, 4, 30, "[STATS]\r\nALARMS=7\r\n");
    // The player takes a while, so ticks keep passing the alarm tests while the program waits.
    set_player_start(alarm_file, "3000");
    alarm_entry alarm = next_minute();
    arm(app, alarm);

    ASSERT_TRUE(clock.wait_for_second(alarm_hour * 3600 + alarm_minute * 60 - 2))
        << "the clock did not reach the seconds before the alarm";
    EXPECT_TRUE(player_lines().empty()) << "went off before its second";

    ASSERT_TRUE(wait_for_line(player_log(alarm_file), "volume 125 122", 60s));
    EXPECT_TRUE(wait_until([&] { return is_disarmed(app); }));
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "8");

    // Well past the alarm second: still one open, one count, one volume.
    ASSERT_TRUE(clock.wait_for(alarm_hour, alarm_minute, 3));
    EXPECT_EQ(player_lines(), (std::vector<std::string>{open_line(), "ready", "volume 125 122"}));
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "8");
    EXPECT_TRUE(app.running()) << "the exit option is off";
    EXPECT_TRUE(app.close());
}

TEST_F(Firing, ArmedAfterTheAlarmSecondWaitsForAnotherDay) {
    program app = start(19, 5, 5);
    ASSERT_TRUE(clock.wait_for(19, 5, 20)) << "the clock did not reach 7:05:20 PM";
    ASSERT_LT(clock.seconds_of_day(), 19 * 3600 + 5 * 60 + 45) << "the program started too late for this test";
    arm(app, alarm_at(19, 5));

    ASSERT_TRUE(clock.wait_for(19, 6, 2));
    EXPECT_TRUE(player_lines().empty());
    EXPECT_EQ(app.status_text(0), L"Alarm - Active");
    EXPECT_EQ(text(app.control(forms::id_alarm)), L"Deactivate");
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "0");
    EXPECT_TRUE(app.close());
}

TEST_F(Firing, MinuteZeroGoesOffAtTheNextTickAndStartsTheCount) {
    program app = start(7, 0, 10, "[TOCSINET]\r\nVOLUME=100\r\n[STATS]\r\nLOADS=3\r\n");
    ASSERT_TRUE(clock.wait_for(7, 0, 30));
    ASSERT_LT(clock.seconds_of_day(), 7 * 3600 + 50) << "the program started too late for this test";
    arm(app, alarm_at(7, 0));

    // Minute 00 itself holds "00": no waiting for another second.
    ASSERT_TRUE(wait_for_line(player_log(alarm_file), "volume 250 122", 20s));
    EXPECT_LT(clock.seconds_of_day(), 7 * 3600 + 60);
    EXPECT_TRUE(wait_until([&] { return is_disarmed(app); }));
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "1");
    EXPECT_TRUE(app.close());
}

TEST_F(Firing, APlayerAlreadyRunningGetsTheVolumeAndTheFileStillGoesToTheShell) {
    const char* player_exe = std::getenv("TOCSINET_TEST_PLAYER");
    ASSERT_NE(player_exe, nullptr);
    program app = start(19, 4, 30, "[TOCSINET]\r\nVOLUME=3\r\n");
    // This copy of the player will never show a window: only the running one can answer.
    set_player_start(alarm_file, "never");
    std::wstring other_file = folder.write_file(L"already playing.mp3", "");
    std::wstring command = L"\"" + widen(player_exe) + L"\" \"" + other_file + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION running{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &running));
    CloseHandle(running.hThread);
    CloseHandle(running.hProcess);
    ASSERT_TRUE(wait_for_line(player_log(other_file), "ready"));

    alarm_entry alarm = next_minute();
    arm(app, alarm);
    ASSERT_TRUE(wait_for_line(player_log(other_file), "volume 8 122", 60s));
    EXPECT_TRUE(wait_for_line(player_log(alarm_file), open_line()));
    EXPECT_TRUE(wait_until([&] { return is_disarmed(app); }));
    EXPECT_TRUE(app.close());
}

TEST_F(Firing, APlayerThatNeverAppearsEndsInAWarningAndADisarmedWindow) {
    program app = start(19, 4, 30);
    set_player_start(alarm_file, "never");
    alarm_entry alarm = next_minute();
    arm(app, alarm);
    ASSERT_TRUE(wait_for_line(player_log(alarm_file), open_line(), 60s));

    // While it waits, the window goes on answering.
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(app.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "1");

    HWND box = app.wait_for_window(message_box_class, 120s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text(box), L"Tocsinet");
    EXPECT_NE(message_box_text(box).find(L"media player"), std::wstring::npos) << narrow(message_box_text(box));
    EXPECT_TRUE(message_box_has_icon(box));
    click_button(box, L"OK");
    EXPECT_TRUE(wait_until([&] { return is_disarmed(app); }));
    EXPECT_EQ(player_lines(), std::vector<std::string>{open_line()});
    EXPECT_TRUE(app.close());
}

TEST_F(Firing, InTheTrayWithTheExitOptionTheIconTurnsInactiveAndTheProgramCloses) {
    program app = start(19, 4, 30, "[OPTIONS]\r\nETWAGO=1\r\nMTST=1\r\n");
    SetWindowPos(app.window(), nullptr, 80, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    set_trackbar_position(app.control(forms::id_volume), 80);
    alarm_entry alarm = next_minute();
    arm(app, alarm);
    PostMessageW(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(wait_for_tray_record(app.window(), [](const tray_record& r) {
        return r.operation == "add" && r.tip.rfind("Tocsinet: Active\r\n", 0) == 0;
    }));
    EXPECT_FALSE(is_visible(app.window()));

    ASSERT_TRUE(wait_for_line(player_log(alarm_file), "volume 200 122", 60s));
    ASSERT_TRUE(app.wait_for_exit(30s));
    std::vector<tray_record> records = tray_records(app.window());
    std::vector<std::string> seen;
    for (const tray_record& r : records)
        seen.push_back(r.operation == "add" ? "add " + r.tip.substr(0, r.tip.find('\r')) : r.operation);
    EXPECT_EQ(seen, (std::vector<std::string>{"add Tocsinet: Active", "delete", "add Tocsinet: Inactive", "delete"}));
    // The position it had before it went to the tray, not the minimised placeholder.
    EXPECT_EQ(folder.setting("TOCSINET", "X"), "1200");
    EXPECT_EQ(folder.setting("TOCSINET", "Y"), "900");
    EXPECT_EQ(folder.setting("TOCSINET", "VOLUME"), "80");
}

} // namespace
