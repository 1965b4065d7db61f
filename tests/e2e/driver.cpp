#include "driver.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "../wine/log_file.h"

namespace e2e {
namespace {

void require(bool holds, const std::string& what) { holds ? void() : throw std::runtime_error(what); }

std::wstring widen(std::string_view utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size())));
    return wide;
}

// A window that takes longer than ten seconds to answer one message counts as hung.
LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    bool answered = SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, 10'000, &result);
    require(answered || !IsWindow(window), "a window stopped answering messages");
    return LRESULT(result);
}

// WM_GETTEXT, LB_GETTEXT and CB_GETLBTEXT, which Wine copies across processes; the texts here are
// far shorter than the buffer.
std::wstring fetch(HWND window, UINT message, WPARAM wparam) {
    wchar_t text[4096] = L"";
    send(window, message, wparam, LPARAM(text));
    return text;
}

// The first child of `parent` of this class, or the first top-level window when it is null, that matches.
HWND find_where(HWND parent, std::wstring_view class_name, const std::function<bool(HWND)>& match) {
    std::wstring name(class_name);
    HWND window = FindWindowExW(parent, nullptr, name.c_str(), nullptr);
    while (window && !match(window))
        window = FindWindowExW(parent, window, name.c_str(), nullptr);
    return window;
}

DWORD process_of(HWND window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    return process_id;
}

std::wstring image_of(HWND window) {
    platform::unique_kernel_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_of(window)));
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

std::string test_name() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(test->test_suite_name()) + "." + test->name();
}

// The unix folder of the fixture, where setup.sh has the sound go.
std::string fixture_folder() {
    std::filesystem::path state = required_path(L"TOCSINET_WINE_STATE");
    return narrow(state.parent_path().wstring().substr(2)); // without the drive
}

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

std::string narrow(std::wstring_view wide) { return test_log::utf8(wide); }

// Parameterised tests ("Prefix/Suite.Test/0") get a nested folder.
program_folder::program_folder(std::wstring_view name)
    : path_(L"C:\\e2e\\" + (name.empty() ? widen(test_name()) : std::wstring(name))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    std::filesystem::path program = required_path(L"TOCSINET_PROGRAM");
    for (const wchar_t* copied : {L"tocsinet.exe", L"version.txt"})
        std::filesystem::copy_file(program.parent_path() / copied, file(copied));
}

std::wstring program_folder::write_file(std::wstring_view name, std::string_view content) const {
    std::ofstream(std::filesystem::path(file(name)), std::ios::binary) << content;
    return file(name);
}

std::string program_folder::settings_text() const { return read_file(file(L"tocsinet.ini")); }

std::string program_folder::setting(const std::string& section, const std::string& key) const {
    char value[4096] = "";
    std::string ini = narrow(file(L"tocsinet.ini"));
    return {value, GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, ini.c_str())};
}

long long clock_offset_to(int hour, int minute, int second) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    long long offset = (hour - now.wHour) * 3600LL + (minute - now.wMinute) * 60 + second - now.wSecond;
    return offset > 43'200 ? offset - 86'400 : offset < -43'200 ? offset + 86'400 : offset; // the shortest shift
}

long long clock_offset_to_utc(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    auto then = sys_days{std::chrono::year{year} / month / day} + hours{hour} + minutes{minute} + seconds{second};
    return duration_cast<seconds>(then - system_clock::now()).count();
}

