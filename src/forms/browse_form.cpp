#include "browse_form.h"

#include <memory>
#include <string>

#include "TC_Module.h"
#include "alarm.h"
#include "dialog_frame.h"
#include "file_system.h"
#include "folder_lists.h"
#include "layout.h"
#include "platform.h"

namespace forms {
namespace {

constexpr int client_width = 3255;
constexpr int client_height = 4935;
constexpr const wchar_t* title_words = L"Browse...";
constexpr const wchar_t* file_pattern = L"*.mp3;*.m3u;*.mid;*.wav";

// Table order is Z order and Tab order: drive, folders, files, OK, Cancel.
constexpr control_spec browse_form_layout[] = {
    {id_bf_drive, control_kind::drop_down_list, nullptr, 0, 50, 600, 3175, 330, true},
    {id_bf_dir, control_kind::list_box, nullptr, 0, 50, 960, 3175, 1980, true},
    {id_bf_file, control_kind::list_box, nullptr, 0, 35, 3045, 3215, 1350, true},
    {id_bf_ok, control_kind::button, L"OK", id_bf_Picture1, 0, 0, 1035, 280, true},
    {id_bf_cancel, control_kind::button, L"Cancel", id_bf_Picture2, 0, 0, 1035, 280, true},
    {id_bf_Picture1, control_kind::picture, nullptr, 0, 480, 4560, 1095, 340, false},
    {id_bf_Picture2, control_kind::picture, nullptr, 0, 1560, 4560, 1095, 340, false},
    {id_bf_Picture3, control_kind::title_picture, nullptr, 0, 520, 120, 1680, 225, false},
    {id_bf_Picture4, control_kind::icon_picture, nullptr, 0, 0, 0, 480, 480, false},
    {id_bf_Line1, control_kind::horizontal_line, nullptr, 0, 0, 500, 4440, 0, false},
    {id_bf_Line2, control_kind::horizontal_line, nullptr, 0, -240, 4440, 4440, 0, false},
};

struct browse_form_state {
    HWND window = nullptr;
    HWND main_window = nullptr; // borrowed
    dialog_resources resources;
    folder_lists lists;

    HWND control(int id) const { return GetDlgItem(window, id); }
};

struct create_params {
    HWND main_window;
};

void Form_Load(browse_form_state& form) {
    TC_Module::set_topmost(form.window);
    place_at_corner(form.window, form.main_window);
    std::string music = TC_Module::read_setting(TC_Module::settings_file(), "MUSIC", "DEFAULT PATH");
    // A stored folder that is gone opens the nearest one above it; the user can browse on.
    if (!music.empty())
        form.lists.open_nearest(platform::widen(TC_Module::read_setting(TC_Module::settings_file(), "Music", "DEFAULT PATH")));
    else
        form.lists.open_nearest(platform::current_directory());
}

void show_main_window(const browse_form_state& form) {
    ShowWindow(form.main_window, SW_SHOW);
    SetForegroundWindow(form.main_window);
}

void ok_Click(browse_form_state& form) {
    std::wstring name = form.lists.selected_file();
    if (name.empty()) {
        platform::message_box(form.window, L"Pick an alarm file", MB_OK | MB_ICONSTOP);
        return;
    }
    std::wstring path = tocsinet::add_backslash(std::wstring_view(form.lists.path())) + name;
    // The shell opens files by paths of the classic length only; a longer one would fail silently at alarm time.
    if (path.size() >= MAX_PATH) {
        platform::message_box(form.window,
                              L"This file's path is too long to be opened when the alarm goes off. "
                              L"Pick a file in a folder with a shorter path.",
                              MB_OK | MB_ICONSTOP);
        return;
    }
    SetWindowTextW(GetDlgItem(form.main_window, id_alarm_file), path.c_str());
    show_main_window(form);
    DestroyWindow(form.window);
}

void cancel_Click(browse_form_state& form) {
    HWND main_window = form.main_window;
    DestroyWindow(form.window);
    ShowWindow(main_window, SW_SHOW);
    SetForegroundWindow(main_window);
}

void Form_Unload(const browse_form_state& form) { give_back_focus(form.main_window); }

bool on_create(HWND window, const CREATESTRUCTW& create) {
    auto form = std::make_unique<browse_form_state>();
    form->window = window;
    form->main_window = static_cast<const create_params*>(create.lpCreateParams)->main_window;
    form->resources.load(create.hInstance);
    create_dialog_controls(window, browse_form_layout, form->resources);
    SendMessageW(form->control(id_bf_dir), WM_SETFONT, reinterpret_cast<WPARAM>(form->resources.small_font.get()), FALSE);
    form->lists.attach(form->control(id_bf_drive), form->control(id_bf_dir), form->control(id_bf_file), file_pattern);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form.release()));
    return true;
}

void on_command(browse_form_state& form, int id, int notification) {
    // Enter on the folder list opens the folder, as a double click does.
    if (form.lists.command(id, notification))
        return;
    switch (id) {
    case id_bf_file:
        // With no file selected, a double click asks for one, as OK does.
        if (notification == LBN_DBLCLK)
            ok_Click(form);
        break;
    case id_bf_ok:
    case IDOK:
        if (notification == BN_CLICKED)
            ok_Click(form);
        break;
    case id_bf_cancel:
    case IDCANCEL:
        if (notification == BN_CLICKED)
            cancel_Click(form);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK browse_form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    browse_form_state* form = nullptr;
    if (auto answered = common_dialog_message(window, message, wparam, lparam, on_create, browse_form_layout,
                                              title_words, form))
        return *answered;
    switch (message) {
    case WM_COMMAND:
        on_command(*form, LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        // However the picker goes, the main window takes input again.
        Form_Unload(*form);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

} // namespace

HWND show_browse_form(HINSTANCE instance, HWND main_window) {
    create_params params{main_window};
    return open_dialog(instance, browse_form_class, browse_form_procedure, {client_width, client_height}, &params, nullptr, Form_Load,
                       id_bf_drive);
}

} // namespace forms
