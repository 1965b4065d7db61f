// The benchmark's second baseline: a window with the main window's controls (the same classes,
// styles and count, in the same font) and no behaviour: what any program with this window pays to
// start. bench/run.sh checks that its controls are still the program's.
#include <windows.h>

#include <commctrl.h>

#include "baseline_window.h"

namespace {

struct control {
    const wchar_t* class_name;
    DWORD style; // WS_VISIBLE included for those shown
    DWORD ex_style;
};

constexpr DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE;
constexpr DWORD picture = SS_NOTIFY | WS_CLIPSIBLINGS | WS_VISIBLE;
constexpr DWORD frame = BS_GROUPBOX | WS_CLIPSIBLINGS | WS_VISIBLE;
constexpr DWORD hidden_label = SS_LEFT | SS_NOPREFIX;

// In the main window's order: the three time lists, the two buttons, the file box, the slider
// (the lists, the box and the slider each after its hidden label), the volume label, the icon, the
// two button frames, the three frames and the status bar.
constexpr control controls[] = {
    {WC_STATICW, hidden_label, 0},
    {WC_COMBOBOXW, list, 0},
    {WC_STATICW, hidden_label, 0},
    {WC_COMBOBOXW, list, 0},
    {WC_STATICW, hidden_label, 0},
    {WC_COMBOBOXW, list, 0},
    {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
    {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
    {WC_STATICW, hidden_label, 0},
    {WC_EDITW, ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP | WS_VISIBLE, WS_EX_CLIENTEDGE},
    {WC_STATICW, hidden_label, 0},
    {TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP | WS_VISIBLE, 0},
    {WC_STATICW, SS_LEFT | SS_NOPREFIX | WS_VISIBLE, 0},
    {WC_STATICW, SS_ICON | SS_NOTIFY | SS_CENTERIMAGE | WS_VISIBLE, 0},
    {WC_STATICW, picture, WS_EX_CLIENTEDGE},
    {WC_STATICW, picture, WS_EX_CLIENTEDGE},
    {WC_BUTTONW, frame, 0},
    {WC_BUTTONW, frame, 0},
    {WC_BUTTONW, frame, 0},
    {STATUSCLASSNAMEW, WS_VISIBLE, 0},
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Courier New");
    int made = baseline::run_window(instance, L"TocsinetControlsBaseline", show_command, [&](HWND window) {
        // Where they stand changes nothing of what making them costs: a plain grid.
        int index = 0;
        for (const control& c : controls) {
            HWND child = CreateWindowExW(c.ex_style, c.class_name, L"", WS_CHILD | c.style, index % 3 * 85,
                                         index / 3 * 30, 80, 24, window, nullptr, instance, nullptr);
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            ++index;
        }
    });
    DeleteObject(font);
    return made;
}
