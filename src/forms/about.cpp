#include "about.h"

#include <commctrl.h>

#include <exception>
#include <string>

#include "TC_Module.h"
#include "dialog_frame.h"
#include "layout.h"
#include "paths.h"
#include "platform.h"
#include "version.h"

namespace forms {
namespace {

// Table order is Z order and Tab order: OK, the tab control, then the controls on its pages
// (the tab control leaves its page area to them); the tab control and the version box each after
// the hidden label that names it.
constexpr control_spec about_layout[] = {
    {id_about_ok, control_kind::button, L"OK", id_about_Picture3, 0, 0, 1035, 280, true},
    {label_id, control_kind::hidden_label, L"About pages", 0, 0, 0, 0, 0, false},
    {id_about_SSTab1, control_kind::tab_control, nullptr, 0, 50, 600, 4125, 2175, true},
    {label_id, control_kind::hidden_label, L"Version", 0, 0, 0, 0, 0, false},
    {id_version, control_kind::read_only_multiline_edit, nullptr, id_about_SSTab1, 120, 480, 3840, 1575,
     true},
    {id_stat_loads, control_kind::label, L"Loads: ", id_about_SSTab1, 120, 480, 3855, 255, false},
    {id_stat_alarms, control_kind::label, L"Alarms: ", id_about_SSTab1, 120, 720, 3855, 255, false},
    {id_about_Picture3, control_kind::picture, nullptr, 0, 1440, 3000, 1095, 340, false},
    {id_about_Picture1, control_kind::icon_picture, nullptr, 0, 0, 0, 495, 495, false},
    {id_about_Picture2, control_kind::title_picture, nullptr, 0, 520, 120, 3285, 225, false},
    {id_about_Line2, control_kind::horizontal_line, nullptr, 0, 0, 495, 4680, 0, false},
    {id_about_Line1, control_kind::horizontal_line, nullptr, 0, 0, 2880, 4680, 0, false},
};

constexpr const wchar_t* tab_captions[] = {L"About", L"Statistics"};
constexpr int about_tab = 0;
constexpr tab_member tab_members[] = {{id_version, 0}, {id_stat_loads, 1}, {id_stat_alarms, 1}};

struct about_form : dialog_state {
    HWND main_window = nullptr; // borrowed
};

void show_counter(const about_form& form, int id, const wchar_t* prefix, const char* key) {
    std::wstring caption = prefix + platform::widen(TC_Module::read_setting(TC_Module::settings_file(), "STATS", key));
    SetWindowTextW(form.control(id), caption.c_str());
}

void Form_Load(about_form& form) {
    TC_Module::set_topmost(form.window);
    place_at_corner(form.window, form.main_window);
    show_counter(form, id_stat_loads, L"Loads: ", "LOADS");
    show_counter(form, id_stat_alarms, L"Alarms: ", "ALARMS");
    try {
        TC_Module::load_text_file(form.control(id_version),
                                  tocsinet::version_file_path(platform::program_directory_wide()));
    } catch (const std::exception&) {
        SetWindowTextW(form.control(id_version), L"Version file missing");
    }
}

// The main window was never disabled by this window, and may be by another (the Options
// window), so it is left as it is.
void ok_Click(about_form& form) { DestroyWindow(form.window); }

void SSTab1_Click(about_form& form) { follow_tab(form.window, form.control(id_about_SSTab1), tab_members); }

void on_create(about_form& form, HWND main_window) {
    form.main_window = main_window;
    HWND tabs = form.control(id_about_SSTab1);
    add_tabs(tabs, tab_captions);
    show_tab(form.window, tabs, tab_members, about_tab);
}

void on_command(about_form& form, int id, int notification) {
    if (notification == BN_CLICKED && (id == id_about_ok || id == IDCANCEL))
        ok_Click(form);
}

constexpr dialog_kind<about_form> about_kind{
    .class_name = about_class, .title_words = L"Tocsinet " TOCSINET_VERSION_WIDE, .layout = about_layout,
    .client_twips = {4260, 3405}, .first_focus = id_about_ok, .owned_by_opener = false, .on_create = on_create,
    .Form_Load = Form_Load, .on_command = on_command, .on_close = ok_Click, .SSTab1_Click = SSTab1_Click};

} // namespace

HWND show_about(HINSTANCE instance, HWND main_window) { return open_dialog<about_kind>(instance, main_window); }

void close_about() { close_open_dialog(about_kind.class_name); }

} // namespace forms
