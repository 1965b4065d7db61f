#include "about.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "options.h"
#include "window_test_support.h"

namespace {

using namespace window_tests;
using namespace forms;

// The About window over a stand-in main window; settings and version files beside the test program.
class AboutWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { main_window = make_main_window(); }
    static void TearDownTestSuite() { DestroyWindow(main_window); }
    void SetUp() override {
        ASSERT_NE(main_window, nullptr);
        EnableWindow(main_window, TRUE);
        DeleteFileA(settings_path().c_str());
        DeleteFileA(version_path().c_str());
    }
    void TearDown() override {
        close_about();
        close_options();
        pump();
        DeleteFileA(settings_path().c_str());
        DeleteFileA(version_path().c_str());
        RemoveDirectoryA(version_path().c_str());
    }
    HWND open() {
        about = show_about(GetModuleHandleW(nullptr), main_window);
        pump();
        return about;
    }
    HWND control(int id) const { return GetDlgItem(about, id); }

    static HWND main_window;
    HWND about = nullptr;
};

HWND AboutWindow::main_window = nullptr;

TEST_F(AboutWindow, ShowsTheVersionFileWholeAndTheCounters) {
    write_file(settings_path(), "[STATS]\r\nALARMS=1\r\nLOADS=3\r\n");
    write_file(version_path(), "Tocsinet 1.0.0\r\nline two\r\nline three\r\n");
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(text(control(id_version)), L"Tocsinet 1.0.0\r\nline two\r\nline three\r\n");
    EXPECT_GE(SendMessageW(control(id_version), EM_GETLINECOUNT, 0, 0), 3);
    EXPECT_TRUE(GetWindowLongPtrW(control(id_version), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(text(control(id_stat_loads)), L"Loads: 3");
    EXPECT_EQ(text(control(id_stat_alarms)), L"Alarms: 1");
    EXPECT_EQ(SendMessageW(control(id_about_SSTab1), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(control(id_version)));
    EXPECT_FALSE(IsWindowVisible(control(id_stat_loads)));
}

TEST_F(AboutWindow, WithoutAVersionFileSaysSoAndCountersShowBare) {
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(text(control(id_version)), L"Version file missing");
    EXPECT_EQ(text(control(id_stat_loads)), L"Loads: ");
    EXPECT_EQ(text(control(id_stat_alarms)), L"Alarms: ");
    close_about();
    CreateDirectoryA(version_path().c_str(), nullptr); // unreadable as a file
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(text(control(id_version)), L"Version file missing");
}

TEST_F(AboutWindow, CountersAreThoseOfTheOpeningAndASecondChoiceShowsTheSameWindow) {
    write_file(settings_path(), "[STATS]\r\nALARMS=1\r\nLOADS=3\r\n");
    HWND first = open();
    ASSERT_NE(first, nullptr);
    write_file(settings_path(), "[STATS]\r\nALARMS=2\r\nLOADS=3\r\n"); // an alarm fired meanwhile
    EXPECT_EQ(open(), first);
    EXPECT_EQ(count_windows(L"TocsinetAbout"), 1);
    EXPECT_EQ(text(control(id_stat_alarms)), L"Alarms: 1");
    click(control(id_about_ok));
    EXPECT_FALSE(IsWindow(first));
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(text(control(id_stat_alarms)), L"Alarms: 2");
}

TEST_F(AboutWindow, LeavesTheMainWindowAsTheOtherWindowsSetIt) {
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main_window));
    click(control(id_about_ok));
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(IsWindowEnabled(main_window));

    // OK here must not free the main window while the Options window holds it.
    ASSERT_NE(open(), nullptr);
    ASSERT_NE(show_options(GetModuleHandleW(nullptr), main_window), nullptr);
    EXPECT_FALSE(IsWindowEnabled(main_window));
    click(control(id_about_ok));
    EXPECT_FALSE(IsWindowEnabled(main_window));
    close_options();
    EXPECT_TRUE(IsWindowEnabled(main_window));
}

} // namespace
