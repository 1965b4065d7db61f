#include "driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

namespace e2e {
namespace {

void require(bool holds, const std::string& what) { holds ? void() : throw std::runtime_error(what); }

bool same_name(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), int(a.size()), b.data(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// A window that takes longer than ten seconds to answer one message counts as hung.
LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    bool answered = SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, 10'000, &result);
    require(answered || !IsWindow(window), "a window stopped answering messages");
    return LRESULT(result);
}

// The texts of WM_GETTEXT, LB_GETTEXT and CB_GETLBTEXT, which Wine copies across processes; the
// captions and file names here are far shorter than the buffer.
constexpr WPARAM text_capacity = 4096;
std::wstring fetch(HWND window, UINT message, WPARAM wparam) {
    wchar_t text[text_capacity] = L"";
    send(window, message, wparam, LPARAM(text));
    return text;
}

// The first window under `parent`, or the first top-level one when it is null, that matches.
HWND find_where(HWND parent, const std::function<bool(HWND)>& match) {
    std::pair<const std::function<bool(HWND)>*, HWND> search{&match, nullptr};
    WNDENUMPROC visit = [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<decltype(search)*>(data);
        return (*s->first)(window) ? (s->second = window, FALSE) : TRUE;
    };
    parent ? EnumChildWindows(parent, visit, LPARAM(&search)) : EnumWindows(visit, LPARAM(&search));
    return search.second;
}

DWORD process_of(HWND window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    return process_id;
}

std::wstring image_of(DWORD process_id) {
    platform::unique_kernel_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    wchar_t image[MAX_PATH * 2] = L"";
    DWORD size = MAX_PATH * 2;
    return process && QueryFullProcessImageNameW(process.get(), 0, image, &size) ? image : L"";
}

// A unix path from ctest's environment, as Wine's drive Z: shows it.
std::wstring required_path(const wchar_t* variable) {
    const wchar_t* value = _wgetenv(variable);
    require(value && *value == L'/', narrow(variable) + " is not set: run the end-to-end tests through ctest");
    return L"Z:" + std::wstring(value);
}

std::string read_file(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::wstring write_whole_file(const std::wstring& path, std::string_view content) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    require(bool(out.write(content.data(), std::streamsize(content.size()))), "cannot write " + narrow(path));
    return path;
}

bool is_combo_box(HWND list) { return class_name(list).starts_with(L"ComboBox"); }

} // namespace

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    for (auto deadline = std::chrono::steady_clock::now() + timeout; !condition();) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

std::wstring widen(std::string_view utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size())));
    return wide;
}

std::string narrow(std::wstring_view wide) {
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), int(utf8.size()), 0, 0));
    return utf8;
}

// Parameterised tests ("Prefix/Suite.Test/0") get a nested folder.
program_folder::program_folder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    require(test != nullptr, "a program folder named after the test needs a running test");
    *this = program_folder(widen(std::string(test->test_suite_name()) + "." + test->name()));
}

program_folder::program_folder(std::wstring_view name) : path_(L"C:\\e2e\\" + std::wstring(name)) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    std::filesystem::path program = required_path(L"TOCSINET_PROGRAM");
    for (const wchar_t* copied : {L"tocsinet.exe", L"version.txt"})
        std::filesystem::copy_file(program.parent_path() / copied, file(copied));
}

std::wstring program_folder::write_file(std::wstring_view name, std::string_view content) const {
    return write_whole_file(file(name), content);
}

bool program_folder::has_settings() const { return std::filesystem::exists(file(L"tocsinet.ini")); }

std::string program_folder::settings_text() const { return read_file(file(L"tocsinet.ini")); }

std::string program_folder::setting(const std::string& section, const std::string& key) const {
    char value[4096] = "";
    std::string ini = narrow(file(L"tocsinet.ini"));
    return {value, GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, ini.c_str())};
}

long long clock_offset_to(int hour, int minute, int second) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    constexpr long long day = 24 * 60 * 60;
    long long offset = ((hour - now.wHour) * 3600LL + (minute - now.wMinute) * 60 + second - now.wSecond) % day;
    return offset >= day / 2 ? offset - day : offset < -day / 2 ? offset + day : offset; // the shortest shift
}

void end_process(HANDLE process) {
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT && TerminateProcess(process, 1))
        WaitForSingleObject(process, 10'000);
    CloseHandle(process);
}

