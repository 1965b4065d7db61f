#include "driver.h"

#include <commctrl.h>

#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

namespace e2e {
namespace {

// A window that takes longer than this to answer one message counts as hung.
constexpr UINT answer_timeout_ms = 10'000;
constexpr std::chrono::milliseconds poll_interval = 20ms;
constexpr int message_box_text_id = 0xFFFF;

[[noreturn]] void fail(const std::wstring& what) { throw std::runtime_error(narrow(what)); }

std::wstring environment(const wchar_t* name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

// Wine's drive Z: is the unix root.
std::wstring windows_path_of_unix(const std::wstring& path) {
    if (path.empty() || path.front() != L'/')
        return path;
    std::wstring windows = L"Z:" + path;
    for (wchar_t& c : windows)
        if (c == L'/')
            c = L'\\';
    return windows;
}

std::wstring required_path(const wchar_t* variable) {
    std::wstring value = environment(variable);
    if (value.empty())
        fail(std::wstring(L"the environment variable ") + variable +
             L" is not set: run the end-to-end tests through ctest");
    return windows_path_of_unix(value);
}

std::wstring folder_of(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

bool same_text_ignoring_case(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, answer_timeout_ms, &result)) {
        // A window that went away answers nothing; one that is there but silent is hung.
        if (IsWindow(window))
            fail(L"a window of class " + class_name(window) + L" stopped answering messages");
        return 0;
    }
    return static_cast<LRESULT>(result);
}

void remove_tree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    platform::unique_find search(FindFirstFileW((path + L"\\*").c_str(), &found));
    if (search) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search.get(), &found));
    }
    RemoveDirectoryW(path.c_str());
}

std::string read_file(const std::wstring& path) {
    platform::unique_file file(CreateFileW(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    return content;
}

void write_whole_file(const std::wstring& path, std::string_view content) {
    platform::unique_file file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        fail(L"cannot write " + path);
    DWORD written = 0;
    if (!content.empty() &&
        (!WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
         written != content.size()))
        fail(L"cannot write " + path);
}

std::wstring process_image(DWORD process_id) {
    platform::unique_kernel_handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    if (!process)
        return {};
    wchar_t image[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process.get(), 0, image, &size))
        return {};
    return std::wstring(image, size);
}

template <class Visit> void for_each_top_level(Visit visit) {
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL { return (*reinterpret_cast<Visit*>(data))(window) ? TRUE : FALSE; },
        reinterpret_cast<LPARAM>(&visit));
}

template <class Visit> void for_each_descendant(HWND parent, Visit visit) {
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL { return (*reinterpret_cast<Visit*>(data))(window) ? TRUE : FALSE; },
        reinterpret_cast<LPARAM>(&visit));
}

DWORD process_of(HWND window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    return process_id;
}

// The main window of the process running this exe; with a known process id, that one only.
HWND find_main_window(const std::wstring& exe, DWORD known_process_id, DWORD& process_id) {
    HWND found = nullptr;
    for_each_top_level([&](HWND window) {
        if (class_name(window) != main_window_class)
            return true;
        wchar_t title[64] = L"";
        GetWindowTextW(window, title, 64);
        if (std::wstring_view(title) != main_window_title)
            return true;
        DWORD owner = process_of(window);
        if (known_process_id != 0 && owner != known_process_id)
            return true;
        if (!same_text_ignoring_case(process_image(owner), exe))
            return true;
        found = window;
        process_id = owner;
        return false;
    });
    return found;
}

std::wstring test_folder_name() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test)
        fail(L"a program folder named after the test needs a running test");
    std::wstring name = widen(std::string(test->test_suite_name()) + "." + test->name());
    for (wchar_t& c : name)
        if (c == L'/' || c == L'\\' || c == L':' || c == L'*' || c == L'?' || c == L'<' || c == L'>' || c == L'|')
            c = L'_';
    return name;
}

bool is_combo_box(HWND list) {
    std::wstring name = class_name(list);
    return same_text_ignoring_case(name, WC_COMBOBOXW) || same_text_ignoring_case(name, WC_COMBOBOXEXW);
}

// Memory in another process for a message that passes a pointer Wine does not marshal.
class remote_buffer {
  public:
    remote_buffer(HANDLE process, std::size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
          size_(size) {
        if (!address_)
            fail(L"cannot reserve memory in the program's process");
    }
    remote_buffer(const remote_buffer&) = delete;
    remote_buffer& operator=(const remote_buffer&) = delete;
    ~remote_buffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }

    LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
    void read(void* into) const {
        SIZE_T read = 0;
        if (!ReadProcessMemory(process_, address_, into, size_, &read) || read != size_)
            fail(L"cannot read the program's memory");
    }

  private:
    HANDLE process_; // borrowed
    void* address_;
    std::size_t size_;
};

} // namespace

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(poll_interval.count()), QS_ALLINPUT);
    }
}

std::wstring widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty())
        return {};
    int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

program_folder::program_folder() : program_folder(test_folder_name()) {}

program_folder::program_folder(std::wstring_view name) : path_(L"C:\\e2e\\" + std::wstring(name)) {
    CreateDirectoryW(L"C:\\e2e", nullptr);
    remove_tree(path_);
    if (!CreateDirectoryW(path_.c_str(), nullptr))
        fail(L"cannot make the program folder " + path_);
    std::wstring program = required_path(L"TOCSINET_PROGRAM");
    for (const wchar_t* name : {L"tocsinet.exe", L"version.txt"}) {
        std::wstring source = folder_of(program) + L"\\" + name;
        if (!CopyFileW(source.c_str(), file(name).c_str(), FALSE))
            fail(L"cannot copy " + source + L" into " + path_);
    }
}

std::wstring program_folder::file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

std::wstring program_folder::write_file(std::wstring_view name, std::string_view content) const {
    std::wstring path = file(name);
    write_whole_file(path, content);
    return path;
}

bool program_folder::has_settings() const {
    return GetFileAttributesW(settings_file().c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string program_folder::settings_text() const { return read_file(settings_file()); }

std::string program_folder::setting(const std::string& section, const std::string& key) const {
    char value[4096] = "";
    std::string path = narrow(settings_file()); // the folder names are plain ASCII
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, path.c_str());
    return std::string(value, length);
}

long long clock_offset_to(int hour, int minute, int second) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    constexpr long long day = 24 * 60 * 60;
    long long offset = (hour * 3600LL + minute * 60LL + second) - (now.wHour * 3600LL + now.wMinute * 60LL + now.wSecond);
    // The shortest shift, forward or back, that gives this time of day.
    offset = ((offset % day) + day) % day;
    return offset >= day / 2 ? offset - day : offset;
}

program program::launch(const program_folder& folder, const launch_options& options) {
    std::wstring command = quoted(folder.exe());
    if (options.clock_offset) {
        if (options.show_command)
            fail(L"a shifted clock and a show command cannot be combined: the launcher is a unix script");
        long long offset = *options.clock_offset;
        command = quoted(required_path(L"TOCSINET_SHIFTED_LAUNCHER")) + L" " + (offset < 0 ? L"-" : L"+") +
                  std::to_wstring(offset < 0 ? -offset : offset) + L" " + command;
    }
    STARTUPINFOW startup{sizeof startup};
    if (options.show_command) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *options.show_command;
    }
    PROCESS_INFORMATION started{};
    // Detached: neither the program nor the player it opens holds ctest's output open, which
    // would keep ctest waiting for them after the test has ended.
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        folder.path().c_str(), &startup, &started))
        fail(L"cannot start " + command);
    // A unix launcher gives no usable process: the program is then known by its image path only.
    platform::unique_kernel_handle started_process(started.hProcess);
    platform::unique_kernel_handle started_thread(started.hThread);
    DWORD known_process_id = options.clock_offset ? 0 : started.dwProcessId;

    auto deadline = std::chrono::steady_clock::now() + options.timeout;
    DWORD process_id = 0;
    HWND window = nullptr;
    wait_until(
        [&] {
            window = find_main_window(folder.exe(), known_process_id, process_id);
            return window != nullptr ||
                   (started_process && WaitForSingleObject(started_process.get(), 0) == WAIT_OBJECT_0);
        },
        options.timeout);
    if (!window)
        fail(L"no main window of " + folder.exe() + L" appeared");
    platform::unique_kernel_handle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, process_id));
    if (!process)
        fail(L"cannot open the process of " + folder.exe());
    program running(std::move(process), process_id, window);
    // The window exists while its load handler still runs; idle means the message loop waits.
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (WaitForInputIdle(running.process_.get(), static_cast<DWORD>(left.count() > 0 ? left.count() : 0)) != 0)
        fail(L"the main window of " + folder.exe() + L" did not become idle");
    return running;
}

