// Choosing the alarm file and the Options window's folders: where the pickers open, what OK, a
// double click and the ways of closing leave behind, the player's directory with its check, and
// folders whose names the ANSI settings file cannot hold.
#include <algorithm>
#include <tuple>

#include "browse_dir.h"
#include "browse_form.h"
#include "driver.h"
#include "options_ids.h"

namespace {

using namespace e2e;

// The alarm-file picker opens in the default folder, the nearest existing one, or the current
// folder, listing no hidden or system file and no hidden folder, and Cancel, Alt+F4 and Esc take nothing. OK
// or a double click with no file chosen asks for one and keeps it open; a drive root gets one backslash, a
// folder one between it and the file; a name outside the ANSI code page comes through whole.
//
// The folder picker (from a "..." of the Options window, in the program's folder, the current
// directory) takes a music folder with a backslash and no message; Cancel and Alt+F4 take nothing.
// A player folder is taken only with the executable, in any letter case; one without it is refused
// and the picker stays open, until the Options window closes and takes it along. A folder outside
// the code page is kept by its short name, which still names it, so the alarm-file picker opens it
// afterwards. (Wine gives every folder a short name, so the refusal of a folder without one is not
// reached here.)
TEST(Pickers, TakeTheFileOrFolderChosenOnlyWithOkOrADoubleClickOutsideTheCodePageToo) {
    program_folder folder;
    const std::wstring music = folder.file(L"Music");
    ASSERT_TRUE(CreateDirectoryW(music.c_str(), nullptr));
    program app = program::launch(folder);
    // The picker reads the default folder at each opening.
    auto open_picker = [&](const std::wstring& default_path) {
        folder.write_settings(default_path.empty() ? "" : "[MUSIC]\r\nDEFAULT PATH=" + narrow(default_path) + "\r\n");
        click(app.control(forms::id_browse));
        return app.wait_for_window(forms::browse_form_class);
    };
    for (const wchar_t* name :
         {L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid", L"notes.txt", L"hidden.mp3", L"system.wav"})
        folder.write_file(std::wstring(L"Music\\") + name, "");
    // Hidden and system files and hidden folders are left out.
    CreateDirectoryW(folder.file(L"Music\\secret").c_str(), nullptr);
    for (auto [name, attributes] : {std::pair{L"Music\\secret", FILE_ATTRIBUTE_HIDDEN},
                                    {L"Music\\hidden.mp3", FILE_ATTRIBUTE_HIDDEN},
                                    {L"Music\\system.wav", FILE_ATTRIBUTE_SYSTEM}})
        SetFileAttributesW(folder.file(name).c_str(), attributes);
    folder.write_file(L"here.mp3", "");
    const std::vector<std::wstring> music_files{L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid"}, here{L"here.mp3"};
    for (auto [start, close] :
         {std::pair{music, BM_CLICK}, {music + L"\\gone\\deeper", WM_SYSCOMMAND}, {L"", WM_COMMAND}}) {
        HWND picker = open_picker(start);
        EXPECT_TRUE(open_picker(start) == picker && !is_enabled(app.window())); // a second Browse shows the same one
        EXPECT_EQ(items(GetDlgItem(picker, forms::id_bf_file)), start.empty() ? here : music_files) << narrow(start);
        // The root, e2e, the program folder and Music, open or below it: no ".", "..", nor a hidden one.
        EXPECT_EQ(items(GetDlgItem(picker, forms::id_bf_dir)).size(), 4u);
        close == BM_CLICK ? click_button(picker, L"Cancel")
                          : (void)PostMessageW(picker, close, close == WM_COMMAND ? IDCANCEL : SC_CLOSE, 0);
        ASSERT_TRUE(wait_until([&] { return !IsWindow(picker) && is_enabled(app.window()); }));
        EXPECT_EQ(text(app.control(forms::id_alarm_file)), L"no file");
    }
    std::wstring root_file = L"C:\\tocsinet-" + std::to_wstring(GetCurrentProcessId()) + L".mp3";
    CloseHandle(CreateFileW(root_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    for (auto [path, double_click] :
         {std::pair{root_file, false}, {folder.write_file(L"Music\\\u266b r\u00e9veil \u65e9.mp3", ""), true}}) {
        std::size_t slash = path.rfind(L'\\');
        HWND picker = open_picker(path.substr(0, slash == 2 ? 3 : slash));
        HWND files = GetDlgItem(picker, forms::id_bf_file);
        double_click ? notify_parent(files, LBN_DBLCLK) : click_button(picker, L"OK"); // nothing chosen yet
        answer_message_box(app, L"Pick an alarm file", true);
        ASSERT_TRUE(select(files, path.substr(slash + 1)));
        double_click ? notify_parent(files, LBN_DBLCLK) : click_button(picker, L"OK");
        ASSERT_TRUE(wait_until([&] { return !IsWindow(picker) && is_enabled(app.window()); }));
        EXPECT_EQ(text(app.control(forms::id_alarm_file)), path);
    }
    DeleteFileW(root_file.c_str());

    folder.write_settings(""); // no default folder in the Options window
    HWND options = app.open(forms::id_mnuoptions, L"TocsinetOptions");
    auto path_text = [&](int id) { return text(GetDlgItem(options, id)); };
    // Opens the folder picker from a "..." button and there the subfolder `name`, as a double click does.
    auto pick = [&](int button, const std::wstring& name) {
        CreateDirectoryW(folder.file(name).c_str(), nullptr);
        click(GetDlgItem(options, button));
        HWND picker = app.wait_for_window(forms::browse_dir_class), list = GetDlgItem(picker, forms::id_bd_dir);
        std::vector<std::wstring> entries = items(list);
        auto at = std::ranges::find_if(entries, [&](const std::wstring& e) { return e.ends_with(L" " + name); });
        EXPECT_TRUE(select_index(list, static_cast<int>(at - entries.begin()))) << narrow(name);
        notify_parent(list, LBN_DBLCLK); // the folders OK takes below prove that it opened
        EXPECT_FALSE(is_enabled(options));
        return picker;
    };
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
    const std::wstring short_music = path_text(forms::id_default_path);
    const std::wstring upper = folder.file(L"Upper") + L"\\winamp.exe";
    HWND picker = nullptr;
    for (auto [name, file, path] : {std::tuple{outside, L"winamp.exe", short_music + L"winamp.exe"},
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
    HWND files = GetDlgItem(app.wait_for_window(forms::browse_form_class), forms::id_bf_file);
    EXPECT_EQ(items(files), std::vector<std::wstring>{L"wake.mp3"});
}

} // namespace
