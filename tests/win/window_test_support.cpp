#include "window_test_support.h"

#include <fstream>
#include <sstream>

#include "TC_Module.h"
#include "platform.h"

namespace window_tests {

std::string program_folder() { return platform::program_directory(); }
std::string settings_path() { return TC_Module::settings_file(); }
std::string version_path() { return program_folder() + "\\version.txt"; }

void write_file(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

HWND make_main_window() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window_class{sizeof window_class};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = instance;
    window_class.lpszClassName = L"TocsinetTestMain";
    RegisterClassExW(&window_class);
    HWND window = CreateWindowExW(0, L"TocsinetTestMain", L"Tocsinet", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30,
                                  260, 190, nullptr, nullptr, instance, nullptr);
    pump();
    return window;
}

std::wstring text(HWND window) { return platform::window_text(window); }

bool checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    pump();
}

int count_windows(const wchar_t* class_name) {
    struct search {
        const wchar_t* class_name;
        int count;
    } state{class_name, 0};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<search*>(data);
            wchar_t name[64];
            if (GetClassNameW(window, name, 64) && lstrcmpiW(name, s->class_name) == 0)
                ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&state));
    return state.count;
}

} // namespace window_tests