program::program(platform::unique_kernel_handle process, DWORD process_id, HWND window)
    : process_(std::move(process)), process_id_(process_id), window_(window) {}

program& program::operator=(program&& other) noexcept {
    if (this != &other) {
        end();
        process_ = std::move(other.process_);
        process_id_ = other.process_id_;
        window_ = other.window_;
    }
    return *this;
}

program::~program() { end(); }

void program::end() {
    if (running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), answer_timeout_ms);
    }
    process_.reset();
}

HWND program::control(int id) const {
    HWND found = nullptr;
    for_each_descendant(window_, [&](HWND child) {
        if (GetDlgCtrlID(child) != id)
            return true;
        found = child;
        return false;
    });
    return found;
}

HWND program::control(std::wstring_view class_name, std::wstring_view caption) const {
    return find_child(window_, class_name, caption);
}

std::wstring program::status_text(int panel) const {
    HWND status = nullptr;
    for_each_descendant(window_, [&](HWND child) {
        if (!same_text_ignoring_case(e2e::class_name(child), STATUSCLASSNAMEW))
            return true;
        status = child;
        return false;
    });
    if (!status)
        fail(L"the main window has no status bar");
    auto length = static_cast<std::size_t>(LOWORD(send(status, SB_GETTEXTLENGTHW, panel, 0)));
    std::vector<wchar_t> text(length + 1, L'\0');
    remote_buffer remote(process_.get(), text.size() * sizeof(wchar_t));
    send(status, SB_GETTEXTW, panel, remote.address());
    remote.read(text.data());
    return std::wstring(text.data(), wcsnlen(text.data(), length));
}

HWND program::find_window(std::wstring_view class_name) const {
    return find_window_of_process(process_id_, class_name);
}

HWND program::wait_for_window(std::wstring_view class_name, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    wait_until([&] { return (found = find_window(class_name)) != nullptr; }, timeout);
    return found;
}

void program::sync() const { send(window_, WM_NULL, 0, 0); }

bool program::running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

bool program::close(std::chrono::milliseconds timeout) {
    if (!running())
        return true;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return wait_for_exit(timeout);
}

bool program::wait_for_exit(std::chrono::milliseconds timeout) const {
    return wait_until([&] { return !running(); }, timeout);
}

HWND find_window_of_process(DWORD process_id, std::wstring_view class_name) {
    HWND found = nullptr;
    for_each_top_level([&](HWND window) {
        if (process_of(window) != process_id || !same_text_ignoring_case(e2e::class_name(window), class_name))
            return true;
        found = window;
        return false;
    });
    return found;
}

std::wstring class_name(HWND window) {
    wchar_t name[256] = L"";
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring text(HWND window) {
    auto length = static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring result(length + 1, L'\0');
    auto copied = static_cast<std::size_t>(send(window, WM_GETTEXT, result.size(), reinterpret_cast<LPARAM>(result.data())));
    result.resize(copied < length ? copied : length);
    return result;
}

void set_text(HWND window, std::wstring_view text) {
    std::wstring copy(text);
    send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

bool is_enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

bool is_visible(HWND window) { return IsWindowVisible(window) != FALSE; }

RECT window_rect(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect))
        fail(L"no window rectangle for a window of class " + class_name(window));
    return rect;
}

HWND find_child(HWND parent, std::wstring_view class_name, std::wstring_view caption) {
    HWND found = nullptr;
    for_each_descendant(parent, [&](HWND child) {
        if (!same_text_ignoring_case(e2e::class_name(child), class_name) || text(child) != caption)
            return true;
        found = child;
        return false;
    });
    return found;
}

void click(HWND button) {
    if (!button || !PostMessageW(button, BM_CLICK, 0, 0))
        fail(L"no button to click");
}

void click_button(HWND dialog, std::wstring_view caption) {
    HWND button = find_child(dialog, L"Button", caption);
    if (!button)
        fail(L"no button \"" + std::wstring(caption) + L"\"");
    click(button);
}

