// The Options and About windows as the user opens them from the main window's popup menu.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "about.h"
#include "alarm.h"
#include "driver.h"
#include "options_ids.h"

namespace {

using namespace e2e;

constexpr const wchar_t* options_class = L"TocsinetOptions";
constexpr const wchar_t* about_class = L"TocsinetAbout";

// What choosing a menu item sends the main window.
HWND choose(const program& app, int item, const wchar_t* window_class) {
    PostMessageW(app.window(), WM_COMMAND, static_cast<WPARAM>(item), 0);
    HWND window = app.wait_for_window(window_class);
    // It shows once its load handler has filled it.
    if (!window || !wait_until([&] { return is_visible(window); }))
        throw std::runtime_error("the window did not open");
    return window;
}

HWND open_options(const program& app) { return choose(app, forms::id_mnuoptions, options_class); }
HWND open_about(const program& app) { return choose(app, forms::id_mnuabout, about_class); }

HWND check_box(HWND options, const wchar_t* caption) { return find_child(options, L"Button", caption); }
bool ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

int windows_of_class(const program& app, const wchar_t* window_class) {
    struct search {
        DWORD process_id;
        const wchar_t* window_class;
        int count;
    } state{app.process_id(), window_class, 0};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            s->count += owner == s->process_id && class_name(window) == s->window_class;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.count;
}

std::string file_text(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool closes(HWND window) {
    return wait_until([&] { return !IsWindow(window); });
}

const char* const stored_paths = "[WINAMP]\r\nPATH=C:\\Player\\winamp.exe\r\n[MUSIC]\r\nDEFAULT PATH=C:\\Music\\\r\n";

TEST(OptionsWindow, NeverSavedOptionsOpenClearEvenWithStoredPaths) {
    program_folder folder;
    folder.write_settings(std::string(stored_paths) + "[OPTIONS]\r\nMTST=1\r\n");
    program app = program::launch(folder);
    HWND options = open_options(app);
    EXPECT_FALSE(ticked(check_box(options, L"Load current time on startup")));
    EXPECT_FALSE(ticked(check_box(options, L"Exit Tocsinet when alarm goes off")));
    EXPECT_FALSE(ticked(check_box(options, L"Minimize to system tray")));
    EXPECT_EQ(text(GetDlgItem(options, forms::id_winamp_path)), L"");
    EXPECT_EQ(text(GetDlgItem(options, forms::id_default_path)), L"");
    click_button(options, L"Cancel");
    EXPECT_TRUE(closes(options));
    EXPECT_TRUE(app.close());
}

TEST(OptionsWindow, OkWithoutChangeWritesAllFiveAndTheNextOpeningShowsThem) {
    program_folder folder;
    folder.write_settings(std::string(stored_paths) + "[OPTIONS]\r\nLCTOS=0\r\nMTST=1\r\n");
    program app = program::launch(folder);
    HWND options = open_options(app);
    EXPECT_EQ(text(GetDlgItem(options, forms::id_winamp_path)), L"C:\\Player\\winamp.exe");
    click_button(options, L"OK");
    ASSERT_TRUE(closes(options));
    EXPECT_EQ(folder.setting("OPTIONS", "LCTOS"), "0");
    EXPECT_EQ(folder.setting("OPTIONS", "ETWAGO"), "0");
    EXPECT_EQ(folder.setting("OPTIONS", "MTST"), "1");
    EXPECT_EQ(folder.setting("WINAMP", "PATH"), "C:\\Player\\winamp.exe");
    EXPECT_EQ(folder.setting("MUSIC", "DEFAULT PATH"), "C:\\Music\\");
    EXPECT_NE(folder.settings_text().find("ETWAGO=0\r\n"), std::string::npos) << folder.settings_text();

    options = open_options(app);
    EXPECT_FALSE(ticked(check_box(options, L"Load current time on startup")));
    EXPECT_TRUE(ticked(check_box(options, L"Minimize to system tray")));
    EXPECT_EQ(text(GetDlgItem(options, forms::id_default_path)), L"C:\\Music\\");
    click_button(options, L"Cancel");
    EXPECT_TRUE(closes(options));
    EXPECT_TRUE(app.close());
}

TEST(OptionsWindow, CancelChangesNothing) {
    program_folder folder;
    folder.write_settings(std::string(stored_paths) + "[OPTIONS]\r\nLCTOS=1\r\nETWAGO=0\r\nMTST=0\r\n");
    program app = program::launch(folder);
    std::string before = folder.settings_text();
    HWND options = open_options(app);
    click(check_box(options, L"Exit Tocsinet when alarm goes off"));
    ASSERT_TRUE(wait_until([&] { return ticked(check_box(options, L"Exit Tocsinet when alarm goes off")); }));
    click_button(options, L"Cancel");
    ASSERT_TRUE(closes(options));
    EXPECT_EQ(folder.settings_text(), before);
    options = open_options(app);
    EXPECT_FALSE(ticked(check_box(options, L"Exit Tocsinet when alarm goes off")));
    click_button(options, L"Cancel");
    EXPECT_TRUE(closes(options));
    EXPECT_TRUE(app.close());
}

TEST(OptionsWindow, TheMainWindowWaitsWhileItIsOpenHoweverItCloses) {
    program_folder folder;
    program app = program::launch(folder);
    auto round = [&](const char* how, auto close) {
        HWND options = open_options(app);
        EXPECT_TRUE(wait_until([&] { return !is_enabled(app.window()); })) << how;
        close(options);
        EXPECT_TRUE(closes(options)) << how;
        EXPECT_TRUE(wait_until([&] { return is_enabled(app.window()); })) << how;
    };
    round("OK", [](HWND options) { click_button(options, L"OK"); });
    round("Cancel", [](HWND options) { click_button(options, L"Cancel"); });
    round("Alt+F4", [](HWND options) { PostMessageW(options, WM_SYSCOMMAND, SC_CLOSE, 0); });
    round("Esc", [](HWND options) { PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });

    // Shutting down with the window open ends the program all the same.
    open_options(app);
    EXPECT_TRUE(app.close());
}

TEST(OptionsWindow, ASecondChoiceShowsTheSameWindow) {
    program_folder folder;
    program app = program::launch(folder);
    HWND options = open_options(app);
    click(check_box(options, L"Minimize to system tray"));
    ASSERT_TRUE(wait_until([&] { return ticked(check_box(options, L"Minimize to system tray")); }));
    EXPECT_EQ(open_options(app), options);
    EXPECT_EQ(windows_of_class(app, options_class), 1);
    EXPECT_TRUE(ticked(check_box(options, L"Minimize to system tray"))); // as it was, not loaded again
    click_button(options, L"Cancel");
    EXPECT_TRUE(closes(options));
    EXPECT_TRUE(app.close());
}

TEST(AboutWindow, ShowsTheVersionTextAndTheCountersOfTheOpening) {
    program_folder folder;
    folder.write_settings("[STATS]\r\nALARMS=1\r\nLOADS=2\r\n");
    program app = program::launch(folder); // the third start
    HWND about = open_about(app);
    std::wstring version = text(GetDlgItem(about, forms::id_version));
    EXPECT_EQ(version.rfind(L"Tocsinet ", 0), 0u) << version;
    EXPECT_NE(version.find(L"\r\n"), std::wstring::npos) << "several lines";
    EXPECT_EQ(version, widen(file_text(folder.file(L"version.txt")))); // whole
    EXPECT_EQ(text(find_child(about, L"Static", L"Loads: 3")), L"Loads: 3");
    EXPECT_NE(find_child(about, L"Static", L"Alarms: 1"), nullptr);
    EXPECT_TRUE(is_enabled(app.window()));
    click_button(about, L"OK");
    EXPECT_TRUE(closes(about));
    EXPECT_TRUE(is_enabled(app.window()));
    EXPECT_TRUE(app.close());
}

TEST(AboutWindow, WithoutItsFileSaysSoAndASecondChoiceShowsTheSameWindow) {
    program_folder folder;
    DeleteFileW(folder.file(L"version.txt").c_str());
    program app = program::launch(folder);
    HWND about = open_about(app);
    EXPECT_EQ(text(GetDlgItem(about, forms::id_version)), L"Version file missing");
    EXPECT_NE(find_child(about, L"Static", L"Loads: 1"), nullptr);
    EXPECT_NE(find_child(about, L"Static", L"Alarms: 0"), nullptr);
    folder.write_settings("[STATS]\r\nALARMS=5\r\nLOADS=9\r\n");
    EXPECT_EQ(open_about(app), about);
    EXPECT_EQ(windows_of_class(app, about_class), 1);
    EXPECT_NE(find_child(about, L"Static", L"Alarms: 0"), nullptr); // as at the opening
    // It closes with the main window.
    EXPECT_TRUE(app.close());
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
    ASSERT_NE(menu, nullptr);
    RECT placed = window_rect(menu);
    EXPECT_EQ(placed.left, mouse.x);
    EXPECT_EQ(placed.top, mouse.y);
    // Its second of two rows is "&About".
    EXPECT_GT(placed.bottom - placed.top, 20);
    POINT about_row{placed.left + 10, placed.top + (placed.bottom - placed.top) * 3 / 4};
    SetCursorPos(about_row.x, about_row.y);
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, press, sizeof(INPUT));
    EXPECT_NE(app.wait_for_window(about_class), nullptr);
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(menu); }));
    EXPECT_TRUE(app.close());
}

} // namespace
