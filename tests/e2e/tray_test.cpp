// Minimising into the notification area and back, as the shell sees and drives the icon.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "alarm.h"
#include "driver.h"

namespace {

using namespace e2e;

constexpr UINT icon_callback = WM_MOUSEMOVE;

void minimise(const program& app) { PostMessageW(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }

// The shell tells the icon's window of mouse activity with the callback message.
void icon_notification(const program& app, UINT mouse_message) {
    SendNotifyMessageW(app.window(), icon_callback, 1, mouse_message);
}

std::size_t count(const program& app, const char* operation) {
    std::size_t n = 0;
    for (const tray_record& r : tray_records(app.window()))
        n += r.operation == operation;
    return n;
}

bool wait_for_count(const program& app, const char* operation, std::size_t wanted) {
    return wait_until([&] { return count(app, operation) >= wanted; });
}

bool restored(const program& app) { return is_visible(app.window()) && !IsIconic(app.window()); }

TEST(Tray, WithTheOptionOffTheWindowMinimisesToTheTaskBar) {
    program_folder folder;
    program app = program::launch(folder);
    minimise(app);
    ASSERT_TRUE(wait_until([&] { return IsIconic(app.window()) != FALSE; }));
    EXPECT_TRUE(is_visible(app.window()));
    EXPECT_TRUE(tray_records(app.window()).empty());
    EXPECT_TRUE(app.close());
}

TEST(Tray, TheIconStandsForTheHiddenWindowAndAPressBringsItBack) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nMTST=1\r\n");
    program app = program::launch(folder);

    minimise(app);
    ASSERT_TRUE(wait_for_count(app, "add", 1));
    EXPECT_TRUE(wait_until([&] { return !is_visible(app.window()); }));
    tray_record added = tray_records(app.window()).front();
    EXPECT_EQ(added.id, 1u);
    EXPECT_EQ(added.flags, 7u);
    EXPECT_EQ(added.callback_message, 0x200u);
    EXPECT_EQ(added.tip, "Tocsinet: Inactive");

    // Hovering and the double click's own notification leave it in the tray.
    icon_notification(app, WM_MOUSEMOVE);
    icon_notification(app, WM_LBUTTONDBLCLK);
    icon_notification(app, WM_LBUTTONUP);
    DWORD_PTR answer;
    SendMessageTimeoutW(app.window(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &answer);
    EXPECT_FALSE(is_visible(app.window()));
    EXPECT_EQ(count(app, "delete"), 0u);

    icon_notification(app, WM_LBUTTONDOWN);
    ASSERT_TRUE(wait_until([&] { return restored(app); }));
    EXPECT_TRUE(wait_for_count(app, "delete", 1));

    // Restoring does not add the icon again; the right button acts as the left.
    EXPECT_EQ(count(app, "add"), 1u);
    minimise(app);
    ASSERT_TRUE(wait_for_count(app, "add", 2));
    EXPECT_TRUE(wait_until([&] { return !is_visible(app.window()); }));
    icon_notification(app, WM_RBUTTONDOWN);
    ASSERT_TRUE(wait_until([&] { return restored(app); }));
    EXPECT_TRUE(wait_for_count(app, "delete", 2));
    EXPECT_TRUE(app.close());
}

TEST(Tray, AnArmedAlarmShowsItsTimeAndFileCutToTheShellsLimit) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nMTST=1\r\n");
    program app = program::launch(folder);
    ASSERT_TRUE(select(app.control(forms::id_time_hour), L"12"));
    ASSERT_TRUE(select(app.control(forms::id_time_minute), L"30"));
    ASSERT_TRUE(select(app.control(forms::id_time_ampm), L"PM"));
    set_text(app.control(forms::id_alarm_file), L"C:\\Music\\a long file name.mp3");
    click(app.control(forms::id_alarm));
    ASSERT_TRUE(wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));

    minimise(app);
    ASSERT_TRUE(wait_for_count(app, "add", 1));
    // 52 characters before the file name leave room for 11 of it.
    EXPECT_EQ(tray_records(app.window()).front().tip,
              "Tocsinet: Active\r\nAlarm Time: 12:30 PM\r\nAlarm File: a long file");
    icon_notification(app, WM_LBUTTONDOWN);
    ASSERT_TRUE(wait_until([&] { return restored(app); }));

    // A name that fits is shown whole.
    set_text(app.control(forms::id_alarm_file), L"C:\\Music\\wake up.mp3");
    minimise(app);
    ASSERT_TRUE(wait_for_count(app, "add", 2));
    EXPECT_EQ(tray_records(app.window()).back().tip, "Tocsinet: Active\r\nAlarm Time: 12:30 PM\r\nAlarm File: wake up.mp3");
    EXPECT_TRUE(app.close());
}

TEST(Tray, ATaskBarThatRestartsGetsTheIconAgain) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nMTST=1\r\n");
    program app = program::launch(folder);
    // While the window is shown there is no icon to bring back.
    SendNotifyMessageW(app.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    minimise(app);
    ASSERT_TRUE(wait_for_count(app, "add", 1));
    SendNotifyMessageW(app.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(wait_for_count(app, "add", 2));
    EXPECT_EQ(tray_records(app.window()).back().tip, "Tocsinet: Inactive");
    EXPECT_FALSE(is_visible(app.window()));
    EXPECT_TRUE(app.close());
}

TEST(Shutdown, WindowsEndingTheSessionSavesThePositionAndVolumeAndRemovesTheIcon) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nMTST=1\r\n");
    program app = program::launch(folder);
    SetWindowPos(app.window(), nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    set_trackbar_position(app.control(forms::id_volume), 35);
    minimise(app);
    ASSERT_TRUE(wait_for_count(app, "add", 1));
    DWORD_PTR agreed = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &agreed));
    EXPECT_EQ(agreed, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &agreed));
    EXPECT_TRUE(wait_for_count(app, "delete", 1));
    // The position it had before it went to the tray, not the minimised placeholder.
    EXPECT_EQ(folder.settings_text(), "[OPTIONS]\r\nMTST=1\r\n[STATS]\r\nALARMS=0\r\nLOADS=1\r\n[TOCSINET]\r\n"
                                      "X=1800\r\nY=1350\r\nVOLUME=35\r\n");
}

} // namespace
