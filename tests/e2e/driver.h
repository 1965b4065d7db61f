// Drives the built program from outside, as a user would, for the end-to-end tests under Wine.
//
// Each test gets a program folder of its own, C:\e2e\<Suite>.<Test>\ in the test prefix, holding
// copies of tocsinet.exe and version.txt; tests run in parallel, so everything is found through
// that folder's process:
//
//   e2e::program_folder folder;                        // fresh, named after the running test
//   folder.write_settings("[OPTIONS]\r\nLCTOS=1\r\n");   // optional, the raw file
//   e2e::program app = e2e::program::launch(folder);
//   e2e::select(app.control(forms::id_time_hour), L"7"); // as the user's choice
//   e2e::click(app.button(L"Activate"));
//   EXPECT_TRUE(e2e::wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));
//   EXPECT_TRUE(app.close());                           // WM_CLOSE, then waits for the exit
//   EXPECT_EQ(folder.setting("STATS", "LOADS"), "1");
//
// The clock: launch_options::clock_offset shifts the program's local time by whole seconds
// (libfaketime, through tests/wine/launch-shifted.sh); clock_offset_to(19, 4, 40) makes the
// program's clock read 7:04:40 PM at launch, so an alarm at 7:05 PM is about 20 s ahead.
//
// The player: alarm files of the types .mp3 .m3u .mid .wav open with the test player, which
// logs "open <path>", "ready" and "volume <wParam> <lParam>" to "<file>.log";
// set_player_start(file, "2000" or "never") delays its window. wait_for_line waits for a line.
//
// The tray: tray_records(app.window()) reads the tray recorder's records of that window only;
// wait_for_tray_record waits for one.
//
// Windows of the program: app.find_window(L"TocsinetOptions") or wait_for_window for its dialogs
// (L"TocsinetBrowseForm", L"TocsinetBrowseDir", L"TocsinetOptions", L"TocsinetAbout") and for
// its message boxes (e2e::message_box_class); message_box_text and message_box_has_icon read
// them, click_button(box, L"OK") answers them.
//
// Conditions are waited for with wait_until, never with fixed sleeps. The driver throws
// std::runtime_error when it cannot do its part (no window, a window that stops answering);
// GoogleTest reports that as the test's failure.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "unique_handle.h"

namespace e2e {

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds default_timeout = 30s;
inline constexpr const wchar_t* main_window_class = L"TocsinetAlarm";
inline constexpr const wchar_t* main_window_title = L"Tocsinet";
inline constexpr const wchar_t* message_box_class = L"#32770";

// Runs pending messages of the test's own windows while it waits; true once the condition holds.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout = default_timeout);

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// A fresh folder for one test's copy of the program, removed and made anew on construction.
class program_folder {
  public:
    program_folder(); // C:\e2e\<Suite>.<Test>
    explicit program_folder(std::wstring_view name);

    const std::wstring& path() const { return path_; }
    std::wstring file(std::wstring_view name) const; // path\name
    std::wstring exe() const { return file(L"tocsinet.exe"); }
    std::wstring settings_file() const { return file(L"tocsinet.ini"); }

    // Writes a file of the folder byte for byte and returns its full path.
    std::wstring write_file(std::wstring_view name, std::string_view content) const;
    void write_settings(std::string_view raw) const { write_file(L"tocsinet.ini", raw); }
    bool has_settings() const;
    // The settings file as it is on disk ("" when there is none).
    std::string settings_text() const;
    // One value, read as the program reads it (GetPrivateProfileStringA).
    std::string setting(const std::string& section, const std::string& key) const;

  private:
    std::wstring path_;
};

struct launch_options {
    // Seconds added to the program's local clock; none runs it on the real clock.
    std::optional<long long> clock_offset;
    // How the program's first window is shown (STARTUPINFO), for example SW_SHOWMINIMIZED.
    std::optional<WORD> show_command;
    std::chrono::milliseconds timeout = 60s;
};

// The offset that makes the local clock read this time of day (24-hour) right now.
long long clock_offset_to(int hour, int minute, int second);

// A running copy of the program, ended when this object goes if the test did not close it.
class program {
  public:
    // Starts the folder's exe and waits until its main window is up and idle.
    static program launch(const program_folder& folder, const launch_options& options = {});

