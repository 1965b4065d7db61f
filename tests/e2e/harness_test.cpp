// The end-to-end harness itself: what the other end-to-end tests take on trust.
#include <windows.h>

#include <shellapi.h>

#include <thread>

#include <gtest/gtest.h>

#include "driver.h"

namespace {

using namespace e2e;

constexpr const wchar_t* player_class = L"Winamp v1.x";

TEST(Harness, TheShellOpensEveryAlarmFileTypeWithTheTestPlayer) {
    program_folder folder;
    for (const wchar_t* name : {L"wake up.mp3", L"list.m3u", L"tune.mid", L"ring.wav"}) {
        SCOPED_TRACE(narrow(name));
        std::wstring file = folder.write_file(name, "");
        ShellExecuteW(nullptr, L"Open", file.c_str(), L"", folder.path().c_str(), SW_SHOWNORMAL);
        EXPECT_TRUE(wait_for_line(player_log(file), "open " + narrow(file)));
        EXPECT_TRUE(wait_for_line(player_log(file), "ready"));

        HWND player = FindWindowW(player_class, nullptr);
        ASSERT_NE(player, nullptr);
        SendMessageW(player, WM_USER, 125, 122);
        SendMessageW(player, WM_USER, 0, 122);
        EXPECT_TRUE(wait_for_line(player_log(file), "volume 0 122"));
        EXPECT_EQ(read_lines(player_log(file)),
                  (std::vector<std::string>{"open " + narrow(file), "ready", "volume 125 122", "volume 0 122"}));
        PostMessageW(player, WM_CLOSE, 0, 0);
        EXPECT_TRUE(wait_until([] { return FindWindowW(player_class, nullptr) == nullptr; }));
    }
}

TEST(Harness, ThePlayerThatNeverGetsReadyStillLogsItsStart) {
    program_folder folder;
    std::wstring file = folder.write_file(L"silent.mp3", "");
    set_player_start(file, "never");
    SHELLEXECUTEINFOW open{sizeof open};
    open.fMask = SEE_MASK_NOCLOSEPROCESS;
    open.lpVerb = L"Open";
    open.lpFile = file.c_str();
    open.lpDirectory = folder.path().c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&open));
    platform::unique_kernel_handle player(open.hProcess);
    EXPECT_TRUE(wait_for_line(player_log(file), "open " + narrow(file)));
    EXPECT_EQ(read_lines(player_log(file)), std::vector<std::string>{"open " + narrow(file)});
    EXPECT_EQ(FindWindowW(player_class, nullptr), nullptr);
    // It would wait two minutes holding ctest's output open.
    if (player)
        TerminateProcess(player.get(), 0);
}

// A window of this test that stands in for a program's main window.
struct own_window {
    own_window() : window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr)) {}
    own_window(const own_window&) = delete;
    own_window& operator=(const own_window&) = delete;
    ~own_window() { DestroyWindow(window); }
    HWND window;
};

TEST(Harness, TheTrayRecorderLogsTheRecordsOfOneWindow) {
    own_window owner;
    own_window other;
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = owner.window;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_MOUSEMOVE;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(icon.szTip, L"Harness: Active  7:05 PM", 64);
    NOTIFYICONDATAW other_icon = icon;
    other_icon.hWnd = other.window;
    lstrcpynW(other_icon.szTip, L"someone else", 64);

    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &other_icon));
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &icon));
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    ASSERT_TRUE(wait_for_tray_record(owner.window, [](const tray_record& r) { return r.operation == "delete"; }));
    Shell_NotifyIconW(NIM_DELETE, &other_icon);

    std::vector<tray_record> records = tray_records(owner.window);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].operation, "add");
    EXPECT_EQ(records[0].id, 1u);
    EXPECT_EQ(records[0].flags, 7u);
    EXPECT_EQ(records[0].callback_message, 0x200u);
    EXPECT_EQ(records[0].tip, "Harness: Active  7:05 PM");
    EXPECT_EQ(records[1].operation, "delete");
}

TEST(Harness, MessageBoxesAreReadWithTheirTextAndIcon) {
    for (UINT icon : {static_cast<UINT>(MB_ICONWARNING), 0u}) {
        std::thread box([icon] { MessageBoxW(nullptr, L"A sentence for the test", L"Tocsinet", MB_OK | icon); });
        HWND found = nullptr;
        EXPECT_TRUE(wait_until([&] { return (found = find_window_of_process(GetCurrentProcessId(), message_box_class)); }));
        if (found) {
            EXPECT_EQ(text(found), L"Tocsinet");
            EXPECT_EQ(message_box_text(found), L"A sentence for the test");
            EXPECT_EQ(message_box_has_icon(found), icon != 0);
            click_button(found, L"OK");
            EXPECT_TRUE(wait_until([&] { return !IsWindow(found); }));
            box.join();
        } else {
            box.detach(); // nothing to answer it; the process ends with the test run
        }
    }
}

} // namespace
