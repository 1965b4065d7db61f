// A stand-in for the media player in the end-to-end tests; never shipped. The test prefix opens
// .mp3 .m3u .mid .wav with it, so the shell starts it with the alarm file's path. It appends to
// "<file>.log", one line each:
//   open <path>               when it starts
//   ready                     once its window of class "Winamp v1.x" exists
//   volume <wParam> <lParam>  for every WM_USER message the window receives
// An optional "<file>.player" holds the delay in milliseconds before the window is created, or
// "never". The player ends on WM_CLOSE, or by itself two minutes after it started.
#include <windows.h>

#include "log_file.h"

#include <shellapi.h>

#include <cstdlib>
#include <string>

namespace {

constexpr DWORD lifetime_ms = 120'000;
constexpr UINT_PTR lifetime_timer = 1;
constexpr const wchar_t* player_class = L"Winamp v1.x";

struct player {
    std::wstring log_path;
};

std::string utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}

using test_log::append_line;

// The sidecar's first word, or "" when there is none.
std::string read_sidecar(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    char buffer[64] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(file);
    std::string text(buffer, read);
    std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    std::size_t end = text.find_first_of(" \t\r\n", begin);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

LRESULT CALLBACK player_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* state = reinterpret_cast<player*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE: {
        state = static_cast<player*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        // Logged while the window is being created: any message to it is handled afterwards.
        append_line(state->log_path, "ready");
        return 0;
    }
    case WM_USER:
        if (state)
            append_line(state->log_path, "volume " + std::to_string(static_cast<unsigned long long>(wparam)) + " " +
                                             std::to_string(static_cast<long long>(lparam)));
        return 0;
    case WM_TIMER:
        if (wparam == lifetime_timer)
            DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ULONGLONG started = GetTickCount64();
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 2;
    player state{std::wstring(argv[1]) + L".log"};
    std::wstring file = argv[1];
    LocalFree(argv);
    append_line(state.log_path, "open " + utf8(file));

    std::string sidecar = read_sidecar(file + L".player");
    if (sidecar == "never") {
        Sleep(lifetime_ms);
        return 0;
    }
    DWORD delay = sidecar.empty() ? 0 : static_cast<DWORD>(std::strtoul(sidecar.c_str(), nullptr, 10));
    if (delay >= lifetime_ms)
        delay = lifetime_ms;
    Sleep(delay);

    WNDCLASSEXW window_class{sizeof window_class};
    window_class.lpfnWndProc = player_procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = player_class;
    if (!RegisterClassExW(&window_class))
        return 1;
    HWND window = CreateWindowExW(WS_EX_NOACTIVATE, player_class, L"Test player", WS_OVERLAPPEDWINDOW, 700, 0, 200,
                                  100, nullptr, nullptr, instance, &state);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    auto elapsed = static_cast<DWORD>(GetTickCount64() - started);
    SetTimer(window, lifetime_timer, elapsed < lifetime_ms ? lifetime_ms - elapsed : 1, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
