#include "browse_form.h"

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

constexpr const wchar_t* file_pattern = L"*.mp3;*.m3u;*.mid;*.wav";

// Table order is Z order and Tab order: drive, folders, files (each after the hidden label that
// names it), OK, Cancel.
constexpr control_spec browse_form_layout[] = {
    {label_id, control_kind::hidden_label, L"Drive", 0, 0, 0, 0, 0, false},
    {id_bf_drive, control_kind::drop_down_list, nullptr, 0, 50, 600, 3175, 330, true},
    {label_id, control_kind::hidden_label, L"Folders", 0, 0, 0, 0, 0, false},
    {id_bf_dir, control_kind::folder_list, nullptr, 0, 50, 960, 3175, 1980, true},
    {label_id, control_kind::hidden_label, L"Files", 0, 0, 0, 0, 0, false},
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

struct browse_form_state : dialog_state {
    HWND main_window = nullptr; // borrowed
    folder_lists lists;
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

void Form_Unload(browse_form_state& form) { give_back_focus(form.main_window); }

void on_create(browse_form_state& form, HWND main_window) {
    form.main_window = main_window;
    form.lists.attach(form.control(id_bf_drive), form.control(id_bf_dir), form.control(id_bf_file), file_pattern);
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

// However the picker goes, the main window takes input again (Form_Unload).
constexpr dialog_kind<browse_form_state> browse_form_kind{
    .class_name = browse_form_class, .title_words = L"Browse...", .layout = browse_form_layout,
    .client_twips = {3255, 4935}, .first_focus = id_bf_drive, .owned_by_opener = false, .on_create = on_create,
    .Form_Load = Form_Load, .on_command = on_command, .on_destroy = Form_Unload};

} // namespace

HWND show_browse_form(HINSTANCE instance, HWND main_window) {
    return open_dialog<browse_form_kind>(instance, main_window);
}

} // namespace forms