program program::launch(const program_folder& folder, const launch_options& options) {
    std::wstring exe = folder.file(L"tocsinet.exe"), command = L"\"" + exe + L"\"";
    // A Windows process cannot hand libfaketime to a child; the fixture's script can.
    std::wstring launcher = L"\"" + required_path(L"TOCSINET_SHIFTED_LAUNCHER") + L"\"";
    if (options.clock_offset)
        command = launcher + L" --clock " + (*options.clock_offset < 0 ? L"" : L"+") +
                  std::to_wstring(*options.clock_offset) + L" " + command;
    else if (options.clock_file)
        command = launcher + L" --clock-file \"" + widen(*options.clock_file) + L"\" " + command;
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION started{};
    // Detached: neither the program nor the player it opens holds ctest's output open.
    require(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                           folder.path().c_str(), &startup, &started),
            "cannot start " + narrow(command));
    platform::unique_kernel_handle started_process(started.hProcess), started_thread(started.hThread);
    // The launcher is another process: the program is known by its main window and its image.
    program app;
    auto is_main = [&](HWND w) { return class_name(w) == L"TocsinetAlarm" && same_name(image_of(process_of(w)), exe); };
    require(wait_until([&] { return (app.window_ = find_where(nullptr, is_main)) != nullptr; }, 60s),
            "no main window of " + narrow(exe) + " appeared");
    app.process_id_ = process_of(app.window_);
    app.process_.reset(OpenProcess(PROCESS_ALL_ACCESS, FALSE, app.process_id_));
    // The window exists while its load handler still runs; idle means the message loop waits.
    require(app.process_ && WaitForInputIdle(app.process_.get(), 60'000) == 0, "the program did not become idle");
    return app;
}

HWND program::control(int id) const { return find_where(window_, [&](HWND c) { return GetDlgCtrlID(c) == id; }); }

HWND program::button(std::wstring_view caption) const { return find_child(window_, L"Button", caption); }

// A status bar answers WM_GETTEXT, which Wine copies across processes, with its first panel; the
// others are read through memory of the program's own.
std::wstring program::status_text(int panel) const {
    HWND bar = find_where(window_, [](HWND c) { return same_name(class_name(c), STATUSCLASSNAMEW); });
    if (panel == 0)
        return text(bar);
    wchar_t panel_text[256] = L"";
    void* remote = VirtualAllocEx(process_.get(), nullptr, sizeof panel_text, MEM_COMMIT, PAGE_READWRITE);
    require(remote != nullptr, "cannot reach the program's memory");
    send(bar, SB_GETTEXTW, WPARAM(panel), LPARAM(remote));
    ReadProcessMemory(process_.get(), remote, panel_text, sizeof panel_text - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process_.get(), remote, 0, MEM_RELEASE);
    return panel_text;
}

HWND program::find_window(std::wstring_view name) const {
    return find_where(nullptr, [&](HWND w) { return process_of(w) == process_id_ && same_name(class_name(w), name); });
}

HWND program::wait_for_window(std::wstring_view name, std::chrono::milliseconds timeout) const {
    // A window is there for the user once it shows, after its load handler has filled it.
    HWND found = nullptr;
    wait_until([&] { return is_visible(found = find_window(name)); }, timeout);
    return is_visible(found) ? found : nullptr;
}

void program::sync() const { send(window_, WM_NULL, 0, 0); }

bool program::close(std::chrono::milliseconds timeout) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return wait_for_exit(timeout);
}

bool program::wait_for_exit(std::chrono::milliseconds timeout) const {
    return wait_until([&] { return !running(); }, timeout);
}

std::wstring class_name(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring text(HWND window) { return fetch(window, WM_GETTEXT, text_capacity); }

void set_text(HWND window, std::wstring_view text) { send(window, WM_SETTEXT, 0, LPARAM(std::wstring(text).c_str())); }

RECT window_rect(HWND window) {
    RECT rect{};
    require(GetWindowRect(window, &rect), "no rectangle for a window of class " + narrow(class_name(window)));
    return rect;
}

HWND find_child(HWND parent, std::wstring_view class_name, std::wstring_view caption) {
    return find_where(parent, [&](HWND c) { return same_name(e2e::class_name(c), class_name) && text(c) == caption; });
}

void click(HWND button) { require(button && PostMessageW(button, BM_CLICK, 0, 0), "no button to click"); }

void click_button(HWND dialog, std::wstring_view caption) {
    HWND button = find_child(dialog, L"Button", caption);
    require(button != nullptr, "no button \"" + narrow(caption) + "\"");
    click(button);
}

std::vector<std::wstring> items(HWND list) {
    bool combo = is_combo_box(list);
    std::vector<std::wstring> result(std::max<LRESULT>(0, send(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0)));
    for (std::size_t index = 0; index < result.size(); ++index)
        result[index] = fetch(list, combo ? CB_GETLBTEXT : LB_GETTEXT, index);
    return result;
}

int selected_index(HWND list) { return int(send(list, is_combo_box(list) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)); }

std::wstring selected_text(HWND list) {
    int index = selected_index(list);
    return index < 0 ? L"" : fetch(list, is_combo_box(list) ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(index));
}

bool select(HWND list, std::wstring_view entry) {
    std::vector<std::wstring> entries = items(list);
    auto found = std::find(entries.begin(), entries.end(), entry);
    return found != entries.end() && select_index(list, int(found - entries.begin()));
}

bool select_index(HWND list, int index) {
    bool combo = is_combo_box(list);
    // Both answer -1 for a cleared selection, as for a failure.
    if (send(list, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0) != index)
        return false;
    notify_parent(list, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    return true;
}

void notify_parent(HWND control, WORD notification) {
    WPARAM command = MAKEWPARAM(GetDlgCtrlID(control), notification);
    require(PostMessageW(GetParent(control), WM_COMMAND, command, LPARAM(control)), "cannot notify a control's parent");
}

int trackbar_position(HWND trackbar) { return int(send(trackbar, TBM_GETPOS, 0, 0)); }

void set_trackbar_position(HWND trackbar, int position) {
    send(trackbar, TBM_SETPOS, TRUE, position);
    PostMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), LPARAM(trackbar));
    PostMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), LPARAM(trackbar));
}

