#include "paths.h"

#include <cctype>

namespace tocsinet {
namespace {

char fold(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool wildcard_match(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

std::string add_backslash(std::string_view path) {
    if (path.size() == 3)
        return std::string(path);
    return std::string(path) + "\\";
}

std::string directory_of(std::string_view file_path) {
    std::size_t slash = file_path.find_last_of("\\/");
    if (slash == std::string_view::npos)
        return {};
    if (slash == 2 && file_path.size() > 1 && file_path[1] == ':')
        return std::string(file_path.substr(0, 3));
    return std::string(file_path.substr(0, slash));
}

std::string settings_file_path(std::string_view program_directory) {
    return add_backslash(program_directory) + std::string(settings_file_name);
}

std::string version_file_path(std::string_view program_directory) {
    return std::string(program_directory) + "\\version.txt";
}

bool matches_any_pattern(std::string_view name, std::string_view patterns) {
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        std::string_view pattern =
            patterns.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!pattern.empty() && wildcard_match(name, pattern))
            return true;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

} // namespace tocsinet
