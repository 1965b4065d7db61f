// The alarm going off under a shifted clock: the shell opens the file in the test player, the
// alarm is counted, the player gets the volume once, and the window disarms. Without a player the
// program sounds the alarm itself; a clock that jumps catches up an alarm up to an hour late.
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
    bool wait_for(int hour, int minute, int second) const {
        return wait_until([&] { return seconds_of_day() >= hour * 3600 + minute * 60 + second; }, 90s);
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

    // Starts the program with its clock at the given time of day and an alarm file of ours; a
    // jumping clock moves with jump().
    program start(int hour, int minute, int second, std::string_view settings = "", bool jumping = false) {
        if (!settings.empty())
            folder.write_settings(settings);
        alarm_file = folder.write_file(L"wake up.mp3", "");
        clock.offset = clock_offset_to(hour, minute, second);
        if (jumping)
            set_clock_file(options.clock_file.emplace(clock_file_for_test()), clock.offset);
        else
            options.clock_offset = clock.offset;
        return program::launch(folder, options);
    }
    void jump(int hour, int minute, int second) {
        set_clock_file(*options.clock_file, clock.offset = clock_offset_to(hour, minute, second));
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
    launch_options options;
    std::wstring alarm_file;
    shifted_clock clock{0};
    mutable int alarm_hour = 0;
    mutable int alarm_minute = 0;
};

bool is_disarmed(const program& app) {
    return text(app.control(forms::id_alarm)) == L"Activate" && app.status_text(0) == L"Alarm - Inactive";
}

// Samples played since the capture held `before` bytes (a device opened anew starts it again).
bool audible_since(std::size_t before) {
    std::string samples = captured_sound();
    return samples.find_first_not_of('\0', samples.size() > before ? before : 0) != std::string::npos;
}

// The capture has not grown for a second and a half.
bool sound_stops() {
    std::size_t heard = 0;
    auto since = std::chrono::steady_clock::now();
    return wait_until([&] {
        if (std::size_t now = captured_sound().size(); now != heard)
            heard = now, since = std::chrono::steady_clock::now();
        return std::chrono::steady_clock::now() - since > 1500ms;
    });
}

TEST_F(Firing, GoesOffAtTheAlarmSecondOnceAndCountsIt) {
    program app = start(19, 4, 30, "[STATS]\r\nALARMS=7\r\n");
    // The player takes a while, so ticks keep passing the alarm tests while the program waits.
    set_player_start(alarm_file, "3000");
    arm(app, next_minute());

    ASSERT_TRUE(clock.wait_for(alarm_hour, alarm_minute, -2))
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

TEST_F(Firing, AClockThatJumpsCatchesUpAnHourAndNoMore) {
    program app = start(19, 5, 20, "", true);
    arm(app, alarm_at(19, 5)); // after its second 00: not this evening
    std::wstring clock_panel = app.status_text(1);
    jump(19, 6, 1);
    ASSERT_TRUE(wait_until([&] { return app.status_text(1) != clock_panel; }));
    ASSERT_TRUE(select(app.control(forms::id_time_minute), L"10"));
    app.sync();
    jump(22, 10, 30); // 3 hours late
    ASSERT_TRUE(wait_until([&] { return app.status_text(1) == L"Alarm missed"; }));
    EXPECT_EQ(app.status_text(0), L"Alarm - Active");
    EXPECT_TRUE(player_lines().empty());

    ASSERT_TRUE(select(app.control(forms::id_time_hour), L"10"));
    ASSERT_TRUE(select(app.control(forms::id_time_minute), L"15"));
    app.sync();
    jump(22, 35, 5); // 20 minutes late
    ASSERT_TRUE(wait_until([&] { return is_disarmed(app); }));
    EXPECT_EQ(player_lines(), (std::vector<std::string>{open_line(), "ready", "volume 125 122"}));
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "1");
    EXPECT_TRUE(app.close());
}

TEST_F(Firing, AFileThatCannotBeOpenedSoundsTheAlarmItselfUntilTheMessageIsAnswered) {
    program app = start(19, 0, 0, "[OPTIONS]\r\nMTST=1\r\n", true);
    alarm_file = folder.file(L"moved away.mp3");
    for (std::string exit : {"0", "1"}) {
        WritePrivateProfileStringA("OPTIONS", "ETWAGO", exit.c_str(), narrow(folder.file(L"tocsinet.ini")).c_str());
        arm(app, alarm_at(19, exit == "0" ? 5 : 10));
        PostMessageW(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(wait_until([&] { return !is_visible(app.window()); }));
        std::size_t before = captured_sound().size();
        jump(19, exit == "0" ? 4 : 9, 58);
        HWND box = app.wait_for_window(message_box_class, 60s);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(wait_until([&] { return message_box_text(box).find(alarm_file) != std::wstring::npos; }));
        EXPECT_TRUE(is_visible(app.window())) << "back from the notification area";
        EXPECT_TRUE(wait_until([&] { return audible_since(before); }));
        EXPECT_TRUE(is_disarmed(app));
        EXPECT_EQ(folder.setting("STATS", "ALARMS"), exit == "0" ? "1" : "2");
        EXPECT_TRUE(app.running());
        click_button(box, L"OK");
        ASSERT_TRUE(wait_until([&] { return app.find_window(message_box_class) == nullptr; }));
        EXPECT_TRUE(sound_stops());
    }
    EXPECT_TRUE(app.wait_for_exit());
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

    arm(app, next_minute());
    ASSERT_TRUE(wait_for_line(player_log(other_file), "volume 8 122", 60s));
    EXPECT_TRUE(wait_for_line(player_log(alarm_file), open_line()));
    EXPECT_TRUE(wait_until([&] { return is_disarmed(app); }));
    EXPECT_TRUE(app.close());
}

TEST_F(Firing, APlayerThatNeverAppearsLeavesNoBoxWaiting) {
    program app = start(19, 4, 0, "", true);
    program_folder exiting(L"Firing.APlayerThatNeverAppearsWithTheExitOption");
    exiting.write_settings("[OPTIONS]\r\nETWAGO=1\r\n");
    program other = program::launch(exiting, options);
    set_player_start(alarm_file, "never");
    arm(app, alarm_at(19, 5));
    arm(other, alarm_at(19, 5));
    jump(19, 4, 58);
    ASSERT_TRUE(wait_for_line(player_log(alarm_file), open_line(), 60s));
    app.sync(); // while it waits, the window goes on answering
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "1");

    EXPECT_TRUE(other.wait_for_exit(120s)) << "the exit option closes it once the wait is over";
    ASSERT_TRUE(wait_until([&] { return is_disarmed(app); }));
    EXPECT_EQ(app.status_text(1), L"Volume not set");
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
    EXPECT_TRUE(app.close());
}

TEST_F(Firing, InTheTrayWithTheExitOptionTheIconTurnsInactiveAndTheProgramCloses) {
    program app = start(19, 4, 30, "[OPTIONS]\r\nETWAGO=1\r\nMTST=1\r\n[TOCSINET]\r\nVOLUME=80\r\n");
    arm(app, next_minute());
    PostMessageW(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(wait_for_tray_record(app.window(), [](const tray_record& r) {
        return r.operation == "add" && r.tip.rfind("Tocsinet: Active\r\n", 0) == 0;
    }));
    EXPECT_TRUE(wait_until([&] { return !is_visible(app.window()); }));

    ASSERT_TRUE(wait_for_line(player_log(alarm_file), "volume 200 122", 60s));
    ASSERT_TRUE(app.wait_for_exit(30s));
    std::vector<tray_record> records = tray_records(app.window());
    std::vector<std::string> seen;
    for (const tray_record& r : records)
        seen.push_back(r.operation == "add" ? "add " + r.tip.substr(0, r.tip.find('\r')) : r.operation);
    EXPECT_EQ(seen, (std::vector<std::string>{"add Tocsinet: Active", "delete", "add Tocsinet: Inactive", "delete"}));
}

} // namespace
