// The alarm going off on a clock that the test moves: the shell opens the file in the test player,
// the alarm is counted, the player gets the volume once, and the window disarms. Without a player
// the program sounds the alarm itself; a clock that jumps catches up an alarm up to an hour late.
// Under Wine no meter can be had: the alarm is never judged silent, and nothing waits for it.
#include "driver.h"

#include <shellapi.h>

#include <utility>

namespace {

using namespace e2e;

class Firing : public ::testing::Test {
  protected:
    // A player left running would answer the next test's alarm.
    void TearDown() override {
        while (HWND player = FindWindowW(L"Winamp v1.x", nullptr)) {
            PostMessageW(player, WM_CLOSE, 0, 0);
            ASSERT_TRUE(wait_until([&] { return !IsWindow(player); }));
        }
    }

    // Starts the program with an alarm file of ours, its clock moved by `offset` seconds.
    program start(std::string_view settings, long long offset = clock_offset_to(19, 0, 0)) {
        folder.write_settings(settings);
        alarm_file = folder.write_file(L"wake up.mp3", "");
        options.clock_file = set_clock_file(offset);
        return program::launch(folder, options);
    }
    // Moves the clock of every program of the test at once, as a sleep would.
    void jump(int hour, int minute, int second) { set_clock_file(clock_offset_to(hour, minute, second)); }

    std::vector<std::string> player_lines() const { return read_lines(player_log(alarm_file)); }
    std::string open_line() const { return "open " + narrow(alarm_file); }

