// Routines shared by the windows, and the program-wide tray icon record.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>

namespace TC_Module {

// The settings file beside the program, its path formed anew at each access.
std::string settings_file();

// The stored text, or "" when the file, section or key is missing; at most 749 characters.
std::string read_setting(const std::string& file, const std::string& section, const std::string& key);
// Stores one value; a failed write is silent.
void write_setting(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value);
std::string add_backslash(std::string_view path);

// The current time of day as "7:05:09 PM", and its "hour", "minute" or "ampm" part.
std::string current_time_text();
std::string current_time_part(std::string_view part);

// Keeps a dialog above all other windows without moving it.
void set_topmost(HWND form);

} // namespace TC_Module
