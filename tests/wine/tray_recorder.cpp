// Stands in for the task bar during the Wine tests. Wine's shell32 hands every Shell_NotifyIcon
// record to the first top-level window of class "Shell_TrayWnd" by WM_COPYDATA; a topmost one
// created before any program starts is that window. Each record becomes one line of the log
// file named on the command line:
//   <operation> 0x<hwnd> <uID> <uFlags> <uCallbackMessage> <tooltip>
// operation is add, modify, delete, setfocus or setversion; the numbers are decimal but the
// hwnd; the tooltip (UTF-8, with \r, \n and \\ escaped) runs to the end of the line. The log is created, empty, once the
// window exists, which tells the fixture that programs may start.
#include <windows.h>

#include "log_file.h"

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const wchar_t* tray_class = L"Shell_TrayWnd";

// The start of the record Wine sends: four 32-bit values, then the tooltip.
struct record_head {
    std::uint32_t hwnd;
    std::uint32_t id;
    std::uint32_t flags;
    std::uint32_t callback_message;
    wchar_t tip[128];
};

std::string utf8(const wchar_t* text, std::size_t length) {
    if (length == 0)
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), result.data(), size, nullptr, nullptr);
    return result;
}

const char* operation_name(ULONG_PTR operation) {
    switch (operation) {
    case NIM_ADD:
        return "add";
    case NIM_MODIFY:
        return "modify";
    case NIM_DELETE:
        return "delete";
    case NIM_SETFOCUS:
        return "setfocus";
    case NIM_SETVERSION:
        return "setversion";
    default:
        return "unknown";
    }
}

using test_log::append_line;

// A tooltip may hold line breaks; the log keeps one record per line.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

void record(const std::wstring& log_path, const COPYDATASTRUCT& data) {
    record_head head{};
    std::memcpy(&head, data.lpData, data.cbData < sizeof head ? data.cbData : sizeof head);
    std::size_t tip_length = 0;
    while (tip_length < 128 && head.tip[tip_length] != L'\0')
        ++tip_length;
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "0x%x %u %u %u ", static_cast<unsigned>(head.hwnd),
                  static_cast<unsigned>(head.id), static_cast<unsigned>(head.flags),
                  static_cast<unsigned>(head.callback_message));
    append_line(log_path, std::string(operation_name(data.dwData)) + " " + numbers + escaped(utf8(head.tip, tip_length)));
}

LRESULT CALLBACK tray_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) {
        auto* log_path = static_cast<std::wstring*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(log_path));
        return 0;
    }
    if (message == WM_COPYDATA) {
        const auto* log_path = reinterpret_cast<const std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
        if (log_path && data && data->lpData && data->cbData >= 4 * sizeof(std::uint32_t))
            record(*log_path, *data);
        return TRUE;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    if (!command_line || !*command_line)
        return 2;
    std::wstring log_path = command_line;
    if (log_path.size() >= 2 && log_path.front() == L'"' && log_path.back() == L'"')
        log_path = log_path.substr(1, log_path.size() - 2);

    WNDCLASSEXW window_class{sizeof window_class};
    window_class.lpfnWndProc = tray_procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = tray_class;
    if (!RegisterClassExW(&window_class))
        return 1;
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, tray_class, L"", WS_POPUP, 0,
                                  0, 1, 1, nullptr, nullptr, instance, &log_path);
    if (!window)
        return 1;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    HANDLE log = CreateFileW(log_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(log);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
