// What the four dialogs share: a navy window with no title bar and no task-bar button, the
// title strip (program icon, title words, line), framed buttons, and their placement.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

#include "layout.h"
#include "unique_handle.h"

namespace forms {

// Resources every dialog holds for its lifetime.
struct dialog_resources {
    int dpi = 96;
    platform::unique_font font;       // "Courier New" 8.25 pt
    platform::unique_font small_font; // 6.75 pt, for the folder lists
    platform::unique_font title_font;
    platform::unique_brush navy_brush;
    platform::unique_icon icon;

    void load(HINSTANCE instance);
};

bool register_dialog_class(HINSTANCE instance, const wchar_t* class_name, WNDPROC procedure);

// Creates the dialog hidden, sized to its client area in twips; `state` reaches WM_CREATE
// as lpCreateParams.
HWND create_dialog(HINSTANCE instance, const wchar_t* class_name, int client_width_twips,
                   int client_height_twips, void* state);

// Puts the dialog's top-left corner on the opener's: the top edge first, then the left.
void place_at_corner(HWND dialog, HWND opener);

// The dialog's controls from its table; the icon pictures get the program icon.
void create_dialog_controls(HWND dialog, std::span<const control_spec> specs, const dialog_resources& resources);

// Colours for WM_CTLCOLORSTATIC/BTN: navy for the window's pictures and lines, the platform's
// defaults for everything else.
HBRUSH dialog_control_color(const dialog_resources& resources, HDC dc, HWND control,
                            std::span<const control_spec> specs);

// Paints the title words in blue capitals with a black shadow on the navy background.
void draw_title_picture(const DRAWITEMSTRUCT& item, const wchar_t* words, const dialog_resources& resources);

// WM_ERASEBKGND: the dialog's client area is navy, the pages of its tab controls button face.
void erase_dialog_background(HWND dialog, HDC dc, const dialog_resources& resources,
                             std::span<const control_spec> specs);

// The messages every dialog answers alike: its title picture, navy background and control
// colours. Nothing when the message is not one of them.
std::optional<LRESULT> dialog_frame_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam,
                                            const dialog_resources& resources, std::span<const control_spec> specs,
                                            const wchar_t* title_words);

// A dialog of this class that is open already, shown again and brought forward; null when none is.
HWND show_open_dialog(const wchar_t* class_name);
// Closes the dialog of this class as its own close would, when one is open.
void close_open_dialog(const wchar_t* class_name);

// The state a dialog keeps for its lifetime.
template <class Form> Form* dialog_form(HWND dialog) {
    return reinterpret_cast<Form*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

// What every dialog's window procedure does alike: WM_CREATE goes to `create`, which stores the
// dialog's state; the state goes with the window; the frame messages are answered. Nothing when
// the dialog's own handling follows, with `form` set to its state.
template <class Form>
std::optional<LRESULT> common_dialog_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam,
                                             bool (*create)(HWND, const CREATESTRUCTW&),
                                             std::span<const control_spec> specs, const wchar_t* title_words,
                                             Form*& form) {
    if (message == WM_CREATE)
        return create(dialog, *reinterpret_cast<CREATESTRUCTW*>(lparam)) ? 0 : -1;
    form = dialog_form<Form>(dialog);
    if (!form)
        return DefWindowProcW(dialog, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
        delete form;
        form = nullptr;
        return 0;
    }
    return dialog_frame_message(dialog, message, wparam, lparam, form->resources, specs, title_words);
}

// Opens a dialog: the open one of its class again, else a new one, which `load` fills before it
// shows (owned by `owner` when there is one).
template <class Form>
HWND open_dialog(HINSTANCE instance, const wchar_t* class_name, WNDPROC procedure, SIZE client_twips, void* state,
                 HWND owner, void (*load)(Form&), int focus_id) {
    if (HWND open = show_open_dialog(class_name))
        return open;
    if (!register_dialog_class(instance, class_name, procedure))
        return nullptr;
    HWND dialog = create_dialog(instance, class_name, client_twips.cx, client_twips.cy, state);
    if (!dialog)
        return nullptr;
    if (owner)
        SetWindowLongPtrW(dialog, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    load(*dialog_form<Form>(dialog));
    ShowWindow(dialog, SW_SHOW);
    SetFocus(GetDlgItem(dialog, focus_id));
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
