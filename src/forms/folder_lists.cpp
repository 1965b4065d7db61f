#include "folder_lists.h"

#include <algorithm>

#include "file_system.h"
#include "paths.h"

namespace forms {
namespace {

// Redrawing once at the end keeps a folder of thousands of files quick to fill.
class redraw_later {
  public:
    explicit redraw_later(HWND list) : list_(list) { SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
    redraw_later(const redraw_later&) = delete;
    redraw_later& operator=(const redraw_later&) = delete;
    ~redraw_later() {
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }

  private:
    HWND list_;
};

void fill_list(HWND list, const std::vector<std::wstring>& lines, std::size_t characters) {
    redraw_later redraw(list);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_INITSTORAGE, lines.size(), characters * sizeof(wchar_t));
    for (const std::wstring& line : lines)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

} // namespace

void folder_lists::attach(HWND drive, HWND dir, HWND file, std::wstring pattern) {
    drive_ = drive;
    dir_ = dir;
    file_ = file;
    pattern_ = std::move(pattern);
    fill_drives();
}

void folder_lists::fill_drives() {
    drives_ = platform::drive_roots();
    SendMessageW(drive_, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& root : drives_) {
        std::wstring caption = tocsinet::drive_caption(root);
        SendMessageW(drive_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    }
}

void folder_lists::select_drive_of_path() {
    std::wstring root = tocsinet::path_root(path_);
    auto found = std::find_if(drives_.begin(), drives_.end(),
                              [&](const std::wstring& d) { return CompareStringOrdinal(d.c_str(), -1, root.c_str(), -1, TRUE) == CSTR_EQUAL; });
    SendMessageW(drive_, CB_SETCURSEL, found == drives_.end() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(found - drives_.begin()), 0);
}

bool folder_lists::set_path(const std::wstring& path) {
    std::wstring folder = tocsinet::without_trailing_backslash(path);
    std::optional<platform::folder_contents> contents = platform::read_folder(folder);
    if (!contents)
        return false;
    std::vector<tocsinet::folder_entry> entries = tocsinet::folder_list_entries(folder, std::move(contents->folders));
    if (entries.empty())
        return false;
    entries_ = std::move(entries);
    path_ = folder;

    std::vector<std::wstring> lines;
    std::size_t characters = 0;
    int current = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const tocsinet::folder_entry& entry = entries_[i];
        // Open folders show as open, the others as closed, each indented by its depth.
        lines.push_back(std::wstring(static_cast<std::size_t>(entry.depth) * 2, L' ') + (entry.open ? L"[-] " : L"[+] ") +
                        entry.caption);
        characters += lines.back().size() + 1;
        if (entry.open)
            current = static_cast<int>(i);
    }
    fill_list(dir_, lines, characters);
    SendMessageW(dir_, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
    select_drive_of_path();
    if (file_)
        fill_files(contents->files);
    return true;
}

void folder_lists::fill_files(const std::vector<std::wstring>& files) {
    std::vector<std::wstring> shown;
    std::size_t characters = 0;
    for (const std::wstring& name : files)
        if (tocsinet::matches_any_pattern(std::wstring_view(name), pattern_)) {
            shown.push_back(name);
            characters += name.size() + 1;
        }
    tocsinet::sort_names(shown);
    fill_list(file_, shown, characters);
}

void folder_lists::open_nearest(const std::wstring& path) {
    std::wstring folder = tocsinet::without_trailing_backslash(path);
    while (!folder.empty()) {
        if (set_path(folder))
            return;
        std::wstring root = tocsinet::path_root(folder);
        std::size_t slash = folder.find_last_of(L'\\');
        if (root.empty() || folder.size() <= root.size() || slash == std::wstring::npos)
            break;
        folder = slash < root.size() ? root : folder.substr(0, slash);
    }
    if (!set_path(platform::current_directory()))
        select_drive_of_path();
}

void folder_lists::drive_Change() {
    auto index = static_cast<int>(SendMessageW(drive_, CB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(drives_.size()))
        return;
    // A drive without a medium or that cannot be read is ignored; the list keeps showing it.
    if (!set_path(platform::current_folder_of_drive(drives_[static_cast<std::size_t>(index)])))
        set_path(drives_[static_cast<std::size_t>(index)]);
    SendMessageW(drive_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void folder_lists::open_selected_folder() {
    auto index = static_cast<int>(SendMessageW(dir_, LB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return;
    std::wstring target = entries_[static_cast<std::size_t>(index)].path;
    set_path(target);
}

bool folder_lists::command(int id, int notification) {
    if (id == GetDlgCtrlID(drive_)) {
        if (notification == CBN_SELCHANGE)
            drive_Change();
        return true;
    }
    bool enter_on_folders = id == IDOK && GetFocus() == dir_;
    if (id == GetDlgCtrlID(dir_) || enter_on_folders) {
        if (notification == LBN_DBLCLK || enter_on_folders)
            open_selected_folder();
        return true;
    }
    return false;
}

std::wstring folder_lists::selected_file() const {
    if (!file_)
        return {};
    auto index = static_cast<int>(SendMessageW(file_, LB_GETCURSEL, 0, 0));
    if (index < 0)
        return {};
    auto length = static_cast<int>(SendMessageW(file_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
    if (length <= 0)
        return {};
    std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(file_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<std::size_t>(length));
    return name;
}

} // namespace forms
