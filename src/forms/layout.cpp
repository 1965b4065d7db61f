#include "layout.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "geometry.h"
#include "platform.h"
#include "resource.h"

namespace forms {
namespace {

struct window_kind {
    const wchar_t* class_name;
    DWORD style;
    DWORD ex_style;
};

window_kind kind_of(control_kind kind) {
    switch (kind) {
    case control_kind::button:
        return {WC_BUTTONW, BS_PUSHBUTTON, 0};
    case control_kind::check_box:
        return {WC_BUTTONW, BS_AUTOCHECKBOX, 0};
    case control_kind::drop_down_list:
        return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case control_kind::read_only_edit:
        return {WC_EDITW, ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case control_kind::read_only_multiline_edit:
        return {WC_EDITW, ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
    case control_kind::frame:
        return {WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, 0};
    case control_kind::label:
        return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
    case control_kind::picture:
        return {WC_STATICW, SS_NOTIFY | WS_CLIPSIBLINGS, WS_EX_CLIENTEDGE};
    case control_kind::borderless_picture:
        return {WC_STATICW, SS_NOTIFY | WS_CLIPSIBLINGS, 0};
    case control_kind::icon_picture:
        return {WC_STATICW, SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, 0};
    case control_kind::slider:
        return {TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 0};
    case control_kind::status_bar:
        return {STATUSCLASSNAMEW, 0, 0};
    case control_kind::tab_control:
        return {WC_TABCONTROLW, WS_CLIPSIBLINGS, 0};
    case control_kind::list_box:
    case control_kind::folder_list:
        return {WC_LISTBOXW, LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case control_kind::horizontal_line:
        return {WC_STATICW, SS_ETCHEDHORZ, 0};
    case control_kind::title_picture:
        return {WC_STATICW, SS_OWNERDRAW, 0};
    case control_kind::hidden_label:
        return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
    }
    return {WC_STATICW, 0, 0};
}

int px(int twips, int dpi) {
    return tocsinet::twips_to_pixels(twips, dpi);
}

// Pixel rectangle of a control in the window's client area, following its containers. A
// container's client area starts inside its border, which the system tells for its styles, so the
// rectangle is known before the container exists.
RECT control_rect(std::span<const control_spec> specs, const control_spec& spec, int dpi) {
    POINT origin{0, 0};
    if (const control_spec* container = find_spec(specs, spec.container)) {
        RECT outer = control_rect(specs, *container, dpi);
        window_kind kind = kind_of(container->kind);
        POINT border = platform::client_offset(WS_CHILD | kind.style, kind.ex_style, dpi);
        origin = {outer.left + border.x, outer.top + border.y};
    }
    int left = origin.x + px(spec.left, dpi);
    int top = origin.y + px(spec.top, dpi);
    return {left, top, left + px(spec.width, dpi), top + px(spec.height, dpi)};
}

// Where the control's window stands: a drop-down list as high as it is opened, a line 2 pixels.
RECT window_rect(std::span<const control_spec> specs, const control_spec& spec, int dpi) {
    RECT rect = control_rect(specs, spec, dpi);
    if (spec.kind == control_kind::drop_down_list)
        rect.bottom = rect.top + px(3000, dpi); // room for the opened list
    if (spec.kind == control_kind::horizontal_line)
        rect.bottom = rect.top + 2;
    return rect;
}

platform::unique_font make_font(const wchar_t* face, int height, int weight, BYTE quality) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = quality;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return platform::unique_font(CreateFontIndirectW(&font));
}

dpi_resources resources_at(HINSTANCE instance, int dpi) {
    dpi_resources made;
    made.dpi = dpi;
    auto courier = [dpi](double points) {
        return make_font(L"Courier New", tocsinet::font_height_for_points(points, dpi), FW_NORMAL,
                         DEFAULT_QUALITY);
    };
    made.font = courier(8.25);
    made.small_font = courier(6.75);
    // The title picture is 15 pixels high at 96 DPI.
    made.title_font = make_font(L"Arial", -MulDiv(13, dpi, 96), FW_BOLD, ANTIALIASED_QUALITY);
    made.large_icon.reset(
        platform::load_icon(instance, IDI_TOCSINET, platform::system_metric(SM_CXICON, dpi)));
    made.small_icon.reset(
        platform::load_icon(instance, IDI_TOCSINET, platform::system_metric(SM_CXSMICON, dpi)));
    return made;
}

// Closed, the list is as high as designed; its font alone would make it lower. The frame around
// the selection field differs between systems, so it is measured. `item_height` is the selection
// field's height that fitted the window's previous list, 0 for the first: the next starts from it,
// since Wine's lists report another height than they are given and need a second try.
void fit_closed_height(HWND list, int designed_height, int& item_height) {
    if (item_height)
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item_height);
    else
        item_height = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT closed;
        GetWindowRect(list, &closed);
        int off = designed_height - static_cast<int>(closed.bottom - closed.top);
        if (off == 0)
            break;
        item_height += off;
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item_height);
    }
}

// The panels' right edges, each at the sum of the widths up to it.
void set_panels(HWND status_bar, std::span<const int> widths, int dpi) {
    std::vector<int> edges;
    int twips = 0;
    for (int width : widths)
        edges.push_back(px(twips += width, dpi));
    SendMessageW(status_bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    // It docks itself to the bottom edge, as high as its font needs.
    SendMessageW(status_bar, WM_SIZE, 0, 0);
}

// What a control draws with at the DPI, and what follows from its size and font; `list_item_height`
// as for fit_closed_height. The control is moved to `place` after its font is set: a drop-down list
// keeps as room for opening the height it is given less its closed height at that moment.
void fit_control(HWND control, const control_spec& spec, const dpi_resources& resources,
                 int& list_item_height, const RECT* place = nullptr) {
    HFONT font = spec.kind == control_kind::folder_list ? resources.small_font.get() : resources.font.get();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (place)
        SetWindowPos(control, nullptr, place->left, place->top, place->right - place->left,
                     place->bottom - place->top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (spec.kind == control_kind::icon_picture)
        SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(resources.large_icon.get()), 0);
    else if (spec.kind == control_kind::drop_down_list)
        fit_closed_height(control, px(spec.height, resources.dpi), list_item_height);
    else if (spec.kind == control_kind::tab_control)
        cut_page_hole(control);
    else if (spec.kind == control_kind::status_bar)
        set_panels(control, spec.panels, resources.dpi);
}

void set_window_icons(HWND window, const dpi_resources& resources) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(resources.large_icon.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(resources.small_icon.get()));
}

} // namespace

