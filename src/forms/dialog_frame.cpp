#include "dialog_frame.h"

#include <commctrl.h>

#include <cwctype>
#include <string>

#include "platform.h"
#include "resource.h"

namespace forms {
namespace {

constexpr DWORD dialog_style = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
// A tool window gets no task-bar button; control-parent gives Tab its way through the controls.
constexpr DWORD dialog_ex_style = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

} // namespace

bool register_dialog_class(HINSTANCE instance, const wchar_t* class_name, WNDPROC procedure) {
    WNDCLASSEXW window_class{sizeof window_class};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TOCSINET));
    window_class.lpszClassName = class_name;
    if (RegisterClassExW(&window_class))
        return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND create_dialog(HINSTANCE instance, const wchar_t* class_name, HWND opener) {
    RECT corner;
    GetWindowRect(opener, &corner);
    // Sized to its design at that DPI as it is created.
    return CreateWindowExW(dialog_ex_style, class_name, L"", dialog_style, corner.left, corner.top, 0, 0, nullptr,
                           nullptr, instance, opener);
}

void place_at_corner(HWND dialog, HWND opener) {
    RECT opener_rect;
    GetWindowRect(opener, &opener_rect);
    RECT rect;
    GetWindowRect(dialog, &rect);
    SetWindowPos(dialog, nullptr, rect.left, opener_rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(dialog, nullptr, opener_rect.left, opener_rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH dialog_control_color(const dialog_resources& resources, HDC dc, HWND control,
                            std::span<const control_spec> specs) {
    const control_spec* spec = find_spec(specs, GetDlgCtrlID(control));
    bool on_backdrop =
        spec && (spec->kind == control_kind::picture || spec->kind == control_kind::borderless_picture ||
                 spec->kind == control_kind::icon_picture || spec->kind == control_kind::title_picture ||
                 spec->kind == control_kind::horizontal_line);
    return resources.colours.control_colour(dc, on_backdrop);
}

void draw_title_picture(const DRAWITEMSTRUCT& item, const wchar_t* words, const dialog_resources& resources) {
    FillRect(item.hDC, &item.rcItem, resources.colours.backdrop_brush());
    std::wstring capitals = words;
    for (wchar_t& c : capitals)
        c = static_cast<wchar_t>(std::towupper(c));
    platform::scoped_select font(item.hDC, resources.title_font.get());
    SetBkMode(item.hDC, TRANSPARENT);
    if (resources.colours.title_shadow()) {
        RECT shadow = item.rcItem;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(item.hDC, RGB(0, 0, 0));
        DrawTextW(item.hDC, capitals.c_str(), -1, &shadow,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    RECT text = item.rcItem;
    SetTextColor(item.hDC, resources.colours.title_text());
    DrawTextW(item.hDC, capitals.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void erase_dialog_background(HWND dialog, HDC dc, const dialog_resources& resources,
                             std::span<const control_spec> specs) {
    RECT client;
    GetClientRect(dialog, &client);
    FillRect(dc, &client, resources.colours.backdrop_brush());
    for (const control_spec& spec : specs) {
        if (spec.kind != control_kind::tab_control)
            continue;
        HWND tabs = GetDlgItem(dialog, spec.id);
        RECT page = tab_page_area(tabs);
        MapWindowPoints(tabs, dialog, reinterpret_cast<POINT*>(&page), 2);
        FillRect(dc, &page, resources.colours.panel_brush());
    }
}

std::optional<LRESULT> dialog_frame_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam,
                                            dialog_resources& resources, std::span<const control_spec> specs,
                                            const wchar_t* title_words) {
    switch (message) {
    case WM_DRAWITEM:
        draw_title_picture(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam), title_words, resources);
        return TRUE;
    case WM_ERASEBKGND:
        erase_dialog_background(dialog, reinterpret_cast<HDC>(wparam), resources, specs);
        return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(
            dialog_control_color(resources, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam), specs));
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        colours_changed(dialog, message, resources.colours);
        return 0;
    default:
        return std::nullopt;
    }
}

HWND show_open_dialog(const wchar_t* class_name) {
    HWND open = platform::find_own_window(class_name);
    if (open) {
        ShowWindow(open, SW_SHOW);
        SetForegroundWindow(open);
    }
    return open;
}

void close_open_dialog(const wchar_t* class_name) {
    if (HWND open = platform::find_own_window(class_name))
        SendMessageW(open, WM_CLOSE, 0, 0);
}

void give_back_focus(HWND opener) {
    if (!opener || !IsWindow(opener))
        return;
    EnableWindow(opener, TRUE);
    if (IsWindowVisible(opener))
        SetForegroundWindow(opener);
}

void add_tabs(HWND tab_control, std::span<const wchar_t* const> captions) {
    // A styled tab page is white; the labels and check boxes on it have the button face.
    platform::use_classic_look(tab_control);
    int index = 0;
    for (const wchar_t* caption : captions) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(caption);
        SendMessageW(tab_control, TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
    }
    // The tab control comes before the controls of its pages in Z order, so Tab reaches it right
    // after the buttons; the controls of its pages show through its page area.
    cut_page_hole(tab_control);
}

void show_tab(HWND dialog, HWND tab_control, std::span<const tab_member> members, int tab) {
    SendMessageW(tab_control, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    follow_tab(dialog, tab_control, members);
}

void follow_tab(HWND dialog, HWND tab_control, std::span<const tab_member> members) {
    auto selected = static_cast<int>(SendMessageW(tab_control, TCM_GETCURSEL, 0, 0));
    for (const tab_member& member : members)
        ShowWindow(GetDlgItem(dialog, member.id), member.tab == selected ? SW_SHOWNA : SW_HIDE);
}

} // namespace forms
