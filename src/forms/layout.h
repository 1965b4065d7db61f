// Controls are designed in twips as data and laid out in pixels at the window's DPI, and again,
// from the same table, whenever the window's DPI changes.
#pragma once

#include <windows.h>

#include <span>

#include "unique_handle.h"

namespace forms {

enum class control_kind {
    button,
    check_box,
    drop_down_list,
    read_only_edit,
    read_only_multiline_edit,
    frame,
    label,
    picture,          // a picture box with the default single border
    borderless_picture,
    icon_picture,     // shows the program icon, takes clicks
    slider,
    status_bar,       // docked at the bottom; its panels' widths in `panels`
    tab_control,
    list_box,
    folder_list,      // a list box in the smaller font
    horizontal_line,  // drawn from left to left + width at top; height is ignored
    title_picture,    // the dialog's title words, drawn by the dialog (owner-drawn)
};

struct control_spec {
    int id;
    control_kind kind;
    const wchar_t* caption;
    int container; // id of the control it lies in, 0 for the window's client area
    int left, top, width, height; // twips, relative to the container's client area
    bool tab_stop;
    std::span<const int> panels = {}; // twips
};

// A window's client area and its controls, in table order: their Z order (first on top) and tab order.
struct window_design {
    SIZE client_twips;
    std::span<const control_spec> controls;
};

// What a window draws with at its DPI; all of it is made again when the DPI changes.
struct dpi_resources {
    int dpi = 96;
    platform::unique_font font;       // "Courier New" 8.25 pt, every control's
    platform::unique_font small_font; // 6.75 pt, the folder lists'
    platform::unique_font title_font; // the dialogs' title words
    platform::unique_icon large_icon; // the icon pictures' and the task switcher's
    platform::unique_icon small_icon; // the title bar's and the notification area's
};

// The control's row of the table; null when it has none.
const control_spec* find_spec(std::span<const control_spec> specs, int id);

// WM_CREATE: the resources at the DPI of the monitor the window opens on, the window sized to its
// client area at that DPI, and its controls created and laid out.
void create_layout(HWND window, const window_design& design, dpi_resources& resources);

// WM_DPICHANGED: the resources made again for the new DPI, every control placed from the table
// again, and the window put on the rectangle Windows suggests. Lists, sliders and text boxes keep
// their contents, selections and positions.
void change_dpi(HWND window, const window_design& design, dpi_resources& resources, WPARAM wparam, LPARAM lparam);

// Inside the border under the tabs, in the tab control's coordinates.
RECT tab_page_area(HWND tabs);
// The page area becomes a hole in the tab control: the controls there show and take the clicks,
// and the dialog paints the page behind them. Again whenever the tabs or the size change.
void cut_page_hole(HWND tabs);

inline constexpr COLORREF navy = RGB(1, 0, 66);

} // namespace forms
