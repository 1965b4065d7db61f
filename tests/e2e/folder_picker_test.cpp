// The folder picker the Options window opens: the default music directory, the player's directory
// with its check, and folders whose names the ANSI settings file cannot hold.
#include <windows.h>

#include <algorithm>
#include <string>
#include <tuple>

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
        HWND picker = wait_until_shown(app, forms::browse_dir_class), list = GetDlgItem(picker, forms::id_bd_dir);
        std::vector<std::wstring> entries = items(list);
        auto at = std::ranges::find_if(entries, [&](const std::wstring& e) { return e.ends_with(L" " + name); });
        EXPECT_TRUE(select_index(list, static_cast<int>(at - entries.begin()))) << narrow(name);
        notify_parent(list, LBN_DBLCLK);
        EXPECT_TRUE(wait_until([&] { return selected_text(list).ends_with(name); })) << narrow(name);
        EXPECT_FALSE(is_enabled(options));
        return picker;
    }
    std::wstring path_text(int id) const { return text(GetDlgItem(options, id)); }

    program_folder folder;
    program app = program::launch(folder);
    HWND options = nullptr;
};

// A music folder is taken with a backslash and no message; Cancel and Alt+F4 take nothing. A player
// folder is taken only with the executable, in any letter case; one without it is refused and the
// picker stays open, until the Options window closes and takes it along. The settings file is ANSI
// text: a folder outside its code page is kept by its short name, which still names it, so the
// alarm-file picker opens it afterwards. (Wine gives every folder a short name, so the refusal of a
// folder without one is not reached here.)
TEST_F(FolderPicker, TakesAMusicFolderAndAPlayerFolderWithTheExecutableOutsideTheCodePageToo) {
    const std::wstring outside = L"R\u00e9veil \u266b";
    for (UINT close : {WM_COMMAND, WM_SYSCOMMAND, BM_CLICK}) { // Cancel, Alt+F4, OK
        HWND picker = pick(forms::id_browse_music, outside);
        close == WM_SYSCOMMAND ? (void)PostMessageW(picker, WM_SYSCOMMAND, SC_CLOSE, 0)
                               : click_button(picker, close == BM_CLICK ? L"OK" : L"Cancel");
        ASSERT_TRUE(wait_until([&] { return !IsWindow(picker) && is_enabled(options); }));
        std::wstring taken = path_text(forms::id_default_path);
        EXPECT_TRUE(close == BM_CLICK ? taken.ends_with(L"\\") : taken.empty()) << narrow(taken);
    }

    folder.write_file(outside + L"\\wake.mp3", "");
    const std::wstring music = path_text(forms::id_default_path), upper = folder.file(L"Upper") + L"\\winamp.exe";
    HWND picker = nullptr;
    for (auto [name, file, path] : {std::tuple{outside, L"winamp.exe", music + L"winamp.exe"},
                                    {L"Upper", L"WINAMP.EXE", upper},
                                    {L"Empty", L"notes.txt", upper}}) {
        picker = pick(forms::id_browse_winamp, name);
        folder.write_file(name + L"\\" + file, "");
        click_button(picker, L"OK");
        bool found = std::wstring(file) != L"notes.txt";
        answer_message_box(app, found ? L"Winamp.exe found" : L"Winamp.exe could not be found", false);
        ASSERT_TRUE(wait_until([&] { return IsWindow(picker) == !found && is_enabled(options); }));
        EXPECT_EQ(path_text(forms::id_winamp_path), path); // unchanged when refused
    }
    click_button(options, L"OK"); // both can be used now
    ASSERT_TRUE(wait_until([&] { return !IsWindow(options) && !IsWindow(picker) && is_enabled(app.window()); }));
    click(app.control(forms::id_browse));
    HWND files = GetDlgItem(wait_until_shown(app, forms::browse_form_class), forms::id_bf_file);
    EXPECT_EQ(items(files), std::vector<std::wstring>{L"wake.mp3"});
}

} // namespace
