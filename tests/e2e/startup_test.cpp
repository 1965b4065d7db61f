// Starting the program (the position, time and volume it restores, the starts it counts), arming
// it with the "Activate" button, and minimising it into the notification area and back, as the
// shell sees and drives the icon, until Windows ends the session.
#include <utility>

#include "driver.h"

namespace {

using namespace e2e;

// Started well before the minute turns, so the time read at start-up is still in that minute. A
// saved place off the screen comes back within reach (the number rules themselves are the core's).
TEST(Arming, FromTheTimePreselectedWhenTheOptionIsOnAndRefusedUntilTheWholeTimeAndAFileAreGiven) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nLCTOS=1\r\n[TOCSINET]\r\nX=-120000\r\nY=-120000\r\n");
    program app = program::launch(folder, {.clock_file = set_clock_file(clock_offset_to(19, 4, 5))});
    RECT area{}, placed = window_rect(app.window()), both{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(IntersectRect(&both, &placed, &area) && EqualRect(&both, &placed)) << "within the work area";
    HWND alarm = app.control(forms::id_alarm), alarm_file = app.control(forms::id_alarm_file);
    auto shows = [&](const wchar_t* caption, const wchar_t* panel) {
        return wait_until([&] { return text(alarm) == caption && app.status_text(0) == panel; });
    };
    EXPECT_EQ(text(app.control(forms::id_time_hour)), L"7");
    EXPECT_EQ(text(app.control(forms::id_time_minute)), L"04");
    EXPECT_EQ(text(app.control(forms::id_time_ampm)), L"PM");
    // "no file" is a text like any other; disarming looks at nothing.
    click(alarm);
    EXPECT_TRUE(shows(L"Deactivate", L"Alarm - Active"));
    EXPECT_TRUE(select_index(app.control(forms::id_time_minute), -1));
    set_text(alarm_file, L"");
    click(alarm);
    EXPECT_TRUE(shows(L"Activate", L"Alarm - Inactive"));
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
    // Everything given but one text.
    for (int missing :
         {forms::id_time_hour, forms::id_time_minute, forms::id_time_ampm, forms::id_alarm_file}) {
        SCOPED_TRACE(missing);
        EXPECT_TRUE(select(app.control(forms::id_time_hour), L"7") &&
                    select(app.control(forms::id_time_minute), L"05") &&
                    select(app.control(forms::id_time_ampm), L"PM"));
        set_text(alarm_file, missing == forms::id_alarm_file ? L"" : L"no file");
        EXPECT_TRUE(missing == forms::id_alarm_file || select_index(app.control(missing), -1));
        click(alarm);
        answer_message_box(app, L"Please select and alarm time and an alarm file", false);
        app.sync();
        EXPECT_TRUE(shows(L"Activate", L"Alarm - Inactive"));
    }
}

// The settings file keeps its ANSI text, read and written through the folder's wide path; the
// window comes back where it was saved, 1200 twips being 80 pixels here (the second start proves the
// first close saved it).
TEST(StartUp, AProgramFolderOutsideTheCodePageRestoresItsPlaceAndVolumeCountsItsStartsAndSaves) {
    program_folder folder(L"StartUp.Programme \u266b");
    folder.write_settings(
        "[TOCSINET]\r\nX=1200\r\nY=900\r\nVOLUME=30\r\n[MUSIC]\r\nDEFAULT PATH=C:\\R\xe9veil\\\r\n");
    for (auto [loads, volume] : {std::pair{"LOADS=1\r\n", 30}, {"LOADS=2\r\n", 40}}) {
        program app = program::launch(folder);
        RECT rect = window_rect(app.window());
        EXPECT_TRUE(rect.left == 80 && rect.top == 60) << rect.left << ", " << rect.top;
        EXPECT_EQ(SendMessageW(app.control(forms::id_volume), TBM_GETPOS, 0, 0), volume);
        EXPECT_EQ(text(app.control(forms::id_volume_perc)), std::to_wstring(volume) + L"%");
        set_trackbar_position(app.control(forms::id_volume), 40);
        EXPECT_TRUE(app.close());
        EXPECT_NE(folder.settings_text().find(loads), std::string::npos) << folder.settings_text();
    }
    std::string text = folder.settings_text();
    EXPECT_NE(text.find("DEFAULT PATH=C:\\R\xe9veil\\\r\n"), std::string::npos) << text; // é still one byte

    // A settings file that cannot be written (a folder in its place here: the tests run as root)
    // is told where the notices show, once: the user's click gives the clock back for good.
    ASSERT_TRUE(DeleteFileW(folder.file(L"tocsinet.ini").c_str()));
    ASSERT_TRUE(CreateDirectoryW(folder.file(L"tocsinet.ini").c_str(), nullptr));
    program app = program::launch(folder);
    EXPECT_TRUE(wait_until([&] { return app.status_text(1) == L"Settings not saved"; }));
    PostMessageW(app.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(wait_until([&] { return app.status_text(1) != L"Settings not saved"; }));
    EXPECT_TRUE(app.close());
}

// The icon's own callback message: the first record form has the mouse message in lParam.
constexpr UINT tray_callback = WM_APP + 2;

TEST(Tray, TheIconStandsForTheHiddenWindowUntilAPressOrTheEndOfTheSession) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nMTST=0\r\n");
    program app = program::launch(folder);
    auto restored = [&] { return is_visible(app.window()) && !IsIconic(app.window()); };
    auto wait_for_records = [&](std::size_t count) {
        return wait_until([&] { return tray_records(app.window()).size() >= count; });
    };
    // The shell tells the icon's window of mouse activity with the callback message.
    auto icon_notification = [&](UINT mouse) { SendNotifyMessageW(app.window(), tray_callback, 1, mouse); };
    SetWindowPos(app.window(), nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    set_trackbar_position(app.control(forms::id_volume), 35);
    // The option counts from the next minimise (with it off the window goes to the task bar, as the
    // Options story shows).
    WritePrivateProfileStringA("OPTIONS", "MTST", "1", narrow(folder.file(L"tocsinet.ini")).c_str());

    app.minimise();
    ASSERT_TRUE(wait_for_records(1));
    // Icon 1 with a message, an icon and a tip; the mouse comes back with a message of its own.
    const std::string add = "add 1 7 " + std::to_string(tray_callback) + " Tocsinet: ";
    // Hovering and the double click's own notification leave it in the tray.
    for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        icon_notification(mouse);
    app.sync();
    EXPECT_FALSE(is_visible(app.window()));
    icon_notification(WM_LBUTTONDOWN);
    ASSERT_TRUE(wait_until(restored));
    // A mouse move over a window wider than 513 pixels (at 225 %) is no press: no restore runs, no
    // icon is deleted (the records at the end would show it).
    PostMessageW(app.window(), WM_MOUSEMOVE, 0, MAKELPARAM(513, 10));
    // The task bar restarts while the window is shown: there is no icon to bring back.
    SendNotifyMessageW(app.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);

    // An armed alarm shows its time and file; the right button acts as the left.
    arm(app, L"12", L"30", L"PM", L"C:\\Music\\\u266b long file name.mp3");
    app.minimise();
    ASSERT_TRUE(wait_for_records(3));
    icon_notification(WM_RBUTTONDOWN);
    ASSERT_TRUE(wait_until(restored));

    // A task bar that restarts gets the icon again; Windows ending the session saves and removes it.
    app.minimise();
    ASSERT_TRUE(wait_for_records(5));
    SendNotifyMessageW(app.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(wait_for_records(6));
    EXPECT_FALSE(is_visible(app.window()));
    DWORD_PTR agreed = 0;
    ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &agreed));
    EXPECT_EQ(agreed, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(SendMessageTimeoutW(app.window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &agreed));
    ASSERT_TRUE(wait_for_records(7));
    // 52 characters before the file name leave room for 11 of it, shown as they are (UTF-8 here).
    std::string armed = add + "Active\r\nAlarm Time: 12:30 PM\r\nAlarm File: \xe2\x99\xab long file";
    EXPECT_EQ(tray_records(app.window()), (std::vector<std::string>{add + "Inactive", "delete", armed,
                                                                    "delete", armed, armed, "delete"}));
    // The position it had before it went to the tray, not the minimised placeholder.
    EXPECT_EQ(folder.settings_text(), "[OPTIONS]\r\nMTST=1\r\n[STATS]\r\nALARMS=0\r\nLOADS=1\r\n[TOCSINET]\r\n"
                                      "X=1800\r\nY=1350\r\nVOLUME=35\r\n");

    EXPECT_TRUE(app.close());

    // "Run: Minimized", as a Startup-folder shortcut starts it at logon: straight into the tray.
    program at_logon = program::launch(folder, {.show_command = SW_SHOWMINNOACTIVE});
    EXPECT_TRUE(wait_until(
        [&] { return tray_records(at_logon.window()) == std::vector<std::string>{add + "Inactive"}; }));
    EXPECT_FALSE(is_visible(at_logon.window()));
}

} // namespace
