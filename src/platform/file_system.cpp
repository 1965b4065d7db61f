#include "file_system.h"

#include <windows.h>

#include "unique_handle.h"

namespace platform {
namespace {

// A drive without a medium must not bring up the system's "insert a disk" box.
class quiet_errors {
  public:
    quiet_errors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    quiet_errors(const quiet_errors&) = delete;
    quiet_errors& operator=(const quiet_errors&) = delete;
    ~quiet_errors() { SetThreadErrorMode(previous_, nullptr); }

  private:
    DWORD previous_ = 0;
};

// Long paths reach the file system through the "\\?\" form.
std::wstring search_pattern(const std::wstring& folder) {
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    if (pattern.size() >= MAX_PATH && pattern.rfind(L"\\\\", 0) != 0)
        pattern = L"\\\\?\\" + pattern;
    return pattern;
}

} // namespace

std::optional<folder_contents> read_folder(const std::wstring& path) {
    quiet_errors quiet;
    WIN32_FIND_DATAW found;
    unique_find search(FindFirstFileExW(search_pattern(path).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                        nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search)
        return std::nullopt;
    folder_contents contents;
    constexpr DWORD left_out = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        std::wstring name = found.cFileName;
        if (found.dwFileAttributes & left_out)
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L"..")
                contents.folders.push_back(std::move(name));
        } else {
            contents.files.push_back(std::move(name));
        }
    } while (FindNextFileW(search.get(), &found));
    return contents;
}

std::vector<std::wstring> drive_roots() {
    std::vector<std::wstring> roots;
    DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter)
        if (drives & (1u << letter))
            roots.push_back(std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L":\\");
    return roots;
}

std::wstring current_folder_of_drive(const std::wstring& root) {
    std::wstring drive = root.substr(0, 2);
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(drive.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return root;
    return full;
}

std::wstring current_directory() {
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring path(length, L'\0');
    DWORD copied = GetCurrentDirectoryW(length, path.data());
    path.resize(copied < length ? copied : 0);
    return path;
}

} // namespace platform
