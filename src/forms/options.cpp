#include "options.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "TC_Module.h"
#include "browse_dir.h"
#include "conversions.h"
#include "dialog_frame.h"
#include "layout.h"
#include "platform.h"

namespace forms {
namespace {

// Table order is Z order and Tab order: the buttons, the tab control (after the hidden label that
// names it), then the controls on its pages (the tab control leaves its page area to them), each
// folder box after the label above it, which names it, and the boxes that frame others after
// what they frame.
constexpr control_spec options_layout[] = {
    {id_options_ok, control_kind::button, L"OK", id_options_Picture4, 0, 0, 1035, 280, true},
    {id_options_cancel, control_kind::button, L"Cancel", id_options_Picture3, 0, 0, 1035, 280, true},
    {label_id, control_kind::hidden_label, L"Option pages", 0, 0, 0, 0, 0, false},
    {id_options_SSTab1, control_kind::tab_control, nullptr, 0, 45, 600, 4155, 2055, true},
    {id_etwago, control_kind::check_box, L"Exit Tocsinet when alarm goes off", id_options_SSTab1, 100, 720,
     3975, 255, true},
    {id_mtst, control_kind::check_box, L"Minimize to system tray", id_options_SSTab1, 100, 960, 3975, 255,
     true},
    {id_lctos, control_kind::check_box, L"Load current time on startup", id_options_SSTab1, 100, 480, 3975,
     255, true},
    {id_browse_winamp, control_kind::button, L"...", id_options_Picture5, 3350, 0, 495, 320, true},
    // One line high, so the labels end where the boxes below them begin and leave their borders whole.
    {id_options_Label1, control_kind::label, L"Winamp Directory", id_options_SSTab1, 120, 480, 2055, 240,
     false},
    {id_winamp_path, control_kind::read_only_edit, nullptr, id_options_Picture5, 0, 0, 3345, 315, true},
    // As wide as the box below it: at 2055 the caption would break after "Music" and lose its end.
    {id_options_Label2, control_kind::label, L"Default Music Directory", id_options_SSTab1, 120, 480, 3900,
     240, false},
    {id_default_path, control_kind::read_only_edit, nullptr, id_options_Picture6, 0, 0, 3345, 315, true},
    {id_browse_music, control_kind::button, L"...", id_options_Picture6, 3350, 0, 495, 320, true},
    {id_options_Picture5, control_kind::picture, nullptr, id_options_SSTab1, 120, 720, 3900, 370, false},
    {id_options_Picture6, control_kind::picture, nullptr, id_options_SSTab1, 120, 720, 3900, 370, false},
    {id_options_Picture4, control_kind::picture, nullptr, 0, 1080, 2880, 1095, 340, false},
    {id_options_Picture3, control_kind::picture, nullptr, 0, 2160, 2880, 1095, 340, false},
    {id_options_Picture1, control_kind::icon_picture, nullptr, 0, 0, 0, 480, 480, false},
    {id_options_Picture2, control_kind::title_picture, nullptr, 0, 520, 120, 3690, 225, false},
    {id_options_Line1, control_kind::horizontal_line, nullptr, 0, 0, 495, 4320, 0, false},
    {id_options_Line2, control_kind::horizontal_line, nullptr, 0, 0, 2760, 4440, 0, false},
    // Right of the client area: never seen, only read by the folder picker.
    {id_which, control_kind::label, nullptr, 0, 5400, 2880, 1095, 735, false},
};

constexpr const wchar_t* tab_captions[] = {L"Tocsinet", L"Winamp", L"Music"};
constexpr int winamp_tab = 1;
constexpr tab_member tab_members[] = {
    {id_lctos, 0},          {id_etwago, 0},          {id_mtst, 0},
    {id_options_Label1, 1}, {id_options_Picture5, 1}, {id_winamp_path, 1}, {id_browse_winamp, 1},
    {id_options_Label2, 2}, {id_options_Picture6, 2}, {id_default_path, 2}, {id_browse_music, 2},
};

struct options_form : dialog_state {
    HWND main_window = nullptr; // borrowed: disabled while this window is open
};

std::string read_option(const char* section, const char* key) {
    return TC_Module::read_setting(TC_Module::settings_file(), section, key);
}

void write_option(const char* section, const char* key, const std::string& value) {
    TC_Module::write_setting(TC_Module::settings_file(), section, key, value);
}

// A hand-edited flag that is neither "0" nor "1" shows as what the program makes of it.
void set_check(const options_form& form, int id, const std::string& flag) {
    SendMessageW(form.control(id), BM_SETCHECK, tocsinet::flag_is_on(flag) ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string check_text(const options_form& form, int id) {
    return SendMessageW(form.control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
}

void set_text(const options_form& form, int id, const std::string& text) {
    SetWindowTextW(form.control(id), platform::widen(text).c_str());
}

std::string text_of(const options_form& form, int id) {
    return platform::narrow(platform::window_text(form.control(id)));
}

void Form_Load(options_form& form) {
    TC_Module::set_topmost(form.window);
    place_at_corner(form.window, form.main_window);
    EnableWindow(form.main_window, FALSE);

    // No "LCTOS": the options were never saved, and the design values stand.
    if (read_option("OPTIONS", "LCTOS").empty())
        return;
    std::string winamp_path = read_option("WINAMP", "PATH");
    if (!winamp_path.empty())
        set_text(form, id_winamp_path, winamp_path);
    std::string default_path = read_option("MUSIC", "DEFAULT PATH");
    if (!default_path.empty())
        set_text(form, id_default_path, default_path);
    set_check(form, id_lctos, read_option("OPTIONS", "LCTOS"));
    set_check(form, id_etwago, read_option("OPTIONS", "ETWAGO"));
    set_check(form, id_mtst, read_option("OPTIONS", "MTST"));
}

void browse_winamp_Click(options_form& form) {
    SetWindowTextW(form.control(id_which), L"0");
    show_browse_dir(form.window);
}

void browse_music_Click(options_form& form) {
    SetWindowTextW(form.control(id_which), L"1");
    show_browse_dir(form.window);
}

// Every entry is written, changed or not.
void ok_Click(options_form& form) {
    write_option("OPTIONS", "LCTOS", check_text(form, id_lctos));
    write_option("OPTIONS", "ETWAGO", check_text(form, id_etwago));
    write_option("OPTIONS", "MTST", check_text(form, id_mtst));
    write_option("WINAMP", "PATH", text_of(form, id_winamp_path));
    write_option("MUSIC", "DEFAULT PATH", text_of(form, id_default_path));
    give_back_focus(form.main_window);
    DestroyWindow(form.window);
}

void cancel_Click(options_form& form) {
    give_back_focus(form.main_window);
    DestroyWindow(form.window);
}

void SSTab1_Click(options_form& form) {
    follow_tab(form.window, form.control(id_options_SSTab1), tab_members);
}

void on_create(options_form& form, HWND main_window) {
    form.main_window = main_window;
    HWND tabs = form.control(id_options_SSTab1);
    add_tabs(tabs, tab_captions);
    show_tab(form.window, tabs, tab_members, winamp_tab);
}

void on_command(options_form& form, int id, int notification) {
    if (notification != BN_CLICKED)
        return;
    switch (id) {
    case id_options_ok:
        ok_Click(form);
        break;
    case id_options_cancel:
    case IDCANCEL: // Esc
        cancel_Click(form);
        break;
    case id_browse_winamp:
        browse_winamp_Click(form);
        break;
    case id_browse_music:
        browse_music_Click(form);
        break;
    default:
        break;
    }
}

// However the window goes (OK, Cancel, Alt+F4, the program ending), the main window is usable
// again. The folder picker, owned by this window, goes with it.
void on_destroy(options_form& form) {
    if (IsWindow(form.main_window))
        EnableWindow(form.main_window, TRUE);
}

constexpr dialog_kind<options_form> options_kind{
    .class_name = options_class, .title_words = L"Tocsinet Options", .layout = options_layout,
    .client_twips = {4275, 3270}, .first_focus = id_options_ok, .owned_by_opener = false, .on_create = on_create,
    .Form_Load = Form_Load, .on_command = on_command, .on_close = cancel_Click, .on_destroy = on_destroy,
    .SSTab1_Click = SSTab1_Click};

} // namespace

HWND show_options(HINSTANCE instance, HWND main_window) { return open_dialog<options_kind>(instance, main_window); }

void close_options() { close_open_dialog(options_kind.class_name); }

} // namespace forms
