// The side-by-side baseline of the benchmark: the least a Win32 window program does.
#include "baseline_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    return baseline::run_window(instance, L"TocsinetBaseline", show_command, [](HWND) {});
}
