// Choosing the alarm file: the picker's lists, what OK and Cancel leave behind, and the volume label.
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
    // A music folder of the test's own with the four types, other files and left-out ones.
    std::wstring make_music_folder() {
        std::wstring music = folder.path() + L"\\Music";
        CreateDirectoryW(music.c_str(), nullptr);
        for (const wchar_t* name : {L"Music\\a.mp3", L"Music\\B.WAV", L"Music\\c.m3u", L"Music\\d.mid",
                                    L"Music\\notes.txt", L"Music\\x.wav", L"Music\\hidden.mp3", L"Music\\system.wav"})
            folder.write_file(name, "");
        SetFileAttributesW((music + L"\\hidden.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW((music + L"\\system.wav").c_str(), FILE_ATTRIBUTE_SYSTEM);
        CreateDirectoryW((music + L"\\Rock").c_str(), nullptr);
        folder.write_file(L"Music\\Rock\\loud.mp3", "");
        return music;
    }

    program start_with_default(const std::wstring& default_path) {
        folder.write_settings("[MUSIC]\r\nDEFAULT PATH=" + narrow(default_path) + "\r\n");
        return program::launch(folder);
    }

    HWND open_picker(const program& app) {
        click(app.control(forms::id_browse));
        HWND picker = app.wait_for_window(forms::browse_form_class);
        // It shows once its lists are filled.
        if (!picker || !wait_until([&] { return is_visible(picker); }))
            throw std::runtime_error("the alarm-file picker did not open");
        return picker;
    }

    static HWND files(HWND picker) { return GetDlgItem(picker, forms::id_bf_file); }
    static HWND folders(HWND picker) { return GetDlgItem(picker, forms::id_bf_dir); }

    program_folder folder;
};

TEST_F(Picker, OpensInTheDefaultFolderOnTheMainWindowsCornerListingOnlyTheFourTypes) {
    program app = start_with_default(make_music_folder());
    HWND picker = open_picker(app);
    EXPECT_EQ(items(files(picker)), (std::vector<std::wstring>{L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid", L"x.wav"}));
    EXPECT_FALSE(is_enabled(app.window()));
    RECT main_rect = window_rect(app.window());
    RECT picker_rect = window_rect(picker);
    EXPECT_EQ(picker_rect.left, main_rect.left);
    EXPECT_EQ(picker_rect.top, main_rect.top);
    // The way down from the drive, then the open folder's subfolders.
    std::wstring open_folder = selected_text(folders(picker));
    EXPECT_NE(open_folder.find(L"Music"), std::wstring::npos) << narrow(open_folder);
    EXPECT_NE(items(folders(picker)).back().find(L"Rock"), std::wstring::npos);

    // A second Browse shows the same picker.
    EXPECT_EQ(open_picker(app), picker);
    EXPECT_TRUE(app.close());
    EXPECT_FALSE(IsWindow(picker));
}

TEST_F(Picker, OkPutsTheFolderAndFileIntoTheMainWindowAndGivesItBack) {
    std::wstring music = make_music_folder();
    program app = start_with_default(music);
    HWND picker = open_picker(app);
    ASSERT_TRUE(select(files(picker), L"x.wav"));
    click_button(picker, L"OK");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_EQ(text(app.control(forms::id_alarm_file)), music + L"\\x.wav");
    EXPECT_TRUE(wait_until([&] { return is_enabled(app.window()); }));
    EXPECT_TRUE(app.close());
}

TEST_F(Picker, InADriveRootThePathHasOneBackslash) {
    // A file of this test's own in the root of drive C:.
    std::wstring name = L"tocsinet-" + std::to_wstring(GetCurrentProcessId()) + L".mp3";
    std::wstring path = L"C:\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    program app = start_with_default(L"C:\\");
    HWND picker = open_picker(app);
    ASSERT_TRUE(select(files(picker), name));
    click_button(picker, L"OK");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_EQ(text(app.control(forms::id_alarm_file)), path);
    EXPECT_TRUE(app.close());
    DeleteFileW(path.c_str());
}

TEST_F(Picker, OkWithNothingChosenAsksForAFileAndStaysOpen) {
    program app = start_with_default(make_music_folder());
    HWND picker = open_picker(app);
    click_button(picker, L"OK");
    HWND box = app.wait_for_window(message_box_class);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(message_box_text(box), L"Pick an alarm file");
    EXPECT_EQ(text(box), L"Tocsinet");
    EXPECT_TRUE(message_box_has_icon(box));
    click_button(box, L"OK");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(picker));
    EXPECT_EQ(text(app.control(forms::id_alarm_file)), L"no file");

    // A double click on a file is a choice and OK at once.
    ASSERT_TRUE(select(files(picker), L"d.mid"));
    notify_parent(files(picker), LBN_DBLCLK);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_NE(text(app.control(forms::id_alarm_file)).find(L"\\Music\\d.mid"), std::wstring::npos);
    EXPECT_TRUE(app.close());
}

TEST_F(Picker, EveryWayOfClosingItGivesTheMainWindowBackUntouched) {
    program app = start_with_default(make_music_folder());
    HWND picker = open_picker(app);
    ASSERT_TRUE(select(files(picker), L"a.mp3"));
    click_button(picker, L"Cancel");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_TRUE(wait_until([&] { return is_enabled(app.window()); }));
    EXPECT_EQ(text(app.control(forms::id_alarm_file)), L"no file");

    // Alt+F4 on a window without a title bar still closes it through the system command.
    picker = open_picker(app);
    PostMessageW(picker, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_TRUE(wait_until([&] { return is_enabled(app.window()); }));

    // The Escape key acts as Cancel.
    picker = open_picker(app);
    PostMessageW(picker, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_TRUE(wait_until([&] { return is_enabled(app.window()); }));
    EXPECT_TRUE(app.close());
}

TEST_F(Picker, AStoredFolderThatIsGoneOpensTheNearestOneAbove) {
    std::wstring music = make_music_folder();
    program app = start_with_default(music + L"\\gone\\deeper");
    HWND picker = open_picker(app);
    EXPECT_EQ(items(files(picker)).size(), 5u);
    EXPECT_NE(selected_text(folders(picker)).find(L"Music"), std::wstring::npos);
    EXPECT_FALSE(is_enabled(app.window()));
    EXPECT_TRUE(app.close());
}

TEST_F(Picker, WithoutADefaultItOpensInTheCurrentDirectoryAndFoldersOpenOnDoubleClick) {
    make_music_folder();
    folder.write_file(L"here.mp3", "");
    program app = program::launch(folder);
    HWND picker = open_picker(app);
    EXPECT_EQ(items(files(picker)), std::vector<std::wstring>{L"here.mp3"});

    std::vector<std::wstring> entries = items(folders(picker));
    auto music = std::find_if(entries.begin(), entries.end(), [](const std::wstring& e) { return e.find(L"Music") != std::wstring::npos; });
    ASSERT_NE(music, entries.end());
    ASSERT_TRUE(select_index(folders(picker), static_cast<int>(music - entries.begin())));
    // A single click only highlights.
    EXPECT_EQ(items(files(picker)), std::vector<std::wstring>{L"here.mp3"});
    notify_parent(folders(picker), LBN_DBLCLK);
    ASSERT_TRUE(wait_until([&] { return items(files(picker)).size() == 5; }));
    EXPECT_TRUE(app.close());
}

TEST_F(Picker, NamesOutsideTheAnsiCodePageArePickedAsTheyAre) {
    std::wstring music = make_music_folder();
    folder.write_file(L"Music\\\u266b r\u00e9veil \u65e9.mp3", "");
    program app = start_with_default(music);
    HWND picker = open_picker(app);
    ASSERT_TRUE(select(files(picker), L"\u266b r\u00e9veil \u65e9.mp3"));
    click_button(picker, L"OK");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_EQ(text(app.control(forms::id_alarm_file)), music + L"\\\u266b r\u00e9veil \u65e9.mp3");
    EXPECT_TRUE(app.close());
}

TEST(VolumeLabel, FollowsTheSliderByMouseAndKeys) {
    program_folder folder;
    program app = program::launch(folder);
    HWND slider = app.control(forms::id_volume);
    HWND label = app.control(forms::id_volume_perc);
    auto key = [&](UINT vk) {
        PostMessageW(slider, WM_KEYDOWN, vk, 0);
        PostMessageW(slider, WM_KEYUP, vk, 0xC0000000);
    };
    set_trackbar_position(slider, 0);
    EXPECT_TRUE(wait_until([&] { return text(label) == L"0%"; }));
    key(VK_RIGHT);
    EXPECT_TRUE(wait_until([&] { return text(label) == L"1%"; })) << narrow(text(label));
    key(VK_NEXT);
    EXPECT_TRUE(wait_until([&] { return text(label) == L"6%"; })) << narrow(text(label));
    key(VK_END);
    EXPECT_TRUE(wait_until([&] { return text(label) == L"100%"; })) << narrow(text(label));
    key(VK_PRIOR);
    EXPECT_TRUE(wait_until([&] { return text(label) == L"95%"; })) << narrow(text(label));
    EXPECT_EQ(trackbar_position(slider), 95);
    EXPECT_TRUE(app.close());
    EXPECT_EQ(folder.setting("TOCSINET", "VOLUME"), "95");
}

} // namespace
