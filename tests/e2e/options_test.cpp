// The Options and About windows as the user opens them from the main window's popup menu.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "about.h"
#include "alarm.h"
#include "driver.h"
#include "options_ids.h"

namespace {

using namespace e2e;

// What choosing a menu item sends the main window.
HWND choose(const program& app, int item, const wchar_t* window_class) {
    PostMessageW(app.window(), WM_COMMAND, static_cast<WPARAM>(item), 0);
    return wait_until_shown(app, window_class);
}
HWND open_options(const program& app) { return choose(app, forms::id_mnuoptions, L"TocsinetOptions"); }
HWND open_about(const program& app) { return choose(app, forms::id_mnuabout, L"TocsinetAbout"); }

bool ticked(HWND options, const wchar_t* caption) {
    return SendMessageW(find_child(options, L"Button", caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
bool closes(HWND window) {
    return wait_until([&] { return !IsWindow(window); });
}

TEST(OptionsWindow, SavedOptionsLoadAndOkWritesAllFive) {
    program_folder folder;
    folder.write_settings("[OPTIONS]\r\nLCTOS=1\r\nETWAGO=0\r\nMTST=1\r\n[WINAMP]\r\nPATH=C:\\Player\\winamp.exe\r\n");
    program app = program::launch(folder);
    HWND options = open_options(app);
    EXPECT_TRUE(ticked(options, L"Load current time on startup") && ticked(options, L"Minimize to system tray"));
    EXPECT_FALSE(ticked(options, L"Exit Tocsinet when alarm goes off"));
    EXPECT_EQ(text(GetDlgItem(options, forms::id_winamp_path)), L"C:\\Player\\winamp.exe");
    click(find_child(options, L"Button", L"Minimize to system tray"));
    ASSERT_TRUE(wait_until([&] { return !ticked(options, L"Minimize to system tray"); }));
    click_button(options, L"OK");
    ASSERT_TRUE(closes(options));
    EXPECT_EQ(folder.settings_text(), "[OPTIONS]\r\nLCTOS=1\r\nETWAGO=0\r\nMTST=0\r\n[WINAMP]\r\n"
                                      "PATH=C:\\Player\\winamp.exe\r\n[STATS]\r\nALARMS=0\r\nLOADS=1\r\n[MUSIC]\r\n"
                                      "DEFAULT PATH=\r\n");
}

TEST(OptionsWindow, NeverSavedOptionsOpenClearEvenWithStoredPathsAndCancelWritesNothing) {
    program_folder folder;
    folder.write_settings("[WINAMP]\r\nPATH=C:\\Player\\winamp.exe\r\n[OPTIONS]\r\nMTST=1\r\n"); // no "LCTOS"
    program app = program::launch(folder);
    HWND options = open_options(app);
    EXPECT_TRUE(!ticked(options, L"Minimize to system tray") && text(GetDlgItem(options, forms::id_winamp_path)).empty());
    click(find_child(options, L"Button", L"Exit Tocsinet when alarm goes off"));
    ASSERT_TRUE(wait_until([&] { return ticked(options, L"Exit Tocsinet when alarm goes off"); }));
    std::string before = folder.settings_text();
    click_button(options, L"Cancel");
    ASSERT_TRUE(closes(options));
    EXPECT_EQ(folder.settings_text(), before);
    EXPECT_TRUE(app.close());
}

TEST(OptionsWindow, TheMainWindowWaitsWhileItIsOpenHoweverItCloses) {
    program_folder folder;
    program app = program::launch(folder);
    for (auto [message, command] : {std::pair{0u, 0}, {1u, 1}, {WM_SYSCOMMAND, SC_CLOSE}, {WM_COMMAND, IDCANCEL}}) {
        HWND options = open_options(app); // closed by OK, Cancel, Alt+F4, Esc
        EXPECT_TRUE(wait_until([&] { return !is_enabled(app.window()); })) << command;
        message < 2 ? click_button(options, message ? L"Cancel" : L"OK") : (void)PostMessageW(options, message, command, 0);
        EXPECT_TRUE(closes(options) && wait_until([&] { return is_enabled(app.window()); })) << command;
    }
    // The About window's OK leaves the main window to the Options window that disabled it.
    open_options(app);
    click_button(open_about(app), L"OK");
    EXPECT_TRUE(wait_until([&] { return app.find_window(L"TocsinetAbout") == nullptr; }));
    EXPECT_FALSE(is_enabled(app.window()));
    EXPECT_TRUE(app.close()); // with the window open
}

TEST(AboutWindow, ShowsTheVersionTextOrSaysItIsMissingAndTheCountersOfEachOpening) {
    program_folder folder;
    folder.write_settings("[STATS]\r\nALARMS=1\r\nLOADS=2\r\n");
    program app = program::launch(folder); // the third start
    HWND about = open_about(app);
    std::wstring version = text(GetDlgItem(about, forms::id_version));
    EXPECT_TRUE(version.starts_with(L"Tocsinet ") && version.find(L"\r\n") != std::wstring::npos) << narrow(version);
    EXPECT_NE(find_child(about, L"Static", L"Loads: 3"), nullptr);
    EXPECT_TRUE(is_enabled(app.window()));
    click_button(about, L"OK");
    ASSERT_TRUE(closes(about));
    DeleteFileW(folder.file(L"version.txt").c_str());
    folder.write_settings("[STATS]\r\nALARMS=5\r\nLOADS=9\r\n");
    about = open_about(app);
    EXPECT_EQ(text(GetDlgItem(about, forms::id_version)), L"Version file missing");
    EXPECT_NE(find_child(about, L"Static", L"Alarms: 5"), nullptr);
    EXPECT_TRUE(app.close()); // it closes with the main window
}

TEST(PopupMenu, TheIconOpensItAtTheMouseAndItsItemsOpenTheirWindows) {
    program_folder folder;
    program app = program::launch(folder);
    RECT icon = window_rect(app.control(forms::id_about_icon));
    POINT mouse{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    SetCursorPos(mouse.x, mouse.y);
    PostMessageW(app.window(), WM_COMMAND, MAKEWPARAM(forms::id_about_icon, STN_CLICKED),
                 reinterpret_cast<LPARAM>(app.control(forms::id_about_icon)));
    HWND menu = app.wait_for_window(L"#32768");
    RECT placed = window_rect(menu);
    EXPECT_TRUE(placed.left == mouse.x && placed.top == mouse.y);
    SetCursorPos(placed.left + 10, placed.top + (placed.bottom - placed.top) * 3 / 4); // "&About", the second row
    INPUT press[2] = {{INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTDOWN, 0, 0}}}, {INPUT_MOUSE, {.mi = {0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}}};
    SendInput(2, press, sizeof(INPUT));
    EXPECT_NE(app.wait_for_window(L"TocsinetAbout"), nullptr);
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(menu); }));
    EXPECT_TRUE(app.close());
}

} // namespace
