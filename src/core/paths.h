// Paths the program forms: its settings file, its version file, picked files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tocsinet {

// Appends "\" unless the path is exactly 3 characters long (a drive root such as C:\).
std::string add_backslash(std::string_view path);

std::wstring settings_file_path(std::wstring_view program_directory);

// A picked folder as the settings file can keep it, ANSI text read back whole, with `room`
// characters to spare after it: as it is when the code page holds it, else by its short (8.3)
// name; nothing when neither names it there. Each form comes as its exact ANSI text, or
// nothing when the code page cannot hold it.
std::optional<std::string> folder_to_store(const std::optional<std::string>& as_is,
                                           const std::optional<std::string>& short_name, std::size_t room);

// Formed without the drive-root test, as the About window always has.
std::wstring version_file_path(std::wstring_view program_directory);

// Whether a file name matches any of the ";"-separated wildcard patterns, letter case ignored.
bool matches_any_pattern(std::wstring_view name, std::wstring_view patterns);

} // namespace tocsinet
