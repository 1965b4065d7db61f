// The file system as the pickers browse it, in wide text.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct folder_contents {
    std::vector<std::wstring> folders; // subfolders, hidden and system ones left out
    std::vector<std::wstring> files;   // ordinary files: no hidden, system or folder entries
};

// What a folder holds; nothing when it cannot be read (no medium, no access, gone).
std::optional<folder_contents> read_folder(const std::wstring& path);

// The roots of the drives there are, "C:\" and so on.
std::vector<std::wstring> drive_roots();

// The folder a drive was last in, as the process sees it ("D:\" when it has none).
std::wstring current_folder_of_drive(const std::wstring& root);

std::wstring current_directory();

} // namespace platform