HINSTANCE instance_of(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

const control_spec* find_spec(std::span<const control_spec> specs, int id) {
    for (const control_spec& spec : specs)
        if (spec.id == id)
            return &spec;
    return nullptr;
}

SIZE window_size(const window_design& design, DWORD style, DWORD ex_style, int dpi) {
    SIZE client{px(design.client_twips.cx, dpi), px(design.client_twips.cy, dpi)};
    return platform::window_size_for_client(client, style, ex_style, dpi);
}

void create_layout(HWND window, const window_design& design, dpi_resources& resources) {
    HINSTANCE instance = instance_of(window);
    resources = resources_at(instance, platform::window_dpi(window));
    SIZE size = window_size(design, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                            static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), resources.dpi);
    RECT made;
    GetWindowRect(window, &made);
    if (made.right - made.left != size.cx || made.bottom - made.top != size.cy)
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    set_window_icons(window, resources);
    // Each made where it stands: moving a control after it is made costs as much again (a drop-down
    // list is given its height once more, after its font).
    int list_item_height = 0;
    for (const control_spec& spec : design.controls) {
        window_kind kind = kind_of(spec.kind);
        bool hidden = spec.kind == control_kind::hidden_label;
        DWORD style = WS_CHILD | (hidden ? 0 : WS_VISIBLE) | kind.style | (spec.tab_stop ? WS_TABSTOP : 0);
        RECT rect = hidden ? RECT{} : window_rect(design.controls, spec, resources.dpi);
        HWND control =
            CreateWindowExW(kind.ex_style, kind.class_name, spec.caption ? spec.caption : L"", style,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
        if (!hidden)
            fit_control(control, spec, resources, list_item_height,
                        spec.kind == control_kind::drop_down_list ? &rect : nullptr);
    }
}

void change_dpi(HWND window, const window_design& design, dpi_resources& resources, WPARAM wparam,
                LPARAM lparam) {
    dpi_resources at_new_dpi = resources_at(instance_of(window), LOWORD(wparam));
    set_window_icons(window, at_new_dpi);
    int list_item_height = 0;
    for (const control_spec& spec : design.controls) {
        if (spec.kind == control_kind::hidden_label)
            continue;
        RECT place = window_rect(design.controls, spec, at_new_dpi.dpi);
        fit_control(GetDlgItem(window, spec.id), spec, at_new_dpi, list_item_height, &place);
    }
    // The old fonts and icons go only now that no control draws with them.
    resources = std::move(at_new_dpi);
    const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

RECT tab_page_area(HWND tabs) {
    RECT page;
    GetClientRect(tabs, &page);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    return page;
}

void cut_page_hole(HWND tabs) {
    RECT whole;
    GetWindowRect(tabs, &whole);
    RECT page = tab_page_area(tabs);
    HRGN shape = CreateRectRgn(0, 0, whole.right - whole.left, whole.bottom - whole.top);
    HRGN hole = CreateRectRgnIndirect(&page);
    CombineRgn(shape, shape, hole, RGN_DIFF);
    DeleteObject(hole);
    SetWindowRgn(tabs, shape, TRUE); // the window owns the region from here on
}

void focus_keeper::note(HWND window) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus))
        control_ = focus;
}

