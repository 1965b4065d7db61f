// What the pickers' drive and folder lists show for a path, in wide text so that every file
// name the file system holds can be shown and picked.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tocsinet {

// The root of a path: "C:\" for a drive, "\\server\share\" for a network share; "" otherwise.
std::wstring path_root(std::wstring_view path);

// The path without trailing backslashes, a root keeping its own.
std::wstring without_trailing_backslash(std::wstring_view path);

// Appends "\" unless the path is exactly 3 characters long (a drive root such as C:\).
std::wstring add_backslash(std::wstring_view path);

// One line of the folder list: a folder, indented by its depth below the root.
struct folder_entry {
    std::wstring caption;
    std::wstring path;
    int depth = 0;
    bool open = false; // the root, the folders down to the current one, and the current one
};

// The root, each folder down to `path`, then the subfolders of `path` one level deeper,
// in name order with letter case ignored.
std::vector<folder_entry> folder_list_entries(std::wstring_view path, std::vector<std::wstring> subfolders);

// Names in the order the lists show them: letter case ignored, then as they are.
void sort_names(std::vector<std::wstring>& names);

// A name inside a folder, with one backslash between them whatever the folder ends in.
std::wstring child_path(std::wstring_view folder, std::wstring_view name);

// How the drive list shows a drive root: "c:".
std::wstring drive_caption(std::wstring_view root);

} // namespace tocsinet
