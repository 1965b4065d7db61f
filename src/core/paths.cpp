#include "paths.h"

#include <cwctype>

#include "folder_tree.h"
#include "settings_rules.h"

namespace tocsinet {
namespace {

wchar_t fold(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c))); }

template <class Char> bool wildcard_match(std::basic_string_view<Char> name, std::basic_string_view<Char> pattern) {
    std::size_t n = 0, p = 0, star = std::basic_string_view<Char>::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::basic_string_view<Char>::npos) {
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

std::wstring settings_file_path(std::wstring_view program_directory) {
    return add_backslash(program_directory) + L"tocsinet.ini";
}

std::optional<std::string> folder_to_store(const std::optional<std::string>& as_is,
                                           const std::optional<std::string>& short_name, std::size_t room) {
    for (const std::optional<std::string>* form : {&as_is, &short_name})
        if (*form && !(*form)->empty() && (*form)->size() + room < setting_buffer_size)
            return **form;
    return std::nullopt;
}

std::wstring version_file_path(std::wstring_view program_directory) {
    return std::wstring(program_directory) + L"\\version.txt";
}

namespace {

template <class Char>
bool matches_any_of(std::basic_string_view<Char> name, std::basic_string_view<Char> patterns) {
    using view = std::basic_string_view<Char>;
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(Char(';'), start);
        view pattern = patterns.substr(start, end == view::npos ? view::npos : end - start);
        if (!pattern.empty() && wildcard_match(name, pattern))
            return true;
        if (end == view::npos)
            break;
        start = end + 1;
    }
    return false;
}

} // namespace

bool matches_any_pattern(std::wstring_view name, std::wstring_view patterns) { return matches_any_of(name, patterns); }

} // namespace tocsinet
