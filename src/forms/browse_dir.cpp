#include "browse_dir.h"

#include <optional>
#include <string>

#include "TC_Module.h"
#include "dialog_frame.h"
#include "file_system.h"
#include "folder_lists.h"
#include "layout.h"
#include "options_ids.h"
#include "paths.h"
#include "platform.h"

namespace forms {
namespace {

// Table order is Z order and Tab order: folders, drive (each after the hidden label that names
// it), Cancel, OK.
constexpr control_spec browse_dir_layout[] = {
    {label_id, control_kind::hidden_label, L"Folders", 0, 0, 0, 0, 0, false},
    {id_bd_dir, control_kind::folder_list, nullptr, 0, 50, 960, 3175, 1980, true},
    {label_id, control_kind::hidden_label, L"Drive", 0, 0, 0, 0, 0, false},
    {id_bd_drive, control_kind::drop_down_list, nullptr, 0, 50, 600, 3175, 330, true},
    {id_bd_cancel, control_kind::button, L"Cancel", id_bd_Picture2, 0, 0, 1035, 280, true},
    {id_bd_ok, control_kind::button, L"OK", id_bd_Picture1, 0, 0, 1035, 280, true},
    {id_bd_Picture2, control_kind::picture, nullptr, 0, 1680, 3240, 1095, 340, false},
    {id_bd_Picture1, control_kind::picture, nullptr, 0, 600, 3240, 1095, 340, false},
    {id_bd_Picture4, control_kind::icon_picture, nullptr, 0, 0, 0, 480, 480, false},
    {id_bd_Picture3, control_kind::title_picture, nullptr, 0, 520, 120, 1680, 225, false},
    {id_bd_Line1, control_kind::horizontal_line, nullptr, 0, 0, 500, 4440, 0, false},
    {id_bd_Line2, control_kind::horizontal_line, nullptr, 0, 0, 3120, 4440, 0, false},
};

constexpr const wchar_t* player_file = L"winamp.exe";

struct browse_dir_state : dialog_state {
    HWND options = nullptr; // the owner: this window never outlives it
    folder_lists lists;
};

void Form_Load(browse_dir_state& form) {
    TC_Module::set_topmost(form.window);
    place_at_corner(form.window, form.options);
    EnableWindow(form.options, FALSE);
    form.lists.open_nearest(platform::current_directory());
}

// The Options window saves the folder in the ANSI settings file, so a name the code page cannot
// hold goes by its short name, which names the same folder; without one it is refused.
std::optional<std::wstring> folder_to_store(const std::wstring& folder) {
    std::optional<std::string> stored = tocsinet::folder_to_store(
        platform::narrow_exactly(folder), platform::narrow_exactly(platform::short_path(folder)),
        std::wstring_view(player_file).size() + 1);
    if (!stored)
        return std::nullopt;
    return platform::widen(*stored);
}

void ok_Click(browse_dir_state& form) {
    // The message boxes let the Options window close meanwhile, and this picker with it.
    HWND window = form.window;
    HWND options = form.options;
    if (!IsWindow(options)) {
        DestroyWindow(window);
        return;
    }
    std::optional<std::wstring> stored = folder_to_store(form.lists.path());
    if (!stored) {
        platform::message_box(window,
                              L"The settings file cannot keep this folder's name, and the folder has no short name "
                              L"to keep instead. Pick a folder whose name uses other characters.",
                              MB_OK | MB_ICONSTOP);
        return;
    }
    std::wstring folder = tocsinet::add_backslash(std::wstring_view(*stored));
    if (platform::window_text(GetDlgItem(options, id_which)) != L"0") {
        SetWindowTextW(GetDlgItem(options, id_default_path), folder.c_str());
        give_back_focus(options);
        DestroyWindow(window);
        return;
    }
    std::wstring candidate = folder + player_file;
    // The file system ignores letter case, so WINAMP.EXE passes too.
    bool found = platform::file_exists(candidate);
    platform::message_box(window, found ? L"Winamp.exe found" : L"Winamp.exe could not be found", MB_OK);
    if (!IsWindow(window) || !IsWindow(options))
        return;
    if (found)
        SetWindowTextW(GetDlgItem(options, id_winamp_path), candidate.c_str());
    give_back_focus(options);
    if (found)
        DestroyWindow(window);
}

void cancel_Click(browse_dir_state& form) {
    give_back_focus(form.options);
    DestroyWindow(form.window);
}

void on_create(browse_dir_state& form, HWND options) {
    form.options = options;
    form.lists.attach(form.control(id_bd_drive), form.control(id_bd_dir), nullptr, L"");
}

void on_command(browse_dir_state& form, int id, int notification) {
    // Enter on the folder list opens the folder, as a double click does.
    if (form.lists.command(id, notification) || notification != BN_CLICKED)
        return;
    if (id == id_bd_ok || id == IDOK)
        ok_Click(form);
    else if (id == id_bd_cancel || id == IDCANCEL)
        cancel_Click(form);
}

// However the picker goes (Alt+F4 included), the Options window takes input again.
void Form_Unload(browse_dir_state& form) {
    if (IsWindow(form.options))
        EnableWindow(form.options, TRUE);
}

// Owned by the Options window, the picker closes with it and never writes into a window that is gone.
constexpr dialog_kind<browse_dir_state> browse_dir_kind{
    .class_name = browse_dir_class, .title_words = L"Browse...", .layout = browse_dir_layout,
    .client_twips = {3255, 3615}, .first_focus = id_bd_drive, .owned_by_opener = true, .on_create = on_create,
    .Form_Load = Form_Load, .on_command = on_command, .on_close = cancel_Click, .on_destroy = Form_Unload};

} // namespace

HWND show_browse_dir(HWND options_window) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(options_window, GWLP_HINSTANCE));
    return open_dialog<browse_dir_kind>(instance, options_window);
}

} // namespace forms
