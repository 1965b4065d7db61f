// Controls are designed in twips as data and created once, in pixels, at the window's DPI.
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
    status_bar,
    tab_control,
    list_box,
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
};

// Pixel rectangle of a control in the window's client area, following its containers.
RECT control_rect(std::span<const control_spec> specs, const control_spec& spec, int dpi);

// Creates the controls in table order, which is also their Z order (first on top) and tab order.
void create_controls(HWND window, std::span<const control_spec> specs, int dpi, HFONT font);

platform::unique_font make_font(double points, int dpi);

// The window size whose client area is the given size in twips.
SIZE window_size_for_client(int width_twips, int height_twips, DWORD style, DWORD ex_style, int dpi);

inline constexpr COLORREF navy = RGB(1, 0, 66);

} // namespace forms
