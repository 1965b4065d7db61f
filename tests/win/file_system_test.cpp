#include "file_system.h"

#include <fstream>
#include <optional>
#include <tuple>

#include <gtest/gtest.h>

#include "TC_Module.h"
#include "platform.h"

namespace {

const std::wstring here = platform::program_directory_wide();

// Through the profile routines, on a file of their own per row: they may keep a file they have read.
TEST(SettingsFile, ReadAndWrittenThroughTheProfileRoutines) {
    // The file before (a missing one is made as the first start proves), section, key, value written,
    // value read back, file after.
    const std::tuple<const char*, const char*, const char*, std::string, std::string, std::string> cases[] = {
        // A key stored in lower case is found in a section spelled otherwise, and replaced where it stands.
        {"[Tocsinet]\r\nvolume=30\r\nX=15\r\n", "TOCSINET", "VOLUME", "80", "80",
         "[Tocsinet]\r\nvolume=80\r\nX=15\r\n"},
        {"", "WINAMP", "PATH", std::string(800, 'v'), std::string(749, 'v'),
         "[WINAMP]\r\nPATH=" + std::string(800, 'v') + "\r\n"}};
    for (int row = 0; const auto& [before, section, key, value, read, after] : cases) {
        SCOPED_TRACE(++row);
        const std::string file = platform::narrow(here) + "\\settings-" + std::to_string(row) + ".ini";
        std::ofstream(file, std::ios::binary) << before;
        TC_Module::write_setting(file, section, key, value);
        EXPECT_EQ(TC_Module::read_setting(file, section, key), read);
        EXPECT_EQ(
            std::string(std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {}),
            after);
    }
    // A write that fails is told where the notices show, as the start-up story proves.
    // A folder kept in the file: exact in the code page, or not at all (no best-fit "L" for "\u0141",
    // no "?"), also where the code page is UTF-8 and the conversion takes no flags.
    // clang-format off
    const std::tuple<unsigned, const wchar_t*, std::optional<std::string>> narrowed[] = {
        {1252, L"C:\\R\u00e9veil", "C:\\R\xe9veil"}, {1252, L"C:\\\u0141\u00f3d\u017a", std::nullopt},
        {932, L"C:\\\u8868", "C:\\\x95\x5c"}, {932, L"C:\\\u00e9", std::nullopt},
        {65001, L"C:\\\u0141\U0001D11E", "C:\\\xc5\x81\xf0\x9d\x84\x9e"}, {65001, L"C:\\\xd834", std::nullopt}}; // half a pair
    // clang-format on
    for (const auto& [code_page, wide, exact] : narrowed)
        EXPECT_EQ(platform::narrow_exactly(wide, code_page), exact)
            << code_page << " " << platform::to_utf8(wide);
}

// The files and folders left out, and names outside the code page, are proved by the picker story.
TEST(ReadFolder, ADriveThatIsNotThereIsNoFolderAndAsksNothing) {
    EXPECT_FALSE(platform::read_folder(L"Q:\\")); // and no box asking for one
}

} // namespace
