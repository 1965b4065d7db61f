#include "folder_tree.h"

#include <algorithm>
#include <cwctype>

namespace tocsinet {
namespace {

wchar_t fold(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c))); }

bool is_drive_root_prefix(std::wstring_view path) {
    return path.size() >= 3 && std::iswalpha(static_cast<std::wint_t>(path[0])) && path[1] == L':' &&
           path[2] == L'\\';
}

} // namespace

std::wstring path_root(std::wstring_view path) {
    if (is_drive_root_prefix(path))
        return std::wstring(path.substr(0, 3));
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        std::size_t server_end = path.find(L'\\', 2);
        if (server_end == std::wstring_view::npos || server_end == 2)
            return {};
        std::size_t share_end = path.find(L'\\', server_end + 1);
        if (share_end == server_end + 1)
            return {};
        if (share_end == std::wstring_view::npos)
            return std::wstring(path) + L"\\";
        return std::wstring(path.substr(0, share_end + 1));
    }
    return {};
}

std::wstring without_trailing_backslash(std::wstring_view path) {
    std::size_t keep = path_root(path).size();
    while (path.size() > keep && path.back() == L'\\')
        path.remove_suffix(1);
    return std::wstring(path);
}

std::wstring add_backslash(std::wstring_view path) {
    if (path.size() == 3)
        return std::wstring(path);
    return std::wstring(path) + L"\\";
}

void sort_names(std::vector<std::wstring>& names) {
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        auto folded_less = [](wchar_t x, wchar_t y) { return fold(x) < fold(y); };
        if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded_less))
            return true;
        if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded_less))
            return false;
        return a < b;
    });
}

std::vector<folder_entry> folder_list_entries(std::wstring_view path, std::vector<std::wstring> subfolders) {
    std::vector<folder_entry> entries;
    std::wstring current = without_trailing_backslash(path);
    std::wstring root = path_root(current);
    if (root.empty())
        return entries;
    entries.push_back({root, root, 0, true});
    std::wstring walked = root;
    int depth = 0;
    std::size_t start = root.size();
    while (start < current.size()) {
        std::size_t end = current.find(L'\\', start);
        if (end == std::wstring::npos)
            end = current.size();
        if (end > start) {
            std::wstring name = current.substr(start, end - start);
            walked = child_path(walked, name);
            entries.push_back({name, walked, ++depth, true});
        }
        start = end + 1;
    }
    sort_names(subfolders);
    std::wstring parent = entries.back().path;
    for (const std::wstring& name : subfolders)
        entries.push_back({name, child_path(parent, name), depth + 1, false});
    return entries;
}

std::wstring child_path(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + std::wstring(name);
}

std::wstring drive_caption(std::wstring_view root) {
    std::wstring caption(root.substr(0, 2));
    for (wchar_t& c : caption)
        c = fold(c);
    return caption;
}

} // namespace tocsinet
