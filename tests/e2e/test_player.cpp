// A stand-in for the media player in the end-to-end tests; never shipped. The test prefix opens
// .mp3 .m3u .mid .wav with it, so the shell starts it with the alarm file's path. It appends to
// "<file>.log", one line each:
//   open <path>               when it starts
//   ready                     once its window of class "Winamp v1.x" exists
//   volume <wParam> <lParam>  for every WM_USER message the window receives
// With a "<file>.player" beside the file it never makes a window; with a "<file>.hung" its window
// never reads its messages, and it ends 20 s after. The player ends on WM_CLOSE, or by itself two
// minutes after its start or its window.
#include <windows.h>

#include <string>

#include "log_file.h"

namespace {

constexpr DWORD lifetime_ms = 120'000;
constexpr DWORD hung_ms = 20'000;
constexpr const wchar_t* player_class = L"Winamp v1.x";

LRESULT CALLBACK player_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    const auto* log = reinterpret_cast<const std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE: // while the window is being created: any message to it is handled afterwards
        test_log::append(*log, "ready\n");
        return 0;
    case WM_USER:
        test_log::append(*log, "volume " + std::to_string(wparam) + " " + std::to_string(lparam) + "\n");
        return 0;
    case WM_TIMER:
    case WM_DESTROY: // also on WM_CLOSE, which DefWindowProcW answers with DestroyWindow
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    std::wstring file = command_line; // the quoted path
    std::erase(file, L'"');
    std::wstring log = file + L".log";
    test_log::append(log, "open " + test_log::utf8(file) + "\n");
    // No window at all, so the program's wait for one runs out.
    if (GetFileAttributesW((file + L".player").c_str()) != INVALID_FILE_ATTRIBUTES) {
        Sleep(lifetime_ms);
        return 0;
    }
    WNDCLASSW window_class{.lpfnWndProc = player_procedure, .hInstance = instance, .lpszClassName = player_class};
    RegisterClassW(&window_class);
    HWND window = CreateWindowExW(WS_EX_NOACTIVATE, player_class, L"Test player", WS_OVERLAPPEDWINDOW, 700, 0, 200, 100,
                                  nullptr, nullptr, instance, &log);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    if (GetFileAttributesW((file + L".hung").c_str()) != INVALID_FILE_ATTRIBUTES) {
        Sleep(hung_ms);
        return 0;
    }
    SetTimer(window, 1, lifetime_ms, nullptr);
    for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0;)
        DispatchMessageW(&message);
    return 0;
}
