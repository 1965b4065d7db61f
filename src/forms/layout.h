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
    picture, // a picture box with the default single border
    borderless_picture,
    icon_picture, // shows the program icon, takes clicks
    slider,
    status_bar, // docked at the bottom; its panels' widths in `panels`
    tab_control,
    list_box,
    folder_list,     // a list box in the smaller font
    horizontal_line, // drawn from left to left + width at top; height is ignored
    title_picture,   // the dialog's title words, drawn by the dialog (owner-drawn)
    hidden_label,    // never shown: names the control after it for screen readers; not placed
};

// The id of the hidden labels, which nothing addresses.
inline constexpr int label_id = -1;

struct control_spec {
    int id;
    control_kind kind;
    const wchar_t* caption;
    int container;                // id of the control it lies in, 0 for the window's client area
    int left, top, width, height; // twips, relative to the container's client area
    bool tab_stop;
    std::span<const int> panels = {}; // twips
};

// A window's client area and its controls, in table order: their Z order (first on top) and tab order.
// A screen reader names a control that is not a button by the label just before it in that order.
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

HINSTANCE instance_of(HWND window);

// The control's row of the table; null when it has none.
const control_spec* find_spec(std::span<const control_spec> specs, int id);

// The size of a window of these styles whose client area is the design's at a DPI.
SIZE window_size(const window_design& design, DWORD style, DWORD ex_style, int dpi);

// WM_CREATE: the resources at the DPI of the monitor the window opens on, the window sized to its
// client area at that DPI (unless it was made at that size), and its controls created and laid out.
void create_layout(HWND window, const window_design& design, dpi_resources& resources);

// WM_DPICHANGED: the resources made again for the new DPI, every control placed from the table
// again, and the window put on the rectangle Windows suggests. Lists, sliders and text boxes keep
// their contents, selections and positions.
void change_dpi(HWND window, const window_design& design, dpi_resources& resources, WPARAM wparam,
                LPARAM lparam);

// Inside the border under the tabs, in the tab control's coordinates.
RECT tab_page_area(HWND tabs);
// The page area becomes a hole in the tab control: the controls there show and take the clicks,
// and the dialog paints the page behind them. Again whenever the tabs or the size change.
void cut_page_hole(HWND tabs);

// The control that had the focus, given back when the window is active again: DefWindowProc would
// focus the window itself, where arrows and Space reach no control.
class focus_keeper {
  public:
    // WM_ACTIVATE going inactive, and WM_CANCELMODE (the window is being disabled, which takes the
    // focus from its controls): the focused control, when it is one of the window's.
    void note(HWND window);
    // WM_ACTIVATE: gives the focus back, to `first` the first time. False when DefWindowProc should
    // have the message (going inactive, or activated while minimised).
    bool activate(HWND window, WPARAM wparam, HWND first);
    // The window itself got the focus (WM_SETFOCUS, or restored from minimised with it): the
    // control takes it instead.
    void give_back(HWND window, HWND first);
    // Answers WM_ACTIVATE, WM_CANCELMODE and WM_SETFOCUS by the three above.
    LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, HWND first);

  private:
    HWND control_ = nullptr; // borrowed: one of the window's controls
};

// The one rule for the windows' colours: navy as designed, or the user's own colours when high
// contrast is on. Frames, tab pages and the controls on them keep the button face either way.
class window_colours {
  public:
    window_colours() { update(); }
    // Reads the high-contrast setting; again on WM_SETTINGCHANGE and WM_SYSCOLORCHANGE.
    void update();
    bool high_contrast() const { return high_contrast_; }
    // The windows' own background and their picture boxes' and lines'.
    HBRUSH backdrop_brush() const;
    COLORREF backdrop() const;
    // Frames and tab pages.
    HBRUSH panel_brush() const { return GetSysColorBrush(COLOR_BTNFACE); }
    // WM_CTLCOLORSTATIC/BTN: the DC's colours for a control on the backdrop or on a panel, and its brush.
    HBRUSH control_colour(HDC dc, bool on_backdrop) const;
    // The dialogs' title words, and their shadow (none in high contrast).
    COLORREF title_text() const;
    bool title_shadow() const { return !high_contrast_; }

  private:
    bool high_contrast_ = false;
    platform::unique_brush navy_;
};

// WM_SETTINGCHANGE / WM_SYSCOLORCHANGE: the colours read again, the common controls told, and the
// window painted anew.
void colours_changed(HWND window, UINT message, window_colours& colours);

// The window at a position saved in twips at the system's DPI (the window's DPI may differ), moved
// onto a monitor when none would show it there.
void place_window(HWND window, const dpi_resources& resources, double left_twips, double top_twips);
// Where the window stands when it is not minimised: a minimised or hidden window reports a
// placeholder far off screen, which the next start must not use.
POINT restored_position(HWND window);

} // namespace forms
