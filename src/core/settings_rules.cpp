#include "settings_rules.h"

#include <cctype>

namespace tocsinet {

std::string key_for_reading(std::string_view key) {
    std::string lower(key);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string key_for_writing(std::string_view key) {
    std::string upper(key);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

} // namespace tocsinet
