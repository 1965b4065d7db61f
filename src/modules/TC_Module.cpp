#include "TC_Module.h"

#include "paths.h"
#include "platform.h"
#include "settings_rules.h"
#include "time_text.h"

namespace TC_Module {

std::string settings_file() { return tocsinet::settings_file_path(platform::program_directory()); }

std::string read_setting(const std::string& file, const std::string& section, const std::string& key) {
    return platform::profile_read(file, section, tocsinet::key_for_reading(key), tocsinet::setting_buffer_size);
}

void write_setting(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    platform::profile_write(file, section, tocsinet::key_for_writing(key), value);
}

std::string add_backslash(std::string_view path) { return tocsinet::add_backslash(path); }

std::string current_time_text() { return tocsinet::twelve_hour_text(platform::read_local_clock().time); }

std::string current_time_part(std::string_view part) {
    return tocsinet::time_text_part(current_time_text(), part);
}

void set_topmost(HWND form) { platform::set_topmost(form); }

} // namespace TC_Module
