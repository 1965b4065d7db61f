// The folder picker the Options window opens: the player's directory with its check, and the
// default music directory.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "alarm.h"
#include "browse_dir.h"
#include "driver.h"
#include "options_ids.h"

namespace {

using namespace e2e;

class FolderPicker : public ::testing::Test {
  protected:
    void SetUp() override {
        app = program::launch(folder);
        PostMessageW(app->window(), WM_COMMAND, forms::id_mnuoptions, 0);
        options = app->wait_for_window(L"TocsinetOptions");
        ASSERT_NE(options, nullptr);
    }

    // Opens the picker from one of the two "..." buttons, in `start` (the program's current
    // directory is its folder, so the picker starts there and the test double-clicks its way).
    HWND open_picker(int button) {
        click(GetDlgItem(options, button));
        HWND picker = app->wait_for_window(forms::browse_dir_class);
        if (!picker || !wait_until([&] { return is_visible(picker); }))
            throw std::runtime_error("the folder picker did not open");
        return picker;
    }

    // Opens the subfolder of the picker's current folder with this name, as a double click does.
    static void open_subfolder(HWND picker, const std::wstring& name) {
        HWND list = GetDlgItem(picker, forms::id_bd_dir);
        std::vector<std::wstring> entries = items(list);
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].size() >= name.size() && entries[i].compare(entries[i].size() - name.size(), name.size(), name) == 0) {
                ASSERT_TRUE(select_index(list, static_cast<int>(i)));
                notify_parent(list, LBN_DBLCLK);
                ASSERT_TRUE(wait_until([&] { return selected_text(list).ends_with(name); }));
                return;
            }
        FAIL() << "no folder " << narrow(name) << " in the list";
    }

    HWND wait_for_box() const {
        HWND box = app->wait_for_window(message_box_class);
        if (!box)
            throw std::runtime_error("no message box");
        return box;
    }

    std::wstring make_folder(const std::wstring& name) {
        std::wstring path = folder.path() + L"\\" + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

    program_folder folder;
    std::optional<program> app;
    HWND options = nullptr;
};

TEST_F(FolderPicker, APlayerDirectoryWithTheExecutableIsTakenWithItsPath) {
    std::wstring player = make_folder(L"Player");
    folder.write_file(L"Player\\winamp.exe", "");
    HWND picker = open_picker(forms::id_browse_winamp);
    EXPECT_EQ(text(GetDlgItem(options, forms::id_which)), L"0");
    EXPECT_FALSE(is_enabled(options));
    RECT options_rect = window_rect(options);
    RECT picker_rect = window_rect(picker);
    EXPECT_EQ(picker_rect.left, options_rect.left);
    EXPECT_EQ(picker_rect.top, options_rect.top);

    open_subfolder(picker, L"Player");
    click_button(picker, L"OK");
    HWND box = wait_for_box();
    EXPECT_EQ(message_box_text(box), L"Winamp.exe found");
    EXPECT_FALSE(message_box_has_icon(box));
    click_button(box, L"OK");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_EQ(text(GetDlgItem(options, forms::id_winamp_path)), player + L"\\winamp.exe");
    EXPECT_TRUE(wait_until([&] { return is_enabled(options); }));
}

TEST_F(FolderPicker, TheCheckIgnoresLetterCase) {
    std::wstring player = make_folder(L"Upper");
    folder.write_file(L"Upper\\WINAMP.EXE", "");
    HWND picker = open_picker(forms::id_browse_winamp);
    open_subfolder(picker, L"Upper");
    click_button(picker, L"OK");
    HWND box = wait_for_box();
    EXPECT_EQ(message_box_text(box), L"Winamp.exe found");
    click_button(box, L"OK");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_EQ(text(GetDlgItem(options, forms::id_winamp_path)), player + L"\\winamp.exe");
}

TEST_F(FolderPicker, AFolderWithoutThePlayerSaysSoAndStaysOpenUntilTheOptionsClose) {
    make_folder(L"Empty");
    SetWindowTextW(GetDlgItem(options, forms::id_winamp_path), L"C:\\Before\\winamp.exe");
    HWND picker = open_picker(forms::id_browse_winamp);
    open_subfolder(picker, L"Empty");
    click_button(picker, L"OK");
    HWND box = wait_for_box();
    EXPECT_EQ(message_box_text(box), L"Winamp.exe could not be found");
    EXPECT_FALSE(message_box_has_icon(box));
    click_button(box, L"OK");
    ASSERT_TRUE(wait_until([&] { return is_enabled(options); }));
    EXPECT_TRUE(IsWindow(picker));
    EXPECT_EQ(text(GetDlgItem(options, forms::id_winamp_path)), L"C:\\Before\\winamp.exe");

    // Both can be used now; closing the Options window takes the picker with it.
    click_button(options, L"Cancel");
    EXPECT_TRUE(wait_until([&] { return !IsWindow(options) && !IsWindow(picker); }));
    EXPECT_TRUE(wait_until([&] { return is_enabled(app->window()); }));
    EXPECT_TRUE(app->close());
}

TEST_F(FolderPicker, TheMusicDirectoryIsTakenWithATrailingBackslash) {
    std::wstring music = make_folder(L"Music");
    HWND picker = open_picker(forms::id_browse_music);
    EXPECT_EQ(text(GetDlgItem(options, forms::id_which)), L"1");
    open_subfolder(picker, L"Music");
    click_button(picker, L"OK");
    ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
    EXPECT_EQ(text(GetDlgItem(options, forms::id_default_path)), music + L"\\");
    EXPECT_TRUE(wait_until([&] { return is_enabled(options); }));
    EXPECT_EQ(app->find_window(message_box_class), nullptr);
}

TEST_F(FolderPicker, CancelAndAltF4WriteNothingAndGiveTheOptionsBack) {
    make_folder(L"Music");
    for (bool alt_f4 : {false, true}) {
        HWND picker = open_picker(forms::id_browse_music);
        open_subfolder(picker, L"Music");
        if (alt_f4)
            PostMessageW(picker, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            click_button(picker, L"Cancel");
        ASSERT_TRUE(wait_until([&] { return !IsWindow(picker); }));
        EXPECT_TRUE(wait_until([&] { return is_enabled(options); }));
        EXPECT_EQ(text(GetDlgItem(options, forms::id_default_path)), L"");
    }
}

} // namespace