    program(program&& other) noexcept = default;
    program& operator=(program&& other) noexcept;
    program(const program&) = delete;
    program& operator=(const program&) = delete;
    ~program();

    HWND window() const { return window_; }
    DWORD process_id() const { return process_id_; }

    // A child control by id (src/forms/alarm.h) or by class and caption.
    HWND control(int id) const;
    HWND control(std::wstring_view class_name, std::wstring_view caption) const;
    HWND button(std::wstring_view caption) const { return control(L"Button", caption); }

    // Text of a status bar panel (0 is the first) of the main window's status bar.
    std::wstring status_text(int panel) const;

    // A top-level window of this program's process by class, or null.
    HWND find_window(std::wstring_view class_name) const;
    HWND wait_for_window(std::wstring_view class_name, std::chrono::milliseconds timeout = default_timeout) const;

    // Returns once the program's thread gets back to its message loop, e.g. after a modal
    // window closed: whatever the handler did after it is done by then.
    void sync() const;

    bool running() const;
    // Sends WM_CLOSE to the main window and waits for the process to end.
    bool close(std::chrono::milliseconds timeout = default_timeout);
    bool wait_for_exit(std::chrono::milliseconds timeout = default_timeout) const;

  private:
    program(platform::unique_kernel_handle process, DWORD process_id, HWND window);
    void end();

    platform::unique_kernel_handle process_;
    DWORD process_id_ = 0;
    HWND window_ = nullptr;
};

// A top-level window of that process by class, or null.
HWND find_window_of_process(DWORD process_id, std::wstring_view class_name);

// Controls of any process. Cross-process reads use the wide messages, which Wine marshals.
std::wstring class_name(HWND window);
std::wstring text(HWND window);
void set_text(HWND window, std::wstring_view text);
bool is_enabled(HWND window);
bool is_visible(HWND window);
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
// Selects the entry with exactly this text and tells the parent, as a user's choice would
// (CBN_SELCHANGE / LBN_SELCHANGE); false when there is no such entry.
bool select(HWND list, std::wstring_view entry);
bool select_index(HWND list, int index);
// Sends the parent a WM_COMMAND notification of this control, for example LBN_DBLCLK.
void notify_parent(HWND control, WORD notification);

int trackbar_position(HWND trackbar);
// Moves the slider and tells the parent as a drag would (WM_HSCROLL).
void set_trackbar_position(HWND trackbar, int position);

// Message boxes: the text of the message, and whether an icon is shown beside it.
std::wstring message_box_text(HWND box);
bool message_box_has_icon(HWND box);

// The whole complete lines of a text file that another process appends to ("\r" dropped).
std::vector<std::string> read_lines(const std::wstring& path);
bool wait_for_line(const std::wstring& path, const std::function<bool(const std::string&)>& match,
                   std::chrono::milliseconds timeout = default_timeout);
bool wait_for_line(const std::wstring& path, std::string_view line,
                   std::chrono::milliseconds timeout = default_timeout);

// The test player: its log for an alarm file, and how it starts for that file (a delay in
// milliseconds before its window exists, or "never").
std::wstring player_log(const std::wstring& alarm_file);
void set_player_start(const std::wstring& alarm_file, std::string_view delay_ms_or_never);

// One record of the tray recorder (Shell_NotifyIcon as the shell gets it).
struct tray_record {
    std::string operation; // add, modify, delete, setfocus, setversion
    std::uint32_t hwnd = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callback_message = 0;
    std::string tip; // UTF-8
};
std::vector<tray_record> tray_records(HWND owner);
bool wait_for_tray_record(HWND owner, const std::function<bool(const tray_record&)>& match,
                          std::chrono::milliseconds timeout = default_timeout);

// A window of the program's that a click or command just opened, once it shows (its load
// handler has run by then); throws when none shows.
HWND wait_until_shown(const program& app, std::wstring_view class_name);
// Waits for the program's message box, checks its text and icon, answers OK and waits until it is gone.
void answer_message_box(const program& app, std::wstring_view text, bool with_icon);

} // namespace e2e
