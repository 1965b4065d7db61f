#include "platform.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "conversions.h"
#include "unique_handle.h"

namespace platform {

std::wstring widen(std::string_view ansi) {
    if (ansi.empty())
        return {};
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty())
        return {};
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr,
                        nullptr);
    return ansi;
}

bool fits_ansi(std::wstring_view wide) {
    return widen(narrow(wide)) == wide;
}

std::wstring program_directory_wide() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            std::size_t slash = path.find_last_of(L"\\/");
            if (slash == std::wstring::npos)
                return path;
            if (slash == 2 && path[1] == L':')
                return path.substr(0, 3);
            return path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

local_now read_local_clock() {
    // FILETIME counts 100 ns from 1601-01-01; the core counts from 1970-01-01.
    constexpr long long filetime_per_milli = 10'000;
    constexpr long long filetime_at_1970 = 116'444'736'000'000'000;
    FILETIME utc, local;
    GetSystemTimeAsFileTime(&utc);
    // As GetLocalTime reads it: the zone's bias now.
    FileTimeToLocalFileTime(&utc, &local);
    SYSTEMTIME st;
    FileTimeToSystemTime(&local, &st);
    ULARGE_INTEGER ticks{{utc.dwLowDateTime, utc.dwHighDateTime}};
    auto millis = (static_cast<long long>(ticks.QuadPart) - filetime_at_1970) / filetime_per_milli;
    return {{st.wHour, st.wMinute, st.wSecond}, millis};
}

double monotonic_seconds() {
    return static_cast<double>(GetTickCount64()) / 1000.0;
}

int shell_open(HWND owner, const std::wstring& file, const std::wstring& directory) {
    // The shell would ask "How do you want to open this file?" for a type no program is
    // registered for, and tell the caller that the file opened. A program opens the type by its
    // command line, or (the store's players) through a DelegateExecute handler.
    auto registered = [&](ASSOCSTR what) {
        DWORD length = 0;
        return SUCCEEDED(AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, what, PathFindExtensionW(file.c_str()),
                                           L"open", nullptr, &length));
    };
    if (!registered(ASSOCSTR_COMMAND) && !registered(ASSOCSTR_DELEGATEEXECUTE))
        return SE_ERR_NOASSOC;
    // No box of the shell's: whatever fails, the alarm sounds by itself.
    SHELLEXECUTEINFOW request{sizeof request};
    request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    request.hwnd = owner;
    request.lpVerb = L"open";
    request.lpFile = file.c_str();
    request.lpParameters = L"";
    request.lpDirectory = directory.c_str();
    request.nShow = SW_SHOWNORMAL;
    // hInstApp is promised above 32 on success only with SEE_MASK_NOCLOSEPROCESS; on failure it
    // holds the SE_ERR_ code.
    constexpr int opened = 33;
    if (ShellExecuteExW(&request))
        return opened;
    int reason = static_cast<int>(reinterpret_cast<INT_PTR>(request.hInstApp));
    return reason <= 32 ? reason : 0;
}

HWND find_player_window() {
    return FindWindowA(player_window_class, nullptr);
}

bool send_player_volume(HWND player, int volume_0_to_255) {
    constexpr LPARAM set_volume_command = 122;
    constexpr UINT player_answer_ms = 5000;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(player, WM_USER, static_cast<WPARAM>(volume_0_to_255), set_volume_command,
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, player_answer_ms, &answer) != 0;
}