void program::end(HANDLE process) {
    TerminateProcess(process, 1); // fails harmlessly once it has ended
    WaitForSingleObject(process, 10'000);
    CloseHandle(process);
}

program program::launch(const program_folder& folder, const launch_options& options) {
    std::wstring exe = folder.file(L"tocsinet.exe"), command = L"\"" + exe + L"\"";
    // A Windows process cannot hand libfaketime to a child; the fixture's script can.
    if (options.clock_file)
        command = L"\"" + required_path(L"TOCSINET_SHIFTED_LAUNCHER") + L"\" --clock-file \"" +
                  widen(*options.clock_file) + L"\" " + command;
    // The launcher hands it on to Wine, which takes the zone from it.
    SetEnvironmentVariableW(L"TZ", options.time_zone ? widen(*options.time_zone).c_str() : nullptr);
    STARTUPINFOW startup{sizeof startup};
    startup.dwFlags = options.show_command ? STARTF_USESHOWWINDOW : 0;
    startup.wShowWindow = options.show_command.value_or(SW_SHOWNORMAL);
    PROCESS_INFORMATION started{};
    // Detached: neither the program nor the player it opens holds ctest's output open.
    require(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                           folder.path().c_str(), &startup, &started),
            "cannot start " + narrow(command));
    platform::unique_kernel_handle started_process(started.hProcess), started_thread(started.hThread);
    // The launcher is another process: the program is known by its main window and its image.
    program app;
    auto is_ours = [&](HWND w) { return _wcsicmp(image_of(w).c_str(), exe.c_str()) == 0; };
    require(wait_until([&] { return (app.window_ = find_where(nullptr, L"TocsinetAlarm", is_ours)) != nullptr; }, 60s),
            "no main window of " + narrow(exe) + " appeared");
    app.process_.reset(OpenProcess(PROCESS_ALL_ACCESS, FALSE, process_of(app.window_)));
    // The window exists while its load handler still runs; idle means the message loop waits.
    require(WaitForInputIdle(app.process_.get(), 60'000) == 0, "the program did not become idle");
    return app;
}

// A status bar answers WM_GETTEXT with its first panel only: SB_GETTEXTW fills memory of the program's.
std::wstring program::status_text(int panel) const {
    HWND bar = FindWindowExW(window_, nullptr, STATUSCLASSNAMEW, nullptr);
    wchar_t panel_text[256] = L"";
    void* remote = VirtualAllocEx(process_.get(), nullptr, sizeof panel_text, MEM_COMMIT, PAGE_READWRITE);
    send(bar, SB_GETTEXTW, WPARAM(panel), LPARAM(remote));
    ReadProcessMemory(process_.get(), remote, panel_text, sizeof panel_text - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process_.get(), remote, 0, MEM_RELEASE);
    return panel_text;
}

HWND program::find_window(std::wstring_view name) const {
    return find_where(nullptr, name, [&](HWND w) { return process_of(w) == GetProcessId(process_.get()); });
}

// A window is there for the user once it shows, after its load handler has filled it.
HWND program::wait_for_window(std::wstring_view name, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    require(wait_until([&] { return is_visible(found = find_window(name)); }, timeout),
            "no window of class " + narrow(name) + " showed");
    return found;
}

HWND program::open(int command, std::wstring_view name, HWND opener) const {
    PostMessageW(opener ? opener : window_, WM_COMMAND, WPARAM(command), 0);
    return wait_for_window(name);
}

void program::sync() const { send(window_, WM_NULL, 0, 0); }

bool program::close(std::chrono::milliseconds timeout) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return wait_for_exit(timeout);
}

std::wstring class_name(HWND window) {
    wchar_t name[256] = L"";
    return {name, std::size_t(GetClassNameW(window, name, 256))};
}

std::wstring text(HWND window) { return fetch(window, WM_GETTEXT, 4096); }

void set_text(HWND window, std::wstring_view text) { send(window, WM_SETTEXT, 0, LPARAM(std::wstring(text).c_str())); }

RECT window_rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

HWND focus_of(HWND window) {
    GUITHREADINFO info{sizeof info};
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

HWND find_child(HWND parent, std::wstring_view class_name, std::wstring_view caption) {
    return find_where(parent, class_name, [&](HWND c) { return text(c) == caption; });
}

void click(HWND button) { require(button && PostMessageW(button, BM_CLICK, 0, 0), "no button to click"); }

std::vector<std::wstring> items(HWND list) {
    bool combo = class_name(list).starts_with(L"ComboBox");
    std::vector<std::wstring> result(std::max<LRESULT>(0, send(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0)));
    for (std::size_t index = 0; index < result.size(); ++index)
        result[index] = fetch(list, combo ? CB_GETLBTEXT : LB_GETTEXT, index);
    return result;
}

bool select(HWND list, std::wstring_view entry) {
    std::vector<std::wstring> entries = items(list);
    auto found = std::ranges::find(entries, entry);
    return found != entries.end() && select_index(list, int(found - entries.begin()));
}

bool select_index(HWND list, int index) {
    bool combo = class_name(list).starts_with(L"ComboBox");
    // Both answer -1 for a cleared selection, as for a failure.
    if (send(list, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0) != index)
        return false;
    notify_parent(list, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    return true;
}

void notify_parent(HWND control, WORD notification) {
    PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), notification), LPARAM(control));
}

