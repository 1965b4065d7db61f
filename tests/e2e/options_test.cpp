// The Options and About windows as the user opens them from the main window's popup menu.
#include "about.h"
#include "driver.h"
#include "options_ids.h"

namespace {

using namespace e2e;

// A key as the user presses it, with Shift held or not.
void press(WORD key, bool shift = false) {
    INPUT keys[4] = {{INPUT_KEYBOARD, {.ki = {VK_SHIFT, 0, 0}}},
                     {INPUT_KEYBOARD, {.ki = {key, 0, 0}}},
                     {INPUT_KEYBOARD, {.ki = {key, 0, KEYEVENTF_KEYUP}}},
                     {INPUT_KEYBOARD, {.ki = {VK_SHIFT, 0, KEYEVENTF_KEYUP}}}};
    shift ? SendInput(4, keys, sizeof(INPUT)) : SendInput(2, keys + 1, sizeof(INPUT));
}

bool ticked(HWND options, const wchar_t* caption) {
    return SendMessageW(find_child(options, L"Button", caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// One story: the focus starts on the first list; Tab moves it on. Shift+F10 opens the menu at the
// icon and A the About window, which leaves the main window enabled; back in front, and again after a
// minimise (to the task bar: the tray option is off), the main window gives the focus back to the list
// that had it. Then the Options window four times:
// the fields load at each opening, options never saved (no "LCTOS") as clear whatever paths are stored; each
// opening flips "Minimize to system tray", the main window waits, and only OK writes, all five. Last, the
// icon opens the menu at the mouse and its "&Options" the Options window, and the About window over it: it
// reads the version file and counters afresh and its OK leaves the main window to the Options window that
// disabled it.
TEST(OptionsAndAbout, OpenFromThePopupMenuLoadAtEachOpeningAndOnlyOkWrites) {
    program_folder folder;
    program app = program::launch(folder);
    RECT icon = window_rect(app.control(forms::id_about_icon));
    POINT mouse{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    SetForegroundWindow(app.window());
    EXPECT_TRUE(wait_until([&] { return focus_of(app.window()) == app.control(forms::id_time_hour); }));
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus_of(app.window()) == app.control(forms::id_time_minute); }));
    press(VK_F10, true);
    RECT menu = window_rect(app.wait_for_window(L"#32768"));
    EXPECT_TRUE(menu.left == mouse.x && menu.top == mouse.y);
    press('A');
    HWND about = app.wait_for_window(L"TocsinetAbout");
    std::wstring version = text(GetDlgItem(about, forms::id_version));
    EXPECT_TRUE(version.starts_with(L"Tocsinet ") && version.find(L"\r\n") != std::wstring::npos) << narrow(version);
    EXPECT_TRUE(is_enabled(app.window()));
    click_button(about, L"OK");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(about); }));
    SetForegroundWindow(app.window());
    EXPECT_TRUE(wait_until([&] { return focus_of(app.window()) == app.control(forms::id_time_minute); }));
    app.minimise();
    ASSERT_TRUE(wait_until([&] { return IsIconic(app.window()) != FALSE; }));
    EXPECT_TRUE(is_visible(app.window())) << "without the tray option it goes to the task bar";
    PostMessageW(app.window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(wait_until([&] { return focus_of(app.window()) == app.control(forms::id_time_minute); }));

    const std::string never_saved = "[WINAMP]\r\nPATH=C:\\Player\\winamp.exe\r\n[OPTIONS]\r\nMTST=1\r\n";
    const std::string saved = "[OPTIONS]\r\nLCTOS=1\r\nETWAGO=0\r\nMTST=1\r\n"
                              "[WINAMP]\r\nPATH=C:\\Player\\winamp.exe\r\n";
    // Cancel, Alt+F4, Esc, OK.
    for (auto [message, command] : {std::pair{0u, 0}, {WM_SYSCOMMAND, SC_CLOSE}, {WM_COMMAND, IDCANCEL}, {1u, 1}}) {
        const bool loads = command != 0;
        folder.write_settings(loads ? saved : never_saved);
        HWND options = app.open(forms::id_mnuoptions, L"TocsinetOptions");
        EXPECT_TRUE(ticked(options, L"Load current time on startup") == loads &&
                    ticked(options, L"Minimize to system tray") == loads &&
                    !ticked(options, L"Exit Tocsinet when alarm goes off"));
        EXPECT_EQ(text(GetDlgItem(options, forms::id_winamp_path)), loads ? L"C:\\Player\\winamp.exe" : L"");
        click(find_child(options, L"Button", L"Minimize to system tray"));
        ASSERT_TRUE(wait_until([&] { return ticked(options, L"Minimize to system tray") != loads; }));
        EXPECT_FALSE(is_enabled(app.window()));
        message < 2 ? click_button(options, message ? L"OK" : L"Cancel")
                    : (void)PostMessageW(options, message, command, 0);
        EXPECT_TRUE(wait_until([&] { return !IsWindow(options) && is_enabled(app.window()); })) << command;
        EXPECT_EQ(folder.settings_text(), message != 1 ? (loads ? saved : never_saved)
                                                       : "[OPTIONS]\r\nLCTOS=1\r\nETWAGO=0\r\nMTST=0\r\n[WINAMP]\r\n"
                                                         "PATH=C:\\Player\\winamp.exe\r\n[MUSIC]\r\nDEFAULT PATH=\r\n");
    }

    SetCursorPos(mouse.x, mouse.y);
    PostMessageW(app.window(), WM_COMMAND, MAKEWPARAM(forms::id_about_icon, STN_CLICKED),
                 reinterpret_cast<LPARAM>(app.control(forms::id_about_icon)));
    menu = window_rect(app.wait_for_window(L"#32768"));
    EXPECT_TRUE(menu.left == mouse.x && menu.top == mouse.y);
    SetCursorPos(menu.left + 10, menu.top + (menu.bottom - menu.top) / 4); // "&Options", the first row
    INPUT press[2] = {{INPUT_MOUSE, {.mi = {.dwFlags = MOUSEEVENTF_LEFTDOWN}}},
                      {INPUT_MOUSE, {.mi = {.dwFlags = MOUSEEVENTF_LEFTUP}}}};
    SendInput(2, press, sizeof(INPUT));
    app.wait_for_window(L"TocsinetOptions");
    DeleteFileW(folder.file(L"version.txt").c_str());
    folder.write_settings("[STATS]\r\nALARMS=5\r\nLOADS=9\r\n");
    about = app.open(forms::id_mnuabout, L"TocsinetAbout");
    EXPECT_TRUE(text(GetDlgItem(about, forms::id_version)) == L"Version file missing" &&
                find_child(about, L"Static", L"Alarms: 5"));
    click_button(about, L"OK");
    EXPECT_TRUE(wait_until([&] { return !IsWindow(about); }) && !is_enabled(app.window()));
    EXPECT_TRUE(app.close()); // with the Options window open
}

} // namespace
