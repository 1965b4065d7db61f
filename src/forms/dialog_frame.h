// What the four dialogs share: a navy window (the user's colours in high contrast) with no title
// bar and no task-bar button, the title strip (program icon, title words, line), framed buttons,
// and their placement.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <span>
#include <type_traits>

#include "layout.h"
#include "unique_handle.h"

namespace forms {

// Resources every dialog holds for its lifetime: those of its DPI, and its colours.
struct dialog_resources : dpi_resources {
    window_colours colours;
};

bool register_dialog_class(HINSTANCE instance, const wchar_t* class_name, WNDPROC procedure);

// Creates the dialog hidden, on its opener's top-left corner so it opens at the DPI of the opener's
// monitor; the opener reaches WM_CREATE as lpCreateParams.
HWND create_dialog(HINSTANCE instance, const wchar_t* class_name, HWND opener);

// Puts the dialog's top-left corner on the opener's: the top edge first, then the left.
void place_at_corner(HWND dialog, HWND opener);

// Colours for WM_CTLCOLORSTATIC/BTN: the backdrop's for the window's pictures and lines, the
// platform's defaults for everything else.
HBRUSH dialog_control_color(const dialog_resources& resources, HDC dc, HWND control,
                            std::span<const control_spec> specs);

// Paints the title words in blue capitals with a black shadow on the navy background (in the
// window's text colour on its background in high contrast).
void draw_title_picture(const DRAWITEMSTRUCT& item, const wchar_t* words, const dialog_resources& resources);

// WM_ERASEBKGND: the dialog's client area is the backdrop, the pages of its tab controls button face.
void erase_dialog_background(HWND dialog, HDC dc, const dialog_resources& resources,
                             std::span<const control_spec> specs);

// The messages every dialog answers alike: its title picture, background and control colours,
// and a change of the system's colours. Nothing when the message is not one of them.
std::optional<LRESULT> dialog_frame_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam,
                                            dialog_resources& resources, std::span<const control_spec> specs,
                                            const wchar_t* title_words);

// A dialog of this class that is open already, shown again and brought forward; null when none is.
HWND show_open_dialog(const wchar_t* class_name);
// Closes the dialog of this class as its own close would, when one is open.
void close_open_dialog(const wchar_t* class_name);

// What every dialog's state holds.
struct dialog_state {
    HWND window = nullptr;
    dialog_resources resources;
    focus_keeper focus;

    HWND control(int id) const { return GetDlgItem(window, id); }
};

// What makes one dialog: its class, table and title, and the handlers the shared window
// procedure routes its messages to. `Form` is the dialog's state, with `window` and `resources`.
template <class Form> struct dialog_kind {
    using form_type = Form;
    const wchar_t* class_name;
    const wchar_t* title_words;
    std::span<const control_spec> layout;
    SIZE client_twips;
    int first_focus;
    bool owned_by_opener; // closes with its opener
    void (*on_create)(Form&, HWND opener); // after the table's controls exist
    void (*Form_Load)(Form&);
    void (*on_command)(Form&, int id, int notification);
    void (*on_close)(Form&) = [](Form& form) { DestroyWindow(form.window); }; // Alt+F4, or the program closing it
    void (*on_destroy)(Form&) = [](Form&) {};                                // however it goes
    void (*SSTab1_Click)(Form&) = [](Form&) {};
};

template <class Form> Form* dialog_form(HWND dialog) {
    return reinterpret_cast<Form*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

// The one window procedure of the dialogs: the state lives as long as the window.
template <const auto& kind>
LRESULT CALLBACK dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    using Form = typename std::remove_cvref_t<decltype(kind)>::form_type;
    if (message == WM_CREATE) {
        const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lparam);
        auto form = std::make_unique<Form>();
        form->window = dialog;
        create_layout(dialog, {kind.client_twips, kind.layout}, form->resources);
        kind.on_create(*form, static_cast<HWND>(create.lpCreateParams));
        SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form.release()));
        return 0;
    }
    Form* form = dialog_form<Form>(dialog);
    if (!form)
        return DefWindowProcW(dialog, message, wparam, lparam);
    switch (message) {
    case WM_COMMAND:
        kind.on_command(*form, LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lparam)->code == TCN_SELCHANGE)
            kind.SSTab1_Click(*form);
        return 0;
    case WM_DPICHANGED:
        change_dpi(dialog, {kind.client_twips, kind.layout}, form->resources, wparam, lparam);
        return 0;
    case WM_ACTIVATE:
    case WM_CANCELMODE:
    case WM_SETFOCUS:
        return form->focus.on_message(dialog, message, wparam, lparam, form->control(kind.first_focus));
    case WM_CLOSE:
        kind.on_close(*form);
        return 0;
    case WM_DESTROY:
        kind.on_destroy(*form);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
        delete form;
        return 0;
    default:
        if (auto answered =
                dialog_frame_message(dialog, message, wparam, lparam, form->resources, kind.layout, kind.title_words))
            return *answered;
        return DefWindowProcW(dialog, message, wparam, lparam);
    }
}

// Opens the dialog, or shows again the one of its class that is open already.
template <const auto& kind> HWND open_dialog(HINSTANCE instance, HWND opener) {
    using Form = typename std::remove_cvref_t<decltype(kind)>::form_type;
    if (HWND open = show_open_dialog(kind.class_name))
        return open;
    if (!register_dialog_class(instance, kind.class_name, dialog_procedure<kind>))
        return nullptr;
    HWND dialog = create_dialog(instance, kind.class_name, opener);
    if (!dialog)
        return nullptr;
    if (kind.owned_by_opener)
        SetWindowLongPtrW(dialog, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(opener));
    kind.Form_Load(*dialog_form<Form>(dialog));
    ShowWindow(dialog, SW_SHOW);
    SetFocus(GetDlgItem(dialog, kind.first_focus));
    return dialog;
}

// Enables and raises the window a dialog disabled, however the dialog goes.
void give_back_focus(HWND opener);

// The tabbed dialogs: which tab each control lies on. The controls are the dialog's own children,
// above the tab control, and only the selected tab's are shown.
struct tab_member {
    int id;
    int tab;
};
void add_tabs(HWND tab_control, std::span<const wchar_t* const> captions);
// Selects the tab and shows its controls, hiding the other tabs'.
void show_tab(HWND dialog, HWND tab_control, std::span<const tab_member> members, int tab);
// After the user picked a tab (TCN_SELCHANGE).
void follow_tab(HWND dialog, HWND tab_control, std::span<const tab_member> members);

} // namespace forms
