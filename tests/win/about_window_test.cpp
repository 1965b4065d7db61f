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
