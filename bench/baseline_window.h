// What both baselines of the benchmark are: one window of our own class, shown, and its message loop.
#pragma once

#include <windows.h>

namespace baseline {

inline LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Runs the window until it closes; `fill` gives it its contents before it shows. 1 when it cannot be made.
template <class Fill> int run_window(HINSTANCE instance, const wchar_t* class_name, int show_command, Fill fill) {
    WNDCLASSEXW window_class{sizeof window_class};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = class_name;
    if (!RegisterClassExW(&window_class))
        return 1;
    HWND window = CreateWindowExW(0, class_name, L"Baseline", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 263, 200, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    fill(window);
    ShowWindow(window, show_command);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace baseline