std::wstring message_box_text(HWND box) { return text(GetDlgItem(box, 0xFFFF)); } // the message's static control

bool message_box_has_icon(HWND box) {
    return find_where(box, [](HWND c) {
        return same_name(class_name(c), WC_STATICW) && IsWindowVisible(c) &&
               (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && send(c, STM_GETICON, 0, 0);
    }) != nullptr;
}

std::vector<std::string> read_lines(const std::wstring& path) {
    std::istringstream content(read_file(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(content, line) && !content.eof();)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

bool wait_for_line(const std::wstring& path, std::string_view line, std::chrono::milliseconds timeout) {
    return wait_until([&] { return std::ranges::count(read_lines(path), line) > 0; }, timeout);
}

void set_player_start(const std::wstring& alarm_file, std::string_view delay_ms_or_never) {
    write_whole_file(alarm_file + L".player", delay_ms_or_never);
}

// Records "<operation> 0x<hwnd> <id> <flags> <callback> <tip>", each ended by a NUL: tips hold line breaks.
std::vector<tray_record> tray_records(HWND owner) {
    std::istringstream log(read_file(required_path(L"TOCSINET_TRAY_LOG")));
    std::vector<tray_record> records;
    for (std::string line; std::getline(log, line, '\0') && !log.eof();) {
        std::istringstream fields(line);
        tray_record r;
        UINT_PTR hwnd = 0;
        if (!(fields >> r.operation >> std::hex >> hwnd >> std::dec >> r.id >> r.flags >> r.callback_message) ||
            hwnd != UINT_PTR(owner))
            continue;
        std::getline(fields.ignore(1), r.tip, '\0'); // one blank, then the tip, which may start with blanks
        records.push_back(r);
    }
    return records;
}

bool wait_for_tray_record(HWND owner, const std::function<bool(const tray_record&)>& match,
                          std::chrono::milliseconds timeout) {
    return wait_until([&] { return std::ranges::any_of(tray_records(owner), match); }, timeout);
}

// The fixture's folder (unix), where setup.sh has the sound go.
std::string fixture_folder() {
    std::string state = narrow(required_path(L"TOCSINET_WINE_STATE").substr(2));
    return state.substr(0, state.find_last_of('/'));
}

std::string clock_file_for_test() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return fixture_folder() + "/clock-" + test->test_suite_name() + "." + test->name() + ".rc";
}

void set_clock_file(const std::string& clock_file, long long offset) {
    // Renamed into place, so no program reads it half written.
    std::wstring path = L"Z:" + widen(clock_file), written = path + L".new";
    write_whole_file(written, (offset < 0 ? "" : "+") + std::to_string(offset) + "\n");
    require(MoveFileExW(written.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING), "cannot move " + clock_file);
}

std::string captured_sound() { return read_file(L"Z:" + widen(fixture_folder() + "/sound.raw")); }

HWND wait_until_shown(const program& app, std::wstring_view class_name) {
    HWND window = app.wait_for_window(class_name);
    require(window != nullptr, "no window of class " + narrow(class_name) + " showed");
    return window;
}

void answer_message_box(const program& app, std::wstring_view text, bool with_icon) {
    HWND box = wait_until_shown(app, message_box_class);
    EXPECT_TRUE(wait_until([&] { return message_box_text(box) == text; })) << narrow(message_box_text(box));
    EXPECT_EQ(e2e::text(box), L"Tocsinet");
    EXPECT_EQ(message_box_has_icon(box), with_icon);
    click_button(box, L"OK");
    EXPECT_TRUE(wait_until([&] { return !IsWindow(box); }));
}

} // namespace e2e

