// Choosing the alarm file: where the picker opens, what it lists, what OK, a double click and the
// ways of closing leave behind, and the volume label.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "alarm.h"
#include "browse_form.h"
#include "driver.h"

namespace {

using namespace e2e;

class Picker : public ::testing::Test {
  protected:
    // A music folder of the test's own: the four types, other files, left-out ones, a subfolder.
    void SetUp() override {
        for (const wchar_t* name : {L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid", L"x.wav", L"notes.txt", L"hidden.mp3", L"system.wav"})
            folder.write_file(std::wstring(L"Music\\") + name, "");
        SetFileAttributesW((music + L"\\hidden.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW((music + L"\\system.wav").c_str(), FILE_ATTRIBUTE_SYSTEM);
        CreateDirectoryW((music + L"\\Rock").c_str(), nullptr);
    }
    // The picker reads the default folder at each opening.
    HWND open_picker(const std::wstring& default_path) {
        folder.write_settings(default_path.empty() ? "" : "[MUSIC]\r\nDEFAULT PATH=" + narrow(default_path) + "\r\n");
        click(app.control(forms::id_browse));
        return wait_until_shown(app, forms::browse_form_class);
    }
    void closed(HWND picker) {
        ASSERT_TRUE(wait_until([&] { return !IsWindow(picker) && is_enabled(app.window()); }));
    }

    program_folder folder;
    std::wstring music = folder.path() + L"\\Music";
    bool made = CreateDirectoryW(music.c_str(), nullptr);
    program app = program::launch(folder);
};

TEST_F(Picker, OpensOnTheMainWindowsCornerInTheDefaultTheNearestOrTheCurrentFolder) {
    folder.write_file(L"here.mp3", "");
    const std::vector<std::wstring> four_types{L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid", L"x.wav"};
    for (auto [start, close] : {std::pair{music, BM_CLICK}, {music + L"\\gone\\deeper", WM_SYSCOMMAND}, {L"", WM_COMMAND}}) {
        HWND picker = open_picker(start); // closed with Cancel, Alt+F4, Esc
        HWND files = GetDlgItem(picker, forms::id_bf_file), folders = GetDlgItem(picker, forms::id_bf_dir);
        EXPECT_EQ(items(files), start.empty() ? std::vector<std::wstring>{L"here.mp3"} : four_types) << narrow(start);
        EXPECT_TRUE(!is_enabled(app.window()) && window_rect(picker).left == window_rect(app.window()).left &&
                    window_rect(picker).top == window_rect(app.window()).top);
        EXPECT_EQ(open_picker(start), picker); // a second Browse shows the same one
        EXPECT_EQ(items(folders).back().ends_with(L"Rock"), !start.empty()); // the open folder's subfolders last
        if (start.empty()) { // a single click only highlights a folder, a double click opens it
            ASSERT_TRUE(select_index(folders, static_cast<int>(items(folders).size()) - 1));
            EXPECT_EQ(items(files), std::vector<std::wstring>{L"here.mp3"});
            notify_parent(folders, LBN_DBLCLK);
            EXPECT_TRUE(wait_until([&] { return items(files) == four_types; }));
        }
        close == BM_CLICK ? click_button(picker, L"Cancel") : (void)PostMessageW(picker, close, close == WM_COMMAND ? IDCANCEL : SC_CLOSE, 0);
        closed(picker);
        EXPECT_EQ(text(app.control(forms::id_alarm_file)), L"no file");
    }
}

TEST_F(Picker, OkOrADoubleClickTakesTheFolderAndFileButOnlyWithAFileChosen) {
    std::wstring root_file = L"C:\\tocsinet-" + std::to_wstring(GetCurrentProcessId()) + L".mp3";
    CloseHandle(CreateFileW(root_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::wstring outside = L"\u266b r\u00e9veil \u65e9.mp3"; // outside the ANSI code page
    folder.write_file(L"Music\\" + outside, "");
    for (auto [path, double_click] : {std::pair{music + L"\\x.wav", false}, {root_file, false}, {music + L"\\" + outside, true}}) {
        HWND picker = open_picker(path.substr(0, path.rfind(L'\\') == 2 ? 3 : path.rfind(L'\\')));
        HWND files = GetDlgItem(picker, forms::id_bf_file);
        for (bool chosen : {false, true}) { // nothing chosen: it asks for a file and stays open
            ASSERT_TRUE(!chosen || select(files, path.substr(path.rfind(L'\\') + 1)));
            double_click ? notify_parent(files, LBN_DBLCLK) : click_button(picker, L"OK");
            if (!chosen)
                answer_message_box(app, L"Pick an alarm file", true);
        }
        closed(picker);
        EXPECT_EQ(text(app.control(forms::id_alarm_file)), path);
    }
    DeleteFileW(root_file.c_str());
}

TEST(VolumeLabel, FollowsTheSliderByMouseAndKeysAndShowsEveryValueWhole) {
    program_folder folder;
    program app = program::launch(folder);
    HWND slider = app.control(forms::id_volume), label = app.control(forms::id_volume_perc);
    set_trackbar_position(slider, 0);
    EXPECT_TRUE(wait_until([&] { return text(label) == L"0%"; }));
    for (auto [key, shown] : {std::pair{VK_RIGHT, L"1%"}, {VK_NEXT, L"6%"}, {VK_END, L"100%"}}) {
        PostMessageW(slider, WM_KEYDOWN, key, 0);
        EXPECT_TRUE(wait_until([&] { return text(label) == shown; })) << narrow(text(label));
    }
    // "100%" in the window's font fits the label.
    HDC screen = GetDC(nullptr);
    SelectObject(screen, CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier New"));
    SIZE hundred{};
    GetTextExtentPoint32W(screen, L"100%", 4, &hundred);
    EXPECT_LE(hundred.cx, window_rect(label).right - window_rect(label).left);
    EXPECT_TRUE(app.close());
    EXPECT_EQ(folder.setting("TOCSINET", "VOLUME"), "100");
}

} // namespace