    program_folder folder;
    launch_options options;
    std::wstring alarm_file;
};

bool is_disarmed(const program& app) {
    return text(app.control(forms::id_alarm)) == L"Activate" && app.status_text(0) == L"Alarm - Inactive";
}

// The capture has not grown for a second and a half.
bool sound_stops() {
    std::size_t heard = 0;
    auto since = std::chrono::steady_clock::now();
    return wait_until([&] {
        if (std::size_t now = captured_sound().size(); std::exchange(heard, now) != now)
            since = std::chrono::steady_clock::now();
        return std::chrono::steady_clock::now() - since > 1500ms;
    });
}

// A time missed by three hours is told; one the user sets again and the clock passes by 20 minutes
// goes off, in the tray, once; the player already running gets the volume, and the exit option closes it.
TEST_F(Firing, AClockThatJumpsCatchesUpAnHourAndNoMoreFromTheTrayAndClosesWithTheExitOption) {
    program app = start("[OPTIONS]\r\nETWAGO=1\r\nMTST=1\r\n[STATS]\r\nALARMS=7\r\n[TOCSINET]\r\nVOLUME=80\r\n",
                        clock_offset_to(19, 5, 20));
    // A player already running gets the volume; the copy the shell starts for the alarm never shows.
    std::wstring playing = folder.write_file(L"already playing.mp3", "");
    ShellExecuteW(nullptr, L"open", playing.c_str(), nullptr, nullptr, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(wait_for_line(player_log(playing), "ready"));
    folder.write_file(L"wake up.mp3.player", ""); // no player window will show
    arm(app, L"7", L"05", L"PM", alarm_file);     // after its second 00: not this evening
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
    EXPECT_NE(app.status_text(1), L"Alarm missed") << "the clock is back once the user used the window";
    app.minimise();
    ASSERT_TRUE(wait_until([&] { return !is_visible(app.window()); }));
    std::size_t sound_before = captured_sound().size();
    jump(22, 35, 5); // 20 minutes late
    ASSERT_TRUE(app.wait_for_exit(90s)) << "the exit option closes it";
    EXPECT_EQ(captured_sound().size(), sound_before) << "no sound of its own";
    ASSERT_TRUE(wait_for_line(player_log(alarm_file), open_line()));
    EXPECT_EQ(player_lines(), std::vector<std::string>{open_line()}) << "once";
    EXPECT_EQ(read_lines(player_log(playing)),
              (std::vector<std::string>{"open " + narrow(playing), "ready", "volume 200 122"}));
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "8");
    // Icon 1 with a message, an icon and a tip, the message the icon's own.
    const std::string add = "add 1 7 " + std::to_string(WM_APP + 2) + " Tocsinet: ";
    EXPECT_EQ(tray_records(app.window()),
              (std::vector<std::string>{add + "Active\r\nAlarm Time: 10:15 PM\r\nAlarm File: wake up.mp3",
                                        "delete", add + "Inactive", "delete"}));
}

TEST_F(Firing, OnTheNightTheClocksGoForwardTwoOClockGoesOffOnceAtThree) {
    // New York, 14 March 2027: at 2:00 AM EST (07:00 UTC) the clocks go on to 3:00 AM EDT.
    options.time_zone = "America/New_York";
    program app = start("", clock_offset_to_utc(2027, 3, 14, 6, 58, 0));
    set_clock_file(clock_offset_to_utc(2027, 3, 14, 6, 59, 40));
    auto at_three = std::chrono::steady_clock::now() + 20s;
    arm(app, L"2", L"00", L"AM", alarm_file);
    ASSERT_TRUE(wait_for_line(player_log(alarm_file), open_line(), 60s));
    auto late = std::chrono::steady_clock::now() - at_three;
    EXPECT_TRUE(late > -1s && late < 10s) << std::chrono::duration<double>(late).count() << " s after 3:00:00";
    EXPECT_TRUE(wait_until([&] { return app.status_text(1).starts_with(L"3:0"); })) << "the clock went on to 3:00";
    ASSERT_TRUE(wait_until([&] { return is_disarmed(app); })); // after the volume went out
    EXPECT_EQ(player_lines(), (std::vector<std::string>{open_line(), "ready", "volume 125 122"})) << "once";
}

TEST_F(Firing, AFileThatCannotBeOpenedSoundsTheAlarmItselfUntilTheMessageIsAnsweredOrTheWindowGoes) {
    program app = start("[OPTIONS]\r\nMTST=1\r\n");
    alarm_file = folder.file(L"moved away.mp3");
    std::string ini = narrow(folder.file(L"tocsinet.ini"));
    // Answered from the tray; the session ending under the message; with the exit option, the window
    // closed under it from the task bar, for a type no program is registered for.
    for (int round : {0, 1, 2}) {
        WritePrivateProfileStringA("OPTIONS", "ETWAGO", round == 2 ? "1" : "0", ini.c_str());
        if (round == 2)
            alarm_file = folder.write_file(L"wake up.unregistered", "");
        arm(app, L"7", std::vector<std::wstring>{L"05", L"10", L"15"}[round], L"PM", alarm_file);
        if (round == 0)
            app.minimise();
        ASSERT_TRUE(wait_until([&] { return is_visible(app.window()) == (round != 0); }));
        std::size_t before = captured_sound().size();
        jump(19, 4 + 5 * round, 58);
        HWND box = app.wait_for_window(message_box_class, 60s);
        std::wstring reason = round == 2 ? L"no program is registered for its type." : L"it was not found.";
        EXPECT_TRUE(wait_until([&] {
            return message_box_text(box).ends_with(alarm_file + L" could not be opened: " + reason);
        })) << narrow(message_box_text(box));
        EXPECT_TRUE(is_visible(app.window())) << "back from the notification area";
        // Samples played since then (a device opened anew starts the capture again).
        EXPECT_TRUE(wait_until([&] {
            std::string samples = captured_sound();
            return samples.find_first_not_of('\0', samples.size() > before ? before : 0) != std::string::npos;
        }));
        EXPECT_TRUE(is_disarmed(app));
        EXPECT_EQ(folder.setting("STATS", "ALARMS"), std::to_string(round + 1));
        EXPECT_TRUE(app.running()) << "while the message is up";
        if (round == 1) { // Windows ends the process after this, with no close
            ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10'000, nullptr));
            EXPECT_TRUE(sound_stops() && IsWindow(box)) << "nothing sounds on past the session";
        }
        round == 2 ? void(PostMessageW(app.window(), WM_CLOSE, 0, 0)) : click_button(box, L"OK");
        ASSERT_TRUE(wait_until([&] { return app.find_window(message_box_class) == nullptr; }));
        EXPECT_TRUE(sound_stops());
    }
    EXPECT_TRUE(app.wait_for_exit());
    EXPECT_EQ(folder.setting("TOCSINET", "VOLUME"), "50") << "saved as it closed";
}

TEST_F(Firing, APlayerThatNeverAppearsOrNeverAnswersLeavesNoBoxWaiting) {
    program app = start("");
    program_folder exiting(L"Firing.APlayerThatNeverAppearsWithTheExitOption");
    exiting.write_settings("[OPTIONS]\r\nETWAGO=1\r\n");
    program other = program::launch(exiting, options);
    folder.write_file(L"wake up.mp3.player", ""); // no player window will show
    arm(app, L"7", L"05", L"PM", alarm_file);
    arm(other, L"7", L"05", L"PM", alarm_file);
    jump(19, 4, 58);
    ASSERT_TRUE(wait_for_line(player_log(alarm_file), open_line(), 60s));
    app.sync(); // while it waits, the window goes on answering

    EXPECT_TRUE(other.wait_for_exit(120s)) << "the exit option closes it once the wait is over";
    ASSERT_TRUE(wait_until([&] { return is_disarmed(app); }));
    EXPECT_EQ(app.status_text(1), L"Volume not set");
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
    // Ticks go on while the program waits: still one opening and one count each.
    EXPECT_EQ(player_lines(), std::vector<std::string>(2, open_line()));
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "1");

    // A player window that never reads its messages: the program goes on answering meanwhile.
    DeleteFileW(folder.file(L"wake up.mp3.player").c_str());
    folder.write_file(L"wake up.mp3.hung", "");
    arm(app, L"7", L"10", L"PM", alarm_file);
    jump(19, 9, 58);
    ASSERT_TRUE(wait_for_line(player_log(alarm_file), "ready", 60s));
    auto shown = std::chrono::steady_clock::now();
    app.sync();
    ASSERT_TRUE(wait_until([&] { return is_disarmed(app); }, 15s));
    EXPECT_LT(std::chrono::steady_clock::now() - shown, 15s);
    EXPECT_EQ(app.status_text(1), L"Volume not set");
    EXPECT_EQ(folder.setting("STATS", "ALARMS"), "2");
}

} // namespace