void set_topmost(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

HWND find_own_window(const wchar_t* class_name) {
    struct search {
        const wchar_t* class_name;
        HWND found;
    } state{class_name, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<search*>(data);
            wchar_t name[64];
            if (GetClassNameW(window, name, 64) && lstrcmpiW(name, s->class_name) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.found;
}

namespace {

// Shift+F10 asks the focused control for its context menu, as the context-menu key does. Windows'
// DefWindowProc makes it WM_CONTEXTMENU, Wine's does not: it is sent here instead, once for both.
bool context_menu_key(const MSG& message) {
    bool key_down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (!key_down || message.wParam != VK_F10 || !(GetKeyState(VK_SHIFT) & 0x8000) || !message.hwnd)
        return false;
    SendMessageW(message.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(message.hwnd), MAKELPARAM(-1, -1));
    return true;
}

} // namespace

void dispatch(MSG& message) {
    if (context_menu_key(message))
        return;
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool process_pending_messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        dispatch(message);
    }
    return true;
}

void wait_for_message(DWORD timeout_ms) {
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

int message_box(HWND owner, const std::wstring& text, UINT flags) {
    return MessageBoxW(owner, text.c_str(), L"Tocsinet", flags);
}

int system_dpi() {
    if (auto dpi_for_system = system_function<UINT WINAPI()>(L"user32.dll", "GetDpiForSystem"))
        if (UINT dpi = dpi_for_system(); dpi > 0)
            return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int window_dpi(HWND window) {
    auto dpi_for_window = system_function<UINT WINAPI(HWND)>(L"user32.dll", "GetDpiForWindow");
    UINT dpi = dpi_for_window ? dpi_for_window(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : system_dpi();
}

int system_metric(int index, int dpi) {
    if (auto metric_for_dpi = system_function<int WINAPI(int, UINT)>(L"user32.dll", "GetSystemMetricsForDpi"))
        return metric_for_dpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, system_dpi());
}

namespace {

// The window rectangle around a client rectangle.
RECT with_frame(RECT client, DWORD style, DWORD ex_style, int dpi) {
    // Without the call for any DPI the frame is the system's, as it is drawn there.
    if (auto adjust_for_dpi = system_function<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>(
            L"user32.dll", "AdjustWindowRectExForDpi"))
        adjust_for_dpi(&client, style, FALSE, ex_style, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&client, style, FALSE, ex_style);
    return client;
}

} // namespace

SIZE window_size_for_client(SIZE client, DWORD style, DWORD ex_style, int dpi) {
    RECT rect = with_frame({0, 0, client.cx, client.cy}, style, ex_style, dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT client_offset(DWORD style, DWORD ex_style, int dpi) {
    RECT rect = with_frame({0, 0, 0, 0}, style, ex_style, dpi);
    return {-rect.left, -rect.top};
}

HICON load_icon(HINSTANCE instance, int id, int size) {
    // LoadImage would rather blow a smaller image up; the scaled-down larger one stays sharp.
    HICON icon = nullptr;
    auto scale_down = system_function<HRESULT WINAPI(HINSTANCE, const wchar_t*, int, int, HICON*)>(
        L"comctl32.dll", "LoadIconWithScaleDown");
    if (scale_down && SUCCEEDED(scale_down(instance, MAKEINTRESOURCEW(id), size, size, &icon)))
        return icon;
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HICON load_notification_icon(HINSTANCE instance, int id) {
    HICON icon = nullptr;
    auto load_metric = system_function<HRESULT WINAPI(HINSTANCE, const wchar_t*, int, HICON*)>(
        L"comctl32.dll", "LoadIconMetric");
    if (load_metric && SUCCEEDED(load_metric(instance, MAKEINTRESOURCEW(id), LIM_SMALL, &icon)))
        return icon;
    return load_icon(instance, id, system_metric(SM_CXSMICON, system_dpi()));
}

bool file_exists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folder_exists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A class list naming no style leaves the control unstyled; without UxTheme nothing is styled.
void use_classic_look(HWND control) {
    if (auto set_theme =
            system_function<HRESULT WINAPI(HWND, LPCWSTR, LPCWSTR)>(L"uxtheme.dll", "SetWindowTheme"))
        set_theme(control, L" ", L" ");
}

HMODULE system_module(const wchar_t* name) {
    if (HMODULE held = GetModuleHandleW(name))
        return held;
    HMODULE loaded = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Vista and 7 without the loader update refuse the search flags: the full path then, whose
    // own imports are looked for beside it first.
    if (!loaded && GetLastError() == ERROR_INVALID_PARAMETER) {
        std::wstring path(MAX_PATH, L'\0');
        UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            path.resize(length);
            loaded = LoadLibraryExW((path + L'\\' + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        }
    }
    return loaded;
}

void load_dlls_from_system_folder() {
    auto set_default_directories =
        system_function<BOOL WINAPI(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories");
    // Where Windows has no such call, the current folder is left out at least; system_module then
    // loads by full path.
    if (!set_default_directories || !set_default_directories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");
    // Now: the common controls' own later load of UxTheme then takes this one by its name (Wine's,
    // and Windows' without the loader update, would look in the program's folder).
    system_module(L"uxtheme.dll");
}

void load_sound_dll() {
    system_module(L"winmm.dll");
}

void select_exact(HWND list, const std::string& text) {
    std::wstring wide = widen(text);
    LRESULT index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(list, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index),
                 0);
}

void add_items(HWND list, const std::vector<std::wstring>& texts) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (const std::wstring& text : texts)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

POINT cursor_position() {
    POINT mouse;
    GetCursorPos(&mouse);
    return mouse;
}

void set_slider(HWND slider, int maximum, int line, int page, int tick_spacing) {
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, maximum));
    SendMessageW(slider, TBM_SETLINESIZE, 0, line);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, page);
    SendMessageW(slider, TBM_SETTICFREQ, tick_spacing, 0);
}

POINT centre_of(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void track_popup_menu(HWND owner, POINT at, std::initializer_list<menu_item> items) {
    unique_menu menu(CreatePopupMenu());
    for (const menu_item& item : items)
        AppendMenuW(menu.get(), MF_STRING, item.id, item.text);
    // A popup menu closes on a click elsewhere only when its owner is the foreground window;
    // the posted message lets it close properly afterwards (TrackPopupMenu remarks).
    SetForegroundWindow(owner);
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);
    if (IsWindow(owner))
        PostMessageW(owner, WM_NULL, 0, 0);
}

std::wstring window_text(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string read_file_start(const std::wstring& path, std::size_t max_bytes) {
    auto fail = [] { return std::system_error(static_cast<int>(GetLastError()), std::system_category()); };
    unique_file file(CreateFileW(path.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        throw fail();
    // Read until the end or the limit, whatever length the file claims: it may change meanwhile.
    std::string bytes(max_bytes, '\0');
    std::size_t filled = 0;
    while (filled < max_bytes) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(max_bytes - filled, 1 << 20));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + filled, chunk, &read, nullptr))
            throw fail();
        if (read == 0)
            break;
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<std::string> narrow_exactly(std::wstring_view wide, unsigned code_page) {
    if (wide.empty())
        return std::string();
    // Where the code page takes them, the flag and the report refuse stand-ins at once; elsewhere
    // (UTF-8 among them) the conversion fails when given them, and the round trip alone decides.
    bool reports = tocsinet::code_page_reports_stand_ins(code_page);
    DWORD flags = reports ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL replaced = FALSE;
    BOOL* used_default = reports ? &replaced : nullptr;
    int size = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(code_page, flags, wide.data(), size, nullptr, 0, nullptr, used_default);
    if (length <= 0 || replaced)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(code_page, flags, wide.data(), size, ansi.data(), length, nullptr,
                            used_default) != length ||
        replaced)
        return std::nullopt;
    int back = MultiByteToWideChar(code_page, 0, ansi.data(), length, nullptr, 0);
    std::wstring again(static_cast<std::size_t>(back > 0 ? back : 0), L'\0');
    if (back <= 0 || MultiByteToWideChar(code_page, 0, ansi.data(), length, again.data(), back) != back ||
        again != wide)
        return std::nullopt;
    return ansi;
}

std::wstring short_path(const std::wstring& path) {
    DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0)
        return {};
    std::wstring result(length, L'\0');
    length = GetShortPathNameW(path.c_str(), result.data(), length);
    result.resize(length < result.size() ? length : 0);
    return result;
}

std::string to_utf8(std::wstring_view wide) {
    if (wide.empty())
        return {};
    int size = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::wstring from_utf8(std::string_view utf8) {
    if (utf8.empty())
        return {};
    int size = static_cast<int>(utf8.size());
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string profile_read(const std::wstring& file, const std::string& section, const std::string& key,
                         std::size_t buffer_size) {
    std::vector<wchar_t> buffer(buffer_size, L'\0');
    DWORD count = GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), L"", buffer.data(),
                                           static_cast<DWORD>(buffer.size()), file.c_str());
    return narrow(std::wstring_view(buffer.data(), count));
}

bool profile_write(const std::wstring& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    return WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(value).c_str(),
                                      file.c_str()) != FALSE;
}

} // namespace platform
