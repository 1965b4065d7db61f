// The folder picker the Options window opens: the player's directory with its check, the default
// music directory, and folders whose names the ANSI settings file cannot hold.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "alarm.h"
#include "browse_dir.h"
#include "browse_form.h"
#include "driver.h"
#include "options_ids.h"

namespace {

using namespace e2e;

class FolderPicker : public ::testing::Test {
  protected:
    void SetUp() override {
        PostMessageW(app.window(), WM_COMMAND, forms::id_mnuoptions, 0);
        options = wait_until_shown(app, L"TocsinetOptions");
    }
    // Opens the picker from a "..." button (it starts in the program's folder, the current
    // directory) and there the subfolder `name`, as a double click does.
    HWND pick(int button, const std::wstring& name) {
        CreateDirectoryW(folder.file(name).c_str(), nullptr);
        click(GetDlgItem(options, button));
        HWND picker = wait_until_shown(app, forms::browse_dir_class);
        HWND list = GetDlgItem(picker, forms::id_bd_dir);
        std::vector<std::wstring> entries = items(list);
        auto at = std::find_if(entries.begin(), entries.end(), [&](auto& e) { return e.ends_with(L" " + name); });
        if (at == entries.end() || !select_index(list, static_cast<int>(at - entries.begin())))
            throw std::runtime_error("no folder " + narrow(name) + " in " + std::to_string(entries.size()) + " entries");
        notify_parent(list, LBN_DBLCLK);
        if (!wait_until([&] { return selected_text(list).ends_with(name); }))
            throw std::runtime_error("the folder did not open");
        return picker;
    }
    std::wstring path_text(int id) const { return text(GetDlgItem(options, id)); }

    program_folder folder;
    program app = program::launch(folder);
    HWND options = nullptr;
};

// A folder with the player's executable, in any letter case, is taken with its path; one without
// it is refused and the picker stays open, until the Options window closes and takes it along.
TEST_F(FolderPicker, APlayerDirectoryIsCheckedForTheExecutable) {
    HWND picker = nullptr;
    for (auto [name, file] : {std::pair{L"Player", L"winamp.exe"}, {L"Upper", L"WINAMP.EXE"}, {L"Empty", L""}}) {
        CreateDirectoryW(folder.file(name).c_str(), nullptr);
        folder.write_file(std::wstring(name) + L"\\" + (*file ? file : L"notes.txt"), "");
        picker = pick(forms::id_browse_winamp, name);
        EXPECT_TRUE(path_text(forms::id_which) == L"0" && !is_enabled(options));
        EXPECT_TRUE(window_rect(picker).left == window_rect(options).left &&
                    window_rect(picker).top == window_rect(options).top);
        click_button(picker, L"OK");
        answer_message_box(app, *file ? L"Winamp.exe found" : L"Winamp.exe could not be found", false);
        ASSERT_TRUE(wait_until([&] { return IsWindow(picker) == !*file && is_enabled(options); }));
        EXPECT_EQ(path_text(forms::id_winamp_path), folder.file(*file ? name : L"Upper") + L"\\winamp.exe"); // unchanged when refused
    }
    click_button(options, L"Cancel"); // both can be used now
    EXPECT_TRUE(wait_until([&] { return !IsWindow(options) && !IsWindow(picker) && is_enabled(app.window()); }));
}

TEST_F(FolderPicker, TheMusicDirectoryIsTakenWithABackslashCancelAndAltF4TakeNothing) {
    for (UINT close : {0u, 1u, 2u}) { // Cancel, Alt+F4, OK
        HWND picker = pick(forms::id_browse_music, L"Music");
        EXPECT_EQ(path_text(forms::id_which), L"1");
        close == 0 ? click_button(picker, L"Cancel") : close == 1 ? (void)PostMessageW(picker, WM_SYSCOMMAND, SC_CLOSE, 0) : click_button(picker, L"OK");
        ASSERT_TRUE(wait_until([&] { return !IsWindow(picker) && is_enabled(options); }));
        EXPECT_EQ(path_text(forms::id_default_path), close == 2 ? folder.file(L"Music") + L"\\" : L"");
    }
    EXPECT_EQ(app.find_window(message_box_class), nullptr);
}

// The settings file is ANSI text: the folder is kept by its short name, which still names it.
// (Wine gives every folder a short name, so the refusal of a folder without one is not reached here.)
TEST_F(FolderPicker, AFolderOutsideTheCodePageIsSavedByANameTheAlarmFilePickerOpens) {
    std::wstring name = L"R\u00e9veil \u266b";
    CreateDirectoryW(folder.file(name).c_str(), nullptr);
    folder.write_file(name + L"\\" + L"winamp.exe", "");
    folder.write_file(name + L"\\" + L"wake.mp3", "");
    click_button(pick(forms::id_browse_music, name), L"OK");
    ASSERT_TRUE(wait_until([&] { return !path_text(forms::id_default_path).empty(); }));
    click_button(pick(forms::id_browse_winamp, name), L"OK");
    answer_message_box(app, L"Winamp.exe found", false);
    ASSERT_TRUE(wait_until([&] { return is_enabled(options); }));
    std::wstring music = path_text(forms::id_default_path);
    EXPECT_EQ(path_text(forms::id_winamp_path), music + L"winamp.exe");
    click_button(options, L"OK");
    ASSERT_TRUE(wait_until([&] { return is_enabled(app.window()); }));
    EXPECT_EQ(widen(folder.setting("MUSIC", "DEFAULT PATH")), music); // whole, no "?"
    click(app.control(forms::id_browse));
    HWND picker = app.wait_for_window(forms::browse_form_class);
    EXPECT_TRUE(wait_until([&] { return items(GetDlgItem(picker, forms::id_bf_file)) == std::vector<std::wstring>{L"wake.mp3"}; }));
}

} // namespace
