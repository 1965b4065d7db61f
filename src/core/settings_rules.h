// How keys are spelled when the settings file is read and written.
#pragma once

#include <string>
#include <string_view>

namespace tocsinet {

// The reader's buffer: the longest value that can be read is one character shorter.
inline constexpr std::size_t setting_buffer_size = 750;

// Keys are looked up in lower case and written in upper case; names match without case.
std::string key_for_reading(std::string_view key);
std::string key_for_writing(std::string_view key);

} // namespace tocsinet
