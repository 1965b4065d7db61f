#include "layout.h"

#include <commctrl.h>

#include "geometry.h"

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
        return {WC_LISTBOXW, LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case control_kind::horizontal_line:
        return {WC_STATICW, SS_ETCHEDHORZ, 0};
    case control_kind::title_picture:
        return {WC_STATICW, SS_OWNERDRAW, 0};
    }
    return {WC_STATICW, 0, 0};
}

const control_spec* find_spec(std::span<const control_spec> specs, int id) {
    for (const control_spec& spec : specs)
        if (spec.id == id)
            return &spec;
    return nullptr;
}

// A container's client area starts inside its border.
POINT client_origin(std::span<const control_spec> specs, int container, int dpi) {
    const control_spec* spec = find_spec(specs, container);
    if (!spec)
        return {0, 0};
    RECT rect = control_rect(specs, *spec, dpi);
    POINT origin{rect.left, rect.top};
    if (spec->kind == control_kind::picture) {
        origin.x += GetSystemMetrics(SM_CXEDGE);
        origin.y += GetSystemMetrics(SM_CYEDGE);
    }
    return origin;
}

} // namespace

RECT control_rect(std::span<const control_spec> specs, const control_spec& spec, int dpi) {
    POINT origin = client_origin(specs, spec.container, dpi);
    int left = origin.x + tocsinet::twips_to_pixels(spec.left, dpi);
    int top = origin.y + tocsinet::twips_to_pixels(spec.top, dpi);
    return {left, top, left + tocsinet::twips_to_pixels(spec.width, dpi),
            top + tocsinet::twips_to_pixels(spec.height, dpi)};
}

void create_controls(HWND window, std::span<const control_spec> specs, int dpi, HFONT font) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    for (const control_spec& spec : specs) {
        window_kind kind = kind_of(spec.kind);
        RECT rect = control_rect(specs, spec, dpi);
        int height = rect.bottom - rect.top;
        if (spec.kind == control_kind::drop_down_list)
            height = tocsinet::twips_to_pixels(3000, dpi); // room for the opened list
        if (spec.kind == control_kind::horizontal_line)
            height = 2;
        DWORD style = WS_CHILD | WS_VISIBLE | kind.style | (spec.tab_stop ? WS_TABSTOP : 0);
        HWND control = CreateWindowExW(kind.ex_style, kind.class_name, spec.caption ? spec.caption : L"", style,
                                       rect.left, rect.top, rect.right - rect.left, height, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (spec.kind == control_kind::drop_down_list) {
            // Closed, the list is as high as designed; its font alone would make it lower. The
            // frame around the selection field differs between systems, so it is measured.
            LRESULT item = SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
            for (int attempt = 0; attempt < 3; ++attempt) {
                RECT closed;
                GetWindowRect(control, &closed);
                LRESULT off = (rect.bottom - rect.top) - (closed.bottom - closed.top);
                if (off == 0)
                    break;
                item += off;
                SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
            }
        }
    }
}

platform::unique_font make_font(double points, int dpi) {
    LOGFONTW font{};
    font.lfHeight = tocsinet::font_height_for_points(points, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, L"Courier New", LF_FACESIZE);
    return platform::unique_font(CreateFontIndirectW(&font));
}

SIZE window_size_for_client(int width_twips, int height_twips, DWORD style, DWORD ex_style, int dpi) {
    RECT rect{0, 0, tocsinet::twips_to_pixels(width_twips, dpi), tocsinet::twips_to_pixels(height_twips, dpi)};
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace forms
