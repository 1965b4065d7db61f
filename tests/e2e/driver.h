// Drives the built program from outside, as a user would, for the end-to-end tests under Wine:
//
//   e2e::program_folder folder;                  // C:\e2e\<Suite>.<Test>, fresh, with the exe
//   std::string clock = e2e::set_clock_file(e2e::clock_offset_to(19, 4, 40)); // 7:04:40 PM
//   e2e::program app = e2e::program::launch(folder, {.clock_file = clock});
//   e2e::select(app.control(forms::id_time_hour), L"7");
//   EXPECT_TRUE(e2e::wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));
//
// Wait for conditions with wait_until, never with sleeps. The driver throws std::runtime_error when
// it cannot do its part (no window, a window that stops answering).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "alarm.h" // the main window's control ids
#include "unique_handle.h"

namespace e2e {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds default_timeout = 30s;
inline constexpr const wchar_t* message_box_class = L"#32770";

// Runs the test's own messages while it waits; true once the condition holds.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout = default_timeout);

std::string narrow(std::wstring_view wide);

// A fresh folder with a copy of the program (tocsinet.exe and version.txt).
class program_folder {
  public:
    explicit program_folder(std::wstring_view name = {}); // C:\e2e\<name>, by default <Suite>.<Test>

    const std::wstring& path() const { return path_; }
    std::wstring file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }
    std::wstring write_file(std::wstring_view name, std::string_view content) const; // its full path
    void write_settings(std::string_view raw) const { write_file(L"tocsinet.ini", raw); }
    std::string settings_text() const; // "" when there is none
    // One value, read as the program reads it.
    std::string setting(const std::string& section, const std::string& key) const;

  private:
    std::wstring path_;
};

struct launch_options {
    std::optional<std::string> clock_file; // the program's clock: the unix path set_clock_file returns
    std::optional<std::string> time_zone;  // "America/New_York": the program's zone, with a clock
    std::optional<WORD> show_command;      // as a shortcut's "Run" hands it on; without a clock only
};

// The offset that makes the local clock read this time of day (24-hour) right now.
long long clock_offset_to(int hour, int minute, int second);
// The offset that makes the clock read this UTC date and time right now.
long long clock_offset_to_utc(int year, int month, int day, int hour, int minute, int second);

// A running copy of the program, ended when this object goes if the test did not close it.
class program {
  public:
    // Returns once its main window is up and idle.
    static program launch(const program_folder& folder, const launch_options& options = {});

    HWND window() const { return window_; }
    HWND control(int id) const { return GetDlgItem(window_, id); } // ids: src/forms/alarm.h
    std::wstring status_text(int panel) const; // of the main window's status bar

    // A top-level window of this program by class, or null; waiting, once it shows (its load handler
    // has run by then), throwing when none shows.
    HWND find_window(std::wstring_view class_name) const;
    HWND wait_for_window(std::wstring_view class_name, std::chrono::milliseconds timeout = default_timeout) const;
    // Sends `opener` (the main window by default) a command, as a menu item or button does, and
    // waits for the window it opens.
    HWND open(int command, std::wstring_view class_name, HWND opener = nullptr) const;

    // Returns once the program's thread is back in its message loop, e.g. after a modal window.
    void sync() const;

    void minimise() const { PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0); }

    bool running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    bool close(std::chrono::milliseconds timeout = default_timeout); // WM_CLOSE, then waits for the exit
    bool wait_for_exit(std::chrono::milliseconds timeout = default_timeout) const {
        return wait_until([&] { return !running(); }, timeout);
    }

  private:
    static void end(HANDLE process);
    platform::unique_handle<HANDLE, end> process_;
    HWND window_ = nullptr;
};

// Windows of any process. Cross-process reads use the wide messages, which Wine marshals.
std::wstring class_name(HWND window);
std::wstring text(HWND window);
void set_text(HWND window, std::wstring_view text);
inline bool is_enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
inline bool is_visible(HWND window) { return IsWindowVisible(window) != FALSE; }
RECT window_rect(HWND window);
// The control that has the keyboard focus in the window's thread.
HWND focus_of(HWND window);
// A direct child by class and exact caption, or null.
HWND find_child(HWND parent, std::wstring_view class_name, std::wstring_view caption);

// Posted, as a click is: a handler that opens a modal window does not block the test.
void click(HWND button);
inline void click_button(HWND dialog, std::wstring_view caption) { click(find_child(dialog, L"Button", caption)); }

// Combo boxes and list boxes alike. Selecting tells the parent as a user's choice would; false
// when there is no such entry. An index of -1 clears the selection.
std::vector<std::wstring> items(HWND list);
bool select(HWND list, std::wstring_view entry);
bool select_index(HWND list, int index);
// Posts the parent a WM_COMMAND notification of this control, for example LBN_DBLCLK.
void notify_parent(HWND control, WORD notification);

void set_trackbar_position(HWND trackbar, int position); // tells the parent as a drag would

inline std::wstring message_box_text(HWND box) { return text(GetDlgItem(box, 0xFFFF)); } // its message's static

// The complete lines (or records ended by `end`) of a text file that another process appends to.
std::vector<std::string> read_lines(const std::wstring& path, char end = '\n');
bool wait_for_line(const std::wstring& path, std::string_view line,
                   std::chrono::milliseconds timeout = default_timeout);

// The test player (test_player.cpp) logs to player_log(file); a "<file>.player" beside the file keeps
// it from showing a window.
inline std::wstring player_log(const std::wstring& alarm_file) { return alarm_file + L".log"; }

// What the shell got from Shell_NotifyIcon for a window's tray icon (tray_recorder.cpp), in order:
// each add as "add <id> <flags> <callback message> <tip>" (the tip UTF-8), other operations by name.
std::vector<std::string> tray_records(HWND owner);

// Writes this test's clock file and returns its unix path, for launch_options::clock_file: a new
// offset in it moves every program launched with it at once.
std::string set_clock_file(long long offset);
// Every sample the Wine programs of the run played, 16-bit mono.
std::string captured_sound();
// Waits for the program's message box, checks its text and icon, answers OK and waits until it is gone.
void answer_message_box(const program& app, std::wstring_view text, bool with_icon);
// Chooses the time and the file and presses "Activate", as a user arms the alarm; asserts it is active.
void arm(const program& app, std::wstring_view hour, std::wstring_view minute, std::wstring_view ampm,
         std::wstring_view file);

} // namespace e2e
