// What our Wine test programs write for the tests to read while they run.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace test_log {

inline std::string utf8(std::wstring_view text) {
    std::string result(text.size() * 3, '\0');
    result.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(), int(result.size()),
                                      nullptr, nullptr));
    return result;
}

// One whole record per write, the file closed again at once: tests read it meanwhile.
inline void append(const std::wstring& path, const std::string& record) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::app) << record;
}

} // namespace test_log
