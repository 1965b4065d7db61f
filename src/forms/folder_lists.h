// The drive list, folder list and (for the alarm-file picker) file list the two pickers share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "folder_tree.h"

namespace forms {

class folder_lists {
  public:
    // `file` may be null: the folder picker has no file list. `pattern` filters the file list.
    void attach(HWND drive, HWND dir, HWND file, std::wstring pattern);

    // Opens a folder in the folder list (and the file list follows); false, with nothing
    // changed, when it cannot be read.
    bool set_path(const std::wstring& path);
    // The first folder at or above `path` that can be read, else the current directory.
    void open_nearest(const std::wstring& path);

    // The user picked a drive: its current folder, or nothing when it cannot be read.
    void drive_Change();
    // The user double-clicked a folder (or pressed Enter on it).
    void open_selected_folder();

    // The lists' own commands: a drive picked, a folder double-clicked, Enter on the folder
    // list (IDOK while it has the focus). True when the command was theirs.
    bool command(int id, int notification);

    const std::wstring& path() const { return path_; }
    // The selected file name, "" when none is.
    std::wstring selected_file() const;

  private:
    void fill_drives();
    void select_drive_of_path();
    void fill_files(const std::vector<std::wstring>& files);

    HWND drive_ = nullptr;
    HWND dir_ = nullptr;
    HWND file_ = nullptr;
    std::wstring pattern_;
    std::wstring path_;
    std::vector<tocsinet::folder_entry> entries_;
    std::vector<std::wstring> drives_;
};

} // namespace forms
