#include "options.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "TC_Module.h"
#include "window_test_support.h"

namespace {

using namespace window_tests;
using namespace forms;

constexpr const wchar_t* options_class = L"TocsinetOptions";

// The Options window over a stand-in main window, with the settings file beside the test program.
class OptionsWindow : public ::testing::Test {
  protected:
    // One stand-in for the suite: Wine without a window manager takes a while over each top-level window.
    static void SetUpTestSuite() { main_window = make_main_window(); }
    static void TearDownTestSuite() { DestroyWindow(main_window); }
    void SetUp() override {
        DeleteFileA(settings_path().c_str());
        ASSERT_NE(main_window, nullptr);
        EnableWindow(main_window, TRUE);
    }
    void TearDown() override {
        if (IsWindow(options))
            DestroyWindow(options);
        pump();
        DeleteFileA(settings_path().c_str());
    }
    HWND open() {
        options = show_options(GetModuleHandleW(nullptr), main_window);
        pump();
        return options;
    }
    HWND control(int id) const { return GetDlgItem(options, id); }
    bool is_open() const { return IsWindow(options) != FALSE; }
    std::string setting(const char* section, const char* key) const {
        return TC_Module::read_setting(settings_path(), section, key);
    }
    void select_tab(int tab) {
        HWND tabs = control(id_options_SSTab1);
        SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
        NMHDR change{tabs, static_cast<UINT_PTR>(id_options_SSTab1), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(options, WM_NOTIFY, id_options_SSTab1, reinterpret_cast<LPARAM>(&change));
    }

    static HWND main_window;
    HWND options = nullptr;
};

HWND OptionsWindow::main_window = nullptr;

const std::string stored_options = "[OPTIONS]\r\nLCTOS=1\r\nETWAGO=0\r\nMTST=1\r\n"
                                   "[WINAMP]\r\nPATH=C:\\Player\\winamp.exe\r\n"
                                   "[MUSIC]\r\nDEFAULT PATH=C:\\Music\\\r\n";

TEST_F(OptionsWindow, StoredOptionsAreLoaded) {
    write_file(settings_path(), stored_options);
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(checked(control(id_lctos)));
    EXPECT_FALSE(checked(control(id_etwago)));
    EXPECT_TRUE(checked(control(id_mtst)));
    EXPECT_EQ(text(control(id_winamp_path)), L"C:\\Player\\winamp.exe");
    EXPECT_EQ(text(control(id_default_path)), L"C:\\Music\\");
}

TEST_F(OptionsWindow, OpensOverTheMainWindowOnItsWinampTabWithWhichUnseen) {
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(IsWindowVisible(options));
    EXPECT_EQ(GetWindowLongPtrW(options, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    RECT main_rect, options_rect;
    GetWindowRect(main_window, &main_rect);
    GetWindowRect(options, &options_rect);
    EXPECT_EQ(options_rect.left, main_rect.left);
    EXPECT_EQ(options_rect.top, main_rect.top);
    EXPECT_NE(GetWindowLongPtrW(options, GWL_STYLE) & WS_CAPTION, WS_CAPTION); // no title bar

    EXPECT_EQ(SendMessageW(control(id_options_SSTab1), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(control(id_winamp_path)));
    EXPECT_FALSE(IsWindowVisible(control(id_lctos)));
    EXPECT_FALSE(IsWindowVisible(control(id_default_path)));
    select_tab(0);
    EXPECT_TRUE(IsWindowVisible(control(id_lctos)));
    EXPECT_FALSE(IsWindowVisible(control(id_winamp_path)));
    select_tab(2);
    EXPECT_TRUE(IsWindowVisible(control(id_default_path)));
    EXPECT_FALSE(IsWindowVisible(control(id_mtst)));

    // `which` lies right of the client area, where nothing of it shows.
    RECT client, which;
    GetClientRect(options, &client);
    GetWindowRect(control(id_which), &which);
    MapWindowPoints(nullptr, options, reinterpret_cast<POINT*>(&which), 2);
    EXPECT_GE(which.left, client.right);
    EXPECT_EQ(text(control(id_which)), L"");
    // The path boxes cannot be typed into.
    EXPECT_TRUE(GetWindowLongPtrW(control(id_winamp_path), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongPtrW(control(id_default_path), GWL_STYLE) & ES_READONLY);
}

TEST_F(OptionsWindow, OkWritesAllFiveEntriesEvenUnchanged) {
    write_file(settings_path(), "[OPTIONS]\r\nLCTOS=0\r\n");
    ASSERT_NE(open(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(main_window));
    click(control(id_options_ok));
    EXPECT_FALSE(is_open());
    EXPECT_TRUE(IsWindowEnabled(main_window));
    EXPECT_EQ(read_file(settings_path()), "[OPTIONS]\r\nLCTOS=0\r\nETWAGO=0\r\nMTST=0\r\n"
                                          "[WINAMP]\r\nPATH=\r\n[MUSIC]\r\nDEFAULT PATH=\r\n");
}

TEST_F(OptionsWindow, OkStoresTheBoxesAndTheNextOpeningShowsThem) {
    write_file(settings_path(), stored_options);
    ASSERT_NE(open(), nullptr);
    click(control(id_lctos));  // off
    click(control(id_etwago)); // on
    click(control(id_options_ok));
    EXPECT_EQ(setting("OPTIONS", "LCTOS"), "0");
    EXPECT_EQ(setting("OPTIONS", "ETWAGO"), "1");
    EXPECT_EQ(setting("OPTIONS", "MTST"), "1");
    EXPECT_EQ(setting("WINAMP", "PATH"), "C:\\Player\\winamp.exe");
    EXPECT_EQ(setting("MUSIC", "DEFAULT PATH"), "C:\\Music\\");

    ASSERT_NE(open(), nullptr);
    EXPECT_FALSE(checked(control(id_lctos)));
    EXPECT_TRUE(checked(control(id_etwago)));
    EXPECT_TRUE(checked(control(id_mtst)));
    EXPECT_EQ(text(control(id_default_path)), L"C:\\Music\\");
}

TEST_F(OptionsWindow, HandEditedFlagsShowAsTheProgramReadsThem) {
    write_file(settings_path(), "[OPTIONS]\r\nLCTOS=2\r\nETWAGO= 1.0\r\nMTST=yes\r\n");
    ASSERT_NE(open(), nullptr);
    EXPECT_FALSE(checked(control(id_lctos)));
    EXPECT_TRUE(checked(control(id_etwago)));
    EXPECT_FALSE(checked(control(id_mtst)));
    click(control(id_options_ok));
    EXPECT_EQ(setting("OPTIONS", "LCTOS"), "0");
    EXPECT_EQ(setting("OPTIONS", "ETWAGO"), "1");
    EXPECT_EQ(setting("OPTIONS", "MTST"), "0");
}

TEST_F(OptionsWindow, ThePickerButtonsOpenTheFolderPickerForTheirField) {
    ASSERT_NE(open(), nullptr);
    click(control(id_browse_winamp));
    EXPECT_EQ(text(control(id_which)), L"0");
    HWND picker = FindWindowW(L"TocsinetBrowseDir", nullptr);
    ASSERT_NE(picker, nullptr);
    EXPECT_FALSE(IsWindowEnabled(options));
    SendMessageW(picker, WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(IsWindowEnabled(options));

    select_tab(2);
    click(control(id_browse_music));
    EXPECT_EQ(text(control(id_which)), L"1");
    picker = FindWindowW(L"TocsinetBrowseDir", nullptr);
    ASSERT_NE(picker, nullptr);
    // The picker fills this window's fields: it does not outlive it.
    close_options();
    pump();
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_TRUE(IsWindowEnabled(main_window));
}

} // namespace
