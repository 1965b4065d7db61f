// Stands in for the task bar during the Wine tests. Wine's shell32 hands every Shell_NotifyIcon
// record to the first top-level window of class "Shell_TrayWnd" by WM_COPYDATA; a topmost one
// created before any program starts is that window. Each record goes to the log file named on the
// command line as "<operation> 0x<hwnd> <uID> <uFlags> <uCallbackMessage> <tooltip>", ended by a
// NUL as the tooltip (UTF-8) may hold line breaks. The log is created, empty, once the window
// exists, which tells the fixture that programs may start.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "log_file.h"

namespace {

// The start of the record Wine sends: four 32-bit values, then the tooltip.
struct record_head {
    DWORD hwnd, id, flags, callback_message;
    wchar_t tip[128];
};

// By NIM_ADD, NIM_MODIFY, NIM_DELETE, NIM_SETFOCUS and NIM_SETVERSION, in that order.
constexpr const char* operations[] = {"add", "modify", "delete", "setfocus", "setversion"};

LRESULT CALLBACK tray_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    if (message != WM_COPYDATA)
        return DefWindowProcW(window, message, wparam, lparam);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    record_head head{};
    std::memcpy(&head, data->lpData, std::min<std::size_t>(data->cbData, sizeof head));
    char fields[64];
    std::snprintf(fields, sizeof fields, " 0x%lx %lu %lu %lu ", head.hwnd, head.id, head.flags, head.callback_message);
    std::string operation = data->dwData < std::size(operations) ? operations[data->dwData] : "unknown";
    const auto* log = reinterpret_cast<const std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    test_log::append(*log, operation + fields + test_log::utf8({head.tip, wcsnlen(head.tip, 128)}) + '\0');
    return TRUE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    std::wstring log = command_line;
    std::erase(log, L'"');
    WNDCLASSW window_class{.lpfnWndProc = tray_procedure, .hInstance = instance, .lpszClassName = L"Shell_TrayWnd"};
    RegisterClassW(&window_class);
    CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 1, 1,
                    nullptr, nullptr, instance, &log);
    test_log::append(log, ""); // the fixture's sign that programs may start
    for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0;)
        DispatchMessageW(&message);
    return 0;
}
