// Minimising into the notification area and back, as the shell sees and drives the icon, until
// Windows ends the session.
#include <windows.h>

#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "alarm.h"
#include "driver.h"

namespace {

using namespace e2e;

// The icon's own callback message: the first record form has the mouse message in lParam.
constexpr UINT tray_callback = WM_APP + 2;

// The shell tells the icon's window of mouse activity with the callback message.
void icon_notification(const program& app, UINT mouse_message) {
    SendNotifyMessageW(app.window(), tray_callback, 1, mouse_message);
}

bool restored(const program& app) {
    return is_visible(app.window()) && !IsIconic(app.window());
}

// What the shell got for the window's icon: each add with its tip, and the other operations.
std::vector<std::string> shell_records(const program& app) {
    std::vector<std::string> seen;
    for (const tray_record& r : tray_records(app.window()))
        seen.push_back(r.operation == "add" ? "add " + r.tip : r.operation);
    return seen;
}

bool wait_for_records(const program& app, std::size_t count) {
    return wait_until([&] { return shell_records(app).size() >= count; });
}

TEST(Tray, TheIconStandsForTheHiddenWindowUntilAPressOrTheEndOfTheSession) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nMTST=0\r\n");
    program app = program::launch(folder);
    app.minimise();
    ASSERT_TRUE(wait_until([&] { return IsIconic(app.window()) != FALSE; }));
    EXPECT_TRUE(is_visible(app.window())) << "with the option off it goes to the task bar";
    PostMessageW(app.window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(wait_until([&] { return restored(app); }));
    SetWindowPos(app.window(), nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    set_trackbar_position(app.control(forms::id_volume), 35);
    // The option counts from the next minimise.
    WritePrivateProfileStringA("OPTIONS", "MTST", "1", narrow(folder.file(L"tocsinet.ini")).c_str());

    app.minimise();
    ASSERT_TRUE(wait_for_records(app, 1));
    tray_record added = tray_records(app.window()).front();
    // Icon 1 with a message, an icon and a tip; the mouse comes back with a message of its own.
    EXPECT_EQ(std::tuple(added.id, added.flags, added.callback_message),
              std::tuple(1ul, 7ul, DWORD{tray_callback}));
    // Hovering and the double click's own notification leave it in the tray.
    for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        icon_notification(app, mouse);
    app.sync();
    EXPECT_FALSE(is_visible(app.window()));
    icon_notification(app, WM_LBUTTONDOWN);
    ASSERT_TRUE(wait_until([&] { return restored(app); }));
    // A mouse move over a window wider than 513 pixels (at 225 %) is no press: no restore runs, no
    // icon is deleted (the records at the end would show it).
    PostMessageW(app.window(), WM_MOUSEMOVE, 0, MAKELPARAM(513, 10));
    // The task bar restarts while the window is shown: there is no icon to bring back.
    SendNotifyMessageW(app.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);

    // An armed alarm shows its time and file; the right button acts as the left.
    ASSERT_TRUE(select(app.control(forms::id_time_hour), L"12"));
    ASSERT_TRUE(select(app.control(forms::id_time_minute), L"30"));
    ASSERT_TRUE(select(app.control(forms::id_time_ampm), L"PM"));
    set_text(app.control(forms::id_alarm_file), L"C:\\Music\\\u266b long file name.mp3");
    click(app.control(forms::id_alarm));
    ASSERT_TRUE(wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));
    app.minimise();
    ASSERT_TRUE(wait_for_records(app, 3));
    icon_notification(app, WM_RBUTTONDOWN);
    ASSERT_TRUE(wait_until([&] { return restored(app); }));

    // A task bar that restarts gets the icon again; Windows ending the session saves and removes it.
    app.minimise();
    ASSERT_TRUE(wait_for_records(app, 5));
    SendNotifyMessageW(app.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(wait_for_records(app, 6));
    EXPECT_FALSE(is_visible(app.window()));
    DWORD_PTR agreed = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &agreed));
    EXPECT_EQ(agreed, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &agreed));
    ASSERT_TRUE(wait_for_records(app, 7));
    // 52 characters before the file name leave room for 11 of it, shown as they are (UTF-8 here).
    std::string armed = "add Tocsinet: Active\r\nAlarm Time: 12:30 PM\r\nAlarm File: \xe2\x99\xab long file";
    EXPECT_EQ(shell_records(app),
              (std::vector<std::string>{"add Tocsinet: Inactive", "delete", armed, "delete", armed, armed, "delete"}));
    // The position it had before it went to the tray, not the minimised placeholder.
    EXPECT_EQ(folder.settings_text(), "[OPTIONS]\r\nMTST=1\r\n[STATS]\r\nALARMS=0\r\nLOADS=1\r\n[TOCSINET]\r\n"
                                      "X=1800\r\nY=1350\r\nVOLUME=35\r\n");

    EXPECT_TRUE(app.close());

    // "Run: Minimized", as a Startup-folder shortcut starts it at logon: straight into the tray.
    program at_logon = program::launch(folder, {.show_command = SW_SHOWMINNOACTIVE});
    EXPECT_TRUE(wait_until(
        [&] { return shell_records(at_logon) == std::vector<std::string>{"add Tocsinet: Inactive"}; }));
    EXPECT_FALSE(is_visible(at_logon.window()));
}

} // namespace
