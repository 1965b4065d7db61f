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

bool is_record(const tray_record& r, const char* operation) { return r.operation == operation; }

std::size_t count(const program& app, const char* operation) {
    std::size_t n = 0;
    for (const tray_record& r : tray_records(app.window()))
        n += is_record(r, operation);
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
    EXPECT_FALSE(is_visible(app.window()));
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
    EXPECT_FALSE(is_visible(app.window()));
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

TEST(Tray, ClosingFromTheTrayRemovesTheIconAndSavesTheShownPosition) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nMTST=1\r\n[TOCSINET]\r\nVOLUME=35\r\n");
    program app = program::launch(folder);
    SetWindowPos(app.window(), nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    minimise(app);
    ASSERT_TRUE(wait_for_count(app, "add", 1));
    HWND window = app.window();
    ASSERT_TRUE(app.close());
    EXPECT_EQ(tray_records(window).back().operation, "delete");
    EXPECT_EQ(folder.setting("TOCSINET", "X"), "1800");
    EXPECT_EQ(folder.setting("TOCSINET", "Y"), "1350");
    EXPECT_EQ(folder.setting("TOCSINET", "VOLUME"), "35");
}

// The file's lines that carry something, in order.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

TEST(Shutdown, TheFirstRunLeavesTheCountersThenThePositionAndVolume) {
    program_folder folder;
    program app = program::launch(folder);
    ASSERT_TRUE(app.close());
    EXPECT_EQ(lines_of(folder.settings_text()),
              (std::vector<std::string>{"[STATS]", "ALARMS=0", "LOADS=1", "[TOCSINET]", "X=0", "Y=0", "VOLUME=50"}));
}

} // namespace