void set_trackbar_position(HWND trackbar, int position) {
    send(trackbar, TBM_SETPOS, TRUE, position);
    PostMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), LPARAM(trackbar));
    PostMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), LPARAM(trackbar));
}

// An unended last record is still being written.
std::vector<std::string> read_lines(const std::wstring& path, char end) {
    std::istringstream content(read_file(path));
    std::vector<std::string> records;
    for (std::string record; std::getline(content, record, end) && !content.eof();)
        records.push_back(record);
    return records;
}

bool wait_for_line(const std::wstring& path, std::string_view line, std::chrono::milliseconds timeout) {
    return wait_until([&] { return std::ranges::count(read_lines(path), line) > 0; }, timeout);
}

// Records "<operation> 0x<hwnd> <id> <flags> <callback> <tip>", each ended by a NUL: tips hold line breaks.
std::vector<std::string> tray_records(HWND owner) {
    std::vector<std::string> records;
    for (const std::string& line : read_lines(required_path(L"TOCSINET_TRAY_LOG"), '\0')) {
        std::istringstream fields(line);
        std::string operation, rest;
        UINT_PTR hwnd = 0;
        fields >> operation >> std::hex >> hwnd;
        std::getline(fields.ignore(1), rest, '\0'); // one blank, then the numbers and the tip
        if (hwnd == UINT_PTR(owner))
            records.push_back(operation == "add" ? "add " + rest : operation);
    }
    return records;
}

std::string set_clock_file(long long offset) {
    std::string clock_file = fixture_folder() + "/clock-" + test_name() + ".rc";
    // Renamed into place, so no program reads it half written.
    std::wstring path = L"Z:" + widen(clock_file), written = path + L".new";
    std::ofstream(std::filesystem::path(written), std::ios::binary)
        << (offset < 0 ? "" : "+") << offset << "\n";
    MoveFileExW(written.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    return clock_file;
}

std::string captured_sound() { return read_file(L"Z:" + widen(fixture_folder() + "/sound.raw")); }

void answer_message_box(const program& app, std::wstring_view text, bool with_icon) {
    HWND box = app.wait_for_window(message_box_class);
    EXPECT_TRUE(wait_until([&] { return message_box_text(box) == text; })) << narrow(message_box_text(box));
    EXPECT_EQ(e2e::text(box), L"Tocsinet");
    auto shows_icon = [](HWND c) {
        return is_visible(c) && (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
               send(c, STM_GETICON, 0, 0);
    };
    EXPECT_EQ(find_where(box, WC_STATICW, shows_icon) != nullptr, with_icon);
    click_button(box, L"OK");
    EXPECT_TRUE(wait_until([&] { return !IsWindow(box); }));
}

void arm(const program& app, std::wstring_view hour, std::wstring_view minute, std::wstring_view ampm,
         std::wstring_view file) {
    ASSERT_TRUE(select(app.control(forms::id_time_hour), hour));
    ASSERT_TRUE(select(app.control(forms::id_time_minute), minute));
    ASSERT_TRUE(select(app.control(forms::id_time_ampm), ampm));
    set_text(app.control(forms::id_alarm_file), file);
    click(app.control(forms::id_alarm));
    ASSERT_TRUE(wait_until([&] { return app.status_text(0) == L"Alarm - Active"; }));
}

} // namespace e2e
