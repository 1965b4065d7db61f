#include "TC_Module.h"

#include <windows.h>

#include <string>
#include <system_error>

#include <gtest/gtest.h>

#include "platform.h"
#include "unique_handle.h"
#include "text_box_text.h"
#include "window_test_support.h"

namespace {

using window_tests::text;
using window_tests::write_file;

// A multi-line text box like the About window's, and a folder of files for it.
class LoadTextFile : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = window_tests::program_folder() + "\\text-files-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder.c_str(), nullptr);
        box = CreateWindowExW(0, L"EDIT", L"before", WS_POPUP | ES_MULTILINE | ES_READONLY | WS_VSCROLL, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(box, nullptr);
    }
    void TearDown() override {
        DestroyWindow(box);
        DeleteFileA(file().c_str());
        RemoveDirectoryA(file().c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string file() const { return folder + "\\version.txt"; }
    std::wstring wide_file() const { return platform::widen(file()); }
    void load() { TC_Module::load_text_file(box, wide_file()); }

    std::string folder;
    HWND box = nullptr;
};

TEST_F(LoadTextFile, ShowsEveryLineOfTheFile) {
    write_file(file(), "Tocsinet 1.0.0\r\nsecond line\r\n\r\nlast line");
    load();
    EXPECT_EQ(text(box), L"Tocsinet 1.0.0\r\nsecond line\r\n\r\nlast line");
    EXPECT_EQ(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 4);
    write_file(file(), "unix\nline ends\n");
    load();
    EXPECT_EQ(text(box), L"unix\r\nline ends\r\n");
    write_file(file(), "");
    load();
    EXPECT_EQ(text(box), L""); // an empty file replaces what was there
}

TEST_F(LoadTextFile, AFileThatCannotBeReadIsAnErrorAndLeavesTheBox) {
    EXPECT_THROW(load(), std::system_error); // missing
    EXPECT_EQ(text(box), L"before");
    CreateDirectoryA(file().c_str(), nullptr); // a folder by that name
    EXPECT_THROW(load(), std::system_error);
    EXPECT_EQ(text(box), L"before");
    RemoveDirectoryA(file().c_str());
    EXPECT_THROW(TC_Module::load_text_file(box, L"Q:\\no drive\\version.txt"), std::system_error);
}

TEST_F(LoadTextFile, AFileOpenForWritingElsewhereIsStillRead) {
    write_file(file(), "being written");
    platform::unique_file writer(CreateFileW(wide_file().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    load();
    EXPECT_EQ(text(box), L"being written");
}

TEST_F(LoadTextFile, AHugeFileIsCutAtALineEnd) {
    std::string line = "a line of some length to fill the file with text\r\n";
    std::string huge;
    while (huge.size() < 20u * 1024 * 1024)
        huge += line;
    write_file(file(), huge);
    load();
    std::wstring shown = text(box);
    EXPECT_LE(shown.size(), tocsinet::text_box_limit);
    EXPECT_GT(shown.size(), tocsinet::text_box_limit - line.size());
    EXPECT_EQ(shown.size() % line.size(), 0u) << "cut inside a line";
    EXPECT_EQ(shown.substr(0, line.size()), platform::widen(line));
}

TEST_F(LoadTextFile, ABinaryFileShowsAsFarAsItFits) {
    std::string binary;
    for (int i = 0; i < 200000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    write_file(file(), binary);
    load();
    std::wstring shown = text(box);
    EXPECT_GT(shown.size(), tocsinet::text_box_limit / 2); // not ended at the first NUL
    EXPECT_LE(shown.size(), tocsinet::text_box_limit);
    EXPECT_EQ(shown.find(L'\0'), std::wstring::npos);
}

TEST(ReadFileStart, ReadsNoMoreThanAsked) {
    std::string path = window_tests::program_folder() + "\\read-file-start.bin";
    write_file(path, std::string(5000, 'z'));
    std::wstring wide = platform::widen(path);
    EXPECT_EQ(platform::read_file_start(wide, 100), std::string(100, 'z'));
    EXPECT_EQ(platform::read_file_start(wide, 5000).size(), 5000u);
    EXPECT_EQ(platform::read_file_start(wide, 1u << 22).size(), 5000u);
    EXPECT_EQ(platform::read_file_start(wide, 0), "");
    DeleteFileA(path.c_str());
}

} // namespace
