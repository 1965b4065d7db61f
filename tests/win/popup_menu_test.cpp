#include "alarm.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "window_test_support.h"

namespace {

using namespace window_tests;

// The main window's menu commands, chosen as the popup menu posts them.
TEST(PopupMenu, CommandsOpenEachWindowOnceAndShutdownClosesThem) {
    DeleteFileA(settings_path().c_str());
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(forms::register_alarm_class(instance));
    HWND main_window = forms::show_alarm_window(instance, SW_SHOWNORMAL);
    ASSERT_NE(main_window, nullptr);
    auto choose = [&](int id) {
        SendMessageW(main_window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        pump();
    };

    choose(forms::id_mnuabout);
    EXPECT_EQ(count_windows(L"TocsinetAbout"), 1);
    EXPECT_TRUE(IsWindowEnabled(main_window));
    choose(forms::id_mnuabout);
    EXPECT_EQ(count_windows(L"TocsinetAbout"), 1);

    choose(forms::id_mnuoptions);
    EXPECT_EQ(count_windows(L"TocsinetOptions"), 1);
    EXPECT_FALSE(IsWindowEnabled(main_window));
    choose(forms::id_mnuoptions);
    EXPECT_EQ(count_windows(L"TocsinetOptions"), 1);

    SendMessageW(main_window, WM_CLOSE, 0, 0);
    pump();
    EXPECT_FALSE(IsWindow(main_window));
    EXPECT_EQ(count_windows(L"TocsinetAbout"), 0);
    // The main window ends the program's loop; nothing else here runs one.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    for (HWND left; (left = FindWindowW(L"TocsinetOptions", nullptr));)
        DestroyWindow(left);
    DeleteFileA(settings_path().c_str());
}

} // namespace
