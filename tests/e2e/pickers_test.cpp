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
        CreateDirectoryW(music.c_str(), nullptr);
        for (const wchar_t* name : {L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid", L"notes.txt", L"x.wav", L"hidden.mp3", L"system.wav"})
            folder.write_file(std::wstring(L"Music\\") + name, "");
        SetFileAttributesW((music + L"\\hidden.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW((music + L"\\system.wav").c_str(), FILE_ATTRIBUTE_SYSTEM);
        CreateDirectoryW((music + L"\\Rock").c_str(), nullptr);
    }
    // The picker reads the default folder at each opening.
    HWND open_picker(const std::wstring& default_path) {
        folder.write_settings(default_path.empty() ? "" : "[MUSIC]\r\nDEFAULT PATH=" + narrow(default_path) + "\r\n");
        click(app.control(forms::id_browse));
        HWND picker = app.wait_for_window(forms::browse_form_class);
        if (!picker || !wait_until([&] { return is_visible(picker); }))
            throw std::runtime_error("the alarm-file picker did not open");
        return picker;
    }
    static HWND files(HWND picker) { return GetDlgItem(picker, forms::id_bf_file); }
    static HWND folders(HWND picker) { return GetDlgItem(picker, forms::id_bf_dir); }
    void closed(HWND picker) {
        ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
        EXPECT_TRUE(wait_until([&] { return is_enabled(app.window()); }));
    }

    program_folder folder;
    std::wstring music = folder.path() + L"\\Music";
    program app = program::launch(folder);
};

TEST_F(Picker, OpensOnTheMainWindowsCornerInTheDefaultTheNearestOrTheCurrentFolder) {
    folder.write_file(L"here.mp3", "");
    const std::vector<std::wstring> four_types{L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid", L"x.wav"};
    struct {
        std::wstring default_path;
        std::vector<std::wstring> listed;
        UINT close_message; // Cancel, Alt+F4, Esc
    } cases[] = {{music, four_types, BM_CLICK}, {music + L"\\gone\\deeper", four_types, WM_SYSCOMMAND}, {L"", {L"here.mp3"}, WM_COMMAND}};
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.default_path));
        HWND picker = open_picker(c.default_path);
        EXPECT_EQ(items(files(picker)), c.listed);
        EXPECT_FALSE(is_enabled(app.window()));
        EXPECT_EQ(window_rect(picker).left, window_rect(app.window()).left);
        EXPECT_EQ(window_rect(picker).top, window_rect(app.window()).top);
        EXPECT_EQ(open_picker(c.default_path), picker); // a second Browse shows the same one
        if (c.close_message == BM_CLICK) { // the open folder's subfolders come last
            EXPECT_TRUE(items(folders(picker)).back().ends_with(L"Rock"));
        }
        if (c.close_message == WM_COMMAND) { // a single click only highlights, a double click opens
            std::vector<std::wstring> entries = items(folders(picker));
            auto at = std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.ends_with(L"Music"); });
            ASSERT_TRUE(select_index(folders(picker), static_cast<int>(at - entries.begin())));
            EXPECT_EQ(items(files(picker)), c.listed);
            notify_parent(folders(picker), LBN_DBLCLK);
            EXPECT_TRUE(wait_until([&] { return items(files(picker)) == four_types; }));
        }
        if (c.close_message == BM_CLICK) {
            click_button(picker, L"Cancel");
        } else {
            PostMessageW(picker, c.close_message, c.close_message == WM_SYSCOMMAND ? SC_CLOSE : IDCANCEL, 0);
        }
        closed(picker);
        EXPECT_EQ(text(app.control(forms::id_alarm_file)), L"no file");
    }
}

TEST_F(Picker, OkOrADoubleClickPutsTheFolderAndFileIntoTheMainWindowAndOnlyWithAFileChosen) {
    std::wstring root_file = L"C:\\tocsinet-" + std::to_wstring(GetCurrentProcessId()) + L".mp3";
    CloseHandle(CreateFileW(root_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    folder.write_file(L"Music\\\u266b r\u00e9veil \u65e9.mp3", ""); // outside the ANSI code page
    using choice = std::tuple<std::wstring, std::wstring, bool>; // folder, file, by a double click
    for (auto [default_path, name, double_click] : {choice{music, L"x.wav", false}, choice{L"C:\\", root_file.substr(3), false},
                                                    choice{music, L"\u266b r\u00e9veil \u65e9.mp3", true}}) {
        HWND picker = open_picker(default_path);
        // Nothing chosen: it asks for a file and stays open.
        double_click ? notify_parent(files(picker), LBN_DBLCLK) : click_button(picker, L"OK");
        HWND box = app.wait_for_window(message_box_class);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(message_box_text(box), L"Pick an alarm file");
        EXPECT_EQ(text(box), L"Tocsinet");
        EXPECT_TRUE(message_box_has_icon(box));
        click_button(box, L"OK");
        ASSERT_TRUE(wait_until([&] { return !IsWindow(box) && IsWindow(picker); }));

        ASSERT_TRUE(select(files(picker), name));
        double_click ? notify_parent(files(picker), LBN_DBLCLK) : click_button(picker, L"OK");
        closed(picker);
        EXPECT_EQ(text(app.control(forms::id_alarm_file)), default_path.size() == 3 ? root_file : music + L"\\" + name);
    }
    DeleteFileW(root_file.c_str());
}

TEST(VolumeLabel, FollowsTheSliderByMouseAndKeysAndShowsEveryValueWhole) {
    program_folder folder;
    program app = program::launch(folder);
    HWND slider = app.control(forms::id_volume);
    HWND label = app.control(forms::id_volume_perc);
    set_trackbar_position(slider, 0);
    EXPECT_TRUE(wait_until([&] { return text(label) == L"0%"; }));
    for (auto [key, shown] : {std::pair{VK_RIGHT, L"1%"}, {VK_NEXT, L"6%"}, {VK_END, L"100%"}}) {
        PostMessageW(slider, WM_KEYDOWN, key, 0);
        PostMessageW(slider, WM_KEYUP, key, 0xC0000000);
        EXPECT_TRUE(wait_until([&] { return text(label) == shown; })) << narrow(text(label));
    }
    // "100%" in the window's font fits the label.
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier New");
    HGDIOBJ old = SelectObject(screen, font);
    SIZE hundred{};
    GetTextExtentPoint32W(screen, L"100%", 4, &hundred);
    DeleteObject(SelectObject(screen, old));
    ReleaseDC(nullptr, screen);
    RECT shown;
    GetClientRect(label, &shown);
    EXPECT_LE(hundred.cx, shown.right);
    EXPECT_TRUE(app.close());
    EXPECT_EQ(folder.setting("TOCSINET", "VOLUME"), "100");
}

} // namespace