std::vector<std::wstring> items(HWND list) {
    bool combo = is_combo_box(list);
    auto count = send(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    std::vector<std::wstring> result;
    for (LRESULT index = 0; index < count; ++index) {
        auto length = send(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
        if (length < 0)
            fail(L"a list entry could not be read");
        std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
        auto copied = send(list, combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(copied >= 0 && copied <= length ? static_cast<std::size_t>(copied) : 0);
        result.push_back(entry);
    }
    return result;
}

int selected_index(HWND list) {
    auto index = send(list, is_combo_box(list) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int>(index);
}

std::wstring selected_text(HWND list) {
    int index = selected_index(list);
    if (index < 0)
        return {};
    return items(list).at(static_cast<std::size_t>(index));
}

bool select(HWND list, std::wstring_view entry) {
    std::vector<std::wstring> entries = items(list);
    for (std::size_t index = 0; index < entries.size(); ++index)
        if (entries[index] == entry)
            return select_index(list, static_cast<int>(index));
    return false;
}

bool select_index(HWND list, int index) {
    bool combo = is_combo_box(list);
    LRESULT result = send(list, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (index >= 0 && result != index)
        return false;
    notify_parent(list, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    return true;
}

void notify_parent(HWND control, WORD notification) {
    HWND parent = GetParent(control);
    auto id = static_cast<WORD>(GetDlgCtrlID(control));
    if (!parent || !PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control)))
        fail(L"cannot notify the parent of a control of class " + class_name(control));
}

int trackbar_position(HWND trackbar) { return static_cast<int>(send(trackbar, TBM_GETPOS, 0, 0)); }

void set_trackbar_position(HWND trackbar, int position) {
    send(trackbar, TBM_SETPOS, TRUE, position);
    HWND parent = GetParent(trackbar);
    auto sent = reinterpret_cast<LPARAM>(trackbar);
    PostMessageW(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), sent);
    PostMessageW(parent, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), sent);
}

std::wstring message_box_text(HWND box) {
    HWND message = GetDlgItem(box, message_box_text_id);
    return message ? text(message) : std::wstring();
}

bool message_box_has_icon(HWND box) {
    bool shown = false;
    for_each_descendant(box, [&](HWND child) {
        auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        if (!same_text_ignoring_case(class_name(child), WC_STATICW) || (style & SS_TYPEMASK) != SS_ICON ||
            !IsWindowVisible(child))
            return true;
        shown = send(child, STM_GETICON, 0, 0) != 0;
        return !shown;
    });
    return shown;
}

std::vector<std::string> read_lines(const std::wstring& path) {
    std::string content = read_file(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool wait_for_line(const std::wstring& path, const std::function<bool(const std::string&)>& match,
                   std::chrono::milliseconds timeout) {
    return wait_until(
        [&] {
            for (const std::string& line : read_lines(path))
                if (match(line))
                    return true;
            return false;
        },
        timeout);
}

bool wait_for_line(const std::wstring& path, std::string_view line, std::chrono::milliseconds timeout) {
    return wait_for_line(path, [&](const std::string& candidate) { return candidate == line; }, timeout);
}

std::wstring player_log(const std::wstring& alarm_file) { return alarm_file + L".log"; }

void set_player_start(const std::wstring& alarm_file, std::string_view delay_ms_or_never) {
    write_whole_file(alarm_file + L".player", delay_ms_or_never);
}

// The recorder escapes line breaks and backslashes in tooltips.
static std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return out;
}

std::vector<tray_record> tray_records(HWND owner) {
    auto wanted = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(owner));
    std::vector<tray_record> records;
    for (const std::string& line : read_lines(required_path(L"TOCSINET_TRAY_LOG"))) {
        std::istringstream fields(line);
        tray_record record;
        std::string hwnd;
        if (!(fields >> record.operation >> hwnd >> record.id >> record.flags >> record.callback_message))
            continue;
        record.hwnd = static_cast<std::uint32_t>(std::stoul(hwnd, nullptr, 16));
        if (record.hwnd != wanted)
            continue;
        auto position = fields.tellg();
        // One blank separates the numbers from the tooltip, which may itself start with blanks.
        if (position >= 0 && static_cast<std::size_t>(position) + 1 <= line.size())
            record.tip = unescaped(line.substr(static_cast<std::size_t>(position) + 1));
        records.push_back(record);
    }
    return records;
}

bool wait_for_tray_record(HWND owner, const std::function<bool(const tray_record&)>& match,
                          std::chrono::milliseconds timeout) {
    return wait_until(
        [&] {
            for (const tray_record& record : tray_records(owner))
                if (match(record))
                    return true;
            return false;
        },
        timeout);
}

HWND wait_until_shown(const program& app, std::wstring_view class_name) {
    HWND window = app.wait_for_window(class_name);
    if (!window || !wait_until([&] { return is_visible(window); }))
        fail(L"no window of class " + std::wstring(class_name) + L" showed");
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

