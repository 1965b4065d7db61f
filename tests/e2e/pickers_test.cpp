// Choosing the alarm file: where the picker opens, and what OK, a double click and the ways of
// closing leave behind.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "alarm.h"
#include "browse_form.h"
#include "driver.h"

namespace {

using namespace e2e;

class Picker : public ::testing::Test {
  protected:
    // The picker reads the default folder at each opening.
    HWND open_picker(const std::wstring& default_path) {
        folder.write_settings(default_path.empty() ? "" : "[MUSIC]\r\nDEFAULT PATH=" + narrow(default_path) + "\r\n");
        click(app.control(forms::id_browse));
        return wait_until_shown(app, forms::browse_form_class);
    }

    program_folder folder;
    std::wstring music = folder.file(L"Music");
    bool made = CreateDirectoryW(music.c_str(), nullptr);
    program app = program::launch(folder);
};

// In the default folder, the nearest existing one, or the current folder; closed with Cancel, Alt+F4, Esc.
TEST_F(Picker, OpensInTheDefaultTheNearestOrTheCurrentFolderAndClosingTakesNothing) {
    for (const wchar_t* name : {L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid", L"notes.txt"})
        folder.write_file(std::wstring(L"Music\\") + name, "");
    folder.write_file(L"here.mp3", "");
    const std::vector<std::wstring> music_files{L"a.mp3", L"B.WAV", L"c.m3u", L"d.mid"}, here{L"here.mp3"};
    for (auto [start, close] :
         {std::pair{music, BM_CLICK}, {music + L"\\gone\\deeper", WM_SYSCOMMAND}, {L"", WM_COMMAND}}) {
        HWND picker = open_picker(start);
        EXPECT_TRUE(open_picker(start) == picker && !is_enabled(app.window())); // a second Browse shows the same one
        EXPECT_EQ(items(GetDlgItem(picker, forms::id_bf_file)), start.empty() ? here : music_files) << narrow(start);
        close == BM_CLICK ? click_button(picker, L"Cancel")
                          : (void)PostMessageW(picker, close, close == WM_COMMAND ? IDCANCEL : SC_CLOSE, 0);
        ASSERT_TRUE(wait_until([&] { return !IsWindow(picker) && is_enabled(app.window()); }));
        EXPECT_EQ(text(app.control(forms::id_alarm_file)), L"no file");
    }
}

// OK or a double click with no file chosen asks for one and keeps the picker open. A drive root
// gets one backslash, a folder one between it and the file; a name outside the ANSI code page comes
// through whole.
TEST_F(Picker, OkOrADoubleClickTakesTheFolderAndFileButOnlyWithAFileChosen) {
    std::wstring root_file = L"C:\\tocsinet-" + std::to_wstring(GetCurrentProcessId()) + L".mp3";
    CloseHandle(CreateFileW(root_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::wstring outside = folder.write_file(L"Music\\\u266b r\u00e9veil \u65e9.mp3", "");
    for (auto [path, double_click] : {std::pair{root_file, false}, {outside, true}}) {
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
}

} // namespace
