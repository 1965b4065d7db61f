// Paths the program forms: its settings file, its version file, picked files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tocsinet {

inline constexpr std::string_view settings_file_name = "tocsinet.ini";
inline constexpr std::string_view alarm_file_pattern = "*.mp3;*.m3u;*.mid;*.wav";

// Appends "\" unless the path is exactly 3 characters long (a drive root such as C:\).
std::string add_backslash(std::string_view path);

// The folder part of a module's full path: no trailing "\" except for a drive root.
std::string directory_of(std::string_view file_path);

std::string settings_file_path(std::string_view program_directory);
std::wstring settings_file_path(std::wstring_view program_directory);

// A picked folder as the settings file can keep it, ANSI text read back whole, with `room`
// characters to spare after it: as it is when the code page holds it, else by its short (8.3)
// name; nothing when neither names it there. Each form comes as its exact ANSI text, or
// nothing when the code page cannot hold it.
std::optional<std::string> folder_to_store(const std::optional<std::string>& as_is,
                                           const std::optional<std::string>& short_name, std::size_t room);

// Formed without the drive-root test, as the About window always has.
std::string version_file_path(std::string_view program_directory);
std::wstring version_file_path(std::wstring_view program_directory);

// Whether a file name matches any of the ";"-separated wildcard patterns, letter case ignored.
bool matches_any_pattern(std::string_view name, std::string_view patterns);
bool matches_any_pattern(std::wstring_view name, std::wstring_view patterns);

// The nearest existing folder at or above `path`, by the given existence test; "" when none.
template <class FolderExists> std::string nearest_existing_folder(std::string path, FolderExists exists) {
    while (!path.empty()) {
        if (exists(path))
            return path;
        while (path.size() > 3 && path.back() == '\\')
            path.pop_back();
        std::size_t slash = path.rfind('\\');
        if (slash == std::string::npos || path.size() <= 3)
            return {};
        path = directory_of(path);
    }
    return {};
}

} // namespace tocsinet