bool focus_keeper::activate(HWND window, WPARAM wparam, HWND first) {
    if (LOWORD(wparam) == WA_INACTIVE) {
        note(window);
        return false;
    }
    if (HIWORD(wparam)) // minimised: the window itself holds the focus until it is restored
        return false;
    give_back(window, first);
    return true;
}

void focus_keeper::give_back(HWND window, HWND first) {
    if (IsIconic(window))
        return;
    bool usable = control_ && IsWindow(control_) && IsChild(window, control_) && IsWindowVisible(control_) &&
                  IsWindowEnabled(control_);
    HWND to = usable ? control_ : first;
    if (to)
        SetFocus(to);
}

LRESULT focus_keeper::on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, HWND first) {
    if (message == WM_SETFOCUS) {
        give_back(window, first);
        return 0;
    }
    if (message == WM_ACTIVATE && activate(window, wparam, first))
        return 0;
    if (message == WM_CANCELMODE)
        note(window);
    return DefWindowProcW(window, message, wparam, lparam);
}

namespace {
constexpr COLORREF navy = RGB(1, 0, 66);
}

void window_colours::update() {
    HIGHCONTRASTW setting{sizeof setting};
    high_contrast_ = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
                     (setting.dwFlags & HCF_HIGHCONTRASTON);
    if (!navy_)
        navy_ = platform::unique_brush(CreateSolidBrush(navy));
}

HBRUSH window_colours::backdrop_brush() const {
    return high_contrast_ ? GetSysColorBrush(COLOR_WINDOW) : navy_.get();
}

COLORREF window_colours::backdrop() const {
    return high_contrast_ ? GetSysColor(COLOR_WINDOW) : navy;
}

HBRUSH window_colours::control_colour(HDC dc, bool on_backdrop) const {
    if (on_backdrop) {
        SetBkColor(dc, backdrop());
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return backdrop_brush();
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    return panel_brush();
}

COLORREF window_colours::title_text() const {
    return high_contrast_ ? GetSysColor(COLOR_WINDOWTEXT) : RGB(40, 90, 255);
}

void colours_changed(HWND window, UINT message, window_colours& colours) {
    bool was_high_contrast = colours.high_contrast();
    colours.update();
    // Common controls take the new system colours only when told (WM_SYSCOLORCHANGE remarks).
    if (message == WM_SYSCOLORCHANGE)
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    else if (colours.high_contrast() == was_high_contrast)
        return; // another setting: nothing to paint anew
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

namespace {

void place_window_at(HWND window, double left_twips, double top_twips, int dpi) {
    RECT current;
    GetWindowRect(window, &current);
    tocsinet::rect_px at = tocsinet::window_at_twips(left_twips, top_twips, current.right - current.left,
                                                     current.bottom - current.top, dpi);
    RECT wanted{at.left, at.top, at.right, at.bottom};
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor);
    auto to_rect = [](const RECT& r) { return tocsinet::rect_px{r.left, r.top, r.right, r.bottom}; };
    tocsinet::rect_px placed =
        tocsinet::reachable_position(to_rect(wanted), to_rect(monitor.rcMonitor), to_rect(monitor.rcWork));
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// A move onto a monitor of another DPI lays the window out anew (WM_DPICHANGED) at another size,
// and the window is placed again at that size: a few DPIs at most.
void place_window(HWND window, const dpi_resources& resources, double left_twips, double top_twips) {
    int system_dpi = platform::system_dpi();
    for (int attempt = 0, placed_at = 0; attempt < 4 && placed_at != resources.dpi; ++attempt) {
        placed_at = resources.dpi;
        place_window_at(window, left_twips, top_twips, system_dpi);
    }
}

POINT restored_position(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (!IsIconic(window))
        return {rect.left, rect.top};
    WINDOWPLACEMENT placement{sizeof placement};
    GetWindowPlacement(window, &placement);
    // The placement is relative to the work area of the window's monitor.
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return {placement.rcNormalPosition.left + monitor.rcWork.left - monitor.rcMonitor.left,
            placement.rcNormalPosition.top + monitor.rcWork.top - monitor.rcMonitor.top};
}

} // namespace forms
