// Drives the built program from outside, as a user would, for the end-to-end tests under Wine.
//
//   e2e::program_folder folder;                  // C:\e2e\<Suite>.<Test>, fresh, with the exe
//   folder.write_settings("[OPTIONS]\r\nLCTOS=1\r\n");
//   e2e::program app = e2e::program::launch(folder, {.clock_offset = e2e::clock_offset_to(19, 4, 40)});
//   e2e::select(app.control(forms::id_time_hour), L"7");
//   e2e::click(app.button(L"Activate"));
//   EXPECT_TRUE(e2e::wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));
//   EXPECT_TRUE(app.close());
//   EXPECT_EQ(folder.setting("STATS", "LOADS"), "1");
//
// Alarm files .mp3 .m3u .mid .wav open in the test player, which appends "open <path>", "ready"
// and "volume <wParam> <lParam>" to player_log(file). tray_records reads what the shell got for
// that window's tray icon. Wait for conditions with wait_until, never with sleeps. The driver
// throws std::runtime_error when it cannot do its part (no window, a window that stops answering).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "unique_handle.h"

namespace e2e {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds default_timeout = 30s;
inline constexpr const wchar_t* message_box_class = L"#32770";

// Runs pending messages of the test's own windows while it waits; true once the condition holds.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout = default_timeout);

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// A fresh folder for one test's copy of the program (tocsinet.exe and version.txt).
class program_folder {
  public:
    program_folder(); // C:\e2e\<Suite>.<Test>
    explicit program_folder(std::wstring_view name);

    const std::wstring& path() const { return path_; }
    std::wstring file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }
    // Writes a file of the folder byte for byte and returns its full path.
    std::wstring write_file(std::wstring_view name, std::string_view content) const;
    void write_settings(std::string_view raw) const { write_file(L"tocsinet.ini", raw); }
    bool has_settings() const;
    std::string settings_text() const; // "" when there is none
    // One value, read as the program reads it (GetPrivateProfileStringA).
    std::string setting(const std::string& section, const std::string& key) const;

  private:
    std::wstring path_;
};

struct launch_options {
    // Seconds added to the program's local clock (libfaketime); none runs it on the real clock.
    std::optional<long long> clock_offset;
    // A clock that jumps, as after sleep: the unix path of a file holding the offset (set_clock_file).
    std::optional<std::string> clock_file;
};

// The offset that makes the local clock read this time of day (24-hour) right now.
long long clock_offset_to(int hour, int minute, int second);

// Ends the process if it still runs, then closes the handle.
void end_process(HANDLE process);

// A running copy of the program, ended when this object goes if the test did not close it.
class program {
  public:
    // Starts the folder's exe and waits until its main window is up and idle.
    static program launch(const program_folder& folder, const launch_options& options = {});

    HWND window() const { return window_; }
    DWORD process_id() const { return process_id_; }

    // A control of the main window by id (src/forms/alarm.h), or a button by caption.
    HWND control(int id) const;
    HWND button(std::wstring_view caption) const;

    // Text of the main window's status bar; only its first panel (0) can be read from outside.
    std::wstring status_text(int panel) const;

    // A top-level window of this program's process by class, or null; waiting, once it shows.
    HWND find_window(std::wstring_view class_name) const;
    HWND wait_for_window(std::wstring_view class_name, std::chrono::milliseconds timeout = default_timeout) const;

    // Returns once the program's thread is back in its message loop, e.g. after a modal window.
    void sync() const;

    bool running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    // Sends WM_CLOSE to the main window and waits for the process to end.
    bool close(std::chrono::milliseconds timeout = default_timeout);
    bool wait_for_exit(std::chrono::milliseconds timeout = default_timeout) const;

  private:
    program() = default;

    platform::unique_handle<HANDLE, end_process> process_;
    DWORD process_id_ = 0;
    HWND window_ = nullptr;
};

// Windows of any process. Cross-process reads use the wide messages, which Wine marshals.
std::wstring class_name(HWND window);
std::wstring text(HWND window);
void set_text(HWND window, std::wstring_view text);
inline bool is_enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
inline bool is_visible(HWND window) { return IsWindowVisible(window) != FALSE; }
RECT window_rect(HWND window);
// A child of `parent` by class (case-insensitive) and exact caption, or null.
HWND find_child(HWND parent, std::wstring_view class_name, std::wstring_view caption);

// Posted, as a click is: a handler that opens a modal window does not block the test.
void click(HWND button);
// Answers a dialog or message box by the caption of one of its buttons.
void click_button(HWND dialog, std::wstring_view caption);

// Combo boxes and list boxes alike.
std::vector<std::wstring> items(HWND list);
int selected_index(HWND list); // -1: no selection
std::wstring selected_text(HWND list);
// Selects the entry with exactly this text, or by index (-1 clears), and tells the parent as a
// user's choice would (CBN_SELCHANGE / LBN_SELCHANGE); false when there is no such entry.
bool select(HWND list, std::wstring_view entry);
bool select_index(HWND list, int index);
// Posts the parent a WM_COMMAND notification of this control, for example LBN_DBLCLK.
void notify_parent(HWND control, WORD notification);

int trackbar_position(HWND trackbar);
// Moves the slider and tells the parent as a drag would (WM_HSCROLL).
void set_trackbar_position(HWND trackbar, int position);

std::wstring message_box_text(HWND box);
bool message_box_has_icon(HWND box);

// The complete lines of a text file that another process appends to ("\r" dropped).
std::vector<std::string> read_lines(const std::wstring& path);
bool wait_for_line(const std::wstring& path, std::string_view line,
                   std::chrono::milliseconds timeout = default_timeout);

// The test player's log for an alarm file, and its start for that file: a delay in milliseconds
// before its window exists, or "never".
inline std::wstring player_log(const std::wstring& alarm_file) { return alarm_file + L".log"; }
void set_player_start(const std::wstring& alarm_file, std::string_view delay_ms_or_never);

// One record of the tray recorder (Shell_NotifyIcon as the shell gets it).
struct tray_record {
    std::string operation; // add, modify, delete, setfocus, setversion
    DWORD id = 0, flags = 0, callback_message = 0;
    std::string tip; // UTF-8
};
std::vector<tray_record> tray_records(HWND owner);
bool wait_for_tray_record(HWND owner, const std::function<bool(const tray_record&)>& match,
                          std::chrono::milliseconds timeout = default_timeout);

// A clock file for this test, and a new offset in it: every program launched with it follows at once.
std::string clock_file_for_test();
void set_clock_file(const std::string& clock_file, long long offset);
// Every sample the Wine programs of the run played, 16-bit mono (tests/wine/setup.sh).
std::string captured_sound();
// A window of the program's that a click or command just opened, once it shows (its load
// handler has run by then); throws when none shows.
HWND wait_until_shown(const program& app, std::wstring_view class_name);
// Waits for the program's message box, checks its text and icon, answers OK and waits until it is gone.
void answer_message_box(const program& app, std::wstring_view text, bool with_icon);

} // namespace e2e
